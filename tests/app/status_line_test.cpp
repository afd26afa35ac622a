#include "app/status_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "app/data_folder.h"
#include "app/main_form_state.h"
#include "core/name_tables.h"
#include "platform/globals.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

class StatusLine : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    saved_ = IntlSeparators;
    IntlSeparators.Decimal = '.';
    IntlSeparators.Date = '.';
    r_.Day = 15;
    r_.Month = 3;
    r_.Year = 2024;
    r_.Weekday = 5;
    r_.LocalHours = 21.5;
    r_.Mjd = 60384.854166666667;  // 2024-03-15 20:30 UT
    // Left behind by an earlier instant: the panel reads the MJD.
    r_.UTHours = 13.0;
    r_.SiderealHours = 9.25;
    r_.Zone = 1;
    r_.Latitude = 51.191;
    r_.Longitude = -9.301;
    r_.DeltaTSeconds = 61;
    r_.PlaceName = "Haus";
  }
  void TearDown() override { IntlSeparators = saved_; }
  TIntlSeparators saved_;
  TObserverRecord r_;
};

// The sidereal times: GMST by the IAU 1982 expression (Astronomical Almanac)
// for 2024-03-15 20:30 UT plus 9.301 degrees east gives LMST 08:42:56.0;
// the equation of the equinoxes moves the apparent time by about a second.
TEST_F(StatusLine, DateAndPlacePanelsWithBothDecimalSeparators) {
  EXPECT_EQ(DatePanelText(r_, 0), " 15.03.2024  21:30:00  MEZ  WZ 20:30:00 UT  JD: 2460385.35417   LMST: 08:42:56");
  r_.ZoneMinutes = 30;
  r_.DaylightHours = 1;
  const std::string apparent = DatePanelText(r_, 1);
  EXPECT_EQ(apparent.substr(0, apparent.size() - 3),
            " 15.03.2024  21:30:00  MEZ+30min    SZ 20:30:00 UT  JD: 2460385.35417   LAST: 08:42");
  EXPECT_NEAR(std::stoi(apparent.substr(apparent.size() - 2)), 56, 2) << apparent;
  EXPECT_EQ(PlacePanelText(r_, false), " GB: 51°11'27''  GL: -9°18'03''   Haus   ET-UT: 61.0 sec");
  EXPECT_EQ(PlacePanelText(r_, true), " Lat: 51°11'27''  Lon: -9°18'03''   Haus   ET-UT: 61.0 sec");
  IntlSeparators.Decimal = ',';
  EXPECT_NE(DatePanelText(r_, 0).find("JD: 2460385,35417"), std::string::npos) << DatePanelText(r_, 0);
  EXPECT_EQ(PlacePanelText(r_, true), " Lat: 51°11'27''  Lon: -9°18'03''   Haus   ET-UT: 61,0 sec");
}

// The date panel shows the start date as the desktop's short date (its
// order and separator); a date before the Gregorian reform, which that form
// cannot show, padded in the same order after its weekday.
TEST_F(StatusLine, TheDatePanelFollowsTheDesktopsDateOrder) {
  for (const auto& [order, separator, modern, reform] :
       {std::tuple{TShortDateOrder::DayMonthYear, '.', " 15.03.2024  ", " Donnerstag, 04.10.1582  "},
        std::tuple{TShortDateOrder::MonthDayYear, '/', " 03/15/2024  ", " Donnerstag, 10/04/1582  "},
        std::tuple{TShortDateOrder::YearMonthDay, '-', " 2024-03-15  ", " Donnerstag, 1582-10-04  "}}) {
    IntlSeparators.DateOrder = order;
    IntlSeparators.Date = separator;
    TObserverRecord r = r_;
    EXPECT_EQ(DatePanelText(r, 0).substr(0, std::string(modern).size()), modern);
    r.Day = 4;
    r.Month = 10;
    r.Year = 1582;
    r.Weekday = 4;
    EXPECT_EQ(DatePanelText(r, 0).substr(0, std::string(reform).size()), reform);
  }
}

TEST_F(StatusLine, TheoryPanelsAndTheSettersClamps) {
  TMainFormState s;
  s.Period.Start = r_;
  s.Computing.Accuracy.VsopLevelA = 4;
  s.Computing.Accuracy.VsopLevelB = 8;
  s.Period.Selection.bytes[0] = kPlanetTheoryInternal;
  s.Period.Selection.bytes[1] = 0;
  TStatusTexts t = BuildStatusTexts(s, true);
  EXPECT_EQ(t.Vsop, "Newcomb");
  EXPECT_EQ(t.Moon, "Brown");
  EXPECT_EQ(t.Integration, "Slow integr.");
  s.Period.Selection.bytes[0] = kPlanetTheoryVsop87C;
  s.Period.Selection.bytes[1] = 1;
  s.Computing.IntegrationDatabase = 1;
  t = BuildStatusTexts(s, false);
  EXPECT_EQ(t.Vsop, "VSOP87 C High/Low");
  EXPECT_EQ(t.Moon, "ELP-2000/82");
  EXPECT_EQ(t.Integration, "Integr. schnell");
  s.Period.Selection.bytes[0] = kPlanetTheoryPositionFiles;
  EXPECT_EQ(BuildStatusTexts(s, false).Vsop, "Positionen aus Datei");
  // A configuration whose theories are missing: each named as asked for and
  // as used, by the status line's names; nothing while all are in use.
  TTheorySelection asked, used;
  asked.bytes[0] = kPlanetTheoryVsop87C;
  asked.bytes[1] = 1;
  used.bytes[0] = kPlanetTheoryInternal;
  used.bytes[1] = 0;
  EXPECT_EQ(TheoryFallbackText(asked, used, false),
            "Die Konfiguration verlangt die Planetentheorie \"VSOP87 C\", die nicht vorhanden ist; gerechnet wird "
            "mit \"Newcomb\".\nDie Konfiguration verlangt die Mondtheorie \"ELP-2000/82\", die nicht vorhanden "
            "ist; gerechnet wird mit \"Brown\".");
  used.bytes[1] = 1;
  EXPECT_EQ(TheoryFallbackText(asked, used, true),
            "The configuration asks for the planetary theory \"VSOP87 C\", which is not present; \"Newcomb\" is "
            "used instead.");
  EXPECT_EQ(TheoryFallbackText(asked, asked, true), "");

  SetMoonCacheSpan(s.Computing, 0);
  EXPECT_EQ(s.Computing.NumericOptions.MoonCacheSpan, 12);
  SetMoonCacheSpan(s.Computing, 1);
  EXPECT_EQ(s.Computing.NumericOptions.MoonCacheSpan, 2);
  SetMoonCacheSpan(s.Computing, 25);
  EXPECT_EQ(s.Computing.NumericOptions.MoonCacheSpan, 20);
  SetMoonCacheOrder(s.Computing, 0);
  EXPECT_EQ(s.Computing.NumericOptions.MoonCacheOrder, 13);
  SetMoonCacheOrder(s.Computing, 3);
  EXPECT_EQ(s.Computing.NumericOptions.MoonCacheOrder, 6);
  SetMoonCacheOrder(s.Computing, 14);
  EXPECT_EQ(s.Computing.NumericOptions.MoonCacheOrder, 13);
  SetTableEquinox(s.Computing, -0.5);
  EXPECT_EQ(TableRequestOf(s.Period, s.Table, s.Computing, 0).Output.SecondEquinoxText, " 1950");
  EXPECT_EQ(TableRequestOf(s.Period, s.Table, s.Computing, 0).SecondEquinoxT, -0.5);
  SetTableEquinox(s.Computing, 0.0);
  EXPECT_EQ(TableRequestOf(s.Period, s.Table, s.Computing, 0).Output.SecondEquinoxText, " 2000");
  EXPECT_EQ(TableRequestOf(s.Period, s.Table, s.Computing, 0).Output.AzimuthOrigin, 0.0);
  s.Computing.NumericOptions.AzimuthFromNorth = 3;
  EXPECT_EQ(TableRequestOf(s.Period, s.Table, s.Computing, 0).Output.AzimuthOrigin, 180.0);
  EXPECT_EQ(DigitsFromTolerance(1e-10L), 10);
  EXPECT_EQ(DigitsFromTolerance(1e-3L), 8);
  EXPECT_EQ(DigitsFromTolerance(1e-30L), 18);
}

TEST(CatalogueLevel, StartRulesAndAFailedLoad) {
  test::TempFolder folder;
  TMainFormState s;
  s.DataFolder = folder.Path().string();
  s.StarCatalogue.Setting = 1;
  CheckOccultationCatalogue(s.StarCatalogue, s.DataFolder);
  EXPECT_EQ(s.StarCatalogue.Level, 0);
  EXPECT_EQ(s.StarCatalogue.Setting, 0);

  folder.Write("occinp95.dat", "x");
  s.StarCatalogue.Setting = 1;
  CheckOccultationCatalogue(s.StarCatalogue, s.DataFolder);
  EXPECT_EQ(s.StarCatalogue.Level, 2);
  EXPECT_EQ(s.StarCatalogue.Setting, 2) << "only the large file: setting 1 becomes 2";

  std::filesystem::remove(folder.File("occinp95.dat"));
  folder.Write("OCCINP8.DAT", "x");
  s.StarCatalogue.Setting = 2;
  CheckOccultationCatalogue(s.StarCatalogue, s.DataFolder);
  EXPECT_EQ(s.StarCatalogue.Level, 1);
  EXPECT_EQ(s.StarCatalogue.Setting, 1);
  SetOccultationCatalogueSetting(s.StarCatalogue, 2);
  EXPECT_EQ(s.StarCatalogue.Setting, 1) << "never above the level";

  folder.Write("OCCINP95.DAT", "x");
  s.StarCatalogue.Level = 2;
  SetOccultationCatalogueSetting(s.StarCatalogue, 2);
  LowerCatalogueAfterFailedLoad(s.StarCatalogue, s.DataFolder, 2);
  EXPECT_EQ(s.StarCatalogue.Level, 1);
  EXPECT_EQ(s.StarCatalogue.Setting, 1);
}

TEST(DataFolder, NeverTheWorkingDirectoryAndShippedFilesNeverOverwrite) {
  test::TempFolder home;
  setenv("XDG_DATA_HOME", "relative/path", 1);
  setenv("HOME", home.Path().c_str(), 1);
  EXPECT_EQ(DefaultDataFolder(), (home.Path() / ".local/share/kandrevoltinex").string());
  EXPECT_EQ(ResolveDataFolder(std::string("data")), DefaultDataFolder()) << "a relative folder is not taken";
  EXPECT_EQ(ResolveDataFolder(std::string("/srv/kvx/")), "/srv/kvx");
  EXPECT_EQ(ResolveDataFolder(std::nullopt), DefaultDataFolder());

  test::TempFolder shipped;
  shipped.Write("shipped-files.txt", "# list\nOCCINP8.DAT\r\nOCCINP95.DAT\nmissing.dat\n");
  shipped.Write("OCCINP8.DAT", "small");
  shipped.Write("OCCINP95.DAT", "large");
  const std::string data = (home.Path() / "new" / "folder").string();
  std::filesystem::create_directories(data);
  std::ofstream(data + "/occinp8.dat") << "user's own";
  TShippedCopyResult result = CopyMissingShippedFiles(shipped.Path().string(), data);
  EXPECT_EQ(result.Copied, (std::vector<std::string>{"OCCINP95.DAT"}));
  ASSERT_EQ(result.Failed.size(), 1u);
  EXPECT_EQ(result.Failed[0].Name, "missing.dat");
  EXPECT_FALSE(result.Failed[0].SourceRead);
  EXPECT_EQ(result.WriteFailureOf("missing.dat"), nullptr);
  std::ifstream kept(data + "/occinp8.dat");
  std::string text;
  std::getline(kept, text);
  EXPECT_EQ(text, "user's own");
  EXPECT_EQ(std::filesystem::file_size(data + "/OCCINP95.DAT"), 5u);
  for (const auto& entry : std::filesystem::directory_iterator(data)) {
    EXPECT_EQ(entry.path().string().find("kvxtmp"), std::string::npos) << "no temporary file left";
  }
}

}  // namespace
}  // namespace kvx
