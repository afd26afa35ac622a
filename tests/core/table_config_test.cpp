#include "core/table_config.h"

#include <gtest/gtest.h>

#include <set>

namespace kvx {
namespace {

TEST(TableConfigRecord, ImageHasTheFixedLayoutAndRoundTrips) {
  static_assert(kUsedColumnFlagCount < kColumnFlagCount, "the last flag byte is a reserved one");
  constexpr std::size_t kReserved = kColumnFlagCount - 1;
  constexpr std::size_t kLastTitle = kColumnTitleCount - 1;
  TTableConfigRecord record;
  record.Flags[column_flag::kDateOnly] = 1;
  record.Flags[column_flag::kDarknessSum] = 1;
  record.Flags[kReserved] = 0x5A;  // reserved bytes are kept as they are
  record.ColumnTitles[0] = "Datum";
  record.ColumnTitles[16] = "Rektaszension äquatorial";
  record.ColumnTitles[kLastTitle] = std::string(150, 'x');  // cut to 101 characters

  const TTableConfigBytes bytes = EncodeTableConfigRecord(record);
  EXPECT_EQ(bytes.size(), 22676u);
  EXPECT_EQ(bytes[4], 1);
  EXPECT_EQ(bytes[113], 1);
  EXPECT_EQ(bytes[133], 0x5A);
  EXPECT_EQ(bytes[134], 5);  // slot 0 at 134
  EXPECT_EQ(bytes[135], 'D');
  EXPECT_EQ(bytes[134 + 102 * 16], 24);
  EXPECT_EQ(bytes[134 + 102 * 16 + 1 + 14], 0xE4);  // ä in Windows-1252
  EXPECT_EQ(bytes[134 + 102 * 220], 101);
  EXPECT_EQ(bytes[134 + 102 * 1], 0);
  EXPECT_EQ(bytes[134 + 102 * 1 + 101], 0);

  const TTableConfigRecord back = DecodeTableConfigRecord(bytes);
  EXPECT_EQ(back.Flags, record.Flags);
  EXPECT_EQ(back.ColumnTitles[16], record.ColumnTitles[16]);
  EXPECT_EQ(back.ColumnTitles[kLastTitle], std::string(101, 'x'));
  EXPECT_EQ(EncodeTableConfigRecord(back), bytes);  // byte-exact
}

TEST(TableConfigRecord, TitleLengthAboveTheRoomIsClamped) {
  TTableConfigBytes bytes{};
  bytes[134 + 102 * 5] = 255;
  for (int k = 1; k <= 101; ++k) bytes[134 + 102 * 5 + k] = 'y';
  bytes[134 + 102 * 6] = 3;  // the next slot's length byte must not be read as text
  const TTableConfigRecord record = DecodeTableConfigRecord(bytes);
  EXPECT_EQ(record.ColumnTitles[5], std::string(101, 'y'));
  EXPECT_EQ(record.ColumnTitles[6].size(), 3u);
}

TEST(ColumnFlagTable, DescribesEveryUsedByteWithValidSlots) {
  for (std::size_t k = 0; k < ColumnFlagTable.size(); ++k) {
    const TColumnFlagInfo& info = ColumnFlagTable[k];
    EXPECT_EQ(info.byte, k);
    EXPECT_LE(info.slotCount, info.formatSlots.size());
    for (std::size_t s = 0; s < info.slotCount; ++s) EXPECT_FALSE(FreeFormatSlot(info.formatSlots[s])) << k;
    EXPECT_NE(std::string(info.german), "") << k;
    EXPECT_NE(std::string(info.english), "") << k;
  }
  // The hourly-motion test reads exactly flags 20-23.
  TTableConfigRecord config;
  for (std::size_t flag = 0; flag < kColumnFlagCount; ++flag) {
    config.Flags.fill(0);
    config.Flags[flag] = 1;
    EXPECT_EQ(AnyOfFourColumns(config), flag >= 20 && flag <= 23 ? 1 : 0) << flag;
  }
}

}  // namespace
}  // namespace kvx
