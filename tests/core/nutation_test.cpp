#include <gtest/gtest.h>

#include <cmath>

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"

namespace kvx {
namespace {

constexpr double kRadToArcsec = 206264.80624709636;

TEST(NutationTest, TextbookDateAndLeadingTerm) {
  // 1987 April 10, 0h TD: -3.788" and +9.443" (the truncated series).
  double dpsi = 0, deps = 0;
  NutationAngles(dpsi, deps, JulianCenturiesJ2000(2446895.5));
  EXPECT_NEAR(dpsi * kRadToArcsec, -3.7879, 5e-5);
  EXPECT_NEAR(deps * kRadToArcsec, 9.4425, 5e-5);
  // The degree form is the same in degrees.
  double depsDeg = 0;
  const double dpsiDeg = NutationDegrees(depsDeg, JulianCenturiesJ2000(2446895.5));
  EXPECT_NEAR(dpsiDeg * 3600, dpsi * kRadToArcsec, 1e-9);
  EXPECT_NEAR(depsDeg * 3600, deps * kRadToArcsec, 1e-9);
  // The leading term dominates: -17.1996" sin(Omega) at T = 0 within the
  // sum of the other amplitudes (about 1.9").
  NutationAngles(dpsi, deps, 0);
  const double node = 125.0445222 * M_PI / 180;
  EXPECT_NEAR(dpsi * kRadToArcsec, -17.1996 * std::sin(node), 1.9);
  EXPECT_NEAR(deps * kRadToArcsec, 9.2025 * std::cos(node), 0.8);
}

TEST(NutationTest, SinCosMultiplesFollowTheAdditionTheorem) {
  double s[6], c[6];
  SinCosMultiples(5, s, c, 0.7);
  EXPECT_EQ(s[0], 0);
  EXPECT_EQ(c[0], 1);
  for (int k = 1; k <= 5; ++k) {
    EXPECT_NEAR(s[k], std::sin(k * 0.7), 1e-15);
    EXPECT_NEAR(c[k], std::cos(k * 0.7), 1e-15);
  }
}

TEST(ObliquityTest, SixByteRoundedPolynomial) {
  EXPECT_NEAR(MeanObliquity(0), 84381.448 / 3600, 1e-7 / 3600);
  EXPECT_EQ(MeanObliquity(0), static_cast<double>(RoundToSixByteReal(84381.448L) / 3600.0L));
  // Slope near J2000 is -46.81" per century; the stored form keeps about
  // 11 significant digits.
  EXPECT_NEAR((MeanObliquity(0.01) - MeanObliquity(-0.01)) / 0.02 * 3600, -46.8093, 1e-3);
  // Far from J2000 the rounded evaluation stays within a microarcsecond
  // of the exact polynomial.
  const double coefficients[11] = {84381.448, -4680.93, -1.55, 1999.25, -51.38, -249.67,
                                   -39.05,    7.12,     27.87, 5.79,    2.45};
  for (double t = -60; t <= 60; t += 7.5) {
    double sum = 0;
    for (int power = 10; power >= 0; --power) sum = sum * (t / 100) + coefficients[power];
    EXPECT_NEAR(MeanObliquity(t) * 3600, sum, 1e-6) << t;
  }
}

}  // namespace
}  // namespace kvx
