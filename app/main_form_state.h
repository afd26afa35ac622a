// The main window's state without any window: the records and settings the
// commands, the status line and the dispatcher read, their start-up
// defaults, the setters that keep settings in range and the rules of the
// occultation star catalogue's level and setting.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/element_file_ranges.h"
#include "core/observer_record.h"
#include "core/table_step.h"
#include "core/variable_star_elements.h"
#include "eclipses/lunar_eclipse.h"
#include "engine/table_globals.h"
#include "engine/table_request.h"
#include "events/search_options.h"
#include "setup/numeric_options.h"
#include "theories/observer_completion.h"
#include "theories/theory_types.h"

namespace kvx {

// The table kind that means "no table".
inline constexpr std::int32_t kNoTableKind = 20;

struct TMainFormState {
  // --- start-up and documents --------------------------------------------
  std::uint8_t TipsFlag = 1;         // show the tip of the day at start
  std::int32_t UntitledCounter = 0;  // new untitled documents so far
  std::uint8_t UndoFlag = 0;         // the sheet holds an open table transaction
  std::uint8_t DocumentSaved = 1;
  std::int32_t RecentFilesCount = 10;  // size of the recent-files list
  std::uint8_t WorkbookView = 1;       // non-zero: tables go into the workbook sheet
  std::int32_t DefaultSheetNumber = 16;
  // The separator of csv files and of the result grid's clipboard copy:
  // 0 ";", 1 ",", 2 ".", 3 tab (CsvSeparatorChar).
  std::uint8_t CsvSeparatorIndex = 0;
  std::string DataFolder;  // folder of the data files, no trailing '/'

  // --- occultation star catalogue ----------------------------------------
  std::uint8_t OccultationCatalogueLevel = 2;    // 2 large file present, 1 small only, 0 none
  std::uint8_t OccultationCatalogueSetting = 1;  // 1 small, 2 large, 0 none; never above the level
  std::int32_t SelectedStar = -1;                // index into the catalogue, -1 all stars
  std::uint8_t StarCatalogueLoading = 0;         // 1 while a load runs

  // --- tables and the period ------------------------------------------------
  std::int32_t TableKind = kNoTableKind;
  std::int32_t PreviousTableKind = kNoTableKind;
  std::int32_t ObjectNumber = 0;
  std::int32_t PreviousObjectNumber = 0;
  std::uint8_t TableChanged = 0;  // a setting changed: the period is completed on the next paint
  // Date-list mode (tables on the dates of JulianDateList, one Julian day
  // per line) and the list.
  std::uint8_t DateListMode = 0;
  std::vector<std::string> JulianDateList;
  std::uint8_t PlaceConfirmed = 0;
  std::uint8_t ObjectChanged = 0;
  std::uint8_t WarningsOption = 1;
  std::int16_t TransitPlanet = 1;
  // Start and end records, theory selection, table configuration, step,
  // the duration flag (AutoEnd) and the rest of the period check's fields.
  TEphemerisPeriodState Period;
  // The table-configuration dialog's preview body (0 "Alle", 1 the Sun ..
  // 14 the integrated comet) and its switch for rise, set and twilight
  // times as Julian dates, which the table writers read.
  std::int32_t TableConfigPreview = 0;
  std::uint8_t RiseSetAsJulianDate = 0;
  double SolarEclipseSearchMinutes = 5;
  double SolarEclipseSearchSpanHours = 8;
  std::int32_t PhaseTableMinutes = 1;  // step of the eclipse phase table
  std::int32_t PhaseTableSeconds = 0;
  std::uint8_t SolarEclipseCriterion = 0;  // the calendar keeps local kinds from this one on (0..3)
  // The lunar-eclipse calendar's criteria and the event list of the last
  // lunar eclipse found.
  TLunarEclipseCriteria LunarCriteria;
  TLunarEclipseList LunarEclipseResults;

  // --- computing settings ---------------------------------------------------
  std::int32_t VsopLevelA = -1;  // truncation level of the ephemerides ("Full")
  std::int32_t VsopLevelB = 10;  // truncation level of the integration
  long double IntegrationTolerance = 1e-10L;
  std::uint8_t AccuracyDigits = 10;  // digits of the integration tolerance
  // The numeric options; the Moon cache's span (days of one Chebyshev fit)
  // and order (coefficients) live here, set through their setters.
  TNumericOptions NumericOptions;
  std::uint8_t MoonCacheFlag = 1;  // Moon positions through the cache
  std::uint8_t MoonOption = 0;
  double SecondEquinox = 0.0;  // Julian centuries from J2000
  // The rise/set altitudes and switches the tables and searches take (the
  // altitudes as last stored or accepted in the numeric options).
  TRiseSetSettings RiseSet;
  std::uint8_t HalfTurnOffsetFlag = 0;
  double HalfTurnOffsetAngle = 0.0;  // 180 degrees while the flag is set
  std::uint8_t SatellitesEnabled = 0;
  std::uint8_t IntegrationDatabase = 0;     // the position database for integrations is present
  std::uint8_t UseIntegrationDatabase = 0;  // integrations read the planets from that database
  std::uint8_t IntegratorChoice = 0;        // 0 Runge-Kutta, otherwise Adams
  std::uint8_t FastSearchOption = 0;        // searches always use the internal series
  // The moon-event runs: the chosen moon of Jupiter (1..4) and of Saturn's
  // eight-moon list (1..8), and the event code (0..3) both share.
  std::int32_t JupiterMoon = 1;
  std::int32_t SaturnMoon = 1;
  std::uint8_t MoonEvent = 0;
  TTheorySelection SavedSelection;  // the live selection kept around a search

  // --- current objects -----------------------------------------------------
  TAsteroidElements CurrentAsteroid;
  TCometElements CurrentComet;  // its name is the object name ("Kein Komet": none)
  // The current variable star's light elements ("Kein Variabler": none);
  // the variable-star table computes it as it stands.
  TVariableStarElements CurrentVariableStar{.Name = "Kein Variabler", .Type = ""};
  std::string CurrentDatabaseAsteroid;
  std::int32_t UserObjectIndex = -1;            // the chosen object of the user catalogue, -1 none
  std::string UserCatalogueFile;                // the user catalogue's file, empty for none
  std::vector<std::string> UserCatalogueLines;  // its lines as last read or edited
  // The ".eel" files of the asteroid-database folder (full paths), set when
  // the folder changed so that the selection dialog starts its lists anew,
  // and the files last chosen there.
  std::vector<std::string> DatabaseFiles;
  std::uint8_t DatabaseListChanged = 0;
  std::vector<std::string> ChosenDatabaseAsteroids;
  std::uint8_t SeparatorsUsable = 1;  // no locale separator holds "#" or "*"
  std::uint8_t ElementsChanged = 0;   // the current asteroid or comet was replaced
  std::uint8_t SettingsChanged = 0;   // something the configuration keeps changed
  // Chosen entry ranges of the user catalogue and the element files.
  TElementFileRanges ElementFileRanges;

  // --- event search ----------------------------------------------------------
  TEventSearchOptions EventSearchOptions;
  std::uint8_t ResultsIntoTable = 0;  // "Ergebnisse in Tabelle" of the searches
  std::uint8_t EventUsesPeriod = 0;   // "Ephemeridenzeitraum verwenden" of the event search
  std::uint8_t AsteroidDatabase = 0;  // the asteroid from the database ("Keplerelemente verwenden" clear)
};

// Fills `state` with the start-up defaults: observer records (Delta T
// automatic from the date, longitude -9.301 (east negative), latitude
// 51.191, zone 1, refraction on, 1010 mbar, 10 degrees C, the current date
// and time in that zone; end 10 whole days after the start with the
// duration flag set), step 1 day, the levels, the tolerance, the Moon cache
// 12 days / 13 coefficients, the second equinox J2000, catalogue setting 1,
// the default objects and table kinds 20.
void SetStartupDefaults(TMainFormState& state);

// The start record at the current instant (CurrentDateToRecord in its own
// zone, then LocalTimeToUT), as every start of the program does after its
// configuration is loaded; the period is completed again at the next
// repaint, so that it keeps its length (duration flag) or its end.
void StartAtCurrentInstant(TMainFormState& state);

// The records a table object starts from: the period's records, step and
// theory selection, the table configuration, the computing settings and
// the output settings held in `state` (the VSOP82 flag stays clear: the
// window knows the libraries), in the given language.
TTableRequest TableRequestOf(const TMainFormState& state, std::uint8_t language);
// The language, second equinox and rise/set settings for the body objects
// made outside a table request.
TBodySettings BodySettingsOf(const TMainFormState& state, std::uint8_t language);

// --- setters with their clamps ------------------------------------------------
// Span in days: 0 gives 12, below 2 gives 2, from 21 on gives 20.
std::int32_t ClampMoonCacheSpan(std::int32_t span);
// Coefficients: 0 or from 14 on gives 13, below 6 gives 6.
std::int32_t ClampMoonCacheOrder(std::int32_t order);
void SetMoonCacheSpan(TMainFormState& state, std::int32_t span);
void SetMoonCacheOrder(TMainFormState& state, std::int32_t order);
// Second equinox T (Julian centuries from J2000).
void SetTableEquinox(TMainFormState& state, double t);
// The heading text of the second equinox T: " " + trunc(2000 + 100 T).
std::string SecondEquinoxHeading(double t);
void SetHalfTurnOffsetFlag(TMainFormState& state, std::uint8_t flag);
// 18 for a tolerance of at most 1e-18, 17 at most 1e-17, ... 9 at most 1e-9,
// 8 otherwise.
std::uint8_t DigitsFromTolerance(long double tolerance);
void SetIntegrationTolerance(TMainFormState& state, long double tolerance);

// The theory panel's cycle of the planet theory, by what is present: from
// 0 to the first present of 1, 2, 3 (else 0); from 1 to 2, else 3, else 0;
// from 2 to 3, else 0; from 3 to 0.
std::uint8_t NextPanelTheory(std::uint8_t current, bool vsop87d, bool vsop87c, bool positionFiles);

// --- occultation star catalogue -------------------------------------------------
// 2 when the folder holds "OCCINP95.DAT", else 1 with "OCCINP8.DAT", else 0
// (names matched without regard to case).
std::uint8_t OccultationCatalogueLevelOf(const std::string& dataFolder);
// setting := value, lowered to the level.
void SetOccultationCatalogueSetting(TMainFormState& state, std::uint8_t value);
// The start-up check: the level from the folder, the setting lowered to it,
// then moved to the file that exists when its own is missing.
void CheckOccultationCatalogue(TMainFormState& state);

// After the file of `failedChoice` could not be loaded: it counts as
// missing, the level and the setting are lowered as at start.
void LowerCatalogueAfterFailedLoad(TMainFormState& state, std::uint8_t failedChoice);

// The halt message when no catalogue exists (German and English; the caption
// is "Programm angehalten" / "Application halted").
std::string CatalogueMissingText(const std::string& dataFolder, bool english);
const char* CatalogueMissingCaption(bool english);

}  // namespace kvx
