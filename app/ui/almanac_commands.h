// The almanac (Konjunktionen und Ereignisse -> "&Almanach", Shift+F9, table
// kind 85) and the overview of today ("&Heute", Ctrl+Alt+Shift+F9, table
// kind 87). The overview's options live in the settings store
// ("Settings"/"TodayOptions", 39 digits).
#pragma once

namespace kvx {

class TCommandHost;

// Registers kinds 85 and 87 on the dispatcher and the two commands.
void InstallAlmanacCommands(TCommandHost& host);

void Almanach1Click(TCommandHost& host);
void Heute1Click(TCommandHost& host);

}  // namespace kvx
