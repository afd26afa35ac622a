// Shared set-up of the body-chain and table tests: an observer record for a
// UT instant and the element sets used throughout.
#pragma once

#include <cmath>

#include "core/asteroid_elements.h"
#include "core/observer_record.h"
#include "core/table_config.h"
#include "core/time_scales.h"
#include "theories/observer_completion.h"

namespace kvx::test {

// An observer at Greenwich (zone 0, height 0) at the Julian day `jdUT`, with
// Delta T fixed to `deltaT` seconds; completed with the internal theories.
// The configuration decides whether the Sun one hour later is computed.
inline TObserverRecord ObserverAt(double jdUT, double deltaT, const TTableConfigRecord& config = {},
                                  double latitude = 51.4769, double longitude = 0.0) {
  TObserverRecord r;
  int day = 0, month = 0, year = 0;
  double hours = 0;
  JdToCalendarDate(day, month, year, hours, jdUT);
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = hours;
  r.Latitude = latitude;
  r.Longitude = longitude;
  r.AutoDeltaT = 0;
  r.DeltaTSeconds = deltaT;
  r.Pressure = 1010;
  r.Temperature = 10;
  CompleteObserverRecord(0, TTheorySelection{}, config, -1, r);
  return r;
}

inline TAsteroidElements CeresElements() {
  TAsteroidElements e;
  e.SemiMajorAxis = 2.7670463;
  e.Eccentricity = 0.0785115;
  e.Inclination = 10.58769;
  e.Node = 80.26014;
  e.Perihelion = 73.63704;
  e.MeanAnomaly = 291.37563;
  e.MeanMotion = 0;
  e.Equinox = 2000;
  e.Epoch = 2460400.5;
  e.H = 3.34;
  e.G = 0.12;
  e.Name = "Ceres";
  return e;
}

// Angle between two directions given as right ascension and declination
// (degrees), in arc seconds.
inline double SeparationArcsec(double ra1, double dec1, double ra2, double dec2) {
  constexpr double kRad = M_PI / 180.0;
  const double x1 = std::cos(dec1 * kRad) * std::cos(ra1 * kRad), y1 = std::cos(dec1 * kRad) * std::sin(ra1 * kRad);
  const double x2 = std::cos(dec2 * kRad) * std::cos(ra2 * kRad), y2 = std::cos(dec2 * kRad) * std::sin(ra2 * kRad);
  const double z1 = std::sin(dec1 * kRad), z2 = std::sin(dec2 * kRad);
  const double cx = y1 * z2 - z1 * y2, cy = z1 * x2 - x1 * z2, cz = x1 * y2 - y1 * x2;
  return std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), x1 * x2 + y1 * y2 + z1 * z2) / kRad * 3600.0;
}

}  // namespace kvx::test
