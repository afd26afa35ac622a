#include "events/ui/event_search_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <cmath>

#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "platform/qt/dialog_buttons.h"
#include "theories/planet_positions.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

struct Caption {
  const char* German;
  const char* English;
};

// The object radio buttons by object code.
constexpr Caption kObjectCaptions[12] = {
    {"&Sonne", "&Sun"},     {"Me&rkur", "Me&rcury"}, {"&Venus", "&Venus"},     {"&Mars", "&Mars"},
    {"&Jupiter", "&Jupiter"}, {"Sa&turn", "Sa&turn"}, {"&Uranus", "&Uranus"},   {"&Neptun", "&Neptune"},
    {"P&luto", "P&luto"},   {"Mon&d", "Moon"},        {"&Planetoid", "Asteroid"}, {"&Komet", "Comet"},
};

// The event radio buttons by event kind.
constexpr Caption kKindCaptions[24] = {
    {"P&erihel", "P&erihelion"},
    {"Aphel", "Aphelion"},
    {"Erdnähe", "Perigaeum"},
    {"Erd&ferne", "Apogaeum"},
    {"Ma&ximalhelligkeit", "Maximum of magnitude"},
    {"M&inimalhelligkeit", "Minimum of magnitude"},
    {"Opposition", "Opposition"},
    {"Konjunktion", "Conjunction"},
    {"Gr. &östl. Elongation", "Gr. &east. elongation"},
    {"Gr. w&estl. Elongation", "Gr. w&est. elongation"},
    {"Stationär, r&ückläufig", "Retrograde motion"},
    {"Station&är, rechtläufig", "Prograde motion"},
    {"Untere Konjunktion", "Inferior conjunction"},
    {"Obere Konjunktion", "Superior conjunction"},
    {"Größte/kleinste Breite", "Extremum of hel. latitude"},
    {"Knotendurchgang", "Passage through Node"},
    {"Phasenwinkel maximal", "Phase angle maximal"},
    {"Phasenwinkel minimal", "Phase angle minimal"},
    {"Extremum Breite Erde", "Extremum lat. earth"},
    {"Nulldurchgang Breite Erde", "Lat. earth zero"},
    {"Extremum Breite Sonne", "Extremum latitude Sun"},
    {"Nulldurchgang Breite Sonne", "Latitude Sun zero"},
    {"Zentralmeridian 0", "Central meridian 0"},
    {"Libration maximal", "Maximal libration"},
};

constexpr int kSun = 0, kNeptune = 7, kPluto = 8, kAsteroid = 10, kComet = 11;
constexpr const char* kNoAsteroid = "Kein Planetoid";
constexpr const char* kNoComet = "Kein Komet";

// The step as typed: whole days without decimals, else up to four.
std::string StepText(double step) {
  std::string text = FormatFixed(step, 1, 4);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return DotToDecimalSepTrim(text);
}

std::string LocalDateText(TObserverRecord r) {
  r.AutoDeltaT = 0;
  UTToLocalTime(r);
  std::string text;
  ObserverDateText(r, text);
  return text;
}

std::string Call(const std::function<std::string()>& f, const char* fallback) { return f ? f() : fallback; }

}  // namespace

TExtremumsuchen::TExtremumsuchen(const TSearchContext& context, TEventList& events,
                                 const TEventSearchSettings& settings, const TObserverRecord& start,
                                 TEventSearchHooks hooks, QWidget* parent)
    : QDialog(parent), settings_(settings), context_(context), hooks_(std::move(hooks)), run_(context_, events) {
  setObjectName("Extremumsuchen");
  run_.Start = start;
  run_.Answerer = hooks_.Answerer;
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  ObjectBox = new QGroupBox(this);
  auto* objects = new QGridLayout(ObjectBox);
  BuildObjectGroup(objects);
  EventBox = new QGroupBox(this);
  auto* kinds = new QGridLayout(EventBox);
  BuildEventGroup(kinds);
  top->addWidget(ObjectBox);
  top->addWidget(EventBox, 1);
  layout->addLayout(top);
  auto* middle = new QHBoxLayout;
  middle->addWidget(BuildSearchBox(), 1);
  middle->addWidget(BuildListBox(), 1);
  layout->addLayout(middle);

  auto* buttons = new QHBoxLayout;
  auto add = [this, buttons](QPushButton*& button, const char* name) {
    button = new QPushButton(this);
    button->setObjectName(name);
    buttons->addWidget(button);
  };
  add(SearchButton, "SearchButton");
  add(AbortButton, "AbortButton");
  add(CloseButton, "CloseButton");
  add(HandOverButton, "HandOverButton");
  add(CancelButton, "CancelButton");
  add(HelpButton, "HelpButton");
  AbortButton->hide();
  SearchButton->setDefault(true);
  layout->addLayout(buttons);
  connect(SearchButton, &QPushButton::clicked, this, [this] { Search(); });
  connect(AbortButton, &QPushButton::clicked, this, [] { AbortRequested = 1; });
  connect(CloseButton, &QPushButton::clicked, this, [this] { done(kEventDialogClose); });
  connect(HandOverButton, &QPushButton::clicked, this, [this] {
    if (run_.CanHandOverDate()) done(kEventDialogUseDate);
  });
  connect(CancelButton, &QPushButton::clicked, this, [this] { done(kEventDialogCancel); });
  connect(HelpButton, &QPushButton::clicked, this, [this] {
    if (hooks_.Help) hooks_.Help();
  });

  ChooseObject(settings_.Options.ObjectCode);
  if (QAbstractButton* kind = KindGroup->button(settings_.Options.EventKind); kind != nullptr && kind->isEnabled())
    kind->setChecked(true);
  ApplyLanguage();
  RefreshEnabling();
}

void TExtremumsuchen::BuildObjectGroup(QGridLayout* layout) {
  ObjectBox->setObjectName("ObjectBox");
  ObjectGroup = new QButtonGroup(this);
  for (int i = 0; i < 12; ++i) {
    auto* radio = new QRadioButton(ObjectBox);
    radio->setObjectName(QString("ObjectRadio%1").arg(i));
    ObjectGroup->addButton(radio, i);
    ObjectRadios[static_cast<std::size_t>(i)] = radio;
    layout->addWidget(radio, i % 6, i / 6);
  }
  connect(ObjectGroup, &QButtonGroup::idClicked, this, [this](int id) { ChooseObject(id); });
}

void TExtremumsuchen::BuildEventGroup(QGridLayout* layout) {
  EventBox->setObjectName("EventBox");
  KindGroup = new QButtonGroup(this);
  for (int k = 0; k < 24; ++k) {
    auto* radio = new QRadioButton(EventBox);
    radio->setObjectName(QString("KindRadio%1").arg(k));
    KindGroup->addButton(radio, k);
    KindRadios[static_cast<std::size_t>(k)] = radio;
    layout->addWidget(radio, k % 8, k / 8);
  }
}

QWidget* TExtremumsuchen::BuildSearchBox() {
  SearchBox = new QGroupBox(this);
  SearchBox->setObjectName("SearchBox");
  auto* grid = new QGridLayout(SearchBox);
  StepLabel = new QLabel(SearchBox);
  StepEdit = new QLineEdit(QString::fromStdString(StepText(settings_.Options.Step)), SearchBox);
  StepEdit->setObjectName("StepEdit");
  DaysLabel = new QLabel(SearchBox);
  RepetitionsLabel = new QLabel(SearchBox);
  RepetitionsEdit = new QLineEdit(QString::number(settings_.Options.Repetitions), SearchBox);
  RepetitionsEdit->setObjectName("RepetitionsEdit");
  DefaultsButton = new QPushButton(SearchBox);
  DefaultsButton->setObjectName("DefaultsButton");
  grid->addWidget(StepLabel, 0, 0);
  grid->addWidget(StepEdit, 0, 1);
  grid->addWidget(DaysLabel, 0, 2);
  grid->addWidget(RepetitionsLabel, 1, 0);
  grid->addWidget(RepetitionsEdit, 1, 1);
  grid->addWidget(DefaultsButton, 1, 2);

  UsePeriodCheck = new QCheckBox(SearchBox);
  UsePeriodCheck->setObjectName("UsePeriodCheck");
  UsePeriodCheck->setChecked(settings_.UsePeriod);
  ChangePeriodButton = new QPushButton(SearchBox);
  ChangePeriodButton->setObjectName("ChangePeriodButton");
  PeriodLabel = new QLabel(SearchBox);
  PeriodLabel->setObjectName("PeriodLabel");
  grid->addWidget(UsePeriodCheck, 2, 0, 1, 2);
  grid->addWidget(ChangePeriodButton, 2, 2);
  grid->addWidget(PeriodLabel, 3, 0, 1, 3);
  TableCheck = new QCheckBox(SearchBox);
  TableCheck->setObjectName("TableCheck");
  TableCheck->setChecked(settings_.ResultsIntoTable);
  grid->addWidget(TableCheck, 4, 0, 1, 3);
  KeplerCheck = new QCheckBox(SearchBox);
  KeplerCheck->setObjectName("KeplerCheck");
  KeplerCheck->setChecked(!settings_.AsteroidDatabase);
  grid->addWidget(KeplerCheck, 5, 0, 1, 3);
  ChangeAsteroidButton = new QPushButton(SearchBox);
  ChangeAsteroidButton->setObjectName("ChangeAsteroidButton");
  AsteroidLabel = new QLabel(SearchBox);
  AsteroidLabel->setObjectName("AsteroidLabel");
  grid->addWidget(ChangeAsteroidButton, 6, 0);
  grid->addWidget(AsteroidLabel, 6, 1, 1, 2);

  connect(DefaultsButton, &QPushButton::clicked, this, [this] {
    SetSearchDefaults(settings_.Options);
    StepEdit->setText(QString::fromStdString(StepText(settings_.Options.Step)));
    RepetitionsEdit->setText(QString::number(settings_.Options.Repetitions));
  });
  // The checks on leaving a field that was edited.
  connect(StepEdit, &QLineEdit::editingFinished, this, [this] {
    if (!StepEdit->isModified() || running_) return;
    StepEdit->setModified(false);
    LeaveStepField(StepEdit->text().toStdString(), settings_.Options.Step);
  });
  connect(RepetitionsEdit, &QLineEdit::editingFinished, this, [this] {
    if (!RepetitionsEdit->isModified() || running_) return;
    RepetitionsEdit->setModified(false);
    LeaveRepetitionsField(RepetitionsEdit->text().toStdString(), settings_.Options.Repetitions);
  });
  connect(UsePeriodCheck, &QCheckBox::toggled, this, [this](bool on) {
    settings_.UsePeriod = on;
    RefreshEnabling();
  });
  connect(ChangePeriodButton, &QPushButton::clicked, this, [this] {
    if (hooks_.ChangePeriod) hooks_.ChangePeriod();
    RefreshPeriodLabel();
  });
  connect(TableCheck, &QCheckBox::toggled, this, [this](bool on) { settings_.ResultsIntoTable = on; });
  connect(KeplerCheck, &QCheckBox::toggled, this, [this](bool on) {
    settings_.AsteroidDatabase = !on;
    RefreshEnabling();
  });
  connect(ChangeAsteroidButton, &QPushButton::clicked, this, [this] {
    if (hooks_.ChangeAsteroid) hooks_.ChangeAsteroid(settings_.AsteroidDatabase);
    RefreshEnabling();
  });
  return SearchBox;
}

QWidget* TExtremumsuchen::BuildListBox() {
  auto* box = new QWidget(this);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  ListBox = new QListWidget(box);
  ListBox->setObjectName("ListBox");
  column->addWidget(ListBox, 1);
  auto* row = new QHBoxLayout;
  ClearButton = new QPushButton(box);
  ClearButton->setObjectName("ClearButton");
  RemoveButton = new QPushButton(box);
  RemoveButton->setObjectName("RemoveButton");
  row->addWidget(ClearButton);
  row->addWidget(RemoveButton);
  column->addLayout(row);
  connect(ClearButton, &QPushButton::clicked, this, [this] {
    run_.ClearList();
    FillList();
  });
  auto remove = [this] {
    if (run_.RemoveLine(ListBox->currentRow())) FillList();
  };
  connect(RemoveButton, &QPushButton::clicked, this, remove);
  connect(ListBox, &QListWidget::itemDoubleClicked, this, remove);
  return box;
}

void TExtremumsuchen::ApplyLanguage() {
  setWindowTitle(Tr("Ereignis suchen", "Find event"));
  ObjectBox->setTitle(Tr("Objekt wählen", "Select Object"));
  EventBox->setTitle(Tr("Ereignis wählen", "Select Event"));
  SearchBox->setTitle(Tr("Suchzeitraum und -intervall", "Period and intervall for search"));
  for (int i = 0; i < 12; ++i) {
    ObjectRadios[static_cast<std::size_t>(i)]->setText(Tr(kObjectCaptions[i].German, kObjectCaptions[i].English));
  }
  for (int k = 0; k < 24; ++k) {
    KindRadios[static_cast<std::size_t>(k)]->setText(Tr(kKindCaptions[k].German, kKindCaptions[k].English));
  }
  StepLabel->setText(Tr("Abstand für Interpolation:", "Distance between iterations:"));
  DaysLabel->setText(Tr("Tage", "days"));
  RepetitionsLabel->setText(Tr("Wiederholungen:", "Iterations:"));
  DefaultsButton->setText(Tr("Vorgaben", "Defaults"));
  UsePeriodCheck->setText(Tr("Ephemeridenzeitraum verwenden", "Use ephemeris period"));
  ChangePeriodButton->setText(Tr("Zeitraum &ändern...", "Change period..."));
  TableCheck->setText(Tr("Ergebnisse in Tabelle", "Write results to sheet"));
  KeplerCheck->setText(Tr("Keplerelemente verwenden", "Use keplerian elements"));
  ChangeAsteroidButton->setText(Tr("Planetoid ändern", "Change asteroid"));
  ClearButton->setText(Tr("Löschen", "Clear"));
  RemoveButton->setText(Tr("Entfernen", "Remove"));
  SearchButton->setText(Tr("Suchen", "S&earch"));
  AbortButton->setText(Tr("&Abbruch", "&Abort"));
  CloseButton->setText(Tr("S&chließen", "Cl&ose"));
  HandOverButton->setText(Tr("Schließen und Datum weiterverwenden", "Close and use time of event"));
  ApplyDialogButtonLanguage(CancelButton, HelpButton);
}

void TExtremumsuchen::showEvent(QShowEvent* event) {
  ApplyLanguage();
  {
    const QSignalBlocker blocker(KeplerCheck);
    KeplerCheck->setChecked(!settings_.AsteroidDatabase);
  }
  RefreshEnabling();
  QDialog::showEvent(event);
}

void TExtremumsuchen::RefreshPeriodLabel() {
  if (!settings_.UsePeriod || !hooks_.PeriodStart || !hooks_.PeriodEnd) {
    PeriodLabel->clear();
    return;
  }
  PeriodLabel->setText(QString::fromStdString(LocalDateText(hooks_.PeriodStart()) + " - " +
                                              LocalDateText(hooks_.PeriodEnd())));
}

void TExtremumsuchen::RefreshAsteroidLabel() {
  const std::string name = settings_.AsteroidDatabase ? Call(hooks_.DatabaseAsteroidName, "")
                                                      : Call(hooks_.AsteroidName, kNoAsteroid);
  // The no-asteroid name is German in every record; English shows its own words.
  if (name.empty() || name == kNoAsteroid) {
    AsteroidLabel->setText(Tr(kNoAsteroid, "No asteroid"));
  } else {
    AsteroidLabel->setText(QString::fromStdString(name));
  }
}

void TExtremumsuchen::RefreshEnabling() {
  ChangePeriodButton->setEnabled(settings_.UsePeriod && !running_);
  RefreshPeriodLabel();
  RefreshAsteroidLabel();
  const std::string asteroid = settings_.AsteroidDatabase ? Call(hooks_.DatabaseAsteroidName, "")
                                                          : Call(hooks_.AsteroidName, kNoAsteroid);
  const bool asteroidChosen = settings_.AsteroidDatabase ? !asteroid.empty() : asteroid != kNoAsteroid;
  const bool cometLoaded = Call(hooks_.CometName, kNoComet) != kNoComet;
  const int object = CheckedObject();
  ObjectRadios[kAsteroid]->setEnabled(asteroidChosen);
  ObjectRadios[kComet]->setEnabled(cometLoaded);
  if ((object == kAsteroid && !asteroidChosen) || (object == kComet && !cometLoaded)) ChooseObject(3);
  CheckPluto();
  HandOverButton->setEnabled(run_.CanHandOverDate() && !settings_.UsePeriod && !running_);
}

void TExtremumsuchen::CheckPluto() {
  const double t = (run_.Start.Mjd - 51544.5) / 36525.0;
  const bool inRange = DateInTheoryRange(context_.Selection, t);
  ObjectRadios[kPluto]->setEnabled(inRange);
  if (!inRange && CheckedObject() == kPluto) ChooseObject(kNeptune);
}

void TExtremumsuchen::ChooseObject(int object) {
  if (object < kSun || object > kComet || !ObjectRadios[static_cast<std::size_t>(object)]->isEnabled()) object = 3;
  ObjectRadios[static_cast<std::size_t>(object)]->setChecked(true);
  // Exactly the object's kinds: the others unchecked and disabled.
  for (int k = 0; k < 24; ++k) {
    QRadioButton* radio = KindRadios[static_cast<std::size_t>(k)];
    const bool offered = EventKindOffered(object, k);
    if (!offered && radio->isChecked()) {
      KindGroup->setExclusive(false);
      radio->setChecked(false);
      KindGroup->setExclusive(true);
    }
    radio->setEnabled(offered);
  }
}

int TExtremumsuchen::CheckedObject() const { return ObjectGroup->checkedId(); }
int TExtremumsuchen::CheckedKind() const { return KindGroup->checkedId(); }

void TExtremumsuchen::StoreChoices() {
  const int object = CheckedObject();
  const int kind = CheckedKind();
  if (object >= 0) settings_.Options.ObjectCode = static_cast<std::uint8_t>(object);
  if (kind >= 0) settings_.Options.EventKind = static_cast<std::uint8_t>(kind);
}

TEventSearchSettings TExtremumsuchen::Settings() const { return settings_; }

void TExtremumsuchen::FillList() {
  ListBox->clear();
  for (const auto& line : run_.ListLines) ListBox->addItem(QString::fromStdString(line.first));
}

void TExtremumsuchen::SetRunning(bool running) {
  running_ = running;
  for (QWidget* w : {static_cast<QWidget*>(ObjectBox), static_cast<QWidget*>(EventBox),
                     static_cast<QWidget*>(SearchBox), static_cast<QWidget*>(ListBox),
                     static_cast<QWidget*>(ClearButton), static_cast<QWidget*>(RemoveButton),
                     static_cast<QWidget*>(SearchButton), static_cast<QWidget*>(CloseButton),
                     static_cast<QWidget*>(CancelButton), static_cast<QWidget*>(HelpButton)}) {
    w->setEnabled(!running);
  }
  AbortButton->setVisible(running);
  RefreshEnabling();
}

void TExtremumsuchen::Search() {
  if (running_) return;
  StoreChoices();
  run_.Options = settings_.Options;
  run_.UsePeriod = settings_.UsePeriod;
  run_.ResultsIntoTable = settings_.ResultsIntoTable;
  if (hooks_.PeriodStart) run_.Period = hooks_.PeriodStart();
  if (hooks_.PeriodEnd) run_.End = hooks_.PeriodEnd();
  if (hooks_.AsteroidElements) run_.Asteroid = hooks_.AsteroidElements();
  if (hooks_.CometElements) run_.Comet = hooks_.CometElements();
  run_.AsteroidName = settings_.AsteroidDatabase ? Call(hooks_.DatabaseAsteroidName, "")
                                                 : Call(hooks_.AsteroidName, kNoAsteroid);
  run_.CometName = Call(hooks_.CometName, kNoComet);
  context_.AsteroidDatabase = settings_.AsteroidDatabase ? 1 : 0;
  run_.SetContext(context_);
  AbortRequested = 0;
  SetRunning(true);
  int answer = 0;
  {
    ProgressSession session(CurrentProgress(), ByLanguage("Ereignis suchen", "Find event"), 0);
    answer = run_.Run(StepEdit->text().toStdString(), RepetitionsEdit->text().toStdString(), CheckedKind() >= 0);
  }
  AbortRequested = 0;
  SetRunning(false);
  // The run stored the values it read; the fields show them.
  settings_.Options.Step = run_.Options.Step;
  settings_.Options.Repetitions = run_.Options.Repetitions;
  FillList();
  if (answer == kEventAnswerUseDate) CheckPluto();
  RefreshEnabling();
}

void TExtremumsuchen::reject() { done(kEventDialogCancel); }

void TExtremumsuchen::done(int result) {
  if (running_) {
    AbortRequested = 1;  // closing while a run goes on cancels the run first
    return;
  }
  if (result != kEventDialogCancel) {
    StoreChoices();
    double step = settings_.Options.Step;
    std::int32_t repetitions = settings_.Options.Repetitions;
    double value = 0;
    if (ReadSearchNumber(StepEdit->text().toStdString(), value) && value >= kMinSearchStep &&
        value <= kMaxSearchStep) {
      step = value;
    }
    if (ReadSearchNumber(RepetitionsEdit->text().toStdString(), value) && value == std::floor(value) &&
        value >= kMinRepetitions && value <= kMaxRepetitions) {
      repetitions = static_cast<std::int32_t>(value);
    }
    settings_.Options.Step = step;
    settings_.Options.Repetitions = repetitions;
  }
  QDialog::done(result);
}

int ShowEventSearchDialog(TEventSearchSettings& settings, const TObserverRecord& start, const TSearchContext& context,
                          TEventList& events, const TEventSearchHooks& hooks, TObserverRecord& handOver,
                          QWidget* parent) {
  events.Clear();
  TExtremumsuchen dialog(context, events, settings, start, hooks, parent);
  int result = dialog.exec();
  if (result != kEventDialogClose && result != kEventDialogUseDate) result = kEventDialogCancel;
  if (result != kEventDialogCancel) settings = dialog.Settings();
  if (result == kEventDialogUseDate) handOver = dialog.HandOverRecord();
  AbortRequested = 0;
  return result;
}

}  // namespace kvx
