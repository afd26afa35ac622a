// Tables over whole element files from the menus: Daily overview |
// Asteroids / Comets (the two-body place of every object at the period
// start), Integration | All asteroids / All comets (integrated) and Data for
// element file | All asteroids / All comets (integrated element sets). The
// lists are those of the asteroid and comet dialogs (their current files).
#pragma once

#include <cstdint>

#include "tables/batch_tables.h"

namespace kvx {

class TCommandHost;
struct TComputingSettings;
struct TDocumentState;
struct TEphemerisPeriodState;

// The batch settings of the main window's period, theory and output.
TBatchRun BatchRunOf(const TComputingSettings& computing, const TDocumentState& document,
                     const TEphemerisPeriodState& period, std::uint8_t mode, std::uint8_t output);

// After a batch run into the sheet or the grid: a written table makes the
// document unsaved, and a cancel says in the status line that the rows
// stored until then are in the table. Without a row the sheet is put back
// as it was before the run cleared it (a cancel then says nothing was
// written).
void FinishBatchTable(TCommandHost& host, const TBatchResult& result);

// Registers the six element-file commands.
void InstallElementFileBatchCommands(TCommandHost& host);

}  // namespace kvx
