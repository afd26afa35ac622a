#include "catalogues/element_file_formats.h"

#include <algorithm>

#include "catalogues/list_messages.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

TFormatRead ReadIf(bool read) { return read ? TFormatRead::Read : TFormatRead::NotThisFormat; }

// The own readers answer 1 read, 2 not an own first line, 0 failed.
TFormatRead OwnRead(int result) {
  if (result == 1) return TFormatRead::Read;
  return result == 2 ? TFormatRead::NotThisFormat : TFormatRead::Failed;
}

// The routines both lists have under one name.
template <class L>
TFormatRead ReadOwn(L& list, const std::string& fileName, bool, std::string&) {
  return OwnRead(list.ReadOwnCsvFile(fileName));
}
template <class L>
TFormatRead ReadHomePlanet(L& list, const std::string& fileName, bool, std::string&) {
  return ReadIf(list.ReadHomePlanetCsvFile(fileName));
}
template <class L>
TFormatRead ReadSkyMap(L& list, const std::string& fileName, bool, std::string&) {
  return ReadIf(list.ReadSkyMapFile(fileName));
}
template <class L>
TFormatRead ReadMpcText(L& list, const std::string& fileName, bool showMessages, std::string&) {
  return ReadIf(list.ReadMpcTextFile(fileName, showMessages));
}
template <class L>
bool WriteOwn(L& list, const std::string& fileName) {
  return list.WriteOwnCsvFile(fileName);
}
template <class L>
bool WriteHomePlanet(L& list, const std::string& fileName) {
  return list.WriteHomePlanetCsvFile(fileName);
}
template <class L>
bool WriteSkyMap(L& list, const std::string& fileName) {
  return list.WriteSkyMapFile(fileName);
}

constexpr TFormatFilter kSkyMapSky = {"SkyMap (*.sky)", "SkyMap (*.sky)", "*.sky"};
constexpr TFormatFilter kSkyMapCat = {"SkyMap (*.cat)", "SkyMap (*.cat)", "*.cat"};
// The names both lists give a format.
constexpr const char* kOwnName = "Kandrevoltinex (*.csv)";
constexpr const char* kOwnChoice = "Vamur/Kandrevoltinex Format";
constexpr const char* kHomePlanetName = "HomePlanet 3.0";
constexpr const char* kSkyMapName = "SkyMap";

using TAsteroidFormat = TElementFileFormat<Planetoidentabelle>;
using TCometFormat = TElementFileFormat<Kometentabelle>;

// Rows in reading order: the own text format before HomePlanet (both ".csv").
const std::vector<TAsteroidFormat>& AsteroidTable() {
  using L = Planetoidentabelle;
  static const std::vector<TAsteroidFormat> table = {
      {.Format = TElementFormat::OwnText,
       .StoredCode = 0,
       .ReadExtensions = {".CSV"},
       .Read = ReadOwn<L>,
       .SaveExtensions = {".CSV"},
       .Write = WriteOwn<L>,
       .Name = kOwnName,
       .Encoding = TListEncoding::Utf8,
       .ChoiceName = kOwnChoice,
       .OpenPosition = 1,
       .OpenFilters = {{"Planetoiden (*.csv)", "Asteroids (*.csv)", "*.csv"}},
       .SavePosition = 2,
       .SaveFilters = {{"Planetoiden (*.csv)", "Asteroids (*.csv)", "*.csv"}}},
      {.Format = TElementFormat::Binary,
       .StoredCode = 1,
       .ReadExtensions = {".OPL"},
       .Read = [](L& l, const std::string& f, bool, std::string&) { return ReadIf(l.ReadOplFile(f)); },
       .SaveExtensions = {".OPL"},
       .Write = [](L& l, const std::string& f) { return l.WriteOplFile(f); },
       .Name = "Kandrevoltinex (*.opl)",
       .Encoding = TListEncoding::Windows1252,
       .OpenPosition = 2,
       .OpenFilters = {{"Planetoiden (binär, *.opl)", "Asteroids (binary, *.opl)", "*.opl"}},
       .SavePosition = 1,
       .SaveFilters = {{"Planetoiden (binär *.opl) (*.opl)", "Asteroids (binary *.opl) (*.opl)", "*.opl"}}},
      // "MPCORBCR" in the name: MPCORB line by line; "MPCORB": as a stream;
      // any other name: ASTORB.
      {.Format = TElementFormat::Catalogue,
       .StoredCode = 2,
       .ReadExtensions = {".DAT"},
       .Read =
           [](L& l, const std::string& f, bool, std::string& error) {
             const std::string name = UpperFileName(f);
             if (name.find("MPCORBCR") != std::string::npos) return ReadIf(l.ReadMpcorbTextFile(f, error));
             if (name.find("MPCORB") != std::string::npos) return ReadIf(l.ReadMpcorbFile(f, error));
             return ReadIf(l.ReadAstorbFile(f, error));
           },
       .SaveExtensions = {},
       .OpenPosition = 3,
       .OpenFilters = {{"ASTORB/MPCORB-Database (*.dat)", "ASTORB/MPCORB database (*.dat)", "*.dat"}},
       .SaveFilters = {}},
      {.Format = TElementFormat::HomePlanet,
       .StoredCode = 3,
       .ReadExtensions = {".CSV"},
       .Read = ReadHomePlanet<L>,
       .SaveExtensions = {".CSV"},
       .Write = WriteHomePlanet<L>,
       .Name = kHomePlanetName,
       .Encoding = TListEncoding::Windows1252,
       .Equinox = TListEquinox::Taken2000,
       .OpenFilters = {},
       .SaveFilters = {}},
      {.Format = TElementFormat::SkyMap,
       .StoredCode = 4,
       .ReadExtensions = {".SKY", ".CAT"},
       .Read = ReadSkyMap<L>,
       .SaveExtensions = {".SKY", ".CAT"},
       .Write = WriteSkyMap<L>,
       .Name = kSkyMapName,
       .Encoding = TListEncoding::Windows1252,
       .Equinox = TListEquinox::Taken2000,
       .OpenPosition = 5,
       .OpenFilters = {kSkyMapSky, kSkyMapCat},
       .SavePosition = 3,
       .SaveFilters = {kSkyMapSky, kSkyMapCat}},
      {.Format = TElementFormat::MpcText,
       .StoredCode = 5,
       .ReadExtensions = {".TXT"},
       .Read = ReadMpcText<L>,
       .SaveExtensions = {},
       .OpenPosition = 4,
       .OpenFilters = {{"MPC Format (*.txt)", "MPC Format (*.txt)", "*.txt"}},
       .SaveFilters = {}},
  };
  return table;
}

// Rows in reading order: ".txt" is tried as MPC text before the own format,
// ".csv" as the own format before HomePlanet.
const std::vector<TCometFormat>& CometTable() {
  using L = Kometentabelle;
  static const std::vector<TCometFormat> table = {
      // Saved as the VDS listing, which no reader takes back.
      {.Format = TElementFormat::MpcText,
       .StoredCode = 5,
       .ReadExtensions = {".TXT"},
       .Read = ReadMpcText<L>,
       .SaveExtensions = {".TXT"},
       .Write = [](L& l, const std::string& f) { return l.WriteTextListing(f); },
       .Name = "VDS (*.txt)",
       .Encoding = TListEncoding::Windows1252,
       .OpenPosition = 6,
       .OpenFilters = {{"Kometen MPC (*.txt)", "Comets MPC (*.txt)", "*.txt"}},
       .SavePosition = 6,
       .SaveFilters = {{"VDS-Fachgruppe (*.txt)", "German VDS (*.txt)", "*.txt"}}},
      {.Format = TElementFormat::OwnText,
       .StoredCode = 0,
       .ReadExtensions = {".CSV", ".TXT"},
       .Read = ReadOwn<L>,
       .SaveExtensions = {".CSV"},
       .Write = WriteOwn<L>,
       .Name = kOwnName,
       .Encoding = TListEncoding::Utf8,
       .ChoiceName = kOwnChoice,
       .OpenPosition = 1,
       .OpenFilters = {{"Kometen (*.csv)", "Comets(*.csv)", "*.csv"}},
       .SavePosition = 1,
       .SaveFilters = {{"Kometen (*.csv)", "Comets (*.csv)", "*.csv"}}},
      {.Format = TElementFormat::Binary,
       .StoredCode = 1,
       .ReadExtensions = {".OKO"},
       .Read = [](L& l, const std::string& f, bool, std::string&) { return ReadIf(l.ReadOkoFile(f)); },
       .SaveExtensions = {".OKO"},
       .Write = [](L& l, const std::string& f) { return l.WriteOkoFile(f); },
       .Name = "Kandrevoltinex (*.oko)",
       .Encoding = TListEncoding::Windows1252,
       .OpenPosition = 2,
       .OpenFilters = {{"Kometen (binär, *.oko)", "Comets (binary, *.oko)", "*.oko"}},
       .SavePosition = 2,
       .SaveFilters = {{"Kometen (binär *.oko) (*.oko)", "Comets (binär *.oko) (*.oko)", "*.oko"}}},
      {.Format = TElementFormat::HomePlanet,
       .StoredCode = 2,
       .ReadExtensions = {".CSV"},
       .Read = ReadHomePlanet<L>,
       .SaveExtensions = {".CSV"},
       .Write = WriteHomePlanet<L>,
       .Name = kHomePlanetName,
       .Encoding = TListEncoding::Windows1252,
       .Equinox = TListEquinox::Taken2000,
       .OpenFilters = {},
       .SaveFilters = {}},
      {.Format = TElementFormat::Guide,
       .StoredCode = 3,
       .ReadExtensions = {".DAT"},
       .Read = [](L& l, const std::string& f, bool show, std::string&) { return ReadIf(l.ReadGuideFile(f, show)); },
       .SaveExtensions = {".DAT"},
       .Write = [](L& l, const std::string& f) { return l.WriteGuideFile(f); },
       .Name = "Guide 6.0",
       .Encoding = TListEncoding::Windows1252,
       .OpenPosition = 3,
       .OpenFilters = {{"Guide 6.0-Format (*.dat)", "Guide 6.0 format (*.dat)", "*.dat"}},
       .SavePosition = 3,
       .SaveFilters = {{"Guide 6.0 (*.dat)", "Guide 6.0 (*.dat)", "*.dat"}}},
      // ".cat" is offered in the save dialog but not written; saving keeps
      // the list's code.
      {.Format = TElementFormat::SkyMap,
       .StoredCode = 4,
       .ReadExtensions = {".SKY", ".CAT"},
       .Read = ReadSkyMap<L>,
       .SaveExtensions = {".SKY"},
       .Write = WriteSkyMap<L>,
       .Name = kSkyMapName,
       .Encoding = TListEncoding::Windows1252,
       .Equinox = TListEquinox::Taken2000,
       .KeepsCodeOnSave = true,
       .OpenPosition = 4,
       .OpenFilters = {{"Kometen (SkyMap)", "SkyMap (*.sky)", "*.sky"}, kSkyMapCat},
       .SavePosition = 4,
       .SaveFilters = {kSkyMapSky, kSkyMapCat}},
  };
  return table;
}

// Calls `f` with the table of `kind`.
template <class F>
auto WithTable(TElementDialogKind kind, F f) {
  if (kind == TElementDialogKind::Asteroid) return f(AsteroidFileFormats());
  return f(CometFileFormats());
}

// The filters of the rows with a position, by position; the save dialog's
// only of the rows that save.
template <class TList>
std::vector<TFormatFilter> FiltersByPosition(std::span<const TElementFileFormat<TList>> formats, bool save) {
  std::vector<const TElementFileFormat<TList>*> rows;
  for (const TElementFileFormat<TList>& format : formats) {
    if (save ? format.Saves() && format.SavePosition > 0 : format.OpenPosition > 0) rows.push_back(&format);
  }
  std::stable_sort(rows.begin(), rows.end(), [save](const auto* a, const auto* b) {
    return save ? a->SavePosition < b->SavePosition : a->OpenPosition < b->OpenPosition;
  });
  std::vector<TFormatFilter> filters;
  for (const auto* row : rows) {
    for (const TFormatFilter& filter : save ? row->SaveFilters : row->OpenFilters) filters.push_back(filter);
  }
  return filters;
}

}  // namespace

std::span<const TElementFileFormat<Planetoidentabelle>> AsteroidFileFormats() { return AsteroidTable(); }

std::span<const TElementFileFormat<Kometentabelle>> CometFileFormats() { return CometTable(); }

std::string ElementOpenFilter(TElementDialogKind kind, bool english) {
  std::string filter;
  for (const TFormatFilter& f : WithTable(kind, [](auto formats) { return FiltersByPosition(formats, false); })) {
    if (!filter.empty()) filter += '|';
    filter += std::string(english ? f.English : f.German) + "|" + f.Pattern;
  }
  return filter;
}

std::vector<std::string> ElementSaveFilters(TElementDialogKind kind, bool english) {
  std::vector<std::string> filters;
  for (const TFormatFilter& f : WithTable(kind, [](auto formats) { return FiltersByPosition(formats, true); })) {
    const std::string text = english ? f.English : f.German;
    const std::string pattern = std::string("(") + f.Pattern + ")";
    filters.push_back(text.find(pattern) != std::string::npos ? text : text + " " + pattern);
  }
  return filters;
}

std::vector<std::string> ElementSaveChoices(TElementDialogKind kind, const std::string& fileName) {
  return WithTable(kind, [&fileName](auto formats) {
    std::vector<std::string> names;
    for (const auto* row : FormatsWriting(formats, fileName)) names.emplace_back(row->Choice());
    return names;
  });
}

bool IsElementFileExtension(const std::string& upperExtension) {
  for (const TAsteroidFormat& format : AsteroidTable()) {
    if (format.Reads(upperExtension)) return true;
  }
  for (const TCometFormat& format : CometTable()) {
    if (format.Reads(upperExtension)) return true;
  }
  return false;
}

std::optional<TElementFormat> ElementFormatOfCode(TElementDialogKind kind, std::uint8_t code) {
  return WithTable(kind, [code](auto formats) -> std::optional<TElementFormat> {
    for (const auto& format : formats) {
      if (format.StoredCode == code) return format.Format;
    }
    return std::nullopt;
  });
}

std::optional<std::uint8_t> ElementCodeOfFormat(TElementDialogKind kind, TElementFormat which) {
  return WithTable(kind, [which](auto formats) -> std::optional<std::uint8_t> {
    for (const auto& format : formats) {
      if (format.Format == which) return format.StoredCode;
    }
    return std::nullopt;
  });
}

}  // namespace kvx
