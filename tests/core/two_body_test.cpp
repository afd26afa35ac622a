// Kepler solvers, orbit orientation and the conversions between state
// vectors and elements.
#include "core/two_body.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/frames.h"

namespace kvx {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

TEST(KeplerSolve, MatchesMeeusExampleAndStartRules) {
  // Meeus, Astronomical Algorithms, example 30.a: e = 0.1, M = 5 deg.
  EXPECT_NEAR(KeplerSolve(5.0, 0.1), 5.554589, 1e-6);
  EXPECT_NEAR(static_cast<double>(KeplerSolveExt(5.0L, 0.1L)), 5.554589254, 1e-9);
  // A negative mean anomaly is the same point of the orbit as M + 360.
  EXPECT_NEAR(KeplerSolve(-30.0, 0.3), KeplerSolve(330.0, 0.3), 1e-10);
  // High eccentricities start from 180 degrees and still converge.
  for (double e : {0.79, 0.8, 0.95, 0.99}) {
    for (double M : {0.5, 10.0, 90.0, 179.0, 181.0, 300.0}) {
      const double E = KeplerSolve(M, e) * kDeg;
      EXPECT_NEAR(E - e * std::sin(E), M * kDeg, 1e-11) << "e " << e << " M " << M;
    }
  }
}

TEST(EllipticOrbitPosition, EnergyAndAngularMomentumAreThoseOfTheOrbit) {
  const double a = 2.5, e = 0.3;
  double x, y, vx, vy;
  EllipticOrbitPosition(x, y, vx, vy, 77.0, a, e);
  const double r = std::hypot(x, y);
  const double k2 = kGaussK * kGaussK;
  EXPECT_NEAR((vx * vx + vy * vy) / 2 - k2 / r, -k2 / (2 * a), 1e-15);
  EXPECT_NEAR(x * vy - y * vx, std::sqrt(k2 * a * (1 - e * e)), 1e-15);
  long double xl, yl, vxl, vyl;
  OrbitPlanePosition(xl, yl, vxl, vyl, 77.0L, a, e);
  EXPECT_NEAR(static_cast<double>(xl), x, 1e-14);
  EXPECT_NEAR(static_cast<double>(vyl), vy, 1e-16);
}

TEST(ParabolicOrbitPosition, MatchesMeeusParabolaExample) {
  // Meeus example 34.a: q = 0.921326, t - T = 138.4783 days on a parabola.
  double x, y, vx, vy;
  ParabolicOrbitPosition(x, y, vx, vy, 138.4783 / 36525.0, 0.0, 0.921326, 1.0);
  EXPECT_NEAR(std::atan2(y, x) / kDeg, 102.74426, 1e-5);
  EXPECT_NEAR(std::hypot(x, y), 2.364192, 1e-6);
  // Before the perihelion the orbit is the mirror image.
  double xm, ym, vxm, vym;
  ParabolicOrbitPosition(xm, ym, vxm, vym, -138.4783 / 36525.0, 0.0, 0.921326, 1.0);
  EXPECT_DOUBLE_EQ(xm, x);
  EXPECT_DOUBLE_EQ(ym, -y);
  EXPECT_DOUBLE_EQ(vym, vy);
  // Far from perihelion the odd symmetry must not cost digits.
  ParabolicOrbitPosition(x, y, vx, vy, 40.0, 0.0, 1.0, 1.0);
  ParabolicOrbitPosition(xm, ym, vxm, vym, -40.0, 0.0, 1.0, 1.0);
  EXPECT_DOUBLE_EQ(ym, -y);
}

TEST(ParabolicOrbitPosition, AgreesWithEllipseAndHyperbolaNearEccentricityOne) {
  // q = 1 AU; 60 days after perihelion.
  const double q = 1.0, days = 60.0;
  for (double e : {0.97, 0.999, 1.001, 1.03}) {
    const double a = q / (1 - e);
    const double n = std::sqrt(kGaussK * kGaussK / std::fabs(a * a * a)) / kDeg;  // degrees per day
    double x, y, vx, vy, xr, yr, vxr, vyr;
    ParabolicOrbitPosition(x, y, vx, vy, days / 36525.0, 0.0, q, e);
    if (e < 1) {
      EllipticOrbitPosition(xr, yr, vxr, vyr, n * days, a, e);
    } else {
      HyperbolicOrbitPosition(xr, yr, vxr, vyr, days / 36525.0, 0.0, a, e);
    }
    EXPECT_NEAR(x, xr, 1e-11) << e;
    EXPECT_NEAR(y, yr, 1e-11) << e;
    EXPECT_NEAR(vx, vxr, 1e-13) << e;
    EXPECT_NEAR(vy, vyr, 1e-13) << e;
  }
}

TEST(ParabolicOrbitPosition, ImpossibleInputGivesTheFailureValue) {
  double x, y, vx, vy;
  // A strongly hyperbolic e far beyond the reach of the near-parabolic
  // solver, very far from perihelion: no finite solution.
  ParabolicOrbitPosition(x, y, vx, vy, 1e6, 0.0, 1.0, 50.0);
  EXPECT_TRUE(std::isfinite(x) && std::isfinite(y) && std::isfinite(vx) && std::isfinite(vy));
  ParabolicOrbitPosition(x, y, vx, vy, 1.0, 0.0, 0.0, 1.0);  // q = 0
  EXPECT_EQ(x, 1e-8);
  EXPECT_EQ(vy, 1e-8);
}

TEST(HyperbolicKeplerSolve, SolvesTheEquationForLargeAndNegativeAnomalies) {
  for (double e : {1.01, 1.5, 4.0}) {
    for (double M : {-50.0, -1.0, 0.001, 2.0, 30.0}) {
      const double H = HyperbolicKeplerSolve(M, e);
      EXPECT_NEAR(e * std::sinh(H) - H, M, 1e-9 * (std::fabs(M) + 1)) << e << " " << M;
    }
  }
}

TEST(StumpffFunctions, MatchClosedFormsAndStopForHugeArguments) {
  double c1, c2, c3;
  StumpffFunctions(c1, c2, c3, 0.25);
  EXPECT_NEAR(c1, std::sin(0.5) / 0.5, 1e-15);
  EXPECT_NEAR(c2, (1 - std::cos(0.5)) / 0.25, 1e-15);
  EXPECT_NEAR(c3, (0.5 - std::sin(0.5)) / 0.125, 1e-15);
  StumpffFunctions(c1, c2, c3, -4.0);
  EXPECT_NEAR(c1, std::sinh(2.0) / 2, 1e-14);
  // Terms that overflow must end the series rather than loop for ever.
  StumpffFunctions(c1, c2, c3, -1e9);
  SUCCEED();
}

TEST(GaussVectors, ColumnsAreTheOrbitAxes) {
  TMatrix33 m;
  GaussVectors(m, 80.0, 10.0, 30.0);
  // P is the perihelion direction: node direction turned by omega in the plane.
  const double nodeX = std::cos(80 * kDeg), nodeY = std::sin(80 * kDeg);
  const double P[3] = {m.m[0][0], m.m[1][0], m.m[2][0]};
  EXPECT_NEAR(P[0] * nodeX + P[1] * nodeY, std::cos(30 * kDeg), 1e-15);
  EXPECT_NEAR(P[2], std::sin(30 * kDeg) * std::sin(10 * kDeg), 1e-15);
  // R is the pole: inclination from z, and perpendicular to the node.
  EXPECT_NEAR(m.m[2][2], std::cos(10 * kDeg), 1e-15);
  EXPECT_NEAR(m.m[0][2] * nodeX + m.m[1][2] * nodeY, 0.0, 1e-15);
}

TEST(TwoBodyScalars, MeanMotionPerihelionDistanceAndGaussianUnits) {
  EXPECT_NEAR(MeanDailyMotion(1.0), 0.9856076686, 1e-9);
  EXPECT_DOUBLE_EQ(PerihelionDistance(0.5, 2.0), 1.0);
  TStateVector s{1, 2, 3, kGaussK, 2 * kGaussK, 0};
  VelocityToGaussianUnits(s);
  EXPECT_NEAR(s[3], 1.0, 1e-15);
  EXPECT_NEAR(s[4], 2.0, 1e-15);
  EXPECT_EQ(s[0], 1.0);
  EXPECT_DOUBLE_EQ(CubeRoot(27.0), 3.0);
  EXPECT_EQ(CubeRoot(0.0), 0.0);
}

// State vector of given elements at perihelion time + dt days.
struct Elements {
  double q, e, i, node, w;
};

TStateVectorExt StateOf(const Elements& el, double dt) {
  double x, y, vx, vy;
  if (el.e < 1) {
    const double a = el.q / (1 - el.e);
    const double n = std::sqrt(kGaussK * kGaussK / (a * a * a)) / kDeg;
    EllipticOrbitPosition(x, y, vx, vy, n * dt, a, el.e);
  } else if (el.e > 1) {
    HyperbolicOrbitPosition(x, y, vx, vy, dt / 36525.0, 0.0, el.q / (1 - el.e), el.e);
  } else {
    ParabolicOrbitPosition(x, y, vx, vy, dt / 36525.0, 0.0, el.q, 1.0);
  }
  TMatrix33 m;
  GaussVectors(m, el.node, el.i, el.w);
  TStateVectorExt s;
  for (int row = 0; row < 3; ++row) {
    s[row] = m.m[row][0] * x + m.m[row][1] * y;
    s[row + 3] = m.m[row][0] * vx + m.m[row][1] * vy;
  }
  return s;
}

struct Recovered {
  long double a, q, e, i, node, w, lonPeri, p, M, n, Tp;
  std::uint8_t kind;
};

Recovered ElementsOf(const TStateVectorExt& s, double t0) {
  Recovered r;
  ElementsFromStateVector(s, r.a, r.q, t0, 0.0L, r.e, r.i, r.node, r.w, r.lonPeri, r.p, r.M, r.n, r.Tp, r.kind);
  return r;
}

// State from recovered elements, the orbit type chosen by the kind.
TStateVectorExt StateFromRecovered(const Recovered& r, double t0) {
  double x, y, vx, vy;
  const double dtCenturies = static_cast<double>((t0 - r.Tp) / 36525.0L);
  if (r.kind == kOrbitEllipse && r.e < 0.98) {
    EllipticOrbitPosition(x, y, vx, vy, static_cast<double>(r.M), static_cast<double>(r.a),
                          static_cast<double>(r.e));
  } else if (r.kind == kOrbitHyperbola && r.e > 1.02) {
    HyperbolicOrbitPosition(x, y, vx, vy, dtCenturies, 0.0, static_cast<double>(r.a), static_cast<double>(r.e));
  } else {
    ParabolicOrbitPosition(x, y, vx, vy, dtCenturies, 0.0, static_cast<double>(r.q), static_cast<double>(r.e));
  }
  TMatrix33 m;
  GaussVectors(m, static_cast<double>(r.node), static_cast<double>(r.i), static_cast<double>(r.w));
  TStateVectorExt s;
  for (int row = 0; row < 3; ++row) {
    s[row] = m.m[row][0] * x + m.m[row][1] * y;
    s[row + 3] = m.m[row][0] * vx + m.m[row][1] * vy;
  }
  return s;
}

void ExpectSameState(const TStateVectorExt& a, const TStateVectorExt& b, double relative, const char* what) {
  const long double r = std::hypot(std::hypot(a[0], a[1]), a[2]);
  const long double v = std::hypot(std::hypot(a[3], a[4]), a[5]);
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(static_cast<double>(a[k]), static_cast<double>(b[k]), relative * static_cast<double>(r))
        << what << " position " << k;
    EXPECT_NEAR(static_cast<double>(a[k + 3]), static_cast<double>(b[k + 3]), relative * static_cast<double>(v))
        << what << " velocity " << k;
  }
}

TEST(ElementsFromStateVector, RoundTripsEveryOrbitType) {
  const double t0 = 2460000.5;
  struct Case {
    const char* what;
    Elements el;
    double dt;
  } cases[] = {
      {"ellipse", {1.2, 0.25, 12.0, 40.0, 70.0}, 120.0},
      {"ellipse before perihelion", {0.4, 0.6, 150.0, 300.0, 200.0}, -30.0},
      {"hyperbola", {1.5, 1.8, 35.0, 120.0, 310.0}, 80.0},
      {"near-parabolic ellipse", {0.9, 0.995, 60.0, 10.0, 20.0}, 200.0},
      {"near-parabolic hyperbola", {2.0, 1.004, 100.0, 250.0, 95.0}, -150.0},
      {"ellipse in the ecliptic", {1.0, 0.1, 0.0, 0.0, 75.0}, 40.0},
      {"retrograde in the ecliptic", {1.0, 0.1, 180.0, 0.0, 75.0}, 40.0},
  };
  for (const Case& c : cases) {
    const TStateVectorExt s = StateOf(c.el, c.dt);
    const Recovered r = ElementsOf(s, t0);
    EXPECT_NEAR(static_cast<double>(r.q), c.el.q, 1e-12 * c.el.q) << c.what;
    EXPECT_NEAR(static_cast<double>(r.e), c.el.e, 1e-12) << c.what;
    EXPECT_NEAR(static_cast<double>(r.i), c.el.i, 1e-9) << c.what;
    EXPECT_NEAR(static_cast<double>(r.Tp), t0 - c.dt, 1e-7) << c.what;
    EXPECT_EQ(r.kind, c.el.e < 1 ? kOrbitEllipse : kOrbitHyperbola) << c.what;
    ExpectSameState(s, StateFromRecovered(r, t0), 1e-12, c.what);
  }
}

TEST(ElementsFromStateVector, ZeroInclinationTakesNodeZeroAndTheDirectionOfThePosition) {
  // A prograde orbit in the ecliptic with perihelion at longitude 75 deg.
  const Recovered r = ElementsOf(StateOf({1.0, 0.1, 0.0, 0.0, 75.0}, 0.0), 2451545.0);
  EXPECT_EQ(r.i, 0.0L);
  EXPECT_EQ(r.node, 0.0L);
  EXPECT_NEAR(static_cast<double>(r.w), 75.0, 1e-10);
  EXPECT_NEAR(static_cast<double>(r.lonPeri), 75.0, 1e-10);
  EXPECT_TRUE(std::isfinite(static_cast<double>(r.M)));
}

TEST(ElementsFromStateVector, CircularOrbitHasZeroEccentricity) {
  // Exactly circular speed at 1 AU: rounding can make 1 - p/a slightly
  // negative; e must still come out as a number.
  const long double v = std::sqrt(kGaussK2 / 1.0L);
  const TStateVectorExt s{0.6L, 0.8L, 0.0L, -0.8L * v, 0.6L * v, 0.0L};
  const Recovered r = ElementsOf(s, 2451545.0);
  EXPECT_EQ(r.kind, kOrbitEllipse);
  EXPECT_LT(static_cast<double>(r.e), 1e-9);
  EXPECT_NEAR(static_cast<double>(r.a), 1.0, 1e-15);
  // The perihelion is put at the body's own position.
  EXPECT_NEAR(static_cast<double>(r.w), std::atan2(0.8, 0.6) / kDeg, 1e-6);
  EXPECT_TRUE(std::isfinite(static_cast<double>(r.Tp)));
}

TEST(ElementsFromStateVector, ZeroEnergyIsAParabolaWithoutDivisionByZero) {
  // Escape speed at r = 2 AU: v^2 = 2 k^2 / r = k^2, exactly representable.
  const long double v = std::sqrt(kGaussK2);
  const TStateVectorExt s{2.0L, 0.0L, 0.0L, 0.0L, v, 0.0L};
  const Recovered r = ElementsOf(s, 2451545.0);
  ASSERT_EQ(r.kind, kOrbitParabola);
  EXPECT_EQ(r.e, 1.0L);
  EXPECT_EQ(r.a, 0.0L);
  EXPECT_NEAR(static_cast<double>(r.q), 2.0, 1e-15);  // at perihelion
  EXPECT_EQ(r.M, 0.0L);
  EXPECT_EQ(r.n, 0.0L);
  EXPECT_NEAR(static_cast<double>(r.Tp), 2451545.0, 1e-9);
  // Away from perihelion the Barker time follows.
  const TStateVectorExt later = StateOf({1.0, 1.0, 20.0, 30.0, 40.0}, 50.0);
  const Recovered p = ElementsOf(later, 2451545.0);
  if (p.kind == kOrbitParabola) {
    EXPECT_NEAR(static_cast<double>(p.Tp), 2451495.0, 1e-6);
  }
  EXPECT_NEAR(static_cast<double>(p.q), 1.0, 1e-9);
}

TEST(ElementsFromStateVector, ZeroStateAndRadialStateStayFinite) {
  const Recovered zero = ElementsOf(TStateVectorExt{}, 2451545.0);
  EXPECT_EQ(zero.a, 0.0L);
  EXPECT_EQ(zero.e, 0.0L);
  EXPECT_EQ(zero.kind, kOrbitEllipse);
  // Radial motion: no angular momentum, so no plane.
  const Recovered radial = ElementsOf(TStateVectorExt{1, 0, 0, 0.001L, 0, 0}, 2451545.0);
  EXPECT_EQ(radial.i, 0.0L);
  EXPECT_EQ(radial.node, 0.0L);
  EXPECT_TRUE(std::isfinite(static_cast<double>(radial.w)));
  EXPECT_TRUE(std::isfinite(static_cast<double>(radial.Tp)));
}

TEST(ElementsFromStateVector, HyperbolaHasNegativeAxisAndNoMeanAnomaly) {
  const Recovered r = ElementsOf(StateOf({1.5, 1.8, 35.0, 120.0, 310.0}, 80.0), 2451545.0);
  EXPECT_EQ(r.kind, kOrbitHyperbola);
  EXPECT_LT(r.a, 0.0L);
  EXPECT_EQ(r.M, 0.0L);
  EXPECT_EQ(r.n, 0.0L);
}

TEST(ElementsFromEquinoctial, InvertsTheEquinoctialSet) {
  const double e = 0.2, lonPeri = 130.0, node = 75.0, i = 12.0, M = 40.0;
  TElementsEquinoctialResult out;
  const long double meanLongitude = (lonPeri + M) * kDeg;
  const double sinHalfI = std::sin(i / 2 * kDeg);
  ElementsFromEquinoctial(out, 0.0L, 2.5L, meanLongitude, e * std::sin(lonPeri * kDeg),
                          e * std::cos(lonPeri * kDeg), sinHalfI * std::sin(node * kDeg),
                          sinHalfI * std::cos(node * kDeg));
  EXPECT_NEAR(static_cast<double>(out.e), e, 1e-15);
  EXPECT_NEAR(static_cast<double>(out.i), i, 1e-12);
  EXPECT_NEAR(static_cast<double>(out.node), node, 1e-12);
  EXPECT_NEAR(static_cast<double>(out.lonPerihelion), lonPeri, 1e-12);
  EXPECT_NEAR(static_cast<double>(out.argPerihelion), lonPeri - node, 1e-12);
  EXPECT_NEAR(static_cast<double>(out.meanAnomaly), M, 1e-12);
  EXPECT_NEAR(static_cast<double>(out.meanMotion), MeanDailyMotion(2.5), 1e-14);
  EXPECT_EQ(out.a, 2.5L);
}

TEST(PlanetMeanElementsPosition, EpochsAndPlausibleDistances) {
  TMatrix33Ext unused;
  long double x, y, z;
  // At the epoch the mean anomaly is the tabulated one: Mars at J2000,
  // Jupiter at JD 2450000.5.
  PlanetMeanElementsPosition(3, x, y, unused, z, 0.0);
  const double rMars = static_cast<double>(std::sqrt(x * x + y * y + z * z));
  double xx, yy, vx, vy;
  EllipticOrbitPosition(xx, yy, vx, vy, 19.3879, 1.523692, 0.093405);
  EXPECT_NEAR(rMars, std::hypot(xx, yy), 1e-12);
  PlanetMeanElementsPosition(4, x, y, unused, z, -0.042286105);
  EllipticOrbitPosition(xx, yy, vx, vy, 250.3274, 5.202437, 0.048402);
  EXPECT_NEAR(static_cast<double>(std::sqrt(x * x + y * y + z * z)), std::hypot(xx, yy), 1e-12);
  // Earth at J2000: about 0.983 AU, longitude about 100 deg (opposite the Sun).
  PlanetMeanElementsPosition(2, x, y, unused, z, 0.0);
  EXPECT_NEAR(static_cast<double>(std::sqrt(x * x + y * y)), 0.9833, 2e-3);
  EXPECT_NEAR(std::atan2(static_cast<double>(y), static_cast<double>(x)) / kDeg, 100.4, 0.5);
  EXPECT_EQ(z, 0.0L);
  PlanetMeanElementsPosition(9, x, y, unused, z, 0.0);
  EXPECT_EQ(x, 0.0L);
}

}  // namespace
}  // namespace kvx

namespace kvx {
namespace {

// Elements carried by rotating the orbit's own axes P and Q with the
// ecliptic precession matrix: an exact reference for the closed formulas.
void PrecessByAxes(double& i, double& node, double& w, double Tfrom, double Tto) {
  TMatrix33 g, p;
  GaussVectors(g, node, i, w);
  PrecessionMatrixEcliptic(p, Tfrom, Tto);
  double P[3], R[3];
  for (int row = 0; row < 3; ++row) {
    P[row] = p.m[row][0] * g.m[0][0] + p.m[row][1] * g.m[1][0] + p.m[row][2] * g.m[2][0];
    R[row] = p.m[row][0] * g.m[0][2] + p.m[row][1] * g.m[1][2] + p.m[row][2] * g.m[2][2];
  }
  i = std::acos(R[2]) / kDeg;
  node = std::atan2(R[0], -R[1]) / kDeg;
  // Perihelion measured from the new node in the orbit plane.
  const double n[3] = {std::cos(node * kDeg), std::sin(node * kDeg), 0};
  const double m[3] = {R[1] * n[2] - R[2] * n[1], R[2] * n[0] - R[0] * n[2], R[0] * n[1] - R[1] * n[0]};
  w = std::atan2(P[0] * m[0] + P[1] * m[1] + P[2] * m[2], P[0] * n[0] + P[1] * n[1]) / kDeg;
  node = std::fmod(node + 360, 360);
  w = std::fmod(w + 360, 360);
}

TEST(PrecessOrbitalElements, MatchesMeeusExampleAndTheRotatedAxes) {
  // Meeus example 24.a: comet Encke, B1950.0 to J2000.0.
  double i = 11.9384, node = 334.04096, w = 186.24444;
  const double T1950 = (2433282.4235 - 2451545.0) / 36525.0;
  PrecessOrbitalElements(i, node, w, T1950, 0.0);
  EXPECT_NEAR(i, 11.94453, 2e-5);
  EXPECT_NEAR(node, 334.75006, 2e-5);
  EXPECT_NEAR(w, 186.23352, 2e-5);
  // Other orbits and epochs against the exact rotation of the axes.
  struct Case {
    double i, node, w, Tfrom, Tto;
  } cases[] = {{5.0, 100.0, 20.0, 0.0, -1.0}, {120.0, 300.0, 250.0, -2.0, 0.5}, {0.5, 10.0, 80.0, 0.0, 1.0}};
  for (const Case& c : cases) {
    double i1 = c.i, n1 = c.node, w1 = c.w, i2 = c.i, n2 = c.node, w2 = c.w;
    PrecessOrbitalElements(i1, n1, w1, c.Tfrom, c.Tto);
    PrecessByAxes(i2, n2, w2, c.Tfrom, c.Tto);
    EXPECT_NEAR(i1, i2, 1e-6) << c.i;
    EXPECT_NEAR(std::remainder(n1 - n2, 360.0), 0.0, 1e-5 / std::sin(c.i * kDeg)) << c.i;
    EXPECT_NEAR(std::remainder(w1 + n1 - w2 - n2, 360.0), 0.0, 1e-4) << c.i;
  }
}

}  // namespace
}  // namespace kvx
