// Formula evaluation of the workbook with the ixion formula engine, and the
// rewriting of cell references in formula texts when cells move (rows or
// columns inserted and deleted, cells sorted, copied or pasted).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
// the sheets). Returns whether any formula was found.
bool EvaluateFormulas(const std::vector<std::shared_ptr<TSheetData>>& sheets,
                      const std::vector<TDefinedName>& names);

// True when ixion accepts the formula text (without '=').
bool FormulaParses(std::string_view formula);

}  // namespace kvx::workbook
