#include <gtest/gtest.h>

#include <cmath>

#include "core/observer_record.h"
#include "core/time_scales.h"
#include "support/fixed_clock.h"

namespace kvx {
namespace {

TObserverRecord Local(int day, int month, int year, double hours, int zone = 0, int daylight = 0,
                      int zoneMinutes = 0) {
  TObserverRecord r;
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = hours;
  r.Zone = zone;
  r.DaylightHours = daylight;
  r.ZoneMinutes = zoneMinutes;
  r.AutoDeltaT = 1;
  return r;
}

TEST(ObserverRecordTime, LocalHoursBeyondTheDayMoveIntoTheNextDate) {
  TObserverRecord r = Local(31, 12, 1999, 25.0);
  LocalTimeToUT(r);
  EXPECT_DOUBLE_EQ(r.UTHours, 25.0);
  UTToLocalTime(r);
  EXPECT_EQ(r.Day, 1);
  EXPECT_EQ(r.Month, 1);
  EXPECT_EQ(r.Year, 2000);
  EXPECT_NEAR(r.LocalHours, 1.0, 1e-8);
  EXPECT_EQ(r.Weekday, 6);  // Saturday
  EXPECT_DOUBLE_EQ(r.UTHours, 25.0);  // left as it was
}

TEST(ObserverRecordTime, ZoneMinutesAndDaylightSavingAddUpAcrossMidnight) {
  // 1 Jan 2000, 01:00 local in a zone of +1 h 30 min with daylight saving:
  // 22:30 UT on 31 Dec 1999.
  TObserverRecord r = Local(1, 1, 2000, 1.0, 1, 1, 30);
  EXPECT_DOUBLE_EQ(ZoneOffsetHours(r), 2.5);
  LocalTimeToUT(r);
  EXPECT_DOUBLE_EQ(r.UTHours, -1.5);
  EXPECT_NEAR(r.Mjd, 51543.0 + 22.5 / 24, 1e-9);
  UTToLocalTime(r);
  EXPECT_EQ(r.Day, 1);
  EXPECT_EQ(r.Year, 2000);
  EXPECT_NEAR(r.LocalHours, 1.0, 1e-8);
  EXPECT_EQ(r.Weekday, 6);  // the local date's weekday, not UT's Friday

  // West of Greenwich the UT date runs ahead: 23:00 local at zone -5 is
  // 04:00 UT on the next day.
  TObserverRecord w = Local(1, 1, 2000, 23.0, -5);
  LocalTimeToUT(w);
  EXPECT_NEAR(w.Mjd, 51545.0 + 4.0 / 24, 1e-9);
  UTToLocalTime(w);
  EXPECT_EQ(w.Day, 1);
  EXPECT_EQ(w.Weekday, 6);
}

TEST(ObserverRecordTime, WeekdaysAreNeverNegativeBeforeTheJulianEpoch) {
  EXPECT_EQ(WeekdayOfJulianDay(2451544.5, 0), 6);  // 1 Jan 2000
  EXPECT_EQ(WeekdayOfJulianDay(2451545.5, 0), 0);  // 2 Jan 2000
  EXPECT_EQ(WeekdayOfJulianDay(-0.5, 0), 1);       // JD 0 falls on a Monday
  // Through JD 0 the seven-day cycle runs on without a break.
  for (int day = -30; day < 30; ++day) {
    const int w = WeekdayOfJulianDay(day - 0.5, 0);
    ASSERT_GE(w, 0);
    ASSERT_LE(w, 6);
    EXPECT_EQ(w, ((1 + day) % 7 + 7) % 7) << day;
  }
  TObserverRecord r;
  r.Mjd = JdToMjd(-10.0);
  ObserverRecordDateFromMjd(r);
  EXPECT_EQ(r.Weekday, 5);
  UTToLocalTime(r);
  EXPECT_EQ(r.Weekday, 5);
}

TEST(ObserverRecordTime, UserDeltaTSurvivesEveryConversionWhenAutomaticIsOff) {
  TObserverRecord r = Local(13, 10, 1992, 12.0, 2);
  r.AutoDeltaT = 0;
  r.DeltaTSeconds = 123.4;
  LocalTimeToUT(r);
  UTToLocalTime(r);
  ObserverRecordMjdFromDate(r);
  ObserverRecordDateFromMjd(r);
  EXPECT_EQ(r.DeltaTSeconds, 123.4);
  r.AutoDeltaT = 1;
  LocalTimeToUT(r);
  EXPECT_NEAR(r.DeltaTSeconds, DeltaT(MjdToJd(r.Mjd)), 1e-12);
  EXPECT_NEAR(r.DeltaTSeconds, 59, 2);
}

TEST(ObserverRecordTime, SatelliteAndAlmanacVariants) {
  TObserverRecord r = Local(1, 1, 2000, 12.0);
  r.AutoDeltaT = 1;
  r.DeltaTSeconds = -1;
  ObserverRecordMjdFromDate(r);
  EXPECT_NEAR((r.Mjd - 51544.5) * 86400, 0.18, 1e-6);  // 0.18 s later
  EXPECT_EQ(r.DeltaTSeconds, -1);                       // never touched
  r.Mjd = 51544.5 + 0.1234567891 / 24;
  ObserverRecordDateFromMjd(r);
  EXPECT_NEAR(r.LocalHours, 12.1234567891, 2e-8);
  UTToLocalTime(r);  // rounds to 1e-8 h
  EXPECT_NEAR(r.LocalHours * 1e8, std::round(r.LocalHours * 1e8), 1e-6);
  EXPECT_NEAR(r.LocalHours, 12.12345679, 2e-8);
}

TEST(ObserverRecordTime, JulianDayOfALocalDateLeavesTheCallersRecordAlone) {
  const TObserverRecord r = Local(5, 5, 2005, 7.0, 1, 1);
  const double jd = JulianDayFromLocalDate(1, 1, 2000, 14.0, r);
  EXPECT_DOUBLE_EQ(jd, 2451545.0);  // 12:00 UT
  EXPECT_EQ(r.Day, 5);
  EXPECT_EQ(r.LocalHours, 7.0);

  TObserverRecord start, end;
  start.Mjd = 100;
  end.Mjd = 200;
  EXPECT_TRUE(MjdWithinPeriod(start, end, 100));
  EXPECT_TRUE(MjdWithinPeriod(start, end, 200));
  EXPECT_FALSE(MjdWithinPeriod(start, end, 200.0001));
}

// The current instant comes from the clock in UTC and is shown in the
// record's own zone, whatever zone the computer runs in: UT after
// LocalTimeToUT is the clock's instant in every case. The computer's own
// local date (the defaults of typed dates) does follow the system zone.
TEST(ObserverRecordTime, TheCurrentInstantIsTheClocksUtcInTheRecordsZone) {
  FixedClock clock(FixedClock::At(2026, 7, 15, 2, 12, 19));
  ScopedSystemClock now(clock);
  const double mjd = 40587.0 + clock.seconds / 86400.0;
  struct Case {
    int zone, daylight, minutes;
    int day;
    double hours;
  };
  const Case cases[] = {
      {1, 0, 0, 15, 3 + 12 / 60.0 + 19 / 3600.0},    // Central Europe, winter time
      {1, 1, 0, 15, 4 + 12 / 60.0 + 19 / 3600.0},    // and summer time
      {-5, 1, 0, 14, 22 + 12 / 60.0 + 19 / 3600.0},  // New York in summer: the day before
      {5, 0, 30, 15, 7 + 42 / 60.0 + 19 / 3600.0},   // India, +5:30
      {0, 0, 0, 15, 2 + 12 / 60.0 + 19 / 3600.0},
  };
  struct System {
    const char* zone;
    int day;
    double hours;
  };
  for (const System system :
       {System{"UTC", 15, 2 + 12 / 60.0 + 19 / 3600.0}, System{"America/New_York", 14, 22 + 12 / 60.0 + 19 / 3600.0},
        System{"Asia/Kolkata", 15, 7 + 42 / 60.0 + 19 / 3600.0}}) {
    ScopedSystemZone computer(system.zone);
    for (const Case& c : cases) {
      TObserverRecord r = Local(1, 1, 2000, 0, c.zone, c.daylight, c.minutes);
      CurrentDateToRecord(r);
      EXPECT_EQ(r.Day, c.day) << system.zone << " zone " << c.zone;
      EXPECT_EQ(r.Month, 7);
      EXPECT_EQ(r.Year, 2026);
      EXPECT_NEAR(r.LocalHours, c.hours, 1e-12);
      LocalTimeToUT(r);
      EXPECT_NEAR(r.Mjd, mjd, 1e-3 / 86400) << system.zone << " zone " << c.zone;
      EXPECT_GT(r.DeltaTSeconds, 69.0);  // automatic: today's value, not a constant
    }
    int day = 0, month = 0, year = 0;
    double hours = -1;
    CurrentDateAndHours(day, month, year, hours);
    EXPECT_EQ(day, system.day) << system.zone;
    EXPECT_NEAR(hours, system.hours, 1e-12) << system.zone;
    std::uint16_t d = 0, m = 0, y = 0, h = 0, min = 0, sec = 0;
    DecodeNow(d, m, y, h, min, sec);
    EXPECT_EQ(d, system.day);
    EXPECT_EQ(min * 60 + sec, static_cast<int>(std::lround(std::fmod(system.hours, 1.0) * 3600)));
  }
  // The fraction of the second is dropped; a year boundary in the zone.
  clock.seconds = FixedClock::At(2025, 12, 31, 23, 59, 59) + 0.75;
  TObserverRecord r = Local(1, 1, 2000, 0, 1);
  CurrentDateToRecord(r);
  EXPECT_EQ(r.Day, 1);
  EXPECT_EQ(r.Year, 2026);
  EXPECT_NEAR(r.LocalHours, 59 / 60.0 + 59 / 3600.0, 1e-12);
}

}  // namespace
}  // namespace kvx
