// The menus' states on opening: the theory items by the libraries and files
// present, every rule by the condition it names, and the menu table's
// sheet-only rows.
#include "app/menu_states.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "app/main_form_state.h"
#include "app/menu_table.h"
#include "theories/theory_state.h"

namespace kvx {
namespace {

// One item's state as the menu shows it: what the rules leave open stays as
// the item was built (shown, enabled, unchecked).
struct TLook {
  bool Shown = true;
  bool Enabled = true;
  bool Checked = false;
  std::string Caption;
};

std::map<std::string, TLook> Looks(const TMenuStateInput& in) {
  std::map<std::string, TLook> looks;
  for (const TMenuItemState& s : MenuStates(in)) {
    EXPECT_EQ(looks.count(s.Item), 0u) << "named twice: " << s.Item;
    TLook& look = looks[s.Item];
    look.Shown = s.Shown.value_or(true);
    look.Enabled = s.Enabled.value_or(true);
    look.Checked = s.Checked.value_or(false);
    if (s.Caption != nullptr) look.Caption = s.Caption;
  }
  return looks;
}

// "S" shown, "E" enabled, "C" checked, "-" not.
std::string Code(const TLook& look) {
  return std::string(look.Shown ? "S" : "-") + (look.Enabled ? "E" : "-") + (look.Checked ? "C" : "-");
}

TMenuStateInput AllPresent() {
  TMenuStateInput in;
  in.Libraries = {1, 1, 1, 1, 1};  // ELP-2000/82, VSOP82, VSOP87 D, C, A
  in.PositionFiles = true;
  in.IntegrationDatabase = true;
  in.UseIntegrationDatabase = true;
  in.Selection.bytes[0] = kPlanetTheoryVsop87C;
  in.Selection.bytes[1] = 1;
  in.AsteroidName = "Ceres";
  in.CometName = "2P/Encke";
  in.VariableStarName = "Mira";
  in.UserCatalogueLoaded = true;
  return in;
}

TEST(MenuStates, TheoryItemsAreOfferedByTheLibrariesAndFilesPresent) {
  const std::vector<std::string> items = {
      "NewcombscheTheorienverwenden1", "usevsop871",           "VSOP87Cverwenden1",   "PositionenausDateilesen1",
      "ELP2000Mondtheorieverwenden1",  "DatenbankfrIntegrationenverwenden1",        "RechengenauigkeitfrdieVSOPTheorien1",
      "StatusvektorVSOP87C1",          "StatusvektorVSOP87A1", "OrbitalElementsVSOP87A1"};
  struct Case {
    const char* Name;
    std::function<void(TMenuStateInput&)> Change;
    std::vector<const char*> Expected;  // per item above
  };
  const std::vector<Case> cases = {
      {"all present, VSOP87 C and ELP in use", [](TMenuStateInput&) {},
       {"SE-", "SE-", "SEC", "SE-", "SEC", "SEC", "SE-", "SE-", "SE-", "SE-"}},
      {"all present, position files, database switch off",
       [](TMenuStateInput& in) {
         in.Selection.bytes[0] = kPlanetTheoryPositionFiles;
         in.Selection.bytes[1] = 0;
         in.UseIntegrationDatabase = false;
       },
       {"SE-", "SE-", "SE-", "SEC", "SE-", "SE-", "SE-", "SE-", "SE-", "SE-"}},
      {"no position files and no database",
       [](TMenuStateInput& in) {
         in.PositionFiles = false;
         in.IntegrationDatabase = false;
       },
       {"SE-", "SE-", "SEC", "-E-", "SEC", "-E-", "SE-", "SE-", "SE-", "SE-"}},
      {"VSOP87 C missing, VSOP87 D in use",
       [](TMenuStateInput& in) {
         in.Libraries.Vsop87C = 0;
         in.Selection.bytes[0] = kPlanetTheoryVsop87D;
       },
       {"SE-", "SEC", "-E-", "SE-", "SEC", "SEC", "SE-", "S--", "SE-", "SE-"}},
      {"ELP missing",
       [](TMenuStateInput& in) {
         in.Libraries.Elp2000 = 0;
         in.Selection.bytes[1] = 0;
       },
       {"SE-", "SE-", "SEC", "SE-", "-E-", "SEC", "SE-", "SE-", "SE-", "SE-"}},
      {"only VSOP87 C of the VSOP libraries",
       [](TMenuStateInput& in) { in.Libraries = {1, 0, 0, 1, 0}; },
       {"SE-", "-E-", "SEC", "SE-", "SEC", "SEC", "SE-", "SE-", "---", "---"}},
      {"nothing present, the internal series",
       [](TMenuStateInput& in) {
         in.Libraries = {};
         in.PositionFiles = false;
         in.IntegrationDatabase = false;
         in.Selection.bytes[0] = kPlanetTheoryInternal;
         in.Selection.bytes[1] = 0;
       },
       {"SEC", "-E-", "-E-", "-E-", "-E-", "-E-", "-E-", "S--", "---", "---"}},
  };
  for (const Case& c : cases) {
    TMenuStateInput in = AllPresent();
    c.Change(in);
    const std::map<std::string, TLook> looks = Looks(in);
    for (std::size_t i = 0; i < items.size(); ++i) {
      ASSERT_TRUE(looks.count(items[i])) << items[i];
      EXPECT_EQ(Code(looks.at(items[i])), c.Expected[i]) << c.Name << ": " << items[i];
    }
    // Exactly one planet theory is marked, and only one that is offered.
    int marked = 0;
    for (std::size_t i = 0; i < 4; ++i) marked += looks.at(items[i]).Checked ? 1 : 0;
    EXPECT_EQ(marked, 1) << c.Name;
  }
  // The menu, the selection and the theory panel offer the same theories,
  // whatever non-zero byte marks a library present (the first four items
  // are the planet theories 0 to 3).
  for (int mask = 0; mask < 18; ++mask) {
    TMenuStateInput in = AllPresent();
    in.Libraries.Vsop87D = static_cast<std::uint8_t>(mask % 3);
    in.Libraries.Vsop87C = static_cast<std::uint8_t>(mask / 3 % 3);
    in.PositionFiles = mask >= 9;
    TTheoryState state;
    state.Libraries = in.Libraries;
    state.VscFilesPresent = in.PositionFiles ? 1 : 0;
    const std::map<std::string, TLook> looks = Looks(in);
    for (std::uint8_t theory = 0; theory < 4; ++theory) {
      TTheorySelection asked;
      asked.bytes[0] = theory;
      const bool kept = ApplyTheorySelection(state, asked).PlanetTheory() == theory;
      bool reached = false;
      for (std::uint8_t from = 0; from < 4; ++from)
        reached = reached || NextPanelTheory(from, in.Libraries, in.PositionFiles) == theory;
      EXPECT_EQ(looks.at(items[theory]).Shown, kept)
          << mask << " theory " << int{theory};
      EXPECT_EQ(reached, kept) << mask << " theory " << int{theory};
    }
  }
  EXPECT_FALSE(PlanetTheoryOffered(4, {1, 1, 1, 1, 1}, true));
}

// Each rule of the menus' openings: under its condition on and off, the
// items take the one and the other state; all other conditions as in
// AllPresent (the sheet view, everything chosen and loaded).
TEST(MenuStates, EveryRuleFollowsItsCondition) {
  enum class TField { Shown, Enabled, Checked };
  struct Rule {
    const char* Condition;
    void (*Set)(TMenuStateInput&, bool);
    std::vector<std::string> Items;
    TField Field;
    bool WhenOn;  // the field's value while the condition holds
  };
  const std::vector<std::string> asteroid = {"Planetoid1", "Planetoiden2", "Planetoid3", "Planetoidenbahn1"};
  const std::vector<std::string> comet = {"Komet1", "Kometen2", "Komet3", "Kometenbahn1"};
  const std::vector<Rule> rules = {
      // The Settings menu.
      {"star catalogue loading", [](TMenuStateInput& in, bool on) { in.CatalogueLoading = on; },
       {"Optionen2", "Sternbedeckungen1", "OccultationsofStarsbyPlanets1"}, TField::Enabled, false},
      {"warnings", [](TMenuStateInput& in, bool on) { in.Warnings = on; }, {"Warnheinweisezeigen1"}, TField::Checked,
       true},
      {"satellites enabled", [](TMenuStateInput& in, bool on) { in.SatellitesEnabled = on; },
       {"Satellit1", "AlleSatelliten1"}, TField::Enabled, true},
      {"satellite elements loaded", [](TMenuStateInput& in, bool on) { in.SatellitesLoaded = on; },
       {"Satellit1", "AlleSatelliten1"}, TField::Enabled, true},
      {"asteroid chosen", [](TMenuStateInput& in, bool on) { in.AsteroidName = on ? "Ceres" : "Kein Planetoid"; },
       asteroid, TField::Enabled, true},
      {"comet chosen", [](TMenuStateInput& in, bool on) { in.CometName = on ? "2P/Encke" : "Kein Komet"; }, comet,
       TField::Enabled, true},
      {"variable star chosen",
       [](TMenuStateInput& in, bool on) { in.VariableStarName = on ? "Mira" : "Kein Variabler"; },
       {"VernderlicherStern1"}, TField::Enabled, true},
      {"configuration loaded", [](TMenuStateInput& in, bool on) { in.ConfigurationLoaded = on; },
       {"DatumausKonfiguration2"}, TField::Enabled, true},
      // The Ephemerides menu.
      {"user catalogue loaded", [](TMenuStateInput& in, bool on) { in.UserCatalogueLoaded = on; },
       {"Benutzerkatalog1", "Benutzerkatalog2"}, TField::Enabled, true},
      {"edit bar shown", [](TMenuStateInput& in, bool on) { in.EditBarShown = on; }, {"Bearbeitungszeile1"},
       TField::Checked, true},
      {"formulas shown", [](TMenuStateInput& in, bool on) { in.FormulasShown = on; }, {"Formelnanzeigen1"},
       TField::Checked, true},
      // The view and the hints.
      {"sheet view", [](TMenuStateInput& in, bool on) { in.WorkbookView = on; }, {"Tabellenkalkulation1"},
       TField::Checked, true},
      {"hints", [](TMenuStateInput& in, bool on) { in.Hints = on; }, {"Schnellhilfeanzeigen1"}, TField::Checked,
       true},
      // The Tools, Integration, Time/place and sheet context menus: the
      // sheet-only items, the grid's own, Find and Replace.
      {"sheet view", [](TMenuStateInput& in, bool on) { in.WorkbookView = on; }, SheetOnlyNames(), TField::Enabled,
       true},
      {"sheet view", [](TMenuStateInput& in, bool on) { in.WorkbookView = on; }, ResultGridOnlyNames(),
       TField::Enabled, false},
      {"sheet view", [](TMenuStateInput& in, bool on) { in.WorkbookView = on; },
       {"Suchen1", "Ersetzen1", "Bearbeitungszeile1"}, TField::Shown, true},
      {"date list in use", [](TMenuStateInput& in, bool on) { in.DateListInUse = on; },
       {"EphemeridenzeitpunkteausTabelle1"}, TField::Checked, true},
  };
  for (const Rule& rule : rules) {
    ASSERT_FALSE(rule.Items.empty()) << rule.Condition;
    for (const bool on : {true, false}) {
      TMenuStateInput in = AllPresent();
      rule.Set(in, on);
      const std::map<std::string, TLook> looks = Looks(in);
      for (const std::string& item : rule.Items) {
        ASSERT_TRUE(looks.count(item)) << rule.Condition << ": " << item;
        const TLook& look = looks.at(item);
        const bool value = rule.Field == TField::Shown ? look.Shown
                           : rule.Field == TField::Enabled ? look.Enabled
                                                           : look.Checked;
        EXPECT_EQ(value, on == rule.WhenOn) << rule.Condition << (on ? " on: " : " off: ") << item;
      }
    }
  }

  // The captions: the daylight-saving switch offers the other time, the
  // protection toggle the other state, in either language.
  TMenuStateInput in = AllPresent();
  in.DaylightSaving = true;
  in.SheetProtected = true;
  EXPECT_EQ(Looks(in).at("Sommerzeit1").Caption, "&Winterzeit");
  EXPECT_EQ(Looks(in).at("Zellschutzaktivieren1").Caption, "Zellsch&utz aufheben");
  in.English = true;
  in.DaylightSaving = false;
  in.SheetProtected = false;
  EXPECT_EQ(Looks(in).at("Sommerzeit1").Caption, "&Daylight saving");
  EXPECT_EQ(Looks(in).at("Zellschutzaktivieren1").Caption, "Enable &protection");
}

// The rows that share a command share its state: the tool-bar buttons that
// follow their items, the tool-bar menu's "Break toolbar", the sheet context
// menu's copies. They must agree on what makes the state: sheet-only and
// checkable. And the commands that act on the workbook alone are sheet-only,
// those with a result-grid counterpart are not.
TEST(MenuStates, SheetOnlyRowsAgreeWithWhatTheirCommandsDo) {
  std::map<std::string, const TMenuRow*> first;
  for (const TMenuRow& row : MenuTable()) {
    if (row.Kind != TMenuRowKind::Item && row.Kind != TMenuRowKind::Button) continue;
    auto [it, fresh] = first.emplace(row.Command, &row);
    if (fresh) continue;
    EXPECT_EQ(row.SheetOnly, it->second->SheetOnly) << row.Name << " and " << it->second->Name;
    if (row.Kind == TMenuRowKind::Item && it->second->Kind == TMenuRowKind::Item) {
      EXPECT_EQ(row.Checkable, it->second->Checkable) << row.Name << " and " << it->second->Name;
    }
  }
  for (const auto& [button, command] : std::map<std::string, std::string>{{"SpeedButton31", "Planetoidenbahn1"},
                                                                          {"SpeedButton32", "Kometenbahn1"},
                                                                          {"SpeedButton18", "Komet1"},
                                                                          {"SpeedButton19", "Planetoid1"},
                                                                          {"SpeedButton23", "VernderlicherStern1"},
                                                                          {"SpeedButton33", "Tabellenkalkulation1"},
                                                                          {"Umbrechen1", "BreakToolbar1"}}) {
    EXPECT_EQ(FindMenuRow(button)->Command, command) << button;
  }
  EXPECT_TRUE(FindMenuRow("EphemeridenzeitpunkteausTabelle1")->Checkable);

  const std::vector<std::string>& sheetOnly = SheetOnlyNames();
  auto isSheetOnly = [&](const std::string& name) {
    return std::find(sheetOnly.begin(), sheetOnly.end(), name) != sheetOnly.end();
  };
  // Read from or written to the workbook only.
  for (const char* name :
       {"Einfgen1", "Inhaltelschen2", "Suchen1", "Gehezu1", "Sortieren1", "Tabellelschen1", "Rckgngig1", "Zellen2",
        "Tabelleeinfgen1", "Seitenwechsel1", "Ausrichtung1", "Zeile1", "Nachkommastellen1", "N110", "Fixieren1",
        "Zellschutzaktivieren1", "Druckbereich1", "Seiteeinrichten2", "Saveastextfile1", "Dateidrucken1",
        "JulianischesDatumausTabelle1", "EphemeridenzeitpunkteausTabelle1", "StatusvektorausTabellelesen1", "Makros1",
        "DMS1", "UT1", "Laplace1", "Saveasstatevector1", "Beidesanpassen1", "LeftAlign", "edViewScale"}) {
    EXPECT_TRUE(isSheetOnly(name)) << name;
  }
  // With a result-grid counterpart, or no sheet at all.
  for (const char* name : {"Au1", "Kopieren1", "AlscsvDateispeichern1", "Schriftart3", "Fett1", "BoldButton", "Arial",
                           "Fontsize", "Layout1", "Farben1", "Zellen1", "Bahnberechnung1", "NumerischeIntegration1",
                           "EingabemaskefrStatusvektor1", "Erdsatelliten1", "Druckereinrichten"}) {
    EXPECT_FALSE(isSheetOnly(name)) << name;
  }
}

}  // namespace
}  // namespace kvx
