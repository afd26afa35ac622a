// The start-values file: golden text of the default set-up, byte-exact
// round trip, the shipped file, the refusals (set-up left bit-identical),
// the line splitting rules, and the written numbers against the values
// read back by make_start_values_fixture.py (Python csv and decimal).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/nbody_setup.h"
#include "orbitdet/start_values_file.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

TIntegrationSetupBytes Bytes(const TIntegrationSetup& s) { return EncodeIntegrationSetup(s); }

class StartValuesFileTest : public ::testing::Test {
 protected:
  RecordingMessageSink sink_;
  ScopedMessageSink scoped_{sink_};
  test::TempFolder folder_;
};

TEST_F(StartValuesFileTest, DefaultSetUpTextRoundTripAndShippedFile) {
  const TIntegrationSetup defaults = DefaultIntegrationSetup();
  const std::string text = StartValuesFileText(defaults);
  const std::vector<std::string> lines = SplitTextLines(text);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], kStartValuesHeader);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 11);
  // Checked by hand: the Sun at rest at the origin, 1/m 1, the equinox and
  // epoch repeated on every line, no trailing ";".
  EXPECT_EQ(lines[1],
            "Sonne;0.00000000000000000;0.00000000000000000;0.00000000000000000;0.00000000000000000;"
            "0.00000000000000000;0.00000000000000000;1.00000000;2451545.00000;2450600.50000");
  EXPECT_TRUE(lines[10].starts_with("Pluto;")) << lines[10];
  EXPECT_TRUE(lines[10].ends_with(";2451545.00000;2450600.50000")) << lines[10];

  // Write, read, write: identical bytes.
  const std::string path = folder_.File("start.csv");
  ASSERT_TRUE(WriteStartValuesFile(path, defaults));
  EXPECT_TRUE(IsStartValuesFile(path));
  TIntegrationSetup read = DefaultIntegrationSetup();
  ClearStartValues(read);
  read.N = 3;
  ASSERT_TRUE(ReadStartValuesFile(path, read));
  EXPECT_EQ(read.N, 10);
  EXPECT_EQ(StartValuesFileText(read), text);

  // The shipped file is the constructor's defaults, so start-up gives the
  // same set-up with or without it (KVX_REGENERATE=1 writes it anew).
  const std::string shippedPath = std::string(KVX_DATA_DIR) + "/14Körper1997.csv";
  if (std::getenv("KVX_REGENERATE") != nullptr) {
    ASSERT_TRUE(WriteStartValuesFile(shippedPath, defaults));
  }
  std::string shipped, error;
  ASSERT_TRUE(ReadFileBytes(shippedPath, shipped, error)) << error;
  EXPECT_EQ(shipped, text);
  EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(StartValuesFileTest, LineRulesAndEdgeCases) {
  trukudaten body;
  std::string field;
  EXPECT_EQ(ParseStartValuesLine("", body, field), TStartValuesLineStatus::Skipped);
  EXPECT_EQ(ParseStartValuesLine(":comment", body, field), TStartValuesLineStatus::Skipped);
  // "," decimals, blanks, a trailing ";", an empty name.
  ASSERT_EQ(ParseStartValuesLine(";1,5; -2 ;3e-1;0;0;0.25;0;2451545,0;2450000.5;", body, field),
            TStartValuesLineStatus::Body);
  EXPECT_EQ(body.Name, "");
  EXPECT_EQ(body.State[0], 1.5L);
  EXPECT_EQ(body.State[1], -2.0L);
  EXPECT_EQ(body.State[5], 0.25L);
  EXPECT_EQ(body.JD, 2450000.5L);
  struct Bad {
    const char* line;
    const char* field;
  };
  for (const Bad& bad : {Bad{"A;1;2;3;4;5;6;7;8", "jd"}, Bad{"A;x;2;3;4;5;6;7;8;9", "x"},
                         Bad{"A;1;2;nan;4;5;6;7;8;9", "z"}, Bad{"A;1;2;3;4;5;inf;7;8;9", "z1"},
                         Bad{"A;1;2;3;4;5;6;-7;8;9", "1/m"}, Bad{"A;1;2;3;4;5;6;7;1e5000;9", "jdequinox"},
                         Bad{"A;1;2;3;4;5;6;7;8;", "jd"}}) {
    EXPECT_EQ(ParseStartValuesLine(bad.line, body, field), TStartValuesLineStatus::Refused) << bad.line;
    EXPECT_EQ(field, bad.field) << bad.line;
  }

  // 20 body lines give 14; a massless body is written "0.00000000"; one
  // body line leaves epoch and equinox 0; a name with ";" is written with a
  // blank; a name outside Windows-1252 makes the file UTF-8.
  std::string twenty = std::string("\xEF\xBB\xBF") + kStartValuesHeader + "\n";
  for (int i = 1; i <= 20; ++i)
    twenty += "K\xF6rper" + std::to_string(i) + ";" + std::to_string(i) + ";0;0;0;0;0;0;2451545;2450600.5\n";
  const std::string path = folder_.File("twenty.csv");
  ASSERT_TRUE(WriteFileReplacing(path, twenty));
  EXPECT_TRUE(IsStartValuesFile(path));
  TIntegrationSetup s = DefaultIntegrationSetup();
  ASSERT_TRUE(ReadStartValuesFile(path, s));
  EXPECT_EQ(s.N, 14);
  EXPECT_EQ(s.Names[13], "Körper14");
  EXPECT_EQ(s.Masses[0], 0.0L);
  EXPECT_EQ(s.StartJD, 2450600.5L);
  s.N = 2;
  s.Names[1] = "a;b ≠";
  const std::vector<std::string> written = SplitTextLines(StartValuesFileText(s));
  EXPECT_TRUE(written[1].find(";0.00000000;2451545.00000;2450600.50000") != std::string::npos) << written[1];
  EXPECT_TRUE(written[2].starts_with("a b ≠;")) << written[2];

  // Values beyond the 17 decimals (1e99, far more than the old 96-byte
  // buffer held; 1e-20, below them) come back exactly.
  const std::string big = folder_.File("big.csv");
  ASSERT_TRUE(WriteFileReplacing(
      big, test::TempFolder::Read(std::string(KVX_FIXTURE_DIR) + "/bad_inputs/start_values_1e99.csv")));
  ASSERT_TRUE(ReadStartValuesFile(big, s));
  EXPECT_EQ(s.StartValues[1][0], 1e99L);
  s.StartValues[1][2] = 1e-20L;
  s.Masses[1] = 1e12L;  // 1/m = 1e-12, below 8 decimals
  ASSERT_TRUE(WriteStartValuesFile(big, s));
  TIntegrationSetup back = DefaultIntegrationSetup();
  ASSERT_TRUE(ReadStartValuesFile(big, back));
  EXPECT_EQ(back.StartValues[1][0], 1e99L);
  EXPECT_EQ(back.StartValues[1][1], 0.5L);
  EXPECT_EQ(back.StartValues[1][2], 1e-20L);
  EXPECT_NEAR(static_cast<double>(back.Masses[1]), 1e12, 1e-3);

  ASSERT_TRUE(WriteFileReplacing(path, std::string(kStartValuesHeader) + "\r\nSonne;0;0;0;0;0;0;1;2451545;2450600.5\r\n"));
  ASSERT_TRUE(ReadStartValuesFile(path, s));
  EXPECT_EQ(s.N, 1);
  EXPECT_EQ(s.StartJD, 0.0L);
  EXPECT_EQ(s.EquinoxJD, 0.0L);
  EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(StartValuesFileTest, RefusalsLeaveTheSetUpUntouched) {
  const TIntegrationSetup before = DefaultIntegrationSetup();
  const std::string header = std::string(kStartValuesHeader) + "\n";
  struct Case {
    std::string content;
    const char* german;
  };
  const std::string body = "Sonne;0;0;0;0;0;0;1;2451545;2450600.5\n";
  for (const Case& c :
       {Case{header, "Datei bad.csv enthält keine Körper."},
        Case{header + ":only comments\n\n", "Datei bad.csv enthält keine Körper."},
        Case{header + body + "Merkur;0,3;zwei;0;0;0;0;6000000;2451545;2450600.5\n",
             "Datei bad.csv, Zeile 3: Feld \"y\" ist keine gültige Zahl."},
        Case{header + body + "Venus;1;2;3\n", "Datei bad.csv, Zeile 3: Feld \"x1\" ist keine gültige Zahl."},
        Case{header + std::string(kMaxStartValuesFileBytes, ' '), "Datei bad.csv ist zu groß (1048614 Bytes)."}}) {
    const std::string path = folder_.File("bad.csv");
    ASSERT_TRUE(WriteFileReplacing(path, c.content));
    TIntegrationSetup s = before;
    sink_.messages.clear();
    EXPECT_FALSE(ReadStartValuesFile(path, s));
    EXPECT_EQ(Bytes(s), Bytes(before));
    ASSERT_EQ(sink_.messages.size(), 1u);
    EXPECT_EQ(sink_.messages[0].text, c.german);
  }
  TIntegrationSetup s = before;
  sink_.messages.clear();
  EXPECT_FALSE(ReadStartValuesFile(folder_.File("missing.csv"), s));
  EXPECT_FALSE(IsStartValuesFile(folder_.File("missing.csv")));
  EXPECT_EQ(Bytes(s), Bytes(before));
  EXPECT_EQ(sink_.messages.size(), 1u);

  // A file that cannot be created: false and a message naming it.
  sink_.messages.clear();
  const std::string blocked = folder_.File("no-such-folder/out.csv");
  EXPECT_FALSE(WriteStartValuesFile(blocked, before));
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_NE(sink_.messages[0].text.find(blocked), std::string::npos);
}

// A body named ":Merkur" is a body, not a comment: three bodies saved, three
// read, and saved again alike. A set-up the reader would refuse (a negative
// mass, as a result sheet may give) makes no file, with a message naming
// the body.
TEST_F(StartValuesFileTest, BodiesLedByColonSurviveAndUnreadableSetUpsAreNotWritten) {
  TIntegrationSetup s = DefaultIntegrationSetup();
  ASSERT_TRUE(ReadStartValuesFile(std::string(KVX_FIXTURE_DIR) + "/bad_inputs/start_values_body_name_colon.csv", s));
  ASSERT_EQ(s.N, 3);
  EXPECT_EQ(s.Names[1], ":Merkur");
  EXPECT_EQ(s.StartValues[1][0], 0.3248448L);
  EXPECT_EQ(s.StartJD, 2450600.5L);
  const std::string path = folder_.File("colon.csv");
  ASSERT_TRUE(WriteStartValuesFile(path, s));
  TIntegrationSetup back = DefaultIntegrationSetup();
  ASSERT_TRUE(ReadStartValuesFile(path, back));
  EXPECT_EQ(back.N, 3);
  EXPECT_EQ(back.Names[1], ":Merkur");
  EXPECT_EQ(StartValuesFileText(back), StartValuesFileText(s));
  EXPECT_TRUE(sink_.messages.empty());

  const std::string before = test::TempFolder::Read(path);
  for (const long double mass : {-1e-6L, static_cast<long double>(NAN)}) {
    TIntegrationSetup bad = s;
    bad.Masses[2] = mass;
    sink_.messages.clear();
    EXPECT_FALSE(WriteStartValuesFile(path, bad));
    ASSERT_EQ(sink_.messages.size(), 1u);
    EXPECT_NE(sink_.messages[0].text.find("Körper 3 (Venus)"), std::string::npos) << sink_.messages[0].text;
    EXPECT_EQ(test::TempFolder::Read(path), before);
  }
}

// The default set-up as Python's csv and decimal read the shipped file back
// (tests/orbitdet/make_start_values_fixture.py): every written number lies
// within half a unit of its last printed digit of the value set, the mass
// within the relative error of 1/m printed to 8 decimals.
TEST_F(StartValuesFileTest, WrittenNumbersAgainstPythonDecimal) {
  const test::FixtureTable t = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/start_values_reference.txt");
  const TIntegrationSetup s = DefaultIntegrationSetup();
  ASSERT_EQ(t.Rows(), static_cast<std::size_t>(s.N));
  const char* names[6] = {"x", "y", "z", "x1", "y1", "z1"};
  for (std::size_t i = 0; i < t.Rows(); ++i) {
    EXPECT_EQ(t.text[i][static_cast<std::size_t>(t.Column("name"))], s.Names[i]);
    for (int k = 0; k < 6; ++k)
      EXPECT_NEAR(t.Number(i, names[k]), static_cast<double>(s.StartValues[i][k]), 5e-18 + 1e-16 * std::fabs(t.Number(i, names[k])))
          << i << names[k];
    const double mass = t.Number(i, "mass");
    EXPECT_NEAR(mass, static_cast<double>(s.Masses[i]), 1e-12 * mass) << i;
    EXPECT_EQ(t.Number(i, "jd"), 2450600.5);
    EXPECT_EQ(t.Number(i, "jdequinox"), 2451545.0);
  }
}

}  // namespace
}  // namespace kvx
