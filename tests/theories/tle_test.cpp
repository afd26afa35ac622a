// The satellite table and the ".tle" loader: set tests, field conversion,
// files out of step, damaged and missing files, and the start-up fallback.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "theories/tle.h"

namespace kvx {
namespace {

// A valid set with the given catalogue number (checksums recomputed).
std::string WithChecksum(std::string line) {
  int sum = 0;
  for (std::size_t i = 0; i < 68; ++i) {
    if (line[i] >= '0' && line[i] <= '9') sum += line[i] - '0';
    if (line[i] == '-') sum += 1;
  }
  line.resize(68);
  return line + static_cast<char>('0' + sum % 10);
}

TTleEntry MakeSet(int number) {
  char l1[80], l2[80];
  std::snprintf(l1, sizeof l1, "1 %05dU 98067A   24079.50000000  .00016717  00000-0  29640-3 0  9990", number);
  std::snprintf(l2, sizeof l2, "2 %05d  51.6416 247.4627 0006703 130.5360 325.0288 15.49815328444440", number);
  return {WithChecksum(l1), WithChecksum(l2)};
}

class TleFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() /
            ("kvx_tle_" + std::to_string(getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".tle");
    LanguageEnglish = 0;
  }
  void TearDown() override { std::filesystem::remove(path_); }

  void Write(const std::string& content) {
    std::ofstream out(path_, std::ios::binary);
    out << content;
  }
  static std::string Sets(int first, int count, const std::string& eol = "\r\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
      TTleEntry e = MakeSet(first + i);
      text += "SAT " + std::to_string(first + i) + eol + e.line1 + eol + e.line2 + eol;
    }
    return text;
  }
  std::string Path() const { return path_.string(); }

  std::filesystem::path path_;
};

TEST(TleLine, ChecksumCountsDigitsAndMinusSigns) {
  TTleEntry e = MakeSet(12345);
  EXPECT_TRUE(TleLineChecksumOk(e.line1));
  std::string wrong = e.line1;
  wrong[68] = static_cast<char>('0' + (wrong[68] - '0' + 1) % 10);
  EXPECT_FALSE(TleLineChecksumOk(wrong));
  EXPECT_FALSE(TleLineChecksumOk(e.line1.substr(0, 68)));
  // A "-" counts one, a "+" nothing.
  std::string minus = e.line1;
  minus[53] = '-';  // blank before the B* mantissa
  EXPECT_FALSE(TleLineChecksumOk(minus));
  EXPECT_TRUE(TleLineChecksumOk(WithChecksum(minus)));
  std::string plus = e.line1;
  plus[53] = '+';
  EXPECT_TRUE(TleLineChecksumOk(plus));
}

TEST(TleLine, EveryConditionOfAValidSetIsTested) {
  TTleEntry good = MakeSet(25544);
  EXPECT_TRUE(TleEntryValid(good));
  auto broken = [&](int line, std::size_t column, char c) {
    TTleEntry e = good;
    std::string& text = line == 1 ? e.line1 : e.line2;
    text[column - 1] = c;
    text = WithChecksum(text);
    return TleEntryValid(e);
  };
  EXPECT_FALSE(broken(1, 1, '2'));
  EXPECT_FALSE(broken(2, 1, '1'));
  EXPECT_FALSE(broken(1, 7, '5'));  // catalogue numbers differ
  EXPECT_FALSE(broken(1, 24, '5'));
  EXPECT_FALSE(broken(1, 35, '5'));
  EXPECT_FALSE(broken(1, 63, '1'));
  for (std::size_t column : {12u, 21u, 38u, 47u, 55u}) EXPECT_FALSE(broken(2, column, '5')) << column;
  EXPECT_TRUE(broken(1, 10, 'X'));  // an ignored column
  EXPECT_FALSE(TleEntryValid(TTleEntry{}));
}

TEST(TleLine, FieldsConvertWithBlanksAsZerosAndFailuresAsZero) {
  std::string line = MakeSet(1).line1;
  line.replace(53, 8, "-11606-4");
  EXPECT_DOUBLE_EQ(TleFieldReal(line, 54, 6) * 1e-5, -0.11606);
  EXPECT_EQ(TleFieldInteger(line, 60, 2), -4);
  line.replace(53, 8, " 00000-0");
  EXPECT_DOUBLE_EQ(TleFieldReal(line, 54, 6), 0.0);
  EXPECT_EQ(TleFieldInteger(line, 60, 2), 0);
  line.replace(53, 8, " 12345+3");
  EXPECT_DOUBLE_EQ(TleFieldReal(line, 54, 6) * 1e-5, 0.12345);
  EXPECT_EQ(TleFieldInteger(line, 60, 2), 3);
  EXPECT_DOUBLE_EQ(TleFieldReal(MakeSet(1).line1, 19, 14), 24079.5);
  EXPECT_DOUBLE_EQ(TleFieldReal("x 1.5e3", 3, 5), 1500.0);  // an exponent is accepted
  EXPECT_DOUBLE_EQ(TleFieldReal("  12", 1, 10), 12.0);      // fewer characters at the line end
  EXPECT_DOUBLE_EQ(TleFieldReal("12", 5, 3), 0.0);          // beyond the line: empty
  EXPECT_DOUBLE_EQ(TleFieldReal("1,5", 1, 3), 0.0);         // no locale separator
  EXPECT_EQ(TleFieldInteger("ab", 1, 2), 0);
  std::string text = " a b ";
  BlanksToZeros(text);
  EXPECT_EQ(text, "0a0b0");
}

TEST_F(TleFile, DamagedSetLeavesNoGapAndNoMessage) {
  std::string text = Sets(1, 5);
  std::size_t third = text.find("SAT 3");
  std::size_t check = text.find("\r\n", text.find("\r\n", third) + 2) - 1;  // checksum of its line 1
  text[check] = static_cast<char>('0' + (text[check] - '0' + 1) % 10);
  Write(text);
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  ASSERT_EQ(LoadTleFile(Path(), true), 4);
  EXPECT_EQ(SatelliteNames[1], "SAT 1");
  EXPECT_EQ(SatelliteNames[2], "SAT 2");
  EXPECT_EQ(SatelliteNames[3], "SAT 4");
  EXPECT_EQ(SatelliteNames[4], "SAT 5");
  EXPECT_EQ(SatelliteTable[3].line1, MakeSet(4).line1);
  EXPECT_TRUE(SatelliteTable[5].line1.empty());
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(TleFile, AtMost500SetsAreLoaded) {
  Write(Sets(1, 503, "\n"));
  EXPECT_EQ(LoadTleFile(Path(), false), 500);
  EXPECT_EQ(SatelliteNames[500], "SAT 500");
  EXPECT_EQ(SatelliteTable[500].line2, MakeSet(500).line2);
}

TEST_F(TleFile, ShorterReloadClearsTheRestAndClampsTheCurrentSatellite) {
  Write(Sets(1, 10));
  ASSERT_EQ(LoadTleFile(Path(), false), 10);
  CurrentSatelliteNumber = 8;
  Write(Sets(101, 3));
  ASSERT_EQ(LoadTleFile(Path(), false), 3);
  EXPECT_EQ(SatelliteNames[3], "SAT 103");
  for (int slot = 4; slot <= 10; ++slot) {
    EXPECT_TRUE(SatelliteTable[slot].line1.empty()) << slot;
    EXPECT_TRUE(SatelliteNames[slot].empty()) << slot;
  }
  EXPECT_EQ(CurrentSatelliteNumber, 3);
  CurrentSatelliteNumber = 2;
  ASSERT_EQ(LoadTleFile(Path(), false), 3);
  EXPECT_EQ(CurrentSatelliteNumber, 2);
}

TEST_F(TleFile, EmptyAndMissingFilesAreReportedOnlyWhenAsked) {
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  Write("");
  EXPECT_EQ(LoadTleFile(Path(), false), 0);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(LoadTleFile(Path(), true), 0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "Keine gültige *.tle-Datei");
  EXPECT_EQ(sink.messages[0].text, "Das Dateiformat der *.tle-Datei ist vermutlich fehlerhaft");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);

  std::string missing = Path() + ".missing";
  EXPECT_EQ(LoadTleFile(missing, false), 0);
  EXPECT_EQ(sink.messages.size(), 1u);
  LanguageEnglish = 1;
  EXPECT_EQ(LoadTleFile(missing, true), 0);
  LanguageEnglish = 0;
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[1].caption, "No valid *.tle file");
  EXPECT_NE(sink.messages[1].text.find(missing), std::string::npos);
  EXPECT_NE(sink.messages[1].text.find("cannot be read"), std::string::npos);
  // A folder in place of the file cannot be read either.
  std::filesystem::path folder = path_.parent_path() / (path_.stem().string() + "_folder");
  std::filesystem::create_directories(folder);
  EXPECT_EQ(LoadTleFile(folder.string(), true), 0);
  std::filesystem::remove_all(folder);
  ASSERT_EQ(sink.messages.size(), 3u);
  EXPECT_EQ(sink.messages[2].text, "Die Datei \"" + folder.string() + "\" kann nicht gelesen werden.");
}

TEST_F(TleFile, TwoLineFilesWithoutNamesAreReadOutOfStep) {
  std::string text;
  for (int i = 1; i <= 6; ++i) text += MakeSet(i).line1 + "\r\n" + MakeSet(i).line2 + "\r\n";
  Write(text);
  ASSERT_EQ(LoadTleFile(Path(), false), 2);
  EXPECT_EQ(SatelliteTable[1].line1, MakeSet(3).line1);
  EXPECT_EQ(SatelliteNames[1], MakeSet(2).line2.substr(0, 50));
  EXPECT_EQ(SatelliteTable[2].line2, MakeSet(6).line2);
  EXPECT_EQ(SatelliteNames[2], MakeSet(5).line2.substr(0, 50));
}

TEST_F(TleFile, LongLinesAreCutAndNamesAreConvertedToUtf8) {
  TTleEntry e = MakeSet(7);
  // Windows-1252 name (M\xFCnchen, 0x80 the euro sign) longer than 50 characters,
  // element lines with trailing columns, old Mac line ends.
  std::string name = "M\xFCnchen \x80 " + std::string(60, 'x');
  Write(name + "\r" + e.line1 + "   0.0  1440.0\r" + e.line2 + "  extra\r");
  ASSERT_EQ(LoadTleFile(Path(), false), 1);
  EXPECT_EQ(SatelliteTable[1].line1, e.line1);
  EXPECT_EQ(SatelliteTable[1].line2, e.line2);
  EXPECT_EQ(SatelliteNames[1], "M\u00fcnchen \u20ac " + std::string(40, 'x'));

  // A UTF-8 file with a byte-order mark keeps its name as it is.
  Write("\xEF\xBB\xBFK\xC3\xB6ln\n" + e.line1 + "\n" + e.line2 + "\n");
  ASSERT_EQ(LoadTleFile(Path(), false), 1);
  EXPECT_EQ(SatelliteNames[1], "K\u00f6ln");
}

TEST_F(TleFile, StartUpFallsBackOnTheBuiltInSet) {
  std::filesystem::path folder = path_.parent_path() / (path_.stem().string() + "_data");
  std::filesystem::create_directories(folder);
  TSatelliteFileState state;
  CurrentSatelliteNumber = 7;
  LoadSatelliteFileAtStartup(state, folder.string(), true);
  EXPECT_EQ(state.count, 1);
  EXPECT_EQ(state.fileName, folder.string() + "/*.tle");
  EXPECT_EQ(SatelliteNames[1], "Mir");
  EXPECT_TRUE(TleEntryValid(SatelliteTable[1]));
  EXPECT_EQ(CurrentSatelliteNumber, 1);

  {
    std::ofstream out(folder / "Satelite.tle", std::ios::binary);
    out << Sets(1, 4);
  }
  CurrentSatelliteNumber = 3;
  LoadSatelliteFileAtStartup(state, folder.string(), false);
  EXPECT_EQ(state.count, 4);
  EXPECT_EQ(state.fileName, folder.string() + "/Satelite.tle");
  EXPECT_EQ(SatelliteNames[1], "SAT 1");
  EXPECT_EQ(CurrentSatelliteNumber, 3);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kvx
