#include "platform/locale_reader.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kvx {
namespace {

TEST(LocaleReader, SeparatorsComeFromTheLocalesNumberAndDateFormats) {
  TIntlSeparators german = SeparatorsFromLocaleTexts(",", ".", "%d.%m.%Y", "%H:%M:%S");
  EXPECT_EQ(german.Decimal, ',');
  EXPECT_EQ(german.Thousands, '.');
  EXPECT_EQ(german.List, ';');
  EXPECT_EQ(german.Date, '.');
  EXPECT_EQ(german.Time, ':');
  EXPECT_EQ(german.DateOrder, TShortDateOrder::DayMonthYear);

  TIntlSeparators us = SeparatorsFromLocaleTexts(".", ",", "%m/%d/%Y", "%r");
  EXPECT_EQ(us.Decimal, '.');
  EXPECT_EQ(us.List, ',');
  EXPECT_EQ(us.Date, '/');
  EXPECT_EQ(us.Time, ':');  // "%r" names no separator: the default stays
  EXPECT_EQ(us.DateOrder, TShortDateOrder::MonthDayYear);

  TIntlSeparators iso = SeparatorsFromLocaleTexts(".", "", "%Y-%m-%d", "%H.%M.%S");
  EXPECT_EQ(iso.Date, '-');
  EXPECT_EQ(iso.Time, '.');
  EXPECT_EQ(iso.Thousands, ',');
  EXPECT_EQ(iso.DateOrder, TShortDateOrder::YearMonthDay);
  // The order from any day, month and year conversion, with flags and
  // widths; "%D" and "%F" stand for the conversions they are made of.
  for (const auto& [format, order, separator] :
       {std::tuple{"%-e.%-m.%y", TShortDateOrder::DayMonthYear, '.'}, std::tuple{"%b %d %Y", TShortDateOrder::MonthDayYear, '-'},
        std::tuple{"%D", TShortDateOrder::MonthDayYear, '/'}, std::tuple{"%F", TShortDateOrder::YearMonthDay, '-'},
        std::tuple{"%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", TShortDateOrder::YearMonthDay, '-'},
        std::tuple{"%A", TShortDateOrder::DayMonthYear, '-'}}) {
    SCOPED_TRACE(format);
    const TIntlSeparators read = SeparatorsFromLocaleTexts(".", ",", format, "%T");
    EXPECT_EQ(read.DateOrder, order);
    EXPECT_EQ(read.Date, separator);
    EXPECT_EQ(SeparatorsOrDefaults(read).DateOrder, order);
  }

  // A narrow no-break space as thousands separator becomes a blank.
  TIntlSeparators french = SeparatorsFromLocaleTexts(",", "\xE2\x80\xAF", "%d/%m/%Y", "%H:%M:%S");
  EXPECT_EQ(french.Thousands, ' ');
  EXPECT_EQ(french.Date, '/');
  // A Swiss right single quotation mark is kept as an apostrophe.
  EXPECT_EQ(SeparatorsFromLocaleTexts(".", "\xE2\x80\x99", "%d.%m.%Y", "%T").Thousands, '\'');

  TIntlSeparators none = SeparatorsFromLocaleTexts("", "", "", "");
  EXPECT_EQ(none.Decimal, '.');
  EXPECT_EQ(none.Date, '-');
  EXPECT_EQ(none.Time, ':');
}

TEST(LocaleReader, TheDefaultsAreThoseBeforeTheLocaleIsRead) {
  TIntlSeparators defaults;
  EXPECT_EQ(defaults.Decimal, '.');
  EXPECT_EQ(defaults.List, ',');
  EXPECT_EQ(defaults.Date, '-');
  EXPECT_EQ(defaults.Time, ':');
  EXPECT_EQ(defaults.Thousands, '.');
  // Whatever the environment, the reader yields single visible characters.
  TIntlSeparators read = ReadLocaleSeparators();
  for (char c : {read.Decimal, read.List, read.Date, read.Time}) {
    EXPECT_GT(static_cast<unsigned char>(c), 0x20);
    EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  }
}

}  // namespace
}  // namespace kvx
