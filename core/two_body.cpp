// Two-body motion: Kepler solvers, orbit orientation, element conversions.
// Reference: O. Montenbruck, T. Pfleger, Astronomy on the Personal Computer
// (Kepler, Stumpff and near-parabolic solvers); J. Meeus, Astronomical
// Algorithms, ch. 24 (equinox change of elements).
#include "core/two_body.h"

#include <cmath>
#include <numbers>

#include "core/angle_constants.h"

namespace kvx {

namespace {

// Mean anomaly in degrees reduced to [0, 2 pi) radians. The whole turns are
// removed in units of turns first, so large angles keep their precision.
template <typename Real>
Real MeanAnomalyRadians(Real M) {
  Real turns = M / Real(360);
  Real fraction = turns - std::trunc(turns);
  Real radians = fraction * Real(kTwoPiExtended);
  if (radians < 0) radians += Real(kTwoPiExtended);
  return radians;
}

template <typename Real>
Real SolveKepler(Real M, Real e) {
  const Real m = MeanAnomalyRadians(M);
  Real E = e < Real(0.8) ? m : Real(kPiKeplerStartAsTabulated);
  Real f = E - e * std::sin(E) - m;
  for (int step = 0; std::fabs(f) > Real(1e-11) && step < 15; ++step) {
    E -= f / (Real(1) - e * std::cos(E));
    f = E - e * std::sin(E) - m;
  }
  // One more Newton step on the small residual: near e = 1 the derivative
  // 1 - e cos E is small and a residual of 1e-11 still leaves E uncertain.
  E -= f / (Real(1) - e * std::cos(E));
  return E * Real(kRadToDegExtended);
}

template <typename Real>
void EllipsePosition(Real& x, Real& y, Real& vx, Real& vy, Real M, Real a, Real e) {
  const Real kPrime = Real(kGaussK) / std::sqrt(a);
  const Real E = SolveKepler(M, e) * Real(kDegToRadExtended);
  const Real cosE = std::cos(E);
  const Real sinE = std::sin(E);
  const Real root = std::sqrt((Real(1) - e) * (Real(1) + e));
  const Real denominator = Real(1) - e * cosE;
  x = a * (cosE - e);
  y = a * root * sinE;
  vx = -kPrime * sinE / denominator;
  vy = kPrime * root * cosE / denominator;
}

long double Mod360L(long double x) {
  long double r = x - 360.0L * std::floor(x / 360.0L);
  return r >= 360.0L ? r - 360.0L : r;
}

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

double KeplerSolve(double M, double e) { return SolveKepler(M, e); }

long double KeplerSolveExt(long double M, long double e) { return SolveKepler(M, e); }

void EllipticOrbitPosition(double& x, double& y, double& vx, double& vy, double M, double a, double e) {
  EllipsePosition(x, y, vx, vy, M, a, e);
}

void OrbitPlanePosition(long double& x, long double& y, long double& vx, long double& vy, long double M, long double a,
                        long double e) {
  EllipsePosition(x, y, vx, vy, M, a, e);
}

double CubeRoot(double x) {
  if (x == 0) return 0;
  return std::exp(std::log(x) / 3);
}

void StumpffFunctions(double& c1, double& c2, double& c3, double E2) {
  c1 = c2 = c3 = 0;
  double add = 1;
  // The series converge for every E2; the step limit only guards against
  // arguments so large that the terms overflow.
  for (int n = 1; n <= 200; ++n) {
    c1 += add;
    add /= 2.0 * n;
    c2 += add;
    add /= 2.0 * n + 1;
    c3 += add;
    add *= -E2;
    if (!(std::fabs(add) >= 1e-16)) break;
  }
}

void ParabolicOrbitPosition(double& x, double& y, double& vx, double& vy, double t, double T0, double q, double e) {
  double fac = 0.5 * e;
  const double kPrime = kGaussK / std::sqrt(q * (1 + e));
  const double tau = kGaussKCentury * (t - T0);
  // The cubic's root u is odd in tau; solving for |tau| avoids the loss of
  // digits of sqrt(A^2 + 1) + A for large negative A.
  const double sign = tau < 0 ? -1.0 : 1.0;
  double E2 = 0, u = 0, u2 = 0, c1 = 1, c2 = 0.5;
  for (int step = 1; step <= 16; ++step) {
    const double previousE2 = E2;
    const double A = 1.5 * std::sqrt(fac / (q * q * q)) * std::fabs(tau);
    const double B = CubeRoot(std::sqrt(A * A + 1) + A);
    const double newU = sign * (B - 1 / B);
    const double newU2 = newU * newU;
    const double newE2 = (1 - e) * newU2 / fac;
    double n1, n2, n3;
    StumpffFunctions(n1, n2, n3, newE2);
    const double newFac = 3 * e * n3;
    if (!AllFinite({newU, newE2, n1, n2, n3, newFac}) || (1 + e) / newFac < 0) break;
    u = newU;
    u2 = newU2;
    E2 = newE2;
    c1 = n1;
    c2 = n2;
    fac = newFac;
    if (std::fabs(E2 - previousE2) < 1e-9) break;
  }
  const double r = q * (1 + u2 * c2 * e / fac);
  x = q * (1 - u2 * c2 / fac);
  vy = kPrime * (x / r + e);
  y = q * std::sqrt((1 + e) / fac) * u * c1;
  vx = -kPrime * y / r;
  if (!AllFinite({r, x, y, vx, vy}) || r == 0) x = y = vx = vy = 1e-8;
}

double HyperbolicKeplerSolve(double M, double e) {
  double H = std::log(2 * std::fabs(M) / e + 1.8);
  if (M < 0) H = -H;
  for (int step = 0; step < 15; ++step) {
    const double ex = std::exp(H);
    const double sinhH = (ex - 1 / ex) / 2;
    const double coshH = (ex + 1 / ex) / 2;
    const double f = e * sinhH - H - M;
    // The step is also taken when the residual is small enough: near e = 1
    // the derivative e cosh H - 1 is small, and the last step makes H exact.
    H -= f / (e * coshH - 1);
    if (std::fabs(f) <= 1e-10 * (std::fabs(H + M) + 1)) break;
  }
  return H;
}

void HyperbolicOrbitPosition(double& x, double& y, double& vx, double& vy, double t, double T0, double a, double e) {
  a = std::fabs(a);
  const double kPrime = kGaussK / std::sqrt(a);
  const double M = kPrime * 36525 * (t - T0) / a;
  const double H = HyperbolicKeplerSolve(M, e);
  const double ex = std::exp(H);
  const double coshH = (1 / ex + ex) / 2;
  const double sinhH = (ex - 1 / ex) / 2;
  const double root = std::sqrt((e - 1) * (e + 1));
  x = a * (e - coshH);
  y = a * root * sinhH;
  vx = -kPrime * sinhH / (e * coshH - 1);
  vy = kPrime * root * coshH / (e * coshH - 1);
}

void GaussVectors(TMatrix33& m, double node, double inclination, double argPerihelion) {
  const double s3 = SinDeg(node), c3 = CosDeg(node);
  const double s2 = SinDeg(inclination), c2 = CosDeg(inclination);
  const double s1 = SinDeg(argPerihelion), c1 = CosDeg(argPerihelion);
  m.m[0][0] = c1 * c3 - s1 * c2 * s3;
  m.m[0][1] = -s1 * c3 - c1 * c2 * s3;
  m.m[0][2] = s2 * s3;
  m.m[1][0] = c1 * s3 + s1 * c2 * c3;
  m.m[1][1] = -s1 * s3 + c1 * c2 * c3;
  m.m[1][2] = -s2 * c3;
  m.m[2][0] = s1 * s2;
  m.m[2][1] = c1 * s2;
  m.m[2][2] = c2;
}

void VelocityToGaussianUnits(TStateVector& state) {
  constexpr double kInverseK = 58.13244086704896;
  for (int k = 3; k < 6; ++k) state[k] *= kInverseK;
}

double MeanDailyMotion(double a) {
  // n = k / a^(3/2) radians per day, from the same k as every other routine.
  return static_cast<double>(kGaussK * kRadToDegExtended / std::sqrt(static_cast<long double>(a) * a * a));
}

double PerihelionDistance(double e, double a) { return (1 - e * e) * a / (1 + e); }

void ElementsFromStateVector(const TStateVectorExt& state, long double& a, long double& q, double t0, long double m,
                             long double& e, long double& i, long double& node, long double& argPerihelion,
                             long double& lonPerihelion, long double& p, long double& M, long double& n,
                             long double& perihelionTime, std::uint8_t& kind) {
  a = q = e = i = node = argPerihelion = lonPerihelion = p = M = n = perihelionTime = 0;
  kind = kOrbitEllipse;
  const long double x = state[0], y = state[1], z = state[2];
  const long double vx = state[3], vy = state[4], vz = state[5];
  const long double r = std::sqrt(x * x + y * y + z * z);
  const long double v2 = vx * vx + vy * vy + vz * vz;
  if (r == 0 && v2 == 0) return;
  if (r == 0) return;  // no orbit through the Sun's centre

  const long double mu = kGaussK2 * (1 + m);

  // Orbit pole h = r x v: inclination and node. Without a node (the orbit in
  // the reference plane) node 0 is taken.
  const long double hx = y * vz - z * vy;
  const long double hy = z * vx - x * vz;
  const long double hz = x * vy - y * vx;
  const long double hxy = std::sqrt(hx * hx + hy * hy);
  const long double h2 = hxy * hxy + hz * hz;
  if (h2 > 0) {
    i = ArcTan2DegExt(hxy, hz);
    node = hxy > 0 ? ArcTan2DegExt(hx, -hy) : 0.0L;
  }
  const long double cosNode = CosDegExt(node), sinNode = SinDegExt(node);
  const long double cosI = CosDegExt(i), sinI = SinDegExt(i);
  // Argument of latitude: the position's direction in the orbit plane,
  // measured from the node (valid for every inclination, 0 and 180 included).
  const long double inPlaneX = x * cosNode + y * sinNode;
  const long double inPlaneY = (-x * sinNode + y * cosNode) * cosI + z * sinI;
  const long double u = ArcTan2DegExt(inPlaneY, inPlaneX);

  const long double inverseA = 2 / r - v2 / mu;
  p = h2 / mu;
  const long double s = x * vx + y * vy + z * vz;
  long double nu = 0;         // true anomaly, degrees
  long double E = 0;          // eccentric anomaly, degrees (ellipse)
  long double Hrad = 0;       // hyperbolic anomaly, radians
  long double halfNuTan = 0;  // tan(nu/2) of a parabola
  if (inverseA > 0) {
    kind = kOrbitEllipse;
    a = 1 / inverseA;
    // 1 - e^2 = p/a; rounding may push it above 1 for a circular orbit.
    const long double oneMinusE2 = std::fmin(p * inverseA, 1.0L);
    e = std::sqrt(1 - oneMinusE2);
    q = p / (1 + e);
    // Direction of (e cos E, e sin E); the common factor 1/e does not change it.
    // A circular orbit has no perihelion: it is put at the position.
    if (e > 0) E = ArcTan2DegExt(s / std::sqrt(mu * a), 1 - r * inverseA);
    // sqrt((1 + e)/(1 - e)) = (1 + e)/sqrt(1 - e^2), exact also near e = 1.
    const long double factor = oneMinusE2 > 0 ? (1 + e) / std::sqrt(oneMinusE2) : 0.0L;
    nu = 2 * kRadToDegExtended *
         std::atan2(factor * std::sin(E * kDegToRadExtended / 2), std::cos(E * kDegToRadExtended / 2));
  } else if (inverseA == 0) {
    kind = kOrbitParabola;
    a = 0;  // an exact parabola has no finite semi-major axis
    e = 1;
    q = p / 2;
    halfNuTan = s / std::sqrt(mu * 2 * q);
    nu = 2 * kRadToDegExtended * std::atan(halfNuTan);
  } else {
    kind = kOrbitHyperbola;
    a = 1 / inverseA;
    const long double eMinus1Plus1 = -p * inverseA;  // e^2 - 1
    e = std::sqrt(1 + eMinus1Plus1);
    q = p / (1 + e);
    // e cosh H = 1 - r/a, e sinh H = s / sqrt(mu |a|).
    // e sinh H = s / sqrt(mu |a|) gives H directly, without the artanh of a
    // ratio that rounding could push to 1.
    const long double sh = s / std::sqrt(mu * -a);
    Hrad = std::asinh(sh / e);
    const long double factor = eMinus1Plus1 > 0 ? (e + 1) / std::sqrt(eMinus1Plus1) : 0.0L;
    nu = 2 * kRadToDegExtended * std::atan(std::tanh(Hrad / 2) * factor);
  }

  argPerihelion = Mod360L(u - nu);
  lonPerihelion = Mod360L(node + argPerihelion);
  node = Mod360L(node);

  if (kind == kOrbitEllipse) {
    const long double Erad = E * kDegToRadExtended;
    M = AngleToPlusMinus180Ext((Erad - e * std::sin(Erad)) * kRadToDegExtended);
    n = kRadToDegExtended * std::sqrt(mu * inverseA * inverseA * inverseA);
    perihelionTime = t0 - M / n;
  } else if (kind == kOrbitParabola) {
    if (q != 0)
      perihelionTime = t0 - std::sqrt(2 * q * q * q / mu) * (halfNuTan * halfNuTan * halfNuTan / 3 + halfNuTan);
  } else {
    perihelionTime = t0 - (e * std::sinh(Hrad) - Hrad) * std::sqrt(-a * -a * -a / mu);
  }
}

void ElementsFromEquinoctial(TElementsEquinoctialResult& out, long double m, long double a, long double meanLongitude,
                             long double eSin, long double eCos, long double iSin, long double iCos) {
  out.e = std::sqrt(eSin * eSin + eCos * eCos);
  out.lonPerihelion = Mod360L(ArcTan2DegExt(eSin, eCos));
  const long double sinHalfI = std::sqrt(iSin * iSin + iCos * iCos);
  out.node = Mod360L(ArcTan2DegExt(iSin, iCos));
  out.i = 2 * ArcSinDegExt(std::fmin(sinHalfI, 1.0L));
  out.meanAnomaly = Mod360L(meanLongitude * kRadToDegExtended - out.lonPerihelion);
  out.argPerihelion = Mod360L(out.lonPerihelion - out.node);
  out.a = a;
  out.meanMotion = kRadToDegExtended * std::sqrt(kGaussK2 * (1 + m) / (a * a * a));
}

namespace {

struct MeanElements {
  double n;              // degrees per Julian century
  double lonPerihelion;  // degrees
  double i;
  double node;
  double M0;
  double e;
  double a;   // AU
  double T0;  // epoch, Julian centuries from J2000
};

constexpr double kEpochJd2450000 = -0.042286105;

constexpr MeanElements kMeanElements[9] = {
    {149472.6738, 77.4552, 7.0048, 48.331, 174.7947, 0.205634, 0.387099, 0},
    {58517.8149, 131.5718, 3.3946, 76.68, 50.4071, 0.006773, 0.723332, 0},
    {35999.372, 102.94, 0, 174.876, 357.5256, 0.016709, 1.0, 0},
    {19140.3023, 336.059, 1.8496, 49.557, 19.3879, 0.093405, 1.523692, 0},
    {3035.2275, 15.7192, 1.3047, 100.4683, 250.3274, 0.048402, 5.202437, kEpochJd2450000},
    {1219.6465, 90.9682, 2.4855, 113.6439, 267.2465, 0.05234, 9.551712, kEpochJd2450000},
    {424.815, 176.6152, 0.7733, 74.0903, 118.432, 0.044846, 19.293108, kEpochJd2450000},
    {216.3047, 3.0962, 1.77, 131.775, 292.4716, 0.007985, 30.257162, kEpochJd2450000},
    {143.4629, 224.7424, 17.1201, 110.3865, 8.2304, 0.254351, 39.783607, kEpochJd2450000},
};

}  // namespace

void PlanetMeanElementsPosition(int index, long double& x, long double& y, const TMatrix33Ext& /*matrix*/,
                                long double& z, double T) {
  x = y = z = 0;
  if (index < 0 || index > 8) return;
  const MeanElements& el = kMeanElements[index];
  const long double M = (T - el.T0) * el.n + el.M0;
  const long double argPerihelion = el.lonPerihelion - el.node;
  TMatrix33Ext orientation;
  RotationMatrixFromAngles(orientation, el.node, el.i, argPerihelion);
  long double xx, yy, vx, vy;
  OrbitPlanePosition(xx, yy, vx, vy, M, el.a, el.e);
  OrbitPlaneToEcliptic(orientation, x, y, z, xx, yy);
}

}  // namespace kvx
