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

void EnableDatabaseCommands(THostCommands& commands, bool present) {
  TMenuCommands& menu = commands.Commands();
  menu.SetEnabled("Planetoidendatenbank1", present);
  menu.SetEnabled("PlanetoidenausDatenbank1", present);
  menu.SetEnabled("PlanetoidenausDatenbank2", present);
}

// Tables | Asteroids from database: one file of the database, then its table.
void PlanetoidenausDatenbank1Click(TCommandHost& host) {
  if (ChooseDatabaseAsteroid(host)) host.Tables().PlainCommand(33);
}

void Planetoidendatenbank1Click(TCommandHost& host) {
  BusyCursorScope busy;
  SelectAsteroidsFromDatabase(AsteroidDatabaseContextOf(host), host.Objects().ChosenDatabaseAsteroids, &host.Window());
}

// Daily overview | Asteroids from database: one row per chosen asteroid at
// the period start; the choice is asked for while none is kept.
void PlanetoidenausDatenbank2Click(TCommandHost& host) {
  TCurrentObjects& s = host.Objects();
  if (s.ChosenDatabaseAsteroids.empty()) {
    if (!SelectAsteroidsFromDatabase(AsteroidDatabaseContextOf(host), s.ChosenDatabaseAsteroids, &host.Window()))
      return;
    if (s.ChosenDatabaseAsteroids.empty()) return;
  }
  host.PrepareSheetForBatch();
  const TBatchRun run = BatchRunOf(host.Computing(), host.DocumentState(), host.Period(), 1, 0);
  TKeplereph table(host.Tables().InstantRequest(), &host.Workbook(), s.CurrentAsteroid);
  host.Tables().PrepareOutput(table);
  host.ShowHourglass();
  const TBatchResult result = AsteroidDatabaseEphemerides(run, table, s.ChosenDatabaseAsteroids, s.CurrentAsteroid);
  host.RestoreCursor();
  FinishBatchTable(host, result);
}

// Objects | Folder for asteroid databases: another folder empties both kept
// lists, searches the new folder and has the list choice start anew.
void Asteroidendatenbanken1Click(TCommandHost& host) {
  std::string& folder = host.StoredSettings().AsteroidFolder;
  std::string chosen = folder;
  if (!SelectFolder(chosen, 0, 0) || chosen == folder) return;
  folder = chosen;
  TCurrentObjects& objects = host.Objects();
  std::string error;
  for (const char* name : {kAsteroidSourceListFile, kAsteroidChosenListFile}) {
    if (!WriteSelectionList(host.DataFolder() + "/" + name, {}, error)) {
      ShowMessage("Die Auswahlliste wurde nicht gespeichert: " + error, "The selection list was not saved: " + error,
                  MessageIcon::Error);
    }
  }
  objects.ChosenDatabaseAsteroids.clear();
  objects.DatabaseListChanged = 1;
  FindAsteroidDatabaseFiles(host);
}

}  // namespace

TAsteroidDatabaseContext AsteroidDatabaseContextOf(TCommandHost& host) {
  TCurrentObjects& objects = host.Objects();
  TEphemerisPeriodState& period = host.Period();
  TAsteroidDatabaseContext context;
  context.DatabaseFolder = &host.StoredSettings().AsteroidFolder;
  context.DatabaseFiles = &objects.DatabaseFiles;
  context.ListChanged = &objects.DatabaseListChanged;
  context.DataFolder = host.DataFolder();
  context.Observer = period.Start;
  context.EnableCommands = [&host](bool present) { EnableDatabaseCommands(host, present); };
  return context;
}

bool ChooseDatabaseAsteroid(TCommandHost& host) {
  TCurrentObjects& objects = host.Objects();
  TEphemerisPeriodState& period = host.Period();
  TTableState& table = host.TableState();
  std::string file;
  {
    BusyCursorScope busy;
    file = SelectAsteroidFile(host.StoredSettings().AsteroidFolder, objects.DatabaseFiles,
                              objects.CurrentDatabaseAsteroid, period.Start, &host.Window());
  }
  if (file.empty()) return false;
  if (file != objects.CurrentDatabaseAsteroid) table.TableChanged = 1;
  objects.CurrentDatabaseAsteroid = file;
  return true;
}

std::string DatabaseAsteroidName(const std::string& file) { return std::filesystem::path(file).stem().string(); }

void FindAsteroidDatabaseFiles(TCommandHost& host) {
  FindElementListFiles(host.Objects().DatabaseFiles, host.StoredSettings().AsteroidFolder,
                       [&host](bool present) { EnableDatabaseCommands(host, present); });
}

namespace {

// Tools | Orbital elements database: the builder, then the database files
// found anew (new files may have appeared in the database folder).
void BahnelementeDatenbanktool1Click(TCommandHost& host) {
  ShowAsteroidDatabaseBuilder(host.DataFolder(), &host.Window());
  FindAsteroidDatabaseFiles(host);
}

}  // namespace

void InstallAsteroidDatabaseCommands(TCommandHost& host) {
  // Kind 33: the asteroid of the current database file; each row takes the
  // file's element set nearest to its date.
  host.Tables().Dispatcher().Register(33, [&host] {
    const TCurrentObjects& s = host.Objects();
    const TTableRequest request = host.Tables().Request();
    TKeplereph table(request, &host.Workbook(), s.CurrentAsteroid);
    table.initialisieren(request, s.CurrentAsteroid, 1, s.CurrentDatabaseAsteroid);
    host.Tables().RunStandardTable(table, 33);
  });
  TMenuCommands& menu = host.Commands();
  menu.RegisterHandler("PlanetoidenausDatenbank1", [&host] { PlanetoidenausDatenbank1Click(host); });
  menu.RegisterHandler("Planetoidendatenbank1", [&host] { Planetoidendatenbank1Click(host); });
  menu.RegisterHandler("PlanetoidenausDatenbank2", [&host] { PlanetoidenausDatenbank2Click(host); });
  menu.RegisterEnabled({
      {"Asteroidendatenbanken1", [&host] { Asteroidendatenbanken1Click(host); }},
      {"BahnelementeDatenbanktool1", [&host] { BahnelementeDatenbanktool1Click(host); }},
  });
  EnableDatabaseCommands(host, false);
}

}  // namespace kvx
