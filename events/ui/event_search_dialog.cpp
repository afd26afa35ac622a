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

#include "events/ui/event_dialog_parts.h"
#include "platform/globals.h"
#include "platform/help.h"
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
    {"&Sonne", "&Sun"},       {"Me&rkur", "Me&rcury"}, {"&Venus", "&Venus"},       {"&Mars", "&Mars"},
    {"&Jupiter", "&Jupiter"}, {"Sa&turn", "Sa&turn"},  {"&Uranus", "&Uranus"},     {"&Neptun", "&Neptune"},
    {"P&luto", "P&luto"},     {"Mon&d", "Moon"},       {"&Planetoid", "Asteroid"}, {"&Komet", "Comet"},
};

constexpr int kSun = 0, kNeptune = 7, kPluto = 8, kAsteroid = 10, kComet = 11;
constexpr const char* kNoAsteroid = "Kein Planetoid";
constexpr const char* kNoComet = "Kein Komet";

std::string Call(const std::function<std::string()>& f, const char* fallback) { return f ? f() : fallback; }

}  // namespace

TExtremumsuchen::TExtremumsuchen(const TSearchContext& context, TEventList& events,
                                 const TEventSearchSettings& settings, const TObserverRecord& start,
                                 TEventSearchHooks hooks, QWidget* parent)
    : TEventSearchDialogOf(context, events, settings, std::move(hooks), parent) {
  SetHelpContext(this, kHelpTopicEventSearch);
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
  layout->addLayout(BuildSearchAndListRow(BuildSearchBox()));

  layout->addLayout(BuildButtonRow(&HandOverButton));
  connect(HandOverButton, &QPushButton::clicked, this, [this] {
    if (run_.CanHandOverDate()) done(kEventDialogUseDate);
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
    ObjectRadios[static_cast<std::size_t>(i)] =
        AddRadio(ObjectBox, layout, ObjectGroup, "ObjectRadio%1", i, i % 6, i / 6);
  }
  connect(ObjectGroup, &QButtonGroup::idClicked, this, [this](int id) { ChooseObject(id); });
}

void TExtremumsuchen::BuildEventGroup(QGridLayout* layout) {
  EventBox->setObjectName("EventBox");
  KindGroup = new QButtonGroup(this);
  for (int k = 0; k < kEventKindCount; ++k) AddKindRadio(layout, k, k % 8, k / 8);
}

QWidget* TExtremumsuchen::BuildSearchBox() {
  SearchBox = new QGroupBox(this);
  SearchBox->setObjectName("SearchBox");
  auto* grid = new QGridLayout(SearchBox);
  StepFields = BuildSearchStepFields(SearchBox, grid, settings_.Options, running_);

  UsePeriodCheck = new QCheckBox(SearchBox);
  UsePeriodCheck->setObjectName("UsePeriodCheck");
  UsePeriodCheck->setChecked(settings_.UsePeriod);
  BuildPeriodControls();
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

  connect(UsePeriodCheck, &QCheckBox::toggled, this, [this](bool on) {
    settings_.UsePeriod = on;
    RefreshEnabling();
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

void TExtremumsuchen::ApplyLanguage() {
  ApplyFrameLanguage();
  ObjectBox->setTitle(Tr("Objekt wählen", "Select Object"));
  EventBox->setTitle(Tr("Ereignis wählen", "Select Event"));
  for (int i = 0; i < 12; ++i) {
    ObjectRadios[static_cast<std::size_t>(i)]->setText(Tr(kObjectCaptions[i].German, kObjectCaptions[i].English));
  }
  for (const TEventKindInfo& kind : EventKindRows()) {
    KindRadios[static_cast<std::size_t>(kind.Code)]->setText(Tr(kind.Caption.German, kind.Caption.English));
  }
  UsePeriodCheck->setText(Tr("Ephemeridenzeitraum verwenden", "Use ephemeris period"));
  TableCheck->setText(Tr("Ergebnisse in Tabelle", "Write results to sheet"));
  KeplerCheck->setText(Tr("Keplerelemente verwenden", "Use keplerian elements"));
  ChangeAsteroidButton->setText(Tr("Planetoid ändern", "Change asteroid"));
  SearchButton->setText(Tr("Suchen", "S&earch"));
  HandOverButton->setText(Tr("Schließen und Datum weiterverwenden", "Close and use time of event"));
}

void TExtremumsuchen::RefreshAsteroidLabel() {
  const std::string name =
      settings_.AsteroidDatabase ? Call(hooks_.DatabaseAsteroidName, "") : Call(hooks_.AsteroidName, kNoAsteroid);
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
  const std::string asteroid =
      settings_.AsteroidDatabase ? Call(hooks_.DatabaseAsteroidName, "") : Call(hooks_.AsteroidName, kNoAsteroid);
  const bool asteroidChosen = settings_.AsteroidDatabase ? !asteroid.empty() : asteroid != kNoAsteroid;
  const bool cometLoaded = Call(hooks_.CometName, kNoComet) != kNoComet;
  const int body = CheckedObject();
  ObjectRadios[kAsteroid]->setEnabled(asteroidChosen);
  ObjectRadios[kComet]->setEnabled(cometLoaded);
  if ((body == kAsteroid && !asteroidChosen) || (body == kComet && !cometLoaded)) ChooseObject(3);
  CheckPluto();
  HandOverButton->setEnabled(run_.CanHandOverDate() && !settings_.UsePeriod && !running_);
}

void TExtremumsuchen::CheckPluto() {
  const double t = (run_.Start.Mjd - 51544.5) / 36525.0;
  const bool inRange = DateInTheoryRange(context_.Selection, t);
  ObjectRadios[kPluto]->setEnabled(inRange);
  if (!inRange && CheckedObject() == kPluto) ChooseObject(kNeptune);
}

void TExtremumsuchen::ChooseObject(int body) {
  if (body < kSun || body > kComet || !ObjectRadios[static_cast<std::size_t>(body)]->isEnabled()) body = 3;
  ObjectRadios[static_cast<std::size_t>(body)]->setChecked(true);
  // Exactly the body's kinds: the others unchecked and disabled.
  for (int k = 0; k < kEventKindCount; ++k) {
    QRadioButton* radio = KindRadios[static_cast<std::size_t>(k)];
    const bool offered = EventKindOffered(body, k);
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

void TExtremumsuchen::Search() {
  if (running_) return;
  PrepareRun();
  run_.UsePeriod = settings_.UsePeriod;
  run_.ResultsIntoTable = settings_.ResultsIntoTable;
  if (hooks_.AsteroidElements) run_.Asteroid = hooks_.AsteroidElements();
  if (hooks_.CometElements) run_.Comet = hooks_.CometElements();
  run_.AsteroidName =
      settings_.AsteroidDatabase ? Call(hooks_.DatabaseAsteroidName, "") : Call(hooks_.AsteroidName, kNoAsteroid);
  run_.CometName = Call(hooks_.CometName, kNoComet);
  context_.AsteroidDatabase = settings_.AsteroidDatabase ? 1 : 0;
  // The database asteroid may have been changed in the dialog.
  if (hooks_.DatabaseAsteroidName) context_.AsteroidDatabaseFile = hooks_.DatabaseAsteroidName();
  run_.SetContext(context_);
  int answer = 0;
  RunWithProgress(0, [this, &answer] {
    answer = run_.Run(StepFields.StepEdit->text().toStdString(), StepFields.RepetitionsEdit->text().toStdString(),
                      CheckedKind() >= 0);
  });
  TakeRunResults();
  if (answer == kEventAnswerUseDate) CheckPluto();
  RefreshEnabling();
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
