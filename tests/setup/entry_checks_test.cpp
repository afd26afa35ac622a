#include "setup/entry_checks.h"

#include <gtest/gtest.h>

#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

TEST(EntryChecksTest, JulianDatesAndIntervals) {
  double jd = 42;
  EXPECT_TRUE(ParseEntryJulianDate("1", jd));
  EXPECT_EQ(jd, 1.0);
  EXPECT_TRUE(ParseEntryJulianDate(" 5373484,4583 ", jd));
  EXPECT_EQ(jd, 5373484.4583);
  for (const char* bad : {"0.5", "5373484.46", "", "abc", "2451545.0x", "1,2,3", "inf", "nan", "0x10"}) {
    jd = 42;
    EXPECT_FALSE(ParseEntryJulianDate(bad, jd)) << bad;
    EXPECT_EQ(jd, 42) << bad;
  }
  double days = 1;
  EXPECT_TRUE(ParseTableInterval("0,0001", days));
  EXPECT_FALSE(ParseTableInterval("0", days));
  EXPECT_FALSE(ParseTableInterval("-1", days));
  EXPECT_EQ(days, 0.0001);
}

TEST(EntryChecksTest, DayWithFractionKeepsToTheMonth) {
  double day = -1;
  EXPECT_TRUE(ParseDayWithFraction("31.99999", 2024, 1, day));
  EXPECT_FALSE(ParseDayWithFraction("32", 2024, 1, day));
  EXPECT_FALSE(ParseDayWithFraction("-0.1", 2024, 1, day));
  EXPECT_TRUE(ParseDayWithFraction("0", 2024, 1, day));
  // February: the Julian leap rule up to 1582, the Gregorian one after.
  EXPECT_FALSE(ParseDayWithFraction("29.5", 2023, 2, day));  // would be 1 March
  EXPECT_TRUE(ParseDayWithFraction("29.5", 2024, 2, day));
  EXPECT_FALSE(ParseDayWithFraction("29", 1900, 2, day));
  EXPECT_TRUE(ParseDayWithFraction("29", 2000, 2, day));
  EXPECT_TRUE(ParseDayWithFraction("29", 1500, 2, day));
  EXPECT_TRUE(ParseDayWithFraction("29", -4, 2, day));  // 5 BC
  EXPECT_TRUE(ParseDayWithFraction("30.1", 2024, 4, day));
  EXPECT_FALSE(ParseDayWithFraction("31", 2024, 4, day));
  EXPECT_EQ(day, 30.1);

  std::int32_t year = 0, month = 0;
  EXPECT_TRUE(ParseEntryYear("-4712", year));
  EXPECT_FALSE(ParseEntryYear("-4713", year));
  EXPECT_FALSE(ParseEntryYear("20001", year));
  EXPECT_FALSE(ParseEntryYear("2000.5", year));
  EXPECT_FALSE(ParseEntryMonth("0", month));
  EXPECT_FALSE(ParseEntryMonth("13", month));
  EXPECT_TRUE(ParseEntryMonth("12", month));

  // The message names the real limit in both languages.
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  ShowDayFractionError(2023, 2);
  LanguageEnglish = 1;
  ShowDayFractionError(2023, 4);
  LanguageEnglish = 0;
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text, "Tagesbruchteil: muß >=0 und <29 sein!");
  EXPECT_EQ(sink.messages[1].text, "Fractions of day: must be >=0 and <31.");
}

}  // namespace
}  // namespace kvx
