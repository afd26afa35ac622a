// Mixing of 64-bit words for the hash tables of the search caches.
//
// The keys of those tables are mostly bit patterns of instants (MJD,
// Julian centuries) that differ in their high bits; a table index uses the
// low ones. MixBits spreads every input bit over every output bit (the
// finalizer of the splitmix64 generator): a bijection on 64-bit words.
#pragma once

#include <cstdint>

namespace kvx {

inline constexpr std::uint64_t MixBits(std::uint64_t h) {
  h ^= h >> 30;
  h *= 0xBF58476D1CE4E5B9ULL;
  h ^= h >> 27;
  h *= 0x94D049BB133111EBULL;
  return h ^ (h >> 31);
}

}  // namespace kvx
