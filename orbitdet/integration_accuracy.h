// The accuracy of the numerical integration of asteroid and comet orbits,
// chosen as a number of significant decimal digits.
#pragma once

#include <cstdint>

namespace kvx {

// Relative tolerance of the integrator for `digits`: only the low 7 bits
// count; 8..17 give exactly 10^-digits (long double), anything else 1e-18.
long double DigitsToTolerance(std::uint8_t digits);

}  // namespace kvx
