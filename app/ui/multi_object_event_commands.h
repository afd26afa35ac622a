// Konjunktionen und Ereignisse -> "Ereignisse für mehrere Objekte..."
// (Ctrl+Alt+Shift+F3): the event search over many asteroids or comets; its
// finds go into the event table (kind 84).
#pragma once

namespace kvx {

class TCommandHost;
struct TMultiObjectEventHooks;

// The dialog's view of the main window: the period, the element forms'
// lists, the database files and the range dialog.
TMultiObjectEventHooks MultiObjectEventHooksOf(TCommandHost& host);

// The command: the database choice when asteroids come from an empty
// database list, the theory question, the dialog, then the table.
void EreignissefrmehrereObjekte1Click(TCommandHost& host);

// Registers "EreignissefrmehrereObjekte1".
void InstallMultiObjectEventCommands(TCommandHost& host);

}  // namespace kvx
