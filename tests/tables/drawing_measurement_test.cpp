// Positions measured on drawings: synthetic details projected onto the disc
// (sphere and Jupiter's spheroid, several P, B, L0, north or south up) come
// back to 1e-9 degrees; the centre, the limb, points off the disc and the
// polar-diameter rule.
#include "tables/drawing_measurement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kvx {
namespace {

constexpr double kRad = std::numbers::pi / 180.0;

// The drawing point of a detail at planetocentric latitude beta and
// longitude difference delta from the central meridian; false when it lies
// on the far side.
bool Project(const TDrawingMeasurement& m, double beta, double delta, double& x, double& y) {
  const double R = 0.5 * m.Diameter;
  const double Rp = m.Body >= 2 ? 0.5 * LimitPolarDiameter(m.PolarDiameter, m.Diameter) : R;
  const double k = (R / Rp) * (R / Rp);
  const double cb = std::cos(beta * kRad), sb = std::sin(beta * kRad);
  const double r = R / std::sqrt(cb * cb + k * sb * sb);
  const double X = r * cb * std::sin(delta * kRad), Y = r * cb * std::cos(delta * kRad), Z = r * sb;
  const double sB = std::sin(m.B * kRad), cB = std::cos(m.B * kRad);
  const double v = Z * cB - Y * sB, w = Y * cB + Z * sB;
  if (w < 0) return false;
  const double s = m.SouthAbove ? -1.0 : 1.0;
  const double sP = std::sin(m.P * kRad), cP = std::cos(m.P * kRad);
  x = s * (X * cP - v * sP);
  y = s * (X * sP + v * cP);
  return true;
}

TEST(DrawingMeasurement, SyntheticDetailsComeBack) {
  int checked = 0;
  for (int body : {0, 1, 2}) {
    for (double P : {0.0, 23.5, -160.0}) {
      for (double B : {0.0, 7.2, -24.0}) {
        for (bool south : {false, true}) {
          TDrawingMeasurement m;
          m.Body = body;
          m.P = P;
          m.B = B;
          m.L0 = 123.4;
          m.Diameter = 80;
          m.PolarDiameter = body == 2 ? 80 * (1 - 0.06487) : 80;
          m.SouthAbove = south;
          for (double beta : {-50.0, -10.0, 0.0, 33.0, 60.0}) {
            for (double delta : {-70.0, -20.0, 0.0, 45.0, 80.0}) {
              if (!Project(m, beta, delta, m.X, m.Y)) continue;
              double lon = 0, lat = 0;
              ASSERT_TRUE(MeasureDrawingPoint(m, lon, lat));
              const double expected = std::fmod(body == 0 ? 123.4 + delta + 360 : 123.4 - delta + 360, 360.0);
              EXPECT_NEAR(lat, beta, 1e-9) << body << " " << P << " " << B << " " << south;
              EXPECT_NEAR(lon, expected, 1e-9) << body << " " << P << " " << B << " " << south;
              ++checked;
            }
          }
        }
      }
    }
  }
  EXPECT_GT(checked, 300);
}

TEST(DrawingMeasurement, CentreLimbAndRefusals) {
  TDrawingMeasurement m;
  m.Body = 1;
  m.B = 12.5;
  m.L0 = 250;
  m.Diameter = 10;
  double lon = -1, lat = -1;
  ASSERT_TRUE(MeasureDrawingPoint(m, lon, lat));
  EXPECT_NEAR(lon, 250, 1e-12);
  EXPECT_NEAR(lat, 12.5, 1e-12);
  // The limb on the equator: 90 degrees from the central meridian (the
  // radius is half the diameter entered).
  m.B = 0;
  m.X = 5;
  ASSERT_TRUE(MeasureDrawingPoint(m, lon, lat));
  EXPECT_NEAR(lon, 160, 1e-9);
  m.X = 5.01;
  lon = lat = 7;
  EXPECT_FALSE(MeasureDrawingPoint(m, lon, lat));
  EXPECT_EQ(lon, 7);
  m.Body = 2;
  m.PolarDiameter = 9;
  EXPECT_FALSE(MeasureDrawingPoint(m, lon, lat));
  m.X = NAN;
  EXPECT_FALSE(MeasureDrawingPoint(m, lon, lat));
  m.X = 0;
  m.Diameter = 0;
  EXPECT_FALSE(MeasureDrawingPoint(m, lon, lat));
  EXPECT_DOUBLE_EQ(LimitPolarDiameter(12, 10), 9.8);
  EXPECT_DOUBLE_EQ(LimitPolarDiameter(9, 10), 9);
}

}  // namespace
}  // namespace kvx
