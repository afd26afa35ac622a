// One line of each foreign element format, record to line and line to
// record, shared by the lists' readers and writers so that a writer can
// read back what it wrote before it writes anything.
//
// Layouts (columns from 1; numbers right aligned in their fields with the
// given decimals, decimal point):
//   SkyMap asteroid  name 1-46 (the reader takes 1-35), epoch year 5, blank,
//                    month 2 with leading zero, day 7.3, M 8.3, a 9.6,
//                    e 9.6, per 8.3, node 8.3, i 8.3, H 6.2, G 6.2, 3 blanks
//   SkyMap comet     name 1-46 (the reader takes 1-45), year of T 5, blank,
//                    month 2, day 7.3, q 9.6, e 9.6, per 8.3, node 8.3,
//                    i 8.3, H 5.1, G 5.1, 3 blanks
//   Guide 6.0 comet  name 1-43 (the reader takes 1-40), day of T 7.4,
//                    blank, month 3, year 5, "   0.0", q 18.7, e, i, per,
//                    node 12.7 each, equinox 7.1, 3 blanks, H 4.1, G 5.1,
//                    3 blanks
//   text listing     kTextListingFields (written only, read back by its
//                    writer's check)
//   HomePlanet       comma-separated: asteroids name,H,G,M,per,node,i,e,a,
//                    epoch (MJD); comets name,T ("year-month-day"),q,e,
//                    per,node,i,, (the format has no H, G and epoch of
//                    a comet; T keeps its value, PerihelionDateText)
// The readers of the fixed-column formats split the numbers at blanks: a
// number wider than its field is written with one blank before it, and the
// rest of the line moves right (a SkyMap reader takes no first line of
// more than kSkyMapLineLimit characters; a line whose numbers do not read
// is skipped as unusable). Times are rounded to the written decimals
// of a day before they become a calendar date, so a day never reads 32.000.
// The numbers of the comma-separated lines keep their values exactly
// (KeptNumberText).
//
// Units: a and q AU; angles degrees; epochs and T Julian days (the MJD of
// HomePlanet asteroids is JD - 2400000.5). Every foreign format holds its
// angles for the equinox 2000: the readers set it, n reads as 0.
#pragma once

#include <string>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"

namespace kvx {

inline constexpr std::size_t kSkyMapLineLimit = 160;

enum class TForeignLineRead {
  Parsed,    // a usable record
  Unusable,  // a field is no number, or the elements cannot be computed with (skipped)
  NotRead,   // not a line of the format (a writer's line that reads as nothing)
  Asteroid,  // Guide: a line of an asteroid (the fourth number not 0)
  Nameless,  // Guide: a comet line with a blank name, passed over
};

// The fields each line holds, and which may be blank, are those of
// element_format_fields.h; `unusable` (when given) gets the field to blame
// for an Unusable line (element_lines.h). `itemText` gets the list item's
// text (the raw name field, right-trimmed).
TForeignLineRead ParseSkyMapAsteroidLine(const std::string& line, bool normalizeNames, TAsteroidElements& record,
                                         std::string& itemText, const char** unusable = nullptr);
// `widened` (when given) gets the name of the first number wider than its
// field, or nullptr.
std::string SkyMapAsteroidLine(const TAsteroidElements& record, const char** widened = nullptr);

TForeignLineRead ParseSkyMapCometLine(const std::string& line, TCometElements& record, std::string& itemText,
                                      const char** unusable = nullptr);
std::string SkyMapCometLine(const TCometElements& record, const char** widened = nullptr);

TForeignLineRead ParseGuideCometLine(const std::string& line, TCometElements& record, std::string& itemText,
                                     const char** unusable = nullptr);
std::string GuideCometLine(const TCometElements& record);

TForeignLineRead ParseHomePlanetAsteroidLine(const std::string& line, bool normalizeNames, TAsteroidElements& record,
                                             const char** unusable = nullptr);
std::string HomePlanetAsteroidLine(const TAsteroidElements& record, bool normalizeNames);

TForeignLineRead ParseHomePlanetCometLine(const std::string& line, TCometElements& record,
                                          const char** unusable = nullptr);
std::string HomePlanetCometLine(const TCometElements& record);

// The own lines (name;a;e;...;g and name;q;e;...;epoch) with every value
// kept exactly and the configured decimal separator.
std::string OwnAsteroidLine(const TAsteroidElements& record, bool normalizeNames);
std::string OwnCometLine(const TCometElements& record);

// The text listing's line of a comet, by its row (kTextListingFields);
// false, with `field` naming the first value wider than its columns (or T
// without a calendar date), when the line would lose its layout. Its
// reader takes a line back by the row's columns (the name from 1-40, the
// epoch as T): what the listing gives of a comet.
bool TextListingLine(const TCometElements& record, std::string& line, const char*& field);
TForeignLineRead ParseTextListingLine(const std::string& line, TCometElements& record, const char** unusable = nullptr);

}  // namespace kvx
