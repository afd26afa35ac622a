#include "core/observer_place.h"

#include <gtest/gtest.h>

#include <functional>

namespace kvx {
namespace {

// The date-and-place command recomputes its table only when the observer
// moved in time or place; the weather, the refraction switch and the name
// do not count, and neither do stale UT fields of the records.
TEST(ObserverPlace, TheInstantAndThePlaceCountTheWeatherAndTheNameDoNot) {
  TObserverRecord before;
  before.Day = 10;
  before.Month = 4;
  before.Year = 2024;
  before.LocalHours = 12.0;
  before.Zone = 1;
  before.DeltaTSeconds = 69.0;
  before.Latitude = 50.0;
  before.Longitude = -8.0;
  const auto changedBy = [&](const std::function<void(TObserverRecord&)>& edit) {
    TObserverRecord after = before;
    edit(after);
    return ObserverDateOrPlaceChanged(before, after);
  };
  EXPECT_FALSE(changedBy([](TObserverRecord&) {}));
  EXPECT_TRUE(changedBy([](TObserverRecord& r) { r.Day = 11; }));
  EXPECT_TRUE(changedBy([](TObserverRecord& r) { r.Year = -4712; }));
  EXPECT_TRUE(changedBy([](TObserverRecord& r) { r.Latitude += 1e-9; }));
  EXPECT_TRUE(changedBy([](TObserverRecord& r) { r.Longitude = 8.0; }));
  EXPECT_TRUE(changedBy([](TObserverRecord& r) { r.LocalHours += 1.0 / 3600; }));
  EXPECT_TRUE(changedBy([](TObserverRecord& r) { r.DaylightHours = 1; })) << "another UT";
  EXPECT_TRUE(changedBy([](TObserverRecord& r) { r.DeltaTSeconds = 0; }));
  EXPECT_TRUE(changedBy([](TObserverRecord& r) { r.AutoDeltaT = 1; }));
  // One hour further east and one hour later: the same instant, another zone.
  EXPECT_TRUE(changedBy([](TObserverRecord& r) {
    r.Zone = 2;
    r.LocalHours = 13.0;
  }));
  EXPECT_TRUE(changedBy([](TObserverRecord& r) { r.ZoneMinutes = 30; }));
  EXPECT_FALSE(changedBy([](TObserverRecord& r) {
    r.Height = 400;
    r.Temperature = -5;
    r.Pressure = 980;
    r.RefractionOn = 1;
    r.PlaceName = "Siegen";
    r.Mjd = 0;
    r.UTHours = 99;
  }));
}

}  // namespace
}  // namespace kvx
