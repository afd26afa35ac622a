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

// The same place from the Moon cache (refitted there when needed); the
// shortcut byte is the one MoonPosition would receive.
class tmooncheb;
void MoonApparentCoordinatesFromCache(tmooncheb& cache, std::uint8_t shortcut, TTheorySelection selection, double T,
                                      double& ra, double& dec, double& r, TTruncationLevel level);

// The form of SunApparentCoordinates and MoonApparentCoordinates.
using TApparentPlaceRoutine = void (*)(std::uint8_t shortcut, const PositionFileHandles& handles,
                                       TTheorySelection selection, double T, double& ra, double& dec, double& r,
                                       TTruncationLevel level);

// A place routine with everything but the time bound to it.
struct TApparentPlaceSource {
  TApparentPlaceRoutine routine;
  std::uint8_t shortcut;
  const PositionFileHandles* handles;
  TTheorySelection selection;
  TTruncationLevel level;
};

// The source as the fitting samples it. It refers to `source`, which must
// outlive it; holding a single pointer it needs no allocation.
TPlaceAtTime ApparentPlaceAtTime(const TApparentPlaceSource& source);

// Fit of the apparent place that `Place` gives over [Ta, Tb] (Julian
// centuries) with degree N, by ChebyshevFitPlace. False, and nothing
// written, for a degree that does not fit the record.
template <TApparentPlaceRoutine Place, typename Poly>
bool ChebyshevFitApparent(std::uint8_t shortcut, const PositionFileHandles& handles, TTheorySelection selection,
                          double Ta, double Tb, int N, Poly& raPoly, Poly& decPoly, Poly& rPoly,
                          TTruncationLevel level) {
  const TApparentPlaceSource source{Place, shortcut, &handles, selection, level};
  return ChebyshevFitPlace(ApparentPlaceAtTime(source), Ta, Tb, N, raPoly, decPoly, rPoly);
}

// The fits of the Moon and the Sun in small records (N <= 8), of the Moon
// in large (N <= 19, B) and medium (N <= 13, C) ones.
inline constexpr auto ChebyshevFitMoon = &ChebyshevFitApparent<MoonApparentCoordinates, TChebyshevPoly>;
inline constexpr auto ChebyshevFitSun = &ChebyshevFitApparent<SunApparentCoordinates, TChebyshevPoly>;
inline constexpr auto ChebyshevFitMoonB = &ChebyshevFitApparent<MoonApparentCoordinates, TChebyshevPolyA>;
inline constexpr auto ChebyshevFitMoonC = &ChebyshevFitApparent<MoonApparentCoordinates, TChebyshevPolyB>;

}  // namespace kvx
