#include "engine/table_sink.h"

#include <algorithm>
#include <cmath>

namespace kvx {

void TCellSink::Value(TCellFamily family, int row, int col, int slot, double value, const std::string& direction) {
  if (!std::isfinite(value)) {
    Text(row, col, std::string());
    return;
  }
  Family(family, row, col, slot, value, direction);
}

// ------------------------------------------------------------------- sheet

void TSheetSink::Text(int row, int col, const std::string& text) {
  // A new table is written into a cleared sheet: an empty text there is
  // nothing to do (and no change to announce).
  if (text.empty() && sheet_.Cell(row, col) == nullptr) return;
  sheet_.SetText(row, col, text);
}

void TSheetSink::Date(int row, int col, int slot, int year, int month, int day) {
  WriteDateToSheet(sheet_, row, col, slot, year, month, day);
}

void TSheetSink::Family(TCellFamily family, int row, int col, int slot, double value, const std::string& direction) {
  switch (family) {
    case TCellFamily::Number:
      WriteNumberToSheet(sheet_, row, col, slot, value);
      return;
    case TCellFamily::Angle:
      WriteAngleToSheet(sheet_, row, col, slot, value);
      return;
    case TCellFamily::TimeOfDay:
      WriteTimeOfDayToSheet(sheet_, row, col, slot, value);
      return;
    case TCellFamily::Arcseconds:
      WriteArcsecondsToSheet(sheet_, row, col, slot, value);
      return;
    case TCellFamily::Arcminutes:
      WriteArcminutesToSheet(sheet_, row, col, slot, value);
      return;
    case TCellFamily::SecondsMarked:
      WriteSecondsMarkedNumberToSheet(sheet_, row, col, slot, value);
      return;
    case TCellFamily::DegreeMarked:
      WriteDegreeMarkedNumberToSheet(sheet_, row, col, slot, value);
      return;
    case TCellFamily::Longitude:
      WriteLongitudeToSheet(sheet_, row, col, slot, value, direction);
      return;
    case TCellFamily::Magnitude:
      WriteMagnitudeToSheet(sheet_, row, col, slot, value);
      return;
    case TCellFamily::ElementMagnitude:
      WriteElementMagnitudeToSheet(sheet_, row, col, slot, value);
      return;
    case TCellFamily::Minutes:
      WriteMinutesToSheet(sheet_, row, col, slot, value);
      return;
    case TCellFamily::HoursAsMinutes:
      WriteHoursAsMinutesToSheet(sheet_, row, col, slot, value);
      return;
  }
}

// -------------------------------------------------------------------- grid

int GridColumnWidth(const TTableOutputSettings& settings, int slot, double scale) {
  const double base = slot >= 0 && slot < kQuantityCount ? settings.ColumnWidthTable[static_cast<std::size_t>(slot)]
                                                         : tmystringgrid::kDefaultColWidth;
  const double width = std::trunc(base * scale);
  if (!(width > 0)) return 0;
  return width > 100000 ? 100000 : static_cast<int>(width);
}

void TGridSink::Text(int row, int col, const std::string& text) { SetGridCellText(grid_, row, col, text); }

void TGridSink::Date(int row, int col, int slot, int year, int month, int day) {
  WriteDateToGrid(grid_, row, col, slot, year, month, day);
}

void TGridSink::Width(int col, int slot) {
  grid_.SetColWidths(col, GridColumnWidth(settings_, slot, settings_.FontScale));
}

void TGridSink::Family(TCellFamily family, int row, int col, int slot, double value, const std::string& direction) {
  switch (family) {
    case TCellFamily::Number:
      WriteNumberToGrid(grid_, row, col, slot, value);
      return;
    case TCellFamily::Angle:
      WriteAngleToGrid(grid_, row, col, slot, value);
      return;
    case TCellFamily::TimeOfDay:
      WriteTimeOfDayToGrid(grid_, row, col, slot, value);
      return;
    case TCellFamily::Arcseconds:
      WriteArcsecondsToGrid(grid_, row, col, slot, value);
      return;
    case TCellFamily::Arcminutes:
      WriteArcminutesToGrid(grid_, row, col, slot, value);
      return;
    case TCellFamily::SecondsMarked:
      WriteSecondsMarkedNumberToGrid(grid_, row, col, slot, value);
      return;
    case TCellFamily::DegreeMarked:
      WriteDegreeMarkedNumberToGrid(grid_, row, col, slot, value);
      return;
    case TCellFamily::Longitude:
      WriteLongitudeToGrid(grid_, row, col, slot, value, direction);
      return;
    case TCellFamily::Magnitude:
      WriteMagnitudeToGrid(grid_, row, col, slot, value);
      return;
    case TCellFamily::ElementMagnitude:
      WriteElementMagnitudeToGrid(grid_, row, col, slot, value);
      return;
    case TCellFamily::Minutes:
      WriteMinutesToGrid(grid_, row, col, slot, value);
      return;
    case TCellFamily::HoursAsMinutes:
      WriteHoursAsMinutesToGrid(grid_, row, col, slot, value);
      return;
  }
}

void SizeGrid(TCellSink& sink, int rows, int cols) {
  if (!sink.IsGrid()) return;
  tmystringgrid& grid = static_cast<TGridSink&>(sink).Grid();
  grid.SetRowCount(rows);
  grid.SetColCount(cols);
}

void WriteNumberWithDecimals(TCellSink& sink, int row, int col, double value, int decimals) {
  const std::string& pattern =
      DecimalPatternTable[static_cast<std::size_t>(std::clamp(decimals, 0, kDecimalPatternCount - 1))];
  if (sink.IsGrid()) {
    tmystringgrid& grid = static_cast<TGridSink&>(sink).Grid();
    SetGridNumberFormat(grid, pattern);
    SetGridCellFloat(grid, row, col, value);
  } else {
    TSheet& sheet = static_cast<TSheetSink&>(sink).Sheet();
    sheet.SetCellNumberFormat(row, col, pattern);
    sheet.SetNumber(row, col, value);
  }
}

void FitSheetToContents(TSheet& sheet, int lastCol) {
  sheet.SetSelectionText("A1:A1");
  const int lastRow = std::max(1, sheet.LastRow());
  if (lastCol == -1) lastCol = std::max(1, sheet.LastCol());
  sheet.SetRowHeightAuto(1, 1, lastRow, lastCol);
  sheet.SetColWidthAuto(1, 1, lastRow, lastCol);
  sheet.SetSelectionText("A1:A1");
}

void CentreFirstRowAndFit(TSheet& sheet) {
  sheet.SetSelectionText("A1:A1");
  sheet.SetSelection(1, -1, 1, -1);
  sheet.SetAlignment(workbook::TAlignment{3, false, 3, 0});
  FitSheetToContents(sheet);
}

}  // namespace kvx
