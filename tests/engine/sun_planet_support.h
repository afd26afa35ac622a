// Shared set-up of the Sun and planet object tests: observer records at a
// place, table configurations and a table run over a period.
#pragma once

#include <cmath>
#include <initializer_list>

#include "core/column_flags.h"
#include "core/observer_record.h"
#include "core/table_config.h"
#include "core/table_step.h"
#include "core/time_scales.h"
#include "theories/observer_completion.h"

namespace kvx::test {

// A place: latitude (north positive), longitude EAST POSITIVE, zone hours.
struct Place {
  double latitude = 0, longitude = 0;
  int zone = 0;
};

// The observer at `place` at the Julian day `jdUT`, Delta T fixed, local
// civil time of the zone; completed with `selection` and apparent sidereal
// time.
inline TObserverRecord ObserverAtPlace(double jdUT, double deltaT, const Place& place, TTheorySelection selection,
                                       const TTableConfigRecord& config = {}) {
  TObserverRecord r;
  int day = 0, month = 0, year = 0;
  double hours = 0;
  JdToCalendarDate(day, month, year, hours, jdUT + place.zone / 24.0);
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = hours;
  r.Zone = place.zone;
  r.Latitude = place.latitude;
  r.Longitude = -place.longitude;
  r.AutoDeltaT = 0;
  r.DeltaTSeconds = deltaT;
  r.Pressure = 1010;
  r.Temperature = 10;
  CompleteObserverRecord(1, selection, config, -1, r);
  return r;
}

// A configuration with the given column flags on and the group summaries
// that follow from them.
inline TTableConfigRecord ConfigWith(std::initializer_list<std::size_t> flags) {
  TTableConfigRecord config;
  for (std::size_t f : flags) {
    config.Flags[f] = 1;
    const std::uint8_t groups = ColumnFlagTable[f].groups;
    if (groups & kGroupCoordinates) config.Flags[column_flag::kSummaryCoordinates] = 1;
    if (groups & kGroupTopocentric) config.Flags[column_flag::kSummaryTopocentric] = 1;
    if (groups & kGroupPhysical) config.Flags[column_flag::kSummaryPhysical] = 1;
  }
  return config;
}

}  // namespace kvx::test
