#include "core/asteroid_database.h"

#include <gtest/gtest.h>

#include "platform/globals.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string s;
  for (unsigned v : values) s += static_cast<char>(v);
  return s;
}

// The header and first record of the hand-checked file below. Integers:
// 10 = 0A, 2000 = 07D0, 1520 = 05F0, 15 = 0F, 24510005 = 0175FE35; 320.25
// as a float is 43A02000; the name in Windows-1252 with F6 for the umlaut.
const std::string kHeaderBytes = Bytes({
    0x00, 0x00, 0x00, 0x40, 0x1C, 0xB3, 0x42, 0x41,  // first 2451000.5
    0x00, 0x00, 0x00, 0x40, 0x0B, 0xB5, 0x42, 0x41,  // last 2451990.5
    0x0A, 0x00, 0x00, 0x00,                          // step 10
    0xD0, 0x07, 0x00, 0x00,                          // equinox 2000
    0xF0, 0x05, 0x00, 0x00,                          // H 15.20
    0x0F, 0x00, 0x00, 0x00,                          // G 0.15
    0x09, 0x47, 0xF6, 0x74, 0x74, 0x69, 0x6E, 0x67, 0x65, 0x6E,  // "Göttingen"
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
const std::string kRecordBytes = Bytes({
    0x50, 0xFC, 0x30, 0x40,  // a 2.7654
    0x2E, 0xFF, 0xA1, 0x3D,  // e 0.0791
    0x20, 0x63, 0x29, 0x41,  // i 10.5867
    0x08, 0x3D, 0x5B, 0x3E,  // n 0.2141
    0x92, 0x9C, 0xA0, 0x42,  // node 80.3058
    0xD1, 0x31, 0x93, 0x42,  // perihelion 73.5973
    0x00, 0x20, 0xA0, 0x43,  // M 320.25
    0x35, 0xFE, 0x75, 0x01,  // epoch 2451000.5 x 10
});

TEelHeader SampleHeader() {
  TEelHeader h;
  h.First = 2451000.5;
  h.Last = 2451990.5;
  h.Step = 10;
  h.Equinox = 2000;
  h.H100 = 1520;
  h.G100 = 15;
  h.Name = "Göttingen";
  return h;
}

TEelRecord SampleRecord(int k) {
  TEelRecord r;
  r.SemiMajorAxis = 2.7654f;
  r.Eccentricity = 0.0791f;
  r.Inclination = 10.5867f;
  r.MeanMotion = 0.2141f;
  r.Node = 80.3058f;
  r.Perihelion = 73.5973f;
  r.MeanAnomaly = 320.25f + static_cast<float>(k);
  r.Epoch10 = 24510005 + 100 * k;
  return r;
}

class AsteroidDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    IntlSeparators = TIntlSeparators{};
    LanguageEnglish = 0;
  }
  void TearDown() override { IntlSeparators = TIntlSeparators{}; }
  RecordingMessageSink sink;
  ScopedMessageSink guard{sink};
};

TEST_F(AsteroidDatabase, FilesAreWrittenByteExactAndReadBack) {
  test::TempFolder folder;
  std::vector<TEelRecord> records;
  for (int k = 0; k < 100; ++k) records.push_back(SampleRecord(k));
  const std::string path = folder.File("goettingen.eel");
  ASSERT_TRUE(WriteEelFile(path, SampleHeader(), records));

  const std::string bytes = test::TempFolder::Read(path);
  ASSERT_EQ(bytes.size(), 56u + 32u * 100u);
  EXPECT_EQ(bytes.substr(0, 56), kHeaderBytes);
  EXPECT_EQ(bytes.substr(56, 32), kRecordBytes);
  EXPECT_EQ(bytes.substr(56 + 32 * 99 + 28, 4), Bytes({0xE1, 0x24, 0x76, 0x01}));  // 24519905 = 017624E1

  TEelHeader header;
  std::vector<TEelRecord> read;
  ASSERT_TRUE(ReadEelFile(path, header, read));
  EXPECT_EQ(header.Name, "Göttingen");
  EXPECT_EQ(header.First, 2451000.5);
  EXPECT_EQ(header.G100, 15);
  ASSERT_EQ(read.size(), 100u);
  EXPECT_EQ(read[99].MeanAnomaly, 320.25f + 99.0f);
  EXPECT_EQ(read[99].Epoch10, 24519905);

  TAsteroidElements e;
  ASSERT_TRUE(ReadEelElementsNearest(path, 2451006.0, e));
  EXPECT_DOUBLE_EQ(e.Epoch, 2451010.5);
  EXPECT_FLOAT_EQ(static_cast<float>(e.MeanAnomaly), 321.25f);
  EXPECT_DOUBLE_EQ(e.H, 15.2);
  EXPECT_DOUBLE_EQ(e.G, 0.15);
  EXPECT_EQ(e.Equinox, 2000);
  EXPECT_EQ(e.Name, "Göttingen");
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(AsteroidDatabase, LongNamesAreCutAndReservedBytesStayZero) {
  TEelHeader h = SampleHeader();
  h.Name = "Ein sehr langer Planetoidenname";
  auto bytes = EncodeEelHeader(h);
  EXPECT_EQ(bytes[32], 20);
  EXPECT_EQ(bytes[53], 0);
  EXPECT_EQ(bytes[55], 0);
  EXPECT_EQ(DecodeEelHeader(bytes).Name, "Ein sehr langer Plan");
  bytes[32] = 200;  // a damaged length byte reads no further than the name
  EXPECT_EQ(DecodeEelHeader(bytes).Name.size(), 20u);
}

TEST_F(AsteroidDatabase, NearestRecordIsClampedToTheFile) {
  const std::int32_t size = 56 + 32 * 100;
  EXPECT_EQ(EelRecordIndex(size, 2451004, 10, 2451000.5), 0);
  EXPECT_EQ(EelRecordIndex(size, 2451006, 10, 2451000.5), 1);
  EXPECT_EQ(EelRecordIndex(size, 2450000, 10, 2451000.5), 0);
  EXPECT_EQ(EelRecordIndex(size, 2460000, 10, 2451000.5), 99);
  EXPECT_EQ(EelRecordIndex(size, 1e300, 10, 2451000.5), 99);
  EXPECT_EQ(EelRecordIndex(56 + 32, 2460000, 10, 2451000.5), 0);
  // No record, or no usable step: no index.
  EXPECT_EQ(EelRecordIndex(56, 2451004, 10, 2451000.5), -1);
  EXPECT_EQ(EelRecordIndex(size, 2451004, 0, 2451000.5), -1);
  EXPECT_EQ(EelRecordIndex(size, 2451004, 0.5, 2451000.5), -1);
}

TEST_F(AsteroidDatabase, FilesWithoutRecordsAreRefusedWithAMessage) {
  test::TempFolder folder;
  const std::string headerOnly = folder.Write("leer.eel", kHeaderBytes);
  TEelHeader header;
  std::vector<TEelRecord> records;
  TAsteroidElements e;
  EXPECT_FALSE(ReadEelFile(headerOnly, header, records));
  EXPECT_FALSE(ReadEelElementsNearest(headerOnly, 2451000.5, e));
  EXPECT_FALSE(ReadEelElementsNearest(folder.File("fehlt.eel"), 2451000.5, e));
  EXPECT_FALSE(WriteEelFile(folder.File("neu.eel"), SampleHeader(), {}));
  EXPECT_FALSE(std::filesystem::exists(folder.File("neu.eel")));
  ASSERT_EQ(sink.messages.size(), 4u);
  EXPECT_EQ(sink.messages[0].text, "Die Datei " + headerOnly + " enthält keine Bahnelemente.");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
  EXPECT_NE(sink.messages[2].text.find("kann nicht gelesen werden"), std::string::npos);

  // A trailing partial record is ignored.
  const std::string partial = folder.Write("teil.eel", kHeaderBytes + kRecordBytes + "\x01\x02");
  EXPECT_TRUE(ReadEelFile(partial, header, records));
  EXPECT_EQ(records.size(), 1u);
}

TEST_F(AsteroidDatabase, SourceLinesReadCommaAndPointAlikeAndDefaultGToFifteen) {
  TEelRecord r;
  TEelHeader h;
  std::string error;
  for (char decimal : {',', '.'}) {
    IntlSeparators.Decimal = decimal;
    ASSERT_TRUE(ParseAsteroidDbLine("Ceres;2,7654;0.0791;10,5867;80,3;73,6;320,25;0,2141;2000;2451000,5;3,34",
                                    r, h, &error))
        << error;
    EXPECT_EQ(h.G100, 15) << decimal;
    EXPECT_EQ(h.H100, 334);
    EXPECT_EQ(h.Equinox, 2000);
    EXPECT_EQ(r.Epoch10, 24510005);
    EXPECT_FLOAT_EQ(r.SemiMajorAxis, 2.7654f);
    EXPECT_FLOAT_EQ(r.Eccentricity, 0.0791f);
    EXPECT_FLOAT_EQ(r.MeanMotion, 0.2141f);
    EXPECT_EQ(h.Name, "Ceres");
  }
  // Values typed with few decimals keep their digits when scaled.
  ASSERT_TRUE(ParseAsteroidDbLine("X;1;0;0;0;0;0;1;1950;2451000.3;15.2;0.29", r, h));
  EXPECT_EQ(h.G100, 29);
  EXPECT_EQ(h.H100, 1520);
  EXPECT_EQ(r.Epoch10, 24510003);
  ASSERT_TRUE(ParseAsteroidDbLine("X;1;0;0;0;0;0;1;1950;2451000.5;15.2;", r, h));
  EXPECT_EQ(h.G100, 15);
  ASSERT_TRUE(ParseAsteroidDbLine("Ein Name mit mehr als zwanzig Zeichen;1;0;0;0;0;0;1;2000;2451000.5;9;0.1", r, h));
  EXPECT_EQ(h.Name, "Ein Name mit mehr al");

  // Not data, and bad data.
  error.clear();
  EXPECT_FALSE(ParseAsteroidDbLine("", r, h, &error));
  EXPECT_FALSE(ParseAsteroidDbLine(":BAHNELEMENTE", r, h, &error));
  EXPECT_TRUE(error.empty());
  EXPECT_FALSE(ParseAsteroidDbLine("Ceres;2,7654;0,0791", r, h, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ParseAsteroidDbLine("Ceres;2,7;0,07;10;80;73;320;0,2;2000;heute;3,34", r, h, &error));
  EXPECT_NE(error.find("9"), std::string::npos);
  EXPECT_FALSE(ParseAsteroidDbLine("Ceres;2,7;0,07;10;80;73;320;0,2;2000;1e12;3,34", r, h));
}

std::vector<std::string> SourceLines(int count, double first, int step) {
  std::vector<std::string> lines = {"Name;a;e;i;Knoten;Perihel;M;n;Aequinoktium;Epoche;H;G"};
  for (int k = 0; k < count; ++k) {
    lines.push_back("Vesta;2,36;0,09;7,1;103,8;151,2;" + std::to_string(k) + ";0,27;2000;" +
                    std::to_string(first + step * k) + ";3,2;0,32");
  }
  return lines;
}

TEST_F(AsteroidDatabase, RequestedPeriodMovesOntoTheFileGridWithoutShrinking) {
  auto lines = SourceLines(100, 2451000.5, 10);  // 2451000.5 .. 2451990.5
  lines.insert(lines.begin() + 5, ":Kommentar");
  lines.push_back("");
  TEelHeader h;
  double jd1 = 2451037, jd2 = 2451955;
  ASSERT_TRUE(ReadAsteroidDbHeader(0, lines, h, jd1, jd2));
  EXPECT_DOUBLE_EQ(jd1, 2451030.5);
  EXPECT_DOUBLE_EQ(jd2, 2451960.5);
  EXPECT_DOUBLE_EQ(h.First, 2451030.5);
  EXPECT_DOUBLE_EQ(h.Last, 2451960.5);
  EXPECT_EQ(h.Step, 10);
  EXPECT_EQ(h.Name, "Vesta");
  EXPECT_EQ(h.H100, 320);
  EXPECT_EQ(h.G100, 32);

  // A request wider than the file, or the whole file, keeps the file's ends.
  jd1 = 2450000;
  jd2 = 2460000;
  ASSERT_TRUE(ReadAsteroidDbHeader(0, lines, h, jd1, jd2));
  EXPECT_DOUBLE_EQ(h.First, 2451000.5);
  EXPECT_DOUBLE_EQ(h.Last, 2451990.5);
  jd1 = 2451037;
  ASSERT_TRUE(ReadAsteroidDbHeader(1, lines, h, jd1, jd2));
  EXPECT_DOUBLE_EQ(jd1, 2451037);
  EXPECT_DOUBLE_EQ(h.First, 2451000.5);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(AsteroidDatabase, SourcesWithoutTwoUsableLinesAreRefusedWithAMessage) {
  TEelHeader h;
  double jd1 = 0, jd2 = 0;
  EXPECT_FALSE(ReadAsteroidDbHeader(1, SourceLines(1, 2451000.5, 10), h, jd1, jd2));
  EXPECT_FALSE(ReadAsteroidDbHeader(1, {}, h, jd1, jd2));
  // Two data lines for the same epoch: no step.
  EXPECT_FALSE(ReadAsteroidDbHeader(1, SourceLines(2, 2451000.5, 0), h, jd1, jd2));
  auto broken = SourceLines(3, 2451000.5, 10);
  broken[2] = "Vesta;kaputt";
  EXPECT_FALSE(ReadAsteroidDbHeader(1, broken, h, jd1, jd2));
  ASSERT_EQ(sink.messages.size(), 4u);
  EXPECT_EQ(sink.messages[0].text, "Die Quelldatei enthält weniger als zwei Zeilen mit Bahnelementen.");
  EXPECT_EQ(sink.messages[3].text, "Zeile 3 der Quelldatei ist fehlerhaft:\nVesta;kaputt");
  LanguageEnglish = 1;
  EXPECT_FALSE(ReadAsteroidDbHeader(1, SourceLines(1, 2451000.5, 10), h, jd1, jd2));
  EXPECT_EQ(sink.messages[4].text, "The source file holds fewer than two lines of orbital elements.");
  LanguageEnglish = 0;
}

TEST_F(AsteroidDatabase, DatabaseFilesAreFoundInSubfolders) {
  test::TempFolder folder;
  folder.Write("a.eel", kHeaderBytes);
  folder.Write("unter/B.EEL", kHeaderBytes);
  folder.Write("unter/c.txt", "x");
  folder.Write("d.eel.bak", "x");
  std::vector<std::string> files = {"alt"};
  int calls = 0;
  bool enabled = false;
  FindElementListFiles(files, folder.Path().string(), [&](bool on) { enabled = on, ++calls; });
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0], folder.File("a.eel"));
  EXPECT_EQ(files[1], folder.File("unter/B.EEL"));
  EXPECT_TRUE(enabled);
  FindElementListFiles(files, (folder.Path() / "unter" / "leer").string(), [&](bool on) { enabled = on, ++calls; });
  EXPECT_TRUE(files.empty());
  EXPECT_FALSE(enabled);
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace kvx
