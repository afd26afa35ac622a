// Formula evaluation of the workbook with the ixion formula engine, and the
// rewriting of cell references in formula texts when cells move (rows or
// columns inserted and deleted, cells sorted, copied or pasted).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/cell_reference.h"

namespace kvx::workbook {

struct TSheetData;
struct TDefinedName;

// One end of a cell reference in a formula.
struct TRefPoint {
  int Row = 0;  // 1-based
  int Col = 0;
  bool AbsRow = false;
  bool AbsCol = false;
};

// Called for every cell or range reference of a formula. sheet is the sheet
// prefix as written (without quotes and '!'), empty for the formula's own
// sheet; second is null for a single cell. Returns false when the reference
// no longer exists (it becomes #REF!).
using TReferenceVisitor = std::function<bool(const std::string& sheet, TRefPoint& first, TRefPoint* second)>;

// Rewrites the references of a formula (text without '='). Texts in quotes,
// function names and defined names are left alone.
std::string RewriteReferences(std::string_view formula, const TReferenceVisitor& visitor);

// A formula copied by (rows, cols): relative parts move along.
std::string MoveRelativeReferences(std::string_view formula, int rows, int cols);

// Replaces the sheet prefix oldName by newName (quoted when it needs
// quotes) in a formula.
std::string RenameSheetInFormula(std::string_view formula, std::string_view oldName, std::string_view newName);

// The formula with each sheet prefix that names one of `sheetNames` but for
// the case of ASCII letters ("'zahlen'!B2" on a sheet "Zahlen") written as
// the sheet is named, quoted where it was: sheet names compare without
// regard to case, the formula engine and the files' readers with it.
std::string SheetNamesAsNamed(std::string_view formula, const std::vector<std::string>& sheetNames);

// The sheet name as a formula prefix: quoted when it holds anything but
// letters, digits and '_'.
std::string QuoteSheetName(std::string_view name);

// Formulas are kept in the file syntax ('.' in numbers, ',' between
// arguments). With a decimal comma the user types and reads them in the
// local syntax instead: ',' in numbers and ';' between arguments. Texts in
// quotes and quoted sheet names are left alone. With a decimal point both
// syntaxes are the same.
std::string FormulaToLocal(std::string_view formula, char decimal);
std::string FormulaFromLocal(std::string_view formula, char decimal);

// Evaluates all formulas of the sheets and stores the results in their
// cells. Names are the workbook's defined names (sheet ids resolved through
// the sheets). Returns whether any formula was found. Every call into the
// engine is guarded: a formula that is not sound, that the engine cannot
// parse or register (or whose references cover more than kMaxFormulaCells)
// shows "#NAME?" (or "#NUM!") and hands that on to the formulas that use
// it; one that calls a function the workbook cannot compute
// (UncomputedFunction) keeps the result its file stored, else shows
// "#NAME?"; the other formulas are computed. The engine's model spans the used
// cells and every cell a reference names, so whole columns and rows cost
// no more than the used part of the sheets.
bool EvaluateFormulas(const std::vector<std::shared_ptr<TSheetData>>& sheets, const std::vector<TDefinedName>& names);

// What the workbook's own reading of a formula text (without '=') finds,
// before the formula engine sees it. A text is sound when its strings and
// quoted sheet names are closed, its parentheses balance, every '$' and
// every sheet prefix ("Sheet1!", "'Mond und Sterne'!") leads into a
// reference, and every reference lies inside the sheet: cells "$B$3",
// ranges "A1:C5", whole columns "A:C" (at most three letters, up to XFD)
// and whole rows "2:4"; a colon anywhere else ("B3630:8", "A1:B") is
// refused, as the engine reads such mixed ranges without bounds and then
// checks them for minutes. The engine's own parser reads past the end of
// some malformed texts ("$", "'"), so only sound texts are handed to it.
struct TFormulaScan {
  bool Sound = false;
  int MaxRow = 0;  // highest row and column named by a reference; 0 for none
  int MaxCol = 0;
  // The blocks the references name; 0 for both rows of a whole column and
  // both columns of a whole row.
  std::vector<TRange> Areas;
};
TFormulaScan ScanFormula(std::string_view formula);

// The most cells the references of one formula may cover (whole columns
// and rows counted within the used part of the workbook): larger blocks
// make the engine's dependency checks run for minutes, so such a formula
// shows the error "#NUM!" instead of being computed.
inline constexpr double kMaxFormulaCells = 16.0 * 1024 * 1024;

// Tells formulas the engine parses from those it does not, for many
// formulas of one workbook: sound (ScanFormula) and parsed by the engine
// with the workbook's sheet names. The .xlsx writer keeps a formula that
// fails as its text, since the reading library refuses the whole file for
// one such formula.
class TFormulaChecker {
 public:
  explicit TFormulaChecker(const std::vector<std::string>& sheetNames);
  ~TFormulaChecker();
  bool Accepts(std::string_view formula) const;
  // The formula as a file holds it: its sheet prefixes as the sheets are
  // named (SheetNamesAsNamed).
  std::string Written(std::string_view formula) const;

 private:
  struct TEngine;
  std::vector<std::string> sheetNames_;
  std::unique_ptr<TEngine> engine_;
};

// The name (ASCII upper case) of the first function the formula (without
// '=', in the file syntax) calls that the workbook cannot compute: a name no
// spreadsheet function has, or one the formula engine leaves out ("MEDIAN").
// A formula calling it shows "#NAME?". Empty when there is none. MIN, MAX,
// AVERAGE and COUNT take ranges and single values alike.
std::string UncomputedFunction(std::string_view formula);

// True when the formula text (without '=') is sound, calls only functions
// the workbook computes, and the engine parses and registers it, with the
// given sheet names known to it. This is the test a typed formula has to
// pass.
bool FormulaAccepted(std::string_view formula, const std::vector<std::string>& sheetNames = {});

// Reads the quoted sheet name starting at i (the opening apostrophe) into
// name, doubled apostrophes read as one; returns the index after the closing
// apostrophe (the formula's length when there is none). `qualified` tells
// whether a '!' follows there, making the name a sheet prefix.
std::size_t ReadQuotedSheetName(std::string_view formula, std::size_t i, std::string& name, bool& qualified);

// The end of the number starting at i: digits and points, then an exponent
// when digits follow the 'e' or 'E' (and its sign).
std::size_t NumberEnd(std::string_view formula, std::size_t i);

}  // namespace kvx::workbook
