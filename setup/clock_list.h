// The world clocks: one observer record per clock, the list the main window
// keeps for its clock bar, and the file "clocks.dat" in the data folder that
// stores the list between runs: the clocks' 736-byte observer record images
// (core/observer_record.h) one after another, no header; a trailing partial
// record is ignored.
#pragma once

#include <string>
#include <vector>

#include "core/observer_record.h"

namespace kvx {

inline constexpr const char* kClocksFileName = "clocks.dat";

// One clock: the place and the date and time fields the clock bar recomputes.
struct tdatumortobjekt {
  explicit tdatumortobjekt(const TObserverRecord& record) : Record(record) {}
  const std::string& Text() const { return Record.PlaceName; }  // the list's item text
  TObserverRecord Record;
};

using TClockList = std::vector<tdatumortobjekt>;

// A clock the list can take: finite numbers, |latitude| <= 90,
// |longitude| <= 180, zone within the zone-name table (-12 .. 12 hours).
bool IsUsableClockRecord(const TObserverRecord& record);

// Empties `clocks` and reads size div 736 records from `path`; records that
// are not usable are skipped. A missing or unreadable file leaves the list
// empty and returns false (no message: a first run has no file).
bool LoadClocksFile(const std::string& path, TClockList& clocks);

// Start-up: the clock list from `path` when that file exists. An empty file
// is an empty list (the user removed every clock). A file shorter than one
// record, or one in which no record is a usable clock, is not a clock file:
// it is refused with a message naming it and the list stays empty. An
// unreadable file leaves the list empty without a message.
void LoadClocksAtStartup(const std::string& path, TClockList& clocks);

// Writes every clock in list order through a temporary file and a rename; a
// failed save keeps the old file and says why through the message seam.
bool SaveClocksFile(const std::string& path, const TClockList& clocks);

}  // namespace kvx
