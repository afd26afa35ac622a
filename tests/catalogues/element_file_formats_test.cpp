// The element-file format tables: the dialog texts they give, the codes the
// configuration file keeps for each list, the reading order of formats that
// share an extension and the open dialog's unread extensions.
#include "catalogues/element_file_formats.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <span>
#include <utility>

#include "catalogue_test_support.h"
#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/data_file_kinds.h"

namespace kvx::test {
namespace {

using ElementFileFormats = CatalogueTest;
const auto A = TElementDialogKind::Asteroid;
const auto C = TElementDialogKind::Comet;

// The filters are the program's own texts, letter for letter (the comet
// list's "Comets(*.csv)" and "binär" in English included).
TEST_F(ElementFileFormats, DialogTextsAsTheyStand) {
  EXPECT_EQ(ElementOpenFilter(A, false),
            "Planetoiden (*.csv)|*.csv|Planetoiden (binär, *.opl)|*.opl|ASTORB/MPCORB-Database (*.dat)|*.dat|MPC "
            "Format (*.txt)|*.txt|SkyMap (*.sky)|*.sky|SkyMap (*.cat)|*.cat");
  EXPECT_EQ(ElementOpenFilter(A, true),
            "Asteroids (*.csv)|*.csv|Asteroids (binary, *.opl)|*.opl|ASTORB/MPCORB database (*.dat)|*.dat|MPC Format "
            "(*.txt)|*.txt|SkyMap (*.sky)|*.sky|SkyMap (*.cat)|*.cat");
  EXPECT_EQ(ElementOpenFilter(C, false),
            "Kometen (*.csv)|*.csv|Kometen (binär, *.oko)|*.oko|Guide 6.0-Format (*.dat)|*.dat|Kometen (SkyMap)|*.sky|"
            "SkyMap (*.cat)|*.cat|Kometen MPC (*.txt)|*.txt");
  EXPECT_EQ(ElementOpenFilter(C, true),
            "Comets(*.csv)|*.csv|Comets (binary, *.oko)|*.oko|Guide 6.0 format (*.dat)|*.dat|SkyMap (*.sky)|*.sky|SkyMap "
            "(*.cat)|*.cat|Comets MPC (*.txt)|*.txt");
  EXPECT_EQ(DataFileKindFor("kometen").FilterGerman, ElementOpenFilter(C, false));

  using V = std::vector<std::string>;
  EXPECT_EQ(ElementSaveFilters(A, false),
            (V{"Planetoiden (binär *.opl) (*.opl)", "Planetoiden (*.csv)", "SkyMap (*.sky)", "SkyMap (*.cat)"}));
  EXPECT_EQ(ElementSaveFilters(A, true),
            (V{"Asteroids (binary *.opl) (*.opl)", "Asteroids (*.csv)", "SkyMap (*.sky)", "SkyMap (*.cat)"}));
  EXPECT_EQ(ElementSaveFilters(C, false), (V{"Kometen (*.csv)", "Kometen (binär *.oko) (*.oko)", "Guide 6.0 (*.dat)",
                                             "SkyMap (*.sky)", "SkyMap (*.cat)", "VDS-Fachgruppe (*.txt)"}));
  EXPECT_EQ(ElementSaveFilters(C, true), (V{"Comets (*.csv)", "Comets (binär *.oko) (*.oko)", "Guide 6.0 (*.dat)",
                                            "SkyMap (*.sky)", "SkyMap (*.cat)", "German VDS (*.txt)"}));
}

// What saving under `fileName` does: the format of the first row that
// writes it and the code the list reports afterwards (-1: the code it
// had); nothing when the save dialog refuses the name.
template <class TList>
std::optional<std::pair<TElementFormat, int>> SaveOf(std::span<const TElementFileFormat<TList>> formats,
                                                     const std::string& fileName) {
  const auto rows = FormatsWriting(formats, fileName);
  if (rows.empty()) return std::nullopt;
  return std::pair{rows.front()->Format, rows.front()->KeepsCodeOnSave ? -1 : int{rows.front()->StoredCode}};
}

// Saving by extension: the format chosen, the ".csv" choice, the code the
// list keeps afterwards and the names the save dialog refuses.
TEST_F(ElementFileFormats, SavesByExtension) {
  using V = std::vector<std::string>;
  using F = TElementFormat;
  using P = std::pair<TElementFormat, int>;
  EXPECT_EQ(ElementSaveChoices(A, "/x/list.Csv"), (V{"Vamur/Kandrevoltinex Format", "HomePlanet 3.0"}));
  EXPECT_EQ(ElementSaveChoices(C, "/x/.csv").size(), 2u);  // a name that is only an extension
  EXPECT_TRUE(ElementSaveChoices(C, "/x/list.cat").empty());
  EXPECT_EQ(SaveOf(CometFileFormats(), "/x/list.txt"), (P{F::MpcText, 5}));

  EXPECT_EQ(SaveOf(AsteroidFileFormats(), "/x/list.cat"), (P{F::SkyMap, 4}));
  EXPECT_FALSE(SaveOf(CometFileFormats(), "/x/list.cat"));
  EXPECT_EQ(SaveOf(AsteroidFileFormats(), "/x/list.OPL"), (P{F::Binary, 1}));
  EXPECT_FALSE(SaveOf(AsteroidFileFormats(), "/x/list.oko"));
  EXPECT_EQ(SaveOf(CometFileFormats(), "/x/list.Dat"), (P{F::Guide, 3}));
  EXPECT_FALSE(SaveOf(CometFileFormats(), "/x.y/list"));
  EXPECT_EQ(SaveOf(CometFileFormats(), "/x/list.sky"), (P{F::SkyMap, -1}));
}

// The code a list reports is what the configuration file keeps; a code
// stored by earlier versions names the same format, in each list.
TEST_F(ElementFileFormats, StoredCodesKeepTheirFormats) {
  auto check = [](TElementDialogKind kind, auto formats) {
    std::set<int> codes, names;
    for (const auto& format : formats) {
      EXPECT_TRUE(codes.insert(format.StoredCode).second) << int(format.StoredCode);
      EXPECT_TRUE(names.insert(static_cast<int>(format.Format)).second);
      // A row saves its extensions exactly when it has a writer, which
      // names the format; a row without one offers nothing to save.
      EXPECT_EQ(format.Write == nullptr, format.SaveExtensions.empty());
      if (format.Write == nullptr) {
        EXPECT_TRUE(format.SaveFilters.empty());
      }
      EXPECT_EQ(format.Write == nullptr, *format.Name == '\0');
      EXPECT_EQ(ElementFormatOfCode(kind, format.StoredCode), format.Format);
      EXPECT_EQ(ElementCodeOfFormat(kind, format.Format), format.StoredCode);
    }
  };
  check(A, AsteroidFileFormats());
  check(C, CometFileFormats());
  EXPECT_EQ(ElementFormatOfCode(A, 2), TElementFormat::Catalogue);
  EXPECT_EQ(ElementFormatOfCode(A, 3), TElementFormat::HomePlanet);
  EXPECT_EQ(ElementFormatOfCode(C, 2), TElementFormat::HomePlanet);
  EXPECT_EQ(ElementFormatOfCode(C, 3), TElementFormat::Guide);
  EXPECT_FALSE(ElementFormatOfCode(C, 6));
  EXPECT_FALSE(ElementCodeOfFormat(A, TElementFormat::Guide));

  // Files written by a list read back with the code of their format.
  Kometentabelle comets;
  comets.LoadBuiltInList();
  std::uint8_t code = 9;
  ASSERT_TRUE(comets.WriteGuideFile(folder.File("guide.dat")));
  ASSERT_TRUE(comets.WriteHomePlanetCsvFile(folder.File("home.csv")));
  Kometentabelle back;
  ASSERT_TRUE(back.Neuedateiladen(code, folder.File("guide.dat"), true, 0)) << Shown();
  EXPECT_EQ(ElementFormatOfCode(C, code), TElementFormat::Guide);
  ASSERT_TRUE(back.Neuedateiladen(code, folder.File("home.csv"), true, 0)) << Shown();
  EXPECT_EQ(ElementFormatOfCode(C, code), TElementFormat::HomePlanet);
}

// Formats sharing an extension: an own file that fails is not handed to
// HomePlanet (its reason is shown, its code reported); a comet ".txt" that
// is neither MPC text nor own text ends at the own format.
TEST_F(ElementFileFormats, SharedExtensionsReadInTableOrder) {
  Planetoidentabelle asteroids;
  std::uint8_t code = 9;
  const std::string empty = folder.Write("empty.CSV", ":a;e;i;node;per;m;n;equinox;epoch;h;g\r\n");
  EXPECT_FALSE(asteroids.Neuedateiladen(code, empty, true, 0));
  EXPECT_EQ(code, 0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, NoElementsText(empty));

  Kometentabelle comets;
  const std::string neither = folder.Write("neither.txt", "Name,Perihelion time\r\nx\r\n");
  EXPECT_FALSE(comets.Neuedateiladen(code, neither, false, 0));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(comets.BuiltInListShown, 1);

  // The open dialog leaves element files to the readers; a ".csv" only for
  // the element lists.
  const TDataFileKind& places = DataFileKindFor("orte");
  EXPECT_TRUE(DataFileAccepted(places, folder.File("missing.oko")));
  EXPECT_FALSE(DataFileAccepted(places, folder.File("missing.csv")));
  EXPECT_TRUE(DataFileAccepted(DataFileKindFor("kometen"), folder.File("missing.Cat")));
  EXPECT_FALSE(DataFileAccepted(DataFileKindFor("kometen"), folder.File("missing.zzz")));
}

}  // namespace
}  // namespace kvx::test
