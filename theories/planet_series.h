// Heliocentric positions of Mercury to Neptune from the selected source:
// the precomputed position files, the VSOP87 D or VSOP87 C theory library,
// or the internal analytic series (shown to the user as the "Newcomb"
// theory).
#pragma once

#include <cstdint>

#include "theories/theory_types.h"

namespace kvx {

// MercuryHeliocentric .. NeptuneHeliocentric: heliocentric position of one
// planet.
//
// Given:
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
void MercuryHeliocentric(PositionFileHandle handle, TTheorySelection selection, double T, double& L, double& B,
                         double& R, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ,
                         TTruncationLevel level);
void VenusHeliocentric(PositionFileHandle handle, TTheorySelection selection, double T, double& L, double& B, double& R,
                       double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, TTruncationLevel level);
void MarsHeliocentric(PositionFileHandle handle, TTheorySelection selection, double T, double& L, double& B, double& R,
                      double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, TTruncationLevel level);
void JupiterHeliocentric(PositionFileHandle handle, TTheorySelection selection, double T, double& L, double& B,
                         double& R, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ,
                         TTruncationLevel level);
void SaturnHeliocentric(PositionFileHandle handle, TTheorySelection selection, double T, double& L, double& B,
                        double& R, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ,
                        TTruncationLevel level);
void UranusHeliocentric(PositionFileHandle handle, TTheorySelection selection, double T, double& L, double& B,
                        double& R, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ,
                        TTruncationLevel level);
void NeptuneHeliocentric(PositionFileHandle handle, TTheorySelection selection, double T, double& L, double& B,
                         double& R, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ,
                         TTruncationLevel level);

}  // namespace kvx
