// The table configuration: which columns a table shows and the heading of
// every output quantity. The set-up dialogs edit it; the core library only
// asks whether the hourly-motion columns are on.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kvx {

// Stored as 22,676 bytes: 134 column flags (flag n is byte n, non-zero =
// column on), then 221 headings, one per output quantity, each a short
// string of up to 101 characters in 102 bytes.
struct TTableConfigRecord {
  static constexpr std::size_t kColumnFlagCount = 134;
  static constexpr std::size_t kHeadingCount = 221;
  static constexpr std::size_t kStoredSize = kColumnFlagCount + kHeadingCount * 102;

  std::array<std::uint8_t, kColumnFlagCount> ColumnFlags{};
  std::array<std::string, kHeadingCount> Headings{};
};

// 1 when any of the four hourly-motion columns (flags 20 to 23) is on, else 0.
inline std::uint8_t AnyOfFourColumns(const TTableConfigRecord& config) {
  for (std::size_t flag = 20; flag <= 23; ++flag) {
    if (config.ColumnFlags[flag] != 0) return 1;
  }
  return 0;
}

}  // namespace kvx
