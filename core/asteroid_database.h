// The asteroid database: one binary ".eel" file per asteroid with its
// osculating elements at a regular series of epochs, built from a
// semicolon-separated text and read to take the element set nearest to a
// date.
//
// File layout (little-endian, written and read field by field):
//   header, 56 bytes: first epoch (double, JD), last epoch (double, JD),
//   step (int32, days), equinox (int32, year), H x 100 (int32), G x 100
//   (int32), name (length byte + 20 bytes, Windows-1252), 3 reserved bytes;
//   then one 32-byte record per epoch, ascending, `step` days apart:
//   a (float, AU), e, i (degrees), n (degrees/day), node, perihelion, M
//   (float, degrees), epoch (int32, JD x 10).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/asteroid_elements.h"

namespace kvx {

inline constexpr int kEelHeaderSize = 56;
inline constexpr int kEelRecordSize = 32;
inline constexpr int kEelNameLength = 20;

struct TEelHeader {
  double First = 0;          // first epoch covered, Julian day
  double Last = 0;           // last epoch covered, Julian day
  std::int32_t Step = 0;     // days between two records
  std::int32_t Equinox = 0;  // equinox of the elements, year
  std::int32_t H100 = 0;     // absolute magnitude x 100, truncated
  std::int32_t G100 = 0;     // slope parameter x 100, truncated
  std::string Name;          // UTF-8, at most 20 characters
};

struct TEelRecord {
  float SemiMajorAxis = 0;  // AU
  float Eccentricity = 0;
  float Inclination = 0;     // degrees
  float MeanMotion = 0;      // degrees per day
  float Node = 0;            // degrees
  float Perihelion = 0;      // degrees
  float MeanAnomaly = 0;     // degrees
  std::int32_t Epoch10 = 0;  // Julian day x 10, truncated
};

// Byte images of the header and of one record.
std::array<std::uint8_t, kEelHeaderSize> EncodeEelHeader(const TEelHeader& header);
TEelHeader DecodeEelHeader(const std::array<std::uint8_t, kEelHeaderSize>& bytes);
std::array<std::uint8_t, kEelRecordSize> EncodeEelRecord(const TEelRecord& record);
TEelRecord DecodeEelRecord(const std::array<std::uint8_t, kEelRecordSize>& bytes);

// The element set of a record: a .. n from the floats, equinox, H and G
// (x 0.01) and the name from the header, epoch = record value x 0.1.
TAsteroidElements EelElements(const TEelHeader& header, const TEelRecord& record);

// Index of the record whose epoch is nearest to `jd` (Julian day), clamped to
// the first and last record of a file of `fileSize` bytes; `step` and `first`
// from the header. -1 when the file holds no record or the step is below one
// day.
std::int32_t EelRecordIndex(std::int32_t fileSize, double jd, double step, double first);

// Writes a database file (through a temporary file that then replaces the
// target). False, with a message, when it cannot be written or there are no
// records.
bool WriteEelFile(const std::string& path, const TEelHeader& header, const std::vector<TEelRecord>& records);
// Reads a whole database file. False, with a message, when the file cannot
// be read, is shorter than its header or holds no record; a trailing partial
// record is ignored.
bool ReadEelFile(const std::string& path, TEelHeader& header, std::vector<TEelRecord>& records);
// Reads the header and the one record nearest to `jd` and returns its
// element set. False, with a message, as ReadEelFile.
bool ReadEelElementsNearest(const std::string& path, double jd, TAsteroidElements& elements);

// --- Text source of a database file ---------------------------------------
// Fields of a data line: name; a; e; i; node; perihelion; M; n; equinox;
// epoch JD; H[; G]. Every number may be written with "," or "."; a missing
// G is 0.15.

// Parses one data line into the header fields it carries (name, equinox, H,
// G) and a record. False for an empty line or one starting with ":" (not
// data), and for a line with fewer than eleven fields or a field that is not
// a number (then `error`, when given, says which).
bool ParseAsteroidDbLine(const std::string& line, TEelRecord& record, TEelHeader& header, std::string* error = nullptr);

// Fills the header from the source lines (line 0 is the source's own header
// line and is skipped; so are lines that are not data): equinox, H, G and
// name and the first epoch from the first data line, the step from the
// second, the last epoch from the last. When `wholeFile` is 0 the requested
// period [jd1, jd2] (Julian days) is moved onto the file's grid and into the
// header, never shrinking below the request. False, with a message, when the
// source has fewer than two data lines, a bad one among those three, or a
// step below one day.
bool ReadAsteroidDbHeader(std::uint8_t wholeFile, const std::vector<std::string>& lines, TEelHeader& header,
                          double& jd1, double& jd2);

// Clears `files`, fills it with every "*.eel" file of the folder and its
// subfolders (sorted), then calls `enableControls` with true when any was
// found, else false.
void FindElementListFiles(std::vector<std::string>& files, const std::string& folder,
                          const std::function<void(bool)>& enableControls);

}  // namespace kvx
