#include "events/ui/event_dialog_parts.h"

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
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

std::string LocalDateText(TObserverRecord r) {
  r.AutoDeltaT = 0;
  UTToLocalTime(r);
  std::string text;
  ObserverDateText(r, text);
  return text;
}

}  // namespace

std::string SearchStepText(double step) {
  std::string text = FormatFixed(step, 1, 4);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return DotToDecimalSepTrim(text);
}

QString SearchPeriodText(const TObserverRecord& start, const TObserverRecord& end) {
  return QString::fromStdString(LocalDateText(start) + " - " + LocalDateText(end));
}

void ShowSearchPeriod(QLabel* label, bool shown, const std::function<TObserverRecord()>& start,
                      const std::function<TObserverRecord()>& end) {
  if (!shown || !start || !end) {
    label->clear();
    return;
  }
  label->setText(SearchPeriodText(start(), end()));
}

TSearchStepFields BuildSearchStepFields(QGroupBox* box, QGridLayout* grid, TEventSearchOptions& options,
                                        const bool& running) {
  TSearchStepFields f;
  f.StepLabel = new QLabel(box);
  f.StepEdit = new QLineEdit(QString::fromStdString(SearchStepText(options.Step)), box);
  f.StepEdit->setObjectName("StepEdit");
  f.DaysLabel = new QLabel(box);
  f.RepetitionsLabel = new QLabel(box);
  f.RepetitionsEdit = new QLineEdit(QString::number(options.Repetitions), box);
  f.RepetitionsEdit->setObjectName("RepetitionsEdit");
  f.DefaultsButton = new QPushButton(box);
  f.DefaultsButton->setObjectName("DefaultsButton");
  grid->addWidget(f.StepLabel, 0, 0);
  grid->addWidget(f.StepEdit, 0, 1);
  grid->addWidget(f.DaysLabel, 0, 2);
  grid->addWidget(f.RepetitionsLabel, 1, 0);
  grid->addWidget(f.RepetitionsEdit, 1, 1);
  grid->addWidget(f.DefaultsButton, 1, 2);

  QLineEdit* step = f.StepEdit;
  QLineEdit* repetitions = f.RepetitionsEdit;
  QObject::connect(f.DefaultsButton, &QPushButton::clicked, box, [&options, step, repetitions] {
    SetSearchDefaults(options);
    step->setText(QString::fromStdString(SearchStepText(options.Step)));
    repetitions->setText(QString::number(options.Repetitions));
  });
  // The checks on leaving a field that was edited.
  QObject::connect(step, &QLineEdit::editingFinished, box, [&options, &running, step] {
    if (!step->isModified() || running) return;
    step->setModified(false);
    LeaveStepField(step->text().toStdString(), options.Step);
  });
  QObject::connect(repetitions, &QLineEdit::editingFinished, box, [&options, &running, repetitions] {
    if (!repetitions->isModified() || running) return;
    repetitions->setModified(false);
    LeaveRepetitionsField(repetitions->text().toStdString(), options.Repetitions);
  });
  return f;
}

void ReadSearchStepFields(const TSearchStepFields& fields, TEventSearchOptions& options) {
  double value = 0;
  if (ReadSearchNumber(fields.StepEdit->text().toStdString(), value) && value >= kMinSearchStep &&
      value <= kMaxSearchStep) {
    options.Step = value;
  }
  if (ReadSearchNumber(fields.RepetitionsEdit->text().toStdString(), value) && value == std::floor(value) &&
      value >= kMinRepetitions && value <= kMaxRepetitions) {
    options.Repetitions = static_cast<std::int32_t>(value);
  }
}

QWidget* BuildEventListBox(QWidget* parent, TEventListParts& parts, std::function<void()> clearList,
                           std::function<bool(int)> removeLine, std::function<void()> refill) {
  auto* box = new QWidget(parent);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  parts.ListBox = new QListWidget(box);
  parts.ListBox->setObjectName("ListBox");
  column->addWidget(parts.ListBox, 1);
  auto* row = new QHBoxLayout;
  parts.ClearButton = new QPushButton(box);
  parts.ClearButton->setObjectName("ClearButton");
  parts.RemoveButton = new QPushButton(box);
  parts.RemoveButton->setObjectName("RemoveButton");
  row->addWidget(parts.ClearButton);
  row->addWidget(parts.RemoveButton);
  column->addLayout(row);
  QObject::connect(parts.ClearButton, &QPushButton::clicked, box, [clearList, refill] {
    clearList();
    refill();
  });
  QListWidget* list = parts.ListBox;
  auto remove = [list, removeLine, refill] {
    if (removeLine(list->currentRow())) refill();
  };
  QObject::connect(parts.RemoveButton, &QPushButton::clicked, box, remove);
  QObject::connect(list, &QListWidget::itemDoubleClicked, box, remove);
  return box;
}

void FillEventList(QListWidget* list, const std::vector<std::pair<std::string, const tEvent*>>& lines) {
  list->clear();
  for (const auto& line : lines) list->addItem(QString::fromStdString(line.first));
}

void ApplySearchPartsLanguage(const TSearchStepFields& fields, const TEventListParts& list) {
  fields.StepLabel->setText(Tr("Abstand für Interpolation:", "Distance between iterations:"));
  fields.DaysLabel->setText(Tr("Tage", "days"));
  fields.RepetitionsLabel->setText(Tr("Wiederholungen:", "Iterations:"));
  fields.DefaultsButton->setText(Tr("Vorgaben", "Defaults"));
  list.ClearButton->setText(Tr("Löschen", "Clear"));
  list.RemoveButton->setText(Tr("Entfernen", "Remove"));
}

TEventSearchDialogBase::TEventSearchDialogBase(QWidget* parent) : QDialog(parent) {}

void TEventSearchDialogBase::showEvent(QShowEvent* event) {
  ApplyLanguage();
  PrepareShowing();
  {
    const QSignalBlocker blocker(KeplerCheck);
    KeplerCheck->setChecked(!UsesAsteroidDatabase());
  }
  RefreshEnabling();
  QDialog::showEvent(event);
}

QHBoxLayout* TEventSearchDialogBase::BuildButtonRow(QPushButton** handOver) {
  auto* buttons = new QHBoxLayout;
  auto add = [this, buttons](QPushButton*& button, const char* name) {
    button = new QPushButton(this);
    button->setObjectName(name);
    buttons->addWidget(button);
  };
  add(SearchButton, "SearchButton");
  add(AbortButton, "AbortButton");
  add(CloseButton, "CloseButton");
  if (handOver != nullptr) add(*handOver, "HandOverButton");
  add(CancelButton, "CancelButton");
  add(HelpButton, "HelpButton");
  AbortButton->hide();
  SearchButton->setDefault(true);
  connect(SearchButton, &QPushButton::clicked, this, [this] { Search(); });
  connect(AbortButton, &QPushButton::clicked, this, [] { AbortRequested = 1; });
  connect(CloseButton, &QPushButton::clicked, this, [this] { done(kSearchDialogClose); });
  connect(CancelButton, &QPushButton::clicked, this, [this] { done(kSearchDialogCancel); });
  ConnectHelpButton(this, HelpButton);
  return buttons;
}

QHBoxLayout* TEventSearchDialogBase::BuildSearchAndListRow(QWidget* searchBox) {
  auto* row = new QHBoxLayout;
  row->addWidget(searchBox, 1);
  QWidget* list = BuildEventListBox(
      this, ListParts, [this] { ClearRunList(); }, [this](int line) { return RemoveRunLine(line); },
      [this] { FillList(); });
  ListBox = ListParts.ListBox;
  row->addWidget(list, 1);
  return row;
}

QRadioButton* TEventSearchDialogBase::AddRadio(QGroupBox* box, QGridLayout* grid, QButtonGroup* group,
                                               const char* namePattern, int id, int row, int column) {
  auto* radio = new QRadioButton(box);
  radio->setObjectName(QString(namePattern).arg(id));
  group->addButton(radio, id);
  grid->addWidget(radio, row, column);
  return radio;
}

void TEventSearchDialogBase::AddKindRadio(QGridLayout* grid, int kind, int row, int column) {
  KindRadios[static_cast<std::size_t>(kind)] = AddRadio(EventBox, grid, KindGroup, "KindRadio%1", kind, row, column);
}

void TEventSearchDialogBase::BuildPeriodControls() {
  ChangePeriodButton = new QPushButton(SearchBox);
  ChangePeriodButton->setObjectName("ChangePeriodButton");
  PeriodLabel = new QLabel(SearchBox);
  PeriodLabel->setObjectName("PeriodLabel");
  connect(ChangePeriodButton, &QPushButton::clicked, this, [this] {
    ChangePeriod();
    RefreshPeriodLabel();
  });
}

void TEventSearchDialogBase::ApplyFrameLanguage() {
  setWindowTitle(Tr("Ereignis suchen", "Find event"));
  SearchBox->setTitle(Tr("Suchzeitraum und -intervall", "Period and intervall for search"));
  ApplySearchPartsLanguage(StepFields, ListParts);
  ChangePeriodButton->setText(Tr("Zeitraum &ändern...", "Change period..."));
  AbortButton->setText(Tr("&Abbruch", "&Abort"));
  CloseButton->setText(Tr("S&chließen", "Cl&ose"));
  ApplyDialogButtonLanguage(CancelButton, HelpButton);
}

void TEventSearchDialogBase::StoreChoices() {
  const int object = ObjectGroup->checkedId();
  const int kind = KindGroup->checkedId();
  if (object >= 0) Options().ObjectCode = static_cast<std::uint8_t>(object);
  if (kind >= 0) Options().EventKind = static_cast<std::uint8_t>(kind);
}

void TEventSearchDialogBase::SetRunning(bool running) {
  running_ = running;
  for (QWidget* w :
       {static_cast<QWidget*>(ObjectBox), static_cast<QWidget*>(EventBox), static_cast<QWidget*>(SearchBox),
        static_cast<QWidget*>(ListBox), static_cast<QWidget*>(ListParts.ClearButton),
        static_cast<QWidget*>(ListParts.RemoveButton), static_cast<QWidget*>(SearchButton),
        static_cast<QWidget*>(CloseButton), static_cast<QWidget*>(CancelButton), static_cast<QWidget*>(HelpButton)}) {
    w->setEnabled(!running);
  }
  AbortButton->setVisible(running);
  RefreshEnabling();
}

void TEventSearchDialogBase::RunWithProgress(int progressTotal, const std::function<void()>& run) {
  AbortRequested = 0;
  SetRunning(true);
  {
    ProgressSession session(CurrentProgress(), ByLanguage("Ereignis suchen", "Find event"), progressTotal);
    run();
  }
  AbortRequested = 0;
  SetRunning(false);
}

void TEventSearchDialogBase::reject() { done(kSearchDialogCancel); }

void TEventSearchDialogBase::done(int result) {
  if (running_) {
    AbortRequested = 1;  // closing while a run goes on cancels the run first
    return;
  }
  if (result != kSearchDialogCancel) {
    StoreChoices();
    ReadSearchStepFields(StepFields, Options());
  }
  QDialog::done(result);
}

QButtonGroup* AddConjunctionKindButtons(QGroupBox* box, QObject* owner, const char* namePattern) {
  auto* layout = new QVBoxLayout(box);
  auto* group = new QButtonGroup(owner);
  const char* const kinds[3][2] = {{"Konjunktionen in RA", "Conjunctions in RA"},
                                   {"Konjunktionen in Länge", "Conjunctions in longitude"},
                                   {"Kleinster Winkelabstand", "Smallest angular separation"}};
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(Tr(kinds[i][0], kinds[i][1]), box);
    radio->setObjectName(QString(namePattern).arg(i));
    group->addButton(radio, i);
    layout->addWidget(radio);
  }
  return group;
}

}  // namespace kvx
