#include "events/ui/event_dialog_parts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"

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

}  // namespace kvx
