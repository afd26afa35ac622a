// The solar eclipse commands of the main window: Tables -> Eclipses ->
// Solar eclipse (table kind 140) and the solar eclipse calendar (kind 146)
// with its criteria dialog.
#pragma once

#include <cstdint>

#include "engine/search_object.h"

namespace kvx {

class TCommandHost;
struct TComputingSettings;
struct TEphemerisPeriodState;

// The computing settings and period values every eclipse search passes on
// unchanged.
TSearchContext EclipseSearchContext(const TComputingSettings& computing, const TEphemerisPeriodState& period);

// The status panel "Finsternispanel" with a text of the current language,
// and hidden.
void ShowEclipsePanel(TCommandHost& form, const char* german, const char* english);
void HideEclipsePanel(TCommandHost& form);
// Hides the panel however a kind ends.
struct PanelGuard {
  TCommandHost& form;
  ~PanelGuard() { HideEclipsePanel(form); }
};

// A search that did not end in a table: the sheet as it was before the
// kind cleared it, and no table kind.
void LeaveWithoutTable(TCommandHost& form);

// Registers kinds 142 and 143 and the commands "Sternbedeckungen1" and
// "Planeten1" (the occultations by the Moon; occultation_commands.cpp).
void InstallLunarOccultationCommands(TCommandHost& form);
void Sternbedeckungen1Click(TCommandHost& form);
void Planeten1Click(TCommandHost& form);
// Tables -> "Sternbedeckungen durch Planeten..." (kind 145, the options
// dialog first).
void OccultationsofStarsbyPlanets1Click(TCommandHost& form);

// Registers kinds 140 and 146 on the dispatcher and the commands
// "Sonnenfinsternis1" and "Sonnenfinsterniskalender1".
void InstallSolarEclipseCommands(TCommandHost& form);

// The commands themselves (menu items and tool buttons).
void Sonnenfinsternis1Click(TCommandHost& form);
void Sonnenfinsterniskalender1Click(TCommandHost& form);

}  // namespace kvx
