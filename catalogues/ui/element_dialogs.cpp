#include "catalogues/ui/element_dialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <span>

#include "catalogues/element_file_formats.h"
#include "catalogues/element_sheet.h"
#include "catalogues/list_messages.h"
#include "catalogues/ui/csv_format_dialog.h"
#include "catalogues/ui/data_file_dialog.h"
#include "catalogues/ui/element_list_combo.h"
#include "core/quantity_headings.h"
#include "core/text_conversion.h"
#include "platform/desktop_opener.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/settings_store.h"
#include "platform/workbook/cell_matchers.h"
#include "platform/workbook/workbook.h"

namespace kvx {

namespace {

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

struct FieldLabel {
  int Field;
  const char* German;
  const char* English;
};

const FieldLabel kAsteroidLabels[] = {
    {1, "&a (AE):", "&a (AU):"},
    {2, "&e:", "&e:"},
    {3, "&i:", "&i:"},
    {4, "Kno&ten:", "Node:"},
    {5, "&Perihel(w):", "&Perihelion (w):"},
    {6, "&M:", "&M:"},
    {7, "&n (wenn unbe- kannt: 0 eingeben):", "&n (enter 0 when unknown):"},
    {8, "&Äquinoktium (Jahr):", "Equinox (year):"},
    {9, "Epoche (&JD):", "Epoch (&JD):"},
    {10, "&H:", "&H:"},
    {11, "&G:", "&G:"},
};

const FieldLabel kCometLabels[] = {
    {1, "&q (AE):", "&q (AU):"},
    {2, "&e:", "&e:"},
    {3, "&i:", "&i:"},
    {4, "Kno&ten:", "Node:"},
    {5, "&Perihel(w):", "&Perihelion (w):"},
    {8, "&Äquinoktium (Jahr):", "&Equinox (year):"},
    {9, "Perihelzeit (&JD):", "Time of perihelion (&JD):"},
    {10, "&Hell.-Param.:", "&Parameter for magnitude:"},
    {11, "&vis (mag):", "&vis (mag):"},
    {12, "Epoche (JD):", "Epoche (JD):"},
};

std::span<const FieldLabel> LabelsOf(TElementDialogKind kind) {
  if (kind == TElementDialogKind::Asteroid) return kAsteroidLabels;
  return kCometLabels;
}

const char* SettingsName(TElementDialogKind kind, bool url) {
  if (kind == TElementDialogKind::Asteroid) return url ? "ElementsAsteroids" : "SearchAstroidsByBeginning";
  return url ? "ElementsComets" : "SearchCometsByBeginning";
}

const char* DefaultUrl(TElementDialogKind kind) {
  return kind == TElementDialogKind::Asteroid ? "https://www.minorplanetcenter.net/iau/MPEph/MPEph.html"
                                              : "https://www.minorplanetcenter.net/iau/Ephemerides/Comets/";
}

std::string ShownNumber(double value, int decimals) {
  std::string s;
  FloatToStrTrim(decimals, s, value);
  return DotToDecimalSepTrim(s);
}

// Loads `fileName` into a fresh list of the kind of `list` (its messages
// shown) and hands the items over only when the file is accepted; `kind`
// then holds the file's format. A refused file leaves `list` and `kind`.
template <typename List>
bool LoadIfAccepted(List& list, std::uint8_t& kind, const std::string& fileName) {
  List loaded(list.ItemLimit);
  if constexpr (requires { list.NormalizeNames; }) loaded.NormalizeNames = list.NormalizeNames;
  std::uint8_t format = kind;
  if (!loaded.Neuedateiladen(format, fileName, true, 0)) return false;
  list.TakeOver(loaded);
  kind = format;
  return true;
}

// The field and sheet routines of one record kind.
template <typename TRecord>
struct TKindRoutines {
  double& (*Field)(TRecord& record, int field);
  std::optional<TRecord> (*SetFromCells)(const std::vector<TSheetCellValue>& cells);
  void (*WriteHeader)(workbook::TWorkbook& sheet, const TTableConfigRecord& config);
  void (*AppendRow)(workbook::TWorkbook& sheet, const TRecord& record);
};

template <typename TRecord>
constexpr TKindRoutines<TRecord> kKindRoutines{};
template <>
constexpr TKindRoutines<TAsteroidElements> kKindRoutines<TAsteroidElements>{
    &AsteroidField, &AsteroidSetFromCells, &WriteAsteroidElementHeaderToSheet, &AppendAsteroidElementRowToSheet};
template <>
constexpr TKindRoutines<TCometElements> kKindRoutines<TCometElements>{
    &CometField, &CometSetFromCells, &WriteCometElementHeaderToSheet, &AppendCometElementRowToSheet};

}  // namespace

TElementDialogBase::TElementDialogBase(TElementDialogKind kind, QWidget* parent) : QDialog(parent), kind_(kind) {
  for (const FieldLabel& l : LabelsOf(kind)) fields_.push_back(l.Field);
  Build();
  // The help button and F1 open the same section.
  SetHelpContext(this, kind == TElementDialogKind::Comet ? kHelpTopicCometElements : kHelpTopicAsteroidElements, help_);
  SettingsStore& store = CurrentSettingsStore();
  web_->setText(QString::fromStdString(store.ReadString("URLs", SettingsName(kind, true)).value_or(DefaultUrl(kind))));
  wortanfang_->setChecked(store.ReadBool("Settings", SettingsName(kind, false)).value_or(true));
}

TElementDialogBase::~TElementDialogBase() = default;

void TElementDialogBase::Build() {
  setObjectName(kind_ == TElementDialogKind::Asteroid ? "Elementeplform" : "Elementekoform");
  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  top->addLayout(columns);

  manual_group_ = new QGroupBox(this);
  auto* grid = new QGridLayout(manual_group_);
  name_label_ = new QLabel(manual_group_);
  name_ = new QLineEdit(manual_group_);
  name_->setObjectName("ID110");
  name_->setMaxLength(40);
  grid->setColumnStretch(1, 1);
  name_label_->setBuddy(name_);
  grid->addWidget(name_label_, 0, 0);
  grid->addWidget(name_, 0, 1, 1, 2);
  int row = 1;
  for (int f : fields_) {
    auto* label = new QLabel(manual_group_);
    auto* edit = new QLineEdit(manual_group_);
    edit->setObjectName(QString("ID%1").arg(f == 12 ? 112 : f == 11 ? 111 : 99 + f));
    label->setBuddy(edit);
    edit->setMinimumWidth(160);
    edit->installEventFilter(this);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    if (f == 8) {
      eq2000_ = new QPushButton("&2000", manual_group_);
      eq1950_ = new QPushButton("&1950", manual_group_);
      auto* eq = new QHBoxLayout;
      eq->addWidget(eq2000_);
      eq->addWidget(eq1950_);
      grid->addLayout(eq, row, 2);
    }
    if (kind_ == TElementDialogKind::Comet && (f == 9 || f == 12)) {
      auto* fraction = new QPushButton(manual_group_);
      fraction->setObjectName(f == 9 ? "TagesbruchteilButton" : "Button2");
      connect(fraction, &QPushButton::clicked, this, [this, f] { DayFractionClick(f); });
      grid->addWidget(fraction, row, 2);
      (f == 9 ? t_fraction_ : epoch_fraction_) = fraction;
    }
    labels_.push_back(label);
    edits_.push_back(edit);
    ++row;
  }
  no_object_ = new QPushButton(manual_group_);
  no_object_->setObjectName(kind_ == TElementDialogKind::Asteroid ? "Button2" : "KeinKomet");
  grid->addWidget(no_object_, row, 0, 1, 2);
  label15_ = new QLabel(manual_group_);
  label15_->setObjectName("Label15");
  label15_->setWordWrap(true);
  grid->addWidget(label15_, row + 1, 0, 1, 3);
  columns->addWidget(manual_group_);

  auto* right = new QVBoxLayout;
  columns->addLayout(right);
  list_group_ = new QGroupBox(this);
  auto* lv = new QVBoxLayout(list_group_);
  combo_ = new ElementListCombo(list_group_);
  combo_->setObjectName(kind_ == TElementDialogKind::Asteroid ? "Planetoidentabelle1" : "Kometentabelle1");
  combo_->setMinimumWidth(260);
  lv->addWidget(combo_);
  search_label_ = new QLabel(list_group_);
  search_ = new QLineEdit(list_group_);
  search_->setObjectName("Edit1");
  search_label_->setBuddy(search_);
  lv->addWidget(search_label_);
  lv->addWidget(search_);
  wortanfang_ = new QCheckBox(list_group_);
  wortanfang_->setObjectName("wortanfang");
  lv->addWidget(wortanfang_);
  open_ = new QPushButton(list_group_);
  save_ = new QPushButton(list_group_);
  lv->addWidget(open_);
  lv->addWidget(save_);
  used_file_ = new QLabel(list_group_);
  used_file_->setObjectName("Label14");
  used_file_->setWordWrap(true);
  lv->addWidget(used_file_);
  web_button_ = new QPushButton(list_group_);
  lv->addWidget(web_button_);
  web_ = new QLineEdit(list_group_);
  web_->setObjectName("Edit3");
  web_->hide();
  right->addWidget(list_group_);

  sheet_group_ = new QGroupBox(this);
  sheet_group_->setObjectName("GroupBox3");
  auto* sv = new QGridLayout(sheet_group_);
  sheet_label_ = new QLabel(sheet_group_);
  sheet_ref_ = new QLineEdit("A:3", sheet_group_);
  sheet_ref_->setObjectName("Edit2");
  from_cell_ = new QPushButton(sheet_group_);
  sv->addWidget(sheet_label_, 0, 0, 1, 2);
  sv->addWidget(sheet_ref_, 1, 0);
  sv->addWidget(from_cell_, 1, 1);
  right->addWidget(sheet_group_);
  write_ = new QPushButton(this);
  write_->setObjectName("BtnWrite");
  write_header_ = new QPushButton(this);
  write_header_->setObjectName("btnWriteHeader");
  right->addWidget(write_);
  right->addWidget(write_header_);
  right->addStretch();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("OK");
  ok_->setDefault(true);
  cancel_ = new QPushButton(this);
  cancel_->setObjectName("Abbruch");
  help_ = new QPushButton(this);
  help_->setObjectName("Hilfe");
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addWidget(help_);
  top->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, [this] { OKClick(true); });
  connect(cancel_, &QPushButton::clicked, this, [this] { CancelClick(); });
  connect(no_object_, &QPushButton::clicked, this, [this] { SetNoObject(); });
  connect(name_, &QLineEdit::textChanged, this, [this] {
    if (!restoring_) Name() = KeptElementName(kind_, name_->text().toStdString().substr(0, 40), LanguageEnglish != 0);
    EnableElementEdits();
  });
  connect(eq2000_, &QPushButton::clicked, this, [this] {
    Field(8) = 2000.0;
    FieldEdit(8)->setText(QString::fromStdString(ShownNumber(2000.0, 4)));
  });
  connect(eq1950_, &QPushButton::clicked, this, [this] {
    Field(8) = 1950.0;
    FieldEdit(8)->setText(QString::fromStdString(ShownNumber(1950.0, 4)));
  });
  connect(combo_, &ElementListCombo::selectionChanged, this, [this](int) {
    if (keeping_record_) return;
    TakeListRecord();
    ShowFields();
  });
  connect(search_, &QLineEdit::textChanged, this, [this] { DoSearch(); });
  connect(wortanfang_, &QCheckBox::clicked, this, [this] {
    State.SearchAnywhere = wortanfang_->isChecked() ? 0 : 1;
    DoSearch();
  });
  connect(open_, &QPushButton::clicked, this, [this] { OpenListFile(); });
  connect(save_, &QPushButton::clicked, this, [this] { SaveList(); });
  connect(web_button_, &QPushButton::clicked, this, [this] { OpenWebPage(); });
  connect(sheet_ref_, &QLineEdit::textEdited, this, [this] { OnSheetRefChanged(); });
  connect(from_cell_, &QPushButton::clicked, this, [this] {
    if (Sheet == nullptr) return;
    State.SheetRow = Sheet->Row();
    State.SheetColumn = Sheet->Col();
    ReadElementSetFromSheet();
  });
  connect(write_, &QPushButton::clicked, this, [this] { WriteToSheet(false); });
  connect(write_header_, &QPushButton::clicked, this, [this] { WriteToSheet(true); });
}

QLineEdit* TElementDialogBase::FieldEdit(int field) const {
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    if (fields_[k] == field) return edits_[k];
  }
  return nullptr;
}

void TElementDialogBase::SetCaptions() {
  const bool asteroid = kind_ == TElementDialogKind::Asteroid;
  setWindowTitle(asteroid ? Q("Bahnelemente für eine Keplerellipse (Planetoiden)", "Orbital elements for an asteroid")
                          : Q("Bahnelemente für einen Kometen", "Orbital elements for a comet"));
  sheet_group_->setTitle(Q("A&us Tabellenblatt übernehmen", "Read from sheet"));
  sheet_label_->setText(
      Q("Der Bahnelementesatz beginn in (Zeile:Spalte):", "The set of orbital elements beginns at (row:column):"));
  from_cell_->setText(Q("Ab aktiver Zelle", "From active cell"));
  list_group_->setTitle(Q("Aus Datei mit Bahnelementen übernehmen", "Load from file with orbital elements"));
  manual_group_->setTitle(Q("Verwendete Bahnelemente (manuelle Eingabe)", "Orbital elements"));
  label15_->setText(Q("Um wieder Bahnelemente zu verwenden, geben Sie zunächst einen neuen Objektnamen ein.",
                      "To use orbital elements again, first enter a new object name."));
  write_header_->setText(Q("Mit Kopfzeile in Tabelle schreiben", "Write to table (with header)"));
  write_->setText(Q("In Tabelle schreiben", "Write to table"));
  open_->setText(Q("&Datei mit Bahnelementen öffnen...", "Open file with orbital elements..."));
  save_->setText(Q("Datenbank speichern als...", "Save database as..."));
  no_object_->setText(asteroid ? Q("Kein P&lanetoid", "No asteroid") : Q("Kein Ko&met", "No Comet"));
  wortanfang_->setText(Q("nur nach &Wortanfang", "only by the beginning of the words"));
  search_label_->setText(Q("&suchen nach...", "&search for..."));
  name_label_->setText(Q("Obje&kt (Name):", "Obje&ct (name):"));
  web_button_->setText(Q("Bahnelemente im www", "Elements in the www"));
  ApplyDialogButtonLanguage(cancel_, help_);
  if (t_fraction_ != nullptr) {
    t_fraction_->setText(
        Q("Perihelzeit als Tagesbr&uchteil eingeben", "Enter time of perihelion as day with fraction"));
    epoch_fraction_->setText(Q("Epoche als Tagesbruchteil eingeben", "Enter epoche as day with fraction"));
    t_fraction_->setVisible(static_cast<bool>(DayFractionHook));
    epoch_fraction_->setVisible(static_cast<bool>(DayFractionHook));
  }
  std::size_t k = 0;
  for (const FieldLabel& l : LabelsOf(kind_)) labels_[k++]->setText(Q(l.German, l.English));
}

void TElementDialogBase::ShowFields() {
  restoring_ = true;
  const bool english = LanguageEnglish != 0;
  name_->setText(QString::fromStdString(ShownElementName(kind_, Name(), english)));
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    const int f = fields_[k];
    edits_[k]->setText(QString::fromStdString(ShownNumber(Field(f), ElementFieldDecimals(kind_, f))));
  }
  restoring_ = false;
  EnableElementEdits();
}

void TElementDialogBase::EnableElementEdits() {
  const bool enabled = !IsNoObjectName(kind_, name_->text().toStdString(), LanguageEnglish != 0);
  for (QLineEdit* e : edits_) e->setEnabled(enabled);
  no_object_->setVisible(enabled);
  label15_->setVisible(!enabled);
  const bool sheet = enabled && Spreadsheet;
  write_->setVisible(sheet);
  write_header_->setVisible(sheet);
  sheet_group_->setVisible(sheet);
}

void TElementDialogBase::LoadListWhenEmpty() {
  if (List().Loaded != 0 || List().Count() > 0) return;
  if (State.FileName.empty()) {
    State.FileName =
        DataFolder.empty() ? DefaultElementFileName(kind_) : DataFolder + "/" + DefaultElementFileName(kind_);
  }
  LoadListFile(false);
  combo_->Reload();
}

void TElementDialogBase::ShowUsedElementFile() {
  if (List().BuiltInListShown != 0 || List().Loaded == 0) {
    used_file_->setText(
        Q("Momentan ist keine Datei mit Bahnelementen geladen", "For the moment there is no file in use"));
    used_file_->setStyleSheet("color: gray");
  } else {
    used_file_->setText(Q("Verwendete Datei: ", "Used file: ") + QString::fromStdString(State.FileName));
    used_file_->setStyleSheet({});
  }
}

void TElementDialogBase::ShowSequence() {
  if (kind_ == TElementDialogKind::Comet) search_->clear();
  sheet_group_->setVisible(Spreadsheet);
  write_->setVisible(Spreadsheet);
  write_header_->setVisible(Spreadsheet);
  SaveRecordCopy();
  if (!isVisible()) undo_load_ = nullptr;  // shown again while open: the start stays
  State.InvalidEntryPending = 0;
  if (State.FileName.empty()) {
    State.FileName =
        DataFolder.empty() ? DefaultElementFileName(kind_) : DataFolder + "/" + DefaultElementFileName(kind_);
  }
  if (State.LoadPending != 0) {
    PutRecordIntoList();
    combo_->SetList(&List());
    LoadListFile(false);
    combo_->Reload();
    TakeListRecord();
  }
  SetCaptions();
  State.LoadPending = 0;
  State.SearchAnywhere = wortanfang_->isChecked() ? 0 : 1;
  ShowUsedElementFile();
  RestoreRecordCopy();
  ShowFields();
  ShowRecordInList();
}

void TElementDialogBase::ShowRecordInList() {
  List().Select(RecordIndexInList());
  combo_->ShowSelection();
}

void TElementDialogBase::hideEvent(QHideEvent* event) {
  SettingsStore& store = CurrentSettingsStore();
  store.WriteString("URLs", SettingsName(kind_, true), web_->text().toStdString());
  store.WriteBool("Settings", SettingsName(kind_, false), wortanfang_->isChecked());
  QDialog::hideEvent(event);
}

void TElementDialogBase::closeEvent(QCloseEvent* event) {
  if (State.InvalidEntryPending != 0) {
    State.InvalidEntryPending = 0;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

bool TElementDialogBase::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !restoring_ && isVisible()) {
    for (std::size_t k = 0; k < edits_.size(); ++k) {
      if (edits_[k] == watched && edits_[k]->isEnabled()) {
        // The asteroid inclination is checked by OK only.
        if (!(kind_ == TElementDialogKind::Asteroid && fields_[k] == 3)) CheckEntry(fields_[k]);
        break;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool TElementDialogBase::CheckEntry(int field) {
  QLineEdit* edit = FieldEdit(field);
  if (edit == nullptr) return true;
  const std::optional<double> value = ParseElementEntry(edit->text().toStdString());
  if (value && ElementFieldAccepts(kind_, field, *value)) {
    Field(field) = *value;
    State.InvalidEntryPending = 0;
    return true;
  }
  RefuseEntry(field, edit);
  return false;
}

void TElementDialogBase::RefuseEntry(int field, QLineEdit* edit) {
  State.InvalidEntryPending = 1;
  // The message waits until the focus change has finished.
  QPointer<QLineEdit> target(edit);
  const bool keepFocus = kind_ == TElementDialogKind::Asteroid && (field == 6 || field == 9);
  QTimer::singleShot(0, this, [this, field, target, keepFocus] {
    ShowElementEntryError(kind_, field);
    ShowFields();
    // Still pending only while the click that moved the focus is to come.
    State.InvalidEntryPending = ok_->isDown() ? 1 : 0;
    if (target && !keepFocus) target->setFocus();
  });
}

bool TElementDialogBase::OKClick(bool fromOkButton) {
  if (State.InvalidEntryPending != 0) {
    if (fromOkButton) State.InvalidEntryPending = 0;  // the swallowed click
    return false;
  }
  for (int f : ElementCheckOrder(kind_)) {
    QLineEdit* edit = FieldEdit(f);
    if (!edit->isEnabled()) continue;
    const std::optional<double> value = ParseElementEntry(edit->text().toStdString());
    if (!value || !ElementFieldAccepts(kind_, f, *value)) {
      ShowElementEntryError(kind_, f);
      ShowFields();
      edit->setFocus();
      return false;
    }
    Field(f) = *value;
  }
  Name() = KeptElementName(kind_, name_->text().toStdString().substr(0, 40), LanguageEnglish != 0);
  if (!fromOkButton) return true;
  undo_load_ = nullptr;
  hide();
  if (OnAccepted) OnAccepted();
  return true;
}

void TElementDialogBase::CancelClick() {
  State.InvalidEntryPending = 0;
  if (undo_load_) {
    const std::function<void()> undo = std::move(undo_load_);
    undo_load_ = nullptr;
    undo();
    combo_->Reload();
    ShowUsedElementFile();
    if (OnLoadUndone) OnLoadUndone();
  }
  hide();
}

void TElementDialogBase::reject() {
  CancelClick();
  QDialog::reject();
}

void TElementDialogBase::SetNoObject() {
  name_->setText(QString::fromStdString(NoObjectName(kind_, LanguageEnglish != 0)));
  ShowRecordInList();
}

void TElementDialogBase::DoSearch() {
  if (List().Count() == 0) return;
  List().SetSearchAnywhere(State.SearchAnywhere != 0);
  List().suchen(search_->text().toStdString());
}

void TElementDialogBase::OnSheetRefChanged() {
  const std::string text = sheet_ref_->text().toStdString();
  if (text.size() <= 2) return;
  ParseColumnRowRef(text, State.SheetRow, State.SheetColumn);
  ReadElementSetFromSheet();
}

void TElementDialogBase::ReadElementSetFromSheet() {
  if (Sheet == nullptr) return;
  const int count = SheetCellCount();
  if (State.SheetRow < 1 || State.SheetColumn < 1) {
    State.SheetRow = 1;
    State.SheetColumn = 1;
  }
  Sheet->SetSelection(State.SheetRow, State.SheetColumn, State.SheetRow, State.SheetColumn + count - 1);
  std::vector<TSheetCellValue> cells;
  for (int k = 0; k < count; ++k) {
    const int row = State.SheetRow;
    const int col = State.SheetColumn + k;
    TSheetCellValue cell;
    cell.IsNumber = Sheet->CellKind(row, col) == workbook::TCellKind::Number;
    cell.Number = Sheet->Number(row, col);
    cell.Text = Sheet->Text(row, col);
    cells.push_back(cell);
  }
  if (TakeSheetCells(cells)) ShowFields();
}

void TElementDialogBase::WriteToSheet(bool withHeader) {
  if (Sheet == nullptr || !OKClick(false)) return;
  if (withHeader) {
    Sheet->ClearRange(1, 1, std::max(1, Sheet->LastRow()), std::max(1, Sheet->LastCol()), 1);
    WriteHeaderToSheet();
  }
  AppendRecordToSheet();
}

TTableConfigRecord TElementDialogBase::TitlesConfig() const {
  if (TableConfig != nullptr) return *TableConfig;
  TTableConfigRecord config;
  config.ColumnTitles = QuantityHeadingTable;
  return config;
}

void TElementDialogBase::OpenWebPage() {
  const std::string url = web_->text().toStdString();
  if (!IsWebAddress(url)) {
    ShowMessage("Die Adresse \"" + url + "\" ist keine http- oder https-Adresse und wird nicht geöffnet.",
                "The address \"" + url + "\" is no http or https address and is not opened.", MessageIcon::Warning);
    return;
  }
  OpenWithDesktop(url);
}

void TElementDialogBase::OpenListFile() {
  VamurDateien dialog;
  dialog.SetFileDialogLanguage(LanguageEnglish != 0 ? "ENGLISH" : "GERMAN");
  dialog.SetFileDialogKind(kind_ == TElementDialogKind::Asteroid ? "planetoiden" : "kometen");
  dialog.FileName = State.FileName;
  if (!dialog.Execute()) return;
  // The list of the showing's start, for Cancel (kept once per showing).
  std::function<void()> undo = undo_load_ ? nullptr : KeepList();
  if (!LoadChosenFile(dialog.FileName)) return;  // refused, with its message
  if (undo) undo_load_ = std::move(undo);
  State.FileName = dialog.FileName;
  combo_->Reload();
  ShowUsedElementFile();
  if (OnFileLoaded) OnFileLoaded();
}

void TElementDialogBase::SaveList() {
  const bool asteroid = kind_ == TElementDialogKind::Asteroid;
  FileDialogRequest request;
  request.title = asteroid ? ByLanguage("Datei mit Bahnelementen für Planetoiden speichern",
                                        "Save file with orbital elements for asteroids")
                           : ByLanguage("Datei mit Bahnelementen für Kometen speichern",
                                        "Save File with orbital elements for comets");
  request.filters = ElementSaveFilters(kind_, LanguageEnglish != 0);
  request.start = State.FileName.size() > 4 ? State.FileName.substr(0, State.FileName.size() - 4) : State.FileName;
  const std::optional<std::string> chosen = AskSaveFileName(request);
  if (!chosen) return;
  // The formats that save the extension; several (".csv"): the user picks
  // one.
  const std::vector<std::string> choices = ElementSaveChoices(kind_, *chosen);
  if (choices.empty()) {
    ShowExtensionNotSaved(!asteroid, *chosen);
    return;
  }
  int choice = 0;
  if (choices.size() > 1 &&
      ShowCsvFormatDialog(choice, choices, ByLanguage("csv-&Format präzisieren", "Which specific csv &format?"),
                          this) != 1) {
    return;
  }
  WriteListFile(static_cast<std::size_t>(choice), *chosen);
}

// --- what both kinds share ---------------------------------------------------------

template <typename TRecord, typename TList>
double& TElementDialogOf<TRecord, TList>::Field(int field) {
  return kKindRoutines<TRecord>.Field(Record, field);
}

template <typename TRecord, typename TList>
bool TElementDialogOf<TRecord, TList>::LoadListFile(bool showMessages) {
  return Table().Neuedateiladen(State.ElementFileKind, State.FileName, showMessages, 0);
}

template <typename TRecord, typename TList>
bool TElementDialogOf<TRecord, TList>::LoadChosenFile(const std::string& fileName) {
  return LoadIfAccepted(Table(), State.ElementFileKind, fileName);
}

template <typename TRecord, typename TList>
bool TElementDialogOf<TRecord, TList>::WriteListFile(std::size_t choice, const std::string& fileName) {
  const auto rows = FormatsWriting(ElementFileFormats<TList>(), fileName);
  if (choice >= rows.size() || !rows[choice]->Write(Table(), fileName)) return false;
  if (!rows[choice]->KeepsCodeOnSave) State.ElementFileKind = rows[choice]->StoredCode;
  return true;
}

template <typename TRecord, typename TList>
void TElementDialogOf<TRecord, TList>::TakeListRecord() {
  if (const TRecord* r = Table().Selected()) Record = *r;
}

template <typename TRecord, typename TList>
int TElementDialogOf<TRecord, TList>::RecordIndexInList() {
  if (IsNoObjectName(Kind(), Record.Name, false) || IsNoObjectName(Kind(), Record.Name, true)) return -1;
  return Table().IndexOfRecord(Record);
}

template <typename TRecord, typename TList>
void TElementDialogOf<TRecord, TList>::WriteHeaderToSheet() {
  kKindRoutines<TRecord>.WriteHeader(*Sheet, TitlesConfig());
}

template <typename TRecord, typename TList>
void TElementDialogOf<TRecord, TList>::AppendRecordToSheet() {
  kKindRoutines<TRecord>.AppendRow(*Sheet, Record);
}

template <typename TRecord, typename TList>
bool TElementDialogOf<TRecord, TList>::TakeSheetCells(const std::vector<TSheetCellValue>& cells) {
  const std::optional<TRecord> r = kKindRoutines<TRecord>.SetFromCells(cells);
  if (r) Record = *r;
  return r.has_value();
}

template <typename TRecord, typename TList>
void TElementDialogOf<TRecord, TList>::LoadStoredFile(bool showMessages) {
  if (State.LoadPending != 0 || !std::filesystem::is_regular_file(State.FileName)) return;
  // Another list under the dialog: its record stays and is shown in it.
  keeping_record_ = true;
  LoadListFile(showMessages);
  keeping_record_ = false;
  ListCombo()->Reload();
  ShowRecordInList();
  ShowUsedElementFile();
}

template class TElementDialogOf<TAsteroidElements, Planetoidentabelle>;
template class TElementDialogOf<TCometElements, Kometentabelle>;

// --- asteroids -----------------------------------------------------------------

TElementeplform::TElementeplform(QWidget* parent) : TElementDialogOf(TElementDialogKind::Asteroid, parent) {}

// --- comets ----------------------------------------------------------------------

TElementekoform::TElementekoform(QWidget* parent) : TElementDialogOf(TElementDialogKind::Comet, parent) {}

void TElementDialogBase::DayFractionClick(int field) {
  if (!DayFractionHook) return;
  double jd = Field(field);
  if (!DayFractionHook(jd)) return;
  Field(field) = jd;
  ShowFields();
}

namespace {

template <typename TForm, typename TRecord>
void ShowWithRecord(TForm& form, bool hints, const TRecord& record) {
  form.State.Hints = hints ? 1 : 0;
  form.Record = record;
  form.ShowSequence();
  form.show();
  form.raise();
  form.activateWindow();
}

}  // namespace

void ShowAsteroidElementsDialog(TElementeplform& form, bool hints, const TAsteroidElements& record) {
  ShowWithRecord(form, hints, record);
}

void ShowCometElementsDialog(TElementekoform& form, bool hints, const TCometElements& record) {
  ShowWithRecord(form, hints, record);
}

}  // namespace kvx
