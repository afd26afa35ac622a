// Validity interval of the selected planet theory and the geocentric
// position of a planet, corrected for light time and aberration.
#pragma once

#include <cstdint>

#include "theories/planet_series.h"
#include "theories/theory_types.h"

namespace kvx {

struct TObserverRecord;

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

// The Sun's geocentric place as PlanetPositionDispatch reads it: ecliptic
// of date (the frame of the inputs).
struct TDispatchSun {
  double L = 0, B = 0, R = 0;     // longitude, latitude (degrees), distance (AU); branch A
  double X = 0, Y = 0, Z = 0;     // rectangular position, AU; branch B
  double VX = 0, VY = 0, VZ = 0;  // velocity, AU per day; branch B
};

// The Sun of an observer record (its SunLongitude .. SunVZ).
TDispatchSun DispatchSunOf(const TObserverRecord& observer);

// The planet's values that PlanetPositionDispatch reads and writes. A value
// the branch taken does not write keeps what the caller put in.
struct TDispatchPlanet {
  // Given: heliocentric ecliptic longitude, latitude (degrees) and distance
  // (AU); branch A only.
  double L = 0, B = 0, R = 0;
  // Heliocentric position, AU: given in branch B, returned in branch A.
  double X = 0, Y = 0, Z = 0;
  // Returned: geocentric position corrected for light time and aberration
  // (the geometric one in branch A with correction <= 0), AU.
  double ApparentX = 0, ApparentY = 0, ApparentZ = 0;
  // Returned: geocentric position corrected for light time only, AU (left
  // untouched in branch A with correction <= 0).
  double AstrometricX = 0, AstrometricY = 0, AstrometricZ = 0;
  // Returned: geometric geocentric distance, AU (0 for the Earth).
  double Distance = 0;
  // Returned: heliocentric velocity, AU per day: branch A from approximate
  // rates of the spherical coordinates, branch B as the planet routine
  // gives it at the light-time corrected instant (left untouched for the
  // Earth in branch B).
  double VX = 0, VY = 0, VZ = 0;
};

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
//   body         0 Sun, 1 Mercury, 2 Venus, 3 Earth, 4 Mars, 5 Jupiter,
//                6 Saturn, 7 Uranus, 8 Neptune, 9 Pluto
//   correction   branch A: > 0 applies light time and aberration
//   sun          the Sun's geocentric place
// Given and returned:
//   planet       see TDispatchPlanet
// Notes:
//   All rectangular coordinates are ecliptic, in the frame of the inputs
//   (mean ecliptic and equinox of date for the internal series and the
//   libraries). Branch B repeats the planet routine at T minus the light
//   time until two passes agree to 0.01 s, at most kLightTimePassLimit
//   times; the last pass is used.
void PlanetPositionDispatch(const PositionFileHandles& handles, TTruncationLevel level, TTheorySelection selection,
                            double T, std::int32_t body, std::int32_t correction, const TDispatchSun& sun,
                            TDispatchPlanet& planet);

}  // namespace kvx
