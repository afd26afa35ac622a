// Cell addresses in A1 notation: column letters, single cells, ranges and the
// selection text of a sheet ("A1:C5,E7"). Rows and columns count from 1, as in
// the rest of the workbook.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvx::workbook {

// Largest sheet the workbook holds; the limits of the .xlsx format.
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxCols = 16384;

// A rectangular block of cells, bounds included. All four bounds are 1-based
// and already clipped: the "-1 means all" convention of the public interface
// is resolved before a TRange is built.
struct TRange {
  int Row1 = 1;
  int Col1 = 1;
  int Row2 = 1;
  int Col2 = 1;

  int RowCount() const { return Row2 - Row1 + 1; }
  int ColCount() const { return Col2 - Col1 + 1; }
  bool Contains(int row, int col) const { return row >= Row1 && row <= Row2 && col >= Col1 && col <= Col2; }
  bool IsSingleCell() const { return Row1 == Row2 && Col1 == Col2; }
  bool operator==(const TRange&) const = default;
};

// Column number 1.. to its letters: 1 -> "A", 26 -> "Z", 27 -> "AA".
std::string ColumnLetters(int col);

// Letters to a column number; 0 when the text is not a column name.
int ColumnFromLetters(std::string_view letters);

// "B3" for row 3, column 2; with absolute set "$B$3".
std::string CellName(int row, int col, bool absolute = false);

// "A1:C5" (or "A1" for a single cell). Whole rows read "1:3", whole columns
// "A:C".
std::string RangeName(const TRange& range, bool absolute = false);

// Parses one reference: "B3", "$B$3", "A1:C5", "A:C" (whole columns), "2:4"
// (whole rows). Letters may be lower case. Returns nothing for any other text.
std::optional<TRange> ParseRange(std::string_view text);

// Parses a selection text: references separated by commas (or the list
// separator ';'). Empty or malformed parts make the whole text invalid.
std::optional<std::vector<TRange>> ParseRangeList(std::string_view text);

// The selection text of a list of ranges, joined by commas.
std::string RangeListName(const std::vector<TRange>& ranges);

}  // namespace kvx::workbook
