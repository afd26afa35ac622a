// The binary asteroid database in the main window: the list of its files,
// Objects | Asteroid database (the list choice), Tables | Asteroids from
// database (kind 33, one file's asteroid with the element set of each row's
// date) and the database builder of the tools menu.
#pragma once

#include <string>

#include "app/ui/asteroid_selection_dialogs.h"

namespace kvx {

class TCommandHost;

// The selection dialogs' view of the main window.
TAsteroidDatabaseContext AsteroidDatabaseContextOf(TCommandHost& host);

// Searches the database folder for ".eel" files and enables the database
// items when any was found.
void FindAsteroidDatabaseFiles(TCommandHost& host);

// Chooses one asteroid of the database (the single-file choice over the
// database folder) as the current database asteroid; false when the choice
// was cancelled.
bool ChooseDatabaseAsteroid(TCommandHost& host);

// The name of a database asteroid: its file's name without the extension
// ("Ceres" for ".../Ceres.eel"); empty for an empty path.
std::string DatabaseAsteroidName(const std::string& file);

// Registers kind 33 and the database commands.
void InstallAsteroidDatabaseCommands(TCommandHost& host);

}  // namespace kvx
