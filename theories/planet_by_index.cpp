// Heliocentric position of a planet by index.
#include "theories/planet_by_index.h"

#include "core/two_body.h"
#include "theories/planet_positions.h"
#include "theories/planet_series.h"
#include "theories/pluto.h"
#include "theories/sun_position.h"

namespace kvx {

void PlanetPositionByIndex(const PositionFileHandles& handles, TTheorySelection selection, int index, double T,
                           long double& x, long double& y, long double& z, const TMatrix33Ext& matrix,
                           TTruncationLevel level) {
  x = y = z = 0;
  if (index < 0 || index > 8) return;
  if (selection.bytes[2] != 0 && selection.PlanetTheory() != kPlanetTheoryPositionFiles)
    selection.bytes[0] = kPlanetTheoryInternal;

  using Routine = void (*)(PositionFileHandle, TTheorySelection, double, double&, double&, double&, double&, double&,
                           double&, double&, double&, double&, TTruncationLevel);
  // Position-file slot and routine of each index; the Earth and Pluto apart.
  static constexpr Routine kRoutine[8] = {MercuryHeliocentric, VenusHeliocentric,   nullptr,
                                          MarsHeliocentric,    JupiterHeliocentric, SaturnHeliocentric,
                                          UranusHeliocentric,  NeptuneHeliocentric};
  static constexpr int kSlot[8] = {1, 2, 0, 3, 4, 5, 6, 7};

  double L = 0, B = 0, R = 0, X, Y, Z, VX, VY, VZ;
  if (index == 2) {
    SunPosition(handles, selection, L, T, B, R, X, Y, Z, VX, VY, VZ, level);
    SphericalToRectExt(x, y, z, R, B, L);
    x = -x;
    y = -y;
    z = -z;
  } else if (index == 8) {
    if (!DateInTheoryRange(selection, T)) {
      PlanetMeanElementsPosition(8, x, y, matrix, z, T);
      return;
    }
    PlutoHeliocentric(handles[8], selection, T, L, B, R, X, Y, Z, VX, VY, VZ);
    SphericalToRectExt(x, y, z, R, B, L);
  } else {
    kRoutine[index](handles[kSlot[index]], selection, T, L, B, R, X, Y, Z, VX, VY, VZ, level);
    SphericalToRectExt(x, y, z, R, B, L);
  }
  MatrixTimesVectorExt(matrix, x, y, z);
}

}  // namespace kvx
