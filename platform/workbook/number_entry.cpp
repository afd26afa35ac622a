// Typed input: what a text typed into a cell means (a number, a date, a
// time, a percentage or text), and the text that, typed back, gives a cell's
// number again (the edit text of a cell and the form of a csv entry).
#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/globals.h"
#include "platform/workbook/number_format.h"
#include "platform/workbook/text_and_range_helpers.h"

namespace kvx::workbook {

using internal::AllDigits;
using internal::SplitAt;

namespace {

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
  return kDays[month - 1];
}

int CurrentYear() {
  const auto now = std::chrono::system_clock::now();
  const auto days = std::chrono::floor<std::chrono::days>(now);
  return static_cast<int>(std::chrono::year_month_day(days).year());
}

// A date in the text: day, month and year in the locale's order. The year
// may be two digits (below 30 is this century, from 30 on the last) or
// missing (this year: day and month in their order).
std::optional<double> ParseDate(std::string_view text, const TFormatLocale& locale) {
  int year = 0;
  int month = 0;
  int day = 0;
  auto iso = SplitAt(text, '-');
  if (iso.size() == 3 && iso[0].size() == 4 && AllDigits(iso[0]) && AllDigits(iso[1]) && AllDigits(iso[2]) &&
      iso[1].size() <= 2 && iso[2].size() <= 2) {
    year = std::atoi(std::string(iso[0]).c_str());
    month = std::atoi(std::string(iso[1]).c_str());
    day = std::atoi(std::string(iso[2]).c_str());
  } else {
    auto parts = SplitAt(text, locale.Date);
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    // Where the date separator is the decimal mark, "7.5" is a number: a
    // date needs its year or its closing separator.
    if (parts.size() == 2 && locale.Date == locale.Decimal) return std::nullopt;
    // "7.12." (a trailing separator) is the day and month of this year.
    if (parts.size() == 3 && parts[2].empty()) parts.pop_back();
    for (const auto& p : parts) {
      if (!AllDigits(p)) return std::nullopt;
    }
    // A typed year stands first in a year-first order, else last.
    std::string_view yearText;
    if (parts.size() == 3) {
      const bool yearFirst = locale.DateOrder == TShortDateOrder::YearMonthDay;
      yearText = yearFirst ? parts.front() : parts.back();
      parts.erase(yearFirst ? parts.begin() : parts.end() - 1);
    }
    const bool monthFirst = locale.DateOrder != TShortDateOrder::DayMonthYear;
    const std::string_view dayText = parts[monthFirst ? 1 : 0];
    const std::string_view monthText = parts[monthFirst ? 0 : 1];
    if (dayText.size() > 2 || monthText.size() > 2) return std::nullopt;
    day = std::atoi(std::string(dayText).c_str());
    month = std::atoi(std::string(monthText).c_str());
    if (!yearText.empty()) {
      if (yearText.size() != 2 && yearText.size() != 4) return std::nullopt;
      year = std::atoi(std::string(yearText).c_str());
      if (yearText.size() == 2) year += year < 30 ? 2000 : 1900;
    } else {
      year = CurrentYear();
    }
  }
  if (month < 1 || month > 12 || day < 1 || year < 1 || year > 9999 || day > DaysInMonth(year, month)) {
    return std::nullopt;
  }
  return DateSerial(year, month, day);
}

// A time of day "h:mm", "h:mm:ss" or "h:mm:ss,f" as a fraction of a day. The
// hours may exceed 24 (a duration).
std::optional<std::pair<double, bool>> ParseTime(std::string_view text, const TFormatLocale& locale) {
  auto parts = SplitAt(text, locale.Time);
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  if (!AllDigits(parts[0]) || parts[0].size() > 5 || !AllDigits(parts[1]) || parts[1].size() > 2) {
    return std::nullopt;
  }
  const int hours = std::atoi(std::string(parts[0]).c_str());
  const int minutes = std::atoi(std::string(parts[1]).c_str());
  double seconds = 0.0;
  if (parts.size() == 3) {
    std::string s(parts[2]);
    const std::size_t dot = s.find_first_of(std::string(1, locale.Decimal) + ".");
    const std::string whole = s.substr(0, dot);
    if (!AllDigits(whole) || whole.size() > 2) return std::nullopt;
    seconds = std::atoi(whole.c_str());
    if (dot != std::string::npos) {
      const std::string fraction = s.substr(dot + 1);
      if (!fraction.empty() && !AllDigits(fraction)) return std::nullopt;
      if (const auto part = ReadNumber("0." + fraction); part && !fraction.empty()) seconds += part->Number;
    }
    if (seconds >= 60.0) return std::nullopt;
  }
  if (minutes >= 60) return std::nullopt;
  return std::make_pair((hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0, parts.size() == 3);
}

// A typed number: the locale's decimal mark, its grouping mark (every
// kind of blank where it is a blank, both apostrophes where it is one), an
// exponent, a trailing '%'.
std::optional<TNumberRead> ParseLocaleNumber(std::string_view text, const TFormatLocale& locale) {
  TNumberSyntax syntax;
  syntax.Decimal = locale.Decimal;
  syntax.Grouping = GroupingMarksOf(locale.Thousands);
  syntax.Percent = true;
  return ReadNumber(text, syntax);
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The format of a typed date: the locale's order, with its separator ('/'
// in a format code stands for any other).
std::string DateCode(const TFormatLocale& locale) {
  const std::string mark(1, locale.Date == '.' || locale.Date == '-' ? locale.Date : '/');
  switch (locale.DateOrder) {
    case TShortDateOrder::MonthDayYear:
      return "mm" + mark + "dd" + mark + "yyyy";
    case TShortDateOrder::YearMonthDay:
      return "yyyy" + mark + "mm" + mark + "dd";
    case TShortDateOrder::DayMonthYear:
      break;
  }
  return "dd" + mark + "mm" + mark + "yyyy";
}

}  // namespace

TTypedEntry ParseTypedEntry(std::string_view text, const TFormatLocale& locale) {
  TTypedEntry entry;
  if (text.empty()) return entry;
  // "=" and a text led by "==" (a rule "=====") are texts.
  if (text[0] == '=' && text.size() > 1 && text[1] != '=') {
    entry.Kind = TTypedEntry::TKind::Formula;
    entry.Text = std::string(text.substr(1));
    return entry;
  }
  if (text[0] == '\'') {
    entry.Kind = TTypedEntry::TKind::Text;
    entry.Text = std::string(text.substr(1));
    return entry;
  }
  const std::string_view trimmed = TrimBlanks(text);
  // No digit: no number, date or time.
  if (trimmed.find_first_of("0123456789") == std::string_view::npos) {
    entry.Kind = TTypedEntry::TKind::Text;
    entry.Text = std::string(text);
    return entry;
  }

  // A date separator that is the decimal mark or the grouping mark never
  // turns a number into a date ("1,234" where the comma is both).
  if (locale.Date == locale.Decimal || locale.Date == locale.Thousands) {
    if (const auto number = ParseLocaleNumber(trimmed, locale)) return NumberEntry(trimmed, *number, locale.Decimal);
  }
  if (const auto date = ParseDate(trimmed, locale)) {
    entry.Kind = TTypedEntry::TKind::Number;
    entry.Number = *date;
    entry.SuggestedFormat = DateCode(locale);
    return entry;
  }
  if (const auto time = ParseTime(trimmed, locale)) {
    entry.Kind = TTypedEntry::TKind::Number;
    entry.Number = time->first;
    entry.SuggestedFormat = time->second ? "hh:mm:ss" : "hh:mm";
    if (time->first >= 1.0) entry.SuggestedFormat = time->second ? "[h]:mm:ss" : "[h]:mm";
    return entry;
  }
  const std::size_t blank = trimmed.find(' ');
  if (blank != std::string_view::npos) {
    const auto date = ParseDate(trimmed.substr(0, blank), locale);
    std::string_view rest = trimmed.substr(blank + 1);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    const auto time = date ? ParseTime(rest, locale) : std::nullopt;
    if (date && time && time->first < 1.0) {
      entry.Kind = TTypedEntry::TKind::Number;
      entry.Number = *date + time->first;
      entry.SuggestedFormat = DateCode(locale) + (time->second ? " hh:mm:ss" : " hh:mm");
      return entry;
    }
  }
  if (const auto number = ParseLocaleNumber(trimmed, locale)) return NumberEntry(trimmed, *number, locale.Decimal);
  entry.Kind = TTypedEntry::TKind::Text;
  entry.Text = std::string(text);
  return entry;
}

std::string ShortDateCode(const TFormatLocale& locale) { return DateCode(locale); }

TTypedEntry NumberEntry(std::string_view text, const TNumberRead& number, char decimal) {
  TTypedEntry entry;
  entry.Kind = TTypedEntry::TKind::Number;
  entry.Number = number.Number;
  if (number.Percent) entry.SuggestedFormat = text.find(decimal) == std::string_view::npos ? "0%" : "0.00%";
  return entry;
}

namespace {

// The general form with `digits` significant digits, trailing zeros
// dropped: fixed notation for decimal exponents from -9 to 14, else a
// mantissa and an exponent of at least two digits ("1,2345678901234568E+20").
std::string GeneralWithDigits(double value, int digits, const TFormatLocale& locale) {
  if (value == 0.0) return "0";
  char buffer[64];
  const auto printed = std::to_chars(buffer, buffer + sizeof buffer - 1, std::fabs(value),
                                     std::chars_format::scientific, std::clamp(digits, 1, 17) - 1);
  *printed.ptr = 0;
  std::string mantissa;
  const char* p = buffer;
  for (; *p != 0 && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') mantissa += *p;
  }
  const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  std::string text = value < 0 ? "-" : "";
  if (exponent >= -9 && exponent <= 14) {
    if (exponent >= 0) {
      const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
      if (mantissa.size() <= intDigits) {
        text += mantissa + std::string(intDigits - mantissa.size(), '0');
      } else {
        text += mantissa.substr(0, intDigits) + locale.Decimal + mantissa.substr(intDigits);
      }
    } else {
      text += std::string("0") + locale.Decimal + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    }
    return text;
  }
  text += mantissa.substr(0, 1);
  if (mantissa.size() > 1) text += locale.Decimal + mantissa.substr(1);
  std::string e = std::to_string(std::abs(exponent));
  if (e.size() < 2) e.insert(e.begin(), '0');
  return text + "E" + (exponent < 0 ? "-" : "+") + e;
}

// The shortest general form from 15 significant digits on that reads back
// as exactly the value (17 digits always do). With a percent format the
// value is shown times 100 with a '%', when that reads back exactly too.
std::string RoundTripNumberEntry(double value, bool percent, const TFormatLocale& locale) {
  if (!std::isfinite(value)) return FormatGeneral(value, locale, 15);
  if (percent) {
    for (int digits = 15; digits <= 17; ++digits) {
      const std::string text = GeneralWithDigits(value * 100.0, digits, locale) + "%";
      const TTypedEntry back = ParseTypedEntry(text, locale);
      if (back.Kind == TTypedEntry::TKind::Number && back.Number == value) return text;
    }
  }
  for (int digits = 15; digits < 17; ++digits) {
    const std::string text = GeneralWithDigits(value, digits, locale);
    const auto back = ParseLocaleNumber(text, locale);
    if (back && back->Number == value) return text;
  }
  return GeneralWithDigits(value, 17, locale);
}

// The typed form of a date, a time or both that reads back as the value:
// with seconds, then with microseconds (within half a microsecond). Empty
// when none does (a date out of the typed range, a time beyond a day).
std::string DateTimeEntry(double value, bool withDate, bool withTime, const TFormatLocale& locale) {
  if (!std::isfinite(value)) return {};
  const std::string date = withDate ? DateCode(locale) : std::string();
  std::vector<std::string> codes;
  // A time is given to the microsecond, and with the coarsest of these
  // forms that shows it so: a serial a rounding step or two away from a
  // whole second (12:30 written by another program as 0.5208333333333334,
  // where 12:30:00 reads back as 0.5208333333333333; at today's dates a
  // step of the serial is some 0.6 microseconds) is that second, not
  // 12:30:00.000001.
  // The microsecond form itself must read back within half a microsecond,
  // else the general number is the entry.
  const double magnitude = std::fabs(value);
  const double halfMicrosecond = 0.5e-6 / 86400.0;  // days
  const double roundingSteps =
      std::max(halfMicrosecond, 2.0 * (std::nextafter(magnitude, std::numeric_limits<double>::infinity()) - magnitude));
  if (withDate && !withTime && std::fabs(value - std::round(value)) <= roundingSteps) codes.push_back(date);
  const std::string joint = withDate ? date + " " : std::string();
  codes.push_back(joint + "hh:mm:ss");
  codes.push_back(joint + "hh:mm:ss.000000");
  for (std::size_t k = 0; k < codes.size(); ++k) {
    const std::string text = internal::RenderDateTime(value, codes[k], locale);
    const TTypedEntry back = ParseTypedEntry(text, locale);
    if (back.Kind != TTypedEntry::TKind::Number) continue;
    const double tolerance = k + 1 == codes.size() ? halfMicrosecond : roundingSteps;
    if (back.Number == value || std::fabs(back.Number - value) <= tolerance) return text;
  }
  return {};
}

}  // namespace

std::string EntryTextForNumber(double value, std::string_view canonicalCode, const TFormatLocale& locale) {
  std::string text;
  switch (ClassifyFormat(canonicalCode)) {
    case TFormatClass::Date:
      text = DateTimeEntry(value, true, false, locale);
      break;
    case TFormatClass::Time:
      if (value >= 0.0 && value < 1.0) text = DateTimeEntry(value, false, true, locale);
      break;
    case TFormatClass::DateTime:
      text = DateTimeEntry(value, true, true, locale);
      break;
    case TFormatClass::Number:
      return RoundTripNumberEntry(value, canonicalCode.find('%') != std::string_view::npos, locale);
    default:
      break;
  }
  return text.empty() ? RoundTripNumberEntry(value, false, locale) : text;
}

}  // namespace kvx::workbook
