#include "setup/edit_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/input_checks.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/messages.h"

namespace kvx {

namespace {

// A number with "." or "," as its mark, read without the C library's
// locale (a German desktop's LC_NUMERIC takes no ".").
bool ReadNumber(const std::string& text, double& x) {
  std::string t = text;
  for (char& c : t)
    if (c == ',') c = '.';
  double v = 0;
  if (!StrToFloatDot(t, v)) return false;
  x = v;
  return true;
}

bool ReadInteger(const std::string& text, long& x) {
  std::int32_t value = 0;
  if (!IsIntegerText(text) || !ReadWholeNumberText(text, value)) return false;
  x = value;
  return true;
}

bool IsSign(char c) { return c == '-' || c == '+'; }

}  // namespace

// --- integer and number boxes -------------------------------------------------

bool IntegerKeyAllowed(char key) { return IsSign(key) || (key >= '0' && key <= '9'); }

char FloatKeyFilter(char key, char separator) {
  if (key == ',' || key == '.') return separator;
  return IntegerKeyAllowed(key) ? key : '\0';
}

bool IsIntegerText(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsSign(c) && i == 0) continue;
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool ReadWholeNumberText(std::string_view text, std::int32_t& value) {
  std::size_t first = 0, end = text.size();
  while (first < end && text[first] == ' ') ++first;
  while (end > first && (text[end - 1] == ' ' || text[end - 1] == '\r')) --end;
  const bool negative = first < end && text[first] == '-';
  if (first < end && IsSign(text[first])) ++first;
  // from_chars takes no sign of its own here: "+-1" and "--1" stay no number.
  if (first == end || text[first] < '0' || text[first] > '9') return false;
  std::int64_t magnitude = 0;
  const auto [stop, error] = std::from_chars(text.data() + first, text.data() + end, magnitude);
  if (error != std::errc() || stop != text.data() + end) return false;
  const std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return false;
  value = static_cast<std::int32_t>(signedValue);
  return true;
}

bool IsFloatText(const std::string& text) {
  if (text.empty()) return true;
  double x = 0;
  if (!ReadNumber(text, x)) return false;
  // strtod also reads exponents, "inf" and hex: only digits, one mark, a sign.
  int marks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsSign(c) && i == 0) continue;
    if (c == '.' || c == ',') {
      if (++marks > 1) return false;
      continue;
    }
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// --- time of day -------------------------------------------------------------------

std::string NormalizeTimeHhMm(const std::string& text, char separator) {
  const std::string s = RemoveBlanks(text);
  const auto first = s.find(':');
  if (first == std::string::npos) return s;
  std::string out = s.substr(0, first) + separator;
  for (std::size_t i = first + 1; i < s.size(); ++i)
    if (s[i] != ':') out += s[i];
  std::size_t mark = first;
  if (first == 1) {
    out.insert(out.begin(), '0');
    ++mark;
  }
  while (out.size() > mark + 3) out.pop_back();
  return out;
}

std::string NormalizeTimeHhMmSs(const std::string& text, char separator) {
  const std::string blankless = RemoveBlanks(text);
  const auto first = blankless.find(':');
  if (first == std::string::npos) return blankless;
  // H:MM:SS to H.MMSS (a one-digit minute gets its zero); the point stands
  // where the first ":" stood.
  std::string s = HmsColonToNumberText(blankless);
  s[first] = separator;
  if (first == 1) s.insert(s.begin(), '0');
  return s;
}

bool AutomaticLengthAccepted(std::int32_t days, double packedHours, bool automaticEnd) {
  const double hours = PackedHoursToHours(packedHours);
  if (days < 0 || !(hours >= 0.0 && hours < 24.0)) return false;
  return !automaticEnd || days > 0 || hours > 0.0;
}

double PackedHoursToHours(double x) {
  const double a = std::fabs(x);
  const double whole = std::trunc(a);
  const double m100 = std::trunc(a * 100 + 1e-12) * 0.01;
  const double minutes = (m100 - std::trunc(m100)) * 100 / 60;
  // The guard against 0.5959999... must not leave a time of 0 above 0.
  const double s100 = a * 100 + 1e-12;
  const double seconds = std::max(0.0, s100 - std::trunc(s100) - 1e-12) / 36;
  const double h = whole + minutes + seconds;
  return x < 0 ? -h : h;
}

double HoursToPackedHours(double hours) {
  const double a = std::fabs(hours);
  if (!(a < 1e12)) return hours;  // no minutes and seconds to carry
  long total = static_cast<long>(a * 3600 + 0.005);
  long h = total / 3600;
  long m = (total / 60) % 60;
  long s = total % 60;
  if (s >= 60) {
    s -= 60;
    ++m;
  }
  if (m >= 60) {
    m -= 60;
    ++h;
  }
  const double packed = h + m / 100.0 + s / 10000.0;
  return hours < 0 ? -packed : packed;
}

double ReduceHours24(double hours) {
  double h = hours - 24.0 * std::trunc(hours / 24.0);
  if (h < 0) h += 24.0;
  if (h >= 24.0) h -= 24.0;
  return h;
}

bool TimeEditTextToHours(const std::string& text, bool withSeconds, double& hours) {
  const std::string normal = withSeconds ? NormalizeTimeHhMmSs(text, '.') : NormalizeTimeHhMm(text, '.');
  double packed = 0;
  if (!ReadNumber(normal, packed) || !IsFloatText(normal)) return false;
  // A time of day has at most two digits of hours (25:00 is read as 1 h).
  if (!(std::fabs(packed) < 100)) return false;
  hours = ReduceHours24(PackedHoursToHours(packed));
  return true;
}

long TimeOfDaySeconds(double hours) {
  const double h = ReduceHours24(hours);
  if (!(h >= 0.0 && h < 24.0)) return -1;
  long ms = static_cast<long>(std::floor(h * 3600000.0 + 0.5));
  if (ms >= 86400000L) ms = 86399999L;
  return ms / 1000;
}

std::string TimeOfDayText(double hours, bool withSeconds) {
  const long total = TimeOfDaySeconds(hours);
  if (total < 0) return withSeconds ? "--:--:--" : "--:--";
  char buffer[40];
  if (withSeconds) {
    std::snprintf(buffer, sizeof buffer, "%02ld:%02ld:%02ld", total / 3600, (total / 60) % 60, total % 60);
  } else {
    std::snprintf(buffer, sizeof buffer, "%02ld:%02ld", total / 3600, (total / 60) % 60);
  }
  return buffer;
}

// --- calendar date ----------------------------------------------------------------------

std::int32_t AstroDatePart(double jd, int n) {
  int day = 0, month = 0, year = 0;
  double hours = 0;
  JdToCalendarDate(day, month, year, hours, jd);
  switch (n) {
    case 1:
      return year;
    case 2:
      return month;
    case 3:
      return day;
    default:
      return -1;
  }
}

int DaysInMonth(int month, int year) {
  static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kLengths[month - 1] + (month == 2 && leap ? 1 : 0);
}

double AstroDateSetPart(double jd, int n, std::int32_t v) {
  int day = 0, month = 0, year = 0;
  double hours = 0;
  JdToCalendarDate(day, month, year, hours, jd);
  if (v <= 0) return jd;
  if (n == 1 && v != year)
    year = v;
  else if (n == 2 && v != month && v <= 12)
    month = v;
  else if (n == 3 && v != day && v <= DaysInMonth(month, year))
    day = v;
  else
    return jd;
  return CalendarDateToJd(day, month, year, 0.0);
}

bool AstroDateInRange(double jd) { return jd >= 0.0 && jd <= kAstroDateMaxJd; }

std::string AstroDateText(double jd) {
  const int year = AstroDatePart(jd, 1);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%d.%d.%s%04d", AstroDatePart(jd, 3), AstroDatePart(jd, 2), year < 0 ? "-" : "",
                std::abs(year));
  return buffer;
}

void ParseAstroDateParts(const std::string& text, double todayJd, std::int32_t& day, std::int32_t& month,
                         std::int32_t& year) {
  day = AstroDatePart(todayJd, 3);
  month = AstroDatePart(todayJd, 2);
  year = AstroDatePart(todayJd, 1);
  const auto d1 = text.find('.');
  const std::string dayText = text.substr(0, d1);
  std::string monthText, yearText;
  if (d1 != std::string::npos) {
    const auto d2 = text.find('.', d1 + 1);
    monthText = text.substr(d1 + 1, d2 == std::string::npos ? std::string::npos : d2 - d1 - 1);
    if (d2 != std::string::npos) yearText = text.substr(d2 + 1);
  }
  long v = 0;
  if (ReadInteger(dayText, v) && std::labs(v) < 100000) day = static_cast<int>(v);
  if (ReadInteger(monthText, v) && std::labs(v) < 100000) month = static_cast<int>(v);
  if (ReadInteger(yearText, v) && std::labs(v) < 1000000) {
    year = static_cast<int>(v);
    if (yearText.size() == 2 && yearText[0] != '-') year = (AstroDatePart(todayJd, 1) / 100) * 100 + year;
  }
}

double ParseAstroDateText(const std::string& text, double todayJd) {
  std::int32_t day = 1, month = 1, year = 2000;
  ParseAstroDateParts(text, todayJd, day, month, year);
  return CalendarDateToJd(day, month, year, 0.0);
}

void ShowAstroDateOutOfRange() {
  CurrentMessageSink().Show("Enter an earlier resp. later Date. Geben Sie bitte ein früheres bzw. späteres Datum ein.",
                            "Invalid Date. Datum außerhalb des Gültigkeitsbereichs", MessageIcon::Error,
                            MessageButtons::Ok);
}

// --- finding a text in a list ------------------------------------------------------------

int FindBestListMatch(const std::string& text, const std::vector<std::string>& items) {
  if (text.empty()) return -1;
  const std::string needle = LowerText(text);
  std::size_t bestPosition = 1000000;
  std::size_t bestLength = 100000;
  int best = -1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string item = LowerText(items[i]);
    const auto found = item.find(needle);
    if (found == std::string::npos) continue;
    const std::size_t p = found + 1;
    if (p < bestPosition || item.size() < bestLength) {
      best = static_cast<int>(i);
      bestPosition = p;
      bestLength = item.size();
    }
  }
  return best;
}

}  // namespace kvx

namespace kvx {

bool ParseDottedDate(const std::string& text, std::int32_t& day, std::int32_t& month, std::int32_t& year) {
  const std::string t = RemoveBlanks(text);
  const auto d1 = t.find('.');
  if (d1 == std::string::npos) return false;
  const auto d2 = t.find('.', d1 + 1);
  if (d2 == std::string::npos) return false;
  long d = 0, m = 0, y = 0;
  if (!ReadInteger(t.substr(0, d1), d) || !ReadInteger(t.substr(d1 + 1, d2 - d1 - 1), m) ||
      !ReadInteger(t.substr(d2 + 1), y))
    return false;
  if (std::labs(d) > 99999 || std::labs(m) > 99999 || std::labs(y) > 9999999) return false;
  day = static_cast<std::int32_t>(d);
  month = static_cast<std::int32_t>(m);
  year = static_cast<std::int32_t>(y);
  return true;
}

}  // namespace kvx

namespace kvx {

bool ReadDegreeText(const std::string& text, double& degrees) {
  std::uint8_t isDecimal = 1;
  std::string number;
  ParseDegreeText(text, isDecimal, number);
  double x = 0;
  if (!ReadNumber(number, x) || !IsFloatText(number)) return false;
  degrees = isDecimal != 0 ? x : DmsPackedToDeg(x);
  return std::isfinite(degrees);
}

namespace {

bool ReadCoordinateText(const std::string& text, double limit, void (*notANumber)(const std::string&),
                        void (*outOfRange)(), double& degrees) {
  double x = 0;
  if (!ReadDegreeText(text, x)) {
    notANumber(text);
    return false;
  }
  if (std::fabs(x) > limit) {
    outOfRange();
    return false;
  }
  degrees = x;
  return true;
}

}  // namespace

bool ReadLatitudeText(const std::string& text, double& degrees) {
  return ReadCoordinateText(text, 90.0, ShowLatitudeNotANumber, ShowLatitudeRangeError, degrees);
}

bool ReadLongitudeText(const std::string& text, double& degrees) {
  return ReadCoordinateText(text, 180.0, ShowLongitudeNotANumber, ShowLongitudeRangeError, degrees);
}

std::string DegreesArcText(double degrees) {
  return DmsArcText(TrimBlanks(FormatFixed(DegToDmsPackedSec(degrees), 0, 4)));
}

}  // namespace kvx
