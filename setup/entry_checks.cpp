#include "setup/entry_checks.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

namespace {

constexpr const char* kApplicationTitle = "Kandrevoltinex";

bool ParseWhole(const std::string& text, std::int32_t& value) {
  double number = 0;
  if (!ParseLocaleNumber(text, number) || number != std::floor(number) || std::fabs(number) > 2.0e9) return false;
  value = static_cast<std::int32_t>(number);
  return true;
}

}  // namespace

bool ParseLocaleNumber(const std::string& text, double& value) {
  std::string number = TrimBlanks(text);
  bool seenMark = false;
  for (char& c : number) {
    if (c == ',' || c == '.' || c == IntlSeparators.Decimal) {
      if (seenMark) return false;
      seenMark = true;
      c = '.';
    } else if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == 'e' || c == 'E')) {
      return false;
    }
  }
  double parsed = 0;
  if (!StrToFloatDot(number, parsed)) return false;
  value = parsed;
  return true;
}

bool ParseEntryJulianDate(const std::string& text, double& jd) {
  double value = 0;
  if (!ParseLocaleNumber(text, value) || value < kEarliestEntryJd || value > kLatestEntryJd) return false;
  jd = value;
  return true;
}

void ShowJulianDateRangeError(bool end, bool julianDateDialog) {
  const char* englishCaption =
      (end || julianDateDialog) ? "Error while entering Julian Date" : "Error while entering the Julian Date";
  ShowMessage("Julianisches Datum muß>=1 und <=5373484 sein!", "Julian Date must be >=1 and <=5373484!",
              MessageIcon::Error, MessageButtons::Ok,
              LanguageEnglish != 0 ? englishCaption : "Fehler bei Eingabe des julianischen Datums");
}

bool ParseTableInterval(const std::string& text, double& days) {
  double value = 0;
  if (!ParseLocaleNumber(text, value) || !(value > 0)) return false;
  days = value;
  return true;
}

void ShowIntervalError() {
  ShowMessage("Das Intervall (in Tagen) zwischen zwei Tabellenwerten muß positiv sein!",
              "Interval (days) must be positive!", MessageIcon::Error, MessageButtons::Ok,
              LanguageEnglish != 0 ? "Error while entering interval" : "Fehler bei Eingabe des Zeitintervalls");
}

void ShowEndBeforeStartError() {
  ShowMessage("Enddatum muß später als Anfangsdatum liegen!", "End date must be later than start date!",
              MessageIcon::Error);
}

int MonthLength(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month != 2) return kDays[month - 1];
  const bool divisibleBy4 = ((year % 4) + 4) % 4 == 0;
  const bool leap = year <= 1582 ? divisibleBy4 : (divisibleBy4 && (year % 100 != 0 || year % 400 == 0));
  return leap ? 29 : 28;
}

bool ParseEntryYear(const std::string& text, std::int32_t& year) {
  std::int32_t value = 0;
  if (!ParseWhole(text, value) || value < kEarliestEntryYear || value > kLatestEntryYear) return false;
  year = value;
  return true;
}

bool ParseEntryMonth(const std::string& text, std::int32_t& month) {
  std::int32_t value = 0;
  if (!ParseWhole(text, value) || value < 1 || value > 12) return false;
  month = value;
  return true;
}

bool ParseDayWithFraction(const std::string& text, int year, int month, double& day) {
  double value = 0;
  if (!ParseLocaleNumber(text, value) || value < 0 || value >= MonthLength(year, month) + 1) return false;
  day = value;
  return true;
}

bool ParseClockText(const std::string& text, double& hours) {
  std::string rest = TrimBlanks(text);
  for (char& c : rest) {
    if (c == IntlSeparators.Time) c = ':';
  }
  double parts[3] = {0, 0, 0};
  int count = 0;
  std::size_t start = 0;
  while (count < 3) {
    const std::size_t colon = rest.find(':', start);
    const std::string part = rest.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    double value = 0;
    if (part.empty() || !ParseLocaleNumber(part, value) || value < 0) return false;
    if (colon != std::string::npos && value != std::floor(value)) return false;  // decimals only in the last part
    parts[count++] = value;
    if (colon == std::string::npos) break;
    start = colon + 1;
    if (count == 3) return false;
  }
  if (parts[0] >= 24 || parts[1] >= 60 || parts[2] >= 60) return false;
  hours = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
  return true;
}

void ShowEntryYearError() {
  ShowMessage("Jahr: muß >=-4712 und <=20000 sein!", "Year: must be >=-4712 and <=20000.", MessageIcon::Error,
              MessageButtons::Ok, kApplicationTitle);
}

void ShowEntryMonthError() {
  ShowMessage("Monat: Bitte Ganzzahl >=1 und <=12 eingeben!", "Month: must be >=1 and <=12.", MessageIcon::Error,
              MessageButtons::Ok, kApplicationTitle);
}

void ShowDayFractionError(int year, int month) {
  const std::string limit = std::to_string(MonthLength(year, month) + 1);
  ShowMessage("Tagesbruchteil: muß >=0 und <" + limit + " sein!", "Fractions of day: must be >=0 and <" + limit + ".",
              MessageIcon::Error, MessageButtons::Ok, kApplicationTitle);
}

}  // namespace kvx
