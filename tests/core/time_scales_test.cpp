#include "core/time_scales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "core/frames.h"

namespace kvx {
namespace {

TEST(TimeScalesTest, ModifiedJulianDayEpochAndCalendarReform) {
  EXPECT_EQ(CalendarDateToMjd(17, 11, 1858, 0), 0);
  int day = 0, month = 0, year = 0;
  double hours = -1;
  MjdToCalendarDate(day, month, year, hours, 0);
  EXPECT_EQ(day, 17);
  EXPECT_EQ(month, 11);
  EXPECT_EQ(year, 1858);
  EXPECT_EQ(hours, 0);
  // 4 October 1582 (Julian) is followed by 15 October 1582 (Gregorian).
  const double last = CalendarDateToMjd(4, 10, 1582, 0);
  EXPECT_EQ(CalendarDateToMjd(15, 10, 1582, 0), last + 1);
  EXPECT_EQ(CalendarDateToJd(15, 10, 1582, 0), 2299160.5);
  MjdToCalendarDate(day, month, year, hours, last + 1);
  EXPECT_EQ(day, 15);
  // Walking across the reform day by day never shows 5..14 October.
  for (double mjd = last - 3; mjd < last + 4; mjd += 0.25) {
    MjdToCalendarDate(day, month, year, hours, mjd);
    EXPECT_FALSE(year == 1582 && month == 10 && day >= 5 && day <= 14) << mjd;
  }
  // Dates inside the gap are read as Gregorian: 10 October is 5 days before the 15th.
  EXPECT_EQ(CalendarDateToMjd(10, 10, 1582, 0), last + 1 - 5);
}

TEST(TimeScalesTest, CalendarRoundTripsAndHours) {
  EXPECT_DOUBLE_EQ(CalendarDateToJd(1, 1, 2000, 12), 2451545.0);
  EXPECT_DOUBLE_EQ(CalendarDateToJd(1, 1, -4712, 12), 0.0);  // Julian day 0
  EXPECT_DOUBLE_EQ(CalendarDateToJd(29, 2, 1600, 0), 2305506.5);
  EXPECT_DOUBLE_EQ(CalendarDateToJd(1, 3, 1900, 0) - CalendarDateToJd(28, 2, 1900, 0), 1);  // no 29 Feb 1900
  EXPECT_DOUBLE_EQ(CalendarDateToJd(1, 3, 1500, 0) - CalendarDateToJd(28, 2, 1500, 0), 2);  // Julian leap year
  int day, month, year;
  double hours;
  JdToCalendarDate(day, month, year, hours, 2451545.25);
  EXPECT_EQ(day, 1);
  EXPECT_EQ(month, 1);
  EXPECT_EQ(year, 2000);
  EXPECT_DOUBLE_EQ(hours, 18);
  for (double mjd = -700000; mjd < 800000; mjd += 997.375) {
    MjdToCalendarDate(day, month, year, hours, mjd);
    ASSERT_GE(hours, 0);
    ASSERT_LT(hours, 24);
    ASSERT_NEAR(CalendarDateToMjd(day, month, year, hours), mjd, 1e-9) << mjd;
  }
  // Before Julian day 0 the day count stays consistent.
  for (double jd = -1000.5; jd < 3; jd += 1) {
    JdToCalendarDate(day, month, year, hours, jd);
    ASSERT_DOUBLE_EQ(CalendarDateToJd(day, month, year, hours), jd);
  }
  JdToCalendarDate(day, month, year, hours, -1.0);
  EXPECT_DOUBLE_EQ(hours, 12);
  EXPECT_EQ(day, 31);
  EXPECT_EQ(month, 12);
  EXPECT_EQ(year, -4713);
}

TEST(TimeScalesTest, DeltaTBranchesAndTable) {
  EXPECT_DOUBLE_EQ(DeltaT(2451545.0), 64.0);
  const double jd1620 = (1620.0 - 2000.0) * 365.25 + 2451545.0;
  EXPECT_DOUBLE_EQ(DeltaT(jd1620), 124.0);
  const double jd2010 = 10.0 * 365.25 + 2451545.0;
  EXPECT_DOUBLE_EQ(DeltaT(jd2010), 69.0);
  // Halfway between 1900 (-2.7 s) and 1902 (0.0 s).
  EXPECT_NEAR(DeltaT((1901.0 - 2000.0) * 365.25 + 2451545.0), -1.35, 1e-9);
  // Polynomial branches.
  const double t2100 = 1.0;
  EXPECT_NEAR(DeltaT(2451545.0 + 36525.0), 59.5 + 123.5 * t2100 + 32.5, 1e-9);
  EXPECT_NEAR(DeltaT(2451545.0 - 20 * 36525.0), 2715.6 - 573.36 * 20 + 46.5 * 400, 1e-6);
  EXPECT_NEAR(DeltaT(2451545.0 - 5 * 36525.0), 50.6 - 67.5 * 5 + 22.5 * 25, 1e-9);
  // The branches do not meet: just below 1620 the parabola gives 84.3 s.
  EXPECT_NEAR(DeltaT(jd1620 - 1), 50.6 + 67.5 * -3.8 + 22.5 * 3.8 * 3.8, 0.01);
}

TEST(TimeScalesTest, CenturiesAndYears) {
  EXPECT_EQ(JulianCenturiesJ2000(2451545.0 + 36525.0), 1.0);
  EXPECT_EQ(JdFromJulianCenturies(-1.0), 2451545.0 - 36525.0);
  EXPECT_EQ(YearFromJulianCenturies(0.255), 2025.5);
  EXPECT_EQ(YearFromJulianCenturies2(-1), 1900);
  EXPECT_EQ(MjdToJd(0), 2400000.5);
  EXPECT_EQ(JdToMjd(2451545.0), 51544.5);
}

TEST(TimeScalesTest, SiderealTime) {
  EXPECT_NEAR(GreenwichSiderealTime(0, 51544.5), 18.697374558, 1e-9);
  EXPECT_NEAR(GreenwichSiderealTimeDeg(0, 51544.5), 18.697374558 * 15, 1e-8);
  // Local time of a place 15 degrees west is an hour earlier.
  EXPECT_NEAR(LocalSiderealTime(0, 51544.5, 15.0), 17.697374558, 1e-9);
  EXPECT_NEAR(LocalSiderealTime(0, 51544.5, -90.0), 18.697374558 + 6 - 24, 1e-9);
  // Apparent minus mean is the equation of the equinoxes of the 0h date.
  double deps = 0;
  const double t0 = (51544.0 - 51544.5) / 36525.0;
  const double dpsi = NutationDegrees(deps, t0);
  const double eqeq = std::cos((MeanObliquity(t0) + deps) * M_PI / 180) * dpsi / 15;
  EXPECT_NEAR(GreenwichSiderealTime(1, 51544.5) - GreenwichSiderealTime(0, 51544.5), eqeq, 1e-12);
  EXPECT_NEAR(std::fabs(eqeq) * 3600, 1.0, 0.2);  // about a second of time in 2000
  // Negative MJD counts from the truncated day, the result is the same.
  for (double mjd = -123456.75; mjd < 100000; mjd += 4321.3) {
    const double g = GreenwichSiderealTime(0, mjd);
    ASSERT_GE(g, 0);
    ASSERT_LT(g, 24);
    const double g1 = GreenwichSiderealTime(0, mjd + 1.0 / 86400);
    double step = g1 - g;
    if (step < 0) step += 24;
    ASSERT_NEAR(step * 3600, 1.0027379093, 1e-5) << mjd;
  }
}

TEST(TimeScalesTest, Mod24AndSmallHelpers) {
  EXPECT_EQ(Mod24(-24), 0);
  EXPECT_EQ(Mod24(24), 0);
  EXPECT_EQ(Mod24(-0.5), 23.5);
  EXPECT_EQ(Mod24(49), 1);
  EXPECT_LT(Mod24(-1e-20), 24);
  EXPECT_EQ(PlanetTableIndex(0), 8);
  EXPECT_EQ(PlanetTableIndex(9), 8);
  EXPECT_EQ(PlanetTableIndex(1), 0);
  EXPECT_EQ(PlanetTableIndex(8), 7);
  EXPECT_EQ(RealDifference(5, 7), -2);
  EXPECT_EQ(CubicPolynomial(TCubicCoefficients{1, 2, 3, 4}, 2), 1 + 4 + 12 + 32);
  EXPECT_DOUBLE_EQ(AddEmpiricalArcsecTerm(1.0, 1.0), 1.0 + 0.1625 / 3600);
  EXPECT_DOUBLE_EQ(ClockHours(13, 30, 36), 13.51);
  int day, month, year;
  double hours;
  const std::time_t before = std::time(nullptr);
  CurrentDateAndHours(day, month, year, hours);
  std::tm local{};
  localtime_r(&before, &local);
  EXPECT_EQ(year, local.tm_year + 1900);
  EXPECT_GE(hours, 0);
  EXPECT_LT(hours, 24);
}

TEST(TimeScalesTest, DecodeNowGivesTheComputersLocalDateAndTime) {
  std::uint16_t day = 0, month = 0, year = 0, hour = 99, minute = 99, second = 99;
  const std::time_t before = std::time(nullptr);
  DecodeNow(day, month, year, hour, minute, second);
  std::tm local{};
  localtime_r(&before, &local);
  EXPECT_EQ(year, local.tm_year + 1900);
  EXPECT_EQ(month, local.tm_mon + 1);
  EXPECT_GE(day, 1);
  EXPECT_LE(day, 31);
  EXPECT_LE(hour, 23);
  EXPECT_LE(minute, 59);
  EXPECT_LE(second, 60);
}

TEST(TimeScalesTest, CarringtonRotations) {
  // Rotation 2000 starts near JD 2452668.5 + ...; mid-rotation no correction.
  const double start2000 = 2398140.227 + 2000 * 27.2752;
  EXPECT_EQ(CarringtonRotationNumber(180, start2000 + 13), 2000);
  // Just after the nominal start the Sun's L0 still near 0..30 belongs to
  // the previous rotation; L0 near 360 says the new one has begun.
  EXPECT_EQ(CarringtonRotationNumber(10, start2000 + 0.3), 1999);
  EXPECT_EQ(CarringtonRotationNumber(355, start2000 + 0.3), 2000);
  // Just before the nominal start, L0 near 360 already is the next rotation.
  EXPECT_EQ(CarringtonRotationNumber(350, start2000 - 0.3), 2000);
  EXPECT_EQ(CarringtonRotationNumber(-5, start2000 - 0.3), 2000);
  EXPECT_EQ(CarringtonRotationNumber(5, start2000 - 0.3), 1999);
}

}  // namespace
}  // namespace kvx
