#include "core/element_file_ranges.h"

#include <gtest/gtest.h>

#include <array>

namespace kvx {
namespace {

TEST(ElementFileRanges, LayoutRoundTripAndReset) {
  TElementFileRanges r;
  r.UserCatalogue = {2, 7};
  r.AsteroidFile = {-3, 0x01020304};
  r.CometFile = {5, -1};
  std::array<std::uint8_t, kElementFileRangesSize> bytes{};
  EncodeElementFileRanges(r, bytes);
  // Little-endian int32 pairs in the order catalogue, asteroids, comets.
  EXPECT_EQ(bytes[0], 2);
  EXPECT_EQ(bytes[4], 7);
  EXPECT_EQ(bytes[8], 0xFD);
  EXPECT_EQ(bytes[11], 0xFF);
  EXPECT_EQ(bytes[12], 0x04);
  EXPECT_EQ(bytes[15], 0x01);
  EXPECT_EQ(bytes[16], 5);
  EXPECT_EQ(bytes[20], 0xFF);
  EXPECT_EQ(DecodeElementFileRanges(bytes), r);

  TElementFileRanges t = r;
  ResetFileRange(t, 1);
  EXPECT_EQ(t.AsteroidFile, TFileRange{});
  EXPECT_EQ(t.UserCatalogue, r.UserCatalogue);
  ResetFileRange(t, 2);
  EXPECT_EQ(t.CometFile, TFileRange{});
  ResetFileRange(t, 9);
  EXPECT_EQ(t.UserCatalogue, r.UserCatalogue);
  ResetFileRange(t, 3);
  EXPECT_EQ(t, TElementFileRanges{});
  t.UserCatalogue = {1, 2};
  ResetFileRange(t, 0);
  EXPECT_FALSE(t.UserCatalogue.Chosen());
}

TEST(ElementFileRanges, CatalogueRangeComparedWithObjectCount) {
  TElementFileRanges r;
  r.UserCatalogue = {2, 4};
  CheckUserCatalogueRange(r, 5);  // entries 2..4 of five objects fit
  EXPECT_EQ(r.UserCatalogue, (TFileRange{2, 4}));
  CheckUserCatalogueRange(r, 4);  // the last entry is gone
  EXPECT_EQ(r.UserCatalogue, TFileRange{});
  CheckUserCatalogueRange(r, 0);  // no range stays no range
  EXPECT_EQ(r.UserCatalogue, TFileRange{});
}

}  // namespace
}  // namespace kvx
