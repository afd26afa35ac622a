// Helpers of the planet and Pluto tests: the outputs of one heliocentric
// routine, and what every result of an internal series must satisfy.
#pragma once

#include <gtest/gtest.h>

#include "core/vector_math.h"

namespace kvx::test {

// Longitude, latitude (degrees), radius (AU), rectangular position and
// velocity, in the order the routines return them.
struct HeliocentricPlace {
  double L = 0, B = 0, R = 0, X = 0, Y = 0, Z = 0, VX = 0, VY = 0, VZ = 0;
};

// An internal series gives no velocity, and its rectangular position is
// that of (R, B, L).
inline void ExpectNoVelocityAndRectangularFromPolar(const HeliocentricPlace& p) {
  EXPECT_EQ(p.VX, 0.0);
  EXPECT_EQ(p.VY, 0.0);
  EXPECT_EQ(p.VZ, 0.0);
  double x, y, z;
  PolarToCartesian(x, y, z, p.R, p.B, p.L);
  EXPECT_EQ(p.X, x);
  EXPECT_EQ(p.Y, y);
  EXPECT_EQ(p.Z, z);
}

}  // namespace kvx::test
