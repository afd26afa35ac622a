// The asteroid list's dispatcher, its own formats (".csv", ".opl"), the
// built-in list and the exchange formats HomePlanet and SkyMap. The large
// catalogues (ASTORB, MPCORB, MPC text) are in asteroid_catalogues.cpp.
#include "catalogues/asteroid_list.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>

#include "catalogues/element_lines.h"
#include "catalogues/list_messages.h"
#include "catalogues/text_line_reader.h"
#include "core/element_records.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/busy_cursor.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

constexpr const char* kOwnFieldLine = ":a;e;i;node;per;m;n;equinox;epoch;h;g";
constexpr const char* kOwnHeader = ":BAHNELEMENTE PLANETOIDEN VAMUR";
constexpr const char* kHomePlanetHeader =
    "Name,Magnitude H,Magnitude G,Mean anomaly,Arg. perihelion,Long. node,Inclination,Eccentricity,Semimajor "
    "axis,Epoch (MJD)";

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::string RightTrimmed(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

// Pads a UTF-8 text with blanks to `width` characters.
std::string PadRight(const std::string& s, std::size_t width) {
  const std::size_t length = Utf8Length(s);
  return length >= width ? s : s + std::string(width - length, ' ');
}

}  // namespace

// --- dispatcher -----------------------------------------------------------------

bool Planetoidentabelle::Neuedateiladen(std::uint8_t& kind, const std::string& fileName, bool showMessages, int index) {
  BusyCursorScope busy;
  readError_.clear();
  ClearSkipped();
  const std::string ext = UpperExtension(fileName);
  bool ok = false;
  std::string errorText;
  if (ext == ".OPL") {
    kind = 1;
    ok = ReadOplFile(fileName);
  } else if (ext == ".SKY" || ext == ".CAT") {
    kind = 4;
    ok = ReadSkyMapFile(fileName);
  } else if (ext == ".TXT") {
    kind = 5;
    ok = ReadMpcTextFile(fileName, showMessages);
  } else if (ext == ".DAT") {
    kind = 2;
    const std::string name = UpperFileName(fileName);
    if (name.find("MPCORBCR") != std::string::npos) {
      ok = ReadMpcorbTextFile(fileName, errorText);
    } else if (name.find("MPCORB") != std::string::npos) {
      ok = ReadMpcorbFile(fileName, errorText);
    } else {
      ok = ReadAstorbFile(fileName, errorText);
    }
  } else if (ext == ".CSV") {
    kind = 0;
    const int result = ReadOwnCsvFile(fileName);
    ok = result == 1;
    if (result == 2) {
      kind = 3;
      ok = ReadHomePlanetCsvFile(fileName);
    }
  } else {
    ShowInvalidFormatWarning(fileName);
  }
  if (errorText.empty()) errorText = readError_;

  return FinishLoad(ok, fileName, errorText, index, showMessages, [this] { LoadBuiltInList(); });
}

void Planetoidentabelle::LoadBuiltInList() {
  ClearAndFree();
  ClearSkipped();
  for (const char* line : kBuiltInAsteroidLines) {
    TAsteroidElements record;
    if (ParseAsteroidCsvLine(line, NormalizeNames != 0, record) == TLineParse::Parsed) AddRecord(record);
  }
  SortItems();
  BuiltInListShown = 1;
}

// --- own text file ----------------------------------------------------------------

int Planetoidentabelle::ReadOwnCsvFile(const std::string& fileName) {
  return ReadOwnTextFile(fileName, kOwnFieldLine, kOwnHeader, [this](const std::string& line, TAsteroidElements& r) {
    return ParseAsteroidCsvLine(line, NormalizeNames != 0, r);
  });
}

bool Planetoidentabelle::WriteOwnCsvFile(const std::string& fileName) {
  std::string text = std::string(kOwnFieldLine) + "\r\n";
  for (int k = 0; k < Count(); ++k) {
    const TAsteroidElements& e = Data(k);
    std::string name = NormalizeNames != 0 ? NormalizeDesignation(e.Name) : e.Name;
    text += WritableName(name, ';');
    const double values[] = {e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.MeanAnomaly,
                             e.MeanMotion,    e.Equinox,      e.Epoch,       e.H,    e.G};
    const int decimals[] = {8, 8, 6, 6, 6, 6, 6, 2, 5, 2, 2};
    for (int f = 0; f < 11; ++f) {
      text += ';';
      text += OwnNumberText(values[f], decimals[f]);
    }
    text += "\r\n";
  }
  return WriteElementFile(fileName, TextFileBytes(text));
}

// --- binary ".opl" ----------------------------------------------------------------

bool Planetoidentabelle::ReadOplFile(const std::string& fileName) {
  return ReadRecordFile<kAsteroidElementRecordSize>(
      fileName, [](const TAsteroidElementRecordBytes& bytes) { return DecodeAsteroidElementRecord(bytes); },
      AsteroidElementsUsable,
      [this](const TAsteroidElements& record) {
        std::string text = NormalizeNames != 0 ? NormalizeDesignation(record.Name) : record.Name;
        AppendItem(std::move(text), record);
      });
}

bool Planetoidentabelle::WriteOplFile(const std::string& fileName) {
  return WriteRecordFile<kAsteroidElementRecordSize>(
      fileName, [](const TAsteroidElements& e) { return EncodeAsteroidElementRecord(e); });
}

// --- HomePlanet 3.0 ---------------------------------------------------------------

bool Planetoidentabelle::ReadHomePlanetCsvFile(const std::string& fileName) {
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  std::string line;
  if (!in.Next(line) || line.size() >= 255 || !StartsWith(line, "Name") || line.find("anom", 1) == std::string::npos) {
    return false;
  }
  ClearAndFree();
  ClearSkipped();
  bool more = false;
  while (in.Next(line)) {
    if (!IsElementDataLine(line)) continue;
    if (Count() >= ItemLimit) {
      more = true;
      break;
    }
    // name, H, G, M, peri, node, i, e, a, epoch (MJD)
    std::vector<std::string> f(10);
    std::size_t start = 0;
    for (std::size_t k = 0; k < 10; ++k) {
      const std::size_t end = k < 9 ? line.find(',', start) : std::string::npos;
      if (start <= line.size()) f[k] = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
      start = end == std::string::npos ? line.size() + 1 : end + 1;
    }
    TAsteroidElements e;
    std::string name = RightTrimmed(f[0]);
    if (NormalizeNames != 0) name = NormalizeDesignation(name);
    e.Name = ElementRecordName(name);
    double* numbers[] = {&e.H,    &e.G,           &e.MeanAnomaly,  &e.Perihelion,
                         &e.Node, &e.Inclination, &e.Eccentricity, &e.SemiMajorAxis,
                         &e.Epoch};
    for (std::size_t k = 0; k < 9; ++k) *numbers[k] = OwnNumberField(f[k + 1]);
    e.Epoch = MjdToJd(e.Epoch);
    e.Equinox = 2000;
    e.MeanMotion = 0;
    if (!AsteroidElementsUsable(e)) {
      Skip(in.LineNumber(), line);
      continue;
    }
    AddRecord(e);
  }
  return EndRead(fileName, more);
}

bool Planetoidentabelle::WriteHomePlanetCsvFile(const std::string& fileName) {
  std::string text = std::string(kHomePlanetHeader) + "\r\n";
  for (int k = 0; k < Count(); ++k) {
    const TAsteroidElements& e = Data(k);
    std::string name = WritableName(e.Name, ',');
    if (NormalizeNames != 0) name = NormalizeDesignation(name);
    text += name;
    const double values[] = {e.H,
                             e.G,
                             e.MeanAnomaly,
                             e.Perihelion,
                             e.Node,
                             e.Inclination,
                             e.Eccentricity,
                             e.SemiMajorAxis,
                             JdToMjd(e.Epoch)};
    const int decimals[] = {2, 2, 6, 6, 6, 6, 8, 8, 5};
    for (int f = 0; f < 9; ++f) {
      text += ',';
      text += PointNumberText(values[f], decimals[f], f == 8 ? 4 : 3);
    }
    text += "\r\n";
  }
  return WriteElementFile(fileName, TextFileBytes(text));
}

// --- SkyMap -------------------------------------------------------------------------

bool Planetoidentabelle::ReadSkyMapFile(const std::string& fileName) {
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  std::string line;
  if (!in.Next(line) || Utf8Length(line) > 160) return false;
  in.SeekTo(0);
  ClearAndFree();
  ClearSkipped();
  int lineNumber = 0;
  while (in.Next(line)) {
    ++lineNumber;
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    const std::string field = Utf8Prefix(line, 35);
    TFieldCursor cursor(std::string_view(line).substr(field.size()));
    cursor.Skip(2);
    int year = 0, month = 0;
    double day = 0;
    TAsteroidElements e;
    const bool read = cursor.Integer(year) && cursor.Integer(month) && cursor.Number(day) &&
                      cursor.Number(e.MeanAnomaly) && cursor.Number(e.SemiMajorAxis) && cursor.Number(e.Eccentricity) &&
                      cursor.Number(e.Perihelion) && cursor.Number(e.Node) && cursor.Number(e.Inclination) &&
                      cursor.Number(e.H) && cursor.Number(e.G);
    // A line that does not read ends the reading: the file is not SkyMap.
    if (!read || month < 1 || month > 12 || day < 0 || day >= 33) return false;
    const int wholeDay = static_cast<int>(std::floor(day));
    e.Epoch = MjdToJd(CalendarDateToMjd(wholeDay, month, year, (day - wholeDay) * 24.0));
    e.Equinox = 2000;
    e.MeanMotion = 0;
    std::string name = RightTrimmed(field);
    if (NormalizeNames != 0) name = NormalizeDesignation(name);
    e.Name = ElementRecordName(name);
    if (!AsteroidElementsUsable(e)) {
      Skip(lineNumber, line);
      continue;
    }
    AppendItem(RightTrimmed(field), e);
  }
  return EndRead(fileName, false);
}

bool Planetoidentabelle::WriteSkyMapFile(const std::string& fileName) {
  std::string text;
  for (int k = 0; k < Count(); ++k) {
    const TAsteroidElements& e = Data(k);
    int day = 0, month = 0, year = 0;
    double hours = 0;
    JdToCalendarDate(day, month, year, hours, e.Epoch);
    char monthText[8];
    std::snprintf(monthText, sizeof monthText, "%02d", month % 100);
    // Names longer than the reader's 35-character field are cut to it.
    text += PadRight(Utf8Prefix(WritableName(e.Name, '\n'), 35), 46);
    text += FormatFixed(year, 5, 0) + " " + monthText + FormatFixed(day + hours / 24.0, 7, 3);
    text += FormatFixed(e.MeanAnomaly, 8, 3) + FormatFixed(e.SemiMajorAxis, 9, 6) + FormatFixed(e.Eccentricity, 9, 6);
    text += FormatFixed(e.Perihelion, 8, 3) + FormatFixed(e.Node, 8, 3) + FormatFixed(e.Inclination, 8, 3);
    text += FormatFixed(e.H, 6, 2) + FormatFixed(e.G, 6, 2) + "   \r\n";
  }
  return WriteElementFile(fileName, TextFileBytes(text));
}

}  // namespace kvx
