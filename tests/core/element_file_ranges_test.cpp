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
  r.UserCatalogue = {2, 5};
  CheckUserCatalogueRange(r, 5);  // last = count reads one past the end
  EXPECT_EQ(r.UserCatalogue, TFileRange{});
  r.UserCatalogue = {6, 3};
  CheckUserCatalogueRange(r, 5);  // a first past the end, whatever the last
  EXPECT_EQ(r.UserCatalogue, TFileRange{});
}

TEST(ElementFileRanges, ClampedRangeStaysInsideTheList) {
  struct Case {
    TFileRange in;
    std::int32_t count;
    bool empty;
    std::int32_t first, last;
  };
  const Case cases[] = {
      {{0, -1}, 4, false, 0, 3},   // no range: the whole list
      {{0, -1}, 0, true, 0, -1},   // an empty list searches nothing
      {{5, 2}, 4, true, 5, 3},     // last below first
      {{5, 2}, 0, true, 0, -1},
      {{-3, 7}, 4, false, 0, 3},   // both ends pulled inside
      {{-3, 7}, 0, true, 0, -1},
      {{2, 9}, 4, false, 2, 3},    // stale last from a longer list
      {{4, 9}, 4, true, 4, 3},     // stale first: nothing left
      {{3, -5}, 4, false, 0, 3},   // any negative last: the whole list
  };
  for (const Case& c : cases) {
    const TClampedRange r = ClampFileRange(c.in, c.count);
    EXPECT_EQ(r.Empty, c.empty) << c.in.First << "," << c.in.Last << " of " << c.count;
    if (!c.empty) {
      EXPECT_EQ(r.First, c.first);
      EXPECT_EQ(r.Last, c.last);
      EXPECT_EQ(r.Count(), c.last - c.first + 1);
    } else {
      EXPECT_EQ(r.Count(), 0);
    }
  }
}

}  // namespace
}  // namespace kvx
