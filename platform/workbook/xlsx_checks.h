// Checks of an .xlsx file before the spreadsheet-reading library sees it.
//
// The library trusts the zip directory: an entry that declares 4 GiB makes
// it allocate 4 GiB. It also stops the program (an assertion) on a <col>
// element without its column range, and follows relationship targets only
// relative to their folder and in the letter case of the zip entries. So
// before reading:
//   - the zip container is walked: every entry of the central directory
//     needs a local header inside the file with the same sizes, a method of
//     stored (sizes equal) or deflated, and a declared uncompressed size
//     that deflate can reach from its compressed size (at most 1032 times
//     as large, plus a little), each at most kMaxXlsxPartBytes, all
//     together at most kMaxXlsxBytes;
//   - every entry is unpacked once, in pieces, counting the bytes it really
//     gives against the same limits (so a part that declares less than it
//     holds costs no more memory) and checking its size and checksum;
//   - the package's relationships are followed as the Open Packaging
//     Conventions say (a target starting with "/" from the package root,
//     any other from the folder of its source part; part names compare
//     without case): the office document must be a <workbook> part, every
//     worksheet it names must be there, and at least one; relationship
//     parts whose targets the library would not find are rewritten with
//     plain relative targets;
//   - the <col> elements of every worksheet part need min and max with
//     1 <= min <= max <= 16384;
//   - the inline strings of the worksheets, which the library does not
//     read, are taken out and put in after the reading (as the texts of
//     the formulas below).
// A file failing a check is refused with the reason in `error`: an English
// line of read_failure.h.
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

// The most bytes all parts of an .xlsx file together, and one part alone,
// may unpack to (also the largest file read).
inline constexpr std::uint64_t kMaxXlsxBytes = 96ull * 1024 * 1024;
inline constexpr std::uint64_t kMaxXlsxPartBytes = 64ull * 1024 * 1024;

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

// The name of the part a relationship target names: `target` from the
// package root when it starts with "/", else from the folder of
// `sourcePart` ("" for the package's own relationships); "." and ".."
// steps and %XX escapes resolved; no leading "/".
std::string ResolvePartName(const std::string& sourcePart, const std::string& target);

// The first part of a package (checked before) that is no well-formed
// XML, among its .xml and .rels parts; "" when all are.
std::string MalformedXmlPart(const std::string& bytes);

// Only the checks, on a file's bytes.
bool CheckXlsxBytes(const std::string& bytes, std::string& error);

}  // namespace kvx::workbook
