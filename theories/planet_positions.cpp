// Validity interval of the planet theories and the geocentric planet
// position with light time and aberration.
#include "theories/planet_positions.h"

#include <cmath>

#include "core/observer_record.h"
#include "core/vector_math.h"
#include "theories/planet_series.h"
#include "theories/pluto.h"
#include "theories/series_arithmetic.h"

namespace kvx {
namespace {

bool SelectsInternalSeries(TTheorySelection selection) {
  const std::uint8_t theory = selection.PlanetTheory();
  return theory != kPlanetTheoryVsop87D && theory != kPlanetTheoryVsop87C && theory != kPlanetTheoryPositionFiles;
}

// Rates of spherical coordinates: longitude and latitude in 1e-4 radian per
// day, distance in 1e-4 AU per day.
struct Rates {
  double dl = 0.0;
  double db = 0.0;
  double dr = 0.0;
};

// The Sun's geocentric rates from its mean anomaly M: the longitude rate is
// n (1 + 2e cos M), the distance rate a e n sin M.
Rates SunRates(double T) {
  const double m = series::MeanAnomaly(0.9931266, 99.9973604, T);
  return Rates{172.0 + 5.75 * std::cos(m), 0.0, 2.87 * std::sin(m)};
}

// Approximate heliocentric rates of a body, from its own mean anomaly.
Rates BodyRates(std::int32_t body, double T, const Rates& sun) {
  using series::MeanAnomaly;
  switch (body) {
    case 1: {
      const double m = MeanAnomaly(0.4855407, 415.2014314, T);
      return Rates{
          714.0 + 292.66 * std::cos(m) + 71.96 * std::cos(2.0 * m) + 18.16 * std::cos(3.0 * m) +
              4.61 * std::cos(4.0 * m) + 3.81 * std::sin(2.0 * m) + 2.43 * std::sin(3.0 * m) + 1.08 * std::sin(4.0 * m),
          73.4 * std::cos(m) + 29.82 * std::cos(2.0 * m) + 10.22 * std::cos(3.0 * m) + 3.28 * std::cos(4.0 * m) -
              40.44 * std::sin(m) - 16.55 * std::sin(2.0 * m) - 5.56 * std::sin(3.0 * m) - 1.72 * std::sin(4.0 * m),
          55.94 * std::sin(m) + 11.36 * std::sin(2.0 * m) + 2.6 * std::sin(3.0 * m)};
    }
    case 2: {
      const double m = MeanAnomaly(0.1400197, 162.5494552, T);
      return Rates{280.0 + 3.79 * std::cos(m), 9.54 * std::cos(m) - 13.57 * std::sin(m), 1.37 * std::sin(m)};
    }
    case kDispatchEarth:
      return Rates{sun.dl, -sun.db, sun.dr};
    case 4: {
      const double m = MeanAnomaly(0.0538553, 53.1662736, T);
      return Rates{91.5 + 17.07 * std::cos(m) + 2.03 * std::cos(2.0 * m), 0.83 * std::cos(m) + 2.8 * std::sin(m),
                   12.98 * std::sin(m) + 1.21 * std::cos(2.0 * m)};
    }
    case 5: {
      const double m = MeanAnomaly(0.0565314, 8.4302963, T);
      return Rates{14.5 + 1.41 * std::cos(m), 0.33 * std::sin(m), 3.66 * std::sin(m)};
    }
    case 6: {
      const double m = MeanAnomaly(0.8829867, 3.3947688, T);
      return Rates{5.84 + 0.65 * std::cos(m), 0.24 * std::cos(m), 3.09 * std::sin(m)};
    }
    case 7: {
      const double m = MeanAnomaly(0.3967117, 1.1902849, T);
      return Rates{2.05 + 0.19 * std::cos(m), -0.03 * std::sin(m), 1.86 * std::sin(m)};
    }
    case 8: {
      const double m = MeanAnomaly(0.7214906, 0.6068526, T);
      return Rates{1.04 + 0.02 * std::cos(m), 0.03 * std::sin(m), 0.27 * std::sin(m)};
    }
    case kDispatchPluto: {
      const double m = MeanAnomaly(0.0385795, 0.4026667, T);
      return Rates{0.69 + 0.34 * std::cos(m) + 0.12 * std::cos(2.0 * m) + 0.05 * std::cos(3.0 * m),
                   -0.08 * std::cos(m) - 0.17 * std::sin(m) - 0.09 * std::sin(2.0 * m),
                   6.66 * std::sin(m) + 1.64 * std::sin(2.0 * m)};
    }
    default:  // the Sun, and numbers without a body
      return Rates{};
  }
}

double Length(double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); }

// Light time for one AU, days (branch A) and the finer value of the
// iteration (branch B), with days per Julian century.
constexpr double kLightTimeDays = 0.00578;
constexpr double kLightTimeDaysExact = 0.005775518310186843;
constexpr double kCenturiesPerDay = 2.7378507871321012e-05;
constexpr double kLightTimeTolerance = 3.16881e-12;  // centuries, about 0.01 s

}  // namespace

THeliocentricPlace PlanetHeliocentricPlace(const PositionFileHandles& handles, TTruncationLevel level,
                                           TTheorySelection selection, std::int32_t body, double T) {
  THeliocentricPlace p;
  if (body == kDispatchPluto) {
    PlutoHeliocentric(handles[8], selection, T, p.L, p.B, p.R, p.X, p.Y, p.Z, p.VX, p.VY, p.VZ);
  } else if (body >= 1 && body < kDispatchPluto) {
    p = PlanetSeriesHeliocentric(body, handles[PositionFileSlotOfBody(body)], selection, T, level);
  }
  return p;
}

bool DateInTheoryRange(TTheorySelection selection, double T) {
  if (SelectsInternalSeries(selection)) return -1.1 < T && T < 1.0;
  return -2.999931554 < T && T < 1.000616016;
}

TDispatchSun DispatchSunOf(const TObserverRecord& observer) {
  const TObserverRecord& o = observer;
  return TDispatchSun{o.SunLongitude, o.SunLatitude, o.SunDistance, o.SunX, o.SunY, o.SunZ, o.SunVX, o.SunVY, o.SunVZ};
}

void PlanetPositionDispatch(const PositionFileHandles& handles, TTruncationLevel level, TTheorySelection selection,
                            double T, std::int32_t body, std::int32_t correction, const TDispatchSun& sun,
                            TDispatchPlanet& planet) {
  TDispatchPlanet& p = planet;
  const std::uint8_t theory = selection.PlanetTheory();
  if (theory == kPlanetTheoryVsop87C || theory == kPlanetTheoryPositionFiles) {
    // Branch B: rectangular positions and velocities from the sources.
    double gx = p.X + sun.X;
    double gy = p.Y + sun.Y;
    double gz = p.Z + sun.Z;
    p.Distance = Length(gx, gy, gz);
    if (body == kDispatchEarth) {
      p.ApparentX = p.ApparentY = p.ApparentZ = 0.0;
      p.AstrometricX = p.AstrometricY = p.AstrometricZ = 0.0;
      p.Distance = 0.0;
      return;
    }
    double retarded = T - kLightTimeDaysExact * p.Distance * kCenturiesPerDay;
    // Bounded: a NaN date or distance never satisfies the test below.
    for (int pass = 0; pass < kLightTimePassLimit; ++pass) {
      // The planet's routine; zero for the Sun and numbers without one.
      const THeliocentricPlace h = PlanetHeliocentricPlace(handles, level, selection, body, retarded);
      p.VX = h.VX;
      p.VY = h.VY;
      p.VZ = h.VZ;
      gx = h.X + sun.X;
      gy = h.Y + sun.Y;
      gz = h.Z + sun.Z;
      const double next = T - kLightTimeDaysExact * Length(gx, gy, gz) * kCenturiesPerDay;
      if (std::fabs(next - retarded) < kLightTimeTolerance) break;
      retarded = next;
    }
    p.AstrometricX = gx;
    p.AstrometricY = gy;
    p.AstrometricZ = gz;
    const double tau = kLightTimeDays * p.Distance;
    p.ApparentX = p.AstrometricX - tau * sun.VX;
    p.ApparentY = p.AstrometricY - tau * sun.VY;
    p.ApparentZ = p.AstrometricZ - tau * sun.VZ;
    return;
  }

  // Branch A: spherical coordinates and approximate rates.
  Rates sunRates;
  Rates bodyRates;
  if (correction > 0) {
    sunRates = SunRates(T);
    bodyRates = BodyRates(body, T, sunRates);
  }
  double sx = 0.0, sy = 0.0, sz = 0.0, svx = 0.0, svy = 0.0, svz = 0.0;
  SphericalToRectangularWithVelocity(sx, sy, sz, sun.L, sun.B, sun.R, sunRates.dl, sunRates.db, sunRates.dr, svx, svy,
                                     svz);
  double px = 0.0, py = 0.0, pz = 0.0, pvx = 0.0, pvy = 0.0, pvz = 0.0;
  SphericalToRectangularWithVelocity(px, py, pz, p.L, p.B, p.R, bodyRates.dl, bodyRates.db, bodyRates.dr, pvx, pvy,
                                     pvz);
  p.X = px;
  p.Y = py;
  p.Z = pz;
  p.VX = pvx * 1e-4;
  p.VY = pvy * 1e-4;
  p.VZ = pvz * 1e-4;
  svx *= 1e-4;
  svy *= 1e-4;
  svz *= 1e-4;

  double gx = px + sx, gy = py + sy, gz = pz + sz;
  p.Distance = Length(gx, gy, gz);
  if (body == kDispatchEarth) {
    gx = gy = gz = 0.0;
    p.Distance = 0.0;
  }
  if (correction > 0) {
    const double tau = kLightTimeDays * p.Distance;
    p.AstrometricX = gx - tau * p.VX;
    p.AstrometricY = gy - tau * p.VY;
    p.AstrometricZ = gz - tau * p.VZ;
    p.ApparentX = gx - tau * (p.VX + svx);
    p.ApparentY = gy - tau * (p.VY + svy);
    p.ApparentZ = gz - tau * (p.VZ + svz);
  } else {
    p.ApparentX = gx;
    p.ApparentY = gy;
    p.ApparentZ = gz;
  }
}

}  // namespace kvx
