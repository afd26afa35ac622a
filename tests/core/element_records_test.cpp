#include "core/element_records.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/little_endian.h"
#include "core/table_step.h"

namespace kvx {
namespace {

TAsteroidElements Vesta() {
  TAsteroidElements e;
  e.SemiMajorAxis = 2.3615;
  e.Eccentricity = 0.0902;
  e.Inclination = 7.1404;
  e.Node = 103.851;
  e.Perihelion = 151.198;
  e.MeanAnomaly = 20.864;
  e.MeanMotion = 0.27153;
  e.Equinox = 2000;
  e.Epoch = 2460400.5;
  e.H = 3.2;
  e.G = 0.32;
  e.Name = "Vesta(4) Göttingen";
  return e;
}

// Every field at its offset, the name in Windows-1252 behind its length byte,
// the rest zero; decoding gives the record back.
TEST(AsteroidElementRecord, FieldsSitAtTheirOffsetsAndRoundTrip) {
  const TAsteroidElements e = Vesta();
  const TAsteroidElementRecordBytes bytes = EncodeAsteroidElementRecord(e);
  ASSERT_EQ(bytes.size(), 132u);
  const double expected[11] = {2.3615, 0.0902, 7.1404, 103.851, 151.198, 20.864, 0.27153, 2000, 2460400.5, 3.2, 0.32};
  for (int k = 0; k < 11; ++k) EXPECT_EQ(little_endian::GetF64(bytes.data() + 8 * k), expected[k]) << "field " << k;
  EXPECT_EQ(bytes[88], 18);  // "Vesta(4) Göttingen": the umlaut is one byte
  EXPECT_EQ(bytes[89 + 10], 0xF6);
  for (std::size_t k = 89 + 18; k < 132; ++k) EXPECT_EQ(bytes[k], 0) << "byte " << k;

  const TAsteroidElements back = DecodeAsteroidElementRecord(bytes);
  EXPECT_EQ(back.SemiMajorAxis, e.SemiMajorAxis);
  EXPECT_EQ(back.G, e.G);
  EXPECT_EQ(back.Epoch, e.Epoch);
  EXPECT_EQ(back.Name, e.Name);
}

// A name longer than 40 characters is cut; a stored length above 40 is read
// as 40 and never reaches into the padding.
TEST(AsteroidElementRecord, NameIsLimitedToFortyCharacters) {
  TAsteroidElements e = Vesta();
  e.Name = std::string(45, 'x');
  TAsteroidElementRecordBytes bytes = EncodeAsteroidElementRecord(e);
  EXPECT_EQ(bytes[88], 40);
  EXPECT_EQ(DecodeAsteroidElementRecord(bytes).Name, std::string(40, 'x'));

  bytes[88] = 200;
  bytes[129] = 'P';
  EXPECT_EQ(DecodeAsteroidElementRecord(bytes).Name, std::string(40, 'x'));
}

TEST(TableStepRecord, TwentyBytesWithoutPadding) {
  TTableStep step;
  step.Days = 2;
  step.Hours = 6.5;
  step.StepDays = 2.2708333333333335;
  const TTableStepBytes bytes = EncodeTableStep(step);
  EXPECT_EQ(little_endian::GetI32(bytes.data()), 2);
  EXPECT_EQ(little_endian::GetF64(bytes.data() + 4), 6.5);
  EXPECT_EQ(little_endian::GetF64(bytes.data() + 12), 2.2708333333333335);
  const TTableStep back = DecodeTableStep(bytes);
  EXPECT_EQ(back.Days, step.Days);
  EXPECT_EQ(back.Hours, step.Hours);
  EXPECT_EQ(back.StepDays, step.StepDays);
}

}  // namespace
}  // namespace kvx
