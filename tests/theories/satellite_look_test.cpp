// Look angles, sub-points, topocentric right ascension and declination and
// the Earth-shadow test against an independent reference (python3-skyfield
// and astropy, made by make_satellite_fixtures.py), and the geometric rules
// of the refraction, horizon and shadow tests.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/vector_math.h"
#include "support/fixtures.h"
#include "theories/satellite_look.h"
#include "theories/sgp4.h"
#include "theories/tle.h"

namespace kvx {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

// Smallest difference of two angles in degrees.
double AngleDifference(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180.0 ? 360.0 - d : d;
}

void LoadReferenceSets() {
  ASSERT_EQ(LoadTleFile(std::string(KVX_FIXTURE_DIR) + "/satellite_sets.tle", false), 3);
}

TEST(SatelliteLook, SubPointsAndLookAnglesMatchTheReference) {
  LoadReferenceSets();
  test::FixtureTable table = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/satellite_look.tsv");
  ASSERT_EQ(table.Rows(), 240u);
  double worstSub = 0, worstAz = 0, worstEl = 0, worstRa = 0, worstDec = 0, worstRange = 0, worstRate = 0;
  int radecRows = 0;
  for (std::size_t i = 0; i < table.Rows(); ++i) {
    int set = static_cast<int>(table.Number(i, "set"));
    double jd = table.Number(i, "jd");
    ASSERT_EQ(LoadTwoLineElements(set), kSatOk);
    TVectorXYZR r, v;
    ASSERT_EQ(SatellitePropagate(r, v, jd), kSatOk);
    SatStateToKilometres(r, v);

    TSatGeodetic sub;
    SatelliteSubPoint(r, sub, jd);
    double dLat = std::fabs(sub.latitude / kDeg - table.Number(i, "sub_lat"));
    double dLon = AngleDifference(sub.longitude / kDeg, table.Number(i, "sub_lon"));
    worstSub = std::max({worstSub, dLat, dLon});
    EXPECT_LT(dLat, 0.01) << i;
    EXPECT_LT(dLon, 0.01) << i;
    EXPECT_NEAR(sub.height, table.Number(i, "sub_height"), 0.05) << i;  // WGS-72 against WGS-84

    bool munich = table.text[i][1] == "munich";
    TSatObserver observer;
    // The observer record counts longitudes positive to the west.
    SatObserverFromPlace(observer, munich ? 48.1375 : -33.92, munich ? -11.575 : -18.42, munich ? 520.0 : 10.0);
    TSatObservation look;
    SatelliteTopocentric(r, v, observer, jd, look, false);
    double el = table.Number(i, "el");
    EXPECT_EQ(SatelliteAboveHorizon, el >= 0 ? 1 : 0) << i;
    double dEl = std::fabs(look.elevation / kDeg - el);
    worstEl = std::max(worstEl, dEl);
    EXPECT_LT(dEl, 0.01) << i;
    if (el < 85.0) {  // the azimuth is ill-defined near the zenith
      double dAz = AngleDifference(look.azimuth / kDeg, table.Number(i, "az"));
      worstAz = std::max(worstAz, dAz);
      EXPECT_LT(dAz, 0.01) << i;
    }
    worstRange = std::max(worstRange, std::fabs(look.range - table.Number(i, "range")));
    worstRate = std::max(worstRate, std::fabs(look.rangeRate - table.Number(i, "range_rate")));
    EXPECT_NEAR(look.range, table.Number(i, "range"), 0.05) << i;
    EXPECT_NEAR(look.rangeRate, table.Number(i, "range_rate"), 1e-4) << i;

    TSatObservation radec;
    SatelliteLookAngles(r, v, observer, jd, radec, false);
    if (el >= 0) {
      ++radecRows;
      double dRa = AngleDifference(radec.azimuth / kDeg, table.Number(i, "ra"));
      double dDec = std::fabs(radec.elevation / kDeg - table.Number(i, "dec"));
      worstRa = std::max(worstRa, dRa * std::cos(radec.elevation));
      worstDec = std::max(worstDec, dDec);
      EXPECT_LT(dRa * std::cos(radec.elevation), 0.01) << i;
      EXPECT_LT(dDec, 0.01) << i;
      EXPECT_DOUBLE_EQ(radec.range, look.range);
    } else {
      // Below the horizon the record keeps azimuth and elevation.
      EXPECT_DOUBLE_EQ(radec.azimuth, look.azimuth);
      EXPECT_DOUBLE_EQ(radec.elevation, look.elevation);
    }
  }
  EXPECT_GE(radecRows, 30);
  std::printf("max deviations (deg): sub-point %.6f, az %.6f, el %.6f, ra*cos(dec) %.6f, dec %.6f; "
              "range %.5f km, range rate %.7f km/s\n",
              worstSub, worstAz, worstEl, worstRa, worstDec, worstRange, worstRate);
}

// Time (Julian date) at which the shadow flag changes between a and b.
double ShadowCrossing(double a, double b) {
  TVectorXYZR r, v;
  auto eclipsed = [&](double jd) {
    EXPECT_EQ(SatellitePropagate(r, v, jd), kSatOk);
    SatStateToKilometres(r, v);
    SatelliteInShadow(r, jd);
    return SatelliteEclipsed;
  };
  std::uint8_t first = eclipsed(a);
  EXPECT_NE(first, eclipsed(b));
  for (int i = 0; i < 40 && (b - a) * 86400.0 > 0.001; ++i) {
    double mid = 0.5 * (a + b);
    (eclipsed(mid) == first ? a : b) = mid;
  }
  return 0.5 * (a + b);
}

TEST(SatelliteLook, ShadowEntriesAndExitsMatchTheReference) {
  LoadReferenceSets();
  ASSERT_EQ(LoadTwoLineElements(1), kSatOk);
  test::FixtureTable events = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/satellite_shadow.tsv");
  ASSERT_GE(events.Rows(), 60u);
  double worst = 0;
  for (std::size_t i = 0; i < events.Rows(); ++i) {
    double jd = events.Number(i, "jd");
    double found = ShadowCrossing(jd - 20.0 / 86400.0, jd + 20.0 / 86400.0);
    // After an entry the satellite is eclipsed, after an exit it is not.
    TVectorXYZR r, v;
    SatellitePropagate(r, v, found + 2.0 / 86400.0);
    SatStateToKilometres(r, v);
    double margin = SatelliteInShadow(r, found + 2.0 / 86400.0);
    EXPECT_EQ(SatelliteEclipsed, events.text[i][1] == "entry" ? 1 : 0) << i;
    EXPECT_EQ(margin < 0, SatelliteEclipsed == 1) << i;
    double seconds = std::fabs(found - jd) * 86400.0;
    worst = std::max(worst, seconds);
    EXPECT_LT(seconds, 1.0) << i;
  }
  std::printf("shadow entry/exit: max %.3f s\n", worst);
}

TEST(SatelliteLook, ShadowConeGeometry) {
  // A point 7000 km straight behind the earth is eclipsed; with the Sun at
  // its distance the cone radius there is 6378.135 + 689621.865 * 7000 / R.
  double jd = 2460389.0;
  TVectorXYZR sun;
  SunVectorForShadow(sun, jd);
  TVectorXYZR behind{-sun.x / sun.r * 7000.0, -sun.y / sun.r * 7000.0, -sun.z / sun.r * 7000.0, 7000.0};
  double result = SatelliteInShadow(behind, jd);
  double radius = 6378.135 + 689621.865 * 7000.0 / sun.r;
  EXPECT_NEAR(result, -radius, 1e-6);
  EXPECT_EQ(SatelliteEclipsed, 1);
  EXPECT_DOUBLE_EQ(LastSunVector.r, sun.r);
  // On the day side nothing is eclipsed, however close to the Earth-Sun line.
  TVectorXYZR front{-behind.x, -behind.y, -behind.z, 7000.0};
  SatelliteInShadow(front, jd);
  EXPECT_EQ(SatelliteEclipsed, 0);
  // Sideways, well outside the cone.
  TVectorXYZR side{sun.y / std::hypot(sun.x, sun.y) * 7000.0, -sun.x / std::hypot(sun.x, sun.y) * 7000.0, 0, 0};
  EXPECT_GT(SatelliteInShadow(side, jd), 0.0);
  EXPECT_EQ(SatelliteEclipsed, 0);
}

TEST(SatelliteLook, SunVectorIsTheApparentSunOfDate) {
  // 2024 March 20, 03:06 UT is the March equinox: right ascension near 0,
  // declination near 0, distance about 0.9960 au.
  TVectorXYZR sun;
  SunVectorForShadow(sun, 2460389.629);
  EXPECT_NEAR(std::atan2(sun.z, std::hypot(sun.x, sun.y)) / kDeg, 0.0, 0.01);
  EXPECT_NEAR(std::atan2(sun.y, sun.x) / kDeg, 0.0, 0.02);
  EXPECT_NEAR(sun.r / 149597870.0, 0.99597, 2e-4);
  EXPECT_NEAR(DeltaET(2000.0), 26.465 + 0.747622 * 50 + 1.886913 * std::sin(2 * 3.14159265358979 * 25 / 33.0),
              1e-9);
}

// A satellite placed at a chosen true elevation above the observer.
TVectorXYZR PointAtElevation(const TSatObserver& observer, double jd, double elevationDeg) {
  TSatObserver place = observer;
  TVectorXYZR position, velocity;
  SatelliteObserverState(place, position, velocity, jd);
  // Local north-facing horizontal and zenith directions in the model frame.
  double lat = place.latitude, theta = place.sidereal;
  double zenith[3] = {std::cos(lat) * std::cos(theta), std::cos(lat) * std::sin(theta), std::sin(lat)};
  double north[3] = {-std::sin(lat) * std::cos(theta), -std::sin(lat) * std::sin(theta), std::cos(lat)};
  double h = elevationDeg * kDeg, range = 1000.0;
  TVectorXYZR p{position.x + range * (std::cos(h) * north[0] + std::sin(h) * zenith[0]),
                position.y + range * (std::cos(h) * north[1] + std::sin(h) * zenith[1]),
                position.z + range * (std::cos(h) * north[2] + std::sin(h) * zenith[2]), 0};
  SetVectorLength(p);
  return p;
}

TEST(SatelliteLook, HorizonAndRefraction) {
  TSatObserver observer;
  SatObserverFromPlace(observer, 52.0, -13.0, 0.0);
  EXPECT_NEAR(observer.longitude / kDeg, 13.0, 1e-12);
  double jd = 2460389.25;
  TVectorXYZR zero;
  TSatObservation look;

  // Exactly on the horizon: elevation 0 counts as above.
  SatelliteTopocentric(PointAtElevation(observer, jd, 0.0), zero, observer, jd, look, false);
  EXPECT_NEAR(look.elevation, 0.0, 1e-9);
  EXPECT_NEAR(AngleDifference(look.azimuth / kDeg, 0.0), 0.0, 1e-6);  // due north
  SatelliteTopocentric(PointAtElevation(observer, jd, 1e-7), zero, observer, jd, look, false);
  EXPECT_EQ(SatelliteAboveHorizon, 1);

  // True elevation -0.3 degrees is lifted by about 31.7 arc minutes.
  SatelliteTopocentric(PointAtElevation(observer, jd, -0.3), zero, observer, jd, look, true);
  EXPECT_EQ(SatelliteAboveHorizon, 1);
  EXPECT_NEAR(look.elevation / kDeg, -0.3 + 1.02 / std::tan((-0.3 + 10.3 / 4.81) * kDeg) / 60.0, 1e-7);
  EXPECT_NEAR((look.elevation / kDeg + 0.3) * 60.0, 31.7, 0.1);

  // At -2 degrees the refracted value stays negative: the true one is returned.
  SatelliteTopocentric(PointAtElevation(observer, jd, -2.0), zero, observer, jd, look, true);
  EXPECT_EQ(SatelliteAboveHorizon, 0);
  EXPECT_NEAR(look.elevation / kDeg, -2.0, 1e-7);

  // Near the pole of the refraction formula (-5.11 degrees) and far below,
  // nothing is lifted above the horizon.
  for (double h : {-5.0, -5.11, -5.2, -30.0, -89.0}) {
    SatelliteTopocentric(PointAtElevation(observer, jd, h), zero, observer, jd, look, true);
    EXPECT_EQ(SatelliteAboveHorizon, 0) << h;
    EXPECT_NEAR(look.elevation / kDeg, h, 1e-6) << h;
  }
}

TEST(SatelliteLook, ObserverStateAndSubPointAreInverse) {
  // An observer's own position gives back its place as sub-point with the
  // height, and the ground moves with the earth's rotation.
  for (double lat : {-89.9, -45.0, 0.0, 30.0, 89.9}) {
    TSatObserver observer;
    SatObserverFromPlace(observer, lat, 200.0, 1500.0);  // 200 deg west = 160 deg east
    TVectorXYZR position, velocity;
    double jd = 2451545.3;
    SatelliteObserverState(observer, position, velocity, jd);
    TSatGeodetic sub;
    SatelliteSubPoint(position, sub, jd);
    EXPECT_NEAR(sub.latitude / kDeg, lat, 1e-8);
    EXPECT_NEAR(sub.longitude / kDeg, 160.0, 1e-8);
    EXPECT_NEAR(sub.height, 1.5, 1e-6);
    EXPECT_NEAR(velocity.r, 7.292115855228083e-05 * std::hypot(position.x, position.y), 1e-12);
  }
  // A position at the earth's centre ends after the bounded iteration.
  TSatGeodetic sub;
  SatelliteSubPoint(TVectorXYZR{}, sub, 2451545.0);
  EXPECT_TRUE(std::isfinite(sub.latitude));
}

}  // namespace
}  // namespace kvx
