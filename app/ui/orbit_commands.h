// The observation commands of the orbit-determination menu: "&Gauss..."
// (table kind 92: the observation table and the first orbits of all runs of
// three observations), "&Datei zeigen..." (kind 96: an observation file into
// the sheet), "Beobachtungen erfassen..." (kind 94: the empty observation
// table) and "Beobachtungen &speichern..." (the sheet's table into a file).
#pragma once

#include "orbitdet/observations.h"

namespace kvx {

class TMainForm;

// The main window's orbit options from the configuration's 20 bytes (the
// defaults while nothing was stored).
TOrbDetOptions CurrentOrbDetOptions(TMainForm& form);

// Registers kinds 92, 94 and 96 and the four commands, and enables them.
void InstallOrbitCommands(TMainForm& form);

void Bahnbestimmung2Click(TMainForm& form);
void Dateizeigen1Click(TMainForm& form);
void Beobachtungenerfassen1Click(TMainForm& form);
void Beobachtungenspeichern1Click(TMainForm& form);
// "&Vorgaben...": the options dialog; OK stores the 20 bytes in the configuration.
void Bahnberechnung1Click(TMainForm& form);
// "&Bahnverbesserung...": an observation file, then the orbit-improvement run
// (kind 93); on success the element and state rows go into the sheet.
void Laplace1Click(TMainForm& form);
// "Statevektor erfassen...": the first row of a seven-column selection (x, y,
// z in AU, vx, vy, vz in AU/day, the epoch as a JD) in the reduced residuals
// form; OK takes the vector and epoch into the orbit-determination object.
void Saveasstatevector1Click(TMainForm& form);

}  // namespace kvx
