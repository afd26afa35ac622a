// The table configuration file (".etd"): the table configuration record with
// the additional equinox and two output switches, 22,713 bytes, little-endian:
//
//   offset   size    content
//   0        27      magic, ShortString[26]: length byte 24, "bQuillox4.5000ConfigFile",
//                    two spare bytes (written as zero, not compared)
//   27       8       the additional equinox as a year, IEEE double (2000.0 for J2000)
//   35       22,676  TTableConfigRecord (core/table_config.h)
//   22,711   1       apparent-sidereal-time switch (0/1)
//   22,712   1       switch for rise, set and twilight times as Julian dates (0/1)
//
// Whoever applies a loaded equinox turns the year into Julian centuries from
// J2000: T = (year - 2000) / 100.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/table_config.h"

namespace kvx {

inline constexpr std::size_t kTableConfigFileSize = 22713;

struct TTableConfigFile {
  double EquinoxYear = 2000.0;
  TTableConfigRecord Record;
  std::uint8_t ApparentSiderealTime = 0;
  std::uint8_t RiseSetAsJulianDate = 0;
};

// The additional equinox as stored (a year) and as the tables use it (Julian
// centuries from J2000): T = (year - 2000) / 100, year = 2000 + 100 T.
inline double EquinoxYearToCenturies(double year) { return (year - 2000.0) / 100.0; }
inline double EquinoxCenturiesToYear(double centuries) { return 2000.0 + 100.0 * centuries; }

// Accepted range of the additional equinox, years.
inline constexpr double kEarliestEquinoxYear = -4000.0;
inline constexpr double kLatestEquinoxYear = 10000.0;

// The file's bytes.
std::string EncodeTableConfigFile(const TTableConfigFile& file);

enum class TableConfigFileProblem { None, WrongMagic, WrongSize, BadEquinox, BadContent };

// Checks the magic (length byte and the 24 characters), the exact size and
// the equinox, in this order, then the contents (used flag bytes and the two
// switches 0 or 1, title length bytes at most 101), and only then fills
// `file`; otherwise `file` is left as it was.
TableConfigFileProblem DecodeTableConfigFile(std::string_view bytes, TTableConfigFile& file);

// Reads a whole ".etd" file into `file`. On any problem (missing, unreadable,
// wrong magic, wrong size, bad equinox) shows its message through the message
// seam, leaves `file` unchanged and returns false.
bool LoadTableConfigFile(const std::string& path, TTableConfigFile& file);

// Writes the file through a temporary file and a rename, so a failed save
// keeps the old file; a failure is reported through the message seam. A
// column title the file cannot hold (FirstTitleNotHeld) refuses the save
// before anything is written, with a message naming the title; so does an
// equinox the reader would refuse, with the reader's message.
bool SaveTableConfigFile(const std::string& path, const TTableConfigFile& file);

}  // namespace kvx
