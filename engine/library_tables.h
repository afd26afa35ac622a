// Planet tables taken straight from the external theory libraries, for one
// instant (the observer record's T, dynamical time):
//   PlanetCoordinateTableVsop87a  heliocentric position and velocity of the
//       planets (VSOP87 A; Pluto from its table-driven series within its
//       range) in four frames: equator of date, equator of J2000, ecliptic
//       of date, ecliptic of J2000. AU and AU per day.
//   PlanetCoordinateTableVsop82   osculating elements of the planets
//       (VSOP82; Pluto from its state vector), angles of J2000 and then the
//       four angles of date. a in AU, angles in degrees, n in degrees/day.
// Both write to the workbook sheet or the result grid through a TCellSink
// and check their library first: an absent library gives its message and
// writes nothing. The names are the tables' own (the global planet-name
// table is not touched).
#pragma once

#include <cstdint>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "engine/kepler.h"
#include "engine/table_sink.h"
#include "theories/theory_libraries.h"

namespace kvx {

// The table kinds the dispatcher registers for the two tables (menu items
// "Statusvektor VSOP87 A" and "Orbital elements VSOP87 A").
inline constexpr int kTableKindStateVectorVsop87a = 872;
inline constexpr int kTableKindElementsVsop82 = 874;

// Where a library table goes: the sheet when WorkbookView is set, else the
// grid (either may be null when it is not the target).
struct TLibraryTableTarget {
  std::uint8_t WorkbookView = 0;
  TSheet* Sheet = nullptr;
  tmystringgrid* Grid = nullptr;
  TTableOutputSettings Output;
  std::uint8_t Language = 0;  // the body names: 0 German, else English
};

// Frame titles of the VSOP87 A table, the same in both languages.
inline constexpr const char* kLibraryFrameTitles[4] = {"Aequ. date", "Aequ. J2000", "Ecl. date", "Ecl. J2000"};

// The VSOP87 A table; false (message shown, nothing written) when the
// library is absent. Blocks of 12 rows from rows 1, 13, 25 and 37.
bool PlanetCoordinateTableVsop87a(TComputeSettingsBlock settings, const TLibraryTableTarget& target,
                                  const TObserverRecord& observer, std::int32_t vsopLevelA,
                                  const TTableConfigRecord& config, const TLibraryAvailability& libraries);
// The VSOP82 element table; false as above.
bool PlanetCoordinateTableVsop82(TComputeSettingsBlock settings, const TLibraryTableTarget& target,
                                 const TObserverRecord& observer, const TTableConfigRecord& config,
                                 const TLibraryAvailability& libraries);

}  // namespace kvx
