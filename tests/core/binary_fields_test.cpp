#include "core/binary_fields.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace kvx {
namespace {

using Image = std::array<std::uint8_t, kExtendedSize>;

Image Extended(double value) {
  Image bytes{};
  DoubleToExtended(value, bytes.data());
  return bytes;
}

// Hand-computed x87 images: significand (low byte first), then exponent and sign.
TEST(ExtendedReal, KnownImagesBothWays) {
  struct Case {
    double value;
    Image image;
  };
  const Case cases[] = {
      {1.0, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
      {-2.5, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}},
      {1e-10, {0x00, 0xD8, 0xED, 0xBD, 0xCE, 0xFE, 0xE6, 0xDB, 0xDD, 0x3F}},
      {0.0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {-0.0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
      {std::numeric_limits<double>::max(), {0x00, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x43}},
      {std::numeric_limits<double>::min(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x3C}},
      {std::numeric_limits<double>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Extended(c.value), c.image) << c.value;
    const double back = ExtendedToDouble(c.image.data());
    EXPECT_EQ(back, c.value);
    EXPECT_EQ(std::signbit(back), std::signbit(c.value)) << c.value;
  }
  // The smallest subnormal double is a normal extended value and comes back.
  const double tiny = std::numeric_limits<double>::denorm_min();
  EXPECT_EQ(ExtendedToDouble(Extended(tiny).data()), tiny);
  EXPECT_TRUE(std::isnan(ExtendedToDouble(Extended(std::nan("")).data())));
}

TEST(ExtendedReal, RoundsToNearestEvenAndSaturates) {
  auto image = [](std::uint64_t significand, unsigned signAndExponent) {
    Image b{};
    for (int k = 0; k < 8; ++k) b[k] = static_cast<std::uint8_t>(significand >> (8 * k));
    b[8] = static_cast<std::uint8_t>(signAndExponent & 0xFF);
    b[9] = static_cast<std::uint8_t>(signAndExponent >> 8);
    return b;
  };
  const std::uint64_t one = std::uint64_t{1} << 63;
  // 1 + 2^-53 is a tie: stays 1; a trace more rounds up to 1 + 2^-52.
  EXPECT_EQ(ExtendedToDouble(image(one | (1u << 10), 0x3FFF).data()), 1.0);
  EXPECT_EQ(ExtendedToDouble(image(one | (1u << 10) | 1u, 0x3FFF).data()), 1.0 + std::ldexp(1.0, -52));
  // 1 + 3 * 2^-53 is a tie between odd and even: rounds up to even.
  EXPECT_EQ(ExtendedToDouble(image(one | (3u << 10), 0x3FFF).data()), 1.0 + std::ldexp(1.0, -51));
  // Beyond the double range: infinity of the sign; far below: signed zero.
  EXPECT_EQ(ExtendedToDouble(image(one, 0x4400).data()), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ExtendedToDouble(image(one, 0xC400).data()), -std::numeric_limits<double>::infinity());
  const double underflow = ExtendedToDouble(image(one, 0x8001).data());
  EXPECT_EQ(underflow, 0.0);
  EXPECT_TRUE(std::signbit(underflow));
  // Subnormal results round once: 2^-1075 (a tie) to 0, 1.5 x 2^-1075 up to 2^-1074.
  EXPECT_EQ(ExtendedToDouble(image(one, 16383 - 1075).data()), 0.0);
  EXPECT_EQ(ExtendedToDouble(image(one | (one >> 1), 16383 - 1075).data()), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(ExtendedToDouble(image(one | (one >> 2), 16383 - 1073).data()), std::ldexp(1.25, -1073));
  // Extended denormals, pseudo-infinity and NaN patterns.
  EXPECT_EQ(ExtendedToDouble(image(one, 0).data()), 0.0);
  EXPECT_EQ(ExtendedToDouble(image(0, 0x7FFF).data()), std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(ExtendedToDouble(image(one | 1u, 0x7FFF).data())));
  // An unnormal is read by its value: 0.5 x 2^1 = 1.
  EXPECT_EQ(ExtendedToDouble(image(one >> 1, 0x3FFF).data()), 0.5);
}

#if defined(__x86_64__) || defined(__i386__)
TEST(ExtendedReal, MatchesTheHostLongDouble) {
  for (double value : {1.0, -2.5, 1e-10, 123456.789, -1e300, 1e-310, std::numeric_limits<double>::max(),
                       std::numeric_limits<double>::min(), 2451545.0, 1.0 / 3.0}) {
    const long double host = value;
    Image hostImage{};
    std::memcpy(hostImage.data(), &host, kExtendedSize);
    EXPECT_EQ(Extended(value), hostImage) << value;
  }
  // And host values with more precision than a double round as the host does.
  for (long double host : {1.0L / 3.0L, 2.0L / 3.0L, 1e-4000L, 1e4000L, -7e-320L}) {
    Image hostImage{};
    std::memcpy(hostImage.data(), &host, kExtendedSize);
    EXPECT_EQ(ExtendedToDouble(hostImage.data()), static_cast<double>(host));
  }
}
#endif

TEST(ShortString, CutsClampsAndConvertsTheCodePage) {
  std::array<std::uint8_t, 6> field{};
  field.fill(0xEE);
  PutShortString(field.data(), 5, "Grüße aus Köln");  // cut to 5 Windows-1252 bytes
  EXPECT_EQ(field[0], 5);
  EXPECT_EQ(field[3], 0xFC);  // ü
  EXPECT_EQ(GetShortString(field.data(), 5), "Grüße");
  PutShortString(field.data(), 5, "ab");
  EXPECT_EQ(field, (std::array<std::uint8_t, 6>{2, 'a', 'b', 0, 0, 0}));
  field[0] = 200;  // a damaged length byte reads the room only
  EXPECT_EQ(GetShortString(field.data(), 5).size(), 5u);
}

TEST(FieldWalkers, StopAtTheEndOfTheBuffer) {
  std::array<std::uint8_t, 14> buffer{};
  FieldWriter w(buffer);
  w.I32(-2);
  w.F64(0.5);
  EXPECT_TRUE(w.ok());
  w.I32(7);  // does not fit
  EXPECT_FALSE(w.ok());
  EXPECT_EQ(w.Position(), 12u);

  FieldReader r(buffer);
  EXPECT_EQ(r.I32(), -2);
  EXPECT_EQ(r.F64(), 0.5);
  EXPECT_EQ(r.I32(), 0);
  EXPECT_FALSE(r.ok());
}

}  // namespace
}  // namespace kvx
