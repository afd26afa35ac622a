// Equinox change of the angular elements of an orbit.
// Reference: J. Meeus, Astronomical Algorithms, 2nd ed., ch. 24.
#include <cmath>

#include "core/frames.h"
#include "core/two_body.h"

namespace kvx {

TElementPrecessionSource ElementPrecessionSource(double inclination, double node) {
  TElementPrecessionSource source;
  source.Inclination = inclination;
  source.Node = node;
  // The orbit's pole.
  PolarToCartesian(source.PoleX, source.PoleY, source.PoleZ, 1.0, 90.0 - inclination, node - 90.0);
  source.SinInclination = SinDeg(inclination);
  source.CosInclination = CosDeg(inclination);
  return source;
}

void PrecessOrbitalElements(const TElementPrecessionSource& source, double& inclination, double& node,
                            double& argPerihelion, double Tfrom, double Tto) {
  const double t = Tto - Tfrom;
  const double T0 = Tfrom;
  const double oldNode = source.Node;

  // The orbit's pole, carried to the new ecliptic.
  double x = source.PoleX, y = source.PoleY, z = source.PoleZ;
  TMatrix33 precession;
  PrecessionMatrixEcliptic(precession, Tfrom, Tto);
  MatrixTimesVector(precession, x, y, z);
  double r, lat, lon;
  CartesianToPolar(r, lat, lon, x, y, z);
  inclination = 90.0 - lat;
  node = Mod360(lon + 90.0);

  // The argument of perihelion follows the motion of the ecliptic.
  const double Pi = (174.0 + 52.0 / 60.0 + 34.98 / 3600.0) +
                    (3289.48 * T0 + 0.61 * T0 * T0 - (869.81 + 0.5 * T0) * t + 0.04 * t * t) / 3600.0;
  const double pi = ((47.003 - 0.067 * T0) * t - 0.033 * t * t) / 3600.0;
  const double sinPi = SinDeg(pi);
  const double X = source.SinInclination * CosDeg(pi) - source.CosInclination * sinPi * CosDeg(oldNode - Pi);
  const double Y = -sinPi * SinDeg(oldNode - Pi);
  argPerihelion = Mod360(argPerihelion + ArcTan2Deg(Y, X));
}

void PrecessOrbitalElements(double& inclination, double& node, double& argPerihelion, double Tfrom, double Tto) {
  PrecessOrbitalElements(ElementPrecessionSource(inclination, node), inclination, node, argPerihelion, Tfrom, Tto);
}

void PrecessOrbitalElementsBetweenYears(double& inclination, double& node, double& argPerihelion, double fromYear,
                                        double toYear) {
  PrecessOrbitalElements(inclination, node, argPerihelion, (fromYear - 2000.0) * 0.01, (toYear - 2000.0) * 0.01);
}

}  // namespace kvx
