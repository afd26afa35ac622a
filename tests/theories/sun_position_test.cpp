#include "theories/sun_position.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/vector_math.h"
#include "earth_position_file.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "reference_stats.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/theory_selection.h"
#include "theory_library_test_support.h"

namespace kvx {
namespace {

using test::AngleDifference;
using test::ErrorStats;
using test::PlanetTheory;

class SunPositionRoads : public ::testing::Test {
 protected:
  void SetUp() override {
    const TLibraryAvailability present = test::OpenBuiltLibraries();
    ASSERT_EQ(present.Vsop87D, 1);
    ASSERT_EQ(present.Vsop87C, 1);
  }
  void TearDown() override { CloseTheoryLibraries(); }

  // Max and rms of the geometric Sun of one road against the reference.
  static void Compare(std::uint8_t planetTheory, ErrorStats& lon, ErrorStats& lat, ErrorStats& dist) {
    const auto ref = test::ReadFixture(KVX_FIXTURE_DIR "/sun_moon_swe.tsv");
    ASSERT_GT(ref.Rows(), 1000u);
    const PositionFileHandles files{};
    for (std::size_t i = 0; i < ref.Rows(); i += 2) {
      const double jd = ref.Number(i, "jd_tt");
      const double T = (jd - 2451545.0) / 36525.0;
      double L, B, R, X, Y, Z, VX, VY, VZ;
      SunPosition(files, PlanetTheory(planetTheory), L, T, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
      ASSERT_GE(L, 0.0);
      ASSERT_LT(L, 360.0);
      lon.Add(AngleDifference(L, ref.Number(i, "sun_lon")) * 3600, jd);
      lat.Add((B - ref.Number(i, "sun_lat")) * 3600, jd);
      dist.Add(R - ref.Number(i, "sun_dist"), jd);
      double x, y, z;
      PolarToCartesian(x, y, z, R, B, L);
      ASSERT_NEAR(X, x, 1e-12);
      ASSERT_NEAR(Z, z, 1e-12);
    }
  }
};

TEST_F(SunPositionRoads, Vsop87DAgreesWithTheReferenceAndHasNoVelocity) {
  ErrorStats lon, lat, dist;
  Compare(kPlanetTheoryVsop87D, lon, lat, dist);
  lon.Report("vsop87d_longitude_arcsec");
  lat.Report("vsop87d_latitude_arcsec");
  dist.Report("vsop87d_distance_au");
  // Measured: 0.41" max, 0.18" rms in longitude, growing toward 1900 and
  // 2100 with the different precession rates of the two theories' mean
  // equinoxes of date (5029.10" against 5028.80" a century); 0.05" in
  // latitude, 2.4e-7 AU in distance.
  EXPECT_LT(lon.max, 0.5);
  EXPECT_LT(lon.Rms(), 0.25);
  EXPECT_LT(lat.max, 0.06);
  EXPECT_LT(dist.max, 3e-7);

  double L, B, R, X, Y, Z, VX = 1, VY = 1, VZ = 1;
  SunPosition({}, PlanetTheory(kPlanetTheoryVsop87D), L, 0.1, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
  EXPECT_EQ(VX, 0);
  EXPECT_EQ(VY, 0);
  EXPECT_EQ(VZ, 0);
}

TEST_F(SunPositionRoads, Vsop87CIsTheNegatedEarthInTheFk5Frame) {
  ErrorStats lon, lat, dist;
  Compare(kPlanetTheoryVsop87C, lon, lat, dist);
  lon.Report("vsop87c_longitude_arcsec");
  lat.Report("vsop87c_latitude_arcsec");
  // Measured: 0.35" max, 0.16" rms in longitude; 0.09" in latitude (the FK5
  // correction of latitude, 0.04" in amplitude, adds to the D road's 0.05").
  EXPECT_LT(lon.max, 0.45);
  EXPECT_LT(lat.max, 0.1);
  EXPECT_LT(dist.max, 3e-7);

  // Against the D road: the FK5 correction (-0.09033") is the difference;
  // the velocity is the Earth's, negated: about 0.0172 AU a day along the
  // Sun's apparent motion.
  for (double T : {-0.8, -0.07, 0.0, 0.55}) {
    double Ld, Bd, Rd, Lc, Bc, Rc, X, Y, Z, VX, VY, VZ;
    SunPosition({}, PlanetTheory(kPlanetTheoryVsop87D), Ld, T, Bd, Rd, X, Y, Z, VX, VY, VZ, kFullTheory);
    SunPosition({}, PlanetTheory(kPlanetTheoryVsop87C), Lc, T, Bc, Rc, X, Y, Z, VX, VY, VZ, kFullTheory);
    EXPECT_NEAR(AngleDifference(Lc, Ld) * 3600, -0.09033, 0.01) << T;
    EXPECT_NEAR(Rc, Rd, 1e-9);
    EXPECT_NEAR(std::hypot(VX, VY, VZ), 0.0172, 0.0006);
    EXPECT_GT(X * VY - Y * VX, 0.0);  // counter-clockwise seen from the north
  }
}

TEST_F(SunPositionRoads, PlanetTheoryBytesBeyondThePositionFilesSelectTheInternalSeries) {
  double L0, B0, R0, L, B, R, X, Y, Z, VX, VY, VZ;
  SunPosition({}, PlanetTheory(kPlanetTheoryInternal), L0, 0.1, B0, R0, X, Y, Z, VX, VY, VZ, kFullTheory);
  for (std::uint8_t theory : {4, 17, 255}) {
    SunPosition({}, PlanetTheory(theory), L, 0.1, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
    EXPECT_EQ(L, L0);
    EXPECT_EQ(R, R0);
    EXPECT_EQ(VX, 0.0);
  }
}

TEST(SunPositionFiles, TheSunIsTheEarthOfTheFileTurnedRound) {
  test::EarthPositionFile file;
  const PositionFileHandles handles = file.Handles();
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  AbortRequested = 0;
  TTheorySelection files;
  files.bytes[0] = kPlanetTheoryPositionFiles;
  for (double day : {38100.0, 38528.25, 38700.0, 39400.5}) {
    const double T = (day + kPositionFileEpoch - 2451545.0) / 36525.0;
    double L, B, R, X, Y, Z, VX, VY, VZ;
    SunPosition(handles, files, L, T, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
    const double earth = test::EarthPositionFile::Longitude(day);
    EXPECT_NEAR(AngleDifference(L, earth + 180), 0.0, 1e-6) << day;
    EXPECT_GE(L, 0.0);
    EXPECT_LT(L, 360.0);
    EXPECT_NEAR(B, -std::asin(test::EarthPositionFile::kHeight / R) * 180 / M_PI, 1e-8);
    EXPECT_NEAR(std::hypot(R, 0.0), std::hypot(test::EarthPositionFile::kRadius, test::EarthPositionFile::kHeight),
                1e-9);
    EXPECT_NEAR(Z, -test::EarthPositionFile::kHeight, 1e-10);
    EXPECT_NEAR(VX, 0.0172 * std::sin(earth * M_PI / 180), 1e-6);  // negated too
  }
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(AbortRequested, 0);

  // A date the file does not hold stops the computation with all outputs 0.
  double L = 1, B = 1, R = 1, X = 1, Y = 1, Z = 1, VX = 1, VY = 1, VZ = 1;
  SunPosition(handles, files, L, 0.5, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
  EXPECT_EQ(AbortRequested, 1);
  EXPECT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(L, 0.0);
  EXPECT_EQ(R, 0.0);
  EXPECT_EQ(X, 0.0);
  AbortRequested = 0;
}

}  // namespace
}  // namespace kvx
