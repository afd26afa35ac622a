// Completion of the observer record's derived block (it needs the Sun) and
// the checks the main window runs on the period of a table before it
// computes: end-date clamp, row limit, validity of the position files and
// of the integration database.
#pragma once

#include <cstdint>
#include <functional>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "core/table_step.h"
#include "theories/theory_types.h"

namespace kvx {

// Fills the derived block of `r` for its date and place.
// Given:    apparent   non-zero: apparent sidereal time (with nutation)
//           selection  theory selection handed to SunPosition
//           config     decides only whether the Sun one hour later is
//                      computed (any hourly-motion column on)
//           sunMode    truncation level handed to SunPosition
//           handles    the open position files (the main window's), read
//                      only with planet theory 3
// Changed:  r          local time normalised into the date (25 h becomes
//                      1 h of the next day), Weekday, UTHours, Mjd,
//                      DeltaTSeconds (when AutoDeltaT), SiderealHours,
//                      Centuries and the whole derived block
void CompleteObserverRecord(std::uint8_t apparent, TTheorySelection selection, const TTableConfigRecord& config,
                            std::int32_t sunMode, TObserverRecord& r,
                            const PositionFileHandles& handles = PositionFileHandles{});
// The part of CompleteObserverRecord the places of a body read, for the
// searches that compute places only: the time fields, Delta T, Centuries,
// the precession matrix, the Sun's fields and the obliquity, each the value
// the whole completion gives. SiderealHours, the geocentric latitude and
// radius with the latitude's sine and cosine, the Earth's velocity and the
// apparent Sun are set to NaN (not computed).
void CompleteObserverInstant(TTheorySelection selection, const TTableConfigRecord& config, std::int32_t sunMode,
                             TObserverRecord& r, const PositionFileHandles& handles = PositionFileHandles{});

// The main window's fields that CheckEphemerisPeriod reads and writes. The
// main window owns one and passes it by reference.
struct TEphemerisPeriodState {
  TObserverRecord Start;       // start of the period
  TObserverRecord End;         // end of the period
  TTheorySelection Selection;  // current theory selection
  std::uint8_t ApparentSiderealTime = 0;
  std::int32_t SunMode = kFullTheory;  // truncation level handed to the Sun
  TTableConfigRecord TableConfig;
  TTableStep Step;                    // step of the table (the time loop adds Step.StepDays)
  std::uint8_t AutoEnd = 0;           // end = start + PeriodDays + PeriodHours
  std::uint8_t SecondPeriodFlag = 0;  // cleared by the row limit
  std::uint8_t ShowMessages = 1;      // the span and clamp messages appear only when set
  std::int32_t RememberedYear = 0;
  std::uint8_t YearChanged = 0;
  std::uint8_t TheoryInRange = 1;
  std::uint8_t IntegrationDatabase = 0;   // the integration database is in use
  double IntegrationDatabaseFirstJd = 0;  // held as six-byte reals by the main window
  double IntegrationDatabaseLastJd = 0;
  double PositionFilesLastJd = 0;       // last JD of the ".vsc" files
  PositionFileHandles PositionFiles{};  // the open ".vsc" files
  double SatelliteReferenceMjd = 0;     // satellite reference date
  std::uint8_t SatellitesEnabled = 0;

  // Installs a theory selection by the main window's rules (libraries and
  // files present). Empty: the selection is taken as it is.
  std::function<void(TTheorySelection)> ApplyTheorySelection;
  // Rebuilds the status line from the start record. May be empty.
  std::function<void()> UpdateStatusLine;
};

// Latest Julian day a table may reach, and the most rows after the first.
inline constexpr double kLastTableJulianDay = 5373484.0;
inline constexpr int kMaxTableSteps = 16382;

// The checks before a table, in this order: year change; position files
// valid at the start; end from the automatic length or from its local
// time; end clamped to JD 5373484; at most 16382 steps (a shortened end
// switches the automatic end off and stays a date); position files
// valid at the end; integration database valid at start and end; both
// records completed; theory range of the start; status line; satellites
// enabled for 1957 Jan 1 up to a century after their reference date.
// A clamped end is what the end record holds afterwards, its automatic
// length (PeriodDays, PeriodHours) included, so the next check (or a saved
// configuration) finds nothing to clamp. Messages go through ShowMessage
// (stop icon); see the definitions.
void CheckEphemerisPeriod(TEphemerisPeriodState& state);

}  // namespace kvx
