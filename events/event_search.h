// TEventSearchRun: the search for the events of one body (the state and the
// run behind the "Ereignis suchen" dialog), without any window.
//
// A run steps the search engine (tsuchobjekt) from the working record over
// windows of `repetitions` steps, refines conjunction-like events and node
// passages by the sign-change search, reports each find through a callback
// (the event-found dialog in the program, a scripted answerer in tests) and
// collects finds into the event list when results go into a table. In period
// mode with a table the run is silent and stops at the end of the period.
//
// Times: MJD of UT (records' Mjd); the node series gives TT and is reduced
// by the working record's Delta T.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/observer_record.h"
#include "engine/search_object.h"
#include "events/event_list.h"
#include "events/search_options.h"

namespace kvx {

// Answers of the event-found dialog.
inline constexpr int kEventAnswerSearchOn = 4;
inline constexpr int kEventAnswerStop = 2;
inline constexpr int kEventAnswerUseDate = 500;

// The event-found dialog: event name, object name, date and hour, value
// text; returns one of the answers above.
using TEventFoundAnswerer = std::function<int(const std::string& eventName, const std::string& objectName,
                                              const std::string& dateTimeText, const std::string& valueText)>;

// The step (days) a run uses: Mercury always 10 days, the Sun's central
// meridian 2 days, the Moon 1, 2 or 4 days by kind; otherwise `step`.
double EffectiveSearchStep(int objectCode, int kind, double step);
// Steps per window: 100 for the Moon's latitude extremes and node passages.
std::int32_t SearchWindowLength(int objectCode, int kind, std::int32_t repetitions);
// The unit of a found event as the result table shows it: "AE"/"AU", the
// Moon's distances "RD", "mag", "°", or empty.
std::string EventUnitText(int kind, int objectCode);
// Where a run goes on after an event at `eventMjd`: two steps later, so the
// next window's first sample lies past the event and it cannot be found
// again, while an event closer than five steps is not skipped.
double NextSearchStart(double eventMjd, double step);
// The local date and the hour rounded to a whole number, "<date> <h>h"; an
// hour rounding up to 24 carries to 0h of the next date.
std::string EventDateHourText(const TObserverRecord& record);

class TEventSearchRun {
 public:
  TEventSearchRun(const TSearchContext& context, TEventList& events);

  // Dialog state.
  TEventSearchOptions Options;
  TObserverRecord Start;   // the search starts here (outside period mode)
  TObserverRecord Period;  // start of the ephemeris period (period mode)
  TObserverRecord End;     // end of the ephemeris period
  bool ResultsIntoTable = false;
  bool UsePeriod = false;
  TAsteroidElements Asteroid{};
  TCometElements Comet{};
  std::string AsteroidName, CometName;
  TEventFoundAnswerer Answerer;
  // Settings of the searches over many objects: the engine's date check,
  // the closing message of an empty period run, and a limit of the list
  // (0: none) at which a silent period run stops.
  bool DateCheck = true;
  bool ReportNoEvent = true;
  int EventLimit = 0;
  // Makes the engine of a run (the runs over many objects share the Sun's
  // samples through their own engine); a plain tsuchobjekt when not set.
  std::function<std::unique_ptr<tsuchobjekt>(const TSearchContext&)> MakeEngine;

  // After a run: the working record, the last event found (its record), and
  // the lines of the list box, each tied to its event.
  TObserverRecord Working;
  bool HasLastEvent = false;
  TObserverRecord LastEvent;
  TEventListLines ListLines;
  // How the last silent period run ended: by a cancel, or at EventLimit.
  bool Aborted = false;
  bool LimitReached = false;

  // Set when the last run ended on "Datum weiterverwenden": Start is then
  // that event's instant.
  bool DateTaken = false;

  // "Schließen und Datum weiterverwenden" is offered only after a run that
  // ended on "Datum weiterverwenden", never in period mode; it hands Start.
  bool CanHandOverDate() const { return DateTaken && !UsePeriod; }

  // One "Suchen": checks the step and repetitions texts (their messages,
  // nothing run on failure), then searches. Returns the last answer (2 or
  // 500), 0 when the run ended by itself (period mode), -1 on bad input.
  int Run(const std::string& stepText, const std::string& repetitionsText, bool eventChosen = true);

  // The main window's values a run passes on (read again before each run).
  void SetContext(const TSearchContext& context) { context_ = context; }

  // "Löschen" and "Entfernen".
  void ClearList();
  bool RemoveLine(int index);

 private:
  int RunEngine();
  int RunNodePassages();
  // Reports one event at the working record; returns the answer (4 to go on).
  int Report(bool found, bool aborted, double value, int kind);
  std::string ObjectName() const;

  TSearchContext context_;
  TEventList& events_;
  double step_ = 15;
  std::int32_t window_ = 300;
};

}  // namespace kvx
