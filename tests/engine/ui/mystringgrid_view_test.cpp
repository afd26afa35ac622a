#include "engine/ui/mystringgrid_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <filesystem>

#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "engine/ephemeris_table.h"
#include "engine/table_globals.h"
#include "tests/support/table_request.h"

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

// A Mars table written into the grid shows with the widths of
// ColumnWidthTable (saved as test-output/grid_table.png).
TEST(MyStringGridView, ShowsAWrittenTableWithItsWidths) {
  InitAstroNameTables();
  TTableConfigRecord config;
  for (std::size_t s = 0; s < kColumnTitleCount; ++s) config.ColumnTitles[s] = QuantityHeadingTable[s];
  for (std::size_t f : {3, 5, 10, 11, 12, 16, 17, 18, 19}) config.Flags[f] = 1;
  TObserverRecord start;
  TKeplereph table(test::TableRequest(0, TTheorySelection{}, config, start, start, TTableStep{1, 0, 1}), nullptr,
                   TAsteroidElements{});
  table.TableConfig = config;
  table.BodyIndex = 4;
  table.Name = "Mars";
  for (int k = 0; k < 6; ++k) {
    TEphemerisResultRecord r;
    r.Year = 2026;
    r.Month = 12;
    r.Day = 7 + k;
    r.LocalHours = 21.5;
    r.JD = 2461382.5 + k;
    r.Position.HelioLongitude = 250.0 + 0.5 * k;
    r.Position.HelioLatitude = -1.25;
    r.Position.HelioDistance = 1.41;
    r.Position.GeoLongitude = 262.0 + 0.7 * k;
    r.Position.GeoLatitude = -0.9;
    r.Position.RightAscension = 261.5 + 0.7 * k;
    r.Position.Declination = -23.3;
    RowStore.Store(k, r);
  }
  table.Rows = 6;
  tmystringgrid grid;
  table.OutputGrid = &grid;
  table.OutputSettings.FontScale = 1.25;
  for (auto& w : table.OutputSettings.ColumnWidthTable) w = 80;
  table.OutputSettings.ColumnWidthTable[0] = 100;
  TMyStringGridView view(grid);
  view.resize(900, 260);
  view.show();
  table.paintdms_grid();
  Settle();
  ASSERT_EQ(view.Model()->columnCount(), grid.ColCount() - 1);
  EXPECT_EQ(view.columnWidth(0), 125);
  EXPECT_EQ(view.columnWidth(2), 100);
  EXPECT_EQ(view.Model()->data(view.Model()->index(0, 3), Qt::DisplayRole).toString(), "l");
  const auto out = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(out);
  view.grab().save(QString::fromStdString((out / "grid_table.png").string()));
}

}  // namespace
}  // namespace kvx
