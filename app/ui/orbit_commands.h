// The observation commands of the orbit-determination menu: "&Gauss..."
// (table kind 92: the observation table and the first orbits of all runs of
// three observations), "&Datei zeigen..." (kind 96: an observation file into
// the sheet), "Beobachtungen erfassen..." (kind 94: the empty observation
// table) and "Beobachtungen &speichern..." (the sheet's table into a file).
#pragma once

#include "orbitdet/observations.h"

namespace kvx {

class TCommandHost;
class THostCommands;

// The main window's orbit options from the configuration's 20 bytes (the
// defaults while nothing was stored).
TOrbDetOptions CurrentOrbDetOptions(TCommandHost& host);

// Registers kinds 92, 94 and 96 and the four commands, and enables them.
void InstallOrbitCommands(TCommandHost& host);

void Bahnbestimmung2Click(TCommandHost& host);
void Dateizeigen1Click(TCommandHost& host);
void Beobachtungenerfassen1Click(THostCommands& commands);
void Beobachtungenspeichern1Click(TCommandHost& host);
// "&Vorgaben...": the options dialog; OK stores the 20 bytes in the configuration.
void Bahnberechnung1Click(TCommandHost& host);
// "&Bahnverbesserung...": an observation file, then the orbit-improvement run
// (kind 93); on success the element and state rows go into the sheet.
void Laplace1Click(TCommandHost& host);
// "Statevektor erfassen...": the first row of a seven-column selection (x, y,
// z in AU, vx, vy, vz in AU/day, the epoch as a JD) in the reduced residuals
// form; OK takes the vector and epoch into the orbit-determination object.
void Saveasstatevector1Click(TCommandHost& host);

}  // namespace kvx
