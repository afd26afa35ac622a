// The small helpers the parts of the workbook share (workbook.cpp,
// workbook_edits.cpp, workbook_shifting.cpp, workbook_sort.cpp); not for
// use outside the workbook.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "platform/workbook/workbook.h"

namespace kvx::workbook::internal {

inline bool ValidCell(int row, int col) { return row >= 1 && row <= kMaxRows && col >= 1 && col <= kMaxCols; }

inline std::string Lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// A selection range with whole rows or columns cut down to the used area;
// so is any range of more than a million cells, so that formatting or
// copying a huge selection cannot exhaust the memory (beyond the used
// area there is nothing to copy, and formats are kept per cell).
inline TRange ClipToUsed(const TRange& range, const TSheetData& sheet) {
  TRange clipped = range;
  const bool huge = static_cast<long long>(range.RowCount()) * range.ColCount() > 1000000;
  if (range.Row2 == kMaxRows || huge) clipped.Row2 = std::max(range.Row1, std::min(range.Row2, sheet.LastRow()));
  if (range.Col2 == kMaxCols || huge) clipped.Col2 = std::max(range.Col1, std::min(range.Col2, sheet.LastCol()));
  return clipped;
}

}  // namespace kvx::workbook::internal
