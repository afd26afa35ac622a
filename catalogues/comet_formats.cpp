// The comet exchange formats: Guide 6.0, SkyMap, the Minor Planet Center's
// one-line comet format, HomePlanet 3.0 and the fixed-column text listing.
//
// MPC one-line comet record (columns from 1): 1-4 periodic number, 5 orbit
// type, 6-12 packed designation, the date of perihelion (TT) and the
// elements (J2000) in the columns of kMpcCometLineFields, 82-89 the epoch
// yyyymmdd of a perturbed solution (not read), 103-158 designation and
// name. Every field is read from its columns, so that a blank one is seen
// as blank and never fills itself from the next.
#include <cmath>
#include <cstdio>

#include "catalogues/comet_list.h"
#include "catalogues/element_lines.h"
#include "catalogues/element_write_checks.h"
#include "catalogues/foreign_lines.h"
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

bool IsBlank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

// One line of the MPC one-line comet format (kMpcCometLineFields, the
// columns of the table above). A line cut short names the first field it
// does not hold whole.
TLineParse ParseMpcCometLine(const std::string& line, TCometElements& e, const char** unusable) {
  const TLineColumns columns(line);
  TFieldReader fields(kMpcCometLineFields);
  fields.ReadColumns(columns, 0, e);
  e.Epoch = e.PerihelionTime;
  e.Equinox = 2000;
  e.Name = ElementRecordName(TrimBlanks(std::string(columns.Columns(103, 158))));
  return LineOutcome(e, fields, unusable);
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
    TCometElements e;
    std::string itemText;
    const char* field = nullptr;
    switch (ParseGuideCometLine(line, e, itemText, &field)) {
      case TForeignLineRead::Parsed:
        AppendItem(std::move(itemText), e);
        break;
      case TForeignLineRead::Asteroid:
        asteroids = true;
        break;
      case TForeignLineRead::Nameless:
        break;
      default:
        Skip(in.LineNumber(), line, field);
        break;
    }
  }
  SortItems();
  if (showMessages && asteroids) {
    ShowMessage("In der Datei befanden sich auch Bahnelemente für Asteroiden. Diese wurden nicht eingelesen.",
                "In the file were also orbital elements for Asteroids. They were not loaded.", MessageIcon::Information,
                MessageButtons::Ok, "Hinweis");
  }
  if (Count() == 0) {
    readError_ = NoElementsError(fileName);
    return false;
  }
  Loaded = 1;
  return true;
}

bool Kometentabelle::WriteGuideFile(const std::string& fileName) {
  return WriteTextFile(
      fileName, std::to_string(Count()) + "\r\n", SavedAs(TElementFormat::Guide), kGuideComet, GuideCometLine,
      [](const TCometElements& e, const std::string& line, TLostFields& lost, TSaveRefusals& refusals) {
        if (!NameFitsField(e.Name, 40, refusals)) return false;
        TCometElements read;
        std::string itemText;
        return LineKeepsRecord(e, ParseGuideCometLine(line, read, itemText), read, kGuideComet, refusals, &lost);
      });
}

// --- SkyMap ----------------------------------------------------------------------

bool Kometentabelle::ReadSkyMapFile(const std::string& fileName) {
  return ReadSkyMapLines(fileName, ParseSkyMapCometLine);
}

bool Kometentabelle::WriteSkyMapFile(const std::string& fileName) {
  return WriteTextFile(
      fileName, std::string(), SavedAs(TElementFormat::SkyMap), kSkyMapComet,
      [](const TCometElements& e) { return SkyMapCometLine(e); },
      [](const TCometElements& e, const std::string& line, TLostFields& lost, TSaveRefusals& refusals) {
        return SkyMapLineKeepsRecord(e, line, refusals, lost);
      });
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
  std::vector<TSkippedElementLine> failed;
  std::vector<TCometElements> read;
  while (in.Next(line)) {
    if (IsBlank(line)) continue;
    const char* field = nullptr;
    TCometElements e;
    if (ParseMpcCometLine(line, e, &field) != TLineParse::Parsed) {
      failed.push_back({in.LineNumber(), line, field != nullptr ? field : ""});
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
  for (const TSkippedElementLine& f : failed) Skip(f.LineNumber, f.Text, f.Field.c_str());
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
    TCometElements e;
    const char* field = nullptr;
    if (ParseHomePlanetCometLine(line, e, &field) != TForeignLineRead::Parsed) {
      Skip(in.LineNumber(), line, field);
      continue;
    }
    AddRecord(e);
  }
  return EndRead(fileName, more);
}

bool Kometentabelle::WriteHomePlanetCsvFile(const std::string& fileName) {
  return WriteTextFile(
      fileName, std::string(kHomePlanetHeader) + "\r\n", SavedAs(TElementFormat::HomePlanet), kHomePlanetComet,
      HomePlanetCometLine,
      [](const TCometElements& e, const std::string& line, TLostFields& lost, TSaveRefusals& refusals) {
        TCometElements read;
        return LineKeepsRecord(e, ParseHomePlanetCometLine(line, read), read, kHomePlanetComet, refusals, &lost);
      });
}

// --- text listing -----------------------------------------------------------------

bool Kometentabelle::WriteTextListing(const std::string& fileName) {
  const std::string head =
      "Name und Bezeichnung                    Equ.       T           q          e          w       node        i  "
      "    M0v    nv   M0n  nn\r\n"
      "---------------------------------------+----+--------------+----------+---------+---------+---------+-------"
      "--+-----+-----+----+----|\r\n";
  // A line that would lose its layout is empty here and refused below.
  const auto line = [](const TCometElements& e) {
    std::string text;
    const char* field = nullptr;
    return TextListingLine(e, text, field) ? text : std::string();
  };
  return WriteTextFile(
      fileName, head, SavedAs(TElementFormat::MpcText), kTextListingComet, line,
      [](const TCometElements& e, const std::string& text, TLostFields& lost, TSaveRefusals& refusals) {
        if (text.empty()) {
          std::string ignored;
          const char* field = nullptr;
          TextListingLine(e, ignored, field);
          refusals.Add(e.Name, field, FieldValueText(e, field));
          return false;
        }
        if (!NameFitsField(e.Name, 40, refusals)) return false;
        TCometElements read;
        return LineKeepsRecord(e, ParseTextListingLine(text, read), read, kTextListingComet, refusals, &lost);
      });
}

}  // namespace kvx
