#include "setup/ui/data_formats_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "core/name_tables.h"
#include "engine/cell_format.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "platform/settings_store.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

QString Description(int slot) {
  const TDataFormatSlot& s = DataFormatSlots[static_cast<std::size_t>(slot)];
  return QString::fromUtf8(ByLanguage(s.german, s.english));
}

// True when `needle` starts a word of `text` (case ignored).
bool StartsAWord(const QString& text, const QString& needle) {
  for (qsizetype at = text.indexOf(needle, 0, Qt::CaseInsensitive); at >= 0;
       at = text.indexOf(needle, at + 1, Qt::CaseInsensitive)) {
    if (at == 0 || !text[at - 1].isLetterOrNumber()) return true;
  }
  return false;
}

FileDialogRequest FormatsFileRequest(const char* german, const char* english, const std::string& start) {
  FileDialogRequest request;
  request.title = ByLanguage(german, english);
  request.filters = {"Ephemeridenformate (*.epf)"};
  request.start = start;
  request.defaultExtension = "epf";
  return request;
}

constexpr int kSlotRole = Qt::UserRole;

}  // namespace

TDatenformatDlg::TDatenformatDlg(const std::string& fileName, QWidget* owner)
    : QDialog(owner), fileName_(fileName), undo_(CurrentDataFormats()) {
  SetHelpSection(this, "menu-settings");
  setWindowTitle(Tr("Formate und Nachkommastellen festlegen", "Format and Decimals"));
  auto* layout = new QVBoxLayout(this);
  pages_ = NewNamed<QTabWidget>("pages", this);
  auto* first = new QWidget;
  auto* second = new QWidget;
  BuildFirstPage(first);
  BuildSecondPage(second);
  pages_->addTab(first, Tr("Einzelgrößen", "Individual Values"));
  pages_->addTab(second, Tr("Global ändern", "Global Changes"));
  layout->addWidget(pages_);

  auto* buttons = new QHBoxLayout;
  auto* save = NamedButton(this, Tr("S&peichern", "Save"), "save");
  auto* load = NamedButton(this, Tr("&Laden", "&Load"), "load");
  auto* close = NamedButton(this, Tr("&Schließen", "&Close"), "close");
  close->setDefault(true);
  buttons->addWidget(save);
  buttons->addWidget(load);
  buttons->addStretch();
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(save, &QPushButton::clicked, this, &TDatenformatDlg::SaveFile);
  connect(load, &QPushButton::clicked, this, &TDatenformatDlg::LoadFile);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  pages_->setCurrentIndex(CurrentSettingsStore().IntegerOr("Window", "FormatsSheet", 1) == 1 ? 0 : 1);
  FillQuantityList();
  groups_->setCurrentRow(0);
}

void TDatenformatDlg::BuildFirstPage(QWidget* page) {
  auto* grid = new QGridLayout(page);
  auto* filterLabel = new QLabel(Tr("&Filtern", "&Filter"), page);
  filter_ = NewNamed<QComboBox>("filter", page);
  for (const TCaption& name : FilterCategoryNames) filter_->addItem(QString::fromUtf8(name.Text(LanguageEnglish != 0)));
  filter_->setCurrentIndex(kNoFilter);
  filterLabel->setBuddy(filter_);
  sorted_ = NewNamed<QCheckBox>("sorted", Tr("Liste alphabetisch sortieren", "Sort alphabetical"), page);
  auto* searchLabel = new QLabel(Tr("Su&chen nach", "F&ind"), page);
  search_ = NewNamed<QLineEdit>("search", page);
  searchLabel->setBuddy(search_);
  wordStart_ = NewNamed<QCheckBox>("wordStart", Tr("Nach &Wortanfang", "By the beginning of the words"), page);
  quantities_ = NewNamed<QListWidget>("quantities", page);
  quantities_->setMinimumSize(460, 320);

  auto* decimalsLabel = new QLabel(Tr("&Nachkommastellen", "&Decimals"), page);
  decimals_ = NewNamed<QSpinBox>("decimals", page);
  decimalsLabel->setBuddy(decimals_);
  formatBox_ = BuildFormatBox(page, "format", formats_, formatButtons_);
  description_ = NewNamed<QLabel>("description", page);
  description_->setWordWrap(true);
  description_->setMinimumWidth(260);
  example_ = NewNamed<QLabel>("example", page);
  auto* defaultOne = NamedButton(page, Tr("&Vorgabe", "Default"), "default");
  auto* defaultAll = NamedButton(page, Tr("Vor&gabe für alles", "Default for all"), "defaultAll");
  auto* undo = NamedButton(page, Tr("Rückgängig", "Undo"), "undo");

  grid->addWidget(filterLabel, 0, 0);
  grid->addWidget(filter_, 0, 1);
  grid->addWidget(sorted_, 0, 2);
  grid->addWidget(searchLabel, 1, 0);
  grid->addWidget(search_, 1, 1);
  grid->addWidget(wordStart_, 1, 2);
  grid->addWidget(quantities_, 2, 0, 6, 3);
  grid->addWidget(decimalsLabel, 2, 3);
  grid->addWidget(decimals_, 2, 4);
  grid->addWidget(formatBox_, 3, 3, 1, 2);
  grid->addWidget(new QLabel(Tr("Beschreibung:", "Description:"), page), 4, 3, 1, 2);
  grid->addWidget(description_, 5, 3, 1, 2);
  grid->addWidget(example_, 6, 3, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(defaultOne);
  buttons->addWidget(defaultAll);
  buttons->addWidget(undo);
  grid->addLayout(buttons, 7, 3, 1, 2);

  connect(filter_, &QComboBox::currentIndexChanged, this, &TDatenformatDlg::FillQuantityList);
  connect(sorted_, &QCheckBox::toggled, this, &TDatenformatDlg::FillQuantityList);
  connect(search_, &QLineEdit::textChanged, this, &TDatenformatDlg::Search);
  connect(wordStart_, &QCheckBox::toggled, this, &TDatenformatDlg::Search);
  connect(quantities_, &QListWidget::currentRowChanged, this, &TDatenformatDlg::ShowSlot);
  connect(decimals_, &QSpinBox::valueChanged, this, [this](int value) {
    const int slot = CurrentSlot();
    if (filling_ || slot < 0) return;
    if (value % DecimalsStep(DataFormatSlots[static_cast<std::size_t>(slot)].valueType) != 0) {
      decimals_->setValue(value - 1);  // times of day keep even decimals
      return;
    }
    DataFormatDecimals[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(value);
    ShowExample(slot);
  });
  connect(formats_, &QButtonGroup::idClicked, this, [this](int kind) {
    const int slot = CurrentSlot();
    if (filling_ || slot < 0) return;
    DataFormatKind[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(kind);
    ShowExample(slot);
  });
  connect(defaultOne, &QPushButton::clicked, this, [this] {
    ResetSlotToDefault(CurrentSlot());
    ShowSlot();
  });
  connect(defaultAll, &QPushButton::clicked, this, [this] {
    ApplyDataFormats(DefaultDataFormats());
    ShowSlot();
  });
  connect(undo, &QPushButton::clicked, this, [this] {
    ApplyDataFormats(undo_);
    ShowSlot();
  });
}

QGroupBox* TDatenformatDlg::BuildFormatBox(QWidget* page, const char* name, QButtonGroup*& group,
                                           QRadioButton* (&buttons)[4]) {
  auto* box = new QGroupBox(Tr("Format", "Format"), page);
  box->setObjectName(QString("%1Box").arg(name));
  group = new QButtonGroup(this);
  auto* boxLayout = new QVBoxLayout(box);
  for (int k = 0; k < 4; ++k) {
    buttons[k] = new QRadioButton(box);
    buttons[k]->setObjectName(QString("%1%2").arg(name).arg(k));
    group->addButton(buttons[k], k);
    boxLayout->addWidget(buttons[k]);
  }
  return box;
}

void TDatenformatDlg::BuildSecondPage(QWidget* page) {
  auto* grid = new QGridLayout(page);
  groups_ = NewNamed<QListWidget>("groups", page);
  for (const TCaption& name : FormatGroupNames) groups_->addItem(QString::fromUtf8(name.Text(LanguageEnglish != 0)));
  auto* decimalsBox = new QGroupBox(Tr("Nachkommastellen", "Decimals"), page);
  auto* decimalsLayout = new QHBoxLayout(decimalsBox);
  groupDecimals_ = NewSpinBox(decimalsBox, "groupDecimals", 0, kLargestDecimals);
  applyDecimals_ = NamedButton(decimalsBox, Tr("An&wenden", "&Apply"), "applyDecimals");
  decimalsLayout->addWidget(groupDecimals_);
  decimalsLayout->addWidget(applyDecimals_);

  groupFormatBox_ = BuildFormatBox(page, "groupFormat", groupFormats_, groupFormatButtons_);
  applyFormat_ = NamedButton(groupFormatBox_, Tr("A&nwenden", "A&pply"), "applyFormat");
  groupFormatBox_->layout()->addWidget(applyFormat_);

  grid->addWidget(groups_, 0, 0, 3, 1);
  grid->addWidget(decimalsBox, 0, 1);
  grid->addWidget(groupFormatBox_, 1, 1);
  grid->setRowStretch(2, 1);

  connect(groups_, &QListWidget::currentRowChanged, this, &TDatenformatDlg::ShowGroup);
  connect(groupFormats_, &QButtonGroup::idClicked, this, [this] { applyFormat_->setEnabled(true); });
  connect(applyDecimals_, &QPushButton::clicked, this, [this] {
    ApplyGroupDecimals(groups_->currentRow(), groupDecimals_->value());
    ShowSlot();
  });
  connect(applyFormat_, &QPushButton::clicked, this, [this] {
    ApplyGroupFormat(groups_->currentRow(), groupFormats_->checkedId());
    applyFormat_->setEnabled(false);
    ShowSlot();
  });
}

int TDatenformatDlg::CurrentSlot() const {
  const QListWidgetItem* item = quantities_->currentItem();
  return item != nullptr ? item->data(kSlotRole).toInt() : -1;
}

void TDatenformatDlg::SelectSlot(int slot) {
  for (int row = 0; row < quantities_->count(); ++row) {
    if (quantities_->item(row)->data(kSlotRole).toInt() == slot) {
      quantities_->setCurrentRow(row);
      return;
    }
  }
}

void TDatenformatDlg::FillQuantityList() {
  const int keep = CurrentSlot();
  const int category = filter_->currentIndex();
  std::vector<int> shown;
  for (int slot = 0; slot < kFormatSlotCount; ++slot) {
    if (FreeFormatSlot(static_cast<std::size_t>(slot))) continue;
    if (category != kNoFilter && DataFormatSlots[static_cast<std::size_t>(slot)].category != category) continue;
    shown.push_back(slot);
  }
  if (sorted_->isChecked()) {
    std::stable_sort(shown.begin(), shown.end(),
                     [](int a, int b) { return Description(a).compare(Description(b), Qt::CaseInsensitive) < 0; });
  }
  quantities_->blockSignals(true);
  quantities_->clear();
  for (int slot : shown) {
    auto* item = new QListWidgetItem(Description(slot), quantities_);
    item->setData(kSlotRole, slot);
  }
  quantities_->blockSignals(false);
  SelectSlot(keep);
  if (quantities_->currentRow() < 0 && quantities_->count() > 0) quantities_->setCurrentRow(0);
  ShowSlot();
}

void TDatenformatDlg::Search() {
  const QString needle = search_->text();
  if (needle.isEmpty() || quantities_->count() == 0) return;
  for (int row = 0; row < quantities_->count(); ++row) {
    const QString text = quantities_->item(row)->text();
    const bool found = wordStart_->isChecked() ? StartsAWord(text, needle) : text.contains(needle, Qt::CaseInsensitive);
    if (found) {
      quantities_->setCurrentRow(row);
      return;
    }
  }
  quantities_->setCurrentRow(0);
}

void TDatenformatDlg::ShowSlot() {
  const int slot = CurrentSlot();
  filling_ = true;
  if (slot < 0) {
    decimals_->setEnabled(false);
    formatBox_->setEnabled(false);
    description_->clear();
    example_->clear();
    filling_ = false;
    return;
  }
  const TDataFormatSlot& s = DataFormatSlots[static_cast<std::size_t>(slot)];
  const bool hasDecimals = HasDecimals(s.valueType);
  decimals_->setEnabled(hasDecimals);
  decimals_->setRange(hasDecimals ? SmallestDecimals(s.valueType) : 0, std::max<int>(s.maxDecimals, 0));
  decimals_->setSingleStep(DecimalsStep(s.valueType));
  decimals_->setValue(DataFormatDecimals[static_cast<std::size_t>(slot)]);

  const std::vector<TCaption> choices = FormatChoices(s.valueType);
  formatBox_->setEnabled(!choices.empty());
  formats_->setExclusive(false);
  for (int k = 0; k < 4; ++k) {
    const bool used = k < static_cast<int>(choices.size());
    formatButtons_[k]->setVisible(used);
    formatButtons_[k]->setText(used ? QString::fromUtf8(choices[static_cast<std::size_t>(k)].Text(LanguageEnglish != 0))
                                    : QString());
    formatButtons_[k]->setChecked(used && DataFormatKind[static_cast<std::size_t>(slot)] == k);
  }
  formats_->setExclusive(true);
  description_->setText(Description(slot));
  filling_ = false;
  ShowExample(slot);
}

void TDatenformatDlg::ShowExample(int slot) {
  const TDataFormatSlot& s = DataFormatSlots[static_cast<std::size_t>(slot)];
  std::string text;
  switch (s.valueType) {
    case 0:
      FormatDateForSlot(slot, text, 2024, 3, 20);
      break;
    case 1:
      FormatTimeOfDayForSlot(slot, text, 14.4087654321);
      break;
    case 2:
    case 3:
      FormatAngleForSlot(slot, text, 123.4567890123);
      break;
    case 4:
      FormatNumberForSlot(slot, text, s.group == 8 ? 2460389.1234567891 : 1.2345678901234);
      break;
    case 5:
    case 6:
      FormatMinutesForSlot(slot, text, 8.3456789);
      break;
    case 7:
      FormatArcsecondsForSlot(slot, text, 12.3456789);
      break;
    case 8:
      FormatMagnitudeForSlot(slot, text, -2.3456789);
      break;
    default:
      break;
  }
  example_->setText(text.empty() ? QString() : Tr("Beispiel: ", "Example: ") + QString::fromStdString(text));
}

void TDatenformatDlg::ShowGroup() {
  const int group = groups_->currentRow();
  const std::vector<TCaption> choices = GroupFormatChoices(group);
  groupFormatBox_->setEnabled(!choices.empty());
  groupFormats_->setExclusive(false);
  for (int k = 0; k < 4; ++k) {
    const bool used = k < static_cast<int>(choices.size());
    groupFormatButtons_[k]->setVisible(used);
    groupFormatButtons_[k]->setText(
        used ? QString::fromUtf8(choices[static_cast<std::size_t>(k)].Text(LanguageEnglish != 0)) : QString());
    groupFormatButtons_[k]->setChecked(false);
  }
  groupFormats_->setExclusive(true);
  applyFormat_->setEnabled(false);
}

void TDatenformatDlg::SaveFile() {
  std::optional<std::string> path =
      AskSaveFileName(FormatsFileRequest("Ephemeridenformate speichern", "Save ephemeris formats", fileName_));
  if (!path) return;
  fileName_ = *path;
  SaveDataFormatsFile(fileName_);
}

void TDatenformatDlg::LoadFile() {
  std::optional<std::string> path =
      AskOpenFileName(FormatsFileRequest("Ephemeridenformate laden", "Load ephemeris formats", fileName_));
  if (!path) return;
  if (!LoadDataFormatsFile(*path)) return;
  fileName_ = *path;
  ShowSlot();
}

void TDatenformatDlg::done(int result) {
  if (result != QDialog::Accepted) ApplyDataFormats(undo_);
  CurrentSettingsStore().WriteInteger("Window", "FormatsSheet", pages_->currentIndex() == 0 ? 1 : 2);
  QDialog::done(result);
}

int ShowDataFormatsDialog(std::string& fileName, QWidget* owner) {
  TDatenformatDlg dialog(fileName, owner);
  const int result = dialog.exec();
  if (result == QDialog::Accepted) fileName = dialog.FileName();
  return result;
}

}  // namespace kvx
