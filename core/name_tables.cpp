#include "core/name_tables.h"

#include "core/data_format_slots.h"
#include "core/quantity_headings.h"

namespace kvx {

std::array<std::string, 7> WeekdayNames;
std::array<std::string, 2> DaylightSavingMarks;
std::array<std::string, 4> SeasonNames;
std::array<std::string, 10> PlanetNames;
std::array<std::string, 10> VsopBodyNames;
std::array<std::string, 11> SunAndPlanetNames;
std::array<std::string, 12> SearchBodyNames;
std::array<std::string, kEventKindNameCount> EventKindNames;
std::array<std::string, 25> ZoneNames;

std::array<std::string, kDecimalPatternCount> DecimalPatternSources;
std::array<std::string, kDecimalPatternCount> DecimalPatternTable;
std::string TimePatternHms;
std::string TimePatternHm;

std::array<std::string, kQuantityCount> DefaultColumnHeadings;
std::array<std::string, kQuantityCount> DefaultColumnDescriptions;
std::array<std::uint8_t, kQuantityCount> DataFormatKind{};
std::array<std::uint8_t, kQuantityCount> DataFormatDecimals{};

namespace {

// Constant images of the name tables.
constexpr std::array<const char*, 7> kWeekdayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                                      "Donnerstag", "Freitag", "Samstag"};
constexpr std::array<const char*, 2> kDaylightSavingMarks = {"WZ", "SZ"};
constexpr std::array<const char*, 4> kSeasonNames = {"Frühling", "Sommer", "Herbst", "Winter"};
constexpr std::array<const char*, 10> kPlanetNames = {"Merkur", "Venus",  "Erde",   "Mars",  "Jupiter",
                                                      "Saturn", "Uranus", "Neptun", "Pluto", ""};
constexpr std::array<const char*, 10> kVsopBodyNames = {
    "Merkur", "Venus", "Erde", "Erde/Mond Baryzentrum", "Mars", "Jupiter", "Saturn", "Uranus", "Neptun", "Pluto"};
constexpr std::array<const char*, 11> kSunAndPlanetNames = {"Sonne",  "Merkur", "Venus",  "Erde",  "Mars", "Jupiter",
                                                            "Saturn", "Uranus", "Neptun", "Pluto", ""};
constexpr std::array<const char*, 12> kSearchBodyNames = {"Sonne",  "Merkur", "Venus", "Mars", "Jupiter",   "Saturn",
                                                          "Uranus", "Neptun", "Pluto", "Mond", "Planetoid", "Komet"};
// Index = zone hours + 12; -12 and +12 carry the same name.
constexpr std::array<const char*, 25> kZoneNames = {
    "Neuseelandzeit",     // -12
    "Beringzeit",         // -11
    "Zentralalaskazeit",  // -10
    "YST",                // -9
    "PST",                // -8
    "MST",                // -7
    "CST",                // -6
    "EST",                // -5
    "AST",                // -4
    "BST",                // -3
    "Südatlantikzeit",    // -2
    "Westafr. Zeit",      // -1
    "UT",                 // 0
    "MEZ",                // +1
    "OEZ",                // +2
    "Moskauer Zeit",      // +3
    "RS 3",               // +4
    "RS 4",               // +5
    "RS 5",               // +6
    "Südsumatrazeit",     // +7
    "Chines. Küstenz.",   // +8
    "Mittl. Japanzeit",   // +9
    "Ostaustr. Zeit",     // +10
    "Südseezeit",         // +11
    "Neuseelandzeit",     // +12
};

// The English images of the tables the language switch changes.
constexpr std::array<const char*, 7> kWeekdayNamesEnglish = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                             "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 2> kDaylightSavingMarksEnglish = {"  ", "DS"};
constexpr std::array<const char*, 4> kSeasonNamesEnglish = {"Spring", "Summer", "Fall", "Winter"};
constexpr std::array<const char*, 11> kSunAndPlanetNamesEnglish = {
    "Sun", "Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto", ""};
constexpr std::array<const char*, 12> kSearchBodyNamesEnglish = {
    "Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto", "Moon", "Asteroid", "Comet"};
constexpr std::array<const char*, 25> kZoneNamesEnglish = {"New Zealand Time",
                                                           "NT",
                                                           "HST",
                                                           "YST",
                                                           "PST",
                                                           "MST",
                                                           "CST",
                                                           "EST",
                                                           "AST",
                                                           "BST",
                                                           "South Atlantic Time",
                                                           "West Africa Time",
                                                           "UT",
                                                           "CET",
                                                           "EET",
                                                           "Moscow Time",
                                                           "RZ 3",
                                                           "RZ 4",
                                                           "RZ 5",
                                                           "South Sumatra Time",
                                                           "China Coast Time",
                                                           "Japan Standard Time",
                                                           "East Australian Time",
                                                           "South Sea Time",
                                                           "New Zealand Time"};

// The names of the event kinds, then the almanac's own entries.
void FillEventKindNames(bool english) {
  for (const TEventKindInfo& kind : EventKindRows()) {
    EventKindNames[static_cast<std::size_t>(kind.Code)] = english ? kind.Name.English : kind.Name.German;
  }
  for (int e = almanac_entry::kSolarEclipse; e < almanac_entry::kSolarEclipse + almanac_entry::kCount; ++e) {
    const TEventText& name = AlmanacEntryName(e);
    EventKindNames[static_cast<std::size_t>(e)] = english ? name.English : name.German;
  }
}

template <std::size_t N>
void Fill(std::array<std::string, N>& table, const std::array<const char*, N>& image) {
  for (std::size_t i = 0; i < N; ++i) table[i] = std::string(image[i]);
}

// The pattern sources as they stand before the locale is read: "0", "0,0",
// "0,00", ... with the given decimal separator.
void BuildPatternSources(char decimalSeparator) {
  DecimalPatternSources[0].assign(1, '0');
  for (int n = 1; n < kDecimalPatternCount; ++n) {
    std::string& source = DecimalPatternSources[n];
    source.assign(1, '0');
    source += decimalSeparator;
    source.append(static_cast<std::size_t>(n), '0');
  }
}

}  // namespace

void InitFormatStrings() {
  DecimalPatternTable = DecimalPatternSources;
  const std::string sep(1, IntlSeparators.Time);
  TimePatternHms = "h" + sep + "mm" + sep + "ss";
  TimePatternHm = "h" + sep + "mm";
}

void InitAstroNameTables() {
  BuildPatternSources(',');
  InitFormatStrings();
  Fill(WeekdayNames, kWeekdayNames);
  Fill(DaylightSavingMarks, kDaylightSavingMarks);
  Fill(SeasonNames, kSeasonNames);
  Fill(PlanetNames, kPlanetNames);
  Fill(VsopBodyNames, kVsopBodyNames);
  Fill(SunAndPlanetNames, kSunAndPlanetNames);
  Fill(SearchBodyNames, kSearchBodyNames);
  FillEventKindNames(false);
  Fill(ZoneNames, kZoneNames);
  for (int i = 0; i < kQuantityCount; ++i) {
    DefaultColumnHeadings[i] = QuantityHeadings[i].german;
    DefaultColumnDescriptions[i] = DataFormatSlots[i].german;
    DataFormatKind[i] = DataFormatSlots[i].defaultFormat;
    DataFormatDecimals[i] = DataFormatSlots[i].defaultDecimals;
  }
}

void ApplyLocaleSeparators(const TIntlSeparators& separators) {
  IntlSeparators = separators;
  BuildPatternSources(IntlSeparators.Decimal);
  InitFormatStrings();
}

void RebuildDecimalPatterns() {
  BuildPatternSources(IntlSeparators.Decimal);
  InitFormatStrings();
}

void InitCoreTablesAtStartup(const TIntlSeparators& locale) {
  InitAstroNameTables();
  ApplyLocaleSeparators(locale);
}

const std::string& WeekdayName(long long weekdayIndex) {
  return WeekdayNames[static_cast<std::size_t>(FlooredModulo(weekdayIndex, 7))];
}

const std::string& ZoneName(int zoneHours) { return NameAt(ZoneNames, static_cast<long long>(zoneHours) + 12); }

namespace {

long long ZoneOffsetMinutes(int zoneHours, int extraMinutes) {
  return 60LL * zoneHours + static_cast<long long>(extraMinutes);
}

}  // namespace

bool ZoneBeyondNames(int zoneHours, int extraMinutes) {
  constexpr long long kNamedMinutes = 12 * 60;
  const long long offset = ZoneOffsetMinutes(zoneHours, extraMinutes);
  return offset > kNamedMinutes || offset < -kNamedMinutes;
}

std::string ZoneOffsetName(int zoneHours, int extraMinutes) {
  const long long offset = ZoneOffsetMinutes(zoneHours, extraMinutes);
  const long long magnitude = offset < 0 ? -offset : offset;
  std::string text = std::string("UTC") + (offset < 0 ? "-" : "+") + std::to_string(magnitude / 60);
  if (magnitude % 60 != 0) {
    const long long minutes = magnitude % 60;
    text += (minutes < 10 ? ":0" : ":") + std::to_string(minutes);
  }
  return text;
}

void SetNameTablesLanguage(bool english) {
  Fill(WeekdayNames, english ? kWeekdayNamesEnglish : kWeekdayNames);
  Fill(DaylightSavingMarks, english ? kDaylightSavingMarksEnglish : kDaylightSavingMarks);
  Fill(SeasonNames, english ? kSeasonNamesEnglish : kSeasonNames);
  Fill(SunAndPlanetNames, english ? kSunAndPlanetNamesEnglish : kSunAndPlanetNames);
  Fill(SearchBodyNames, english ? kSearchBodyNamesEnglish : kSearchBodyNames);
  FillEventKindNames(english);
  Fill(ZoneNames, english ? kZoneNamesEnglish : kZoneNames);
  SetQuantityHeadingLanguage(english);
  for (std::size_t i = 0; i < DefaultColumnDescriptions.size(); ++i) {
    DefaultColumnDescriptions[i] = english ? DataFormatSlots[i].english : DataFormatSlots[i].german;
  }
}

std::string BodyNameInLanguage(const std::string& name, bool english) {
  const auto& from = english ? kSunAndPlanetNames : kSunAndPlanetNamesEnglish;
  const auto& to = english ? kSunAndPlanetNamesEnglish : kSunAndPlanetNames;
  for (std::size_t i = 0; i < from.size(); ++i) {
    if (from[i][0] != '\0' && name == from[i]) return to[i];
  }
  return name;
}

int SearchBodyOfName(const std::string& name) {
  for (std::size_t i = 0; i < kSearchBodyNames.size(); ++i) {
    if (name == kSearchBodyNames[i] || name == kSearchBodyNamesEnglish[i]) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace kvx
