// The observation files: observation lines in the published 80-column
// optical format after an "Observations:" line, the program's own text
// format (first line "varbo observations"), the binary ".OBS" file of
// 156-byte records, and HTML pages, prepared in memory.
//
// Times UT; RA and Dec referred to the equinox of the observations, which
// the files carry as a year (stored in torbdet as Julian centuries from
// J2000). Observer places: longitude east (degrees), rho cos phi' and
// rho sin phi' (Earth radii).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orbitdet/observations.h"
#include "platform/file_dialog.h"
#include "platform/workbook/workbook.h"

namespace kvx {

// Markup removal: tags may span lines; a line that had markup and became
// empty is dropped, a line empty before is kept; a "<" without a later ">"
// cuts the text there. Line ends become "\n".
std::string RemoveMarkup(std::string_view text);
// "&amp;", "&lt;", "&gt;" and "&nbsp;" decoded.
std::string DecodeMarkupEntities(std::string_view text);
// Line ends normalised, markup removed, entities decoded.
std::string PrepareMarkupText(std::string_view text);

// What one observation line is.
enum class TMpcLineKind : std::uint8_t {
  Observation,  // read into `obs`
  Skip,         // a second line or a radar line: the block goes on
  Spacecraft,   // a spacecraft or roving observer line: skipped and counted
  ZeroDate,     // year or month 0: skipped
  Unusable,     // a field that is no number or out of range: skipped, counted and named
  EndOfBlock,   // empty
};
// Reads one line of the 80-column optical format (short lines padded).
// Designation 1-12, note 15, date 16-32, RA 33-44, Dec 45-56, magnitude
// 66-70 (blank: 0), code 78-80. Fills the calendar fields, RA, Dec,
// magnitude, code and designation of `obs` (no JD, no station). For an
// Unusable line `field` (when given) names the field: "year", "month",
// "day", "RA", "Dec" or "mag".
TMpcLineKind ParseMpcObservationLine(std::string_view line, tobservation& obs, const char** field = nullptr);

// The counts of a read, for its notices.
struct TObservationReadReport {
  int Skipped = 0;             // lines or records skipped as unreadable
  int FirstSkipped = 0;        // 1-based line or record number
  std::string FirstField;      // the field to blame in it (empty: none)
  int Spacecraft = 0;          // spacecraft and roving observers skipped
  bool StationNotice = false;  // no usable stations.txt
};

// Observation lines after the "Observations:" line, up to the first empty
// line; lines that do not read are skipped and counted. False when there
// is no marker. Unknown stations are kept as geocentric; with the station warning
// on the user is asked whether to warn again. The warning is on again at the
// end. The set's equinoxes become J2000.
bool ParseObservationLines(torbdet& od, const std::vector<std::string>& lines, TObservationList& out,
                           TObservationReadReport& report);

// The own text format. False (with a message) when the equinox lines are not
// years in 1000..3000. A line that does not read is skipped and counted,
// with the field to blame: "year", "month", "day", "UT", "RA", "Dec",
// "mag", "longitude", "latitude" (a line of fewer than ten numbers: the
// first missing one).
bool ReadOwnTextObservations(const std::vector<std::string>& lines, TObservationList& out, double& equinoxObs,
                             double& equinoxElements, TObservationReadReport& report);
// The own text format's lines ("varbo observations", the two equinox years,
// one line per observation).
std::string WriteOwnTextObservations(const TObservationList& list, double equinoxObsYear, double equinoxElementsYear);
// One observation line of the own format: signs on the first non-zero
// field, values rounded before they are split; the seconds of RA with three
// decimals, those of Dec with two, either with up to six when the value
// holds more.
std::string OwnTextObservationLine(const tobservation& obs);

// One 156-byte record of the binary file; no header, records one after
// the other, little-endian:
//   offset  size  field
//        0     4  reserved, 0
//        4     8  equinox of the observations, year (IEEE double)
//       12     8  equinox of the orbital elements, year
//       20     8  UT hours of the day
//       28     8  RA, packed hh.mmss with the seconds' fraction
//       36     8  Dec, packed dd.mmss, signed
//       44     8  observer's longitude, degrees east
//       52     8  rho cos phi'
//       60     8  rho sin phi'
//       68     8  magnitude
//       76     4  year (int32); 80 month; 84 day; 88 station code
//       92    64  unused, 0
inline constexpr std::size_t kObservationRecordSize = 156;
struct TObservationRecord {
  double EquinoxObservations = 2000;  // years
  double EquinoxElements = 2000;
  double Hours = 0;      // UT
  double RaPacked = 0;   // hh.mmss with fraction
  double DecPacked = 0;  // dd.mmss, signed
  double Longitude = 0;  // degrees east
  double RhoCos = 0;
  double RhoSin = 0;
  double Magnitude = 0;
  std::int32_t Year = 0, Month = 0, Day = 0, StationCode = 0;
};
void EncodeObservationRecord(const TObservationRecord& record, std::uint8_t* out);
TObservationRecord DecodeObservationRecord(const std::uint8_t* in);
// A whole ".OBS" file. False (nothing read) when the size is not a multiple
// of 156 or an equinox is outside 1000..3000; bad records are skipped and
// counted; the all-zero date is skipped.
bool ReadObservationRecords(std::string_view bytes, TObservationList& out, double& equinoxObs, double& equinoxElements,
                            TObservationReadReport& report);
std::string WriteObservationRecords(const TObservationList& list, double equinoxObsYear, double equinoxElementsYear);

// Whether a field set lies in range: month 1-12, day valid, hours 0..24,
// |Dec| <= 90, |longitude| <= 360, |latitude| <= 90, magnitude -5..35 or 0.
bool ObservationInRange(const tobservation& obs);
// The first field out of that range ("year", "month", "UT", "day", "RA",
// "Dec", "longitude", "latitude", "mag"); nullptr when all lie in it.
const char* ObservationFieldOutOfRange(const tobservation& obs);

// Opens an observation file chosen through the file-dialog seam (the
// request's start is set to fileName when empty) into the set of `od`.
// The set is replaced only when the file gives at least 3 observations.
bool OpenObservationFile(torbdet& od, FileDialogRequest request, std::string& fileName);
// Opens a named file without asking (the part after the dialog).
bool OpenObservationFileNamed(torbdet& od, const std::string& fileName);

// The title of the observation table, cell A1.
inline constexpr const char* kObservationTitleGerman = "Beobachtungen";
inline constexpr const char* kObservationTitleEnglish = "Observations";

// Saves the observation table of the sheet (data from row 3) as ".obs" or
// ".txt", chosen through the save seam. The loaded set is replaced only
// after a successful write.
bool SaveObservationFile(torbdet& od, FileDialogRequest request, std::string& fileName,
                         const workbook::TWorkbook& sheet);

}  // namespace kvx
