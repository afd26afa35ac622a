#include "eclipses/ui/solar_criteria_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/text_conversion.h"
#include "platform/globals.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) {
  return QString::fromUtf8(LanguageEnglish != 0 ? english : german);
}

}  // namespace

std::string EclipsePeriodText(std::int32_t startDay, std::int32_t startMonth, std::int32_t startYear,
                              std::int32_t endDay, std::int32_t endMonth, std::int32_t endYear) {
  std::string from, to;
  DateToText(startDay, startMonth, startYear, from, IntlSeparators.Date);
  DateToText(endDay, endMonth, endYear, to, IntlSeparators.Date);
  return from + (LanguageEnglish != 0 ? " to " : " bis ") + to;
}

TSofiSuchkriteriendlg::TSofiSuchkriteriendlg(std::uint8_t criterion, TEclipsePeriodHooks hooks, QWidget* parent)
    : QDialog(parent), criterion_(criterion), hooks_(std::move(hooks)) {
  setObjectName("TSofiSuchkriteriendlg");
  setWindowTitle(Tr("Suchkriterien", "Criteria for search"));
  auto* layout = new QVBoxLayout(this);

  auto* kinds = new QGroupBox(Tr("&Welche Finsternisse suchen?", "&Which kind of eclipses?"), this);
  kinds->setObjectName("RadioGroup1");
  auto* kindsLayout = new QVBoxLayout(kinds);
  RadioGroup1 = new QButtonGroup(this);
  const char* const items[4][2] = {{"Alle", "All"},
                                   {"Alle lokal sichtbaren", "All local visible"},
                                   {"Nur ringförmige oder totale", "Only annular or total"},
                                   {"Nur totale", "Only total"}};
  for (int i = 0; i < 4; ++i) {
    auto* button = new QRadioButton(Tr(items[i][0], items[i][1]), kinds);
    button->setObjectName(QString("Criterion%1").arg(i));
    RadioGroup1->addButton(button, i);
    kindsLayout->addWidget(button);
  }
  if (QAbstractButton* current = RadioGroup1->button(criterion_ <= 3 ? criterion_ : 0)) current->setChecked(true);
  connect(RadioGroup1, &QButtonGroup::idClicked, this, [this](int id) { criterion_ = static_cast<std::uint8_t>(id); });
  layout->addWidget(kinds);

  auto* period = new QGroupBox(Tr("&Suchzeitraum", "Time &span for search"), this);
  auto* periodLayout = new QHBoxLayout(period);
  PeriodLabel = new QLabel(period);
  PeriodLabel->setObjectName("PeriodLabel");
  ChangeButton = new QPushButton(Tr("&Ändern...", "C&hange..."), period);
  ChangeButton->setObjectName("ChangeButton");
  periodLayout->addWidget(PeriodLabel, 1);
  periodLayout->addWidget(ChangeButton);
  connect(ChangeButton, &QPushButton::clicked, this, [this] {
    if (hooks_.ChangePeriod) hooks_.ChangePeriod();
    RefreshPeriod();
  });
  layout->addWidget(period);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("OK");
  QPushButton* cancel = buttons->addButton(Tr("&Abbrechen", "&Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName("Cancel");
  connect(ok, &QPushButton::clicked, this, [this] { done(kCriteriaAccepted); });
  connect(cancel, &QPushButton::clicked, this, [this] { done(kCriteriaCancelled); });
  layout->addWidget(buttons);
  RefreshPeriod();
}

void TSofiSuchkriteriendlg::RefreshPeriod() {
  PeriodLabel->setText(hooks_.PeriodText ? QString::fromStdString(hooks_.PeriodText()) : QString());
}

int ShowSolarEclipseCriteria(std::uint8_t& criterion, const TEclipsePeriodHooks& hooks, QWidget* parent) {
  TSofiSuchkriteriendlg dialog(criterion, hooks, parent);
  const int result = dialog.exec();
  if (result == kCriteriaAccepted) {
    criterion = dialog.Criterion();
    return kCriteriaAccepted;
  }
  return kCriteriaCancelled;
}

}  // namespace kvx
