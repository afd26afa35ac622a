// The menu table as a whole: every command has a handler, and after the
// start only the commands that wait for something the user has not chosen
// yet are disabled; choosing it enables them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/asteroid_database_commands.h"
#include "app/ui/catalogue_loader.h"
#include "app/ui/legend_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/tip_dialog.h"
#include "core/records.h"
#include "support/qt/main_form_test.h"
#include "theories/position_file_writer.h"

namespace kvx {
namespace {

class MenuProbe : public test::MainFormTest {};

// The menu states as opening each menu of the menu bar refreshes them.
void OpenEveryMenu(TMainForm& form) {
  if (form.RefreshMenusHook) form.RefreshMenusHook();
  for (QAction* action : form.menuBar()->actions()) {
    if (QMenu* menu = action->menu()) emit menu->aboutToShow();
  }
  QApplication::processEvents();
}

std::map<std::string, bool> Disabled(TMainForm& form) {
  std::map<std::string, bool> disabled;
  for (const std::string& name : form.Commands().CommandNames()) {
    if (!form.Commands().IsEnabled(name)) disabled[name] = true;
  }
  return disabled;
}

TEST_F(MenuProbe, EveryCommandHasAHandlerAndWaitsOnlyForWhatIsNotChosen) {
  store_.WriteBool("Settings", "Tips of the day", false);
  ScopedSettingsStore settings(store_);
  TMainForm form;
  InstallBackgroundLoading(form);
  InstallTipsOfTheDay(form);
  InstallLegendCommand(form);
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  QElapsedTimer clock;
  clock.start();
  while (!form.StarCatalogue() && clock.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  ASSERT_TRUE(form.StarCatalogue()) << "the star catalogue loads in the background";

  TMenuCommands& c = form.Commands();
  for (const std::string& name : c.CommandNames()) EXPECT_TRUE(c.HasHandler(name)) << name << " has no handler";

  // Right after the start: each disabled command with what it waits for.
  const std::map<std::string, std::string> waiting = {
      {"Planetoid1", "an asteroid"},
      {"Planetoiden2", "an asteroid"},
      {"Planetoid3", "an asteroid"},
      {"Planetoidenbahn1", "an asteroid"},
      {"Komet1", "a comet"},
      {"Kometen2", "a comet"},
      {"Komet3", "a comet"},
      {"Kometenbahn1", "a comet"},
      {"VernderlicherStern1", "a variable star"},
      {"Benutzerkatalog1", "a user catalogue with objects"},
      {"Benutzerkatalog2", "a user catalogue with objects"},
      {"PositionenausDateilesen1", "the nine position files (not offered without them)"},
      {"DatenbankfrIntegrationenverwenden1", "the position database (not offered without it)"},
      {"PlanetoidenausDatenbank1", "files in the asteroid-database folder"},
      {"ExternesProgramm1", "an external program"},
      {"ExternesProgrammstarten1_", "an external program"},
      {"Layout1", "the result-grid view"}};
  OpenEveryMenu(form);
  std::map<std::string, std::string> unexplained;
  for (const auto& [name, off] : Disabled(form)) {
    if (waiting.count(name) == 0) unexplained[name] = "?";
  }
  EXPECT_TRUE(unexplained.empty()) << unexplained.begin()->first << " is disabled for no reason";
  for (const auto& [name, reason] : waiting) EXPECT_FALSE(c.IsEnabled(name)) << name << " should wait for " << reason;

  // Each chosen: only the result grid's layout still waits (the workbook is shown).
  TMainFormState& s = form.State();
  s.Objects.CurrentAsteroid.Name = "Ceres";
  s.Objects.CurrentComet.Name = "1P/Halley";
  s.Objects.CurrentVariableStar.Name = "Algol";
  form.UserObjects().Add(std::make_unique<tuserobject>("M 31", 0.4244f, 41.1609f, 0.0f, 0.0f, 2000.0f, 3.4f));
  form.SetSatellitesEnabled(1);
  const std::filesystem::path database = home_.Path() / "eel";
  std::filesystem::create_directories(database);
  std::ofstream(database / "ceres.eel") << "x";
  form.StoredSettings().AsteroidFolder = database.string();
  FindAsteroidDatabaseFiles(form);
  form.StoredSettings().ExternalApplication = "/bin/true";
  if (form.UpdateExternalProgramMenu) form.UpdateExternalProgramMenu();
  const std::filesystem::path data = s.DataFolder;
  for (const char* name : kPositionFileNames) test::WritePositionFile(data / name, 0, 6000, 6, test::QuarticSignal);
  test::WritePositionFile(data / kIntegrationPositionFileName, 0, 6000, 27, test::QuarticSignal);
  form.ReopenPositionFiles();
  OpenEveryMenu(form);
  EXPECT_EQ(Disabled(form), (std::map<std::string, bool>{{"Layout1", true}}));
  s.Document.WorkbookView = 0;
  OpenEveryMenu(form);
  EXPECT_TRUE(c.IsEnabled("Layout1"));
}

}  // namespace
}  // namespace kvx
