// The planet part of the Jupiter and Saturn moon blocks: the host planet's
// heliocentric place and its apparent geocentric place, shared by the moon
// theories of both planets.
#pragma once

#include <cstdint>

#include "core/observer_record.h"
#include "core/position_blocks.h"
#include "theories/theory_types.h"

namespace kvx {

// Body numbers of the two host planets (as PlanetPositionDispatch counts).
inline constexpr std::int32_t kHostJupiter = 5;
inline constexpr std::int32_t kHostSaturn = 6;

// Clears the planet fields of `block` and fills them for Jupiter or Saturn.
//
// Given:
//   handles, level, selection  handed unchanged to the planet routine
//                              (slot body - 1) and to PlanetPositionDispatch
//   observer   a completed record: the Sun's geocentric ecliptic place of
//              date (SunLongitude, SunLatitude in degrees, SunDistance,
//              SunX.., SunVX.. in AU and AU/day)
//   body       kHostJupiter or kHostSaturn
//   T          Julian centuries from J2000, dynamical time, of the instant
//              the observer sees (the dispatch removes the light time)
// Returned (block, ecliptic and equinox of date, AU and degrees):
//   HelioX..HelioVZ, HelioR, HelioB, HelioL  the planet routine at T (the
//              velocity as the dispatch leaves it); HelioZCopy = HelioZ
//   Cleared    0
//   ApparentX..Z    geocentric, light time and aberration applied
//   Delta      geometric geocentric distance
//   AstrometricX..Z  geocentric, light time only, turned to the mean
//              equator of date
//   EquatorialX..Z   the apparent vector on the true equator of date
//              (nutation added); Declination, RightAscension, and
//              EquatorialDistance its polar form
//   ApparentDistance, ApparentLatitude, ApparentLongitude  the polar form
//              of that vector turned back to the ecliptic (mean obliquity)
// The moon arrays of the block are not touched.
void FillHostPlanetBlock(const PositionFileHandles& handles, TTruncationLevel level, TTheorySelection selection,
                         const TObserverRecord& observer, std::int32_t body, double T, TPlanetMoonsBodyBlock& block);

}  // namespace kvx
