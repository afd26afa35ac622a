// Numbers of .xlsx files written and read back bit for bit.
//
// The writing library puts every number into the file with 16 significant
// digits, which loses the last bit of many doubles (0.1 + 0.2 comes back as
// 0.3) and turns the largest double into one beyond the range. After it
// has written a file, WriteExactXlsxNumbers copies the package and puts
// each number cell's value in again as the shortest text that reads back
// as the same double. The reader takes the numbers of plain number cells
// straight from the file's text (ExactSheetNumbers) instead of the reading
// library's own conversion.
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
// each value read exactly (std::from_chars). Values that do not read as a
// finite number are left out.
std::uint64_t CellKey(int row, int col);
std::unordered_map<std::uint64_t, double> ExactSheetNumbers(std::string_view sheetXml);

// Copies the .xlsx package `from` (as the writer made it from `book`) to
// `to`, each worksheet part "xl/worksheets/sheetN.xml" with the value text
// of its plain number cells replaced by ExactNumberText of the number
// sheet N of `book` holds there. False (and `error`) when a package entry
// cannot be read or written; `to` may then be left half written.
bool WriteExactXlsxNumbers(const TWorkbook& book, const std::string& from, const std::string& to, std::string& error);

}  // namespace kvx::workbook
