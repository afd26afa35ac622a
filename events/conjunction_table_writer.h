// The conjunction table: the events of the conjunction searches and the
// separation tables laid out in the workbook sheet or the result grid, one
// event per row under one caption row.
//
// Columns, left to right (captions are the table configuration's titles of
// the named format slots):
//   object 1 (161), object 2 (161), date (0), time (1), [Julian date (3)],
//   |separation| (168), [Sun altitude (158)], [altitude (47) " Obj. 1"],
//   [" Obj. 2"], [elongation with its side (52) " Obj. 1"], [" Obj. 2"],
//   [magnitude (62) " Obj. 1"], [" Obj. 2"], first name with its north/south
//   word (no caption), conjunction kind (200).
// The Julian-date column follows the configuration. Each bracketed value
// column is decided once for the whole list: it is there when any event
// holds a value at or above the column's no-value limit (altitudes and
// magnitudes -90, elongations -360); a row without the value leaves its
// cell empty. Date and time are local civil time; the Julian date is UT.
#pragma once

#include <cstdint>
#include <vector>

#include "core/table_config.h"
#include "engine/table_sink.h"
#include "events/event_list.h"

namespace kvx {

// True when the list's events carry a conjunction kind (1..3): the list is
// then written by this writer also where the event table is asked for.
bool ListHoldsConjunctions(const TEventList& events);

// The columns of a list: caption slot, caption suffix and what fills them.
enum class TConjunctionColumn : std::uint8_t {
  FirstName,
  SecondName,
  Date,
  Time,
  JulianDate,
  Separation,
  SunAltitude,
  Altitude1,
  Altitude2,
  Elongation1,
  Elongation2,
  Magnitude1,
  Magnitude2,
  NorthSouth,
  Kind
};
std::vector<TConjunctionColumn> ConjunctionColumns(const TTableConfigRecord& config, const TEventList& events);

// Writes the caption row and one row per event through `sink`; returns the
// number of columns. An empty list writes the caption row of the columns
// that are always there.
int WriteConjunctionResults(TCellSink& sink, const TTableConfigRecord& config, const TEventList& events);

// Into the sheet from "A1", then "A1:A1" selected, the caption row and the
// used columns fitted, "A1:A1" selected again. `flag` is handed on to the
// grid twin and not read.
void WriteConjunctionResultsToSheet(std::uint8_t flag, const TTableConfigRecord& config, TSheet& sheet,
                                    const TEventList& events);
// The grid twin: the grid is sized to the list (one more column than used).
void WriteConjunctionResultsToGrid(std::uint8_t flag, const TTableConfigRecord& config, tmystringgrid& grid,
                                   const TTableOutputSettings& settings, const TEventList& events);

}  // namespace kvx
