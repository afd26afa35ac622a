#include "app/ui/sheet_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/ui/app_dialog_builders.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/dialog_rows.h"

namespace kvx {

namespace {

QString T(const char* german, const char* english) {
  return QString::fromUtf8(LanguageEnglish != 0 ? english : german);
}

// OK and Cancel in the dialog's language; OK runs `ok` (accept by default).
QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  ApplyDialogButtonLanguage(buttons->button(QDialogButtonBox::Cancel), nullptr);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

// A number typed with a decimal comma or point; NaN when it is none.
double ParseNumber(const QString& text) {
  QString t = text.trimmed();
  t.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  const double value = t.toDouble(&ok);
  return ok ? value : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

// ------------------------------------------------------------ move sheet

TDlgTabVersch::TDlgTabVersch(const workbook::TWorkbook& book, QWidget* parent) : QDialog(parent) {
  SetHelpSection(this, "menu-edit");
  setObjectName(QStringLiteral("TabelleVerschiebenDlg"));
  setWindowTitle(T("Tabelle verschieben", "Move sheet"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(T("Ausgewählet Blätter einfügen vor", "Insert selected sheets before:"), this));
  ListBox1 = new QListWidget(this);
  for (const std::string& name : SheetNameList(book)) ListBox1->addItem(QString::fromStdString(name));
  ListBox1->setCurrentRow(0);
  layout->addWidget(ListBox1);
  QDialogButtonBox* buttons = OkCancel(this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  layout->addWidget(buttons);
}

bool ShowMoveSheetDialog(QWidget* parent, workbook::TWorkbook& book) {
  TDlgTabVersch dialog(book, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  return MoveCurrentSheetBefore(book, dialog.ListBox1->currentRow());
}

// ----------------------------------------------- row height / column width

TZeilenSpaltendialog::TZeilenSpaltendialog(workbook::TWorkbook& book, TSizeKind kind, QWidget* parent)
    : QDialog(parent), book_(book), kind_(kind) {
  SetHelpSection(this, "menu-format");
  setObjectName(QStringLiteral("DlgColRow"));
  const bool rows = kind == TSizeKind::RowHeight;
  setWindowTitle(rows ? T("Zeilenhöhe festlegen", "Set row height") : T("Spaltenbreite festlegen", "Set column width"));
  auto* layout = new QGridLayout(this);
  auto* label = new QLabel(rows ? T("&Zeilenhöhe:", "&Row height:") : T("&Spaltenbreite:", "&Column width:"), this);
  FloatEdit1 = new QLineEdit(this);
  // With the desktop's decimal mark, as the number fields of the options.
  FloatEdit1->setText(
      QString::number(FirstSelectedSize(book, kind), 'g', 6).replace('.', QChar(IntlSeparators.Decimal)));
  label->setBuddy(FloatEdit1);
  CheckBox1 = new QCheckBox(T("als Vo&rgabe verwenden", "use as &default"), this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(FloatEdit1, 0, 1);
  layout->addWidget(CheckBox1, 1, 0, 1, 2);
  auto* column = new QVBoxLayout;
  OkButton = new QPushButton(QStringLiteral("OK"), this);
  OkButton->setDefault(true);
  AutoButton = new QPushButton(T("A&utomatisch", "A&utomatic"), this);
  HideButton = new QPushButton(T("Aus&blenden", "&Hide"), this);
  ShowButton = new QPushButton(T("&Einblenden", "&Show"), this);
  CancelButton = new QPushButton(this);
  ApplyDialogButtonLanguage(CancelButton, nullptr);
  for (QPushButton* b : {OkButton, AutoButton, HideButton, ShowButton, CancelButton}) column->addWidget(b);
  column->addStretch();
  layout->addLayout(column, 0, 2, 3, 1);
  connect(OkButton, &QPushButton::clicked, this, [this] { Answer(kSizeOk); });
  connect(AutoButton, &QPushButton::clicked, this, [this] { Answer(kSizeAutomatic); });
  connect(HideButton, &QPushButton::clicked, this, [this] { Answer(kSizeHide); });
  connect(ShowButton, &QPushButton::clicked, this, [this] { Answer(kSizeShow); });
  connect(CancelButton, &QPushButton::clicked, this, [this] { done(kSizeCancel); });
}

void TZeilenSpaltendialog::Answer(int answer) {
  const double value = answer == kSizeOk ? ParseNumber(FloatEdit1->text()) : 0.0;
  if (!ApplySizeAnswer(book_, kind_, answer, value, CheckBox1->isChecked())) return;  // refused: stay open
  done(answer);
}

namespace {
bool ShowSizeDialog(QWidget* parent, workbook::TWorkbook& book, TSizeKind kind) {
  TZeilenSpaltendialog dialog(book, kind, parent);
  const int answer = dialog.exec();
  return answer != kSizeCancel && answer != QDialog::Rejected;
}
}  // namespace

bool ShowRowHeightDialog(QWidget* parent, workbook::TWorkbook& book) {
  return ShowSizeDialog(parent, book, TSizeKind::RowHeight);
}

bool ShowColumnWidthDialog(QWidget* parent, workbook::TWorkbook& book) {
  return ShowSizeDialog(parent, book, TSizeKind::ColumnWidth);
}

// ------------------------------------------------------------------ sort

TDlgSort::TDlgSort(const workbook::TWorkbook& book, QWidget* parent) : QDialog(parent), book_(book) {
  SetHelpSection(this, "menu-edit");
  setObjectName(QStringLiteral("Sortieren"));
  setWindowTitle(T("Sortieren", "Sort"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(NewRadioGroup<QHBoxLayout>(
      T("Richtung", "Direction"), this,
      {{&rbZeilen, T("&Zeilen sortieren", "Sort &rows")}, {&rbSpalten, T("S&palten sortieren", "Sort &columns")}}));
  rbZeilen->setChecked(true);
  const char* titles[3][2] = {{"1. Schlüssel", "1st key"}, {"2. Schlüssel", "2nd key"}, {"3. Schlüssel", "3rd key"}};
  for (int g = 0; g < 3; ++g) {
    GroupBox[g] = new QGroupBox(T(titles[g][0], titles[g][1]), this);
    auto* row = new QHBoxLayout(GroupBox[g]);
    KeyBox[g] = new QComboBox(GroupBox[g]);
    KeyBox[g]->setMinimumWidth(80);
    Ascending[g] = new QRadioButton(T("aufsteigend", "ascending"), GroupBox[g]);
    Descending[g] = new QRadioButton(T("absteigend", "descending"), GroupBox[g]);
    Ascending[g]->setChecked(true);
    row->addWidget(KeyBox[g]);
    row->addWidget(Ascending[g]);
    row->addWidget(Descending[g]);
    layout->addWidget(GroupBox[g]);
  }
  QDialogButtonBox* buttons = OkCancel(this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  FillKeyLists();
  connect(rbZeilen, &QRadioButton::toggled, this, [this] { FillKeyLists(); });
}

void TDlgSort::FillKeyLists() {
  QStringList items{QString()};
  for (const std::string& item : SortKeyItems(book_, ByRows())) items << QString::fromStdString(item);
  const int lines = static_cast<int>(items.size()) - 1;
  for (int g = 0; g < 3; ++g) {
    KeyBox[g]->clear();
    KeyBox[g]->addItems(items);
    // The first key starts on the first line; the others on none.
    KeyBox[g]->setCurrentIndex(g == 0 && lines > 0 ? 1 : 0);
    GroupBox[g]->setEnabled(lines > g);
  }
}

bool TDlgSort::ByRows() const { return rbZeilen->isChecked(); }

int TDlgSort::Key(int group) const {
  if (group < 1 || group > 3) return 0;
  const int g = group - 1;
  if (!GroupBox[g]->isEnabled()) return 0;
  const int index = KeyBox[g]->currentIndex();
  if (index <= 0) return 0;
  return Descending[g]->isChecked() ? -index : index;
}

bool ShowSortDialog(QWidget* parent, workbook::TWorkbook& book) {
  if (!SortSelectionUsable(book)) return false;
  TDlgSort dialog(book, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  ApplySortKeys(book, dialog.ByRows(), dialog.Key(1), dialog.Key(2), dialog.Key(3));
  return true;
}

// ------------------------------------------------- insert / delete cells

TForm2::TForm2(bool deleteMode, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgzelleneinfuegen"));
  setWindowTitle(deleteMode ? T("Zellen löschen", "Delete cells") : T("Zellen einfügen", "Insert cells"));
  SetHelpSection(this, deleteMode ? "menu-edit" : "menu-insert");
  auto* layout = new QVBoxLayout(this);
  // Mode 2 shifts the cells down on insert and up on delete.
  const char* texts[4][2] = {{"Zellen nach &rechts verschieben", "Move c&ells right"},
                             {"Zellen nach &unten verschieben", "Move c&ells down"},
                             {"Ganze Z&eile", "Complete &row"},
                             {"Ganze &Spalte", "Complete &column"}};
  if (deleteMode) {
    texts[0][0] = "Zellen nach &links verschieben";
    texts[0][1] = "Move cells &left";
    texts[1][0] = "Zellen nach &oben verschieben";
    texts[1][1] = "Move cells &up";
  }
  for (int i = 0; i < 4; ++i) {
    Choice[i] = new QRadioButton(T(texts[i][0], texts[i][1]), this);
    layout->addWidget(Choice[i]);
  }
  Choice[0]->setChecked(true);
  QDialogButtonBox* buttons = OkCancel(this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

int TForm2::Mode() const {
  for (int i = 0; i < 4; ++i) {
    if (Choice[i]->isChecked()) return i + 1;
  }
  return 1;
}

bool ShowInsertCellsDialog(QWidget* parent, workbook::TWorkbook& book) {
  TForm2 dialog(false, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  return ApplyInsertCells(book, dialog.Mode());
}

bool ShowDeleteCellsDialog(QWidget* parent, workbook::TWorkbook& book) {
  TForm2 dialog(true, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  return ApplyDeleteCells(book, dialog.Mode());
}

// ------------------------------------------------------------- alignment

TAusrichtung::TAusrichtung(const workbook::TAlignment& current, QWidget* parent) : QDialog(parent) {
  SetHelpSection(this, "menu-format");
  setObjectName(QStringLiteral("Ausricht"));
  setWindowTitle(T("Ausrichtung", "Alignment"));
  auto* layout = new QGridLayout(this);
  auto* horizontal = new QGroupBox(T("Horizontal", "Horizontal"), this);
  auto* hLayout = new QVBoxLayout(horizontal);
  const char* hTexts[7][2] = {{"&Standard", "&General"},
                              {"&Linksbündig", "&Left"},
                              {"&Zentriert", "&Center"},
                              {"&Rechtsbündig", "&Right"},
                              {"Ausf&üllen", "&Fill"},
                              {"&Blocksatz", "&Justify"},
                              {"Zen&triert über Markierung", "Ce&nter across cells"}};
  for (int i = 0; i < 7; ++i) {
    HorizontalButton[i] = new QRadioButton(T(hTexts[i][0], hTexts[i][1]), horizontal);
    hLayout->addWidget(HorizontalButton[i]);
  }
  auto* vertical = new QGroupBox(T("Vertikal", "Vertical"), this);
  auto* vLayout = new QVBoxLayout(vertical);
  const char* vTexts[3][2] = {{"&oben", "&Top"}, {"&Mitte", "C&enter"}, {"&Unten", "&Bottom"}};
  for (int i = 0; i < 3; ++i) {
    VerticalButton[i] = new QRadioButton(T(vTexts[i][0], vTexts[i][1]), vertical);
    vLayout->addWidget(VerticalButton[i]);
  }
  vLayout->addStretch();
  WrapBox = new QCheckBox(T("Zeilenumbru&ch", "Word wrap"), this);
  HorizontalButton[std::clamp(current.Horizontal, 1, 7) - 1]->setChecked(true);
  VerticalButton[std::clamp(current.Vertical, 1, 3) - 1]->setChecked(true);
  WrapBox->setChecked(current.Wrap);
  layout->addWidget(horizontal, 0, 0, 2, 1);
  layout->addWidget(vertical, 0, 1);
  layout->addWidget(WrapBox, 1, 1);
  QDialogButtonBox* buttons = OkCancel(this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons, 2, 0, 1, 2);
}

int TAusrichtung::Horizontal() const {
  for (int i = 0; i < 7; ++i) {
    if (HorizontalButton[i]->isChecked()) return i + 1;
  }
  return 1;
}

int TAusrichtung::Vertical() const {
  for (int i = 0; i < 3; ++i) {
    if (VerticalButton[i]->isChecked()) return i + 1;
  }
  return 3;
}

bool ShowAlignmentDialog(QWidget* parent, workbook::TWorkbook& book) {
  TAusrichtung dialog(book.Alignment(), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  ApplyAlignmentChoice(book, dialog.Horizontal(), dialog.Vertical(), dialog.WrapBox->isChecked());
  return true;
}

// ----------------------------------------------------------- protection

TSchutzFrm::TSchutzFrm(const workbook::TProtection& current, QWidget* parent) : QDialog(parent) {
  SetHelpSection(this, "menu-format");
  setObjectName(QStringLiteral("schutz"));
  setWindowTitle(T("Schutz", "Cell protection"));
  auto* layout = new QVBoxLayout(this);
  Gesperrt = new QCheckBox(T("&Gesperrt", "&Protected"), this);
  FormelAusblenden = new QCheckBox(T("&Formel ausblenden", "&Hide formula"), this);
  Gesperrt->setChecked(current.Locked);
  FormelAusblenden->setChecked(current.Hidden);
  layout->addWidget(Gesperrt);
  layout->addWidget(FormelAusblenden);
  QDialogButtonBox* buttons = OkCancel(this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

bool ShowProtectionDialog(QWidget* parent, workbook::TWorkbook& book) {
  TSchutzFrm dialog(book.Protection(), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  book.SetProtection(dialog.Gesperrt->isChecked(), dialog.FormelAusblenden->isChecked());
  return true;
}

// ----------------------------------------------------------------- go to

TDlgGoto::TDlgGoto(workbook::TWorkbook& book, QWidget* parent) : QDialog(parent), book_(book) {
  SetHelpSection(this, "menu-edit");
  setObjectName(QStringLiteral("DotoDlg"));
  setWindowTitle(T("Gehe zu", "Goto"));
  auto* layout = new QFormLayout(this);
  Edit1 = new QLineEdit(QString::fromStdString(book.Selection()), this);
  Edit1->setToolTip(T("Zelladresse, Bereich oder Name", "Cell address, range or name"));
  Edit1->selectAll();
  Edit1->setMinimumWidth(220);
  layout->addRow(T("Bezug:", "Reference:"), Edit1);
  QDialogButtonBox* buttons = OkCancel(this);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (ApplyGoTo(book_, Edit1->text().trimmed().toStdString())) accept();
  });
  layout->addRow(buttons);
}

bool ShowGoToDialog(QWidget* parent, workbook::TWorkbook& book) {
  TDlgGoto dialog(book, parent);
  return dialog.exec() == QDialog::Accepted;
}

// ---------------------------------------------------- result-grid layout

TSpaltenbreitefestlegen::TSpaltenbreitefestlegen(tmystringgrid& grid, TResultGridLook& look, QWidget* parent)
    : QDialog(parent) {
  SetHelpSection(this, "menu-format");
  setObjectName(QStringLiteral("Spaltenb"));
  setWindowTitle(T("Layout der Tabelle ändern", "Change layout of the table"));
  auto* layout = new QVBoxLayout(this);

  auto* sizes = new QGroupBox(T("Größe in Prozent", "Size in percent"), this);
  auto* sizesLayout = new QGridLayout(sizes);
  auto percentBox = [](QWidget* owner) {
    auto* box = new QSpinBox(owner);
    box->setRange(10, 400);
    box->setValue(100);
    box->setSuffix(QStringLiteral(" %"));
    return box;
  };
  SpinEdit1 = percentBox(sizes);
  SpinEdit2 = percentBox(sizes);
  Unchanged1 = new QPushButton(T("&Unverändert", "Do not change"), sizes);
  Unchanged2 = new QPushButton(T("&Unverändert", "Do not change"), sizes);
  AddCaptionedField(sizesLayout, 0, 0, T("Spaltenbreite:", "Column width:"), SpinEdit1);
  sizesLayout->addWidget(Unchanged1, 0, 2);
  AddCaptionedField(sizesLayout, 1, 0, T("Zeilenhöhe:", "Row height:"), SpinEdit2);
  sizesLayout->addWidget(Unchanged2, 1, 2);
  connect(Unchanged1, &QPushButton::clicked, this, [this] { SpinEdit1->setValue(100); });
  connect(Unchanged2, &QPushButton::clicked, this, [this] { SpinEdit2->setValue(100); });
  layout->addWidget(sizes);

  auto* heads = new QGroupBox(T("Kopfzeile und -spalte (Pixel)", "Heading row and column (pixels)"), this);
  auto* headsLayout = new QFormLayout(heads);
  SpinEdit3 = new QSpinBox(heads);
  SpinEdit4 = new QSpinBox(heads);
  SpinEdit3->setRange(0, 2000);
  SpinEdit4->setRange(0, 2000);
  SpinEdit3->setValue(grid.ColWidths(0));
  SpinEdit4->setValue(grid.RowHeights(0));
  headsLayout->addRow(T("Breite der ersten Spalte:", "Width of the first column:"), SpinEdit3);
  headsLayout->addRow(T("Höhe der ersten Zeile:", "Height of the first row:"), SpinEdit4);
  // The fixed sizes take effect at once.
  connect(SpinEdit3, &QSpinBox::valueChanged, this, [&grid, &look](int v) { SetFixedColumnWidth(grid, look, v); });
  connect(SpinEdit4, &QSpinBox::valueChanged, this, [&grid, &look](int v) { SetFixedRowHeight(grid, look, v); });
  layout->addWidget(heads);

  auto* lines = new QGroupBox(T("Linien", "Lines"), this);
  auto* linesLayout = new QFormLayout(lines);
  CheckBox1 = new QCheckBox(T("&Gitternetzlinien", "Grid lines"), lines);
  CheckBox2 = new QCheckBox(T("&Gitternetzlinien", "Grid lines"), lines);
  CheckBox1->setChecked(look.CellLines != 0);
  CheckBox2->setChecked(look.FixedLines != 0);
  linesLayout->addRow(T("Zellen:", "Cells:"), CheckBox1);
  linesLayout->addRow(T("Kopfzellen:", "Heads:"), CheckBox2);
  layout->addWidget(lines);

  QDialogButtonBox* buttons = OkCancel(this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

TLayoutChoice TSpaltenbreitefestlegen::Choice() const {
  return {SpinEdit1->value(), SpinEdit2->value(), CheckBox1->isChecked(), CheckBox2->isChecked()};
}

bool ShowLayoutDialog(QWidget* parent, tmystringgrid& grid, TResultGridLook& look) {
  TSpaltenbreitefestlegen dialog(grid, look, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  return ApplyLayoutChoice(grid, look, dialog.Choice());
}

}  // namespace kvx
