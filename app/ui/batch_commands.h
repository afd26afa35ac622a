// Tables over whole element files from the menus: Daily overview |
// Asteroids / Comets (the two-body place of every object at the period
// start), Integration | All asteroids / All comets (integrated) and Data for
// element file | All asteroids / All comets (integrated element sets). The
// lists are those of the asteroid and comet dialogs (their current files).
#pragma once

#include <cstdint>

#include "tables/batch_tables.h"

namespace kvx {

class TMainForm;

// The batch settings of the main window's period, theory and output.
TBatchRun BatchRunOf(TMainForm& form, std::uint8_t mode, std::uint8_t output);

// Registers the six element-file commands.
void InstallElementFileBatchCommands(TMainForm& form);

}  // namespace kvx
