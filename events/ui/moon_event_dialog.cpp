#include "events/ui/moon_event_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "events/moon_phenomena.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

TMoonEventDialogDriver& Driver() {
  static TMoonEventDialogDriver driver;
  return driver;
}

}  // namespace

TMond_Ereignis::TMond_Ereignis(std::uint8_t planetCode, std::int32_t moonIndex, std::int32_t eventIndex, QWidget* owner)
    : QDialog(owner) {
  SetHelpContext(this, kHelpTopicMoonEvent);
  setObjectName("Mond_Ereignis");
  setWindowTitle(Tr("Mond und Ereignis wählen", "Select moon and event"));
  const bool english = LanguageEnglish != 0;
  auto* layout = new QVBoxLayout(this);
  auto* groups = new QHBoxLayout;

  auto* moonBox = new QGroupBox(Tr("&Mond", "&Moon"), this);
  moonBox->setObjectName("RadioGroup1");
  auto* moonLayout = new QVBoxLayout(moonBox);
  moons_ = new QButtonGroup(this);
  const int code = planetCode <= 2 ? planetCode : 0;
  const int count = MoonListCount(code);
  for (int i = 0; i < count; ++i) {
    auto* button = new QRadioButton(QString::fromUtf8(MoonListName(code, i + 1)), moonBox);
    moons_->addButton(button, i);
    moonLayout->addWidget(button);
  }
  groups->addWidget(moonBox);

  auto* eventBox = new QGroupBox(Tr("&Ereignis", "&Event"), this);
  eventBox->setObjectName("RadioGroup2");
  auto* eventLayout = new QVBoxLayout(eventBox);
  events_ = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    auto* button = new QRadioButton(QString::fromUtf8(MoonEventName(i, english)), eventBox);
    events_->addButton(button, i);
    eventLayout->addWidget(button);
  }
  eventLayout->addStretch();
  groups->addWidget(eventBox);
  layout->addLayout(groups);

  auto* buttons = new QHBoxLayout;
  ok_ = new QPushButton("&OK", this);
  ok_->setObjectName("OKBtn");
  ok_->setDefault(true);
  cancel_ = new QPushButton(this);
  cancel_->setObjectName("CancelBtn");
  ApplyDialogButtonLanguage(cancel_, nullptr);
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  // Indexes outside the lists fall to the first item.
  const int moon = moonIndex >= 0 && moonIndex < count ? moonIndex : 0;
  const int event = eventIndex >= 0 && eventIndex <= 3 ? eventIndex : 0;
  moons_->button(moon)->setChecked(true);
  events_->button(event)->setChecked(true);
}

int TMond_Ereignis::MoonIndex() const { return std::max(0, moons_->checkedId()); }
int TMond_Ereignis::EventIndex() const { return std::max(0, events_->checkedId()); }

bool SelectMoonAndEvent(std::uint8_t planetCode, std::int32_t& moon, std::uint8_t& event, QWidget* owner) {
  TMond_Ereignis dialog(planetCode, moon - 1, event, owner);
  const int result = Driver() ? Driver()(dialog) : dialog.exec();
  if (result != QDialog::Accepted) return false;
  moon = dialog.MoonIndex() + 1;
  event = static_cast<std::uint8_t>(dialog.EventIndex());
  return true;
}

void SetMoonEventDialogDriver(TMoonEventDialogDriver driver) { Driver() = std::move(driver); }

}  // namespace kvx
