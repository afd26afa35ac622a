#include "catalogues/foreign_lines.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "catalogues/element_lines.h"
#include "core/element_records.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
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

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

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
// line when `lastTakesRest`, else text after it is dropped.
std::vector<std::string> SplitAt(const std::string& line, char separator, std::size_t count, bool lastTakesRest) {
  std::vector<std::string> f(count);
  std::size_t start = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t end = k + 1 < count || !lastTakesRest ? line.find(separator, start) : std::string::npos;
    if (start <= line.size()) f[k] = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? line.size() + 1 : end + 1;
  }
  return f;
}

}  // namespace

// --- SkyMap -----------------------------------------------------------------------

TForeignLineRead ParseSkyMapAsteroidLine(const std::string& line, bool normalizeNames, TAsteroidElements& record,
                                         std::string& itemText, const char** unusable) {
  const std::string field = Utf8Prefix(line, 35);
  TFieldCursor cursor(std::string_view(line).substr(field.size()));
  cursor.Skip(2);
  TAsteroidElements e;
  TFieldReader fields(kSkyMapAsteroidLineFields);
  double* const numbers[] = {
      &e.MeanAnomaly, &e.SemiMajorAxis, &e.Eccentricity, &e.Perihelion, &e.Node, &e.Inclination, &e.H, &e.G};
  if (fields.NextDate(0, cursor, TDateOrder::YearMonthDay, e.Epoch)) fields.NextWords(3, cursor, numbers);
  e.Equinox = 2000;
  e.MeanMotion = 0;
  itemText = RightTrimmed(field);
  e.Name = ElementRecordName(normalizeNames ? NormalizeDesignation(itemText) : itemText);
  record = std::move(e);
  return ForeignOutcome(LineOutcome(record, fields, unusable));
}

std::string SkyMapAsteroidLine(const TAsteroidElements& e, const char** widened) {
  const TDayDate date = DateWithDay(e.Epoch, 3);
  TColumnLine line(PadRight(Utf8Prefix(WritableName(e.Name, '\n'), 35), 46));
  line.Number("epoch", date.Year, 5, 0).Add(" ").Add(TwoDigits(date.Month % 100)).Add(FormatFixed(date.Day, 7, 3));
  line.Number("m", e.MeanAnomaly, 8, 3).Number("a", e.SemiMajorAxis, 9, 6).Number("e", e.Eccentricity, 9, 6);
  line.Number("per", e.Perihelion, 8, 3).Number("node", e.Node, 8, 3).Number("i", e.Inclination, 8, 3);
  return line.Number("h", e.H, 6, 2).Number("g", e.G, 6, 2).Add("   ").Done(widened);
}

TForeignLineRead ParseSkyMapCometLine(const std::string& line, TCometElements& record, std::string& itemText,
                                      const char** unusable) {
  const std::string field = Utf8Prefix(line, 45);
  TFieldCursor cursor(std::string_view(line).substr(field.size()));
  cursor.Skip(2);
  TCometElements e;
  TFieldReader fields(kSkyMapCometLineFields);
  double* const numbers[] = {
      &e.PerihelionDistance, &e.Eccentricity, &e.Perihelion, &e.Node, &e.Inclination, &e.H, &e.G};
  if (fields.NextDate(0, cursor, TDateOrder::YearMonthDay, e.PerihelionTime)) {
    fields.NextWords(3, cursor, numbers);
  }
  e.Epoch = e.PerihelionTime;
  e.Equinox = 2000;
  itemText = RightTrimmed(field);
  e.Name = ElementRecordName(itemText);
  record = std::move(e);
  return ForeignOutcome(LineOutcome(record, fields, unusable));
}

std::string SkyMapCometLine(const TCometElements& e, const char** widened) {
  const TDayDate date = DateWithDay(e.PerihelionTime, 3);
  TColumnLine line(PadRight(WritableName(e.Name, '\n'), 46));
  line.Number("T", date.Year, 5, 0).Add(" ").Add(TwoDigits(date.Month % 100)).Add(FormatFixed(date.Day, 7, 3));
  line.Number("q", e.PerihelionDistance, 9, 6).Number("e", e.Eccentricity, 9, 6).Number("per", e.Perihelion, 8, 3);
  line.Number("node", e.Node, 8, 3).Number("i", e.Inclination, 8, 3).Number("H", e.H, 5, 1).Number("G", e.G, 5, 1);
  return line.Add("   ").Done(widened);
}

// --- Guide 6.0 --------------------------------------------------------------------

TForeignLineRead ParseGuideCometLine(const std::string& line, TCometElements& record, std::string& itemText,
                                     const char** unusable) {
  const std::string field = Utf8Prefix(line, 40);
  TFieldCursor cursor(std::string_view(line).substr(field.size()));
  TCometElements e;
  TFieldReader fields(kGuideCometLineFields);
  double kind = 0;
  double* const numbers[] = {
      &kind, &e.PerihelionDistance, &e.Eccentricity, &e.Inclination, &e.Perihelion, &e.Node, &e.Equinox, &e.H, &e.G};
  if (fields.NextDate(0, cursor, TDateOrder::DayMonthYear, e.PerihelionTime)) {
    fields.NextWords(3, cursor, numbers);
  }
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
  const TDayDate date = DateWithDay(e.PerihelionTime, 4);
  TColumnLine line(PadRight(WritableName(e.Name, '\n'), 43));
  line.Add(FormatFixed(date.Day, 7, 4) + " " + FormatFixed(date.Month, 3, 0)).Number("T", date.Year, 5, 0);
  line.Add("   0.0").Number("q", e.PerihelionDistance, 18, 7).Number("e", e.Eccentricity, 12, 7);
  line.Number("i", e.Inclination, 12, 7).Number("per", e.Perihelion, 12, 7).Number("node", e.Node, 12, 7);
  line.Number("equinox", e.Equinox, 7, 1).Add("   ").Number("H", e.H, 4, 1).Number("G", e.G, 5, 1);
  return line.Add("   ").Done(nullptr);
}

// --- HomePlanet 3.0 -------------------------------------------------------------------

TForeignLineRead ParseHomePlanetAsteroidLine(const std::string& line, bool normalizeNames, TAsteroidElements& record,
                                             const char** unusable) {
  // name, H, G, M, peri, node, i, e, a, epoch (MJD)
  const std::vector<std::string> f = SplitAt(line, ',', 10, true);
  TAsteroidElements e;
  std::string name = RightTrimmed(f[0]);
  if (normalizeNames) name = NormalizeDesignation(name);
  e.Name = ElementRecordName(name);
  double* const numbers[] = {
      &e.H, &e.G, &e.MeanAnomaly, &e.Perihelion, &e.Node, &e.Inclination, &e.Eccentricity, &e.SemiMajorAxis, &e.Epoch};
  TFieldReader fields(kHomePlanetAsteroidLineFields);
  fields.ReadAll(0, std::span(f).subspan(1), numbers);
  e.Epoch = MjdToJd(e.Epoch);
  e.Equinox = 2000;
  e.MeanMotion = 0;
  record = std::move(e);
  return ForeignOutcome(LineOutcome(record, fields, unusable));
}

std::string HomePlanetAsteroidLine(const TAsteroidElements& e, bool normalizeNames) {
  std::string line = WritableName(e.Name, ',');
  if (normalizeNames) line = NormalizeDesignation(line);
  const double values[] = {
      e.H, e.G, e.MeanAnomaly, e.Perihelion, e.Node, e.Inclination, e.Eccentricity, e.SemiMajorAxis, JdToMjd(e.Epoch)};
  const int decimals[] = {2, 2, 6, 6, 6, 6, 8, 8, 5};
  for (int f = 0; f < 9; ++f) {
    line += ',';
    line += KeptNumberText(values[f], decimals[f]);
  }
  return line;
}

TForeignLineRead ParseHomePlanetCometLine(const std::string& line, TCometElements& record, const char** unusable) {
  const std::vector<std::string> f = SplitAt(line, ',', 7, false);
  TCometElements e;
  e.Name = ElementRecordName(RightTrimmed(f[0]));
  TFieldReader fields(kHomePlanetCometLineFields);
  if (!ParsePerihelionDateText(f[1], e.PerihelionTime)) {
    e.PerihelionTime = std::numeric_limits<double>::quiet_NaN();
    fields.Refuse(0);
  }
  double* const numbers[] = {&e.PerihelionDistance, &e.Eccentricity, &e.Perihelion, &e.Node, &e.Inclination};
  fields.ReadAll(1, std::span(f).subspan(2), numbers);
  e.Equinox = 2000;
  e.Epoch = e.PerihelionTime;
  record = std::move(e);
  return ForeignOutcome(LineOutcome(record, fields, unusable));
}

std::string HomePlanetCometLine(const TCometElements& e) {
  return WritableName(e.Name, ',') + "," + PerihelionDateText(e.PerihelionTime) + "," +
         KeptNumberText(e.PerihelionDistance, 8) + "," + KeptNumberText(e.Eccentricity, 8) + "," +
         KeptNumberText(e.Perihelion, 6) + "," + KeptNumberText(e.Node, 6) + "," + KeptNumberText(e.Inclination, 6) +
         ",,";
}

// --- own lines -------------------------------------------------------------------------

std::string OwnAsteroidLine(const TAsteroidElements& e, bool normalizeNames) {
  std::string line = WritableName(normalizeNames ? NormalizeDesignation(e.Name) : e.Name, ';');
  const double values[] = {e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.MeanAnomaly,
                           e.MeanMotion,    e.Equinox,      e.Epoch,       e.H,    e.G};
  const int decimals[] = {8, 8, 6, 6, 6, 6, 6, 2, 5, 2, 2};
  for (int f = 0; f < 11; ++f) {
    line += ';';
    line += FloatToTextSep(KeptNumberText(values[f], decimals[f]));
  }
  return line;
}

std::string OwnCometLine(const TCometElements& e) {
  std::string line = WritableName(e.Name, ';');
  const double values[] = {e.PerihelionDistance,
                           e.Eccentricity,
                           e.Inclination,
                           e.Node,
                           e.Perihelion,
                           e.Equinox,
                           e.PerihelionTime,
                           e.H,
                           e.G,
                           e.Epoch};
  const int decimals[] = {8, 8, 6, 6, 6, 2, 5, 2, 2, 5};
  for (int f = 0; f < 10; ++f) {
    line += ';';
    line += FloatToTextSep(KeptNumberText(values[f], decimals[f]));
  }
  return line;
}

// --- text listing ----------------------------------------------------------------------

bool TextListingLine(const TCometElements& e, std::string& line, const char*& field) {
  const TDayDate date = DateWithDay(e.PerihelionTime, 4);
  std::string dayText = FormatFixed(date.Day, 1, 4);
  if (dayText.size() == 6) dayText.insert(dayText.begin(), '0');
  struct Column {
    const char* Name;
    std::string Text;
    std::size_t Width;
    bool NeedsBlank;  // the column before it ends in a digit
  };
  const Column columns[] = {
      {"equinox", FormatFixed(e.Equinox, 4, 0), 4, false},
      {"T", FormatFixed(date.Year, 4, 0) + TwoDigits(date.Month) + dayText, 13, false},
      {"q", FormatFixed(e.PerihelionDistance, 11, 6), 11, true},
      {"e", FormatFixed(e.Eccentricity, 10, 6), 10, true},
      {"per", FormatFixed(e.Perihelion, 10, 4), 10, true},
      {"node", FormatFixed(e.Node, 10, 4), 10, true},
      {"i", FormatFixed(e.Inclination, 10, 4), 10, true},
      {"H", FormatFixed(e.H, 8, 3), 8, true},
      {"G", FormatFixed(e.G, 6, 3), 6, true},
  };
  if (date.Month < 1) {  // no calendar date
    field = "T";
    return false;
  }
  line = PadRight(WritableName(e.Name, '\n'), 40);
  for (const Column& c : columns) {
    if (c.Text.size() > c.Width || (c.NeedsBlank && c.Text.front() != ' ')) {
      field = c.Name;
      return false;
    }
    line += c.Text;
    if (&c == &columns[0]) line += ' ';
  }
  line += "   ";
  return true;
}

}  // namespace kvx
