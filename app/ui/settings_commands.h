// The Settings, View, Objects and Tools commands of the main window that
// work on the window as a whole: configuration files, the period from the
// configuration, option dialogs, the clock bar, the tool-bar layout, hints,
// the switch between the workbook and the result grid, the Settings menu's
// states, the movable feasts, the manual, the external program and the
// world city database.
#pragma once

#include <string>

namespace kvx {

class TCommandHost;

// Registers the commands and the clock bar on the window.
void InstallSettingsCommands(TCommandHost& host);

// "Settings | New configuration": every setting the configuration file
// holds back to the start-up defaults (the files it names stay), no
// configuration file named, the table computed again.
void NewConfiguration(TCommandHost& host);

// The external-program search of the first run: the usual spreadsheet
// programs in PATH (localc, libreoffice, soffice, gnumeric); when none is
// found the question whether to choose one is asked, once. Skipped when a
// program is set or "Settings"/"FindExcel" is false, which it becomes.
void SearchForExternalProgram(TCommandHost& host);
// Integration | Data for element file | Create asteroid database and its
// table kind (app/ui/database_commands.cpp).
void InstallDatabaseCommands(TCommandHost& host);

// Runs the search once the window shows (the program's start-up).
void InstallExternalProgramSearch(TCommandHost& host);

}  // namespace kvx
