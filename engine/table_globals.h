// The main window's settings and stores that every body object reads while
// it computes: the second output equinox, the rise/set altitudes and
// switches, and the row store that keeps one result record per computed
// row. They live here, below the main window, so that the
// computing objects reach them without knowing the window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/rise_set_search.h"
#include "engine/ephemeris_result.h"

namespace kvx {

// Second output equinox, Julian centuries from J2000 (0 = J2000).
extern double SecondEquinoxT;

// Altitudes of rise and set (arc minutes for entries 0..2, degrees for the
// twilight levels 3..5).
extern TRiseSetAltitudes RiseSetAltitudes;

// The main window's four switches of the Sun and Moon rise/set search:
// the Moon option byte handed to the Moon theory, the Moon's upper limb seen
// from the observer at -34' (else its centre at RiseSetAltitudes[1]), the
// apparent places of the selected theories (else the low-precision Sun and
// Moon; the darkness of the Sun table takes its Moon the same way), and the
// Moon from the internal series whatever the theory selection says.
extern std::uint8_t RiseSetMoonOption;
extern std::uint8_t RiseSetMoonLimb;
extern std::uint8_t RiseSetPrecise;
extern std::uint8_t RiseSetInternalMoon;

// The row store: one copy of the result record per computed row. Blocks are
// made when a row index first reaches the count and are kept; the next run
// overwrites them from index 0. The number of valid rows is the table
// object's row count.
class TRowStore {
 public:
  // Copies `record` into block `index`; index == Count() appends a block.
  // Returns false (nothing stored) for an index beyond that.
  bool Store(int index, const TEphemerisResultRecord& record);
  // Block `index`, 0 <= index < Count().
  const TEphemerisResultRecord& Row(int index) const { return *blocks_[static_cast<std::size_t>(index)]; }
  int Count() const { return static_cast<int>(blocks_.size()); }
  // Frees every block (the main window does so when it closes).
  void Clear() { blocks_.clear(); }

 private:
  std::vector<std::unique_ptr<TEphemerisResultRecord>> blocks_;
};

extern TRowStore RowStore;

}  // namespace kvx
