// The comet element list: the comet twin of the asteroid list, with the
// comet formats and the built-in list of twenty comets.
//
// Formats and their ElementFileKind (reported by Neuedateiladen; which
// extension goes to which reader and writer is the comet table of
// catalogues/element_file_formats.h):
//   0 own ".csv" (or ".txt" that the MPC reader does not take)
//                  name;q;e;i;node;per;equinox;T;H;G;epoch, first line
//                  ":name;q;e;i;node;per; equinox;tm of per.(jd);epoche (jd);h;g"
//                  or ":BAHNELEMENTE KOMETEN VAMUR EXT..."
//   1 ".oko"       124-byte records (core/element_records.h)
//   2 HomePlanet   ".csv" with the first line "Name,Perihelion time,..."
//   3 Guide        ".dat": a count line, then fixed lines
//   4 SkyMap       ".sky", ".cat"
//   5 MPC text     ".txt", the Minor Planet Center's one-line comet format
// Units: q AU; angles degrees of the equinox; T and epoch Julian days.
// Comet names are used as they stand (no designation padding).
#pragma once

#include <string>

#include "catalogues/element_list.h"
#include "core/comet_elements.h"

namespace kvx {

class Kometentabelle : public TElementList<TCometElements> {
 public:
  explicit Kometentabelle(int itemLimit = kElementItemLimit) : TElementList(itemLimit) {}

  // As Planetoidentabelle::Neuedateiladen, by the comet table.
  bool Neuedateiladen(std::uint8_t& kind, const std::string& fileName, bool showMessages, int index);

  int ReadOwnCsvFile(const std::string& fileName);  // 0 not read, 1 read, 2 not an own first line
  bool ReadGuideFile(const std::string& fileName, bool showMessages);
  bool ReadOkoFile(const std::string& fileName);
  void LoadBuiltInList();
  bool ReadHomePlanetCsvFile(const std::string& fileName);
  bool ReadSkyMapFile(const std::string& fileName);
  bool ReadMpcTextFile(const std::string& fileName, bool showMessages);

  bool WriteOkoFile(const std::string& fileName);
  bool WriteSkyMapFile(const std::string& fileName);
  bool WriteOwnCsvFile(const std::string& fileName);
  bool WriteHomePlanetCsvFile(const std::string& fileName);
  bool WriteGuideFile(const std::string& fileName);
  bool WriteTextListing(const std::string& fileName);

 private:
  void AddRecord(const TCometElements& record) { AppendItem(record.Name, record); }
};

// The twenty built-in comet lines in the own format (decimal comma).
extern const char* const kBuiltInCometLines[20];

}  // namespace kvx
