#include "platform/number_text.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <system_error>

namespace kvx {

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

// The length of the grouping mark that stands at text[at] among `marks`
// (1 to 3 bytes of UTF-8), 0 for none.
std::size_t GroupingMarkAt(std::string_view text, std::size_t at, unsigned marks) {
  const auto byte = [&](std::size_t k) { return at + k < text.size() ? static_cast<unsigned char>(text[at + k]) : 0u; };
  switch (text[at]) {
    case '.':
      return (marks & kGroupPoints) != 0 ? 1 : 0;
    case ',':
      return (marks & kGroupCommas) != 0 ? 1 : 0;
    case ' ':
      return (marks & kGroupBlanks) != 0 ? 1 : 0;
    case '\'':
      return (marks & kGroupApostrophes) != 0 ? 1 : 0;
    default:
      break;
  }
  if (byte(0) == 0xC2 && byte(1) == 0xA0) return (marks & kGroupNoBreakSpaces) != 0 ? 2 : 0;
  if (byte(0) == 0xE2 && byte(1) == 0x80) {
    if (byte(2) == 0xAF) return (marks & kGroupNoBreakSpaces) != 0 ? 3 : 0;
    if (byte(2) == 0x99) return (marks & kGroupApostrophes) != 0 ? 3 : 0;
  }
  return 0;
}

// The decimal digits of a whole number's magnitude (at least 1).
int DigitCount(long value) {
  int digits = 1;
  for (value = value < 0 ? -value : value; value >= 10; value /= 10) ++digits;
  return digits;
}

// True when the whole number whose significant digits are `digits` (at
// most 15, none of them a trailing zero) followed by `zeros` zeros is a
// double exactly: its odd part below 2^53. The shortest text of a double
// in the fixed form gives its exact digits, so a whole number of more than
// 15 digits that no double holds ("123456789012345000") is written with
// other digits ("123456789012344992").
bool WholeNumberExact(std::string_view digits, std::size_t zeros) {
  constexpr std::uint64_t kMantissaLimit = std::uint64_t{1} << 53;
  std::uint64_t odd = 0;
  for (const char digit : digits) odd = odd * 10 + static_cast<std::uint64_t>(digit - '0');
  while (odd != 0 && odd % 2 == 0) odd /= 2;
  for (std::size_t k = 0; k < zeros; ++k) {
    if (odd > kMantissaLimit / 5) return false;
    odd *= 5;  // 10 = 5 * 2, and the factor 2 goes to the exponent
  }
  return odd < kMantissaLimit;
}

// What the scan of a number's text found: its plain form for from_chars
// ("-1234.5e-3") and what the range rule and the shortest-text judgement
// need.
struct TScanned {
  std::size_t PlainLength = 0;
  bool Negative = false;
  bool Percent = false;
  bool Shortest = false;
  long Order = 0;    // the decimal exponent of the first significant digit
  bool Zero = true;  // no digit other than 0
};

// Scans `text` by `syntax`, writing its plain form into `plain` (room for
// text.size() characters); false when it is no number.
bool Scan(std::string_view text, const TNumberSyntax& syntax, char* plain, TScanned& scanned) {
  std::size_t n = 0;
  if (syntax.Percent && !text.empty() && text.back() == '%') {
    scanned.Percent = true;
    text.remove_suffix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  }
  std::size_t i = 0;
  bool plus = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    plus = text[i] == '+';
    scanned.Negative = text[i] == '-';
    if (scanned.Negative) plain[n++] = '-';
    ++i;
  }
  const unsigned grouping = syntax.Grouping & ~GroupingMarksOf(syntax.Decimal);
  // Whole digits, perhaps grouped by one mark throughout.
  std::size_t wholeDigits = 0, leadingZeros = 0, groupLength = 0, markAt = 0, markLength = 0;
  bool grouped = false;
  while (i < text.size()) {
    if (Digit(text[i])) {
      if (text[i] == '0' && leadingZeros == wholeDigits) ++leadingZeros;
      plain[n++] = text[i++];
      ++wholeDigits;
      ++groupLength;
      continue;
    }
    const std::size_t length = grouping != 0 && wholeDigits > 0 ? GroupingMarkAt(text, i, grouping) : 0;
    if (length == 0) break;
    if (grouped ? groupLength != 3 : groupLength > 3) return false;
    if (grouped && text.substr(i, length) != text.substr(markAt, markLength)) return false;
    if (syntax.StrictGroups && !grouped && text[i - wholeDigits] == '0') return false;
    grouped = true;
    markAt = i;
    markLength = length;
    groupLength = 0;
    i += length;
  }
  if (grouped && groupLength != 3) return false;
  // The decimal part.
  std::size_t fractionDigits = 0, fractionLeadingZeros = 0;
  bool mark = false;
  char lastFraction = 0;
  if (i < text.size() && text[i] == syntax.Decimal) {
    mark = true;
    ++i;
    plain[n++] = '.';
    while (i < text.size() && Digit(text[i])) {
      if (text[i] == '0' && fractionLeadingZeros == fractionDigits) ++fractionLeadingZeros;
      lastFraction = text[i];
      plain[n++] = text[i++];
      ++fractionDigits;
    }
    if (fractionDigits == 0) {
      if (!syntax.BareMark) return false;
      --n;  // "5." is 5
    }
  }
  if (wholeDigits + fractionDigits == 0) return false;
  // The exponent, its value saturated (only its size matters beyond that).
  long exponent = 0;
  bool hasExponent = false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    if (!syntax.Exponent || (syntax.StrictGroups && grouped)) return false;
    hasExponent = true;
    plain[n++] = 'e';
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      plain[n++] = text[i++];
    }
    const std::size_t start = i;
    while (i < text.size() && Digit(text[i])) {
      if (exponent < 100000000) exponent = exponent * 10 + (text[i] - '0');
      plain[n++] = text[i++];
    }
    if (i == start) return false;
    if (negativeExponent) exponent = -exponent;
  }
  if (i != text.size()) return false;
  scanned.PlainLength = n;

  // Where the first significant digit stands, and how many there are.
  std::size_t significant = 0;
  if (wholeDigits > leadingZeros) {
    scanned.Zero = false;
    scanned.Order = static_cast<long>(wholeDigits - leadingZeros) - 1;
    significant = wholeDigits - leadingZeros + fractionDigits;
  } else if (fractionDigits > fractionLeadingZeros) {
    scanned.Zero = false;
    scanned.Order = -static_cast<long>(fractionLeadingZeros) - 1;
    significant = fractionDigits - fractionLeadingZeros;
  }
  scanned.Order += exponent;

  // The shortest text: a plain decimal without surplus zeros or marks, of
  // at most 15 significant digits (no shorter text reads back as the same
  // double then), in the fixed form where that is not longer than the
  // exponent form (as the shortest text chooses), and a whole number beyond
  // 15 digits only where it is a double's exact value.
  const bool plainForm = !plus && !grouped && !scanned.Percent && !hasExponent && wholeDigits > 0 &&
                         (wholeDigits == 1 || leadingZeros == 0) &&
                         (!mark || (fractionDigits > 0 && lastFraction != '0'));
  if (!plainForm) return true;
  if (scanned.Zero) {
    scanned.Shortest = true;  // "0", "-0"
    return true;
  }
  // Trailing zeros of a whole number are no significant digits.
  std::size_t trailing = 0;
  if (!mark) {
    while (trailing < wholeDigits && plain[n - 1 - trailing] == '0') ++trailing;
    significant -= trailing;
  }
  const std::size_t sign = scanned.Negative ? 1 : 0;
  const std::size_t fixedLength = sign + wholeDigits + (mark ? 1 + fractionDigits : 0);
  const std::size_t exponentLength = sign + significant + (significant > 1 ? 1 : 0) + 2 +
                                     static_cast<std::size_t>(std::max(2, DigitCount(scanned.Order)));
  scanned.Shortest =
      significant <= 15 && fixedLength <= exponentLength &&
      (mark || wholeDigits <= 15 || WholeNumberExact(std::string_view(plain + sign, significant), trailing));
  return true;
}

template <class TFloat>
std::optional<TFloat> Convert(std::string_view text, const TNumberSyntax& syntax, TScanned& scanned) {
  // The plain form is never longer than the text: on the stack for every
  // ordinary field.
  char local[96];
  std::string wide;
  char* plain = local;
  if (text.size() > sizeof local) {
    wide.resize(text.size());
    plain = wide.data();
  }
  if (!Scan(text, syntax, plain, scanned)) return std::nullopt;
  TFloat value = 0;
  const auto [end, error] = std::from_chars(plain, plain + scanned.PlainLength, value);
  if (end != plain + scanned.PlainLength) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // Beyond the largest double no number; below the smallest 0.
    if (scanned.Order > 0) return std::nullopt;
    scanned.Shortest = false;
    return TFloat(0);
  }
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  if (scanned.Percent) value /= 100;
  return value;
}

}  // namespace

unsigned GroupingMarksOf(char mark) {
  switch (mark) {
    case '.':
      return kGroupPoints;
    case ',':
      return kGroupCommas;
    case ' ':
      return kGroupBlanks | kGroupNoBreakSpaces;
    case '\'':
      return kGroupApostrophes;
    default:
      return kGroupNone;
  }
}

std::optional<TNumberRead> ReadNumber(std::string_view text, const TNumberSyntax& syntax) {
  TScanned scanned;
  const std::optional<double> value = Convert<double>(text, syntax, scanned);
  if (!value) return std::nullopt;
  return TNumberRead{*value, scanned.Percent, scanned.Shortest && !scanned.Percent};
}

std::optional<long double> ReadLongNumber(std::string_view text, const TNumberSyntax& syntax) {
  TScanned scanned;
  const std::optional<long double> value = Convert<long double>(text, syntax, scanned);
  if (!value) return std::nullopt;
  // The range of a double holds here too.
  const double near = static_cast<double>(*value);
  if (!std::isfinite(near)) return std::nullopt;
  if (near == 0.0) return 0.0L;
  return value;
}

std::size_t ShortestNumberChars(double value, char decimal, char (&text)[32]) {
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  if (error != std::errc()) return 0;
  const auto length = static_cast<std::size_t>(end - text);
  if (decimal != '.') {
    for (std::size_t i = 0; i < length; ++i) {
      if (text[i] == '.') text[i] = decimal;
    }
  }
  return length;
}

std::string ShortestNumberText(double value, char decimal) {
  char text[32];
  return std::string(text, ShortestNumberChars(value, decimal, text));
}

std::string ShortestNumberTextExt(long double value) {
  char text[96];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace kvx
