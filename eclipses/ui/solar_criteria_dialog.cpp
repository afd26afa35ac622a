#include "eclipses/ui/solar_criteria_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "eclipses/ui/criteria_boxes.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) {
  return QString::fromUtf8(LanguageEnglish != 0 ? english : german);
}

}  // namespace

TSofiSuchkriteriendlg::TSofiSuchkriteriendlg(std::uint8_t criterion, TEclipsePeriodHooks hooks, QWidget* parent)
    : QDialog(parent), criterion_(criterion), hooks_(std::move(hooks)) {
  SetHelpSection(this, "menu-ephemerides");
  setObjectName("TSofiSuchkriteriendlg");
  setWindowTitle(Tr("Suchkriterien", "Criteria for search"));
  auto* layout = new QVBoxLayout(this);

  static constexpr const char* kKinds[4][2] = {{"Alle", "All"},
                                               {"Alle lokal sichtbaren", "All local visible"},
                                               {"Nur ringförmige oder totale", "Only annular or total"},
                                               {"Nur totale", "Only total"}};
  RadioGroup1 = AddKindBox(this, layout, Tr("&Welche Finsternisse suchen?", "&Which kind of eclipses?"), "RadioGroup1",
                           "Criterion", kKinds, criterion_);
  const TPeriodBox period = AddPeriodBox(this, layout, [this] {
    if (hooks_.ChangePeriod) hooks_.ChangePeriod();
    RefreshPeriod();
  });
  PeriodLabel = period.Period;
  ChangeButton = period.Change;

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
