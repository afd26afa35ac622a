#include "theories/moon_position.h"

#include <cmath>

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

constexpr double kKmPerEarthRadius = 6378.14;
constexpr double kEarthRadiiPerKm = 0.00015678552054360675;  // 1 / 6378.14
constexpr double kSecondsPerKmOfLight = 3.3356409519815205e-06;

void Rotate(const TMatrix33& m, double x, double y, double z, double& xo, double& yo, double& zo) {
  xo = x;
  yo = y;
  zo = z;
  MatrixTimesVector(m, xo, yo, zo);
}

}  // namespace

void MoonPosition(std::uint8_t shortcut, TTheorySelection selection, double& lambda, double T, double& beta,
                  double& distance, double& X2000, double& Y2000, double& Z2000, double& X, double& Y, double& Z,
                  double& distance2, TTruncationLevel level) {
  if (selection.MoonTheory() == 0) {
    MoonPositionSeries(T, lambda, beta, distance);
    PolarToCartesian(X, Y, Z, kKmPerEarthRadius * distance, beta, lambda);
    TMatrix33 toJ2000;
    PrecessionMatrixEcliptic(toJ2000, T, 0.0);
    Rotate(toJ2000, X, Y, Z, X2000, Y2000, Z2000);
    distance2 = distance;
    return;
  }

  // ELP-2000/82: J2000 vector at the instant the light left the Moon.
  TMatrix33 toDate;
  PrecessionMatrixEcliptic(toDate, 0.0, T);
  const double jd = JdFromJulianCenturies(T);
  double geometricKm = 0;
  if (shortcut == 0) {
    double x, y, z;
    ELP82B(jd, x, y, z, level);
    MatrixTimesVector(toDate, x, y, z);
    geometricKm = std::sqrt(x * x + y * y + z * z);
  } else {
    double l, b, d;
    MoonPositionSeries(T, l, b, d);
    geometricKm = kKmPerEarthRadius * d;
  }
  const double tau = geometricKm * kSecondsPerKmOfLight;
  const double retardedJd = jd - tau * (1.0 / 60) * (1.0 / 60) * (1.0 / 24);
  ELP82B(retardedJd, X2000, Y2000, Z2000, level);
  Rotate(toDate, X2000, Y2000, Z2000, X, Y, Z);
  double retardedKm;
  CartesianToPolar(retardedKm, beta, lambda, X, Y, Z);
  distance2 = retardedKm;
  distance = (shortcut == 0 ? geometricKm : retardedKm) * kEarthRadiiPerKm;
}

}  // namespace kvx
