// Heliocentric position of a planet by its index, as the numerical orbit
// integration asks for the perturbing planets.
#pragma once

#include "core/vector_math.h"
#include "theories/theory_types.h"

namespace kvx {

// Heliocentric rectangular position of planet `index` (0 Mercury, 1 Venus,
// 2 Earth, 3 Mars, 4 Jupiter, 5 Saturn, 6 Uranus, 7 Neptune, 8 Pluto).
// Given handles, selection, level: the theory settings of the main window
// (with the selection's third byte set, any planet theory but the position
// files falls back to the internal series); T: Julian centuries (TT) from
// J2000; matrix: rotation applied to the position.
// Returned x, y, z: AU, ecliptic and equinox of date of the source, times
// the matrix. The Earth is the negated geocentric Sun. Pluto outside the
// range of the selected theory comes from its mean elements, unrotated.
// Indices outside 0..8 give the origin.
void PlanetPositionByIndex(const PositionFileHandles& handles, TTheorySelection selection, int index, double T,
                           long double& x, long double& y, long double& z, const TMatrix33Ext& matrix,
                           TTruncationLevel level);

}  // namespace kvx
