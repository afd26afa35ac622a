// The main window's chosen entry ranges of the three element lists.
//
// Each pair is (first, last), 0-based entry numbers of its list; the pair
// (0, -1) means no range is chosen. Conjunction and event lists and the batch
// tables use a chosen range; the range dialog edits it. The ranges of a list
// are forgotten whenever another file is loaded into that list.
//
// Stored layout (24 bytes, little-endian, in this order):
//   offset  0  int32  user catalogue first
//   offset  4  int32  user catalogue last
//   offset  8  int32  asteroid file first
//   offset 12  int32  asteroid file last
//   offset 16  int32  comet file first
//   offset 20  int32  comet file last
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvx {

struct TFileRange {
  std::int32_t First = 0;
  std::int32_t Last = -1;

  bool Chosen() const { return Last >= First; }
  bool operator==(const TFileRange&) const = default;
};

struct TElementFileRanges {
  TFileRange UserCatalogue;
  TFileRange AsteroidFile;
  TFileRange CometFile;

  bool operator==(const TElementFileRanges&) const = default;
};

inline constexpr std::size_t kElementFileRangesSize = 24;

void EncodeElementFileRanges(const TElementFileRanges& ranges, std::span<std::uint8_t, kElementFileRangesSize> out);
TElementFileRanges DecodeElementFileRanges(std::span<const std::uint8_t, kElementFileRangesSize> in);

// Forgets the range of one list: kind 0 or 3 the user catalogue, 1 the
// asteroid file, 2 the comet file; other kinds change nothing.
void ResetFileRange(TElementFileRanges& ranges, std::int32_t kind);

// Forgets the user-catalogue range when it does not fit a catalogue of
// `objectCount` objects: a first or last entry at or past the count, or a
// negative first.
void CheckUserCatalogueRange(TElementFileRanges& ranges, std::int32_t objectCount);

// The entries a stored range stands for in a list of `count` entries. The
// pair (0, -1), and any negative last, means the whole list; first is raised
// to 0 and last lowered to count - 1. Empty when the list is empty or the
// clamped first lies past the clamped last. Every search and dialog reads a
// range through this, since stored ranges may come from an older, longer list.
struct TClampedRange {
  std::int32_t First = 0;
  std::int32_t Last = -1;
  bool Empty = true;

  std::int32_t Count() const { return Empty ? 0 : Last - First + 1; }
};

TClampedRange ClampFileRange(const TFileRange& range, std::int32_t count);

}  // namespace kvx
