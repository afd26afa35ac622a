#include "core/element_records.h"

#include <gtest/gtest.h>

#include "core/little_endian.h"
#include "core/table_step.h"

namespace kvx {
namespace {

// Every field at its offset, the name in Windows-1252 behind its length byte
// and cut to 40 characters, the rest zero; a stored length above 40 reads as
// 40; decoding gives the record back.
TEST(AsteroidElementRecord, LayoutNameLimitAndRoundTrip) {
  TAsteroidElements e;
  const double values[11] = {2.3615, 0.0902, 7.1404, 103.851, 151.198, 20.864, 0.27153, 2000, 2460400.5, 3.2, 0.32};
  double* fields[11] = {&e.SemiMajorAxis, &e.Eccentricity, &e.Inclination, &e.Node, &e.Perihelion, &e.MeanAnomaly,
                        &e.MeanMotion,    &e.Equinox,      &e.Epoch,       &e.H,    &e.G};
  for (int k = 0; k < 11; ++k) *fields[k] = values[k];
  e.Name = "Vesta(4) Göttingen";
  TAsteroidElementRecordBytes bytes = EncodeAsteroidElementRecord(e);
  for (int k = 0; k < 11; ++k) EXPECT_EQ(little_endian::GetF64(bytes.data() + 8 * k), values[k]) << "field " << k;
  EXPECT_EQ(bytes[88], 18);  // the umlaut is one byte
  EXPECT_EQ(bytes[89 + 10], 0xF6);
  for (std::size_t k = 89 + 18; k < 132; ++k) EXPECT_EQ(bytes[k], 0) << "byte " << k;
  EXPECT_EQ(EncodeAsteroidElementRecord(DecodeAsteroidElementRecord(bytes)), bytes);
  EXPECT_EQ(DecodeAsteroidElementRecord(bytes).Name, e.Name);

  e.Name = std::string(45, 'x');
  bytes = EncodeAsteroidElementRecord(e);
  EXPECT_EQ(bytes[88], 40);
  bytes[88] = 200;
  bytes[129] = 'P';
  EXPECT_EQ(DecodeAsteroidElementRecord(bytes).Name, std::string(40, 'x'));
}

// Golden image from hand-built bytes: 1.0 is 00..00 F0 3F, 0.5 is 00..00 E0 3F,
// -2.0 is 00..00 00 C0; the name's "ä" is the single byte E4; the type sits
// behind its own length byte at 87; everything unused is zero. Overlong
// names and types are cut, oversized length bytes clamped.
TEST(VariableStarRecord, GoldenBytesClampsAndRoundTrip) {
  TVariableStarElements v{1.0, -2.0, 0.5, 1.0, 0.5, -2.0, 1.0, "Stär", "b"};
  const TVariableStarRecordBytes bytes = EncodeVariableStarRecord(v);
  TVariableStarRecordBytes golden{};
  const std::uint8_t one[2] = {0xF0, 0x3F}, half[2] = {0xE0, 0x3F}, minusTwo[2] = {0x00, 0xC0};
  const std::uint8_t* tops[7] = {one, minusTwo, half, one, half, minusTwo, one};
  for (int k = 0; k < 7; ++k) {
    golden[8 * k + 6] = tops[k][0];
    golden[8 * k + 7] = tops[k][1];
  }
  golden[56] = 4;
  golden[57] = 'S';
  golden[58] = 't';
  golden[59] = 0xE4;
  golden[60] = 'r';
  golden[87] = 1;
  golden[88] = 'b';
  EXPECT_EQ(bytes, golden);
  const TVariableStarElements back = DecodeVariableStarRecord(bytes);
  EXPECT_EQ(back.Name, "Stär");
  EXPECT_EQ(back.Type, "b");
  EXPECT_EQ(back.Period, -2.0);

  v.Name = std::string(35, 'n');
  v.Type = "cm";
  TVariableStarRecordBytes cut = EncodeVariableStarRecord(v);
  EXPECT_EQ(cut[56], 30);
  EXPECT_EQ(cut[87], 1);
  EXPECT_EQ(cut[88], 'c');
  cut[56] = 200;  // clamped to the room, the type byte is not taken into the name
  cut[87] = 9;
  cut[90] = 'P';  // padding is ignored
  EXPECT_EQ(DecodeVariableStarRecord(cut).Name, std::string(30, 'n'));
  EXPECT_EQ(DecodeVariableStarRecord(cut).Type, "c");
}

TEST(TableStepRecord, TwentyBytesWithoutPadding) {
  const TTableStep step{2, 6.5, 2.2708333333333335};
  const TTableStepBytes bytes = EncodeTableStep(step);
  EXPECT_EQ(little_endian::GetI32(bytes.data()), 2);
  EXPECT_EQ(little_endian::GetF64(bytes.data() + 4), 6.5);
  EXPECT_EQ(little_endian::GetF64(bytes.data() + 12), 2.2708333333333335);
  EXPECT_EQ(EncodeTableStep(DecodeTableStep(bytes)), bytes);
}

}  // namespace
}  // namespace kvx
