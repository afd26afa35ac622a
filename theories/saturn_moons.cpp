// The eight major moons of Saturn: elements from time arguments and
// periodic terms, the orbit routine of the outer moons, the rotation from
// Saturn's equator of B1950.0 to the sky plane, light time and perspective.
#include "theories/saturn_moons.h"

#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/frames.h"
#include "core/tabulated_constants.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "theories/moon_host_planet.h"
#include "theories/planet_series.h"

namespace kvx {
namespace {

// Differential light-time constants, Mimas .. Iapetus.
constexpr double kLightTimeK[8] = {20947.0, 23715.0, 26382.0, 29876.0, 35313.0, 53800.0, 59222.0, 91820.0};

// Saturn's equator of B1950.0 on the ecliptic: inclination and node.
constexpr double kEquatorInclination = 28.0817;
constexpr double kEquatorNode = 168.8112;

// Equatorial radii of Saturn in one AU, as the perspective factor
// Delta / (Delta + Z / 2475) takes them.
constexpr double kPerspectiveRadii = 2475.0;

// Light-time iteration: start distance (AU) and the tolerance (days).
constexpr double kStartDistance = 9.0;
constexpr double kLightTimeTolerance = 0.000002;

// The theory's own conversions: pi as printed (kPiAsTabulated) and 1/pi as
// printed (0.31830988618378997).
double Rad(double degrees) { return degrees * kPiAsTabulated * (1.0 / 180.0); }
double Deg(double radians) { return radians * 180.0 * 0.31830988618378997; }

// Sine and cosine of degrees in double precision: the element formulas
// need no extended arithmetic.
double S(double degrees) { return std::sin(degrees * kDegToRad); }
double C(double degrees) { return std::cos(degrees * kDegToRad); }

// Elements of one moon: longitude lambda (degrees), distance r (Saturn
// radii), inclination gamma on Saturn's equator (degrees) and the node
// Omega on the ecliptic (inner moons) or w on Saturn's equator (outer
// moons), degrees.
struct MoonElements {
  double lambda = 0, r = 0, gamma = 0, node = 0;
};

// Equation of the centre of the inner moons: lambda = L + C and
// r = a / (1 + e cos(M + C)), C in degrees.
struct InnerOrbit {
  double L, p;        // mean longitude, pericentre (reduced)
  double c1, c2, c3;  // coefficients of sin M, sin 2M, sin 3M
  double a, e;        // r = a / (1 + e cos(M + C))
};
void InnerElements(const InnerOrbit& o, double gamma, double node, MoonElements& m) {
  const double M = o.L - o.p;
  const double centre = o.c1 * S(M) + o.c2 * S(2 * M) + o.c3 * S(3 * M);
  m.lambda = Mod360(o.L + centre);
  m.r = o.a / (1.0 + o.e * C(M + centre));
  m.gamma = gamma;
  m.node = Mod360(node);
}

// Rotation of one moon from Saturn's equator of B1950.0 to the sky plane of
// the direction (lambda0, beta0) (radians). s1, c1, s2, c2: sines and
// cosines of the inclination and node of the equator.
void SaturnMoonSkyRotation(double X, double Y, double Z, double s1, double c1, double s2, double c2, double lambda0,
                           double beta0, double& A4, double& B4, double& C4) {
  const double A1 = X;
  const double B1 = c1 * Y - s1 * Z;
  const double C1 = s1 * Y + c1 * Z;
  const double A2 = c2 * A1 - s2 * B1;
  const double B2 = s2 * A1 + c2 * B1;
  const double C2 = C1;
  const double A3 = A2 * std::sin(lambda0) - B2 * std::cos(lambda0);
  const double B3 = A2 * std::cos(lambda0) + B2 * std::sin(lambda0);
  const double C3 = C2;
  A4 = A3;
  B4 = B3 * std::cos(beta0) + C3 * std::sin(beta0);
  C4 = C3 * std::cos(beta0) - B3 * std::sin(beta0);
}

// Elements of the eight moons for t (JDE less the light time).
void EightMoonElements(double t, double s1, double c1, MoonElements (&m)[8]) {
  const double t1 = t - 2411093.0;
  const double t2 = t1 / 365.25;
  const double t3 = (t - 2433282.423) / 365.25 + 1950.0;
  const double t4 = t - 2411368.0;
  const double t5 = t4 / 365.25;
  const double t6 = t - 2415020.0;
  const double t7 = t6 / 36525.0;
  const double t8 = t6 / 365.25;
  const double t9 = (t - 2442000.5) / 365.25;
  const double t10 = t - 2409786.0;
  const double t11 = t10 / 36525.0;

  const double W0 = Mod360(5.095 * (t3 - 1866.39));
  const double W1 = Mod360(74.4 + 32.39 * t2);
  const double W2 = Mod360(134.3 + 92.62 * t2);
  const double W3 = Mod360(42.0 - 0.5118 * t5);
  const double W4 = Mod360(276.59 + 0.5118 * t5);
  const double W5 = Mod360(267.2635 + 1222.1136 * t7);
  const double W6 = Mod360(175.4762 + 1221.5515 * t7);
  const double W7 = Mod360(2.4891 + 0.002435 * t7);
  const double W8 = Mod360(113.35 - 0.2597 * t7);
  const double e1 = 0.05589 - 0.000346 * t7;  // Saturn's eccentricity

  // Mimas, Enceladus, Dione: equation of the centre; Tethys circular.
  InnerElements({Mod360(127.64 + 381.994497 * t1 - 43.57 * S(W0) - 0.72 * S(3 * W0) - 0.02144 * S(5 * W0)),
                 Mod360(106.1 + 365.549 * t2), 2.18287, 0.025988, 0.00043, 3.06879, 0.01905},
                1.563, 54.5 - 365.072 * t2, m[kMimas]);
  InnerElements({Mod360(200.317 + 262.7319002 * t1 + 0.25667 * S(W1) + 0.20883 * S(W2)),
                 Mod360(309.107 + 123.44121 * t2), 0.55577, 0.00168, 0.0, 3.94118, 0.00485},
                0.0262, 348.0 - 151.95 * t2, m[kEnceladus]);
  m[kTethys].lambda = Mod360(285.306 + 190.69791226 * t1 + 2.063 * S(W0) + 0.03409 * S(3 * W0) + 0.001015 * S(5 * W0));
  m[kTethys].r = 4.880998;
  m[kTethys].gamma = 1.0976;
  m[kTethys].node = Mod360(111.33 - 72.2441 * t2);
  InnerElements({Mod360(254.712 + 131.53493193 * t1 - 0.0215 * S(W1) - 0.01733 * S(W2)), Mod360(174.8 + 30.82 * t2),
                 0.24717, 0.00033, 0.0, 6.24871, 0.002157},
                0.0139, 232.0 - 30.27 * t2, m[kDione]);

  MoonElements& rhea = m[kRhea];
  {
    const double pp = 342.7 + 10.057 * t2;
    const double a1 = 0.000265 * S(pp) + 0.001 * S(W4);
    const double a2 = 0.000265 * C(pp) + 0.001 * C(W4);
    const double e = std::sqrt(a1 * a1 + a2 * a2);
    const double p = ArcTan2Deg(a1, a2);
    const double N = 345.0 - 10.057 * t2;
    const double lambdaMean = 359.244 + 79.6900472 * t1 + 0.086754 * S(N);
    const double i = 28.0362 + 0.346898 * C(N) + 0.0193 * C(W3);
    const double node = 168.8034 + 0.736936 * S(N) + 0.041 * S(W3);
    SaturnMoonOrbit(e, lambdaMean, p, 8.725924, i, node, s1, c1, rhea.r, rhea.lambda, rhea.gamma, rhea.node);
  }

  MoonElements& titan = m[kTitan];
  {
    const double L = 261.1582 + 22.57697855 * t4 + 0.074025 * S(W3);
    const double iPrime = 27.45141 + 0.295999 * C(W3);
    const double nodePrime = 168.66925 + 0.628808 * S(W3);
    const double a1 = S(W7) * S(nodePrime - W8);
    const double a2 = C(W7) * S(iPrime) - S(W7) * C(iPrime) * C(nodePrime - W8);
    const double g0 = 102.8623;
    const double psi = ArcTan2Deg(a1, a2);
    const double s = std::sqrt(a1 * a1 + a2 * a2);
    double g = W4 - nodePrime - psi;
    double varpi = 0.0;
    for (int k = 0; k < 3; ++k) {
      varpi = W4 + 0.37515 * (S(2 * g) - S(2 * g0));
      g = varpi - nodePrime - psi;
    }
    const double ePrime = 0.029092 + 0.00019048 * (C(2 * g) - C(2 * g0));
    const double q = 2.0 * (W5 - varpi);
    const double b1 = S(iPrime) * S(nodePrime - W8);
    const double b2 = C(W7) * S(iPrime) * C(nodePrime - W8) - S(W7) * C(iPrime);
    const double theta = ArcTan2Deg(b1, b2) + W8;
    const double e = ePrime + 0.002778797 * ePrime * C(q);
    const double p = varpi + 0.159215 * S(q);
    const double u = 2.0 * W5 - 2.0 * theta + psi;
    const double h = 0.9375 * ePrime * ePrime * S(q) + 0.1875 * s * s * S(2.0 * (W5 - theta));
    const double lambdaMean = L - 0.254744 * (e1 * S(W6) + 0.75 * e1 * e1 * S(2 * W6) + h);
    const double i = iPrime + 0.031843 * s * C(u);
    const double node = nodePrime + 0.031843 * s * S(u) / S(iPrime);
    SaturnMoonOrbit(e, lambdaMean, p, 20.216193, i, node, s1, c1, titan.r, titan.lambda, titan.gamma, titan.node);
  }

  MoonElements& hyperion = m[kHyperion];
  {
    const double eta = 92.39 + 0.5621071 * t6;
    const double zeta = 148.19 - 19.18 * t8;
    const double theta = 184.8 - 35.41 * t9;
    const double thetaPrime = theta - 7.5;
    const double as = 176.0 + 12.22 * t8;
    const double bs = 8.0 + 24.44 * t8;
    const double cs = bs + 5.0;
    const double varpi = 69.898 - 18.67088 * t8;
    const double phi = 2.0 * (varpi - W5);
    const double chi = 94.9 - 2.292 * t8;
    const double a = 24.50601 - 0.08686 * C(eta) - 0.00166 * C(zeta + eta) + 0.00175 * C(zeta - eta);
    const double e = 0.103458 - 0.004099 * C(eta) - 0.000167 * C(zeta + eta) + 0.000235 * C(zeta - eta) +
                     0.02303 * C(zeta) - 0.00212 * C(2 * zeta) + 0.000151 * C(3 * zeta) + 0.00013 * C(phi);
    const double p = varpi + 0.15648 * S(chi) - 0.4457 * S(eta) - 0.2657 * S(zeta + eta) - 0.3573 * S(zeta - eta) -
                     12.872 * S(zeta) + 1.668 * S(2 * zeta) - 0.2419 * S(3 * zeta) - 0.07 * S(phi);
    const double lambdaMean =
        Mod360(177.047 + 16.91993829 * t6 + 0.15648 * S(chi) + 9.142 * S(eta) + 0.007 * S(2 * eta) -
               0.014 * S(3 * eta) + 0.2275 * S(zeta + eta) + 0.2112 * S(zeta - eta) - 0.26 * S(zeta) -
               0.0098 * S(2 * zeta) - 0.013 * S(as) + 0.017 * S(bs) - 0.0303 * S(phi));
    const double i = 27.3347 + 0.643486 * C(chi) + 0.315 * C(W3) + 0.018 * C(theta) - 0.018 * C(cs);
    const double node = 168.6812 + 1.40136 * C(chi) + 0.68599 * S(W3) - 0.0392 * S(cs) + 0.0366 * S(thetaPrime);
    SaturnMoonOrbit(e, lambdaMean, p, a, i, node, s1, c1, hyperion.r, hyperion.lambda, hyperion.gamma, hyperion.node);
  }

  MoonElements& iapetus = m[kIapetus];
  {
    const double L = Mod360(261.1582 + 22.57697855 * t4);
    const double varpiPrime = 91.796 + 0.562 * t7;
    const double psi = 4.367 - 0.195 * t7;
    const double theta = 146.819 - 3.198 * t7;
    const double phi = 60.47 + 1.521 * t7;
    const double Phi = 205.055 - 2.091 * t7;
    const double ePrime = 0.028298 + 0.001156 * t11;
    const double varpi0 = 352.91 + 11.71 * t11;
    const double mu = Mod360(76.3852 + 4.53795125 * t10);
    const double iPrime = 18.4602 - 0.9518 * t11 - 0.072 * t11 * t11 + 0.0054 * t11 * t11 * t11;
    const double nodePrime = 143.198 - 3.919 * t11 + 0.116 * t11 * t11 + 0.008 * t11 * t11 * t11;
    const double l = mu - varpi0;
    const double g = varpi0 - nodePrime - psi;
    // g1 takes phi (60.47 + 1.521 t7), as the terms in u2 + phi do; Phi
    // here would move Iapetus by about 0.2 radii.
    const double g1 = varpi0 - nodePrime - phi;
    const double ls = W5 - varpiPrime;
    const double gs = varpiPrime - theta;
    const double lT = L - W4;
    const double gT = W4 - Phi;
    const double u1 = 2.0 * (l + g - ls - gs);
    const double u2 = l + g1 - lT - gT;
    const double u3 = l + 2.0 * (g - ls - gs);
    const double u4 = lT + gT - g1;
    const double u5 = 2.0 * (ls + gs);
    const double a = 58.935028 + 0.004638 * C(u1) + 0.058222 * C(u2);
    const double e = ePrime - 0.0014097 * C(g1 - gT) + 0.0003733 * C(u5 - 2 * g) + 0.000118 * C(u3) + 0.0002408 * C(l) +
                     0.0002849 * C(l + u2) + 0.000619 * C(u4);
    const double w = 0.08077 * S(g1 - gT) + 0.02139 * S(u5 - 2 * g) - 0.00676 * S(u3) + 0.0138 * S(l) +
                     0.01632 * S(l + u2) + 0.03547 * S(u4);
    const double p = varpi0 + w / ePrime;
    const double lambdaMean = mu - 0.04299 * S(u2) - 0.00789 * S(u1) - 0.06312 * S(ls) - 0.00295 * S(2 * ls) -
                              0.02231 * S(u5) + 0.0065 * S(u5 + psi);
    const double i = iPrime + 0.04204 * C(u5 + psi) + 0.00235 * C(l + g1 + lT + gT + phi) + 0.0036 * C(u2 + phi);
    const double wPrime = 0.04204 * S(u5 + psi) + 0.00235 * S(l + g1 + lT + gT + phi) + 0.00358 * S(u2 + phi);
    const double node = nodePrime + wPrime / S(iPrime);
    SaturnMoonOrbitDeg(e, lambdaMean, p, a, i, node, s1, c1, iapetus.r, iapetus.lambda, iapetus.gamma, iapetus.node);
  }
}

// The equation-of-centre series of the orbit routine, radians, for the
// mean anomaly M (radians).
double EquationOfCentre(double e, double M) {
  const double e2 = e * e, e3 = e2 * e, e4 = e3 * e, e5 = e4 * e;
  return (2 * e - e3 / 4 + 5 * e5 / 96) * std::sin(M) + (5 * e2 / 4 - 11 * e4 / 24) * std::sin(2 * M) +
         (13 * e3 / 12 - 43 * e5 / 64) * std::sin(3 * M) + (103 * e4 / 96) * std::sin(4 * M) +
         (1097 * e5 / 960) * std::sin(5 * M);
}

}  // namespace

double LightTimeDays(double au) { return 0.0057755183 * au; }

void SaturnMoonOrbit(double e, double meanLongitude, double pericentre, double a, double inclination, double node,
                     double s1, double c1, double& r, double& lambda, double& gamma, double& w) {
  const double M = Rad(meanLongitude - pericentre);
  const double centre = Deg(EquationOfCentre(e, M));
  r = a * (1 - e * e) / (1 + e * std::cos(M + Rad(centre)));
  const double g = Rad(node - kEquatorNode);
  const double i = Rad(inclination);
  const double a1 = std::sin(i) * std::sin(g);
  const double a2 = c1 * std::sin(i) * std::cos(g) - s1 * std::cos(i);
  gamma = Deg(std::asin(std::sqrt(a1 * a1 + a2 * a2)));
  const double u = Deg(std::atan2(a1, a2));
  w = Mod360(kEquatorNode + u);
  const double h = c1 * std::sin(i) - s1 * std::cos(i) * std::cos(g);
  const double psi = Deg(std::atan2(s1 * std::sin(g), h));
  lambda = meanLongitude + centre + u - Deg(g) - psi;
}

void SaturnMoonOrbitDeg(double e, double meanLongitude, double pericentre, double a, double inclination, double node,
                        double s1, double c1, double& r, double& lambda, double& gamma, double& w) {
  const double M = meanLongitude - pericentre;
  const double centre = Deg(EquationOfCentre(e, Rad(M)));
  r = a * (1 - e * e) / (1 + e * CosDeg(M + centre));
  const double g = node - kEquatorNode;
  const double a1 = SinDeg(inclination) * SinDeg(g);
  const double a2 = c1 * SinDeg(inclination) * CosDeg(g) - s1 * CosDeg(inclination);
  gamma = ArcSinDeg(std::sqrt(a1 * a1 + a2 * a2));
  const double u = ArcTan2Deg(a1, a2);
  w = kEquatorNode + u;
  const double h = c1 * SinDeg(inclination) - s1 * CosDeg(inclination) * CosDeg(g);
  const double psi = ArcTan2Deg(s1 * SinDeg(g), h);
  lambda = meanLongitude + centre + u - g - psi;
}

void SaturnMoonsCore(TTheorySelection selection, TTruncationLevel level, const PositionFileHandles& handles, double jde,
                     double sunLongitude, double sunLatitude, double sunDistance, TSaturnMoonCoordinates& coordinates,
                     double& lightTime) {
  // Light time, iterated; the geocentric vector of the last pass is kept.
  // The Sun's latitude (below 1.5") enters only the z component.
  const double sunX = sunDistance * std::cos(sunLongitude);
  const double sunY = sunDistance * std::sin(sunLongitude);
  const double sunZ = sunDistance * std::sin(sunLatitude);
  double tau = LightTimeDays(kStartDistance);
  double T = 0, x = 0, y = 0, z = 0, delta = 0;
  for (int pass = 0; pass < kSaturnLightTimePassLimit; ++pass) {
    T = JulianCenturiesJ2000(jde - tau);
    double l = 0, b = 0, r = 0, hx = 0, hy = 0, hz = 0, vx = 0, vy = 0, vz = 0;
    SaturnHeliocentric(handles[5], selection, T, l, b, r, hx, hy, hz, vx, vy, vz, level);
    x = r * C(b) * C(l) + sunX;
    y = r * C(b) * S(l) + sunY;
    z = r * S(b) + sunZ;
    delta = std::sqrt(x * x + y * y + z * z);
    const double next = LightTimeDays(delta);
    const bool converged = std::fabs(next - tau) <= kLightTimeTolerance;
    tau = next;
    if (converged) break;
  }
  lightTime = tau;

  // Saturn's direction, precessed to the ecliptic and equinox of B1950.0.
  double lambda0 = ArcTan2Deg(y, x);
  double beta0 = ArcTanDeg(z / std::sqrt(x * x + y * y));
  TMatrix33 precession{};
  PrecessionMatrixEcliptic(precession, T, -0.5);
  double ux = 0, uy = 0, uz = 0, unit = 0;
  PolarToCartesian(ux, uy, uz, 1.0, beta0, lambda0);
  MatrixTimesVector(precession, ux, uy, uz);
  CartesianToPolar(unit, beta0, lambda0, ux, uy, uz);
  lambda0 = Rad(lambda0);
  beta0 = Rad(beta0);

  const double s1 = std::sin(Rad(kEquatorInclination)), c1 = std::cos(Rad(kEquatorInclination));
  const double s2 = std::sin(Rad(kEquatorNode)), c2 = std::cos(Rad(kEquatorNode));

  MoonElements m[8];
  EightMoonElements(jde - tau, s1, c1, m);

  // The pole moon fixes the orientation of the sky plane.
  double A9 = 0, B9 = 0, C9 = 0;
  SaturnMoonSkyRotation(0.0, 0.0, 1.0, s1, c1, s2, c2, lambda0, beta0, A9, B9, C9);
  const double D = std::atan2(A9, C9);

  for (int k = 0; k < 8; ++k) {
    const double u = Rad(m[k].lambda - m[k].node);
    const double w = Rad(m[k].node - kEquatorNode);
    const double gamma = Rad(m[k].gamma);
    const double X = m[k].r * (std::cos(u) * std::cos(w) - std::sin(u) * std::cos(gamma) * std::sin(w));
    const double Y = m[k].r * (std::sin(u) * std::cos(w) * std::cos(gamma) + std::cos(u) * std::sin(w));
    const double Z = m[k].r * std::sin(u) * std::sin(gamma);
    double A4 = 0, B4 = 0, C4 = 0;
    SaturnMoonSkyRotation(X, Y, Z, s1, c1, s2, c2, lambda0, beta0, A4, B4, C4);
    double sx = A4 * std::cos(D) - C4 * std::sin(D);
    const double sy = A4 * std::sin(D) + C4 * std::cos(D);
    const double sz = B4;
    // Differential light time; |sx| exceeds r only by rounding.
    const double ratio = sx / m[k].r;
    sx += std::fabs(sz) / kLightTimeK[k] * std::sqrt(std::fmax(0.0, 1.0 - ratio * ratio));
    const double perspective = delta / (delta + sz / kPerspectiveRadii);
    coordinates.X[k] = sx * perspective;
    coordinates.Y[k] = sy * perspective;
    coordinates.Z[k] = sz;
  }
}

void SaturnMoonPositions(const PositionFileHandles& handles, TTruncationLevel level, TTheorySelection selection,
                         const TObserverRecord& observer, TSaturnMoonArray& xEarth, TSaturnMoonArray& yEarth,
                         TSaturnMoonArray& zEarth, TSaturnMoonArray& xSun, TSaturnMoonArray& ySun,
                         TSaturnMoonArray& zSun, TSaturnMoonsBlock& block) {
  const double jde = MjdToJd(observer.Mjd + observer.DeltaTSeconds / 86400.0);
  const double sunLongitude = Rad(observer.SunLongitude);
  const double sunLatitude = Rad(observer.SunLatitude);

  double tauEarth = 0;
  SaturnMoonsCore(selection, level, handles, jde, sunLongitude, sunLatitude, observer.SunDistance, block.Moons,
                  tauEarth);
  xEarth = block.Moons.X;
  yEarth = block.Moons.Y;
  zEarth = block.Moons.Z;

  // Saturn's place at the record's instant; the dispatch removes the light
  // time itself (a planet taken at JDE - tauEarth here would have it removed
  // twice, about 7" of Saturn's motion).
  FillHostPlanetBlock(handles, level, selection, observer, kHostSaturn, JulianCenturiesJ2000(jde), block);

  // Seen from the Sun at the same instant at Saturn: the core takes off the
  // heliocentric light time again.
  const double tauSun = LightTimeDays(block.HelioR);
  double ignored = 0;
  SaturnMoonsCore(selection, level, handles, jde + tauSun - tauEarth, sunLongitude, sunLatitude, 0.0, block.Moons,
                  ignored);
  xSun = block.Moons.X;
  ySun = block.Moons.Y;
  zSun = block.Moons.Z;
}

}  // namespace kvx
