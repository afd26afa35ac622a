#include "engine/table_globals.h"

namespace kvx {

double SecondEquinoxT = 0;
TRiseSetAltitudes RiseSetAltitudes = {-34.0, 8.0, -50.0, -6.0, -12.0, -18.0};
std::uint8_t RiseSetMoonOption = 0;
std::uint8_t RiseSetMoonLimb = 1;
std::uint8_t RiseSetPrecise = 1;
std::uint8_t RiseSetInternalMoon = 0;
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
