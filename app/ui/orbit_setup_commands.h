// The set-up commands of the integration menu: the start-values dialog
// (Ctrl+F11), the output format (Shift+F11), the integrator and accuracy
// (Alt+F11, also in the orbit-determination menu), opening and saving
// start-values files, and the state vectors read from the sheet
// (Ctrl+Shift+F11); and the file browser (F12).
#pragma once

#include <string>

namespace kvx {

class TMainForm;

// Registers and enables the commands.
void InstallOrbitSetupCommands(TMainForm& form);

// Start-up: reads the configured start-values file (default: the data
// folder's "14Körper1997.csv") into the integrator when it is one; a
// malformed file shows its message once and the defaults stay.
void LoadStartValuesAtStartup(TMainForm& form);

void Konfigurieren1Click(TMainForm& form);
void Ausgabeformatieren1Click(TMainForm& form);
void Rechengenauigkeit1Click(TMainForm& form);
void Dateiffnen2Click(TMainForm& form);
void Dateispeichernunter2Click(TMainForm& form);
void StatusvektorausTabellelesen1Click(TMainForm& form);
// The file browser on the data folder and the file browsed last.
void Browser1Click(TMainForm& form);

}  // namespace kvx
