// The records of a sheet: cell formats, cells with their cached formula
// results, page set-up, one sheet's contents and settings, defined names.
// The workbook (workbook.h) keeps them; the formula engine and the files
// read them without the workbook. Units and numbering as in workbook.h.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/workbook/cell_reference.h"

namespace kvx::workbook {

// ------------------------------------------------------------------ formats

// Horizontal alignment codes: 1 general, 2 left, 3 centre, 4 right, 5 fill,
// 6 justify, 7 centre across the selection. Vertical: 1 top, 2 centre,
// 3 bottom. Orientation: 0 horizontal, 1 letters stacked, 2 turned up
// (90 degrees counter-clockwise), 3 turned down.
struct TAlignment {
  int Horizontal = 1;
  bool Wrap = false;
  int Vertical = 3;
  int Orientation = 0;
  bool operator==(const TAlignment&) const = default;
};

struct TCellFont {
  std::string Face = "Arial";
  double Size = 10.0;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Strikeout = false;
  std::uint32_t Color = 0x000000;
  bool Outline = false;
  bool Shadow = false;
  bool operator==(const TCellFont&) const = default;
};

// Border line styles: 0 none, 1 thin, 2 medium, 3 dashed, 4 dotted, 5 thick,
// 6 double, 7 hair.
struct TBorderLine {
  int Style = 0;
  std::uint32_t Color = 0x000000;
  bool operator==(const TBorderLine&) const = default;
};

struct TBorders {
  TBorderLine Left, Right, Top, Bottom;
  bool operator==(const TBorders&) const = default;
};

// Fill pattern: 0 none, 1 solid, 2..18 the hatchings of .xlsx files, drawn
// in the foreground colour on the background colour.
struct TPattern {
  int Pattern = 0;
  std::uint32_t Foreground = 0xFFFFFF;
  std::uint32_t Background = 0xFFFFFF;
  bool operator==(const TPattern&) const = default;
};

struct TProtection {
  bool Locked = true;
  bool Hidden = false;  // the formula is not shown while protection is on
  bool operator==(const TProtection&) const = default;
};

struct TCellStyle {
  std::string NumberFormat;  // canonical; empty is General
  TAlignment Alignment;
  TCellFont Font;
  TBorders Borders;
  TPattern Pattern;
  TProtection Protection;
  bool operator==(const TCellStyle&) const = default;
};

// ------------------------------------------------------------------- cells

enum class TCellKind : std::uint8_t { Empty, Number, Text, Formula };

// What a formula produced last time it was computed.
enum class TFormulaResult : std::uint8_t { Number, Text, Error };

struct TCell {
  TCellKind Kind = TCellKind::Empty;
  TFormulaResult Result = TFormulaResult::Number;  // formulas only
  std::uint32_t Style = 0;                         // index into the workbook's style table; 0 is the default
  // The text the cell had in the text file it was read from: 1 + its index
  // in the workbook's TTextSource::Cells; 0 for none. It goes with the cell
  // when the cell moves; the setters of the contents clear it.
  std::uint32_t Source = 0;
  double Number = 0.0;  // the number, or the numeric result of a formula
  std::string Text;     // the text, or the text or error of a formula
  std::string Formula;  // the formula without its leading '='
};

// How a line of a text file ended.
enum class TLineEnd : std::uint8_t { None, CrLf, Lf, Cr };

// A line of the text file a sheet was read from: the fields it had (its
// separators plus one; 0 for an empty line) and how it ended. Row r of the
// sheet is line r; whole rows and columns inserted or deleted move them.
struct TTextLine {
  std::uint32_t Fields = 0;
  TLineEnd End = TLineEnd::CrLf;
};

// The switches of a page set-up: print order, centring on the paper and
// what is printed besides the cells.
struct TPrintOptions {
  bool LeftToRight = false;  // print order: across, then down
  bool HCenter = false;
  bool VCenter = false;
  bool GridLines = false;
  bool NoColor = false;
  bool RowHeading = false;
  bool ColHeading = false;
};

struct TPageSetup : TPrintOptions {
  std::string Header;
  std::string Footer;
  double LeftMargin = 0.75;  // inches
  double RightMargin = 0.75;
  double TopMargin = 1.0;
  double BottomMargin = 1.0;
  double HeaderMargin = 0.3;  // from the page's edge to the header, inches
  double FooterMargin = 0.3;
  bool Landscape = false;
  int PaperSize = 9;  // 1 Letter, 9 A4 (the codes of .xlsx page set-up)
  // Print scale: a percentage, or fit to pages wide by pages tall.
  int ScalePercent = 100;
  bool FitToPages = false;
  int PagesTall = 1;
  int PagesWide = 1;
};

// A run of rows or columns, first to last (1-based, first <= last).
struct TLineRun {
  int First = 1;
  int Last = 1;
  bool operator==(const TLineRun&) const = default;
};

// One column's criteria of a sheet's filter: the values shown (with the
// empty cells, where `Blanks`), or one or two conditions ("greaterThan"
// "4"; an empty operator is "equal"), both met (`And`) or either.
struct TFilterCondition {
  std::string Operator;
  std::string Value;
  bool operator==(const TFilterCondition&) const = default;
};
struct TFilterColumn {
  int Column = 0;  // 0 for the filter range's first column
  std::vector<std::string> Values;
  bool Blanks = false;
  std::vector<TFilterCondition> Conditions;
  bool And = false;
  bool operator==(const TFilterColumn&) const = default;
};

// What a protected sheet still lets its user do, as the file says it.
struct TSheetProtection {
  bool SelectLockedCells = true;
  bool SelectUnlockedCells = true;
  bool FormatCells = false;
  bool FormatColumns = false;
  bool FormatRows = false;
  bool InsertColumns = false;
  bool InsertRows = false;
  bool InsertHyperlinks = false;
  bool DeleteColumns = false;
  bool DeleteRows = false;
  bool Sort = false;
  bool AutoFilter = false;
  bool PivotTables = false;
  bool EditObjects = false;
  bool EditScenarios = false;
  bool operator==(const TSheetProtection&) const = default;
};

// One sheet's contents and settings.
struct TSheetData {
  int Id = 0;  // stable identity for names, kept by copies
  std::string Name;
  bool Selected = false;
  std::vector<std::vector<TCell>> Rows;  // Rows[row - 1][col - 1], ragged
  std::map<int, double> ColWidths;       // custom widths
  std::map<int, double> RowHeights;      // custom heights
  std::set<int> HiddenCols;
  std::set<int> HiddenRows;
  double DefaultColWidth = 8.43;
  double DefaultRowHeight = 12.75;
  int FixedRows = 0;
  int FixedCols = 0;
  std::vector<TRange> Selection{TRange{}};
  int ActiveRow = 1;
  int ActiveCol = 1;
  int TopRow = 1;  // first row and column shown in the scrolling area
  int LeftCol = 1;
  std::set<int> RowBreaks;  // a break after this row
  std::set<int> ColBreaks;  // a break after this column
  TPageSetup Page;
  std::optional<std::uint32_t> TabColor;       // the colour of the sheet's tab (0xRRGGBB), where it has one
  std::optional<TRange> AutoFilter;            // the range of the sheet's filter buttons, where it has them
  std::vector<TFilterColumn> FilterColumns;    // the criteria of the filter, by column
  std::optional<TSheetProtection> Protection;  // where the sheet is protected
  // The rows and columns printed again on every page (the file's print
  // titles), where the sheet has them.
  std::optional<TLineRun> TitleRows;
  std::optional<TLineRun> TitleCols;
  std::vector<TTextLine> TextLines;  // the lines of the text file the sheet was read from; none for others

  const TCell* CellAt(int row, int col) const;
  int LastRow() const;
  int LastCol() const;
  int LastColForRow(int row) const;
  double ColWidth(int col) const;
  double RowHeight(int row) const;
};

// A defined name: a range on one sheet. "Print_Area" is local to its sheet
// (each sheet may have one); other names belong to the whole workbook.
struct TDefinedName {
  std::string Name;
  int SheetId = 0;
  TRange Range;
  bool Local = false;
};

}  // namespace kvx::workbook
