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

// Where the scan of a number's text stands and what it found so far: the
// plain form written into `Plain` (room for the text's length), the digits
// before and after the decimal mark, the exponent.
struct TScanState {
  std::string_view Text;
  char* Plain = nullptr;
  std::size_t At = 0;      // the next character of Text
  std::size_t Length = 0;  // of the plain form
  bool Plus = false;       // a '+' before the digits
  std::size_t WholeDigits = 0, LeadingZeros = 0;
  bool Grouped = false;
  bool Mark = false;  // a decimal mark
  std::size_t FractionDigits = 0, FractionLeadingZeros = 0;
  char LastFraction = 0;
  bool HasExponent = false;
  long Exponent = 0;  // saturated: only its size matters beyond 10^8

  bool More() const { return At < Text.size(); }
  char Next() const { return Text[At]; }
  void Copy() { Plain[Length++] = Text[At++]; }
};

// The whole digits, perhaps grouped in threes by one mark throughout, the
// first group of one to three digits; false when the groups are not so.
bool ScanWholeDigits(TScanState& s, const TNumberSyntax& syntax) {
  const unsigned grouping = syntax.Grouping & ~GroupingMarksOf(syntax.Decimal);
  std::size_t groupLength = 0, markAt = 0, markLength = 0;
  while (s.More()) {
    if (Digit(s.Next())) {
      if (s.Next() == '0' && s.LeadingZeros == s.WholeDigits) ++s.LeadingZeros;
      s.Copy();
      ++s.WholeDigits;
      ++groupLength;
      continue;
    }
    const std::size_t length = grouping != 0 && s.WholeDigits > 0 ? GroupingMarkAt(s.Text, s.At, grouping) : 0;
    if (length == 0) break;
    if (s.Grouped ? groupLength != 3 : groupLength > 3) return false;
    if (s.Grouped && s.Text.substr(s.At, length) != s.Text.substr(markAt, markLength)) return false;
    if (syntax.StrictGroups && !s.Grouped && s.Text[s.At - s.WholeDigits] == '0') return false;
    s.Grouped = true;
    markAt = s.At;
    markLength = length;
    groupLength = 0;
    s.At += length;
  }
  return !s.Grouped || groupLength == 3;
}

// The decimal mark and the digits after it; false for a mark without
// digits where the syntax does not take one.
bool ScanFraction(TScanState& s, const TNumberSyntax& syntax) {
  if (!s.More() || s.Next() != syntax.Decimal) return true;
  s.Mark = true;
  ++s.At;
  s.Plain[s.Length++] = '.';
  while (s.More() && Digit(s.Next())) {
    if (s.Next() == '0' && s.FractionLeadingZeros == s.FractionDigits) ++s.FractionLeadingZeros;
    s.LastFraction = s.Next();
    s.Copy();
    ++s.FractionDigits;
  }
  if (s.FractionDigits > 0) return true;
  --s.Length;  // "5." is 5
  return syntax.BareMark;
}

// The exponent ('e' or 'E', a sign, digits), where there is one; false
// when it has no digits or the syntax takes none.
bool ScanExponent(TScanState& s, const TNumberSyntax& syntax) {
  if (!s.More() || (s.Next() != 'e' && s.Next() != 'E')) return true;
  if (!syntax.Exponent || (syntax.StrictGroups && s.Grouped)) return false;
  s.HasExponent = true;
  s.Plain[s.Length++] = 'e';
  ++s.At;
  bool negative = false;
  if (s.More() && (s.Next() == '+' || s.Next() == '-')) {
    negative = s.Next() == '-';
    s.Copy();
  }
  const std::size_t start = s.At;
  while (s.More() && Digit(s.Next())) {
    if (s.Exponent < 100000000) s.Exponent = s.Exponent * 10 + (s.Next() - '0');
    s.Copy();
  }
  if (negative) s.Exponent = -s.Exponent;
  return s.At != start;
}

// Where the first significant digit of the scanned number stands, and
// whether its text is the value's shortest text: a plain decimal without
// surplus zeros or marks, of at most 15 significant digits (no shorter
// text reads back as the same double then), in the fixed form where that
// is not longer than the exponent form (as the shortest text chooses), and
// a whole number beyond 15 digits only where it is a double's exact value.
void JudgeScanned(const TScanState& s, TScanned& scanned) {
  std::size_t significant = 0;
  if (s.WholeDigits > s.LeadingZeros) {
    scanned.Zero = false;
    scanned.Order = static_cast<long>(s.WholeDigits - s.LeadingZeros) - 1;
    significant = s.WholeDigits - s.LeadingZeros + s.FractionDigits;
  } else if (s.FractionDigits > s.FractionLeadingZeros) {
    scanned.Zero = false;
    scanned.Order = -static_cast<long>(s.FractionLeadingZeros) - 1;
    significant = s.FractionDigits - s.FractionLeadingZeros;
  }
  scanned.Order += s.Exponent;
  const bool plainForm = !s.Plus && !s.Grouped && !scanned.Percent && !s.HasExponent && s.WholeDigits > 0 &&
                         (s.WholeDigits == 1 || s.LeadingZeros == 0) &&
                         (!s.Mark || (s.FractionDigits > 0 && s.LastFraction != '0'));
  if (!plainForm) return;
  if (scanned.Zero) {
    scanned.Shortest = true;  // "0", "-0"
    return;
  }
  // Trailing zeros of a whole number are no significant digits.
  std::size_t trailing = 0;
  if (!s.Mark) {
    while (trailing < s.WholeDigits && s.Plain[s.Length - 1 - trailing] == '0') ++trailing;
    significant -= trailing;
  }
  const std::size_t sign = scanned.Negative ? 1 : 0;
  const std::size_t fixedLength = sign + s.WholeDigits + (s.Mark ? 1 + s.FractionDigits : 0);
  const std::size_t exponentLength = sign + significant + (significant > 1 ? 1 : 0) + 2 +
                                     static_cast<std::size_t>(std::max(2, DigitCount(scanned.Order)));
  scanned.Shortest =
      significant <= 15 && fixedLength <= exponentLength &&
      (s.Mark || s.WholeDigits <= 15 || WholeNumberExact(std::string_view(s.Plain + sign, significant), trailing));
}

// Scans `text` by `syntax`, writing its plain form into `plain` (room for
// text.size() characters); false when it is no number.
bool Scan(std::string_view text, const TNumberSyntax& syntax, char* plain, TScanned& scanned) {
  if (syntax.Percent && !text.empty() && text.back() == '%') {
    scanned.Percent = true;
    text.remove_suffix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  }
  TScanState s;
  s.Text = text;
  s.Plain = plain;
  if (s.More() && (s.Next() == '+' || s.Next() == '-')) {
    s.Plus = s.Next() == '+';
    scanned.Negative = !s.Plus;
    if (scanned.Negative) s.Plain[s.Length++] = '-';
    ++s.At;
  }
  if (!ScanWholeDigits(s, syntax) || !ScanFraction(s, syntax)) return false;
  if (s.WholeDigits + s.FractionDigits == 0) return false;
  if (!ScanExponent(s, syntax) || s.More()) return false;
  scanned.PlainLength = s.Length;
  JudgeScanned(s, scanned);
  return true;
}

// The shortest text of a whole number, or of a whole number and a half,
// below 2^52 (catalogue epochs and equinoxes, counts, Julian days at 0 h),
// written from its whole digits: its neighbouring doubles lie half a unit
// or more away, so no text of fewer digits reads back as it. A whole
// number takes the fixed form where that is not longer than the exponent
// form ("100000" is "1e+05"); 0 for any other value, which the general
// conversion writes.
std::size_t WholeOrHalfChars(double value, char decimal, char (&text)[32]) {
  const double magnitude = std::fabs(value);
  if (!(magnitude < 0x1p52)) return 0;
  const auto whole = static_cast<std::uint64_t>(magnitude);
  const double fraction = magnitude - static_cast<double>(whole);
  const bool half = fraction == 0.5;
  if (!half && fraction != 0) return 0;
  char* p = text;
  if (std::signbit(value)) *p++ = '-';
  char* const digits = p;
  p = std::to_chars(p, text + sizeof text, whole).ptr;
  if (half) {
    *p++ = decimal;
    *p++ = '5';
    return static_cast<std::size_t>(p - text);
  }
  const auto count = static_cast<std::size_t>(p - digits);
  std::size_t zeros = 0;
  while (zeros + 1 < count && digits[count - 1 - zeros] == '0') ++zeros;
  const std::size_t significant = count - zeros;
  const std::size_t exponentForm = significant + (significant > 1 ? 1 : 0) + 4;  // "1.5e+05"
  return count <= exponentForm ? static_cast<std::size_t>(p - text) : 0;
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
  if (const std::size_t length = WholeOrHalfChars(value, decimal, text); length > 0) return length;
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
