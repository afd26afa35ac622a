// The user catalogue's line parser, reader and writer: which lines give
// objects and with what values, what a missing or foreign file leaves
// behind, and that the writer never replaces a file with a non-catalogue.
#include "catalogues/user_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_folder.h"

namespace kvx {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(UserCatalogue, LineParserTakesAndRefusesLines) {
  std::string name;
  std::array<float, 6> v{};
  ASSERT_TRUE(ParseUserCatalogueLine("Vega;18.3656;38.4701;0.017;0.28;2000;0.03", name, v));
  EXPECT_EQ(name, "Vega");
  tuserobject vega(name, v[0], v[1], v[2], v[3], v[4], v[5]);
  // 18 h 36 m 56 s and +38 deg 47' 01".
  EXPECT_NEAR(vega.Angle1, 18.0 + 36.0 / 60 + 56.0 / 3600, 1e-5);
  EXPECT_NEAR(vega.Angle2, 38.0 + 47.0 / 60 + 1.0 / 3600, 1e-5);
  EXPECT_FLOAT_EQ(vega.Value3, 0.017f);
  EXPECT_FLOAT_EQ(vega.Value5, 2000.0f);
  EXPECT_FLOAT_EQ(vega.Value6, 0.03f);

  // Decimal commas, a name with blanks, fields past the seventh ignored.
  ASSERT_TRUE(ParseUserCatalogueLine(" M 31 ;0,4244;41,1609;0;0;2000;3,4;x;y", name, v));
  EXPECT_EQ(name, " M 31 ");
  EXPECT_FLOAT_EQ(v[0], 0.4244f);
  EXPECT_FLOAT_EQ(v[5], 3.4f);
  // No object: empty, switched off; a field that is no number is named,
  // whichever it is (a word, a comma exponent, a minus sign that is no "-",
  // a value beyond a float, a lone decimal mark), and so is a blank
  // position or equinox. Blank proper motions and a blank or missing
  // magnitude are 0; blanks around a number do not matter.
  const char* field = nullptr;
  for (const char* line : {"", ":Vega;18.3656;38.4701;0;0;2000;0.03"}) {
    EXPECT_FALSE(ParseUserCatalogueLine(line, name, v, &field)) << line;
    EXPECT_EQ(field, nullptr);
  }
  const char* const names[] = {"RA", "Dec", "pmRA", "pmDec", "equinox", "magnitude"};
  for (std::size_t k = 0; k < 6; ++k) {
    for (const std::string bad : {"B1950", "1,5e", "\u2212", "1e39", ".", ",", "-.", "", " 0.03 "}) {
      std::string texts[] = {"18.3656", "38.4701", "0.5", "0.5", "2000", "0.03"};
      texts[k] = bad;
      std::string line = "Vega";
      for (const std::string& t : texts) line += ";" + t;
      const bool blankGivesZero = bad.empty() && (k == 2 || k == 3 || k == 5);
      if (blankGivesZero || bad == " 0.03 ") {
        ASSERT_TRUE(ParseUserCatalogueLine(line, name, v, &field)) << line;
        EXPECT_FLOAT_EQ(v[k], blankGivesZero ? 0.0f : 0.03f) << line;
        continue;
      }
      EXPECT_FALSE(ParseUserCatalogueLine(line, name, v, &field)) << line;
      EXPECT_STREQ(field, names[k]) << line;
    }
  }
  for (const char* six : {"Vega;18.3656;38.4701;0;0;2000", "Vega;18.3656;38.4701;0;0;2000;"}) {
    ASSERT_TRUE(ParseUserCatalogueLine(six, name, v, &field)) << six;
    EXPECT_EQ(v[5], 0.0f);
  }
  // A name beyond 255 characters is cut.
  ASSERT_TRUE(ParseUserCatalogueLine(std::string(300, 'N') + ";1;2;3;4;2000;5", name, v));
  EXPECT_EQ(name.size(), 255u);
}

TEST(UserCatalogue, ReadingKeepsThePreviousCatalogueOnFailureAndWritingIsSafe) {
  test::TempFolder folder;
  std::vector<std::string> lines{kUserCatalogueFirstLine, "Old;1;2;3;4;2000;5"};
  tuserlist objects;
  BuildUserObjects(lines, objects);
  ASSERT_EQ(objects.Count(), 1);

  EXPECT_EQ(ReadUserCatalogue(folder.File("none.csv"), lines, objects), TUserCatalogueStatus::NotFound);
  EXPECT_EQ(ReadUserCatalogue(folder.Path().string(), lines, objects), TUserCatalogueStatus::NotFound);
  const std::string foreign = folder.Write("foreign.csv", "VARBO USER\r\nVega;1;2;3;4;2000;1\r\n");
  EXPECT_EQ(ReadUserCatalogue(foreign, lines, objects), TUserCatalogueStatus::Foreign);
  EXPECT_EQ(ReadUserCatalogue(folder.Write("empty.csv", ""), lines, objects), TUserCatalogueStatus::Foreign);
  ASSERT_EQ(objects.Count(), 1);
  EXPECT_EQ(objects.Item(0)->Name, "Old");
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_EQ(UserCatalogueMessage(TUserCatalogueStatus::NotFound, "x.csv", false), "Katalog x.csv nicht gefunden");
  EXPECT_EQ(UserCatalogueMessage(TUserCatalogueStatus::Foreign, "x.csv", true),
            "This is no Kandrevoltinex 4.6 catalogue");

  // Only switched-off entries and one whose Dec is a word: read, but no
  // object; the word is counted and named with its line.
  const std::string off =
      folder.Write("off.csv", ":VARBO USER\r\n:Vega;1;2;3;4;2000;1\r\n:\r\nDeneb;20.4125;B1950;0;0;2000;1.3\r\n");
  TSkippedLines skipped;
  EXPECT_EQ(ReadUserCatalogue(off, lines, objects, {}, &skipped), TUserCatalogueStatus::NoObjects);
  EXPECT_EQ(objects.Count(), 0);
  EXPECT_EQ(lines.size(), 4u);
  EXPECT_EQ(skipped.Count, 1);
  EXPECT_EQ(skipped.FirstLine, 4);
  EXPECT_EQ(skipped.Field, "Dec");

  // Windows-1252 with lone CR line ends; progress every 200 lines.
  std::string bytes = ":VARBO USER\rAlpha Cr\xfa" "cis;12.2635;-63.0556;0;0;2000;0.8\r";
  for (int i = 0; i < 450; ++i) bytes += "Star " + std::to_string(i) + ";1;2;0;0;2000;5\r";
  const std::string old = folder.Write("old.csv", bytes);
  std::vector<int> steps;
  EXPECT_EQ(ReadUserCatalogue(old, lines, objects, [&steps](int position, int count) {
              EXPECT_EQ(count, 452);
              steps.push_back(position);
            }),
            TUserCatalogueStatus::Loaded);
  EXPECT_EQ(steps, (std::vector<int>{200, 400}));
  ASSERT_EQ(objects.Count(), 451);
  EXPECT_EQ(objects.Item(0)->Name, "Alpha Crúcis");

  // Written back as UTF-8 with CR LF and read again to the same objects; a
  // foreign first line is refused and the old file stays.
  lines.push_back(NewUserCatalogueEntry(true));
  TWriteError error;
  ASSERT_TRUE(WriteUserCatalogue(old, lines, error)) << error.Text;
  EXPECT_EQ(ReadAll(old).substr(0, 13), ":VARBO USER\r\n");
  tuserlist again;
  std::vector<std::string> reread;
  ASSERT_EQ(ReadUserCatalogue(old, reread, again), TUserCatalogueStatus::Loaded);
  EXPECT_EQ(again.Count(), 452);
  EXPECT_EQ(again.Item(451)->Name, "New object");
  EXPECT_EQ(again.Item(0)->Name, "Alpha Crúcis");
  const std::string before = ReadAll(old);
  EXPECT_FALSE(WriteUserCatalogue(old, {"Vega;1;2;3;4;2000;1"}, error));
  EXPECT_EQ(error.Cause, TWriteFailure::Refused);
  EXPECT_EQ(error.Text, "Die erste Zeile eines Katalogs muss lauten: :VARBO USER; nichts wurde geschrieben.");
  EXPECT_FALSE(WriteUserCatalogue(old, {}, error));
  EXPECT_EQ(ReadAll(old), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 4) << "no temporary file left";

  // Switching: never the first line; off and on again.
  std::string line = kUserCatalogueFirstLine;
  EXPECT_FALSE(ToggleUserCatalogueLine(line, 0));
  line = "Vega;1";
  ASSERT_TRUE(ToggleUserCatalogueLine(line, 3));
  EXPECT_EQ(line, ":Vega;1");
  ASSERT_TRUE(ToggleUserCatalogueLine(line, 3));
  EXPECT_EQ(line, "Vega;1");
  EXPECT_EQ(NewUserCatalogueEntry(false), "Neuer Eintrag;0;0;0;0;2000;0;0;0;0;0;0;0; ;");
}

}  // namespace
}  // namespace kvx
