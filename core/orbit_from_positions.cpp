// Orbit from two positions by Gauss's sector-to-triangle ratio.
// Reference: O. Montenbruck, T. Pfleger, Astronomy on the Personal Computer,
// the preliminary orbit (routines for the sector-triangle ratio and the
// elements from two positions).
#include "core/orbit_from_positions.h"

#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/two_body.h"

namespace kvx {

namespace {}  // namespace

double SectorTriangleFunction(double eta, double m, double l) {
  const double w = m / (eta * eta) - l;
  double g;
  if (std::fabs(w) < 0.1) {
    // Series of W(w) = (2G - sin 2G)/sin^3 G about w = 0.
    double a = 4.0 / 3.0;
    g = a;
    for (int n = 1; n <= 100; ++n) {
      a *= w * (n + 2) / (n + 1.5);
      g += a;
      if (std::fabs(a) < 1e-10) break;
    }
  } else if (w > 0) {
    const double G = 2 * std::atan(std::sqrt(w / (1 - w)));
    const double s = std::sin(G);
    g = (2 * G - std::sin(2 * G)) / (s * s * s);
  } else {
    const double G = 2 * std::log(std::sqrt(1 - w) + std::sqrt(-w));
    const double x = std::exp(G);
    const double sinhG = (x - 1 / x) / 2;
    const double sinh2G = (x * x - 1 / (x * x)) / 2;
    g = (sinh2G - 2 * G) / (sinhG * sinhG * sinhG);
  }
  return 1 - eta + (w + l) * g;
}

double SectorTriangleRatio(const TVector3Ext& ra, const TVector3Ext& rb, double tau) {
  const double sa = VectorLengthExtended(ra);
  const double sb = VectorLengthExtended(rb);
  const double kappa = std::sqrt(2 * (sa * sb + static_cast<double>(DotProductExtended(ra, rb))));
  const double m = tau * tau / (kappa * kappa * kappa);
  const double l = (sa + sb) / (2 * kappa) - 0.5;
  const double etaMin = std::sqrt(m / (l + 1));

  double etaB = (12 + 10 * std::sqrt(1 + 44.0 / 9.0 * m / (l + 5.0 / 6.0))) / 22;
  double etaA = etaB + 0.1;
  double FA = SectorTriangleFunction(etaA, m, l);
  double FB = SectorTriangleFunction(etaB, m, l);
  for (int step = 0; std::fabs(FB - FA) > 1e-9 && step < 30; ++step) {
    double d = -FB * (etaB - etaA) / (FB - FA);
    etaA = etaB;
    FA = FB;
    // Keep eta above its lower bound (w < 1, an ellipse or hyperbola at all).
    for (int halving = 0; etaB + d <= etaMin && halving < 64; ++halving) d *= 0.5;
    if (etaB + d <= etaMin) break;
    etaB += d;
    FB = SectorTriangleFunction(etaB, m, l);
  }
  return etaB;
}

bool ElementsFromTwoPositions(const TVector3Ext& ra, const TVector3Ext& rb, double& perihelionTime, double ta,
                              double tb, double& q, double& e, double& inclination, double& node,
                              double& argumentOfPerihelion) {
  perihelionTime = q = e = inclination = node = argumentOfPerihelion = 0;
  const double sa = VectorLengthExtended(ra);
  const double sb = VectorLengthExtended(rb);
  if (!(sa > 0) || !(sb > 0) || ta == tb) return false;

  TVector3Ext ea{ra.x / sa, ra.y / sa, ra.z / sa};
  const double fac = static_cast<double>(DotProductExtended(ea, rb));
  TVector3Ext r0{rb.x - fac * ea.x, rb.y - fac * ea.y, rb.z - fac * ea.z};
  const double s0 = VectorLengthExtended(r0);
  // Parallel (or anti-parallel) positions span no plane: no orbit follows.
  if (!(s0 > 1e-12 * sb)) return false;
  TVector3Ext e0{r0.x / s0, r0.y / s0, r0.z / s0};

  // Orbit pole, node and inclination.
  TVector3Ext pole;
  CrossProductExtended(ea, e0, pole);
  double poleR, poleLat, poleLon;
  CartesianToPolar(poleR, poleLat, poleLon, static_cast<double>(pole.x), static_cast<double>(pole.y),
                   static_cast<double>(pole.z));
  const double nodeAngle = ArcTan2Deg(static_cast<double>(pole.x), static_cast<double>(-pole.y));
  const double incl = 90 - poleLat;

  // Argument of latitude of ra. In the reference plane the node is undefined
  // (0): the angle is the direction of ra itself, counted in the direction of
  // motion.
  const TVector3Ext N{-pole.y, pole.x, 0};
  double u;
  if (N.x == 0 && N.y == 0) {
    const double sense = pole.z < 0 ? -1.0 : 1.0;
    u = ArcTan2Deg(sense * static_cast<double>(ra.y), static_cast<double>(ra.x));
  } else {
    u = ArcTan2Deg(-static_cast<double>(DotProductExtended(e0, N)), static_cast<double>(DotProductExtended(ea, N)));
  }

  // Semi-latus rectum from the sector-to-triangle ratio.
  const double tau = kGaussK * std::fabs(tb - ta);
  const double eta = SectorTriangleRatio(ra, rb, tau);
  const double pRoot = sa * s0 * eta / tau;
  const double p = pRoot * pRoot;

  // Eccentricity and true anomaly of ra.
  const double cosDnu = fac / sb;
  const double sinDnu = s0 / sb;
  const double eCosNu = p / sa - 1;
  const double eSinNu = (eCosNu * cosDnu - (p / sb - 1)) / sinDnu;
  const double ecc = std::sqrt(eCosNu * eCosNu + eSinNu * eSinNu);
  const double nu = ArcTan2Deg(eSinNu, eCosNu);
  if (!std::isfinite(ecc) || !std::isfinite(p)) return false;

  // u and nu lie in (-180, 180]: two additions at most.
  double omega = u - nu;
  for (int turn = 0; turn < 2 && omega < 0; ++turn) omega += 360;

  const double qq = p / (1 + ecc);
  double timeFromPerihelion;  // days
  if (ecc == 1) {
    // A parabola: Barker's equation.
    const double w = std::tan(nu * kDegToRad / 2);
    timeFromPerihelion = std::sqrt(2 * qq * qq * qq / (kGaussK * kGaussK)) * (w * w * w / 3 + w);
  } else {
    const double a = qq / (1 - ecc);
    const double n = kGaussK / std::sqrt(std::fabs(a) * std::fabs(a) * std::fabs(a));  // radians per day
    double M;
    if (ecc > 1) {
      const double sinhH = std::sqrt((ecc - 1) * (ecc + 1)) * eSinNu / (ecc * eCosNu + ecc);
      const double H = std::log(sinhH + std::sqrt(sinhH * sinhH + 1));
      M = ecc * sinhH - H;
    } else {
      const double E = ArcTan2Deg(std::sqrt((1 - ecc) * (1 + ecc)) * eSinNu, ecc * ecc + eCosNu) * kDegToRad;
      M = E - ecc * std::sin(E);
    }
    timeFromPerihelion = M / n;
  }

  perihelionTime = (ta - timeFromPerihelion - 2451545.0) / 36525.0;
  q = qq;
  e = ecc;
  inclination = incl;
  node = nodeAngle;
  argumentOfPerihelion = omega;
  return true;
}

}  // namespace kvx
