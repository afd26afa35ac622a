// The set-up commands of the integration menu: the start-values dialog
// (Ctrl+F11), the output format (Shift+F11), the integrator and accuracy
// (Alt+F11, also in the orbit-determination menu), opening and saving
// start-values files, and the state vectors read from the sheet
// (Ctrl+Shift+F11); and the file browser (F12).
#pragma once

#include <string>

namespace kvx {

class TCommandHost;

// Registers and enables the commands.
void InstallOrbitSetupCommands(TCommandHost& host);

// Start-up: reads the configured start-values file (default: the data
// folder's "14Körper1997.csv") into the integrator when it is one; a
// malformed file shows its message once and the defaults stay.
void LoadStartValuesAtStartup(TCommandHost& host);

void Konfigurieren1Click(TCommandHost& host);
void Ausgabeformatieren1Click(TCommandHost& host);
void Rechengenauigkeit1Click(TCommandHost& host);
void Dateiffnen2Click(TCommandHost& host);
void Dateispeichernunter2Click(TCommandHost& host);
void StatusvektorausTabellelesen1Click(TCommandHost& host);
// The file browser on the data folder and the file browsed last.
void Browser1Click(TCommandHost& host);

}  // namespace kvx
