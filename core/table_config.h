// The table configuration: which columns a table shows and the heading of
// every output quantity. The main window owns one record; every table object
// gets a copy by value; the set-up dialogs edit it and the ".etd" file stores
// it. The meaning of every flag byte is in core/column_flags.h.
//
// Byte image, 22,676 bytes, read and written field by field:
//
//   offset           size        content
//   0                134         Flags: one byte per flag (0 off, 1 on); bytes
//                                0-113 in use, 114-133 reserved and kept as read
//   134 + 102 k      102         ColumnTitles[k], k = 0 .. 220 (the format slot):
//                                ShortString[101] (length byte, 101 bytes of room)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/column_flags.h"
#include "core/data_format_slots.h"

namespace kvx {

// One column title per format slot (core/data_format_slots.h).
inline constexpr std::size_t kColumnTitleCount = static_cast<std::size_t>(kFormatSlotCount);
inline constexpr std::size_t kColumnTitleLength = 101;  // characters of one title
inline constexpr std::size_t kColumnTitleOffset = kColumnFlagCount;
inline constexpr std::size_t kTableConfigRecordSize = kColumnFlagCount + kColumnTitleCount * (kColumnTitleLength + 1);
static_assert(kTableConfigRecordSize == 22676, "the table configuration record is 22,676 bytes");

struct TTableConfigRecord {
  static constexpr std::size_t kStoredSize = kTableConfigRecordSize;

  TColumnFlags Flags{};
  // UTF-8 in memory; at most 101 Windows-1252 characters are stored.
  std::array<std::string, kColumnTitleCount> ColumnTitles{};

  bool operator==(const TTableConfigRecord&) const = default;
};

using TTableConfigBytes = std::array<std::uint8_t, kTableConfigRecordSize>;

// The record as its 22,676-byte image (titles cut to 101 characters, the room
// after a title zero).
void EncodeTableConfigRecord(const TTableConfigRecord& record, std::span<std::uint8_t, kTableConfigRecordSize> out);
TTableConfigBytes EncodeTableConfigRecord(const TTableConfigRecord& record);

// The record from its image; a title length byte above 101 counts as 101.
TTableConfigRecord DecodeTableConfigRecord(std::span<const std::uint8_t, kTableConfigRecordSize> in);

// 1 when any of the four hourly-motion columns (flags 20 to 23) is on, else 0.
inline std::uint8_t AnyOfFourColumns(const TTableConfigRecord& config) {
  for (std::size_t flag = column_flag::kHourlyMotionRA; flag <= column_flag::kHourlyMotionAngle; ++flag) {
    if (config.Flags[flag] != 0) return 1;
  }
  return 0;
}

// The first column title (its slot) that the stored ShortString[101] does
// not hold unchanged (a character outside Windows-1252, more than 101
// characters); -1 when the record keeps every title.
int FirstTitleNotHeld(const TTableConfigRecord& record);
// "Spaltentitel <slot> = "<title>"" / "Column title <slot> = "<title>"": the
// object and field of a refused save.
std::string ColumnTitleRefusal(const TTableConfigRecord& record, int slot);

}  // namespace kvx
