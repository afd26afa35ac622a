// "Ereignis suchen" / "Find event": the dialog of the single-object event
// search (TExtremumsuchen). It copies the options in, lets the user choose
// the body and the event, runs TEventSearchRun on "Suchen" (each find
// through the event-found window), lists the finds, and hands the options
// and flags back unless cancelled.
//
// Modal results: 1 "Schließen", 2 cancel, 500 "Schließen und Datum
// weiterverwenden" (the caller takes the last event's record as its date).
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "events/event_search.h"
#include "events/ui/event_dialog_parts.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

inline constexpr int kEventDialogClose = kSearchDialogClose;
inline constexpr int kEventDialogCancel = kSearchDialogCancel;
inline constexpr int kEventDialogUseDate = 500;

// What the dialog needs of the main window.
struct TEventSearchHooks {
  // The ephemeris period (the main window's start and completed end
  // records), read again before each run and after "Zeitraum ändern...".
  std::function<TObserverRecord()> PeriodStart;
  std::function<TObserverRecord()> PeriodEnd;
  // "Zeitraum ändern...": the main window's period dialog.
  std::function<void()> ChangePeriod;
  // "Planetoid ändern": the asteroid from the database (true) or from an
  // element file; the current names are read again afterwards.
  std::function<void(bool database)> ChangeAsteroid;
  // The current asteroid (element files), database asteroid and comet:
  // names and elements.
  std::function<std::string()> AsteroidName;
  std::function<std::string()> DatabaseAsteroidName;
  std::function<std::string()> CometName;
  std::function<TAsteroidElements()> AsteroidElements;
  std::function<TCometElements()> CometElements;
  // The event-found window.
  TEventFoundAnswerer Answerer;
};

// The dialog's copies of the main window's settings.
struct TEventSearchSettings {
  TEventSearchOptions Options;
  bool ResultsIntoTable = false;
  bool UsePeriod = false;
  bool AsteroidDatabase = false;
};

class TExtremumsuchen : public TEventSearchDialogOf<TEventSearchSettings, TEventSearchHooks, TEventSearchRun> {
  Q_OBJECT

 public:
  TExtremumsuchen(const TSearchContext& context, TEventList& events, const TEventSearchSettings& settings,
                  const TObserverRecord& start, TEventSearchHooks hooks, QWidget* parent = nullptr);

  // The record "Schließen und Datum weiterverwenden" hands over: the last
  // event found.
  const TObserverRecord& HandOverRecord() const { return run_.Start; }

  // "Suchen": one run with the current choices (also for tests).
  void Search() override;
  // Captions in the current language, the enabling rules.
  void ApplyLanguage() override;
  void RefreshEnabling() override;

 private:
  void BuildObjectGroup(QGridLayout* layout);
  void BuildEventGroup(QGridLayout* layout);
  QWidget* BuildSearchBox();
  void ChooseObject(int body);
  void CheckPluto();
  bool PeriodShown() const override { return settings_.UsePeriod; }
  void RefreshAsteroidLabel();
  int CheckedObject() const;
  int CheckedKind() const;

 public:
  std::array<QRadioButton*, 12> ObjectRadios{};
  QLabel* AsteroidLabel = nullptr;
  QCheckBox* UsePeriodCheck = nullptr;
  QCheckBox* TableCheck = nullptr;
  QPushButton* ChangeAsteroidButton = nullptr;
  QPushButton* HandOverButton = nullptr;
};

// Frees the events of the list, runs the dialog on copies of the settings
// and, unless it was cancelled (2), copies them back. On 500 `handOver`
// receives the last event's record.
int ShowEventSearchDialog(TEventSearchSettings& settings, const TObserverRecord& start, const TSearchContext& context,
                          TEventList& events, const TEventSearchHooks& hooks, TObserverRecord& handOver,
                          QWidget* parent = nullptr);

}  // namespace kvx
