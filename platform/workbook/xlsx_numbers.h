// Numbers of .xlsx files written and read back bit for bit.
//
// The writer puts each number into the file as the shortest text that
// reads back as the same double (xlsx_package.h); 16 digits would lose the
// last bit of many doubles (0.1 + 0.2 would come back as 0.3) and turn the
// largest double into one beyond the range. The reader takes the numbers
// of plain number cells straight from the file's text (ScanSheetCells)
// instead of the reading library's own conversion.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/workbook/workbook.h"

namespace kvx::workbook {

// A cell's key: row and column (from 1) in one number that orders cells
// row by row, as the files write them.
std::uint64_t CellKey(int row, int col);

// The numbers of a sheet's cells by CellKey, in key order (the last of
// two cells with one key counts). Kept as a list, not a table: a reader that
// walks the cells row by row finds each where the last one ended.
class TExactNumbers {
 public:
  // Adds a cell; after the last, Finish puts them in order.
  void Add(std::uint64_t key, double value) { cells_.emplace_back(key, value); }
  void Finish();
  // The number of the cell, or null; `cursor` (0 for a walk's start)
  // follows a walk in key order.
  const double* Find(std::uint64_t key, std::size_t& cursor) const;
  const double* Find(std::uint64_t key) const;
  std::size_t Size() const { return cells_.size(); }

 private:
  std::vector<std::pair<std::uint64_t, double>> cells_;
};

// A cell that holds nothing but a cell format (xf index) of its own: the
// empty cells of a text centred across them, a frame around empty cells.
struct TXlsxFormattedCell {
  int Row = 1;  // from 1
  int Col = 1;
  int Xf = 0;
};

// What one walk over a worksheet part's cells finds.
struct TSheetCells {
  // The number cells: cells without a type or of type "n" that hold no
  // formula, each value read exactly (std::from_chars; XML blanks around it
  // allowed).
  TExactNumbers Numbers;
  // The cells that hold no value (an empty or blank one) and no formula or
  // inline text, only a format other than the first, in the file's order;
  // the reading library leaves them out.
  std::vector<TXlsxFormattedCell> FormattedEmpty;
};

// Walks the cells of one worksheet part (its XML text) once. Values that do
// not read as a finite number ("NaN", "INF", "1,5") are left out, and the
// first of them named in `badCell` ("C1") when given; an empty value is no
// number and no fault.
TSheetCells ScanSheetCells(std::string_view sheetXml, std::string* badCell = nullptr);

// The rows a worksheet part marks hidden: hidden="1", or "true" as
// LibreOffice writes it (which the cell reader takes for not hidden). A row
// is found by its "r"; one without it is left out.
std::set<int> ScanHiddenRows(std::string_view sheetXml);

}  // namespace kvx::workbook
