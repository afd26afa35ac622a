// The number reader says a text is the number's shortest text only when
// the writer writes exactly that text for the value read: over many texts
// of every shape, with both decimal marks.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "platform/number_text.h"

namespace kvx {
namespace {

// A random number text: a sign, 1 to 20 whole digits (often ending in
// zeros), perhaps a decimal part and an exponent.
std::string RandomNumberText(std::mt19937_64& random, char decimal) {
  const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
  std::string text = pick(4) == 0 ? "-" : "";
  const int whole = 1 + pick(20);
  const int zeros = pick(3) == 0 ? 0 : pick(whole);
  for (int k = 0; k < whole; ++k) {
    text += static_cast<char>('0' + (k >= whole - zeros ? 0 : (k == 0 && whole > 1 ? 1 + pick(9) : pick(10))));
  }
  if (pick(3) == 0) {
    text += decimal;
    for (int k = 1 + pick(8); k > 0; --k) text += static_cast<char>('0' + pick(10));
  }
  if (pick(8) == 0) text += "e" + WholeNumberText(pick(40) - 20);
  return text;
}

TEST(NumberText, TheShortestTextIsClaimedOnlyWhereTheWriterWritesIt) {
  std::mt19937_64 random(20261211);
  int claimed = 0;
  for (const char decimal : {'.', ','}) {
    TNumberSyntax syntax;
    syntax.Decimal = decimal;
    for (int k = 0; k < 200000; ++k) {
      const std::string text = RandomNumberText(random, decimal);
      const auto number = ReadNumber(text, syntax);
      ASSERT_TRUE(number) << text;
      if (!number->Shortest) continue;
      ++claimed;
      ASSERT_EQ(ShortestNumberText(number->Number, decimal), text);
    }
  }
  // Whole numbers of 16 to 20 digits ending in zeros: the text is the
  // writer's only where a double holds the number exactly.
  for (const char* text : {"123456789012345000", "1234567890123450000", "99999999999999900000", "-98765432109876500"}) {
    EXPECT_FALSE(ReadNumber(text)->Shortest) << text;
    EXPECT_NE(ShortestNumberText(ReadNumber(text)->Number), text);
  }
  EXPECT_TRUE(ReadNumber("12345678901234500")->Shortest);
  EXPECT_TRUE(ReadNumber("-0,125", TNumberSyntax{.Decimal = ','})->Shortest);
  // Most plain texts are claimed: a save keeps no copy of them.
  EXPECT_GT(claimed, 100000);
}

// The shortest text is the one std::to_chars gives, for whole numbers and
// halves (written from their digits) as for every other value.
TEST(NumberText, TheShortestTextIsTheGeneralConversions) {
  std::mt19937_64 random(1211);
  const auto reference = [](double value, char decimal) {
    char text[64];
    std::string written(text, std::to_chars(text, text + sizeof text, value).ptr);
    for (char& c : written) {
      if (c == '.') c = decimal;
    }
    return written;
  };
  for (int k = 0; k < 300000; ++k) {
    const double whole = static_cast<double>(random() >> (11 + k % 53)) * std::pow(10.0, static_cast<int>(k % 7));
    const double value = (k % 3 == 0 ? -1 : 1) * (k % 2 == 0 ? whole : whole + 0.5) +
                         (k % 5 == 0 ? std::ldexp(static_cast<double>(random() % 1000), -12) : 0.0);
    for (const char decimal : {'.', ','}) ASSERT_EQ(ShortestNumberText(value, decimal), reference(value, decimal));
  }
  for (const double value : {0.0, -0.0, 0.5, -0.5, 1e5, 123456.0, 4503599627370495.5, 4503599627370496.0,
                             9007199254740993.0, 1e22, 2460000.5, 2000.0}) {
    EXPECT_EQ(ShortestNumberText(value, ','), reference(value, ',')) << value;
  }
}

}  // namespace
}  // namespace kvx
