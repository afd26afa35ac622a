// Loading element sets into the models, model choice, epochs and sidereal
// angles, error codes, and the propagation state that lives between calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "theories/sgp4.h"
#include "theories/tle.h"

namespace kvx {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

// An element set with the given fields (checksums are not needed by the models).
TTleEntry Set(const char* epoch, double incl, double ecc7, double motion, const char* bstar = " 10000-3") {
  char l1[80], l2[80];
  std::snprintf(l1, sizeof l1, "1 99999U 00000A   %14s  .00000000  00000-0 %8s 0  0000", epoch, bstar);
  std::snprintf(l2, sizeof l2, "2 99999 %8.4f 100.0000 %07.0f  45.0000  10.0000 %11.8f    00", incl, ecc7, motion);
  return {l1, l2};
}

TEST(SgpEpoch, JulianDatesOfYearsAndEpochs) {
  EXPECT_DOUBLE_EQ(JulianDateOfYear(2008), 2454465.5);
  EXPECT_DOUBLE_EQ(JulianDateOfYear(2000), 2451543.5);
  EXPECT_DOUBLE_EQ(JulianDateOfYear(1900), 2415019.5);
  EXPECT_DOUBLE_EQ(JulianDateOfEpoch(8001.5), 2454467.0);
  // Two-digit years 56 and 57 are 2056 and 1957.
  EXPECT_DOUBLE_EQ(JulianDateOfEpoch(56001.0), JulianDateOfYear(2056) + 1.0);
  EXPECT_DOUBLE_EQ(JulianDateOfEpoch(57001.0), JulianDateOfYear(1957) + 1.0);
  EXPECT_DOUBLE_EQ(JulianDateOfEpoch(57001.0), 2435839.5);
}

TEST(SgpEpoch, GreenwichMeanSiderealAngle) {
  // 2000 January 1, 12h UT: 280.46061837 degrees (IAU 1982).
  EXPECT_NEAR(GreenwichSiderealAngle(2451545.0) / kDeg, 280.46061837, 1e-7);
  // 1987 April 10, 0h UT: 13h 10m 46.3668s (Astronomical Algorithms, example 12.a).
  EXPECT_NEAR(GreenwichSiderealAngle(2446895.5) / kDeg / 15.0, 13 + 10 / 60.0 + 46.3668 / 3600.0, 1e-8);
  // One sidereal day later the angle is the same.
  EXPECT_NEAR(GreenwichSiderealAngle(2446895.5 + 0.99726956633), GreenwichSiderealAngle(2446895.5), 1e-8);
  double angle = EpochSiderealAngle(87100.0);
  EXPECT_NEAR(angle, GreenwichSiderealAngle(2446895.5), 1e-12);
  EXPECT_DOUBLE_EQ(SgpEpochDaysSince1950, 2446895.5 - 2433281.5);
}

TEST(SgpLoad, FieldsAreConvertedToModelUnits) {
  SatelliteTable[1] = Set("24079.50000000", 51.6416, 6703, 15.49815328, "-11606-4");
  ASSERT_EQ(LoadTwoLineElements(1), kSatOk);
  EXPECT_DOUBLE_EQ(SgpElements.epoch, 24079.5);
  EXPECT_DOUBLE_EQ(SgpElements.epochJulianDate, JulianDateOfYear(2024) + 79.5);
  EXPECT_NEAR(SgpElements.bstar, -0.11606e-4, 1e-18);
  EXPECT_DOUBLE_EQ(SgpElements.inclination, 51.6416 * kDeg);
  EXPECT_DOUBLE_EQ(SgpElements.node, 100.0 * kDeg);
  EXPECT_DOUBLE_EQ(SgpElements.eccentricity, 0.0006703);
  EXPECT_DOUBLE_EQ(SgpElements.argPerigee, 45.0 * kDeg);
  EXPECT_DOUBLE_EQ(SgpElements.meanAnomaly, 10.0 * kDeg);
  EXPECT_DOUBLE_EQ(SgpElements.meanMotion, 15.49815328 * 2 * 3.14159265358979323846 / 1440.0);
  EXPECT_EQ(SgpElements.newElements, 1);
  EXPECT_EQ(SgpElements.deepSpace, 0);
}

TEST(SgpLoad, ModelFollowsTheMeanMotionWithoutTheJ2Part) {
  // 6.4 revolutions a day is a period of exactly 225 minutes in the file.
  // The J2 part lengthens the model period for low inclinations (deep space)
  // and shortens it for polar orbits (near earth).
  SatelliteTable[1] = Set("24079.50000000", 0.0, 1000, 6.4);
  ASSERT_EQ(LoadTwoLineElements(1), kSatOk);
  EXPECT_EQ(SgpElements.deepSpace, 1);
  SatelliteTable[1] = Set("24079.50000000", 90.0, 1000, 6.4);
  ASSERT_EQ(LoadTwoLineElements(1), kSatOk);
  EXPECT_EQ(SgpElements.deepSpace, 0);
  SatelliteTable[1] = Set("24079.50000000", 90.0, 1000, 6.39);
  ASSERT_EQ(LoadTwoLineElements(1), kSatOk);
  EXPECT_EQ(SgpElements.deepSpace, 1);
}

TEST(SgpLoad, InvalidSetsReturnAnErrorAndNeverNaN) {
  TVectorXYZR r, v;
  for (double motion : {0.0, -1.0}) {
    SatelliteTable[1] = Set("24079.50000000", 51.0, 1000, motion);
    EXPECT_EQ(LoadTwoLineElements(1), kSatInvalidSet) << motion;
    EXPECT_EQ(SatellitePropagate(r, v, 2460389.0), kSatInvalidSet);
    EXPECT_EQ(r.x, 0.0);
    EXPECT_EQ(r.r, 0.0);
  }
  // A negative eccentricity field.
  SatelliteTable[1] = Set("24079.50000000", 51.0, 0, 15.5);
  SatelliteTable[1].line2.replace(26, 7, "-000001");
  EXPECT_EQ(LoadTwoLineElements(1), kSatInvalidSet);
  EXPECT_EQ(SatellitePropagate(r, v, 2460389.0), kSatInvalidSet);
  EXPECT_EQ(LoadTwoLineElements(0), kSatNoSet);
  EXPECT_EQ(LoadTwoLineElements(501), kSatNoSet);
  EXPECT_EQ(SatellitePropagate(r, v, 2460389.0), kSatInvalidSet);

  // A decaying set reports its decay, with zero vectors.
  SatelliteTable[1] = Set("24079.50000000", 51.0, 1000, 16.4, " 50000-1");
  ASSERT_EQ(LoadTwoLineElements(1), kSatOk);
  TSatelliteError error = kSatOk;
  for (int day = 0; day < 60 && error == kSatOk; ++day)
    error = SatellitePropagate(r, v, SgpElements.epochJulianDate + day);
  EXPECT_NE(error, kSatOk);
  EXPECT_EQ(r.r, 0.0);
  EXPECT_FALSE(std::isnan(v.r));
  // A time that is not a number.
  ASSERT_EQ(LoadTwoLineElements(1), kSatOk);
  EXPECT_EQ(SatellitePropagate(r, v, std::nan("")), kSatNumericFailure);
}

TEST(SgpLoad, ErrorsAreShownWithTheSatelliteName) {
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  LanguageEnglish = 1;
  ShowSatelliteError(kSatDecayed, "MIR");
  ShowSatelliteError(kSatOk, "MIR");
  LanguageEnglish = 0;
  ShowSatelliteError(kSatInvalidSet, "MIR");
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text, "MIR: The satellite has decayed.");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(sink.messages[1].text.rfind("MIR: Der Bahnelementsatz ist ungültig", 0), 0u);
  EXPECT_EQ(LanguageEnglish, 0);
}

// Position (km) of the satellite in slot `slot`, loaded afresh.
TVectorXYZR FreshPosition(int slot, double minutes) {
  EXPECT_EQ(LoadTwoLineElements(slot), kSatOk);
  TVectorXYZR r, v;
  EXPECT_EQ(SatellitePropagate(r, v, SgpElements.epochJulianDate + minutes / 1440.0), kSatOk);
  SatStateToKilometres(r, v);
  return r;
}

TEST(SgpPropagate, EachLoadReplacesTheModelState) {
  SatelliteTable[1] = Set("24079.50000000", 51.6, 6703, 15.5);  // SGP4
  SatelliteTable[2] = Set("24079.50000000", 98.0, 1200, 14.2);  // SGP4, another orbit
  SatelliteTable[3] = Set("24079.50000000", 0.05, 2000, 1.00271);  // SDP4, synchronous resonance
  TVectorXYZR a = FreshPosition(1, 100.0);
  TVectorXYZR b = FreshPosition(2, 100.0);
  EXPECT_GT(std::hypot(a.x - b.x, a.y - b.y, a.z - b.z), 100.0);
  // Loading A, then B, then propagating gives B.
  ASSERT_EQ(LoadTwoLineElements(1), kSatOk);
  ASSERT_EQ(LoadTwoLineElements(2), kSatOk);
  TVectorXYZR r, v;
  ASSERT_EQ(SatellitePropagate(r, v, SgpElements.epochJulianDate + 100.0 / 1440.0), kSatOk);
  SatStateToKilometres(r, v);
  EXPECT_DOUBLE_EQ(r.x, b.x);
  // Position and velocity are consistent: a central difference of the
  // position over +-1 s matches the velocity.
  TVectorXYZR before, after, unused;
  ASSERT_EQ(Sgp4Propagate(SgpElements.newElements, before, unused, 100.0 - 1.0 / 60.0), kSatOk);
  ASSERT_EQ(Sgp4Propagate(SgpElements.newElements, after, unused, 100.0 + 1.0 / 60.0), kSatOk);
  SatStateToKilometres(before, unused);
  SatStateToKilometres(after, unused);
  EXPECT_NEAR((after.x - before.x) / 2.0, v.x, 1e-5);
  EXPECT_NEAR((after.y - before.y) / 2.0, v.y, 1e-5);
  EXPECT_NEAR((after.z - before.z) / 2.0, v.z, 1e-5);
  EXPECT_NEAR(r.r, std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z), 1e-9);

  // A deep-space set loaded again after other sets (near-earth, and deep
  // space of another epoch) gives the same positions as before.
  SatelliteTable[5] = Set("20001.00000000", 10.0, 1000, 1.5);
  TVectorXYZR c = FreshPosition(3, 1000.0);
  EXPECT_NEAR(c.r, 42164.0, 50.0);
  FreshPosition(1, 50.0);
  FreshPosition(5, 50.0);
  TVectorXYZR c2 = FreshPosition(3, 1000.0);
  EXPECT_DOUBLE_EQ(c.x, c2.x);
  EXPECT_DOUBLE_EQ(c.z, c2.z);
}

TEST(SgpPropagate, ResonanceIntegrationDoesNotDependOnTheOrderOfCalls) {
  // Positions before the epoch use negative minutes; the resonance
  // integrator steps backwards. Any order of requests gives the positions of
  // a fresh load.
  for (const TTleEntry& set : {Set("24079.50000000", 0.05, 2000, 1.00271),    // 24-hour resonance
                               Set("24079.50000000", 63.4, 7200000, 2.00607)}) {  // 12-hour resonance
    SatelliteTable[4] = set;
    const double times[] = {-2000.0, 3000.0, 1500.0, -700.0, 10.0, 5000.0, -5000.0};
    TVectorXYZR fresh[7];
    for (int i = 0; i < 7; ++i) fresh[i] = FreshPosition(4, times[i]);
    ASSERT_EQ(LoadTwoLineElements(4), kSatOk);
    EXPECT_EQ(SgpElements.deepSpace, 1);
    for (int i = 0; i < 7; ++i) {
      TVectorXYZR r, v;
      ASSERT_EQ(SatellitePropagate(r, v, SgpElements.epochJulianDate + times[i] / 1440.0), kSatOk);
      SatStateToKilometres(r, v);
      EXPECT_NEAR(r.x, fresh[i].x, 1e-6) << times[i];
      EXPECT_NEAR(r.y, fresh[i].y, 1e-6) << times[i];
    }
  }
}

TEST(SgpPropagate, JulianDateAndMinutesAgree) {
  SatelliteTable[1] = Set("24079.50000000", 51.6, 6703, 15.5);
  ASSERT_EQ(LoadTwoLineElements(1), kSatOk);
  TVectorXYZR r, v, rm, vm;
  ASSERT_EQ(SatellitePropagate(r, v, SgpElements.epochJulianDate + 0.25), kSatOk);
  ASSERT_EQ(Sgp4Propagate(SgpElements.newElements, rm, vm, 360.0), kSatOk);
  EXPECT_NEAR(r.x, rm.x, 1e-9);
  EXPECT_NEAR(v.y, vm.y, 1e-9);
  // Earth radii and earth radii per minute become km and km/s.
  TVectorXYZR km = rm, kms = vm;
  SatStateToKilometres(km, kms);
  EXPECT_DOUBLE_EQ(km.y, rm.y * 6378.135);
  EXPECT_DOUBLE_EQ(kms.z, vm.z * 6378.135 / 60.0);
  EXPECT_NEAR(km.r, std::hypot(km.x, km.y, km.z), 1e-9);
  EXPECT_NEAR(kms.r, 7.6, 0.2);
}

}  // namespace
}  // namespace kvx
