// The Moon's physical ephemeris against Meeus, Astronomical Algorithms (2nd
// ed.), examples 48.a and 53.a, and against swe_pheno_ut of the Swiss
// Ephemeris (fixture made by make_physical_ephemeris_reference.sh). The
// Moon's and the Sun's places come from the fixture.
#include "core/moon_physical.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/globals.h"
#include "support/fixtures.h"

namespace kvx {
namespace {

struct MoonCase {
  TObserverRecord observer;
  TMoonPositionBlock moon;
  double swePhase, sweFraction, sweElongation, sweMagnitude, sweTopoPhase, sweTopoFraction, sweTopoElongation;
};

const test::FixtureTable& MoonFixture() {
  static const test::FixtureTable table = test::ReadFixture(KVX_FIXTURE_DIR "/moon_physical_swe.tsv");
  return table;
}

MoonCase CaseOfRow(std::size_t row) {
  const test::FixtureTable& t = MoonFixture();
  auto n = [&](const char* column) { return t.Number(row, column); };
  MoonCase c;
  const double jdUt = n("jd_ut");
  c.observer.Mjd = jdUt - 2400000.5;
  c.observer.DeltaTSeconds = n("delta_t");
  c.observer.Centuries = (jdUt + c.observer.DeltaTSeconds / 86400.0 - 2451545.0) / 36525.0;
  c.observer.SunLongitude = n("sun_lon");
  c.observer.SunDistance = n("sun_dist");
  c.observer.SunApparentRA = n("sun_ra");
  c.observer.SunApparentDec = n("sun_dec");
  c.moon.EclipticLongitude = n("moon_lon");
  c.moon.EclipticLatitude = n("moon_lat");
  c.moon.Distance = n("moon_dist");
  c.moon.RightAscension = n("moon_ra");
  c.moon.Declination = n("moon_dec");
  c.moon.EquatorialDistance = n("moon_dist");
  c.moon.TopocentricRightAscension = n("topo_ra");
  c.moon.TopocentricDeclination = n("topo_dec");
  c.moon.TopocentricDistance = n("topo_dist");
  c.swePhase = n("swe_phase");
  c.sweFraction = n("swe_fraction");
  c.sweElongation = n("swe_elongation");
  c.sweMagnitude = n("swe_mag");
  c.sweTopoPhase = n("swe_topo_phase");
  c.sweTopoFraction = n("swe_topo_fraction");
  c.sweTopoElongation = n("swe_topo_elongation");
  return c;
}

TMoonPhysicalEphemeris Compute(const MoonCase& c) {
  TMoonPhysicalEphemeris r;
  MoonPhysicalEphemeris(kBodyMoon, c.observer, c.moon, r);
  return r;
}

// 1992 April 12, 0h TD: librations, axis, selenographic Sun and phase.
TEST(MoonPhysicalEphemeris, MatchesMeeusExamples) {
  const MoonCase c = CaseOfRow(0);
  const TMoonPhysicalEphemeris r = Compute(c);
  EXPECT_NEAR(r.librationLongitude, -1.23, 0.01);
  EXPECT_NEAR(r.librationLatitude, 4.20, 0.01);
  EXPECT_NEAR(r.axisAngle, 15.08, 0.01);
  // l0 = 67.89..67.90, so the colongitude is 90 - l0 = 22.10..22.11.
  EXPECT_NEAR(r.sunColongitude, 22.105, 0.01);
  EXPECT_NEAR(r.sunSelenographicLatitude, 1.46, 0.01);
  EXPECT_NEAR(r.phaseAngle, 69.0756, 0.005);
  EXPECT_NEAR(r.illuminatedFraction, 0.6786, 0.0005);
  // Semidiameter from 368409.7 km: 15' 34.6" ... k = 0.272481.
  EXPECT_NEAR(r.semidiameter * 3600, std::asin(0.272481 * 6378.14 / 368409.7) * 180 / M_PI * 3600, 1.0);
}

TEST(MoonPhysicalEphemeris, PhaseElongationAndMagnitudeAgreeWithSwissEphemeris) {
  const test::FixtureTable& t = MoonFixture();
  ASSERT_GT(t.Rows(), 30u);
  double worstMagnitude = 0;
  for (std::size_t row = 0; row < t.Rows(); ++row) {
    const MoonCase c = CaseOfRow(row);
    const TMoonPhysicalEphemeris r = Compute(c);
    EXPECT_NEAR(r.elongation, c.sweElongation, 0.005) << row;
    EXPECT_NEAR(r.phaseAngle, c.swePhase, 0.01) << row;
    EXPECT_NEAR(r.illuminatedFraction, c.sweFraction, 1e-4) << row;
    EXPECT_NEAR(r.topoElongation, c.sweTopoElongation, 0.005) << row;
    EXPECT_NEAR(r.topoPhaseAngle, c.sweTopoPhase, 0.01) << row;
    EXPECT_NEAR(r.topoIlluminatedFraction, c.sweTopoFraction, 1e-4) << row;
    EXPECT_GE(r.brightLimbAngle, 0.0);
    EXPECT_LT(r.brightLimbAngle, 360.0);
    EXPECT_GE(r.sunColongitude, 0.0);
    EXPECT_LT(r.sunColongitude, 360.0);
    // Optical and physical libration stay within their known bounds.
    EXPECT_LT(std::fabs(r.librationLongitude), 8.5) << row;
    EXPECT_LT(std::fabs(r.librationLatitude), 7.0) << row;
    // The two magnitude laws part in the thin crescent (phase angle above
    // 150 deg, within two days of new moon), where the Swiss Ephemeris uses
    // a newer photometric model; compare up to there.
    if (r.phaseAngle <= 150.0) worstMagnitude = std::max(worstMagnitude, std::fabs(r.magnitude - c.sweMagnitude));
  }
  EXPECT_LT(worstMagnitude, 0.1);  // 0.04 mag measured
}

// A synthetic Sun-Moon pair: Sun at RA 0, Dec 0, 1 AU; Moon at longitude and
// RA `at`, in the equator and ecliptic, 60 Earth radii.
MoonCase Synthetic(double at) {
  MoonCase c{};
  c.observer.Mjd = 51544.5;
  c.observer.SunDistance = 1.0;
  c.moon.EclipticLongitude = at;
  c.moon.RightAscension = at;
  c.moon.Distance = c.moon.EquatorialDistance = 60.0;
  c.moon.TopocentricRightAscension = at;
  c.moon.TopocentricDistance = 60.0;
  return c;
}

TEST(MoonPhysicalEphemeris, FullAndNewMoon) {
  const TMoonPhysicalEphemeris full = Compute(Synthetic(180.0));
  EXPECT_NEAR(full.elongation, 180.0, 1e-9);
  EXPECT_NEAR(full.phaseAngle, 0.0, 1e-9);
  EXPECT_NEAR(full.illuminatedFraction, 1.0, 1e-12);
  EXPECT_NEAR(full.magnitude, -12.73, 0.005);
  const TMoonPhysicalEphemeris fresh = Compute(Synthetic(0.5));
  EXPECT_GT(fresh.phaseAngle, 179.0);
  EXPECT_LE(fresh.phaseAngle, 180.0);
  EXPECT_LT(fresh.illuminatedFraction, 1e-4);
}

TEST(MoonPhysicalEphemeris, SideTextChangesAtOppositionAndFollowsLanguage) {
  const std::uint8_t saved = LanguageEnglish;
  LanguageEnglish = 0;
  EXPECT_EQ(Compute(Synthetic(179.0)).sideText, "Ost");
  EXPECT_EQ(Compute(Synthetic(181.0)).sideText, "West");
  EXPECT_EQ(Compute(Synthetic(181.0)).topoSideText, "West");
  LanguageEnglish = 1;
  EXPECT_EQ(Compute(Synthetic(179.0)).sideText, "East");
  EXPECT_EQ(Compute(Synthetic(90.0)).topoSideText, "East");
  LanguageEnglish = saved;
}

TEST(MoonPhysicalEphemeris, TopocentricEqualsGeocentricForTheSamePlace) {
  MoonCase c = CaseOfRow(0);
  c.moon.TopocentricRightAscension = c.moon.RightAscension;
  c.moon.TopocentricDeclination = c.moon.Declination;
  c.moon.TopocentricDistance = c.moon.Distance;
  const TMoonPhysicalEphemeris r = Compute(c);
  EXPECT_DOUBLE_EQ(r.topoElongation, r.elongation);
  EXPECT_DOUBLE_EQ(r.topoPhaseAngle, r.phaseAngle);
  EXPECT_DOUBLE_EQ(r.topoSemidiameter, r.semidiameter);
  // The topocentric ecliptic place is derived with the mean obliquity, the
  // geocentric one is given: they differ by the nutation in obliquity only.
  EXPECT_NEAR(r.topoLibrationLongitude, r.librationLongitude, 0.01);
  EXPECT_NEAR(r.topoLibrationLatitude, r.librationLatitude, 0.01);
  EXPECT_NEAR(r.topoAxisAngle, r.axisAngle, 0.01);
  // The observer's parallax moves the Moon by up to a degree: the
  // topocentric librations then differ visibly.
  const TMoonPhysicalEphemeris real = Compute(CaseOfRow(0));
  EXPECT_GT(std::fabs(real.topoLibrationLongitude - real.librationLongitude) +
                std::fabs(real.topoLibrationLatitude - real.librationLatitude),
            0.1);
  EXPECT_GT(real.topoSemidiameter, real.semidiameter);
}

}  // namespace
}  // namespace kvx
