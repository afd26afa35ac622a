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
//     holds costs no more memory) and checking its size and checksum; the
//     unpacked texts serve every later pass, and the library is handed a
//     new zip of them stored (copied, not inflated again);
//   - the .xml and .rels parts must be well-formed XML, and a relationship
//     part must hold the relationships of the packaging format;
//   - a workbook in the strict form of the format (its namespaces
//     http://purl.oclc.org/ooxml/...) names the same parts and elements
//     as the usual form under other namespaces: its parts get the usual
//     namespaces, which the library reads;
//   - the package's relationships are followed as the Open Packaging
//     Conventions say (a target starting with "/" from the package root,
//     any other from the folder of its source part; part names compare
//     without case, relationship parts too): the office document must be a
//     <workbook> part, every worksheet it names must be there, and at least
//     one; relationship parts whose targets the library would not find are
//     rewritten with plain relative targets, and stored under the name the
//     library looks for (beside their source part, in its letter case);
//   - what the library would pass over and read empty is refused, the part
//     named: a workbook whose <sheet> elements name their parts in another
//     namespace than the relationships', a sheet named by a relationship of
//     a type the library does not know, and a worksheet, shared-string or
//     style part named by a relationship of another type than its own;
//   - the <col> elements of every worksheet part need min and max with
//     1 <= min <= max <= 16384;
//   - the numbers of the plain number cells are read exactly (blanks
//     around them allowed); a value that is no finite number is refused
//     with its cell named;
//   - the workbook, worksheet, shared-string and style parts must be in
//     the namespace of the format (the library passes over elements of
//     any other, so such a part would open empty), and so must every
//     element of them the reading needs (xlsx_elements.h); a part that
//     writes the format's namespace with a prefix ("x:c") gets it as the
//     default namespace, which the program's own scans follow;
//   - the shared strings and the styles are found through the workbook's
//     relationship of their type or, where a producer left that out, by
//     their usual names beside the workbook part ("xl/sharedStrings.xml",
//     "xl/styles.xml"), read so and counted (TReadLoss::PartsByUsualName);
//     one that the cells name (t="s", a cell format) and that is neither is
//     refused, the part named;
//   - the inline strings of the worksheets and their error values that are
//     no formula results, which the library does not read, are taken out
//     and put in after the reading as texts (as the texts of the formulas
//     below);
//   - what the program's workbook does not keep is counted (xlsx_losses.h).
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
// none; the texts are put in after the reading.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/workbook/read_losses.h"
#include "platform/workbook/xlsx_limits.h"
#include "platform/workbook/xlsx_numbers.h"

namespace kvx::workbook {

// A cell that gets a text after the reading (the library reads no texts
// but shared ones): sheet 0-based, row and column 1-based, text in UTF-8
// with the format's "_xHHHH_" escapes still in it; the cell format (xf)
// index the file gives the cell, -1 for none.
struct TXlsxTextCell {
  int Sheet = 0;
  int Row = 1;
  int Col = 1;
  std::string Text;
  int Xf = -1;
};

// A package checked and prepared for the reading library.
struct TPreparedXlsx {
  // The package for the library: every part stored, the relationship
  // parts and formulas mended, the inline strings taken out.
  std::string Zip;
  // Where each part's text stands in Zip, by the part's name in Zip.
  std::vector<std::pair<std::string, std::pair<std::size_t, std::size_t>>> Parts;
  std::vector<TXlsxTextCell> Texts;
  // The exact numbers of the plain number cells (keys of CellKey,
  // xlsx_numbers.h), by sheet in the workbook's order.
  std::vector<TExactNumbers> Numbers;
  // The cells that hold only a format, by sheet in the same order.
  std::vector<std::vector<TXlsxFormattedCell>> FormattedEmpty;
  TReadLosses Losses;
  int DefinedNames = 0;  // the names the user defined (not "_xlnm." ones, not hidden, not "#REF!")
  bool Strict = false;   // the file was in the strict form

  // The text of a part by its name (letter case as in Zip); empty if none.
  std::string_view Part(const std::string& name) const;
};

// Checks the file's bytes and prepares them for the library.
bool PrepareXlsx(const std::string& bytes, TPreparedXlsx& prepared, std::string& error);
// The same, with the prepared package put into `bytes`; `texts` gets the
// cells that fall back to a text.
bool PrepareXlsxBytes(std::string& bytes, std::vector<TXlsxTextCell>& texts, std::string& error);

// Reads a file and prepares it.
bool ReadPreparedXlsx(const std::string& path, TPreparedXlsx& prepared, std::string& error);

// The name of the part a relationship target names: `target` from the
// package root when it starts with "/", else from the folder of
// `sourcePart` ("" for the package's own relationships); "." and ".."
// steps and %XX escapes resolved; no leading "/".
std::string ResolvePartName(const std::string& sourcePart, const std::string& target);

// Only the checks, on a file's bytes.
bool CheckXlsxBytes(const std::string& bytes, std::string& error);

}  // namespace kvx::workbook
