// The user catalogue: a text file of fixed objects (stars, nebulae) the
// user keeps, one object per line after the first.
//
//   line 1   ":VARBO USER" (anything else is not a catalogue)
//   line n   name;RA;Dec;pmRA;pmDec;equinox;magnitude[;anything]
//            RA packed hours H.MMSS, Dec packed degrees D.MMSS (sign in
//            front), pmRA seconds of time per year, pmDec seconds of arc per
//            year, equinox a year (2000), magnitude. "," or "." as decimal
//            mark (the first "," counts as "."); fields are not trimmed.
//   empty lines and lines beginning with ":" are kept but give no object
//   (the editor switches an entry off with a leading ":"); so are lines
//   with a number field that holds no number, which are counted and named.
//
// Files are read as UTF-8 or Windows-1252 with any line ends and written as
// UTF-8 with CR LF through a temporary file and a rename.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records.h"
#include "platform/messages.h"
#include "platform/safe_file_write.h"

namespace kvx {

inline constexpr const char* kUserCatalogueFirstLine = ":VARBO USER";

// Splits one catalogue line into its name (cut to 255 characters) and six
// numbers. False for an empty line, a ":" line, and a line with a number
// field that holds no number (a word or a lone decimal mark; a blank or
// missing RA, Dec or equinox; a number beyond the range of a 4-byte float):
// `field` (when given) then names the first such field, "RA", "Dec",
// "pmRA", "pmDec", "equinox" or "magnitude" (nullptr for the empty and ":"
// lines).
bool ParseUserCatalogueLine(std::string_view line, std::string& name, std::array<float, 6>& values,
                            const char** field = nullptr);

// Called every 200 lines while objects are built: (line index, line count).
using TUserCatalogueProgress = std::function<void(int position, int count)>;

// Empties `objects` and builds one object per entry of lines 2 on. Returns
// the number of objects; the entries that give none for a field are
// counted in `skipped` (when given).
int BuildUserObjects(const std::vector<std::string>& lines, tuserlist& objects,
                     const TUserCatalogueProgress& progress = {}, TSkippedLines* skipped = nullptr);

enum class TUserCatalogueStatus {
  Loaded,     // at least one object
  NoObjects,  // a catalogue without any entry that gives an object
  NotFound,   // the file does not exist or cannot be read
  Foreign     // the first line is not ":VARBO USER"
};

// Reads a catalogue. Loaded and NoObjects replace `lines` and `objects`
// (and count the entries that give no object for a field in `skipped`);
// NotFound and Foreign leave them as they were.
TUserCatalogueStatus ReadUserCatalogue(const std::string& fileName, std::vector<std::string>& lines, tuserlist& objects,
                                       const TUserCatalogueProgress& progress = {}, TSkippedLines* skipped = nullptr);

// The message for NotFound and Foreign (empty for the other two).
std::string UserCatalogueMessage(TUserCatalogueStatus status, const std::string& fileName, bool english);

// Writes the lines (CR LF after each) through the safe write, every name
// of a hard-linked file seeing them. Refuses (TWriteFailure::Refused, the
// reason in the interface language) lines whose first line is not
// ":VARBO USER"; on failure the old file stays and `error` says why.
bool WriteUserCatalogue(const std::string& fileName, const std::vector<std::string>& lines, TWriteError& error);

// The line the editor appends for a new entry.
std::string NewUserCatalogueEntry(bool english);

// Switches entry `index` (0-based line number) off (leading ":") or on
// again. Line 0, the catalogue's own first line, is never switched: false.
bool ToggleUserCatalogueLine(std::string& line, int index);

}  // namespace kvx
