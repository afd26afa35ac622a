// The state vectors of an integration read back from the active sheet: the
// block the integrator writes (a cell ":name;x;y;z;x1;y1;z1;1/m;jdequinox;jd",
// a row of column titles, then one row per body: name, x, y, z (AU),
// x1, y1, z1 (AU/day), 1/m (1/solar masses), equinox JD, epoch JD).
#pragma once

#include <optional>
#include <utility>

#include "engine/nbody_setup.h"
#include "platform/workbook/workbook.h"

namespace kvx {

// The header cell (row, column; 1-based) of the current sheet, searched
// column by column, row by row, when the used area has more than 2 columns
// and at least 10 rows; nothing otherwise.
std::optional<std::pair<int, int>> FindStateVectorHeader(const workbook::TWorkbook& book);

// Reads the bodies under the header into the set-up as the start-value file
// reader does (names cut to 50 characters, mass = 1/(1/m) or 0, the second
// body's equinox JD and JD, at most 14 bodies, ending at an empty name cell
// or the used area). False, with the set-up unchanged, when there is no
// header or no body row, or a body's 1/m is negative (which the start-values
// file refuses too); the caller then shows
// "Im aktiven Tabellenblatt wurde kein State-Vector im gültigen Format
// gefunden" / "No valid state-vector found in the active sheet." (stop icon).
bool ReadStateVectorFromSheet(const workbook::TWorkbook& book, TIntegrationSetup& setup);

// That message through the message seam.
void ShowNoStateVectorMessage();

}  // namespace kvx
