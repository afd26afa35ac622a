// Date and time texts and the date parser (declared in text_conversion.h).
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/name_tables.h"
#include "core/pointed_date.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/number_text.h"

namespace kvx {

namespace {

bool GregorianLeap(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int month, bool leap) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// Day, month and year joined by `separator` in the order of the desktop's
// short date.
std::string InDateOrder(const std::string& day, const std::string& month, const std::string& year, char separator) {
  const std::string sep(1, separator);
  switch (IntlSeparators.DateOrder) {
    case TShortDateOrder::MonthDayYear:
      return month + sep + day + sep + year;
    case TShortDateOrder::YearMonthDay:
      return year + sep + month + sep + day;
    case TShortDateOrder::DayMonthYear:
      break;
  }
  return day + sep + month + sep + year;
}

std::string ShortFormDate(std::int32_t day, std::int32_t month, std::int32_t year) {
  return InDateOrder(TwoDigits(day), TwoDigits(month), ZeroPaddedText(year, 4), IntlSeparators.Date);
}

// Hours of a day as milliseconds after midnight (the sign ignored), as the
// time formatter of the sheet reads a fraction of a day.
long long DayMilliseconds(double hours) {
  double a = std::fmod(std::fabs(hours), 24.0);
  long long ms = std::llround(a / 24.0 * 86400000.0);
  return ms >= 86400000LL ? ms - 86400000LL : ms;
}

// A whole number as the run-time's integer Val reads it: leading blanks, an
// optional sign, digits, nothing after.
bool ValInteger(const std::string& text, std::int64_t& n) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return false;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  if (i >= text.size() || text.size() - i > 10) return false;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  n = negative ? -v : v;
  return true;
}

// True for a day and month that can stand in a date text; the calendar
// conversion gives day and month 0 for an instant that has no date.
bool HasDayAndMonth(std::int32_t day, std::int32_t month) { return month >= 1 && month <= 12 && day >= 1 && day <= 31; }

constexpr const char* kNoValue = "--";

}  // namespace

bool IsShortFormDate(std::int32_t day, std::int32_t month, std::int32_t year) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  return day <= DaysInMonth(month, GregorianLeap(year));
}

bool IsCalendarDate(std::int32_t day, std::int32_t month, std::int32_t year) {
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = year < 1582 ? FlooredModulo(year, 4) == 0 : GregorianLeap(year);
  return day <= DaysInMonth(month, leap);
}

bool DateExists(std::int32_t day, std::int32_t month, std::int32_t year) {
  if (year == 1582 && month == 10 && day >= 5 && day <= 14) return false;
  return IsCalendarDate(day, month, year);
}

namespace {

// DatePaddedText joined by `separator`.
std::string PaddedDate(std::int32_t day, std::int32_t month, std::int32_t year, char separator) {
  return HasDayAndMonth(day, month) ? InDateOrder(TwoDigits(day), TwoDigits(month), ZeroPaddedText(year, 4), separator)
                                    : kNoValue;
}

}  // namespace

void DatePaddedText(std::int32_t day, std::int32_t month, std::int32_t year, std::string& s) {
  s = PaddedDate(day, month, year, IntlSeparators.Date);
}

std::string PointedDayMonthYear(std::int32_t day, std::int32_t month, std::int32_t year) {
  if (!HasDayAndMonth(day, month)) return kNoValue;
  return TwoDigits(day) + "." + TwoDigits(month) + "." + ZeroPaddedText(year, 4);
}

void DateText(std::int32_t day, std::int32_t month, std::int32_t year, std::int32_t weekdayIndex, char separator,
              std::string& s) {
  if (!HasDayAndMonth(day, month)) {
    s = kNoValue;
    return;
  }
  // 15 October 1582, the first Gregorian day, and later.
  const bool gregorianEra = year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)));
  if (gregorianEra && IsShortFormDate(day, month, year)) {
    s = ShortFormDate(day, month, year);
    return;
  }
  s = PaddedDate(day, month, year, separator);
  if (weekdayIndex >= 0) s = WeekdayName(weekdayIndex) + ", " + s;
}

void DateToText(std::int32_t day, std::int32_t month, std::int32_t year, std::string& s, char separator) {
  if (!HasDayAndMonth(day, month)) {
    s = kNoValue;
    return;
  }
  if (IsShortFormDate(day, month, year)) {
    s = ShortFormDate(day, month, year);
    return;
  }
  s = InDateOrder(WholeNumberText(day), WholeNumberText(month), WholeNumberText(year), separator);
}

void ObserverDateText(const TObserverRecord& r, std::string& s) {
  DateText(r.Day, r.Month, r.Year, r.Weekday, IntlSeparators.Date, s);
}

void ObserverDateTimeText(const TObserverRecord& r, std::string& s) {
  std::string date, time;
  DateToText(r.Day, r.Month, r.Year, date, IntlSeparators.Date);
  HourToTimeText(r.LocalHours, time);
  const std::string weekday = HasDayAndMonth(r.Day, r.Month) ? WeekdayName(r.Weekday) : std::string(kNoValue);
  s = weekday + ", " + date + " " + time + " ";
  if (ZoneBeyondNames(r.Zone, r.ZoneMinutes)) {
    s += ZoneOffsetName(r.Zone, r.ZoneMinutes);
  } else {
    s += ZoneName(r.Zone);
    if (r.ZoneMinutes != 0) s += std::to_string(r.ZoneMinutes) + "min";
  }
}

void HourToTimeText(double hours, std::string& s) {
  if (!std::isfinite(hours)) {
    s = std::string(kNoValue) + IntlSeparators.Time + kNoValue;
    return;
  }
  double a = std::fabs(hours) + 1.0 / 120.0;
  if (a >= 24.0) a = std::fabs(hours);
  const long long ms = DayMilliseconds(a);
  const std::string sep(1, IntlSeparators.Time);
  s = TwoDigits(ms / 3600000) + sep + TwoDigits(ms / 60000 % 60);
}

void HourToTimeStr(double hours, std::string& s) {
  if (!std::isfinite(hours)) {
    s = std::string(kNoValue) + IntlSeparators.Time + kNoValue + IntlSeparators.Time + kNoValue;
    return;
  }
  const long long ms = DayMilliseconds(hours);
  const std::string sep(1, IntlSeparators.Time);
  s = TwoDigits(ms / 3600000) + sep + TwoDigits(ms / 60000 % 60) + sep + TwoDigits(ms / 1000 % 60);
}

namespace {

// Day, month and year of a typed date with today's parts as defaults; the
// day 1..31 and the month 1..12 whatever the month's length.
bool ReadDatePartsOn(const std::string& text, std::int32_t todayDay, std::int32_t todayMonth, std::int32_t todayYear,
                     std::int32_t& day, std::int32_t& month, std::int32_t& year) {
  std::int64_t d = todayDay, m = todayMonth, y = todayYear;
  std::size_t p = text.find('.');
  if (p == std::string::npos || p == 0) return false;
  if (!ValInteger(text.substr(0, p), d)) return false;
  std::string rest = text.substr(p + 1);
  std::size_t p2 = rest.find('.');
  if (p2 != std::string::npos) {
    if (p2 > 0 && !ValInteger(rest.substr(0, p2), m)) return false;
    rest = rest.substr(p2 + 1);
  }
  if (!rest.empty()) {
    double yearValue = 0.0;
    if (!ValReal(rest, yearValue)) return false;
    // Checked before the conversion: 1e30 or NaN has no integer year.
    if (!(std::fabs(std::trunc(yearValue)) < kDateYearLimit)) return false;
    y = static_cast<std::int64_t>(std::trunc(yearValue));
    if (rest.size() == 2) y += todayYear / 100 * 100;
    if (std::llabs(y) >= 32000) return false;
  }
  if (d < 1 || d > 31 || m < 1 || m > 12) return false;
  day = static_cast<std::int32_t>(d);
  month = static_cast<std::int32_t>(m);
  year = static_cast<std::int32_t>(y);
  return true;
}

}  // namespace

bool ParseDateTextOn(const std::string& text, std::int32_t todayDay, std::int32_t todayMonth, std::int32_t todayYear,
                     std::int32_t& day, std::int32_t& month, std::int32_t& year) {
  std::int32_t d = 0, m = 0, y = 0;
  if (!ReadDatePartsOn(text, todayDay, todayMonth, todayYear, d, m, y) || !IsCalendarDate(d, m, y)) return false;
  day = d;
  month = m;
  year = y;
  return true;
}

bool ReadDateText(const std::string& text, std::int32_t& day, std::int32_t& month, std::int32_t& year) {
  int d = 1, m = 1, y = 2000;
  double hours = 0;
  CurrentDateAndHours(d, m, y, hours);
  return ReadDatePartsOn(text, d, m, y, day, month, year);
}

bool ParseDateText(const std::string& text, std::int32_t& day, std::int32_t& month, std::int32_t& year) {
  int d = 1, m = 1, y = 2000;
  double hours = 0;
  CurrentDateAndHours(d, m, y, hours);
  return ParseDateTextOn(text, d, m, y, day, month, year);
}

}  // namespace kvx
