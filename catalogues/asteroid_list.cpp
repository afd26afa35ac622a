// The asteroid list's dispatcher, its own formats (".csv", ".opl"), the
// built-in list and the exchange formats HomePlanet and SkyMap. The large
// catalogues (ASTORB, MPCORB, MPC text) are in asteroid_catalogues.cpp.
#include "catalogues/asteroid_list.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>

#include "catalogues/element_lines.h"
#include "catalogues/element_write_checks.h"
#include "catalogues/foreign_lines.h"
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

}  // namespace

TListFormat Planetoidentabelle::SavedAs(TElementFormat format) { return SavedFormatOf(AsteroidFileFormats(), format); }

// --- dispatcher -----------------------------------------------------------------

bool Planetoidentabelle::Neuedateiladen(std::uint8_t& kind, const std::string& fileName, bool showMessages, int index) {
  BusyCursorScope busy;
  readError_.clear();
  ClearSkipped();
  std::string errorText;
  const bool ok = ReadByFormat(*this, AsteroidFileFormats(), kind, fileName, showMessages, errorText);
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
  const bool normalize = NormalizeNames != 0;
  return WriteTextFile(
      fileName, std::string(kOwnFieldLine) + "\r\n", SavedAs(TElementFormat::OwnText), kAsteroidExact,
      [normalize](const TAsteroidElements& e) { return OwnAsteroidLine(e, normalize); },
      [&](const TAsteroidElements& e, const std::string& line, TLostFields& lost, TSaveRefusals& refusals) {
        TAsteroidElements read;
        const TLineParse parse = ParseAsteroidCsvLine(line, normalize, read);
        return LineKeepsRecord(e, parse == TLineParse::Blank ? TForeignLineRead::NotRead : TForeignLineRead::Parsed,
                               read, kAsteroidExact, refusals, &lost);
      });
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
      fileName, SavedAs(TElementFormat::Binary),
      [](const TAsteroidElements& e) { return EncodeAsteroidElementRecord(e); },
      [](const TAsteroidElements& e, const TAsteroidElementRecordBytes& bytes, TSaveRefusals& refusals) {
        const TAsteroidElements read = DecodeAsteroidElementRecord(bytes);
        if (read.Name != e.Name) {
          RefuseName(e.Name, refusals);
          return false;
        }
        return LineKeepsRecord(e, TForeignLineRead::Parsed, read, kAsteroidExact, refusals);
      });
}

// --- HomePlanet 3.0 ---------------------------------------------------------------

bool Planetoidentabelle::ReadHomePlanetCsvFile(const std::string& fileName) {
  TTextLineReader in;
  if (!in.Open(fileName)) return false;
  std::string line;
  if (!in.Next(line) || line.size() >= 255 || !line.starts_with("Name") || line.find("anom", 1) == std::string::npos) {
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
    TAsteroidElements e;
    if (ParseHomePlanetAsteroidLine(line, NormalizeNames != 0, e) != TForeignLineRead::Parsed) {
      Skip(in.LineNumber(), line);
      continue;
    }
    AddRecord(e);
  }
  return EndRead(fileName, more);
}

bool Planetoidentabelle::WriteHomePlanetCsvFile(const std::string& fileName) {
  const bool normalize = NormalizeNames != 0;
  return WriteTextFile(
      fileName, std::string(kHomePlanetHeader) + "\r\n", SavedAs(TElementFormat::HomePlanet), kHomePlanetAsteroid,
      [normalize](const TAsteroidElements& e) { return HomePlanetAsteroidLine(e, normalize); },
      [&](const TAsteroidElements& e, const std::string& line, TLostFields& lost, TSaveRefusals& refusals) {
        TAsteroidElements read;
        return LineKeepsRecord(e, ParseHomePlanetAsteroidLine(line, normalize, read), read, kHomePlanetAsteroid,
                               refusals, &lost);
      });
}

// --- SkyMap -------------------------------------------------------------------------

bool Planetoidentabelle::ReadSkyMapFile(const std::string& fileName) {
  return ReadSkyMapLines(fileName, [this](const std::string& line, TAsteroidElements& e, std::string& itemText) {
    return ParseSkyMapAsteroidLine(line, NormalizeNames != 0, e, itemText);
  });
}

bool Planetoidentabelle::WriteSkyMapFile(const std::string& fileName) {
  return WriteTextFile(
      fileName, std::string(), SavedAs(TElementFormat::SkyMap), kSkyMapAsteroid,
      [](const TAsteroidElements& e) { return SkyMapAsteroidLine(e); },
      [](const TAsteroidElements& e, const std::string& line, TLostFields& lost, TSaveRefusals& refusals) {
        return SkyMapLineKeepsRecord(e, line, refusals, lost);
      });
}

}  // namespace kvx
