// Constants of astronomy that several parts of the program share, each kept
// here once with the value the program has always used (the truncated values
// of pi are in core/tabulated_constants.h).
#pragma once

namespace kvx {

// Julian date of the epoch J2000.0 (2000 January 1, 12h, dynamical time).
inline constexpr double kJulianDateJ2000 = 2451545.0;

// The Earth's equatorial radius of the IAU 1976 system, km: the unit of the
// Moon's distance in Earth radii.
inline constexpr double kEarthEquatorialRadiusKm = 6378.14;

// The astronomical unit of the IAU 1976 system rounded to the kilometre.
inline constexpr double kAstronomicalUnitKm = 149597870.0;

}  // namespace kvx
