#include "core/text_conversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/save_failure.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

// Marks in Windows-1252, the single-byte form in which the positions of the
// marking routines are counted; [mark][0 = time, 1 = arc].
constexpr const char* kMarks[3][2] = {{"h", "\xB0"}, {"m", "'"}, {"s", "''"}};
constexpr char kDegreeMark = '\xB0';

int MarkIndex(std::uint8_t flag) { return flag != 0 ? 1 : 0; }

// 1-based position of `what` in s, 0 when absent (as the classic Pos).
std::size_t Pos(const std::string& s, const std::string& what, std::size_t from = 0) {
  std::size_t i = s.find(what, from);
  return i == std::string::npos ? 0 : i + 1;
}

// Inserts at 1-based position `index`; beyond the end appends.
void InsertAt(std::string& s, const std::string& what, std::size_t index) {
  if (index < 1) index = 1;
  if (index > s.size() + 1) index = s.size() + 1;
  s.insert(index - 1, what);
}

void DeleteAt(std::string& s, std::size_t index, std::size_t count) {
  if (index < 1 || index > s.size()) return;
  s.erase(index - 1, count);
}

std::string Sep(char c) { return std::string(1, c); }

// Runs a marking edit on the Windows-1252 form of the text (so that the
// degree mark occupies one position) and returns UTF-8.
template <class Edit>
std::string MarkEdit(const std::string& text, Edit edit) {
  std::string work = Utf8ToCp1252(text);
  std::size_t p = Pos(work, ".");
  if (p == 0) return text;
  edit(work, p);
  return Cp1252ToUtf8(work);
}

std::string ReplaceFirst(const std::string& text, char from, const std::string& to) {
  std::string s = text;
  std::size_t i = s.find(from);
  if (i != std::string::npos) s.replace(i, 1, to);
  return s;
}

// Rounds the exact decimal expansion of |x| half away from zero. The digits
// are worked on in one buffer: every number of the element files and tables
// passes through here.
template <class Real>
std::string FormatFixedImpl(Real x, int width, int decimals) {
  if (decimals < 0) decimals = 0;
  if (!std::isfinite(static_cast<double>(x))) {
    std::string t = std::isnan(static_cast<double>(x)) ? "NAN" : (x < 0 ? "-INF" : "INF");
    return t.size() < static_cast<std::size_t>(std::max(width, 0))
               ? std::string(static_cast<std::size_t>(width) - t.size(), ' ') + t
               : t;
  }
  const bool negative = std::signbit(static_cast<double>(x));
  Real a = negative ? -x : x;
  // Enough digits to see the exact binary value well past the rounding digit.
  const int extra = 30;
  char quick[512];
  std::vector<char> large;
  const char* digits = quick;
  std::size_t length = 0;
  // The exact expansion by std::to_chars (never the C library's locale);
  // a buffer of its own for huge values or many decimals.
  auto r = std::to_chars(quick, quick + sizeof quick, a, std::chars_format::fixed, decimals + extra);
  if (r.ec != std::errc()) {
    large.resize(static_cast<std::size_t>(decimals + extra + 5100));
    r = std::to_chars(large.data(), large.data() + large.size(), a, std::chars_format::fixed, decimals + extra);
    digits = large.data();
  }
  length = static_cast<std::size_t>(r.ptr - digits);
  // The printed precision always gives a point.
  const std::string_view printed(digits, length);
  const std::size_t point = printed.find('.');
  std::size_t intDigits = point;
  const std::string_view fraction = printed.substr(point + 1);
  const std::size_t kept = static_cast<std::size_t>(decimals);
  // One leading place for a carry out of the integer digits.
  std::string number;
  number.reserve(intDigits + kept + 1);
  number.push_back('0');
  number.append(printed.substr(0, intDigits));
  number.append(fraction.substr(0, kept));
  if (fraction[kept] >= '5') {
    std::size_t i = number.size() - 1;
    while (number[i] == '9') number[i--] = '0';
    ++number[i];
  }
  std::size_t first = 1;
  if (number[0] != '0') {
    first = 0;
    ++intDigits;  // one more integer digit
  }
  const bool allZero = number.find_first_not_of('0', first) == std::string::npos;
  const bool minus = negative && !allZero;
  const std::size_t size = (number.size() - first) + (decimals > 0 ? 1 : 0) + (minus ? 1 : 0);
  std::string result;
  result.reserve(std::max(size, static_cast<std::size_t>(std::max(width, 0))));
  if (static_cast<int>(size) < width) result.append(static_cast<std::size_t>(width) - size, ' ');
  if (minus) result.push_back('-');
  result.append(number, first, intDigits);
  if (decimals > 0) {
    result.push_back('.');
    result.append(number, first + intDigits, kept);
  }
  return result;
}

// The text after its leading blanks and tabs.
std::string_view AfterLeadingBlanks(const std::string& text) {
  std::string_view rest(text);
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  return rest;
}

// A number with "." as decimal mark and no grouping; `bareMark`: "5." and
// "5.e3" are numbers.
TNumberSyntax PointSyntax(bool bareMark) {
  TNumberSyntax syntax;
  syntax.BareMark = bareMark;
  return syntax;
}

}  // namespace

std::string RemoveBlanks(const std::string& text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (c != ' ') s += c;
  }
  return s;
}

std::string TrimLeadingBlanks(const std::string& text) {
  std::size_t i = text.find_first_not_of(' ');
  return i == std::string::npos ? std::string() : text.substr(i);
}

std::string TrimBlanks(const std::string& text) {
  const char* blanks = " \t";
  std::size_t b = text.find_first_not_of(blanks);
  if (b == std::string::npos) return {};
  std::size_t e = text.find_last_not_of(blanks);
  return text.substr(b, e - b + 1);
}

// --- Marked texts ----------------------------------------------------------

namespace {

// The marks of `flag` after the degrees and the minutes and at the end, with
// the decimal separator after the whole seconds where `seconds` says so.
std::string ThreeMarkText(const std::string& text, std::uint8_t flag, bool seconds) {
  const int k = MarkIndex(flag);
  return MarkEdit(text, [&](std::string& s, std::size_t p) {
    DeleteAt(s, p, 1);
    InsertAt(s, kMarks[0][k], p);
    InsertAt(s, kMarks[1][k], p + 3);
    if (seconds) InsertAt(s, Sep(IntlSeparators.Decimal), p + 6);
    s += kMarks[2][k];
  });
}

}  // namespace

std::string DmsMarkText(const std::string& text, std::uint8_t flag) { return ThreeMarkText(text, flag, true); }

std::string DmsMarkTextStr(const std::string& text, std::uint8_t flag) { return DmsMarkText(text, flag); }

std::string DmMarkText(const std::string& text, std::uint8_t flag) { return ThreeMarkText(text, flag, false); }

std::string DmMarkText2(const std::string& text, std::uint8_t flag) {
  const int k = MarkIndex(flag);
  return MarkEdit(text, [&](std::string& s, std::size_t p) {
    DeleteAt(s, p, 1);
    InsertAt(s, kMarks[0][k], p);
    s += kMarks[1][k];
  });
}

double DmsMarkTextFixed(double degrees, std::uint8_t flag, std::string& text) {
  const int k = MarkIndex(flag);
  double x = std::fmod(degrees + 1.0 / 1200.0, 360.0);
  if (x < 0) x += 360.0;
  if (x >= 360.0) x = 0.0;
  double whole = std::trunc(x);
  // Degrees and minutes to a tenth, truncated after the half-tenth added
  // above, so that the text rounds exactly once.
  double tenths = std::trunc((x - whole) * 600.0);
  std::string s = FormatFixed(whole + tenths / 1000.0, 20, 3);
  std::size_t p = Pos(s, ".");
  if (p != 0) {
    s.replace(p - 1, 1, kMarks[0][k]);
    InsertAt(s, Sep(IntlSeparators.Decimal), p + 3);
    InsertAt(s, kMarks[1][k], p + 5);
    s.resize(std::min(s.size(), p + 5));
  }
  text = Cp1252ToUtf8(s);
  return x;
}

std::string DegMinText(const std::string& text) {
  return MarkEdit(text, [&](std::string& s, std::size_t p) {
    s[p - 1] = kDegreeMark;
    InsertAt(s, "'", p + 3);
  });
}

std::string DmsArcText(const std::string& text) {
  return MarkEdit(text, [&](std::string& s, std::size_t p) {
    s[p - 1] = kDegreeMark;
    InsertAt(s, "'", p + 3);
    s += "''";
  });
}

std::string HmsColonText(const std::string& text) {
  return MarkEdit(text, [&](std::string& s, std::size_t p) {
    s[p - 1] = ':';
    InsertAt(s, ":", p + 3);
    if (!s.empty() && s[0] == ' ') s[0] = '0';
  });
}

std::string HmsColonToNumberText(const std::string& text) {
  std::string s = text;
  std::size_t p1 = Pos(s, ":");
  if (p1 == 0) return s;
  s[p1 - 1] = '.';
  std::size_t p2 = Pos(s, ":", p1);
  if (p2 != 0) {
    DeleteAt(s, p2, 1);
    // A one-digit minute (H:M:SS): its leading zero goes in front of it.
    if (p2 == p1 + 2) InsertAt(s, "0", p1 + 1);
  }
  return s;
}

std::string ArcMinText(const std::string& text) {
  return MarkEdit(text, [&](std::string& s, std::size_t p) {
    s[p - 1] = '\'';
    s += "''";
  });
}

std::string ArcMinSecText(const std::string& text) {
  return MarkEdit(text, [&](std::string& s, std::size_t p) {
    s[p - 1] = '\'';
    InsertAt(s, Sep(IntlSeparators.Decimal), p + 3);
    s += "''";
  });
}

std::string MinSecTimeText(const std::string& text) {
  std::string s = text;
  std::size_t i = s.find(',');
  if (i == std::string::npos) i = s.find('.');
  if (i == std::string::npos) return s;
  s[i] = 'm';
  return s + "s";
}

std::string DmsTextWithMarks(const std::string& text) {
  std::string s = Utf8ToCp1252(text);
  std::size_t p = Pos(s, Sep(IntlSeparators.Decimal));
  if (p == 0) return text;
  s[p - 1] = kDegreeMark;
  InsertAt(s, "'", p + 3);
  s += "''";
  return Cp1252ToUtf8(s);
}

// --- Numbers -----------------------------------------------------------------

std::string FormatFixed(double x, int width, int decimals) { return FormatFixedImpl(x, width, decimals); }

std::string FormatFixedExt(long double x, int width, int decimals) { return FormatFixedImpl(x, width, decimals); }

std::string FixedPointText(double x, int decimals, int width) {
  decimals = std::clamp(decimals, 0, 400);
  std::vector<char> buffer(static_cast<std::size_t>(decimals) + 330);
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x, std::chars_format::fixed, decimals);
  std::string text(buffer.data(), r.ptr);
  if (text.size() < static_cast<std::size_t>(std::max(width, 0))) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string SignificantDigitsText(double x, int digits) {
  char buffer[64];
  const auto r =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, std::clamp(digits, 1, 40));
  return std::string(buffer, r.ptr);
}

std::string KeptNumberText(double x, int decimals) {
  if (std::isfinite(x) && std::fabs(x) < 1e15) {
    const std::string fixed = RemoveBlanks(FormatFixed(x, 0, decimals));
    double back = 0;
    if (ValReal(fixed, back) && back == x) return fixed;
  }
  return ShortestNumberText(x);
}

std::string KeptNumberTextExt(long double x, int decimals) {
  if (std::isfinite(x) && std::fabs(x) < 1e15L) {
    const std::string fixed = RemoveBlanks(FormatFixedExt(x, 0, decimals));
    long double back = 0;
    if (StrToExtended(fixed, back) && back == x) return fixed;
  }
  return ShortestNumberTextExt(x);
}

void RealToStrFixed(int intDigits, int decimals, std::string& s, double x) {
  s = FormatFixed(x, intDigits + decimals + 1, decimals);
  if (s.size() > 30) s.resize(30);
}

void FloatToStrTrim(int decimals, std::string& s, double x) { s = TrimLeadingBlanks(FormatFixed(x, 12, decimals)); }

void FloatToStrTrimExt(int decimals, std::string& s, long double x) {
  s = TrimLeadingBlanks(FormatFixedExt(x, 12, decimals));
}

std::string FloatToTextSep(const std::string& text) { return ReplaceFirst(text, '.', Sep(IntlSeparators.Decimal)); }

std::string DotToDecimalSepTrim(const std::string& text) { return TrimLeadingBlanks(FloatToTextSep(text)); }

std::string DecimalSepToDot(const std::string& text) { return ReplaceFirst(text, ',', "."); }

std::string ShortCommaToDot(const std::string& text) {
  std::string s = ReplaceFirst(text, ',', ".");
  return s.empty() ? s : TrimLeadingBlanks(s);
}

std::string StripBlanksLocalizePoint(const std::string& text) {
  return ReplaceFirst(RemoveBlanks(text), '.', Sep(IntlSeparators.Decimal));
}

bool ValReal(const std::string& text, double& x) {
  const std::optional<TNumberRead> number = ReadNumber(AfterLeadingBlanks(text), PointSyntax(false));
  x = number ? number->Number : 0.0;
  return number.has_value();
}

bool StrToFloatDot(const std::string& text, double& x) {
  // "5." is 5 and "5.e3" is 5000, as strtod reads them; a lone mark (".",
  // "-.", ".e3") stays no number.
  const std::optional<TNumberRead> number = ReadNumber(AfterLeadingBlanks(text), PointSyntax(true));
  x = number ? number->Number : 0.0;
  return number.has_value();
}

bool StrToFloatNoBlanks(const std::string& text, double& x) { return ValReal(RemoveBlanks(text), x); }

bool StrToExtended(const std::string& text, long double& x) {
  const std::optional<long double> number = ReadLongNumber(AfterLeadingBlanks(text), PointSyntax(false));
  x = number ? *number : 0.0L;
  return number.has_value();
}

double TextToNumberCallback(const std::string& text, std::uint8_t& ok) {
  // With a decimal comma a "." is no decimal point and makes the text invalid.
  TNumberSyntax syntax = PointSyntax(false);
  syntax.Decimal = IntlSeparators.Decimal;
  const std::optional<TNumberRead> number = ReadNumber(TrimBlanks(text), syntax);
  ok = number ? 1 : 0;
  return number ? number->Number : 0.0;
}

void ParseDegreeText(const std::string& text, std::uint8_t& isDecimal, std::string& result) {
  isDecimal = 1;
  std::string s = text;
  const std::string degreeUtf8 = "\xC2\xB0";
  std::size_t i = s.find(degreeUtf8);
  if (i != std::string::npos) {
    s.replace(i, degreeUtf8.size(), 1, '.');
    isDecimal = 0;
  } else if ((i = s.find('.')) == std::string::npos && (i = s.find(',')) != std::string::npos) {
    s[i] = '.';
  }
  std::string withoutMinutes;
  for (char c : s) {
    if (c == '\'') {
      isDecimal = 0;
    } else {
      withoutMinutes += c;
    }
  }
  if (!withoutMinutes.empty() && withoutMinutes.back() == '.') withoutMinutes += '0';
  result = withoutMinutes;
}

double InchToCm(double inches) { return inches * 2.54; }

double CmToInch(double centimetres) { return centimetres * 0.3937007874015748; }

// --- Minor-planet catalogue routines ---------------------------------------

int PackedDateDigitValue(const std::string& digit) {
  if (digit.size() != 1) return 0;
  const char c = digit[0];
  if (c >= '1' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'V') return c - 'A' + 10;
  return 0;
}

namespace {

// A whole number >= 0 (digits only) as five or more zero-padded digits.
bool PadDesignationNumber(const std::string& text, std::string& padded) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  long n = std::stol(text);
  padded = std::to_string(n);
  if (padded.size() < 5) padded.insert(0, 5 - padded.size(), '0');
  return true;
}

}  // namespace

std::string FormatNumberedDesignation(const std::string& designation) {
  std::size_t blank = designation.find(' ');
  std::string number = designation.substr(0, blank);
  std::string padded;
  if (!PadDesignationNumber(number, padded)) return designation;
  if (blank == std::string::npos) return padded;
  return padded + " " + designation.substr(blank + 1);
}

std::string FormatParenthesisedDesignation(const std::string& designation) {
  std::size_t open = designation.find('(');
  std::size_t close = designation.find(')', open == std::string::npos ? 0 : open);
  if (open == std::string::npos || close == std::string::npos) return designation;
  std::string padded;
  if (!PadDesignationNumber(TrimBlanks(designation.substr(open + 1, close - open - 1)), padded)) return designation;
  return designation.substr(0, open) + "(" + padded + ")" + designation.substr(close + 1);
}

std::string NormalizeDesignation(const std::string& designation) {
  std::string s = TrimBlanks(designation);
  if (s.find('(') != std::string::npos) return FormatParenthesisedDesignation(s);
  return FormatNumberedDesignation(s);
}

// --- Files and markup --------------------------------------------------------

bool CheckTextFileFormat(const std::string& fileName) {
  std::string firstLine;
  {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return true;
    // The first line as a text reader sees it: up to LF, at most 255 characters.
    char c;
    while (firstLine.size() < 255 && in.get(c) && c != '\n') firstLine += c;
    if (!firstLine.empty() && firstLine.back() == '\r' && firstLine.size() < 255) firstLine.pop_back();
  }
  if (firstLine.size() < 255) return true;
  MessageResult answer = ShowMessage(
      fileName + " hat ein ungültiges Format. Datei konvertieren?", fileName + " has an invalid format. Convert file?",
      MessageIcon::Question, MessageButtons::YesNo, ByLanguage("Ungültiges Dateiformat", "Invalid file format"));
  if (answer != MessageResult::Yes) return false;

  // Rewrite with CR/LF line ends; the bytes of the lines stay as they are.
  std::string content, readError;
  if (!ReadFileBytes(fileName, content, readError)) return false;
  std::string converted;
  converted.reserve(content.size() + content.size() / 16);
  for (const std::string& line : SplitTextLines(content)) converted += line + "\r\n";

  static constexpr TSaveFailureLead kLead = {"{} konnte nicht konvertiert werden.", "{} could not be converted."};
  return SaveUserFile(fileName, converted, kLead);
}

std::string StripTagBrackets(const std::string& text) {
  std::size_t i = text.rfind('>');
  return i == std::string::npos ? text : text.substr(i + 1);
}

// --- Small texts -------------------------------------------------------------

std::string RemoveFirstDot(const std::string& text) {
  std::string s = text;
  std::size_t i = s.find('.');
  if (i != std::string::npos) s.erase(i, 1);
  return s;
}

std::string RoundedHourText(double hours) {
  if (!(std::fabs(hours) < 1e15)) return "--";
  double rounded = hours + 0.5 < 24.0 ? std::floor(hours + 0.5) : std::trunc(hours);
  return std::to_string(static_cast<long long>(rounded));
}

std::string NorthSouthText(double x) {
  return x >= 0 ? ByLanguage(" nördlich", " northern") : ByLanguage(" südlich", " southern");
}

}  // namespace kvx
