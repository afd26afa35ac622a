// Geocentric position of the Sun from the source the planet theory selects
// (internal series, VSOP87 D or C library, position files), and the Sun's
// altitude above a place's horizon.
#pragma once

#include <cstdint>

#include "theories/theory_types.h"

namespace kvx {

// Geometric geocentric position of the Sun, mean ecliptic and equinox of date.
// Given:    handles    the nine open position files (slot 0, "sun.vsc", holds
//                      the Earth); read only with planet theory 3
//           selection  byte 0 picks the source: 0 internal series,
//                      1 VSOP87 D library, 2 VSOP87 C library, 3 position files
//           T          Julian centuries of dynamical time from J2000
//           level      truncation level of the theory libraries
// Returned: L, B       ecliptic longitude [0, 360) and latitude, degrees
//           R          distance, AU
//           X, Y, Z    ecliptic rectangular coordinates, AU
//           VX, VY, VZ velocity, AU/day, where the source gives one
//                      (VSOP87 C and the position files), else 0
// Notes:    the internal series is an analytic solar theory with the
//           perturbations of Venus, Mars, Jupiter, Saturn and the Moon
//           (about 1" over 1900-2100). The library roads need their library
//           loaded: the main window selects them only then. A planet theory
//           byte above 3 selects the internal series.
void SunPosition(const PositionFileHandles& handles, TTheorySelection selection, double& L, double T, double& B,
                 double& R, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ,
                 TTruncationLevel level);

// Altitude of the Sun's centre above the horizon, degrees, no refraction.
// Given:    accurate   non-zero: apparent Sun of the selected theory;
//                      zero: the low-precision Sun (theory settings unused)
//           handles, selection, level   as for SunPosition
//           T          Julian centuries of dynamical time from J2000
//           latitude   geographic latitude, degrees, north positive
//           longitude  geographic longitude, degrees, east negative
//           apparentSidereal  handed to LocalSiderealTime
// Notes:    the sidereal time is taken at the instant T names (no Delta T
//           is removed), as the callers' darkness tests expect.
double SunAltitude(std::uint8_t accurate, const PositionFileHandles& handles, double T, double latitude,
                   double longitude, TTheorySelection selection, TTruncationLevel level, std::uint8_t apparentSidereal);

}  // namespace kvx
