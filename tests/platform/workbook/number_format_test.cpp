#include "platform/workbook/number_format.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/globals.h"
#include "platform/locale_reader.h"
#include "platform/number_text.h"

namespace kvx::workbook {
namespace {

TFormatLocale German() { return TFormatLocale{',', '.', '.', ':', false}; }
TFormatLocale English() { return TFormatLocale{'.', ',', '/', ':', true}; }

TEST(NumberFormat, LocalPatternsTranslateOnlyNumberSections) {
  EXPECT_EQ(CanonicalFormat("0,00", German()), "0.00");
  EXPECT_EQ(CanonicalFormat("#.##0,000", German()), "#,##0.000");
  EXPECT_EQ(CanonicalFormat("dd.mm.yyyy", German()), "dd.mm.yyyy");
  EXPECT_EQ(CanonicalFormat("0,0\" km.\"", German()), "0.0\" km.\"");
  EXPECT_EQ(LocalFormat("#,##0.00;[Red]-#,##0.00", German()), "#.##0,00;[Red]-#.##0,00");
  EXPECT_EQ(CanonicalFormat("0.00", English()), "0.00");
}

TEST(NumberFormat, DecimalPatternsRoundAndUseTheLocaleSeparator) {
  EXPECT_EQ(FormatNumber(3.14159, "0.00", German()), "3,14");
  EXPECT_EQ(FormatNumber(3.14159, "0.00", English()), "3.14");
  EXPECT_EQ(FormatNumber(2.5, "0", German()), "3");
  EXPECT_EQ(FormatNumber(1.005, "0.00", English()), "1.01");
  EXPECT_EQ(FormatNumber(-2.5, "0", English()), "-3");
  EXPECT_EQ(FormatNumber(9.9999, "0.00", English()), "10.00");
  EXPECT_EQ(FormatNumber(123.456, "0.0000000000", English()), "123.4560000000");
  EXPECT_EQ(FormatNumber(-0.004, "0.00", German()), "0,00");
  EXPECT_EQ(FormatNumber(-1.5, "0.0", German()), "-1,5");
  EXPECT_EQ(FormatNumber(1.0, "0.000000000000000", English()), "1.000000000000000");
  EXPECT_EQ(FormatNumber(1234567.891, "#,##0.00", German()), "1.234.567,89");
  EXPECT_EQ(FormatNumber(0.5, "#.00", English()), ".50");
  EXPECT_EQ(FormatNumber(0.256, "0.0%", English()), "25.6%");
  EXPECT_EQ(FormatNumber(12345.678, "0.00E+00", English()), "1.23E+04");
  EXPECT_EQ(FormatNumber(0.00012, "0.0E+00", English()), "1.2E-04");
  EXPECT_EQ(FormatNumber(-5, "0.0;(0.0)", English()), "(5.0)");
  EXPECT_EQ(FormatNumber(0, "0.0;-0.0;\"zero\"", English()), "zero");
  EXPECT_EQ(FormatNumber(7, "0\" mag\"", English()), "7 mag");
  EXPECT_EQ(FormatNumber(1.5, "0.0#", English()), "1.5");
  EXPECT_EQ(FormatNumber(1.25, "0.0#", English()), "1.25");
}

TEST(NumberFormat, GeneralShowsSignificantDigitsOnly) {
  EXPECT_EQ(FormatGeneral(0.1 + 0.2, German()), "0,3");
  EXPECT_EQ(FormatGeneral(100.0, English()), "100");
  EXPECT_EQ(FormatGeneral(-2.5e-12, English()), "-2.5E-12");
  EXPECT_EQ(FormatGeneral(6.02214076e23, English()), "6.02214E+23");
  EXPECT_EQ(FormatGeneral(3.14159265358979, English(), 10), "3.141592654");
  EXPECT_EQ(FormatNumber(42.0, "", English()), "42");
}

TEST(NumberFormat, DateSerialsFollowTheSpreadsheetEpoch) {
  EXPECT_DOUBLE_EQ(DateSerial(1970, 1, 1), 25569.0);
  EXPECT_DOUBLE_EQ(DateSerial(2000, 1, 1), 36526.0);
  EXPECT_DOUBLE_EQ(DateSerial(1899, 12, 30), 0.0);
  EXPECT_DOUBLE_EQ(DateSerial(2024, 13, 1), DateSerial(2025, 1, 1));
  int y = 0, m = 0, d = 0;
  SerialToDate(DateSerial(1582, 10, 15), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 15821015);
  SerialToDate(-1.0, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
}

TEST(NumberFormat, DatesAndTimesRender) {
  const double noon = DateSerial(2026, 12, 7) + 0.5;
  EXPECT_EQ(FormatNumber(noon, "dd.mm.yyyy", German()), "07.12.2026");
  EXPECT_EQ(FormatNumber(noon, "d/m/yy", English()), "7/12/26");
  // A year of three letters or more has four digits, so that the text typed
  // again is the same date.
  EXPECT_EQ(FormatNumber(DateSerial(89, 1, 1), "dd.mm.yyyy", German()), "01.01.0089");
  EXPECT_EQ(FormatNumber(DateSerial(800, 12, 24) + 0.5, "mm/dd/yyy hh:mm", English()), "12/24/0800 12:00");
  EXPECT_EQ(FormatNumber(DateSerial(1, 1, 1), "yyyy-mm-dd", English()), "0001-01-01");
  EXPECT_EQ(FormatNumber(DateSerial(44, 3, 15), "d.m.yy", German()), "15.3.44");
  EXPECT_EQ(FormatNumber(noon, "hh:mm:ss", German()), "12:00:00");
  EXPECT_EQ(FormatNumber(noon, "dddd, d. mmmm yyyy", German()), "Montag, 7. Dezember 2026");
  EXPECT_EQ(FormatNumber(noon, "ddd d mmm", English()), "Mon 7 Dec");
  EXPECT_EQ(FormatNumber(noon, "h:mm AM/PM", English()), "12:00 PM");
  // Minutes after hours, months otherwise.
  EXPECT_EQ(FormatNumber(DateSerial(2026, 3, 1) + (10 * 60 + 5) / 1440.0, "mm hh:mm", English()), "03 10:05");
  // Rounding to the shown second carries into the minute and the day.
  EXPECT_EQ(FormatNumber(0.9999999, "hh:mm:ss", English()), "00:00:00");
  EXPECT_EQ(FormatNumber(1.5 / 24.0 + 1.0, "[h]:mm", English()), "25:30");
  // Elapsed hours padded to their width, the sign of a negative span first.
  EXPECT_EQ(FormatNumber(0.5, "[hhh]", English()), "012");
  EXPECT_EQ(FormatNumber(-0.5, "[hhhh]", English()), "-0012");
  EXPECT_EQ(FormatNumber(12.3456 / 86400.0, "mm:ss.00", German()), "00:12,35");
}

TEST(NumberFormat, TypedEntriesBecomeValues) {
  auto entry = ParseTypedEntry("3,5", German());
  EXPECT_EQ(entry.Kind, TTypedEntry::TKind::Number);
  EXPECT_DOUBLE_EQ(entry.Number, 3.5);
  entry = ParseTypedEntry("1.234.567,5", German());
  EXPECT_DOUBLE_EQ(entry.Number, 1234567.5);
  EXPECT_EQ(ParseTypedEntry("1.23.4", German()).Kind, TTypedEntry::TKind::Text);
  entry = ParseTypedEntry("-1,5e3", German());
  EXPECT_DOUBLE_EQ(entry.Number, -1500.0);
  entry = ParseTypedEntry("12,5%", German());
  EXPECT_DOUBLE_EQ(entry.Number, 0.125);
  EXPECT_EQ(entry.SuggestedFormat, "0.00%");

  entry = ParseTypedEntry("07.12.2026", German());
  EXPECT_EQ(entry.Kind, TTypedEntry::TKind::Number);
  EXPECT_DOUBLE_EQ(entry.Number, DateSerial(2026, 12, 7));
  EXPECT_EQ(entry.SuggestedFormat, "dd.mm.yyyy");
  EXPECT_DOUBLE_EQ(ParseTypedEntry("7.12.26", German()).Number, DateSerial(2026, 12, 7));
  EXPECT_DOUBLE_EQ(ParseTypedEntry("2026-02-28", English()).Number, DateSerial(2026, 2, 28));
  EXPECT_EQ(ParseTypedEntry("31.02.2026", German()).Kind, TTypedEntry::TKind::Text);

  entry = ParseTypedEntry("23:59", German());
  EXPECT_NEAR(entry.Number, (23 * 60 + 59) / 1440.0, 1e-12);
  EXPECT_EQ(entry.SuggestedFormat, "hh:mm");
  entry = ParseTypedEntry("1:02:03,5", German());
  EXPECT_NEAR(entry.Number * 86400.0, 3723.5, 1e-6);
  EXPECT_EQ(ParseTypedEntry("12:60", German()).Kind, TTypedEntry::TKind::Text);
  entry = ParseTypedEntry("07.12.2026 18:30", German());
  EXPECT_NEAR(entry.Number, DateSerial(2026, 12, 7) + 18.5 / 24.0, 1e-9);

  entry = ParseTypedEntry("=A1*2", German());
  EXPECT_EQ(entry.Kind, TTypedEntry::TKind::Formula);
  EXPECT_EQ(entry.Text, "A1*2");
  entry = ParseTypedEntry("'123", German());
  EXPECT_EQ(entry.Kind, TTypedEntry::TKind::Text);
  EXPECT_EQ(entry.Text, "123");
  EXPECT_EQ(ParseTypedEntry("12° 30'", German()).Kind, TTypedEntry::TKind::Text);
}

// Each desktop's own forms, its separators taken from its locale's texts
// as the program reads them: where the date separator is the decimal mark
// (Swiss), a text that reads as a number is one and a date needs its year
// or its closing point; the desktop's grouping mark, non-ASCII ones too,
// groups digits; one rule for values beyond and below the double range.
TEST(NumberFormat, TypedEntriesFollowEachDesktopsOwnForms) {
  struct Desktop {
    const char* Name;
    const char* Decimal;
    const char* Thousands;
    const char* DateFormat;
    std::string Grouped;  // 1234.5 grouped as the desktop writes it
    std::string Date;     // 7 May 2026 as typed there
  };
  const std::string nbsp = "\xC2\xA0", narrow = "\xE2\x80\xAF", rightQuote = "\xE2\x80\x99";
  const Desktop desktops[] = {
      {"de_DE", ",", ".", "%d.%m.%Y", "1.234,5", "7.5.2026"},
      {"de_CH", ".", "\xE2\x80\x99", "%d.%m.%Y", "1" + rightQuote + "234.5", "7.5.2026"},
      {"fr_FR", ",", "\xE2\x80\xAF", "%d/%m/%Y", "1" + narrow + "234,5", "07/05/2026"},
      {"ru_RU", ",", "\xE2\x80\xAF", "%d.%m.%Y", "1" + nbsp + "234,5", "07.05.2026"},
      {"tr_TR", ",", ".", "%d-%m-%Y", "1.234,5", "07-05-2026"},
      {"en_US", ".", ",", "%m/%d/%Y", "1,234.5", "2026-05-07"},
      {"en_GB", ".", ",", "%d/%m/%y", "1,234.5", "07/05/2026"},
      {"hi_IN", ".", ",", "%-d/%-m/%y", "1,234.5", "7/5/2026"},
      {"sv_SE", ",", "\xE2\x80\xAF", "%Y-%m-%d", "1" + narrow + "234,5", "2026-05-07"},
      // Neither gives a numeric short date: their own typed form stands.
      {"ja_JP", ".", ",", "%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", "1,234.5", "2026/05/07"},
      {"ar_EG", ".", ",", "%d %b, %Y", "1,234.5", "07/05/2026"},
  };
  const TIntlSeparators saved = IntlSeparators;
  const auto number = [](const std::string& text, const TFormatLocale& locale) {
    const TTypedEntry entry = ParseTypedEntry(text, locale);
    return entry.Kind == TTypedEntry::TKind::Number ? entry.Number : -1.0;
  };
  for (const Desktop& desktop : desktops) {
    SCOPED_TRACE(desktop.Name);
    IntlSeparators = SeparatorsFromLocaleTexts(desktop.Decimal, desktop.Thousands, desktop.DateFormat, "%T");
    const TFormatLocale locale = TFormatLocale::FromGlobals();
    const std::string d(1, locale.Decimal);
    EXPECT_EQ(number("2" + d + "5", locale), 2.5);
    EXPECT_EQ(number(desktop.Grouped, locale), 1234.5);
    EXPECT_DOUBLE_EQ(number("-" + desktop.Grouped + "%", locale), -12.345);
    EXPECT_EQ(number(desktop.Date, locale), DateSerial(2026, 5, 7));
    // What reads as a number on the desktop is that number, never a date.
    TNumberSyntax syntax;
    syntax.Decimal = locale.Decimal;
    syntax.Grouping = GroupingMarksOf(locale.Thousands);
    for (const char* text : {"2,5", "2.5", "7,5", "7.5", "1,234", "1.234", "12,5", "1,5,2", "2/5", "2-5"}) {
      const TTypedEntry entry = ParseTypedEntry(text, locale);
      if (const auto read = ReadNumber(text, syntax)) {
        EXPECT_EQ(entry.Kind, TTypedEntry::TKind::Number) << text;
        EXPECT_EQ(entry.Number, read->Number) << text;
        EXPECT_EQ(entry.SuggestedFormat, "") << text;
      }
    }
    // Beyond the largest double no number, whatever the exponent's sign;
    // below the smallest 0.
    EXPECT_EQ(ParseTypedEntry("1e309", locale).Kind, TTypedEntry::TKind::Text);
    EXPECT_EQ(ParseTypedEntry("1" + std::string(310, '0') + "e-1", locale).Kind, TTypedEntry::TKind::Text);
    EXPECT_EQ(number("1e-400", locale), 0.0);
    // "=" and a rule of "=" are texts, kept as typed.
    for (const char* rule : {"=", "==", "====="}) {
      const TTypedEntry entry = ParseTypedEntry(rule, locale);
      EXPECT_EQ(entry.Kind, TTypedEntry::TKind::Text) << rule;
      EXPECT_EQ(entry.Text, rule);
    }
  }
  // Where the grouping mark is the date separator, numbers win too.
  TFormatLocale commas = TFormatLocale::FromGlobals();
  commas.Decimal = '.';
  commas.Thousands = ',';
  commas.Date = ',';
  EXPECT_EQ(number("1,234", commas), 1234.0);
  EXPECT_EQ(number("12,345,678", commas), 12345678.0);
  // Where the decimal mark is the date separator, numbers win.
  IntlSeparators = SeparatorsFromLocaleTexts(".", rightQuote, "%d.%m.%Y", "%T");
  const TFormatLocale swiss = TFormatLocale::FromGlobals();
  for (const char* text : {"2.5", "7.5", "12.5", "31.12"}) {
    EXPECT_EQ(ParseTypedEntry(text, swiss).Kind, TTypedEntry::TKind::Number) << text;
    EXPECT_EQ(ParseTypedEntry(text, swiss).SuggestedFormat, "") << text;
  }
  EXPECT_EQ(number("1'234'567.5", swiss), 1234567.5);
  EXPECT_EQ(ParseTypedEntry("1'234" + rightQuote + "567", swiss).Kind, TTypedEntry::TKind::Text);  // one mark
  const TTypedEntry closed = ParseTypedEntry("7.5.", swiss);
  EXPECT_EQ(closed.SuggestedFormat, "dd.mm.yyyy");
  EXPECT_EQ(ParseTypedEntry("7.5.2026", swiss).Number, DateSerial(2026, 5, 7));
  // Where they differ, "7.5" stays the German date of this year.
  EXPECT_EQ(ParseTypedEntry("7.5", German()).Number, closed.Number);
  IntlSeparators = saved;
}

TEST(NumberFormat, EntryTextRoundTripsThroughTypedInput) {
  for (double value : {0.1, -123456.789, 1e-7, 2.0 / 3.0}) {
    const std::string text = EntryTextForNumber(value, "0.00", German());
    EXPECT_DOUBLE_EQ(ParseTypedEntry(text, German()).Number, value) << text;
  }
  const double date = DateSerial(2001, 2, 3);
  EXPECT_EQ(EntryTextForNumber(date, "dd.mm.yyyy", German()), "03.02.2001");
  EXPECT_EQ(EntryTextForNumber(0.75, "hh:mm", German()), "18:00:00");
}

}  // namespace
}  // namespace kvx::workbook
