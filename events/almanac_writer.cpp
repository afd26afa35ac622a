#include "events/almanac_writer.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "core/column_flags.h"
#include "core/data_format_slots.h"
#include "core/time_scales.h"
#include "events/event_table_writer.h"

namespace kvx {

namespace {

constexpr int kSeparationSlot = 168;
constexpr int kObjectTitle = 161, kEventTitle = 162;

const std::string& Title(const TTableConfigRecord& config, int slot) {
  return config.ColumnTitles[static_cast<std::size_t>(slot)];
}

bool WithJulianDate(const TTableConfigRecord& config) { return config.Flags[column_flag::kJulianDate] != 0; }
int ColumnCount(const TTableConfigRecord& config) { return WithJulianDate(config) ? 6 : 5; }

}  // namespace

bool InPeriod(double x, double lo, double hi) { return lo <= x && x <= hi; }

int WriteAlmanac(const TTableConfigRecord& config, const TEventList& events, const TObserverRecord& periodStart,
                 const TObserverRecord& periodEnd, TCellSink& sink) {
  const bool jd = WithJulianDate(config);
  int col = 1;
  sink.Text(1, col, Title(config, kSlotDate));
  sink.Width(col++, kSlotDate);
  sink.Text(1, col, Title(config, kSlotTime));
  sink.Width(col++, kSlotTime);
  if (jd) {
    sink.Text(1, col, Title(config, kSlotJulianDay));
    sink.Width(col++, kSlotJulianDay);
  }
  const int objectCol = col;
  sink.Text(1, objectCol, Title(config, kObjectTitle));
  sink.Width(objectCol, kObjectTitle);
  sink.Text(1, objectCol + 1, Title(config, kEventTitle) + "/" + Title(config, kObjectTitle));
  sink.Width(objectCol + 1, kEventTitle);
  const int valueCol = objectCol + 2;
  sink.Text(1, valueCol, std::string());
  int row = 1;
  for (const TEventList::Entry& entry : events) {
    const tEvent& e = *entry.Event;
    if (!InPeriod(e.Mjd(), periodStart.Mjd, periodEnd.Mjd)) continue;
    ++row;
    const TObserverRecord& r = e.Observer;
    sink.Date(row, 1, kSlotDate, r.Year, r.Month, r.Day);
    if (e.Kind() == almanac_entry::kSolarEclipse) {
      sink.Text(row, 2, std::string());
    } else {
      sink.Value(TCellFamily::TimeOfDay, row, 2, kSlotTime, r.LocalHours);
    }
    if (jd) sink.Value(TCellFamily::Number, row, 3, kSlotJulianDay, MjdToJd(e.Mjd()));
    sink.Text(row, objectCol, e.ObjectName());
    sink.Text(row, objectCol + 1, e.SecondName());
    const int decimals = EventValueDecimals(e.Kind(), e.ObjectName());
    if (e.Kind() == almanac_entry::kConjunction && std::isfinite(e.Separation())) {
      sink.Value(TCellFamily::Angle, row, valueCol, kSeparationSlot, std::fabs(e.Separation()));
    } else if (decimals >= 0 && std::isfinite(e.Value()) && !e.IsMissing(2)) {
      WriteNumberWithDecimals(sink, row, valueCol, e.Value(), decimals);
    } else {
      sink.Text(row, valueCol, std::string());
    }
  }
  return row - 1;
}

void WriteAlmanacToSheet(const TTableConfigRecord& config, TSheet& sheet, const TEventList& events,
                         const TObserverRecord& periodEnd, const TObserverRecord& periodStart) {
  TSheetSink sink(sheet);
  const int written = WriteAlmanac(config, events, periodStart, periodEnd, sink);
  const int lastCol = ColumnCount(config) + 1;
  sheet.SetSelectionText("A1:A1");
  sheet.ModifyStyle(workbook::TRange{1, 1, 1, lastCol}, [](workbook::TCellStyle& style) { style.Font.Bold = true; });
  sheet.SetColWidthAuto(1, 1, written + 1, lastCol);
  sheet.SetSelectionText("A1:A1");
}

void WriteAlmanacToGrid(const TTableConfigRecord& config, tmystringgrid& grid, const TTableOutputSettings& settings,
                        const TEventList& events, const TObserverRecord& periodStart,
                        const TObserverRecord& periodEnd) {
  const int columns = ColumnCount(config) + 1;
  grid.SetRowCount(events.Count() + 2);
  grid.SetColCount(columns);
  ClearGridCells(grid, events.Count() + 1, columns);
  TGridSink sink(grid, settings);
  WriteAlmanac(config, events, periodStart, periodEnd, sink);
}

}  // namespace kvx
