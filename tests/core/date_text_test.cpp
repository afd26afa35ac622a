#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "core/name_tables.h"
#include "core/pointed_date.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"

namespace kvx {
namespace {

class DateText : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    IntlSeparators = TIntlSeparators{};
    IntlSeparators.Date = '.';
  }
  void TearDown() override { IntlSeparators = TIntlSeparators{}; }
};

TEST_F(DateText, DatesSwitchFromHandBuiltToShortFormAtTheGregorianReform) {
  std::string s;
  DatePaddedText(4, 10, 1582, s);
  EXPECT_EQ(s, "04.10.1582");
  kvx::DateText(4, 10, 1582, 4, '.', s);
  EXPECT_EQ(s, "Donnerstag, 04.10.1582");
  kvx::DateText(15, 10, 1582, 5, '.', s);
  EXPECT_EQ(s, "15.10.1582");  // the next day: short form, no weekday
  kvx::DateText(14, 10, 1582, 4, '.', s);
  EXPECT_EQ(s, "Donnerstag, 14.10.1582");
  kvx::DateText(4, 10, 1582, -1, '/', s);
  EXPECT_EQ(s, "04/10/1582");
  kvx::DateText(1, 1, 10000, 6, '.', s);
  EXPECT_EQ(s, "Samstag, 01.01.10000");
  kvx::DateText(3, 5, 2004, 1, '.', s);
  EXPECT_EQ(s, "03.05.2004");

  IntlSeparators.Date = '-';
  DatePaddedText(5, 3, 844, s);
  EXPECT_EQ(s, "05-03-0844");
  DatePaddedText(5, 3, -44, s);
  EXPECT_EQ(s, "05-03--0044");
  DatePaddedText(5, 3, 0, s);
  EXPECT_EQ(s, "05-03-0000");
}

TEST_F(DateText, WeekdaysOfEarlyDatesNeverIndexOutsideTheTable) {
  std::string s;
  // A weekday index beyond the table is taken modulo 7; a negative one
  // means "no weekday".
  kvx::DateText(1, 1, -4712, 13, '.', s);
  EXPECT_EQ(s, "Samstag, 01.01.-4712");
  kvx::DateText(1, 1, -4712, -6, '.', s);
  EXPECT_EQ(s, "01.01.-4712");
  kvx::DateText(1, 1, 100, 8, '.', s);
  EXPECT_EQ(s, "Montag, 01.01.0100");
  // The weekday of 4 October 1582 from the calendar routines.
  double jd = CalendarDateToJd(4, 10, 1582, 0);
  kvx::DateText(4, 10, 1582, static_cast<int>(std::floor(jd + 1.5)) % 7, '.', s);
  EXPECT_EQ(s, "Donnerstag, 04.10.1582");
}

// Every date text in each order of the desktop's short date (a German, a US
// and an ISO desktop): the short form, the hand-built form before the
// Gregorian reform with its weekday, a year below 1000 padded to four
// digits, and plain numbers for a date the short form cannot show.
TEST_F(DateText, EveryDateTextFollowsTheDesktopsOrder) {
  struct Desktop {
    TShortDateOrder order;
    char separator;
    const char* christmas;    // 24 December 2026, short form
    const char* february;     // 1 February 2027, short form
    const char* reform;       // Thursday 4 October 1582, with its weekday
    const char* earlyYear;    // 5 March 844
    const char* julianLeap;   // 29 February 1500, plain numbers
    const char* beforeEpoch;  // 5 March 44 BC (year -44), padded
  };
  const Desktop desktops[] = {
      {TShortDateOrder::DayMonthYear, '.', "24.12.2026", "01.02.2027", "Donnerstag, 04.10.1582", "05.03.0844",
       "29.2.1500", "05.03.-0044"},
      {TShortDateOrder::MonthDayYear, '/', "12/24/2026", "02/01/2027", "Donnerstag, 10/04/1582", "03/05/0844",
       "2/29/1500", "03/05/-0044"},
      {TShortDateOrder::YearMonthDay, '-', "2026-12-24", "2027-02-01", "Donnerstag, 1582-10-04", "0844-03-05",
       "1500-2-29", "-0044-03-05"},
  };
  for (const Desktop& desktop : desktops) {
    IntlSeparators.Date = desktop.separator;
    IntlSeparators.DateOrder = desktop.order;
    const char sep = desktop.separator;
    std::string s;
    kvx::DateText(24, 12, 2026, 4, sep, s);
    EXPECT_EQ(s, desktop.christmas);
    kvx::DateText(1, 2, 2027, -1, sep, s);
    EXPECT_EQ(s, desktop.february);
    kvx::DateText(4, 10, 1582, 4, sep, s);
    EXPECT_EQ(s, desktop.reform);
    kvx::DateText(5, 3, 844, -1, sep, s);
    EXPECT_EQ(s, desktop.earlyYear);
    // Another separator given joins the early date and leaves the
    // program's own as it is.
    kvx::DateText(5, 3, 844, -1, ':', s);
    EXPECT_EQ(s.find(sep), std::string::npos) << s;
    EXPECT_EQ(IntlSeparators.Date, sep);
    TObserverRecord r;
    r.Day = 24;
    r.Month = 12;
    r.Year = 2026;
    r.Weekday = 4;
    ObserverDateText(r, s);
    EXPECT_EQ(s, desktop.christmas);

    DateToText(1, 2, 2027, s, sep);
    EXPECT_EQ(s, desktop.february);
    DateToText(29, 2, 1500, s, sep);
    EXPECT_EQ(s, desktop.julianLeap);
    DatePaddedText(24, 12, 2026, s);
    EXPECT_EQ(s, desktop.christmas);
    DatePaddedText(5, 3, -44, s);
    EXPECT_EQ(s, desktop.beforeEpoch);
    // The data format "dd.mm.yyyy" keeps its own form on every desktop.
    EXPECT_EQ(PointedDayMonthYear(1, 2, 2027), "01.02.2027");
    EXPECT_EQ(PointedDayMonthYear(5, 3, -44), "05.03.-0044");
  }
}

TEST_F(DateText, DateToTextFallsBackToPlainNumbers) {
  std::string s;
  DateToText(3, 5, 2004, s, '.');
  EXPECT_EQ(s, "03.05.2004");
  DateToText(29, 2, 1500, s, '.');  // a Julian leap day the short form cannot show
  EXPECT_EQ(s, "29.2.1500");
  DateToText(5, 3, -44, s, '/');
  EXPECT_EQ(s, "5/3/-44");
  EXPECT_TRUE(IsShortFormDate(29, 2, 2000));
  EXPECT_FALSE(IsShortFormDate(29, 2, 1900));
  EXPECT_TRUE(IsCalendarDate(29, 2, 1500));
  EXPECT_TRUE(IsCalendarDate(29, 2, -4));
  EXPECT_FALSE(IsCalendarDate(29, 2, -3));
  EXPECT_FALSE(IsCalendarDate(31, 4, 2000));
}

TEST_F(DateText, ObserverTextsCarryWeekdayTimeAndZone) {
  TObserverRecord r;
  r.Day = 3;
  r.Month = 5;
  r.Year = 2004;
  r.Weekday = 1;
  r.LocalHours = 21.25;
  r.Zone = 1;
  r.ZoneMinutes = 30;
  std::string s;
  ObserverDateTimeText(r, s);
  EXPECT_EQ(s, "Montag, 03.05.2004 21:15 MEZ30min");
  // More than 12 h from UT, a zone is named by its offset: no zone name is
  // that zone.
  for (const auto& [zone, minutes, name] :
       {std::tuple{12, 45, "UTC+12:45"}, {-12, -30, "UTC-12:30"}, {11, 60, "Südseezeit60min"}}) {
    r.Zone = zone;
    r.ZoneMinutes = minutes;
    ObserverDateTimeText(r, s);
    EXPECT_EQ(s, std::string("Montag, 03.05.2004 21:15 ") + name);
  }
  r.ZoneMinutes = 0;
  r.Zone = 14;  // outside the table: named by its offset, no crash
  ObserverDateTimeText(r, s);
  EXPECT_EQ(s, "Montag, 03.05.2004 21:15 UTC+14");
  ObserverDateText(r, s);
  EXPECT_EQ(s, "03.05.2004");
  r.Day = 1;
  r.Month = 3;
  r.Year = 1000;
  r.Weekday = 5;
  ObserverDateText(r, s);
  EXPECT_EQ(s, "Freitag, 01.03.1000");
  r.Weekday = -2;  // never indexes before the table
  ObserverDateTimeText(r, s);
  EXPECT_EQ(s, "Freitag, 01.03.1000 21:15 UTC+14");
}

TEST_F(DateText, TimesRoundToTheMinuteButNeverReach24) {
  std::string s;
  HourToTimeText(23.995, s);
  EXPECT_EQ(s, "23:59");
  HourToTimeText(13.5, s);
  EXPECT_EQ(s, "13:30");
  HourToTimeText(13.99, s);
  EXPECT_EQ(s, "13:59");
  HourToTimeText(9.9999, s);
  EXPECT_EQ(s, "10:00");
  HourToTimeText(-1.5, s);
  EXPECT_EQ(s, "01:30");
  HourToTimeStr(13.51, s);
  EXPECT_EQ(s, "13:30:36");
  HourToTimeStr(24.0, s);
  EXPECT_EQ(s, "00:00:00");
  IntlSeparators.Time = '.';
  HourToTimeText(13.5, s);
  EXPECT_EQ(s, "13.30");
}

TEST_F(DateText, TypedDatesFillMissingPartsFromToday) {
  std::int32_t d = 0, m = 0, y = 0;
  ASSERT_TRUE(ParseDateTextOn("1.2.05", 7, 12, 2026, d, m, y));
  EXPECT_EQ(d, 1);
  EXPECT_EQ(m, 2);
  EXPECT_EQ(y, 2005);
  ASSERT_TRUE(ParseDateTextOn("1.2.", 7, 12, 2026, d, m, y));  // empty year: this year
  EXPECT_EQ(y, 2026);
  ASSERT_TRUE(ParseDateTextOn("1.2", 7, 12, 2026, d, m, y));  // no second point: the rest is the year
  EXPECT_EQ(m, 12);
  EXPECT_EQ(y, 2);
  ASSERT_TRUE(ParseDateTextOn("15.3.-44", 7, 12, 2026, d, m, y));
  EXPECT_EQ(y, -44);
  ASSERT_TRUE(ParseDateTextOn("29.2.1500", 7, 12, 2026, d, m, y));  // Julian leap year
  ASSERT_TRUE(ParseDateTextOn(" 5.10.1582", 7, 12, 2026, d, m, y));
  ASSERT_TRUE(ParseDateTextOn("1.2.2000.7", 7, 12, 2026, d, m, y));
  EXPECT_EQ(y, 2000);

  for (const char* bad : {"1.2.32000", "1.2.-32000", "x.2.2000", ".2.2000", "12022000", "32.13.2000", "32.1.2000",
                          "1.13.2000", "0.1.2000", "29.2.1900", "31.4.2000", "1.x.2000", "1.2.20x0", "-1.2.2000"}) {
    d = m = y = -7;
    EXPECT_FALSE(ParseDateTextOn(bad, 7, 12, 2026, d, m, y)) << bad;
    EXPECT_EQ(d, -7) << bad;  // nothing half-written
  }

  // Through the computer's clock.
  int today, month, year;
  double hours;
  CurrentDateAndHours(today, month, year, hours);
  ASSERT_TRUE(ParseDateText("1.2.", d, m, y));
  EXPECT_EQ(y, year);
  ASSERT_TRUE(ParseDateText("1.2.05", d, m, y));
  EXPECT_EQ(y, year / 100 * 100 + 5);
}

TEST_F(DateText, DatesRoundTripThroughTheirText) {
  for (int year : {-4712, -44, 0, 4, 844, 1582, 1900, 2000, 2024, 9999}) {
    for (int month = 1; month <= 12; ++month) {
      for (int day : {1, 15, 28, 29, 30, 31}) {
        if (!IsCalendarDate(day, month, year)) continue;
        std::string s;
        DatePaddedText(day, month, year, s);
        std::int32_t d = 0, m = 0, y = 0;
        ASSERT_TRUE(ParseDateTextOn(s, 1, 1, 2000, d, m, y)) << s;
        EXPECT_EQ(d, day) << s;
        EXPECT_EQ(m, month) << s;
        EXPECT_EQ(y, year) << s;
      }
    }
  }
}

}  // namespace
}  // namespace kvx
