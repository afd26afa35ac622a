#include "catalogues/element_lines.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <vector>

#include "catalogues/text_line_reader.h"
#include "core/element_records.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/text_encoding.h"

namespace kvx {

bool IsElementDataLine(const std::string& line) {
  return !line.empty() && line.front() != ':' && line.find_first_not_of(" \t") != std::string::npos;
}

namespace {

// Splits at ';' into exactly `count` fields; the last takes the rest of the
// line; missing fields are empty.
std::vector<std::string_view> SplitFields(std::string_view line, std::size_t count, char separator = ';') {
  std::vector<std::string_view> fields;
  fields.reserve(count);
  std::size_t start = 0;
  while (fields.size() + 1 < count) {
    const std::size_t end = line.find(separator, start);
    if (end == std::string_view::npos) break;
    fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  fields.push_back(start <= line.size() ? line.substr(start) : std::string_view());
  while (fields.size() < count) fields.emplace_back();
  return fields;
}

bool IsBlankOrComment(std::string_view line) {
  return line.empty() || line.front() == ':' || line.find_first_not_of(" \t") == std::string_view::npos;
}

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

// The byte offset `chars` characters (UTF-8 code points) after `from`, or
// the end of the text.
std::size_t AdvanceChars(std::string_view s, std::size_t from, std::size_t chars) {
  std::size_t i = from;
  while (i < s.size() && chars > 0) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    --chars;
  }
  return i;
}

std::string_view Trim(std::string_view s) {
  const std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  const std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

}  // namespace

double OwnNumberField(std::string_view field) {
  std::string text(Trim(field));
  const std::size_t comma = text.find(',');
  if (comma != std::string::npos) text[comma] = '.';
  double value = 0;
  ValReal(text, value);  // 0 when it is not a number
  return value;
}

bool AsteroidElementsUsable(const TAsteroidElements& e) {
  return AllFinite({e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.MeanAnomaly, e.MeanMotion,
                    e.Equinox, e.Epoch, e.H, e.G}) &&
         e.SemiMajorAxis > 0 && e.Eccentricity >= 0 && e.Eccentricity < 1;
}

bool CometElementsUsable(const TCometElements& e) {
  return AllFinite({e.PerihelionDistance, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.Equinox,
                    e.PerihelionTime, e.H, e.G, e.Epoch}) &&
         e.PerihelionDistance > 0 && e.Eccentricity >= 0;
}

bool VariableStarElementsUsable(const TVariableStarElements& e) {
  return AllFinite({e.RA, e.Dec, e.MaxMag, e.MinMag, e.Epoch, e.Period, e.Equinox}) && e.Period > 0;
}

TLineParse ParseAsteroidCsvLine(const std::string& line, bool normalizeNames, TAsteroidElements& record) {
  if (IsBlankOrComment(line)) return TLineParse::Blank;
  // Up to twelve fields; text after a thirteenth ";" is ignored.
  std::vector<std::string_view> f = SplitFields(line, 13);
  TAsteroidElements e;
  std::string name(f[0]);
  if (normalizeNames) name = NormalizeDesignation(name);
  e.Name = ElementRecordName(name);
  double* numbers[] = {&e.SemiMajorAxis, &e.Eccentricity, &e.Inclination, &e.Node,  &e.Perihelion,
                       &e.MeanAnomaly,   &e.MeanMotion,   &e.Equinox,     &e.Epoch, &e.H};
  for (std::size_t k = 0; k < 10; ++k) *numbers[k] = OwnNumberField(f[k + 1]);
  // A line that ends after h (no eleventh ";") takes the usual slope.
  std::size_t separators = 0;
  for (char c : line) separators += c == ';' ? 1 : 0;
  e.G = separators >= 11 ? OwnNumberField(f[11]) : 0.15;
  record = std::move(e);
  return AsteroidElementsUsable(record) ? TLineParse::Parsed : TLineParse::Unusable;
}

TLineParse ParseCometCsvLine(const std::string& line, TCometElements& record) {
  if (IsBlankOrComment(line)) return TLineParse::Blank;
  std::vector<std::string_view> f = SplitFields(line, 11);
  TCometElements e;
  e.Name = ElementRecordName(std::string(f[0]));
  double* numbers[] = {&e.PerihelionDistance,
                       &e.Eccentricity,
                       &e.Inclination,
                       &e.Node,
                       &e.Perihelion,
                       &e.Equinox,
                       &e.PerihelionTime,
                       &e.H,
                       &e.G,
                       &e.Epoch};
  for (std::size_t k = 0; k < 10; ++k) *numbers[k] = OwnNumberField(f[k + 1]);
  record = std::move(e);
  return CometElementsUsable(record) ? TLineParse::Parsed : TLineParse::Unusable;
}

TLineParse ParseVariableStarLine(const std::string& line, TVariableStarElements& record) {
  if (IsBlankOrComment(line)) return TLineParse::Blank;
  std::vector<std::string_view> f = SplitFields(line, 9);
  TVariableStarElements v;
  v.Name = Utf8Prefix(f[0], kVariableStarNameLength);
  double* numbers[] = {&v.RA, &v.Dec, &v.MaxMag, &v.MinMag, &v.Epoch, &v.Period, &v.Equinox};
  for (std::size_t k = 0; k < 7; ++k) *numbers[k] = OwnNumberField(f[k + 1]);
  v.Type = Utf8Prefix(f[8], 1);
  record = std::move(v);
  return VariableStarElementsUsable(record) ? TLineParse::Parsed : TLineParse::Unusable;
}

std::string PointNumberText(double value, int decimals, int minWidth) {
  return RemoveBlanks(FormatFixed(value, minWidth, decimals));
}

std::string OwnNumberText(double value, int decimals) { return FloatToTextSep(PointNumberText(value, decimals)); }

std::string WritableName(const std::string& name, char forbidden) {
  std::string s = name;
  // A byte-order mark (U+FEFF) at the start of a file is dropped by the
  // readers: in a name it is a blank.
  for (std::size_t at = s.find("\xEF\xBB\xBF"); at != std::string::npos; at = s.find("\xEF\xBB\xBF", at)) {
    s.replace(at, 3, 1, ' ');
  }
  for (char& c : s) {
    // The separator, line ends and other control characters would split or
    // end the line.
    if (c == forbidden || (static_cast<unsigned char>(c) < 0x20)) c = ' ';
  }
  // Leading blanks go to the end; so do leading ":" (a line beginning with
  // ":" is a comment line to every reader).
  const std::size_t first = s.find_first_not_of(" :");
  if (first == std::string::npos) return std::string(s.size(), ' ');
  if (first == 0) return s;
  return s.substr(first) + std::string(first, ' ');
}

std::optional<double> UnpackPackedEpoch(std::string_view packed) {
  if (packed.size() != 5) return std::nullopt;
  int century = 0;
  switch (packed[0]) {
    case 'I':
      century = 1800;
      break;
    case 'J':
      century = 1900;
      break;
    case 'K':
      century = 2000;
      break;
    case 'L':
      century = 2100;
      break;
    default:
      return std::nullopt;
  }
  if (packed[1] < '0' || packed[1] > '9' || packed[2] < '0' || packed[2] > '9') return std::nullopt;
  const int year = century + (packed[1] - '0') * 10 + (packed[2] - '0');
  const int month = PackedDateDigitValue(std::string(1, packed[3]));
  const int day = PackedDateDigitValue(std::string(1, packed[4]));
  if (month < 1 || month > 12 || day < 1 || !IsCalendarDate(day, month, year)) return std::nullopt;
  return MjdToJd(CalendarDateToMjd(day, month, year, 0.0));
}

// --- field cursor -------------------------------------------------------------

bool TFieldCursor::Word(std::string_view& word) {
  while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t')) ++pos_;
  const std::size_t start = pos_;
  while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t') ++pos_;
  word = line_.substr(start, pos_ - start);
  return !word.empty();
}

bool TFieldCursor::Number(double& value) {
  std::string_view word;
  value = 0;
  if (!Word(word)) return false;
  std::string text(word);
  const std::size_t comma = text.find(',');
  if (comma != std::string::npos) text[comma] = '.';
  return StrToFloatDot(text, value);
}

bool TFieldCursor::Integer(int& value) {
  std::string_view word;
  value = 0;
  if (!Word(word)) return false;
  std::size_t start = word.front() == '+' ? 1 : 0;
  auto [end, error] = std::from_chars(word.data() + start, word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size();
}

void TFieldCursor::Skip(std::size_t count) { pos_ = AdvanceChars(line_, pos_, count); }

std::string TFieldCursor::Take(std::size_t count) {
  const std::size_t start = pos_;
  Skip(count);
  return std::string(line_.substr(start, pos_ - start));
}

std::string TFieldCursor::Rest() {
  const std::size_t start = pos_;
  pos_ = line_.size();
  return std::string(line_.substr(start));
}

// --- fixed columns ----------------------------------------------------------------

std::string_view Columns(std::string_view line, std::size_t first, std::size_t last) {
  if (first < 1 || last < first) return {};
  const std::size_t begin = AdvanceChars(line, 0, first - 1);
  return line.substr(begin, AdvanceChars(line, begin, last - first + 1) - begin);
}

TLineColumns::TLineColumns(std::string_view line) : line_(line) {
  auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
  const bool leading = !line.empty() && continuation(line[0]);
  // Most lines are plain ASCII: one quick look decides.
  if (IsPlainAscii(line) || std::none_of(line.begin() + (line.empty() ? 0 : 1), line.end(), continuation)) {
    length_ = line.size() - (leading ? 1 : 0);
    return;
  }
  starts_.reserve(line.size() + 1);
  starts_.push_back(0);
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (!continuation(line[i])) starts_.push_back(i);
  }
  length_ = starts_.size() - (leading ? 1 : 0);
  starts_.push_back(line.size());
}

std::string_view TLineColumns::Columns(std::size_t first, std::size_t last) const {
  if (first < 1 || last < first) return {};
  const std::size_t begin = Offset(first - 1);
  return line_.substr(begin, Offset(last) - begin);
}

namespace {

// The trimmed text of a number field as ColumnNumber reads it.
bool FieldNumber(std::string_view field, double& value) {
  value = 0;
  std::string_view text = Trim(field);
  if (text.empty()) return true;
  // Plain decimal numbers directly; anything unusual by the general rule.
  if (text.front() != '+' && text.back() != '.') {
    double x = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), x, std::chars_format::fixed);
    if (error == std::errc() && end == text.data() + text.size() && std::isfinite(x)) {
      value = x;
      return true;
    }
  }
  return ValReal(std::string(text), value);
}

}  // namespace

bool ColumnNumber(std::string_view line, std::size_t first, std::size_t last, double& value) {
  return FieldNumber(Columns(line, first, last), value);
}

bool ColumnNumber(const TLineColumns& line, std::size_t first, std::size_t last, double& value) {
  return FieldNumber(line.Columns(first, last), value);
}

TLineParse ParseMpcOneLine(std::string_view line, bool normalizeNames, TAsteroidElements& record) {
  return ParseMpcOneLine(TLineColumns(line), normalizeNames, record);
}

TLineParse ParseMpcOneLine(const TLineColumns& line, bool normalizeNames, TAsteroidElements& record) {
  if (Trim(line.Line()).empty()) return TLineParse::Blank;
  if (line.Length() < 103) return TLineParse::Unusable;
  const std::optional<double> epoch = UnpackPackedEpoch(line.Columns(21, 25));
  if (!epoch) return TLineParse::Unusable;
  TAsteroidElements e;
  e.Epoch = *epoch;
  e.Equinox = 2000;
  struct Field {
    std::size_t first, last;
    double* value;
  };
  const Field fields[] = {{9, 13, &e.H},
                          {15, 19, &e.G},
                          {27, 35, &e.MeanAnomaly},
                          {38, 46, &e.Perihelion},
                          {49, 57, &e.Node},
                          {60, 68, &e.Inclination},
                          {71, 79, &e.Eccentricity},
                          {81, 91, &e.MeanMotion},
                          {93, 103, &e.SemiMajorAxis}};
  for (const Field& f : fields) {
    if (!ColumnNumber(line, f.first, f.last, *f.value)) return TLineParse::Unusable;
  }
  std::string name(Trim(line.Columns(167, 194)));
  if (name.empty()) name = std::string(Trim(line.Columns(1, 7)));
  if (normalizeNames) name = NormalizeDesignation(name);
  e.Name = name.size() <= kElementNameLength && IsValidUtf8(name)
               ? std::move(name)
               : ElementRecordName(IsValidUtf8(name) ? name : Cp1252ToUtf8(name));
  record = std::move(e);
  return AsteroidElementsUsable(record) ? TLineParse::Parsed : TLineParse::Unusable;
}

// --- dates with their day ----------------------------------------------------------

double RoundJdToDayDecimals(double jd, int decimals) {
  if (!(std::fabs(jd) < 1e12)) return jd;
  const double scale = std::pow(10.0, decimals);
  return MjdToJd(std::round(JdToMjd(jd) * scale) / scale);
}

// --- HomePlanet perihelion time ---------------------------------------------------

namespace {

std::string PerihelionDateTextWith(double jd, int decimals) {
  int day = 0, month = 0, year = 0;
  double hours = 0;
  JdToCalendarDate(day, month, year, hours, RoundJdToDayDecimals(jd, decimals));
  std::string dayText = PointNumberText(day + hours / 24.0, decimals, 1);
  // Trailing zeros of the fraction beyond the third decimal say nothing;
  // a whole day stands without its fraction.
  while (dayText.size() > dayText.find('.') + 4 && dayText.back() == '0') dayText.pop_back();
  if (dayText.ends_with(".000")) dayText.resize(dayText.size() - 4);
  return std::to_string(year) + "-" + std::to_string(month) + "-" + dayText;
}

}  // namespace

std::string PerihelionDateText(double jd) {
  // The fewest decimals from three on that read back to T itself.
  constexpr int kMostDecimals = 10;
  for (int decimals = 3; decimals <= kMostDecimals; ++decimals) {
    const std::string text = PerihelionDateTextWith(jd, decimals);
    double back = 0;
    if (ParsePerihelionDateText(text, back) && std::fabs(back - jd) <= 4 * DBL_EPSILON * std::fabs(jd)) return text;
  }
  return PerihelionDateTextWith(jd, kMostDecimals);
}

bool ParsePerihelionDateText(const std::string& text, double& jd) {
  // The year may carry a minus sign: split at the first two "-" after it.
  const std::size_t first = text.find('-', 1);
  if (first == std::string::npos) return false;
  const std::size_t second = text.find('-', first + 1);
  if (second == std::string::npos) return false;
  int year = 0, month = 0;
  const std::string y = std::string(Trim(std::string_view(text).substr(0, first)));
  const std::string m = std::string(Trim(std::string_view(text).substr(first + 1, second - first - 1)));
  auto whole = [](const std::string& s, int& v) {
    std::size_t start = !s.empty() && (s[0] == '+') ? 1 : 0;
    auto [end, error] = std::from_chars(s.data() + start, s.data() + s.size(), v);
    return !s.empty() && error == std::errc() && end == s.data() + s.size();
  };
  if (!whole(y, year) || !whole(m, month)) return false;
  std::string d(Trim(std::string_view(text).substr(second + 1)));
  const std::size_t comma = d.find(',');
  if (comma != std::string::npos) d[comma] = '.';
  double day = 0;
  // The day is checked as a number before it becomes a whole day.
  if (!StrToFloatDot(d, day) || !(day >= 1 && day < 32) || month < 1 || month > 12) return false;
  const int wholeDay = static_cast<int>(std::floor(day));
  jd = MjdToJd(CalendarDateToMjd(wholeDay, month, year, (day - wholeDay) * 24.0));
  return std::isfinite(jd);
}

}  // namespace kvx
