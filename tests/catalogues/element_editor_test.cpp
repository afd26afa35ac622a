// The element-file editors' model: the field rules (typed texts pending,
// refused or accepted), and saved files read back through the element
// lists with the same records, their header lines at the top and the lines
// the lists could not read kept.
#include "catalogues/element_editor.h"
#include "catalogues/element_editor_model.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "catalogue_test_support.h"

namespace kvx {
namespace {

using test::CatalogueTest;

TFieldState Check(std::span<const TEditorFieldRule> rules, std::size_t field, const char* text) {
  double x = -12345;
  return CheckEditorField(rules[field], text, x);
}

TEST(ElementEditorFields, RulesAndHalfTypedTexts) {
  const auto asteroid = AsteroidEditorFields();
  const auto comet = CometEditorFields();
  const auto variable = VariableStarEditorFields();
  using S = TFieldState;
  // Angles: 360 refused, 359.9 accepted, -0.1 refused.
  EXPECT_EQ(Check(asteroid, 2, "360"), S::Refused);
  EXPECT_EQ(Check(asteroid, 2, "359,9"), S::Accepted);
  EXPECT_EQ(Check(asteroid, 3, "-0.1"), S::Refused);
  // Half-typed texts wait; a text that is not a number is refused.
  for (const char* pending : {"", "-", "+", ".", ",", "-.", "+.", "  "}) EXPECT_EQ(Check(asteroid, 0, pending), S::Pending) << pending;
  EXPECT_EQ(Check(asteroid, 0, "abc"), S::Refused);
  // Closed orbits only: e = 1.5 and q <= 0 refused.
  EXPECT_EQ(Check(asteroid, 1, "1.5"), S::Refused);
  EXPECT_EQ(Check(asteroid, 1, "0.99"), S::Accepted);
  EXPECT_EQ(Check(comet, 0, "-1"), S::Refused);
  EXPECT_EQ(Check(comet, 0, "0"), S::Refused);
  EXPECT_EQ(Check(comet, 1, "1.5"), S::Accepted) << "hyperbolic comets";
  // Right ascension 23.5959 accepted, 24 refused; declination 90 accepted.
  EXPECT_EQ(Check(variable, 0, "23.5959"), S::Accepted);
  EXPECT_EQ(Check(variable, 0, "24"), S::Refused);
  EXPECT_EQ(Check(variable, 1, "90"), S::Accepted);
  EXPECT_EQ(Check(variable, 1, "-90.1"), S::Refused);
  // Reset-only fields have no message.
  EXPECT_EQ(asteroid[7].GermanText, nullptr);
  EXPECT_STREQ(asteroid[0].GermanText, "a : muß >0 sein!");
  // Names: no ";" and at most the editor's length.
  EXPECT_EQ(EditorName("Ce;res", 40), "Ceres");
  EXPECT_EQ(EditorName("Äöü und mehr", 3), "Äöü");
}

class ElementEditorFiles : public CatalogueTest {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = (folder.Path() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(ElementEditorFiles, SavedFilesReadBackWithHeaderAndUnreadableLines) {
  // Three header lines, LF line ends, an unreadable line (e >= 1) and a
  // comment after the first entry.
  const std::string path = Write("planeten.csv",
                                 ":BAHNELEMENTE PLANETOIDEN VAMUR!;a;e;i;kn;per;M;n;Equinox;Epoch;H;G\n:zweite\n:dritte\n"
                                 "Ceres;2,7658;0,0780;10,587;80,39;73,12;6,0;0,214;2000;2451545,5;3,34;0,12\n"
                                 "Kaputt;2,0;1,5;1;1;1;1;0;2000;2451545;1;0,15\n"
                                 ":Kommentar\n"
                                 "Vesta;2,3615;0,0902;7,134;103,85;150,73;20,0;0,2716;2000;2451545,5;3,2;0,32\n");
  Planetoidentabelle list;
  std::uint8_t kind = 99;
  ASSERT_TRUE(list.Neuedateiladen(kind, path, false, 0));
  EXPECT_EQ(kind, 0);
  ASSERT_EQ(list.Count(), 2);
  TEditorFileLines lines = ReadEditorFileLines(path, list.SkippedLines());
  ASSERT_EQ(lines.HeaderLines.size(), 3u);
  ASSERT_EQ(lines.KeptLines.size(), 2u) << "the unreadable line and the later comment";
  // A change to Vesta, then the save.
  TAsteroidElements vesta = list.Data(1);
  EditorField(vesta, 4) = 151.5;
  list.Data(1) = vesta;
  std::vector<std::string> entries;
  for (int k = 0; k < list.Count(); ++k) entries.push_back(EditorRecordToLine(list.Data(k)));
  ASSERT_TRUE(SaveEditorFile(path, lines, entries));
  const std::string saved = Read(path);
  EXPECT_EQ(saved.rfind(":BAHNELEMENTE PLANETOIDEN VAMUR!;a;e;i;kn;per;M;n;Equinox;Epoch;H;G\r\n:zweite\r\n:dritte\r\n", 0),
            0u);
  EXPECT_NE(saved.find("Kaputt;2,0;1,5"), std::string::npos);
  EXPECT_NE(saved.find("2451545,50000"), std::string::npos) << saved;

  Planetoidentabelle again;
  ASSERT_TRUE(again.Neuedateiladen(kind, path, false, 0));
  ASSERT_EQ(again.Count(), 2);
  for (int k = 0; k < 2; ++k) {
    for (std::size_t f = 0; f < AsteroidEditorFields().size(); ++f) {
      EXPECT_NEAR(EditorField(again.Data(k), f), EditorField(list.Data(k), f), 1e-8) << k << " " << f;
    }
    EXPECT_EQ(again.Data(k).Name, list.Data(k).Name);
  }
  // Saving again gives the same file.
  TEditorFileLines lines2 = ReadEditorFileLines(path, again.SkippedLines());
  ASSERT_TRUE(SaveEditorFile(path, lines2, entries));
  EXPECT_EQ(Read(path), saved);
  // Another program added a line since the file was read: the save asks,
  // and "No" keeps that program's file; a file only touched is not asked
  // about.
  std::ofstream(path, std::ios::binary | std::ios::app) << "Pallas;2,77;0,23;34,8;173;310;1;0,21;2000;2451545,5;4,1;0,11\r\n";
  const std::string theirs = Read(path);
  sink.QueueReply(MessageResult::No);
  EXPECT_FALSE(SaveEditorFile(path, lines2, entries));
  EXPECT_EQ(Read(path), theirs);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "Datei geändert");
  TEditorFileLines lines3 = ReadEditorFileLines(path, again.SkippedLines());
  std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
  ASSERT_TRUE(SaveEditorFile(path, lines3, entries));
  EXPECT_EQ(sink.messages.size(), 1u);
  // A missing file is not created by a save.
  EXPECT_FALSE(SaveEditorFile((folder.Path() / "fehlt.csv").string(), lines, entries));
  EXPECT_NE(Shown().find("Speichern nicht möglich"), std::string::npos);
}

TEST_F(ElementEditorFiles, CometAndVariableStarLinesRoundTrip) {
  // Comets: T and the epoch keep every digit (five decimals do not hold them).
  const std::string cometPath = (folder.Path() / "kometen.csv").string();
  ASSERT_TRUE(CreateEditorFile(cometPath, kCometEditor.FirstLine));
  TCometElements c = NewCometEditorRecord(2460000.123456);
  c.Name = "C/2023 A3";
  c.Eccentricity = 1.0001;
  TEditorFileLines cometLines = ReadEditorFileLines(cometPath, {});
  ASSERT_TRUE(SaveEditorFile(cometPath, cometLines, {EditorRecordToLine(c)}));
  Kometentabelle comets;
  std::uint8_t kind = 99;
  ASSERT_TRUE(comets.Neuedateiladen(kind, cometPath, false, 0));
  ASSERT_EQ(comets.Count(), 1);
  EXPECT_EQ(comets.Data(0).Name, "C/2023 A3");
  EXPECT_EQ(comets.Data(0).Epoch, 2460000.123456);
  EXPECT_EQ(comets.Data(0).PerihelionTime, 2460000.123456);
  EXPECT_NEAR(comets.Data(0).Eccentricity, 1.0001, 1e-9);

  const std::string varPath = (folder.Path() / "varriable.csv").string();
  ASSERT_TRUE(CreateEditorFile(varPath, kVariableStarEditor.FirstLine));
  TVariableStarElements v = NewVariableStarEditorRecord(2451545.25);
  v.Name = "Delta Cep";
  v.RA = 22.2910;
  v.Dec = 58.2454;
  v.MaxMag = 3.48;
  v.MinMag = 4.37;
  v.Period = 5.366249;
  TEditorFileLines starLines = ReadEditorFileLines(varPath, {});
  ASSERT_TRUE(SaveEditorFile(varPath, starLines, {EditorRecordToLine(v)}));
  variablentabelle stars;
  ASSERT_TRUE(stars.Neuedateiladen(varPath, 0, false));
  ASSERT_EQ(stars.Count(), 1);
  const TVariableStarElements& r = stars.Data(0);
  EXPECT_EQ(r.Name, "Delta Cep");
  EXPECT_EQ(r.Type, "c");
  EXPECT_NEAR(r.RA, 22.2910, 1e-9);
  EXPECT_NEAR(r.Dec, 58.2454, 1e-9);
  EXPECT_NEAR(r.Period, 5.366249, 1e-9);
  EXPECT_NEAR(r.Epoch, 2451545.25, 1e-9);
  EXPECT_EQ(Read(varPath).rfind(std::string(kVariableStarEditor.FirstLine) + "\r\n", 0), 0u);
}

TEST_F(ElementEditorFiles, ModelUndoDeleteAndForeignFiles) {
  const std::string path = Write("kometen.csv", ":BAHNELEMENTE KOMETEN VAMUR EXT!\n"
                                                "1P/Halley;0,5871;0,9673;162,24;58,42;111,33;1950;2446470,9;5,5;4;2446480,5\n");
  TCometEditorModel model(kCometEditor, CometEditorFields());
  ASSERT_TRUE(model.Load(path));
  ASSERT_EQ(model.List().Count(), 1);
  // A change and its undo both reach the file.
  model.TakeSnapshot();
  model.SetField(0, 0.6);
  model.SetName("Halley");
  ASSERT_TRUE(model.Store());
  EXPECT_NE(Read(path).find("Halley;0,60000000"), std::string::npos);
  ASSERT_TRUE(model.Undo());
  EXPECT_NE(Read(path).find("1P/Halley;0,58710000"), std::string::npos);
  EXPECT_EQ(Read(path).find("\r\nHalley;"), std::string::npos);
  // The only entry stays; after a new one, deleting the last selects the first.
  EXPECT_FALSE(model.DeleteSelected());
  EXPECT_NE(Shown().find("Der letzte Datensatz kann nicht gelöscht werden."), std::string::npos);
  ASSERT_TRUE(model.NewRecord(2460000.5));
  ASSERT_EQ(model.List().Count(), 2);
  model.List().Select(1);
  ASSERT_TRUE(model.DeleteSelected());
  EXPECT_EQ(model.List().ItemIndex, 0);

  // A HomePlanet file read by the list is refused: saving would change its format.
  const std::string foreign = Write("home.csv", "Name,Perihelion time,Perihelion distance,Eccentricity\nx,1,2,3\n");
  const std::string before = Read(foreign);
  TCometEditorModel other(kCometEditor, CometEditorFields());
  EXPECT_FALSE(other.Load(foreign));
  EXPECT_FALSE(other.Save());
  EXPECT_EQ(Read(foreign), before);
}

}  // namespace
}  // namespace kvx
