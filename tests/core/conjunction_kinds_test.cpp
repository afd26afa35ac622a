#include "core/conjunction_kinds.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/globals.h"

namespace kvx {
namespace {

class ConjunctionKinds : public ::testing::Test {
 protected:
  void SetUp() override {
    LanguageEnglish = 0;
    IntlSeparators = TIntlSeparators{};
  }
  void TearDown() override { LanguageEnglish = 0; }
};

TEST_F(ConjunctionKinds, FollowTheOptionBytes) {
  std::array<std::uint8_t, kConjunctionOptionsSize> options{};
  EXPECT_EQ(ConjunctionKindOf(options), 1);
  EXPECT_EQ(ConjunctionKindAbbrev(options), "K.RA");
  options[1] = 1;
  EXPECT_EQ(ConjunctionKindOf(options), 2);
  EXPECT_EQ(ConjunctionKindAbbrev(options), "K.L.");
  options[2] = 1;
  EXPECT_EQ(ConjunctionKindOf(options), 3);
  EXPECT_EQ(ConjunctionKindAbbrev(options), "A.S.");
  EXPECT_EQ(ConjunctionKindOf(std::span<const std::uint8_t>()), 1);  // short record: nothing set

  EXPECT_EQ(ConjunctionKindText(3), "Winkelabstand minimal");
  EXPECT_EQ(ConjunctionKindText(2), "Konjunktion in Länge");
  EXPECT_EQ(ConjunctionKindText(7), "Konjunktion in RA");
  LanguageEnglish = 1;
  EXPECT_EQ(ConjunctionKindText(3), "Smallest angular separation");
  EXPECT_EQ(ConjunctionKindText(2), "Conjunction in Longitude");
  EXPECT_EQ(ConjunctionKindText(1), "Conjunction in RA");
}

}  // namespace
}  // namespace kvx
