#include "platform/workbook/workbook.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <sstream>

#include "platform/messages.h"
#include "platform/workbook/formula_engine.h"

namespace kvx::workbook {

// ------------------------------------------------------------- sheet data

const TCell* TSheetData::CellAt(int row, int col) const {
  if (row < 1 || col < 1 || row > static_cast<int>(Rows.size())) return nullptr;
  const auto& cells = Rows[row - 1];
  if (col > static_cast<int>(cells.size())) return nullptr;
  return &cells[col - 1];
}

int TSheetData::LastColForRow(int row) const {
  if (row < 1 || row > static_cast<int>(Rows.size())) return 0;
  const auto& cells = Rows[row - 1];
  for (int c = static_cast<int>(cells.size()); c >= 1; --c) {
    if (cells[c - 1].Kind != TCellKind::Empty) return c;
  }
  return 0;
}

int TSheetData::LastRow() const {
  for (int r = static_cast<int>(Rows.size()); r >= 1; --r) {
    if (LastColForRow(r) > 0) return r;
  }
  return 0;
}

int TSheetData::LastCol() const {
  int last = 0;
  for (int r = 1; r <= static_cast<int>(Rows.size()); ++r) {
    const auto& cells = Rows[r - 1];
    if (static_cast<int>(cells.size()) <= last) continue;
    last = std::max(last, LastColForRow(r));
  }
  return last;
}

double TSheetData::ColWidth(int col) const {
  const auto it = ColWidths.find(col);
  return it == ColWidths.end() ? DefaultColWidth : it->second;
}

double TSheetData::RowHeight(int row) const {
  const auto it = RowHeights.find(row);
  return it == RowHeights.end() ? DefaultRowHeight : it->second;
}

std::string StyleKey(const TCellStyle& s) {
  std::ostringstream key;
  key << s.NumberFormat << '\x1f' << s.Alignment.Horizontal << ',' << s.Alignment.Wrap << ','
      << s.Alignment.Vertical << ',' << s.Alignment.Orientation << '\x1f' << s.Font.Face << ',' << s.Font.Size << ','
      << s.Font.Bold << s.Font.Italic << s.Font.Underline << s.Font.Strikeout << s.Font.Outline << s.Font.Shadow
      << ',' << s.Font.Color << '\x1f';
  for (const TBorderLine* line : {&s.Borders.Left, &s.Borders.Right, &s.Borders.Top, &s.Borders.Bottom}) {
    key << line->Style << ',' << line->Color << ';';
  }
  key << '\x1f' << s.Pattern.Pattern << ',' << s.Pattern.Foreground << ',' << s.Pattern.Background << '\x1f'
      << s.Protection.Locked << s.Protection.Hidden;
  return key.str();
}

// ------------------------------------------------------------ transaction

struct TWorkbook::TTransaction {
  std::vector<std::shared_ptr<TSheetData>> Sheets;
  std::vector<TDefinedName> Names;
  int Current = 1;
  int NextSheetId = 1;
  std::set<const TSheetData*> Owned;  // sheets already copied (or created) since Begin
};

// --------------------------------------------------------------- workbook

namespace {

bool ValidCell(int row, int col) { return row >= 1 && row <= kMaxRows && col >= 1 && col <= kMaxCols; }

std::string Lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool ValidName(std::string_view name) {
  if (name.empty() || name.size() > 255) return false;
  const unsigned char first = static_cast<unsigned char>(name[0]);
  if (!std::isalpha(first) && first != '_' && first != '\\' && first < 0x80) return false;
  for (char c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (!std::isalnum(u) && c != '_' && c != '.' && c != '\\' && u < 0x80) return false;
  }
  // Names that read as cell references are not allowed ("A1", "R1C1").
  if (ParseRange(name)) return false;
  return true;
}

}  // namespace

TWorkbook::TWorkbook(int sheetCount) {
  styles_.push_back(TCellStyle{});
  styleIndex_.emplace(StyleKey(styles_[0]), 0);
  Reset(sheetCount);
}

TWorkbook::~TWorkbook() = default;

void TWorkbook::Reset(int sheetCount) {
  sheetCount = std::clamp(sheetCount, 1, 255);
  transaction_.reset();
  sheets_.clear();
  names_.clear();
  clipboard_.reset();
  for (int i = 1; i <= sheetCount; ++i) {
    auto sheet = std::make_shared<TSheetData>();
    sheet->Id = nextSheetId_++;
    sheet->Name = "Sheet" + std::to_string(i);
    sheets_.push_back(sheet);
  }
  sheets_[0]->Selected = true;
  current_ = 1;
  recalcNeeded_ = false;
  hasFormulas_ = false;
  modified_ = false;
  Notify(TChange::Structure);
  Notify(TChange::CurrentSheet);
}

void TWorkbook::AdoptContents(TWorkbook&& other) {
  transaction_.reset();
  clipboard_.reset();
  sheets_ = std::move(other.sheets_);
  names_ = std::move(other.names_);
  styles_ = std::move(other.styles_);
  styleIndex_ = std::move(other.styleIndex_);
  numberFormatCache_.clear();
  current_ = std::clamp(other.current_, 1, NumSheets());
  nextSheetId_ = other.nextSheetId_;
  hasFormulas_ = true;
  recalcNeeded_ = true;
  other.styles_ = {TCellStyle{}};
  other.styleIndex_ = {{StyleKey(other.styles_[0]), 0}};
  other.Reset(1);
  Notify(TChange::Structure);
  Notify(TChange::CurrentSheet);
}

// ----------------------------------------------------------- notification

int TWorkbook::AddListener(TListener listener) {
  const int id = nextListenerId_++;
  listeners_.emplace_back(id, std::move(listener));
  return id;
}

void TWorkbook::RemoveListener(int id) {
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                  [id](const auto& entry) { return entry.first == id; }),
                   listeners_.end());
}

void TWorkbook::Notify(TChange change) {
  // A listener may remove itself: iterate over a copy.
  const auto listeners = listeners_;
  for (const auto& entry : listeners) entry.second(change);
}

void TWorkbook::SetModified(bool modified) {
  const bool fire = modified && !modified_;
  modified_ = modified;
  if (fire) Notify(TChange::Modified);
}

void TWorkbook::Changed(TChange change) {
  Notify(change);
  SetModified(true);
}

void TWorkbook::ContentChanged() {
  if (hasFormulas_) recalcNeeded_ = true;
  Changed(TChange::Cells);
}

void TWorkbook::Recalculate() const {
  recalcNeeded_ = false;
  if (!hasFormulas_) return;
  hasFormulas_ = EvaluateFormulas(sheets_, names_);
}

void TWorkbook::FinishBulkChange() {
  hasFormulas_ = true;
  recalcNeeded_ = true;
  Recalculate();
  Notify(TChange::Structure);
  Notify(TChange::CurrentSheet);
}

// ----------------------------------------------------------------- sheets

TSheetData& TWorkbook::Mutable(int sheet) {
  sheet = std::clamp(sheet, 1, NumSheets());
  auto& pointer = sheets_[sheet - 1];
  if (transaction_ && transaction_->Owned.count(pointer.get()) == 0) {
    pointer = std::make_shared<TSheetData>(*pointer);
    transaction_->Owned.insert(pointer.get());
  }
  return *pointer;
}

TSheetData& TWorkbook::ViewState(int sheet) { return *sheets_[std::clamp(sheet, 1, NumSheets()) - 1]; }

TSheetData& TWorkbook::MutableSheetData(int sheet) {
  TSheetData& data = Mutable(sheet);
  SetModified(true);
  return data;
}

const TSheetData& TWorkbook::SheetData(int sheet) const {
  sheet = std::clamp(sheet, 1, NumSheets());
  return *sheets_[sheet - 1];
}

void TWorkbook::SetSheet(int sheet) {
  if (sheet < 1 || sheet > NumSheets() || sheet == current_) return;
  current_ = sheet;
  // The current sheet is always among the selected ones; a plain switch
  // selects it alone.
  for (int i = 1; i <= NumSheets(); ++i) {
    const bool selected = i == sheet;
    if (sheets_[i - 1]->Selected != selected) ViewState(i).Selected = selected;
  }
  Notify(TChange::CurrentSheet);
}

std::string TWorkbook::UniqueSheetName(const std::string& stem) const {
  for (int n = 1;; ++n) {
    const std::string name = stem + std::to_string(n);
    if (SheetFromName(name) == 0) return name;
  }
}

void TWorkbook::InsertSheets(int before, int count, const std::string& nameStem) {
  if (count < 1) return;
  before = std::clamp(before, 1, NumSheets() + 1);
  count = std::min(count, 255);
  for (int i = 0; i < count; ++i) {
    auto sheet = std::make_shared<TSheetData>();
    sheet->Id = nextSheetId_++;
    sheet->Name = UniqueSheetName(nameStem);
    if (transaction_) transaction_->Owned.insert(sheet.get());
    sheets_.insert(sheets_.begin() + (before - 1) + i, sheet);
  }
  if (current_ >= before) current_ += count;
  Changed(TChange::Structure);
}

void TWorkbook::DeleteSheets(int first, int count) {
  if (first < 1 || first > NumSheets() || count < 1) return;
  count = std::min(count, NumSheets() - first + 1);
  if (count >= NumSheets()) count = NumSheets() - 1;  // one sheet always stays
  if (count < 1) return;
  std::set<int> goneIds;
  for (int i = 0; i < count; ++i) goneIds.insert(sheets_[first - 1 + i]->Id);
  sheets_.erase(sheets_.begin() + (first - 1), sheets_.begin() + (first - 1 + count));
  names_.erase(std::remove_if(names_.begin(), names_.end(),
                              [&](const TDefinedName& n) { return goneIds.count(n.SheetId) != 0; }),
               names_.end());
  if (current_ >= first + count) {
    current_ -= count;
  } else if (current_ >= first) {
    current_ = std::min(first, NumSheets());
  }
  bool anySelected = false;
  for (const auto& sheet : sheets_) anySelected = anySelected || sheet->Selected;
  if (!anySelected) ViewState(current_).Selected = true;
  if (hasFormulas_) recalcNeeded_ = true;
  Changed(TChange::Structure);
  Notify(TChange::CurrentSheet);
}

bool TWorkbook::MoveSheet(int from, int before) {
  if (from < 1 || from > NumSheets() || before < 1 || before > NumSheets() + 1) return false;
  const int to = before > from ? before - 1 : before;  // its position afterwards
  if (to == from) return true;
  const TSheetData* current = sheets_[current_ - 1].get();
  auto moved = sheets_[from - 1];
  sheets_.erase(sheets_.begin() + (from - 1));
  sheets_.insert(sheets_.begin() + (to - 1), std::move(moved));
  for (int i = 1; i <= NumSheets(); ++i) {
    if (sheets_[i - 1].get() == current) current_ = i;
  }
  Changed(TChange::Structure);
  Notify(TChange::CurrentSheet);
  return true;
}

std::string TWorkbook::SheetName(int sheet) const {
  if (sheet < 1 || sheet > NumSheets()) return {};
  return sheets_[sheet - 1]->Name;
}

bool TWorkbook::SetSheetName(int sheet, const std::string& name) {
  if (sheet < 1 || sheet > NumSheets()) return false;
  if (name.empty() || name.size() > 31 || name.find_first_of(":\\/?*[]") != std::string::npos) return false;
  if (name.front() == '\'' || name.back() == '\'') return false;
  const int other = SheetFromName(name);
  if (other != 0 && other != sheet) return false;
  const std::string old = sheets_[sheet - 1]->Name;
  if (old == name) return true;
  Mutable(sheet).Name = name;
  // Formulas naming the sheet follow the new name.
  if (hasFormulas_) {
    for (int s = 1; s <= NumSheets(); ++s) {
      for (std::size_t r = 0; r < sheets_[s - 1]->Rows.size(); ++r) {
        for (std::size_t c = 0; c < sheets_[s - 1]->Rows[r].size(); ++c) {
          const TCell& cell = sheets_[s - 1]->Rows[r][c];
          if (cell.Kind != TCellKind::Formula) continue;
          std::string renamed = RenameSheetInFormula(cell.Formula, old, name);
          if (renamed != cell.Formula) Mutable(s).Rows[r][c].Formula = std::move(renamed);
        }
      }
    }
    recalcNeeded_ = true;
  }
  Changed(TChange::Structure);
  return true;
}

int TWorkbook::SheetFromName(std::string_view name) const {
  const std::string lower = Lowered(name);
  for (int i = 1; i <= NumSheets(); ++i) {
    if (Lowered(sheets_[i - 1]->Name) == lower) return i;
  }
  return 0;
}

bool TWorkbook::SheetSelected(int sheet) const {
  if (sheet < 1 || sheet > NumSheets()) return false;
  return sheets_[sheet - 1]->Selected;
}

void TWorkbook::SetSheetSelected(int sheet, bool selected) {
  if (sheet < 1 || sheet > NumSheets()) return;
  if (!selected && sheet == current_) return;  // the current sheet stays selected
  if (sheets_[sheet - 1]->Selected == selected) return;
  ViewState(sheet).Selected = selected;
  Notify(TChange::Structure);
}

void TWorkbook::ShowActiveSheetTab() { Notify(TChange::ShowTab); }

// ------------------------------------------------------------------ cells

TCell& TWorkbook::CellRef(TSheetData& sheet, int row, int col) {
  if (static_cast<int>(sheet.Rows.size()) < row) sheet.Rows.resize(row);
  auto& cells = sheet.Rows[row - 1];
  if (static_cast<int>(cells.size()) < col) cells.resize(col);
  return cells[col - 1];
}

std::string TWorkbook::DisplayText(const TSheetData& sheet, const TCell& cell) const {
  (void)sheet;
  const TCellStyle& style = styles_[cell.Style];
  switch (cell.Kind) {
    case TCellKind::Empty:
      return {};
    case TCellKind::Number:
      return FormatNumber(cell.Number, style.NumberFormat, Locale());
    case TCellKind::Text:
      return style.NumberFormat.empty() ? cell.Text : FormatText(cell.Text, style.NumberFormat);
    case TCellKind::Formula:
      if (recalcNeeded_) Recalculate();
      if (cell.Result == TFormulaResult::Number) return FormatNumber(cell.Number, style.NumberFormat, Locale());
      return cell.Text;
  }
  return {};
}

std::string TWorkbook::EntryText(const TSheetData& sheet, const TCell& cell) const {
  (void)sheet;
  switch (cell.Kind) {
    case TCellKind::Empty:
      return {};
    case TCellKind::Number:
      return EntryTextForNumber(cell.Number, styles_[cell.Style].NumberFormat, Locale());
    case TCellKind::Text:
      return cell.Text;
    case TCellKind::Formula:
      return "=" + FormulaToLocal(cell.Formula, Locale().Decimal);
  }
  return {};
}

std::string TWorkbook::Text(int row, int col) const { return TextOn(current_, row, col); }

std::string TWorkbook::TextOn(int sheet, int row, int col) const {
  const TSheetData& data = SheetData(sheet);
  const TCell* cell = data.CellAt(row, col);
  return cell ? DisplayText(data, *cell) : std::string();
}

std::string TWorkbook::EntryOn(int sheet, int row, int col) const {
  const TSheetData& data = SheetData(sheet);
  const TCell* cell = data.CellAt(row, col);
  return cell ? EntryText(data, *cell) : std::string();
}

void TWorkbook::SetText(int row, int col, std::string_view text) {
  if (!ValidCell(row, col)) return;
  TCell& cell = CellRef(MutableCurrent(), row, col);
  cell.Formula.clear();
  if (text.empty()) {
    cell.Kind = TCellKind::Empty;
    cell.Text.clear();
  } else {
    cell.Kind = TCellKind::Text;
    cell.Text.assign(text);
  }
  cell.Number = 0.0;
  ContentChanged();
}

double TWorkbook::Number(int row, int col) const {
  const TCell* cell = Cell(row, col);
  if (cell == nullptr) return 0.0;
  if (cell->Kind == TCellKind::Number) return cell->Number;
  if (cell->Kind == TCellKind::Formula) {
    if (recalcNeeded_) Recalculate();
    return cell->Result == TFormulaResult::Number ? cell->Number : 0.0;
  }
  return 0.0;
}

void TWorkbook::SetNumber(int row, int col, double value) {
  if (!ValidCell(row, col)) return;
  TCell& cell = CellRef(MutableCurrent(), row, col);
  cell.Kind = TCellKind::Number;
  cell.Number = value;
  cell.Text.clear();
  cell.Formula.clear();
  ContentChanged();
}

std::string TWorkbook::Entry(int row, int col) const { return EntryOn(current_, row, col); }

void TWorkbook::SetEntry(int row, int col, std::string_view text) {
  if (!ValidCell(row, col)) return;
  const TTypedEntry entry = ParseTypedEntry(text, Locale());
  switch (entry.Kind) {
    case TTypedEntry::TKind::Empty: {
      TCell& cell = CellRef(MutableCurrent(), row, col);
      cell.Kind = TCellKind::Empty;
      cell.Text.clear();
      cell.Formula.clear();
      cell.Number = 0.0;
      ContentChanged();
      return;
    }
    case TTypedEntry::TKind::Text:
      SetText(row, col, entry.Text);
      return;
    case TTypedEntry::TKind::Formula:
      SetFormula(row, col, FormulaFromLocal(entry.Text, Locale().Decimal));
      return;
    case TTypedEntry::TKind::Number: {
      TSheetData& sheet = MutableCurrent();
      TCell& cell = CellRef(sheet, row, col);
      cell.Kind = TCellKind::Number;
      cell.Number = entry.Number;
      cell.Text.clear();
      cell.Formula.clear();
      if (!entry.SuggestedFormat.empty()) {
        const TCellStyle& current = styles_[cell.Style];
        const TFormatClass have = ClassifyFormat(current.NumberFormat);
        const TFormatClass want = ClassifyFormat(entry.SuggestedFormat);
        // A typed date or time gets a date or time format unless the cell
        // already shows one of that kind.
        if (have != want && !(have == TFormatClass::DateTime && want != TFormatClass::Number)) {
          std::string& key = formatKey_;
          key.clear();
          char number[16];
          key.append(number, std::to_chars(number, number + sizeof number, cell.Style).ptr);
          key += '\x1e';
          key += entry.SuggestedFormat;
          auto it = numberFormatCache_.find(key);
          if (it == numberFormatCache_.end()) {
            TCellStyle style = current;
            style.NumberFormat = entry.SuggestedFormat;
            it = numberFormatCache_.emplace(key, StyleIndex(style)).first;
          }
          cell.Style = it->second;
        }
      }
      ContentChanged();
      return;
    }
  }
}

bool TWorkbook::CommitEntry(int row, int col, std::string_view text) {
  // The edit text confirmed unchanged leaves the cell as it is.
  if (text == Entry(row, col)) return true;
  const TTypedEntry entry = ParseTypedEntry(text, Locale());
  if (entry.Kind == TTypedEntry::TKind::Formula) {
    std::vector<std::string> sheetNames;
    for (const auto& sheet : sheets_) sheetNames.push_back(sheet->Name);
    if (!FormulaAccepted(FormulaFromLocal(entry.Text, Locale().Decimal), sheetNames)) {
      const std::string shown(text);
      ShowMessage("Die Formel " + shown + " ist ungültig.", "The formula " + shown + " is not valid.",
                  MessageIcon::Error);
      return false;
    }
  }
  SetEntry(row, col, text);
  return true;
}

std::string TWorkbook::Formula(int row, int col) const {
  const TCell* cell = Cell(row, col);
  if (cell == nullptr || cell->Kind != TCellKind::Formula) return {};
  return "=" + cell->Formula;
}

void TWorkbook::SetFormula(int row, int col, std::string_view formula) {
  if (!ValidCell(row, col)) return;
  if (!formula.empty() && formula.front() == '=') formula.remove_prefix(1);
  if (formula.empty()) {
    SetText(row, col, "");
    return;
  }
  TCell& cell = CellRef(MutableCurrent(), row, col);
  cell.Kind = TCellKind::Formula;
  cell.Formula.assign(formula);
  // Until the engine has computed it (a function it does not know keeps
  // this).
  cell.Result = TFormulaResult::Error;
  cell.Number = 0.0;
  cell.Text = "#NAME?";
  hasFormulas_ = true;
  ContentChanged();
}

TCellKind TWorkbook::CellKind(int row, int col) const {
  const TCell* cell = Cell(row, col);
  return cell ? cell->Kind : TCellKind::Empty;
}

void TWorkbook::PutCell(int sheet, int row, int col, TCell cell) {
  if (!ValidCell(row, col) || sheet < 1 || sheet > NumSheets()) return;
  if (cell.Style >= styles_.size()) cell.Style = 0;
  if (cell.Kind == TCellKind::Formula) hasFormulas_ = true;
  CellRef(Mutable(sheet), row, col) = std::move(cell);
  if (hasFormulas_) recalcNeeded_ = true;
  SetModified(true);
}

// -------------------------------------------------------------- selection

TRange TWorkbook::Resolve(int row1, int col1, int row2, int col2, bool clipToUsed) const {
  const TSheetData& sheet = CurrentSheetData();
  const int lastRow = clipToUsed ? std::max(1, sheet.LastRow()) : kMaxRows;
  const int lastCol = clipToUsed ? std::max(1, sheet.LastCol()) : kMaxCols;
  TRange range;
  range.Row1 = row1 < 1 ? 1 : std::min(row1, kMaxRows);
  range.Col1 = col1 < 1 ? 1 : std::min(col1, kMaxCols);
  range.Row2 = row2 < 1 ? (row1 < 1 ? lastRow : std::max(lastRow, range.Row1)) : std::min(row2, kMaxRows);
  range.Col2 = col2 < 1 ? (col1 < 1 ? lastCol : std::max(lastCol, range.Col1)) : std::min(col2, kMaxCols);
  if (range.Row1 > range.Row2) std::swap(range.Row1, range.Row2);
  if (range.Col1 > range.Col2) std::swap(range.Col1, range.Col2);
  return range;
}

void TWorkbook::SetSelection(int row1, int col1, int row2, int col2) {
  TRange range = Resolve(row1, col1, row2, col2, false);
  TSheetData& sheet = ViewState(current_);
  sheet.Selection = {range};
  if (!range.Contains(sheet.ActiveRow, sheet.ActiveCol)) {
    sheet.ActiveRow = range.Row1;
    sheet.ActiveCol = range.Col1;
  }
  Notify(TChange::Selection);
}

void TWorkbook::AddSelection(int row1, int col1, int row2, int col2) {
  TRange range = Resolve(row1, col1, row2, col2, false);
  TSheetData& sheet = ViewState(current_);
  sheet.Selection.push_back(range);
  sheet.ActiveRow = range.Row1;
  sheet.ActiveCol = range.Col1;
  Notify(TChange::Selection);
}

void TWorkbook::SetSelectionRanges(const std::vector<TRange>& ranges, int activeRow, int activeCol) {
  if (ranges.empty() || !ValidCell(activeRow, activeCol)) return;
  std::vector<TRange> clipped;
  for (const TRange& r : ranges) clipped.push_back(Resolve(r.Row1, r.Col1, r.Row2, r.Col2, false));
  TSheetData& sheet = ViewState(current_);
  if (sheet.Selection == clipped && sheet.ActiveRow == activeRow && sheet.ActiveCol == activeCol) return;
  sheet.Selection = std::move(clipped);
  sheet.ActiveRow = activeRow;
  sheet.ActiveCol = activeCol;
  Notify(TChange::Selection);
}

bool TWorkbook::SetSelectionText(std::string_view text) {
  std::string_view trimmed = text;
  while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  if (!trimmed.empty() && trimmed.front() == '=') trimmed.remove_prefix(1);
  // A sheet prefix "Sheet2!A1:B3" switches to that sheet.
  int sheet = current_;
  std::string_view refs = trimmed;
  const std::size_t bang = trimmed.rfind('!');
  if (bang != std::string_view::npos) {
    std::string prefix(trimmed.substr(0, bang));
    if (prefix.size() >= 2 && prefix.front() == '\'' && prefix.back() == '\'') prefix = prefix.substr(1, prefix.size() - 2);
    sheet = SheetFromName(prefix);
    if (sheet == 0) return false;
    refs = trimmed.substr(bang + 1);
  }
  std::vector<TRange> ranges;
  if (auto parsed = ParseRangeList(refs)) {
    ranges = *parsed;
  } else if (auto name = FindName(refs)) {
    for (int i = 1; i <= NumSheets(); ++i) {
      if (sheets_[i - 1]->Id == name->SheetId) sheet = i;
    }
    ranges = {name->Range};
  } else {
    return false;
  }
  SetSheet(sheet);
  TSheetData& data = ViewState(current_);
  data.Selection = ranges;
  data.ActiveRow = ranges.front().Row1;
  data.ActiveCol = ranges.front().Col1;
  Notify(TChange::Selection);
  return true;
}

std::string TWorkbook::Selection() const { return RangeListName(CurrentSheetData().Selection); }

TRange TWorkbook::SelectionRange(int index) const {
  const auto& selection = CurrentSheetData().Selection;
  if (index < 0 || index >= static_cast<int>(selection.size())) return selection.front();
  return selection[index];
}

void TWorkbook::SetActiveCell(int row, int col, bool keepSelection) {
  if (!ValidCell(row, col)) return;
  TSheetData& sheet = ViewState(current_);
  bool inside = false;
  for (const TRange& r : sheet.Selection) inside = inside || r.Contains(row, col);
  if (!(keepSelection && inside)) sheet.Selection = {TRange{row, col, row, col}};
  sheet.ActiveRow = row;
  sheet.ActiveCol = col;
  Notify(TChange::Selection);
}

void TWorkbook::SetTopLeft(int row, int col) {
  if (!ValidCell(row, col)) return;
  const TSheetData& current = CurrentSheetData();
  if (current.TopRow == row && current.LeftCol == col) return;
  // The scroll position is view state, not content: it is kept outside
  // the undo of a transaction.
  TSheetData& sheet = *sheets_[current_ - 1];
  sheet.TopRow = row;
  sheet.LeftCol = col;
  Notify(TChange::View);
}

// ------------------------------------------------------------------ names

bool TWorkbook::DefineName(const std::string& name, std::string_view reference) {
  if (!ValidName(name)) return false;
  std::string_view ref = reference;
  if (!ref.empty() && ref.front() == '=') ref.remove_prefix(1);
  int sheet = current_;
  const std::size_t bang = ref.rfind('!');
  if (bang != std::string_view::npos) {
    std::string prefix(ref.substr(0, bang));
    if (prefix.size() >= 2 && prefix.front() == '\'' && prefix.back() == '\'') {
      std::string unescaped;
      for (std::size_t i = 1; i + 1 < prefix.size(); ++i) {
        unescaped += prefix[i];
        if (prefix[i] == '\'' && i + 2 < prefix.size() && prefix[i + 1] == '\'') ++i;
      }
      prefix = unescaped;
    }
    sheet = SheetFromName(prefix);
    if (sheet == 0) return false;
    ref = ref.substr(bang + 1);
  }
  const auto range = ParseRange(ref);
  if (!range) return false;
  TDefinedName defined{name, sheets_[sheet - 1]->Id, *range, Lowered(name) == "print_area"};
  const std::string lower = Lowered(name);
  bool replaced = false;
  for (auto& existing : names_) {
    if (Lowered(existing.Name) == lower && (!defined.Local || existing.SheetId == defined.SheetId)) {
      existing = defined;
      replaced = true;
    }
  }
  if (!replaced) names_.push_back(defined);
  if (hasFormulas_) recalcNeeded_ = true;
  Changed(TChange::Cells);
  return true;
}

void TWorkbook::DeleteName(std::string_view name) {
  const std::string lower = Lowered(name);
  const int currentId = sheets_[current_ - 1]->Id;
  const auto before = names_.size();
  names_.erase(std::remove_if(names_.begin(), names_.end(),
                              [&](const TDefinedName& n) {
                                return Lowered(n.Name) == lower && (!n.Local || n.SheetId == currentId);
                              }),
               names_.end());
  if (names_.size() != before) {
    if (hasFormulas_) recalcNeeded_ = true;
    Changed(TChange::Cells);
  }
}

std::optional<TDefinedName> TWorkbook::FindName(std::string_view name) const {
  const std::string lower = Lowered(name);
  const int currentId = sheets_[current_ - 1]->Id;
  const TDefinedName* global = nullptr;
  for (const auto& n : names_) {
    if (Lowered(n.Name) != lower) continue;
    if (n.Local && n.SheetId == currentId) return n;
    if (!n.Local) global = &n;
  }
  if (global) return *global;
  return std::nullopt;
}

std::vector<TDefinedName> TWorkbook::Names() const { return names_; }

std::string TWorkbook::NameReference(const TDefinedName& name) const {
  std::string sheetName;
  for (const auto& sheet : sheets_) {
    if (sheet->Id == name.SheetId) sheetName = sheet->Name;
  }
  bool needsQuotes = false;
  for (char c : sheetName) needsQuotes = needsQuotes || !(std::isalnum(static_cast<unsigned char>(c)) || c == '_');
  if (needsQuotes) {
    std::string escaped;
    for (char c : sheetName) {
      escaped += c;
      if (c == '\'') escaped += '\'';
    }
    sheetName = "'" + escaped + "'";
  }
  return sheetName + "!" + RangeName(name.Range, true);
}

// ------------------------------------------------------------------ clear

void TWorkbook::ClearRange(int row1, int col1, int row2, int col2, int kind) {
  if (kind < 1 || kind > 3) return;
  const TRange range = Resolve(row1, col1, row2, col2, true);
  TSheetData& sheet = MutableCurrent();
  const int lastRow = std::min(range.Row2, static_cast<int>(sheet.Rows.size()));
  for (int r = range.Row1; r <= lastRow; ++r) {
    auto& cells = sheet.Rows[r - 1];
    const int lastCol = std::min(range.Col2, static_cast<int>(cells.size()));
    for (int c = range.Col1; c <= lastCol; ++c) {
      TCell& cell = cells[c - 1];
      if (kind == 1 || kind == 3) {
        cell.Kind = TCellKind::Empty;
        cell.Text.clear();
        cell.Formula.clear();
        cell.Number = 0.0;
      }
      if (kind == 1 || kind == 2) cell.Style = 0;
    }
  }
  ContentChanged();
}

void TWorkbook::EditClear(int kind) {
  const auto selection = CurrentSheetData().Selection;
  for (const TRange& r : selection) {
    const bool wholeCols = r.Row1 == 1 && r.Row2 == kMaxRows;
    const bool wholeRows = r.Col1 == 1 && r.Col2 == kMaxCols;
    ClearRange(r.Row1, r.Col1, wholeCols ? -1 : r.Row2, wholeRows ? -1 : r.Col2, kind);
  }
}

// ---------------------------------------------------- cut, copy and paste

namespace {

// A selection range with whole rows or columns cut down to the used area;
// so is any range of more than a million cells, so that formatting or
// copying a huge selection cannot exhaust the memory (beyond the used
// area there is nothing to copy, and formats are kept per cell).
TRange ClipToUsed(const TRange& range, const TSheetData& sheet) {
  TRange clipped = range;
  const bool huge = static_cast<long long>(range.RowCount()) * range.ColCount() > 1000000;
  if (range.Row2 == kMaxRows || huge) clipped.Row2 = std::max(range.Row1, std::min(range.Row2, sheet.LastRow()));
  if (range.Col2 == kMaxCols || huge) clipped.Col2 = std::max(range.Col1, std::min(range.Col2, sheet.LastCol()));
  return clipped;
}

}  // namespace

void TWorkbook::EditCopy() {
  const TSheetData& sheet = CurrentSheetData();
  const TRange range = ClipToUsed(sheet.Selection.front(), sheet);
  TClipboard clip;
  clip.Rows = range.RowCount();
  clip.Cols = range.ColCount();
  clip.SourceRow = range.Row1;
  clip.SourceCol = range.Col1;
  clip.Cells.assign(clip.Rows, std::vector<TCell>(clip.Cols));
  if (recalcNeeded_) Recalculate();
  for (int r = 0; r < clip.Rows; ++r) {
    for (int c = 0; c < clip.Cols; ++c) {
      if (const TCell* cell = sheet.CellAt(range.Row1 + r, range.Col1 + c)) clip.Cells[r][c] = *cell;
    }
  }
  clipboard_ = std::move(clip);
}

void TWorkbook::EditCut() {
  EditCopy();
  const TRange& r = clipboard_.has_value() ? TRange{clipboard_->SourceRow, clipboard_->SourceCol,
                                                    clipboard_->SourceRow + clipboard_->Rows - 1,
                                                    clipboard_->SourceCol + clipboard_->Cols - 1}
                                           : TRange{};
  ClearRange(r.Row1, r.Col1, r.Row2, r.Col2, 1);
}

void TWorkbook::EditPaste() {
  if (!clipboard_) return;
  const int row0 = CurrentSheetData().ActiveRow;
  const int col0 = CurrentSheetData().ActiveCol;
  const int dr = row0 - clipboard_->SourceRow;
  const int dc = col0 - clipboard_->SourceCol;
  TSheetData& sheet = MutableCurrent();
  for (int r = 0; r < clipboard_->Rows; ++r) {
    for (int c = 0; c < clipboard_->Cols; ++c) {
      if (!ValidCell(row0 + r, col0 + c)) continue;
      TCell cell = clipboard_->Cells[r][c];
      if (cell.Kind == TCellKind::Formula) {
        cell.Formula = MoveRelativeReferences(cell.Formula, dr, dc);
        hasFormulas_ = true;
      }
      CellRef(sheet, row0 + r, col0 + c) = std::move(cell);
    }
  }
  sheet.Selection = {TRange{row0, col0, std::min(kMaxRows, row0 + clipboard_->Rows - 1),
                            std::min(kMaxCols, col0 + clipboard_->Cols - 1)}};
  ContentChanged();
  Notify(TChange::Selection);
}

std::string TWorkbook::ClipboardText() const {
  if (!clipboard_) return {};
  std::string text;
  const TSheetData& sheet = CurrentSheetData();
  for (int r = 0; r < clipboard_->Rows; ++r) {
    for (int c = 0; c < clipboard_->Cols; ++c) {
      if (c > 0) text += '\t';
      text += DisplayText(sheet, clipboard_->Cells[r][c]);
    }
    text += "\r\n";
  }
  return text;
}

void TWorkbook::PasteText(std::string_view text) {
  const int row0 = CurrentSheetData().ActiveRow;
  const int col0 = CurrentSheetData().ActiveCol;
  int r = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    int c = 0;
    std::size_t fieldStart = 0;
    while (true) {
      const std::size_t tab = line.find('\t', fieldStart);
      const std::string_view field = line.substr(fieldStart, tab == std::string_view::npos ? line.npos : tab - fieldStart);
      if (!field.empty()) SetEntry(row0 + r, col0 + c, field);
      ++c;
      if (tab == std::string_view::npos) break;
      fieldStart = tab + 1;
    }
    ++r;
    start = end + 1;
  }
}

// ------------------------------------------------- insert and delete cells

namespace {

template <typename T>
std::map<int, T> ShiftKeys(const std::map<int, T>& map, int at, int count, bool insert) {
  std::map<int, T> shifted;
  for (const auto& [key, value] : map) {
    if (key < at) {
      shifted.emplace(key, value);
    } else if (insert) {
      if (key + count <= (std::is_same_v<T, double> ? kMaxCols : kMaxRows)) shifted.emplace(key + count, value);
    } else if (key >= at + count) {
      shifted.emplace(key - count, value);
    }
  }
  return shifted;
}

std::set<int> ShiftSet(const std::set<int>& set, int at, int count, bool insert) {
  std::set<int> shifted;
  for (int key : set) {
    if (key < at) shifted.insert(key);
    else if (insert) shifted.insert(key + count);
    else if (key >= at + count) shifted.insert(key - count);
  }
  return shifted;
}

// Moves one coordinate (row or column) of a reference after `count` lines
// were inserted (count > 0) or deleted (count < 0) at `at`. Returns false
// when the line was deleted.
bool ShiftCoordinate(int& value, int at, int count) {
  if (count > 0) {
    if (value >= at) value += count;
    return true;
  }
  const int removed = -count;
  if (value >= at + removed) {
    value -= removed;
    return true;
  }
  return value < at;
}

}  // namespace

void TWorkbook::ShiftReferences(int sheetId, bool rows, int at, int count, const TRange& band) {
  // band: the columns (for row shifts) or rows (for column shifts) that
  // moved; a reference moves only when it lies wholly inside the band.
  std::string sheetName;
  for (const auto& s : sheets_) {
    if (s->Id == sheetId) sheetName = Lowered(s->Name);
  }
  auto inBand = [&](const TRefPoint& a, const TRefPoint* b) {
    const int lo = rows ? band.Col1 : band.Row1;
    const int hi = rows ? band.Col2 : band.Row2;
    const int v1 = rows ? a.Col : a.Row;
    const int v2 = b ? (rows ? b->Col : b->Row) : v1;
    return std::min(v1, v2) >= lo && std::max(v1, v2) <= hi;
  };
  for (int s = 1; s <= NumSheets(); ++s) {
    const bool ownSheet = sheets_[s - 1]->Id == sheetId;
    bool any = false;
    for (const auto& row : sheets_[s - 1]->Rows) {
      for (const auto& cell : row) any = any || cell.Kind == TCellKind::Formula;
    }
    if (!any) continue;
    TSheetData& data = Mutable(s);
    for (auto& row : data.Rows) {
      for (auto& cell : row) {
        if (cell.Kind != TCellKind::Formula) continue;
        cell.Formula = RewriteReferences(cell.Formula, [&](const std::string& prefix, TRefPoint& a, TRefPoint* b) {
          const bool refersHere = prefix.empty() ? ownSheet : Lowered(prefix) == sheetName;
          if (!refersHere || !inBand(a, b)) return true;
          if (b == nullptr) return rows ? ShiftCoordinate(a.Row, at, count) : ShiftCoordinate(a.Col, at, count);
          int& lo = rows ? a.Row : a.Col;
          int& hi = rows ? b->Row : b->Col;
          if (count > 0) {
            ShiftCoordinate(lo, at, count);
            ShiftCoordinate(hi, at, count);
            return true;
          }
          // A deleted block inside a range shrinks it.
          const int removed = -count;
          int first = std::min(lo, hi);
          int last = std::max(lo, hi);
          if (first >= at && last < at + removed) return false;
          if (last >= at + removed) last -= removed;
          else if (last >= at) last = at - 1;
          if (first >= at + removed) first -= removed;
          else if (first >= at) first = at;
          lo = first;
          hi = last;
          return true;
        });
      }
    }
  }
  // Defined names on the sheet move as well (a deleted name range keeps
  // its place, shrunk).
  for (auto& name : names_) {
    if (name.SheetId != sheetId) continue;
    TRefPoint a{name.Range.Row1, name.Range.Col1};
    TRefPoint b{name.Range.Row2, name.Range.Col2};
    if (!inBand(a, &b)) continue;
    int& lo = rows ? name.Range.Row1 : name.Range.Col1;
    int& hi = rows ? name.Range.Row2 : name.Range.Col2;
    if (count > 0) {
      ShiftCoordinate(lo, at, count);
      ShiftCoordinate(hi, at, count);
    } else {
      const int removed = -count;
      if (hi >= at + removed) hi -= removed;
      else if (hi >= at) hi = std::max(at - 1, lo >= at ? at : lo);
      if (lo >= at + removed) lo -= removed;
      else if (lo >= at) lo = at;
      if (hi < lo) hi = lo;
    }
  }
  if (hasFormulas_) recalcNeeded_ = true;
}

void TWorkbook::EditInsert(int mode) { InsertRange(CurrentSheetData().Selection.front(), mode); }

void TWorkbook::EditDelete(int mode) { DeleteRange(CurrentSheetData().Selection.front(), mode); }

namespace {
bool ValidRange(const TRange& r) {
  return r.Row1 >= 1 && r.Col1 >= 1 && r.Row1 <= r.Row2 && r.Col1 <= r.Col2 && r.Row2 <= kMaxRows && r.Col2 <= kMaxCols;
}
}  // namespace

void TWorkbook::InsertRange(const TRange& range, int mode) {
  if (mode < 1 || mode > 4 || !ValidRange(range)) return;
  TSheetData& sheet = MutableCurrent();
  const int id = sheet.Id;
  const int nRows = range.RowCount();
  const int nCols = range.ColCount();
  switch (mode) {
    case 1: {  // shift right, rows of the range only
      const int lastRow = std::min(range.Row2, static_cast<int>(sheet.Rows.size()));
      for (int r = range.Row1; r <= lastRow; ++r) {
        auto& cells = sheet.Rows[r - 1];
        if (static_cast<int>(cells.size()) >= range.Col1) {
          cells.insert(cells.begin() + (range.Col1 - 1), nCols, TCell{});
          if (static_cast<int>(cells.size()) > kMaxCols) cells.resize(kMaxCols);
        }
      }
      ShiftReferences(id, false, range.Col1, nCols, TRange{range.Row1, 1, range.Row2, kMaxCols});
      break;
    }
    case 2: {  // shift down, columns of the range only
      const int used = static_cast<int>(sheet.Rows.size());
      if (used >= range.Row1) {
        const int newSize = std::min(kMaxRows, used + nRows);
        sheet.Rows.resize(newSize);
        for (int r = newSize; r >= range.Row1; --r) {
          auto& target = sheet.Rows[r - 1];
          for (int c = range.Col1; c <= range.Col2; ++c) {
            TCell moved;
            const int source = r - nRows;
            if (source >= range.Row1) {
              auto& from = sheet.Rows[source - 1];
              if (static_cast<int>(from.size()) >= c) moved = std::move(from[c - 1]);
            }
            if (moved.Kind == TCellKind::Empty && moved.Style == 0 && static_cast<int>(target.size()) < c) continue;
            if (static_cast<int>(target.size()) < c) target.resize(c);
            target[c - 1] = std::move(moved);
          }
        }
      }
      ShiftReferences(id, true, range.Row1, nRows, TRange{1, range.Col1, kMaxRows, range.Col2});
      break;
    }
    case 3: {  // whole rows
      if (static_cast<int>(sheet.Rows.size()) >= range.Row1) {
        sheet.Rows.insert(sheet.Rows.begin() + (range.Row1 - 1), nRows, std::vector<TCell>{});
        if (static_cast<int>(sheet.Rows.size()) > kMaxRows) sheet.Rows.resize(kMaxRows);
      }
      sheet.RowHeights = ShiftKeys(sheet.RowHeights, range.Row1, nRows, true);
      sheet.HiddenRows = ShiftSet(sheet.HiddenRows, range.Row1, nRows, true);
      sheet.RowBreaks = ShiftSet(sheet.RowBreaks, range.Row1, nRows, true);
      ShiftReferences(id, true, range.Row1, nRows, TRange{1, 1, kMaxRows, kMaxCols});
      break;
    }
    case 4: {  // whole columns
      for (auto& cells : sheet.Rows) {
        if (static_cast<int>(cells.size()) >= range.Col1) {
          cells.insert(cells.begin() + (range.Col1 - 1), nCols, TCell{});
          if (static_cast<int>(cells.size()) > kMaxCols) cells.resize(kMaxCols);
        }
      }
      sheet.ColWidths = ShiftKeys(sheet.ColWidths, range.Col1, nCols, true);
      sheet.HiddenCols = ShiftSet(sheet.HiddenCols, range.Col1, nCols, true);
      sheet.ColBreaks = ShiftSet(sheet.ColBreaks, range.Col1, nCols, true);
      ShiftReferences(id, false, range.Col1, nCols, TRange{1, 1, kMaxRows, kMaxCols});
      break;
    }
  }
  ContentChanged();
  Notify(TChange::Structure);
}

void TWorkbook::DeleteRange(const TRange& range, int mode) {
  if (mode < 1 || mode > 4 || !ValidRange(range)) return;
  TSheetData& sheet = MutableCurrent();
  const int id = sheet.Id;
  const int nRows = range.RowCount();
  const int nCols = range.ColCount();
  switch (mode) {
    case 1: {  // shift left
      const int lastRow = std::min(range.Row2, static_cast<int>(sheet.Rows.size()));
      for (int r = range.Row1; r <= lastRow; ++r) {
        auto& cells = sheet.Rows[r - 1];
        if (static_cast<int>(cells.size()) < range.Col1) continue;
        const int end = std::min(static_cast<int>(cells.size()), range.Col2);
        cells.erase(cells.begin() + (range.Col1 - 1), cells.begin() + end);
      }
      ShiftReferences(id, false, range.Col1, -nCols, TRange{range.Row1, 1, range.Row2, kMaxCols});
      break;
    }
    case 2: {  // shift up
      const int used = static_cast<int>(sheet.Rows.size());
      for (int r = range.Row1; r <= used; ++r) {
        const int source = r + nRows;
        auto& target = sheet.Rows[r - 1];
        for (int c = range.Col1; c <= range.Col2; ++c) {
          TCell moved;
          if (source <= used) {
            auto& from = sheet.Rows[source - 1];
            if (static_cast<int>(from.size()) >= c) moved = std::move(from[c - 1]);
          }
          if (static_cast<int>(target.size()) < c) {
            if (moved.Kind == TCellKind::Empty && moved.Style == 0) continue;
            target.resize(c);
          }
          target[c - 1] = std::move(moved);
        }
      }
      ShiftReferences(id, true, range.Row1, -nRows, TRange{1, range.Col1, kMaxRows, range.Col2});
      break;
    }
    case 3: {  // whole rows
      const int used = static_cast<int>(sheet.Rows.size());
      if (used >= range.Row1) {
        const int end = std::min(used, range.Row2);
        sheet.Rows.erase(sheet.Rows.begin() + (range.Row1 - 1), sheet.Rows.begin() + end);
      }
      sheet.RowHeights = ShiftKeys(sheet.RowHeights, range.Row1, nRows, false);
      sheet.HiddenRows = ShiftSet(sheet.HiddenRows, range.Row1, nRows, false);
      sheet.RowBreaks = ShiftSet(sheet.RowBreaks, range.Row1, nRows, false);
      ShiftReferences(id, true, range.Row1, -nRows, TRange{1, 1, kMaxRows, kMaxCols});
      break;
    }
    case 4: {  // whole columns
      for (auto& cells : sheet.Rows) {
        if (static_cast<int>(cells.size()) < range.Col1) continue;
        const int end = std::min(static_cast<int>(cells.size()), range.Col2);
        cells.erase(cells.begin() + (range.Col1 - 1), cells.begin() + end);
      }
      sheet.ColWidths = ShiftKeys(sheet.ColWidths, range.Col1, nCols, false);
      sheet.HiddenCols = ShiftSet(sheet.HiddenCols, range.Col1, nCols, false);
      sheet.ColBreaks = ShiftSet(sheet.ColBreaks, range.Col1, nCols, false);
      ShiftReferences(id, false, range.Col1, -nCols, TRange{1, 1, kMaxRows, kMaxCols});
      break;
    }
  }
  ContentChanged();
  Notify(TChange::Structure);
}

// ------------------------------------------------------------------- sort

namespace {

// Sort rank of a cell: numbers, then texts, then empty cells.
struct SortKey {
  int Rank = 2;
  double Number = 0.0;
  std::string Text;  // lower case
};

int CompareKeys(const SortKey& a, const SortKey& b, bool descending) {
  if (a.Rank != b.Rank) {
    // Empty cells stay last whichever the direction.
    if (a.Rank == 2) return 1;
    if (b.Rank == 2) return -1;
    return descending ? (a.Rank < b.Rank ? 1 : -1) : (a.Rank < b.Rank ? -1 : 1);
  }
  int result = 0;
  if (a.Rank == 0) result = a.Number < b.Number ? -1 : (a.Number > b.Number ? 1 : 0);
  if (a.Rank == 1) result = a.Text.compare(b.Text) < 0 ? -1 : (a.Text == b.Text ? 0 : 1);
  return descending ? -result : result;
}

}  // namespace

void TWorkbook::Sort(int row1, int col1, int row2, int col2, bool byRows, int key1, int key2, int key3) {
  // Beyond the used area all cells are empty and stay last: the range is
  // cut down to it without changing the result.
  TRange range = Resolve(row1, col1, row2, col2, true);
  range.Row2 = std::max(range.Row1, std::min(range.Row2, LastRow()));
  range.Col2 = std::max(range.Col1, std::min(range.Col2, LastCol()));
  if (recalcNeeded_) Recalculate();
  std::vector<int> keys;
  for (int key : {key1, key2, key3}) {
    if (key != 0) keys.push_back(key);
  }
  if (keys.empty()) return;
  const TSheetData& source = CurrentSheetData();
  const int lines = byRows ? range.RowCount() : range.ColCount();
  // Keys of every line, read before anything moves.
  std::vector<std::vector<SortKey>> lineKeys(lines, std::vector<SortKey>(keys.size()));
  for (int i = 0; i < lines; ++i) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
      const int keyLine = std::abs(keys[k]);
      const int row = byRows ? range.Row1 + i : keyLine;
      const int col = byRows ? keyLine : range.Col1 + i;
      SortKey& key = lineKeys[i][k];
      if (const TCell* cell = source.CellAt(row, col)) {
        const bool numeric = cell->Kind == TCellKind::Number ||
                             (cell->Kind == TCellKind::Formula && cell->Result == TFormulaResult::Number);
        if (numeric) {
          key.Rank = 0;
          key.Number = cell->Number;
        } else if (cell->Kind != TCellKind::Empty) {
          key.Rank = 1;
          key.Text = Lowered(cell->Text);
        }
      }
    }
  }
  std::vector<int> order(lines);
  for (int i = 0; i < lines; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
      const int c = CompareKeys(lineKeys[a][k], lineKeys[b][k], keys[k] < 0);
      if (c != 0) return c < 0;
    }
    return false;
  });
  // Copy the block out, then write it back in the new order; formulas
  // that move take their relative references along.
  std::vector<std::vector<TCell>> block(range.RowCount(), std::vector<TCell>(range.ColCount()));
  for (int r = 0; r < range.RowCount(); ++r) {
    for (int c = 0; c < range.ColCount(); ++c) {
      if (const TCell* cell = source.CellAt(range.Row1 + r, range.Col1 + c)) block[r][c] = *cell;
    }
  }
  TSheetData& sheet = MutableCurrent();
  for (int i = 0; i < lines; ++i) {
    const int from = order[i];
    for (int j = 0; j < (byRows ? range.ColCount() : range.RowCount()); ++j) {
      const int srcR = byRows ? from : j;
      const int srcC = byRows ? j : from;
      const int dstR = byRows ? i : j;
      const int dstC = byRows ? j : i;
      TCell cell = block[srcR][srcC];
      if (cell.Kind == TCellKind::Formula) cell.Formula = MoveRelativeReferences(cell.Formula, dstR - srcR, dstC - srcC);
      const int row = range.Row1 + dstR;
      const int col = range.Col1 + dstC;
      if (cell.Kind == TCellKind::Empty && cell.Style == 0 && sheet.CellAt(row, col) == nullptr) continue;
      CellRef(sheet, row, col) = std::move(cell);
    }
  }
  ContentChanged();
}

void TWorkbook::StartEdit() { Notify(TChange::EditRequested); }

void TWorkbook::Refresh() { Notify(TChange::Structure); }

// ----------------------------------------------------------------- styles

std::uint32_t TWorkbook::StyleIndex(const TCellStyle& style) {
  const std::string key = StyleKey(style);
  const auto it = styleIndex_.find(key);
  if (it != styleIndex_.end()) return it->second;
  const auto index = static_cast<std::uint32_t>(styles_.size());
  styles_.push_back(style);
  styleIndex_.emplace(key, index);
  return index;
}

const TCellStyle& TWorkbook::StyleAt(int sheet, int row, int col) const {
  const TCell* cell = SheetData(sheet).CellAt(row, col);
  return styles_[cell ? cell->Style : 0];
}

void TWorkbook::ModifyStyle(const TRange& range, const std::function<void(TCellStyle&)>& change) {
  TSheetData& sheet = MutableCurrent();
  const TRange clipped = ClipToUsed(range, sheet);
  std::unordered_map<std::uint32_t, std::uint32_t> mapped;  // old style -> new style
  for (int r = clipped.Row1; r <= clipped.Row2; ++r) {
    for (int c = clipped.Col1; c <= clipped.Col2; ++c) {
      TCell& cell = CellRef(sheet, r, c);
      auto it = mapped.find(cell.Style);
      if (it == mapped.end()) {
        TCellStyle style = styles_[cell.Style];
        change(style);
        it = mapped.emplace(cell.Style, StyleIndex(style)).first;
      }
      cell.Style = it->second;
    }
  }
}

std::string TWorkbook::NumberFormat() const {
  return LocalFormat(StyleAt(current_, Row(), Col()).NumberFormat, Locale());
}

void TWorkbook::SetNumberFormat(std::string_view localPattern) {
  std::string canonical = CanonicalFormat(localPattern, Locale());
  std::string lower = Lowered(canonical);
  if (lower == "general" || lower == "standard") canonical.clear();
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.NumberFormat = canonical; });
  }
  ContentChanged();
}

void TWorkbook::SetCellNumberFormat(int row, int col, std::string_view localPattern) {
  if (!ValidCell(row, col)) return;
  TCell& cell = CellRef(MutableCurrent(), row, col);
  const TFormatLocale locale = Locale();
  std::string& key = formatKey_;  // reused: no allocation per cell
  key.clear();
  char number[16];
  key.append(number, std::to_chars(number, number + sizeof number, cell.Style).ptr);
  key += '\x1f';
  key += localPattern;
  key += locale.Decimal;
  key += locale.Thousands;
  auto it = numberFormatCache_.find(key);
  if (it == numberFormatCache_.end()) {
    TCellStyle style = styles_[cell.Style];
    style.NumberFormat = CanonicalFormat(localPattern, locale);
    const std::string lower = Lowered(style.NumberFormat);
    if (lower == "general" || lower == "standard") style.NumberFormat.clear();
    it = numberFormatCache_.emplace(key, StyleIndex(style)).first;
  }
  if (cell.Style != it->second) {
    cell.Style = it->second;
    ContentChanged();
  }
}

TAlignment TWorkbook::Alignment() const { return StyleAt(current_, Row(), Col()).Alignment; }

void TWorkbook::SetAlignment(const TAlignment& alignment) {
  TAlignment a = alignment;
  a.Horizontal = std::clamp(a.Horizontal, 1, 7);
  a.Vertical = std::clamp(a.Vertical, 1, 3);
  a.Orientation = std::clamp(a.Orientation, 0, 3);
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.Alignment = a; });
  }
  ContentChanged();
}

TCellFont TWorkbook::Font() const { return StyleAt(current_, Row(), Col()).Font; }

int TWorkbook::FontSizeTwips() const { return static_cast<int>(std::lround(Font().Size * 20.0)); }

void TWorkbook::SetFont(const TCellFont& font) {
  TCellFont f = font;
  f.Size = std::clamp(f.Size, 1.0, 409.0);
  if (f.Face.empty()) f.Face = "Arial";
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.Font = f; });
  }
  ContentChanged();
}

TBorders TWorkbook::Borders() const { return StyleAt(current_, Row(), Col()).Borders; }

void TWorkbook::SetBorders(const TBorders& borders) {
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.Borders = borders; });
  }
  ContentChanged();
}

void TWorkbook::SetOutlineBorder(const TBorderLine& line) {
  const TSheetData& sheet = CurrentSheetData();
  for (const TRange& selected : std::vector<TRange>(sheet.Selection)) {
    const TRange r = ClipToUsed(selected, CurrentSheetData());
    ModifyStyle(TRange{r.Row1, r.Col1, r.Row1, r.Col2}, [&](TCellStyle& s) { s.Borders.Top = line; });
    ModifyStyle(TRange{r.Row2, r.Col1, r.Row2, r.Col2}, [&](TCellStyle& s) { s.Borders.Bottom = line; });
    ModifyStyle(TRange{r.Row1, r.Col1, r.Row2, r.Col1}, [&](TCellStyle& s) { s.Borders.Left = line; });
    ModifyStyle(TRange{r.Row1, r.Col2, r.Row2, r.Col2}, [&](TCellStyle& s) { s.Borders.Right = line; });
  }
  ContentChanged();
}

TPattern TWorkbook::Pattern() const { return StyleAt(current_, Row(), Col()).Pattern; }

void TWorkbook::SetPattern(const TPattern& pattern) {
  TPattern p = pattern;
  p.Pattern = std::clamp(p.Pattern, 0, 18);
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.Pattern = p; });
  }
  ContentChanged();
}

TProtection TWorkbook::Protection() const { return StyleAt(current_, Row(), Col()).Protection; }

void TWorkbook::SetProtection(bool locked, bool hidden) {
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.Protection = TProtection{locked, hidden}; });
  }
  ContentChanged();
}

// ------------------------------------------------------------------ sizes

void TWorkbook::SetColWidth(int col1, int col2, double width, bool asDefault) {
  if (!std::isfinite(width)) return;
  width = std::clamp(width, 0.0, 255.0);
  TSheetData& sheet = MutableCurrent();
  if (col1 < 1 && col2 < 1) {
    sheet.DefaultColWidth = width;
    sheet.ColWidths.clear();
  } else {
    const TRange r = Resolve(1, col1, 1, col2, false);
    if (asDefault) {
      sheet.DefaultColWidth = width;
      for (int c = r.Col1; c <= r.Col2; ++c) sheet.ColWidths.erase(c);
    } else {
      for (int c = r.Col1; c <= r.Col2; ++c) sheet.ColWidths[c] = width;
    }
  }
  Changed(TChange::Structure);
}

void TWorkbook::SetRowHeight(int row1, int row2, double height, bool asDefault) {
  if (!std::isfinite(height)) return;
  height = std::clamp(height, 0.0, 409.0);
  TSheetData& sheet = MutableCurrent();
  if (row1 < 1 && row2 < 1) {
    sheet.DefaultRowHeight = height;
    sheet.RowHeights.clear();
  } else {
    const TRange r = Resolve(row1, 1, row2, 1, false);
    const int last = std::min(r.Row2, std::max(r.Row1, static_cast<int>(sheet.Rows.size()) + 1000));
    if (asDefault) {
      sheet.DefaultRowHeight = height;
      for (int row = r.Row1; row <= last; ++row) sheet.RowHeights.erase(row);
    } else {
      for (int row = r.Row1; row <= last; ++row) sheet.RowHeights[row] = height;
    }
  }
  Changed(TChange::Structure);
}

double TWorkbook::MeasureText(const std::string& text, const TCellFont& font) const {
  if (measurer_) return measurer_(text, font);
  // Without a view: count characters (not bytes) scaled by the font size
  // relative to 10 points, bold a little wider.
  double count = 0.0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) count += 1.0;
  }
  return count * font.Size / 10.0 * (font.Bold ? 1.1 : 1.0);
}

void TWorkbook::SetColWidthAuto(int row1, int col1, int row2, int col2) { FitColWidths(row1, col1, row2, col2, false); }

void TWorkbook::WidenColsToFit(int row1, int col1, int row2, int col2) { FitColWidths(row1, col1, row2, col2, true); }

void TWorkbook::FitColWidths(int row1, int col1, int row2, int col2, bool widenOnly) {
  const TRange range = Resolve(row1, col1, row2, col2, true);
  const TSheetData& source = CurrentSheetData();
  // Widest text per column of the range (-1: no cell in it).
  const int firstCol = std::max(range.Col1, 1);
  std::vector<double> widths(static_cast<std::size_t>(std::max(range.Col2 - firstCol + 1, 0)), -1.0);
  const int lastRow = std::min(range.Row2, static_cast<int>(source.Rows.size()));
  for (int r = range.Row1; r <= lastRow; ++r) {
    const auto& cells = source.Rows[r - 1];
    const int lastCol = std::min(range.Col2, static_cast<int>(cells.size()));
    for (int c = firstCol; c <= lastCol; ++c) {
      const TCell& cell = cells[c - 1];
      if (cell.Kind == TCellKind::Empty) continue;
      const double w = MeasureText(DisplayText(source, cell), styles_[cell.Style].Font) + 1.0;
      double& widest = widths[static_cast<std::size_t>(c - firstCol)];
      widest = std::max(widest, w);
    }
  }
  if (std::all_of(widths.begin(), widths.end(), [](double w) { return w < 0; })) return;
  TSheetData& sheet = MutableCurrent();
  bool changed = false;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] < 0) continue;
    const int col = firstCol + static_cast<int>(i);
    const double width = std::clamp(widths[i], 1.0, 255.0);
    if (widenOnly && width <= sheet.ColWidth(col)) continue;
    sheet.ColWidths[col] = width;
    changed = true;
  }
  if (changed) Changed(TChange::Structure);
}

void TWorkbook::SetRowHeightAuto(int row1, int col1, int row2, int col2) {
  const TRange range = Resolve(row1, col1, row2, col2, true);
  TSheetData& sheet = MutableCurrent();
  const int lastRow = std::min(range.Row2, std::max(static_cast<int>(sheet.Rows.size()), range.Row1));
  for (int r = range.Row1; r <= lastRow; ++r) {
    double points = 0.0;
    if (r <= static_cast<int>(sheet.Rows.size())) {
      const auto& cells = sheet.Rows[r - 1];
      const int lastCol = std::min(range.Col2, static_cast<int>(cells.size()));
      for (int c = range.Col1; c <= lastCol; ++c) {
        const TCell& cell = cells[c - 1];
        const TCellStyle& style = styles_[cell.Style];
        int lines = 1;
        if (style.Alignment.Wrap && cell.Kind != TCellKind::Empty) {
          const double w = MeasureText(DisplayText(sheet, cell), style.Font);
          lines = std::max(1, static_cast<int>(std::ceil(w / std::max(1.0, sheet.ColWidth(c) - 1.0))));
        }
        if (cell.Kind != TCellKind::Empty || cell.Style != 0) points = std::max(points, style.Font.Size * 1.275 * lines);
      }
    }
    if (points <= 0.0) {
      sheet.RowHeights.erase(r);
    } else {
      sheet.RowHeights[r] = std::min(409.0, points);
    }
  }
  Changed(TChange::Structure);
}

void TWorkbook::SetColHidden(int col1, int col2, bool hidden) {
  const TRange r = Resolve(1, col1, 1, col2, true);
  TSheetData& sheet = MutableCurrent();
  for (int c = r.Col1; c <= r.Col2; ++c) {
    if (hidden) sheet.HiddenCols.insert(c);
    else sheet.HiddenCols.erase(c);
  }
  Changed(TChange::Structure);
}

void TWorkbook::SetRowHidden(int row1, int row2, bool hidden) {
  const TRange r = Resolve(row1, 1, row2, 1, true);
  TSheetData& sheet = MutableCurrent();
  for (int row = r.Row1; row <= r.Row2; ++row) {
    if (hidden) sheet.HiddenRows.insert(row);
    else sheet.HiddenRows.erase(row);
  }
  Changed(TChange::Structure);
}

void TWorkbook::SetFixedRows(int rows) {
  rows = std::clamp(rows, 0, kMaxRows - 1);
  if (rows == FixedRows()) return;
  MutableCurrent().FixedRows = rows;
  Notify(TChange::View);
}

void TWorkbook::SetFixedCols(int cols) {
  cols = std::clamp(cols, 0, kMaxCols - 1);
  if (cols == FixedCols()) return;
  MutableCurrent().FixedCols = cols;
  Notify(TChange::View);
}

// ------------------------------------------------------------- view flags

void TWorkbook::SetShowSelections(bool on) {
  showSelections_ = on;
  Notify(TChange::View);
}

void TWorkbook::SetShowEditBar(bool on) {
  showEditBar_ = on;
  Notify(TChange::View);
}

void TWorkbook::SetShowFormulas(bool on) {
  showFormulas_ = on;
  Notify(TChange::View);
}

void TWorkbook::SetShowGridLines(bool on) {
  showGridLines_ = on;
  Notify(TChange::View);
}

void TWorkbook::SetEnableProtection(bool on) {
  enableProtection_ = on;
  Notify(TChange::View);
}

void TWorkbook::SetViewScale(int percent) {
  viewScale_ = std::clamp(percent, 10, 400);
  Notify(TChange::View);
}

// ------------------------------------------------------------ page breaks

void TWorkbook::AddRowPageBreak(int row) {
  if (row < 1 || row >= kMaxRows) return;
  MutableCurrent().RowBreaks.insert(row);
  Changed(TChange::Structure);
}

void TWorkbook::AddColPageBreak(int col) {
  if (col < 1 || col >= kMaxCols) return;
  MutableCurrent().ColBreaks.insert(col);
  Changed(TChange::Structure);
}

void TWorkbook::AddPageBreak() {
  const TRange r = CurrentSheetData().Selection.back();
  if (r.Row2 < kMaxRows) AddRowPageBreak(r.Row2);
  if (r.Col2 < kMaxCols) AddColPageBreak(r.Col2);
}

int TWorkbook::RowPageBreak(int row) const { return CurrentSheetData().RowBreaks.count(row) ? row : 0; }

int TWorkbook::ColPageBreak(int col) const { return CurrentSheetData().ColBreaks.count(col) ? col : 0; }

void TWorkbook::RemoveRowPageBreak(int row) {
  if (RowPageBreak(row) == 0) return;
  MutableCurrent().RowBreaks.erase(row);
  Changed(TChange::Structure);
}

void TWorkbook::RemoveColPageBreak(int col) {
  if (ColPageBreak(col) == 0) return;
  MutableCurrent().ColBreaks.erase(col);
  Changed(TChange::Structure);
}

void TWorkbook::RemovePageBreak() {
  RemoveRowPageBreak(Row());
  RemoveColPageBreak(Col());
}

// --------------------------------------------------------------- printing

void TWorkbook::SetPrintAreaFromSelection() {
  const TSheetData& sheet = CurrentSheetData();
  const TRange range = ClipToUsed(sheet.Selection.front(), sheet);
  const int id = sheet.Id;
  bool replaced = false;
  for (auto& n : names_) {
    if (n.Local && n.SheetId == id && Lowered(n.Name) == "print_area") {
      n.Range = range;
      replaced = true;
    }
  }
  if (!replaced) names_.push_back(TDefinedName{"Print_Area", id, range, true});
  Changed(TChange::Cells);
}

std::optional<TRange> TWorkbook::PrintArea(int sheet) const {
  const int id = SheetData(sheet).Id;
  for (const auto& n : names_) {
    if (n.Local && n.SheetId == id && Lowered(n.Name) == "print_area") return n.Range;
  }
  return std::nullopt;
}

TPageSetup& TWorkbook::PageSetup() {
  SetModified(true);
  return MutableCurrent().Page;
}

void TWorkbook::SetPrintScale(int percent, bool fitToPages, int pagesTall, int pagesWide) {
  TPageSetup& page = MutableCurrent().Page;
  page.ScalePercent = std::clamp(percent, 10, 400);
  page.FitToPages = fitToPages;
  page.PagesTall = std::max(0, pagesTall);
  page.PagesWide = std::max(0, pagesWide);
  SetModified(true);
}

void TWorkbook::GetPrintScale(int& percent, bool& fitToPages, int& pagesTall, int& pagesWide) const {
  const TPageSetup& page = CurrentSheetData().Page;
  percent = page.ScalePercent;
  fitToPages = page.FitToPages;
  pagesTall = page.PagesTall;
  pagesWide = page.PagesWide;
}

// ----------------------------------------------------------- transactions

void TWorkbook::TransactionBegin() {
  if (transaction_) TransactionCommit();
  auto t = std::make_unique<TTransaction>();
  t->Sheets = sheets_;
  t->Names = names_;
  t->Current = current_;
  t->NextSheetId = nextSheetId_;
  transaction_ = std::move(t);
}

void TWorkbook::TransactionCommit() { transaction_.reset(); }

void TWorkbook::TransactionRollback() {
  if (!transaction_) return;
  sheets_ = std::move(transaction_->Sheets);
  names_ = std::move(transaction_->Names);
  current_ = std::clamp(transaction_->Current, 1, NumSheets());
  transaction_.reset();
  clipboard_.reset();
  hasFormulas_ = true;  // not known without a look; the next computation finds out
  recalcNeeded_ = true;
  Notify(TChange::Structure);
  Notify(TChange::CurrentSheet);
  Changed(TChange::Cells);
}

}  // namespace kvx::workbook
