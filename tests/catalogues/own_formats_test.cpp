// The element lists with the system's own files: order, search, the
// loading dispatcher, the own text and binary formats, the item limit and
// the refusal of unusable records.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "catalogue_test_support.h"
#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/variable_star_list.h"
#include "core/element_records.h"
#include "core/little_endian.h"
#include "platform/busy_cursor.h"
#include "platform/text_encoding.h"

namespace kvx::test {
namespace {

using OwnFormats = CatalogueTest;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Texts(const Planetoidentabelle& list) {
  std::vector<std::string> texts;
  for (int k = 0; k < list.Count(); ++k) texts.push_back(list.Text(k));
  return texts;
}

// Numbers inside names sort by value, letter case does not matter, equal
// texts keep their order; the search finds by prefix or anywhere and an
// empty text finds nothing without raising the hook.
TEST_F(OwnFormats, OrderAndSearch) {
  Planetoidentabelle list;
  TAsteroidElements e;
  e.SemiMajorAxis = 2;
  for (const char* name : {"(100000) Late", "(99999) Early", "ceres(10)", "Ceres(9)", "b", "B"}) {
    e.Name = name;
    list.AddItem(name, e);
  }
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"(99999) Early", "(100000) Late", "b", "B", "Ceres(9)",
                                                   "ceres(10)"}));
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  EXPECT_FALSE(list.suchen(""));
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(list.suchen("CERES"));
  EXPECT_EQ(list.Text(list.ItemIndex), "Ceres(9)");
  EXPECT_FALSE(list.suchen("late"));
  list.SetSearchAnywhere(true);
  EXPECT_TRUE(list.suchen("late"));
  EXPECT_EQ(list.Text(list.ItemIndex), "(100000) Late");
  EXPECT_EQ(changes, 3);

  list.SetStoredIndex(6);
  EXPECT_EQ(list.GetStoredIndex(), 0);
  list.SetStoredIndex(5);
  EXPECT_EQ(list.GetStoredIndex(), 5);
}

// A failed load shows the twenty built-in asteroids (g 0.15) with the
// warning and the error; "ves" finds Vesta by prefix, "esta" only anywhere.
TEST_F(OwnFormats, UnknownExtensionGivesTheBuiltInList) {
  struct CountingCursor : BusyCursor {
    int shown = 0, restored = 0;
    void Show() override { ++shown; }
    void Restore() override { ++restored; }
  } cursor;
  BusyCursor* previous = SetBusyCursor(&cursor);
  Planetoidentabelle list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  std::uint8_t kind = 9;
  const std::string path = folder.Write("elements.xyz", "whatever\n");
  EXPECT_FALSE(list.Neuedateiladen(kind, path, true, 3));
  EXPECT_EQ(list.Count(), 20);
  EXPECT_EQ(list.BuiltInListShown, 1);
  EXPECT_EQ(list.ItemIndex, 0);
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].caption, "Hinweis");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(sink.messages[1].text, "Die Datei " + path + " hat vermutlich ein ungültiges Format.");
  EXPECT_EQ(sink.messages[1].icon, MessageIcon::Error);
  for (int k = 0; k < list.Count(); ++k) EXPECT_EQ(list.Data(k).G, 0.15);
  EXPECT_EQ(cursor.shown, 1);  // the hourglass once, and back
  EXPECT_EQ(cursor.restored, 1);
  SetBusyCursor(previous);

  EXPECT_TRUE(list.suchen("ves"));
  EXPECT_EQ(list.Data(list.ItemIndex).Name, "Vesta(4) 1997");
  EXPECT_DOUBLE_EQ(list.Data(list.ItemIndex).MeanMotion, 0.271636197);
  EXPECT_FALSE(list.suchen("esta"));
  list.SetSearchAnywhere(true);
  EXPECT_TRUE(list.suchen("esta"));
}

// Header variants, g defaulting to 0.15, both decimal marks, ":" lines
// anywhere, numbers trimmed at both ends, unusable lines skipped and
// reported once, the index beyond the count.
TEST_F(OwnFormats, AsteroidCsvLinesAndUnusableRecords) {
  const std::string path = folder.Write("a.csv",
                                        ":BAHNELEMENTE PLANETOIDEN VAMUR!**whatever\r\n"
                                        "Vesta;2,36;0.09; 7,1 ;103;150;84;0;2000;2450600,5;3,2\r\n"
                                        ":a comment in the middle\r\n"
                                        "Zero a;0;0,1;1;1;1;1;0;2000;2450600,5;5;0,2\r\n"
                                        "Open;2,5;1,0;1;1;1;1;0;2000;2450600,5;5;0,2\r\n"
                                        "Ceres;2,77;0,08;10,6;80;73;165;0;2000;2450600,5;3,3;0,12;extra\n");
  Planetoidentabelle list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  std::uint8_t kind = 9;
  ASSERT_TRUE(list.Neuedateiladen(kind, path, true, 7));
  EXPECT_EQ(kind, 0);
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.ItemIndex, 0);
  EXPECT_EQ(list.FileName, path);
  EXPECT_EQ(list.BuiltInListShown, 0);
  const TAsteroidElements& vesta = list.Data(1);
  EXPECT_DOUBLE_EQ(vesta.Eccentricity, 0.09);
  EXPECT_DOUBLE_EQ(vesta.Inclination, 7.1);
  EXPECT_DOUBLE_EQ(vesta.G, 0.15);
  EXPECT_DOUBLE_EQ(list.Data(0).G, 0.12);
  ASSERT_EQ(list.SkippedLines().size(), 2u);
  EXPECT_EQ(list.SkippedLines()[0].LineNumber, 4);
  EXPECT_EQ(list.SkippedLines()[1].Text, "Open;2,5;1,0;1;1;1;1;0;2000;2450600,5;5;0,2");
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].text.find("2 Zeilen mit unbrauchbaren Bahnelementen übersprungen (erste: Zeile 4, Feld a)"),
            std::string::npos);

  // The field line is a header too; a header-only file is not read and
  // says why; "Name ... anom" makes a ".csv" HomePlanet.
  sink.messages.clear();
  const std::string empty = folder.Write("b.csv", ":a;e;i;node;per;m;n;equinox;epoch;h;g\r\n");
  EXPECT_FALSE(list.Neuedateiladen(kind, empty, true, 0));
  EXPECT_EQ(list.Count(), 20);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Die Datei " + empty + " enthält keine Bahnelemente.");
  const std::string home = folder.Write("c.csv", "Name,Mean anomaly\r\nX,3,0.15,1,2,3,4,0.1,2.5,51000\r\n");
  EXPECT_TRUE(list.Neuedateiladen(kind, home, false, 0));
  EXPECT_EQ(kind, 3);
}

TEST_F(OwnFormats, ItemLimitAndItsMessage) {
  std::string exact = ":a;e;i;node;per;m;n;equinox;epoch;h;g\n";
  for (int k = 0; k < 100; ++k) {
    exact += 'A';
    exact += std::to_string(k);
    exact += ";2,5;0,1;1;1;1;1;0;2000;2451545;5;0,15\n";
  }
  const std::string over = exact + "late;2,5;0,1;1;1;1;1;0;2000;2451545;5;0,15\n";
  Planetoidentabelle list(100);
  std::uint8_t kind = 0;
  ASSERT_TRUE(list.Neuedateiladen(kind, folder.Write("exact.csv", exact), false, 0));
  EXPECT_EQ(list.Count(), 100);
  EXPECT_TRUE(sink.messages.empty());
  ASSERT_TRUE(list.Neuedateiladen(kind, folder.Write("over.csv", over), false, 0));
  EXPECT_EQ(list.Count(), 100);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Es wurden nur die ersten 100 Datensätze eingelesen!");
  EXPECT_EQ(sink.messages[0].caption, "Datei zu groß!");
}

// Written with the configured separator, a ";" in a name turned into a
// blank and leading blanks moved behind; read back every field to the
// decimals written. The file is UTF-8.
TEST_F(OwnFormats, AsteroidCsvWriteReadRoundTrip) {
  Planetoidentabelle list;
  list.LoadBuiltInList();
  TAsteroidElements odd;
  odd = list.Data(0);
  odd.Name = "  Semi;colon Ω";
  odd.SemiMajorAxis = 123.456789012;
  list.AddItem(odd.Name, odd);
  const std::string path = folder.File("out.csv");
  ASSERT_TRUE(list.WriteOwnCsvFile(path));
  const std::string bytes = ReadAll(path);
  EXPECT_EQ(bytes.rfind(":a;e;i;node;per;m;n;equinox;epoch;h;g\r\n", 0), 0u);
  // The decimals of the format where they hold the value, every digit where
  // they do not (a, n).
  EXPECT_NE(bytes.find("Semi colon Ω  ;123,456789012;"), std::string::npos);
  EXPECT_NE(bytes.find("Vesta(4) 1997;2,36126260;0,09032370;7,135000;103,966430;150,014180;83,987250;0,271636197;"
                       "2000,00;2450600,50000;3,20;0,15\r\n"),
            std::string::npos);

  Planetoidentabelle back;
  std::uint8_t kind = 9;
  ASSERT_TRUE(back.Neuedateiladen(kind, path, false, 0));
  ASSERT_EQ(back.Count(), 21);
  EXPECT_EQ(list.Text(0), "  Semi;colon Ω");  // leading blanks sort first
  for (int k = 1; k <= 20; ++k) {
    const TAsteroidElements& a = list.Data(k);
    ASSERT_TRUE(back.suchen(a.Name));
    const TAsteroidElements& b = back.Data(back.ItemIndex);
    EXPECT_NEAR(a.SemiMajorAxis, b.SemiMajorAxis, 5e-9);
    EXPECT_NEAR(a.Eccentricity, b.Eccentricity, 5e-9);
    EXPECT_NEAR(a.Perihelion, b.Perihelion, 5e-7);
    EXPECT_NEAR(a.MeanMotion, b.MeanMotion, 5e-7);
    EXPECT_NEAR(a.Epoch, b.Epoch, 5e-6);
    EXPECT_NEAR(a.H, b.H, 5e-3);
  }

  // An unwritable target: a message naming it, the old file as it was.
  std::filesystem::create_directory(folder.File("locked"));
  const std::string target = folder.Write("locked/keep.csv", "old");
  std::filesystem::permissions(folder.File("locked"), std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_exec);
  if (::geteuid() != 0) {
    EXPECT_FALSE(list.WriteOwnCsvFile(target));
    EXPECT_EQ(ReadAll(target), "old");
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_NE(sink.messages.back().text.find(target), std::string::npos);
  }
  std::filesystem::permissions(folder.File("locked"), std::filesystem::perms::owner_all);
  EXPECT_FALSE(list.WriteOwnCsvFile(folder.File("missing/dir/x.csv")));
}

// ".opl": three records and 50 bytes give three items; the name length
// byte is clamped; records with non-finite numbers are skipped.
TEST_F(OwnFormats, OplRecords) {
  Planetoidentabelle list;
  list.LoadBuiltInList();
  std::string bytes;
  for (int k = 0; k < 3; ++k) {
    TAsteroidElementRecordBytes record = EncodeAsteroidElementRecord(list.Data(k));
    bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
  }
  TAsteroidElements broken = list.Data(3);
  broken.Eccentricity = std::nan("");
  TAsteroidElementRecordBytes record = EncodeAsteroidElementRecord(broken);
  bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
  bytes[88] = static_cast<char>(200);  // clamped to 40
  bytes += std::string(50, 'x');
  Planetoidentabelle back;
  std::uint8_t kind = 9;
  ASSERT_TRUE(back.Neuedateiladen(kind, folder.Write("three.opl", bytes), false, 0));
  EXPECT_EQ(kind, 1);
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.SkippedLines().size(), 1u);
  EXPECT_EQ(Utf8Length(back.Text(0)), 40u);

  const std::string path = folder.File("all.opl");
  ASSERT_TRUE(list.WriteOplFile(path));
  const std::string written = ReadAll(path);
  ASSERT_EQ(written.size(), 20u * 132u);
  ASSERT_TRUE(back.ReadOplFile(path));
  ASSERT_EQ(back.Count(), 20);
  for (int k = 0; k < 20; ++k) {
    EXPECT_EQ(EncodeAsteroidElementRecord(back.Data(k)), EncodeAsteroidElementRecord(list.Data(k)));
  }
}

// The comet data order is not the order of the header labels; the file
// written reads back field by field; ".oko" round trip; a ".txt" in the
// own format loads through the fallback.
TEST_F(OwnFormats, CometOwnAndBinaryFiles) {
  Kometentabelle list;
  list.LoadBuiltInList();
  ASSERT_EQ(list.Count(), 20);
  const std::string path = folder.File("k.csv");
  ASSERT_TRUE(list.WriteOwnCsvFile(path));
  EXPECT_EQ(ReadAll(path).rfind(":name;q;e;i;node;per; equinox;tm of per.(jd);epoche (jd);h;g\r\n", 0), 0u);
  Kometentabelle back;
  std::uint8_t kind = 9;
  ASSERT_TRUE(back.Neuedateiladen(kind, path, false, 0));
  ASSERT_TRUE(back.suchen("1P/Halley"));
  const TCometElements& h = back.Data(back.ItemIndex);
  EXPECT_NEAR(h.PerihelionDistance, 0.58597811, 1e-9);
  EXPECT_NEAR(h.PerihelionTime, 2446467.39532, 1e-6);
  EXPECT_NEAR(h.H, 5.5, 1e-9);
  EXPECT_NEAR(h.G, 4.0, 1e-9);
  EXPECT_NEAR(h.Epoch, 2449400.5, 1e-6);

  std::filesystem::copy_file(path, folder.File("own.txt"));
  ASSERT_TRUE(back.Neuedateiladen(kind, folder.File("own.txt"), false, 0));
  EXPECT_EQ(kind, 0);
  EXPECT_EQ(back.Count(), 20);

  ASSERT_TRUE(list.WriteOkoFile(folder.File("k.oko")));
  ASSERT_TRUE(back.Neuedateiladen(kind, folder.File("k.oko"), false, 0));
  EXPECT_EQ(kind, 1);
  for (int k = 0; k < 20; ++k) EXPECT_EQ(EncodeCometElementRecord(back.Data(k)), EncodeCometElementRecord(list.Data(k)));

  // A comet with q <= 0 is skipped.
  const std::string bad = folder.Write("bad.csv", ":BAHNELEMENTE KOMETEN VAMUR EXT!\nX;0;0,5;1;1;1;2000;2451545;5;4;2451545\n"
                                                  "Y;1;0,5;1;1;1;2000;2451545;5;4;2451545\n");
  ASSERT_TRUE(back.Neuedateiladen(kind, bad, false, 0));
  EXPECT_EQ(back.Count(), 1);
}

// Header-only file, long names, several type letters, decimal comma; a
// missing file keeps the list and says "not found".
TEST_F(OwnFormats, VariableStarFile) {
  variablentabelle list;
  const std::string header = ":ELEMENTE VARIABLE VAMUR!**Elemente fuer veraenderliche Sterne**\r\n";
  ASSERT_TRUE(list.Neuedateiladen(folder.Write("h.csv", header), 0, true));
  EXPECT_EQ(list.Count(), 0);
  const std::string path = folder.Write(
      "v.csv", header + "Algol;3,0810;40,5720;2,09;3,30;2445641,5135;2,8673043;2000;bx\r\n" +
                   "A name that is much longer than thirty characters;1.5;-2.5;3;4;2451545;0,5;2000;c\r\n"
                   "Nothing;1;1;1;1;2451545;0;2000;m\r\n");
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  ASSERT_TRUE(list.Neuedateiladen(path, 5, false));
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Text(0), "A name that is much longer tha");
  EXPECT_EQ(list.Data(0).Dec, -2.5);
  EXPECT_EQ(list.Data(1).Type, "b");
  EXPECT_DOUBLE_EQ(list.Data(1).Period, 2.8673043);
  EXPECT_EQ(list.SkippedLines().size(), 1u);

  sink.messages.clear();
  EXPECT_FALSE(list.Neuedateiladen(folder.File("gone.csv"), 0, true));
  EXPECT_EQ(list.Count(), 2);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Datei/File " + folder.File("gone.csv") + " nicht gefunden/not found!");
  EXPECT_FALSE(list.Neuedateiladen(folder.File("gone.csv"), 0, false));
  EXPECT_EQ(sink.messages.size(), 1u);
}

// The shipped element files read without a skipped line.
TEST_F(OwnFormats, ShippedElementFiles) {
  Planetoidentabelle asteroids;
  std::uint8_t kind = 9;
  ASSERT_TRUE(asteroids.Neuedateiladen(kind, std::string(KVX_DATA_DIR) + "/planeten.csv", true, 0));
  EXPECT_EQ(asteroids.Count(), 100);
  Kometentabelle comets;
  ASSERT_TRUE(comets.Neuedateiladen(kind, std::string(KVX_DATA_DIR) + "/kometen.csv", true, 0));
  EXPECT_GE(comets.Count(), 100);
  variablentabelle stars;
  ASSERT_TRUE(stars.Neuedateiladen(std::string(KVX_DATA_DIR) + "/variab.csv", 0, true));
  EXPECT_EQ(stars.Count(), 5);
  EXPECT_TRUE(sink.messages.empty()) << Shown();
}

}  // namespace
}  // namespace kvx::test
