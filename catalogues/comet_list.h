// The comet element list: the comet twin of the asteroid list, with the
// comet formats and the built-in list of twenty comets.
//
// Which formats there are, which extension goes to which reader and writer
// and the code Neuedateiladen reports for each (the ElementFileKind) are
// the rows of the comet table (CometFileFormats, rows in
// catalogues/element_file_formats.cpp); each reader below says what its
// files hold.
//
// Units: q AU; angles degrees of the equinox; T and epoch Julian days.
// Comet names are used as they stand (no designation padding).
#pragma once

#include <span>
#include <string>

#include "catalogues/element_list.h"
#include "core/comet_elements.h"

namespace kvx {

class Kometentabelle : public TElementList<TCometElements> {
 public:
  explicit Kometentabelle(int itemLimit = kElementItemLimit) : TElementList(itemLimit) {}

  // As Planetoidentabelle::Neuedateiladen, by the comet table.
  bool Neuedateiladen(std::uint8_t& kind, const std::string& fileName, bool showMessages, int index);

  // The own text: name;q;e;i;node;per;equinox;T;H;G;epoch under the first
  // line ":name;q;e;i;node;per; equinox;tm of per.(jd);epoche (jd);h;g" or
  // ":BAHNELEMENTE KOMETEN VAMUR EXT...". 0 not read, 1 read, 2 not an own
  // first line.
  int ReadOwnCsvFile(const std::string& fileName);
  // A count line, then fixed lines.
  bool ReadGuideFile(const std::string& fileName, bool showMessages);
  // 124-byte records (core/element_records.h).
  bool ReadOkoFile(const std::string& fileName);
  void LoadBuiltInList();
  // Comma-separated, the first line "Name,Perihelion time,...".
  bool ReadHomePlanetCsvFile(const std::string& fileName);
  bool ReadSkyMapFile(const std::string& fileName);
  // The Minor Planet Center's one-line comet format.
  bool ReadMpcTextFile(const std::string& fileName, bool showMessages);

  bool WriteOkoFile(const std::string& fileName);
  bool WriteSkyMapFile(const std::string& fileName);
  bool WriteOwnCsvFile(const std::string& fileName);
  bool WriteHomePlanetCsvFile(const std::string& fileName);
  bool WriteGuideFile(const std::string& fileName);
  bool WriteTextListing(const std::string& fileName);

 private:
  void AddRecord(const TCometElements& record) { AppendItem(record.Name, record); }
  // The name, encoding and equinox of `format`'s row, for its writer.
  static TListFormat SavedAs(TElementFormat format);
};

// The comet list's format table, one row per format in reading order
// (catalogues/element_file_formats.h).
std::span<const TElementFileFormat<Kometentabelle>> CometFileFormats();

// The twenty built-in comet lines in the own format (decimal comma).
extern const char* const kBuiltInCometLines[20];

}  // namespace kvx
