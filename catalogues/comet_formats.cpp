// The comet exchange formats: Guide 6.0, SkyMap, the Minor Planet Center's
// one-line comet format, HomePlanet 3.0 and the fixed-column text listing.
//
// MPC one-line comet record (columns from 1): 1-4 periodic number, 5 orbit
// type, 6-12 packed designation, 15-18 year, 20-21 month, 23-29 day of
// perihelion (TT), 31-39 q, 42-49 e, 52-59 argument of perihelion, 62-69
// node, 72-79 inclination (J2000), 82-89 epoch yyyymmdd of a perturbed
// solution, 92-95 H, 97-100 slope, 103-158 designation and name.
#include <cmath>
#include <cstdio>

#include "catalogues/comet_list.h"
#include "catalogues/element_lines.h"
#include "catalogues/list_messages.h"
#include "catalogues/text_line_reader.h"
#include "core/element_records.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

constexpr const char* kHomePlanetHeader =
    "Name,Perihelion time,Perihelion AU,Eccentricity,Long. perihelion,Long. node,Inclination,Semimajor axis,Period";

std::string RightTrimmed(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

std::string PadRight(const std::string& s, std::size_t width) {
  const std::size_t length = Utf8Length(s);
  return length >= width ? s : s + std::string(width - length, ' ');
}

bool IsBlank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

// Julian day of a date whose day carries the time as its fraction.
bool DateWithDayFraction(int year, int month, double day, double& jd) {
  if (month < 1 || month > 12 || !(day >= 0 && day < 33)) return false;
  const int whole = static_cast<int>(std::floor(day));
  jd = MjdToJd(CalendarDateToMjd(whole, month, year, (day - whole) * 24.0));
  return std::isfinite(jd);
}

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

}  // namespace

// --- Guide 6.0 --------------------------------------------------------------------

bool Kometentabelle::ReadGuideFile(const std::string& fileName, bool showMessages) {
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  std::string line;
  int count = 0;
  {
    if (!in.Next(line)) return false;
    TFieldCursor cursor(line);
    double rest = 0;
    if (!cursor.Integer(count) || count < 0 || cursor.Number(rest)) return false;
  }
  if (count > ItemLimit) {
    count = ItemLimit;
    ShowFileLimitMessage(ItemLimit);
  }
  ClearAndFree();
  ClearSkipped();
  bool asteroids = false;
  for (int k = 0; k < count && in.Next(line); ++k) {
    const std::string field = Utf8Prefix(line, 40);
    TFieldCursor cursor(std::string_view(line).substr(field.size()));
    double day = 0, kind = 0;
    int month = 0, year = 0;
    TCometElements e;
    const bool read = cursor.Number(day) && cursor.Integer(month) && cursor.Integer(year) && cursor.Number(kind) &&
                      cursor.Number(e.PerihelionDistance) && cursor.Number(e.Eccentricity) &&
                      cursor.Number(e.Inclination) && cursor.Number(e.Perihelion) && cursor.Number(e.Node) &&
                      cursor.Number(e.Equinox) && cursor.Number(e.H) && cursor.Number(e.G);
    if (read && kind != 0) {
      asteroids = true;
      continue;
    }
    if (read && IsBlank(field)) continue;
    e.Name = ElementRecordName(TrimBlanks(field));
    if (!read || !DateWithDayFraction(year, month, day, e.PerihelionTime) || !CometElementsUsable(e)) {
      Skip(in.LineNumber(), line);
      continue;
    }
    e.Epoch = e.PerihelionTime;
    AppendItem(RightTrimmed(field), e);
  }
  SortItems();
  if (showMessages && asteroids) {
    ShowMessage("In der Datei befanden sich auch Bahnelemente für Asteroiden. Diese wurden nicht eingelesen.",
                "In the file were also orbital elements for Asteroids. They were not loaded.",
                MessageIcon::Information, MessageButtons::Ok, "Hinweis");
  }
  if (Count() == 0) {
    readError_ = NoElementsText(fileName);
    return false;
  }
  Loaded = 1;
  return true;
}

bool Kometentabelle::WriteGuideFile(const std::string& fileName) {
  std::string text = std::to_string(Count()) + "\r\n";
  for (int k = 0; k < Count(); ++k) {
    const TCometElements& e = Data(k);
    int day = 0, month = 0, year = 0;
    double hours = 0;
    JdToCalendarDate(day, month, year, hours, e.PerihelionTime);
    text += PadRight(WritableName(e.Name, '\n'), 43) + FormatFixed(day + hours / 24.0, 7, 4) + " " + FormatFixed(month, 3, 0) +
            FormatFixed(year, 5, 0) + "   0.0" + FormatFixed(e.PerihelionDistance, 18, 7) +
            FormatFixed(e.Eccentricity, 12, 7) + FormatFixed(e.Inclination, 12, 7) +
            FormatFixed(e.Perihelion, 12, 7) + FormatFixed(e.Node, 12, 7) + FormatFixed(e.Equinox, 7, 1) + "   " +
            FormatFixed(e.H, 4, 1) + FormatFixed(e.G, 5, 1) + "   \r\n";
  }
  return WriteElementFile(fileName, TextFileBytes(text));
}

// --- SkyMap ----------------------------------------------------------------------

bool Kometentabelle::ReadSkyMapFile(const std::string& fileName) {
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  std::string line;
  if (!in.Next(line) || Utf8Length(line) > 160) return false;
  in.SeekTo(0);
  ClearAndFree();
  ClearSkipped();
  while (in.Next(line)) {
    if (IsBlank(line)) continue;
    const std::string field = Utf8Prefix(line, 45);
    TFieldCursor cursor(std::string_view(line).substr(field.size()));
    cursor.Skip(2);
    int year = 0, month = 0;
    double day = 0;
    TCometElements e;
    const bool read = cursor.Integer(year) && cursor.Integer(month) && cursor.Number(day) &&
                      cursor.Number(e.PerihelionDistance) && cursor.Number(e.Eccentricity) &&
                      cursor.Number(e.Perihelion) && cursor.Number(e.Node) && cursor.Number(e.Inclination) &&
                      cursor.Number(e.H) && cursor.Number(e.G);
    // A line that does not read ends the reading: the file is not SkyMap.
    if (!read || !DateWithDayFraction(year, month, day, e.PerihelionTime)) return false;
    e.Epoch = e.PerihelionTime;
    e.Equinox = 2000;
    e.Name = ElementRecordName(RightTrimmed(field));
    if (!CometElementsUsable(e)) {
      Skip(in.LineNumber(), line);
      continue;
    }
    AppendItem(RightTrimmed(field), e);
  }
  return EndRead(fileName, false);
}

bool Kometentabelle::WriteSkyMapFile(const std::string& fileName) {
  std::string text;
  for (int k = 0; k < Count(); ++k) {
    const TCometElements& e = Data(k);
    int day = 0, month = 0, year = 0;
    double hours = 0;
    JdToCalendarDate(day, month, year, hours, e.PerihelionTime);
    text += PadRight(WritableName(e.Name, '\n'), 46) + FormatFixed(year, 5, 0) + " " + TwoDigits(month % 100) +
            FormatFixed(day + hours / 24.0, 7, 3) + FormatFixed(e.PerihelionDistance, 9, 6) +
            FormatFixed(e.Eccentricity, 9, 6) + FormatFixed(e.Perihelion, 8, 3) + FormatFixed(e.Node, 8, 3) +
            FormatFixed(e.Inclination, 8, 3) + FormatFixed(e.H, 5, 1) + FormatFixed(e.G, 5, 1) + "   \r\n";
  }
  return WriteElementFile(fileName, TextFileBytes(text));
}

// --- Minor Planet Center one-line comets --------------------------------------------

bool Kometentabelle::ReadMpcTextFile(const std::string& fileName, bool showMessages) {
  (void)showMessages;  // the line ends are read as they come; nothing to ask
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  std::string line;
  if (!in.Next(line)) return false;
  // A first line of 255 characters or more is no element line.
  if (Utf8Length(line) >= 255) return false;
  in.SeekTo(0);
  std::vector<std::pair<int, std::string>> failed;
  std::vector<TCometElements> read;
  while (in.Next(line)) {
    if (IsBlank(line)) continue;
    TFieldCursor cursor(line);
    cursor.Skip(13);
    int year = 0, month = 0;
    double day = 0;
    TCometElements e;
    bool ok = cursor.Integer(year) && cursor.Integer(month) && cursor.Number(day) &&
              cursor.Number(e.PerihelionDistance) && cursor.Number(e.Eccentricity) && cursor.Number(e.Perihelion) &&
              cursor.Number(e.Node) && cursor.Number(e.Inclination) && line.size() >= 100 &&
              ColumnNumber(line, 92, 95, e.H) && ColumnNumber(line, 97, 100, e.G);
    if (ok && (month < 1 || month > 12 || !(day >= 0 && day < 33))) ok = false;
    if (ok) {
      const int whole = static_cast<int>(std::floor(day));
      e.PerihelionTime = CalendarDateToJd(whole, month, year, (day - whole) * 24.0);
      e.Epoch = e.PerihelionTime;
      e.Equinox = 2000;
      e.Name = ElementRecordName(TrimBlanks(std::string(Columns(line, 103, 158))));
      ok = CometElementsUsable(e);
    }
    if (!ok) {
      failed.emplace_back(in.LineNumber(), line);
      continue;
    }
    read.push_back(std::move(e));
  }
  // Without a single record the file is no such file (an own-format ".txt"
  // is then read by the own reader).
  if (read.empty()) return false;
  ClearAndFree();
  ClearSkipped();
  for (const TCometElements& e : read) AddRecord(e);
  for (const auto& [number, text] : failed) Skip(number, text);
  SortItems();
  Loaded = 1;
  return true;
}

// --- HomePlanet 3.0 ---------------------------------------------------------------

bool Kometentabelle::ReadHomePlanetCsvFile(const std::string& fileName) {
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  std::string line;
  if (!in.Next(line) || line.size() >= 255 || line.rfind("Name", 0) != 0 ||
      line.find("Perihelion time") == std::string::npos) {
    return false;
  }
  ClearAndFree();
  ClearSkipped();
  bool more = false;
  while (in.Next(line)) {
    if (line.empty() || line.front() == ':' || IsBlank(line)) continue;
    if (Count() >= ItemLimit) {
      more = true;
      break;
    }
    std::vector<std::string> f(7);
    std::size_t start = 0;
    for (std::size_t k = 0; k < 7; ++k) {
      const std::size_t end = line.find(',', start);
      if (start <= line.size()) f[k] = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
      start = end == std::string::npos ? line.size() + 1 : end + 1;
    }
    TCometElements e;
    e.Name = ElementRecordName(RightTrimmed(f[0]));
    e.PerihelionDistance = OwnNumberField(f[2]);
    e.Eccentricity = OwnNumberField(f[3]);
    e.Perihelion = OwnNumberField(f[4]);
    e.Node = OwnNumberField(f[5]);
    e.Inclination = OwnNumberField(f[6]);
    e.Equinox = 2000;
    if (!ParsePerihelionDateText(f[1], e.PerihelionTime) || !CometElementsUsable(e)) {
      Skip(in.LineNumber(), line);
      continue;
    }
    e.Epoch = e.PerihelionTime;
    AddRecord(e);
  }
  return EndRead(fileName, more);
}

bool Kometentabelle::WriteHomePlanetCsvFile(const std::string& fileName) {
  std::string text = std::string(kHomePlanetHeader) + "\r\n";
  for (int k = 0; k < Count(); ++k) {
    const TCometElements& e = Data(k);
    text += WritableName(e.Name, ',') + "," + PerihelionDateText(e.PerihelionTime) + "," +
            PointNumberText(e.PerihelionDistance, 8) + "," + PointNumberText(e.Eccentricity, 8) + "," +
            PointNumberText(e.Perihelion, 6) + "," + PointNumberText(e.Node, 6) + "," +
            PointNumberText(e.Inclination, 6) + ",,\r\n";
  }
  return WriteElementFile(fileName, TextFileBytes(text));
}

// --- text listing -----------------------------------------------------------------

bool Kometentabelle::WriteTextListing(const std::string& fileName) {
  std::string text =
      "Name und Bezeichnung                    Equ.       T           q          e          w       node        i  "
      "    M0v    nv   M0n  nn\r\n"
      "---------------------------------------+----+--------------+----------+---------+---------+---------+-------"
      "--+-----+-----+----+----|\r\n";
  for (int k = 0; k < Count(); ++k) {
    const TCometElements& e = Data(k);
    int day = 0, month = 0, year = 0;
    double hours = 0;
    JdToCalendarDate(day, month, year, hours, e.PerihelionTime);
    std::string dayText = FormatFixed(day + hours / 24.0, 1, 4);
    if (day + hours / 24.0 < 9.99995) dayText.insert(dayText.begin(), '0');
    text += PadRight(WritableName(e.Name, '\n'), 40) + FormatFixed(e.Equinox, 4, 0) + " " + FormatFixed(year, 4, 0) + TwoDigits(month) +
            dayText + FormatFixed(e.PerihelionDistance, 11, 6) + FormatFixed(e.Eccentricity, 10, 6) +
            FormatFixed(e.Perihelion, 10, 4) + FormatFixed(e.Node, 10, 4) + FormatFixed(e.Inclination, 10, 4) +
            FormatFixed(e.H, 8, 3) + FormatFixed(e.G, 6, 3) + "   \r\n";
  }
  return WriteElementFile(fileName, TextFileBytes(text));
}

}  // namespace kvx
