#include "theories/apparent_sun_moon.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "reference_stats.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/theory_selection.h"
#include "theories/sun_position.h"
#include "theory_library_test_support.h"

namespace kvx {
namespace {

using test::AngleDifference;
using test::ErrorStats;
using test::PlanetAndMoonTheory;

class ApparentPlaces : public ::testing::Test {
 protected:
  void SetUp() override {
    const TLibraryAvailability present = test::OpenBuiltLibraries();
    ASSERT_EQ(present.Elp2000, 1);
    ASSERT_EQ(present.Vsop87D, 1);
  }
  void TearDown() override { CloseTheoryLibraries(); }
};

// Fits of every size reproduce the direct places inside the span to 0.1",
// for the Sun and the Moon by each road, over 1900-2100.
TEST_F(ApparentPlaces, ChebyshevFitsStayWithinATenthOfAnArcsecondOfDirectEvaluation) {
  ErrorStats sun, moon;
  const PositionFileHandles files{};
  for (int year = 1900; year <= 2100; year += 25) {
    const double Tc = (year - 2000) / 100.0 + 0.0123;
    const double Ta = Tc - 0.00005, Tb = Tc + 0.00005;  // the eclipse code's span
    for (std::uint8_t road : {0, 1}) {
      const TTheorySelection sel = PlanetAndMoonTheory(road, road);
      TChebyshevPoly sra, sdec, sr, mra, mdec, mr;
      ASSERT_TRUE(ChebyshevFitSun(0, files, sel, Ta, Tb, 8, sra, sdec, sr, kFullTheory));
      ASSERT_TRUE(ChebyshevFitMoon(1, files, sel, Ta, Tb, 8, mra, mdec, mr, kFullTheory));
      TChebyshevPolyA bra, bdec, br;
      ASSERT_TRUE(ChebyshevFitMoonB(1, files, sel, Tc - 0.0002, Tc + 0.0002, 19, bra, bdec, br, kFullTheory));
      TChebyshevPolyB cra, cdec, cr;
      ASSERT_TRUE(ChebyshevFitMoonC(1, files, sel, Tc - 0.0001, Tc + 0.0001, 13, cra, cdec, cr, kFullTheory));
      for (int k = 0; k <= 50; ++k) {
        const double T = Ta + (Tb - Ta) * k / 50;
        double ra, dec, r;
        SunApparentCoordinates(0, files, sel, T, ra, dec, r, kFullTheory);
        sun.Add(AngleDifference(ChebyshevEvaluate(sra, T), ra) * 3600 * std::cos(dec * M_PI / 180), T);
        sun.Add((ChebyshevEvaluate(sdec, T) - dec) * 3600, T);
        MoonApparentCoordinates(1, files, sel, T, ra, dec, r, kFullTheory);
        moon.Add(AngleDifference(ChebyshevEvaluate(mra, T), ra) * 3600 * std::cos(dec * M_PI / 180), T);
        moon.Add((ChebyshevEvaluate(mdec, T) - dec) * 3600, T);
        EXPECT_NEAR(ChebyshevEvaluate(mr, T), r, 1e-5);
        const double Tl = Tc - 0.0002 + 0.0004 * k / 50;
        MoonApparentCoordinates(1, files, sel, Tl, ra, dec, r, kFullTheory);
        moon.Add(AngleDifference(ChebyshevEvaluateA(bra, Tl), ra) * 3600 * std::cos(dec * M_PI / 180), Tl);
        moon.Add((ChebyshevEvaluateA(bdec, Tl) - dec) * 3600, Tl);
        const double Tm = Tc - 0.0001 + 0.0002 * k / 50;
        MoonApparentCoordinates(1, files, sel, Tm, ra, dec, r, kFullTheory);
        moon.Add(AngleDifference(ChebyshevEvaluateB(cra, Tm), ra) * 3600 * std::cos(dec * M_PI / 180), Tm);
        moon.Add((ChebyshevEvaluateB(cdec, Tm) - dec) * 3600, Tm);
      }
    }
  }
  sun.Report("sun_fit_arcsec");
  moon.Report("moon_fit_arcsec");
  EXPECT_LT(sun.max, 0.1);
  EXPECT_LT(moon.max, 0.1);
}

TEST_F(ApparentPlaces, SunFitAcrossZeroHoursRunsBelowZeroTowardEarlierTimes) {
  // 2000 Mar 20 (equinox near JD 2451623.8): RA passes 0 h.
  const double Tc = (2451623.8 - 2451545.0) / 36525.0;
  TChebyshevPoly ra, dec, r;
  ASSERT_TRUE(
      ChebyshevFitSun(0, {}, PlanetAndMoonTheory(1, 0), Tc - 0.00005, Tc + 0.00005, 8, ra, dec, r, kFullTheory));
  EXPECT_LT(ChebyshevEvaluate(ra, Tc - 0.00005), 0.0);
  EXPECT_GT(ChebyshevEvaluate(ra, Tc + 0.00005), 0.0);
  EXPECT_NEAR(ChebyshevEvaluate(ra, Tc + 0.00005) - ChebyshevEvaluate(ra, Tc - 0.00005), 3.65 * 0.9856 * 0.917,
              0.05);
  // Degrees beyond the room of the small record are refused.
  EXPECT_FALSE(
      ChebyshevFitSun(0, {}, PlanetAndMoonTheory(1, 0), Tc - 0.00005, Tc + 0.00005, 9, ra, dec, r, kFullTheory));
}

TEST_F(ApparentPlaces, ApparentSunAndMoonAgreeWithTheReferenceOver1900To2100) {
  const auto ref = test::ReadFixture(KVX_FIXTURE_DIR "/sun_moon_swe.tsv");
  const PositionFileHandles files{};
  for (std::uint8_t road : {0, 1}) {
    ErrorStats sunRa, sunDec, moonRa, moonDec;
    for (std::size_t i = 0; i < ref.Rows(); i += 4) {
      const double jd = ref.Number(i, "jd_tt");
      const double T = (jd - 2451545.0) / 36525.0;
      double ra, dec, r;
      SunApparentCoordinates(0, files, PlanetAndMoonTheory(road, road), T, ra, dec, r, kFullTheory);
      ASSERT_GE(ra, 0.0);
      ASSERT_LT(ra, 360.0);
      sunRa.Add(AngleDifference(ra, ref.Number(i, "sun_ra")) * 3600 * std::cos(dec * M_PI / 180), jd);
      sunDec.Add((dec - ref.Number(i, "sun_dec")) * 3600, jd);
      MoonApparentCoordinates(0, files, PlanetAndMoonTheory(road, road), T, ra, dec, r, kFullTheory);
      moonRa.Add(AngleDifference(ra, ref.Number(i, "moon_ra")) * 3600 * std::cos(dec * M_PI / 180), jd);
      moonDec.Add((dec - ref.Number(i, "moon_dec")) * 3600, jd);
    }
    const std::string name = road == 0 ? "internal" : "library";
    sunRa.Report(name + "_sun_ra_arcsec");
    sunDec.Report(name + "_sun_dec_arcsec");
    moonRa.Report(name + "_moon_ra_arcsec");
    moonDec.Report(name + "_moon_dec_arcsec");
    // Measured (max, rms in arc seconds): internal Sun RA 2.7, 1.10, Dec
    // 0.8, 0.29; Moon RA 3.8, 1.06, Dec 2.5, 0.68. Libraries: Sun RA 0.67,
    // 0.29, Dec 0.19, 0.09; Moon RA 2.8, 0.86, Dec 1.8, 0.58.
    const bool library = road != 0;
    EXPECT_LT(sunRa.max, library ? 0.8 : 3.0);
    EXPECT_LT(sunRa.Rms(), library ? 0.35 : 1.2);
    EXPECT_LT(sunDec.max, library ? 0.25 : 0.9);
    EXPECT_LT(moonRa.max, library ? 3.0 : 4.0);
    EXPECT_LT(moonRa.Rms(), library ? 1.0 : 1.2);
    EXPECT_LT(moonDec.max, library ? 2.0 : 2.7);
  }
}

TEST_F(ApparentPlaces, SunAltitudeAccurateAndLowPrecisionAgree) {
  // Berlin (52.5 N, 13.4 E, longitude east negative), 1992 Oct 13.
  const double latitude = 52.5, longitude = -13.4;
  double highest = -90;
  for (int minute = 0; minute < 24 * 60; minute += 10) {
    const double T = (2448908.5 + minute / 1440.0 - 2451545.0) / 36525.0;
    const double accurate = SunAltitude(1, {}, T, latitude, longitude, PlanetAndMoonTheory(1, 0), kFullTheory, 1);
    const double rough = SunAltitude(0, {}, T, latitude, longitude, PlanetAndMoonTheory(1, 0), kFullTheory, 1);
    EXPECT_NEAR(accurate, rough, 0.03) << minute;
    highest = std::max(highest, accurate);
  }
  // At noon (11 h UT) the Sun (declination -7.97 then) stands 29.53 high.
  EXPECT_NEAR(highest, 90 - 52.5 - 7.97, 0.05);
}

TEST(SunAltitudeRough, LeavesTheTheorySettingsAlone) {
  // The low-precision road never reads the position files: with planet
  // theory 3 and no files open nothing is reported and nothing stops.
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  AbortRequested = 0;
  const double h = SunAltitude(0, {}, 0.0, 0.0, 0.0, PlanetAndMoonTheory(3, 0), kFullTheory, 0);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(AbortRequested, 0);
  EXPECT_GT(h, -90.0);
  // J2000 noon at Greenwich, on the equator: the Sun (dec -23.0) close to
  // its culmination at 67 degrees.
  EXPECT_NEAR(h, 90 - 23.03, 1.5);
}

}  // namespace
}  // namespace kvx
