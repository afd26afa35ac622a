#include "platform/workbook/number_format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/globals.h"
#include "platform/number_text.h"

namespace kvx::workbook {

TFormatLocale TFormatLocale::FromGlobals() {
  TFormatLocale locale;
  locale.Decimal = IntlSeparators.Decimal;
  locale.Thousands = IntlSeparators.Thousands;
  locale.Date = IntlSeparators.Date;
  locale.Time = IntlSeparators.Time;
  locale.English = LanguageEnglish != 0;
  locale.DateOrder = IntlSeparators.DateOrder;
  // A thousands separator equal to the decimal one would make numbers
  // unreadable: the other of '.' and ',' is used then.
  if (locale.Thousands == locale.Decimal) locale.Thousands = locale.Decimal == ',' ? '.' : ',';
  return locale;
}

namespace {

char Lower(char c) { return AsciiLower(c); }

// Splits a code into its sections at ';' outside quotes, brackets and escapes.
std::vector<std::string_view> SplitSections(std::string_view code) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  bool quoted = false;
  bool bracket = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (quoted) {
      if (c == '"') quoted = false;
    } else if (bracket) {
      if (c == ']') bracket = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == '[') {
      bracket = true;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == ';') {
      sections.push_back(code.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(code.substr(start));
  return sections;
}

// True when the section shows a date or time: it holds y, m, d, h or s
// outside quotes, brackets with colours and escapes ("[h]" counts).
bool IsDateTimeSection(std::string_view section) {
  bool quoted = false;
  for (std::size_t i = 0; i < section.size(); ++i) {
    const char c = section[i];
    if (quoted) {
      if (c == '"') quoted = false;
      continue;
    }
    if (c == '"') {
      quoted = true;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == '[') {
      const std::size_t end = section.find(']', i);
      if (end == std::string_view::npos) return false;
      const std::string_view inner = section.substr(i + 1, end - i - 1);
      if (!inner.empty() && (Lower(inner[0]) == 'h' || Lower(inner[0]) == 'm' || Lower(inner[0]) == 's') &&
          inner.find_first_not_of("hHmMsS") == std::string_view::npos) {
        return true;
      }
      i = end;
    } else {
      const char l = Lower(c);
      if (l == 'y' || l == 'm' || l == 'd' || l == 'h' || l == 's') return true;
    }
  }
  return false;
}

// Calls visit(i) for every character of a section outside double quotes;
// the quotes themselves, a backslash and the character it escapes are
// passed over.
template <class Visit>
void ForEachUnquoted(std::string_view section, Visit visit) {
  bool quoted = false;
  for (std::size_t i = 0; i < section.size(); ++i) {
    const char c = section[i];
    if (quoted) {
      if (c == '"') quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == '\\') {
      ++i;
    } else {
      visit(i);
    }
  }
}

bool IsGeneralSection(std::string_view section) {
  std::string lower;
  for (char c : section) lower += Lower(c);
  return lower.empty() || lower == "general" || lower == "standard";
}

// Swaps the decimal and thousands characters of number sections.
std::string TranslateSeparators(std::string_view code, char fromDecimal, char fromThousands, char toDecimal,
                                char toThousands) {
  if (fromDecimal == toDecimal && fromThousands == toThousands) return std::string(code);
  std::string result;
  const auto sections = SplitSections(code);
  for (std::size_t s = 0; s < sections.size(); ++s) {
    if (s > 0) result += ';';
    const std::string_view section = sections[s];
    if (IsDateTimeSection(section)) {
      result += section;
      continue;
    }
    bool quoted = false;
    for (std::size_t i = 0; i < section.size(); ++i) {
      const char c = section[i];
      if (quoted) {
        result += c;
        if (c == '"') quoted = false;
      } else if (c == '"') {
        quoted = true;
        result += c;
      } else if (c == '\\' || c == '_' || c == '*') {
        result += c;
        if (i + 1 < section.size()) result += section[++i];
      } else if (c == '[') {
        const std::size_t end = section.find(']', i);
        const std::size_t stop = end == std::string_view::npos ? section.size() : end + 1;
        result += section.substr(i, stop - i);
        i = stop - 1;
      } else if (c == fromDecimal) {
        result += toDecimal;
      } else if (c == fromThousands) {
        result += toThousands;
      } else {
        result += c;
      }
    }
  }
  return result;
}

// ---------------------------------------------------------------- rendering

void ClearNegativeZero(std::string& text) {
  // "-0", "-0.00", "-0E+00" are shown without the sign.
  if (text.empty() || text[0] != '-') return;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '1' && c <= '9') return;
    if (c == 'E' || c == 'e') break;
  }
  text.erase(0, 1);
}

std::string GroupThousands(const std::string& digits, char separator) {
  std::string grouped;
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    grouped += digits[i];
    const std::size_t left = n - i - 1;
    if (left > 0 && left % 3 == 0) grouped += separator;
  }
  return grouped;
}

// The most decimals a fixed rendering produces; the placeholders of a
// format beyond them show zeros. Values below 1e-340 show as zero anyway.
constexpr int kMaxFixedDecimals = 360;

// v * 10^n without an overflow or underflow of the power of ten itself
// (10^-324 is zero as a double, 10^309 infinite).
double ScaleByPowerOfTen(double v, int n) {
  while (n > 300) {
    v *= 1e300;
    n -= 300;
  }
  while (n < -300) {
    v /= 1e300;
    n += 300;
  }
  return v * std::pow(10.0, n);
}

// Fixed notation of a non-negative value with `decimals` decimals, rounded
// half away from zero on the value's 15 significant decimal digits (so that
// 2.5 shows 3 and 1.005 shows 1.01, as a spreadsheet user expects, where
// printf would round the binary value half to even).
// Decimals beyond the 15 significant digits come out as zeros; a value that
// is not finite gives "0" (callers show those as errors before they get here).
std::string FixedDecimal(double v, int decimals) {
  decimals = std::clamp(decimals, 0, kMaxFixedDecimals);
  if (v == 0.0 || !std::isfinite(v)) v = 0.0;
  char buffer[64];
  {
    // Fifteen significant digits, correctly rounded (as printf's "%.14e").
    const auto r = std::to_chars(buffer, buffer + sizeof buffer - 1, v, std::chars_format::scientific, 14);
    *r.ptr = 0;
  }
  std::string mantissa;
  for (const char* p = buffer; *p != 0 && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') mantissa += *p;
  }
  const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
  // digits of the value: mantissa * 10^(exponent - 14); the units digit
  // sits at index `exponent` of the mantissa.
  const int keep = exponent + 1 + decimals;  // digits kept from the mantissa's start
  std::string digits;
  if (keep < 0) {
    digits = "0";
  } else {
    digits = keep >= static_cast<int>(mantissa.size()) ? mantissa + std::string(keep - mantissa.size(), '0')
                                                       : mantissa.substr(0, keep);
    if (keep < static_cast<int>(mantissa.size()) && mantissa[keep] >= '5') {
      int i = static_cast<int>(digits.size()) - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {
        digits.insert(digits.begin(), '1');
      }
    }
    if (digits.empty()) digits.push_back('0');
  }
  // digits holds the value times 10^decimals as an integer.
  if (static_cast<int>(digits.size()) <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
  std::string intPart = digits.substr(0, digits.size() - decimals);
  const std::size_t nonZero = intPart.find_first_not_of('0');
  intPart = nonZero == std::string::npos ? "0" : intPart.substr(nonZero);
  if (decimals == 0) return intPart;
  return intPart + "." + digits.substr(digits.size() - decimals);
}

struct Token {
  enum class TType { Literal, IntDigit, Decimal, FracDigit, ExpDigit, ExpMark } Type;
  std::string Text;  // literal text, or the placeholder character
};

struct NumberSection {
  std::vector<Token> Tokens;
  bool Grouping = false;
  int Percent = 0;
  int Scale = 0;  // trailing commas: value / 1000 each
  bool Exponent = false;
  bool ExpPlus = false;  // "E+": always show the sign of the exponent
  bool HasDecimal = false;
  bool IsText = false;  // '@' present
};

// The literal text a format code holds at i: a quoted string, the character
// after a backslash, or the blank that "_x" leaves for the width of x. Moves
// i to the last character read and returns true, `text` unset for a
// backslash at the very end; false, i unchanged, when i starts none of them.
bool ReadLiteral(std::string_view section, std::size_t& i, std::optional<std::string_view>& text) {
  text.reset();
  const char c = section[i];
  if (c == '"') {
    const std::size_t end = section.find('"', i + 1);
    const std::size_t stop = end == std::string_view::npos ? section.size() : end;
    text = section.substr(i + 1, stop - i - 1);
    i = stop;
    return true;
  }
  if (c == '\\') {
    if (i + 1 < section.size()) text = section.substr(++i, 1);
    return true;
  }
  if (c == '_') {
    ++i;
    text = " ";
    return true;
  }
  return false;
}

NumberSection ParseNumberSection(std::string_view section) {
  NumberSection parsed;
  bool afterDecimal = false;
  bool afterExp = false;
  auto addLiteral = [&](std::string text) {
    if (!parsed.Tokens.empty() && parsed.Tokens.back().Type == Token::TType::Literal) {
      parsed.Tokens.back().Text += text;
    } else {
      parsed.Tokens.push_back({Token::TType::Literal, std::move(text)});
    }
  };
  auto isPlaceholder = [](char c) { return c == '0' || c == '#' || c == '?'; };
  for (std::size_t i = 0; i < section.size(); ++i) {
    const char c = section[i];
    if (std::optional<std::string_view> literal; ReadLiteral(section, i, literal)) {
      if (literal) addLiteral(std::string(*literal));
    } else if (c == '*') {
      ++i;  // fill character: no meaning without a column width
    } else if (c == '[') {
      const std::size_t end = section.find(']', i);
      i = end == std::string_view::npos ? section.size() : end;
    } else if (isPlaceholder(c)) {
      if (afterExp) {
        parsed.Tokens.push_back({Token::TType::ExpDigit, std::string(1, c)});
      } else if (afterDecimal) {
        parsed.Tokens.push_back({Token::TType::FracDigit, std::string(1, c)});
      } else {
        parsed.Tokens.push_back({Token::TType::IntDigit, std::string(1, c)});
      }
    } else if (c == '.' && !afterDecimal && !afterExp) {
      afterDecimal = true;
      parsed.HasDecimal = true;
      parsed.Tokens.push_back({Token::TType::Decimal, "."});
    } else if (c == ',') {
      const bool prevDigit = !parsed.Tokens.empty() && (parsed.Tokens.back().Type == Token::TType::IntDigit);
      const bool nextDigit = i + 1 < section.size() && isPlaceholder(section[i + 1]);
      if (prevDigit && nextDigit && !afterDecimal) {
        parsed.Grouping = true;
      } else if (!parsed.Tokens.empty() && (parsed.Tokens.back().Type == Token::TType::IntDigit ||
                                            parsed.Tokens.back().Type == Token::TType::FracDigit)) {
        ++parsed.Scale;
      } else {
        addLiteral(",");
      }
    } else if (c == '%') {
      ++parsed.Percent;
      addLiteral("%");
    } else if ((c == 'E' || c == 'e') && i + 1 < section.size() && (section[i + 1] == '+' || section[i + 1] == '-')) {
      parsed.Exponent = true;
      parsed.ExpPlus = section[i + 1] == '+';
      afterExp = true;
      parsed.Tokens.push_back({Token::TType::ExpMark, "E"});
      ++i;
    } else if (c == '@') {
      parsed.IsText = true;
      addLiteral("@");
    } else {
      addLiteral(std::string(1, c));
    }
  }
  return parsed;
}

std::string RenderNumberSection(double value, const NumberSection& section, bool showSign,
                                const TFormatLocale& locale) {
  double v = std::fabs(value);
  for (int i = 0; i < section.Percent; ++i) v *= 100.0;
  for (int i = 0; i < section.Scale; ++i) v /= 1000.0;

  std::string intTemplate;
  std::string fracTemplate;
  std::string expTemplate;
  for (const Token& t : section.Tokens) {
    if (t.Type == Token::TType::IntDigit) intTemplate += t.Text;
    if (t.Type == Token::TType::FracDigit) fracTemplate += t.Text;
    if (t.Type == Token::TType::ExpDigit) expTemplate += t.Text;
  }
  const int fracCount = static_cast<int>(fracTemplate.size());

  int exponent = 0;
  if (section.Exponent && v != 0.0 && std::isfinite(v)) {
    const int intCount = std::max<int>(1, static_cast<int>(intTemplate.size()));
    // Engineering-style codes ("##0.0E+0") keep the exponent a multiple of
    // the integer placeholder count when it holds a '#'.
    const bool multiple = intTemplate.find('#') != std::string::npos && intCount > 1;
    int e = static_cast<int>(std::floor(std::log10(v)));
    if (multiple) {
      e = static_cast<int>(std::floor(static_cast<double>(e) / intCount)) * intCount;
    } else {
      e -= (std::max<int>(1, static_cast<int>(std::count(intTemplate.begin(), intTemplate.end(), '0'))) - 1);
    }
    exponent = e;
    v = ScaleByPowerOfTen(v, -e);
    // Rounding may carry into one more integer digit (9.99 -> 10.0).
    double rounded = 0.0;
    if (std::isfinite(v)) {
      const std::string fixed = FixedDecimal(v, fracCount);
      std::from_chars(fixed.data(), fixed.data() + fixed.size(), rounded);
    }
    if (!multiple &&
        rounded >= ScaleByPowerOfTen(1.0, std::max<int>(1, static_cast<int>(std::count(intTemplate.begin(),
                                                                                       intTemplate.end(), '0'))))) {
      v /= 10.0;
      ++exponent;
    }
  }

  if (!std::isfinite(v) || v >= 1e300) {
    return value < 0 ? "-#NUM!" : "#NUM!";
  }
  std::string digits = FixedDecimal(v, fracCount);
  std::string intDigits = digits.substr(0, digits.find('.'));
  std::string fracDigits = fracCount > 0 ? digits.substr(digits.find('.') + 1) : std::string();
  fracDigits.resize(static_cast<std::size_t>(fracCount), '0');  // placeholders past the rendered decimals
  const bool allZero = digits.find_first_of("123456789") == std::string::npos;

  // Integer part: optional leading zero, minimum digits from '0' and '?'.
  if (intDigits == "0") intDigits.clear();
  std::string intText;
  {
    const std::size_t minDigits =
        intTemplate.size() - static_cast<std::size_t>(std::count(intTemplate.begin(), intTemplate.end(), '#'));
    std::string padded = intDigits;
    // Fill from the right: '0' pads with zeros, '?' with blanks.
    for (std::size_t k = padded.size(); k < intTemplate.size(); ++k) {
      const char placeholder = intTemplate[intTemplate.size() - 1 - k];
      if (placeholder == '0') {
        padded.insert(padded.begin(), '0');
      } else if (placeholder == '?') {
        padded.insert(padded.begin(), ' ');
      } else {
        break;
      }
    }
    (void)minDigits;
    if (section.Grouping) {
      std::size_t firstDigit = padded.find_first_not_of(' ');
      if (firstDigit == std::string::npos) firstDigit = padded.size();
      intText = padded.substr(0, firstDigit) + GroupThousands(padded.substr(firstDigit), locale.Thousands);
    } else {
      intText = padded;
    }
  }
  // Fraction part: trailing zeros of '#' places dropped, '?' blanks.
  for (int k = fracCount - 1; k >= 0; --k) {
    if (fracDigits[k] != '0') break;
    if (fracTemplate[k] == '#') {
      fracDigits.erase(k);
    } else if (fracTemplate[k] == '?') {
      fracDigits[k] = ' ';
    } else {
      break;
    }
  }

  std::string expText;
  if (section.Exponent) {
    const int absExp = std::abs(exponent);
    const std::size_t minExp =
        std::max<std::size_t>(1, static_cast<std::size_t>(std::count(expTemplate.begin(), expTemplate.end(), '0')));
    const std::string e = ZeroPaddedText(absExp, minExp);
    expText = std::string("E") + (exponent < 0 ? "-" : (section.ExpPlus ? "+" : "")) + e;
  }

  std::string out;
  bool intWritten = false;
  for (const Token& t : section.Tokens) {
    switch (t.Type) {
      case Token::TType::Literal:
        out += t.Text;
        break;
      case Token::TType::IntDigit:
        if (!intWritten) {
          out += intText;
          intWritten = true;
        }
        break;
      case Token::TType::Decimal:
        if (!intWritten) {
          out += intText;
          intWritten = true;
        }
        out += locale.Decimal;
        out += fracDigits;
        break;
      case Token::TType::FracDigit:
        break;
      case Token::TType::ExpMark:
        if (!intWritten) {
          out += intText;
          intWritten = true;
        }
        out += expText;
        break;
      case Token::TType::ExpDigit:
        break;
    }
  }
  if (!intWritten && !intTemplate.empty()) out += intText;
  if (showSign && value < 0 && !allZero) out.insert(out.begin(), '-');
  return out;
}

// ------------------------------------------------------------ date and time

constexpr std::array<const char*, 12> kMonthsEnglish = {"January",   "February", "March",    "April",
                                                        "May",       "June",     "July",     "August",
                                                        "September", "October",  "November", "December"};
constexpr std::array<const char*, 12> kMonthsGerman = {"Januar",    "Februar", "März",     "April",
                                                       "Mai",       "Juni",    "Juli",     "August",
                                                       "September", "Oktober", "November", "Dezember"};
constexpr std::array<const char*, 7> kDaysEnglish = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 7> kDaysGerman = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                                    "Donnerstag", "Freitag", "Samstag"};

// First characters of a UTF-8 name (a character may take two bytes).
std::string Abbreviate(const char* name, int count) {
  std::string result;
  int taken = 0;
  for (const char* p = name; *p != 0 && taken < count; ++taken) {
    result += *p++;
    while ((static_cast<unsigned char>(*p) & 0xC0) == 0x80) result += *p++;
  }
  return result;
}

long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

constexpr long long kSerialEpochDays = -25569;  // 1899-12-30 relative to 1970-01-01
// The serials of 1 January of the year 1 and of 31 December 9999.
constexpr double kFirstSerial = -693593.0;
constexpr double kLastSerial = 2958465.0;

std::string RenderDateTimeSection(double value, std::string_view section, const TFormatLocale& locale) {
  if (!std::isfinite(value) || value < kFirstSerial || value > kLastSerial + 1.0) return "#####";
  // Find the fraction-of-second precision first: it decides the rounding.
  int secondDecimals = 0;
  bool ampm = false;
  ForEachUnquoted(section, [&](std::size_t i) {
    const char c = section[i];
    if (Lower(c) == 's') {
      std::size_t j = i;
      while (j < section.size() && Lower(section[j]) == 's') ++j;
      if (j < section.size() && section[j] == '.') {
        int n = 0;
        while (j + 1 + n < section.size() && section[j + 1 + n] == '0') ++n;
        secondDecimals = std::max(secondDecimals, n);
      }
    }
    if ((c == 'A' || c == 'a') && (section.substr(i, 5) == "AM/PM" || section.substr(i, 5) == "am/pm" ||
                                   section.substr(i, 3) == "A/P" || section.substr(i, 3) == "a/p")) {
      ampm = true;
    }
  });
  // Time units of 10^-computedDecimals seconds: as many as the format shows,
  // but no more than a double resolves (nine) and no more than keep the
  // count of units of the largest serial inside a 64-bit integer. Further
  // decimals of the format show zeros.
  int computedDecimals = std::min(secondDecimals, 9);
  while (computedDecimals > 0 && std::fabs(value) * 86400.0 * std::pow(10.0, computedDecimals) > 9.0e18) {
    --computedDecimals;
  }
  long long unitsPerSecond = 1;
  for (int k = 0; k < computedDecimals; ++k) unitsPerSecond *= 10;
  const double unitsPerDay = 86400.0 * static_cast<double>(unitsPerSecond);
  const long long totalUnits = static_cast<long long>(std::llround(value * unitsPerDay));
  long long dayNumber = totalUnits / static_cast<long long>(unitsPerDay);
  long long unitsOfDay = totalUnits % static_cast<long long>(unitsPerDay);
  if (unitsOfDay < 0) {
    unitsOfDay += static_cast<long long>(unitsPerDay);
    --dayNumber;
  }
  const long long secondsOfDay = unitsOfDay / unitsPerSecond;
  const long long subSecond = unitsOfDay % unitsPerSecond;
  const long long totalSeconds = totalUnits / unitsPerSecond;
  int year = 0;
  int month = 0;
  int day = 0;
  CivilFromDays(dayNumber + kSerialEpochDays, year, month, day);
  const long long weekday = ((dayNumber + 6) % 7 + 7) % 7;  // serial 1 (31 Dec 1899) was a Sunday
  const long long hour = secondsOfDay / 3600;
  const long long minute = secondsOfDay / 60 % 60;
  const long long second = secondsOfDay % 60;
  const auto& months = locale.English ? kMonthsEnglish : kMonthsGerman;
  const auto& days = locale.English ? kDaysEnglish : kDaysGerman;

  std::string out;
  bool lastWasHour = false;
  for (std::size_t i = 0; i < section.size(); ++i) {
    const char c = section[i];
    const char l = Lower(c);
    auto run = [&](char letter) {
      std::size_t j = i;
      while (j < section.size() && Lower(section[j]) == letter) ++j;
      const std::size_t n = j - i;
      i = j - 1;
      return n;
    };
    if (std::optional<std::string_view> literal; ReadLiteral(section, i, literal)) {
      if (literal) out += *literal;
    } else if (c == '*') {
      ++i;
    } else if (c == '[') {
      const std::size_t end = section.find(']', i);
      const std::size_t stop = end == std::string_view::npos ? section.size() : end;
      const std::string_view inner = section.substr(i + 1, stop - i - 1);
      i = stop;
      if (!inner.empty() && inner.find_first_not_of("hH") == std::string_view::npos) {
        out += ZeroPaddedText(totalSeconds / 3600, inner.size());
        lastWasHour = true;
      } else if (!inner.empty() && inner.find_first_not_of("mM") == std::string_view::npos) {
        out += ZeroPaddedText(totalSeconds / 60, inner.size());
      } else if (!inner.empty() && inner.find_first_not_of("sS") == std::string_view::npos) {
        out += ZeroPaddedText(totalSeconds, inner.size());
      }
    } else if (l == 'y') {
      const std::size_t n = run('y');
      // Three letters or more: the year with four digits ("0089"), which
      // typed or read again is the same year.
      out += n <= 2 ? TwoDigits(((year % 100) + 100) % 100) : ZeroPaddedText(year, 4);
    } else if (l == 'd') {
      const std::size_t n = run('d');
      if (n == 1)
        out += WholeNumberText(day);
      else if (n == 2)
        out += TwoDigits(day);
      else if (n == 3)
        out += Abbreviate(days[weekday], locale.English ? 3 : 2);
      else
        out += days[weekday];
    } else if (l == 'h') {
      const std::size_t n = run('h');
      long long h = hour;
      if (ampm) h = (h % 12 == 0) ? 12 : h % 12;
      out += n >= 2 ? TwoDigits(h) : WholeNumberText(h);
      lastWasHour = true;
    } else if (l == 'm') {
      const std::size_t n = run('m');
      // Minutes after an hour or before seconds, else the month.
      bool minutes = lastWasHour;
      if (!minutes) {
        std::size_t j = i + 1;
        while (j < section.size() && !std::isalpha(static_cast<unsigned char>(section[j])) && section[j] != '[') ++j;
        minutes = j < section.size() && Lower(section[j]) == 's';
      }
      if (minutes) {
        out += n >= 2 ? TwoDigits(minute) : WholeNumberText(minute);
      } else if (n == 1) {
        out += WholeNumberText(month);
      } else if (n == 2) {
        out += TwoDigits(month);
      } else if (n == 3) {
        out += Abbreviate(months[month - 1], 3);
      } else if (n == 4) {
        out += months[month - 1];
      } else {
        out += Abbreviate(months[month - 1], 1);
      }
      lastWasHour = false;
    } else if (l == 's') {
      const std::size_t n = run('s');
      out += n >= 2 ? TwoDigits(second) : WholeNumberText(second);
      if (secondDecimals > 0 && i + 1 < section.size() && section[i + 1] == '.') {
        std::string fraction = ZeroPaddedText(subSecond, static_cast<std::size_t>(computedDecimals));
        if (computedDecimals == 0) fraction.clear();
        fraction.resize(static_cast<std::size_t>(secondDecimals), '0');
        out += locale.Decimal;
        out += fraction;
        i += 1 + static_cast<std::size_t>(secondDecimals);
      }
      lastWasHour = false;
    } else if ((c == 'A' || c == 'a') && section.substr(i, 5).size() == 5 &&
               (section.substr(i, 5) == "AM/PM" || section.substr(i, 5) == "am/pm")) {
      out += hour < 12 ? "AM" : "PM";
      i += 4;
    } else if ((c == 'A' || c == 'a') && (section.substr(i, 3) == "A/P" || section.substr(i, 3) == "a/p")) {
      out += hour < 12 ? "A" : "P";
      i += 2;
    } else if (c == '/') {
      out += locale.Date == '.' ? '/' : locale.Date;
    } else if (c == ':') {
      out += locale.Time;
    } else {
      out += c;
    }
  }
  return out;
}

std::string_view PickSection(const std::vector<std::string_view>& sections, double value, bool& showSign) {
  showSign = true;
  if (sections.size() >= 2 && value < 0) {
    showSign = false;
    return sections[1];
  }
  if (sections.size() >= 3 && value == 0) return sections[2];
  return sections[0];
}

}  // namespace

std::string CanonicalFormat(std::string_view localPattern, const TFormatLocale& locale) {
  return TranslateSeparators(localPattern, locale.Decimal, locale.Thousands, '.', ',');
}

std::string LocalFormat(std::string_view canonicalCode, const TFormatLocale& locale) {
  return TranslateSeparators(canonicalCode, '.', ',', locale.Decimal, locale.Thousands);
}

TFormatClass ClassifyFormat(std::string_view canonicalCode) {
  const auto sections = SplitSections(canonicalCode);
  const std::string_view first = sections.front();
  if (IsGeneralSection(first)) return TFormatClass::General;
  if (first == "@") return TFormatClass::Text;
  if (!IsDateTimeSection(first)) return TFormatClass::Number;
  bool hasDate = false;
  bool hasTime = false;
  ForEachUnquoted(first, [&](std::size_t i) {
    const char c = first[i];
    const char l = Lower(c);
    if (l == 'y' || l == 'd') hasDate = true;
    if (l == 'h' || l == 's' || c == '[') hasTime = true;
  });
  if (!hasDate && !hasTime) {
    // Only 'm': a month alone.
    hasDate = true;
  }
  if (hasDate && hasTime) return TFormatClass::DateTime;
  return hasDate ? TFormatClass::Date : TFormatClass::Time;
}

std::string FormatGeneral(double value, const TFormatLocale& locale, int maxDigits) {
  if (std::isnan(value)) return "#NUM!";
  if (std::isinf(value)) return value > 0 ? "#NUM!" : "-#NUM!";
  if (value == 0) return "0";
  maxDigits = std::clamp(maxDigits, 1, 17);
  const double magnitude = std::fabs(value);
  char buffer[64];
  std::string text;
  if (magnitude >= 1e15 || magnitude < 1e-9) {
    const auto printed = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                       std::max(0, std::min(maxDigits, 6) - 1));
    text.assign(buffer, printed.ptr);
    // Drop trailing zeros of the mantissa and pad the exponent to two digits.
    const std::size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    if (mantissa.find('.') != std::string::npos) {
      while (mantissa.back() == '0') mantissa.pop_back();
      if (mantissa.back() == '.') mantissa.pop_back();
    }
    const char sign = exponent[0];
    exponent.erase(0, 1);
    while (exponent.size() > 2 && exponent[0] == '0') exponent.erase(0, 1);
    text = mantissa + "E" + sign + exponent;
  } else {
    const int intDigits = magnitude >= 1 ? static_cast<int>(std::floor(std::log10(magnitude))) + 1 : 1;
    int decimals = std::max(0, maxDigits - intDigits);
    if (magnitude < 1) {
      // Leading zeros of a fraction do not count as significant digits.
      decimals = std::min(20, maxDigits - static_cast<int>(std::floor(std::log10(magnitude))) - 1);
    }
    text = value < 0 ? "-" : "";
    text += FixedDecimal(std::fabs(value), decimals);
    if (text.find('.') != std::string::npos) {
      while (text.back() == '0') text.pop_back();
      if (text.back() == '.') text.pop_back();
    }
    ClearNegativeZero(text);
  }
  for (char& c : text) {
    if (c == '.') c = locale.Decimal;
  }
  return text;
}

namespace {
// "0", "0.0" .. "0.000000000000000": the formats the table writers set on
// most cells, rendered without parsing the code.
bool PlainDecimalCode(std::string_view code, int& decimals) {
  if (code.empty() || code[0] != '0') return false;
  if (code.size() == 1) {
    decimals = 0;
    return true;
  }
  if (code[1] != '.' || code.size() > 32) return false;
  for (std::size_t i = 2; i < code.size(); ++i) {
    if (code[i] != '0') return false;
  }
  decimals = static_cast<int>(code.size()) - 2;
  return decimals > 0;
}
}  // namespace

std::string FormatNumber(double value, std::string_view canonicalCode, const TFormatLocale& locale, int maxDigits) {
  int plainDecimals = 0;
  if (PlainDecimalCode(canonicalCode, plainDecimals) && std::fabs(value) < 1e15) {
    std::string text = FixedDecimal(std::fabs(value), plainDecimals);
    if (value < 0 && text.find_first_of("123456789") != std::string::npos) text.insert(text.begin(), '-');
    const std::size_t point = text.find('.');
    if (point != std::string::npos) text[point] = locale.Decimal;
    return text;
  }
  const auto sections = SplitSections(canonicalCode);
  bool showSign = true;
  const std::string_view section = PickSection(sections, value, showSign);
  if (IsGeneralSection(section)) {
    std::string text = FormatGeneral(showSign ? value : std::fabs(value), locale, maxDigits);
    return text;
  }
  if (IsDateTimeSection(section)) return RenderDateTimeSection(value, section, locale);
  const NumberSection parsed = ParseNumberSection(section);
  if (parsed.IsText && sections.size() == 1) return FormatGeneral(value, locale, maxDigits);
  return RenderNumberSection(value, parsed, showSign, locale);
}

std::string FormatText(std::string_view text, std::string_view canonicalCode) {
  const auto sections = SplitSections(canonicalCode);
  std::string_view section;
  if (sections.size() >= 4) {
    section = sections[3];
  } else if (sections.size() == 1 && sections[0].find('@') != std::string_view::npos) {
    section = sections[0];
  } else {
    return std::string(text);
  }
  std::string out;
  for (std::size_t i = 0; i < section.size(); ++i) {
    const char c = section[i];
    if (c == '@') {
      out += text;
    } else if (std::optional<std::string_view> literal; ReadLiteral(section, i, literal)) {
      if (literal) out += *literal;
    } else if (c == '[') {
      const std::size_t end = section.find(']', i);
      i = end == std::string_view::npos ? section.size() : end;
    } else {
      out += c;
    }
  }
  return out;
}

double DateSerial(int year, int month, int day) {
  // Month and day may run over (month 13 is January of the next year).
  long long y = year;
  long long m = month - 1;
  y += m >= 0 ? m / 12 : (m - 11) / 12;
  m = ((m % 12) + 12) % 12;
  return static_cast<double>(DaysFromCivil(y, static_cast<unsigned>(m + 1), 1) - kSerialEpochDays + (day - 1));
}

void SerialToDate(double serial, int& year, int& month, int& day) {
  if (!std::isfinite(serial) || serial < kFirstSerial || serial >= kLastSerial + 1.0) {
    year = month = day = 0;
    return;
  }
  CivilFromDays(static_cast<long long>(std::floor(serial)) + kSerialEpochDays, year, month, day);
}

namespace internal {

std::string RenderDateTime(double value, std::string_view code, const TFormatLocale& locale) {
  return RenderDateTimeSection(value, code, locale);
}

}  // namespace internal

// The built-in number formats of the file format that files name by their
// number alone (the .xls records name them alike).
std::string BuiltinNumberFormat(std::size_t id) {
  switch (id) {
    case 1:
      return "0";
    case 2:
      return "0.00";
    case 3:
      return "#,##0";
    case 4:
      return "#,##0.00";
    case 9:
      return "0%";
    case 10:
      return "0.00%";
    case 11:
      return "0.00E+00";
    case 12:
      return "# ?/?";
    case 14:  // the reader's short date
      return ShortDateCode(TFormatLocale::FromGlobals());
    case 15:
      return "d-mmm-yy";
    case 16:
      return "d-mmm";
    case 17:
      return "mmm-yy";
    case 18:
      return "h:mm AM/PM";
    case 19:
      return "h:mm:ss AM/PM";
    case 20:
      return "h:mm";
    case 21:
      return "h:mm:ss";
    case 22:
      return ShortDateCode(TFormatLocale::FromGlobals()) + " hh:mm";
    case 37:
      return "#,##0 ;(#,##0)";
    case 38:
      return "#,##0 ;[Red](#,##0)";
    case 39:
      return "#,##0.00;(#,##0.00)";
    case 40:
      return "#,##0.00;[Red](#,##0.00)";
    case 45:
      return "mm:ss";
    case 46:
      return "[h]:mm:ss";
    case 47:
      return "mm:ss.0";
    case 48:
      return "##0.0E+0";
    case 49:
      return "@";
    default:
      return {};
  }
}

}  // namespace kvx::workbook
