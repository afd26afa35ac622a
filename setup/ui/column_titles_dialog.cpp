#include "setup/ui/column_titles_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/quantity_headings.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

constexpr int kSlotCount = static_cast<int>(kColumnTitleCount);

void SetBlue(QWidget* widget, bool blue) { widget->setStyleSheet(blue ? "color: blue;" : "color: black;"); }

}  // namespace

TSpaltenueberschriften::TSpaltenueberschriften(const TTableConfigRecord& record, const TColumnWidths& widths,
                                               QWidget* owner)
    : QDialog(owner), record_(record), widths_(widths), defaults_(DefaultColumnWidths()) {
  SetHelpSection(this, "menu-settings");
  setWindowTitle(
      Tr("Vorgabe für Spaltenüberschriften und -breiten festlegen", "Defaults for column headers and widths"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;

  auto* left = new QVBoxLayout;
  list_ = NewNamed<QListWidget>("list", this);
  for (int slot = 1; slot < kSlotCount; ++slot) {
    names_.push_back(QuantityName(slot));
    list_->addItem(QString::fromStdString(names_.back()));
  }
  left->addWidget(list_);
  auto* findRow = new QHBoxLayout;
  auto* findLabel = new QLabel(Tr("S&uchen nach", "&Find"), this);
  findRow->addWidget(findLabel);
  find_ = NewNamed<QLineEdit>("find", this);
  findLabel->setBuddy(find_);
  findRow->addWidget(find_);
  left->addLayout(findRow);
  beginningOnly_ =
      NewNamed<QCheckBox>("beginningOnly", Tr("Nur nach Wortanfang", "Only by the beginning of the words"), this);
  left->addWidget(beginningOnly_);
  top->addLayout(left, 2);

  auto* right = new QGridLayout;
  auto* headingLabel = new QLabel(Tr("&Spaltenüberschrift in neu erzeugten Ephemeridentabellen:",
                                     "U&se this header when creating new ephemeris tables:"),
                                  this);
  right->addWidget(headingLabel, 0, 0, 1, 2);
  heading_ = new QLineEdit(this);
  headingLabel->setBuddy(heading_);
  heading_->setObjectName("heading");
  heading_->setMaxLength(static_cast<int>(kColumnTitleLength));
  right->addWidget(heading_, 1, 0, 1, 2);
  right->addWidget(
      NamedButton(this, Tr("&Standard für diese Größe verwenden", "Use default for this header"), "defaultHeading"), 2,
      0);
  right->addWidget(
      NamedButton(this, Tr("S&tandard für alle Größen verwenden", "Use default for all headers"), "defaultHeadings"), 2,
      1);
  auto* widthLabel = new QLabel(Tr("&Vorgabe für Spaltenbreite:", "Default column width:"), this);
  right->addWidget(widthLabel, 3, 0);
  width_ = new QSpinBox(this);
  widthLabel->setBuddy(width_);
  width_->setObjectName("width");
  width_->setRange(0, kMaxColumnWidth);
  right->addWidget(width_, 3, 1);
  right->addWidget(
      NamedButton(this, Tr("Sta&ndard für diese Größe verwenden", "Use default width for this header"), "defaultWidth"),
      4, 0);
  right->addWidget(NamedButton(this, Tr("Standard für alle Gr&ößen verwenden", "Use default width for all headers"),
                               "defaultWidths"),
                   4, 1);
  right->setRowStretch(5, 1);
  top->addLayout(right, 3);
  layout->addLayout(top);

  grid_ = NewNamed<QTableWidget>("grid", 1, kSlotCount, this);
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->hide();
  grid_->setMinimumHeight(70);
  layout->addWidget(grid_);

  layout->addLayout(MakeOkCancelRow(this, "ok", "cancel", Tr("&Abbrechen", "&Cancel")).Row);

  connect(list_, &QListWidget::currentRowChanged, this, [this] { ShowSlot(); });
  connect(grid_, &QTableWidget::currentCellChanged, this, [this](int, int column) {
    if (!filling_ && column >= 1) list_->setCurrentRow(column - 1);
  });
  connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (filling_) return;
    const int slot = item->column();
    record_.ColumnTitles[slot] = CutColumnTitle(item->text().toStdString());
    if (slot >= 1) list_->setCurrentRow(slot - 1);
    ShowSlot();
  });
  connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
    if (filling_) return;
    widths_[column] = std::min(size, kMaxColumnWidth);
    if (column == CurrentSlot()) ShowSlot();
  });
  connect(heading_, &QLineEdit::textEdited, this, [this](const QString& text) {
    record_.ColumnTitles[CurrentSlot()] = CutColumnTitle(text.toStdString());
    Recolour();
    RefreshGrid();
  });
  connect(width_, &QSpinBox::valueChanged, this, [this](int value) {
    if (filling_) return;
    widths_[CurrentSlot()] = value;
    Recolour();
    RefreshGrid();
  });
  connect(Child("defaultHeading"), &QPushButton::clicked, this, [this] {
    record_.ColumnTitles[CurrentSlot()] = QuantityHeadingTable[CurrentSlot()];
    ChooseSlot(CurrentSlot());
  });
  connect(Child("defaultHeadings"), &QPushButton::clicked, this, [this] {
    for (int s = 0; s < kSlotCount; ++s) record_.ColumnTitles[s] = QuantityHeadingTable[s];
    ChooseSlot(CurrentSlot());
  });
  connect(Child("defaultWidth"), &QPushButton::clicked, this, [this] {
    widths_[CurrentSlot()] = defaults_[CurrentSlot()];
    ChooseSlot(CurrentSlot());
  });
  connect(Child("defaultWidths"), &QPushButton::clicked, this, [this] {
    widths_ = defaults_;
    ChooseSlot(CurrentSlot());
  });
  connect(find_, &QLineEdit::textChanged, this, [this](const QString& text) {
    list_->setCurrentRow(FindColumnEntry(names_, text.toStdString(), beginningOnly_->isChecked()));
  });

  RefreshGrid();
  list_->setCurrentRow(0);
  resize(820, 460);
}

QPushButton* TSpaltenueberschriften::Child(const char* name) { return findChild<QPushButton*>(name); }

int TSpaltenueberschriften::CurrentSlot() const {
  const int row = list_->currentRow();
  return row < 0 ? 1 : row + 1;
}

void TSpaltenueberschriften::ChooseSlot(int slot) {
  RefreshGrid();
  list_->setCurrentRow(slot - 1);
  ShowSlot();
}

void TSpaltenueberschriften::ShowSlot() {
  const int slot = CurrentSlot();
  filling_ = true;
  heading_->setText(QString::fromStdString(record_.ColumnTitles[slot]));
  width_->setValue(widths_[slot]);
  filling_ = false;
  Recolour();
  if (QTableWidgetItem* item = grid_->item(0, slot)) grid_->scrollToItem(item);
}

void TSpaltenueberschriften::Recolour() {
  const int slot = CurrentSlot();
  SetBlue(heading_, record_.ColumnTitles[slot] == QuantityHeadingTable[slot]);
  SetBlue(width_, widths_[slot] == defaults_[slot]);
}

void TSpaltenueberschriften::RefreshGrid() {
  filling_ = true;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    grid_->setColumnWidth(slot, widths_[slot]);
    QTableWidgetItem* item = grid_->item(0, slot);
    if (item == nullptr) {
      item = new QTableWidgetItem;
      grid_->setItem(0, slot, item);
    }
    item->setText(QString::fromStdString(record_.ColumnTitles[slot]));
  }
  filling_ = false;
}

int ShowColumnTitlesDialog(TTableConfigRecord& record, TColumnWidths& widths, QWidget* owner) {
  TSpaltenueberschriften dialog(record, widths, owner);
  if (dialog.exec() != QDialog::Accepted) return 2;
  record = dialog.Record();
  widths = dialog.Widths();
  return 1;
}

}  // namespace kvx
