// Numbers of .xlsx files written and read back bit for bit.
//
// The writer puts each number into the file as the shortest text that
// reads back as the same double (xlsx_package.h); 16 digits would lose the
// last bit of many doubles (0.1 + 0.2 would come back as 0.3) and turn the
// largest double into one beyond the range. The reader takes the numbers
// of plain number cells straight from the file's text (ExactSheetNumbers)
// instead of the reading library's own conversion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/workbook/workbook.h"

namespace kvx::workbook {

// The shortest decimal text that reads back as exactly `value`
// (std::to_chars: "0.1", "1e-300", "-0"); "0" for a value that is not
// finite (the file format has no such number).
std::string ExactNumberText(double value);

// The number cells of one worksheet part (its XML text): cells without a
// type or of type "n" that hold no formula, keyed by CellKey(row, col),
// each value read exactly (std::from_chars; XML blanks around it allowed).
// Values that do not read as a finite number ("NaN", "INF", "1,5") are left
// out, and the first of them named in `badCell` ("C1") when given; an
// empty value is no number and no fault.
std::uint64_t CellKey(int row, int col);
std::unordered_map<std::uint64_t, double> ExactSheetNumbers(std::string_view sheetXml, std::string* badCell = nullptr);

}  // namespace kvx::workbook
