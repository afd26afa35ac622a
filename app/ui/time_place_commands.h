// The time and place commands beside date and place, place and period: the
// Julian date, the computer's clock, the day fraction, daylight saving, UT
// entry, the period as Julian dates, a Julian date from the sheet and the
// date list; the cell macros of the Tools menu and the sheet context menu;
// the table configuration and its file; the status-line, tool-bar and
// warnings items of the View menu.
#pragma once

namespace kvx {

class TCommandHost;

// Registers the handlers on the main window's commands.
void InstallTimePlaceCommands(TCommandHost& host);

}  // namespace kvx
