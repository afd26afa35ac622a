#include "eclipses/ui/star_choice_row.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>
#include <memory>
#include <string>
#include <utility>

#include "eclipses/lunar_occultation.h"
#include "platform/busy_cursor.h"
#include "platform/messages.h"

namespace kvx {

TStarChoiceRow::TStarChoiceRow(QWidget* owner, QVBoxLayout* layout, const QString& allCaption,
                               const QString& starCaption, TStarCatalogueAccess access, std::int32_t selectedStar,
                               std::function<float()> limit)
    : QObject(owner),
      access_(std::move(access)),
      limit_(std::move(limit)),
      selected_(selectedStar),
      all_stars_(selectedStar == -1) {
  all_box_ = new QCheckBox(allCaption, owner);
  all_box_->setObjectName("CheckBox2");
  all_box_->setChecked(all_stars_);
  layout->addWidget(all_box_);
  auto* starRow = new QHBoxLayout;
  star_title_ = new QLabel(starCaption, owner);
  star_title_->setObjectName("Label3");
  name_edit_ = new QLineEdit(owner);
  name_edit_->setObjectName("Edit1");
  found_label_ = new QLabel(owner);
  found_label_->setObjectName("Label4");
  found_label_->setMinimumWidth(120);
  starRow->addWidget(star_title_);
  starRow->addWidget(name_edit_, 1);
  starRow->addWidget(found_label_);
  layout->addLayout(starRow);
  progress_ = new QProgressBar(owner);
  progress_->setObjectName("ProgressBar1");
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
