// The orbit through two positions: elements of known orbits come back.
#include "core/orbit_from_positions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/two_body.h"

namespace kvx {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

struct Orbit {
  double q, e, i, node, w;
};

// Heliocentric position on an orbit dt days after perihelion.
TVector3Ext PositionOn(const Orbit& o, double dt) {
  double x, y, vx, vy;
  if (o.e < 1) {
    const double a = o.q / (1 - o.e);
    const double n = std::sqrt(kGaussK * kGaussK / (a * a * a)) / kDeg;
    EllipticOrbitPosition(x, y, vx, vy, n * dt, a, o.e);
  } else {
    HyperbolicOrbitPosition(x, y, vx, vy, dt / 36525.0, 0.0, o.q / (1 - o.e), o.e);
  }
  TMatrix33 m;
  GaussVectors(m, o.node, o.i, o.w);
  return TVector3Ext{m.m[0][0] * x + m.m[0][1] * y, m.m[1][0] * x + m.m[1][1] * y, m.m[2][0] * x + m.m[2][1] * y};
}

double AngleDifference(double a, double b) { return std::remainder(a - b, 360.0); }

TEST(ElementsFromTwoPositions, RecoversKnownOrbits) {
  const double tPerihelion = 2455000.5;
  struct Case {
    const char* what;
    Orbit o;
    double dtA, dtB;
  } cases[] = {
      {"asteroid", {2.1, 0.15, 11.0, 80.0, 150.0}, -40.0, 25.0},
      {"comet", {0.6, 0.8, 130.0, 200.0, 300.0}, 10.0, 60.0},
      {"hyperbola", {1.2, 1.3, 45.0, 30.0, 60.0}, -20.0, 30.0},
      {"short arc", {1.5, 0.05, 3.0, 10.0, 20.0}, 100.0, 110.0},
  };
  for (const Case& c : cases) {
    const double ta = tPerihelion + c.dtA, tb = tPerihelion + c.dtB;
    double T, q, e, incl, node, w;
    ASSERT_TRUE(ElementsFromTwoPositions(PositionOn(c.o, c.dtA), PositionOn(c.o, c.dtB), T, ta, tb, q, e, incl,
                                         node, w))
        << c.what;
    EXPECT_NEAR(q, c.o.q, 1e-8 * c.o.q) << c.what;
    EXPECT_NEAR(e, c.o.e, 1e-8) << c.what;
    EXPECT_NEAR(incl, c.o.i, 1e-8) << c.what;
    EXPECT_NEAR(AngleDifference(node, c.o.node), 0.0, 1e-8) << c.what;
    EXPECT_NEAR(AngleDifference(w, c.o.w), 0.0, 1e-8) << c.what;
    EXPECT_NEAR(T, (tPerihelion - 2451545.0) / 36525.0, 1e-8 / 36525.0 * 100) << c.what;
    EXPECT_GE(w, 0.0) << c.what;
  }
}

TEST(ElementsFromTwoPositions, CircularOrbitQuarterRevolutionApart) {
  // Circle of radius 2 AU in the ecliptic... tilted 20 deg so a node exists.
  const Orbit o{2.0, 0.0, 20.0, 40.0, 0.0};
  const double period = 360.0 / (std::sqrt(kGaussK * kGaussK / 8.0) / kDeg);
  double T, q, e, incl, node, w;
  ASSERT_TRUE(ElementsFromTwoPositions(PositionOn(o, 0.0), PositionOn(o, period / 4), T, 2451545.0,
                                       2451545.0 + period / 4, q, e, incl, node, w));
  EXPECT_LT(e, 1e-8);
  EXPECT_NEAR(q, 2.0, 1e-8);
  EXPECT_NEAR(incl, 20.0, 1e-8);
}

TEST(ElementsFromTwoPositions, EclipticPlaneTakesTheArgumentFromThePosition) {
  // The retrograde orbit is the prograde one mirrored in the x axis: the
  // mirrored perihelion direction, which is again 50 deg from the x axis
  // counted in the direction of motion.
  const Orbit o{1.0, 0.2, 0.0, 0.0, 50.0};
  for (double incl : {0.0, 180.0}) {
    TVector3Ext a = PositionOn(o, 5.0), b = PositionOn(o, 45.0);
    if (incl == 180.0) {
      a.y = -a.y;
      b.y = -b.y;
    }
    double T, q, e, i, node, w;
    ASSERT_TRUE(ElementsFromTwoPositions(a, b, T, 2451550.0, 2451590.0, q, e, i, node, w));
    EXPECT_NEAR(i, incl, 1e-9);
    EXPECT_EQ(node, 0.0);
    EXPECT_NEAR(AngleDifference(w, 50.0), 0.0, 1e-8) << incl;
    EXPECT_NEAR(e, 0.2, 1e-8);
  }
}

TEST(ElementsFromTwoPositions, DegenerateInputReportsFailure) {
  double T, q, e, i, node, w;
  const TVector3Ext a{1.0L, 0.5L, 0.1L};
  const TVector3Ext twice{2.0L, 1.0L, 0.2L};
  const TVector3Ext opposite{-1.0L, -0.5L, -0.1L};
  EXPECT_FALSE(ElementsFromTwoPositions(a, twice, T, 2451545.0, 2451565.0, q, e, i, node, w));
  EXPECT_EQ(q, 0.0);
  EXPECT_FALSE(ElementsFromTwoPositions(a, opposite, T, 2451545.0, 2451565.0, q, e, i, node, w));
  EXPECT_FALSE(ElementsFromTwoPositions(TVector3Ext{}, a, T, 2451545.0, 2451565.0, q, e, i, node, w));
  EXPECT_FALSE(ElementsFromTwoPositions(a, TVector3Ext{1.0L, 0.6L, 0.1L}, T, 2451545.0, 2451545.0, q, e, i, node, w));
}

TEST(SectorTriangleRatio, IsOneForZeroTimeAndStaysAboveItsBound) {
  const TVector3Ext ra{1.0L, 0.0L, 0.0L}, rb{0.0L, 1.0L, 0.0L};
  // Quarter circle at 1 AU: the sector is pi/4, the triangle 1/2.
  const double quarter = std::numbers::pi / 2;  // tau = k dt = angle for a = 1
  EXPECT_NEAR(SectorTriangleRatio(ra, rb, quarter), (std::numbers::pi / 4) / 0.5, 1e-9);
  // A time span far longer than any ellipse allows still ends, above the
  // smallest admissible eta and with a finite value.
  const double eta = SectorTriangleRatio(ra, rb, 50.0);
  EXPECT_TRUE(std::isfinite(eta));
  // The sector function vanishes at the solution.
  const double kappa = std::sqrt(2.0);
  const double m = quarter * quarter / (kappa * kappa * kappa);
  const double l = 2 / (2 * kappa) - 0.5;
  EXPECT_NEAR(SectorTriangleFunction(std::numbers::pi / 2, m, l), 0.0, 1e-9);
}

}  // namespace
}  // namespace kvx
