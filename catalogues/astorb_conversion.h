// The ASTORB and MPCORB conversion tool's plain work: a whole catalogue
// turned into an element file beside it, one record at a time.
//
// Outputs (CR LF line ends, written through a temporary file that replaces
// the target only at the end, also after a stop; UTF-8, the HomePlanet file
// Windows-1252, where a name without that form skips its record):
//   ASTORB  kind 0 plain CSV    "asteroid.csv"  no first line
//   ASTORB  kind 1 own format   "asteroid.csv"  kOwnAsteroidFirstLine
//   ASTORB  kind 2 HomePlanet   "astrnew.csv"   kHomePlanetFirstLine
//   MPCORBcr                    "MPCORBcr.CSV"  kOwnAsteroidFirstLine
//   MPCORB                      "MPCORB.CSV"    kOwnAsteroidFirstLine
//
// ASTORB records are 266 columns. Both layouts the list reader knows are
// served (number field 1-5 or 1-6; every later column one to the right in
// the newer one); the layout is taken from the first record whose epoch
// reads. Columns below are those of the older layout.
//   plain CSV: 33 slices joined by ";" (",": international), each text as it
//     stands; the first (number) through NormalizeDesignation; without the
//     international flag every slice from the fourth on has its first "."
//     as ",". Slices: 1-5 7-25 26-40 41-47 48-52 53-57 58-64 65-71 71-73
//     74-77 78-81 82-85 86-89 90-93 94-99 100-104 105-113 114-124 125-135
//     136-146 147-156 157-167 168-180 182-189 190-197 198-206 208-215
//     216-223 225-232 233-240 241-249 251-257 259-266.
//   own: name;a;e;i;node;per;M;n;equinox;epoch;H;G, the columns' texts as
//     they stand (a 170-180, e 158-167, i 147-156, node 137-146, per
//     126-135, M 115-124) with their first "." as ",", H (38-47) and G
//     (48-52) without blanks, n "0", the equinox "2000", the epoch's Julian
//     day as its shortest text with "," ("2460000,5").
//   HomePlanet: name,H,G,M,per,node,i,e,a,MJD, the same columns unchanged,
//     H from 42-46, the epoch's MJD as its shortest text ("60000").
//   A numbered name "    1 Ceres" becomes "00001 Ceres" in both (a
//   provisional designation is not padded).
// Every value written reads back as the ASTORB reader of the element list
// reads it (kAstorbFields: a blank H or G is 0): where a column's text
// would read otherwise in the target format (a blank G, which the own
// format takes as 0.15; a digit in a column that reader does not read; a
// "," in a HomePlanet field), the field holds the value's shortest text
// instead ("0").
// A record that reader refuses (a field that is no number, "0 12"
// included, a blank epoch, elements that cannot be computed with) is left
// out of the own and HomePlanet files and copied into the plain CSV as any
// other (unless it holds control characters); it is counted and named as that reader names it (its record, the
// field). A line shorter than a record is skipped and counted.
//
// MPCORB lines are read as the element list reads the catalogue
// (kMpcorbRecordFields: a line without H is no record and passed over, one
// the reader refuses is counted and named) and written as the own line
// name;a;e;i;node;per;M;n;equinox;epoch;H;G: a to n right-aligned in 11
// characters with 6 decimals, H and G with 2 and no blanks, each with as
// many more decimals as its value needs to read back as itself, the
// equinox and the epoch as their shortest texts, "," as the decimal mark;
// a numbered name's number padded ("(1) Ceres" -> "(00001) Ceres"), a
// provisional designation as written ("2007 NA").
// The MPCORB file starts at the record of minor planet 1 (within the first
// 5001 bytes, else after the "-----" rule, else at the first record), the
// cr variant after the rule line; a record repeating the name before it is
// dropped (MPCORB). Lines that are no record are skipped and counted.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "catalogues/element_lines.h"
#include "catalogues/text_line_reader.h"
#include "core/asteroid_elements.h"
#include "platform/messages.h"
#include "platform/safe_file_write.h"

namespace kvx {

inline constexpr const char* kOwnAsteroidFirstLine = ":BAHNELEMENTE PLANETOIDEN VAMUR!**Bahnelemente fuer Planetoiden";
inline constexpr const char* kHomePlanetFirstLine =
    "Name,Magnitude H,Magnitude G,Mean anomaly,Arg. perihelion,Long. node,Inclination,Eccentricity,Semimajor "
    "axis,Epoch (MJD)";

enum class TCatalogueKind : std::uint8_t { Astorb, Mpcorb, MpcorbCr };

// By the upper-cased name without its folder: "MPCORBCR", then "MPCORB",
// else ASTORB.
TCatalogueKind CatalogueKindOfFile(const std::string& fileName);
// The output beside `input` for the kind and (ASTORB) output format.
std::string ConversionOutputFile(const std::string& input, TCatalogueKind kind, int format);

// ASTORB layout of a record: 1 (number in 1-6), 0 (in 1-5), or -1 when the
// epoch reads at neither place.
int AstorbLayoutShift(std::string_view line);
// The numbers of one ASTORB record in the layout of `shift` as the element
// list reads them (kAstorbFields; n 0, equinox 2000; no name): Parsed, or
// Unusable with the field to blame in `unusable` (when given). With
// `texts` (one per field of kAstorbFields) the text each number was read
// from, blanks and tabs around it left out.
TLineParse ReadAstorbElements(const TLineColumns& line, int shift, TAsteroidElements& e, const char** unusable,
                              std::span<std::string_view> texts = {});
// One ASTORB record (`shift` from AstorbLayoutShift) as the output line of
// `format` (0 plain CSV, 1 own, 2 HomePlanet); false when the ASTORB
// reader refuses the record (`unusable`, when given, names the field), and
// then `out` is written for the plain CSV only.
bool AstorbLineToOutput(std::string_view line, int shift, int format, bool international, std::string& out,
                        const char** unusable = nullptr);
// The own line of an MPCORB record.
std::string WriteMpcorbCsvLine(const TAsteroidElements& e);

// The start of the records of an MPC orbit file read as a stream: reading
// resumes at the line holding "00001" within the first 5001 bytes (true),
// else at the file's beginning (false).
bool SeekMpcStreamStart(TTextLineReader& in);
// Whether `line` (read as `parse`) is to be taken as a record: once
// `started`, every line; before, the "-----" rule line starts the records
// (itself not one) and, with `streamStart`, so does the first line that
// reads as a record.
bool MpcRecordsStarted(bool& started, bool streamStart, const std::string& line, TLineParse parse);

// Called every 24 records with the count written; false stops the run.
using TConversionCallback = std::function<bool(long written)>;

struct TConversionResult {
  bool Done = false;  // the output was written (also after a stop)
  bool Stopped = false;
  long Written = 0;
  long Skipped = 0;
  // The records the catalogue's reader refuses, among the skipped ones:
  // their count, the first one's line (from 1, as the reader counts) and
  // the field to blame.
  TSkippedLines Unusable;
  bool UnusableCopied = false;  // those records are in the output (plain CSV)
  std::string Output;
  // Why nothing was written: the cause of the failed write, or (Refused)
  // the catalogue could not be read, said in the interface language.
  TWriteError Error;
};

TConversionResult ConvertAstorbFile(const std::string& input, int format, bool international,
                                    const TConversionCallback& callback);
TConversionResult ConvertMpcorbFile(const std::string& input, const TConversionCallback& callback);
TConversionResult ConvertMpcorbCrFile(const std::string& input, const TConversionCallback& callback);

// The note on the records of `input` its reader refused, as the element
// list gives it ("<input>: 1 Zeile mit unbrauchbaren Bahnelementen
// übersprungen (Zeile k, Feld g)"; "unverändert übernommen" where the
// plain CSV copied them); nothing when there were none.
void ReportUnusableRecords(const TConversionResult& result, const std::string& input);

}  // namespace kvx
