#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "core/observer_record.h"

namespace kvx {
namespace {

double DoubleAt(const TObserverRecordBytes& b, std::size_t offset) {
  std::uint64_t u = 0;
  for (int k = 0; k < 8; ++k) u |= static_cast<std::uint64_t>(b[offset + k]) << (8 * k);
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

std::int32_t IntAt(const TObserverRecordBytes& b, std::size_t offset) {
  std::uint32_t u = 0;
  for (int k = 0; k < 4; ++k) u |= static_cast<std::uint32_t>(b[offset + k]) << (8 * k);
  return static_cast<std::int32_t>(u);
}

TObserverRecord DistinctRecord() {
  TObserverRecord r;
  r.Day = 13;
  r.Month = 10;
  r.Year = -1234;
  r.Weekday = 2;
  r.PeriodDays = 40;
  r.LocalHours = 21.5;
  r.UTHours = 19.25;
  r.Mjd = 48908.8;
  r.Centuries = -0.0722;
  r.DeltaTSeconds = 58.7;
  r.Longitude = -13.4;
  r.Latitude = 52.5;
  r.SiderealHours = 7.75;
  r.PeriodHours = 3.3015;
  r.DaylightHours = 1;
  r.PlaceName = "Köln – Süd";
  r.AutoDeltaT = 1;
  r.RefractionOn = 0;
  r.Zone = -5;
  r.Height = 812;
  r.ZoneMinutes = 30;
  r.Pressure = 1010.5;
  r.Temperature = -3.5;
  r.GeocentricLatitude = 52.31;
  r.GeocentricRadius = 0.99836;
  r.SunLongitude = 199.9;
  r.SunApparentDec = -7.78;
  r.Precession = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
  r.DerivedYear = 1992;
  r.DerivedLatitude = 52.5;
  r.TrailingBytes[0] = 1;
  r.TrailingBytes[1] = 1;
  return r;
}

TEST(ObserverRecordCodec, FieldsSitAtTheirStoredOffsets) {
  const TObserverRecordBytes b = EncodeObserverRecord(DistinctRecord());
  EXPECT_EQ(IntAt(b, 0), 13);
  EXPECT_EQ(IntAt(b, 8), -1234);
  EXPECT_EQ(IntAt(b, 16), 40);
  EXPECT_EQ(DoubleAt(b, 20), 21.5);       // LocalHours right after five integers
  EXPECT_EQ(DoubleAt(b, 84), 3.3015);     // PeriodHours
  EXPECT_EQ(IntAt(b, 92), 1);             // DaylightHours
  EXPECT_EQ(b[96], 10);                   // "Köln – Süd" in Windows-1252 is 10 bytes
  EXPECT_EQ(b[97 + 1], 0xF6);             // ö
  EXPECT_EQ(b[97 + 5], 0x96);             // en dash
  EXPECT_EQ(b[352], 1);                   // AutoDeltaT
  EXPECT_EQ(b[353], 0);                   // RefractionOn
  EXPECT_EQ(IntAt(b, 356), -5);           // Zone, after two bytes of alignment
  EXPECT_EQ(IntAt(b, 364), 30);           // ZoneMinutes
  EXPECT_EQ(DoubleAt(b, 368), 1010.5);    // Pressure
  EXPECT_EQ(DoubleAt(b, 384), 52.31);     // GeocentricLatitude
  EXPECT_EQ(DoubleAt(b, 404), 199.9);     // SunLongitude after 4 unused bytes
  EXPECT_EQ(DoubleAt(b, 508), -7.78);     // SunApparentDec
  EXPECT_EQ(DoubleAt(b, 580), 1.0);       // Precession[0]
  EXPECT_EQ(DoubleAt(b, 644), 9.0);       // Precession[8]
  EXPECT_EQ(IntAt(b, 652), 1992);         // DerivedYear
  EXPECT_EQ(DoubleAt(b, 656), 52.5);      // DerivedLatitude
  EXPECT_EQ(b[664], 1);                   // first trailing byte
  EXPECT_EQ(b[735], 0);
}

TEST(ObserverRecordCodec, RoundTripsRecordsAndArbitraryImagesByteExactly) {
  const TObserverRecord r = DistinctRecord();
  const TObserverRecord back = DecodeObserverRecord(EncodeObserverRecord(r));
  EXPECT_EQ(back.PlaceName, r.PlaceName);
  EXPECT_EQ(back.Precession.m[2][1], 8.0);
  EXPECT_EQ(EncodeObserverRecord(back), EncodeObserverRecord(r));

  // Any image whose place name is zero-padded after its text comes back
  // unchanged, whatever the alignment, unused and trailing bytes hold (a zone
  // of 13 or 14 whole hours aside: it is read folded into zone 12).
  std::mt19937 rng(7);
  for (int trial = 0; trial < 50; ++trial) {
    TObserverRecordBytes image{};
    for (auto& byte : image) byte = static_cast<std::uint8_t>(rng());
    const std::size_t length = rng() % 256;
    image[96] = static_cast<std::uint8_t>(length);
    for (std::size_t k = 0; k < 255; ++k) {
      if (k >= length) image[97 + k] = 0;
    }
    const TObserverRecordBytes again = EncodeObserverRecord(DecodeObserverRecord(image));
    ASSERT_EQ(again, image) << "trial " << trial;
  }
}

TEST(ObserverRecordCodec, PlaceNameIsCutToItsRoomAndForeignCharactersBecomeQuestionMarks) {
  TObserverRecord r;
  r.PlaceName = std::string(300, 'x');
  TObserverRecordBytes b = EncodeObserverRecord(r);
  EXPECT_EQ(b[96], 255);
  EXPECT_EQ(DecodeObserverRecord(b).PlaceName, std::string(255, 'x'));

  r.PlaceName = "東京 €";
  b = EncodeObserverRecord(r);
  EXPECT_EQ(b[96], 4);
  EXPECT_EQ(DecodeObserverRecord(b).PlaceName, "?? €");
}

}  // namespace
}  // namespace kvx
