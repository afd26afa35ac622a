// Writer of the precomputed position files the theories read instead of
// computing series (their layout and readers: theories/position_files.h).
//
// Records for the days d = 0 .. N, Julian date 2413017 + d (dynamical time),
// every number a six-byte real, no header:
//   "pos.vsp"    168 bytes: d, then X, Y, Z (AU) of Mercury, Venus, the Earth
//                (the slot the tool calls "Sun"), Mars, Jupiter, Saturn,
//                Uranus, Neptune, Pluto; heliocentric rectangular, mean
//                ecliptic and equinox of J2000: each position of date
//                (VSOP87 C wrappers, full series, FK5-corrected; Pluto from
//                its table-driven series turned to the ecliptic of date) is
//                multiplied by the ecliptic precession matrix from the date to
//                J2000.
//   "<body>.vsc"  42 bytes: d, X, Y, Z (AU), VX, VY, VZ (AU per day), not
//                precessed: for "sun" .. "nep" the VSOP87 C wrapper's six
//                outputs (ecliptic of date; "sun" is the Earth's heliocentric
//                vector), for "plu" the table-driven series (equator and
//                equinox of J2000), as the planet routines expect them.
//
// The file goes to the data folder through a temporary file beside it that
// replaces the old file only when the run ends (also after a stop, as long as
// at least one record was written). A failed write leaves the old file and no
// temporary file.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/safe_file_write.h"

namespace kvx {

enum class TPositionDatabaseKind : std::uint8_t {
  Body,         // one ".vsc" file
  Integration,  // "pos.vsp", the database of the numerical integration
};

// N of the tool's three periods from 1.1.1900: until 1.1.2100, until
// 1.1.2200, and the short test period (about 1910).
inline constexpr std::array<int, 3> kPositionDatabaseDays = {75056, 111581, 5656};
// The body texts of the tool; the index is the body slot of
// kPositionFileNames (theories/theory_state.h).
inline constexpr std::array<const char*, 9> kPositionDatabaseBodies = {"sun", "mer", "ven", "mar", "jup",
                                                                       "sat", "ura", "nep", "plu"};
inline constexpr int kPositionDatabasePlutoSlot = 8;
// The tool reports every 32 days.
inline constexpr int kPositionDatabaseReportEvery = 32;

// What the writer tells its caller.
struct TPositionDatabaseProgress {
  // Before the record of every day d divisible by 32, with its Julian date;
  // false stops the run (that record is not written).
  std::function<bool(double jd)> Day;
  // Just before the finished file replaces the old one, and right after (also
  // when the replacing failed): the main window closes and reopens its
  // position files there.
  std::function<void()> BeforeReplace;
  std::function<void()> AfterReplace;
};

enum class TPositionDatabaseOutcome : std::uint8_t {
  Done,
  Stopped,      // the records written before the stop are the file
  NoLibrary,    // the VSOP87 C library is needed and absent: nothing written
  WriteFailed,  // nothing replaced; Error says why
};

struct TPositionDatabaseResult {
  TPositionDatabaseOutcome Outcome = TPositionDatabaseOutcome::WriteFailed;
  long Records = 0;   // records in the new file
  std::string File;   // the target, folder included
  TWriteError Error;  // why it was not written
};

// File name of a database: "pos.vsp", or the body text + ".vsc".
std::string PositionDatabaseFileName(TPositionDatabaseKind kind, int body);

// Writes the file for days 0 .. days into `folder`.
//   body     0..8 (kPositionDatabaseBodies), used for kind Body only;
//   vsop87c  whether the VSOP87 C library is present: without it only
//            Pluto's ".vsc" file can be built (outcome NoLibrary otherwise).
// A stop before the first record keeps the old file (outcome Stopped, 0
// records).
TPositionDatabaseResult WritePositionDatabase(TPositionDatabaseKind kind, int body, int days, const std::string& folder,
                                              const TPositionDatabaseProgress& progress, bool vsop87c);

// One record of day `day` (0-based from JD 2413017) into `record`:
// 168 bytes for "pos.vsp", 42 bytes for the body file of `body`.
void IntegrationDatabaseRecord(long day, std::uint8_t* record);
void BodyDatabaseRecord(int body, long day, std::uint8_t* record);

}  // namespace kvx
