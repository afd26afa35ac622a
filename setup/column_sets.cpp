#include "setup/column_sets.h"

#include <initializer_list>

#include "core/quantity_headings.h"

namespace kvx {

namespace {

// A list of bytes and inclusive ranges {first, last}.
struct ByteRange {
  int first;
  int last;
  ByteRange(int single) : first(single), last(single) {}  // NOLINT: a single byte reads as a range
  ByteRange(int from, int to) : first(from), last(to) {}
};

void SwitchOn(TColumnFlags& flags, std::initializer_list<ByteRange> ranges) {
  for (const ByteRange& range : ranges) {
    for (int byte = range.first; byte <= range.last; ++byte) flags[static_cast<std::size_t>(byte)] = 1;
  }
}

void ClearAll(TColumnFlags& flags) { flags.fill(0); }

}  // namespace

void ClearColumns(TColumnFlags& flags) {
  for (std::size_t byte = 0; byte < kUsedColumnFlagCount; ++byte) flags[byte] = 0;
}

void SetDefaultColumns(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {0,  1,  2,  3,  4,  10, 11, 12, 14, 16, 17, 18, 19, 28, 29, 34, 35, 43, 44,
                   45, 46, 52, 58, 60, 62, 63, 64, 66, 70, 71, 80, 81, 82, 83, 84, 85, 86});
}

void SelectAllColumns(TColumnFlags& flags) {
  SwitchOn(flags, {{0, 3}, {5, 113}});
  flags[column_flag::kDateOnly] = 0;
}

void ColumnPresetA(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {52, 54, 58, 60, {62, 66}, 70, 71, {73, 85}});
}

void ColumnPresetB(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {4, 43, 44, 45, 46, 50});
}

void ColumnPresetC(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {4, 5, 12, 14, {20, 25}, 28, 29, {43, 46}, 52, 58, 62});
}

void ColumnPresetD(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {5, 96, 98, 99, 100, 101, 103, 104, 106});
}

void ColumnPresetE(TColumnFlags& flags) {
  ClearAll(flags);
  SwitchOn(flags, {4, 10, 11, 12, 14, 16, 17, 18, 19, 30, {43, 46}, 50, 52, 54, 58, 60, {62, 66}, 70, 71, {73, 85}});
}

void ColumnPresetF(TColumnFlags& flags) {
  ClearAll(flags);
  SwitchOn(flags, {4, 12, 14, {24, 30}, {43, 46}, 50, 52, 54, 56, 58, 60, {62, 66}, 70, 71, {73, 85}});
}

void ColumnPresetG(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {4, 12, 14, 24, 25, 28, 29, {43, 46}, 52, 58, 62});
}

void ColumnPresetH(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {4, 5, {97, 101}, {103, 107}});
}

void RecomputeColumnSummaries(TColumnFlags& flags) {
  std::uint8_t groupsOn = 0;
  for (const TColumnFlagInfo& info : ColumnFlagTable) {
    if (info.byte > column_flag::kSummaryElements && flags[info.byte] != 0) groupsOn |= info.groups;
  }
  flags[column_flag::kSummaryCoordinates] = (groupsOn & kGroupCoordinates) != 0 ? 1 : 0;
  flags[column_flag::kSummaryTopocentric] = (groupsOn & kGroupTopocentric) != 0 ? 1 : 0;
  flags[column_flag::kSummaryPhysical] = (groupsOn & kGroupPhysical) != 0 ? 1 : 0;
  flags[column_flag::kSummaryElements] = (groupsOn & kGroupElements) != 0 ? 1 : 0;
}

TTableConfigRecord NewTableConfigRecord() {
  TTableConfigRecord record;
  SetDefaultColumns(record.Flags);
  for (std::size_t slot = 0; slot < kColumnTitleCount; ++slot) record.ColumnTitles[slot] = QuantityHeadingTable[slot];
  return record;
}

}  // namespace kvx
