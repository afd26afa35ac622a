// The solar eclipse commands of the main window: Tables -> Eclipses ->
// Solar eclipse (table kind 140) and the solar eclipse calendar (kind 146)
// with its criteria dialog.
#pragma once

#include <cstdint>

#include "engine/search_object.h"

namespace kvx {

class TMainForm;

// The main window's values every eclipse search passes on unchanged.
TSearchContext EclipseSearchContext(TMainForm& form);

// Registers kinds 140 and 146 on the dispatcher and the commands
// "Sonnenfinsternis1" and "Sonnenfinsterniskalender1".
void InstallSolarEclipseCommands(TMainForm& form);

// The commands themselves (menu items and tool buttons).
void Sonnenfinsternis1Click(TMainForm& form);
void Sonnenfinsterniskalender1Click(TMainForm& form);

}  // namespace kvx
