#include "tables/satellite_search.h"

#include <cmath>

#include "core/angle_constants.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "theories/low_precision.h"

namespace {}

namespace kvx {

double TSatelliteVisibilitySearch::SunAltitudeLowPrecision(const TObserverRecord& record) {
  const double jd = MjdToJd(record.Mjd);
  const double t = (jd - 2451545.0) / 36525.0;
  double ra = 0, dec = 0;
  SunLowPrecision(ra, dec, t);
  const double jd0 = std::floor(jd - 0.5) + 0.5;
  const double utHours = 24.0 * (jd + 0.5 - std::floor(jd + 0.5));
  const double gmst = Mod24((jd0 - 2445700.5) * 0.0657098242 + 6.656306 + 1.0027379093 * utHours);
  const double lst = Mod24(gmst - record.Longitude / 15.0);
  const double hourAngle = (lst - ra) * 15.0 * kDegToRad;
  const double phi = record.Latitude * kDegToRad;
  const double delta = dec * kDegToRad;
  const double s = std::sin(delta) * std::sin(phi) + std::cos(delta) * std::cos(phi) * std::cos(hourAngle);
  return std::asin(std::fmax(-1.0, std::fmin(1.0, s))) / kDegToRad;
}

bool TSatelliteVisibilitySearch::Test(bool single) {
  LastSunAltitude = SunAltitudeLowPrecision(Record);
  Dark = TwilightLimitDeg > LastSunAltitude;
  const double jd = MjdToJd(Record.Mjd);
  if (single && Progress) Progress(jd);
  TSatObserver observer;
  SatObserverFromPlace(observer, Record.Latitude, Record.Longitude, Record.Height);
  if (!ComputeSatellite(Satellite, jd, observer, EpochWindowDays, Record.RefractionOn != 0, Last)) {
    Last.Computable = 0;
    return false;
  }
  if (Last.Elevation <= 0) PassInProgress = false;
  return Last.Lit != 0 && Last.Elevation > 0 && !PassInProgress && Dark;
}

bool TSatelliteVisibilitySearch::TestStep() { return Test(true); }

void TSatelliteVisibilitySearch::Activate(const TObserverRecord& record, int satellite) {
  Saved = record;
  LocalTimeToUT(Saved);
  SelectSatellite(satellite);
}

void TSatelliteVisibilitySearch::SelectSatellite(int satellite) {
  Satellite = satellite;
  PassInProgress = false;
  Record = Saved;
  Test(true);
}

void TSatelliteVisibilitySearch::StepBack() {
  Record.Mjd -= kStepDays;
  UTToLocalTime(Record);
  Test(true);
}

void TSatelliteVisibilitySearch::StepForward() {
  Record.Mjd += kStepDays;
  UTToLocalTime(Record);
  Test(true);
}

TSatelliteVisibilitySearch::TOutcome TSatelliteVisibilitySearch::Search() {
  Cancelled = false;
  const TObserverRecord start = Record;
  for (int n = 0; n < kMaxSteps; ++n) {
    const bool visible = Test(false);
    if (n % kCallbackEvery == 0 && Progress) Progress(MjdToJd(Record.Mjd));
    Record.Mjd = start.Mjd + (n + 1) * kStepDays;
    if (visible) {
      PassInProgress = true;
      UTToLocalTime(Record);
      return TOutcome::Found;
    }
    if (Cancelled) break;
  }
  const bool cancelled = Cancelled;
  Record = start;
  return cancelled ? TOutcome::Cancelled : TOutcome::NotFound;
}

}  // namespace kvx
