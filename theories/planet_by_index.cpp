// Heliocentric position of a planet by index.
#include "theories/planet_by_index.h"

#include "core/two_body.h"
#include "theories/planet_positions.h"
#include "theories/sun_position.h"

namespace kvx {

void PlanetPositionByIndex(const PositionFileHandles& handles, TTheorySelection selection, int index, double T,
                           long double& x, long double& y, long double& z, const TMatrix33Ext& matrix,
                           TTruncationLevel level) {
  x = y = z = 0;
  if (index < 0 || index > 8) return;
  if (selection.bytes[2] != 0 && selection.PlanetTheory() != kPlanetTheoryPositionFiles)
    selection.bytes[0] = kPlanetTheoryInternal;

  if (index == 2) {
    double L = 0, B = 0, R = 0, X, Y, Z, VX, VY, VZ;
    SunPosition(handles, selection, L, T, B, R, X, Y, Z, VX, VY, VZ, level);
    SphericalToRectExt(x, y, z, R, B, L);
    x = -x;
    y = -y;
    z = -z;
  } else {
    if (index == 8 && !DateInTheoryRange(selection, T)) {
      PlanetMeanElementsPosition(8, x, y, matrix, z, T);
      return;
    }
    // Body numbers count the Earth as 3, Mercury as 1.
    const THeliocentricPlace p = PlanetHeliocentricPlace(handles, level, selection, index + 1, T);
    SphericalToRectExt(x, y, z, p.R, p.B, p.L);
  }
  MatrixTimesVectorExt(matrix, x, y, z);
}

}  // namespace kvx
