// The workbook: a headless spreadsheet model with sheets of cells (texts,
// numbers, formulas with cached results), cell formats, sizes, selection,
// names, page set-up and transactions. Every table of the program lands in
// it; the Qt view (platform/qt/workbook_view.h) shows and edits it, the file
// routines (platform/workbook/workbook_files.h) save and load it.
//
// Numbering: sheets, rows and columns count from 1. Where a range is given
// by its bounds (row1, col1, row2, col2), -1 means "all": all rows or all
// columns of the sheet, which the operations clip to the used area where
// the result would otherwise be unbounded.
//
// Sizes: column widths in characters of the default font (as in .xlsx
// files; 8.43 by default), row heights in points (12.75 by default). Font
// sizes are set in points and read in twentieths of a point. Page margins
// are in inches. Colours are 0xRRGGBB.
//
// Number formats are given and read in local form, written with the
// separators of IntlSeparators ("0,00" with German separators); the model
// keeps them in canonical form (see number_format.h).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/text_encoding.h"
#include "platform/workbook/cell_reference.h"
#include "platform/workbook/number_format.h"
#include "platform/workbook/read_losses.h"
#include "platform/workbook/sheet_data.h"
#include "platform/workbook/text_source.h"

namespace kvx::workbook {

// What changed, for the view and other listeners.
enum class TChange : std::uint8_t {
  Cells,          // contents or formats of cells of the current sheet
  Structure,      // sheets, rows or columns inserted, deleted or moved; sizes
  Selection,      // selection or active cell
  CurrentSheet,   // another sheet became current
  View,           // view flags, zoom, fixed panes
  Modified,       // the Modified flag went from false to true (OnModified)
  EditRequested,  // the program asked for in-cell editing
  ShowTab,        // the program asked to show the current sheet's tab
};

// Measures the width of a text in characters of the default font; the view
// installs one that knows the real fonts.
using TTextMeasurer = std::function<double(const std::string& text, const TCellFont& font)>;

// A custom document property: a text, a number (whole or not), a truth
// value (Number 1 or 0) or a time (Number: seconds since 1970, UTC).
struct TCustomProperty {
  enum class TKind { Text, Number, Integer, Boolean, Date };
  std::string Name;
  TKind Kind = TKind::Text;
  std::string Text;
  double Number = 0.0;
  bool operator==(const TCustomProperty&) const = default;
};

// What a workbook file says of itself, kept so that the file is written
// again as it was: the day its dates count from and the document's
// properties (empty texts and a creation time of 0 where it names none).
struct TWorkbookFileProperties {
  bool Date1904 = false;  // serial 0 is 1 January 1904 in the file (the model counts from 1900 always)
  std::string Title;
  std::string Subject;
  std::string Author;
  std::string Manager;
  std::string Company;
  std::string Category;
  std::string Keywords;
  std::string Comments;
  std::string Status;
  long long Created = 0;                // seconds since 1970 (UTC)
  std::vector<TCustomProperty> Custom;  // in the file's order
  bool operator==(const TWorkbookFileProperties&) const = default;
};

class TWorkbook {
 public:
  explicit TWorkbook(int sheetCount = 1);
  ~TWorkbook();
  TWorkbook(const TWorkbook&) = delete;
  TWorkbook& operator=(const TWorkbook&) = delete;

  // Takes over the sheets, names and styles of another workbook (a file
  // read into a fresh workbook); keeps view flags and listeners here. The
  // open transaction is committed.
  void AdoptContents(TWorkbook&& other);

  // Removes all sheets and contents and starts again with sheetCount empty
  // sheets "Sheet1"...; keeps the view flags and the listeners.
  void Reset(int sheetCount);

  // ------------------------------------------------------------- sheets
  int NumSheets() const { return static_cast<int>(sheets_.size()); }
  int Sheet() const { return current_; }
  void SetSheet(int sheet);
  // Inserts count empty sheets before sheet `before` (NumSheets() + 1
  // appends). New sheets get unused names: the stem and a number
  // ("Sheet1", "Tabelle2").
  void InsertSheets(int before, int count, const std::string& nameStem = "Sheet");
  // Deletes count sheets from `first` on; the last sheet is never deleted.
  void DeleteSheets(int first, int count);
  // Moves sheet `from` so that it stands before the sheet now at `before`
  // (NumSheets() + 1: to the end). Contents, formats, sizes, settings, its
  // names and print area travel with it; formulas name sheets by name and
  // keep pointing at the same sheets. The current sheet stays the same
  // sheet. False (and no change) for a position outside 1..NumSheets().
  bool MoveSheet(int from, int before);
  std::string SheetName(int sheet) const;
  // False (and no change) when the name is empty, longer than 31
  // characters, holds one of : \ / ? * [ ] or is taken by another sheet.
  bool SetSheetName(int sheet, const std::string& name);
  int SheetFromName(std::string_view name) const;  // 0 when there is none
  bool SheetSelected(int sheet) const;
  void SetSheetSelected(int sheet, bool selected);
  void ShowActiveSheetTab();
  const TSheetData& SheetData(int sheet) const;
  const TSheetData& CurrentSheetData() const { return SheetData(current_); }

  // -------------------------------------------------------------- cells
  // On the current sheet. Text() is what the cell shows: the formatted
  // number, the text, or the formula's result.
  std::string Text(int row, int col) const;
  void SetText(int row, int col, std::string_view text);
  double Number(int row, int col) const;  // 0 for texts and empty cells
  void SetNumber(int row, int col, double value);
  // Typed input: numbers, dates, times become values (dates and times also
  // get a number format when the cell has none), "=..." a formula in the
  // local syntax (with a decimal comma: "=A1*1,5+SUM(B1;B2)").
  std::string Entry(int row, int col) const;
  void SetEntry(int row, int col, std::string_view text);
  // The same with given separators (a text file's, whose decimal mark need
  // not be the session's), and an entry already read (its formula text in
  // the syntax of the decimal mark `decimal`).
  void SetEntry(int row, int col, std::string_view text, const TFormatLocale& locale);
  void SetEntry(int row, int col, const TTypedEntry& entry, char decimal);
  // Typed input confirmed by the user (the view's editors): as SetEntry,
  // but a formula the formula engine refuses (see FormulaAccepted) is not
  // taken: a message says so, the cell keeps its content and the result is
  // false. Formulas read from files are taken as they are and show an
  // error value instead. The cell's own edit text (Entry) confirmed
  // unchanged changes nothing.
  bool CommitEntry(int row, int col, std::string_view text);
  // Formulas in the file syntax ("=A1*1.5+SUM(B1,B2)"), with '='; empty
  // when the cell holds none.
  std::string Formula(int row, int col) const;
  void SetFormula(int row, int col, std::string_view formula);
  TCellKind CellKind(int row, int col) const;
  const TCell* Cell(int row, int col) const { return CurrentSheetData().CellAt(row, col); }
  // The same on a given sheet, for the file routines and the view.
  std::string TextOn(int sheet, int row, int col) const;
  std::string EntryOn(int sheet, int row, int col) const;
  // The same with given separators (a text file's, when it is written).
  std::string TextOn(int sheet, int row, int col, const TFormatLocale& locale) const;
  std::string EntryOn(int sheet, int row, int col, const TFormatLocale& locale) const;
  // Writes a cell of a given sheet directly (file readers).
  void PutCell(int sheet, int row, int col, TCell cell);

  int LastRow() const { return CurrentSheetData().LastRow(); }
  int LastCol() const { return CurrentSheetData().LastCol(); }
  int LastColForRow(int row) const { return CurrentSheetData().LastColForRow(row); }

  // ---------------------------------------------------------- selection
  void SetSelection(int row1, int col1, int row2, int col2);
  void AddSelection(int row1, int col1, int row2, int col2);
  // Sets all selection ranges at once with the active cell (which should
  // lie in one of them).
  void SetSelectionRanges(const std::vector<TRange>& ranges, int activeRow, int activeCol);
  // A selection text: "A1:C5", "A1:B2,D4", or a defined name. False when
  // the text is neither.
  bool SetSelectionText(std::string_view text);
  std::string Selection() const;
  int SelectionCount() const { return static_cast<int>(CurrentSheetData().Selection.size()); }
  TRange SelectionRange(int index) const;  // 0 .. SelectionCount() - 1
  int SelEndRow() const { return CurrentSheetData().Selection.back().Row2; }
  int SelEndCol() const { return CurrentSheetData().Selection.back().Col2; }
  int Row() const { return CurrentSheetData().ActiveRow; }
  int Col() const { return CurrentSheetData().ActiveCol; }
  // Makes the cell active and the selection; keeps the selection when the
  // cell lies inside it and keepSelection is set.
  void SetActiveCell(int row, int col, bool keepSelection = false);
  void SetTopLeft(int row, int col);

  // -------------------------------------------------------------- names
  // Defines (or redefines) a name for a range: "Sheet1!$A$1:$B$2" or a
  // range of the current sheet. False for an invalid name or reference.
  bool DefineName(const std::string& name, std::string_view reference);
  void DeleteName(std::string_view name);
  std::optional<TDefinedName> FindName(std::string_view name) const;
  std::vector<TDefinedName> Names() const;
  // The reference text of a name: "Sheet1!$A$1:$C$5".
  std::string NameReference(const TDefinedName& name) const;

  // -------------------------------------------------------------- clear
  // kind 1 all, 2 formats, 3 formulas and values.
  void ClearRange(int row1, int col1, int row2, int col2, int kind);
  void EditClear(int kind);  // every selection range

  // -------------------------------------------- cut, copy, paste, moves
  void EditCopy();
  void EditCut();    // copy, then clear the contents and formats
  void EditPaste();  // at the active cell
  bool HasClipboard() const { return clipboard_.has_value(); }
  // Tab-separated text of the copied block (cells as shown), for the
  // system clipboard.
  std::string ClipboardText() const;
  // Pastes tab- and line-separated text as typed entries at the active cell.
  void PasteText(std::string_view text);

  // Insert or delete cells of the first selection range: mode 1 shifts
  // cells right (insert) or left (delete), 2 down or up, 3 whole rows,
  // 4 whole columns. Formulas referring to moved cells follow them.
  void EditInsert(int mode);
  void EditDelete(int mode);
  void InsertRange(const TRange& range, int mode);
  void DeleteRange(const TRange& range, int mode);

  // Sorts a range. byRows: the rows are reordered and the keys are column
  // numbers of the sheet; otherwise the columns are reordered by rows.
  // A negative key sorts descending, 0 means no key. Numbers come before
  // texts (compared without regard to case), empty cells last; equal keys
  // keep their order.
  void Sort(int row1, int col1, int row2, int col2, bool byRows, int key1, int key2, int key3);

  // Asks the view to start in-cell editing at the active cell.
  void StartEdit();
  // Asks the view to repaint.
  void Refresh();

  // ----------------------------------------- formats of the selection
  // Read from the active cell, set on every cell of every selection range.
  std::string NumberFormat() const;  // local form
  void SetNumberFormat(std::string_view localPattern);
  // Sets the number format of one cell of the current sheet without
  // touching the selection (the table writers' fast path).
  void SetCellNumberFormat(int row, int col, std::string_view localPattern);
  TAlignment Alignment() const;
  void SetAlignment(const TAlignment& alignment);
  // Font as read: the size in twentieths of a point.
  TCellFont Font() const;
  int FontSizeTwips() const;
  // Font as set: size in points, clamped to 1..409.
  void SetFont(const TCellFont& font);
  TBorders Borders() const;
  void SetBorders(const TBorders& borders);
  // Draws a line around each selection range: the top edge of its first
  // row, the bottom of its last, the left of its first column, the right
  // of its last; the inner edges stay as they are.
  void SetOutlineBorder(const TBorderLine& line);
  TPattern Pattern() const;
  void SetPattern(const TPattern& pattern);
  TProtection Protection() const;
  void SetProtection(bool locked, bool hidden);
  // Applies a change to the style of every cell of a range of the current
  // sheet (the building block of the setters above).
  void ModifyStyle(const TRange& range, const std::function<void(TCellStyle&)>& change);
  // Drops the file text of a cell about to get `style` when it shows the
  // cell in another number format.
  void DropSourceOnNewFormat(TCell& cell, std::uint32_t style) const;
  const TCellStyle& Style(std::uint32_t index) const { return styles_[index]; }
  const TCellStyle& StyleAt(int sheet, int row, int col) const;
  std::uint32_t StyleIndex(const TCellStyle& style);  // adds it when new
  std::size_t StyleCount() const { return styles_.size(); }

  // --------------------------------------------------------------- sizes
  void SetColWidth(int col1, int col2, double width, bool asDefault);
  void SetRowHeight(int row1, int row2, double height, bool asDefault);
  double ColWidth(int col) const { return CurrentSheetData().ColWidth(col); }
  double RowHeight(int row) const { return CurrentSheetData().RowHeight(row); }
  // Fits the widths of the columns (heights of the rows) of a range to the
  // contents of its cells.
  void SetColWidthAuto(int row1, int col1, int row2, int col2);
  // Widens the columns of a range that are narrower than the texts of its
  // cells (never narrows one): for values written into a sheet whose other
  // cells are the user's.
  void WidenColsToFit(int row1, int col1, int row2, int col2);
  void SetRowHeightAuto(int row1, int col1, int row2, int col2);
  void SetColHidden(int col1, int col2, bool hidden);
  void SetRowHidden(int row1, int row2, bool hidden);
  bool ColHidden(int col) const { return CurrentSheetData().HiddenCols.count(col) != 0; }
  bool RowHidden(int row) const { return CurrentSheetData().HiddenRows.count(row) != 0; }
  // A character of the column widths in points at 96 dots an inch: the 7
  // pixels of the standard font's widest digit.
  static constexpr double kStandardCharacterPoints = 7.0 * 72.0 / 96.0;
  // The measure of texts a view gives, in characters of the column widths,
  // and the width of such a character in points as the view shows it.
  void SetTextMeasurer(TTextMeasurer measurer, double characterPoints = kStandardCharacterPoints) {
    measurer_ = std::move(measurer);
    characterPoints_ = characterPoints;
  }
  double CharacterPoints() const { return characterPoints_; }
  // The width of a text in the font, in characters of the column widths
  // (the measurer's, or without one a count of its characters).
  double MeasureText(const std::string& text, const TCellFont& font) const;
  // The height of a line of text per point of its font: the optimal row
  // height of a cell is this many points per line and font point.
  static constexpr double kLinePitch = 1.275;
  // Whether the text of a cell with this alignment is broken into lines
  // (word wrap, or justify, which always wraps).
  static bool Wraps(const TAlignment& alignment) { return alignment.Wrap || alignment.Horizontal == 6; }
  // The lines the text of cell (row, col) of `sheet` is broken into when it
  // wraps: at blanks, each line as many words as fit the column (a word
  // longer than the column stands alone), a new line at each line feed.
  // The screen, the paper and the optimal row height use these lines.
  std::vector<std::string> WrappedLines(int sheet, int row, int col, const std::string& text) const;

  // ---------------------------------------------------------- fixed panes
  int FixedRows() const { return CurrentSheetData().FixedRows; }
  int FixedCols() const { return CurrentSheetData().FixedCols; }
  void SetFixedRows(int rows);
  void SetFixedCols(int cols);

  // ---------------------------------------------------------- view flags
  bool ShowSelections() const { return showSelections_; }
  void SetShowSelections(bool on);
  bool AllowEditHeaders() const { return allowEditHeaders_; }
  void SetAllowEditHeaders(bool on) { allowEditHeaders_ = on; }
  bool ShowEditBar() const { return showEditBar_; }
  void SetShowEditBar(bool on);
  bool ShowFormulas() const { return showFormulas_; }
  void SetShowFormulas(bool on);
  bool ShowGridLines() const { return showGridLines_; }
  void SetShowGridLines(bool on);
  // Whether the current sheet is protected: its locked cells cannot be
  // changed. Each sheet has its own protection (TSheetData::Protection); on
  // protects the current sheet with the usual options, off lifts it.
  bool EnableProtection() const { return CurrentSheetData().Protection.has_value(); }
  void SetEnableProtection(bool on);
  int ViewScale() const { return viewScale_; }
  void SetViewScale(int percent);  // clamped to 10..400

  // What the file the contents came from held and the workbook does not
  // keep (read_losses.h); set by the readers, taken over by AdoptContents,
  // none for contents made here.
  const TReadLosses& ReadLosses() const { return readLosses_; }
  void SetReadLosses(const TReadLosses& losses) { readLosses_ = losses; }
  // The encoding of the text file the contents came from (none for
  // contents made here or read from a workbook file): the text writers
  // keep it, so that a text opened and saved stays as it was.
  const TTextFileForm& TextForm() const { return textForm_; }
  void SetTextForm(const TTextFileForm& form) { textForm_ = form; }
  // What the workbook file the contents came from says of itself; set by
  // the .xlsx reader, taken over by AdoptContents, none for other contents.
  const TWorkbookFileProperties& FileProperties() const { return fileProperties_; }
  void SetFileProperties(const TWorkbookFileProperties& properties) { fileProperties_ = properties; }
  // The text file's form and cells' texts (text_layout.h), set by the text
  // readers, taken over by AdoptContents, none for other contents.
  const TTextSource& TextSource() const { return textSource_; }
  TTextSource& MutableTextSource() { return textSource_; }

  // ---------------------------------------------------------- page breaks
  // A row break at r starts a new page after row r; a column break at c
  // after column c.
  void AddRowPageBreak(int row);
  void AddColPageBreak(int col);
  // A break after the last row and after the last column of the selection.
  void AddPageBreak();
  int RowPageBreak(int row) const;  // row when there is a break there, else 0
  int ColPageBreak(int col) const;
  void RemoveRowPageBreak(int row);
  void RemoveColPageBreak(int col);
  void RemovePageBreak();  // both breaks at the active cell

  // ------------------------------------------------------------ printing
  // The first selection range becomes the name "Print_Area" of the sheet.
  void SetPrintAreaFromSelection();
  std::optional<TRange> PrintArea(int sheet) const;
  TPageSetup& PageSetup();  // of the current sheet
  const TPageSetup& PageSetup() const { return CurrentSheetData().Page; }
  void SetPrintScale(int percent, bool fitToPages, int pagesTall, int pagesWide);
  void GetPrintScale(int& percent, bool& fitToPages, int& pagesTall, int& pagesWide) const;

  // ------------------------------------------------------- transactions
  // Begin opens a transaction (committing one still open); RollBack puts
  // the workbook back exactly as it was at Begin: contents, formats,
  // sheets, names, selection. Commit forgets the saved state.
  void TransactionBegin();
  void TransactionCommit();
  void TransactionRollback();
  bool InTransaction() const { return transaction_ != nullptr; }

  // ------------------------------------------------------ document state
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  const std::string& TableName() const { return tableName_; }
  void SetTableName(std::string name) { tableName_ = std::move(name); }
  bool Modified() const { return modified_; }
  void SetModified(bool modified);

  // ------------------------------------------------------------ formulas
  // Computes every formula again (done by itself before results are read
  // after a change).
  void Recalculate() const;
  // Computes the formulas when a change since the last computation asks
  // for it.
  void EnsureCalculated() const {
    if (recalcNeeded_) Recalculate();
  }

  // ----------------------------------------------------------- listeners
  using TListener = std::function<void(TChange)>;
  int AddListener(TListener listener);
  void RemoveListener(int id);

  TFormatLocale Locale() const { return TFormatLocale::FromGlobals(); }

  // Mutable access to a sheet for bulk loading (file readers); marks the
  // contents changed. Rows and cells may be added directly.
  TSheetData& MutableSheetData(int sheet);
  // Tells the model that bulk loading is done: formulas are computed again
  // and the view repainted.
  void FinishBulkChange();

 private:
  struct TTransaction;
  struct TClipboard {
    std::vector<std::vector<TCell>> Cells;  // [row][col] relative
    int Rows = 0;
    int Cols = 0;
    int SourceRow = 1;  // top left of the copied block
    int SourceCol = 1;
  };

  TSheetData& Mutable(int sheet);  // copy on write inside a transaction
  TSheetData& MutableCurrent() { return Mutable(current_); }
  // The sheet object itself, for view state (selection, active cell,
  // selected flag, scroll position), which a transaction does not keep.
  TSheetData& ViewState(int sheet);
  TCell& CellRef(TSheetData& sheet, int row, int col);
  void Changed(TChange change);
  void ContentChanged();  // cells changed: modified, recalc, notify
  void Notify(TChange change);
  void SetViewFlag(bool& flag, bool on);  // sets a view flag and tells the views
  TRange Resolve(int row1, int col1, int row2, int col2, bool clipToUsed) const;
  std::string DisplayText(const TSheetData& sheet, const TCell& cell) const;
  std::string DisplayText(const TCell& cell, const TFormatLocale& locale) const;
  std::string EntryText(const TSheetData& sheet, const TCell& cell) const;
  std::string EntryText(const TCell& cell, const TFormatLocale& locale) const;
  std::string UniqueSheetName(const std::string& stem) const;
  // InsertRange (insert) or DeleteRange.
  void InsertOrDeleteRange(const TRange& range, int mode, bool insert);
  // Moves formula references after a block of rows or columns moved.
  void ShiftReferences(int sheetId, bool rows, int at, int count, const TRange& band);
  void FitColWidths(int row1, int col1, int row2, int col2, bool widenOnly);

  std::vector<std::shared_ptr<TSheetData>> sheets_;
  int current_ = 1;
  int nextSheetId_ = 1;
  std::vector<TDefinedName> names_;
  std::vector<TCellStyle> styles_;
  std::unordered_map<std::string, std::uint32_t> styleIndex_;
  // (style, local pattern) -> style with that number format, for the
  // table writers that set the same few formats on many cells.
  // Also (style, suggested format of a typed date or time) -> style.
  std::unordered_map<std::string, std::uint32_t> numberFormatCache_;
  std::string formatKey_;  // scratch key of the cache lookups
  std::optional<TClipboard> clipboard_;
  std::unique_ptr<TTransaction> transaction_;

  bool showSelections_ = true;
  bool allowEditHeaders_ = false;
  bool showEditBar_ = true;
  bool showFormulas_ = false;
  bool showGridLines_ = true;
  int viewScale_ = 100;
  TReadLosses readLosses_;
  TTextFileForm textForm_;
  TWorkbookFileProperties fileProperties_;
  TTextSource textSource_;

  std::string fileName_;
  std::string tableName_;
  bool modified_ = false;

  mutable bool recalcNeeded_ = false;
  mutable bool hasFormulas_ = false;  // false only when no formula can exist

  TTextMeasurer measurer_;
  double characterPoints_ = kStandardCharacterPoints;
  std::vector<std::pair<int, TListener>> listeners_;
  int nextListenerId_ = 1;
};

// A key of the style table (all fields of a style in one string).
std::string StyleKey(const TCellStyle& style);

}  // namespace kvx::workbook
