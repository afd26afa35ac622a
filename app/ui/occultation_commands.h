// The occultations by the Moon from the main window: Tables -> Moon ->
// Occultations of stars (table kind 142, the criteria dialog first) and
// Occultations of planets (kind 143); Tables -> Occultations of stars by
// planets (kind 145, the options dialog first).
#pragma once

namespace kvx {

class TCommandHost;

// Registers kinds 142, 143 and 145 and the commands "Sternbedeckungen1",
// "Planeten1" and "OccultationsofStarsbyPlanets1".
void InstallLunarOccultationCommands(TCommandHost& host);
void Sternbedeckungen1Click(TCommandHost& host);
void Planeten1Click(TCommandHost& host);
// Tables -> "Sternbedeckungen durch Planeten..." (kind 145, the options
// dialog first).
void OccultationsofStarsbyPlanets1Click(TCommandHost& host);

}  // namespace kvx
