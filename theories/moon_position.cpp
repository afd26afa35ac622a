#include "theories/moon_position.h"

#include <cmath>

#include "core/astronomical_constants.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

constexpr double kEarthRadiiPerKm = 0.00015678552054360675;  // 1 / 6378.14
constexpr double kSecondsPerKmOfLight = 3.3356409519815205e-06;
// Truncation level of the library call that only finds the light time: it
// keeps the terms above 1e-8 of the units (0.002" and 0.004 km), about a
// tenth of the series, and gives the distance within 0.2 km, the light time
// within 1 microsecond (the Moon moves 1 mm in that time).
constexpr double kLightTimeLevel = 6.0;

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
    PolarToCartesian(X, Y, Z, kEarthEquatorialRadiusKm * distance, beta, lambda);
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
  // The level of the first call: a coarse one, or the requested one when
  // that is coarser still.
  const double firstLevel = level >= 0 && level >= kLightTimeLevel ? level : kLightTimeLevel;
  if (shortcut == 0) {
    double x, y, z;
    ELP82B(jd, x, y, z, firstLevel);
    MatrixTimesVector(toDate, x, y, z);
    geometricKm = std::sqrt(x * x + y * y + z * z);
  } else {
    double l, b, d;
    MoonPositionSeries(T, l, b, d);
    geometricKm = kEarthEquatorialRadiusKm * d;
  }
  const double tau = geometricKm * kSecondsPerKmOfLight;
  const double retardedJd = jd - tau * (1.0 / 60) * (1.0 / 60) * (1.0 / 24);
  ELP82B(retardedJd, X2000, Y2000, Z2000, level);
  if (shortcut == 0 && firstLevel != level) {
    // The geometric distance at T of the requested level: the distance at
    // the retarded instant plus the change over the light time, which the
    // coarse level gives to far below a metre.
    double x, y, z;
    ELP82B(retardedJd, x, y, z, firstLevel);
    geometricKm += std::sqrt(X2000 * X2000 + Y2000 * Y2000 + Z2000 * Z2000) - std::sqrt(x * x + y * y + z * z);
  }
  Rotate(toDate, X2000, Y2000, Z2000, X, Y, Z);
  double retardedKm;
  CartesianToPolar(retardedKm, beta, lambda, X, Y, Z);
  distance2 = retardedKm;
  distance = (shortcut == 0 ? geometricKm : retardedKm) * kEarthRadiiPerKm;
}

}  // namespace kvx
