// The result grid: a plain grid of texts that shows a computed table when
// the user prefers it to the workbook. Row 0 and column 0 hold the column
// and row titles; data cells start at row 1, column 1. Besides the texts
// it keeps the last number format given to it and the decimals that format
// stands for, so that a writer can set a format first and then write
// numbers with that many decimals, as it does on the sheet.
//
// The Qt view (engine/ui/mystringgrid_view.h) shows a grid and follows its
// changes through the listener.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kvx {

class tmystringgrid {
 public:
  tmystringgrid(int colCount = 5, int rowCount = 5);

  // Rows and columns including the title row and column.
  int RowCount() const { return rowCount_; }
  int ColCount() const { return colCount_; }
  void SetRowCount(int rows);
  void SetColCount(int cols);

  // Texts by column, then row, as the grid indexes its cells. Reading
  // outside the grid gives an empty text; writing outside it enlarges it.
  const std::string& Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);

  // Column widths in pixels; a column never given one reports
  // kDefaultColWidth.
  static constexpr int kDefaultColWidth = 64;
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);

  // Row heights in pixels. Setting the default height gives every row that
  // height (individual heights set earlier are dropped); a row given its own
  // height keeps it until then.
  static constexpr int kStartRowHeight = 24;
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int height);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);

  // The largest grid (rows and columns including the titles).
  static constexpr int kMaxRows = 1000000;
  static constexpr int kMaxCols = 1000;

  // Called after every change (cells or size), for the view.
  void SetChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

  // The last pattern given to SetGridNumberFormat and the decimals (0..15)
  // that SetGridCellFloat uses.
  std::string NumberFormat;
  std::uint8_t Decimals = 0;

 private:
  void Changed();

  int rowCount_;
  int colCount_;
  std::vector<std::vector<std::string>> cells_;  // [row][col]
  std::vector<int> colWidths_;                   // -1: the default
  std::vector<int> rowHeights_;                  // -1: the default
  int defaultRowHeight_ = kStartRowHeight;
  std::function<void()> listener_;
};

// Stores the pattern; when it is one of the sixteen decimal patterns "0",
// "0,0" ... "0,000000000000000" (with the locale's decimal separator, or
// with "," or "."), Decimals becomes its number of zeros after the
// separator. Any other pattern leaves Decimals as it was.
void SetGridNumberFormat(tmystringgrid& grid, const std::string& pattern);

// Writes the value in fixed notation with the grid's decimals and the
// locale's decimal separator.
void SetGridCellFloat(tmystringgrid& grid, int row, int col, double value);

void SetGridCellText(tmystringgrid& grid, int row, int col, const std::string& text);

// Empties rows 1..rowCount, columns 1..colCount; the title row and column
// stay. Nothing happens when rowCount < 1 or colCount < 1.
void ClearGridCells(tmystringgrid& grid, int rowCount, int colCount);

}  // namespace kvx
