#include "core/observer_place.h"

namespace kvx {

bool ObserverDateOrPlaceChanged(const TObserverRecord& before, const TObserverRecord& after) {
  TObserverRecord a = before;
  TObserverRecord b = after;
  LocalTimeToUT(a);
  LocalTimeToUT(b);
  return after.Year != before.Year || after.Month != before.Month || after.Day != before.Day ||
         after.Latitude != before.Latitude || after.Longitude != before.Longitude || after.Zone != before.Zone ||
         after.ZoneMinutes != before.ZoneMinutes || after.DeltaTSeconds != before.DeltaTSeconds ||
         after.AutoDeltaT != before.AutoDeltaT || a.Mjd != b.Mjd;
}

void TakeLocationFields(TObserverRecord& r, const TObserverRecord& place) {
  r.Latitude = place.Latitude;
  r.Longitude = place.Longitude;
  r.Zone = place.Zone;
  r.ZoneMinutes = place.ZoneMinutes;
  r.DaylightHours = place.DaylightHours;
  r.PlaceName = place.PlaceName;
  r.Height = place.Height;
  r.Pressure = place.Pressure;
  r.Temperature = place.Temperature;
  r.RefractionOn = place.RefractionOn;
}

}  // namespace kvx
