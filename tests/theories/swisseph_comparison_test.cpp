// The full theory libraries against an independent ephemeris: the Swiss
// Ephemeris in its analytic (Moshier) mode, geometric positions, 1900-2100
// (fixtures/swisseph_reference.tsv, made by generate_swisseph_reference.sh).
//   - VSOP87 D against heliocentric positions referred to the mean ecliptic
//     and equinox of date; VSOP87 A (from B) against those of J2000.
//   - ELP-2000/82B against the geocentric Moon, ecliptic and equinox of J2000.
// Longitude (times cos latitude), latitude and distance (as the angle
// distance difference / distance) are compared in arcseconds.
//
// The tolerances are the agreement of the two published theories, not of
// the evaluation (the series reproduce their own check values to 1e-10 rad
// and 1e-5 km), and the figures the guides' accuracy section states (the
// largest differences measured here, rounded up): Mercury to Mars (and the
// Earth) agree within 0.6" (measured 0.58"); Jupiter and Saturn within 1.1"
// (1.09"; up to 0.3" of it the precession models of the two, in the frame of
// date); Uranus within 1.5" (1.49"); Neptune drifts from 0.2" in 1900 to
// 4.64" in 2100 (VSOP87 rests on DE200, the Moshier series on DE404): 4.7";
// the Moon differs by periodic terms of up to 2.53": 2.6".
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string>

#include "support/fixtures.h"
#include "theories/theory_libraries.h"
#include "theory_library_test_support.h"

namespace kvx {
namespace {

constexpr double kArcsecond = std::numbers::pi / 648000.0;
constexpr double kKmPerAu = 149597870.7;

struct Spherical {
  double lon, lat, dist;  // degrees, degrees, AU
};

Spherical FromRectangular(double x, double y, double z) {
  const double r = std::sqrt(x * x + y * y + z * z);
  return {std::atan2(y, x) * 180.0 / std::numbers::pi, std::asin(z / r) * 180.0 / std::numbers::pi, r};
}

double Tolerance(const std::string& body) {
  if (body == "moon") return 2.6;
  if (body == "neptune") return 4.7;
  if (body == "uranus") return 1.5;
  if (body == "jupiter" || body == "saturn") return 1.1;
  return 0.6;
}

struct Worst {
  double lon = 0, lat = 0, dist = 0;  // arcseconds (distance as its angle)
};

class SwissEphemerisComparison : public ::testing::Test {
 protected:
  void SetUp() override { test::OpenBuiltLibraries(); }
  void TearDown() override { CloseTheoryLibraries(); }
};

TEST_F(SwissEphemerisComparison, FullSeriesAgreeWithTheIndependentEphemeris) {
  const test::FixtureTable table = test::ReadFixture(KVX_FIXTURE_DIR "/swisseph_reference.tsv");
  ASSERT_GT(table.Rows(), 7000u);
  std::map<std::string, Worst> worst;
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    const double jd = table.Number(row, "jd");
    const double T = (jd - 2451545.0) / 36525.0;
    const std::string body = table.text[row][1], frame = table.text[row][2];
    const Spherical reference{table.Number(row, "lon"), table.Number(row, "lat"), table.Number(row, "dist")};
    Spherical ours{};
    double X, Y, Z, VX, VY, VZ;
    if (body == "moon") {
      ELP82B(jd, X, Y, Z, -1);
      ours = FromRectangular(X / kKmPerAu, Y / kKmPerAu, Z / kKmPerAu);
    } else if (frame == "date") {
      if (body == "earth") {
        vsopcsun(T, X, Y, Z, VX, VY, VZ, -1);
        ours = FromRectangular(X, Y, Z);
      } else {
        using Entry = void (*)(double, double&, double&, double&, double);
        static const std::map<std::string, Entry> d = {
            {"mercury", vsopmerkur_hel}, {"venus", vsopvenus_hel},     {"mars", vsopmars_hel},
            {"jupiter", vsopjupiter_hel}, {"saturn", vsopsaturn_hel}, {"uranus", vsopuranus_hel},
            {"neptune", vsopneptun_hel}};
        d.at(body)(T, ours.lon, ours.lat, ours.dist, -1);
      }
    } else {
      using Entry = void (*)(double, double&, double&, double&, double&, double&, double&, double);
      static const std::map<std::string, Entry> a = {
          {"mercury", vsop_a_mer}, {"venus", vsop_a_ven},     {"earth", vsop_a_erd},   {"mars", vsop_a_mar},
          {"jupiter", vsop_a_jup}, {"saturn", vsop_a_sat}, {"uranus", vsop_a_ura}, {"neptune", vsop_a_nep}};
      a.at(body)(T, X, Y, Z, VX, VY, VZ, -1);
      ours = FromRectangular(X, Y, Z);
    }
    const double dLon = std::remainder(ours.lon - reference.lon, 360.0) * 3600.0 *
                        std::cos(reference.lat * std::numbers::pi / 180.0);
    const double dLat = (ours.lat - reference.lat) * 3600.0;
    const double dDist = (ours.dist - reference.dist) / reference.dist / kArcsecond;
    const double limit = Tolerance(body);
    EXPECT_LT(std::abs(dLon), limit) << body << " " << frame << " " << jd;
    EXPECT_LT(std::abs(dLat), limit) << body << " " << frame << " " << jd;
    EXPECT_LT(std::abs(dDist), limit) << body << " " << frame << " " << jd;
    Worst& w = worst[body + " " + frame];
    w.lon = std::max(w.lon, std::abs(dLon));
    w.lat = std::max(w.lat, std::abs(dLat));
    w.dist = std::max(w.dist, std::abs(dDist));
  }
  for (const auto& [name, w] : worst)
    std::printf("  %-16s largest difference: longitude %.3f\", latitude %.3f\", distance %.3f\"\n", name.c_str(),
                w.lon, w.lat, w.dist);
}

}  // namespace
}  // namespace kvx
