#include "platform/workbook/cell_matchers.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

TEST(CellMatchers, FindWholeAndPartialTexts) {
  int position = 0;
  EXPECT_TRUE(MatchWholeCase("Mars", "Mars", position));
  EXPECT_EQ(position, 1);
  EXPECT_FALSE(MatchWholeCase("mars", "Mars", position));
  EXPECT_TRUE(MatchWholeNoCase("äquator", "ÄQUATOR", position));
  EXPECT_FALSE(MatchWholeNoCase("Mars", "Mars ", position));
  EXPECT_TRUE(MatchPartCase("Mars", "Größe Mars", position));
  EXPECT_EQ(position, 7);  // characters, not bytes
  EXPECT_FALSE(MatchPartCase("mars", "Größe Mars", position));
  EXPECT_TRUE(MatchPartNoCase("GRÖ", "die größe", position));
  EXPECT_EQ(position, 5);
  EXPECT_FALSE(MatchPartNoCase("", "Mars", position));
}

TEST(CellMatchers, ColumnRowReferences) {
  std::int32_t row = 0, column = 0;
  ParseColumnRowRef("c:7", row, column);
  EXPECT_EQ(row, 7);
  EXPECT_EQ(column, 3);
  for (const char* other : {"C7", ":7", "C:", "", "1:5", "C:x", "A:0", "A:000"}) {
    ParseColumnRowRef(other, row, column);
    EXPECT_EQ(row, 1) << other;
    EXPECT_EQ(column, 1) << other;
  }
}

}  // namespace
}  // namespace kvx
