// The settings of an .xlsx file that the cell reader (orcus) leaves out:
// per sheet the page set-up, print options, page breaks, zoom, grid lines,
// protection, tab colour, filter range, default row height, the exact values of its number cells and the empty cells
// with a format of their own; per cell format the text wrap, rotation and horizontal alignment; for the workbook its
// date system and the document's properties. They are read straight from the file's XML parts.
#pragma once

#include <map>
#include <optional>
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
  std::optional<TSheetProtection> Protection;
  std::optional<std::uint32_t> TabColor;  // as TSheetData
  std::optional<TRange> AutoFilter;
  std::vector<TFilterColumn> FilterColumns;
  int FilterColumnsLeftOut = 0;  // columns whose criteria the writer cannot write (top 10, colours, date groups ...)
  std::set<int> HiddenRows;      // hidden="1" and hidden="true" alike
  std::optional<TLineRun> TitleRows;  // the print titles (the name _xlnm.Print_Titles of the sheet)
  std::optional<TLineRun> TitleCols;
  double DefaultRowHeight = 15.0;  // points
  // The plain number cells as the file writes them, read exactly (keys of
  // CellKey, xlsx_numbers.h).
  TExactNumbers Numbers;
  // The cells with a format and no value, which the cell reader leaves out.
  std::vector<TXlsxFormattedCell> FormattedEmpty;
};

struct TXlsxFormatSettings {
  bool Wrap = false;
  int Orientation = 0;  // as TAlignment
  // The horizontal alignment code (as TAlignment; 0 when the format names
  // none the model knows): orcus reads no "centerContinuous".
  int Horizontal = 0;
};

struct TXlsxSettings {
  std::vector<TXlsxSheetSettings> Sheets;        // in the workbook's sheet order
  std::vector<TXlsxFormatSettings> CellFormats;  // by cell format (xf) index
  int ActiveSheet = 0;                           // 0-based
  // The day the dates count from and the document's properties (title,
  // author and so on, from the package's property parts).
  TWorkbookFileProperties Properties;
  int CustomPropertiesLeftOut = 0;  // of a kind the workbook does not keep
  int TabColorsLeftOut = 0;         // of a theme or palette the file does not give
};

// Reads the settings from the parts of an .xlsx package checked and
// prepared by PrepareXlsx (xlsx_checks.h), taking over its exact numbers;
// false when there is no workbook part.
bool ReadXlsxSettings(TPreparedXlsx& prepared, TXlsxSettings& settings, std::string& error);

// The attributes of every element `name` in an XML text (machine-written
// XML: attribute values in double quotes, entities decoded).
std::vector<std::map<std::string, std::string>> XmlElements(const std::string& xml, const std::string& name);

}  // namespace kvx::workbook
