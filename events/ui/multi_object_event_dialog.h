// "Ereignis suchen" / "Find event" for several objects (TExtremumlistsuchen):
// every asteroid or comet of a chosen range, or every chosen file of the
// asteroid database, searched over the ephemeris period for one kind of
// event by TMultiObjectEventRun; the finds go silently into the main
// window's event list and the list box.
//
// Modal results: 1 "Schließen", 2 cancel. Options, ranges and the
// database flag go back to the caller unless cancelled.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "events/multi_object_event_run.h"
#include "events/ui/event_dialog_parts.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

inline constexpr int kMultiEventDialogClose = kSearchDialogClose;
inline constexpr int kMultiEventDialogCancel = kSearchDialogCancel;

// What the dialog needs of the main window.
struct TMultiObjectEventHooks {
  // The ephemeris period, read again before each run and after
  // "Zeitraum ändern...".
  std::function<TObserverRecord()> PeriodStart;
  std::function<TObserverRecord()> PeriodEnd;
  std::function<void()> ChangePeriod;
  // Loads the element files the element forms name into lists that hold
  // no loaded file yet.
  std::function<void()> LoadElementLists;
  // The loaded element lists: their names in list order and their records.
  std::function<std::vector<std::string>()> AsteroidNames;
  std::function<std::vector<std::string>()> CometNames;
  std::function<TAsteroidElements(std::int32_t)> AsteroidAt;
  std::function<TCometElements(std::int32_t)> CometAt;
  // The main window's chosen database files, and their choice (true on OK).
  std::function<std::vector<std::string>()> DatabaseFiles;
  std::function<bool()> SelectDatabaseAsteroids;
  // "Dateibereich wählen" on a list of names: first and last, 0-based, in
  // and out; true on OK.
  std::function<bool(std::int32_t& first, std::int32_t& last, const std::vector<std::string>& names)> SelectRange;
};

// The dialog's copies of the main window's settings.
struct TMultiObjectEventSettings {
  TEventSearchOptions Options;
  TElementFileRanges Ranges;
  bool AsteroidDatabase = false;
};

class TExtremumlistsuchen
    : public TEventSearchDialogOf<TMultiObjectEventSettings, TMultiObjectEventHooks, TMultiObjectEventRun> {
  Q_OBJECT

 public:
  TExtremumlistsuchen(const TSearchContext& context, TEventList& events, const TMultiObjectEventSettings& settings,
                      TMultiObjectEventHooks hooks, QWidget* parent = nullptr);

  // The event limit of the runs (tests inject a small one).
  void SetEventLimit(int limit) { run_.EventLimit = limit; }

  // "Suchen": one run with the current choices (also for tests).
  void Search() override;
  // "Auswählen" beside the asteroids (true) or the comets.
  void SelectObjects(bool asteroids);
  void ApplyLanguage() override;
  void RefreshEnabling() override;

 protected:
  // The element files the element forms name are loaded first.
  void PrepareShowing() override;

 private:
  QWidget* BuildObjectBox();
  QWidget* BuildEventBox();
  QWidget* BuildSearchBox();
  void RefreshRangeLabels();
  void SetDatabase(bool database);
  std::vector<std::string> DatabaseFiles() const;

 public:
  QRadioButton* AsteroidRadio = nullptr;
  QRadioButton* CometRadio = nullptr;
  QPushButton* AsteroidSelectButton = nullptr;
  QPushButton* CometSelectButton = nullptr;
  QLabel* AsteroidRangeLabel = nullptr;
  QLabel* CometRangeLabel = nullptr;
};

// The event kinds the dialog offers: 0..7, 10, 11, 14..17.
bool MultiObjectEventKindOffered(int kind);

// Frees the events of the list, runs the dialog on copies of the settings
// and, unless it was cancelled (2), copies them back. Returns 1 or 2.
int ShowMultiObjectEventSearch(TMultiObjectEventSettings& settings, const TSearchContext& context, TEventList& events,
                               const TMultiObjectEventHooks& hooks, QWidget* parent = nullptr);

}  // namespace kvx
