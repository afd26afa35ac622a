// The files behind the choice of asteroids from the binary asteroid
// database: the two selection lists kept in the data folder between runs
// ("astsrc.txt", the database files not chosen, and "astdst.txt", those
// chosen; one full path per line) and the covered-period text of a ".eel"
// file shown beside the lists.
#pragma once

#include <string>
#include <vector>

#include "core/asteroid_database.h"
#include "core/observer_record.h"

namespace kvx {

inline constexpr const char* kAsteroidSourceListFile = "astsrc.txt";
inline constexpr const char* kAsteroidChosenListFile = "astdst.txt";

// Reads a selection list: lines with any line ends (CR LF, LF, CR), empty
// lines dropped. False, with `paths` emptied, when the file does not exist
// or cannot be read.
bool ReadSelectionList(const std::string& path, std::vector<std::string>& paths);

// Writes a selection list (CR LF after each path) through a temporary file
// and a rename; on failure the old file stays and `error` says why.
bool WriteSelectionList(const std::string& path, const std::vector<std::string>& paths, std::string& error);

// The 56-byte header of a ".eel" file alone. False when the file is missing
// or shorter than its header.
bool ReadEelHeaderOnly(const std::string& path, TEelHeader& header);

// How the covered period writes its dates: the short date of the list
// dialog (day, month, year with the locale's date separator) or the
// observer date text of the single-file choice.
enum class TPeriodDateStyle { ShortDate, ObserverDate };

// "start - end, Diff.: step" of a database file, the dates of its first and
// last epoch in the local time of `observer` (a copy gets each epoch's MJD
// and is converted from UT to local time). Empty when the file is missing
// or shorter than its header.
std::string EelCoveredPeriodText(const std::string& path, const TObserverRecord& observer, TPeriodDateStyle style);

// Moves the items whose flag is set from `from` to the end of `to`, the
// last first, so that they arrive in reverse order. Returns the number
// moved; `selected` has one flag per item of `from`.
int MoveSelectedPaths(std::vector<std::string>& from, const std::vector<bool>& selected, std::vector<std::string>& to);

}  // namespace kvx
