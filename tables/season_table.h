// The seasons table: the beginnings of spring, summer, autumn and winter
// for each year of the period, one row per season under one title row.
//
// Rows: 1 the titles (season, date, time and, with the Julian-date column,
// the Julian day); season k (1..4) of the year with index y (0 for the
// first year) in row 4y + k + 1. Date and time are local civil time; the
// Julian day is UT.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "core/records.h"
#include "core/table_config.h"
#include "engine/table_sink.h"
#include "theories/theory_types.h"

namespace kvx {

// The four season names the rows show, spring first.
using TSeasonCaptions = std::array<std::string, 4>;

// One result per calendar year from start.Year to end.Year (none when the
// end year lies before the start year). Each season is a copy of `start`
// whose Mjd is the instant of the selected theory (dynamical time) minus
// start.DeltaTSeconds, converted to local time with the copy's zone.
std::vector<tjahreszeitergebnis> ComputeSeasons(const TObserverRecord& start, const TObserverRecord& end,
                                                const PositionFileHandles& handles, TTheorySelection selection,
                                                TTruncationLevel level);

// Writes the year with index `index` into the sheet (titles too for index
// 0). The caller selects "A1:A1" and formats the used range afterwards
// (FinishSeasonSheet).
void WriteSeasonRowToSheet(const TTableConfigRecord& config, TSheet& sheet, const tjahreszeitergebnis& entry, int index,
                           const TSeasonCaptions& captions);
void FinishSeasonSheet(const TTableConfigRecord& config, TSheet& sheet);

// The grid twin; the grid must have 4 x years + 2 rows (PrepareSeasonGrid);
// FinishSeasonGrid leaves one column more than the table uses.
void PrepareSeasonGrid(tmystringgrid& grid, int years);
void WriteSeasonRowToGrid(const TTableConfigRecord& config, tmystringgrid& grid, const TTableOutputSettings& settings,
                          const tjahreszeitergebnis& entry, int index, const TSeasonCaptions& captions);
void FinishSeasonGrid(const TTableConfigRecord& config, tmystringgrid& grid);

// All years into the sheet (toSheet non-zero) or the grid. Nothing is
// written for an empty list.
void PaintSeasonTable(const TTableConfigRecord& config, TSheet* sheet, tmystringgrid* grid, std::uint8_t toSheet,
                      const TTableOutputSettings& settings, const std::vector<tjahreszeitergebnis>& years,
                      const TSeasonCaptions& captions);

}  // namespace kvx
