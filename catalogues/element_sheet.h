// Element tables in the workbook sheet: the element-file header and column
// titles, and one element set per row, as the asteroid and comet element
// windows write them (and read them back from a cell reference).
//
// Layout, from A1 of the current sheet:
//   row 1   A1 ":BAHNELEMENTE PLANETOIDEN VAMUR!" (asteroids) or
//           ":BAHNELEMENTE KOMETEN VAMUR EXT!" (comets)
//   row 2   ":" + the title of the object quantity (format slot 161), then
//           the titles of the element quantities, from the table
//           configuration's ColumnTitles
//   row 3.. the name, then the values, each a number with the data format
//           of its quantity (engine/cell_format.h)
// Columns after the name (format slot in brackets):
//   asteroids  a [135] AU, e [137], i [138], node [139], perihelion [140]
//              degrees, M [142] degrees, n [143] degrees per day, equinox
//              [147] year, epoch [164] Julian day, H [165], G [166]
//   comets     q [136] AU, e [137], i [138], node [139], perihelion [140]
//              degrees, equinox [147] year, T [144] Julian day, H [165],
//              G [166], epoch [164] Julian day
#pragma once

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/table_config.h"
#include "platform/workbook/workbook.h"

namespace kvx {

inline constexpr const char* kAsteroidElementSheetHeader = ":BAHNELEMENTE PLANETOIDEN VAMUR!";
inline constexpr const char* kCometElementSheetHeader = ":BAHNELEMENTE KOMETEN VAMUR EXT!";

// Rows 1 and 2 of an element table with the titles of `config`; other cells
// are left as they are.
void WriteAsteroidElementHeaderToSheet(workbook::TWorkbook& sheet, const TTableConfigRecord& config);
void WriteCometElementHeaderToSheet(workbook::TWorkbook& sheet, const TTableConfigRecord& config);

// Appends one element set as a new row after the last used row, then selects
// A1:A1, fits the rows and columns of the used range from A1 and selects
// A1:A1 again.
void AppendAsteroidElementRowToSheet(workbook::TWorkbook& sheet, const TAsteroidElements& elements);
void AppendCometElementRowToSheet(workbook::TWorkbook& sheet, const TCometElements& elements);

}  // namespace kvx
