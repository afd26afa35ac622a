// Apparent geocentric places of the Sun and the Moon from the selected
// theories, and their Chebyshev fits (the fitting itself and the evaluation
// are in core/apparent_place_fit.h).
#pragma once

#include <cstdint>

#include "core/apparent_place_fit.h"
#include "theories/theory_types.h"

namespace kvx {

// Apparent geocentric place of the Sun, true equator and equinox of date.
// Given:    shortcut   not used (the form every place routine shares)
//           handles, selection, level   handed to SunPosition
//           T          Julian centuries of dynamical time from J2000
// Returned: ra         right ascension, degrees [0, 360)
//           dec        declination, degrees
//           r          distance, AU
// Notes:    the Sun is taken 499.2 s earlier (light time of 1 AU), which
//           gives the annual aberration; then mean obliquity of T and
//           first-order nutation.
void SunApparentCoordinates(std::uint8_t shortcut, const PositionFileHandles& handles, TTheorySelection selection,
                            double T, double& ra, double& dec, double& r, TTruncationLevel level);

// Apparent geocentric place of the Moon (MoonPosition at T, mean obliquity,
// nutation; no further light-time shift). r in Earth radii as MoonPosition
// gives it. The shortcut byte goes to MoonPosition; handles are not used.
void MoonApparentCoordinates(std::uint8_t shortcut, const PositionFileHandles& handles, TTheorySelection selection,
                             double T, double& ra, double& dec, double& r, TTruncationLevel level);

// The same place from the Moon cache (refitted there when needed).
class tmooncheb;
void MoonApparentCoordinatesFromCache(tmooncheb& cache, TTheorySelection selection, double T, double& ra, double& dec,
                                      double& r, TTruncationLevel level);

// Fits of the apparent Sun and Moon over [Ta, Tb] (Julian centuries) with
// degree N: small records (N <= 8) for ChebyshevFitMoon and ChebyshevFitSun,
// large (N <= 19) for ChebyshevFitMoonB, medium (N <= 13) for
// ChebyshevFitMoonC. False, and nothing written, for a degree that does not
// fit the record.
bool ChebyshevFitMoon(std::uint8_t shortcut, const PositionFileHandles& handles, TTheorySelection selection, double Ta,
                      double Tb, int N, TChebyshevPoly& raPoly, TChebyshevPoly& decPoly, TChebyshevPoly& rPoly,
                      TTruncationLevel level);
bool ChebyshevFitSun(std::uint8_t shortcut, const PositionFileHandles& handles, TTheorySelection selection, double Ta,
                     double Tb, int N, TChebyshevPoly& raPoly, TChebyshevPoly& decPoly, TChebyshevPoly& rPoly,
                     TTruncationLevel level);
bool ChebyshevFitMoonB(std::uint8_t shortcut, const PositionFileHandles& handles, TTheorySelection selection, double Ta,
                       double Tb, int N, TChebyshevPolyA& raPoly, TChebyshevPolyA& decPoly, TChebyshevPolyA& rPoly,
                       TTruncationLevel level);
bool ChebyshevFitMoonC(std::uint8_t shortcut, const PositionFileHandles& handles, TTheorySelection selection, double Ta,
                       double Tb, int N, TChebyshevPolyB& raPoly, TChebyshevPolyB& decPoly, TChebyshevPolyB& rPoly,
                       TTruncationLevel level);

}  // namespace kvx
