#include "orbitdet/integration_accuracy.h"

namespace kvx {

long double DigitsToTolerance(std::uint8_t digits) {
  static constexpr long double kPowers[10] = {1e-8L,  1e-9L,  1e-10L, 1e-11L, 1e-12L,
                                              1e-13L, 1e-14L, 1e-15L, 1e-16L, 1e-17L};
  const int d = digits & 0x7F;
  return d >= 8 && d <= 17 ? kPowers[d - 8] : 1e-18L;
}

}  // namespace kvx
