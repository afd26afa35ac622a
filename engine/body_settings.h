// What a body object takes from the main window besides its records: the
// language of its names and status words, the second output equinox and the
// rise/set altitudes and switches. Every creator hands them in; the body keeps
// its copy for its whole life.
#pragma once

#include <cstdint>

#include "core/rise_set_search.h"

namespace kvx {

// The rise/set settings a table, body or search takes, made from the main
// window's computing settings where its request is built.
struct TRiseSetSettings {
  // Altitudes of rise and set (arc minutes for entries 0..2, degrees for the
  // twilight levels 3..5).
  TRiseSetAltitudes Altitudes = {-34.0, 8.0, -50.0, -6.0, -12.0, -18.0};
  // The Moon option byte the Sun's searches hand to the Moon theory.
  std::uint8_t MoonOption = 0;
  // The Moon's upper limb seen from the observer at -34' (else its centre at
  // Altitudes[1]).
  std::uint8_t MoonLimb = 1;
  // The apparent places of the selected theories (else the low-precision Sun
  // and Moon; the darkness of the Sun table takes its Moon the same way).
  std::uint8_t Precise = 1;
  // The Moon of the rise/set searches from the internal series whatever the
  // theory selection says ("never the slow ELP2000 Moon theory").
  std::uint8_t InternalMoon = 0;

  bool operator==(const TRiseSetSettings&) const = default;
};

struct TBodySettings {
  std::uint8_t Language = 0;  // 0 German, else English
  double SecondEquinoxT = 0;  // Julian centuries from J2000 (0 = J2000)
  TRiseSetSettings RiseSet;
};

}  // namespace kvx
