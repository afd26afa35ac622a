#include "events/event_table_writer.h"

#include <cmath>

#include "core/column_flags.h"
#include "core/data_format_slots.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "events/search_options.h"

namespace kvx {

namespace {

constexpr int kObjectTitle = 161, kEventTitle = 162;

const std::string& Title(const TTableConfigRecord& config, int slot) {
  return config.ColumnTitles[static_cast<std::size_t>(slot)];
}

// Number of the value and unit columns.
int ValueColumn(const TTableConfigRecord& config) { return config.Flags[column_flag::kJulianDate] != 0 ? 6 : 5; }

}  // namespace

int EventValueDecimals(int eventKind, const std::string& objectName) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (info == nullptr || info->TableFormat[0] == '\0') return -1;
  if (MoonDistanceInEarthRadii(eventKind, SearchBodyOfName(objectName))) return kMoonDistanceDecimals;
  // "0,000..": the zeros after the decimal mark.
  const std::string format = info->TableFormat;
  const std::size_t mark = format.find(',');
  return mark == std::string::npos ? 0 : static_cast<int>(format.size() - mark - 1);
}

int WriteEventSearchResults(const TTableConfigRecord& config, const TEventList& events, TCellSink& sink) {
  const bool jd = config.Flags[column_flag::kJulianDate] != 0;
  const int valueCol = ValueColumn(config);
  const int slots[] = {kObjectTitle, kEventTitle, kSlotDate, kSlotTime, kSlotJulianDay};
  for (int col = 1; col <= (jd ? 5 : 4); ++col) {
    sink.Text(1, col, Title(config, slots[col - 1]));
    sink.Width(col, slots[col - 1]);
  }
  int row = 1;
  for (const TEventList::Entry& entry : events) {
    ++row;
    const tEvent& e = *entry.Event;
    const TObserverRecord& r = e.Observer;
    sink.Text(row, 1, e.ObjectName());
    sink.Text(row, 2, entry.Key);
    sink.Date(row, 3, kSlotDate, r.Year, r.Month, r.Day);
    sink.Value(TCellFamily::TimeOfDay, row, 4, kSlotTime, r.LocalHours);
    if (jd) sink.Value(TCellFamily::Number, row, 5, kSlotJulianDay, MjdToJd(e.Mjd()));
    const int decimals = EventValueDecimals(e.Kind(), e.ObjectName());
    const double shown = EventShownValue(e.Kind(), e.Value());
    if (decimals >= 0 && std::isfinite(shown)) {
      WriteNumberWithDecimals(sink, row, valueCol, shown, decimals);
    } else {
      sink.Text(row, valueCol, std::string());
    }
    sink.Text(row, valueCol + 1, e.Unit());
  }
  return row;
}

void WriteEventSearchResultsToSheet(const TTableConfigRecord& config, TSheet& sheet, const TEventList& events) {
  TSheetSink sink(sheet);
  const int lastRow = WriteEventSearchResults(config, events, sink);
  const int lastCol = ValueColumn(config) + 1;
  sheet.SetSelectionText("A1:A1");
  sheet.ModifyStyle(workbook::TRange{1, 1, 1, lastCol}, [](workbook::TCellStyle& style) { style.Font.Bold = true; });
  sheet.SetColWidthAuto(1, 1, lastRow, lastCol);
  sheet.SetSelectionText("A1:A1");
}

void WriteEventSearchResultsToGrid(const TTableConfigRecord& config, tmystringgrid& grid,
                                   const TTableOutputSettings& settings, const TEventList& events) {
  const int lastCol = ValueColumn(config) + 1;
  grid.SetRowCount(events.Count() + 2);
  grid.SetColCount(lastCol + 1);
  ClearGridCells(grid, events.Count() + 1, lastCol);
  TGridSink sink(grid, settings);
  WriteEventSearchResults(config, events, sink);
}

}  // namespace kvx
