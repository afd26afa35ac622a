// Checks of typed numbers shared by the set-up dialogs: numbers with the
// locale's decimal separator, Julian dates, table intervals and the date with
// a day fraction. Each returns true with the value, or false; the messages
// are the dialogs' own texts in both languages.
#pragma once

#include <cstdint>
#include <string>

namespace kvx {

// Accepted Julian dates (days): 1 <= JD <= 5373484.4583.
inline constexpr double kEarliestEntryJd = 1.0;
inline constexpr double kLatestEntryJd = 5373484.4583;

// A plain decimal number (optional sign, digits, one decimal mark that may
// be the locale's separator, "," or ".", optional exponent), blanks around
// it allowed. No "inf", "nan" or hexadecimal forms.
bool ParseLocaleNumber(const std::string& text, double& value);

// The text is a Julian date within the accepted range.
bool ParseEntryJulianDate(const std::string& text, double& jd);

// Julian date message (error icon) of the period dialog's start (`end`
// false) and end fields and of the Julian date dialog (`julianDateDialog`).
void ShowJulianDateRangeError(bool end, bool julianDateDialog = false);

// Interval in days above 0.
bool ParseTableInterval(const std::string& text, double& days);
void ShowIntervalError();
void ShowEndBeforeStartError();

// Days of `month` in `year` (astronomical numbering): the Julian leap rule
// up to 1582, the Gregorian one after; October 1582 counts 31 days, as the
// day numbers run on to 31.
int MonthLength(int year, int month);

// The date with a day fraction: year -4712 .. 20000, month 1 .. 12 and
// day 0 <= d < month length + 1. Messages name the real limits.
inline constexpr int kEarliestEntryYear = -4712;
inline constexpr int kLatestEntryYear = 20000;
bool ParseEntryYear(const std::string& text, std::int32_t& year);
bool ParseEntryMonth(const std::string& text, std::int32_t& month);
bool ParseDayWithFraction(const std::string& text, int year, int month, double& day);
// A time of day typed as h, h:mm or h:mm:ss (seconds may have decimals;
// ":" or the locale's time separator); decimal hours 0 <= h < 24.
bool ParseClockText(const std::string& text, double& hours);

void ShowEntryYearError();
void ShowEntryMonthError();
void ShowDayFractionError(int year, int month);

}  // namespace kvx
