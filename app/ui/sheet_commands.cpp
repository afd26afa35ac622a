#include "app/ui/sheet_commands.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <map>

#include "app/main_form_state.h"
#include "app/menu_table.h"
#include "app/settings_io.h"
#include "app/table_document.h"
#include "app/ui/command_host.h"
#include "app/ui/document_commands.h"
#include "app/ui/menu_commands.h"
#include "app/ui/sheet_dialogs.h"
#include "app/ui/table_commands.h"
#include "app/workbook_document.h"
#include "core/name_tables.h"
#include "engine/ui/mystringgrid_view.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/workbook_dialogs.h"
#include "platform/qt/workbook_view.h"
#include "setup/setup_routines.h"
#include "setup/ui/column_titles_dialog.h"

namespace kvx {

using workbook::TRange;
using workbook::TWorkbook;

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

// The decimals commands and their counts.
const std::map<std::string, int>& DecimalCommands() {
  static const std::map<std::string, int> commands = {
      {"N110", 1}, {"N21", 2},   {"N31", 3},   {"N41", 4},   {"N51", 5},   {"N61", 6},   {"N71", 7},  {"N81", 8},
      {"N91", 9},  {"N101", 10}, {"N112", 11}, {"N121", 12}, {"N131", 13}, {"N141", 14}, {"N151", 15}};
  return commands;
}

// The alignment buttons and their codes.
constexpr std::pair<const char*, int> kAlignButtons[] = {
    {"LeftAlign", 2}, {"CenterAlign", 3}, {"RightAlign", 4}, {"sbcalign", 7}};

}  // namespace

// --- find and replace dialog --------------------------------------------------------------

TSheetFindDialog::TSheetFindDialog(bool replace, QWidget* parent) : QDialog(parent), Language(LanguageEnglish) {
  SetHelpSection(this, "menu-edit");
  setObjectName(replace ? QStringLiteral("ReplaceDialog1") : QStringLiteral("FindDialog1"));
  setWindowTitle(replace ? Tr("Ersetzen", "Replace") : Tr("Suchen", "Find"));
  auto* grid = new QGridLayout(this);
  FindText = new QLineEdit(this);
  // A label with its buddy shows its access key instead of the "&".
  auto* findLabel = new QLabel(Tr("Suchen &nach:", "Fi&nd what:"), this);
  findLabel->setBuddy(FindText);
  grid->addWidget(findLabel, 0, 0);
  grid->addWidget(FindText, 0, 1);
  int row = 1;
  if (replace) {
    ReplaceText = new QLineEdit(this);
    auto* replaceLabel = new QLabel(Tr("Ersetzen &durch:", "Re&place with:"), this);
    replaceLabel->setBuddy(ReplaceText);
    grid->addWidget(replaceLabel, row, 0);
    grid->addWidget(ReplaceText, row++, 1);
  }
  WholeWord = new QCheckBox(Tr("Nur &ganzes Wort", "Match &whole word only"), this);
  MatchCase = new QCheckBox(Tr("&Groß-/Kleinschreibung", "Match &case"), this);
  grid->addWidget(WholeWord, row++, 0, 1, 2);
  grid->addWidget(MatchCase, row++, 0, 1, 2);
  auto* buttons = new QVBoxLayout;
  FindNext = new QPushButton(Tr("&Weitersuchen", "&Find next"), this);
  FindNext->setDefault(true);
  buttons->addWidget(FindNext);
  connect(FindNext, &QPushButton::clicked, this, [this] { emit FindRequested(); });
  if (replace) {
    ReplaceButton = new QPushButton(Tr("&Ersetzen", "&Replace"), this);
    ReplaceAllButton = new QPushButton(Tr("&Alle ersetzen", "Replace &all"), this);
    buttons->addWidget(ReplaceButton);
    buttons->addWidget(ReplaceAllButton);
    connect(ReplaceButton, &QPushButton::clicked, this, [this] { emit ReplaceRequested(false); });
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { emit ReplaceRequested(true); });
  }
  auto* cancel = new QPushButton(Tr("Abbrechen", "Cancel"), this);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(cancel);
  buttons->addStretch(1);
  grid->addLayout(buttons, 0, 2, row, 1);
}

TSearchRequest TSheetFindDialog::Request() const {
  TSearchRequest request;
  request.Text = FindText->text().toStdString();
  request.WholeWord = WholeWord->isChecked();
  request.MatchCase = MatchCase->isChecked();
  return request;
}

QString TSheetFindDialog::Replacement() const { return ReplaceText != nullptr ? ReplaceText->text() : QString(); }

// --- the commands -----------------------------------------------------------------------

TSheetCommands::TSheetCommands(TCommandHost& host) : QObject(&host.Window()), host_(host) {
  InputBox = [this](const QString& caption, const QString& prompt, QString& text) {
    QInputDialog box(&host_.Window());
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(text);
    SetHelpSection(&box, "menu-edit");  // "Tabelle umbenennen..." is the edit menu's
    if (box.exec() != QDialog::Accepted) return false;
    text = box.textValue();
    return true;
  };
  host_.Workbook().AddListener([this](workbook::TChange change) {
    if (change == workbook::TChange::Cells || change == workbook::TChange::Structure)
      ++host_.DocumentState().SheetEdits;
  });
  host_.TableWrittenHook = [this] {
    TDocumentState& document = host_.DocumentState();
    document.SheetEditsAtTable = document.SheetEdits;
  };
  for (const auto& [name, code] : kAlignButtons) {
    if (QAction* action = host_.Commands().Action(name)) action->setCheckable(true);
  }
  Register();
  ConnectControls();
  host_.Window().installEventFilter(this);
}

bool TSheetCommands::InWorkbook() const { return host_.DocumentState().WorkbookView != 0; }

void TSheetCommands::CommitTransaction() {
  TWorkbook& book = host_.Workbook();
  if (book.InTransaction()) book.TransactionCommit();
  host_.DocumentState().UndoFlag = 0;
}

void TSheetCommands::Register() {
  TMenuCommands& c = host_.Commands();
  TWorkbook& book = host_.Workbook();
  c.RegisterHandler("Tabelleeinfgen1", [this] { InsertSheet(); });
  c.RegisterHandler("Tabellelschen1", [this] { DeleteSheet(); });
  c.RegisterHandler("Tabelleumbenennen1", [this] { RenameSheets(); });
  c.RegisterHandler("Tabelleverschieben1", [this] { MoveSheet(); });
  c.RegisterHandler("Au1", [this] { ClipboardCommand(0); });
  c.RegisterHandler("Kopieren1", [this] { ClipboardCommand(1); });
  c.RegisterHandler("Einfgen1", [this] {
    host_.ShowHourglass();
    host_.WorkbookView()->Paste();
    host_.RestoreCursor();
  });
  c.RegisterHandler("Alles2", [&book] { book.EditClear(1); });
  c.RegisterHandler("Formate1", [&book] { book.EditClear(2); });
  c.RegisterHandler("Formeln1", [&book] { book.EditClear(3); });
  c.RegisterHandler("Suchen1", [this] { ShowFind(false); });
  c.RegisterHandler("Ersetzen1", [this] { ShowFind(true); });
  c.RegisterHandler("Gehezu1", [this, &book] {
    ShowGoToDialog(&host_.Window(), book);
    if (InWorkbook()) host_.WorkbookView()->ShowActiveCell();
  });
  c.RegisterHandler("Sortieren1", [this, &book] { ShowSortDialog(&host_.Window(), book); });
  c.RegisterHandler("Zellen2", [this] { InsertOrDeleteCells(false); });
  c.RegisterHandler("Zellenlschen1", [this] { InsertOrDeleteCells(true); });
  c.RegisterHandler("Ausrichtung1", [this, &book] {
    ShowAlignmentDialog(&host_.Window(), book);
    SelectionChanged();
  });
  c.RegisterHandler("Zellenschtzenverbergen1", [this, &book] { ShowProtectionDialog(&host_.Window(), book); });
  c.RegisterHandler("Hhe1", [this, &book] { ShowRowHeightDialog(&host_.Window(), book); });
  c.RegisterHandler("Breite1", [this, &book] { ShowColumnWidthDialog(&host_.Window(), book); });
  c.RegisterHandler("Layout1", [this] {
    ShowLayoutDialog(&host_.Window(), host_.Grid(), host_.Documents().Look());
    host_.Documents().ShowLook();
  });
  c.RegisterHandler("Namen1", [this, &book] { ShowDefineNameDialog(&host_.Window(), book); });
  c.RegisterHandler("Seitenwechsel1", [&book] { InsertPageBreak(book); });
  c.RegisterHandler("Seitenwechselentfernen1", [&book] { RemovePageBreak(book); });
  c.RegisterHandler("Schriftart3", [this, &book] {
    if (InWorkbook()) {
      ShowCellFontDialog(&host_.Window(), book);
      SelectionChanged();
    } else {
      TableFontDialog();
    }
  });
  c.RegisterHandler("Zahlen1", [this, &book] { ShowNumberFormatDialog(&host_.Window(), book); });
  c.RegisterHandler("Rahmen1", [this, &book] { ShowBorderDialog(&host_.Window(), book); });
  c.RegisterHandler("Muster1", [this, &book] { ShowPatternDialog(&host_.Window(), book); });
  c.RegisterHandler("Zellschutzaktivieren1", [this] { ToggleProtection(); });
  c.RegisterHandler("OptimaleBreite1", [this] { FitRanges(false, true); });
  c.RegisterHandler("OptimaleHhe1", [this] { FitRanges(true, false); });
  c.RegisterHandler("Beidesanpassen1", [this] { FitRanges(true, true); });
  c.RegisterHandler("Fixieren1", [&book] { ToggleFreezePanes(book); });
  c.RegisterHandler("Hintergrund1", [this] { PickGridColour(false); });
  c.RegisterHandler("ZeilenSpaltenkpfe1", [this] { PickGridColour(true); });
  c.RegisterHandler("Spaltenberschriften1", [this] { ColumnHeadings(); });
  c.RegisterHandler("Bearbeitungszeile1", [this] { ToggleEditBar(); });
  c.RegisterHandler("Formelnanzeigen1", [this] { ToggleFormulas(); });
  c.RegisterHandler("Rckgngig1", [this] { UndoTable(); });
  for (const auto& [name, count] : DecimalCommands()) {
    const int decimals = count;
    c.RegisterHandler(name, [this, decimals] { Decimals(decimals); });
  }
  c.RegisterHandler("Fett1", [this] { FontStyle(kFontBold); });
  c.RegisterHandler("Kursiv1", [this] { FontStyle(kFontItalic); });
  c.RegisterHandler("Unterstrichen1", [this] { FontStyle(kFontUnderline); });
  for (const auto& [name, code] : kAlignButtons) {
    const int value = code;
    c.RegisterHandler(name, [this, value] { Align(value); });
  }
}

void TSheetCommands::ConnectControls() {
  TMenuCommands& c = host_.Commands();
  if (auto* face = qobject_cast<QComboBox*>(c.ToolWidget("Arial"))) {
    face->setEnabled(true);
    connect(face, &QComboBox::textActivated, this, [this](const QString& text) {
      if (!filling_bar_) FontNameChanged(text);
    });
  }
  if (auto* size = qobject_cast<QComboBox*>(c.ToolWidget("Fontsize"))) {
    size->setEnabled(true);
    connect(size, &QComboBox::textActivated, this, [this](const QString& text) {
      bool ok = false;
      const int value = text.trimmed().toInt(&ok);
      if (ok && !filling_bar_) FontSizeChanged(value);
    });
  }
  if (auto* zoom = qobject_cast<QSpinBox*>(c.ToolWidget("edViewScale"))) {
    zoom->setEnabled(true);
    zoom->setRange(1, 1000);  // out-of-range entries are clamped by the command
    // A typed value counts when it is confirmed (Return, or leaving the
    // box), not at every keystroke; the arrows act at once.
    zoom->setKeyboardTracking(false);
    connect(zoom, &QSpinBox::valueChanged, this, [this](int value) {
      if (!filling_bar_) ZoomChanged(value);
    });
  }
  if (TWorkbookView* view = host_.WorkbookView()) {
    connect(view, &TWorkbookView::OnSelChange, this, &TSheetCommands::SelectionChanged);
    connect(view, &TWorkbookView::OnTopLeftChanged, this, &TSheetCommands::TopLeftChanged);
    connect(view, &TWorkbookView::OnDblClick, this, &TSheetCommands::DoubleClicked);
  }
  // Ctrl+Page Up / Page Down: the previous or next sheet.
  auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), &host_.Window());
  auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), &host_.Window());
  connect(previous, &QShortcut::activated, this, [this] { StepSheet(-1); });
  connect(next, &QShortcut::activated, this, [this] { StepSheet(1); });
  host_.AddMenuStateRefresher([this] { ApplyMenuState(); });
}

bool TSheetCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) FormResize();
  return QObject::eventFilter(watched, event);
}

// --- sheets -------------------------------------------------------------------------------

void TSheetCommands::InsertSheet() {
  CommitTransaction();
  TWorkbook& book = host_.Workbook();
  // The new sheet becomes the current one: the next table goes there, and
  // the sheet before which it stands keeps what it holds.
  const int inserted = book.Sheet();
  book.InsertSheets(inserted, 1, NewSheetNameStem());
  book.SetSheet(inserted);
  book.SetShowSelections(true);
  book.SetAllowEditHeaders(false);
  host_.RefreshMenuStates();
}

void TSheetCommands::DeleteSheet() {
  if (ShowMessage("Wollen Sie wirklich die Tabelle löschen?", "Do you really want to delete the sheet?",
                  MessageIcon::Question, MessageButtons::YesNo,
                  ByLanguage("Sind Sie sicher", "Are you shure?")) == MessageResult::No) {
    return;
  }
  CommitTransaction();
  host_.ShowHourglass();
  TWorkbook& book = host_.Workbook();
  if (book.NumSheets() == 1) {
    ShowMessage("Das einzige Tabellenblatt in einer Datei können Sie nicht löschen.",
                "You cannot delete the only sheet of the file.", MessageIcon::Error, MessageButtons::Ok,
                ByLanguage("Fehler beim Entfernen des Tabellenblatts", "Error while deleting a sheet"));
  } else {
    book.DeleteSheets(book.Sheet(), 1);
  }
  host_.RestoreCursor();
  host_.RefreshMenuStates();
}

void TSheetCommands::RenameSheets() {
  CommitTransaction();
  TWorkbook& book = host_.Workbook();
  std::vector<int> selected;
  for (int sheet = 1; sheet <= book.NumSheets(); ++sheet) {
    if (book.SheetSelected(sheet) || sheet == book.Sheet()) selected.push_back(sheet);
  }
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    QString name = QString::fromStdString(book.SheetName(*it));
    if (!InputBox(Tr("Tabelle umbenennen", "Rename Sheet"),
                  Tr("Bitte neuen Namen für die Tabelle eingeben", "Please enter a new name for the sheet"), name)) {
      continue;
    }
    const std::string wanted = name.trimmed().toStdString();
    if (wanted == book.SheetName(*it)) continue;
    if (!book.SetSheetName(*it, wanted)) {
      ShowMessage("\"" + wanted +
                      "\" ist kein gültiger Tabellenname: er muss 1 bis 31 Zeichen lang sein, darf keines der "
                      "Zeichen : \\ / ? * [ ] enthalten und keinem anderen Blatt gehören.",
                  "\"" + wanted +
                      "\" is no valid sheet name: it must have 1 to 31 characters, none of : \\ / ? * [ ], and "
                      "belong to no other sheet.",
                  MessageIcon::Error);
    }
  }
}

void TSheetCommands::MoveSheet() {
  CommitTransaction();
  TWorkbook& book = host_.Workbook();
  int selected = 0;
  for (int sheet = 1; sheet <= book.NumSheets(); ++sheet) selected += book.SheetSelected(sheet) ? 1 : 0;
  if (book.NumSheets() == 1) {
    ShowMessage("Das einzige Tabellenblatt in einer Datei können Sie nicht verschieben.",
                "You cannot move the only sheet of the file.", MessageIcon::Error, MessageButtons::Ok,
                ByLanguage("Fehler beim Verschieben des Tabellenblatts", "Error while moving sheet"));
    return;
  }
  if (selected > 1) {
    ShowMessage("Sie können nur jeweils ein Tabellenblatt verschieben.", "You can move only one sheet at one time.",
                MessageIcon::Error, MessageButtons::Ok,
                ByLanguage("Mehrere Tabellen zum Verschieben ausgewählt", "More than one sheet selected"));
    return;
  }
  host_.ShowHourglass();
  ShowMoveSheetDialog(&host_.Window(), book);
  host_.RestoreCursor();
}

void TSheetCommands::InsertOrDeleteCells(bool deleting) {
  TWorkbook& book = host_.Workbook();
  if (book.SelectionCount() > 1) {
    ShowMessage(deleting ? "Zum Löschen von Zellen darf nur ein zusammenhängender Bereich markiert sein!"
                         : "Zum Einfügen von Zellen darf nur ein zusammenhängender Bereich markiert sein!",
                deleting ? "To delete cells ther must be selected just one region!"
                         : "To insert cells ther must be selected just one region.!",
                MessageIcon::Error, MessageButtons::Ok,
                ByLanguage("Mehrere Bereiche markiert", "Several regions selected"));
    return;
  }
  if (deleting) {
    ShowDeleteCellsDialog(&host_.Window(), book);
  } else {
    ShowInsertCellsDialog(&host_.Window(), book);
  }
}

void TSheetCommands::StepSheet(int delta) {
  if (!InWorkbook()) return;
  TWorkbook& book = host_.Workbook();
  const int target = book.Sheet() + delta;
  if (target < 1 || target > book.NumSheets()) return;
  book.SetSheet(target);
  book.ShowActiveSheetTab();
}

// --- clipboard ---------------------------------------------------------------------------

void TSheetCommands::ClipboardCommand(int kind) {
  host_.ShowHourglass();
  if (InWorkbook()) {
    if (kind == 0) {
      host_.WorkbookView()->Cut();
    } else {
      host_.WorkbookView()->Copy();
    }
  } else if (TMyStringGridView* view = host_.GridView()) {
    // The selected block of the result grid, the cells of a row joined by
    // the csv separator.
    const QModelIndexList picked =
        view->selectionModel() ? view->selectionModel()->selectedIndexes() : QModelIndexList();
    if (!picked.isEmpty()) {
      int top = picked.front().row(), bottom = top, left = picked.front().column(), right = left;
      for (const QModelIndex& index : picked) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
      }
      tmystringgrid& grid = host_.Grid();
      const QChar separator = QLatin1Char(CsvSeparatorChar(host_.DocumentState().CsvSeparatorIndex));
      QString text;
      for (int row = top; row <= bottom; ++row) {
        for (int col = left; col <= right; ++col) {
          if (col > left) text += separator;
          text += QString::fromStdString(grid.Cells(col + 1, row + 1));
          if (kind == 0) grid.SetCells(col + 1, row + 1, std::string());
        }
        text += QLatin1Char('\n');
      }
      QApplication::clipboard()->setText(text);
    }
  }
  host_.RestoreCursor();
}

// --- find and replace ---------------------------------------------------------------------

void TSheetCommands::ShowFind(bool replace) {
  TSheetFindDialog*& dialog = replace ? replace_ : find_;
  // A dialog kept from before a language switch is made again in the new
  // language, with the user's switches.
  std::optional<std::pair<bool, bool>> switches;
  if (dialog != nullptr && dialog->Language != LanguageEnglish) {
    switches.emplace(dialog->WholeWord->isChecked(), dialog->MatchCase->isChecked());
    delete dialog;
    dialog = nullptr;
  }
  if (dialog == nullptr) {
    dialog = new TSheetFindDialog(replace, &host_.Window());
    connect(dialog, &TSheetFindDialog::FindRequested, this, [this, replace] {
      if (replace) {
        RunReplace(false, false);
      } else {
        RunFind();
      }
    });
    connect(dialog, &TSheetFindDialog::ReplaceRequested, this, [this](bool all) { RunReplace(true, all); });
  }
  if (switches) {
    dialog->WholeWord->setChecked(switches->first);
    dialog->MatchCase->setChecked(switches->second);
  }
  dialog->FindText->setText(QString::fromStdString(search_.LastSearch));
  if (dialog->ReplaceText != nullptr) dialog->ReplaceText->setText(QString::fromStdString(search_.LastReplacement));
  dialog->show();
  dialog->raise();
}

void TSheetCommands::RunFind() {
  if (find_ == nullptr || !InWorkbook()) return;
  // The found cell is made active and scrolled into view.
  if (FindInSheet(host_.Workbook(), find_->Request(), search_)) host_.WorkbookView()->ShowActiveCell();
}

void TSheetCommands::RunReplace(bool replace, bool all) {
  if (replace_ == nullptr || !InWorkbook()) return;
  if (ReplaceInSheet(host_.Workbook(), replace_->Request(), replace_->Replacement().toStdString(), replace, all,
                     search_) > 0) {
    host_.WorkbookView()->ShowActiveCell();
  }
}

// --- formats ------------------------------------------------------------------------------

void TSheetCommands::ShowTableFont() {
  if (host_.Documents().Look().Font.Size < 1) host_.Documents().Look().Font.Size = 10;
  ApplyGridLayout(host_.Grid(), host_.Documents().Look());
  host_.Documents().ShowLook();
}

void TSheetCommands::TableFontDialog() {
  TTableFontRecord& font = host_.Documents().Look().Font;
  QFont current(QString::fromStdString(font.Name), font.Size);
  current.setBold((font.Style & kFontBold) != 0);
  current.setItalic((font.Style & kFontItalic) != 0);
  current.setUnderline((font.Style & kFontUnderline) != 0);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, current, &host_.Window());
  if (!ok) return;
  font.Name = chosen.family().left(static_cast<int>(kTableFontFaceUsed)).toStdString();
  font.Size = TableFontSize(chosen.pointSize(), font.Size);
  font.Height = -(font.Size * 96 + 36) / 72;
  font.Style = (chosen.bold() ? kFontBold : 0) | (chosen.italic() ? kFontItalic : 0) |
               (chosen.underline() ? kFontUnderline : 0) | (chosen.strikeOut() ? kFontStrikeOut : 0);
  ShowTableFont();
}

void TSheetCommands::ToggleProtection() {
  TWorkbook& book = host_.Workbook();
  book.SetEnableProtection(!book.EnableProtection());
  TopLeftChanged();
}

void TSheetCommands::FitRanges(bool rows, bool cols) {
  TWorkbook& book = host_.Workbook();
  for (int k = 0; k < book.SelectionCount(); ++k) {
    const TRange r = book.SelectionRange(k);
    if (rows) book.SetRowHeightAuto(r.Row1, r.Col1, r.Row2, r.Col2);
  }
  for (int k = 0; k < book.SelectionCount(); ++k) {
    const TRange r = book.SelectionRange(k);
    if (cols) book.SetColWidthAuto(r.Row1, r.Col1, r.Row2, r.Col2);
  }
}

void TSheetCommands::PickGridColour(bool fixedCells) {
  TResultGridLook& look = host_.Documents().Look();
  std::uint32_t& target = fixedCells ? look.FixedColor : look.GridColor;
  std::int32_t colour = static_cast<std::int32_t>(target);
  if (PickColor(colour) != 1) return;
  target = static_cast<std::uint32_t>(colour);
  host_.Documents().ShowLook();
}

void TSheetCommands::ColumnHeadings() {
  TEphemerisPeriodState& period = host_.Period();
  TTableState& table = host_.TableState();
  if (ShowColumnTitlesDialog(period.TableConfig, table.ColumnWidthTable, &host_.Window()) == 1) {
    table.TableChanged = 1;
    host_.Tables().RecomputeShownTable();
  } else if (table.TableChanged != 0) {
    host_.Tables().ComputeWithoutKind();
  }
}

void TSheetCommands::ToggleEditBar() {
  // The sheet view shows or hides the edit bar's row as the sheet says.
  host_.Workbook().SetShowEditBar(host_.Commands().IsChecked("Bearbeitungszeile1"));
}

void TSheetCommands::ToggleFormulas() {
  host_.Workbook().SetShowFormulas(host_.Commands().IsChecked("Formelnanzeigen1"));
}

void TSheetCommands::UndoTable() {
  TDocumentState& state = host_.DocumentState();
  if (state.UndoFlag == 0) return;
  std::string german = "Bei OK wird die momentane Tabelle gelöscht und durch eine eventuell vorher berechnete ersetzt.";
  std::string english =
      "Pressing \"OK\" the actual computed ephemeris will be deleted and replaced by a earlier calculated table.";
  if (state.EditedSinceTable()) {
    german += " Ihre späteren Änderungen im Blatt gehen dabei ebenfalls verloren.";
    english += " Your later changes to the sheet will be lost as well.";
  }
  if (ShowMessage(german, english, MessageIcon::Question, MessageButtons::OkCancel,
                  ByLanguage("Aktion zurücknehmen", "Undo")) != MessageResult::Ok) {
    return;
  }
  TWorkbook& book = host_.Workbook();
  if (book.InTransaction()) book.TransactionRollback();
  state.UndoFlag = 0;
  state.SheetEditsAtTable = state.SheetEdits;
}

void TSheetCommands::Decimals(int count) {
  if (!InWorkbook()) return;
  host_.ShowHourglass();
  ApplyDecimalsToSelection(host_.Workbook(), DecimalPatternTable[static_cast<std::size_t>(count)]);
  host_.RestoreCursor();
}

// --- formatting tool bar -------------------------------------------------------------------

void TSheetCommands::FontNameChanged(const QString& face) {
  if (face.isEmpty()) return;
  if (InWorkbook()) {
    TWorkbook& book = host_.Workbook();
    workbook::TCellFont font = book.Font();
    font.Face = face.toStdString();
    book.SetFont(font);
  } else {
    host_.Documents().Look().Font.Name = face.left(static_cast<int>(kTableFontFaceUsed)).toStdString();
    ShowTableFont();
  }
}

void TSheetCommands::FontSizeChanged(int size) {
  if (InWorkbook()) {
    TWorkbook& book = host_.Workbook();
    workbook::TCellFont font = book.Font();
    font.Size = SheetFontSize(size);
    book.SetFont(font);
  } else {
    TTableFontRecord& font = host_.Documents().Look().Font;
    const int taken = TableFontSize(size, font.Size);
    if (taken != font.Size) {
      font.Size = taken;
      font.Height = -(taken * 96 + 36) / 72;
    }
    ShowTableFont();
  }
}

void TSheetCommands::ZoomChanged(int percent) {
  const int zoom = ClampZoom(percent);
  host_.Workbook().SetViewScale(zoom);
  if (auto* box = qobject_cast<QSpinBox*>(host_.Commands().ToolWidget("edViewScale"))) {
    if (box->value() != zoom) {
      filling_bar_ = true;
      box->setValue(zoom);
      filling_bar_ = false;
    }
  }
}

void TSheetCommands::FontStyle(int bit) {
  const char* command = bit == kFontBold ? "Fett1" : (bit == kFontItalic ? "Kursiv1" : "Unterstrichen1");
  const bool down = host_.Commands().IsChecked(command);
  if (InWorkbook()) {
    TWorkbook& book = host_.Workbook();
    workbook::TCellFont font = book.Font();
    if (bit == kFontBold) font.Bold = down;
    if (bit == kFontItalic) font.Italic = down;
    if (bit == kFontUnderline) font.Underline = down;
    book.SetFont(font);
  } else {
    std::int32_t& style = host_.Documents().Look().Font.Style;
    style = down ? (style | bit) : (style & ~bit);
    ShowTableFont();
  }
}

void TSheetCommands::Align(int code) {
  const char* name = "LeftAlign";
  for (const auto& [button, value] : kAlignButtons) {
    if (value == code) name = button;
  }
  const bool down = host_.Commands().IsChecked(name);
  TWorkbook& book = host_.Workbook();
  workbook::TAlignment alignment = book.Alignment();
  alignment.Horizontal = AlignmentCode(code, down);
  book.SetAlignment(alignment);
  SelectionChanged();
}

// --- control events -----------------------------------------------------------------------

void TSheetCommands::SelectionChanged() {
  TWorkbook& book = host_.Workbook();
  TMenuCommands& c = host_.Commands();
  filling_bar_ = true;
  const workbook::TCellFont font = book.Font();
  if (auto* face = qobject_cast<QComboBox*>(c.ToolWidget("Arial")))
    face->setCurrentText(QString::fromStdString(font.Face));
  if (auto* size = qobject_cast<QComboBox*>(c.ToolWidget("Fontsize"))) {
    size->setCurrentText(QString::number(book.FontSizeTwips() / 20));
  }
  c.SetChecked("Fett1", font.Bold);
  c.SetChecked("Kursiv1", font.Italic);
  c.SetChecked("Unterstrichen1", font.Underline);
  const int horizontal = book.Alignment().Horizontal;
  for (const auto& [button, value] : kAlignButtons) c.SetChecked(button, horizontal == value);
  filling_bar_ = false;
  book.SetShowSelections(true);
  book.SetAllowEditHeaders(false);
}

void TSheetCommands::TopLeftChanged() {
  TWorkbook& book = host_.Workbook();
  if (auto* zoom = qobject_cast<QSpinBox*>(host_.Commands().ToolWidget("edViewScale"))) {
    filling_bar_ = true;
    zoom->setValue(book.ViewScale());
    filling_bar_ = false;
  }
  ShowProtectionCaption();
}

void TSheetCommands::ShowProtectionCaption() {
  QAction* action = host_.Commands().Action("Zellschutzaktivieren1");
  if (action == nullptr) return;
  const bool on = host_.Workbook().EnableProtection();
  const bool english = LanguageEnglish != 0;
  // Unprotected, the item reads as the menu has it.
  const TMenuRow* row = FindMenuRow("Zellschutzaktivieren1");
  action->setText(QString::fromUtf8(on || row == nullptr ? ProtectionCaption(on, english) : RowCaption(*row, english)));
}

void TSheetCommands::DoubleClicked(int row, int col) {
  // On a cell the view starts in-cell editing itself.
  if (col == 0 && row > 0) {
    FitRanges(true, false);
  } else if (row == 0 && col > 0) {
    FitRanges(false, true);
  }
}

// --- menus and window --------------------------------------------------------------------------

void TSheetCommands::ApplyMenuState() {
  TMenuCommands& c = host_.Commands();
  QToolBar* tableBar = c.ToolBar("TabellenToolbar");
  const TSheetMenuState s = SheetMenuState(LanguageEnglish != 0, tableBar != nullptr && !tableBar->isHidden());
  c.SetChecked("EnglischeVersion1", s.EnglishChecked);
  c.SetChecked("TabellengrenWerkzeug1", s.TableToolbarChecked);
}

void TSheetCommands::FormResize() {
  TMenuCommands& c = host_.Commands();
  if (!host_.Window().isMaximized() && !host_.Window().isMinimized()) {
    TWindowSettings& w = host_.StoredSettings().Window;
    const QRect bounds = host_.Window().geometry();
    w.X = bounds.x();
    w.Y = bounds.y();
    w.W = bounds.width();
    w.H = bounds.height();
  }
  // The tool bar in one row, or broken into two: its second part under the
  // first.
  c.SetToolBarRows(c.IsChecked("BreakToolbar1"));
  if (QToolBar* speed = c.ToolBar("SpeedBar")) speed->setVisible(c.IsChecked("Symbolleiste1"));
  host_.Window().statusBar()->setVisible(c.IsChecked("s1"));
  host_.ShowClockBar(c.IsChecked("Weltzeituhr1"));
}

}  // namespace kvx
