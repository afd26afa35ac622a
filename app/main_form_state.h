// The main window's state without any window: the records and settings the
// commands, the status line and the dispatcher read, their start-up
// defaults, the setters that keep settings in range and the rules of the
// occultation star catalogue's level and setting.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/computing_settings.h"
#include "app/current_objects.h"
#include "app/document_state.h"
#include "app/search_settings.h"
#include "app/star_catalogue_state.h"
#include "app/table_state.h"
#include "core/observer_record.h"
#include "core/table_step.h"
#include "engine/table_globals.h"
#include "engine/table_request.h"
#include "theories/observer_completion.h"
#include "theories/theory_libraries.h"
#include "theories/theory_types.h"

namespace kvx {

struct TConfigSettings;

// The window's state as records: each command receives the few records it
// works on. The fields left here are the window's own (the tip of the day
// and the data folder).
struct TMainFormState {
  std::uint8_t TipsFlag = 1;  // show the tip of the day at start
  std::string DataFolder;     // folder of the data files, no trailing '/'
  TStarCatalogueState StarCatalogue;

  // Start and end records, theory selection, table configuration, step,
  // the duration flag (AutoEnd) and the rest of the period check's fields.
  TEphemerisPeriodState Period;
  TTableState Table;
  TComputingSettings Computing;
  TCurrentObjects Objects;
  TDocumentState Document;
  TEclipseSettings Eclipses;
  TSearchSettings Searches;
};

// Fills `state` with the start-up defaults: observer records (Delta T
// automatic from the date, longitude -9.301 (east negative), latitude
// 51.191, zone 1, refraction on, 1010 mbar, 10 degrees C, the current date
// and time in that zone; end 10 whole days after the start with the
// duration flag set), step 1 day, the levels, the tolerance, the Moon cache
// 12 days / 13 coefficients, the second equinox J2000, catalogue setting 1,
// the default objects and table kinds 20; the rise and set of the Sun and
// the Moon exact (exact parallax and high accuracy on).
void SetStartupDefaults(TMainFormState& state);

// The start record at the current instant (CurrentDateToRecord in its own
// zone, then LocalTimeToUT), as every start of the program does after its
// configuration is loaded; the period is completed again at the next
// repaint, so that it keeps its length (duration flag) or its end.
void StartAtCurrentInstant(TMainFormState& state);

// The fields of a configuration record that stand in `state` as they are:
// the period's start and end records, the current asteroid, comet and
// variable star, the table set-up and step, and the exact parallax and
// exact Sun and Moon switches. A save takes them from the running state, a
// new configuration from the start-up defaults.
void TakeStateRecords(const TMainFormState& state, TConfigSettings& settings);

// The records a table object starts from: the period's records, step and
// theory selection, the table configuration, the computing settings and
// the table's output settings with the grid's column widths (the VSOP82
// flag stays clear and the font scale 1: the window knows the libraries
// and the table font), in the given language.
TTableRequest TableRequestOf(const TEphemerisPeriodState& period, const TTableState& table,
                             const TComputingSettings& computing, std::uint8_t language);
// The language, second equinox and rise/set settings for the body objects
// made outside a table request.
TBodySettings BodySettingsOf(const TComputingSettings& computing, std::uint8_t language);
// The rise/set settings every table, body and search request takes, made
// from the computing settings where the request is built (never stored):
// the reference altitudes; the Moon option byte; the Moon's upper limb
// seen from the observer at -34' while "exact parallax" is on, else its
// centre, geocentric, at the Moon's altitude (entry 1); the apparent places
// of the selected theories while "high accuracy" is on, else the
// low-precision Sun and Moon; the Moon from the internal series while
// "never the slow ELP2000 Moon theory" is on.
TRiseSetSettings RiseSetSettingsOf(const TComputingSettings& computing);

// --- setters with their clamps ------------------------------------------------
// Span in days: 0 gives 12, below 2 gives 2, from 21 on gives 20.
std::int32_t ClampMoonCacheSpan(std::int32_t span);
// Coefficients: 0 or from 14 on gives 13, below 6 gives 6.
std::int32_t ClampMoonCacheOrder(std::int32_t order);
void SetMoonCacheSpan(TComputingSettings& settings, std::int32_t span);
void SetMoonCacheOrder(TComputingSettings& settings, std::int32_t order);
// Second equinox T (Julian centuries from J2000).
void SetTableEquinox(TComputingSettings& settings, double t);
// The heading text of the second equinox T: " " + trunc(2000 + 100 T).
std::string SecondEquinoxHeading(double t);
// 18 for a tolerance of at most 1e-18, 17 at most 1e-17, ... 9 at most 1e-9,
// 8 otherwise.
std::uint8_t DigitsFromTolerance(long double tolerance);
void SetIntegrationTolerance(TComputingSettings& settings, long double tolerance);

// The theories a search computes with: the selection, with the Moon on its
// internal series while "Nie die langsame ELP2000-Mondtheorie verwenden" is
// on (the occultation, conjunction and event searches and the almanac read
// the switch so). The question before such a search asks about these only.
TTheorySelection SearchSelectionOf(const TTheorySelection& selection, const TNumericOptions& options);

// The theory panel's cycle of the planet theory, by what can be chosen
// (PlanetTheoryOffered): from 0 to the first offered of 1, 2, 3 (else 0);
// from 1 to 2, else 3, else 0; from 2 to 3, else 0; from 3 to 0.
std::uint8_t NextPanelTheory(std::uint8_t current, const TLibraryAvailability& libraries, bool positionFiles);

// --- occultation star catalogue -------------------------------------------------
// 2 when the folder holds "OCCINP95.DAT", else 1 with "OCCINP8.DAT", else 0
// (names matched without regard to case).
std::uint8_t OccultationCatalogueLevelOf(const std::string& dataFolder);
// setting := value, lowered to the level.
void SetOccultationCatalogueSetting(TStarCatalogueState& catalogue, std::uint8_t value);
// The start-up check: the level from the data folder, the setting lowered
// to it, then moved to the file that exists when its own is missing.
void CheckOccultationCatalogue(TStarCatalogueState& catalogue, const std::string& dataFolder);

// After the file of `failedChoice` could not be loaded: it counts as
// missing, the level and the setting are lowered as at start.
void LowerCatalogueAfterFailedLoad(TStarCatalogueState& catalogue, const std::string& dataFolder,
                                   std::uint8_t failedChoice);

// The halt message when no catalogue exists (German and English; the caption
// is "Programm angehalten" / "Application halted").
std::string CatalogueMissingText(const std::string& dataFolder, bool english);
// The halt's message when the installation has no folder of shipped data
// files (`shippedFolder`, where it was looked for), so that nothing could
// be copied into the data folder.
std::string InstallationIncompleteText(const std::string& shippedFolder, const std::string& dataFolder, bool english);
// The halt's message when occinp8.dat could not be copied into the data
// folder, with why no file can be written in it (`cause`,
// DataFolderWriteCause).
std::string DataFolderNotWritableText(const std::string& dataFolder, const std::string& cause, bool english);
const char* CatalogueMissingCaption(bool english);

}  // namespace kvx
