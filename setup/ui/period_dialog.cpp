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
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "core/input_checks.h"
#include "core/pointed_date.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "setup/edit_rules.h"
#include "setup/ui/dialog_owner.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

// The extra minutes of the zone: -720..720 as in the date and place dialog.
constexpr const char* kMinutesRefusal[2] = {"Minuten der Zeitzone: Bitte Ganzzahl zwischen +/-720 eingeben!",
                                            "Minutes of the time zone: please enter an integer between +/-720!"};

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

// `widget`, its caption kept for `dialog`.
template <typename W>
W* Captioned(const QObject* dialog, W* widget, const char* german, const char* english) {
  CaptionsOf(dialog).push_back({widget, german, english});
  return widget;
}

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

// The date boxes' form, dd.mm.yyyy on every desktop.
QString DateText(std::int32_t day, std::int32_t month, std::int32_t year) {
  return QString::fromStdString(PointedDayMonthYear(day, month, year));
}

QString DateText(const TObserverRecord& r) { return DateText(r.Day, r.Month, r.Year); }

// The end time carries a tiny extra so that a row at the end itself is kept.
constexpr double kEndTimeExtraHours = 5e-08;

}  // namespace

Tzeitraumform::Tzeitraumform(QWidget* parent) : QDialog(parent) {
  setObjectName("Zeitraumform");
  SetHelpSection(this, "period");
  CaptionsOf(this).clear();  // a dialog made again at the address of an earlier one
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildStartGroup());
  layout->addWidget(BuildEndGroup());
  layout->addWidget(BuildStepGroup());
  layout->addWidget(BuildEclipseGroup());
  const TOkCancelRow buttons = MakeOkCancelRow(this, "OKButton", "CancelButton");
  CaptionsOf(this).push_back({buttons.Cancel, "&Abbruch", "&Cancel"});
  help_ = NamedButton(this, QStringLiteral("&Hilfe"), "HelpButton");
  buttons.Row->addWidget(help_);
  ConnectHelpButton(this, help_);
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

void Tzeitraumform::BuildDaysHours(QWidget* group, const TDaysHoursTexts& texts, TIntegerEdit*& days,
                                   TEditUhrzeithms*& hours, QLabel* (&labels)[2], bool (Tzeitraumform::*check)()) {
  days = new TIntegerEdit(group);
  days->setObjectName(texts.DaysName);
  days->SetRefusal(texts.DaysRefusal[0], texts.DaysRefusal[1]);
  hours = new TEditUhrzeithms(group);
  hours->setObjectName(texts.HoursName);
  hours->SetRefusal(texts.HoursRefusal[0], texts.HoursRefusal[1]);
  labels[0] = Captioned(this, new QLabel(group), texts.DaysCaption[0], texts.DaysCaption[1]);
  labels[1] = Captioned(this, new QLabel(group), texts.HoursCaption[0], texts.HoursCaption[1]);
  // No length at all: one hour.
  connect(days, &TIntegerEdit::Accepted, this, [this, days, hours, check] {
    if (!checking_ && days->text() == "0" && hours->Uhrzeit() <= 0) hours->SetUhrzeit(1.0);
    LeaveField(check);
  });
}

QWidget* Tzeitraumform::BuildStartGroup() {
  auto* group = Captioned(this, new QGroupBox(this), "Anfangsdatum (aktuell verwendetes Datum)",
                          "Starting date (actually used date)");
  auto* grid = new QGridLayout(group);
  start_date_ = BuildDateEdit(group, "Start", start_date_spins_);
  start_time_ = NewNamed<TEditUhrzeithms>("StartTime", group);
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
  zone_ = NewNamed<TIntegerEdit>("Zone", group);
  zone_->SetRefusal("Zeitzone: Bitte Ganzzahl zwischen +/-12 eingeben!",
                    "Time zone: please enter an interger between +/-12!");
  extra_minutes_ = NewNamed<TIntegerEdit>("ExtraMinutes", group);
  auto* zeroUt = NamedButton(group, "0h UT", "StartZeroUT");
  connect(zeroUt, &QPushButton::clicked, this, [this] {
    checking_ = true;
    Start.Zone = zone_->text().toInt();
    Start.ZoneMinutes = extra_minutes_->text().toInt();
    checking_ = false;
    ZeroHourUT(Start, start_time_);
    MirrorTimeToSpins();
  });
  auto* dateLabel = Captioned(this, new QLabel(group), "&Datum:", "&Date:");
  auto* timeLabel = Captioned(this, new QLabel(group), "&Uhrzeit:", "&Time:");
  auto* zoneLabel = Captioned(this, new QLabel(group), "Zeitzone:", "Time zone:");
  auto* minutesLabel = Captioned(this, new QLabel(group), "Minuten:", "Minutes:");
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
  // The greyed end of an automatic period follows the start as it is typed.
  for (QLineEdit* edit : {start_date_, static_cast<QLineEdit*>(start_time_), static_cast<QLineEdit*>(zone_),
                          static_cast<QLineEdit*>(extra_minutes_)}) {
    connect(edit, &QLineEdit::textChanged, this, [this] { ShowAutomaticEnd(); });
  }
  return group;
}

QWidget* Tzeitraumform::BuildEndGroup() {
  auto* group = Captioned(this, new QGroupBox(this), "&Enddatum:", "&Ending date");
  auto* grid = new QGridLayout(group);
  end_date_ = BuildDateEdit(group, "End", end_date_spins_);
  end_time_ = NewNamed<TEditUhrzeithms>("EndTime", group);
  end_time_->SetRefusal(
      "Uhrzeit (Enddatum): Wert muß >=0 und < 24 sein! Die Eingabe wird im Format (h)h:mm:ss erwartet. Wenn für "
      "Sekunden kein Wert eingegeben wird, ist auch (h)h:m möglich.",
      "Time must be >=0 and < 24 as (h)h:mm:ss or (h)h:m.");
  start_time_->SetRefusal(
      "Uhrzeit (Anfagsdatum): Wert muß >=0 und < 24 sein! Die Eingabe wird im Format (h)h:mm:ss erwartet. Wenn "
      "für Sekunden kein Wert eingegeben wird, ist auch (h)h:m möglich.",
      "Time (starting date) must be >=0 and < 24 as (h)h:mm:ss or (h)h:m");
  auto* zeroUt = NamedButton(group, "0h UT", "EndZeroUT");
  connect(zeroUt, &QPushButton::clicked, this, [this] {
    End.Zone = Start.Zone;
    End.ZoneMinutes = Start.ZoneMinutes;
    ZeroHourUT(End, end_time_);
  });
  auto_end_ = Captioned(this, new QCheckBox(group), "Enddatum automatisch nach",
                        "&Set date of the last ephemeris automatically to");
  auto_end_->setObjectName("AutoEnd");
  static constexpr TDaysHoursTexts kAutoTexts = {
      "AutoDays",
      {"Tage für Automodus: Wert muß Ganzzahl >01 sein! Bitte auch dann einen Wert eingeben, wenn das Kästchen "
       "für Automodus deaktiviert ist!",
       "Enter a value > 0"},
      {"Tagen und", "days and"},
      "AutoHours",
      {"Stundenwert für Automodus muß >=0 und < 24 sein! Die Eingabe wird im Format (h)h:mm:ss erwartet.",
       "Please enter a value >=0 and < 24 as (h)h:mm:ss."},
      {"Stunden ", "hours after starting."},
  };
  QLabel* labels[2];
  BuildDaysHours(group, kAutoTexts, auto_days_, auto_hours_, labels, &Tzeitraumform::CheckAutoDays);
  for (QLineEdit* edit : {static_cast<QLineEdit*>(auto_days_), static_cast<QLineEdit*>(auto_hours_)}) {
    connect(edit, &QLineEdit::textChanged, this, [this] { ShowAutomaticEnd(); });
  }
  grid->addWidget(end_date_, 0, 0);
  for (int i = 0; i < 3; ++i) grid->addWidget(end_date_spins_[i], 0, 1 + i);
  grid->addWidget(end_time_, 1, 0);
  grid->addWidget(zeroUt, 1, 1);
  grid->addWidget(auto_end_, 2, 0, 1, 4);
  grid->addWidget(auto_days_, 3, 0);
  grid->addWidget(labels[0], 3, 1);
  grid->addWidget(auto_hours_, 3, 2);
  grid->addWidget(labels[1], 3, 3);
  connect(auto_end_, &QCheckBox::toggled, this, [this](bool on) {
    if (checking_) return;
    SetAutoEndSwitch(Start, on ? 1 : 0);
    SetAutoEndSwitch(End, on ? 1 : 0);
    ApplyAutoEnd();
    LeaveField(&Tzeitraumform::CheckStepWhole);
  });
  return group;
}

QWidget* Tzeitraumform::BuildStepGroup() {
  auto* group = Captioned(this, new QGroupBox(this), "Schrittweite zwischen zwei Tabellenwerten",
                          "Interval between table values");
  auto* grid = new QGridLayout(group);
  static constexpr TDaysHoursTexts kStepTexts = {
      "StepDays",
      {"Intervall (Tage): muß Ganzzahl >=0 sein!", "Interval (days): must be an integer >=0!"},
      {"Tage und", "days and"},
      "StepHours",
      {"Intervall (Stunden): muß >=00:00:02 und <24:00:00 sein! Die Eingabe wird im Format (h)h:mm:ss erwartet. "
       "Wenn für Sekunden kein Wert eingegeben wird, ist auch (h)h:m möglich.",
       "Interval (hours): must be >=00:00:02 and <24:00:00 as (h)h:mm:ss or (h)h:m."},
      {"Stunden", "hours"},
  };
  QLabel* labels[2];
  BuildDaysHours(group, kStepTexts, step_days_, step_hours_, labels, &Tzeitraumform::CheckStepDays);
  grid->addWidget(step_days_, 0, 0);
  grid->addWidget(labels[0], 0, 1);
  grid->addWidget(step_hours_, 0, 2);
  grid->addWidget(labels[1], 0, 3);
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
  return group;
}

QWidget* Tzeitraumform::BuildEclipseGroup() {
  auto* group = Captioned(this, new QGroupBox(this), "Sonnenfinsternisse", "Solar eclipses");
  auto* grid = new QGridLayout(group);
  eclipse_interval_ = NewNamed<TIntegerEdit>("EclipseInterval", group);
  eclipse_interval_->SetRefusal("Intervall für Sonnenfinsternisse muß>0 min und <=30 min sein!",
                                "Interval for solar eclipses must be >0 min and <=30!");
  eclipse_span_ = NewNamed<TIntegerEdit>("EclipseSpan", group);
  eclipse_span_->SetRefusal("Suchzeitraum für Sonnenfinsternisse muß>0 h und <=12 h sein!",
                            "Search interval for solar eclipses must be>0 h and <=12 h!");
  phase_minutes_ = NewSpinBox(group, "PhaseMinutes", 0, 1440);
  phase_seconds_ = NewSpinBox(group, "PhaseSeconds", 0, 59);
  const Caption labels[5] = {
      {nullptr, "Tabelle mit Phasen und Sonnenhöhen alle", "Table with phases and Sun altitudes every"},
      {nullptr, "Minuten und", "minutes and"},
      {nullptr, "Sekunden.", "seconds."},
      {nullptr, "Suchzeitraum:", "Search"},
      {nullptr, "Stunden um den Neumond herum", "hours around New Moon"},
  };
  QLabel* made[5];
  for (int i = 0; i < 5; ++i) {
    made[i] = Captioned(this, new QLabel(group), labels[i].german, labels[i].english);
  }
  auto* intervalLabel = Captioned(this, new QLabel(group), "Intervall (Minuten):", "Interval (minutes):");
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
  ApplyDialogButtonLanguage(nullptr, help_);
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
  end_date_shown_ = DateText(End);
  end_date_->setText(end_date_shown_);
  MirrorDateToSpins(end_date_, end_date_spins_);
  end_time_->SetUhrzeit(End.LocalHours);
  auto_days_->SetAcceptedText(QString::number(End.PeriodDays));
  auto_hours_->SetUhrzeit(AutomaticPeriodHours(End));
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
  ShowAutomaticEnd();
}

void Tzeitraumform::ShowAutomaticEnd() {
  if (checking_ || !auto_end_->isChecked()) return;
  // A time left as shown is the record's own; a typed one is read as the
  // edit will read it when it is left.
  const auto timeOf = [](const TEditUhrzeithms* edit, double& hours) {
    if (!edit->Edited()) {
      hours = edit->Uhrzeit();
      return true;
    }
    return TimeEditTextToHours(edit->text().toStdString(), true, hours);
  };
  TObserverRecord start = Start;
  double lengthHours = 0;
  bool zoneRead = false, minutesRead = false, daysRead = false;
  const int zone = zone_->text().toInt(&zoneRead);
  const int minutes = extra_minutes_->text().toInt(&minutesRead);
  const int days = auto_days_->text().toInt(&daysRead);
  // An entry still being typed leaves the end shown as it was.
  if (!ParseDottedDate(start_date_->text().toStdString(), start.Day, start.Month, start.Year) || start.Year < -4711 ||
      start.Year > 20000 || !DateExists(start.Day, start.Month, start.Year) || !timeOf(start_time_, start.LocalHours) ||
      !timeOf(auto_hours_, lengthHours) || !zoneRead || zone < -12 || zone > 12 || !daysRead || days < 0 ||
      (minutesRead && std::abs(minutes) > kMostZoneMinutes)) {
    return;
  }
  start.Zone = zone;
  if (minutesRead) start.ZoneMinutes = minutes;
  LocalTimeToUT(start);
  TObserverRecord end = start;
  end.Mjd = start.Mjd + days + lengthHours / 24.0;
  UTToLocalTime(end);
  checking_ = true;
  end_date_shown_ = DateText(end);
  end_date_->setText(end_date_shown_);  // its day, month and year boxes follow
  end_time_->SetUhrzeit(end.LocalHours);
  checking_ = false;
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
  edit->setText(DateText(spins[0]->value(), spins[1]->value(), spins[2]->value()));
}

void Tzeitraumform::MirrorTimeToSpins() {
  const bool was = checking_;
  checking_ = true;
  // The seconds the text shows (a time a hair below the full hour shows
  // the full hour in both).
  const long total = std::max(0L, TimeOfDaySeconds(start_time_->Uhrzeit()));
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

bool Tzeitraumform::ReadTime(TEditUhrzeithms* edit) {
  if (edit->ReadText()) return true;
  ErrorByte = 1;
  return false;
}

bool Tzeitraumform::ReadCount(const QLineEdit* edit, const char* german, const char* english, std::int32_t& value) {
  std::int32_t read = 0;
  if (!ReadWholeNumberText(edit->text().toStdString(), read) || read < 0) {
    Refuse(german, english);
    return false;
  }
  value = read;
  return true;
}

bool Tzeitraumform::ReadWholeNumber(const QLineEdit* edit, int lowest, int highest, const char* german,
                                    const char* english, std::int32_t& value) {
  bool ok = false;
  const int v = edit->text().toInt(&ok);
  if (!ok || v < lowest || v > highest) {
    Refuse(german, english);
    return false;
  }
  value = v;
  return true;
}

bool Tzeitraumform::CheckDate(QLineEdit* edit, TObserverRecord& r, bool end) {
  // Each refusal worded for the start date [0] and for the end date [1].
  struct Refusal {
    const char* german[2];
    const char* english[2];
  };
  static constexpr Refusal kFormat = {{"Anfangsdatum: Datumformat falsch!", "Enddatum: Datumformat falsch!"},
                                      {"Starting date has an invalid format", "Enddate: invalid format!"}};
  static constexpr Refusal kDay = {
      {"Anfangsdatum: Tag muß Ganzzahl >=1 und <=31 sein!", "Enddatum: Tag muß Ganzzahl >=1 und <=31 sein!"},
      {"Starting date: day must be >=1 and <=31!", "End date: day must be >=1 and <=31!"}};
  static constexpr Refusal kMonth = {
      {"Anfangsdatum: Monat muß Ganzzahl >=1 und <=12 sein!", "Enddatum: Monat muß Ganzzahl >=1 und <=12 sein!"},
      {"Starting date: month must be >=1 and <=12!", "End date: month must be >=1 and <=12!"}};
  static constexpr Refusal kYear = {
      {"Anfangsdatum: Jahr muß Ganzzahl >=-4711 und <=20000 sein!",
       "Enddatum: Jahr muß Ganzzahl >=-4711 und <=20000 sein!"},
      {"Starting date: year must be >=-4711 and <=20000!", "End date: year must be >=-4711 and <=20000!"}};
  const auto refuse = [this, end](const Refusal& refusal) {
    Refuse(refusal.german[end ? 1 : 0], refusal.english[end ? 1 : 0]);
    return false;
  };
  std::int32_t d = 0, m = 0, y = 0;
  if (!ParseDottedDate(edit->text().toStdString(), d, m, y)) return refuse(kFormat);
  if (d < 1 || d > 31) return refuse(kDay);
  if (m < 1 || m > 12) return refuse(kMonth);
  if (y < -4711 || y > 20000) return refuse(kYear);
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
  if (!ReadTime(edit)) return false;
  // A time left as shown is the record's own, to the last digit; an end
  // entered anew (its date or time) carries the extra.
  const bool endEntered = end && (edit->Typed() || end_date_->text() != end_date_shown_);
  r.LocalHours = edit->Uhrzeit() + (endEntered ? kEndTimeExtraHours : 0.0);
  return true;
}

bool Tzeitraumform::CheckStepHours() {
  if (!ReadTime(step_hours_)) return false;
  Step.Hours = step_hours_->Uhrzeit();
  return true;
}

bool Tzeitraumform::CheckStepDays() {
  return ReadCount(step_days_, "Intervall (Tage): muß Ganzzahl >=0 sein!", "Interval (days): must be an integer >=0!",
                   Step.Days);
}

bool Tzeitraumform::CheckAutoDays() {
  return ReadCount(auto_days_,
                   "Tage für Automodus: Wert muß Ganzzahl >01 sein! Bitte auch dann einen Wert eingeben, wenn das "
                   "Kästchen für Automodus deaktiviert ist!",
                   "Enter a value > 0", End.PeriodDays);
}

bool Tzeitraumform::CheckAutoHours() {
  if (!ReadTime(auto_hours_)) return false;
  // Hours left as shown keep the length's fraction of a second.
  const double hours = auto_hours_->Uhrzeit();
  if (hours != AutomaticPeriodHours(End)) End.PeriodHours = HoursToPackedHours(hours);
  return true;
}

bool Tzeitraumform::CheckZone() {
  std::int32_t zone = 0;
  if (!ReadWholeNumber(zone_, -12, 12, "Zeitzone: Bitte Ganzzahl zwischen +/-12 eingeben!",
                       "Time zone: please enter an interger between +/-12!", zone))
    return false;
  std::int32_t minutes = 0;
  if (!ReadWholeNumber(extra_minutes_, -kMostZoneMinutes, kMostZoneMinutes, kMinutesRefusal[0], kMinutesRefusal[1],
                       minutes))
    return false;
  Start.Zone = zone;
  End.Zone = zone;
  Start.ZoneMinutes = minutes;
  End.ZoneMinutes = minutes;
  return true;
}

bool Tzeitraumform::CheckEclipseInterval() {
  return ReadWholeNumber(eclipse_interval_, 1, 30, "Intervall für Sonnenfinsternisse muß>0 min und <=30 min sein!",
                         "Interval for solar eclipses must be >0 min and <=30!", EclipseInterval);
}

bool Tzeitraumform::CheckEclipseSpan() {
  return ReadWholeNumber(eclipse_span_, 1, 12, "Suchzeitraum für Sonnenfinsternisse muß>0 h und <=12 h sein!",
                         "Search interval for solar eclipses must be>0 h and <=12 h!", EclipseSpan);
}

bool Tzeitraumform::CheckStepWhole() {
  if (Step.Days == 0 && !(Step.Hours > 0)) {
    Refuse("Es darf nicht zugleich das Intervall in Tagen und in Stundenauf 0 gesetzt werden!",
           "Interval in days and hours may not be both set to 0 seconds.");
    return false;
  }
  if (!AutomaticLengthAccepted(End.PeriodDays, End.PeriodHours, AutoEndSwitch(End) != 0)) {
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
    End.Mjd = AutomaticEndMjd(Start, End);
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
