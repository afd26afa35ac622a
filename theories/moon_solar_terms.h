// The 104 solar terms of the internal lunar series (truncated Brown theory),
// in evaluation order: 35, 46 and 23 terms in three groups.
#pragma once

#include <array>
#include <cstdint>

namespace kvx {

// One periodic term with the argument p*l + q*l' + r*F + s*D (l the Moon's
// mean anomaly, l' the Sun's, F the argument of latitude, D the elongation).
// Coefficients in arc seconds: longitude and DS multiply the sine, the
// latitude factor GAM1C and the parallax multiply the cosine.
struct MoonSolarTerm {
  double coefl;
  double coefs;
  double coefg;
  double coefp;
  std::int8_t p;
  std::int8_t q;
  std::int8_t r;
  std::int8_t s;
};

inline constexpr std::size_t kMoonSolarTermCount = 104;
extern const std::array<MoonSolarTerm, kMoonSolarTermCount> kMoonSolarTerms;

}  // namespace kvx
