// Two-line element sets of Earth satellites: the program's one table of up to
// 500 sets with their names, the loader of ".tle" files and the routines that
// test a set and cut numeric fields out of its lines.
//
// A ".tle" file holds one set after the other, each as three lines: a name
// line, element line 1 and element line 2. Columns are counted from 1. Files
// may be Windows-1252 or UTF-8, with CR/LF, LF or CR line ends.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kvx {

inline constexpr int kSatelliteSlots = 500;
inline constexpr std::size_t kTleLineLength = 69;        // characters kept of an element line
inline constexpr std::size_t kSatelliteNameLength = 50;  // characters kept of a name line

// One element set as text: element lines 1 and 2, at most 69 characters each.
struct TTleEntry {
  std::string line1;
  std::string line2;
};

// The satellite table, slots 1 to 500 (index 0 is never used). Slots 1 to n
// hold the n sets of the last load; slots above n are empty.
extern std::array<TTleEntry, kSatelliteSlots + 1> SatelliteTable;

// The name of each set (UTF-8, at most 50 characters), parallel to SatelliteTable.
extern std::array<std::string, kSatelliteSlots + 1> SatelliteNames;

// Slot (1-based) of the satellite that the single-satellite table and the
// visibility search use.
extern std::int32_t CurrentSatelliteNumber;

// Loads the sets of a ".tle" file into SatelliteTable and SatelliteNames from
// slot 1 on and returns how many valid sets were stored (0 to 500).
//   fileName   path of the file
//   showErrors when set, a file without any valid set and a file that cannot
//              be opened or read are reported through ShowMessage
// Invalid sets are skipped silently; the next valid set takes their slot.
// Slots above the returned count are cleared, and CurrentSatelliteNumber is
// clamped to the new count (to 1 when the count is 0). A read failure ends
// the load and keeps the sets read before it.
std::uint16_t LoadTleFile(const std::string& fileName, bool showErrors);

// One numeric field of an element line: `width` characters from column
// `firstColumn` (1-based; fewer when the line is shorter), blanks read as "0".
// An integer field is a signed decimal integer; a real field a decimal number
// with "." as decimal point and an optional exponent (empty reads 0). A field
// that does not convert gives 0.
std::int32_t TleFieldInteger(const std::string& line, std::int32_t firstColumn, std::int32_t width);
double TleFieldReal(const std::string& line, std::int32_t firstColumn, std::int32_t width);

// The number fields of the element lines besides the epoch (which has a
// test of its own, TleEpochValid), in line and column order.
enum class TTleNumberField : std::uint8_t {
  MeanMotionRate,        // line 1, columns 34-43: first derivative of the mean motion / 2, rev/day^2
  MeanMotionSecondRate,  // line 1, columns 45-52: second derivative / 6, rev/day^3, written as B* is
  Bstar,                 // line 1, columns 54-61: drag term, per earth radius
  Inclination,           // line 2, columns 9-16, degrees
  Node,                  // line 2, columns 18-25: right ascension of the ascending node, degrees
  Eccentricity,          // line 2, columns 27-33
  ArgumentOfPerigee,     // line 2, columns 35-42, degrees
  MeanAnomaly,           // line 2, columns 44-51, degrees
  MeanMotion,            // line 2, columns 53-63, revolutions per day
};
inline constexpr int kTleNumberFieldCount = 9;

// The value of a number field of a set as the program takes it: read with
// TleFieldReal; the eccentricity's seven digits times 1e-7; B* and the
// second derivative a mantissa of five digits times 1e-5 and the power of
// ten of the two columns after it (TleFieldInteger).
double TleNumberValue(const TTleEntry& entry, TTleNumberField field);

// The name of a number field in messages (German, or English when
// `english` is set).
const char* TleNumberFieldName(TTleNumberField field, bool english);

// The first number field of a set whose value (TleNumberValue) is not a
// finite number: a field such as "nan(1)" or "inf", or a mantissa whose
// power of ten overflows. None when every field is finite.
std::optional<TTleNumberField> TleNonFiniteField(const TTleEntry& entry);

// Turns every blank of the text into the digit "0".
void BlanksToZeros(std::string& text);

// Checksum of an element line: the digits of columns 1 to 68 added up, each
// "-" counting 1 and every other character 0; the line passes when the sum
// modulo 10 equals the digit in column 69. Shorter lines fail.
bool TleLineChecksumOk(const std::string& line);

// Tests the epoch field of element line 1 (columns 19-32): a plain number
// YYDDD.DDDDDDDD, digits (a blank reads as "0") with "." in column 24 and
// nothing else, whose day of the year DDD.DDDDDDDD lies from 1 to below 367.
bool TleEpochValid(const std::string& line1);

// Tests a set: both checksums; line 1 begins with "1" and line 2 with "2";
// equal catalogue numbers in columns 3-7; "." in columns 24 and 35 and " 0 "
// in columns 62-64 of line 1; "." in columns 12, 21, 38, 47 and 55 of line 2;
// a valid epoch (TleEpochValid); every number field finite
// (TleNonFiniteField).
bool TleEntryValid(const TTleEntry& entry);

// The satellite file the main window keeps: its name and how many sets the
// table holds.
struct TSatelliteFileState {
  std::string fileName;
  std::int32_t count = 0;
};

// The element set the program falls back on when no file gives one.
TTleEntry BuiltInMirEntry();

// Loads the satellite file at start-up (startUp set) or when a configuration
// file is applied (startUp clear): the file name becomes dataFolder +
// "/Satelite.tle"; at start-up CurrentSatelliteNumber becomes 1; the file is
// loaded with messages off and the count kept. When no set was loaded the
// count becomes 1, slot 1 gets the built-in set named "Mir" and the file name
// becomes dataFolder + "/*.tle".
void LoadSatelliteFileAtStartup(TSatelliteFileState& state, const std::string& dataFolder, bool startUp);

}  // namespace kvx
