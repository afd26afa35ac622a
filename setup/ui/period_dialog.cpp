#include "setup/ui/period_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "core/input_checks.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "setup/edit_rules.h"
#include "setup/ui/dialog_owner.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

struct Caption {
  QWidget* widget;
  const char* german;
  const char* english;
};

// Captions of the dialog's widgets, set again at every show.
std::vector<Caption>& CaptionsOf(const QObject* dialog) {
  static std::map<const QObject*, std::vector<Caption>> all;
  return all[dialog];
}

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

QString DateText(const TObserverRecord& r) {
  return QString("%1.%2.%3").arg(r.Day, 2, 10, QChar('0')).arg(r.Month, 2, 10, QChar('0')).arg(r.Year);
}

// The end time carries a tiny extra so that a row at the end itself is kept.
constexpr double kEndTimeExtraHours = 5e-08;

}  // namespace

Tzeitraumform::Tzeitraumform(QWidget* parent) : QDialog(parent) {
  setObjectName("Zeitraumform");
  CaptionsOf(this).clear();  // a dialog made again at the address of an earlier one
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildStartGroup());
  layout->addWidget(BuildEndGroup());
  layout->addWidget(BuildStepGroup());
  layout->addWidget(BuildEclipseGroup());
  const TOkCancelRow buttons = MakeOkCancelRow(this, "OKButton", "CancelButton");
  CaptionsOf(this).push_back({buttons.Cancel, "&Abbruch", "&Cancel"});
  layout->addLayout(buttons.Row);
}

QLineEdit* Tzeitraumform::BuildDateEdit(QWidget* group, const QString& prefix, QSpinBox** spins) {
  auto* date = new QLineEdit(group);
  date->setObjectName(prefix + "Date");
  const char* parts[3] = {"Day", "Month", "Year"};
  const int dateMin[3] = {1, 1, -4711}, dateMax[3] = {31, 12, 20000};
  for (int i = 0; i < 3; ++i) {
    spins[i] = new QSpinBox(group);
    spins[i]->setObjectName(prefix + parts[i]);
    spins[i]->setRange(dateMin[i], dateMax[i]);
    connect(spins[i], &QSpinBox::valueChanged, this, [this, date, spins] { MirrorSpinsToDate(date, spins); });
  }
  connect(date, &QLineEdit::textChanged, this, [this, date, spins] { MirrorDateToSpins(date, spins); });
  return date;
}

QWidget* Tzeitraumform::BuildStartGroup() {
  auto* group = new QGroupBox(this);
  CaptionsOf(this).push_back({group, "Anfangsdatum (aktuell verwendetes Datum)", "Starting date (actually used date)"});
  auto* grid = new QGridLayout(group);
  start_date_ = BuildDateEdit(group, "Start", start_date_spins_);
  start_time_ = new TEditUhrzeithms(group);
  start_time_->setObjectName("StartTime");
  const char* timeNames[3] = {"StartHour", "StartMinute", "StartSecond"};
  const int timeMax[3] = {23, 59, 59};
  for (int i = 0; i < 3; ++i) {
    start_time_spins_[i] = new QSpinBox(group);
    start_time_spins_[i]->setObjectName(timeNames[i]);
    start_time_spins_[i]->setRange(0, timeMax[i]);
    connect(start_time_spins_[i], &QSpinBox::valueChanged, this, [this] {
      if (checking_) return;
      start_time_->SetUhrzeit(start_time_spins_[0]->value() + start_time_spins_[1]->value() / 60.0 +
                              start_time_spins_[2]->value() / 3600.0);
    });
  }
  connect(start_time_, &TUhrzeitEdit::Changed, this, [this] { MirrorTimeToSpins(); });
  zone_ = new TIntegerEdit(group);
  zone_->setObjectName("Zone");
  zone_->SetRefusal("Zeitzone: Bitte Ganzzahl zwischen +/-12 eingeben!",
                    "Time zone: please enter an interger between +/-12!");
  extra_minutes_ = new TIntegerEdit(group);
  extra_minutes_->setObjectName("ExtraMinutes");
  auto* zeroUt = new QPushButton("0h UT", group);
  zeroUt->setObjectName("StartZeroUT");
  connect(zeroUt, &QPushButton::clicked, this, [this] {
    checking_ = true;
    Start.Zone = zone_->text().toInt();
    Start.ZoneMinutes = extra_minutes_->text().toInt();
    checking_ = false;
    ZeroHourUT(Start, start_time_);
    MirrorTimeToSpins();
  });
  auto* dateLabel = new QLabel(group);
  CaptionsOf(this).push_back({dateLabel, "&Datum:", "&Date:"});
  auto* timeLabel = new QLabel(group);
  CaptionsOf(this).push_back({timeLabel, "&Uhrzeit:", "&Time:"});
  auto* zoneLabel = new QLabel(group);
  CaptionsOf(this).push_back({zoneLabel, "Zeitzone:", "Time zone:"});
  auto* minutesLabel = new QLabel(group);
  CaptionsOf(this).push_back({minutesLabel, "Minuten:", "Minutes:"});
  dateLabel->setBuddy(start_date_);
  timeLabel->setBuddy(start_time_);
  zoneLabel->setBuddy(zone_);
  minutesLabel->setBuddy(extra_minutes_);
  grid->addWidget(dateLabel, 0, 0);
  grid->addWidget(start_date_, 0, 1);
  for (int i = 0; i < 3; ++i) grid->addWidget(start_date_spins_[i], 0, 2 + i);
  grid->addWidget(timeLabel, 1, 0);
  grid->addWidget(start_time_, 1, 1);
  for (int i = 0; i < 3; ++i) grid->addWidget(start_time_spins_[i], 1, 2 + i);
  grid->addWidget(zeroUt, 1, 5);
  grid->addWidget(zoneLabel, 2, 0);
  grid->addWidget(zone_, 2, 1);
  grid->addWidget(minutesLabel, 2, 2);
  grid->addWidget(extra_minutes_, 2, 3);
  connect(start_time_, &QLineEdit::editingFinished, this, [this] {
    if (!checking_) Start.LocalHours = start_time_->Uhrzeit();
  });
  connect(zone_, &TIntegerEdit::Accepted, this, [this] { LeaveField(&Tzeitraumform::CheckZone); });
  return group;
}

QWidget* Tzeitraumform::BuildEndGroup() {
  auto* group = new QGroupBox(this);
  CaptionsOf(this).push_back({group, "&Enddatum:", "&Ending date"});
  auto* grid = new QGridLayout(group);
  end_date_ = BuildDateEdit(group, "End", end_date_spins_);
  end_time_ = new TEditUhrzeithms(group);
  end_time_->setObjectName("EndTime");
  end_time_->SetRefusal(
      "Uhrzeit (Enddatum): Wert muß >=0 und < 24 sein! Die Eingabe wird im Format (h)h:mm:ss erwartet. Wenn für "
      "Sekunden kein Wert eingegeben wird, ist auch (h)h:m möglich.",
      "Time must be >=0 and < 24 as (h)h:mm:ss or (h)h:m.");
  start_time_->SetRefusal(
      "Uhrzeit (Anfagsdatum): Wert muß >=0 und < 24 sein! Die Eingabe wird im Format (h)h:mm:ss erwartet. Wenn "
      "für Sekunden kein Wert eingegeben wird, ist auch (h)h:m möglich.",
      "Time (starting date) must be >=0 and < 24 as (h)h:mm:ss or (h)h:m");
  auto* zeroUt = new QPushButton("0h UT", group);
  zeroUt->setObjectName("EndZeroUT");
  connect(zeroUt, &QPushButton::clicked, this, [this] {
    End.Zone = Start.Zone;
    End.ZoneMinutes = Start.ZoneMinutes;
    ZeroHourUT(End, end_time_);
  });
  auto_end_ = new QCheckBox(group);
  auto_end_->setObjectName("AutoEnd");
  CaptionsOf(this).push_back(
      {auto_end_, "Enddatum automatisch nach", "&Set date of the last ephemeris automatically to"});
  auto_days_ = new TIntegerEdit(group);
  auto_days_->setObjectName("AutoDays");
  auto_days_->SetRefusal(
      "Tage für Automodus: Wert muß Ganzzahl >01 sein! Bitte auch dann einen Wert eingeben, wenn das Kästchen "
      "für Automodus deaktiviert ist!",
      "Enter a value > 0");
  auto_hours_ = new TEditUhrzeithms(group);
  auto_hours_->setObjectName("AutoHours");
  auto_hours_->SetRefusal(
      "Stundenwert für Automodus muß >=0 und < 24 sein! Die Eingabe wird im Format (h)h:mm:ss erwartet.",
      "Please enter a value >=0 and < 24 as (h)h:mm:ss.");
  auto* daysLabel = new QLabel(group);
  CaptionsOf(this).push_back({daysLabel, "Tagen und", "days and"});
  auto* hoursLabel = new QLabel(group);
  CaptionsOf(this).push_back({hoursLabel, "Stunden ", "hours after starting."});
  grid->addWidget(end_date_, 0, 0);
  for (int i = 0; i < 3; ++i) grid->addWidget(end_date_spins_[i], 0, 1 + i);
  grid->addWidget(end_time_, 1, 0);
  grid->addWidget(zeroUt, 1, 1);
  grid->addWidget(auto_end_, 2, 0, 1, 4);
  grid->addWidget(auto_days_, 3, 0);
  grid->addWidget(daysLabel, 3, 1);
  grid->addWidget(auto_hours_, 3, 2);
  grid->addWidget(hoursLabel, 3, 3);
  connect(auto_end_, &QCheckBox::toggled, this, [this](bool on) {
    if (checking_) return;
    SetAutoEndSwitch(Start, on ? 1 : 0);
    SetAutoEndSwitch(End, on ? 1 : 0);
    ApplyAutoEnd();
    LeaveField(&Tzeitraumform::CheckStepWhole);
  });
  connect(auto_days_, &TIntegerEdit::Accepted, this, [this] {
    if (!checking_ && auto_days_->text() == "0" && auto_hours_->Uhrzeit() <= 0) auto_hours_->SetUhrzeit(1.0);
    LeaveField(&Tzeitraumform::CheckAutoDays);
  });
  return group;
}

QWidget* Tzeitraumform::BuildStepGroup() {
  auto* group = new QGroupBox(this);
  CaptionsOf(this).push_back({group, "Schrittweite zwischen zwei Tabellenwerten", "Interval between table values"});
  auto* grid = new QGridLayout(group);
  step_days_ = new TIntegerEdit(group);
  step_days_->setObjectName("StepDays");
  step_days_->SetRefusal("Intervall (Tage): muß Ganzzahl >=0 sein!", "Interval (days): must be an integer >=0!");
  step_hours_ = new TEditUhrzeithms(group);
  step_hours_->setObjectName("StepHours");
  step_hours_->SetRefusal(
      "Intervall (Stunden): muß >=00:00:02 und <24:00:00 sein! Die Eingabe wird im Format (h)h:mm:ss erwartet. "
      "Wenn für Sekunden kein Wert eingegeben wird, ist auch (h)h:m möglich.",
      "Interval (hours): must be >=00:00:02 and <24:00:00 as (h)h:mm:ss or (h)h:m.");
  auto* daysLabel = new QLabel(group);
  CaptionsOf(this).push_back({daysLabel, "Tage und", "days and"});
  auto* hoursLabel = new QLabel(group);
  CaptionsOf(this).push_back({hoursLabel, "Stunden", "hours"});
  grid->addWidget(step_days_, 0, 0);
  grid->addWidget(daysLabel, 0, 1);
  grid->addWidget(step_hours_, 0, 2);
  grid->addWidget(hoursLabel, 0, 3);
  struct Shortcut {
    const char* name;
    const char* german;
    const char* english;
    std::int32_t days;
    double hours;
  };
  static constexpr Shortcut kShortcuts[6] = {
      {"Step1Hour", "1 Stunde", "1 hour", 0, 1}, {"Step12Hours", "12 Stunden", "12 hours", 0, 12},
      {"Step1Day", "1 Tag", "1 day", 1, 0},      {"Step3Days", "3 Tage", "3 days", 3, 0},
      {"Step5Days", "5 Tage", "5 days", 5, 0},   {"Step10Days", "10 Tage", "10 days", 10, 0},
  };
  for (int i = 0; i < 6; ++i) {
    auto* button = new QPushButton(group);
    button->setObjectName(kShortcuts[i].name);
    CaptionsOf(this).push_back({button, kShortcuts[i].german, kShortcuts[i].english});
    grid->addWidget(button, 1 + i / 3, i % 3);
    const Shortcut shortcut = kShortcuts[i];
    connect(button, &QPushButton::clicked, this, [this, shortcut] { SetStep(shortcut.days, shortcut.hours); });
  }
  connect(step_days_, &TIntegerEdit::Accepted, this, [this] {
    if (!checking_ && step_days_->text() == "0" && step_hours_->Uhrzeit() <= 0) step_hours_->SetUhrzeit(1.0);
    LeaveField(&Tzeitraumform::CheckStepDays);
  });
  return group;
}

QWidget* Tzeitraumform::BuildEclipseGroup() {
  auto* group = new QGroupBox(this);
  CaptionsOf(this).push_back({group, "Sonnenfinsternisse", "Solar eclipses"});
  auto* grid = new QGridLayout(group);
  eclipse_interval_ = new TIntegerEdit(group);
  eclipse_interval_->setObjectName("EclipseInterval");
  eclipse_interval_->SetRefusal("Intervall für Sonnenfinsternisse muß>0 min und <=30 min sein!",
                                "Interval for solar eclipses must be >0 min and <=30!");
  eclipse_span_ = new TIntegerEdit(group);
  eclipse_span_->setObjectName("EclipseSpan");
  eclipse_span_->SetRefusal("Suchzeitraum für Sonnenfinsternisse muß>0 h und <=12 h sein!",
                            "Search interval for solar eclipses must be>0 h and <=12 h!");
  phase_minutes_ = new QSpinBox(group);
  phase_minutes_->setObjectName("PhaseMinutes");
  phase_minutes_->setRange(0, 1440);
  phase_seconds_ = new QSpinBox(group);
  phase_seconds_->setObjectName("PhaseSeconds");
  phase_seconds_->setRange(0, 59);
  const Caption labels[5] = {
      {nullptr, "Tabelle mit Phasen und Sonnenhöhen alle", "Table with phases and Sun altitudes every"},
      {nullptr, "Minuten und", "minutes and"},
      {nullptr, "Sekunden.", "seconds."},
      {nullptr, "Suchzeitraum:", "Search"},
      {nullptr, "Stunden um den Neumond herum", "hours around New Moon"},
  };
  QLabel* made[5];
  for (int i = 0; i < 5; ++i) {
    made[i] = new QLabel(group);
    CaptionsOf(this).push_back({made[i], labels[i].german, labels[i].english});
  }
  auto* intervalLabel = new QLabel(group);
  CaptionsOf(this).push_back({intervalLabel, "Intervall (Minuten):", "Interval (minutes):"});
  grid->addWidget(intervalLabel, 0, 0);
  grid->addWidget(eclipse_interval_, 0, 1);
  grid->addWidget(made[3], 0, 2);
  grid->addWidget(eclipse_span_, 0, 3);
  grid->addWidget(made[4], 0, 4);
  grid->addWidget(made[0], 1, 0);
  grid->addWidget(phase_minutes_, 1, 1);
  grid->addWidget(made[1], 1, 2);
  grid->addWidget(phase_seconds_, 1, 3);
  grid->addWidget(made[2], 1, 4);
  connect(eclipse_interval_, &TIntegerEdit::Accepted, this,
          [this] { LeaveField(&Tzeitraumform::CheckEclipseInterval); });
  connect(eclipse_span_, &TIntegerEdit::Accepted, this, [this] { LeaveField(&Tzeitraumform::CheckEclipseSpan); });
  return group;
}

void Tzeitraumform::LeaveField(bool (Tzeitraumform::*check)()) {
  if (checking_ || !isVisible()) return;
  (this->*check)();
}

void Tzeitraumform::Activate() {
  checking_ = true;
  setWindowTitle(Tr("Zeitraum und Schrittweite für Ephemeride", "Period for ephemerides"));
  for (const Caption& c : CaptionsOf(this)) {
    const QString text = Tr(c.german, c.english);
    if (auto* label = qobject_cast<QLabel*>(c.widget))
      label->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(c.widget))
      box->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(c.widget))
      button->setText(text);
  }
  start_date_->setText(DateText(Start));
  MirrorDateToSpins(start_date_, start_date_spins_);
  start_time_->SetUhrzeit(Start.LocalHours);
  MirrorTimeToSpins();
  zone_->SetAcceptedText(QString::number(Start.Zone));
  extra_minutes_->SetAcceptedText(QString::number(Start.ZoneMinutes));
  end_date_->setText(DateText(End));
  MirrorDateToSpins(end_date_, end_date_spins_);
  end_time_->SetUhrzeit(End.LocalHours);
  auto_days_->SetAcceptedText(QString::number(End.PeriodDays));
  auto_hours_->SetUhrzeit(PackedHoursToHours(End.PeriodHours));
  step_days_->SetAcceptedText(QString::number(Step.Days));
  step_hours_->SetUhrzeit(Step.Hours);
  eclipse_interval_->SetAcceptedText(QString::number(EclipseInterval));
  eclipse_span_->SetAcceptedText(QString::number(EclipseSpan));
  phase_minutes_->setValue(PhaseMinutes);
  phase_seconds_->setValue(PhaseSeconds);
  auto_end_->setChecked(AutoEndSwitch(End) != 0);
  checking_ = false;
  ApplyAutoEnd();
}

void Tzeitraumform::ApplyAutoEnd() {
  const bool on = auto_end_->isChecked();
  end_date_->setEnabled(!on);
  end_time_->setEnabled(!on);
  for (QSpinBox* spin : end_date_spins_) spin->setEnabled(!on);
  auto_days_->setEnabled(on);
  auto_hours_->setEnabled(on);
}

void Tzeitraumform::MirrorDateToSpins(QLineEdit* edit, QSpinBox* const* spins) {
  std::int32_t d = 0, m = 0, y = 0;
  if (!ParseDottedDate(edit->text().toStdString(), d, m, y)) return;
  const bool was = checking_;
  checking_ = true;
  const std::int32_t parts[3] = {d, m, y};
  for (int i = 0; i < 3; ++i) {
    const QSignalBlocker block(spins[i]);
    spins[i]->setValue(parts[i]);
  }
  checking_ = was;
}

void Tzeitraumform::MirrorSpinsToDate(QLineEdit* edit, QSpinBox* const* spins) {
  if (checking_) return;
  edit->setText(QString("%1.%2.%3")
                    .arg(spins[0]->value(), 2, 10, QChar('0'))
                    .arg(spins[1]->value(), 2, 10, QChar('0'))
                    .arg(spins[2]->value()));
}

void Tzeitraumform::MirrorTimeToSpins() {
  const bool was = checking_;
  checking_ = true;
  const double h = start_time_->Uhrzeit();
  const long total = std::lround(std::floor(h * 3600.0 + 1e-6));
  const int parts[3] = {static_cast<int>(total / 3600) % 24, static_cast<int>((total / 60) % 60),
                        static_cast<int>(total % 60)};
  for (int i = 0; i < 3; ++i) {
    const QSignalBlocker block(start_time_spins_[i]);
    start_time_spins_[i]->setValue(parts[i]);
  }
  checking_ = was;
}

void Tzeitraumform::SetStep(std::int32_t days, double hours) {
  step_days_->SetAcceptedText(QString::number(days));
  step_hours_->SetUhrzeit(hours);
  Step.Days = days;
  Step.Hours = hours;
}

void Tzeitraumform::ZeroHourUT(TObserverRecord& r, TEditUhrzeithms* edit) {
  r.LocalHours = Mod24(r.DaylightHours + r.Zone + r.ZoneMinutes / 60.0);
  edit->SetUhrzeit(r.LocalHours);
}

void Tzeitraumform::Refuse(const char* german, const char* english) {
  ShowMessage(german, english, MessageIcon::Error);
  ErrorByte = 1;
}

// --- the checks ----------------------------------------------------------------------------

bool Tzeitraumform::CheckDate(QLineEdit* edit, TObserverRecord& r, bool end) {
  std::int32_t d = 0, m = 0, y = 0;
  if (!ParseDottedDate(edit->text().toStdString(), d, m, y)) {
    if (end)
      Refuse("Enddatum: Datumformat falsch!", "Enddate: invalid format!");
    else
      Refuse("Anfangsdatum: Datumformat falsch!", "Starting date has an invalid format");
    return false;
  }
  if (d < 1 || d > 31) {
    if (end)
      Refuse("Enddatum: Tag muß Ganzzahl >=1 und <=31 sein!", "End date: day must be >=1 and <=31!");
    else
      Refuse("Anfangsdatum: Tag muß Ganzzahl >=1 und <=31 sein!", "Starting date: day must be >=1 and <=31!");
    return false;
  }
  if (m < 1 || m > 12) {
    if (end)
      Refuse("Enddatum: Monat muß Ganzzahl >=1 und <=12 sein!", "End date: month must be >=1 and <=12!");
    else
      Refuse("Anfangsdatum: Monat muß Ganzzahl >=1 und <=12 sein!", "Starting date: month must be >=1 and <=12!");
    return false;
  }
  if (y < -4711 || y > 20000) {
    if (end)
      Refuse("Enddatum: Jahr muß Ganzzahl >=-4711 und <=20000 sein!", "End date: year must be >=-4711 and <=20000!");
    else
      Refuse("Anfangsdatum: Jahr muß Ganzzahl >=-4711 und <=20000 sein!",
             "Starting date: year must be >=-4711 and <=20000!");
    return false;
  }
  if (!DateExists(d, m, y)) {
    ShowImpossibleDate(d, m, y);
    ErrorByte = 1;
    return false;
  }
  r.Day = d;
  r.Month = m;
  r.Year = y;
  return true;
}

bool Tzeitraumform::CheckTime(TEditUhrzeithms* edit, TObserverRecord& r, bool end) {
  if (!edit->ReadText()) {
    ErrorByte = 1;
    return false;
  }
  r.LocalHours = edit->Uhrzeit() + (end ? kEndTimeExtraHours : 0.0);
  return true;
}

bool Tzeitraumform::CheckStepHours() {
  if (!step_hours_->ReadText()) {
    ErrorByte = 1;
    return false;
  }
  Step.Hours = step_hours_->Uhrzeit();
  return true;
}

bool Tzeitraumform::CheckStepDays() {
  const QString text = step_days_->text();
  if (text.isEmpty() || text == "-" || text.toInt() < 0 || !IsIntegerText(text.toStdString())) {
    Refuse("Intervall (Tage): muß Ganzzahl >=0 sein!", "Interval (days): must be an integer >=0!");
    return false;
  }
  Step.Days = text.toInt();
  return true;
}

bool Tzeitraumform::CheckAutoDays() {
  const QString text = auto_days_->text();
  if (text.isEmpty() || text == "-" || text.toInt() < 0 || !IsIntegerText(text.toStdString())) {
    Refuse(
        "Tage für Automodus: Wert muß Ganzzahl >01 sein! Bitte auch dann einen Wert eingeben, wenn das "
        "Kästchen für Automodus deaktiviert ist!",
        "Enter a value > 0");
    return false;
  }
  End.PeriodDays = text.toInt();
  return true;
}

bool Tzeitraumform::CheckAutoHours() {
  if (!auto_hours_->ReadText()) {
    ErrorByte = 1;
    return false;
  }
  End.PeriodHours = HoursToPackedHours(auto_hours_->Uhrzeit());
  return true;
}

bool Tzeitraumform::CheckZone() {
  bool ok = false;
  const int zone = zone_->text().toInt(&ok);
  if (!ok || zone < -12 || zone > 12) {
    Refuse("Zeitzone: Bitte Ganzzahl zwischen +/-12 eingeben!", "Time zone: please enter an interger between +/-12!");
    return false;
  }
  bool minutesOk = false;
  const int minutes = extra_minutes_->text().toInt(&minutesOk);
  Start.Zone = zone;
  End.Zone = zone;
  if (minutesOk) {
    Start.ZoneMinutes = minutes;
    End.ZoneMinutes = minutes;
  }
  return true;
}

bool Tzeitraumform::CheckEclipseInterval() {
  bool ok = false;
  const int v = eclipse_interval_->text().toInt(&ok);
  if (!ok || v <= 0 || v > 30) {
    Refuse("Intervall für Sonnenfinsternisse muß>0 min und <=30 min sein!",
           "Interval for solar eclipses must be >0 min and <=30!");
    return false;
  }
  EclipseInterval = v;
  return true;
}

bool Tzeitraumform::CheckEclipseSpan() {
  bool ok = false;
  const int v = eclipse_span_->text().toInt(&ok);
  if (!ok || v <= 0 || v > 12) {
    Refuse("Suchzeitraum für Sonnenfinsternisse muß>0 h und <=12 h sein!",
           "Search interval for solar eclipses must be>0 h and <=12 h!");
    return false;
  }
  EclipseSpan = v;
  return true;
}

bool Tzeitraumform::CheckStepWhole() {
  if (Step.Days == 0 && !(Step.Hours > 0)) {
    Refuse("Es darf nicht zugleich das Intervall in Tagen und in Stundenauf 0 gesetzt werden!",
           "Interval in days and hours may not be both set to 0 seconds.");
    return false;
  }
  if (AutoEndSwitch(End) != 0 && End.PeriodDays == 0 && !(PackedHoursToHours(End.PeriodHours) > 0)) {
    Refuse("Für Tage und/oder Stunden des automatischen Enddatums einen gültigen Wert eingeben!",
           "Invalid value for automatic enddate.");
    return false;
  }
  return true;
}

bool Tzeitraumform::CheckPeriod() {
  End.Zone = Start.Zone;
  End.ZoneMinutes = Start.ZoneMinutes;
  End.DaylightHours = Start.DaylightHours;
  LocalTimeToUT(Start);
  if (AutoEndSwitch(End) != 0) {
    End.Mjd = Start.Mjd + End.PeriodDays + PackedHoursToHours(End.PeriodHours) / 24.0;
    return true;
  }
  LocalTimeToUT(End);
  if (!(End.Mjd > Start.Mjd)) {
    Refuse("Das Enddatum muß nach dem Startdatum liegen!", "Enddate of ephemeris must be later as starting date!");
    return false;
  }
  return true;
}

bool Tzeitraumform::ValidateAll() {
  checking_ = true;
  ErrorByte = 0;
  const bool autoEnd = auto_end_->isChecked();
  SetAutoEndSwitch(Start, autoEnd ? 1 : 0);
  SetAutoEndSwitch(End, autoEnd ? 1 : 0);
  const bool ok = (autoEnd || CheckDate(end_date_, End, true)) && (autoEnd || CheckTime(end_time_, End, true)) &&
                  CheckStepHours() && CheckStepDays() && CheckAutoDays() && CheckAutoHours() &&
                  CheckDate(start_date_, Start, false) && CheckTime(start_time_, Start, false) && CheckZone() &&
                  CheckEclipseInterval() && CheckEclipseSpan() && CheckStepWhole() && CheckPeriod();
  checking_ = false;
  if (ok) SetPeriodAccepted(End, 1);
  return ok;
}

void Tzeitraumform::accept() {
  PhaseMinutes = phase_minutes_->value();
  PhaseSeconds = phase_seconds_->value();
  if (!ValidateAll()) return;  // the dialog stays open with the refused field
  QDialog::accept();
}

void Tzeitraumform::reject() {
  ErrorByte = 0;
  SetPeriodAccepted(End, 0);
  QDialog::reject();
}

// --- the opener ----------------------------------------------------------------------------

Tzeitraumform& PeriodDialog() {
  static QPointer<Tzeitraumform> dialog;
  return KeptDialog(dialog);
}

int ShowPeriodDialog(std::int32_t& phaseMinutes, std::int32_t& phaseSeconds, TObserverRecord& start,
                     TObserverRecord& end, std::int32_t& eclipseInterval, std::int32_t& eclipseSpan, TTableStep& step) {
  Tzeitraumform& form = PeriodDialog();
  form.Start = start;
  form.End = end;
  form.Step = step;
  form.EclipseInterval = eclipseInterval;
  form.EclipseSpan = eclipseSpan;
  form.PhaseMinutes = phaseMinutes;
  form.PhaseSeconds = phaseSeconds;
  form.ErrorByte = 0;
  form.Activate();
  const int result = form.exec();
  if (result == QDialog::Accepted) {
    start = form.Start;
    end = form.End;
    step = form.Step;
    eclipseInterval = form.EclipseInterval;
    eclipseSpan = form.EclipseSpan;
    phaseMinutes = form.PhaseMinutes;
    phaseSeconds = form.PhaseSeconds;
    if (phaseMinutes == 0 && phaseSeconds == 0) phaseMinutes = 1;
  }
  return result;
}

}  // namespace kvx
