// Heliocentric positions of Mercury to Neptune from the selected source:
// the precomputed position files, the VSOP87 D or VSOP87 C theory library,
// or the internal analytic series (shown to the user as the "Newcomb"
// theory).
#pragma once

#include <cstddef>
#include <cstdint>

#include "theories/theory_types.h"

namespace kvx {

// Heliocentric position of one planet, Mercury to Neptune.
//
// Given:
//   body       1 Mercury, 2 Venus, 4 Mars, 5 Jupiter, 6 Saturn, 7 Uranus,
//              8 Neptune; any other number gives every value 0
//   handle     the planet's open position file (read only with planet
//              theory 3)
//   selection  byte 0 chooses the source: 3 position files, 1 VSOP87 D
//              library, 2 VSOP87 C library, any other value (0 above all)
//              the internal series
//   T          Julian centuries of 36525 days from JD 2451545.0, dynamical
//              time, passed on unchanged to every source
//   level      truncation level of the theory libraries (-1 full series)
// Returned:
//   L, B       heliocentric ecliptic longitude and latitude, degrees
//              (L in [0, 360) for the internal series)
//   R          radius vector, AU
//   X, Y, Z    heliocentric rectangular ecliptic coordinates, AU, X towards
//              the equinox, Z towards the ecliptic north pole
//   VX, VY, VZ velocity in AU per day where the source gives one (VSOP87 C
//              library, position files), exactly 0.0 otherwise
// Notes:
//   Internal series and VSOP87 D: mean ecliptic and equinox of date,
//   X, Y, Z = PolarToCartesian(R, B, L). VSOP87 C: L and B are corrected
//   to the FK5 frame and X, Y, Z recomputed from them; the velocity stays
//   as the library gives it. Position files: the file's values as read.
//   The internal series holds to a few arcseconds (Neptune about 17")
//   over 1900-2100.
// Reference: the truncated perturbation series of Montenbruck and Pfleger,
//   "Astronomy on the Personal Computer".
THeliocentricPlace PlanetSeriesHeliocentric(int body, PositionFileHandle handle, TTheorySelection selection, double T,
                                            TTruncationLevel level);

// The same for the planet `Body`, the values returned one by one: the form
// of MercuryHeliocentric .. NeptuneHeliocentric, which the callers keep in
// tables of planet routines.
template <int Body>
void PlanetHeliocentric(PositionFileHandle handle, TTheorySelection selection, double T, double& L, double& B,
                        double& R, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ,
                        TTruncationLevel level) {
  PlanetSeriesHeliocentric(Body, handle, selection, T, level).CopyTo(L, B, R, X, Y, Z, VX, VY, VZ);
}

inline constexpr auto MercuryHeliocentric = &PlanetHeliocentric<1>;
inline constexpr auto VenusHeliocentric = &PlanetHeliocentric<2>;
inline constexpr auto MarsHeliocentric = &PlanetHeliocentric<4>;
inline constexpr auto JupiterHeliocentric = &PlanetHeliocentric<5>;
inline constexpr auto SaturnHeliocentric = &PlanetHeliocentric<6>;
inline constexpr auto UranusHeliocentric = &PlanetHeliocentric<7>;
inline constexpr auto NeptuneHeliocentric = &PlanetHeliocentric<8>;

// The entry of planet `body` (1 Mercury .. 9 Pluto) among the nine position
// files of PositionFileHandles.
constexpr std::size_t PositionFileSlotOfBody(int body) { return static_cast<std::size_t>(body < 3 ? body : body - 1); }

}  // namespace kvx
