// Physical ephemerides fed by the program's own theories (internal series of
// the Sun, the planets and the Moon) against the worked examples of Meeus,
// Astronomical Algorithms (2nd ed.): the whole road from the series to the
// physical quantities.
#include <gtest/gtest.h>

#include <cmath>

#include "core/frames.h"
#include "core/moon_physical.h"
#include "core/physical_ephemeris.h"
#include "core/sun_longitude.h"
#include "core/time_scales.h"
#include "theories/moon_position.h"
#include "theories/planet_positions.h"
#include "theories/planet_series.h"
#include "theories/sun_position.h"

namespace kvx {
namespace {

constexpr double kLightDaysPerAu = 0.0057755183;

// Observer record at the Earth's centre for a Julian day of TT, with the
// Sun's fields as the derived block holds them.
TObserverRecord ObserverAt(double jdTt, double deltaT) {
  TObserverRecord o;
  o.DeltaTSeconds = deltaT;
  o.Mjd = jdTt - deltaT / 86400.0 - 2400000.5;
  o.Centuries = (jdTt - 2451545.0) / 36525.0;
  PositionFileHandles handles{};
  SunPosition(handles, TTheorySelection{}, o.SunLongitude, o.Centuries, o.SunLatitude, o.SunDistance, o.SunX, o.SunY,
              o.SunZ, o.SunVX, o.SunVY, o.SunVZ, kFullTheory);
  ApparentSunEquatorial(o.SunApparentRA, o.SunApparentDec, o.SunLongitude, o.SunLatitude, o.SunDistance,
                        o.Centuries);
  return o;
}

using HelioRoutine = void (*)(PositionFileHandle, TTheorySelection, double, double&, double&, double&, double&,
                              double&, double&, double&, double&, double&, TTruncationLevel);

// A planet's place from the internal series: heliocentric where the light
// left it, geocentric apparent with nutation, equatorial of date.
TKeplerPosition PlanetAt(HelioRoutine routine, std::int32_t body, const TObserverRecord& o) {
  const double T = o.Centuries;
  PositionFileHandles handles{};
  const TTheorySelection internal{};
  double L, B, R, X, Y, Z, VX, VY, VZ;
  routine(handles[0], internal, T, L, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
  TDispatchPlanet d;
  d.L = L, d.B = B, d.R = R;
  PlanetPositionDispatch(handles, kFullTheory, internal, T, body, 1, DispatchSunOf(o), d);
  const double distance = d.Distance;
  double ax = d.ApparentX, ay = d.ApparentY, az = d.ApparentZ;
  TKeplerPosition p;
  routine(handles[0], internal, T - kLightDaysPerAu * distance / 36525.0, p.HelioLongitude, p.HelioLatitude,
          p.HelioDistance, p.HelioX, p.HelioY, p.HelioZ, VX, VY, VZ, kFullTheory);
  double deps;
  const double dpsi = NutationDegrees(deps, T);
  double r, lat, lon;
  CartesianToPolar(r, lat, lon, ax, ay, az);
  p.GeoLongitude = Mod360(lon + dpsi);
  p.GeoLatitude = lat;
  p.GeoDistance = distance;
  EclipticToEquatorial(ax, ay, az, T);
  NutationEquatorial(ax, ay, az, T);
  p.EquatorialX = ax;
  p.EquatorialY = ay;
  p.EquatorialZ = az;
  CartesianToPolar(r, p.Declination, p.RightAscension, ax, ay, az);
  return p;
}

double AngleDifference(double a, double b) { return std::remainder(a - b, 360.0); }

// The tolerances are those of the tests against the Swiss Ephemeris places
// (physical_ephemeris_test.cpp, with the same notes on Meeus's constants),
// widened by 0.01 deg for the internal series.
TEST(PhysicalEphemerisFromTheories, MarsJupiterSaturnAndTheSunMatchMeeus) {
  {
    const TObserverRecord o = ObserverAt(2448935.5 + 59.0 / 86400.0, 59.0);  // 1992 Nov 9, 0h UT
    PlanetPhysicalRecord rec;
    PlanetMagnitude(4, o, PlanetAt(MarsHeliocentric, 4, o), rec);
    EXPECT_NEAR(rec.subEarthLatC, 12.44, 0.02);
    EXPECT_NEAR(rec.subSolarLatC, -2.76, 0.02);
    EXPECT_NEAR(AngleDifference(rec.axisAngle, 347.64), 0.0, 0.02);
    EXPECT_NEAR(AngleDifference(rec.centralMeridian1, 111.55 + (176.868 - 176.659)), 0.0, 0.02);
    EXPECT_NEAR(rec.diameter, 10.75, 0.01);
  }
  {
    const TObserverRecord o = ObserverAt(2448972.5 + 59.0 / 86400.0, 59.0);  // 1992 Dec 16, 0h UT
    const TKeplerPosition p = PlanetAt(JupiterHeliocentric, 5, o);
    PlanetPhysicalRecord rec;
    PlanetMagnitude(5, o, p, rec);
    EXPECT_NEAR(rec.subSolarLatC, -2.20, 0.02);
    EXPECT_NEAR(rec.subEarthLatC, -2.48, 0.02);
    EXPECT_NEAR(rec.axisAngle, 24.80, 0.02);
    const double r = p.HelioDistance, D = p.GeoDistance, R = o.SunDistance;
    const double phaseCorrection = 57.2958 * (2 * r * D + R * R - r * r - D * D) / (4 * r * D);
    EXPECT_NEAR(AngleDifference(rec.centralMeridian1, 268.06 - phaseCorrection), 0.0, 0.03);
    EXPECT_NEAR(AngleDifference(rec.centralMeridian2, 72.74 - phaseCorrection - 0.06), 0.0, 0.03);
  }
  {
    const TObserverRecord o = ObserverAt(2448972.5, 59.0);  // 1992 Dec 16, 0h TD
    PlanetPhysicalRecord rec;
    PlanetMagnitude(6, o, PlanetAt(SaturnHeliocentric, 6, o), rec);
    EXPECT_NEAR(rec.subEarthLatC, 16.442, 0.015);
    EXPECT_NEAR(rec.subSolarLatC, 14.679, 0.015);
    EXPECT_NEAR(std::fabs(AngleDifference(rec.centralMeridian1, rec.subSolarLon1)), 4.198, 0.015);
    EXPECT_NEAR(rec.axisAngle, 6.741, 0.045);
    EXPECT_NEAR(rec.ringMajor, 35.87, 0.01);
    EXPECT_NEAR(rec.ringMinor, 10.15, 0.015);
  }
  {
    const TObserverRecord o = ObserverAt(2448908.5, 59.0);  // 1992 Oct 13, 0h TD
    TKeplerPosition sun;
    sun.GeoDistance = o.SunDistance;
    PlanetPhysicalRecord rec;
    PlanetMagnitude(0, o, sun, rec);
    EXPECT_NEAR(rec.axisAngle, 26.27, 0.02);
    EXPECT_NEAR(rec.subEarthLatC, 5.99, 0.02);
    EXPECT_NEAR(AngleDifference(rec.centralMeridian1, 238.63), 0.0, 0.12);
  }
}

TEST(PhysicalEphemerisFromTheories, MoonMatchesMeeus) {
  const double jdTt = 2448724.5;  // 1992 April 12, 0h TD
  const TObserverRecord o = ObserverAt(jdTt, 59.0);
  const double T = o.Centuries;
  TMoonPositionBlock moon;
  MoonPositionSeries(T, moon.EclipticLongitude, moon.EclipticLatitude, moon.Distance);
  // Apparent equatorial place: mean ecliptic of date to the true equator.
  double x, y, z, r;
  PolarToCartesian(x, y, z, moon.Distance, moon.EclipticLatitude, moon.EclipticLongitude);
  EclipticToEquatorial(x, y, z, T);
  NutationEquatorial(x, y, z, T);
  CartesianToPolar(r, moon.Declination, moon.RightAscension, x, y, z);
  moon.EquatorialDistance = moon.Distance;
  // An observer in Berlin (east longitude negative in the record).
  double phiC, rho;
  GeocentricLatitudeAndRadius(phiC, rho, 52.5, 50.0);
  const double lst = LocalSiderealTime(1, o.Mjd, -13.4);
  TopocentricFromGeocentric(moon.TopocentricRightAscension, moon.TopocentricDeclination, moon.TopocentricDistance,
                            moon.RightAscension, moon.Declination, moon.Distance, phiC, lst, rho, 1.0);

  TMoonPhysicalEphemeris result;
  MoonPhysicalEphemeris(kBodyMoon, o, moon, result);
  EXPECT_NEAR(result.librationLongitude, -1.23, 0.01);
  EXPECT_NEAR(result.librationLatitude, 4.20, 0.01);
  EXPECT_NEAR(result.axisAngle, 15.08, 0.01);
  EXPECT_NEAR(result.sunColongitude, 22.105, 0.015);
  EXPECT_NEAR(result.sunSelenographicLatitude, 1.46, 0.01);
  EXPECT_NEAR(result.phaseAngle, 69.0756, 0.01);
  EXPECT_NEAR(result.illuminatedFraction, 0.6786, 0.0005);
  // Seen from Berlin the Moon is nearer and displaced by its parallax.
  EXPECT_GT(result.topoSemidiameter, result.semidiameter);
  EXPECT_GT(std::fabs(result.topoElongation - result.elongation), 0.1);
}

}  // namespace
}  // namespace kvx
