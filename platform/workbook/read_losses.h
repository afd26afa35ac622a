// What a workbook file held that the program's workbook does not keep, and
// what became of it, counted by kind: the readers of .xlsx and .xls files
// count alike, the document shows one note after opening the file
// (ReadLossNote), one line per kind that occurred.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace kvx::workbook {

enum class TReadLoss {
  MergedRanges,        // unmerged; the value stays in the top-left cell
  HiddenSheets,        // hidden and very hidden sheets: shown
  Booleans,            // TRUE and FALSE, values and formula results: the numbers 1 and 0
  ErrorValues,         // error values that are no results of the workbook's formulas: their texts ("#DIV/0!")
  FormulaValues,       // formula cells of a file whose formulas are not read: their last computed values
  UnreadValues,        // formula cells without a value that can be read: empty
  TextRuns,            // texts with fonts of their own for parts of the text: plain text
  Macros,              // macro projects: not kept; a save writes a new .xlsx file
  Charts,              // charts on sheets and chart sheets
  Pictures,            // pictures and shapes of the drawings
  Comments,            // cell comments
  DataValidations,     // data validation rules
  ConditionalFormats,  // conditional formats
  Hyperlinks,          // hyperlinks (the cell texts stay)
  Tables,              // table ranges (the cells stay)
  PivotTables,         // pivot tables (their last values stay)
  DefinedNames,        // defined names the reader could not take over
  UnreadRecords,     // .xls: the records of the formulas, truth values and errors could not be read; their cells empty
  PartsByUsualName,  // .xlsx: shared strings or styles the workbook's relationships do not name, read by their usual
                     // names (other programs may read the file without them)
  SheetNames,        // sheet names the workbook cannot hold (over 31 characters, or equal to another's but for
                     // case): the sheet keeps the name it was given
  LongTexts,         // texts longer than a cell of an .xlsx file holds (32,767 characters): cut when saved so
  Protections,       // .xlsx: the passwords of protected sheets and the workbook's own protection: left out (the
                     // sheets keep their protection, without a password)
  FilterCriteria,    // .xlsx: filter criteria other than lists of values and one or two conditions (top 10,
                     // dynamic, colour, icon, date groups): left out, the filter's range and hidden rows stay
  TabColors,         // .xlsx: tab colours of the theme that the file's theme does not give: left out
  CustomProperties,  // .xlsx: custom document properties of a kind the writer does not write: left out
};

inline constexpr int kReadLossKinds = static_cast<int>(TReadLoss::CustomProperties) + 1;

struct TReadLosses {
  std::array<int, kReadLossKinds> Counts{};
  // The sheets of TReadLoss::SheetNames: the name in the file, and the
  // name the sheet was given instead.
  std::vector<std::pair<std::string, std::string>> RenamedSheets;

  int& operator[](TReadLoss kind) { return Counts[static_cast<int>(kind)]; }
  int operator[](TReadLoss kind) const { return Counts[static_cast<int>(kind)]; }
  bool Any() const {
    for (const int count : Counts) {
      if (count > 0) return true;
    }
    return false;
  }
};

// The note: a first line, then one line per kind with its count, in German
// or English (the renamed sheets named on their line: "„DATEN“ →
// „Tabelle2“"); empty when nothing was lost.
std::string ReadLossNote(const TReadLosses& losses, bool english);
// The kinds alone with their counts, in one line: "1 merged range, 2
// hidden sheets".
std::string ReadLossKinds(const TReadLosses& losses, bool english);

}  // namespace kvx::workbook
