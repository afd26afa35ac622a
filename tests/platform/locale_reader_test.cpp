#include "platform/locale_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
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
  // widths; "%D" and "%F" stand for the conversions they are made of. The
  // separator only from a numeric short date: a month name's comma (Egypt)
  // or the letters between year, month and day (Japan) are none, and such
  // desktops type '/'.
  for (const auto& [format, order, separator] :
       {std::tuple{"%-e.%-m.%y", TShortDateOrder::DayMonthYear, '.'},
        std::tuple{"%b %d %Y", TShortDateOrder::MonthDayYear, '/'},
        std::tuple{"%D", TShortDateOrder::MonthDayYear, '/'}, std::tuple{"%F", TShortDateOrder::YearMonthDay, '-'},
        std::tuple{"%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", TShortDateOrder::YearMonthDay, '/'},
        std::tuple{"%d %b, %Y", TShortDateOrder::DayMonthYear, '/'},
        std::tuple{"%-d/%-m/%y", TShortDateOrder::DayMonthYear, '/'},
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

// The C library's own locales (made for the tests into the build folder,
// tests/CMakeLists.txt), read as the program reads the desktop's.
TEST(LocaleReader, EachDesktopsSeparatorsFromItsOwnLocale) {
  struct TDesktop {
    const char* Name;
    char Decimal, Thousands, Date;
    TShortDateOrder Order;
  };
  const TDesktop desktops[] = {{"de_DE.UTF-8", ',', '.', '.', TShortDateOrder::DayMonthYear},
                               {"fr_FR.UTF-8", ',', ' ', '/', TShortDateOrder::DayMonthYear},
                               {"de_CH.UTF-8", '.', '\'', '.', TShortDateOrder::DayMonthYear},
                               {"tr_TR.UTF-8", ',', '.', '-', TShortDateOrder::DayMonthYear},
                               {"ar_EG.UTF-8", '.', ',', '/', TShortDateOrder::DayMonthYear},
                               {"ja_JP.UTF-8", '.', ',', '/', TShortDateOrder::YearMonthDay}};
  const auto kept = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  };
  const std::optional<std::string> locpath = kept("LOCPATH"), all = kept("LC_ALL");
  setenv("LOCPATH", KVX_BINARY_DIR "/locales", 1);
  for (const TDesktop& d : desktops) {
    SCOPED_TRACE(d.Name);
    setenv("LC_ALL", d.Name, 1);
    const TIntlSeparators read = ReadLocaleSeparators();
    EXPECT_EQ(read.Decimal, d.Decimal);
    EXPECT_EQ(read.Thousands, d.Thousands);
    EXPECT_EQ(read.Date, d.Date);
    EXPECT_EQ(read.DateOrder, d.Order);
  }
  const auto restore = [](const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  };
  restore("LOCPATH", locpath);
  restore("LC_ALL", all);
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
