// Theory selections for tests and benchmarks: the planets' road in byte 0,
// the Moon's in byte 1, every other byte at its default.
#pragma once

#include <cstdint>

#include "theories/theory_types.h"

namespace kvx::test {

inline TTheorySelection PlanetTheory(std::uint8_t planetTheory) {
  TTheorySelection selection;
  selection.bytes[0] = planetTheory;
  return selection;
}

inline TTheorySelection PlanetAndMoonTheory(std::uint8_t planetTheory, std::uint8_t moonTheory) {
  TTheorySelection selection = PlanetTheory(planetTheory);
  selection.bytes[1] = moonTheory;
  return selection;
}

}  // namespace kvx::test
