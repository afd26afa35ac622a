// Checks of an .xlsx file before the spreadsheet-reading library sees it.
//
// The library trusts the zip directory: an entry that declares 4 GiB makes
// it allocate 4 GiB. It also stops the program (an assertion) on a <col>
// element without its column range. So before reading:
//   - the zip container is walked: every entry of the central directory
//     needs a local header inside the file with the same sizes, a method of
//     stored (sizes equal) or deflated, and a declared uncompressed size
//     that deflate can reach from its compressed size (at most 1032 times
//     as large, plus a little); all entries together at most kMaxXlsxBytes;
//   - the <col> elements of every worksheet part (inflated here up to the
//     sheet's cell data, where they end) need min and max with
//     1 <= min <= max <= 16384.
// A file failing a check is refused with the reason in `error` (English).
//
// The library also refuses a whole file for one formula it cannot register
// ("$1", a whole row without its range), and keeps neither the text nor the
// stored value of a formula it cannot parse ("Sheet9!A1" without that
// sheet). A cell whose formula the workbook's own scan refuses or the
// formula engine cannot parse with the file's sheet names (TFormulaChecker)
// is therefore replaced, before
// the library reads the file, by the value the file stored for it (number,
// truth value or text), or by the formula's text ("=$1") when it stored
// none; the file is then handed to the library as a new zip with the
// changed parts stored, and the texts are put in after the reading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvx::workbook {

// The most uncompressed bytes all parts of an .xlsx file may declare.
inline constexpr std::uint64_t kMaxXlsxBytes = 1536ull * 1024 * 1024;

// A cell that gets a text after the reading (the library reads no texts
// but shared ones): sheet 0-based, row and column 1-based, text in UTF-8
// with the format's "_xHHHH_" escapes still in it.
struct TXlsxTextCell {
  int Sheet = 0;
  int Row = 1;
  int Col = 1;
  std::string Text;
};

// Checks the file's bytes and mends its bad formulas in place; `texts`
// gets the cells that fall back to a text.
bool PrepareXlsxBytes(std::string& bytes, std::vector<TXlsxTextCell>& texts, std::string& error);

// Reads a file and prepares its bytes.
bool ReadPreparedXlsx(const std::string& path, std::string& bytes, std::vector<TXlsxTextCell>& texts,
                      std::string& error);

// Only the checks, on a file's bytes.
bool CheckXlsxBytes(const std::string& bytes, std::string& error);

}  // namespace kvx::workbook
