#include "eclipses/ui/lunar_occultation_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "eclipses/ui/star_choice_row.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

QString MagnitudeText(float limit) { return QString::number(static_cast<double>(limit), 'f', 2) + " mag"; }

}  // namespace

TSternBedMondFrm::TSternBedMondFrm(std::int32_t selectedStar, std::uint8_t catalogueChoice, float limitingMagnitude,
                                   std::int32_t minimumSunAltitude, TStarCatalogueAccess access, QWidget* owner)
    : QDialog(owner) {
  setObjectName("SternBedMondFrm");
  setWindowTitle(Tr("Sternbedeckungen durch den Mond", "Occultations of stars by the Moon"));
  auto* layout = new QVBoxLayout(this);

  auto* settings = new QGroupBox(Tr("Einstellungen", "Settings"), this);
  settings->setObjectName("GroupBox5");
  auto* grid = new QGridLayout(settings);
  auto* magnitudeTitle = new QLabel(Tr("Grenzgrö&ße:", "Magnitude limit:"), settings);
  magnitudeTitle->setObjectName("Label5");
  magnitude_bar_ = new QScrollBar(Qt::Horizontal, settings);
  magnitude_bar_->setObjectName("ScrollBar1");
  magnitude_bar_->setMinimumWidth(220);
  const int maximum = catalogueChoice == 1 ? 800 : 1000;
  magnitude_bar_->setRange(100, maximum);
  magnitude_bar_->setPageStep(100);
  magnitudeTitle->setBuddy(magnitude_bar_);
  magnitude_label_ = new QLabel(settings);
  magnitude_label_->setObjectName("floatedit1");
  // A stored limit beyond the bar is taken to the bar's end.
  const double wanted = std::isfinite(limitingMagnitude) ? std::trunc(limitingMagnitude * 100.0) : 800.0;
  const int position = static_cast<int>(std::clamp(wanted, 100.0, static_cast<double>(maximum)));
  limit_ = static_cast<float>(position) * 0.01f;
  magnitude_bar_->setValue(position);
  magnitude_label_->setText(MagnitudeText(limit_));
  grid->addWidget(magnitudeTitle, 0, 0);
  grid->addWidget(magnitude_bar_, 0, 1);
  grid->addWidget(magnitude_label_, 0, 2);

  auto* altitudeTitle = new QLabel(Tr("Minimale Sonnenhöhe:", "Minimal Sun altitude:"), settings);
  altitudeTitle->setObjectName("Label7");
  altitude_bar_ = new QScrollBar(Qt::Horizontal, settings);
  altitude_bar_->setObjectName("ScrollBar2");
  altitude_bar_->setRange(-90, 90);
  altitude_bar_->setPageStep(10);
  altitude_ = std::clamp(minimumSunAltitude, -90, 90);
  altitude_bar_->setValue(altitude_);
  altitude_label_ = new QLabel(QString::number(altitude_) + QString::fromUtf8("°"), settings);
  altitude_label_->setObjectName("Label8");
  grid->addWidget(altitudeTitle, 1, 0);
  grid->addWidget(altitude_bar_, 1, 1);
  grid->addWidget(altitude_label_, 1, 2);
  layout->addWidget(settings);

  star_row_ = new TStarChoiceRow(this, layout, Tr("Alle &Sterne", "All &Stars"), Tr("Stern:", "Star:"),
                                 std::move(access), selectedStar, [this] { return limit_; });

  layout->addLayout(MakeOkCancelRow(this, "OKBtn", "CancelBtn", Tr("&Abbrechen", "&Cancel")).Row);

  connect(magnitude_bar_, &QScrollBar::valueChanged, this, [this](int value) {
    limit_ = static_cast<float>(value) * 0.01f;
    magnitude_label_->setText(MagnitudeText(limit_));
  });
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
