// The element calculators against published values: the mean motion of
// a = 1 AU from the Gaussian constant, q from a and e, and Meeus'
// example 24.a (Astronomical Algorithms 2nd ed.: comet Encke's i, node and
// perihelion from B1950.0 to J2000.0, within 0.001 degrees).
#include "catalogues/element_calculators.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/two_body.h"

namespace kvx {
namespace {

TEST(ElementCalculators, MeanMotionPerihelionAndPrecession) {
  // n = k / a^1.5 in degrees per day with k = 0.01720209895.
  for (double a : {0.387, 1.0, 2.5, 39.5}) {
    EXPECT_NEAR(MeanDailyMotion(a), 0.01720209895 / std::pow(a, 1.5) * 180 / M_PI, 1e-12) << a;
  }
  EXPECT_NEAR(PerihelionDistance(0.2, 2.5), 2.0, 1e-12);

  // Meeus 24.a.
  TOrientationRecord encke;
  encke.Inclination = 11.93911;
  encke.Node = 334.04096;
  encke.Perihelion = 186.24444;
  encke.OldEquinox = 1950;
  encke.NewEquinox = 2000;
  TOrientationRecord reduced = encke;
  ReduceOrientationElements(reduced);
  EXPECT_NEAR(reduced.Inclination, 11.94524, 0.001);
  EXPECT_NEAR(reduced.Node, 334.75006, 0.001);
  EXPECT_NEAR(reduced.Perihelion, 186.23352, 0.001);
  // The same as a longitude of perihelion: node + argument, reduced to [0, 360).
  TOrientationRecord longitude = encke;
  longitude.LongitudeOfPerihelion = 1;
  longitude.Perihelion = encke.Node + encke.Perihelion;
  ReduceOrientationElements(longitude);
  EXPECT_NEAR(longitude.Perihelion, std::fmod(334.75006 + 186.23352, 360.0), 0.001);
  EXPECT_GE(longitude.Perihelion, 0.0);
  // Equal equinoxes leave every value as it was, negative angles reduced.
  TOrientationRecord same{12.5, -20.0, 359.5, 1987.3, 1987.3, 0};
  ReduceOrientationElements(same);
  EXPECT_NEAR(same.Inclination, 12.5, 1e-9);
  EXPECT_NEAR(same.Node, 340.0, 1e-9);
  EXPECT_NEAR(same.Perihelion, 359.5, 1e-9);

  EXPECT_NEAR(EquinoxOfJd(2451545.0 + 36525 * 0.25), 2025.0, 1e-9);
  double x = 0;
  EXPECT_TRUE(ParseCalculatorNumber(" 2,5 ", x));
  EXPECT_EQ(x, 2.5);
  for (const char* bad : {"", "-", "abc", "1e999", "nan"}) EXPECT_FALSE(ParseCalculatorNumber(bad, x)) << bad;
  EXPECT_EQ(CalculatorValueText(0.9856076686), "0.98560767");
}

}  // namespace
}  // namespace kvx
