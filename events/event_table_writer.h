// The table of the events found by the single-object search (table kind
// 84): one row per event of the event list, into the workbook sheet or the
// result grid.
//
// Layout (rows and columns from 1):
//   row 1      the caption row: title 161 (object), title 162 (event),
//              title 0 (date), title 1 (time), title 3 (JD, only with the
//              configuration's JD column on); the value and unit columns
//              have no caption
//   row i + 1  event i in list order: object name, event name, local date
//              (format slot 0), local time of day (slot 1), Julian date
//              (slot 3, MJD of UT + 2400000.5), the value with its kind's
//              number format (the value as the event-found window shows
//              it: degrees for elongations and latitude extremes), the
//              unit ("AE", "AU", "RD", "mag", "°", or empty)
// Kinds without a value (and a value that is not finite) leave the value
// cell empty; the unit column is written for every event.
#pragma once

#include "core/table_config.h"
#include "engine/cell_format.h"
#include "engine/mystringgrid.h"
#include "engine/table_sink.h"
#include "events/event_list.h"

namespace kvx {

// Decimals of the value cell of an event: the zeros after the decimal mark
// of its kind's table format (TEventKindInfo::TableFormat), the Moon's
// distances kMoonDistanceDecimals (the object's name, in either language,
// names the body); -1 for the kinds without a value and the almanac's own
// entries. The almanac's sheet shows its values with the same decimals.
int EventValueDecimals(int eventKind, const std::string& objectName);

// The rows of the table through either sink. Returns the last row written.
int WriteEventSearchResults(const TTableConfigRecord& config, const TEventList& events, TCellSink& sink);

// Into the current sheet of the workbook, then "A1:A1" selected, the caption
// row in bold, the used columns fitted and "A1:A1" selected again.
void WriteEventSearchResultsToSheet(const TTableConfigRecord& config, TSheet& sheet, const TEventList& events);

// Into the result grid, sized to the table, the columns given the widths of
// their format slots.
void WriteEventSearchResultsToGrid(const TTableConfigRecord& config, tmystringgrid& grid,
                                   const TTableOutputSettings& settings, const TEventList& events);

}  // namespace kvx
