// Planet positions by index for the orbit integration.
#include "theories/planet_by_index.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/two_body.h"
#include "theories/planet_series.h"
#include "theories/pluto.h"
#include "theories/sun_position.h"

namespace kvx {
namespace {

TMatrix33Ext Identity() {
  TMatrix33Ext m;
  m.m[0][0] = m.m[1][1] = m.m[2][2] = 1;
  return m;
}

struct Position {
  long double x, y, z;
};

Position ByIndex(int index, double T, TTheorySelection selection = {}, const TMatrix33Ext& m = Identity()) {
  PositionFileHandles handles{};
  Position p{};
  PlanetPositionByIndex(handles, selection, index, T, p.x, p.y, p.z, m, kFullTheory);
  return p;
}

TEST(PlanetPositionByIndex, EarthIsTheNegatedSunAndPlanetsFollowTheirSeries) {
  const double T = 0.123;
  PositionFileHandles handles{};
  TTheorySelection internal{};
  double L, B, R, X, Y, Z, VX, VY, VZ;
  SunPosition(handles, internal, L, T, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
  const Position earth = ByIndex(2, T);
  const double d2r = M_PI / 180;
  EXPECT_NEAR(static_cast<double>(earth.x), -R * std::cos(B * d2r) * std::cos(L * d2r), 1e-12);
  EXPECT_NEAR(static_cast<double>(earth.y), -R * std::cos(B * d2r) * std::sin(L * d2r), 1e-12);
  EXPECT_NEAR(static_cast<double>(earth.z), -R * std::sin(B * d2r), 1e-12);

  JupiterHeliocentric(handles[4], internal, T, L, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
  const Position jupiter = ByIndex(4, T);
  EXPECT_NEAR(static_cast<double>(jupiter.x), R * std::cos(B * d2r) * std::cos(L * d2r), 1e-12);
  EXPECT_NEAR(static_cast<double>(jupiter.z), R * std::sin(B * d2r), 1e-12);
}

TEST(PlanetPositionByIndex, MatrixRotatesTheResult) {
  TMatrix33Ext quarter;  // +90 deg about z
  quarter.m[0][1] = -1;
  quarter.m[1][0] = 1;
  quarter.m[2][2] = 1;
  const Position plain = ByIndex(3, 0.05);
  const Position turned = ByIndex(3, 0.05, {}, quarter);
  EXPECT_NEAR(static_cast<double>(turned.x), static_cast<double>(-plain.y), 1e-15);
  EXPECT_NEAR(static_cast<double>(turned.y), static_cast<double>(plain.x), 1e-15);
  EXPECT_NEAR(static_cast<double>(turned.z), static_cast<double>(plain.z), 1e-15);
}

TEST(PlanetPositionByIndex, PlutoOutsideTheTheoryComesFromMeanElementsUnrotated) {
  TMatrix33Ext quarter;
  quarter.m[0][1] = -1;
  quarter.m[1][0] = 1;
  quarter.m[2][2] = 1;
  // The internal series ends at 2100 (T = 1.0): T = 1.5 takes the mean elements.
  const Position late = ByIndex(8, 1.5, {}, quarter);
  long double x, y, z;
  PlanetMeanElementsPosition(8, x, y, quarter, z, 1.5);
  EXPECT_EQ(late.x, x);
  EXPECT_EQ(late.y, y);
  EXPECT_EQ(late.z, z);
  // Inside the range the Pluto routine is used.
  PositionFileHandles handles{};
  double L, B, R, X, Y, Z, VX, VY, VZ;
  PlutoHeliocentric(handles[8], TTheorySelection{}, 0.2, L, B, R, X, Y, Z, VX, VY, VZ);
  const Position now = ByIndex(8, 0.2);
  EXPECT_NEAR(static_cast<double>(std::sqrt(now.x * now.x + now.y * now.y + now.z * now.z)), R, 1e-12);
}

TEST(PlanetPositionByIndex, ThirdSelectionByteFallsBackToTheInternalSeries) {
  // At 1800 (T = -2) only the library theories are valid. With the third
  // byte set the planet theory becomes the internal series, whose range
  // excludes 1800, so Pluto comes from its mean elements.
  TTheorySelection library{};
  library.bytes[0] = kPlanetTheoryVsop87D;
  library.bytes[2] = 1;
  const Position fallback = ByIndex(8, -2.0, library);
  long double x, y, z;
  PlanetMeanElementsPosition(8, x, y, Identity(), z, -2.0);
  EXPECT_EQ(fallback.x, x);
  EXPECT_EQ(fallback.y, y);
  // Without the byte the library theory keeps the table-driven series.
  library.bytes[2] = 0;
  const Position series = ByIndex(8, -2.0, library);
  EXPECT_NE(series.x, x);
}

TEST(PlanetPositionByIndex, MeanElementsStayCloseToTheSeries) {
  // The built-in mean elements are Keplerian and of fixed equinox: near
  // J2000 they stay within a few percent of the perturbed positions of date
  // (Saturn's and Uranus' perturbations are the largest). A wrong digit in
  // the table would show far beyond that.
  TMatrix33Ext unused;
  for (int index : {0, 1, 2, 3, 4, 5, 6, 7}) {
    for (double T : {-0.1, 0.0, 0.1}) {
      const Position p = ByIndex(index, T);
      long double x, y, z;
      PlanetMeanElementsPosition(index, x, y, unused, z, T);
      const long double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
      const long double d = std::sqrt((p.x - x) * (p.x - x) + (p.y - y) * (p.y - y) + (p.z - z) * (p.z - z));
      EXPECT_LT(static_cast<double>(d / r), index < 4 ? 0.01 : 0.03) << "index " << index << " T " << T;
    }
  }
}

TEST(PlanetPositionByIndex, UnknownIndexGivesTheOrigin) {
  const Position p = ByIndex(9, 0.0);
  EXPECT_EQ(p.x, 0.0L);
  EXPECT_EQ(p.y, 0.0L);
  EXPECT_EQ(p.z, 0.0L);
}

}  // namespace
}  // namespace kvx
