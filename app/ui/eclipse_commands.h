// The eclipse commands of the main window: Tables -> Eclipses -> Solar
// eclipse (table kind 140) and the solar eclipse calendar (kind 146) with
// its criteria dialog, the transits of Mercury and Venus (kinds 148, 149),
// the lunar eclipse (kind 88) and the lunar eclipse calendar (kind 89) with
// its criteria dialog.
#pragma once

#include <cstdint>

#include "engine/search_object.h"

namespace kvx {

class TCommandHost;
class TWindowWidgets;
struct TComputingSettings;
struct TEphemerisPeriodState;

// The computing settings and period values every eclipse search passes on
// unchanged.
TSearchContext EclipseSearchContext(const TComputingSettings& computing, const TEphemerisPeriodState& period);

// The status panel "Finsternispanel" with a text of the current language,
// and hidden.
void ShowEclipsePanel(TWindowWidgets& window, const char* german, const char* english);
void HideEclipsePanel(TWindowWidgets& window);
// Hides the panel however a kind ends.
struct PanelGuard {
  TWindowWidgets& window;
  ~PanelGuard() { HideEclipsePanel(window); }
};

// Registers kinds 140 and 146 on the dispatcher and the commands
// "Sonnenfinsternis1" and "Sonnenfinsterniskalender1".
void InstallSolarEclipseCommands(TCommandHost& host);

// The commands themselves (menu items and tool buttons).
void Sonnenfinsternis1Click(TCommandHost& host);
void Sonnenfinsterniskalender1Click(TCommandHost& host);

// Registers kinds 88 and 89 and the commands "Mondfinsternis3" (the
// tool-bar button shares it) and "Mondfinsterniskalender1".
void InstallLunarEclipseCommands(TCommandHost& host);
// The eclipse after the start date with its events (kind 88 when found).
void Mondfinsternis3Click(TCommandHost& host);
// The criteria dialog, then the calendar over the period (kind 89).
void Mondfinsterniskalender1Click(TCommandHost& host);

}  // namespace kvx
