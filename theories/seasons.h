// Instants of the equinoxes and solstices from the Sun's apparent
// longitude of the selected theory. The mean instants they start from are
// in core/moon_phases.h (MeanSeasonJde).
#pragma once

#include <array>
#include <cstdint>

#include "theories/theory_types.h"

namespace kvx {

// The Sun's apparent geocentric ecliptic longitude of date, degrees
// [0, 360): the Sun of the selected theory corrected for light time and
// aberration, then for nutation (rotated to the mean equator, nutation
// applied, rotated back with the mean obliquity).
// Given:    handles, selection, level  theory set-up of the Sun
//           T   Julian centuries of dynamical time from J2000
double ApparentSunLongitude(const PositionFileHandles& handles, TTheorySelection selection, TTruncationLevel level,
                            double T);

// Instants (JDE) of the four seasons of the year year + yearOffset - 2
// (callers pass 2): starts[0] March equinox, [1] June solstice,
// [2] September equinox, [3] December solstice.
// Notes:    from the mean instant, three corrections
//           jde += 58 sin(90 season - apparent longitude) days; no
//           convergence test (three steps bring the mean instant to well
//           under a second of the theory's instant).
// Reference: Meeus, Astronomical Algorithms, chapter 27.
void SeasonStartsOfYear(const PositionFileHandles& handles, TTheorySelection selection, std::int32_t year,
                        std::int32_t yearOffset, std::array<double, 4>& starts, TTruncationLevel level);

}  // namespace kvx
