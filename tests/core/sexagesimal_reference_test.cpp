// The sexagesimal conversions against exact rational reference values
// (fixtures/sexagesimal.tsv, made by make_sexagesimal_reference.py).
#include <gtest/gtest.h>

#include "core/text_conversion.h"
#include "support/fixtures.h"

namespace kvx {
namespace {

TEST(SexagesimalReference, ConversionsMatchExactArithmetic) {
  test::FixtureTable table = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/sexagesimal.tsv");
  ASSERT_GE(table.Rows(), 400u);
  // Packed values are compared to 1e-9 of a degree (0.0000036"), the
  // resolution of a double near 360 is far below that.
  const double tolerance = 1e-9;
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    const double degrees = table.Number(row, "degrees");
    EXPECT_NEAR(DegToDmsPackedHundredth(degrees), table.Number(row, "hundredth"), tolerance) << degrees;
    EXPECT_NEAR(DegToDmsPackedSec(degrees), table.Number(row, "whole_seconds"), tolerance) << degrees;
    EXPECT_NEAR(DegToDmPacked(degrees), table.Number(row, "minutes"), tolerance) << degrees;
    const double packed = table.Number(row, "packed");
    EXPECT_NEAR(DmsPackedToDeg(packed), table.Number(row, "packed_degrees"), tolerance) << packed;
  }
}

}  // namespace
}  // namespace kvx
