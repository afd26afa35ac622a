// Osculating elements of the major planets from the VSOP82 library, for the
// element columns of the planet tables and for the library tables.
//
// Frames and units: heliocentric, mean ecliptic and equinox of J2000 (the
// library's frame); a and q in AU, angles in degrees, n in degrees per day.
// Time: the JD given is dynamical time (TT).
#pragma once

#include <cstdint>

#include "theories/theory_types.h"

namespace kvx {

// A set of osculating elements as the element columns write them.
struct TOsculatingElements {
  long double a = 0;  // semi-major axis, AU (negative: hyperbola)
  long double q = 0;  // perihelion distance, AU
  long double e = 0;
  long double i = 0;               // inclination
  long double node = 0;            // longitude of the ascending node
  long double argPerihelion = 0;   // argument of perihelion
  long double lonPerihelion = 0;   // longitude of perihelion
  long double M = 0;               // mean anomaly
  long double n = 0;               // mean daily motion
  long double perihelionTime = 0;  // JD (TT) of the perihelion passage

  // Every value NaN: what a set that could not be computed holds, so that
  // the writers leave its cells empty.
  static TOsculatingElements Unknown();
};

// The planet's mass in solar masses (planet index 1 Mercury .. 9 Pluto; 3 is
// the Earth-Moon barycentre): the masses the VSOP theories were built with
// (Pluto, which they lack, 1/130,000,000). 0 for any other index.
long double PlanetMassRatio(int planet);

// Elements of planet 1..9 at the dynamical time `jdTT` with the mass `mass`.
// Mercury to Neptune from the VSOP82 library (equinoctial elements turned
// into classical ones; the Earth's are those of the Earth-Moon barycentre);
// Pluto from its position routine (theory by `selection`) when the date lies
// in that theory's range, precessed to J2000 and turned into elements.
// Returns false, with `out` Unknown(), when the library is absent
// (`vsop82Available` 0), the planet index is outside 1..9, Pluto lies outside
// its range or the library's values give no orbit. The perihelion time is
// not computed (NaN).
bool PlanetPositionsVsop82(PositionFileHandles handles, TTheorySelection selection, std::uint8_t vsop82Available,
                           int planet, double jdTT, long double mass, TOsculatingElements& out);

}  // namespace kvx
