// The core routines against the independent references in fixtures/
// (ERFA and Swiss Ephemeris, see make_reference_fixtures.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/frames.h"
#include "core/sun_longitude.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "support/fixtures.h"

namespace kvx {
namespace {

constexpr double kRadToArcsec = 206264.80624709636;

std::string Fixture(const char* name) { return std::string(KVX_FIXTURE_DIR) + "/" + name; }

TEST(ReferenceTest, CalendarAgainstErfaAndSwissEphemeris) {
  const auto table = test::ReadFixture(Fixture("calendar.tsv"));
  ASSERT_GE(table.Rows(), 500u);
  double largest = 0;
  for (std::size_t i = 0; i < table.Rows(); ++i) {
    const int year = static_cast<int>(table.Number(i, "year"));
    const int month = static_cast<int>(table.Number(i, "month"));
    const int day = static_cast<int>(table.Number(i, "day"));
    const double hours = table.Number(i, "hours");
    const double mjd = table.Number(i, "mjd");
    const double computed = CalendarDateToMjd(day, month, year, hours);
    largest = std::max(largest, std::fabs(computed - mjd));
    ASSERT_NEAR(computed, mjd, 1e-8) << day << "." << month << "." << year;
    int d = 0, m = 0, y = 0;
    double h = 0;
    MjdToCalendarDate(d, m, y, h, mjd);
    ASSERT_EQ(y, year) << mjd;
    ASSERT_EQ(m, month) << mjd;
    ASSERT_EQ(d, day) << mjd;
    ASSERT_NEAR(h, hours, 1e-5) << mjd;  // MJD of about 2e6 days keeps 1e-10 days
  }
  std::printf("calendar: %zu dates, largest MJD difference %.3g days\n", table.Rows(), largest);
}

TEST(ReferenceTest, SiderealTimeAgainstErfaGmst82) {
  const auto table = test::ReadFixture(Fixture("sidereal.tsv"));
  ASSERT_GE(table.Rows(), 500u);
  double largestNear = 0, largestFar = 0, largestApparent = 0;
  for (std::size_t i = 0; i < table.Rows(); ++i) {
    const double mjd = table.Number(i, "mjd");
    const double t0 = (std::trunc(mjd) - 51544.5) / 36525.0;
    double difference = GreenwichSiderealTime(0, mjd) - table.Number(i, "gmst_hours");
    difference -= 24.0 * std::round(difference / 24.0);
    // The expression rounds the constant to 6.697374558 h (3.3e-10 h) and
    // the rate to 1.0027379093 (1.2e-9 h a day) and counts UT from the
    // preceding 0h with the T^2 and T^3 terms taken there (1.4e-9 h a day
    // per century of T0); ERFA evaluates everything at the instant.
    const double tolerance = 2e-9 + 1.5e-9 * std::fabs(t0) + 2e-13 * t0 * t0;
    ASSERT_NEAR(difference, 0.0, tolerance) << mjd;
    (std::fabs(t0) <= 1 ? largestNear : largestFar) =
        std::max(std::fabs(t0) <= 1 ? largestNear : largestFar, std::fabs(difference));
    // Apparent minus mean: the 63-term nutation against the 106-term series
    // (a few milliarcseconds, i.e. below 1e-7 h) near the present, growing
    // with the difference of the fundamental arguments far from it.
    const double eqeq = GreenwichSiderealTime(1, mjd) - GreenwichSiderealTime(0, mjd);
    const double apparentTolerance = std::fabs(t0) <= 2 ? 1e-7 : 1e-7 + 2e-8 * t0 * t0;
    ASSERT_NEAR(eqeq, table.Number(i, "eqeq_hours"), apparentTolerance) << mjd;
    if (std::fabs(t0) <= 2)
      largestApparent = std::max(largestApparent, std::fabs(eqeq - table.Number(i, "eqeq_hours")));
  }
  std::printf("sidereal: mean |T|<=1 %.3g h, |T|>1 %.3g h; equation of the equinoxes |T|<=2 %.3g h\n",
              largestNear, largestFar, largestApparent);
}

TEST(ReferenceTest, PrecessionAgainstErfaPmat76AndPrec76) {
  const auto table = test::ReadFixture(Fixture("precession.tsv"));
  ASSERT_GE(table.Rows(), 300u);
  const char* names[9] = {"m11", "m12", "m13", "m21", "m22", "m23", "m31", "m32", "m33"};
  double largestFromJ2000 = 0, largestGeneral = 0;
  for (std::size_t i = 0; i < table.Rows(); ++i) {
    const double t1 = table.Number(i, "t1"), t2 = table.Number(i, "t2");
    TMatrix33 M;
    PrecessionMatrixEquatorial(M, t1, t2);
    // From J2000 the angle series are exactly ERFA's. Between other epochs
    // the stored T t^2 coefficient of zeta (0.000345 where the published
    // series has 0.000344) adds up to 1e-6" T1 t^2.
    const double t = t2 - t1;
    const double tolerance = 1e-12 + 4.85e-12 * std::fabs(t1) * t * t;
    for (int k = 0; k < 9; ++k) {
      const double difference = std::fabs(M.m[k / 3][k % 3] - table.Number(i, names[k]));
      ASSERT_LE(difference, tolerance) << "row " << i << " " << names[k];
      double& largest = t1 == 0 ? largestFromJ2000 : largestGeneral;
      largest = std::max(largest, difference);
    }
  }
  std::printf("precession: from J2000 largest element difference %.3g, between epochs %.3g\n", largestFromJ2000,
              largestGeneral);
}

TEST(ReferenceTest, NutationAndObliquityAgainstErfaNut80AndObl80) {
  const auto table = test::ReadFixture(Fixture("nutation.tsv"));
  ASSERT_GE(table.Rows(), 500u);
  double largestPsi = 0, largestEps = 0, largestPsiFar = 0, largestEpsFar = 0, largestObliquity = 0;
  for (std::size_t i = 0; i < table.Rows(); ++i) {
    const double t = table.Number(i, "t");
    double dpsi = 0, deps = 0;
    NutationAngles(dpsi, deps, t);
    const double psiDifference = std::fabs(dpsi * kRadToArcsec - table.Number(i, "dpsi_arcsec"));
    const double epsDifference = std::fabs(deps * kRadToArcsec - table.Number(i, "deps_arcsec"));
    if (std::fabs(t) <= 2) {
      // The 43 dropped terms of at most 0.0002" and the dropped small
      // cosine coefficients: a few milliarcseconds.
      ASSERT_LT(psiDifference, 0.006) << t;
      ASSERT_LT(epsDifference, 0.004) << t;
      largestPsi = std::max(largestPsi, psiDifference);
      largestEps = std::max(largestEps, epsDifference);
      // Laskar's obliquity against the IAU 1980 cubic agree to 0.0057" T
      // plus higher powers over two centuries.
      const double obliquityDifference = std::fabs(MeanObliquity(t) * 3600 - table.Number(i, "obliquity_arcsec"));
      ASSERT_LT(obliquityDifference, 0.02 * std::fabs(t) + 1e-6) << t;
      largestObliquity = std::max(largestObliquity, obliquityDifference);
    } else {
      // Far from J2000 the fundamental arguments of the two series part a
      // little (the textbook cubics against the IAU 1980 ones).
      ASSERT_LT(psiDifference, 0.012) << t;
      ASSERT_LT(epsDifference, 0.008) << t;
      largestPsiFar = std::max(largestPsiFar, psiDifference);
      largestEpsFar = std::max(largestEpsFar, epsDifference);
    }
  }
  std::printf("nutation |T|<=2: dpsi %.4f\", deps %.4f\"; |T|>2: dpsi %.4f\", deps %.4f\"; obliquity |T|<=2 %.4f\"\n",
              largestPsi, largestEps, largestPsiFar, largestEpsFar, largestObliquity);
}

TEST(ReferenceTest, ApparentSunAgainstErfaAberrationAndPrecessionNutation) {
  const auto table = test::ReadFixture(Fixture("apparent_sun.tsv"));
  ASSERT_GE(table.Rows(), 100u);
  double largest = 0;
  for (std::size_t i = 0; i < table.Rows(); ++i) {
    double ra = 0, dec = 0;
    ApparentSunEquatorial(ra, dec, table.Number(i, "longitude"), table.Number(i, "latitude"),
                          table.Number(i, "distance"), table.Number(i, "t"));
    const double refDec = table.Number(i, "dec");
    const double dRa = AngleToPlusMinus180(Mod360(ra - table.Number(i, "ra"))) * std::cos(refDec * M_PI / 180);
    const double separation = std::hypot(dRa, dec - refDec) * 3600;
    // First-order aberration from the Sun's mean motion and first-order
    // nutation of 63 terms against the rigorous reduction: 0.1".
    ASSERT_LT(separation, 0.1) << table.Number(i, "t");
    largest = std::max(largest, separation);
  }
  std::printf("apparent Sun: largest separation %.4f\"\n", largest);
}

}  // namespace
}  // namespace kvx
