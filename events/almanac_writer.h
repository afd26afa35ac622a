// The almanac table (table kinds 85 and 86-87: the almanac and the overview
// of today): one row per event inside the period, into the workbook sheet
// or the result grid, from one column description.
//
// Layout (rows and columns from 1):
//   row 1   title 0 (date), title 1 (time), [title 3 (JD)], title 161
//           (object), title 162 + "/" + title 161 (event), an empty caption
//           over the value
//   rows    each event with lo <= MJD (UT) <= hi in list order, without
//           gaps: local date (slot 0), local time of day (slot 1; empty for
//           a solar eclipse), [JD (slot 3)], object text, event text, value
// Value: an event kind's value with the decimals of its table format
// (EventValueDecimals, events/event_table_writer.h; the event-kind table,
// core/event_kinds.h); a conjunction (almanac_entry::kConjunction) its
// unsigned separation as an angle (slot 168); the kinds without a value, the
// other entries of the almanac and a value that is not finite, an empty
// cell.
#pragma once

#include "core/observer_record.h"
#include "core/table_config.h"
#include "engine/cell_format.h"
#include "engine/mystringgrid.h"
#include "engine/table_sink.h"
#include "events/event_list.h"

namespace kvx {

// lo <= x <= hi.
bool InPeriod(double x, double lo, double hi);

// The rows through either sink; returns the number of events written.
int WriteAlmanac(const TTableConfigRecord& config, const TEventList& events, const TObserverRecord& periodStart,
                 const TObserverRecord& periodEnd, TCellSink& sink);

void WriteAlmanacToSheet(const TTableConfigRecord& config, TSheet& sheet, const TEventList& events,
                         const TObserverRecord& periodEnd, const TObserverRecord& periodStart);

// The grid: 6 columns (7 with JD) and events + 2 rows, cleared first.
void WriteAlmanacToGrid(const TTableConfigRecord& config, tmystringgrid& grid, const TTableOutputSettings& settings,
                        const TEventList& events, const TObserverRecord& periodStart, const TObserverRecord& periodEnd);

}  // namespace kvx
