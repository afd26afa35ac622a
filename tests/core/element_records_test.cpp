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
