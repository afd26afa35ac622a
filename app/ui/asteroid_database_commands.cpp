#include "app/ui/asteroid_database_commands.h"

#include <QMainWindow>
#include <filesystem>

#include "app/main_form_state.h"
#include "app/settings_io.h"
#include "app/table_dispatcher.h"
#include "app/ui/batch_commands.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/asteroid_selection.h"
#include "catalogues/ui/asteroid_database_dialog.h"
#include "core/asteroid_database.h"
#include "engine/ephemeris_table.h"
#include "platform/busy_cursor.h"
#include "platform/folder_chooser.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "tables/batch_tables.h"

namespace kvx {

namespace {

void EnableDatabaseCommands(TCommandHost& form, bool present) {
  TMenuCommands& menu = form.Commands();
  menu.SetEnabled("Planetoidendatenbank1", present);
  menu.SetEnabled("PlanetoidenausDatenbank1", present);
  menu.SetEnabled("PlanetoidenausDatenbank2", present);
}

// Tables | Asteroids from database: one file of the database, then its table.
void PlanetoidenausDatenbank1Click(TCommandHost& form) {
  if (ChooseDatabaseAsteroid(form)) form.Tables().PlainCommand(33);
}

void Planetoidendatenbank1Click(TCommandHost& form) {
  BusyCursorScope busy;
  SelectAsteroidsFromDatabase(AsteroidDatabaseContextOf(form), form.Objects().ChosenDatabaseAsteroids, &form.Window());
}

// Daily overview | Asteroids from database: one row per chosen asteroid at
// the period start; the choice is asked for while none is kept.
void PlanetoidenausDatenbank2Click(TCommandHost& form) {
  TCurrentObjects& s = form.Objects();
  if (s.ChosenDatabaseAsteroids.empty()) {
    if (!SelectAsteroidsFromDatabase(AsteroidDatabaseContextOf(form), s.ChosenDatabaseAsteroids, &form.Window()))
      return;
    if (s.ChosenDatabaseAsteroids.empty()) return;
  }
  form.PrepareSheetForBatch();
  const TBatchRun run = BatchRunOf(form.Computing(), form.DocumentState(), form.Period(), 1, 0);
  TKeplereph table(form.Tables().InstantRequest(), &form.Workbook(), s.CurrentAsteroid);
  form.Tables().PrepareOutput(table);
  form.ShowHourglass();
  const TBatchResult result = AsteroidDatabaseEphemerides(run, table, s.ChosenDatabaseAsteroids, s.CurrentAsteroid);
  form.RestoreCursor();
  FinishBatchTable(form, result);
}

// Objects | Folder for asteroid databases: another folder empties both kept
// lists, searches the new folder and has the list choice start anew.
void Asteroidendatenbanken1Click(TCommandHost& form) {
  std::string& folder = form.StoredSettings().AsteroidFolder;
  std::string chosen = folder;
  if (!SelectFolder(chosen, 0, 0) || chosen == folder) return;
  folder = chosen;
  TCurrentObjects& objects = form.Objects();
  std::string error;
  for (const char* name : {kAsteroidSourceListFile, kAsteroidChosenListFile}) {
    if (!WriteSelectionList(form.DataFolder() + "/" + name, {}, error)) {
      ShowMessage("Die Auswahlliste wurde nicht gespeichert: " + error, "The selection list was not saved: " + error,
                  MessageIcon::Error);
    }
  }
  objects.ChosenDatabaseAsteroids.clear();
  objects.DatabaseListChanged = 1;
  FindAsteroidDatabaseFiles(form);
}

}  // namespace

TAsteroidDatabaseContext AsteroidDatabaseContextOf(TCommandHost& form) {
  TCurrentObjects& objects = form.Objects();
  TEphemerisPeriodState& period = form.Period();
  TAsteroidDatabaseContext context;
  context.DatabaseFolder = &form.StoredSettings().AsteroidFolder;
  context.DatabaseFiles = &objects.DatabaseFiles;
  context.ListChanged = &objects.DatabaseListChanged;
  context.DataFolder = form.DataFolder();
  context.Observer = period.Start;
  context.EnableCommands = [&form](bool present) { EnableDatabaseCommands(form, present); };
  return context;
}

bool ChooseDatabaseAsteroid(TCommandHost& form) {
  TCurrentObjects& objects = form.Objects();
  TEphemerisPeriodState& period = form.Period();
  TTableState& table = form.TableState();
  std::string file;
  {
    BusyCursorScope busy;
    file = SelectAsteroidFile(form.StoredSettings().AsteroidFolder, objects.DatabaseFiles,
                              objects.CurrentDatabaseAsteroid, period.Start, &form.Window());
  }
  if (file.empty()) return false;
  if (file != objects.CurrentDatabaseAsteroid) table.TableChanged = 1;
  objects.CurrentDatabaseAsteroid = file;
  return true;
}

std::string DatabaseAsteroidName(const std::string& file) { return std::filesystem::path(file).stem().string(); }

void FindAsteroidDatabaseFiles(TCommandHost& form) {
  FindElementListFiles(form.Objects().DatabaseFiles, form.StoredSettings().AsteroidFolder,
                       [&form](bool present) { EnableDatabaseCommands(form, present); });
}

namespace {

// Tools | Orbital elements database: the builder, then the database files
// found anew (new files may have appeared in the database folder).
void BahnelementeDatenbanktool1Click(TCommandHost& form) {
  ShowAsteroidDatabaseBuilder(form.DataFolder(), &form.Window());
  FindAsteroidDatabaseFiles(form);
}

}  // namespace

void InstallAsteroidDatabaseCommands(TCommandHost& form) {
  // Kind 33: the asteroid of the current database file; each row takes the
  // file's element set nearest to its date.
  form.Tables().Dispatcher().Register(33, [&form] {
    const TCurrentObjects& s = form.Objects();
    const TTableRequest request = form.Tables().Request();
    TKeplereph table(request, &form.Workbook(), s.CurrentAsteroid);
    table.initialisieren(request, s.CurrentAsteroid, 1, s.CurrentDatabaseAsteroid);
    form.Tables().RunStandardTable(table, 33);
  });
  TMenuCommands& menu = form.Commands();
  menu.RegisterHandler("PlanetoidenausDatenbank1", [&form] { PlanetoidenausDatenbank1Click(form); });
  menu.RegisterHandler("Planetoidendatenbank1", [&form] { Planetoidendatenbank1Click(form); });
  menu.RegisterHandler("PlanetoidenausDatenbank2", [&form] { PlanetoidenausDatenbank2Click(form); });
  menu.RegisterEnabled({
      {"Asteroidendatenbanken1", [&form] { Asteroidendatenbanken1Click(form); }},
      {"BahnelementeDatenbanktool1", [&form] { BahnelementeDatenbanktool1Click(form); }},
  });
  EnableDatabaseCommands(form, false);
}

}  // namespace kvx
