#include "eclipses/ui/star_choice_row.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "eclipses/lunar_occultation.h"
#include "platform/busy_cursor.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/named_widgets.h"

namespace kvx {

TMagnitudeLimitRow AddMagnitudeLimitRow(QWidget* parent, QGridLayout* grid, const QString& title, int lowest,
                                        std::uint8_t catalogueChoice, int decimals, float& limit) {
  const auto text = [decimals](float magnitude) {
    return QString::number(static_cast<double>(magnitude), 'f', decimals).replace('.', QChar(IntlSeparators.Decimal)) +
           " mag";
  };
  auto* titleLabel = NewNamed<QLabel>("Label5", title, parent);
  auto* bar = NewNamed<QScrollBar>("ScrollBar1", Qt::Horizontal, parent);
  bar->setMinimumWidth(220);
  const int maximum = catalogueChoice == 1 ? 800 : 1000;
  bar->setRange(lowest, maximum);
  bar->setPageStep(100);
  titleLabel->setBuddy(bar);
  auto* value = NewNamed<QLabel>("floatedit1", parent);
  // A stored limit beyond the bar is taken to the bar's end.
  const double wanted = std::isfinite(limit) ? std::trunc(limit * 100.0) : 800.0;
  const int position = static_cast<int>(std::clamp(wanted, static_cast<double>(lowest), static_cast<double>(maximum)));
  limit = static_cast<float>(position) * 0.01f;
  bar->setValue(position);
  value->setText(text(limit));
  grid->addWidget(titleLabel, 0, 0);
  grid->addWidget(bar, 0, 1);
  grid->addWidget(value, 0, 2);
  QObject::connect(bar, &QScrollBar::valueChanged, value, [&limit, value, text](int position) {
    limit = static_cast<float>(position) * 0.01f;
    value->setText(text(limit));
  });
  return {bar, value};
}

TStarChoiceRow::TStarChoiceRow(QWidget* owner, QVBoxLayout* layout, const QString& allCaption,
                               const QString& starCaption, TStarCatalogueAccess access, std::int32_t selectedStar,
                               std::function<float()> limit)
    : QObject(owner),
      access_(std::move(access)),
      limit_(std::move(limit)),
      selected_(selectedStar),
      all_stars_(selectedStar == -1) {
  all_box_ = NewNamed<QCheckBox>("CheckBox2", allCaption, owner);
  all_box_->setChecked(all_stars_);
  layout->addWidget(all_box_);
  auto* starRow = new QHBoxLayout;
  star_title_ = NewNamed<QLabel>("Label3", starCaption, owner);
  name_edit_ = NewNamed<QLineEdit>("Edit1", owner);
  found_label_ = NewNamed<QLabel>("Label4", owner);
  found_label_->setMinimumWidth(120);
  starRow->addWidget(star_title_);
  starRow->addWidget(name_edit_, 1);
  starRow->addWidget(found_label_);
  layout->addLayout(starRow);
  progress_ = NewNamed<QProgressBar>("ProgressBar1", owner);
  progress_->setRange(0, 100);
  progress_->hide();
  layout->addWidget(progress_);

  connect(all_box_, &QCheckBox::clicked, this, [this] { AllClicked(); });
  connect(name_edit_, &QLineEdit::textChanged, this, [this](const QString& text) { NameChanged(text); });
}

void TStarChoiceRow::Start() {
  star_title_->setVisible(!all_stars_);
  name_edit_->setVisible(!all_stars_);
  found_label_->setVisible(!all_stars_);
  if (all_stars_) return;
  AllClicked();
  const std::shared_ptr<const TStarCatalogue> catalogue = access_.Current ? access_.Current() : nullptr;
  if (catalogue && selected_ >= 1 && selected_ <= catalogue->Count()) {
    const QString name = QString::fromStdString(catalogue->Star(selected_).Name);
    name_edit_->blockSignals(true);
    name_edit_->setText(name);
    name_edit_->blockSignals(false);
    found_label_->setText(name);
  } else {
    selected_ = 0;
  }
}

void TStarChoiceRow::AllClicked() {
  all_stars_ = all_box_->isChecked();
  star_title_->setVisible(!all_stars_);
  name_edit_->setVisible(!all_stars_);
  found_label_->setVisible(!all_stars_);
  if (!all_stars_) {
    const bool loaded = access_.Current && access_.Current();
    if (!loaded && access_.Ensure) {
      progress_->setValue(0);
      progress_->show();
      access_.Ensure([this](int percent) { progress_->setValue(percent); });
      progress_->hide();
    }
    if (!name_edit_->text().isEmpty()) NameChanged(name_edit_->text());
  } else {
    selected_ = -1;
  }
}

void TStarChoiceRow::NameChanged(const QString& text) {
  selected_ = 0;
  found_label_->clear();
  const std::shared_ptr<const TStarCatalogue> catalogue = access_.Current ? access_.Current() : nullptr;
  if (!catalogue) return;
  BusyCursorScope busy;
  const std::string typed = text.toStdString();
  if (typed.empty()) return;
  selected_ = FindStarByName(*catalogue, typed, limit_());
  if (selected_ > 0) found_label_->setText(QString::fromStdString(catalogue->Star(selected_).Name));
}

bool TStarChoiceRow::ConfirmFound() const {
  if (all_stars_ || selected_ >= 1) return true;
  ShowMessage("Kein Stern mit diesem Namen gefunden.", "No star with this name found.", MessageIcon::Warning);
  return false;
}

}  // namespace kvx
