#include "platform/workbook/workbook.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <sstream>

#include "platform/messages.h"
#include "platform/workbook/formula_engine.h"
#include "platform/workbook/text_and_range_helpers.h"

namespace kvx::workbook {

using internal::ClipToUsed;
using internal::Lowered;
using internal::ValidCell;

// ------------------------------------------------------------- sheet data

std::string StyleKey(const TCellStyle& s) {
  std::ostringstream key;
  key << s.NumberFormat << '\x1f' << s.Alignment.Horizontal << ',' << s.Alignment.Wrap << ',' << s.Alignment.Vertical
      << ',' << s.Alignment.Orientation << '\x1f' << s.Font.Face << ',' << s.Font.Size << ',' << s.Font.Bold
      << s.Font.Italic << s.Font.Underline << s.Font.Strikeout << s.Font.Outline << s.Font.Shadow << ',' << s.Font.Color
      << '\x1f';
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
  readLosses_ = {};
  textForm_ = {};
  fileProperties_ = {};
  textSource_ = {};
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
  readLosses_ = other.readLosses_;
  other.readLosses_ = {};
  textForm_ = other.textForm_;
  fileProperties_ = other.fileProperties_;
  textSource_ = std::move(other.textSource_);
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
  listeners_.erase(
      std::remove_if(listeners_.begin(), listeners_.end(), [id](const auto& entry) { return entry.first == id; }),
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
  // At most 31 characters (not bytes: "Größenklassen der Planetoiden" fits).
  if (name.empty() || Utf8Length(name) > 31 || name.find_first_of(":\\/?*[]") != std::string::npos) return false;
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
  return DisplayText(cell, Locale());
}

std::string TWorkbook::DisplayText(const TCell& cell, const TFormatLocale& locale) const {
  const TCellStyle& style = styles_[cell.Style];
  switch (cell.Kind) {
    case TCellKind::Empty:
      return {};
    case TCellKind::Number:
      return FormatNumber(cell.Number, style.NumberFormat, locale);
    case TCellKind::Text:
      return style.NumberFormat.empty() ? cell.Text : FormatText(cell.Text, style.NumberFormat);
    case TCellKind::Formula:
      if (recalcNeeded_) Recalculate();
      if (cell.Result == TFormulaResult::Number) return FormatNumber(cell.Number, style.NumberFormat, locale);
      return cell.Text;
  }
  return {};
}

std::string TWorkbook::EntryText(const TSheetData& sheet, const TCell& cell) const {
  (void)sheet;
  return EntryText(cell, Locale());
}

std::string TWorkbook::EntryText(const TCell& cell, const TFormatLocale& locale) const {
  switch (cell.Kind) {
    case TCellKind::Empty:
      return {};
    case TCellKind::Number:
      return EntryTextForNumber(cell.Number, styles_[cell.Style].NumberFormat, locale);
    case TCellKind::Text:
      return cell.Text;
    case TCellKind::Formula:
      return "=" + FormulaToLocal(cell.Formula, locale.Decimal);
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

std::string TWorkbook::TextOn(int sheet, int row, int col, const TFormatLocale& locale) const {
  const TCell* cell = SheetData(sheet).CellAt(row, col);
  return cell ? DisplayText(*cell, locale) : std::string();
}

std::string TWorkbook::EntryOn(int sheet, int row, int col, const TFormatLocale& locale) const {
  const TCell* cell = SheetData(sheet).CellAt(row, col);
  return cell ? EntryText(*cell, locale) : std::string();
}

void TWorkbook::SetText(int row, int col, std::string_view text) {
  if (!ValidCell(row, col)) return;
  TCell& cell = CellRef(MutableCurrent(), row, col);
  cell.Source = 0;
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
  cell.Source = 0;
  cell.Kind = TCellKind::Number;
  cell.Number = value;
  cell.Text.clear();
  cell.Formula.clear();
  ContentChanged();
}

std::string TWorkbook::Entry(int row, int col) const { return EntryOn(current_, row, col); }

void TWorkbook::SetEntry(int row, int col, std::string_view text) { SetEntry(row, col, text, Locale()); }

void TWorkbook::SetEntry(int row, int col, std::string_view text, const TFormatLocale& locale) {
  if (!ValidCell(row, col)) return;
  SetEntry(row, col, ParseTypedEntry(text, locale), locale.Decimal);
}

void TWorkbook::SetEntry(int row, int col, const TTypedEntry& entry, char decimal) {
  if (!ValidCell(row, col)) return;
  switch (entry.Kind) {
    case TTypedEntry::TKind::Empty: {
      TCell& cell = CellRef(MutableCurrent(), row, col);
      cell.Source = 0;
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
      SetFormula(row, col, FormulaFromLocal(entry.Text, decimal));
      return;
    case TTypedEntry::TKind::Number: {
      TSheetData& sheet = MutableCurrent();
      TCell& cell = CellRef(sheet, row, col);
      cell.Source = 0;
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
  // The edit text confirmed unchanged leaves the cell as it is, but for
  // the text it had in its file ("01067" confirmed as "1067"): what was
  // confirmed is what a save writes.
  if (text == Entry(row, col)) {
    std::string_view own;
    if (const TCell* cell = Cell(row, col); cell != nullptr && textSource_.Of(*cell, own) && own != text) {
      CellRef(MutableCurrent(), row, col).Source = 0;
      ContentChanged();
    }
    return true;
  }
  const TTypedEntry entry = ParseTypedEntry(text, Locale());
  if (entry.Kind == TTypedEntry::TKind::Formula) {
    std::vector<std::string> sheetNames;
    for (const auto& sheet : sheets_) sheetNames.push_back(sheet->Name);
    const std::string formula = SheetNamesAsNamed(FormulaFromLocal(entry.Text, Locale().Decimal), sheetNames);
    const std::string shown(text);
    if (const std::string name = UncomputedFunction(formula); !name.empty()) {
      ShowMessage(
          "Die Formel " + shown + " ist ungültig: Die Funktion " + name + " kennt das Programm nicht (#NAME?).",
          "The formula " + shown + " is not valid: the program does not know the function " + name + " (#NAME?).",
          MessageIcon::Error);
      return false;
    }
    if (!FormulaAccepted(formula, sheetNames)) {
      ShowMessage("Die Formel " + shown + " ist ungültig.", "The formula " + shown + " is not valid.",
                  MessageIcon::Error);
      return false;
    }
  }
  SetEntry(row, col, entry, Locale().Decimal);
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
  // A sheet named in other case is written as it is named (sheet names
  // compare without regard to case; the engine and the files do not).
  std::string written(formula);
  if (formula.find('!') != std::string_view::npos) {
    std::vector<std::string> sheetNames;
    for (const auto& sheet : sheets_) sheetNames.push_back(sheet->Name);
    written = SheetNamesAsNamed(formula, sheetNames);
  }
  TCell& cell = CellRef(MutableCurrent(), row, col);
  cell.Source = 0;
  cell.Kind = TCellKind::Formula;
  cell.Formula = std::move(written);
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
    if (prefix.size() >= 2 && prefix.front() == '\'' && prefix.back() == '\'')
      prefix = prefix.substr(1, prefix.size() - 2);
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

void TWorkbook::StartEdit() { Notify(TChange::EditRequested); }

void TWorkbook::Refresh() { Notify(TChange::Structure); }

// ------------------------------------------------------------- view flags

void TWorkbook::SetViewFlag(bool& flag, bool on) {
  flag = on;
  Notify(TChange::View);
}

void TWorkbook::SetShowSelections(bool on) { SetViewFlag(showSelections_, on); }

void TWorkbook::SetShowEditBar(bool on) { SetViewFlag(showEditBar_, on); }

void TWorkbook::SetShowFormulas(bool on) { SetViewFlag(showFormulas_, on); }

void TWorkbook::SetShowGridLines(bool on) { SetViewFlag(showGridLines_, on); }

void TWorkbook::SetEnableProtection(bool on) {
  std::optional<TSheetProtection>& protection = ViewState(current_).Protection;
  if (on && !protection) protection.emplace();
  if (!on) protection.reset();
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
