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
//     as ",". Slices: 1-5 7-25 26-40 41-47 48-52 53-57 58-64 65-70 71-73
//     74-77 78-81 82-85 86-89 90-93 94-99 100-104 105-113 114-124 125-135
//     136-146 147-156 157-167 168-180 182-189 190-197 198-206 208-215
//     216-223 225-232 233-240 241-249 251-257 259-266.
//   own: name;a;e;i;node;peri;M;0;2000;epoch JD;H;G, numbers with "," as
//     decimal mark; a numbered name "    1 Ceres" becomes "00001 Ceres".
//   HomePlanet: name,H,G,M,peri,node,i,e,a,epoch MJD with "."; the name as
//     in the own format (a provisional designation is not padded).
//   Columns: H 42-46, G 48-52, epoch yyyymmdd 106-113 (0 h), M 115-124,
//   peri 126-135, node 137-146, i 147-156, e 158-167, a 169-180
//   (read whole: a above 100 AU would lose its first digit at 170).
// A line that is shorter than a record or whose epoch does not read is
// skipped and counted; so is, in the own and the HomePlanet output, a
// record whose line the format's reader would not take back (a field that
// is no number, or elements that cannot be computed with). That is judged
// from the record's own texts, each read once by the format's field rules
// (element_format_fields.h).
//
// MPCORB lines are read by the one-line reader of the element lists; the
// MPCORB file starts at the record of minor planet 1 (within the first 5001
// bytes, else after the "-----" rule, else at the first record), the cr
// variant after the rule line; a record repeating the name before it is
// dropped (MPCORB). Lines that are no record are skipped and counted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "catalogues/element_lines.h"
#include "catalogues/text_line_reader.h"
#include "core/asteroid_elements.h"

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
// One ASTORB record (`shift` from AstorbLayoutShift) as an output line; false
// when the epoch does not read and, for the own and the HomePlanet line,
// when the line would not read back as a record in its format.
bool AstorbLineToCsv(std::string_view line, int shift, bool international, std::string& out);
bool AstorbLineToOwnCsv(std::string_view line, int shift, std::string& out);
bool AstorbLineToHomePlanetCsv(std::string_view line, int shift, std::string& out);
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
  std::string Output;
  std::string Error;  // why nothing was written
};

TConversionResult ConvertAstorbFile(const std::string& input, int format, bool international,
                                    const TConversionCallback& callback);
TConversionResult ConvertMpcorbFile(const std::string& input, const TConversionCallback& callback);
TConversionResult ConvertMpcorbCrFile(const std::string& input, const TConversionCallback& callback);

}  // namespace kvx
