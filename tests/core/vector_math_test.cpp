#include "core/vector_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace kvx {
namespace {

constexpr double kPi = 3.141592653589793;

TEST(VectorMathTest, DegreeTrigonometryUsesTheStoredFactor) {
  EXPECT_NEAR(SinDeg(30), 0.5, 1e-15);
  EXPECT_NEAR(CosDeg(60), 0.5, 1e-15);
  EXPECT_NEAR(TanDeg(45), 1.0, 1e-15);
  double c = 0;
  EXPECT_NEAR(SinCosDeg(c, 210), -0.5, 1e-15);
  EXPECT_NEAR(c, -std::sqrt(3.0) / 2, 1e-15);
  // Many turns: the extended factor keeps the error of the reduction small.
  EXPECT_NEAR(SinDeg(36000 + 30), 0.5, 1e-12);
  // The stored factor is short of pi/180 by 2.4e-16 of itself.
  EXPECT_NEAR(static_cast<double>(SinDegExt(30.0L)), 0.5, 2e-16);
  EXPECT_NEAR(static_cast<double>(TanDegExt(135.0L)), -1.0, 3e-15);
}

// The degree functions reduce by whole right angles themselves: they must
// agree with the library's sine and cosine of the same product in every
// quadrant, at the quadrant boundaries, for negative and large angles. The
// library rounds the product x * factor first, an error of |x factor| 2^-64;
// beyond that the two may differ by an ulp of the result.
TEST(VectorMathTest, DegreeTrigonometryAgreesWithTheLibraryInEveryQuadrant) {
  std::vector<double> angles;
  for (int k = -12; k <= 12; ++k)
    for (double d : {0.0, 1e-12, -1e-12, 1e-7, -1e-7, 0.3, -0.3, 44.999999, -44.999999, 45.0})
      angles.push_back(90.0 * k + d);
  std::uint64_t seed = 42;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    const double u = static_cast<double>(seed >> 11) * 0x1p-53;
    angles.push_back((u - 0.5) * (i % 4 == 0 ? 2e6 : 800));
  }
  angles.push_back(1e17);  // beyond the own reduction: the library's value
  for (double x : angles) {
    const long double a = x * kDegToRadFactor;
    const long double s = std::sin(a), c = std::cos(a);
    const long double slack = std::fabs(a) * 0x1p-63L + 0x1p-62L;
    double cosine = 0;
    const double sine = SinCosDeg(cosine, x);
    ASSERT_LE(std::fabs(sine - s), slack + std::fabs(s) * 0x1p-52L) << x;
    ASSERT_LE(std::fabs(cosine - c), slack + std::fabs(c) * 0x1p-52L) << x;
    ASSERT_EQ(SinDeg(x), sine) << x;
    ASSERT_EQ(CosDeg(x), cosine) << x;
    ASSERT_LE(std::fabs(SinDegExt(x) - s), slack) << x;
    ASSERT_LE(std::fabs(CosDegExt(x) - c), slack) << x;
  }
  EXPECT_EQ(SinDeg(1e17), static_cast<double>(std::sin(1e17L * kDegToRadFactor)));
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    double cosine = 0;
    EXPECT_TRUE(std::isnan(SinCosDeg(cosine, bad)));
    EXPECT_TRUE(std::isnan(cosine));
    EXPECT_TRUE(std::isnan(TanDeg(bad)));
  }
}

TEST(VectorMathTest, InverseTrigonometryAndClamping) {
  EXPECT_DOUBLE_EQ(ArcCosDeg(1), 0);
  EXPECT_DOUBLE_EQ(ArcCosDeg(-1), 180);
  EXPECT_NEAR(ArcCosDeg(0.5), 60, 1e-12);
  EXPECT_NEAR(ArcCosDeg(-0.5), 120, 1e-12);
  EXPECT_NEAR(ArcCosDeg(1e-8), 90 - 1e-8 * 57.29577951308231, 1e-15);
  EXPECT_NEAR(ArcSinDeg(0.5), 30, 1e-12);
  EXPECT_NEAR(ArcSinDeg(-0.5), -30, 1e-12);
  EXPECT_NEAR(ArcTanDeg(1), 45, 1e-13);
  // Arguments pushed out of [-1, 1] by rounding are clamped, not NaN.
  EXPECT_DOUBLE_EQ(ArcSinDeg(1.0000000000000002), 90);
  EXPECT_DOUBLE_EQ(ArcSinDeg(-1.5), -90);
  EXPECT_DOUBLE_EQ(ArcSinDeg(1), 90);
  EXPECT_DOUBLE_EQ(ArcCosDeg(1.0000000000000002), 0);
  EXPECT_DOUBLE_EQ(ArcCosDeg(-3), 180);
  EXPECT_DOUBLE_EQ(ArcSinRad(2), kPi / 2);
  EXPECT_DOUBLE_EQ(ArcSinRad(-1), -kPi / 2);
  EXPECT_NEAR(ArcSinRad(0.5), kPi / 6, 1e-15);
  EXPECT_EQ(ArcCosDegExt(1.5L), 0.0L);
  EXPECT_EQ(ArcCosDegExt(-1.5L), 180.0L);
  EXPECT_EQ(ArcCosDegExt(std::numeric_limits<long double>::quiet_NaN()), 0.0L);
  EXPECT_EQ(ArcCosDegExt(-1.0L), 180.0L);
  EXPECT_NEAR(static_cast<double>(ArcCosDegExt(0.5L)), 60, 1e-13);
  EXPECT_NEAR(static_cast<double>(ArcSinDegExt(-0.5L)), -30, 1e-13);
  EXPECT_EQ(ArcSinDegExt(1.25L), 90.0L);
  EXPECT_EQ(ArcSinDegExt(-1.0L), -90.0L);
}

TEST(VectorMathTest, ArcTan2DegMatchesTheLibraryInEveryQuadrant) {
  EXPECT_EQ(ArcTan2Deg(0, 0), 0);
  EXPECT_EQ(ArcTan2Deg(0, -1), 180);
  EXPECT_NEAR(ArcTan2Deg(1, 1), 45, 1e-13);
  EXPECT_NEAR(ArcTan2Deg(-1, -1), -135, 1e-13);
  for (int i = 0; i < 720; ++i) {
    const double angle = -179.75 + 0.5 * i;
    const double r = 0.3 + i * 0.01;
    const double x = r * std::cos(angle * kPi / 180), y = r * std::sin(angle * kPi / 180);
    ASSERT_NEAR(ArcTan2Deg(y, x), std::atan2(y, x) * 180 / kPi, 1e-12) << angle;
    ASSERT_NEAR(static_cast<double>(ArcTan2DegExt(y, x)), std::atan2(y, x) * 180 / kPi, 1e-12) << angle;
  }
  // The own arctangent against the library's in extended precision, around
  // each eighth where it changes its centre, and beyond 1.
  for (int k = 0; k <= 64; ++k) {
    for (long double d : {0.0L, 1e-15L, -1e-15L, 0.0624L, -0.0624L}) {
      const long double v = k / 16.0L + d;
      const long double expected = std::atan(v) * kRadToDegFactor;
      // (At and beyond 1 the quadrant form 90 - atan(1/v) takes over.)
      if (v < 1) {
        ASSERT_LE(std::fabs(ArcTan2DegExt(v, 1.0L) - expected), std::fabs(expected) * 0x1p-61L) << v;
      }
      ASSERT_LE(std::fabs(ArcTanDeg(static_cast<double>(v)) - std::atan(static_cast<long double>(
                                                                   static_cast<double>(v))) * kRadToDegFactor),
                std::fabs(expected) * 0x1p-52L) << v;
    }
  }
  EXPECT_TRUE(std::isnan(ArcTan2Deg(std::numeric_limits<double>::quiet_NaN(), 1)));
  EXPECT_TRUE(std::isnan(ArcTanDeg(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_NEAR(ArcTanDeg(std::numeric_limits<double>::infinity()), 90, 1e-13);
}

TEST(VectorMathTest, ReductionsStayInsideTheirRanges) {
  EXPECT_EQ(Mod360(-30), 330);
  EXPECT_EQ(Mod360(720), 0);
  EXPECT_EQ(Mod360(-720), 0);
  EXPECT_NEAR(Mod360(1234567.25), 127.25, 1e-9);
  // A tiny negative angle must not come back as 360.
  EXPECT_LT(Mod360(-1e-20), 360.0);
  EXPECT_GE(Mod360(-1e-20), 0.0);
  EXPECT_EQ(AngleToPlusMinus180(180), 180);
  EXPECT_EQ(AngleToPlusMinus180(190), -170);
  EXPECT_EQ(AngleToPlusMinus180(-190), -190);
  EXPECT_DOUBLE_EQ(FracPositive(-0.25), 0.75);
  EXPECT_DOUBLE_EQ(FracPositive(3.5), 0.5);
  EXPECT_LT(FracPositive(-1e-20), 1.0);
  EXPECT_DOUBLE_EQ(FracPositiveTrunc(-2.25), 0.75);
  EXPECT_DOUBLE_EQ(FracPositiveTrunc(5e9 + 0.5), 0.5);  // beyond the 32-bit range: no overflow
  EXPECT_NEAR(FloatModulo(-1, 2 * kPi), 2 * kPi - 1, 1e-15);
  EXPECT_NEAR(Mod2Pi(7.0), 7.0 - 6.283185307179586, 1e-15);
  EXPECT_EQ(FloatModulo(-6.283185307179586, 6.283185307179586), 0.0);
  EXPECT_LT(FloatModulo(-1e-30, 2 * kPi), 2 * kPi);
  EXPECT_EQ(Sign(-3), -1.0);
  EXPECT_EQ(Sign(0), 0.0);
  EXPECT_EQ(Sign(2e-300), 1.0);
  EXPECT_NEAR(Log10(1000), 3, 1e-15);
  EXPECT_EQ(DaysToHours(0.5), 12);
  EXPECT_EQ(HoursToDays(6), 0.25);
}

TEST(VectorMathTest, SphericalAndRectangularRoundTrip) {
  double r = 1, lat = 1, lon = 1;
  CartesianToPolar(r, lat, lon, 0, 0, 0);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(lat, 0);
  EXPECT_EQ(lon, 0);
  CartesianToPolar(r, lat, lon, -2, 0, 0);
  EXPECT_EQ(lon, 180);
  EXPECT_EQ(r, 2);
  CartesianToPolar(r, lat, lon, 1, -1e-9, 0);
  EXPECT_GT(lon, 359.9999);
  EXPECT_LT(lon, 360);
  CartesianToPolar(r, lat, lon, 1, -1e-30, 0);  // rounds onto the axis, still below 360
  EXPECT_LT(lon, 360);
  CartesianToPolar(r, lat, lon, 0, 0, -5);
  EXPECT_EQ(lat, -90);
  double x = 0, y = 0, z = 0;
  for (double la = -89.5; la < 90; la += 7.25)
    for (double lo = 0.5; lo < 360; lo += 11.5) {
      PolarToCartesian(x, y, z, 2.5, la, lo);
      CartesianToPolar(r, lat, lon, x, y, z);
      ASSERT_NEAR(r, 2.5, 1e-14);
      ASSERT_NEAR(lat, la, 1e-12);
      ASSERT_NEAR(lon, lo, 1e-12);
    }
  long double ex = 0, ey = 0, ez = 0;
  SphericalToRectExt(ex, ey, ez, 2.0L, 30.0L, 90.0L);
  EXPECT_NEAR(static_cast<double>(ex), 0, 1e-15);
  EXPECT_NEAR(static_cast<double>(ey), std::sqrt(3.0), 1e-15);
  EXPECT_NEAR(static_cast<double>(ez), 1, 1e-15);
  PolarToCartesianExtended(ex, ey, ez, 2.0, 30.0, 90.0);
  EXPECT_NEAR(static_cast<double>(ez), 1, 1e-15);
}

TEST(VectorMathTest, VelocityIsTheDerivativeOfThePosition) {
  // Compare the analytic rates with a central difference of the position.
  const double lon = 123.4, lat = -21.7, r = 1.7, dlon = 0.013, dlat = -0.004, dr = 0.002;
  double x, y, z, vx, vy, vz;
  SphericalToRectangularWithVelocity(x, y, z, lon, lat, r, dlon, dlat, dr, vx, vy, vz);
  const double h = 1e-4, deg = 180 / kPi;
  double x1, y1, z1, x2, y2, z2;
  PolarToCartesian(x1, y1, z1, r + dr * h, lat + dlat * h * deg, lon + dlon * h * deg);
  PolarToCartesian(x2, y2, z2, r - dr * h, lat - dlat * h * deg, lon - dlon * h * deg);
  EXPECT_NEAR(vx, (x1 - x2) / (2 * h), 1e-9);
  EXPECT_NEAR(vy, (y1 - y2) / (2 * h), 1e-9);
  EXPECT_NEAR(vz, (z1 - z2) / (2 * h), 1e-9);
  double px, py, pz;
  PolarToCartesian(px, py, pz, r, lat, lon);
  EXPECT_DOUBLE_EQ(x, px);
  EXPECT_DOUBLE_EQ(z, pz);
}

TEST(VectorMathTest, MatricesReadAllOldComponentsFirst) {
  TMatrix33 rotate;  // 90 degrees about z: (x, y, z) -> (-y, x, z)
  rotate.m[0][1] = -1;
  rotate.m[1][0] = 1;
  rotate.m[2][2] = 1;
  double x = 1, y = 2, z = 3;
  MatrixTimesVector(rotate, x, y, z);
  EXPECT_EQ(x, -2);
  EXPECT_EQ(y, 1);
  EXPECT_EQ(z, 3);
  long double ex = 1, ey = 2, ez = 3;
  MatrixTimesVectorExtended(rotate, ex, ey, ez);
  EXPECT_EQ(ex, -2.0L);
  EXPECT_EQ(ey, 1.0L);
  OrbitPlaneToSpace(rotate, 1, 2, x, y, z);
  EXPECT_EQ(x, -2);
  EXPECT_EQ(y, 1);
  EXPECT_EQ(z, 0);
}

TEST(VectorMathTest, OrbitOrientationMatrixIsARotationWithPQRColumns) {
  TMatrix33Ext M;
  RotationMatrixFromAngles(M, 80.0L, 10.0L, 30.0L);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      long double dot = 0;
      for (int k = 0; k < 3; ++k) dot += M.m[k][i] * M.m[k][j];
      ASSERT_NEAR(static_cast<double>(dot), i == j ? 1.0 : 0.0, 1e-17);
    }
  // R is the orbit's pole: (sin i sin N, -sin i cos N, cos i).
  EXPECT_NEAR(static_cast<double>(M.m[0][2]), std::sin(10 * kPi / 180) * std::sin(80 * kPi / 180), 1e-16);
  EXPECT_NEAR(static_cast<double>(M.m[2][2]), std::cos(10 * kPi / 180), 1e-16);
  // With the node and the perihelion on the x axis and no inclination P is x.
  RotationMatrixFromAngles(M, 0.0L, 0.0L, 0.0L);
  long double x = 0, y = 0, z = 0;
  OrbitPlaneToEcliptic(M, x, y, z, 2.0L, 3.0L);
  EXPECT_EQ(x, 2.0L);
  EXPECT_EQ(y, 3.0L);
  EXPECT_EQ(z, 0.0L);
  // The perihelion point in space has the argument of latitude w from the node.
  RotationMatrixFromAngles(M, 40.0L, 25.0L, 70.0L);
  MatrixTimesVectorExt(M, x = 1, y = 0, z = 0);
  EXPECT_NEAR(static_cast<double>(ArcSinDegExt(z)), std::asin(std::sin(25 * kPi / 180) * std::sin(70 * kPi / 180)) * 180 / kPi, 1e-12);
}

TEST(VectorMathTest, ExtendedVectorProducts) {
  const TVector3Ext a{1.0L, 2.0L, 3.0L}, b{-4.0L, 0.5L, 2.0L};
  TVector3Ext c;
  CrossProductExt(a, b, c);
  EXPECT_EQ(c.x, 2.0L * 2 - 3 * 0.5L);
  EXPECT_EQ(c.y, 3.0L * -4 - 1 * 2.0L);
  EXPECT_EQ(c.z, 1.0L * 0.5L - 2.0L * -4);
  EXPECT_EQ(DotProductExt(a, c), 0.0L);
  TVector3Ext d = a;
  CrossProductExtended(d, b, d);  // the result may alias an operand
  EXPECT_EQ(d.x, c.x);
  EXPECT_EQ(d.z, c.z);
  EXPECT_EQ(VectorLengthExt(TVector3Ext{3.0L, 4.0L, 12.0L}), 13.0L);
}

TEST(VectorMathTest, SixByteRealRoundingKeepsFortyBits) {
  EXPECT_EQ(RoundToSixByteReal(0.0L), 0.0L);
  EXPECT_EQ(RoundToSixByteReal(84381.448L), RoundToSixByteReal(RoundToSixByteReal(84381.448L)));
  // 1 + 2^-39 is representable, 1 + 2^-41 is not.
  EXPECT_EQ(RoundToSixByteReal(1.0L + std::ldexp(1.0L, -39)), 1.0L + std::ldexp(1.0L, -39));
  EXPECT_EQ(RoundToSixByteReal(1.0L + std::ldexp(1.0L, -41)), 1.0L);
  EXPECT_EQ(RoundToSixByteReal(-3.0L - std::ldexp(1.0L, -42)), -3.0L);
  const long double third = 1.0L / 3.0L;
  const long double rounded = RoundToSixByteReal(third);
  EXPECT_NE(rounded, third);
  EXPECT_LE(std::fabs(rounded - third), std::ldexp(1.0L, -41));
  EXPECT_EQ(RoundToSixByteReal(std::ldexp(1.0L, -140)), 0.0L);
  // The dot product of the second extended set is rounded, its length too.
  const TVector3Ext v{third, 0.0L, 0.0L};
  EXPECT_EQ(DotProductExtended(v, TVector3Ext{1.0L, 0.0L, 0.0L}), static_cast<double>(rounded));
  EXPECT_NE(DotProductExtended(v, TVector3Ext{1.0L, 0.0L, 0.0L}), static_cast<double>(third));
  EXPECT_EQ(VectorLengthExtended(TVector3Ext{3.0L, 4.0L, 0.0L}), 5.0);
}

TEST(VectorMathTest, AnglePairsAndSignedDifferences) {
  double a = 350, b = 10;
  AlignAnglePair(a, b);
  EXPECT_EQ(a, -10);
  EXPECT_EQ(b, 10);
  a = 10, b = 350;
  AlignAnglePair(a, b);
  EXPECT_EQ(a, 10);
  EXPECT_EQ(b, -10);
  a = 370, b = -20;
  AlignAnglePair(a, b);
  EXPECT_EQ(a, 10);
  EXPECT_EQ(b, -20);
  double d = 350;
  a = 355, b = 5;
  AngleDifferenceSigned(a, b, d);
  EXPECT_EQ(d, -10);
  d = 350, a = 100, b = 120;
  AngleDifferenceSigned(a, b, d);
  EXPECT_EQ(d, 350);
  EXPECT_TRUE(IsBetween(5, 1, 3));
  EXPECT_FALSE(IsBetween(1, 5, 5));
  EXPECT_FALSE(IsBetween(1, 5, 0));
  EXPECT_DOUBLE_EQ(LinearCrossingTime(0, 10, 0, 10, 5, 5), 5);
  EXPECT_DOUBLE_EQ(LinearCrossingTime(2, 4, 1, 3, 3, 2), 2 + 2.0 / 1.5);
}

TEST(VectorMathTest, HyperbolicAnglesStayFinite) {
  EXPECT_EQ(HyperbolicAngleDeg(0, 0), 0);
  EXPECT_NEAR(HyperbolicAngleDeg(0.5, 1), std::atanh(0.5) * 180 / kPi, 1e-12);
  EXPECT_NEAR(HyperbolicAngleDeg(-0.5, -1), -(180 - std::atanh(0.5) * 180 / kPi), 1e-12);
  EXPECT_TRUE(std::isfinite(HyperbolicAngleDeg(1, 1)));
  EXPECT_TRUE(std::isfinite(HyperbolicAngleDeg(-3, 1)));
  double r, lat, lon;
  HyperbolicCartesianToPolar(r, lat, lon, 2, -1, 0);
  EXPECT_NEAR(lon, 360 - std::atanh(0.5) * 180 / kPi, 1e-12);
  EXPECT_EQ(lat, 0);
  EXPECT_NEAR(r, std::sqrt(5.0), 1e-15);
}

TEST(VectorMathTest, RadianFamily) {
  EXPECT_NEAR(ArcTan2Rad(0, 0), 3 * kPi / 2, 1e-15);
  EXPECT_NEAR(ArcTan2Rad(1, 0), kPi / 2, 1e-15);
  EXPECT_NEAR(ArcTan2Rad(0, -1), kPi, 1e-15);
  EXPECT_NEAR(ArcTan2Rad(-1, -1), 5 * kPi / 4, 1e-15);
  EXPECT_NEAR(ArcTan2Rad(-1, 1), -kPi / 4, 1e-15);
  EXPECT_EQ(Power(0, 2), 1.0);
  EXPECT_EQ(Power(-2, 2), 1.0);
  EXPECT_NEAR(Power(2, 10), 1024, 1e-12);
  EXPECT_EQ(Cube(-3), -27);
  EXPECT_NEAR(DegToRad(180), kPi, 1e-15);
  EXPECT_NEAR(RadToDeg(kPi / 2), 90, 1e-13);
  EXPECT_NEAR(TanRad(kPi / 4), 1, 1e-15);
  TVectorXYZR v{3, 4, 12, 0};
  SetVectorLength(v);
  EXPECT_EQ(v.r, 13);
  EXPECT_EQ(DotProduct3(v, TVectorXYZR{1, 1, 1, 0}), 19);
}

TEST(VectorMathTest, SmallRotationAndPlainComparisons) {
  double x = 1, y = 2, z = 3;
  SmallRotateVector(x, y, z, 0.001, 0.002, 0.003);
  EXPECT_DOUBLE_EQ(x, 1 - (0.003 * 2 + 0.002 * 3));
  EXPECT_DOUBLE_EQ(y, 2 + 0.003 * 1 - 0.001 * 3);
  EXPECT_DOUBLE_EQ(z, 3 + 0.002 * 1 + 0.001 * 2);
  EXPECT_EQ(LargerInt(-3, 2), 2);
  EXPECT_EQ(SmallerDouble(-3, 2), -3);
}

}  // namespace
}  // namespace kvx
