// Damaged observer records and number texts (the files of fixtures/bad_inputs
// crashed, computed with undefined behaviour or showed NaN): records are
// refused with a message before use, the calendar, weekday and time texts
// give defined results for NaN and huge instants, the date parser refuses
// years outside the program's range and the packed angles never give NaN.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

#include "core/moon_phases.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"

namespace kvx {
namespace {

std::vector<std::uint8_t> ReadFixtureBytes(const std::string& name) {
  std::ifstream in(std::string(KVX_FIXTURE_DIR) + "/bad_inputs/" + name, std::ios::binary);
  EXPECT_TRUE(in.is_open()) << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class BadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    LanguageEnglish = 1;
    IntlSeparators.Date = '.';
    IntlSeparators.Time = ':';
  }
};

TObserverRecord SaneRecord() {
  TObserverRecord r;
  r.Day = 3;
  r.Month = 5;
  r.Year = 2004;
  r.Weekday = 1;
  r.LocalHours = 21.25;
  r.UTHours = 19.25;
  r.Mjd = 53128.80208;
  r.Latitude = 52.5;
  r.Longitude = -13.4;
  r.Zone = 1;
  r.DaylightHours = 1;
  return r;
}

TEST_F(BadInput, StoredObserverRecordsWithBadTimeFieldsAreRefused) {
  TObserverRecord r = SaneRecord();
  r.PlaceName = "kept";
  std::string problem;

  const auto nanHours = ReadFixtureBytes("observer_record_nan_hours_autodeltat.bin");
  EXPECT_FALSE(ReadObserverRecord(nanHours, r, problem));
  EXPECT_EQ(problem, "The stored observer record is invalid (field local time).");
  EXPECT_FALSE(ReadObserverRecord(ReadFixtureBytes("observer_record_nan_mjd.bin"), r, problem));
  EXPECT_EQ(problem, "The stored observer record is invalid (field date).");  // day and month 0
  EXPECT_EQ(r.PlaceName, "kept");  // a refused record leaves the caller's as it was

  // Each bad field alone, in an otherwise sane image.
  const auto refused = [](void (*spoil)(TObserverRecord&)) {
    TObserverRecord bad = SaneRecord();
    spoil(bad);
    TObserverRecord out;
    std::string message;
    return !ReadObserverRecord(EncodeObserverRecord(bad), out, message) && !message.empty();
  };
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.Mjd = kNaN; }));
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.Mjd = 1e300; }));
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.Mjd = CalendarDateToMjd(1, 1, 32000, 0); }));
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.UTHours = std::numeric_limits<double>::infinity(); }));
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.DeltaTSeconds = kNaN; }));
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.Year = 40000; }));
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.Day = 31, x.Month = 4; }));
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.Weekday = 7; }));
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.Zone = 2000000000; }));
  // Zones past 12 h: up to 720 extra minutes either way; a zone of 13 or 14
  // hours (as stored before) is read as 12 with 60 or 120 minutes more.
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.Zone = 12, x.ZoneMinutes = 721; }));
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.Zone = 14, x.ZoneMinutes = 700; }));
  EXPECT_FALSE(refused([](TObserverRecord& x) { x.Zone = -12, x.ZoneMinutes = -720; }));
  TObserverRecord kiritimati = SaneRecord();
  kiritimati.Zone = 14;
  ASSERT_TRUE(ReadObserverRecord(EncodeObserverRecord(kiritimati), r, problem));
  EXPECT_EQ(r.Zone * 100 + r.ZoneMinutes, 1320);
  EXPECT_TRUE(refused([](TObserverRecord& x) { x.Latitude = kNaN; }));
  EXPECT_FALSE(refused([](TObserverRecord& x) { x.Year = -31999, x.Mjd = CalendarDateToMjd(1, 1, -31999, 0); }));

  // A short image is refused the same way; a sane one (with bytes after it) is read.
  const TObserverRecordBytes image = EncodeObserverRecord(SaneRecord());
  EXPECT_FALSE(ReadObserverRecord(std::span(image).first(kObserverRecordSize - 1), r, problem));
  EXPECT_EQ(problem, "The stored observer record is incomplete.");
  std::vector<std::uint8_t> longer(image.begin(), image.end());
  longer.resize(longer.size() + 10, 0xFF);
  ASSERT_TRUE(ReadObserverRecord(longer, r, problem));
  EXPECT_TRUE(problem.empty());
  EXPECT_EQ(r.Year, 2004);
  LanguageEnglish = 0;
  EXPECT_FALSE(ReadObserverRecord(nanHours, r, problem));
  EXPECT_EQ(problem, "Der gespeicherte Beobachterdatensatz ist ungültig (Feld Ortszeit).");
}

TEST_F(BadInput, TimeRoutinesGiveDefinedValuesForNaNAndHugeInstants) {
  // The damaged record decoded without the check, as a caller that skipped it would.
  const auto bytes = ReadFixtureBytes("observer_record_nan_mjd.bin");
  TObserverRecord r = DecodeObserverRecord(std::span<const std::uint8_t, kObserverRecordSize>(bytes.data(), kObserverRecordSize));
  ASSERT_TRUE(std::isnan(r.Mjd));
  UTToLocalTime(r);
  EXPECT_EQ(r.Day, 0);
  EXPECT_EQ(r.Month, 0);
  EXPECT_EQ(r.Year, 0);
  EXPECT_EQ(r.Weekday, -1);
  EXPECT_TRUE(std::isnan(r.LocalHours));
  std::string s;
  ObserverDateTimeText(r, s);
  EXPECT_EQ(s.rfind("--, -- --:-- ", 0), 0u) << s;  // then the zone name
  ObserverDateText(r, s);
  EXPECT_EQ(s, "--");

  for (double mjd : {kNaN, std::numeric_limits<double>::infinity(), -1e300, 1e300, kCalendarMjdLimit * 1.0001}) {
    int day = 9, month = 9, year = 9;
    double hours = 0;
    MjdToCalendarDate(day, month, year, hours, mjd);
    EXPECT_EQ(day + month + year, 0) << mjd;
    EXPECT_TRUE(std::isnan(hours));
  }
  // Up to the limit the conversion still gives the date (about 2.7 million years on).
  int day = 0, month = 0, year = 0;
  double hours = 0;
  MjdToCalendarDate(day, month, year, hours, kCalendarMjdLimit);
  EXPECT_GT(year, 2700000);
  EXPECT_GE(hours, 0.0);
  EXPECT_EQ(WeekdayOfJulianDay(kNaN, 0.0), -1);
  EXPECT_EQ(WeekdayOfJulianDay(2451544.5, kNaN), -1);
  const std::int32_t farWeekday = WeekdayOfJulianDay(1e300, 0.0);  // huge but finite: a weekday
  EXPECT_TRUE(farWeekday >= 0 && farWeekday <= 6);

  EXPECT_EQ(WeekdayOfJd(kNaN), 0);
  const std::int32_t farWeekdayOfJd = WeekdayOfJd(2.97713e138);  // found by the fuzzer
  EXPECT_TRUE(farWeekdayOfJd >= 1 && farWeekdayOfJd <= 7);
  EXPECT_EQ(RoundedHourText(kNaN), "--");
  EXPECT_EQ(RoundedHourText(-1e300), "--");
  HourToTimeText(kNaN, s);
  EXPECT_EQ(s, "--:--");
  HourToTimeStr(-std::numeric_limits<double>::infinity(), s);
  EXPECT_EQ(s, "--:--:--");
  HourToTimeText(1e300, s);  // finite: still the time of day
  EXPECT_EQ(s.size(), 5u);
  DateText(0, 0, 0, 3, '.', s);
  EXPECT_EQ(s, "--");
  DateToText(0, 0, 0, s, '.');
  EXPECT_EQ(s, "--");
}

TEST_F(BadInput, DateParserRefusesYearsOutsideTheProgramsRange) {
  const auto bytes = ReadFixtureBytes("text_date_exponent_year.bin");
  const std::string text(bytes.begin() + 9, bytes.end());  // after the flag byte and the double
  ASSERT_EQ(text, "1.1.1e30");
  std::int32_t d = 0, m = 0, y = 0;
  EXPECT_FALSE(ParseDateTextOn(text, 7, 12, 2026, d, m, y));
  EXPECT_FALSE(ParseDateText(text, d, m, y));
  for (const char* bad : {"29.2.1e300", "1.1.32000", "1.1.-32000", "1.1.1e5", "1.1.-1e19"}) {
    EXPECT_FALSE(ParseDateTextOn(bad, 7, 12, 2026, d, m, y)) << bad;
  }
  ASSERT_TRUE(ParseDateTextOn("31.12.31999", 7, 12, 2026, d, m, y));
  EXPECT_EQ(y, 31999);
  ASSERT_TRUE(ParseDateTextOn("1.1.-3.1999e4", 7, 12, 2026, d, m, y));
  EXPECT_EQ(y, -31999);
}

TEST_F(BadInput, PackedAnglesOfHugeValuesAreWholeDegreesNeverNaN) {
  const auto bytes = ReadFixtureBytes("text_dms_packed_huge.bin");
  double huge = 0;
  std::memcpy(&huge, bytes.data() + 1, sizeof huge);
  ASSERT_GT(huge, 1.7e306);
  EXPECT_EQ(DmsPackedToDeg(huge), huge);
  EXPECT_EQ(DmsPackedToDeg(-huge), -huge);
  const double max = std::numeric_limits<double>::max();
  EXPECT_EQ(DmsPackedToDeg(max), max);
  EXPECT_EQ(DmsPackedToDeg(-std::numeric_limits<double>::infinity()), -std::numeric_limits<double>::infinity());
  // Below the limit the packed digits are still read; above it the value is whole.
  EXPECT_NEAR(DmsPackedToDeg(12345.3), 12345.5, 1e-9);
  EXPECT_EQ(DmsPackedToDeg(kPackedWholeDegrees), kPackedWholeDegrees);
  for (double x : {max, -max, 1e300, 4.9e-324}) {
    for (double y : {DegToDmsPacked(x), DegToDmsPackedSec(x), DegToDmPacked(x), DegToDmsPackedTenth(x),
                     DegToDmsPackedHundredth(x)}) {
      EXPECT_FALSE(std::isnan(y)) << x;
    }
  }
}

}  // namespace
}  // namespace kvx
