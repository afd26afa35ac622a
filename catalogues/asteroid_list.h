// The asteroid element list: every asteroid format the program reads, the
// ones it writes, the built-in list of twenty asteroids and the loading
// dispatcher that the element dialog, the file editor, the batch tables and
// the searches call.
//
// Which formats there are, which extension goes to which reader and writer
// and the code Neuedateiladen reports for each (the ElementFileKind) are
// the rows of the asteroid table (AsteroidFileFormats, rows in
// catalogues/element_file_formats.cpp); each reader below says what its
// files hold.
//
// Units: a AU; angles degrees of the equinox (2000 for every catalogue);
// epoch Julian day; n degrees per day (0 = derive it from a).
//
// Readers do not raise the change hook; Neuedateiladen and suchen do.
// Writers replace the target through a temporary file; on failure they show
// a message naming the file, leave the old file as it was and return false.
#pragma once

#include <span>
#include <string>

#include "catalogues/element_list.h"
#include "core/asteroid_elements.h"

namespace kvx {

class Planetoidentabelle : public TElementList<TAsteroidElements> {
 public:
  explicit Planetoidentabelle(int itemLimit = kElementItemLimit) : TElementList(itemLimit) {}

  // Loads `fileName` by its extension (the asteroid table, with `kind`
  // set to the code of the row that read it); on failure shows the
  // built-in list and, with `showMessages`, the reader's error or the
  // invalid-format message. Selects `index` (item 0 when out of range) and
  // raises the change hook either way.
  bool Neuedateiladen(std::uint8_t& kind, const std::string& fileName, bool showMessages, int index);

  std::uint8_t NormalizeNames = 0;

  // The own text: name;a;e;i;node;per;m;n;equinox;epoch;h;g under the
  // first line ":a;e;i;node;per;m;n;equinox;epoch;h;g" or
  // ":BAHNELEMENTE PLANETOIDEN VAMUR...". 0 not read, 1 read, 2 the first
  // line is not an own header.
  int ReadOwnCsvFile(const std::string& fileName);
  // The Minor Planet Center's one-line format.
  bool ReadMpcTextFile(const std::string& fileName, bool showMessages);
  bool ReadSkyMapFile(const std::string& fileName);
  // 132-byte records (core/element_records.h).
  bool ReadOplFile(const std::string& fileName);
  // Comma-separated, the first line "Name,...anom...".
  bool ReadHomePlanetCsvFile(const std::string& fileName);
  // The catalogues: ASTORB, MPCORB line by line, MPCORB as a stream (the
  // asteroid table picks one by the file's name).
  bool ReadAstorbFile(const std::string& fileName, std::string& errorText);
  bool ReadMpcorbTextFile(const std::string& fileName, std::string& errorText);
  bool ReadMpcorbFile(const std::string& fileName, std::string& errorText);
  void LoadBuiltInList();

  bool WriteOwnCsvFile(const std::string& fileName);
  bool WriteHomePlanetCsvFile(const std::string& fileName);
  bool WriteOplFile(const std::string& fileName);
  bool WriteSkyMapFile(const std::string& fileName);

 private:
  // The name, encoding and equinox of `format`'s row, for its writer.
  static TListFormat SavedAs(TElementFormat format);
  // Adds a parsed record under its name (the item text; for some formats
  // the caller gives another text).
  void AddRecord(const TAsteroidElements& record) { AppendItem(record.Name, record); }
  bool ReadMpcLines(const std::string& fileName, bool streamStart, bool dropRepeats, std::string& errorText);
  // Ends a catalogue reader: the items sorted, the database limit message
  // when the file held more, then true with the list marked loaded, or
  // false when nothing usable was read.
  bool EndCatalogueRead(bool more);
};

// The asteroid list's format table, one row per format in reading order
// (catalogues/element_file_formats.h).
std::span<const TElementFileFormat<Planetoidentabelle>> AsteroidFileFormats();

// The twenty built-in asteroid lines in the own format (decimal comma, the
// lines end after h).
extern const char* const kBuiltInAsteroidLines[20];

}  // namespace kvx
