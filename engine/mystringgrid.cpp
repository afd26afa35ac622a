#include "engine/mystringgrid.h"

#include <algorithm>

#include "core/text_conversion.h"
#include "platform/globals.h"

namespace kvx {

namespace {
// The largest grid: enough for any table, small enough to stay in memory.
constexpr int kMaxGridRows = tmystringgrid::kMaxRows;
constexpr int kMaxGridCols = tmystringgrid::kMaxCols;
}  // namespace

tmystringgrid::tmystringgrid(int colCount, int rowCount)
    : rowCount_(std::clamp(rowCount, 1, kMaxGridRows)), colCount_(std::clamp(colCount, 1, kMaxGridCols)) {}

void tmystringgrid::SetRowCount(int rows) {
  rowCount_ = std::clamp(rows, 1, kMaxGridRows);
  if (static_cast<int>(cells_.size()) > rowCount_) cells_.resize(rowCount_);
  Changed();
}

void tmystringgrid::SetColCount(int cols) {
  colCount_ = std::clamp(cols, 1, kMaxGridCols);
  for (auto& row : cells_) {
    if (static_cast<int>(row.size()) > colCount_) row.resize(colCount_);
  }
  Changed();
}

const std::string& tmystringgrid::Cells(int col, int row) const {
  static const std::string empty;
  if (row < 0 || col < 0 || row >= static_cast<int>(cells_.size())) return empty;
  const auto& cells = cells_[row];
  return col < static_cast<int>(cells.size()) ? cells[col] : empty;
}

void tmystringgrid::SetCells(int col, int row, const std::string& text) {
  if (row < 0 || col < 0 || row >= kMaxGridRows || col >= kMaxGridCols) return;
  if (text.empty() && Cells(col, row).empty()) return;
  if (row >= rowCount_) rowCount_ = row + 1;
  if (col >= colCount_) colCount_ = col + 1;
  if (row >= static_cast<int>(cells_.size())) cells_.resize(row + 1);
  auto& cells = cells_[row];
  if (col >= static_cast<int>(cells.size())) cells.resize(col + 1);
  cells[col] = text;
  Changed();
}

int tmystringgrid::ColWidths(int col) const {
  if (col < 0 || col >= static_cast<int>(colWidths_.size()) || colWidths_[col] < 0) return kDefaultColWidth;
  return colWidths_[col];
}

void tmystringgrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= kMaxGridCols) return;
  if (col >= static_cast<int>(colWidths_.size())) colWidths_.resize(col + 1, -1);
  colWidths_[col] = std::max(width, 0);
  Changed();
}

void tmystringgrid::SetDefaultRowHeight(int height) {
  defaultRowHeight_ = std::max(height, 0);
  rowHeights_.clear();
  Changed();
}

int tmystringgrid::RowHeights(int row) const {
  if (row < 0 || row >= static_cast<int>(rowHeights_.size()) || rowHeights_[row] < 0) return defaultRowHeight_;
  return rowHeights_[row];
}

void tmystringgrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= kMaxGridRows) return;
  if (row >= static_cast<int>(rowHeights_.size())) rowHeights_.resize(row + 1, -1);
  rowHeights_[row] = std::max(height, 0);
  Changed();
}

void tmystringgrid::Changed() {
  if (listener_) listener_();
}

void SetGridNumberFormat(tmystringgrid& grid, const std::string& pattern) {
  grid.NumberFormat = pattern;
  if (pattern == "0") {
    grid.Decimals = 0;
    return;
  }
  if (pattern.size() < 3 || pattern.size() > 17 || pattern[0] != '0') return;
  const char separator = pattern[1];
  if (separator != ',' && separator != '.' && separator != IntlSeparators.Decimal) return;
  if (pattern.find_first_not_of('0', 2) != std::string::npos) return;
  grid.Decimals = static_cast<std::uint8_t>(pattern.size() - 2);
}

void SetGridCellFloat(tmystringgrid& grid, int row, int col, double value) {
  grid.SetCells(col, row, FloatToTextSep(FormatFixed(value, 0, std::min<int>(grid.Decimals, 15))));
}

void SetGridCellText(tmystringgrid& grid, int row, int col, const std::string& text) { grid.SetCells(col, row, text); }

void ClearGridCells(tmystringgrid& grid, int rowCount, int colCount) {
  if (rowCount < 1 || colCount < 1) return;
  for (int r = 1; r <= rowCount; ++r) {
    for (int c = 1; c <= colCount; ++c) grid.SetCells(c, r, std::string());
  }
}

}  // namespace kvx
