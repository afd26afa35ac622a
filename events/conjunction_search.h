// TConjunctionSearchRun: the conjunction search of two objects and the
// separation table (the state and the runs behind "Konjunktionen suchen" and
// "Winkelabstände berechnen"), without any window.
//
// Mode 0 steps the search engine (tsuchobjekt) from the working record over
// windows of steps and reports each conjunction closer than the separation
// limit through a callback (the event-found dialog in the program, a
// scripted answerer in tests); with results into a table the finds that
// pass the visibility filter are collected into the event list. In period
// mode with a table the run is silent and stops at the end of the period.
//
// Mode 1 writes one event per table step from the period's start to its end
// (at most kSeparationTableRows rows), without the filter.
//
// Times: MJD of UT (records' Mjd). Separations in degrees, signed: positive
// when the first object lies north of the second.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/observer_record.h"
#include "engine/search_object.h"
#include "events/conjunction_event.h"
#include "events/event_list.h"
#include "events/event_search.h"
#include "events/search_options.h"

namespace kvx {

// Step (days) of every window with the Moon, and of the first window after
// the start or after a find.
inline constexpr double kConjunctionFineStep = 0.3;
// Steps per window at least with the Moon.
inline constexpr std::int32_t kMoonWindowSteps = 50;
// Days the search moves on after a conjunction (4 fine steps).
inline constexpr double kAfterConjunctionDays = 4 * kConjunctionFineStep;
// Separation limit of the dialog's edit, degrees: above the lower bound, at
// most the upper one.
inline constexpr double kMinSeparationLimit = 0.01;
inline constexpr double kMaxSeparationLimit = 40.0;
// Rows of a separation table at most.
inline constexpr int kSeparationTableRows = 16382;

// The event-found dialog of a conjunction: title line ("Konjunktion zwischen
// " + first), second line ("und " + second), date and hour (or "Keine
// Konjunktion gefunden"), the separation text and the first name with its
// north/south word; returns an answer of events/event_search.h.
struct TConjunctionFoundTexts {
  std::string Title;
  std::string Second;
  std::string When;
  std::string Separation;
  std::string NorthSouth;
};
using TConjunctionAnswerer = std::function<int(const TConjunctionFoundTexts& texts)>;

// The separation limit the dialog shows: a limit outside (0.01, 40] (the
// first start's 360, a value that is no number) becomes 40.
double ValidSeparationLimit(double limit);
// The star number the dialog uses with a catalogue of `count` stars: below
// 1 or past the end the last entry; 0 without a catalogue.
std::int32_t ValidStarNumber(std::int32_t number, std::int32_t count);
// The object name of body kind `kind` (0..13) with the names of the chosen
// asteroid, comet, star and user object.
std::string ConjunctionObjectName(int kind, const std::string& asteroid, const std::string& comet,
                                  const std::string& star, const std::string& userObject);
// Rows of a separation table from `startMjd` to `endMjd` with `step` days:
// (end - start) / step + 1, at most 16383, 1 when that gives 0; 0 for a
// step that is not positive or not a number.
int SeparationTableRows(double startMjd, double endMjd, double step);
// The table step actually used: a step of at most one second gets half a
// second added.
double SeparationTableStep(double step);

class TConjunctionSearchRun {
 public:
  TConjunctionSearchRun(const TSearchContext& context, TEventList& events);

  // Dialog state.
  TConjunctionOptions Options;
  double SeparationLimit = kMaxSeparationLimit;  // degrees
  TObserverRecord Start;                         // the search starts here (outside period mode)
  TObserverRecord Period;                        // start of the ephemeris period (period mode, mode 1)
  TObserverRecord End;                           // end of the ephemeris period
  bool ResultsIntoTable = false;
  bool UsePeriod = false;
  TAsteroidElements Asteroid{};
  TCometElements Comet{};
  std::string AsteroidName, CometName, StarName, UserObjectName;
  std::int32_t StarNumber = 1;
  std::int32_t UserObjectNumber = 1;
  TVisibilityFilter Filter;
  TConjunctionAnswerer Answerer;
  double TableStep = 1;  // days, mode 1
  // Set by the stop button (mode 1); the run polls it after each row.
  bool StopRequested = false;

  // After a run: the working record, the last conjunction (its record),
  // and the lines of the list box, each tied to its event.
  TObserverRecord Working;
  bool HasLastEvent = false;
  TObserverRecord LastEvent;
  TEventListLines ListLines;
  // The step (days) and window (steps) of each engine call of the last
  // mode-0 run, in order.
  std::vector<std::pair<double, std::int32_t>> Windows;

  // Set when the last run ended on "Datum weiterverwenden": Start is then
  // that conjunction's instant.
  bool DateTaken = false;
  // "Schließen und Datum weiterverwenden" hands Start over, only after such
  // a run and never in period mode.
  bool CanHandOverDate() const { return DateTaken && !UsePeriod; }
  // The engine's context (the dialog installs the star catalogue it loads).
  TSearchContext& Context() { return context_; }
  // The pair as the options name it.
  TConjunctionPair Pair() const;

  // One "Suchen" (mode 0): checks the objects, repetitions and step (their
  // messages, nothing run on failure), then searches. Returns the last
  // answer (2 or 500), 0 when the run ended by itself, -1 on bad input.
  int Run(const std::string& stepText, const std::string& repetitionsText);
  // One "Berechnen" (mode 1): the rows written, or -1 on a bad table step
  // or period (a message shown, nothing written).
  int RunTable();

  // "Löschen" and "Entfernen".
  void ClearList();
  bool RemoveLine(int index);

 private:
  // Both objects of the request have a place at Working (the engine's
  // separation there is a number): otherwise every window of the run would
  // be refused again. Else the message, and false.
  bool PlacesAtWorking(tsuchobjekt& engine, const TSearchLoopRequest& request);
  int RunEngine();
  // Reports one find (or the abort) to the answerer; returns the answer.
  int Report(bool found, bool aborted, double separation);
  void Collect(double separation, const TVisibilityFilter* filter, tsuchobjekt& engine);

  TSearchContext context_;
  TEventList& events_;
};

}  // namespace kvx
