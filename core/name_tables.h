// The German name tables, the number and time patterns of the sheet and the
// defaults of the output quantities (column heading, long description, data
// format and decimals). All are filled once at start-up by
// InitAstroNameTables, before any window exists; afterwards the name tables
// are read only, while the data-format and column-heading dialogs may
// overwrite the per-quantity tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/data_format_slots.h"
#include "core/event_kinds.h"
#include "platform/globals.h"

namespace kvx {

// Number of output quantities (table columns); index 0 .. 220: one per
// format slot (core/data_format_slots.h).
inline constexpr int kQuantityCount = kFormatSlotCount;
static_assert(kQuantityCount == 221, "the stored column widths and data formats hold 221 quantities");
// Number of entries of DecimalPatternTable (0 .. 15 decimals).
inline constexpr int kDecimalPatternCount = 16;

// Kinds of output of a quantity (DataFormatKind).
enum TDataFormatKind : std::uint8_t {
  kFormatDecimal = 0,       // decimal number
  kFormatText = 1,          // sexagesimal text, date, or value with a unit suffix
  kFormatDecimalHours = 2,  // angle / 15 as a decimal number
  kFormatHoursText = 3,     // angle / 15 as sexagesimal text
};

// --- Name tables (UTF-8 texts) ---------------------------------------------
extern std::array<std::string, 7> WeekdayNames;         // index 0 = Sunday
extern std::array<std::string, 2> DaylightSavingMarks;  // 0 standard time "WZ", 1 daylight-saving time "SZ"
extern std::array<std::string, 4> SeasonNames;          // 0 = spring
extern std::array<std::string, 10> PlanetNames;         // 0 = Mercury .. 8 = Pluto, 9 empty
extern std::array<std::string, 10> VsopBodyNames;       // bodies of the theory libraries
extern std::array<std::string, 11> SunAndPlanetNames;   // 0 = Sun, 1 = Mercury .. 9 = Pluto, 10 empty
extern std::array<std::string, 12> SearchBodyNames;     // bodies of the event searches (no Earth)
// The names of the event kinds (slots 0..kEventKindCount-1) and of the
// almanac's own entries (slots almanac_entry::k...).
inline constexpr std::size_t kEventKindNameCount = kEventKindCount + almanac_entry::kCount;
extern std::array<std::string, kEventKindNameCount> EventKindNames;
extern std::array<std::string, 25> ZoneNames;  // index = zone hours + 12

// --- Number and time patterns of the sheet ---------------------------------
// Sources of the decimal patterns: "0", then "0" + decimal separator + n
// zeros. They start with the comma and are rebuilt from the locale's decimal
// separator by ApplyLocaleSeparators.
extern std::array<std::string, kDecimalPatternCount> DecimalPatternSources;
// Cell number format of a value with n decimals (index n); filled from the
// sources by InitFormatStrings.
extern std::array<std::string, kDecimalPatternCount> DecimalPatternTable;
// "h" sep "mm" sep "ss" and "h" sep "mm", sep = IntlSeparators.Time.
extern std::string TimePatternHms;
extern std::string TimePatternHm;

// --- Per-quantity defaults and current settings ---------------------------
extern std::array<std::string, kQuantityCount> DefaultColumnHeadings;
extern std::array<std::string, kQuantityCount> DefaultColumnDescriptions;
extern std::array<std::uint8_t, kQuantityCount> DataFormatKind;      // TDataFormatKind
extern std::array<std::uint8_t, kQuantityCount> DataFormatDecimals;  // decimals or precision step

// Their constant images: the headings in core/quantity_headings.h (German
// at start-up), the descriptions (German), formats and decimals in
// core/data_format_slots.h.

// --- Start-up ---------------------------------------------------------------
// Fills DecimalPatternTable from DecimalPatternSources and builds the two
// time patterns from the current time separator.
void InitFormatStrings();

// The unit initialisation: InitFormatStrings, then every name table and the
// per-quantity tables from their constant images (the pattern sources are
// reset to their comma form first; the headings are the German ones).
void InitAstroNameTables();

// Installs the separators read from the user's locale, rebuilds the pattern
// sources with its decimal separator and runs InitFormatStrings again.
void ApplyLocaleSeparators(const TIntlSeparators& separators);

// The 16 number-format patterns again from IntlSeparators.Decimal: pattern
// 0 is "0", pattern k is "0", the decimal separator and k zeros.
void RebuildDecimalPatterns();

// The whole start-up sequence of the core tables, in its fixed order:
// InitAstroNameTables, then ApplyLocaleSeparators(locale).
void InitCoreTablesAtStartup(const TIntlSeparators& locale);

// The language switch: copies the German (false) or English (true) set of
// the weekday, daylight-saving, season, body (both orders), event and zone
// names into the tables above and refills the column headings
// (SetQuantityHeadingLanguage) and the long column descriptions. The planet names of the theory libraries
// stay German.
void SetNameTablesLanguage(bool english);

// A body name as shown in the language `english` names: the other
// language's name of the Sun, a planet or the Earth ("Sonne"/"Sun" ..
// "Pluto") becomes its name in this language; every other name (one the
// user typed, an asteroid) is returned as it is.
std::string BodyNameInLanguage(const std::string& name, bool english);
// The body code (search_kind) whose German or English name of the event
// searches `name` is ("Mond" and "Moon" give the Moon); -1 for every other
// name. For the writers of found events, which hold the body's name only.
int SearchBodyOfName(const std::string& name);

// --- Safe look-ups ----------------------------------------------------------
// a mod n with the sign of n (floored), for n > 0: FlooredModulo(-1, 7) = 6.
constexpr int FlooredModulo(long long a, int n) {
  long long r = a % n;
  return static_cast<int>(r < 0 ? r + n : r);
}

// Entry `index` of a name table, or an empty text when the index lies outside.
template <std::size_t N>
const std::string& NameAt(const std::array<std::string, N>& table, long long index) {
  static const std::string empty;
  if (index < 0 || index >= static_cast<long long>(N)) return empty;
  return table[static_cast<std::size_t>(index)];
}

// Weekday name of any day count (0 = Sunday; taken modulo 7, also for
// negative counts of early dates).
const std::string& WeekdayName(long long weekdayIndex);

// Name of a time zone given in whole hours east of Greenwich (-12 .. +12);
// an empty text outside that range.
const std::string& ZoneName(int zoneHours);

// True when a zone of `zoneHours` whole hours east and `extraMinutes` lies
// more than 12 h from UT (Chatham +12:45, Kiritimati +14 h held as zone 12
// with 45 or 120 minutes): no entry of ZoneNames is that zone.
bool ZoneBeyondNames(int zoneHours, int extraMinutes);
// Such a zone named by its offset from UT, without the daylight-saving
// hours: "UTC+14", "UTC+12:45", "UTC-12:30".
std::string ZoneOffsetName(int zoneHours, int extraMinutes);

}  // namespace kvx
