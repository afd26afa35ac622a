// Pieces the two event search dialogs ("Ereignis suchen" for one body and
// for lists of asteroids/comets) build the same way: the step and
// repetition fields with "Vorgaben", the list of finds with "Löschen" and
// "Entfernen", the period text, and reading the fields back on closing.
//
// Step in days, repetitions a count; dates shown in local time.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/observer_record.h"
#include "events/search_options.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace kvx {

class tEvent;

// The step as typed: whole days without decimals, else up to four.
std::string SearchStepText(double step);

// "<start> - <end>" with both dates in local time.
QString SearchPeriodText(const TObserverRecord& start, const TObserverRecord& end);

struct TSearchStepFields {
  QLabel* StepLabel = nullptr;
  QLineEdit* StepEdit = nullptr;
  QLabel* DaysLabel = nullptr;
  QLabel* RepetitionsLabel = nullptr;
  QLineEdit* RepetitionsEdit = nullptr;
  QPushButton* DefaultsButton = nullptr;
};

// Builds the fields into rows 0 and 1 of `grid` (children of `box`) showing
// `options`. "Vorgaben" resets `options` and the fields; leaving an edited
// field checks it into `options` unless `running` is set. `options` and
// `running` must outlive `box`.
TSearchStepFields BuildSearchStepFields(QGroupBox* box, QGridLayout* grid, TEventSearchOptions& options,
                                        const bool& running);

// On closing: takes the fields' step and repetitions into `options` where
// they are valid numbers in range, keeps the old values otherwise.
void ReadSearchStepFields(const TSearchStepFields& fields, TEventSearchOptions& options);

struct TEventListParts {
  QListWidget* ListBox = nullptr;
  QPushButton* ClearButton = nullptr;
  QPushButton* RemoveButton = nullptr;
};

// The list of finds with "Löschen" and "Entfernen" below it, returned as one
// widget. Clearing calls `clearList`, removing (button or double click)
// calls `removeLine` with the current row; `refill` follows when the list
// changed.
QWidget* BuildEventListBox(QWidget* parent, TEventListParts& parts, std::function<void()> clearList,
                           std::function<bool(int)> removeLine, std::function<void()> refill);

void FillEventList(QListWidget* list, const std::vector<std::pair<std::string, const tEvent*>>& lines);

// The captions of the shared pieces in the current language.
void ApplySearchPartsLanguage(const TSearchStepFields& fields, const TEventListParts& list);

}  // namespace kvx
