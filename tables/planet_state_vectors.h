// The heliocentric state vectors of the planets from the VSOP87 C library
// in four frames, for one instant (the observer record's T, dynamical
// time): equator of date, equator of J2000, ecliptic of date, ecliptic of
// J2000.
//
// Mercury to Neptune come from the VSOP87 C routines (the library's Earth
// entry is labelled "Erde"/"Earth"); Pluto from its table-driven series and
// only while T lies in that series' range, otherwise its rows are left out
// of every block. The library gives the ecliptic and equinox of date; the
// equator of date uses the mean obliquity of T (no nutation), the J2000
// frames the IAU 1976 precession. Units: AU and AU per day.
//
// Layout: four blocks n + 2 rows apart (n = 9 bodies, 8 without Pluto):
// a heading row (the frame title, the headings of slots 98 .. 103 and 4),
// one row per body, one empty row. The grid has 44 rows and 9 columns.
#pragma once

#include <array>
#include <cstdint>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "engine/kepler.h"
#include "engine/library_tables.h"
#include "theories/theory_libraries.h"

namespace kvx {

inline constexpr int kTableKindStateVectorVsop87c = 871;

// The bodies of one instant: position and velocity per body in the
// ecliptic and equinox of date, as the theory routines return them.
struct TPlanetStateVectors {
  int Count = 0;  // 9 with Pluto, 8 without
  std::array<std::array<double, 6>, 9> State{};
};

// The vectors at T (Julian centuries of TT) with the truncation level.
TPlanetStateVectors PlanetStateVectorsOfDate(TComputeSettingsBlock settings, double T, TTruncationLevel level);

// Turns one state (position and velocity) of the ecliptic of date at T
// into frame f (0 equator of date, 1 equator of J2000, 2 ecliptic of
// date, 3 ecliptic of J2000).
std::array<double, 6> PlanetStateInFrame(const std::array<double, 6>& ofDate, double T, int frame);

// The table. False, with the message "Die Bibliothek VSOP87 C ist nicht
// vorhanden." / "The VSOP87 C library is not available." and nothing
// written, while the library is absent.
bool PlanetsFourFramesTable(TComputeSettingsBlock settings, const TLibraryTableTarget& target,
                            const TObserverRecord& observer, TTruncationLevel vsopLevelA,
                            const TTableConfigRecord& config, const TLibraryAvailability& libraries);

}  // namespace kvx
