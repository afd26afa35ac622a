// Sorting a range of the workbook by up to three keys.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/workbook/formula_engine.h"
#include "platform/workbook/text_and_range_helpers.h"
#include "platform/workbook/workbook.h"

namespace kvx::workbook {

using internal::Lowered;

// ------------------------------------------------------------------- sort

namespace {

// Sort rank of a cell: numbers, then texts, then empty cells.
struct SortKey {
  int Rank = 2;
  double Number = 0.0;
  std::string Text;  // lower case
};

int CompareKeys(const SortKey& a, const SortKey& b, bool descending) {
  if (a.Rank != b.Rank) {
    // Empty cells stay last whichever the direction.
    if (a.Rank == 2) return 1;
    if (b.Rank == 2) return -1;
    return descending ? (a.Rank < b.Rank ? 1 : -1) : (a.Rank < b.Rank ? -1 : 1);
  }
  int result = 0;
  if (a.Rank == 0) result = a.Number < b.Number ? -1 : (a.Number > b.Number ? 1 : 0);
  if (a.Rank == 1) result = a.Text.compare(b.Text) < 0 ? -1 : (a.Text == b.Text ? 0 : 1);
  return descending ? -result : result;
}

}  // namespace

void TWorkbook::Sort(int row1, int col1, int row2, int col2, bool byRows, int key1, int key2, int key3) {
  // Beyond the used area all cells are empty and stay last: the range is
  // cut down to it without changing the result.
  TRange range = Resolve(row1, col1, row2, col2, true);
  range.Row2 = std::max(range.Row1, std::min(range.Row2, LastRow()));
  range.Col2 = std::max(range.Col1, std::min(range.Col2, LastCol()));
  if (recalcNeeded_) Recalculate();
  std::vector<int> keys;
  for (int key : {key1, key2, key3}) {
    if (key != 0) keys.push_back(key);
  }
  if (keys.empty()) return;
  const TSheetData& source = CurrentSheetData();
  const int lines = byRows ? range.RowCount() : range.ColCount();
  // Keys of every line, read before anything moves.
  std::vector<std::vector<SortKey>> lineKeys(lines, std::vector<SortKey>(keys.size()));
  for (int i = 0; i < lines; ++i) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
      const int keyLine = std::abs(keys[k]);
      const int row = byRows ? range.Row1 + i : keyLine;
      const int col = byRows ? keyLine : range.Col1 + i;
      SortKey& key = lineKeys[i][k];
      if (const TCell* cell = source.CellAt(row, col)) {
        const bool numeric = cell->Kind == TCellKind::Number ||
                             (cell->Kind == TCellKind::Formula && cell->Result == TFormulaResult::Number);
        if (numeric) {
          key.Rank = 0;
          key.Number = cell->Number;
        } else if (cell->Kind != TCellKind::Empty) {
          key.Rank = 1;
          key.Text = Lowered(cell->Text);
        }
      }
    }
  }
  std::vector<int> order(lines);
  for (int i = 0; i < lines; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
      const int c = CompareKeys(lineKeys[a][k], lineKeys[b][k], keys[k] < 0);
      if (c != 0) return c < 0;
    }
    return false;
  });
  // Copy the block out, then write it back in the new order; formulas
  // that move take their relative references along.
  std::vector<std::vector<TCell>> block(range.RowCount(), std::vector<TCell>(range.ColCount()));
  for (int r = 0; r < range.RowCount(); ++r) {
    for (int c = 0; c < range.ColCount(); ++c) {
      if (const TCell* cell = source.CellAt(range.Row1 + r, range.Col1 + c)) block[r][c] = *cell;
    }
  }
  TSheetData& sheet = MutableCurrent();
  for (int i = 0; i < lines; ++i) {
    const int from = order[i];
    for (int j = 0; j < (byRows ? range.ColCount() : range.RowCount()); ++j) {
      const int srcR = byRows ? from : j;
      const int srcC = byRows ? j : from;
      const int dstR = byRows ? i : j;
      const int dstC = byRows ? j : i;
      TCell cell = block[srcR][srcC];
      if (cell.Kind == TCellKind::Formula)
        cell.Formula = MoveRelativeReferences(cell.Formula, dstR - srcR, dstC - srcC);
      const int row = range.Row1 + dstR;
      const int col = range.Col1 + dstC;
      if (cell.Kind == TCellKind::Empty && cell.Style == 0 && sheet.CellAt(row, col) == nullptr) continue;
      CellRef(sheet, row, col) = std::move(cell);
    }
  }
  ContentChanged();
}

}  // namespace kvx::workbook
