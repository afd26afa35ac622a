#include "setup/table_config_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "core/little_endian.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/column_sets.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

class TableConfigFileTest : public ::testing::Test {
 protected:
  TableConfigFileTest() : guard_(sink) {
    saved.EquinoxYear = 1950.0;
    SetDefaultColumns(saved.Record.Flags);
    saved.Record.Flags[kColumnFlagCount - 1] = 9;  // reserved bytes survive the round trip
    saved.Record.ColumnTitles[16] = "Rektaszension";
    saved.Record.ColumnTitles[200] = "Konjunktion";
    saved.ApparentSiderealTime = 1;
    saved.RiseSetAsJulianDate = 0;

    current.EquinoxYear = 2000.0;
    ColumnPresetB(current.Record.Flags);
    current.Record.ColumnTitles[0] = "Datum";
  }

  // Loading must fail with one message naming the file and change nothing.
  void ExpectRefused(const std::string& path, const std::string& mustContain) {
    const TTableConfigFile before = current;
    sink.messages.clear();
    EXPECT_FALSE(LoadTableConfigFile(path, current));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find(mustContain), std::string::npos) << sink.messages[0].text;
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(current.Record, before.Record);
    EXPECT_EQ(current.EquinoxYear, before.EquinoxYear);
  }

  RecordingMessageSink sink;
  ScopedMessageSink guard_;
  test::TempFolder folder;
  TTableConfigFile saved;
  TTableConfigFile current;
};

TEST_F(TableConfigFileTest, SavedFileHasTheFixedLayoutAndLoadsBack) {
  const std::string path = folder.File("tafel.etd");
  ASSERT_TRUE(SaveTableConfigFile(path, saved));
  const std::string bytes = test::TempFolder::Read(path);
  ASSERT_EQ(bytes.size(), 22713u);
  EXPECT_EQ(bytes[0], 24);
  EXPECT_EQ(bytes.substr(1, 24), "bQuillox4.5000ConfigFile");
  EXPECT_EQ(bytes.substr(25, 2), std::string(2, '\0'));
  EXPECT_EQ(little_endian::GetF64(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 27), 1950.0);
  EXPECT_EQ(bytes[35 + 4], 1);                     // flag 4 of the record
  EXPECT_EQ(bytes[35 + 134 + 102 * 16], 13);       // title of slot 16
  EXPECT_EQ(bytes[22711], 1);
  EXPECT_EQ(bytes[22712], 0);

  ASSERT_TRUE(LoadTableConfigFile(path, current));
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(current.Record, saved.Record);
  EXPECT_EQ(current.EquinoxYear, 1950.0);
  EXPECT_EQ(current.ApparentSiderealTime, 1);
  EXPECT_EQ(EncodeTableConfigFile(current), bytes);  // byte-exact

  // Spare bytes of the magic are not compared.
  std::string spare = bytes;
  spare[25] = 'x';
  spare[26] = 'y';
  TTableConfigFile other;
  EXPECT_EQ(DecodeTableConfigFile(spare, other), TableConfigFileProblem::None);
  EXPECT_EQ(other.Record, saved.Record);
}

TEST_F(TableConfigFileTest, BadFilesChangeNothingAndSayWhy) {
  const std::string good = EncodeTableConfigFile(saved);

  std::string wrongMagic = good;
  wrongMagic[3] = 'X';
  const TTableConfigFile before = current;
  sink.messages.clear();
  EXPECT_FALSE(LoadTableConfigFile(folder.Write("magic.etd", wrongMagic), current));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Dies ist keine Kandrevoltinex 4.6 Tabellenkonfigurationsdatei!");
  EXPECT_EQ(sink.messages[0].caption, "Falsches Dateiformat");
  EXPECT_EQ(current.Record.Flags, before.Record.Flags);

  std::string wrongLength = good;
  wrongLength[0] = 23;
  ExpectRefused(folder.Write("length.etd", wrongLength), "Tabellenkonfigurationsdatei");

  ExpectRefused(folder.Write("short.etd", good.substr(0, 22712)), "short.etd");
  ExpectRefused(folder.Write("long.etd", good + "x"), "long.etd");
  ExpectRefused(folder.Write("tiny.etd", good.substr(0, 10)), "tiny.etd");
  ExpectRefused(folder.File("missing.etd"), "missing.etd");
  ExpectRefused(folder.Path().string(), folder.Path().string());  // a folder is no file

  for (double equinox : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -4000.5,
                         10000.5}) {
    std::string bad = good;
    little_endian::PutF64(reinterpret_cast<std::uint8_t*>(bad.data()) + 27, equinox);
    ExpectRefused(folder.Write("equinox.etd", bad), "equinox.etd");
  }
  // Contents out of range: a flag byte 2, a title length byte 102, a switch 2.
  for (std::size_t offset : {std::size_t{35 + 50}, std::size_t{35 + 134 + 102 * 7}, std::size_t{22712}}) {
    std::string bad = good;
    bad[offset] = offset == 35 + 134 + 102 * 7 ? 102 : 2;
    ExpectRefused(folder.Write("content.etd", bad), "content.etd");
  }
  std::string edge = good;
  little_endian::PutF64(reinterpret_cast<std::uint8_t*>(edge.data()) + 27, -4000.0);
  TTableConfigFile accepted;
  EXPECT_EQ(DecodeTableConfigFile(edge, accepted), TableConfigFileProblem::None);
  EXPECT_EQ(accepted.EquinoxYear, -4000.0);

  // English texts.
  LanguageEnglish = 1;
  sink.messages.clear();
  EXPECT_FALSE(LoadTableConfigFile(folder.Write("magic.etd", wrongMagic), current));
  LanguageEnglish = 0;
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "This is no Kandrevoltinex 4.6 Configuration file.");
}

TEST_F(TableConfigFileTest, FailedSaveKeepsTheOldFile) {
  const std::string path = folder.File("keep.etd");
  ASSERT_TRUE(SaveTableConfigFile(path, saved));
  const std::string before = test::TempFolder::Read(path);
  sink.messages.clear();
  EXPECT_FALSE(SaveTableConfigFile(folder.File("no/such/folder/x.etd"), current));
  EXPECT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(test::TempFolder::Read(path), before);
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    EXPECT_EQ(entry.path().filename(), "keep.etd");  // no temporary file left
  }
  // A title the file cannot hold (no Windows-1252 character) refuses the
  // save before anything is written.
  TTableConfigFile greek = saved;
  greek.Record.ColumnTitles[7] = "\u03b1 (2000)";
  sink.messages.clear();
  EXPECT_FALSE(SaveTableConfigFile(path, greek));
  EXPECT_EQ(test::TempFolder::Read(path), before);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].text.find("Spaltentitel 7 = \"\u03b1 (2000)\" passt nicht in das Format *.etd"),
            std::string::npos);
  // An equinox the reader refuses is not written either: the reader's
  // message, and the old file stays.
  LanguageEnglish = 0;
  for (double year : {-4000.5, 10000.5, std::numeric_limits<double>::quiet_NaN()}) {
    TTableConfigFile far = saved;
    far.EquinoxYear = year;
    sink.messages.clear();
    EXPECT_FALSE(SaveTableConfigFile(path, far)) << year;
    EXPECT_EQ(test::TempFolder::Read(path), before);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Das Äquinoktium in der Datei " + path + " liegt nicht zwischen -4000 und 10000.");
  }
  TTableConfigFile edge = saved;
  edge.EquinoxYear = -4000.0;
  EXPECT_TRUE(SaveTableConfigFile(path, edge));
  EXPECT_TRUE(LoadTableConfigFile(path, current));
  EXPECT_EQ(current.EquinoxYear, -4000.0);
}

}  // namespace
}  // namespace kvx
