#include "catalogues/foreign_lines.h"

#include <cmath>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "catalogues/element_lines.h"
#include "core/element_records.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/number_text.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

std::string RightTrimmed(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

// Pads a UTF-8 text with blanks to `width` characters.
std::string PadRight(const std::string& s, std::size_t width) {
  const std::size_t length = Utf8Length(s);
  return length >= width ? s : s + std::string(width - length, ' ');
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

// A fixed-column line: each number right aligned in its field, with a
// blank before it when it fills the field or is wider (the readers split
// at blanks); the first such number is remembered.
class TColumnLine {
 public:
  explicit TColumnLine(std::string start) : text_(std::move(start)) {}
  TColumnLine& Add(const std::string& text) {
    text_ += text;
    return *this;
  }
  TColumnLine& Number(const char* field, double x, int width, int decimals) {
    std::string s = FormatFixed(x, width, decimals);
    if (s.empty() || s.front() != ' ') {
      s.insert(s.begin(), ' ');
      if (widened_ == nullptr) widened_ = field;
    }
    text_ += s;
    return *this;
  }
  std::string Done(const char** widened) {
    if (widened != nullptr) *widened = widened_;
    return std::move(text_);
  }

 private:
  std::string text_;
  const char* widened_ = nullptr;
};

// The calendar date of a Julian day rounded to `decimals` decimals of its
// day; `day` carries the time as its fraction.
struct TDayDate {
  int Year = 0;
  int Month = 0;
  double Day = 0;
};

TDayDate DateWithDay(double jd, int decimals) {
  int day = 0, month = 0, year = 0;
  double hours = 0;
  JdToCalendarDate(day, month, year, hours, RoundJdToDayDecimals(jd, decimals));
  return {year, month, day + hours / 24.0};
}

TForeignLineRead ForeignOutcome(TLineParse parse) {
  return parse == TLineParse::Parsed ? TForeignLineRead::Parsed : TForeignLineRead::Unusable;
}

// Splits at `separator` into `count` fields; the last takes the rest of the
// line when `lastTakesRest`, else text after it is dropped. Missing fields
// are empty.
std::vector<std::string_view> SplitAt(std::string_view line, char separator, std::size_t count, bool lastTakesRest) {
  std::vector<std::string_view> f(count);
  std::size_t start = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t end = k + 1 < count || !lastTakesRest ? line.find(separator, start) : std::string_view::npos;
    if (start <= line.size())
      f[k] = line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    start = end == std::string_view::npos ? line.size() + 1 : end + 1;
  }
  return f;
}

// The row's fields of `e` after the name of a fixed-column line: the date
// (its day with the Day field's decimals), then each number right aligned
// in its width (TColumnLine), each after its blanks.
template <typename Record>
TColumnLine& AddColumnFields(TColumnLine& line, TFormatFields fields, const Record& e) {
  TDayDate date;
  for (const TFormatField& f : fields) {
    if (f.Form == TFieldForm::Day) date = DateWithDay(e.*RecordFields<Record>()[f.Member].second, f.Decimals);
  }
  for (const TFormatField& f : fields) {
    line.Add(std::string(static_cast<std::size_t>(f.Blanks), ' '));
    switch (f.Form) {
      case TFieldForm::Year:
        line.Number(f.Name, date.Year, f.Width, 0);
        break;
      case TFieldForm::Month:
        // A month of two columns has its leading zero.
        line.Add(f.Width == 2 ? TwoDigits(date.Month % 100) : FormatFixed(date.Month, f.Width, 0));
        break;
      case TFieldForm::Day:
        line.Add(FormatFixed(date.Day, f.Width, f.Decimals));
        break;
      case TFieldForm::Kind:  // always a comet
        line.Add(FormatFixed(0, f.Width, f.Decimals));
        break;
      default:
        line.Number(f.Name, e.*RecordFields<Record>()[f.Member].second, f.Width, f.Decimals);
        break;
    }
  }
  return line;
}

// A SkyMap line: the name in the first `nameWidth` characters, two
// columns, then the fields of `row` as words; equinox J2000. `finish` names
// the record from the trimmed name field and sets what the kind of record
// takes besides.
template <typename Record, typename Finish>
TForeignLineRead ParseSkyMapLine(const std::string& line, std::size_t nameWidth, TFormatFields row, Record& record,
                                 std::string& itemText, const char** unusable, Finish finish) {
  const std::string field = Utf8Prefix(line, nameWidth);
  TFieldCursor cursor(std::string_view(line).substr(field.size()));
  cursor.Skip(2);
  Record e;
  TFieldReader fields(row);
  fields.ReadWords(cursor, e);
  e.Equinox = 2000;
  itemText = RightTrimmed(field);
  finish(e, itemText);
  record = std::move(e);
  return ForeignOutcome(LineOutcome(record, fields, unusable));
}

}  // namespace

// --- SkyMap -----------------------------------------------------------------------

TForeignLineRead ParseSkyMapAsteroidLine(const std::string& line, bool normalizeNames, TAsteroidElements& record,
                                         std::string& itemText, const char** unusable) {
  return ParseSkyMapLine(line, 35, kSkyMapAsteroidLineFields, record, itemText, unusable,
                         [normalizeNames](TAsteroidElements& e, const std::string& name) {
                           e.MeanMotion = 0;
                           e.Name = ElementRecordName(normalizeNames ? NormalizeDesignation(name) : name);
                         });
}

std::string SkyMapAsteroidLine(const TAsteroidElements& e, const char** widened) {
  TColumnLine line(PadRight(Utf8Prefix(WritableName(e.Name, '\n'), 35), 46));
  return AddColumnFields(line, kSkyMapAsteroidLineFields, e).Add("   ").Done(widened);
}

TForeignLineRead ParseSkyMapCometLine(const std::string& line, TCometElements& record, std::string& itemText,
                                      const char** unusable) {
  return ParseSkyMapLine(line, 45, kSkyMapCometLineFields, record, itemText, unusable,
                         [](TCometElements& e, const std::string& name) {
                           e.Epoch = e.PerihelionTime;
                           e.Name = ElementRecordName(name);
                         });
}

std::string SkyMapCometLine(const TCometElements& e, const char** widened) {
  TColumnLine line(PadRight(WritableName(e.Name, '\n'), 46));
  return AddColumnFields(line, kSkyMapCometLineFields, e).Add("   ").Done(widened);
}

// --- Guide 6.0 --------------------------------------------------------------------

TForeignLineRead ParseGuideCometLine(const std::string& line, TCometElements& record, std::string& itemText,
                                     const char** unusable) {
  const std::string field = Utf8Prefix(line, 40);
  TFieldCursor cursor(std::string_view(line).substr(field.size()));
  TCometElements e;
  TFieldReader fields(kGuideCometLineFields);
  double kind = 0;
  fields.ReadWords(cursor, e, &kind);
  const bool read = fields.Refused() == nullptr;
  if (read && kind != 0) return TForeignLineRead::Asteroid;
  if (read && IsBlank(field)) return TForeignLineRead::Nameless;
  e.Name = ElementRecordName(TrimBlanks(field));
  itemText = RightTrimmed(field);
  e.Epoch = e.PerihelionTime;
  record = std::move(e);
  return ForeignOutcome(LineOutcome(record, fields, unusable));
}

std::string GuideCometLine(const TCometElements& e) {
  TColumnLine line(PadRight(WritableName(e.Name, '\n'), 43));
  return AddColumnFields(line, kGuideCometLineFields, e).Add("   ").Done(nullptr);
}

// --- HomePlanet 3.0 -------------------------------------------------------------------

TForeignLineRead ParseHomePlanetAsteroidLine(const std::string& line, bool normalizeNames, TAsteroidElements& record,
                                             const char** unusable) {
  // name, H, G, M, peri, node, i, e, a, epoch (MJD)
  const std::vector<std::string_view> f = SplitAt(line, ',', 10, true);
  TAsteroidElements e;
  std::string name = RightTrimmed(std::string(f[0]));
  if (normalizeNames) name = NormalizeDesignation(name);
  e.Name = ElementRecordName(name);
  TFieldReader fields(kHomePlanetAsteroidLineFields);
  fields.ReadTexts(std::span(f).subspan(1), e);
  e.Equinox = 2000;
  e.MeanMotion = 0;
  record = std::move(e);
  return ForeignOutcome(LineOutcome(record, fields, unusable));
}

std::string HomePlanetAsteroidLine(const TAsteroidElements& e, bool normalizeNames) {
  std::string name = WritableName(e.Name, ',');
  if (normalizeNames) name = NormalizeDesignation(name);
  return SeparatedLine(kHomePlanetAsteroidFormat, name, e);
}

TForeignLineRead ParseHomePlanetCometLine(const std::string& line, TCometElements& record, const char** unusable) {
  const std::vector<std::string_view> f = SplitAt(line, ',', 7, false);
  TCometElements e;
  e.Name = ElementRecordName(RightTrimmed(std::string(f[0])));
  TFieldReader fields(kHomePlanetCometLineFields);
  fields.ReadTexts(std::span(f).subspan(1), e);
  e.Equinox = 2000;
  e.Epoch = e.PerihelionTime;
  record = std::move(e);
  return ForeignOutcome(LineOutcome(record, fields, unusable));
}

std::string HomePlanetCometLine(const TCometElements& e) {
  // The semi-major axis and the period stay empty.
  return SeparatedLine(kHomePlanetCometFormat, WritableName(e.Name, ','), e) + ",,";
}

// --- own lines -------------------------------------------------------------------------

std::string OwnAsteroidLine(const TAsteroidElements& e, bool normalizeNames) {
  return SeparatedLine(kOwnAsteroidFormat, WritableName(normalizeNames ? NormalizeDesignation(e.Name) : e.Name, ';'),
                       e);
}

std::string OwnCometLine(const TCometElements& e) {
  return SeparatedLine(kOwnCometFormat, WritableName(e.Name, ';'), e);
}

// --- text listing ----------------------------------------------------------------------

bool TextListingLine(const TCometElements& e, std::string& line, const char*& field) {
  const TFormatFields fields = kTextListingFields;
  TDayDate date;
  for (const TFormatField& f : fields) {
    if (f.Form == TFieldForm::Day) date = DateWithDay(e.PerihelionTime, f.Decimals);
  }
  if (date.Month < 1) {  // no calendar date
    field = "T";
    return false;
  }
  line = PadRight(WritableName(e.Name, '\n'), 40);
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const TFormatField& f = fields[k];
    const std::size_t width = static_cast<std::size_t>(f.Width);
    std::string text;
    switch (f.Form) {
      case TFieldForm::Year:
        text = FormatFixed(date.Year, f.Width, 0);
        break;
      case TFieldForm::Month:
      case TFieldForm::Day:
        // Written together with the year before them: leading zeros.
        text = FormatFixed(f.Form == TFieldForm::Month ? date.Month : date.Day, f.Width, f.Decimals);
        for (char& c : text) {
          if (c != ' ') break;
          c = '0';
        }
        break;
      default:
        text = FormatFixed(e.*RecordFields<TCometElements>()[static_cast<std::size_t>(f.Member)].second, f.Width,
                           f.Decimals);
        break;
    }
    // A number right after another one needs a blank before it.
    const bool joined = k > 0 && f.Blanks == 0 && f.Form == TFieldForm::Number;
    if (text.size() > width || (joined && text.front() != ' ')) {
      field = f.Name;
      return false;
    }
    line.append(static_cast<std::size_t>(f.Blanks), ' ');
    line += text;
  }
  line += "   ";
  return true;
}

TForeignLineRead ParseTextListingLine(const std::string& line, TCometElements& record, const char** unusable) {
  const TLineColumns columns(line);
  TCometElements e;
  TFieldReader fields(kTextListingFields);
  fields.ReadColumns(columns, 0, e);
  e.Epoch = e.PerihelionTime;
  e.Name = ElementRecordName(TrimBlanks(std::string(columns.Columns(1, 40))));
  record = std::move(e);
  return ForeignOutcome(LineOutcome(record, fields, unusable));
}

}  // namespace kvx
