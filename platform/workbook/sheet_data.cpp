#include "platform/workbook/sheet_data.h"

#include <algorithm>

namespace kvx::workbook {

const TCell* TSheetData::CellAt(int row, int col) const {
  if (row < 1 || col < 1 || row > static_cast<int>(Rows.size())) return nullptr;
  const auto& cells = Rows[row - 1];
  if (col > static_cast<int>(cells.size())) return nullptr;
  return &cells[col - 1];
}

int TSheetData::LastColForRow(int row) const {
  if (row < 1 || row > static_cast<int>(Rows.size())) return 0;
  const auto& cells = Rows[row - 1];
  for (int c = static_cast<int>(cells.size()); c >= 1; --c) {
    if (cells[c - 1].Kind != TCellKind::Empty) return c;
  }
  return 0;
}

int TSheetData::LastRow() const {
  for (int r = static_cast<int>(Rows.size()); r >= 1; --r) {
    if (LastColForRow(r) > 0) return r;
  }
  return 0;
}

int TSheetData::LastCol() const {
  int last = 0;
  for (int r = 1; r <= static_cast<int>(Rows.size()); ++r) {
    const auto& cells = Rows[r - 1];
    if (static_cast<int>(cells.size()) <= last) continue;
    last = std::max(last, LastColForRow(r));
  }
  return last;
}

double TSheetData::ColWidth(int col) const {
  const auto it = ColWidths.find(col);
  return it == ColWidths.end() ? DefaultColWidth : it->second;
}

double TSheetData::RowHeight(int row) const {
  const auto it = RowHeights.find(row);
  return it == RowHeights.end() ? DefaultRowHeight : it->second;
}

}  // namespace kvx::workbook
