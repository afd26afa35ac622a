// Heliocentric positions of the planets from the VSOP87 A and C libraries,
// rectangular and spherical in one call, reduced to the FK5 frame. Used by
// the planet coordinate tables.
//
// Every wrapper takes the same arguments:
//   Given:    T      Julian centuries from J2000, dynamical time;
//             level  truncation level (-1 full, 4, 6, 8, 10), handed to the
//                    library as a double.
//   Returned: X, Y, Z  heliocentric rectangular ecliptic coordinates, AU,
//                      rebuilt from the FK5-corrected L and B;
//             VX, VY, VZ the library's velocity, AU per day, not corrected;
//             R (AU), B and L (degrees, L in [0, 360)) FK5-corrected.
// Frame: VSOP87 A (Vsop87A...) ecliptic and equinox of J2000; VSOP87 C
// (Vsop87C...) mean ecliptic and equinox of date. The caller makes sure the
// library is present (its availability byte); an absent library gives
// zeros.
#pragma once

#include "theories/theory_types.h"

namespace kvx {

#define KVX_VSOP_WRAPPER(name)                                                                                  \
  void name(double& L, double& B, double& R, double T, double& X, double& Y, double& Z, double& VX, double& VY, \
            double& VZ, TTruncationLevel level)

KVX_VSOP_WRAPPER(Vsop87AMercury);
KVX_VSOP_WRAPPER(Vsop87AVenus);
KVX_VSOP_WRAPPER(Vsop87AMars);
KVX_VSOP_WRAPPER(Vsop87AJupiter);
KVX_VSOP_WRAPPER(Vsop87ASaturn);
KVX_VSOP_WRAPPER(Vsop87AUranus);
KVX_VSOP_WRAPPER(Vsop87ANeptune);
KVX_VSOP_WRAPPER(Vsop87AEarth);
KVX_VSOP_WRAPPER(Vsop87AEarthMoon);  // the Earth-Moon barycentre
KVX_VSOP_WRAPPER(Vsop87CMercury);
KVX_VSOP_WRAPPER(Vsop87CVenus);
KVX_VSOP_WRAPPER(Vsop87CMars);
KVX_VSOP_WRAPPER(Vsop87CJupiter);
KVX_VSOP_WRAPPER(Vsop87CSaturn);
KVX_VSOP_WRAPPER(Vsop87CUranus);
KVX_VSOP_WRAPPER(Vsop87CNeptune);
KVX_VSOP_WRAPPER(Vsop87CSun);  // the Earth's heliocentric vector, not negated

#undef KVX_VSOP_WRAPPER

// The five truncation levels the accuracy dialog offers, items 0..4:
// full, high, medium, low, very low.
inline constexpr TTruncationLevel kTruncationLevels[5] = {-1, 4, 6, 8, 10};

// Item of a level in kTruncationLevels, or -1 for any other value.
int TruncationLevelItem(TTruncationLevel level);

}  // namespace kvx
