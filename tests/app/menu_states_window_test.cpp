// The menus' states in the main window, read from the menus as they open:
// the theory items by the files present, the user catalogue's items and
// their undo, the sheet-only items in the result grid, the date list's mark.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <array>
#include <cmath>
#include <filesystem>
#include <string>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/records.h"
#include "engine/orbit_integration.h"
#include "platform/workbook/workbook.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "theories/position_file_writer.h"
#include "theories/position_files.h"
#include "theories/theory_state.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

class MenuStatesWindow : public test::MainFormTest {
 protected:
  // The menu as the user opens it (its states are set on opening), shown
  // for its picture and closed again.
  static QMenu& Open(TMainForm& form, const char* name, const std::string& picture = "") {
    QMenu* menu = form.Commands().Menu(name);
    EXPECT_NE(menu, nullptr) << name;
    menu->popup(form.mapToGlobal(QPoint(40, 40)));
    QApplication::processEvents();
    if (!picture.empty()) test::SavePng(*menu, picture);
    menu->close();
    return *menu;
  }
};

TEST_F(MenuStatesWindow, MenusOfferWhatCanBeDoneAndGreyTheRest) {
  store_.WriteInteger("Settings", "Language", 0);
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  ASSERT_EQ(LanguageEnglish, 0);
  TMenuCommands& c = form.Commands();
  auto shown = [&](const char* item) { return c.Action(item)->isVisible(); };
  ASSERT_EQ(form.TheoryState().Libraries.Vsop87C, 1);
  ASSERT_EQ(form.TheoryState().VscFilesPresent, 0) << "the test's data folder holds no position files";

  // VSOP87 C in use; neither the position files nor the database offered.
  c.SetChecked("VSOP87Cverwenden1", false);
  c.Action("VSOP87Cverwenden1")->trigger();
  ASSERT_EQ(form.Selection().PlanetTheory(), kPlanetTheoryVsop87C);
  Open(form, "Objekte1", "settings_menu_without_position_files");
  EXPECT_FALSE(shown("PositionenausDateilesen1"));
  EXPECT_FALSE(shown("DatenbankfrIntegrationenverwenden1"));
  EXPECT_TRUE(shown("VSOP87Cverwenden1") && c.IsChecked("VSOP87Cverwenden1"));
  // Run all the same (the item toggled as a click would): the theory in use stays.
  c.SetChecked("PositionenausDateilesen1", true);
  c.Trigger("PositionenausDateilesen1");
  EXPECT_EQ(form.Selection().PlanetTheory(), kPlanetTheoryVsop87C);
  EXPECT_FALSE(c.IsChecked("PositionenausDateilesen1"));
  EXPECT_TRUE(c.IsChecked("VSOP87Cverwenden1"));

  // The nine files and the database once they are there: offered at the next opening.
  const fs::path data = form.State().DataFolder;
  for (const char* name : kPositionFileNames) test::WritePositionFile(data / name, 0, 6000, 6, test::QuarticSignal);
  test::WritePositionFile(data / kIntegrationPositionFileName, 0, 40, 27, test::QuarticSignal);
  form.ReopenPositionFiles();
  ASSERT_EQ(form.TheoryState().VscFilesPresent, 1);
  Open(form, "Objekte1", "settings_menu_with_position_files");
  EXPECT_TRUE(shown("PositionenausDateilesen1"));
  EXPECT_TRUE(shown("DatenbankfrIntegrationenverwenden1"));
  c.Action("PositionenausDateilesen1")->trigger();
  EXPECT_EQ(form.Selection().PlanetTheory(), kPlanetTheoryPositionFiles);
  c.Action("VSOP87Cverwenden1")->trigger();

  // A Mars table, then the catalogue's overview with no catalogue: its items
  // are grey, and run all the same it leaves the sheet and the table's undo.
  form.State().Table.PlaceConfirmed = 1;
  c.Trigger("Mars1");
  workbook::TWorkbook& book = form.Workbook();
  ASSERT_EQ(form.State().Document.UndoFlag, 1);
  const std::string title = book.Text(1, 1);
  form.UserObjects().clear();
  Open(form, "Tabellen1");
  EXPECT_FALSE(c.IsEnabled("Benutzerkatalog1"));
  EXPECT_FALSE(c.IsEnabled("Benutzerkatalog2"));
  c.Trigger("Benutzerkatalog2");
  EXPECT_EQ(form.State().Document.UndoFlag, 1);
  EXPECT_TRUE(book.InTransaction());
  EXPECT_EQ(book.Text(1, 1), title);
  messages_.messages.clear();  // the database's span, too short for the period
  messages_.QueueReply(MessageResult::Cancel);
  c.Action("Rckgngig1")->trigger();
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].caption, "Aktion zurücknehmen");

  // The result grid: the sheet-only items grey in the menus (their
  // shortcuts with them), the grid's own and those with a grid
  // counterpart usable.
  form.State().Document.DocumentSaved = 1;
  c.Trigger("Tabellenkalkulation1");
  ASSERT_EQ(form.State().Document.WorkbookView, 0);
  for (QAction* item : Open(form, "Einfgen2", "insert_menu_result_grid").actions()) {
    EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
  }
  // The Edit menu's shown items in order, "|" for a separator.
  auto shownItems = [&c] {
    std::string items;
    for (const QAction* action : c.Menu("Bearbeitn1")->actions()) {
      if (action->isVisible())
        items += (action->isSeparator() ? std::string("|") : action->objectName().toStdString()) + " ";
    }
    return items;
  };
  Open(form, "Bearbeitn1", "edit_menu_result_grid");
  for (const char* item : {"Tabellelschen1", "Einfgen1", "Rckgngig1", "Gehezu1"}) EXPECT_FALSE(c.IsEnabled(item));
  EXPECT_FALSE(shown("Suchen1"));
  EXPECT_NE(shownItems().find("Inhaltelschen2 Gehezu1 | Sortieren1"), std::string::npos)
      << "Find's separator hides with it: " << shownItems();
  EXPECT_TRUE(c.IsEnabled("Kopieren1"));
  Open(form, "Format1");
  EXPECT_TRUE(c.IsEnabled("Layout1"));
  EXPECT_TRUE(c.IsEnabled("Fett1"));
  EXPECT_FALSE(c.IsEnabled("Fixieren1"));
  EXPECT_FALSE(c.IsEnabled("N110"));
  Open(form, "Integration1");
  EXPECT_FALSE(c.IsEnabled("StatusvektorausTabellelesen1"));
  EXPECT_TRUE(c.IsEnabled("NumerischeIntegration1"));
  Open(form, "Info1");
  EXPECT_FALSE(c.Action("Makros1")->isEnabled());
  EXPECT_FALSE(c.IsEnabled("Laplace1"));
  EXPECT_TRUE(c.IsEnabled("Erdsatelliten1"));
  Open(form, "ZeitundOrt1");
  EXPECT_FALSE(c.IsEnabled("JulianischesDatumausTabelle1"));
  EXPECT_FALSE(c.IsEnabled("EphemeridenzeitpunkteausTabelle1"));
  messages_.messages.clear();
  c.Trigger("Tabellenkalkulation1");
  ASSERT_EQ(form.State().Document.WorkbookView, 1);
  Open(form, "Bearbeitn1");
  EXPECT_NE(shownItems().find("Inhaltelschen2 | Suchen1 Ersetzen1 Gehezu1 | Sortieren1"), std::string::npos)
      << shownItems();
  Open(form, "PopupMenu3");
  EXPECT_TRUE(c.IsEnabled("Beidesanpassen1"));
  EXPECT_TRUE(c.IsEnabled("Tabellelschen1"));
  EXPECT_FALSE(c.IsEnabled("Layout1"));

  // The date list's mark while the tables run over it.
  form.State().Table.DateListMode = 1;
  Open(form, "ZeitundOrt1", "time_menu_date_list");
  EXPECT_TRUE(c.IsChecked("EphemeridenzeitpunkteausTabelle1"));
  form.State().Table.DateListMode = 0;
  Open(form, "ZeitundOrt1");
  EXPECT_FALSE(c.IsChecked("EphemeridenzeitpunkteausTabelle1"));
}

// "Datenbank für Integration verwenden" decides where the integration's force
// model takes the perturbing planets: ticked, from "pos.vsp" (here a test
// signal no theory gives); unticked, from the theory. The window hands the
// database over while it lives and takes it back when it closes.
TEST_F(MenuStatesWindow, IntegrationDatabaseItemFeedsTheForceModel) {
  ScopedSettingsStore settings(store_);
  const double day = 3983.25;  // JD 2417000.25, inside the usable span of days 0..6000
  const long double T = (kPositionFileEpoch + day - 2451545.0L) / 36525.0L;
  TOrbitForceContext context;
  for (int b = 0; b < 9; ++b) context.Selection.bytes[static_cast<std::size_t>(kFirstPerturberSwitchByte + b)] = 1;
  std::array<std::array<long double, 3>, 9> positions{};
  {
    TMainForm form;
    ShowForm(form);
    ScopedMessageSink sink(messages_);
    test::WritePositionFile(fs::path(form.State().DataFolder) / kIntegrationPositionFileName, 0, 6000, 27,
                            test::QuarticSignal);
    form.ReopenPositionFiles();
    ASSERT_EQ(form.State().Computing.IntegrationDatabase, 1);
    // Clicked as the user does: the action toggles its mark, the switch follows.
    QAction* item = form.Commands().Action("DatenbankfrIntegrationenverwenden1");
    item->trigger();
    ASSERT_EQ(form.State().Computing.UseIntegrationDatabase, 1);
    PerturberPositions(context, T, positions);
    for (int b = 0; b < 9; ++b)
      for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(static_cast<double>(positions[b][k]), test::QuarticSignal(1 + 3 * b + k, day), 1e-9) << b << k;

    item->trigger();
    ASSERT_EQ(form.State().Computing.UseIntegrationDatabase, 0);
    PerturberPositions(context, T, positions);
    const auto& mercury = positions[0];
    const double r = std::sqrt(static_cast<double>(mercury[0] * mercury[0] + mercury[1] * mercury[1] +
                                                   mercury[2] * mercury[2]));
    EXPECT_GT(r, 0.30);
    EXPECT_LT(r, 0.47) << "Mercury from the theory, not the file's signal";
    item->trigger();
    EXPECT_EQ(IntegrationPositionFile.Theory, &form.TheoryState());
  }
  EXPECT_EQ(IntegrationPositionFile.Theory, nullptr) << "nothing left pointing into the closed window";
  EXPECT_EQ(IntegrationPositionFile.DatabaseSwitch, nullptr);
}

}  // namespace
}  // namespace kvx
