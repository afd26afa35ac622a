#include "orbitdet/observation_files.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string_view>
#include <utility>

#include "core/angle_constants.h"
#include "core/little_endian.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/ascii_case.h"
#include "platform/messages.h"
#include "platform/save_failure.h"
#include "platform/text_encoding.h"

namespace kvx {

using namespace little_endian;

namespace {

constexpr std::size_t kMaxTextFileBytes = 64u * 1024u * 1024u;
constexpr std::size_t kConversionQuestionLength = 400;

const char* const kInvalidGerman = "Die Datei mit Beobachtungen hat ein unzulässiges Format.";
const char* const kInvalidEnglish = "File with observations has an invalid format.";

void ShowInvalidFormat() { ShowMessage(kInvalidGerman, kInvalidEnglish, MessageIcon::Error); }

std::string Field(std::string_view line, std::size_t first, std::size_t last) {
  if (line.size() < first) return {};
  return std::string(line.substr(first - 1, last - first + 1));
}

bool ParseReal(const std::string& text, double& value) {
  const std::string t = TrimBlanks(text);
  if (t.empty()) return false;
  const char* begin = t.data();
  const char* end = t.data() + t.size();
  if (*begin == '+') {
    ++begin;
    if (begin == end || *begin == '+' || *begin == '-') return false;
  }
  auto r = std::from_chars(begin, end, value);
  return r.ec == std::errc() && r.ptr == end && std::isfinite(value);
}

bool ParseInt(const std::string& text, int& value) {
  const std::string t = TrimBlanks(text);
  if (t.empty()) return false;
  const char* begin = t.data();
  const char* end = t.data() + t.size();
  if (*begin == '+') ++begin;
  auto r = std::from_chars(begin, end, value);
  return r.ec == std::errc() && r.ptr == end;
}

bool LeapYear(int year) {
  if (year > 1582) return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return year % 4 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

bool ValidDate(int year, int month, double day) {
  return month >= 1 && month <= 12 && day >= 1 && day < DaysInMonth(year, month) + 1;
}

void CountSkipped(TObservationReadReport& report, int number, const char* field = nullptr) {
  if (report.Skipped++ != 0) return;
  report.FirstSkipped = number;
  report.FirstField = field != nullptr ? field : "";
}

bool HasExtension(const std::string& name, const char* upper) {
  const std::string ext = std::filesystem::path(name).extension().string();
  if (ext.size() != std::char_traits<char>::length(upper)) return false;
  for (std::size_t k = 0; k < ext.size(); ++k) {
    if (AsciiUpper(ext[k]) != upper[k]) return false;
  }
  return true;
}

// The minutes of an angle or time in columns `first`..`last` (1-based) of a
// line padded to 80: decimal minutes when the point follows the two digits,
// else whole minutes and the seconds from column first + 3. False when a
// part does not read or lies outside 0..60.
bool ParseMinutesField(const std::string& l, std::size_t first, std::size_t last, double& minutes, double& seconds) {
  if (l[first + 1] == '.') {
    if (!ParseReal(Field(l, first, last), minutes)) return false;
  } else {
    int whole = 0;
    if (!ParseInt(Field(l, first, first + 1), whole) || !ParseReal(Field(l, first + 3, last), seconds)) return false;
    minutes = whole;
  }
  return minutes >= 0 && minutes < 60 && seconds >= 0 && seconds < 60;
}

}  // namespace

// ---------------------------------------------------------------------------
// Markup.

std::string RemoveMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::string line;
  bool lineHadMarkup = false;
  bool inTag = false;
  std::size_t k = 0;
  auto endLine = [&](bool final) {
    const bool empty = TrimBlanks(line).empty();
    if (!(lineHadMarkup && empty)) {
      out += line;
      if (!final) out += '\n';
    }
    line.clear();
    lineHadMarkup = false;
  };
  while (k < text.size()) {
    const char c = text[k];
    if (inTag) {
      // A tag may run over line ends; they go with it.
      if (c == '>') inTag = false;
      ++k;
      continue;
    }
    if (c == '\r' || c == '\n') {
      if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
      ++k;
      endLine(k >= text.size());
      continue;
    }
    if (c == '<') {
      lineHadMarkup = true;
      if (text.find('>', k + 1) == std::string_view::npos) {
        // An unclosed tag ends the text.
        k = text.size();
        break;
      }
      inTag = true;
      ++k;
      continue;
    }
    line += c;
    ++k;
  }
  if (!line.empty() || lineHadMarkup) {
    if (!(lineHadMarkup && TrimBlanks(line).empty())) out += line;
  }
  return out;
}

std::string DecodeMarkupEntities(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&nbsp;", ' '}};
  std::string out;
  out.reserve(text.size());
  for (std::size_t k = 0; k < text.size();) {
    bool matched = false;
    if (text[k] == '&') {
      for (const auto& [name, c] : kEntities) {
        if (text.substr(k, name.size()) == name) {
          out += c;
          k += name.size();
          matched = true;
          break;
        }
      }
    }
    if (!matched) out += text[k++];
  }
  return out;
}

std::string PrepareMarkupText(std::string_view text) { return DecodeMarkupEntities(RemoveMarkup(text)); }

// ---------------------------------------------------------------------------
// Observation lines.
const char* ObservationFieldOutOfRange(const tobservation& o) {
  if (!(std::fabs(o.Year) <= 9999)) return "year";
  if (!(std::fabs(o.Month) <= 12) || static_cast<int>(o.Month) < 1) return "month";
  if (!(o.Hours >= 0 && o.Hours < 24)) return "UT";
  if (!(std::fabs(o.Day) <= 31) ||
      !ValidDate(static_cast<int>(o.Year), static_cast<int>(o.Month), o.Day + o.Hours / 24.0)) {
    return "day";
  }
  if (!(o.RA >= 0 && o.RA < 360)) return "RA";
  if (!(std::fabs(o.Dec) <= 90)) return "Dec";
  if (!(std::fabs(o.Longitude) <= 360)) return "longitude";
  if (!std::isfinite(o.RhoCos) || !std::isfinite(o.RhoSin)) return "latitude";
  if (!(o.Magnitude == 0 || (o.Magnitude >= -5 && o.Magnitude <= 35))) return "mag";
  return nullptr;
}

bool ObservationInRange(const tobservation& o) { return ObservationFieldOutOfRange(o) == nullptr; }

TMpcLineKind ParseMpcObservationLine(std::string_view input, tobservation& o, const char** field) {
  std::string l(input);
  if (TrimBlanks(l).empty()) return TMpcLineKind::EndOfBlock;
  if (l.size() < 80) l.resize(80, ' ');
  const char note2 = l[14];
  if (note2 == 's' || note2 == 'v' || note2 == 'r' || note2 == 'R') return TMpcLineKind::Skip;
  if (note2 == 'S' || note2 == 'V') return TMpcLineKind::Spacecraft;
  const auto unusable = [field](const char* name) {
    if (field != nullptr) *field = name;
    return TMpcLineKind::Unusable;
  };
  int year = 0, month = 0;
  double day = 0;
  if (!ParseInt(Field(l, 16, 19), year)) return unusable("year");
  if (!ParseInt(Field(l, 21, 22), month)) return unusable("month");
  if (year == 0 || month == 0) return TMpcLineKind::ZeroDate;
  if (month < 1 || month > 12) return unusable("month");
  if (!ParseReal(Field(l, 24, 32), day) || !ValidDate(year, month, day)) return unusable("day");
  int rh = 0;
  double rmf = 0, rs = 0;
  if (!ParseInt(Field(l, 33, 34), rh) || rh < 0 || rh > 23 || !ParseMinutesField(l, 36, 44, rmf, rs)) {
    return unusable("RA");
  }
  const char sign = l[44];
  int dd = 0;
  double dmf = 0, ds = 0;
  if ((sign != '-' && sign != '+' && sign != ' ') || !ParseInt(Field(l, 46, 47), dd) || dd < 0 || dd > 90 ||
      !ParseMinutesField(l, 49, 56, dmf, ds)) {
    return unusable("Dec");
  }
  double mag = 0;
  const std::string magField = TrimBlanks(Field(l, 66, 70));
  if (!magField.empty() && (!ParseReal(magField, mag) || (mag != 0 && (mag < -5 || mag > 35)))) return unusable("mag");
  o = tobservation{};
  o.Designation = TrimBlanks(Field(l, 1, 12));
  o.Year = year;
  o.Month = month;
  o.Day = std::floor(day);
  // Hours to 1e-10 h (0.4 microseconds): no binary noise in the sheet.
  o.Hours = std::round((day - std::floor(day)) * 24.0 * 1e10) / 1e10;
  o.RA = (rh + rmf / 60.0 + rs / 3600.0) * 15.0;
  o.Dec = dd + dmf / 60.0 + ds / 3600.0;
  if (sign == '-') o.Dec = -o.Dec;
  if (std::fabs(o.Dec) > 90) return unusable("Dec");
  o.Magnitude = mag;
  o.Code = Field(l, 78, 80);
  return TMpcLineKind::Observation;
}

bool ParseObservationLines(torbdet& od, const std::vector<std::string>& lines, TObservationList& out,
                           TObservationReadReport& report) {
  if (!od.StationsLoaded()) od.LoadStations();
  std::size_t k = 0;
  while (k < lines.size() && lines[k].rfind("Observations:", 0) != 0) ++k;
  if (k >= lines.size()) return false;
  out.clear();
  for (++k; k < lines.size(); ++k) {
    tobservation o;
    const char* field = nullptr;
    const TMpcLineKind kind = ParseMpcObservationLine(lines[k], o, &field);
    if (kind == TMpcLineKind::EndOfBlock) break;
    if (kind == TMpcLineKind::Unusable) {
      CountSkipped(report, static_cast<int>(k) + 1, field);
      continue;
    }
    if (kind == TMpcLineKind::Skip || kind == TMpcLineKind::ZeroDate) continue;
    if (kind == TMpcLineKind::Spacecraft) {
      ++report.Spacecraft;
      continue;
    }
    if (!od.StationsLoaded()) {
      report.StationNotice = true;
    } else if (TrimBlanks(o.Code).size() == 3) {
      tstation station;
      if (od.FindStation(o.Code, station)) {
        if (!station.HasPlace) {
          ++report.Spacecraft;
          continue;
        }
        o.StationName = station.Name;
        o.Longitude = station.Longitude;
        o.RhoCos = station.RhoCos;
        o.RhoSin = station.RhoSin;
      } else if (od.StationWarning != 0) {
        const MessageResult answer =
            ShowMessage("Eine Station (" + o.Code + ") wurde nicht gefunden. Diese Warnung weiterhin anzeigen?",
                        "A station (" + o.Code + ") was not found. Show this warning again?", MessageIcon::Question,
                        MessageButtons::YesNo);
        if (answer != MessageResult::Yes) od.StationWarning = 0;
      }
    }
    AddObservation(out, std::move(o));
  }
  od.StationWarning = 1;
  return true;
}

// ---------------------------------------------------------------------------
// The own text format.

namespace {

bool YearLine(const std::string& line, double& centuries) {
  double year = 0;
  if (!ParseReal(line, year) || year < 1000 || year > 3000) return false;
  centuries = (year - 2000.0) * 0.01;
  return true;
}

// True when one of the (up to) three fields from `first` carries a "-",
// also a "-0" that its number does not keep.
bool AnyFieldNegative(const std::vector<std::string>& tokens, std::size_t first) {
  for (std::size_t i = first; i < first + 3 && i < tokens.size(); ++i) {
    if (tokens[i][0] == '-') return true;
  }
  return false;
}

// +-(|d| + |m|/60 + |s|/3600), negative when any field carries a "-"; the
// fields are reals (the observer's longitude and latitude).
double CombineSexagesimal(const std::vector<std::string>& tokens, std::size_t first, const std::vector<double>& v) {
  double value = 0;
  for (std::size_t k = 0; k < 3; ++k) {
    const std::size_t i = first + k;
    if (i >= v.size()) break;
    value += std::fabs(v[i]) / (k == 0 ? 1.0 : k == 1 ? 60.0 : 3600.0);
  }
  return AnyFieldNegative(tokens, first) ? -value : value;
}

// Right ascension (hours) or declination (degrees) from whole degrees and
// minutes that the caller has checked to lie below 24 or 90 and 60, and real
// seconds: DegFromDms, negative also for "-0 30 0".
double CombineWholeDegreesMinutes(const std::vector<std::string>& tokens, std::size_t first,
                                  const std::vector<double>& v) {
  double value = 0;
  DegFromDms(static_cast<std::int32_t>(v[first]), static_cast<std::int32_t>(v[first + 1]), v[first + 2], value);
  return AnyFieldNegative(tokens, first) ? -std::fabs(value) : value;
}

bool Integral(double x) { return std::floor(x) == x; }

struct TSplit {
  long long Whole = 0;
  int Minutes = 0;
  double Seconds = 0;
  int Decimals = 2;  // of the seconds
  bool Negative = false;
};

// The decimals of the seconds of `value` (hours or degrees) that keep it:
// at least `fewest`, more (up to six) while rounding to them would move the
// value by more than a thousandth of the last decimal.
int SecondsDecimals(double value, int fewest) {
  const double seconds = std::fabs(value) * 3600.0;
  int decimals = fewest;
  for (double step = std::pow(10.0, -fewest); decimals < 6; ++decimals, step /= 10.0) {
    if (std::fabs(std::round(seconds / step) * step - seconds) <= step * 1e-3) break;
  }
  return decimals;
}

// Rounded to `decimals` decimals of a second first, then split.
TSplit SplitRounded(double value, int decimals) {
  TSplit s;
  s.Negative = value < 0;
  long long perSecond = 1;
  for (int k = 0; k < decimals; ++k) perSecond *= 10;
  const long long units = std::llround(std::fabs(value) * 3600.0 * static_cast<double>(perSecond));
  s.Whole = units / (3600 * perSecond);
  const long long rest = units % (3600 * perSecond);
  s.Minutes = static_cast<int>(rest / (60 * perSecond));
  s.Seconds = static_cast<double>(rest % (60 * perSecond)) / static_cast<double>(perSecond);
  s.Decimals = decimals;
  if (units == 0) s.Negative = false;
  return s;
}

// Hours or degrees with the seconds' decimals they need (at least `fewest`).
TSplit SplitKept(double value, int fewest) { return SplitRounded(value, SecondsDecimals(value, fewest)); }

// Appends a field, with a blank before it when it fills its width.
void AppendField(std::string& out, const char* field) {
  if (field[0] != ' ') out += ' ';
  out += field;
}

// Writes the three fields with the sign on the first non-zero one.
void AppendSplit(std::string& out, const TSplit& s, int wholeWidth) {
  char buffer[48];
  const bool signWhole = s.Negative && s.Whole != 0;
  const bool signMinutes = s.Negative && s.Whole == 0 && s.Minutes != 0;
  const bool signSeconds = s.Negative && s.Whole == 0 && s.Minutes == 0;
  std::snprintf(buffer, sizeof buffer, "%*lld", wholeWidth, signWhole ? -s.Whole : s.Whole);
  AppendField(out, buffer);
  std::snprintf(buffer, sizeof buffer, "%3d", signMinutes ? -s.Minutes : s.Minutes);
  AppendField(out, buffer);
  AppendField(out, FixedPointText(signSeconds ? -s.Seconds : s.Seconds, s.Decimals, s.Decimals + 4).c_str());
}

// The field of the own text format that token `index` belongs to.
const char* OwnTextField(std::size_t index) {
  static constexpr const char* kNames[] = {"year",      "month",     "day",      "UT",       "RA",      "RA",
                                           "RA",        "Dec",       "Dec",      "Dec",      "mag",     "longitude",
                                           "longitude", "longitude", "latitude", "latitude", "latitude"};
  return index < std::size(kNames) ? kNames[index] : nullptr;
}

// One observation of the own text format from the line's numbers: nullptr
// when `o` holds it, else the field to blame (a line of fewer than ten
// numbers: the first missing one).
const char* OwnTextObservation(const std::vector<std::string>& tokens, tobservation& o) {
  if (tokens.size() < 10) return OwnTextField(tokens.size());
  std::vector<double> v;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    double x = 0;
    if (!ParseReal(tokens[i], x)) return OwnTextField(i);
    v.push_back(x);
  }
  for (std::size_t i : {0u, 1u, 2u, 4u, 5u, 7u, 8u}) {
    if (!Integral(v[i])) return OwnTextField(i);
  }
  // Hours, degrees and minutes in range before they are taken as integers.
  if (std::fabs(v[4]) >= 24 || std::fabs(v[5]) >= 60 || std::fabs(v[6]) >= 60) return "RA";
  if (std::fabs(v[7]) > 90 || std::fabs(v[8]) >= 60 || std::fabs(v[9]) >= 60) return "Dec";
  o.Year = v[0];
  o.Month = v[1];
  o.Day = v[2];
  o.Hours = v[3];
  o.RA = CombineWholeDegreesMinutes(tokens, 4, v) * 15.0;
  o.Dec = CombineWholeDegreesMinutes(tokens, 7, v);
  if (v.size() > 10) o.Magnitude = v[10];
  if (v.size() > 11) o.Longitude = CombineSexagesimal(tokens, 11, v);
  const double lat = v.size() > 14 ? CombineSexagesimal(tokens, 14, v) : 0.0;
  if (std::fabs(lat) > 90) return "latitude";
  o.RhoCos = std::cos(lat * kPi / 180.0);
  o.RhoSin = std::sin(lat * kPi / 180.0);
  return ObservationFieldOutOfRange(o);
}

}  // namespace

std::string OwnTextObservationLine(const tobservation& o) {
  char buffer[160];
  // UT with the three decimals of the format, more when the value needs
  // them (never losing time precision).
  int decimals = 3;
  while (decimals < 7 &&
         std::fabs(std::round(o.Hours * std::pow(10.0, decimals)) / std::pow(10.0, decimals) - o.Hours) > 5e-8) {
    ++decimals;
  }
  std::string hours = FixedPointText(o.Hours, decimals, 7);
  // Never rounded up into the next day.
  double printed = 0.0;
  if (ValReal(TrimBlanks(hours), printed) && printed >= 24.0) hours = FixedPointText(23.999999999, 9);
  std::snprintf(buffer, sizeof buffer, "%5d%3d%3d", static_cast<int>(o.Year), static_cast<int>(o.Month),
                static_cast<int>(o.Day));
  std::string line = buffer;
  AppendField(line, hours.c_str());
  // RA with the thousandths of a second of the observation lines and the
  // binary records, Dec with hundredths of an arc second; either with more
  // decimals when the value holds them.
  TSplit ra = SplitKept(o.RA / 15.0, 3);
  if (ra.Whole >= 24) ra.Whole -= 24;  // 23h59m59.9996s is 0h
  AppendSplit(line, ra, 3);
  AppendSplit(line, SplitKept(o.Dec, 2), 4);
  // The magnitude's one decimal, more when the value has them.
  std::snprintf(buffer, sizeof buffer, "%6s", KeptNumberText(o.Magnitude, 1).c_str());
  AppendField(line, buffer);
  AppendSplit(line, SplitRounded(o.Longitude, 2), 5);
  const double lat = std::asin(std::clamp(o.RhoSin, -1.0, 1.0)) * 180.0 / kPi;
  AppendSplit(line, SplitRounded(lat, 2), 4);
  return line;
}

std::string WriteOwnTextObservations(const TObservationList& list, double eqObs, double eqEl) {
  std::string text = "varbo observations\r\n";
  text += FixedPointText(eqObs, 1, 7) + "\r\n" + FixedPointText(eqEl, 1, 7) + "\r\n";
  for (const TObservationEntry& e : list) text += OwnTextObservationLine(e.Obs) + "\r\n";
  return text;
}

bool ReadOwnTextObservations(const std::vector<std::string>& lines, TObservationList& out, double& equinoxObs,
                             double& equinoxElements, TObservationReadReport& report) {
  out.clear();
  if (lines.size() < 3 || !YearLine(lines[1], equinoxObs) || !YearLine(lines[2], equinoxElements)) return false;
  for (std::size_t k = 3; k < lines.size(); ++k) {
    std::istringstream in(lines[k]);
    std::vector<std::string> tokens;
    std::string token;
    while (in >> token) tokens.push_back(token);
    if (tokens.empty()) continue;
    tobservation o;
    if (tokens.size() > 17) {  // more numbers than the format has
      CountSkipped(report, static_cast<int>(k) + 1);
      continue;
    }
    if (const char* field = OwnTextObservation(tokens, o)) {
      CountSkipped(report, static_cast<int>(k) + 1, field);
      continue;
    }
    AddObservation(out, std::move(o));
  }
  return true;
}

// ---------------------------------------------------------------------------
// The binary file.

namespace {

// How far a packed angle may read beyond its range by the rounding of its
// last binary digits (degrees or hours; some ten units of the last digit
// at 90 degrees).
constexpr double kPackedRounding = 1e-12;

// A packed declination D.MMSS in degrees: one that reads within rounding
// beyond a pole (89 59 60, packed 89.596) is the pole.
double PackedDeclination(double packed) {
  const double dec = DmsPackedToDeg(packed);
  return std::fabs(dec) > 90 && std::fabs(dec) < 90 + kPackedRounding ? std::copysign(90.0, dec) : dec;
}

// A packed right ascension H.MMSS in degrees: one that reads within
// rounding of 24 h is 0 h.
double PackedRightAscension(double packed) {
  const double hours = DmsPackedToDeg(packed);
  return hours >= 24 && hours < 24 + kPackedRounding ? 0.0 : hours * 15.0;
}

// The byte offset of every field of the record (the layout, with the
// unused bytes, is drawn in the header); one table for both directions.
using R = TObservationRecord;
constexpr std::pair<int, double R::*> kDoubleFields[] = {
    {4, &R::EquinoxObservations}, {12, &R::EquinoxElements}, {20, &R::Hours},  {28, &R::RaPacked},  {36, &R::DecPacked},
    {44, &R::Longitude},          {52, &R::RhoCos},          {60, &R::RhoSin}, {68, &R::Magnitude},
};
constexpr std::pair<int, std::int32_t R::*> kIntegerFields[] = {
    {76, &R::Year},
    {80, &R::Month},
    {84, &R::Day},
    {88, &R::StationCode},
};

}  // namespace

void EncodeObservationRecord(const TObservationRecord& r, std::uint8_t* out) {
  static_assert(kObservationRecordSize == 92 + 64, "the observation record is 156 bytes");
  std::fill(out, out + kObservationRecordSize, std::uint8_t{0});
  for (const auto& [offset, field] : kDoubleFields) PutF64(out + offset, r.*field);
  for (const auto& [offset, field] : kIntegerFields) PutI32(out + offset, r.*field);
}

TObservationRecord DecodeObservationRecord(const std::uint8_t* in) {
  TObservationRecord r;
  for (const auto& [offset, field] : kDoubleFields) r.*field = GetF64(in + offset);
  for (const auto& [offset, field] : kIntegerFields) r.*field = GetI32(in + offset);
  return r;
}

bool ReadObservationRecords(std::string_view bytes, TObservationList& out, double& equinoxObs, double& equinoxElements,
                            TObservationReadReport& report) {
  out.clear();
  if (bytes.size() % kObservationRecordSize != 0) return false;
  const std::size_t count = bytes.size() / kObservationRecordSize;
  double eqObs = 2000, eqEl = 2000;
  TObservationList list;
  for (std::size_t k = 0; k < count; ++k) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data()) + k * kObservationRecordSize;
    const TObservationRecord r = DecodeObservationRecord(p);
    if (!std::isfinite(r.EquinoxObservations) || !std::isfinite(r.EquinoxElements) || r.EquinoxObservations < 1000 ||
        r.EquinoxObservations > 3000 || r.EquinoxElements < 1000 || r.EquinoxElements > 3000) {
      return false;
    }
    eqObs = r.EquinoxObservations;
    eqEl = r.EquinoxElements;
    if (r.Year == 0 && r.Month == 0 && r.Day == 0 && r.Hours == 0) continue;  // JD 1721025.5
    tobservation o;
    bool ok = true;
    for (double v : {r.Hours, r.RaPacked, r.DecPacked, r.Longitude, r.RhoCos, r.RhoSin, r.Magnitude}) {
      if (!std::isfinite(v)) ok = false;
    }
    if (ok) {
      o.Year = r.Year;
      o.Month = r.Month;
      o.Day = r.Day;
      o.Hours = r.Hours;
      o.RA = PackedRightAscension(r.RaPacked);
      o.Dec = PackedDeclination(r.DecPacked);
      o.Longitude = r.Longitude;
      o.RhoCos = r.RhoCos;
      o.RhoSin = r.RhoSin;
      o.Magnitude = r.Magnitude;
      if (r.StationCode > 0 && r.StationCode < 1000) {
        char code[8];
        std::snprintf(code, sizeof code, "%03d", static_cast<int>(r.StationCode));
        o.Code = code;
      }
      ok = ObservationInRange(o) && std::fabs(r.RhoCos) <= 1.1 && std::fabs(r.RhoSin) <= 1.1;
    }
    if (!ok) {
      CountSkipped(report, static_cast<int>(k) + 1);
      continue;
    }
    AddObservation(list, std::move(o));
  }
  out = std::move(list);
  equinoxObs = (eqObs - 2000.0) * 0.01;
  equinoxElements = (eqEl - 2000.0) * 0.01;
  return true;
}

std::string WriteObservationRecords(const TObservationList& list, double eqObs, double eqEl) {
  std::string bytes(list.size() * kObservationRecordSize, '\0');
  std::size_t k = 0;
  for (const TObservationEntry& e : list) {
    const tobservation& o = e.Obs;
    TObservationRecord r;
    r.EquinoxObservations = eqObs;
    r.EquinoxElements = eqEl;
    r.Hours = o.Hours;
    r.RaPacked = DegToDmsPacked(o.RA / 15.0);
    r.DecPacked = DegToDmsPacked(o.Dec);
    r.Longitude = o.Longitude;
    r.RhoCos = o.RhoCos;
    r.RhoSin = o.RhoSin;
    r.Magnitude = o.Magnitude;
    r.Year = static_cast<std::int32_t>(o.Year);
    r.Month = static_cast<std::int32_t>(o.Month);
    r.Day = static_cast<std::int32_t>(o.Day);
    int code = 0;
    if (!ParseInt(o.Code, code) || code < 0) code = 0;
    r.StationCode = code;
    EncodeObservationRecord(r, reinterpret_cast<std::uint8_t*>(bytes.data()) + k * kObservationRecordSize);
    ++k;
  }
  return bytes;
}

// ---------------------------------------------------------------------------
// Opening and saving.

namespace {

// The German name of an observation field in the messages.
std::string ObservationFieldGerman(const std::string& field) {
  static constexpr std::pair<std::string_view, const char*> kGerman[] = {
      {"year", "Jahr"},      {"month", "Monat"},     {"day", "Tag"},        {"Dec", "DK"},
      {"mag", "Helligkeit"}, {"longitude", "Länge"}, {"latitude", "Breite"}};
  for (const auto& [english, german] : kGerman) {
    if (english == field) return german;
  }
  return field;
}

void ReportSkipped(const TObservationReadReport& report) {
  if (report.StationNotice) {
    ShowMessage("stations.txt fehlt oder hat ein falsches Format; alle Beobachtungen gelten als geozentrisch.",
                "stations.txt is missing or malformed; all observations are taken as geocentric.",
                MessageIcon::Information);
  }
  if (report.Spacecraft > 0) {
    const bool one = report.Spacecraft == 1;
    const std::string n = std::to_string(report.Spacecraft);
    ShowMessage(
        n + (one ? " Beobachtung" : " Beobachtungen") + " von Raumsonden oder beweglichen Beobachtern übersprungen",
        n + (one ? " observation" : " observations") + " from spacecraft or roving observers skipped",
        MessageIcon::Information);
  }
  if (report.Skipped > 0) {
    TSkippedLinesNote note;
    note.Count = report.Skipped;
    note.FirstLine = report.FirstSkipped;
    note.GermanField = ObservationFieldGerman(report.FirstField);
    note.EnglishField = report.FirstField;
    ShowSkippedLinesNote(note);
  }
}

void NoMarkerMessage(const std::string& firstLine) {
  static const std::string kGermanTail =
      "\" ist keine gültige Kennung für Dateien mit Beobachtungen. Tip: Falls es sich um eine "
      "htm(l)-Datei handelt,versuchen Sie, die Datei mit dem Netscape-Navigator zu öffnen und zu "
      "speichern, nicht mit dem Internet-Explorer.";
  static const std::string kEnglishTail =
      "\" is no valid extension for files with observations. If it is a htm(l)-file, try to "
      "open and save it  with \"Netscape\", not with the \"Internet Explorer\".";
  std::string german(1, '"');
  german.append(Utf8Prefix(firstLine, 30)).append(kGermanTail);
  std::string english(1, '"');
  english.append(firstLine).append(kEnglishTail);
  ShowMessage(Utf8Prefix(german, 250), english, MessageIcon::Error);
}

}  // namespace

bool OpenObservationFileNamed(torbdet& od, const std::string& fileName) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) return false;
  const auto size = std::filesystem::file_size(fileName, ec);
  if (ec) return false;
  TObservationList list;
  TObservationReadReport report;
  double eqObs = 0, eqEl = 0;
  if (size > kMaxTextFileBytes) {
    ShowMessage("Die Datei ist zu groß (" + std::to_string(size) + " Bytes).",
                "The file is too large (" + std::to_string(size) + " bytes).", MessageIcon::Error);
    return false;
  }
  const TOpenedFile seen = TOpenedFile::Seen(fileName);
  std::string bytes, error;
  if (!ReadFileBytes(fileName, bytes, error)) return false;
  if (HasExtension(fileName, ".OBS")) {
    if (!ReadObservationRecords(bytes, list, eqObs, eqEl, report)) {
      ShowInvalidFormat();
      return false;
    }
  } else {
    if (bytes.find('\0') != std::string::npos) {
      ShowInvalidFormat();
      return false;
    }
    std::string text = DecodeTextBytes(bytes);
    std::vector<std::string> lines = SplitTextLines(text);
    const std::string first = lines.empty() ? std::string() : lines.front();
    if (TrimBlanks(first) == "varbo observations") {
      if (!ReadOwnTextObservations(lines, list, eqObs, eqEl, report)) {
        ShowInvalidFormat();
        return false;
      }
    } else {
      if (Utf8Length(first) > kConversionQuestionLength) {
        const MessageResult answer = ShowMessage(
            "Die htm(l)-Datei besitzt vermutlich ein ungültiges Format. Soll Kandrevoltinex 4.6 die Datei "
            "konvertieren?",
            "The htm(l) file has probably an invalid format. Shall Kandrevoltinex 4.6 convert this file?",
            MessageIcon::Error, MessageButtons::YesNo);
        if (answer == MessageResult::Yes) lines = SplitTextLines(PrepareMarkupText(text));
      }
      if (!ParseObservationLines(od, lines, list, report)) {
        NoMarkerMessage(first);
        return false;
      }
      eqObs = eqEl = 0;
    }
  }
  ReportSkipped(report);
  if (list.size() < 3) {
    ShowInvalidFormat();
    return false;
  }
  od.Observations() = std::move(list);
  od.ObservationsEquinox = eqObs;
  od.ElementsEquinox = eqEl;
  od.ObservationFile = seen;
  return true;
}

bool OpenObservationFile(torbdet& od, FileDialogRequest request, std::string& fileName) {
  if (request.start.empty()) request.start = fileName;
  const std::optional<std::string> chosen = AskOpenFileName(request);
  if (!chosen) return false;
  fileName = *chosen;
  return OpenObservationFileNamed(od, fileName);
}

namespace {

// A cell as a number: numbers and formula results; texts with "." or ","
// as the decimal point. Empty cells give `empty`.
bool CellNumber(const workbook::TWorkbook& sheet, int row, int col, double& value, bool& empty) {
  empty = false;
  value = 0;
  switch (sheet.CellKind(row, col)) {
    case workbook::TCellKind::Empty:
      empty = true;
      return true;
    case workbook::TCellKind::Number:
    case workbook::TCellKind::Formula:
      value = sheet.Number(row, col);
      return std::isfinite(value);
    case workbook::TCellKind::Text: {
      std::string t = TrimBlanks(sheet.Text(row, col));
      if (t.empty()) {
        empty = true;
        return true;
      }
      for (char& c : t) {
        if (c == ',') c = '.';
      }
      return ParseReal(t, value);
    }
  }
  return false;
}

}  // namespace

bool SaveObservationFile(torbdet& od, FileDialogRequest request, std::string& fileName,
                         const workbook::TWorkbook& sheet) {
  const std::string a1 = TrimBlanks(sheet.Text(1, 1));
  if (a1 != kObservationTitleGerman && a1 != kObservationTitleEnglish) {
    const MessageResult answer = ShowMessage(
        "Sind Sie sicher, daß das aktive Tabellenblat gültige Dateien mit Beobachtungen enthält? In Zelle A1 "
        "befindet sich ein ungewöhnlicher Eintrag.",
        "Are you shure, that the active sheet contains valid files with observations? In cell A1 is an unusal "
        "entry.",
        MessageIcon::Error, MessageButtons::YesNoCancel);
    if (answer != MessageResult::Yes) return false;
  }
  double eqObsYear = 2000, eqElYear = 2000;
  bool empty = false;
  double v = 0;
  if (CellNumber(sheet, 1, 3, v, empty) && !empty && v >= 1000 && v <= 3000) eqObsYear = v;
  if (CellNumber(sheet, 1, 5, v, empty) && !empty && v >= 1000 && v <= 3000) eqElYear = v;
  TObservationList list;
  const int last = sheet.LastRow();
  for (int row = 3; row <= last; ++row) {
    std::array<double, 9> c{};
    std::array<bool, 9> blank{};
    int bad = 0;
    for (int col = 1; col <= 9; ++col) {
      if (!CellNumber(sheet, row, col, c[static_cast<std::size_t>(col - 1)],
                      blank[static_cast<std::size_t>(col - 1)]) &&
          bad == 0) {
        bad = col;
      }
    }
    bool allBlank = true;
    for (bool b : blank) allBlank = allBlank && b;
    if (allBlank && bad == 0) continue;
    for (int col = 1; col <= 6 && bad == 0; ++col) {
      if (blank[static_cast<std::size_t>(col - 1)]) bad = col;
    }
    tobservation o;
    if (bad == 0) {
      o.Year = std::trunc(c[0]);
      o.Month = std::trunc(c[1]);
      o.Day = std::trunc(c[2]);
      o.Hours = c[3];
      o.RA = PackedRightAscension(c[4]);
      o.Dec = PackedDeclination(c[5]);
      o.Magnitude = c[6];
      o.Longitude = DmsPackedToDeg(c[7]);
      const double lat = DmsPackedToDeg(c[8]);
      o.RhoSin = std::sin(lat * kPi / 180.0);
      o.RhoCos = std::cos(lat * kPi / 180.0);
      if (!ObservationInRange(o) || std::fabs(lat) > 90) bad = -1;
    }
    if (bad != 0) {
      const std::string r = std::to_string(row);
      if (bad > 0) {
        const std::string col = std::to_string(bad);
        ShowMessage("Ungültiger Wert in Zeile " + r + ", Spalte " + col + "; die Datei wird nicht erstellt.",
                    "Invalid value in row " + r + ", column " + col + "; the file is not created.", MessageIcon::Error);
      } else {
        ShowMessage("Werte außerhalb des zulässigen Bereichs in Zeile " + r + "; die Datei wird nicht erstellt.",
                    "Values out of range in row " + r + "; the file is not created.", MessageIcon::Error);
      }
      return false;
    }
    AddObservation(list, std::move(o));
  }
  if (list.size() < 3) {
    ShowMessage("Zu wenige Beobachtungen (Mindestzahl: 3). Datei wird nicht erstellt.",
                "Not enough observations (minimum: 3). File will not be created.", MessageIcon::Error);
    return false;
  }
  if (request.start.empty()) request.start = fileName;
  const std::optional<std::string> chosen = AskSaveFileName(request);
  if (!chosen) return false;
  fileName = *chosen;
  std::string bytes;
  if (HasExtension(fileName, ".OBS")) {
    bytes = WriteObservationRecords(list, eqObsYear, eqElYear);
  } else if (HasExtension(fileName, ".TXT")) {
    bytes = WriteOwnTextObservations(list, eqObsYear, eqElYear);
  } else {
    ShowMessage("Ungültige Dateierweiterung: erwartet wird .obs oder .txt!",
                "Invalid file extension: .obs or .txt required!", MessageIcon::Error);
    return false;
  }
  static constexpr TSaveFailureLead kLead = {"Die Datei {} kann nicht geschrieben werden.",
                                             "Cannot write the file {}."};
  if (!SaveUserFile(fileName, bytes, kLead, &od.ObservationFile)) return false;
  od.Observations() = std::move(list);
  od.ObservationsEquinox = (eqObsYear - 2000.0) * 0.01;
  od.ElementsEquinox = (eqElYear - 2000.0) * 0.01;
  return true;
}

}  // namespace kvx
