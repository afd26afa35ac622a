#include "eclipses/ui/lunar_occultation_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "eclipses/ui/star_choice_row.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

}  // namespace

TSternBedMondFrm::TSternBedMondFrm(std::int32_t selectedStar, std::uint8_t catalogueChoice, float limitingMagnitude,
                                   std::int32_t minimumSunAltitude, TStarCatalogueAccess access, QWidget* owner)
    : QDialog(owner) {
  SetHelpContext(this, kHelpTopicLunarOccultations);
  setObjectName("SternBedMondFrm");
  setWindowTitle(Tr("Sternbedeckungen durch den Mond", "Occultations of stars by the Moon"));
  auto* layout = new QVBoxLayout(this);

  auto* settings = NewNamed<QGroupBox>("GroupBox5", Tr("Einstellungen", "Settings"), this);
  auto* grid = new QGridLayout(settings);
  limit_ = limitingMagnitude;
  const TMagnitudeLimitRow magnitude =
      AddMagnitudeLimitRow(settings, grid, Tr("Grenzgrö&ße:", "Magnitude limit:"), 100, catalogueChoice, 2, limit_);
  magnitude_bar_ = magnitude.Bar;
  magnitude_label_ = magnitude.Value;

  auto* altitudeTitle = NewNamed<QLabel>("Label7", Tr("Minimale Sonnenhöhe:", "Minimal Sun altitude:"), settings);
  altitude_bar_ = NewNamed<QScrollBar>("ScrollBar2", Qt::Horizontal, settings);
  altitude_bar_->setRange(-90, 90);
  altitude_bar_->setPageStep(10);
  altitude_ = std::clamp(minimumSunAltitude, -90, 90);
  altitude_bar_->setValue(altitude_);
  altitude_label_ = NewNamed<QLabel>("Label8", QString::number(altitude_) + QString::fromUtf8("°"), settings);
  grid->addWidget(altitudeTitle, 1, 0);
  grid->addWidget(altitude_bar_, 1, 1);
  grid->addWidget(altitude_label_, 1, 2);
  layout->addWidget(settings);

  star_row_ = new TStarChoiceRow(this, layout, Tr("Alle &Sterne", "All &Stars"), Tr("Stern:", "Star:"),
                                 std::move(access), selectedStar, [this] { return limit_; });

  layout->addLayout(MakeOkCancelRow(this, "OKBtn", "CancelBtn", Tr("&Abbrechen", "&Cancel")).Row);

  connect(altitude_bar_, &QScrollBar::valueChanged, this, [this](int value) {
    altitude_ = value;
    altitude_label_->setText(QString::number(value) + QString::fromUtf8("°"));
  });

  star_row_->Start();
}

std::int32_t TSternBedMondFrm::SelectedStar() const { return star_row_->SelectedStar(); }

void TSternBedMondFrm::accept() {
  if (!star_row_->ConfirmFound()) return;
  QDialog::accept();
}

bool ShowLunarOccultationCriteria(std::int32_t& selectedStar, std::uint8_t catalogueChoice, float& limitingMagnitude,
                                  std::int32_t& minimumSunAltitude, TStarCatalogueAccess access, QWidget* owner) {
  TSternBedMondFrm dialog(selectedStar, catalogueChoice, limitingMagnitude, minimumSunAltitude, std::move(access),
                          owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  limitingMagnitude = dialog.LimitingMagnitude();
  minimumSunAltitude = dialog.MinimumSunAltitude();
  selectedStar = dialog.SelectedStar();
  return true;
}

}  // namespace kvx
