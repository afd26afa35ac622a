// The configuration file (".ocf", by default "Varbo4.ocf" in the data
// folder): a snapshot of the working state of the main window, the element
// windows and the place dialog. Plain C++; the main window gathers its
// state into TConfigSettings and applies a loaded one (app/ui).
//
// File layout (33,379 bytes, little-endian; offsets are file offsets):
//       0     27  magic block: length byte 24, ":Quillox4.5000ConfigFile", 0, 0
//      27     28  reserved
//      55    736  observer record, start of the period; 791: end
//    1527    132  asteroid elements; 1659 (124) comet; 1783 (92) variable star
//    1875 12x256  ShortString[255] paths, Windows-1252, in TConfigPath order;
//                 the slot at 4179 between the surface features and the
//                 observations file is reserved
//    5203  22676  table configuration; 27879 (20) table step
//   27899    4+4  int32 eclipse search minutes, span hours
//   27907   2616  integration set-up; 30523 (10) tolerance, 80-bit extended
//   30533 .. 31075  the option values in the order of TConfigSettings, with
//                 padding at 30546 (1), 30557 (2), 30924 (3), 30962 (1),
//                 30969 (2), 30996 (3), 31030 (1), 31064 (3), zero ranges at
//                 31047 (8) and 31062 (2); raw records at 30867
//                 conjunction options (40), 30907 event options (16),
//                 30927 orbit options (20)
//   30559    300  meridian features: int32 chosen system (30559), five
//                 doubles, the longitudes in degrees (30563), five
//                 ShortString[50] names, Windows-1252 (30603), padding (30858)
//   31075    544  reserved
//   31619      3  cell-lines, fixed-lines, reserved flag; 31622 padding
//   31623     48  six reference altitudes (double)
//   31671    884  column widths (221 int32)
//   32555 .. 32575 int32 fixed column width, fixed row height, dialog table
//                 kind, period days, period hours
//   32575 221+221 DataFormatDecimals, DataFormatKind; 33017 padding (2)
//   33019      4  user object; 33023 (24) element file ranges; 33047 (39)
//                 almanac options; 33086 rise/set as Julian date
//   33087     12  conjunction altitudes (Sun, object 1, object 2)
//   33099    4+4  background and fixed-cell colour
//   33107    272  table font record (app/table_file.h)
// config_file.cpp holds the offset of every field; static_asserts check that
// the places follow each other without gap up to 33,379.
//
// Gathering writes every field at its offset, clears the two zero ranges and
// leaves the reserved ranges and the padding bytes as the image held them,
// so a loaded file's padding is written back unchanged and a fresh image has
// zeros there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/table_file.h"
#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/element_file_ranges.h"
#include "core/element_records.h"
#include "core/name_tables.h"
#include "core/observer_record.h"
#include "core/table_config.h"
#include "core/table_step.h"
#include "engine/nbody_setup.h"
#include "events/search_options.h"
#include "platform/save_failure.h"
#include "setup/column_titles.h"
#include "setup/data_formats.h"
#include "setup/setup_routines.h"
#include "theories/theory_types.h"

namespace kvx {

struct TEphemerisPeriodState;

inline constexpr const char* kConfigFileMagic = ":Quillox4.5000ConfigFile";
inline constexpr const char* kTableConfigFileMagic = "bQuillox4.5000ConfigFile";
inline constexpr const char* kDefaultConfigFileName = "Varbo4.ocf";
inline constexpr std::size_t kConfigMagicSize = 27;
inline constexpr std::size_t kConfigRecordSize = 33352;
inline constexpr std::size_t kConfigFileSize = kConfigMagicSize + kConfigRecordSize;
inline constexpr std::size_t kConfigPathCount = 12;
inline constexpr std::size_t kConfigPathCapacity = 255;

inline constexpr std::size_t kMeridianFeaturesRecordSize = 300;
inline constexpr std::size_t kOrbitOptionsRecordSize = 20;
inline constexpr std::size_t kAlmanacOptionsSize = 39;

using TConfigRecordImage = std::array<std::uint8_t, kConfigRecordSize>;

// The paths in their stored order.
enum TConfigPath : std::size_t {
  kPathAsteroidDatabase = 0,
  kPathUserCatalogue,
  kPathLocations,
  kPathAsteroidElements,
  kPathCometElements,
  kPathVariableStars,
  kPathStartValues,
  kPathTle,
  kPathSurfaceFeatures,
  kPathObservations,
  kPathStateVectors,
  kPathBrowser,
};

// The period record of a configuration that holds none (and of a start
// whose instant is not a number): 1 January 2000, 0:00 UT, its date fields
// in step with its MJD.
TObserverRecord DefaultConfigPeriodRecord();

// Every field of the record, typed. Records that no typed codec owns yet
// (orbit options, almanac) travel as their raw bytes.
struct TConfigSettings {
  TObserverRecord Start = DefaultConfigPeriodRecord();
  TObserverRecord End = DefaultConfigPeriodRecord();
  TAsteroidElements Asteroid;
  TCometElements Comet;
  TVariableStarElements VariableStar;
  std::array<std::string, kConfigPathCount> Paths;  // UTF-8, '/' separated
  TTableConfigRecord TableConfig;
  TTableStep Step;
  std::int32_t EclipseSearchMinutes = 5;
  std::int32_t EclipseSearchSpanHours = 8;
  TIntegrationSetup Integration = DefaultIntegrationSetup();
  long double Tolerance = 1e-10L;
  std::uint8_t LeadingZeros = 0;
  TTheorySelection Selection;
  std::int32_t Satellite = 1;
  std::int32_t SatelliteDays = 1000;
  std::uint8_t SatelliteSunAltitude = 0;
  std::uint8_t ApparentTime = 0;
  TMeridianFeatures MeridianFeatures;
  float OccultationMagnitude = 8.0f;
  std::int32_t OccultationSunAltitude = -6;
  TConjunctionOptions ConjunctionOptions;
  TEventSearchOptions EventOptions;
  std::uint8_t ResultsIntoTable = 0;
  std::array<std::uint8_t, kOrbitOptionsRecordSize> OrbitOptionsRaw{};
  std::uint8_t CsvSeparatorIndex = 0;
  std::uint8_t AsteroidFileFormat = 0;
  std::uint8_t CometFileFormat = 0;
  std::uint8_t IntegratorChoice = 0;
  std::uint8_t UseIntegrationDatabase = 0;
  std::uint8_t OccultationCatalogue = 1;
  std::array<std::uint8_t, 9> PlanetOccultationBodies{};
  float PlanetOccultationMagnitude = 0.0f;
  std::uint8_t ConjunctionsOnly = 0;
  std::uint8_t Fk4Positions = 0;
  std::int32_t AsteroidDiameter = 0;
  std::int32_t VsopLevelA = -1;
  std::int32_t VsopLevelB = 10;
  std::int32_t OccultationStar = -1;
  std::int32_t ConjunctionUserObject = 0;
  std::int32_t ConjunctionStar = 1;
  std::uint8_t SolarEclipseKinds = 0;
  std::int32_t LunarEclipseKinds = 0;
  std::int32_t LunarEclipseMoonAltitude = 0;
  std::int32_t PhenomenaSunAltitude = -3;
  std::int32_t PhenomenaPlanetAltitude = 6;
  std::int32_t SaturnMoon = 1;
  std::int32_t JupiterMoon = 1;
  std::uint8_t MoonEvent = 0;
  std::uint8_t AzimuthFromNorth = 0;
  std::uint8_t FastConjunctions = 0;
  std::uint8_t ConjunctionUsesPeriod = 0;
  std::uint8_t EventUsesPeriod = 0;
  std::uint8_t ExactMoonParallax = 0;
  std::uint8_t ExactSunMoon = 0;
  double TableEquinox = 0.0;
  std::int32_t MoonCacheSpan = 12;
  std::int32_t MoonCacheOrder = 13;
  std::uint8_t NeverSlowElp = 0;
  std::uint8_t ConjunctionListComets = 0;
  std::uint8_t KeplerElementsInverted = 0;
  std::uint8_t ConjunctionListDatabase = 0;
  std::uint8_t PhenomenaAbbreviations = 0;
  std::uint8_t MoonOption = 0;
  std::uint8_t MoonCacheFlag = 1;
  double SeparationLimit = 360.0;
  std::uint8_t CellLines = 1;
  std::uint8_t FixedLines = 1;
  std::uint8_t ReservedFlag = 0;
  std::array<double, 6> HorizonAltitudes{-34.0, 8.0, -50.0, -6.0, -12.0, -18.0};
  std::array<std::int32_t, kQuantityCount> ColumnWidths = DefaultColumnWidths();
  std::int32_t FixedColWidth = 8;
  std::int32_t FixedRowHeight = 8;
  std::int32_t DialogTableKind = 0;
  std::int32_t PeriodDays = 10;
  std::int32_t PeriodHours = 0;
  std::array<std::uint8_t, kQuantityCount> DataFormatDecimals = DefaultDataFormats().Decimals;
  std::array<std::uint8_t, kQuantityCount> DataFormatKind = DefaultDataFormats().Kinds;
  std::int32_t UserObject = -1;
  TElementFileRanges ElementFileRanges;
  std::array<std::uint8_t, kAlmanacOptionsSize> AlmanacRaw{};
  std::uint8_t RiseSetAsJulianDate = 0;
  std::int32_t ConjunctionSunAltitude = 90;
  std::int32_t ConjunctionAltitude1 = -90;
  std::int32_t ConjunctionAltitude2 = -90;
  std::uint32_t BackgroundColor = 0x80000005u;
  std::uint32_t FixedColor = 0x8000000Fu;
  TTableFontRecord Font;
};

// Writes every field into `image` at its place; clears the zero ranges;
// reserved ranges and padding keep what `image` held. A path that
// Windows-1252 cannot hold or that is longer than 255 bytes is stored empty
// and its text appended to `refusedPaths`.
void GatherConfigRecord(const TConfigSettings& settings, TConfigRecordImage& image,
                        std::vector<std::string>* refusedPaths = nullptr);
// The names of `settings` (the current asteroid, comet and variable star,
// the surface features) that their Windows-1252 fields cannot hold as they
// are: a character without a Windows-1252 form, or more characters than the
// field. Each as "<kind>: <name>" in the program's language.
std::vector<std::string> NamesNotStorable(const TConfigSettings& settings);
// Reads every field; short strings with a length byte above their room are
// cut to the room.
TConfigSettings ReadConfigRecord(const TConfigRecordImage& image);

// Brings every value into the range its dialog allows, or back to its
// start-up default where no range fits (NaN doubles, a tolerance that is not
// positive, decimals above 15, unknown format kinds, separator index above
// 3, negative sizes, font size 0, a longitude system outside 0..4, an
// automatic length of the period that the period dialog refuses (negative
// days, hours outside the day; the end, when it followed from that length,
// then follows from the start-up length), ...). The period records: the MJD
// is the instant (within JD 0 .. the last day a table may reach; a start
// that is not a number takes DefaultConfigPeriodRecord's), and the local
// date and time fields are set from it wherever they disagree with it
// (the tables read the start from its date fields, the automatic end from
// the MJD); an end given as a date that lies before the start is moved to
// the start. Returns how many fields changed.
int ClampConfigSettings(TConfigSettings& settings);

// The automatic-end switch ("Enddatum automatisch") of a saved period. The
// end record's switch byte says it, but files written before the byte was
// kept in step with the switch hold 0 for a switch that was on. So the
// switch counts as on only when the saved end follows from the start (at
// the start plus the saved length, to a tenth of a second, or at the start
// itself, not yet completed), and then unless the byte says off after a
// confirmed period dialog. An end that the length does not give was set as
// a date: the switch was off.
std::uint8_t SavedAutoEndSwitch(const TObserverRecord& start, const TObserverRecord& end);

// A saved period into the main window's records: the start and end records,
// and the automatic-end switch as SavedAutoEndSwitch reads it, in the state
// and in the end record's switch byte.
void RestoreSavedPeriod(TEphemerisPeriodState& period, const TObserverRecord& start, const TObserverRecord& end);

// The period dialog's copy of the automatic length in the record (whole
// days, whole hours; offset 32567) into the period's end record, after
// RestoreSavedPeriod: it replaces the end record's length, whose minutes and
// seconds stay while its whole hours agree with the copy. A copy the period
// dialog would refuse (negative days, hours outside 0..23, no length with
// the automatic end on) is passed over. An automatic end follows from the
// length when the period is completed.
void TakeSavedPeriodLength(TEphemerisPeriodState& period, std::int32_t days, std::int32_t hours);

// True for a stored path that comes from another system: it holds a
// backslash or starts with a drive letter ("C:").
bool IsForeignPath(const std::string& path);
// Where a stored path points on this system: a foreign path is looked up by
// its file name in `dataFolder`; empty when the file is not there. Other
// paths are returned as they are.
std::string LocalConfigPath(const std::string& stored, const std::string& dataFolder);

enum class ConfigLoadResult {
  Loaded,
  Missing,      // no such file: nothing said
  WrongMagic,   // not a configuration file
  WrongLength,  // shorter or longer than a configuration file
  Unreadable,
};

// The configuration object: the file name (empty when the last save
// failed) and the record image.
class tconfig {
 public:
  const std::string& FileName() const { return file_name_; }
  void SetName(const std::string& fileName) { file_name_ = fileName; }
  const TConfigRecordImage& Record() const { return record_; }
  TConfigRecordImage& Record() { return record_; }

  // Gathers `settings` into the record and writes magic and record to
  // `fileName` on the road of every file the user picks (SaveUserFile): the
  // file loaded or saved last, changed by another program since, is written
  // over only when the user says so; a target that may not be written, or
  // a failed write, is told with its cause. Then the remembered name is
  // cleared and the answer is false. Paths that
  // cannot be stored, and names (NamesNotStorable) that are stored with '?'
  // for the characters the field cannot hold or cut, are named in one
  // warning.
  bool Save(const std::string& fileName, const TConfigSettings& settings);

  // Reads and checks the file; on Loaded the record holds it, the name is
  // remembered and `settings` holds the fields (not yet clamped). Every
  // refusal except Missing shows its message (naming the file); the record
  // and the name then stay as they were.
  ConfigLoadResult Load(const std::string& fileName, TConfigSettings& settings);

 private:
  std::string file_name_;
  TOpenedFile read_;  // the file as it was last loaded or saved
  TConfigRecordImage record_{};
};

// The file's bytes for a record image, and the check of a file's bytes.
std::vector<std::uint8_t> ConfigFileBytes(const TConfigRecordImage& record);
ConfigLoadResult CheckConfigFileBytes(const std::string& bytes);

}  // namespace kvx
