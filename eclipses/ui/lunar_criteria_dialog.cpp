#include "eclipses/ui/lunar_criteria_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <utility>

#include "eclipses/ui/criteria_boxes.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

}  // namespace

TMoFiSuchkriterien::TMoFiSuchkriterien(const TLunarEclipseCriteria& criteria, TEclipsePeriodHooks hooks, QWidget* owner)
    : QDialog(owner), criteria_(criteria), hooks_(std::move(hooks)) {
  SetHelpSection(this, "menu-ephemerides");
  setObjectName("MoFiSuchkriterien");
  setWindowTitle(Tr("Suchkriterien", "Criteria"));
  auto* layout = new QVBoxLayout(this);

  static constexpr const char* kKinds[3][2] = {{"Alle", "All"},
                                               {"Keine Halbschattenfinsternisse", "No penumbral eclipses"},
                                               {"Nur totale", "Only total eclipses"}};
  kinds_ = AddKindBox(this, layout, Tr("&Welche Finsternisse suchen?", "&What kind of eclipses?"), "KindGroup", "Kind",
                      kKinds, criteria_.Kind);

  auto* altitudeRow = new QHBoxLayout;
  condition_ = NewNamed<QCheckBox>("AltitudeCondition",
                                   Tr("&Nur wenn Mondhöher größer als", "O&nly when Moon altitude larger than"), this);
  condition_->setChecked(criteria_.AltitudeCondition != 0);
  connect(condition_, &QCheckBox::toggled, this, [this](bool on) { criteria_.AltitudeCondition = on ? 1 : 0; });
  altitude_ = NewSpinBox(this, "MinimumAltitude", -90, 90);
  altitude_->setValue(ClampLunarMinimumAltitude(criteria_.MinimumAltitude));
  criteria_.MinimumAltitude = altitude_->value();
  connect(altitude_, &QSpinBox::valueChanged, this, [this](int v) { criteria_.MinimumAltitude = v; });
  auto* degrees = new QLabel(Tr("&Grad", "&Degrees"), this);
  degrees->setBuddy(altitude_);
  altitudeRow->addWidget(condition_);
  altitudeRow->addWidget(altitude_);
  altitudeRow->addWidget(degrees);
  altitudeRow->addStretch();
  layout->addLayout(altitudeRow);

  const TPeriodBox period = AddPeriodBox(this, layout, [this] {
    if (hooks_.ChangePeriod) hooks_.ChangePeriod();
    RefillPeriod();
  });
  period_ = period.Period;

  layout->addLayout(
      MakeOkCancelRow(this, "OKButton", "CancelButton", Tr("&Abbrechen", "&Cancel"), QStringLiteral("OK")).Row);
  RefillPeriod();
}

void TMoFiSuchkriterien::RefillPeriod() {
  period_->setText(hooks_.PeriodText ? QString::fromStdString(hooks_.PeriodText()) : QString());
}

int ShowLunarEclipseCriteria(TLunarEclipseCriteria& criteria, const TEclipsePeriodHooks& hooks, QWidget* owner) {
  TMoFiSuchkriterien dialog(criteria, hooks, owner);
  if (dialog.exec() != QDialog::Accepted) return 2;
  criteria = dialog.Criteria();
  return 1;
}

}  // namespace kvx
