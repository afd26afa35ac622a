#include "engine/table_globals.h"

namespace kvx {

TRowStore RowStore;

bool TRowStore::Store(int index, const TEphemerisResultRecord& record) {
  if (index < 0 || index > Count()) return false;
  if (index == Count()) {
    blocks_.push_back(std::make_unique<TEphemerisResultRecord>(record));
  } else {
    *blocks_[static_cast<std::size_t>(index)] = record;
  }
  return true;
}

}  // namespace kvx
