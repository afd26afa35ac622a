// The stored entry ranges of the three element lists and their clamp to a
// list: the first 24 bytes are the stored record, the next four the length
// of the list. Every pair, whatever its numbers, clamps to entries inside
// the list or to nothing; the record re-encodes to its bytes; the check of
// the user-catalogue range leaves a range that fits or no range at all.
#include <array>
#include <cstring>

#include "core/element_file_ranges.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  std::array<std::uint8_t, kElementFileRangesSize> image{};
  std::memcpy(image.data(), data, std::min(size, image.size()));
  std::int32_t count = 0;
  if (size > image.size()) {
    std::array<std::uint8_t, 4> raw{};
    std::memcpy(raw.data(), data + image.size(), std::min<std::size_t>(size - image.size(), 4));
    count = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw[0]) | static_cast<std::uint32_t>(raw[1]) << 8 |
                                      static_cast<std::uint32_t>(raw[2]) << 16 |
                                      static_cast<std::uint32_t>(raw[3]) << 24);
  }

  TElementFileRanges ranges = DecodeElementFileRanges(image);
  std::array<std::uint8_t, kElementFileRangesSize> again{};
  EncodeElementFileRanges(ranges, again);
  fuzz::Require(again == image, "record round trip");

  for (const TFileRange& r : {ranges.UserCatalogue, ranges.AsteroidFile, ranges.CometFile}) {
    const TClampedRange c = ClampFileRange(r, count);
    if (count <= 0) fuzz::Require(c.Empty, "an empty list gives nothing");
    if (c.Empty) {
      fuzz::Require(c.Count() == 0, "no entries");
    } else {
      fuzz::Require(c.First >= 0 && c.First <= c.Last && c.Last <= count - 1, "inside the list");
      fuzz::Require(c.Count() >= 1 && c.Count() <= count, "entry count");
    }
    if (count > 0 && r.Last < 0) fuzz::Require(!c.Empty && c.First == 0 && c.Last == count - 1, "the whole list");
  }

  CheckUserCatalogueRange(ranges, count);
  const TFileRange& u = ranges.UserCatalogue;
  fuzz::Require(u == TFileRange{} || (u.First >= 0 && u.First < count && u.Last < count), "user range fits");
  return 0;
}
