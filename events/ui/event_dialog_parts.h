// Pieces the two event search dialogs ("Ereignis suchen" for one body and
// for lists of asteroids/comets) build the same way: the step and
// repetition fields with "Vorgaben", the list of finds with "Löschen" and
// "Entfernen", the period text, reading the fields back on closing, and
// the frame of both dialogs (TEventSearchDialogBase); and the choice of
// conjunction kind that both conjunction dialogs show.
//
// Step in days, repetitions a count; dates shown in local time.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/observer_record.h"
#include "engine/search_object.h"
#include "events/search_options.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class TEventList;
class tEvent;

// The step as typed: whole days without decimals, else up to four.
std::string SearchStepText(double step);

// "<start> - <end>" with both dates in local time.
QString SearchPeriodText(const TObserverRecord& start, const TObserverRecord& end);

// Shows the period of `start` and `end` in `label`, or clears it when not
// `shown` or either hook is missing.
void ShowSearchPeriod(QLabel* label, bool shown, const std::function<TObserverRecord()>& start,
                      const std::function<TObserverRecord()>& end);

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

// Modal results both event search dialogs share.
inline constexpr int kSearchDialogClose = 1;
inline constexpr int kSearchDialogCancel = 2;

// The frame both event search dialogs share: the object, event and search
// boxes, the step fields, the list of finds, the row of buttons, the
// running state that disables them, and closing (which during a run asks
// the run to stop instead, and otherwise takes the choices and the step
// fields into the options unless cancelled).
class TEventSearchDialogBase : public QDialog {
  Q_OBJECT

 public:
  // "Suchen": one run with the current choices (also for tests).
  virtual void Search() = 0;
  // The enabling rules.
  virtual void RefreshEnabling() = 0;
  // Captions in the current language.
  virtual void ApplyLanguage() = 0;

  void reject() override;
  void done(int result) override;

 protected:
  explicit TEventSearchDialogBase(QWidget* parent);

  // Showing: the captions, PrepareShowing, the Kepler box from the settings'
  // database flag (no signal), the enabling rules.
  void showEvent(QShowEvent* event) override;
  virtual void PrepareShowing() {}
  virtual bool UsesAsteroidDatabase() const = 0;
  // The options the radio buttons and the step fields are read into.
  virtual TEventSearchOptions& Options() = 0;
  // Fills the list box from the run's lines.
  virtual void FillList() = 0;

  // The row "Suchen", "Abbruch" (shown while running), "Schließen", the
  // hand-over button named "HandOverButton" when `handOver` is given,
  // "Abbrechen" and "Hilfe" (the dialog's help, as F1 gives it).
  QHBoxLayout* BuildButtonRow(QPushButton** handOver);
  // The middle row: `searchBox`, then the list of finds (ListParts, ListBox)
  // built now, side by side with equal stretch. "Löschen" calls
  // ClearRunList, removing a line RemoveRunLine; changes refill the list.
  QHBoxLayout* BuildSearchAndListRow(QWidget* searchBox);
  virtual void ClearRunList() = 0;
  virtual bool RemoveRunLine(int row) = 0;
  // A radio button child of `box` named `namePattern` with %1 the `id`, in
  // `group` under `id` and at `row`, `column` of `grid`.
  static QRadioButton* AddRadio(QGroupBox* box, QGridLayout* grid, QButtonGroup* group, const char* namePattern, int id,
                                int row, int column);
  // The radio button of event kind `kind` in EventBox (KindGroup,
  // KindRadios), named "KindRadio<kind>".
  void AddKindRadio(QGridLayout* grid, int kind, int row, int column);
  // ChangePeriodButton and PeriodLabel, children of SearchBox, not yet
  // placed; the button calls ChangePeriod, then RefreshPeriodLabel.
  void BuildPeriodControls();
  virtual void ChangePeriod() = 0;
  virtual void RefreshPeriodLabel() = 0;
  // The checked object and kind into Options() where one is checked.
  void StoreChoices();
  // Disables the controls while `running`, shows "Abbruch" meanwhile.
  void SetRunning(bool running);
  // The captions of the frame in the current language: the title, the
  // search box, the step fields and list, "Zeitraum ändern...", "Abbruch",
  // "Schließen", "Abbrechen" and "Hilfe".
  void ApplyFrameLanguage();
  // Runs `run` with the controls disabled under a progress session titled
  // "Ereignis suchen" of `progressTotal` steps; the abort flag is cleared
  // before and after.
  void RunWithProgress(int progressTotal, const std::function<void()>& run);

  bool running_ = false;

 public:
  QGroupBox* ObjectBox = nullptr;
  QGroupBox* EventBox = nullptr;
  QGroupBox* SearchBox = nullptr;
  QButtonGroup* ObjectGroup = nullptr;
  QButtonGroup* KindGroup = nullptr;
  std::array<QRadioButton*, kEventKindCount> KindRadios{};  // null for kinds not offered
  QCheckBox* KeplerCheck = nullptr;
  QPushButton* ChangePeriodButton = nullptr;
  QLabel* PeriodLabel = nullptr;
  TSearchStepFields StepFields;
  TEventListParts ListParts;
  QListWidget* ListBox = nullptr;  // ListParts.ListBox
  QPushButton* SearchButton = nullptr;
  QPushButton* AbortButton = nullptr;
  QPushButton* CloseButton = nullptr;
  QPushButton* CancelButton = nullptr;
  QPushButton* HelpButton = nullptr;
};

// What both event search dialogs hold, differing only by type: the copies of
// the settings, the search context, the hooks to the main window and the run.
template <typename TSettings, typename THooks, typename TRun>
class TEventSearchDialogOf : public TEventSearchDialogBase {
 public:
  // The settings as the controls hold them (options from the radio buttons
  // and the last valid step and repetitions).
  TSettings Settings() const { return settings_; }
  const TRun& Run() const { return run_; }

 protected:
  TEventSearchDialogOf(const TSearchContext& context, TEventList& events, const TSettings& settings, THooks hooks,
                       QWidget* parent)
      : TEventSearchDialogBase(parent),
        settings_(settings),
        context_(context),
        hooks_(std::move(hooks)),
        run_(context_, events) {}

  TEventSearchOptions& Options() override { return settings_.Options; }
  void FillList() override { FillEventList(ListBox, run_.ListLines); }
  bool UsesAsteroidDatabase() const override { return settings_.AsteroidDatabase; }
  void ClearRunList() override { run_.ClearList(); }
  bool RemoveRunLine(int row) override { return run_.RemoveLine(row); }
  void ChangePeriod() override {
    if (hooks_.ChangePeriod) hooks_.ChangePeriod();
  }
  // Shows the period from the hooks while PeriodShown, else clears it.
  void RefreshPeriodLabel() override {
    ShowSearchPeriod(PeriodLabel, PeriodShown(), hooks_.PeriodStart, hooks_.PeriodEnd);
  }
  virtual bool PeriodShown() const { return true; }

  // Before a run: the checked choices into the options, the options and the
  // period from the hooks to the run.
  void PrepareRun() {
    StoreChoices();
    run_.Options = settings_.Options;
    if (hooks_.PeriodStart) run_.Period = hooks_.PeriodStart();
    if (hooks_.PeriodEnd) run_.End = hooks_.PeriodEnd();
  }
  // After a run: the step and repetitions it read (the fields show them) and
  // its lines into the list.
  void TakeRunResults() {
    settings_.Options.Step = run_.Options.Step;
    settings_.Options.Repetitions = run_.Options.Repetitions;
    FillList();
  }

  TSettings settings_;
  TSearchContext context_;
  THooks hooks_;
  TRun run_;
};

// The three kinds of a conjunction search as radio buttons in `box`, one
// below the other in a layout of their own: "Konjunktionen in RA" /
// "Conjunctions in RA", "Konjunktionen in Länge" / "Conjunctions in
// longitude", "Kleinster Winkelabstand" / "Smallest angular separation";
// ids 0..2, object names `namePattern` with %1 the id. The group is a child
// of `owner`.
QButtonGroup* AddConjunctionKindButtons(QGroupBox* box, QObject* owner, const char* namePattern);

}  // namespace kvx
