// Numbers in text, the same in every locale: the one reader of a number's
// text (every typed entry, settings and edit field, file field and cell
// goes through it, each with the marks its text is written with) and the
// one writer of a number's shortest text.
//
// One rule for the range of a double: a value beyond the largest double
// (1e309, "1" followed by 310 zeros and "e-1") is no number, whatever the
// exponent's sign; a value below the smallest one (1e-400) is 0.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvx {

inline std::string WholeNumberText(std::int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return std::string(digits, end);
}

// `value` with at least `width` digits, zeros in front (after the minus
// sign of a negative value): (5, 2) "05", (89, 4) "0089", (-44, 4) "-0044".
inline std::string ZeroPaddedText(std::int64_t value, std::size_t width) {
  char digits[24];
  const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  const std::size_t count =
      static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
  std::string text = value < 0 ? "-" : "";
  if (count < width) text.append(width - count, '0');
  return text.append(digits, count);
}

// Two digits at least: a day, a month, an hour ("05").
inline std::string TwoDigits(std::int64_t value) { return ZeroPaddedText(value, 2); }

// The marks that may group the whole digits of a number in threes, as
// flags: "1.234.567", "1,234,567", "1 234 567" (a blank, a no-break space
// U+00A0 or a narrow no-break space U+202F, as French and Russian desktops
// write them), "1'234'567" (an apostrophe or U+2019, as Swiss ones do).
enum TGroupingMarks : unsigned {
  kGroupNone = 0,
  kGroupPoints = 1u << 0,
  kGroupCommas = 1u << 1,
  kGroupBlanks = 1u << 2,         // ' '
  kGroupNoBreakSpaces = 1u << 3,  // U+00A0, U+202F
  kGroupApostrophes = 1u << 4,    // '\'', U+2019
};

// The grouping marks that go with a one-character mark as the program
// keeps it (TIntlSeparators::Thousands): a point or a comma itself; a blank
// every kind of blank; an apostrophe both apostrophes; none for another.
unsigned GroupingMarksOf(char mark);

// How the text of a number is written: its decimal mark, the marks that
// may group its whole digits (never the decimal mark), and what else it
// may hold.
struct TNumberSyntax {
  char Decimal = '.';
  unsigned Grouping = kGroupNone;
  // A grouped number has no exponent and its first group does not start
  // with 0 ("01,234" is no number): the forms a file's fields are judged by.
  bool StrictGroups = false;
  bool Exponent = true;  // "2.5e-3", "1E6"
  bool Percent = false;  // a trailing '%', blanks before it allowed: the value / 100
  // A decimal mark with no digit after it ("5.", "5.e3"), as strtod reads
  // them; a lone mark (".", "-.") is never a number.
  bool BareMark = true;
};

// A number read: its value, whether it was a percentage, and whether the
// text is known to be the value's shortest text (ShortestNumberText with
// the text's decimal mark: no sign but '-', no grouping, no leading or
// trailing zeros, no exponent, at most 15 significant digits, not longer
// than the value's exponent form, and a whole number of more than 15
// digits only where a double holds it exactly: the writer gives such a
// number's exact digits, "123456789012344992" for "123456789012345000").
// False says nothing: the text may still be the shortest.
struct TNumberRead {
  double Number = 0.0;
  bool Percent = false;
  bool Shortest = false;
};

// The number `text` holds, written as `syntax` says: an optional sign ('+'
// or '-'), digits (grouped in threes by one of the allowed marks, the first
// group of one to three digits), a decimal mark with digits, an exponent
// ('e' or 'E', a sign, digits) and, where allowed, a '%'. Nothing may stand
// before or after it (no blanks). Nothing when the text is not such a
// number or its value lies beyond the largest double; 0 for a value below
// the smallest. Reads the text in place.
std::optional<TNumberRead> ReadNumber(std::string_view text, const TNumberSyntax& syntax = {});
// The same for a long double (the range rule by the long double's range).
std::optional<long double> ReadLongNumber(std::string_view text, const TNumberSyntax& syntax = {});

// The shortest text that reads back as exactly `value`, with `decimal` as
// decimal mark and an exponent where that is shorter ("0.1", "12,75",
// "4e-09", "1e+99", "-0"); "nan", "inf" or "-inf" for a value that is not
// finite, which no reader takes. Writes into `text` and gives its length.
std::size_t ShortestNumberChars(double value, char decimal, char (&text)[32]);
std::string ShortestNumberText(double value, char decimal = '.');
std::string ShortestNumberTextExt(long double value);

}  // namespace kvx
