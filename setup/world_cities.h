// The world city database and its search, without Qt.
//
// Record file "cities.ved": 44-byte records, no header, record n (1-based)
// at byte (n - 1) * 44; count = file size div 44.
//
//   offset  size  field
//   0       4     longitude, IEEE single, decimal degrees, EAST NEGATIVE
//   4       4     latitude, IEEE single, decimal degrees, north positive
//   8       36    name: length byte, up to 35 Windows-1252 characters
//
// Index file "index.ved": 28 lines of one decimal integer each; line g
// (g = 0 .. 26) is the 1-based number of the first record of group g, line
// 27 one past the last record of group 26. Group 0 holds the names that begin
// with a non-letter, groups 1-26 those beginning with a .. z after case
// folding; a folded first byte beyond "z" (accented letters) counts as 26.
//
// Zone file "cities.zones" (optional): one IANA zone name per line, in record
// order; an empty line for a record without a zone.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kvx {

inline constexpr std::size_t kCityRecordSize = 44;
inline constexpr std::size_t kCityNameLength = 35;
inline constexpr int kCityGroupCount = 27;
inline constexpr const char* kCitiesFileName = "cities.ved";
inline constexpr const char* kCityIndexFileName = "index.ved";
inline constexpr const char* kCityZonesFileName = "cities.zones";

// One record as read (`tcitieobj` of the result list holds one).
struct tcitieobj {
  float Longitude = 0;  // degrees, east negative
  float Latitude = 0;   // degrees, north positive
  std::string Name;     // Windows-1252, at most 35 bytes (a longer length byte is clamped)
  // Finite coordinates with |longitude| <= 180 and |latitude| <= 90: only
  // such a record can be taken over as a place.
  bool Usable() const;
};

// Lower case of a Windows-1252 byte: A-Z and the accented capitals (and
// Š, Œ, Ž, Ÿ); any other byte unchanged.
std::uint8_t FoldCase1252(std::uint8_t c);
std::string FoldCase1252(std::string_view text);
// The group of a name's first folded byte: byte - 'a' + 1 clamped to 0 .. 26.
int CityGroup(std::uint8_t foldedFirstByte);

// Whole-text match of `text` against `pattern`: "*" any run (also empty), "?"
// one character, "[set]" one listed character or range "a-z", "[^set]" one
// character outside the set; a "[" at the end of the pattern or followed by
// "[" or "]" matches nothing. Byte-wise; the caller folds case.
bool MatchesWildcard(std::string_view text, std::string_view pattern);

// The 28 group starts of "index.ved". Parsed from the file's text; valid when
// there are at least 28 integers, non-decreasing, the first 1 and the last
// count + 1.
using TCityIndex = std::array<std::int32_t, kCityGroupCount + 1>;
bool ParseCityIndex(const std::string& text, std::int64_t recordCount, TCityIndex& index);

// The record file held in memory.
class TCityFile {
 public:
  // Reads the whole file; false when it cannot be read.
  bool Open(const std::string& path);
  void Assign(std::string bytes) { bytes_ = std::move(bytes); }
  std::int64_t Count() const { return static_cast<std::int64_t>(bytes_.size() / kCityRecordSize); }
  // Record n, 1 <= n <= Count().
  tcitieobj Record(std::int64_t n) const;
  // The name bytes of record n without copying (clamped to 35).
  std::string_view Name(std::int64_t n) const;

 private:
  std::string bytes_;
};

// Time zone from the longitude (degrees, east negative), whole hours east
// positive: -sign(lon) * trunc((|lon| + 7.5) / 15).
int EstimatedZone(double longitude);

// Result of a name search.
struct TCitySearchResult {
  bool Full = false;                  // the text was at least the full-search length
  std::int64_t JumpTo = 0;            // not full: the first match (0: none)
  std::vector<std::int64_t> Matches;  // full: every match, record numbers
  bool Stopped = false;               // the stop flag ended the scan
};

// Searches the group of the typed text's first character (`typed` UTF-8,
// folded to Windows-1252 lower case). A text with "*" or "?" is a pattern,
// else a match is a name beginning with the text. Every 1024 records
// `pump` runs (it may process window events) and `stop` is read; a set
// stop ends the scan and is cleared.
TCitySearchResult SearchCities(const TCityFile& file, const TCityIndex& index, const std::string& typed,
                               int fullSearchLength, const std::function<void()>& pump, std::atomic<bool>* stop);

// The eight lines of the search help and its caption.
std::string CitySearchHelpText(bool english);

}  // namespace kvx
