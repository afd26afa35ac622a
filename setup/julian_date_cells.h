// Julian dates taken from the workbook sheet: the one marked cell, and a
// marked column read into the main window's date list (the instants of the
// next table). Values must lie within 1 <= JD <= 5373484.4583 (days).
#pragma once

#include <string>
#include <vector>

namespace kvx {

namespace workbook {
class TWorkbook;
}

// The Julian date of the one marked cell of the current sheet: a number
// cell's value with every digit (whatever its format shows), a text cell's
// text read as a number. More than one
// cell marked, or a cell that is no Julian date in range: the message, `jd`
// 0 (for a bad cell) and false.
bool JulianDateFromMarkedCell(const workbook::TWorkbook& workbook, double& jd);

// Reads the marked column, first row to last, into `list` (the cell texts as
// read). A selection of more than one column (or range) is refused with its
// message and `list` stays. A cell that is no Julian date is skipped after a
// Yes/No question whether to keep warning; No silences the rest of this
// reading. False only when refused.
bool ReadJulianDateColumn(const workbook::TWorkbook& workbook, std::vector<std::string>& list);

}  // namespace kvx
