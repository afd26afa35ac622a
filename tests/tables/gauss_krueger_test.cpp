// Gauss-Krüger conversion against PROJ (fixture by
// make_gauss_krueger_reference.py): forward within 1 cm, inverse within
// 1e-6°, round trips within 1e-7°; zone choice and refusals.
#include "tables/gauss_krueger.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/fixtures.h"

namespace kvx {
namespace {

TEST(GaussKrueger, AgreesWithProjOverGermanyBothWays) {
  const test::FixtureTable table = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/gauss_krueger_proj.tsv");
  ASSERT_GT(table.Rows(), 200u);
  for (std::size_t i = 0; i < table.Rows(); ++i) {
    const double lon = table.Number(i, "lon"), lat = table.Number(i, "lat");
    const double r = table.Number(i, "rechtswert"), h = table.Number(i, "hochwert");
    SCOPED_TRACE(testing::Message() << lon << " " << lat);
    double rr = 0, hh = 0;
    ASSERT_TRUE(GeographicToGaussKrueger(lon, lat, 0, 0, rr, hh));
    EXPECT_NEAR(rr, r, 0.01);
    EXPECT_NEAR(hh, h, 0.01);
    double l = 0, p = 0;
    ASSERT_TRUE(GaussKruegerToGeographic(r, h, 0, 0, l, p));
    EXPECT_NEAR(l, lon, 1e-6);
    EXPECT_NEAR(p, lat, 1e-6);
    // The dialog's ellipsoid values give the same round trip.
    ASSERT_TRUE(GeographicToGaussKrueger(lon, lat, kBesselInverseA, kBesselInverseB, rr, hh));
    ASSERT_TRUE(GaussKruegerToGeographic(rr, hh, kBesselInverseA, kBesselInverseB, l, p));
    EXPECT_NEAR(l, lon, 1e-7);
    EXPECT_NEAR(p, lat, 1e-7);
  }
}

TEST(GaussKrueger, ZonesHalvesWestLongitudesAndRefusals) {
  double r = 0, h = 0, l = 0, p = 0;
  // Halves go to the even zone.
  ASSERT_TRUE(GeographicToGaussKrueger(7.5, 50, 0, 0, r, h));
  EXPECT_EQ(std::floor(r / 1e6), 2);
  ASSERT_TRUE(GeographicToGaussKrueger(10.5, 50, 0, 0, r, h));
  EXPECT_EQ(std::floor(r / 1e6), 4);
  ASSERT_TRUE(GeographicToGaussKrueger(7.4999, 50, 0, 0, r, h));
  EXPECT_EQ(std::floor(r / 1e6), 2);
  EXPECT_GT(r, 2500000.0);  // east of 6°
  // Below 1 000 000: zone 0, central meridian 0°.
  ASSERT_TRUE(GaussKruegerToGeographic(500000.0, 5540000.0, 0, 0, l, p));
  EXPECT_NEAR(l, 0.0, 1e-9);
  // A west longitude comes back through a negative zone.
  ASSERT_TRUE(GeographicToGaussKrueger(-4.2, 40.4, 0, 0, r, h));
  ASSERT_TRUE(GaussKruegerToGeographic(r, h, 0, 0, l, p));
  EXPECT_NEAR(l, -4.2, 1e-7);
  EXPECT_NEAR(p, 40.4, 1e-7);
  EXPECT_NEAR(LongitudeToHalfTurn(350.0), -10.0, 1e-12);
  EXPECT_EQ(LongitudeToHalfTurn(-180.0), 180.0);
  // Non-finite input and footpoints that do not converge are refused.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  r = h = l = p = 7;
  EXPECT_FALSE(GeographicToGaussKrueger(nan, 50, 0, 0, r, h));
  EXPECT_FALSE(GeographicToGaussKrueger(9, 90, 0, 0, r, h));
  EXPECT_FALSE(GaussKruegerToGeographic(3500000, nan, 0, 0, l, p));
  EXPECT_FALSE(GaussKruegerToGeographic(3500000, 1e300, 0, 0, l, p));
  EXPECT_FALSE(GaussKruegerToGeographic(3500000, 1.2e7, 0, 0, l, p));  // beyond the pole
  EXPECT_EQ(r, 7);
  EXPECT_EQ(l, 7);
}

}  // namespace
}  // namespace kvx
