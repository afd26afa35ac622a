// The row store that keeps one result record per computed row. It lives
// here, below the main window, so that the table objects reach it without
// knowing the window.
#pragma once

#include <memory>
#include <vector>

#include "engine/ephemeris_result.h"

namespace kvx {

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
