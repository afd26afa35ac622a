#include "events/ui/multi_object_event_dialog.h"

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

#include "core/event_kinds.h"
#include "events/ui/event_dialog_parts.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

// The offered kinds, in the order of the radio buttons.
std::vector<int> OfferedKinds() {
  std::vector<int> kinds;
  for (const TEventKindInfo& kind : EventKindRows()) {
    if (kind.OfferedForLists()) kinds.push_back(kind.Code);
  }
  return kinds;
}

std::vector<std::string> Names(const std::function<std::vector<std::string>()>& f) {
  return f ? f() : std::vector<std::string>{};
}

// A range as shown: first + 1, "-", last + 1 of the entries it covers.
QString RangeText(const TFileRange& range, std::int32_t count) {
  const TClampedRange c = ClampFileRange(range, count);
  if (c.Empty) return QStringLiteral("0");
  return QString("%1-%2").arg(c.First + 1).arg(c.Last + 1);
}

}  // namespace

bool MultiObjectEventKindOffered(int kind) {
  const TEventKindInfo* info = EventKindInfo(kind);
  return info != nullptr && info->OfferedForLists();
}

TExtremumlistsuchen::TExtremumlistsuchen(const TSearchContext& context, TEventList& events,
                                         const TMultiObjectEventSettings& settings, TMultiObjectEventHooks hooks,
                                         QWidget* parent)
    : TEventSearchDialogOf(context, events, settings, std::move(hooks), parent) {
  SetHelpContext(this, kHelpTopicSeveralObjects);
  setObjectName("Extremumlistsuchen");
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(BuildObjectBox());
  top->addWidget(BuildEventBox(), 1);
  layout->addLayout(top);
  layout->addLayout(BuildSearchAndListRow(BuildSearchBox()));

  layout->addLayout(BuildButtonRow(nullptr));

  // The radio buttons from the options.
  if (settings_.Options.ObjectCode == search_kind::kAsteroid) AsteroidRadio->setChecked(true);
  if (settings_.Options.ObjectCode == search_kind::kComet) CometRadio->setChecked(true);
  if (MultiObjectEventKindOffered(settings_.Options.EventKind)) {
    KindRadios[settings_.Options.EventKind]->setChecked(true);
  }
  ApplyLanguage();
  RefreshEnabling();
}

QWidget* TExtremumlistsuchen::BuildObjectBox() {
  ObjectBox = new QGroupBox(this);
  ObjectBox->setObjectName("ObjectBox");
  auto* grid = new QGridLayout(ObjectBox);
  ObjectGroup = new QButtonGroup(this);
  AsteroidRadio = new QRadioButton(ObjectBox);
  AsteroidRadio->setObjectName("AsteroidRadio");
  CometRadio = new QRadioButton(ObjectBox);
  CometRadio->setObjectName("CometRadio");
  ObjectGroup->addButton(AsteroidRadio, search_kind::kAsteroid);
  ObjectGroup->addButton(CometRadio, search_kind::kComet);
  AsteroidSelectButton = new QPushButton(ObjectBox);
  AsteroidSelectButton->setObjectName("AsteroidSelectButton");
  CometSelectButton = new QPushButton(ObjectBox);
  CometSelectButton->setObjectName("CometSelectButton");
  AsteroidRangeLabel = new QLabel(ObjectBox);
  AsteroidRangeLabel->setObjectName("AsteroidRangeLabel");
  CometRangeLabel = new QLabel(ObjectBox);
  CometRangeLabel->setObjectName("CometRangeLabel");
  KeplerCheck = new QCheckBox(ObjectBox);
  KeplerCheck->setObjectName("KeplerCheck");
  KeplerCheck->setChecked(!settings_.AsteroidDatabase);
  grid->addWidget(AsteroidRadio, 0, 0);
  grid->addWidget(AsteroidSelectButton, 0, 1);
  grid->addWidget(AsteroidRangeLabel, 0, 2);
  grid->addWidget(CometRadio, 1, 0);
  grid->addWidget(CometSelectButton, 1, 1);
  grid->addWidget(CometRangeLabel, 1, 2);
  grid->addWidget(KeplerCheck, 2, 0, 1, 3);
  connect(AsteroidSelectButton, &QPushButton::clicked, this, [this] { SelectObjects(true); });
  connect(CometSelectButton, &QPushButton::clicked, this, [this] { SelectObjects(false); });
  connect(KeplerCheck, &QCheckBox::toggled, this, [this](bool on) { SetDatabase(!on); });
  return ObjectBox;
}

QWidget* TExtremumlistsuchen::BuildEventBox() {
  EventBox = new QGroupBox(this);
  EventBox->setObjectName("EventBox");
  auto* grid = new QGridLayout(EventBox);
  KindGroup = new QButtonGroup(this);
  int n = 0;
  for (int kind : OfferedKinds()) {
    AddKindRadio(grid, kind, n % 7, n / 7);
    ++n;
  }
  return EventBox;
}

QWidget* TExtremumlistsuchen::BuildSearchBox() {
  SearchBox = new QGroupBox(this);
  SearchBox->setObjectName("SearchBox");
  auto* grid = new QGridLayout(SearchBox);
  StepFields = BuildSearchStepFields(SearchBox, grid, settings_.Options, running_);
  BuildPeriodControls();
  grid->addWidget(ChangePeriodButton, 2, 0);
  grid->addWidget(PeriodLabel, 2, 1, 1, 2);
  return SearchBox;
}

void TExtremumlistsuchen::ApplyLanguage() {
  ApplyFrameLanguage();
  ObjectBox->setTitle(Tr("Objekt und Datenquelle wählen", "Select object and data source"));
  EventBox->setTitle(Tr("Ereignis wählen", "Select event"));
  AsteroidRadio->setText(Tr("&Planetoiden", "Asteroids"));
  CometRadio->setText(Tr("&Kometen", "Comets"));
  AsteroidSelectButton->setText(Tr("Auswählen", "Select"));
  CometSelectButton->setText(Tr("Auswählen", "Select"));
  KeplerCheck->setText(Tr("Keplerelemente für Planetoiden verwenden", "Use keplerian elements for Asteroids"));
  for (int kind : OfferedKinds()) {
    const TEventText& caption = EventKindInfo(kind)->SeveralObjectsCaption();  // an offered kind
    KindRadios[static_cast<std::size_t>(kind)]->setText(Tr(caption.German, caption.English));
  }
  SearchButton->setText(Tr("&Suchen", "S&earch"));
}

void TExtremumlistsuchen::PrepareShowing() {
  if (hooks_.LoadElementLists) hooks_.LoadElementLists();
}

std::vector<std::string> TExtremumlistsuchen::DatabaseFiles() const { return Names(hooks_.DatabaseFiles); }

void TExtremumlistsuchen::SetDatabase(bool database) {
  settings_.AsteroidDatabase = database;
  if (database && DatabaseFiles().empty() && hooks_.SelectDatabaseAsteroids) hooks_.SelectDatabaseAsteroids();
  RefreshEnabling();
}

void TExtremumlistsuchen::SelectObjects(bool asteroids) {
  if (asteroids && settings_.AsteroidDatabase) {
    if (hooks_.SelectDatabaseAsteroids) hooks_.SelectDatabaseAsteroids();
  } else if (hooks_.SelectRange) {
    TFileRange& range = asteroids ? settings_.Ranges.AsteroidFile : settings_.Ranges.CometFile;
    const std::vector<std::string> names = Names(asteroids ? hooks_.AsteroidNames : hooks_.CometNames);
    // The dialog starts on the entries the stored range stands for.
    const TClampedRange shown = ClampFileRange(range, static_cast<std::int32_t>(names.size()));
    std::int32_t first = shown.Empty ? 0 : shown.First;
    std::int32_t last = shown.Empty ? static_cast<std::int32_t>(names.size()) - 1 : shown.Last;
    if (hooks_.SelectRange(first, last, names)) range = TFileRange{first, last};
  }
  RefreshEnabling();
}

void TExtremumlistsuchen::RefreshRangeLabels() {
  if (settings_.AsteroidDatabase) {
    AsteroidRangeLabel->setText(QString::number(DatabaseFiles().size()));
  } else {
    AsteroidRangeLabel->setText(
        RangeText(settings_.Ranges.AsteroidFile, static_cast<std::int32_t>(Names(hooks_.AsteroidNames).size())));
  }
  CometRangeLabel->setText(
      RangeText(settings_.Ranges.CometFile, static_cast<std::int32_t>(Names(hooks_.CometNames).size())));
}

void TExtremumlistsuchen::RefreshEnabling() {
  const bool asteroidsAvailable = !(settings_.AsteroidDatabase && DatabaseFiles().empty());
  if (!asteroidsAvailable && AsteroidRadio->isChecked()) {
    ObjectGroup->setExclusive(false);
    AsteroidRadio->setChecked(false);
    ObjectGroup->setExclusive(true);
  }
  AsteroidRadio->setEnabled(asteroidsAvailable && !running_);
  RefreshRangeLabels();
  RefreshPeriodLabel();
}

void TExtremumlistsuchen::Search() {
  if (running_) return;
  PrepareRun();
  const int object = ObjectGroup->checkedId();
  run_.Ranges = settings_.Ranges;
  run_.AsteroidDatabase = settings_.AsteroidDatabase;
  run_.Source.AsteroidCount = static_cast<std::int32_t>(Names(hooks_.AsteroidNames).size());
  run_.Source.CometCount = static_cast<std::int32_t>(Names(hooks_.CometNames).size());
  run_.Source.AsteroidAt = hooks_.AsteroidAt;
  run_.Source.CometAt = hooks_.CometAt;
  run_.Source.DatabaseFiles = DatabaseFiles();
  run_.SetContext(context_);
  RunWithProgress(100, [this, object] {
    run_.Run(object >= 0, StepFields.StepEdit->text().toStdString(), StepFields.RepetitionsEdit->text().toStdString(),
             KindGroup->checkedId() >= 0);
  });
  TakeRunResults();
}

int ShowMultiObjectEventSearch(TMultiObjectEventSettings& settings, const TSearchContext& context, TEventList& events,
                               const TMultiObjectEventHooks& hooks, QWidget* parent) {
  events.Clear();
  TExtremumlistsuchen dialog(context, events, settings, hooks, parent);
  const int result = dialog.exec() == kMultiEventDialogClose ? kMultiEventDialogClose : kMultiEventDialogCancel;
  if (result != kMultiEventDialogCancel) settings = dialog.Settings();
  AbortRequested = 0;
  return result;
}

}  // namespace kvx
