#include "engine/ui/mystringgrid_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>

namespace kvx {
namespace {

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

TEST(MyStringGridView, ShowsTitlesAsHeadersAndFollowsTheGrid) {
  tmystringgrid grid(3, 3);
  grid.SetCells(1, 0, "Datum");
  grid.SetCells(0, 1, "1");
  grid.SetCells(1, 1, "07.12.2026");
  TMyStringGridView view(grid);
  view.resize(400, 300);
  view.show();
  Settle();
  auto* model = view.Model();
  EXPECT_EQ(model->rowCount(), 2);
  EXPECT_EQ(model->columnCount(), 2);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Datum");
  EXPECT_EQ(model->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), "1");
  EXPECT_EQ(model->data(model->index(0, 0), Qt::DisplayRole).toString(), "07.12.2026");

  // Writes of the program show after the event loop ran; the grid grows.
  SetGridCellText(grid, 4, 3, "x");
  Settle();
  EXPECT_EQ(model->rowCount(), 4);
  EXPECT_EQ(model->columnCount(), 3);
  EXPECT_EQ(model->data(model->index(3, 2), Qt::DisplayRole).toString(), "x");
  // Edits of the user reach the grid.
  model->setData(model->index(1, 1), "edited", Qt::EditRole);
  EXPECT_EQ(grid.Cells(2, 2), "edited");
}

}  // namespace
}  // namespace kvx
