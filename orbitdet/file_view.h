// The file browser's viewer lines: a data file of the program shown as
// plain text. The loader is chosen by the first four characters of the
// upper-cased extension:
//   ".OPL" / ".OKO"  asteroid (132-byte) / comet (124-byte) element records:
//                    the name, then the fields in record order ("%.10g"),
//                    two blanks between; a trailing partial record is
//                    ignored; a field that is not finite shows "?";
//   ".OBS"           the binary observation records, one line each;
//   ".HTM"           text with the markup removed (lines emptied by it
//                    vanish, lines empty before stay);
//   other            text (Windows-1252 or UTF-8, any line ends, NUL shown
//                    as a middle dot); a text whose first line is
//                    "varbo observations" is read as observations.
// An observation line: date dd.mm.yyyy, UT hh:mm:ss.s, RA hh mm ss.ss,
// Dec +dd mm ss.s, magnitude, longitude (degrees east), rho cos phi',
// rho sin phi' (Earth radii), station code; two blanks between.
// At most 32,000 lines; a longer line is cut at 10,000 characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "orbitdet/observations.h"

namespace kvx {

inline constexpr std::size_t kFileViewMaxLines = 32000;
inline constexpr std::size_t kFileViewMaxLineLength = 10000;
// Bytes read of a text file at most; more counts as too large.
inline constexpr std::size_t kFileViewMaxTextBytes = 32u << 20;

struct TFileView {
  bool Ok = false;                 // false: ErrorGerman / ErrorEnglish say why
  std::vector<std::string> Lines;  // UTF-8
  bool TooLarge = false;           // cut at the line or byte limit
  std::string ErrorGerman, ErrorEnglish;
};

// Loads `path` (a regular file only) as the viewer shows it.
TFileView LoadFileView(const std::string& path);

// The loaders on bytes already read.
std::vector<std::string> ElementRecordLines(std::string_view bytes, bool comets, bool& tooLarge);
std::vector<std::string> TextViewLines(std::string_view bytes, bool markup, bool& tooLarge);
std::string ObservationViewLine(const tobservation& obs);

// The information box of a cut view: "Es wurden nur die ersten 32000
// Datensätze eingelesen!" titled "Datei zu groß!" (English alike).
void ShowFileViewTooLarge();

}  // namespace kvx
