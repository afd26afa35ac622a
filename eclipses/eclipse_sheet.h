// Steps the solar eclipse and transit writers share: the local date and
// time of an instant, the result grid's sizing and the sheet's finishing.
//
// T: Julian centuries of UT from J2000 (MJD 51544.5).
#pragma once

#include <string>

#include "core/data_format_slots.h"
#include "core/observer_record.h"
#include "core/table_config.h"
#include "engine/cell_format.h"
#include "engine/mystringgrid.h"
#include "engine/table_sink.h"

namespace kvx {

// The format slots both writers use, and the column title of a slot.
namespace eclipse_columns {
inline constexpr int kSlotPositionAngle = 63;
inline constexpr int kSlotVertexAngle = 182;

std::string Title(const TTableConfigRecord& config, int slot);
}  // namespace eclipse_columns

// The observer's record at T with the local date and time of its zone
// (automatic delta T off).
TObserverRecord EclipseLocalTime(const TObserverRecord& observer, double T);

// Sizes the grid to `rows` + 1 by `cols` + 1 and empties it; every column
// is as wide as a cell of format `slot` plus 40. Returns that width.
int PrepareEclipseGrid(tmystringgrid& grid, const TTableOutputSettings& output, int rows, int cols, int slot);

// The sheet's finishing: rows 1 .. last and columns 1 .. `lastCol` centred
// both ways and fitted, "A1" current at the end.
void CentreAndFitEclipseSheet(TSheet& sheet, int lastCol);

}  // namespace kvx
