// The settings of an .xlsx file that the cell reader (orcus) leaves out:
// per sheet the page set-up, print options, page breaks, zoom, grid lines,
// protection and the exact values of its number cells; per cell format the
// text wrap and rotation. They are
// read straight from the file's XML parts.
#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/workbook/workbook.h"
#include "platform/workbook/xlsx_checks.h"

namespace kvx::workbook {

struct TXlsxSheetSettings {
  TPageSetup Page;
  std::set<int> RowBreaks;  // a break after this row (1-based)
  std::set<int> ColBreaks;
  int Zoom = 100;
  bool ShowGridLines = true;
  bool Protected = false;
  // The plain number cells as the file writes them, read exactly (keys of
  // CellKey, xlsx_numbers.h).
  TExactNumbers Numbers;
};

struct TXlsxFormatSettings {
  bool Wrap = false;
  int Orientation = 0;  // as TAlignment
};

struct TXlsxSettings {
  std::vector<TXlsxSheetSettings> Sheets;        // in the workbook's sheet order
  std::vector<TXlsxFormatSettings> CellFormats;  // by cell format (xf) index
  int ActiveSheet = 0;                           // 0-based
};

// Reads the settings from the parts of an .xlsx package checked and
// prepared by PrepareXlsx (xlsx_checks.h), taking over its exact numbers;
// false when there is no workbook part.
bool ReadXlsxSettings(TPreparedXlsx& prepared, TXlsxSettings& settings, std::string& error);

// The attributes of every element `name` in an XML text (machine-written
// XML: attribute values in double quotes, entities decoded).
std::vector<std::map<std::string, std::string>> XmlElements(const std::string& xml, const std::string& name);

}  // namespace kvx::workbook
