// What the date-and-place and location dialogs change in a TObserverRecord:
// whether the observer's instant or place moved, and the fields the location
// dialog hands back.
#pragma once

#include "core/observer_record.h"

namespace kvx {

// True when `after` puts the observer at another instant or place than
// `before`: another local date, Latitude, Longitude, Zone, ZoneMinutes,
// DeltaTSeconds or AutoDeltaT, or another Mjd once LocalTimeToUT has run on
// a copy of each (so a changed LocalHours or DaylightHours counts too).
// Height, weather, RefractionOn and PlaceName do not count. Neither record
// is changed.
bool ObserverDateOrPlaceChanged(const TObserverRecord& before, const TObserverRecord& after);

// Copies into `r` the ten fields the location dialog edits, as `place` holds
// them: Latitude and Longitude (in whatever form `place` has them), Zone,
// ZoneMinutes, DaylightHours, PlaceName, Height, Pressure, Temperature and
// RefractionOn. Every other field of `r` stays.
void TakeLocationFields(TObserverRecord& r, const TObserverRecord& place);

}  // namespace kvx
