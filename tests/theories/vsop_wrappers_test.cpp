// The VSOP87 A and C wrappers: each calls its own entry point, returns the
// library's vector turned by the FK5 correction and the velocity as it came.
#include "theories/vsop_wrappers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "theories/theory_libraries.h"
#include "theory_library_test_support.h"

namespace kvx {
namespace {

using Wrapper = void (*)(double&, double&, double&, double, double&, double&, double&, double&, double&, double&,
                         TTruncationLevel);
using Entry = void (*)(double, double&, double&, double&, double&, double&, double&, double);

struct Pair {
  const char* name;
  Wrapper wrapper;
  Entry entry;
};

const Pair kPairs[] = {
    {"A Mercury", Vsop87AMercury, vsop_a_mer}, {"A Venus", Vsop87AVenus, vsop_a_ven},
    {"A Mars", Vsop87AMars, vsop_a_mar},       {"A Jupiter", Vsop87AJupiter, vsop_a_jup},
    {"A Saturn", Vsop87ASaturn, vsop_a_sat},   {"A Uranus", Vsop87AUranus, vsop_a_ura},
    {"A Neptune", Vsop87ANeptune, vsop_a_nep}, {"A Earth", Vsop87AEarth, vsop_a_erd},
    {"A Earth-Moon", Vsop87AEarthMoon, vsop_a_emo}, {"C Mercury", Vsop87CMercury, vsop_c_mer},
    {"C Venus", Vsop87CVenus, vsop_c_ven},     {"C Mars", Vsop87CMars, vsop_c_mar},
    {"C Jupiter", Vsop87CJupiter, vsop_c_jup}, {"C Saturn", Vsop87CSaturn, vsop_c_sat},
    {"C Uranus", Vsop87CUranus, vsop_c_ura},   {"C Neptune", Vsop87CNeptune, vsop_c_nep},
    {"C Sun", Vsop87CSun, vsopcsun},
};

class VsopWrappersTest : public ::testing::Test {
 protected:
  void SetUp() override { test::OpenBuiltLibraries(); }
  void TearDown() override { CloseTheoryLibraries(); }
};

TEST_F(VsopWrappersTest, EachWrapperTurnsItsOwnBodyByTheFk5Correction) {
  for (double T : {-0.8, 0.0, 0.6}) {
    for (const Pair& pair : kPairs) {
      double L, B, R, X, Y, Z, VX, VY, VZ;
      pair.wrapper(L, B, R, T, X, Y, Z, VX, VY, VZ, 6);
      double x, y, z, vx, vy, vz;
      pair.entry(T, x, y, z, vx, vy, vz, 6.0);
      SCOPED_TRACE(pair.name);
      const double r = std::sqrt(x * x + y * y + z * z);
      EXPECT_NEAR(R, r, 1e-14 * r);
      EXPECT_NEAR(std::sqrt(X * X + Y * Y + Z * Z), r, 1e-14 * r);
      EXPECT_EQ(VX, vx);
      EXPECT_EQ(VY, vy);
      EXPECT_EQ(VZ, vz);
      // The FK5 correction moves the direction by about 0.09" in longitude
      // and less than 0.06" in latitude.
      const double lon = std::atan2(y, x) * 180.0 / std::numbers::pi;
      const double lat = std::asin(z / r) * 180.0 / std::numbers::pi;
      const double dL = std::remainder(L - lon, 360.0) * 3600.0;
      const double dB = (B - lat) * 3600.0;
      EXPECT_NEAR(dL * std::cos(lat * std::numbers::pi / 180.0), -0.09, 0.06);
      EXPECT_LT(std::abs(dB), 0.06);
      EXPECT_GE(L, 0.0);
      EXPECT_LT(L, 360.0);
      EXPECT_NEAR(X, R * std::cos(B * std::numbers::pi / 180) * std::cos(L * std::numbers::pi / 180), 1e-12 * R);
      EXPECT_NEAR(Z, R * std::sin(B * std::numbers::pi / 180), 1e-12 * R);
    }
  }
}

TEST(TruncationLevelItems, MapTheFiveLevelsAndNothingElse) {
  EXPECT_EQ(TruncationLevelItem(-1), 0);
  EXPECT_EQ(TruncationLevelItem(4), 1);
  EXPECT_EQ(TruncationLevelItem(10), 4);
  EXPECT_EQ(TruncationLevelItem(0), -1);
  EXPECT_EQ(TruncationLevelItem(5), -1);
}

}  // namespace
}  // namespace kvx
