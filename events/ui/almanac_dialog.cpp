#include "events/ui/almanac_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/globals.h"
#include "platform/help.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {

QString Text(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

struct Caption {
  const char* german;
  const char* english;
};

constexpr Caption kBodyCaptions[10] = {
    {"Sonne", "Sun"},     {"Merkur", "Mercury"}, {"Venus", "Venus"},    {"Mars", "Mars"},   {"Jupiter", "Jupiter"},
    {"Saturn", "Saturn"}, {"Uranus", "Uranus"},  {"Neptun", "Neptune"}, {"Pluto", "Pluto"}, {"Mond", "Moon"}};
// The sections' check boxes after those of the event kinds (whose captions
// are the event-kind table's AlmanacCaption).
constexpr Caption kSectionCaptions[almanac_section::kCount] = {
    {"Sonnenfinsternisse", "Solar eclipses"},
    {"Mondfinsternisse", "Lunar eclipses"},
    {"Jahreszeiten", "Seasons"},
    {"Mondphasen", "Phases of the Moon"},
};

// The section byte of check box `box` (kEventKindCount and after).
int SectionOfBox(int box) { return almanac_section::kSolarEclipses + (box - kEventKindCount); }

}  // namespace

TAlmanachdlg::TAlmanachdlg(const TConjunctionOptions& conjunction, const TAlmanacOptions& options, QWidget* parent)
    : QDialog(parent), Conjunction(conjunction), Options(options) {
  setObjectName("Almanachdlg");
  auto* layout = new QVBoxLayout(this);
  auto* groups = new QHBoxLayout;
  layout->addLayout(groups);

  auto* bodyBox = new QGroupBox(this);
  bodyBox->setObjectName("GroupBox1");
  auto* bodyLayout = new QVBoxLayout(bodyBox);
  for (int i = 0; i < 10; ++i) {
    bodies_[static_cast<std::size_t>(i)] = new QCheckBox(bodyBox);
    bodies_[static_cast<std::size_t>(i)]->setObjectName(QString("CheckBox%1").arg(i + 1));
    bodyLayout->addWidget(bodies_[static_cast<std::size_t>(i)]);
  }
  auto* button1 = new QPushButton(bodyBox);
  button1->setObjectName("Button1");
  auto* button2 = new QPushButton(bodyBox);
  button2->setObjectName("Button2");
  bodyLayout->addWidget(button1);
  bodyLayout->addWidget(button2);
  bodyLayout->addStretch();
  groups->addWidget(bodyBox);

  auto* eventBox = new QGroupBox(this);
  eventBox->setObjectName("GroupBox2");
  auto* eventLayout = new QGridLayout(eventBox);
  for (int i = 0; i < static_cast<int>(events_.size()); ++i) {
    auto* box = new QCheckBox(eventBox);
    box->setObjectName(QString("CheckBox%1").arg(i + 11));
    events_[static_cast<std::size_t>(i)] = box;
    eventLayout->addWidget(box, i / 2, i % 2);
  }
  auto* button4 = new QPushButton(eventBox);
  button4->setObjectName("Button4");
  auto* button3 = new QPushButton(eventBox);
  button3->setObjectName("Button3");
  // The buttons and the two conjunction boxes below the pairs of check boxes.
  const int buttonRow = (static_cast<int>(events_.size()) + 1) / 2;
  eventLayout->addWidget(button4, buttonRow, 0);
  eventLayout->addWidget(button3, buttonRow, 1);
  topocentric_ = new QCheckBox(eventBox);
  topocentric_->setObjectName("CheckBox39");
  inLongitude_ = new QCheckBox(eventBox);
  inLongitude_->setObjectName("CheckBox40");
  eventLayout->addWidget(topocentric_, buttonRow + 1, 0, 1, 2);
  eventLayout->addWidget(inLongitude_, buttonRow + 2, 0, 1, 2);
  groups->addWidget(eventBox);

  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(this);
  ok->setObjectName("BitBtn1");
  ok->setDefault(true);
  auto* cancel = new QPushButton(this);
  cancel->setObjectName("BitBtn2");
  auto* close = new QPushButton(this);
  close->setObjectName("BitBtn3");
  auto* help = new QPushButton(this);
  help->setObjectName("HelpButton");
  buttons->addStretch();
  for (QPushButton* b : {ok, cancel, close, help}) buttons->addWidget(b);
  layout->addLayout(buttons);

  connect(button1, &QPushButton::clicked, this, [this] { SetAllBodies(true); });
  connect(button2, &QPushButton::clicked, this, [this] { SetAllBodies(false); });
  connect(button4, &QPushButton::clicked, this, [this] { SetAllEvents(true); });
  connect(button3, &QPushButton::clicked, this, [this] { SetAllEvents(false); });
  connect(topocentric_, &QCheckBox::toggled, this, [this](bool on) { Conjunction.Topocentric = on ? 1 : 0; });
  connect(inLongitude_, &QCheckBox::toggled, this, [this](bool on) { Conjunction.InLongitude = on ? 1 : 0; });
  connect(ok, &QPushButton::clicked, this, [this] { done(kAlmanacDialogOk); });
  connect(cancel, &QPushButton::clicked, this, [this] { done(kAlmanacDialogCancel); });
  connect(close, &QPushButton::clicked, this, [this] { done(kAlmanacDialogClose); });
  SetHelpContext(this, kHelpTopicAlmanac, help);
  SetCaptions();
  AlmanacRecordToForm();
}

void TAlmanachdlg::SetCaptions() {
  setWindowTitle(Text("Almanach konfigurieren", "Almanac Setup"));
  findChild<QGroupBox*>("GroupBox1")->setTitle(Text("Ob&jekte wählen", "Select objects"));
  findChild<QGroupBox*>("GroupBox2")->setTitle(Text("&Ereignisse wählen", "Select events"));
  for (std::size_t i = 0; i < bodies_.size(); ++i) {
    bodies_[i]->setText(Text(kBodyCaptions[i].german, kBodyCaptions[i].english));
  }
  for (int i = 0; i < static_cast<int>(events_.size()); ++i) {
    const char* german = nullptr;
    const char* english = nullptr;
    if (const TEventKindInfo* kind = EventKindInfo(i)) {
      german = kind->AlmanacCaption.German;
      english = kind->AlmanacCaption.English;
    } else {
      german = kSectionCaptions[i - kEventKindCount].german;
      english = kSectionCaptions[i - kEventKindCount].english;
    }
    events_[static_cast<std::size_t>(i)]->setText(Text(german, english));
  }
  for (const char* name : {"Button1", "Button4"})
    findChild<QPushButton*>(name)->setText(Text("Alle auswählen", "Select all"));
  for (const char* name : {"Button2", "Button3"})
    findChild<QPushButton*>(name)->setText(Text("Alle abwählen", "Deselect all"));
  topocentric_->setText(Text("Konjunktionen topozentrisch", "Topocentric coordinates for conjunktions"));
  inLongitude_->setText(Text("Konjunktionen in Länge", "Conjunctions in longitude"));
  findChild<QPushButton*>("BitBtn1")->setText(Text("Almanach er&zeugen", "Create almanac"));
  findChild<QPushButton*>("BitBtn2")->setText(Text("&Abbrechen", "&Cancel"));
  findChild<QPushButton*>("BitBtn3")->setText(Text("&Schließen", "Close"));
  // German: "&Hilfe"; English has no help: the button is hidden.
  ApplyDialogButtonLanguage(nullptr, findChild<QPushButton*>("HelpButton"));
}

void TAlmanachdlg::AlmanacRecordToForm() {
  for (int i = 0; i < 10; ++i) bodies_[static_cast<std::size_t>(i)]->setChecked(Options.Body(i));
  for (int i = 0; i < static_cast<int>(events_.size()); ++i) {
    events_[static_cast<std::size_t>(i)]->setChecked(i < kEventKindCount ? Options.Kind(i)
                                                                         : Options.Section(SectionOfBox(i)));
  }
  const QSignalBlocker b1(topocentric_), b2(inLongitude_);
  topocentric_->setChecked(Conjunction.Topocentric != 0);
  inLongitude_->setChecked(Conjunction.InLongitude != 0);
}

void TAlmanachdlg::AlmanacFormToRecord() {
  for (int i = 0; i < 10; ++i) Options.SetBody(i, bodies_[static_cast<std::size_t>(i)]->isChecked());
  for (int i = 0; i < static_cast<int>(events_.size()); ++i) {
    const bool on = events_[static_cast<std::size_t>(i)]->isChecked();
    if (i < kEventKindCount) {
      Options.SetKind(i, on);
    } else {
      Options.SetSection(SectionOfBox(i), on);
    }
  }
}

void TAlmanachdlg::SetAllBodies(bool on) {
  AlmanacFormToRecord();
  for (int i = 0; i < 10; ++i) Options.SetBody(i, on);
  AlmanacRecordToForm();
}

void TAlmanachdlg::SetAllEvents(bool on) {
  AlmanacFormToRecord();
  for (int i = 0; i < kEventKindCount; ++i) Options.SetKind(i, on);
  for (int i = almanac_section::kSolarEclipses; i <= almanac_section::kSpare; ++i) Options.SetSection(i, on);
  AlmanacRecordToForm();
}

int ConfigureAlmanac(TConjunctionOptions& conjunction, TAlmanacOptions& options, QWidget* parent) {
  TAlmanachdlg dialog(conjunction, options, parent);
  const int result = dialog.exec();
  if (result != kAlmanacDialogCancel && result != QDialog::Rejected) {
    dialog.AlmanacFormToRecord();
    conjunction = dialog.Conjunction;
    options = dialog.Options;
  }
  if (parent != nullptr) parent->repaint();
  return result == QDialog::Rejected ? kAlmanacDialogCancel : result;
}

}  // namespace kvx
