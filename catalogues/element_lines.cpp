#include "catalogues/element_lines.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>
#include <vector>

#include "catalogues/text_line_reader.h"
#include "core/element_records.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
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

// The text without blanks and tabs at its ends (a loop: the catalogues'
// million fields are no place for a search over a set of characters).
inline std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  std::size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

template <typename Record, std::size_t N>
const char* FirstNotFinite(const Record& e, const TRecordField<Record> (&fields)[N]) {
  for (const auto& [name, member] : fields) {
    if (!std::isfinite(e.*member)) return name;
  }
  return nullptr;
}

}  // namespace

const char* UnusableField(const TAsteroidElements& e) {
  if (const char* field = FirstNotFinite(e, kAsteroidRecordFields)) return field;
  if (!(e.SemiMajorAxis > 0)) return "a";
  if (!(e.Eccentricity >= 0 && e.Eccentricity < 1)) return "e";
  return nullptr;
}

const char* UnusableField(const TCometElements& e) {
  if (const char* field = FirstNotFinite(e, kCometRecordFields)) return field;
  if (!(e.PerihelionDistance > 0)) return "q";
  if (!(e.Eccentricity >= 0)) return "e";
  return nullptr;
}

const char* UnusableField(const TVariableStarElements& e) {
  if (const char* field = FirstNotFinite(e, kVariableStarRecordFields)) return field;
  if (!(e.Period > 0)) return "Period";
  return nullptr;
}

bool AsteroidElementsUsable(const TAsteroidElements& e) { return UnusableField(e) == nullptr; }

bool CometElementsUsable(const TCometElements& e) { return UnusableField(e) == nullptr; }

bool VariableStarElementsUsable(const TVariableStarElements& e) { return UnusableField(e) == nullptr; }

TLineParse ParseAsteroidCsvLine(const std::string& line, bool normalizeNames, TAsteroidElements& record,
                                const char** unusable) {
  if (IsBlankOrComment(line)) return TLineParse::Blank;
  // Up to twelve fields; text after a thirteenth ";" is ignored. A line that
  // ends early leaves the rest blank.
  const std::vector<std::string_view> f = SplitFields(line, 13);
  TAsteroidElements e;
  std::string name(f[0]);
  if (normalizeNames) name = NormalizeDesignation(name);
  e.Name = ElementRecordName(name);
  TFieldReader fields(kOwnAsteroidLineFields);
  fields.ReadTexts(std::span(f).subspan(1), e);
  record = std::move(e);
  return LineOutcome(record, fields, unusable);
}

TLineParse ParseCometCsvLine(const std::string& line, TCometElements& record, const char** unusable) {
  if (IsBlankOrComment(line)) return TLineParse::Blank;
  const std::vector<std::string_view> f = SplitFields(line, 11);
  TCometElements e;
  e.Name = ElementRecordName(std::string(f[0]));
  TFieldReader fields(kOwnCometLineFields);
  fields.ReadTexts(std::span(f).subspan(1), e);
  record = std::move(e);
  return LineOutcome(record, fields, unusable);
}

TLineParse ParseVariableStarLine(const std::string& line, TVariableStarElements& record, const char** unusable) {
  if (IsBlankOrComment(line)) return TLineParse::Blank;
  const std::vector<std::string_view> f = SplitFields(line, 9);
  TVariableStarElements v;
  v.Name = Utf8Prefix(f[0], kVariableStarNameLength);
  TFieldReader fields(kVariableStarLineFields);
  fields.ReadTexts(std::span(f).subspan(1, 7), v);
  v.Type = Utf8Prefix(f[8], 1);
  record = std::move(v);
  return LineOutcome(record, fields, unusable);
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
  return ReadNumberField(word, value);
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

// --- number fields -----------------------------------------------------------------

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// A short plain decimal: an optional "-", then at most 15 digits with at
// most one "." between them (not at the end). Its value is the whole
// digits over a power of ten, both exact in a double, whose quotient is
// rounded once: the number nearest to the text, as from_chars gives it.
bool ShortDecimal(std::string_view t, double& value) {
  std::size_t i = t.size() > 0 && t[0] == '-' ? 1 : 0;
  const bool negative = i == 1;
  std::uint64_t digits = 0;
  int count = 0, decimals = 0;
  bool point = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c >= '0' && c <= '9') {
      if (++count > 15) return false;
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      if (point) ++decimals;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (count == 0 || (point && decimals == 0)) return false;
  const double x = static_cast<double>(digits) / kPowersOfTen[decimals];
  value = negative ? -x : x;
  return true;
}

}  // namespace

bool ReadNumberField(std::string_view text, double& value) {
  const std::string_view t = Trim(text);
  if (t.empty()) return false;
  // Plain decimal numbers directly (the catalogues hold a million of them).
  if (ShortDecimal(t, value)) return true;
  if (t.front() != '+' && t.back() != '.') {
    double x = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), x, std::chars_format::fixed);
    if (error == std::errc() && end == t.data() + t.size() && std::isfinite(x)) {
      value = x;
      return true;
    }
  }
  // Anything else with its first "," as "."; a lone mark or sign is no
  // number, although a number may end in its mark ("5.").
  std::string dotted(t);
  const std::size_t comma = dotted.find(',');
  if (comma != std::string::npos) dotted[comma] = '.';
  const std::size_t exponent = dotted.find_first_of("eE");
  const std::string_view mantissa = std::string_view(dotted).substr(0, exponent);
  if (std::none_of(mantissa.begin(), mantissa.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  double x = 0;
  if (!StrToFloatDot(dotted, x)) return false;
  value = x;
  return true;
}

bool DigitDateJd(std::string_view text, double& jd) {
  if (text.size() != 8) return false;
  int digits[8];
  for (std::size_t k = 0; k < 8; ++k) {
    if (text[k] < '0' || text[k] > '9') return false;
    digits[k] = text[k] - '0';
  }
  const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
  const int month = digits[4] * 10 + digits[5];
  const int day = digits[6] * 10 + digits[7];
  if (month < 1 || month > 12 || day < 1 || !IsCalendarDate(day, month, year)) return false;
  jd = MjdToJd(CalendarDateToMjd(day, month, year, 0.0));
  return true;
}

bool TFieldReader::Read(std::size_t k, std::string_view whole, double& value) {
  const TFormatField* field = k < fields_.size() ? &fields_[k] : nullptr;
  const std::string_view text = Trim(whole);
  if (text.empty() && field != nullptr) {
    switch (field->BlankRule) {
      case TBlankRule::Value:
        value = field->Blank;
        return true;
      case TBlankRule::PerihelionTime:
        value = std::numeric_limits<double>::quiet_NaN();
        if (k < 32) blankFromT_ |= std::uint32_t{1} << k;
        return true;
      case TBlankRule::PassedOver:
        value = std::numeric_limits<double>::quiet_NaN();
        passedOver_ = true;
        return false;
      case TBlankRule::Refused:
        break;
    }
  } else if (ReadNumberField(text, value)) {
    return true;
  }
  value = std::numeric_limits<double>::quiet_NaN();
  Refuse(k);
  return false;
}

bool TFieldReader::Next(std::size_t k, TFieldCursor& cursor, double& value) {
  std::string_view word;
  return Read(k, cursor.Word(word) ? word : std::string_view(), value);
}

bool TFieldReader::NextDate(std::size_t first, TFieldCursor& cursor, TDateOrder order, double& jd) {
  jd = std::numeric_limits<double>::quiet_NaN();
  double parts[3] = {};
  for (std::size_t k = 0; k < 3; ++k) {
    if (!Next(first + k, cursor, parts[k])) return false;
  }
  const bool yearFirst = order == TDateOrder::YearMonthDay;
  if (JdOfDayDate(yearFirst ? parts[0] : parts[2], parts[1], yearFirst ? parts[2] : parts[0], jd)) return true;
  Refuse(first);
  return false;
}

template <typename Record>
double* TFieldReader::Member(Record& record, const TFormatField& f) const {
  if (f.Member == kNoMember) return nullptr;
  return &(record.*RecordFields<Record>()[static_cast<std::size_t>(f.Member)].second);
}

template <typename Record>
void TFieldReader::ApplyBlankRules(Record& record) const {
  if (blankFromT_ == 0) return;
  if constexpr (std::is_same_v<Record, TCometElements>) {
    for (std::size_t k = 0; k < fields_.size() && k < 32; ++k) {
      if ((blankFromT_ >> k) & 1u) *Member(record, fields_[k]) = record.PerihelionTime;
    }
  }
}

template <typename Record>
void TFieldReader::ReadTexts(std::span<const std::string_view> texts, Record& record) {
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    const TFormatField& f = fields_[k];
    const std::string_view text = k < texts.size() ? texts[k] : std::string_view();
    double* value = Member(record, f);
    double ignored = 0;
    if (value == nullptr) value = &ignored;
    if (f.Form == TFieldForm::DateText) {
      if (!ParsePerihelionDateText(std::string(text), *value)) {
        *value = std::numeric_limits<double>::quiet_NaN();
        Refuse(k);
      }
    } else if (Read(k, text, *value) && f.Form == TFieldForm::Mjd) {
      *value = MjdToJd(*value);
    }
  }
  ApplyBlankRules(record);
}

template <typename Record>
void TFieldReader::ReadWords(TFieldCursor& cursor, Record& record, double* kind) {
  // The date's three words come first.
  const TDateOrder order = fields_[0].Form == TFieldForm::Year ? TDateOrder::YearMonthDay : TDateOrder::DayMonthYear;
  if (!NextDate(0, cursor, order, *Member(record, fields_[0]))) return;
  for (std::size_t k = 3; k < fields_.size(); ++k) {
    double* value = Member(record, fields_[k]);
    if (value == nullptr) value = kind;
    double ignored = 0;
    if (!Next(k, cursor, value != nullptr ? *value : ignored)) return;
  }
  ApplyBlankRules(record);
}

template <typename Record>
void TFieldReader::ReadColumns(const TLineColumns& line, std::size_t shift, Record& record) {
  double date[3] = {};  // year, month, day
  std::size_t dateField = SIZE_MAX;
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    const TFormatField& f = fields_[k];
    const std::string_view text = line.Columns(f.First + shift, f.Last + shift);
    double* value = Member(record, f);
    double ignored = 0;
    if (value == nullptr) value = &ignored;
    // A line that ends before the field's last column is cut short: the
    // field is missing, whatever a blank one would give.
    if (line.Length() < f.Last + shift) {
      *value = std::numeric_limits<double>::quiet_NaN();
      if (f.Form == TFieldForm::Year || f.Form == TFieldForm::Month || f.Form == TFieldForm::Day)
        dateField = std::min(dateField, k);
      Refuse(k);
      continue;
    }
    switch (f.Form) {
      case TFieldForm::Year:
      case TFieldForm::Month:
      case TFieldForm::Day:
        dateField = std::min(dateField, k);
        Read(k, text, date[f.Form == TFieldForm::Year ? 0 : f.Form == TFieldForm::Month ? 1 : 2]);
        break;
      case TFieldForm::Packed: {
        const std::optional<double> jd = UnpackPackedEpoch(text);
        *value = jd.value_or(std::numeric_limits<double>::quiet_NaN());
        if (!jd) Refuse(k);
        break;
      }
      case TFieldForm::Digits:
        if (!DigitDateJd(text, *value)) {
          *value = std::numeric_limits<double>::quiet_NaN();
          Refuse(k);
        }
        break;
      default:
        if (k < texts_.size()) {
          texts_[k] = Trim(text);
          Read(k, texts_[k], *value);
        } else {
          Read(k, text, *value);
        }
        break;
    }
  }
  if (dateField != SIZE_MAX) {
    double* value = Member(record, fields_[dateField]);
    if (!JdOfDayDate(date[0], date[1], date[2], *value)) Refuse(dateField);
  }
  ApplyBlankRules(record);
}

template void TFieldReader::ReadTexts(std::span<const std::string_view>, TAsteroidElements&);
template void TFieldReader::ReadTexts(std::span<const std::string_view>, TCometElements&);
template void TFieldReader::ReadTexts(std::span<const std::string_view>, TVariableStarElements&);
template void TFieldReader::ReadWords(TFieldCursor&, TAsteroidElements&, double*);
template void TFieldReader::ReadWords(TFieldCursor&, TCometElements&, double*);
template void TFieldReader::ReadColumns(const TLineColumns&, std::size_t, TAsteroidElements&);
template void TFieldReader::ReadColumns(const TLineColumns&, std::size_t, TCometElements&);

void TFieldReader::Refuse(std::size_t k) {
  if (k >= refusedIndex_) return;
  refusedIndex_ = k;
  refused_ = k < fields_.size() ? fields_[k].Name : "";
}

// Without the text's round trip where none is needed: when x is below
// 2^51 / 10^decimals, a unit of its last binary digit is less than half of
// 10^-decimals, so at most one multiple m of 10^-decimals reads back as x,
// and rounding x to the decimals gives it: where m / 10^decimals (both
// exact, the quotient rounded once, as the readers read) is x, m's digits
// are that text. Other values take KeptNumberText's own way. A catalogue
// conversion writes a million such numbers.
void AppendKeptNumber(std::string& out, double x, int decimals, char mark) {
  if (decimals >= 0 && decimals < static_cast<int>(std::size(kPowersOfTen))) {
    const double scale = kPowersOfTen[decimals];
    if (std::fabs(x) < 0x1p51 / scale) {
      // Any m will do that passes the check below; x's own is the nearest.
      const double scaled = x * scale;
      const long long m = static_cast<long long>(scaled + (scaled < 0 ? -0.5 : 0.5));
      if (static_cast<double>(m) / scale == x) {
        // Written from its last digit: the decimals, the mark, at least one
        // digit before it, the sign (-0 is written as 0, as FormatFixed
        // writes it).
        char buffer[48];
        char* const end = buffer + sizeof buffer;
        char* p = end;
        unsigned long long digits = static_cast<unsigned long long>(m < 0 ? -m : m);
        for (int k = 0; k < decimals; ++k, digits /= 10) *--p = static_cast<char>('0' + digits % 10);
        if (decimals > 0) *--p = mark;
        do {
          *--p = static_cast<char>('0' + digits % 10);
          digits /= 10;
        } while (digits != 0);
        if (m < 0) *--p = '-';
        out.append(p, static_cast<std::size_t>(end - p));
        return;
      }
    }
  }
  const std::string text = KeptNumberText(x, decimals);
  const std::size_t at = out.size();
  out += text;
  const std::size_t point = out.find('.', at);
  if (point != std::string::npos) out[point] = mark;
}

template <typename Record>
std::string SeparatedLine(const TElementLineFormat& row, const std::string& name, const Record& record) {
  const char mark = row.Separator == ';' ? IntlSeparators.Decimal : '.';
  std::string line;
  line.reserve(name.size() + 16 * row.Fields.size());
  line = name;
  for (const TFormatField& f : row.Fields) {
    line += row.Separator;
    const double value = record.*RecordFields<Record>()[static_cast<std::size_t>(f.Member)].second;
    if (f.Form == TFieldForm::DateText) {
      line += PerihelionDateText(value);
      continue;
    }
    AppendKeptNumber(line, f.Form == TFieldForm::Mjd ? JdToMjd(value) : value, f.Decimals, mark);
  }
  return line;
}

template std::string SeparatedLine(const TElementLineFormat&, const std::string&, const TAsteroidElements&);
template std::string SeparatedLine(const TElementLineFormat&, const std::string&, const TCometElements&);
template std::string SeparatedLine(const TElementLineFormat&, const std::string&, const TVariableStarElements&);

TLineParse ParseMpcOneLine(std::string_view line, bool normalizeNames, TAsteroidElements& record, const char** unusable,
                           TFormatFields fields) {
  return ParseMpcOneLine(TLineColumns(line), normalizeNames, record, unusable, fields);
}

TLineParse ParseMpcOneLine(const TLineColumns& line, bool normalizeNames, TAsteroidElements& record,
                           const char** unusable, TFormatFields fields) {
  if (Trim(line.Line()).empty()) return TLineParse::Blank;
  TAsteroidElements e;
  TFieldReader reader(fields);
  reader.ReadColumns(line, 0, e);
  e.Equinox = 2000;
  std::string name(Trim(line.Columns(167, 194)));
  if (name.empty()) name = std::string(Trim(line.Columns(1, 7)));
  if (normalizeNames) name = NormalizeDesignation(name);
  e.Name = name.size() <= kElementNameLength && IsValidUtf8(name)
               ? std::move(name)
               : ElementRecordName(IsValidUtf8(name) ? name : Cp1252ToUtf8(name));
  record = std::move(e);
  return LineOutcome(record, reader, unusable);
}

// --- dates with their day ----------------------------------------------------------

bool JdOfDayDate(double year, double month, double day, double& jd) {
  jd = std::numeric_limits<double>::quiet_NaN();
  if (!(std::fabs(year) < 1e6 && year == std::floor(year) && month >= 1 && month <= 12 && month == std::floor(month) &&
        day >= 0 && day < 33)) {
    return false;
  }
  const int whole = static_cast<int>(std::floor(day));
  jd = MjdToJd(CalendarDateToMjd(whole, static_cast<int>(month), static_cast<int>(year), (day - whole) * 24.0));
  return std::isfinite(jd);
}

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
  double day = 0;
  // The day is checked as a number before it becomes a whole day.
  if (!ReadNumberField(std::string_view(text).substr(second + 1), day) || !(day >= 1 && day < 32) || month < 1 ||
      month > 12)
    return false;
  const int wholeDay = static_cast<int>(std::floor(day));
  jd = MjdToJd(CalendarDateToMjd(wholeDay, month, year, (day - wholeDay) * 24.0));
  return std::isfinite(jd);
}

}  // namespace kvx
