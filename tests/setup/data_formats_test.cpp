#include "setup/data_formats.h"

#include <gtest/gtest.h>

#include "core/name_tables.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

class DataFormatsTest : public ::testing::Test {
 protected:
  DataFormatsTest() : guard_(sink) { InitAstroNameTables(); }
  ~DataFormatsTest() override { InitAstroNameTables(); }
  RecordingMessageSink sink;
  ScopedMessageSink guard_;
  test::TempFolder folder;
};

TEST_F(DataFormatsTest, SlotTableIsCompleteAndTheStartUpDefaultsComeFromIt) {
  ASSERT_EQ(DataFormatSlots.size(), 221u);
  int byFormat[4] = {};
  for (int slot = 0; slot < kFormatSlotCount; ++slot) {
    const TDataFormatSlot& s = DataFormatSlots[static_cast<std::size_t>(slot)];
    ASSERT_LE(s.defaultFormat, 3);
    ++byFormat[s.defaultFormat];
    EXPECT_LE(s.valueType, 9) << slot;
    EXPECT_LE(s.group, 13) << slot;
    EXPECT_LE(s.category, 11) << slot;
    EXPECT_LE(s.defaultDecimals, s.maxDecimals) << slot;
    EXPECT_TRUE(IsValidKind(slot, s.defaultFormat)) << slot;
    EXPECT_EQ(DefaultColumnDescriptions[static_cast<std::size_t>(slot)], s.german);
  }
  EXPECT_EQ(byFormat[0], 167);
  EXPECT_EQ(byFormat[1], 47);
  EXPECT_EQ(byFormat[3], 7);
  EXPECT_EQ(CurrentDataFormats(), DefaultDataFormats());
  EXPECT_EQ(std::string(DataFormatSlots[194].german), "\"Lichtbogen\"");
  EXPECT_EQ(std::string(DataFormatSlots[kUsedFormatSlotCount].english), "Neu/New");
}

TEST_F(DataFormatsTest, GroupChangesStayWithinEachSlotsChoices) {
  // Times of day get even decimals from 2 up to their own largest.
  EXPECT_GT(ApplyGroupDecimals(9, 5), 0);
  EXPECT_EQ(DataFormatDecimals[30], 4);   // largest 4
  EXPECT_EQ(DataFormatDecimals[190], 4);  // largest 5, even
  EXPECT_EQ(DataFormatDecimals[179], 4);  // minutes: largest 4
  ApplyGroupDecimals(9, 0);
  EXPECT_EQ(DataFormatDecimals[30], 2);
  ApplyGroupDecimals(4, 8);
  EXPECT_EQ(DataFormatDecimals[9], 8);
  EXPECT_EQ(DataFormatDecimals[10], 6);  // largest 6
  // Group 5 holds a plain number (slot 180) that has no "Layout": it keeps its format.
  EXPECT_GT(ApplyGroupFormat(5, 1), 0);
  EXPECT_EQ(DataFormatKind[33], 1);
  EXPECT_EQ(DataFormatKind[180], 0);
  EXPECT_EQ(ApplyGroupFormat(4, 1), 0);  // no choices in group 4
  EXPECT_EQ(ApplyGroupFormat(0, 2), 5);
  EXPECT_EQ(DataFormatKind[16], 2);
  // Whatever the groups did, the result saves and loads again.
  TDataFormats back;
  int badSlot = 0;
  EXPECT_EQ(DecodeDataFormatsFile(EncodeDataFormatsFile(CurrentDataFormats()), back, badSlot),
            DataFormatsFileProblem::None);
  EXPECT_EQ(back, CurrentDataFormats());
}

TEST_F(DataFormatsTest, FileHasTheFixedLayoutAndLoadsBack) {
  DataFormatDecimals[17] = 2;
  DataFormatKind[16] = 1;
  const std::string path = folder.File("formate.epf");
  ASSERT_TRUE(SaveDataFormatsFile(path));
  const std::string bytes = test::TempFolder::Read(path);
  ASSERT_EQ(bytes.size(), 483u);
  EXPECT_EQ(bytes[0], 36);
  EXPECT_EQ(bytes.substr(1, 36), ":Quillox4.5000ConfigFiledatenformate");
  EXPECT_EQ(bytes.substr(37, 4), std::string(4, '\0'));
  EXPECT_EQ(bytes[41 + 17], 2);
  EXPECT_EQ(bytes[262 + 16], 1);
  EXPECT_EQ(bytes[262 + 0], 1);  // the date's default "dd.mm.yyyy"

  InitAstroNameTables();
  ASSERT_TRUE(LoadDataFormatsFile(path));
  EXPECT_EQ(DataFormatDecimals[17], 2);
  EXPECT_EQ(DataFormatKind[16], 1);
  EXPECT_EQ(EncodeDataFormatsFile(CurrentDataFormats()), bytes);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(DataFormatsTest, BadFilesLeaveTheTablesAlone) {
  const std::string good = EncodeDataFormatsFile(DefaultDataFormats());
  DataFormatDecimals[17] = 3;  // the state that must survive
  const TDataFormats before = CurrentDataFormats();
  auto refused = [&](const std::string& name, const std::string& bytes, const std::string& text) {
    sink.messages.clear();
    EXPECT_FALSE(LoadDataFormatsFile(bytes.empty() ? folder.File(name) : folder.Write(name, bytes))) << name;
    ASSERT_EQ(sink.messages.size(), 1u) << name;
    EXPECT_NE(sink.messages[0].text.find(text), std::string::npos) << sink.messages[0].text;
    EXPECT_EQ(CurrentDataFormats(), before) << name;
  };
  std::string header = good;
  header[5] = 'q';
  refused("header.epf", header, "Dies ist keine Kandrevoltinex 4.6 Datei mit Datenformaten.");
  refused("short.epf", good.substr(0, 482), "short.epf");
  refused("long.epf", good + '\0', "long.epf");
  refused("missing.epf", "", "missing.epf");
  std::string kind = good;
  kind[262 + 3] = 1;  // Julian day (plain number) has no second format
  refused("kind.epf", kind, "kind.epf");
  std::string hours = good;
  hours[262 + 17] = 3;  // declination: only two choices
  refused("hours.epf", hours, "hours.epf");
  std::string decimals = good;
  decimals[41 + 10] = 7;  // largest 6
  refused("decimals.epf", decimals, "decimals.epf");
  decimals[41 + 10] = 200;
  refused("decimals.epf", decimals, "decimals.epf");
  // The four spare bytes of the header do not matter.
  std::string spare = good;
  spare[40] = 'z';
  EXPECT_TRUE(LoadDataFormatsFile(folder.Write("spare.epf", spare)));
}

}  // namespace
}  // namespace kvx
