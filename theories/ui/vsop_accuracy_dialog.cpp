#include "theories/ui/vsop_accuracy_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/globals.h"
#include "theories/vsop_wrappers.h"

namespace kvx {
namespace {

struct ItemText {
  const char* german;
  const char* english;
};
constexpr ItemText kItems[5] = {{"Volle Genauigkeit", "Full"},
                                {"Hohe Genauigkeit", "High"},
                                {"Mittlere Genauigkeit", "Medium"},
                                {"Niedrige Genauigkeit", "Low"},
                                {"Sehr niedrige Genauigkeit", "Very low"}};

QGroupBox* MakeRadioGroup(QWidget* parent, const char* objectName, QButtonGroup*& group) {
  auto* box = new QGroupBox(parent);
  box->setObjectName(objectName);
  auto* layout = new QVBoxLayout(box);
  group = new QButtonGroup(box);
  group->setExclusive(true);
  for (int item = 0; item < 5; ++item) {
    auto* button = new QRadioButton(box);
    button->setObjectName(QString("%1Item%2").arg(objectName).arg(item));
    layout->addWidget(button);
    group->addButton(button, item);
  }
  return box;
}

void SelectItem(QButtonGroup* group, int item) {
  if (item < 0 || item > 4) {
    // No item: clear the exclusive group's check.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
    return;
  }
  group->button(item)->setChecked(true);
}

}  // namespace

TVSOPRechengenauigkeit::TVSOPRechengenauigkeit(QWidget* parent) : QDialog(parent) {
  setObjectName("TVSOPRechengenauigkeit");
  setProperty("helpContext", kHelpContext);
  RadioGroup1 = MakeRadioGroup(this, "RadioGroup1", group1_);
  RadioGroup2 = MakeRadioGroup(this, "RadioGroup2", group2_);
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(this);
  CancelBtn->setObjectName("CancelBtn");

  auto* groups = new QHBoxLayout;
  groups->addWidget(RadioGroup1);
  groups->addWidget(RadioGroup2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addLayout(buttons);

  connect(group1_, &QButtonGroup::idClicked, this, [this](int) { RadioGroup1Click(); });
  connect(group2_, &QButtonGroup::idClicked, this, [this](int) { RadioGroup2Click(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] { done(kResultOk); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { done(kResultCancel); });
  FormShow();
}

int TVSOPRechengenauigkeit::RadioGroup1ItemIndex() const { return group1_->checkedId(); }
int TVSOPRechengenauigkeit::RadioGroup2ItemIndex() const { return group2_->checkedId(); }
void TVSOPRechengenauigkeit::SetRadioGroup1ItemIndex(int item) { SelectItem(group1_, item); }
void TVSOPRechengenauigkeit::SetRadioGroup2ItemIndex(int item) { SelectItem(group2_, item); }

void TVSOPRechengenauigkeit::FormShow() {
  const bool english = LanguageEnglish != 0;
  setWindowTitle(QString::fromUtf8(english ? "Accuracy of VSOP series" : "Rechengenauigkeit für die VSOP-Theorien"));
  RadioGroup1->setTitle(QString::fromUtf8(english ? "For &ephemeris calculation" : "Für &Ephemeridenrechnung"));
  RadioGroup2->setTitle(QString::fromUtf8(english ? "For numeric integration" : "Für numerische Integration"));
  for (int item = 0; item < 5; ++item)
    group1_->button(item)->setText(QString::fromUtf8(english ? kItems[item].english : kItems[item].german));
  // The second group's items are those of the first.
  for (int item = 0; item < 5; ++item) group2_->button(item)->setText(group1_->button(item)->text());
  CancelBtn->setText(QString::fromUtf8(english ? "&Cancel" : "&Abbrechen"));
}

void TVSOPRechengenauigkeit::RadioGroup1Click() {
  const int item = RadioGroup1ItemIndex();
  if (item >= 0 && item <= 4) EphemerisLevel = kTruncationLevels[item];
}

void TVSOPRechengenauigkeit::RadioGroup2Click() {
  const int item = RadioGroup2ItemIndex();
  if (item >= 0 && item <= 4) IntegrationLevel = kTruncationLevels[item];
}

void TVSOPRechengenauigkeit::reject() { done(kResultCancel); }

void TVSOPRechengenauigkeit::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

int ShowVsopAccuracyDialog(TTruncationLevel& ephemerisLevel, TTruncationLevel& integrationLevel, QWidget* parent) {
  TVSOPRechengenauigkeit form(parent);
  form.EphemerisLevel = ephemerisLevel;
  form.IntegrationLevel = integrationLevel;
  const int item1 = TruncationLevelItem(ephemerisLevel);
  const int item2 = TruncationLevelItem(integrationLevel);
  if (item1 >= 0) form.SetRadioGroup1ItemIndex(item1);
  if (item2 >= 0) form.SetRadioGroup2ItemIndex(item2);
  const int result = form.exec();
  if (result == TVSOPRechengenauigkeit::kResultOk) {
    ephemerisLevel = form.EphemerisLevel;
    integrationLevel = form.IntegrationLevel;
  }
  return result;
}

}  // namespace kvx
