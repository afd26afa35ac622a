#include "events/ui/conjunction_dialog.h"

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
#include <QVBoxLayout>

#include "core/input_checks.h"
#include "core/records.h"
#include "core/time_scales.h"
#include "events/conjunction_stars.h"
#include "events/ui/event_dialog_parts.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/dialog_rows.h"
#include "theories/planet_positions.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) {
  return QString::fromUtf8(LanguageEnglish != 0 ? english : german);
}

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

QString Number(double value) { return QString::number(value, 'g', 10); }

// Captions of the first group (index 1..13) and the second (0..11).
constexpr const char* kFirstCaptions[14][2] = {
    {"", ""},
    {"Me&rkur", "Me&rcury"},
    {"&Venus", "&Venus"},
    {"M&ars", "M&ars"},
    {"&Jupiter", "&Jupiter"},
    {"&Saturn", "&Saturn"},
    {"&Uranus", "&Uranus"},
    {"&Neptun", "&Neptune"},
    {"P&luto", "P&luto"},
    {"Mon&d", "Moon"},
    {"&Planetoid", "Asteroid"},
    {"&Komet", "&Comet"},
    {"Stern", "Star"},
    {"Benutzerdefiniert", "User catalogue"},
};
constexpr const char* kSecondCaptions[12][2] = {
    {"Sonne", "Sun"},       {"Merkur", "Mercury"}, {"Venus", "Venus"},        {"Mars", "Mars"},
    {"Jupiter", "Jupiter"}, {"Saturn", "Saturn"},  {"Uranus", "Uranus"},      {"Neptun", "Neptune"},
    {"Pluto", "Pluto"},     {"Mond", "Moon"},      {"Planetoid", "Asteroid"}, {"Komet", "Comet"},
};

// A box titled `title` holding the radio buttons of the ids `first` to
// `last`, captioned from `captions` by id, named `namePattern` with %1 the
// id and `rows` to a column; the buttons join `group`.
QGroupBox* ObjectRadioBox(const QString& title, QWidget* parent, QButtonGroup* group, const char* const (*captions)[2],
                          int first, int last, int rows, const char* namePattern) {
  auto* box = new QGroupBox(title, parent);
  auto* grid = new QGridLayout(box);
  for (int i = first; i <= last; ++i) {
    auto* radio = new QRadioButton(Tr(captions[i][0], captions[i][1]), box);
    radio->setObjectName(QString(namePattern).arg(i));
    group->addButton(radio, i);
    grid->addWidget(radio, (i - first) % rows, (i - first) / rows);
  }
  return box;
}

}  // namespace

TKonjunktionsuchen::TKonjunktionsuchen(std::uint8_t mode, TConjunctionSearchRun& run, TConjunctionDialogHooks hooks,
                                       QWidget* parent)
    : QDialog(parent), mode_(mode), run_(run), hooks_(std::move(hooks)) {
  SetHelpContext(this, kHelpTopicConjunctions);
  setObjectName("TKonjunktionsuchen");
  Build();
  Activate();
}

QRadioButton* TKonjunktionsuchen::FirstRadio(int index) const {
  return qobject_cast<QRadioButton*>(first_->button(index));
}
QRadioButton* TKonjunktionsuchen::SecondRadio(int index) const {
  return qobject_cast<QRadioButton*>(second_->button(index));
}

void TKonjunktionsuchen::Build() {
  setWindowTitle(mode_ == 0 ? Tr("Konjunktionen suchen", "Find conjunctions")
                            : Tr("Winkelabstände berechnen", "Compute angular separation"));
  auto* layout = new QVBoxLayout(this);
  controls_ = new QWidget(this);
  auto* top = new QHBoxLayout(controls_);
  top->setContentsMargins(0, 0, 0, 0);

  first_ = new QButtonGroup(this);
  top->addWidget(
      ObjectRadioBox(Tr("Erstes Objekt", "First object"), controls_, first_, kFirstCaptions, 1, 13, 7, "First%1"));
  second_ = new QButtonGroup(this);
  top->addWidget(
      ObjectRadioBox(Tr("Zweites Objekt", "Second object"), controls_, second_, kSecondCaptions, 0, 11, 6, "Second%1"));

  auto* right = new QVBoxLayout;
  auto* kindBox = new QGroupBox(Tr("Welche Konjunktionen suchen?", "Which conjunctions?"), controls_);
  kind_ = AddConjunctionKindButtons(kindBox, this, "Kind%1");
  connect(kind_, &QButtonGroup::idClicked, this, [this](int id) {
    run_.Options.InLongitude = id == 1 ? 1 : 0;
    run_.Options.SmallestSeparation = id == 2 ? 1 : 0;
  });
  right->addWidget(kindBox);

  auto* fields = new QGridLayout;
  step_ = new QLineEdit(controls_);
  step_->setObjectName("StepEdit");
  repetitions_ = new QLineEdit(controls_);
  repetitions_->setObjectName("RepetitionsEdit");
  limit_ = new QLineEdit(controls_);
  limit_->setObjectName("LimitEdit");
  limit_->setMinimumWidth(70);
  AddCaptionedField(fields, 0, 0, Tr("Abstand für Interpolation (Tage)", "Step (days)"), step_);
  AddCaptionedField(fields, 1, 0, Tr("Wiederholungen", "Repetitions"), repetitions_);
  fields->addWidget(new QLabel(Tr("Nur Konjunktionen enger als", "Show only conjuctions closer than"), controls_), 2,
                    0);
  auto* limitRow = new QHBoxLayout;
  limitRow->addWidget(limit_);
  limitRow->addWidget(new QLabel(Tr("° zeigen", "degrees"), controls_));
  fields->addLayout(limitRow, 2, 1);
  connect(step_, &QLineEdit::editingFinished, this, [this] { LeaveStepField(Text(step_), run_.Options.Step); });
  connect(repetitions_, &QLineEdit::editingFinished, this,
          [this] { LeaveRepetitionsField(Text(repetitions_), run_.Options.Repetitions); });
  connect(limit_, &QLineEdit::editingFinished, this, [this] { LimitExit(); });
  right->addLayout(fields);

  auto* starRow = new QHBoxLayout;
  star_text_ = new QLineEdit(controls_);
  star_text_->setObjectName("StarEdit");
  star_name_ = new QLabel(controls_);
  star_name_->setObjectName("StarName");
  starRow->addWidget(new QLabel(Tr("Stern:", "Star:"), controls_));
  starRow->addWidget(star_text_);
  starRow->addWidget(star_name_, 1);
  connect(star_text_, &QLineEdit::textChanged, this, [this](const QString& text) { StarTextChanged(text); });
  right->addLayout(starRow);

  auto* userRow = new QHBoxLayout;
  user_button_ = new QPushButton(Tr("&Benutzerkatalog", "&User catalogue"), controls_);
  user_button_->setObjectName("UserCatalogueButton");
  user_name_ = new QLabel(controls_);
  user_name_->setObjectName("UserObjectName");
  userRow->addWidget(user_button_);
  userRow->addWidget(user_name_, 1);
  connect(user_button_, &QPushButton::clicked, this, [this] {
    std::int32_t number = run_.UserObjectNumber;
    if (hooks_.PickUserObject && hooks_.PickUserObject(number)) {
      run_.UserObjectNumber = number;
      SetUserObjectState();
      SetObjectRadios();
    }
  });
  right->addLayout(userRow);

  table_ = new QCheckBox(Tr("Tabelle erzeugen", "Write results to sheet"), controls_);
  table_->setObjectName("TableCheck");
  period_ = new QCheckBox(Tr("Ephemeridenzeitraum verwenden", "Use ephemeris period"), controls_);
  period_->setObjectName("PeriodCheck");
  topocentric_ = new QCheckBox(Tr("Topozentrische Koordinaten", "Topocentric coordinates"), controls_);
  topocentric_->setObjectName("TopocentricCheck");
  kepler_ = new QCheckBox(Tr("Keplerelemente verwenden", "Use keplerian elements"), controls_);
  kepler_->setObjectName("KeplerCheck");
  for (QCheckBox* box : {table_, period_, topocentric_, kepler_}) right->addWidget(box);
  connect(table_, &QCheckBox::toggled, this, [this](bool on) { run_.ResultsIntoTable = on; });
  connect(period_, &QCheckBox::toggled, this, [this](bool on) { run_.UsePeriod = on; });
  connect(topocentric_, &QCheckBox::toggled, this, [this](bool on) { run_.Options.Topocentric = on ? 1 : 0; });
  connect(kepler_, &QCheckBox::toggled, this, [this](bool on) {
    run_.Context().AsteroidDatabase = on ? 0 : 1;
    UseAsteroidSource();
    SetObjectRadios();
  });

  auto* buttonsRow = new QGridLayout;
  struct Action {
    const char* german;
    const char* english;
    const char* name;
    std::function<void()> run;
  };
  const Action actions[] = {
      {"Vorgaben", "Defaults", "DefaultsButton",
       [this] {
         SetSearchDefaults(run_.Options);
         step_->setText(Number(run_.Options.Step));
         repetitions_->setText(QString::number(run_.Options.Repetitions));
         topocentric_->setChecked(false);
       }},
      {"Zeitraum &ändern...", "Change period...", "PeriodButton",
       [this] {
         if (hooks_.ChangePeriod) hooks_.ChangePeriod();
         ReadWindow();
       }},
      {"Planetoid ändern", "Change Asteroid", "AsteroidButton",
       [this] {
         if (hooks_.ChangeAsteroid) hooks_.ChangeAsteroid();
         ReadWindow();
         SetObjectRadios();
       }},
      {"&Filter ändern...", "Change &filter...", "FilterButton",
       [this] {
         if (hooks_.ChangeFilter) hooks_.ChangeFilter();
         ReadWindow();
       }},
  };
  int column = 0;
  for (const Action& action : actions) {
    auto* button = new QPushButton(Tr(action.german, action.english), controls_);
    button->setObjectName(action.name);
    connect(button, &QPushButton::clicked, this, action.run);
    buttonsRow->addWidget(button, column / 2, column % 2);
    ++column;
  }
  filter_label_ = new QLabel(Tr("gefiltert", "filtered"), controls_);
  filter_label_->setObjectName("FilterLabel");
  buttonsRow->addWidget(filter_label_, 2, 1);
  right->addLayout(buttonsRow);
  right->addStretch(1);
  top->addLayout(right);
  layout->addWidget(controls_);

  auto* resultBox = new QGroupBox(Tr("Suchergebnisse", "Results"), this);
  resultBox->setObjectName("ResultsBox");
  auto* resultLayout = new QHBoxLayout(resultBox);
  results_ = new QListWidget(resultBox);
  results_->setObjectName("ResultList");
  resultLayout->addWidget(results_, 1);
  auto* listButtons = new QVBoxLayout;
  auto* clear = new QPushButton(Tr("Löschen", "Clear"), resultBox);
  clear->setObjectName("ClearButton");
  auto* remove = new QPushButton(Tr("Entfernen", "Remove"), resultBox);
  remove->setObjectName("RemoveButton");
  connect(clear, &QPushButton::clicked, this, [this] {
    run_.ClearList();
    RefreshList();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (run_.RemoveLine(results_->currentRow())) RefreshList();
  });
  listButtons->addWidget(clear);
  listButtons->addWidget(remove);
  listButtons->addStretch(1);
  resultLayout->addLayout(listButtons);
  layout->addWidget(resultBox, 1);

  auto* bottom = new QHBoxLayout;
  start_ = new QPushButton(mode_ == 0 ? Tr("&Suchen", "&Search") : Tr("&Berechnen", "Com&pute"), this);
  start_->setObjectName("StartButton");
  start_->setDefault(true);
  auto* close = new QPushButton(Tr("S&chließen", "Close"), this);
  close->setObjectName("CloseButton");
  auto* cancel = new QPushButton(Tr("&Abbruch", "&Cancel"), this);
  cancel->setObjectName("CancelButton");
  use_date_ = new QPushButton(Tr("Schließen und Datum weiterverwenden", "Close and use time of event"), this);
  use_date_->setObjectName("UseDateButton");
  connect(start_, &QPushButton::clicked, this, [this] { StartClick(); });
  connect(close, &QPushButton::clicked, this, [this] { done(kConjunctionClose); });
  connect(cancel, &QPushButton::clicked, this, [this] { done(kConjunctionCancel); });
  connect(use_date_, &QPushButton::clicked, this, [this] { done(kConjunctionUseDate); });
  help_ = new QPushButton(this);
  help_->setObjectName("HelpButton");
  ApplyDialogButtonLanguage(nullptr, help_);  // German only: hidden in English
  ConnectHelpButton(this, help_);
  for (QPushButton* b : {start_, close, cancel, use_date_, help_}) bottom->addWidget(b);
  layout->addLayout(bottom);
}

void TKonjunktionsuchen::ReadWindow() {
  if (hooks_.Read) window_ = hooks_.Read();
  TSearchContext& context = run_.Context();
  context.StarAt = CatalogueStarLookup(window_.Catalogue);
  context.StarCount = window_.Catalogue ? window_.Catalogue->Count() : 0;
  context.UserObjects = window_.UserObjects;
  context.Topocentric = run_.Options.Topocentric;
  run_.Asteroid = window_.Asteroid;
  run_.Comet = window_.Comet;
  UseAsteroidSource();
  run_.CometName = window_.CometName;
  run_.Filter = window_.Filter;
  run_.Period = window_.Period;
  run_.End = window_.End;
  run_.TableStep = window_.TableStep;
  ShowFilterState();
}

void TKonjunktionsuchen::UseAsteroidSource() {
  TSearchContext& context = run_.Context();
  const bool database = context.AsteroidDatabase != 0;
  context.AsteroidDatabaseFile = window_.DatabaseAsteroidFile;
  run_.AsteroidName = database ? window_.DatabaseAsteroidName : window_.AsteroidName;
}

void TKonjunktionsuchen::Activate() {
  if (hooks_.Read) window_ = hooks_.Read();
  // The star catalogue is loaded on first need.
  if (!window_.Catalogue && hooks_.EnsureStarCatalogue && hooks_.EnsureStarCatalogue() && hooks_.Read) {
    window_ = hooks_.Read();
  }
  ReadWindow();
  run_.SeparationLimit = ValidSeparationLimit(run_.SeparationLimit);
  limit_->setText(Number(run_.SeparationLimit));
  step_->setText(Number(run_.Options.Step));
  repetitions_->setText(QString::number(run_.Options.Repetitions));
  table_->setChecked(run_.ResultsIntoTable);
  period_->setChecked(run_.UsePeriod);
  topocentric_->setChecked(run_.Options.Topocentric != 0);
  kepler_->setChecked(run_.Context().AsteroidDatabase == 0);

  const std::int32_t stars = window_.Catalogue ? window_.Catalogue->Count() : 0;
  run_.StarNumber = ValidStarNumber(run_.StarNumber, stars);
  run_.StarName = window_.Catalogue ? CatalogueStarName(*window_.Catalogue, run_.StarNumber) : std::string();
  star_name_->setText(QString::fromStdString(run_.StarName));
  SetUserObjectState();

  const int kind = run_.Options.InLongitude != 0 ? 1 : run_.Options.SmallestSeparation != 0 ? 2 : 0;
  kind_->button(kind)->setChecked(true);
  CheckPlutoDate();
  SetObjectRadios();
  RefreshList();
  use_date_->setEnabled(run_.CanHandOverDate());
}

void TKonjunktionsuchen::SetUserObjectState() {
  const int count = window_.UserObjects != nullptr ? window_.UserObjects->Count() : 0;
  const std::int32_t number = run_.UserObjectNumber;
  const bool inList = number >= 1 && number <= count;
  if (count > 0 && number != 0 && !inList) {
    ShowMessage("Das gewählte Objekt ist nicht im Benutzerkatalog; bitte wählen Sie ein anderes.",
                "The chosen object is not in the user catalogue; please choose another one.", MessageIcon::Warning);
  }
  run_.UserObjectName = inList ? ObjectNameByIndex(window_.UserObjects, number - 1) : std::string();
  user_name_->setText(QString::fromStdString(run_.UserObjectName));
  FirstRadio(search_kind::kUserObject)->setEnabled(inList);
  user_button_->setEnabled(static_cast<bool>(hooks_.PickUserObject) && count > 0);
  if (!hooks_.PickUserObject) {
    user_button_->setToolTip(Tr("Die Auswahl aus dem Benutzerkatalog ist noch nicht verfügbar.",
                                "Choosing from the user catalogue is not available yet."));
  }
}

void TKonjunktionsuchen::CheckPlutoDate() {
  const TObserverRecord& date = run_.UsePeriod ? run_.Period : run_.Start;
  TTheorySelection selection = run_.Context().Selection;
  if (run_.Context().FastSearch != 0) selection.bytes[0] = 0;
  const bool pluto = DateInTheoryRange(selection, JulianCenturiesJ2000(MjdToJd(date.Mjd)));
  FirstRadio(search_kind::kPluto)->setEnabled(pluto);
  SecondRadio(search_kind::kPluto)->setEnabled(pluto);
}

void TKonjunktionsuchen::SetObjectRadios() {
  const bool asteroid =
      run_.Context().AsteroidDatabase != 0 ? !window_.DatabaseAsteroidFile.empty() : window_.AsteroidAvailable;
  FirstRadio(search_kind::kAsteroid)->setEnabled(asteroid);
  SecondRadio(search_kind::kAsteroid)->setEnabled(asteroid);
  FirstRadio(search_kind::kComet)->setEnabled(window_.CometAvailable);
  SecondRadio(search_kind::kComet)->setEnabled(window_.CometAvailable);
  FirstRadio(search_kind::kStar)->setEnabled(window_.Catalogue != nullptr && run_.StarNumber >= 1);

  const int first = run_.Options.FirstObject;
  if (first >= 1 && first <= 13) {
    QRadioButton* radio = FirstRadio(first);
    (radio->isEnabled() || first <= search_kind::kMoon ? radio : FirstRadio(1))->setChecked(true);
  }
  const int second = run_.Options.SecondObject;
  if (second == 0) {
    SecondRadio(0)->setChecked(true);
  } else if (second >= 1 && second <= 11) {
    if (first_->checkedId() == second) {
      FirstRadio(second == 1 ? 2 : 1)->setChecked(true);
    } else {
      QRadioButton* radio = SecondRadio(second);
      (radio->isEnabled() ? radio : SecondRadio(0))->setChecked(true);
    }
  }
}

void TKonjunktionsuchen::ShowFilterState() { filter_label_->setVisible(window_.Filter.Active()); }

void TKonjunktionsuchen::RefreshList() {
  results_->clear();
  for (const auto& line : run_.ListLines) results_->addItem(QString::fromStdString(line.first));
}

void TKonjunktionsuchen::ReadObjects() {
  if (first_->checkedId() >= 1) run_.Options.FirstObject = static_cast<std::uint8_t>(first_->checkedId());
  if (second_->checkedId() >= 0) run_.Options.SecondObject = static_cast<std::uint8_t>(second_->checkedId());
  run_.Options.Topocentric = topocentric_->isChecked() ? 1 : 0;
  run_.Context().Topocentric = run_.Options.Topocentric;
}

void TKonjunktionsuchen::StarTextChanged(const QString& text) {
  if (!window_.Catalogue) return;
  const std::int32_t index = FindStarByText(*window_.Catalogue, text.toStdString());
  if (index < 1) return;
  if (!window_.Catalogue->Star(index).Usable) {
    ShowMessage("Dieser Stern ist im Katalog als unbrauchbar markiert.",
                "This star is marked unusable in the catalogue.", MessageIcon::Warning);
    return;
  }
  run_.StarNumber = index;
  run_.StarName = CatalogueStarName(*window_.Catalogue, index);
  star_name_->setText(QString::fromStdString(run_.StarName));
}

bool TKonjunktionsuchen::LimitExit() {
  std::string text = Text(limit_);
  double value = run_.SeparationLimit;
  const bool accepted = CheckMinimalDistanceInput(text, value);
  if (accepted) run_.SeparationLimit = value;
  limit_->setText(accepted ? limit_->text() : QString::fromStdString(text));
  return accepted;
}

void TKonjunktionsuchen::SetRunning(bool running) {
  running_ = running;
  controls_->setEnabled(!running);
  // The buttons outside the option controls (results and closing); the
  // option controls keep their own states under the disabled parent.
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button != start_ && !controls_->isAncestorOf(button)) button->setEnabled(!running);
  }
  help_->setEnabled(!running);
  if (mode_ == 1) {
    start_->setText(running ? Tr("&Berechnung anhalten", "&Stop calculation") : Tr("&Berechnen", "Com&pute"));
  }
  if (!running) use_date_->setEnabled(run_.CanHandOverDate());
}

void TKonjunktionsuchen::StartClick() {
  if (running_) {
    if (mode_ == 1) run_.StopRequested = true;
    return;
  }
  ReadObjects();
  ReadWindow();
  run_.Answerer = hooks_.Answerer;
  SetRunning(true);
  if (mode_ == 1) {
    const bool distinct = run_.Options.FirstObject != run_.Options.SecondObject;
    if (!distinct) {
      ShowSearchInputError(TSearchInputError::SameObjects);
    } else {
      run_.RunTable();
    }
  } else {
    // "Datum weiterverwenden" makes the conjunction the start of the next
    // search; "Schließen und Datum weiterverwenden" then hands it over.
    run_.Run(Text(step_), Text(repetitions_));
  }
  SetRunning(false);
  RefreshList();
  CheckPlutoDate();
}

}  // namespace kvx
