// The small text and cell-range helpers the parts of the workbook share
// (the workbook and its edits, shifts and sorts, the formula engine, the
// typed-input and text-file readers, the .xlsx checks); not for use outside
// the workbook.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/workbook/number_format.h"
#include "platform/workbook/sheet_data.h"

namespace kvx::workbook::internal {

inline bool ValidCell(int row, int col) { return row >= 1 && row <= kMaxRows && col >= 1 && col <= kMaxCols; }

// True when the text is one or more of the digits 0-9 and nothing else.
inline bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

inline std::string Lowered(std::string_view text) { return AsciiLower(text); }

// The pieces of `text` between the separators (one piece more than there
// are separators), as views into `text`.
inline std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t pos = text.find(separator, start);
    if (pos == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, pos - start));
    start = pos + 1;
  }
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
