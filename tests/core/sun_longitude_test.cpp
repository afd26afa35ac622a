#include "core/sun_longitude.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"

namespace kvx {
namespace {

TEST(SunLongitudeTest, TrueLongitudeAndEccentricity) {
  double longitude, e;
  SunTrueLongitude(longitude, e, 0);
  EXPECT_DOUBLE_EQ(e, 0.016708617);
  EXPECT_NEAR(longitude, 280.3822, 5e-5);
  SunTrueLongitude(longitude, e, 1);
  EXPECT_GT(longitude, 36000);  // not reduced
  // 1992 October 13.0 TD: 199.90988 degrees (textbook example).
  SunTrueLongitude(longitude, e, JulianCenturiesJ2000(2448908.5));
  EXPECT_NEAR(Mod360(longitude), 199.90988, 5e-5);
}

TEST(SunLongitudeTest, RatesAreTheDerivativeOfThePosition) {
  double vx, vy, vz;
  SphericalRateToRectangular(vx, vy, vz, 30, 10, 2, 0.01, -0.02, 0.003);
  const double h = 1e-5, deg = 180 / M_PI;
  double x1, y1, z1, x2, y2, z2;
  PolarToCartesian(x1, y1, z1, 2 + 0.003 * h, 10 - 0.02 * h * deg, 30 + 0.01 * h * deg);
  PolarToCartesian(x2, y2, z2, 2 - 0.003 * h, 10 + 0.02 * h * deg, 30 - 0.01 * h * deg);
  EXPECT_NEAR(vx, (x1 - x2) / (2 * h), 1e-9);
  EXPECT_NEAR(vy, (y1 - y2) / (2 * h), 1e-9);
  EXPECT_NEAR(vz, (z1 - z2) / (2 * h), 1e-9);
}

TEST(SunLongitudeTest, LightTimeDisplacement) {
  double dx, dy, dz;
  LightTimeDisplacement(dx, dy, dz, 0.1, 120, 0, 1.0, 0.0);
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 0);
  EXPECT_EQ(dz, 0);
  // For the Sun itself about 1e-4 AU along its motion: subtracting it moves
  // the Sun back by about 20".
  LightTimeDisplacement(dx, dy, dz, 0.1, 120, 0, 1.0, 1.0);
  EXPECT_NEAR(std::hypot(dx, dy, dz), 1e-4, 0.05e-4);
  double x, y, z, r, lat, lon;
  PolarToCartesian(x, y, z, 1.0, 0, 120);
  CartesianToPolar(r, lat, lon, x - dx, y - dy, z - dz);
  EXPECT_NEAR((lon - 120) * 3600, -20.5, 0.7);
  EXPECT_NEAR(lat, 0, 1e-12);
  // Over a year the Sun's aberration follows 20.4898" / R: the longitude
  // rate is largest at perihelion (M = 0), not a quarter year later.
  for (double t = 0.0; t < 0.01; t += 0.0005) {
    double sunLongitude, e;
    SunTrueLongitude(sunLongitude, e, t);
    const double m = (357.5291 + 35999.05028 * t) * M_PI / 180;
    const double distance = 1.000001018 * (1 - e * e) / (1 + e * std::cos(m + 2 * e * std::sin(m)));
    LightTimeDisplacement(dx, dy, dz, t, sunLongitude, 0, distance, distance);
    PolarToCartesian(x, y, z, distance, 0, sunLongitude);
    CartesianToPolar(r, lat, lon, x - dx, y - dy, z - dz);
    EXPECT_NEAR(AngleToPlusMinus180(lon - Mod360(sunLongitude)) * 3600, -20.4898 / distance, 0.05) << t;
  }
  // Twice the distance, twice the light time.
  double dx2, dy2, dz2;
  LightTimeDisplacement(dx, dy, dz, 0.1, 120, 0, 1.0, 1.0);
  LightTimeDisplacement(dx2, dy2, dz2, 0.1, 120, 0, 1.0, 2.0);
  EXPECT_NEAR(dx2, 2 * dx, 1e-18);
}

TEST(SunLongitudeTest, ApparentSun) {
  // 1992 October 13.0 TD: geometric 199.90988 degrees at 0.99766 AU gives
  // about 13h13m31.4s, -7 47' 06" (textbook example, low-precision method).
  double ra, dec;
  const double t = JulianCenturiesJ2000(2448908.5);
  ApparentSunEquatorial(ra, dec, 199.90988, 0, 0.99766, t);
  EXPECT_NEAR(ra, (13 + 13 / 60.0 + 31.4 / 3600) * 15, 15 * 1.0 / 3600);
  EXPECT_NEAR(dec, -(7 + 47 / 60.0 + 6 / 3600.0), 1.5 / 3600);
  // Degrees, not hours; and near 0h it stays in [0, 360).
  ApparentSunEquatorial(ra, dec, 0.0015, 0, 1.0, 0);
  EXPECT_GE(ra, 0);
  EXPECT_LT(ra, 360);
  EXPECT_GT(ra, 300);  // aberration and nutation carry it just below 360
  // The same reduction done on the ecliptic: longitude - 20.5" + dpsi.
  double deps;
  const double dpsi = NutationDegrees(deps, t);
  double x, y, z, r, d2, ra2;
  PolarToCartesian(x, y, z, 1, 0, 199.90988 - 20.4898 / 3600 / 0.99766 + dpsi);
  double cosEps = 0;
  const double sinEps = SinCosDeg(cosEps, MeanObliquity(t) + deps);
  CartesianToPolar(r, d2, ra2, x, y * cosEps - z * sinEps, y * sinEps + z * cosEps);
  ApparentSunEquatorial(ra, dec, 199.90988, 0, 0.99766, t);
  EXPECT_NEAR(ra, ra2, 0.3 / 3600);
  EXPECT_NEAR(dec, d2, 0.3 / 3600);
}

}  // namespace
}  // namespace kvx
