#include "app/ui/range_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "app/ui/app_dialog_builders.h"
#include "core/element_file_ranges.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {
QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }
}  // namespace

TSlectNDlg::TSlectNDlg(const std::vector<std::string>& names, std::int32_t first, std::int32_t last, QWidget* parent)
    : QDialog(parent) {
  setObjectName("SlectNDlg");
  setWindowTitle(Q("Dateibereich wählen", "Select range in file"));
  auto* grid = new QGridLayout(this);
  list_ = NewNamed<QListWidget>("ListBox1", this);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const std::string& n : names) list_->addItem(QString::fromStdString(n));
  const int count = static_cast<int>(names.size());
  auto* fromLabel = new QLabel(Q("Von", "From"), this);
  auto* toLabel = new QLabel(Q("Bis", "To"), this);
  from_ = NewNamed<QSpinBox>("SpinEdit1", this);
  to_ = NewNamed<QSpinBox>("SpinEdit2", this);
  // From <= To <= count: the last entry may start a range too.
  from_->setRange(1, std::max(1, count));
  to_->setRange(1, std::max(1, count));
  auto* findLabel = new QLabel(Q("&Suchen", "&Find"), this);
  search_ = NewNamed<QLineEdit>("Edit1", this);
  findLabel->setBuddy(search_);
  immediate_ = NewNamed<QCheckBox>("CheckBox1", Q("So&fort suchen", "S&earch immediately"), this);
  search_button_ = NewNamed<QPushButton>("Button1", Q("S&uchen", "F&ind"), this);
  status_ = NewNamed<QLabel>("Label3", this);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  auto* cancel = new QPushButton(Q("Abbrechen", "Cancel"), this);
  grid->addWidget(list_, 0, 0, 6, 1);
  grid->addWidget(fromLabel, 0, 1);
  grid->addWidget(from_, 0, 2);
  grid->addWidget(toLabel, 1, 1);
  grid->addWidget(to_, 1, 2);
  grid->addWidget(findLabel, 2, 1);
  grid->addWidget(search_, 2, 2);
  grid->addWidget(immediate_, 3, 1, 1, 2);
  grid->addWidget(search_button_, 4, 1);
  grid->addWidget(status_, 4, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 6, 0, 1, 3);

  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(from_, &QSpinBox::valueChanged, this, [this](int v) { FromChanged(v); });
  connect(to_, &QSpinBox::valueChanged, this, [this](int v) { ToChanged(v); });
  connect(list_, &QListWidget::itemClicked, this, [this] { ListClicked(); });
  connect(search_button_, &QPushButton::clicked, this, [this] { Search(); });
  connect(search_, &QLineEdit::textChanged, this, [this] {
    if (immediate_->isChecked()) Search();
  });
  connect(immediate_, &QCheckBox::toggled, this, [this](bool on) { search_button_->setEnabled(!on); });

  // The entries the stored range stands for; the whole list when it
  // stands for none.
  const TClampedRange shown = ClampFileRange(TFileRange{first, last}, count);
  if (shown.Empty) {
    SetRange(1, std::max(1, count));
  } else {
    SetRange(shown.First + 1, shown.Last + 1);
  }
}

void TSlectNDlg::SetRange(int from, int to) {
  updating_ = true;
  to_->setValue(to_->maximum());
  from_->setValue(from);
  updating_ = false;
  to_->setValue(to);
  Reselect();
}

void TSlectNDlg::FromChanged(int value) {
  if (value > to_->value()) {
    from_->setValue(to_->value());
    return;
  }
  list_->setCurrentRow(value - 1, QItemSelectionModel::NoUpdate);
  if (!updating_) Reselect();
}

void TSlectNDlg::ToChanged(int value) {
  if (value < from_->value()) {
    to_->setValue(from_->value());
    return;
  }
  list_->setCurrentRow(value - 1, QItemSelectionModel::NoUpdate);
  if (!updating_) Reselect();
}

void TSlectNDlg::Reselect() {
  const int from = from_->value() - 1;
  const int to = to_->value() - 1;
  for (int i = 0; i < list_->count(); ++i) list_->item(i)->setSelected(i >= from && i <= to);
}

void TSlectNDlg::ListClicked() {
  int first = -1;
  int last = -1;
  for (int i = 0; i < list_->count(); ++i) {
    if (!list_->item(i)->isSelected()) continue;
    if (first < 0) first = i;
    last = i;
  }
  if (first < 0) return;
  updating_ = true;
  from_->setValue(1);
  to_->setValue(last + 1);
  from_->setValue(first + 1);
  updating_ = false;
}

void TSlectNDlg::Search() {
  int index = -1;
  QString found;
  if (FindInListControl(search_->text(), *list_, index, found, status_) && index >= 0) SetRange(index + 1, index + 1);
}

bool SelectFileRecordRange(std::int32_t& first, std::int32_t& last, const std::vector<std::string>& names,
                           const char* helpSection, QWidget* parent) {
  if (names.empty()) return false;
  TSlectNDlg dialog(names, first, last, parent);
  SetHelpSection(&dialog, helpSection);
  if (dialog.exec() != QDialog::Accepted) return false;
  first = dialog.FromBox()->value() - 1;
  last = dialog.ToBox()->value() - 1;
  return true;
}

}  // namespace kvx
