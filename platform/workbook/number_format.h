// Number formats of the workbook: the format codes a spreadsheet user knows
// ("0.00", "#,##0", "0%", "0.00E+00", "dd.mm.yyyy", "hh:mm:ss", "@",
// sections split by ';'), rendering of values by them, date serial numbers,
// and the interpretation of typed input.
//
// Formats are stored in canonical form: '.' is the decimal point and ',' the
// thousands separator, as in .xlsx files. The program and the user see them
// in local form, written with the separators of the locale (with German
// separators "0,00" is the canonical "0.00"). Rendered numbers use the
// locale's separators as well.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/globals.h"
#include "platform/number_text.h"

namespace kvx::workbook {

// The separators used for display and typed input, with the order of a
// typed date. FromGlobals() takes them from IntlSeparators and the language
// byte.
struct TFormatLocale {
  char Decimal = ',';
  char Thousands = '.';  // shown; typed numbers may be grouped by it (ParseTypedEntry)
  char Date = '.';
  char Time = ':';
  bool English = false;  // month and weekday names
  TShortDateOrder DateOrder = TShortDateOrder::DayMonthYear;

  static TFormatLocale FromGlobals();
};

// Local pattern -> canonical code and back. Only number sections are
// translated; date and time sections, quoted text and escaped characters
// stay as they are.
std::string CanonicalFormat(std::string_view localPattern, const TFormatLocale& locale);
std::string LocalFormat(std::string_view canonicalCode, const TFormatLocale& locale);

enum class TFormatClass : std::uint8_t { General, Number, Date, Time, DateTime, Text };

// The built-in number formats of the workbook files that name them by
// their number alone (.xlsx cell formats and .xls records alike): 14 the
// session's short date (ShortDateCode: each reader shows such a date in its
// own desktop's order), 22 that with the time, ...; empty for General and
// for numbers without one.
std::string BuiltinNumberFormat(std::size_t id);

// What a format code shows: the class of its first section.
TFormatClass ClassifyFormat(std::string_view canonicalCode);

// The text of a number under a format code. An empty code or "General" gives
// the general form (up to maxDigits significant digits, exponent form for very
// large and very small magnitudes).
std::string FormatNumber(double value, std::string_view canonicalCode, const TFormatLocale& locale, int maxDigits = 15);

// The text of a text cell under a format code (the fourth section, when
// there is one, with '@' standing for the text).
std::string FormatText(std::string_view text, std::string_view canonicalCode);

// The general form of a number alone: no format code involved.
std::string FormatGeneral(double value, const TFormatLocale& locale, int maxDigits = 15);

// Date serial numbers: days since 30 December 1899 (day 1 is 31 Dec 1899,
// 25569 is 1 January 1970), the fraction is the time of day. Proleptic
// Gregorian calendar; negative serials are dates before 1899.
// SerialToDate covers 1 January of the year 1 (serial -693593) to
// 31 December 9999 (serial 2958465.xx); a serial outside that range, or
// not finite, gives year, month and day 0.
double DateSerial(int year, int month, int day);
// The serial of 1 January 1904: a file that counts its dates from that day
// holds every date this much lower.
inline constexpr double kDays1900To1904 = 1462.0;
void SerialToDate(double serial, int& year, int& month, int& day);

// Typed input of a cell, interpreted as a spreadsheet does.
struct TTypedEntry {
  enum class TKind : std::uint8_t { Empty, Number, Text, Formula } Kind = TKind::Empty;
  double Number = 0.0;
  std::string Text;             // text of a text entry, or the formula without '='
  std::string SuggestedFormat;  // canonical code for dates, times and percentages
};

// A leading '=' makes a formula ("=" alone and a text led by "==" are
// texts), a leading apostrophe forces text. Numbers use the locale's
// decimal mark and its thousands separator (groups of three; where that is
// a blank, any blank, U+00A0 or U+202F; where it is an apostrophe, ' or
// U+2019), an exponent and a trailing '%' are allowed; dates are day, month
// and year in the locale's order (the year of two or four digits, or
// omitted for the current year: "7.12." and "12/7" are 7 December) joined by
// the date separator, or ISO "yyyy-mm-dd"; where the date separator is the
// decimal mark, a date needs its year or its closing separator ("7.5." or
// "7.5.2026"; "7.5" is a number); times are h:mm, h:mm:ss and fractions of
// a second; a date and a time may be joined by a blank. Anything else is
// text.
TTypedEntry ParseTypedEntry(std::string_view text, const TFormatLocale& locale);

// The format of a date typed in the locale: its short date, day, month and
// year in its order with its separator ("dd.mm.yyyy", "mm/dd/yyyy",
// "yyyy-mm-dd"; '/' stands for any other separator).
std::string ShortDateCode(const TFormatLocale& locale);

// The typed entry of the number `number` read from `text`: a percentage
// with the format it suggests ("0%", or "0.00%" when the text has the
// decimal mark `decimal`).
TTypedEntry NumberEntry(std::string_view text, const TNumberRead& number, char decimal);

// The text a user would type to get the number back (its "entry"), which
// typed back gives the same number: dates and times in their typed form when
// the format shows one (with the time of day even where the format shows the
// date alone, to the second, or to the microsecond where seconds do not
// suffice; a date or time within half a microsecond, or two steps of the
// serial, of a coarser form is given in that form, which reads back as
// the serial of that second), percentages with '%' under a percent format, else the general
// form with as many significant digits as the number needs, 15 to 17
// ("1,2345678901234568E+20", "0,30000000000000004").
//
// Rendering: a format's decimals past the value's 15 significant digits,
// and fractions of a second past nine (past eight for serials beyond some
// 104,000 days, after the year 2185), show zeros; an exponent or digit count
// the value cannot fill shows "#NUM!".
std::string EntryTextForNumber(double value, std::string_view canonicalCode, const TFormatLocale& locale);

namespace internal {

// The text of a date or time format section for `value` (a serial date),
// as the number formats show it; for the typed-input rules.
std::string RenderDateTime(double value, std::string_view code, const TFormatLocale& locale);

}  // namespace internal

}  // namespace kvx::workbook
