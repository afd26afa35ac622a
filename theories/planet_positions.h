// Validity interval of the selected planet theory and the geocentric
// position of a planet, corrected for light time and aberration.
#pragma once

#include <cstdint>

#include "theories/planet_series.h"
#include "theories/theory_types.h"

namespace kvx {

// Whether T lies strictly inside the validity interval of the selected
// planet theory.
//
// Given:
//   selection  byte 0 the planet theory
//   T          Julian centuries from J2000, dynamical time
// Returns:
//   internal series: -1.1 < T < 1.0 (1889 Dec 31 to 2100 Jan 1.5);
//   libraries and position files (theories 1, 2, 3): -2.999931554 < T <
//   1.000616016 (about 1700 Jan 1.0 to 2100 Jan 24.0).
// Notes:
//   Every byte that selects the internal series (0 and 4..255) gets the
//   interval of the internal series.
bool DateInTheoryRange(TTheorySelection selection, double T);

// Body numbers of PlanetPositionDispatch.
inline constexpr std::int32_t kDispatchSun = 0;
inline constexpr std::int32_t kDispatchEarth = 3;
inline constexpr std::int32_t kDispatchPluto = 9;

// The heliocentric place of `body` (1 Mercury, 2 Venus, 4 Mars .. 8
// Neptune, 9 Pluto) at T (Julian centuries from J2000, dynamical time) from
// its routine, with the body's position file from `handles` (Mercury 1 ..
// Pluto 8); every value 0 for any other body number.
THeliocentricPlace PlanetHeliocentricPlace(const PositionFileHandles& handles, TTruncationLevel level,
                                           TTheorySelection selection, std::int32_t body, double T);

// Most passes of the light-time iteration (it converges in two or three).
inline constexpr int kLightTimePassLimit = 10;

// Geocentric position of a planet from its heliocentric position and the
// geocentric position of the Sun, with light time and aberration.
//
// Given:
//   handles      the nine open position files (planet theory 3)
//   level        truncation level of the theory libraries
//   selection    byte 0 the planet theory; 2 and 3 take branch B
//                (rectangular inputs), every other value branch A
//                (spherical inputs)
//   T            Julian centuries from J2000, dynamical time
//   planetL, planetB, planetR
//                planet's heliocentric ecliptic longitude, latitude
//                (degrees) and distance (AU); branch A only
//   sunL, sunB, sunR
//                Sun's geocentric ecliptic longitude, latitude (degrees) and
//                distance (AU); branch A only
//   body         0 Sun, 1 Mercury, 2 Venus, 3 Earth, 4 Mars, 5 Jupiter,
//                6 Saturn, 7 Uranus, 8 Neptune, 9 Pluto
//   correction   branch A: > 0 applies light time and aberration
//   planetX, planetY, planetZ
//                branch B: the planet's heliocentric position at T, AU
//   sunX, sunY, sunZ, sunVX, sunVY, sunVZ
//                branch B: the Sun's geocentric position (AU) and velocity
//                (AU per day)
// Returned:
//   planetX, planetY, planetZ
//                branch A: the planet's heliocentric position, AU
//   apparentX, apparentY, apparentZ
//                geocentric position corrected for light time and
//                aberration (the geometric one in branch A with correction
//                <= 0), AU
//   astrometricX, astrometricY, astrometricZ
//                geocentric position corrected for light time only, AU
//                (left untouched in branch A with correction <= 0)
//   distance     geometric geocentric distance, AU (0 for the Earth)
//   planetVX, planetVY, planetVZ
//                the planet's heliocentric velocity, AU per day: branch A
//                from approximate rates of the spherical coordinates,
//                branch B as the planet routine gives it at the light-time
//                corrected instant
// Notes:
//   All rectangular coordinates are ecliptic, in the frame of the inputs
//   (mean ecliptic and equinox of date for the internal series and the
//   libraries). Branch B repeats the planet routine at T minus the light
//   time until two passes agree to 0.01 s, at most kLightTimePassLimit
//   times; the last pass is used.
void PlanetPositionDispatch(PositionFileHandles handles, TTruncationLevel level, TTheorySelection selection, double T,
                            double planetL, double planetB, double planetR, double sunL, double sunB, double sunR,
                            std::int32_t body, std::int32_t correction, double& planetX, double& planetY,
                            double& planetZ, double sunX, double sunY, double sunZ, double& apparentX,
                            double& apparentY, double& apparentZ, double& astrometricX, double& astrometricY,
                            double& astrometricZ, double& distance, double sunVX, double sunVY, double sunVZ,
                            double& planetVX, double& planetVY, double& planetVZ);

}  // namespace kvx
