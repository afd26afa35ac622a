// The eight-frame conversion against ERFA (fixture by
// make_coordinate_reference.py: precession and obliquity within 2e-6°, the
// horizon within 1e-5°), the Meeus worked examples (13.a Pollux, the
// Nova Serpentis exercise), round trips from every frame within 5e-9° (the
// obliquity is rounded to the 6-byte real type: about 1e-9° between paths),
// the galactic pole, a never-setting object and refused latitudes.
#include "tables/coordinate_conversion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/workbook/workbook.h"
#include "setup/column_sets.h"
#include "core/text_conversion.h"
#include "support/fixtures.h"

namespace kvx {
namespace {

TObserverRecord At(double mjd) {
  TObserverRecord r;
  r.Latitude = 51.191;
  r.Longitude = -9.301;
  r.Mjd = mjd;
  r.DeltaTSeconds = 0;
  UTToLocalTime(r);
  return r;
}

double AngleDiff(double a, double b) { return std::remainder(a - b, 360.0); }

TEST(CoordinateConversion, AgreesWithErfaAndMeeus) {
  const test::FixtureTable ref = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/coordinate_erfa.tsv");
  ASSERT_EQ(ref.Rows(), 20u);
  for (std::size_t i = 0; i < ref.Rows(); ++i) {
    SCOPED_TRACE(i);
    TCoordinateBlock b;
    b.inputSystem = 1;
    b.raJ2000 = ref.Number(i, "raJ2000");
    b.decJ2000 = ref.Number(i, "decJ2000");
    ASSERT_TRUE(ConvertPositionFrames(At(ref.Number(i, "mjd")), b));
    const double lonTol = 2e-6 / std::cos(b.decDate * M_PI / 180.0);
    EXPECT_NEAR(AngleDiff(b.raDate, ref.Number(i, "raDate")), 0, lonTol);
    EXPECT_NEAR(b.decDate, ref.Number(i, "decDate"), 2e-6);
    EXPECT_NEAR(AngleDiff(b.raB1950, ref.Number(i, "raB1950")), 0, 2e-6 / std::cos(b.decB1950 * M_PI / 180.0));
    EXPECT_NEAR(b.decB1950, ref.Number(i, "decB1950"), 2e-6);
    for (const char* pair : {"Date", "J2000", "B1950"}) {
      const double lat = ref.Number(i, std::string("lat") + pair);
      const double lon = ref.Number(i, std::string("lon") + pair);
      const double mine[2][3] = {{b.lonDate, b.lonJ2000, b.lonB1950}, {b.latDate, b.latJ2000, b.latB1950}};
      const int k = pair[0] == 'D' ? 0 : pair[0] == 'J' ? 1 : 2;
      EXPECT_NEAR(AngleDiff(mine[0][k], lon), 0, 2e-6 / std::cos(lat * M_PI / 180.0)) << pair;
      EXPECT_NEAR(mine[1][k], lat, 2e-6) << pair;
    }
    EXPECT_NEAR(AngleDiff(b.azimuth, ref.Number(i, "azimuth")), 0, 1e-5 / std::cos(b.altitude * M_PI / 180.0));
    EXPECT_NEAR(b.altitude, ref.Number(i, "altitude"), 1e-5);
  }
  // Meeus 13.a: Pollux to the ecliptic of J2000.
  TCoordinateBlock pollux;
  pollux.inputSystem = 1;
  pollux.raJ2000 = 116.328942;
  pollux.decJ2000 = 28.026183;
  ASSERT_TRUE(ConvertPositionFrames(At(51544.5), pollux));
  EXPECT_NEAR(pollux.lonJ2000, 113.215630, 1e-5);
  EXPECT_NEAR(pollux.latJ2000, 6.684170, 1e-5);
  // Meeus chapter 13 exercise: Nova Serpentis 1978 to galactic.
  TCoordinateBlock nova;
  nova.inputSystem = 2;
  nova.raB1950 = DmsPackedToDeg(17.485974) * 15.0;
  nova.decB1950 = DmsPackedToDeg(-14.43082);
  ASSERT_TRUE(ConvertPositionFrames(At(51544.5), nova));
  EXPECT_NEAR(nova.galLon, 12.9593, 1e-4);
  EXPECT_NEAR(nova.galLat, 6.0463, 1e-4);
}

TEST(CoordinateConversion, RoundTripsPoleCircumpolarAndRefusals) {
  const TObserverRecord r = At(60400.3);
  TCoordinateBlock start;
  start.inputSystem = 1;
  start.raJ2000 = 123.4;
  start.decJ2000 = 12.3;
  ASSERT_TRUE(ConvertPositionFrames(r, start));
  const TCoordinateBlock& s = start;
  const double pairs[8][2] = {{s.raDate, s.decDate},   {s.raJ2000, s.decJ2000}, {s.raB1950, s.decB1950},
                              {s.lonDate, s.latDate},  {s.lonJ2000, s.latJ2000}, {s.lonB1950, s.latB1950},
                              {s.galLon, s.galLat},    {s.azimuth, s.altitude}};
  for (int from = 0; from < 8; ++from) {
    SCOPED_TRACE(from);
    TCoordinateBlock b;
    b.inputSystem = static_cast<std::uint8_t>(from);
    double* fields[8][2] = {{&b.raDate, &b.decDate},   {&b.raJ2000, &b.decJ2000}, {&b.raB1950, &b.decB1950},
                            {&b.lonDate, &b.latDate},  {&b.lonJ2000, &b.latJ2000}, {&b.lonB1950, &b.latB1950},
                            {&b.galLon, &b.galLat},    {&b.azimuth, &b.altitude}};
    *fields[from][0] = pairs[from][0];
    *fields[from][1] = pairs[from][1];
    ASSERT_TRUE(ConvertPositionFrames(r, b));
    for (int to = 0; to < 8; ++to) {
      EXPECT_NEAR(AngleDiff(*fields[to][0], pairs[to][0]), 0, 5e-9) << to;
      EXPECT_NEAR(*fields[to][1], pairs[to][1], 5e-9) << to;
    }
  }
  // The galactic pole is 192.25°/27.4° of 1950.0.
  TCoordinateBlock pole;
  pole.inputSystem = 6;
  pole.galLat = 90.0;
  ASSERT_TRUE(ConvertPositionFrames(r, pole));
  EXPECT_NEAR(pole.raB1950, 192.25, 1e-9);
  EXPECT_NEAR(pole.decB1950, 27.4, 1e-9);
  // Polaris neither rises nor sets at 51°; the table says so.
  TCoordinateBlock polaris;
  polaris.inputSystem = 1;
  polaris.raJ2000 = 37.95;
  polaris.decJ2000 = 89.26;
  ASSERT_TRUE(ConvertPositionFrames(r, polaris));
  EXPECT_EQ(polaris.risesAndSets, 0);
  EXPECT_EQ(start.risesAndSets, 1);
  LanguageEnglish = 0;
  workbook::TWorkbook sheet;
  CoordinateConversionTable(&sheet, nullptr, 1, NewTableConfigRecord(), polaris, TTableOutputSettings{}, 0);
  EXPECT_EQ(sheet.Text(1, 1), "Äquinoktium");
  EXPECT_EQ(sheet.Text(1, 4), "B1950.0");
  for (int row = 11; row <= 13; ++row) EXPECT_EQ(sheet.Text(row, 2), "---");
  EXPECT_FALSE(sheet.Text(4, 4).empty());  // ecliptic longitude 1950.0
  EXPECT_TRUE(sheet.Text(6, 3).empty());   // galactic: one column only
  // Latitudes beyond ±90° and non-numbers are refused, the block kept.
  TCoordinateBlock bad = start;
  bad.inputSystem = 3;
  bad.latDate = 91.0;
  EXPECT_FALSE(ConvertPositionFrames(r, bad));
  EXPECT_EQ(bad.raJ2000, start.raJ2000);
  bad.latDate = std::nan("");
  EXPECT_FALSE(ConvertPositionFrames(r, bad));
  bad.inputSystem = 8;
  EXPECT_FALSE(ConvertPositionFrames(r, bad));
}

}  // namespace
}  // namespace kvx
