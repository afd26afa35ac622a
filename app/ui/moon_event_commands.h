// The phenomena of the moons of Jupiter and Saturn from the "Tabellen"
// menu: the six commands of the Jupiter-moon and Saturn-moon submenus and
// the table kinds 102, 104, 105 and 112 .. 117 of the dispatcher. The
// events of the last run stay in the main window's moon-event list.
#pragma once

#include <cstdint>

namespace kvx {

class TCommandHost;
class TWindowWidgets;
class TMoonEventList;

// Registers the kinds and the commands and enables the six items.
void InstallMoonEventCommands(TCommandHost& host);

// The main window's moon-event list (installed with the commands).
const TMoonEventList* MoonEventListOf(TWindowWidgets& window);

}  // namespace kvx
