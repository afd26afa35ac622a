#include "events/conjunction_table_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "core/column_flags.h"
#include "core/conjunction_kinds.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"

namespace kvx {

namespace {

using C = TConjunctionColumn;

// One column: its caption's format slot and suffix, its no-value limit
// (value columns only) and the cell family of its values.
struct ColumnInfo {
  C Column;
  int Slot;
  const char* Suffix;
  bool Optional;
  double Limit;
  TCellFamily Family;
};

constexpr std::array<ColumnInfo, 15> kColumns = {{
    {C::FirstName, 161, "", false, 0, TCellFamily::Number},
    {C::SecondName, 161, "", false, 0, TCellFamily::Number},
    {C::Date, 0, "", false, 0, TCellFamily::Number},
    {C::Time, 1, "", false, 0, TCellFamily::TimeOfDay},
    {C::JulianDate, 3, "", false, 0, TCellFamily::Number},
    {C::Separation, 168, "", false, 0, TCellFamily::Angle},
    {C::SunAltitude, 158, "", true, -90, TCellFamily::Number},
    {C::Altitude1, 47, " Obj. 1", true, -90, TCellFamily::Number},
    {C::Altitude2, 47, " Obj. 2", true, -90, TCellFamily::Number},
    {C::Elongation1, 52, " Obj. 1", true, -360, TCellFamily::Longitude},
    {C::Elongation2, 52, " Obj. 2", true, -360, TCellFamily::Longitude},
    {C::Magnitude1, 62, " Obj. 1", true, -90, TCellFamily::Magnitude},
    {C::Magnitude2, 62, " Obj. 2", true, -90, TCellFamily::Magnitude},
    {C::NorthSouth, -1, "", false, 0, TCellFamily::Number},
    {C::Kind, 200, "", false, 0, TCellFamily::Number},
}};

const ColumnInfo& Info(C column) { return kColumns[static_cast<std::size_t>(column)]; }

double ValueOf(C column, const tEvent& e) {
  switch (column) {
    case C::SunAltitude:
      return e.SunAltitude();
    case C::Altitude1:
      return e.Altitude1();
    case C::Altitude2:
      return e.Altitude2();
    case C::Elongation1:
      return e.Angle1();
    case C::Elongation2:
      return e.Angle2();
    case C::Magnitude1:
      return e.Magnitude1();
    case C::Magnitude2:
      return e.Magnitude2();
    case C::Separation:
      return std::fabs(e.Separation());
    // The text columns have no value (WriteCell writes them as text).
    case C::FirstName:
    case C::SecondName:
    case C::Date:
    case C::Time:
    case C::JulianDate:
    case C::NorthSouth:
    case C::Kind:
      break;
  }
  return std::numeric_limits<double>::quiet_NaN();
}

bool Holds(C column, const tEvent& e) {
  const double value = ValueOf(column, e);
  return std::isfinite(value) && value >= Info(column).Limit;
}

void WriteCell(TCellSink& sink, int row, int col, C column, const tEvent& e) {
  const ColumnInfo& info = Info(column);
  switch (column) {
    case C::FirstName:
      sink.Text(row, col, e.ObjectName());
      return;
    case C::SecondName:
      sink.Text(row, col, e.SecondName());
      return;
    case C::Date:
      sink.Date(row, col, info.Slot, e.Observer.Year, e.Observer.Month, e.Observer.Day);
      return;
    case C::Time:
      sink.Value(info.Family, row, col, info.Slot, e.Observer.LocalHours);
      return;
    case C::JulianDate:
      sink.Value(info.Family, row, col, info.Slot, MjdToJd(e.Mjd()));
      return;
    case C::NorthSouth:
      sink.Text(row, col, e.ObjectName() + NorthSouthText(e.Separation()));
      return;
    case C::Kind:
      sink.Text(row, col, ConjunctionKindText(e.ConjunctionKind()));
      return;
    case C::Separation:
    case C::SunAltitude:
    case C::Altitude1:
    case C::Altitude2:
    case C::Elongation1:
    case C::Elongation2:
    case C::Magnitude1:
    case C::Magnitude2:
      break;  // the value columns, below
  }
  if (info.Optional && !Holds(column, e)) {
    sink.Text(row, col, std::string());
    return;
  }
  const std::string& side = column == C::Elongation1 ? e.DirectionText1() : e.DirectionText2();
  sink.Value(info.Family, row, col, info.Slot, ValueOf(column, e), side);
}

}  // namespace

bool ListHoldsConjunctions(const TEventList& events) {
  return !events.Empty() && std::all_of(events.begin(), events.end(), [](const TEventList::Entry& entry) {
    return entry.Event->ConjunctionKind() >= 1 && entry.Event->ConjunctionKind() <= 3;
  });
}

std::vector<C> ConjunctionColumns(const TTableConfigRecord& config, const TEventList& events) {
  std::vector<C> columns;
  for (const ColumnInfo& info : kColumns) {
    if (info.Column == C::JulianDate && config.Flags[column_flag::kJulianDate] == 0) continue;
    if (info.Optional && std::none_of(events.begin(), events.end(),
                                      [&](const TEventList::Entry& entry) { return Holds(info.Column, *entry.Event); }))
      continue;
    columns.push_back(info.Column);
  }
  return columns;
}

int WriteConjunctionResults(TCellSink& sink, const TTableConfigRecord& config, const TEventList& events) {
  const std::vector<C> columns = ConjunctionColumns(config, events);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const ColumnInfo& info = Info(columns[i]);
    const int col = static_cast<int>(i) + 1;
    const std::string caption =
        info.Slot < 0 ? std::string() : config.ColumnTitles[static_cast<std::size_t>(info.Slot)] + info.Suffix;
    if (sink.IsGrid() && info.Slot >= 0) sink.Width(col, info.Slot);
    sink.Text(1, col, caption);
  }
  int row = 2;
  for (const TEventList::Entry& entry : events) {
    for (std::size_t i = 0; i < columns.size(); ++i)
      WriteCell(sink, row, static_cast<int>(i) + 1, columns[i], *entry.Event);
    ++row;
  }
  return static_cast<int>(columns.size());
}

void WriteConjunctionResultsToSheet(std::uint8_t /*flag*/, const TTableConfigRecord& config, TSheet& sheet,
                                    const TEventList& events) {
  TSheetSink sink(sheet);
  const int lastCol = WriteConjunctionResults(sink, config, events);
  const int lastRow = std::max(1, sheet.LastRow());
  sheet.SetSelectionText("A1:A1");
  sheet.SetRowHeightAuto(1, 1, 1, lastCol);
  sheet.SetColWidthAuto(1, 1, lastRow, lastCol);
  sheet.SetSelectionText("A1:A1");
}

void WriteConjunctionResultsToGrid(std::uint8_t /*flag*/, const TTableConfigRecord& config, tmystringgrid& grid,
                                   const TTableOutputSettings& settings, const TEventList& events) {
  const int columns = static_cast<int>(ConjunctionColumns(config, events).size());
  grid.SetRowCount(events.Count() + 2);
  grid.SetColCount(columns + 1);
  ClearGridCells(grid, grid.RowCount(), grid.ColCount());
  TGridSink sink(grid, settings);
  WriteConjunctionResults(sink, config, events);
}

}  // namespace kvx
