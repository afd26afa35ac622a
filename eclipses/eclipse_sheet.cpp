#include "eclipses/eclipse_sheet.h"

#include <algorithm>

#include "core/time_scales.h"

namespace kvx {

TObserverRecord EclipseLocalTime(const TObserverRecord& observer, double T) {
  TObserverRecord r = observer;
  r.AutoDeltaT = 0;
  r.Mjd = 36525.0 * T + 51544.5;
  UTToLocalTime(r);
  return r;
}

int PrepareEclipseGrid(tmystringgrid& grid, const TTableOutputSettings& output, int rows, int cols, int slot) {
  grid.SetRowCount(rows + 1);
  grid.SetColCount(cols + 1);
  ClearGridCells(grid, rows, cols);
  const int width = GridColumnWidth(output, slot, output.FontScale) + 40;
  for (int c = 1; c <= cols; ++c) grid.SetColWidths(c, width);
  return width;
}

std::string eclipse_columns::Title(const TTableConfigRecord& config, int slot) {
  return config.ColumnTitles[static_cast<std::size_t>(slot)];
}

void CentreAndFitEclipseSheet(TSheet& sheet, int lastCol) {
  const int lastRow = std::max(1, sheet.LastRow());
  sheet.SetSelection(1, 1, lastRow, lastCol);
  sheet.SetAlignment(workbook::TAlignment{3, false, 3, 0});  // centred both ways
  sheet.SetRowHeightAuto(1, 1, lastRow, lastCol);
  sheet.SetColWidthAuto(1, 1, lastRow, lastCol);
  sheet.SetSelection(1, 1, 1, 1);
}

}  // namespace kvx
