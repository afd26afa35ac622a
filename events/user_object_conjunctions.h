// Conjunction lists of user-catalogue objects: one chosen body (Sun, Mercury
// .. Pluto, Moon) against a range of user objects
// (TBodyUserObjectConjunctionRun, "Planeten und Sterne"), and every user
// object of a range against every asteroid or comet of an element list or of
// the asteroid-database selection (TUserObjectMinorBodyConjunctionRun,
// "Konjunktionen für Objektlisten").
//
// Both search each pair over the main window's period with the two-object
// search of the engine (tsuchobjekt::schleife_2 in right ascension or
// longitude, schleife_4 for the smallest separation), the user object first
// (kind 13) and the body second. Each conjunction closer than the separation
// limit that passes the visibility filter becomes a tEvent of the event list
// under "YYYY.MM.DD object/body" + the conjunction kind's abbreviation, and a
// line of the result list. An event is invalid (shown red, dropped) when its
// key repeats the pair's last listed one, when it lies at or before that
// event (a refinement near a stationary point slides back onto it) or
// outside the period. After every find, kept or too wide, the search resumes
// min(4 x step, k) days after the event, never before the window that found
// it began (k = 20 days, 10 more after each invalid event). A run stops at kConjunctionRowLimit events, or on cancel
// (AbortRequested, latched for the whole run); the events found stay.
//
// Every pair asks for the moving body's place at the same instants again:
// TSampleCachingSearch keeps each moving body's samples per instant for the
// run, so a user object's sample only costs its own reduction.
//
// Times: MJD of UT (records' Mjd). Separations in degrees, signed: positive
// when the user object lies north of the body. Magnitudes visual.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/element_file_ranges.h"
#include "core/observer_record.h"
#include "engine/search_object.h"
#include "events/conjunction_event.h"
#include "events/conjunction_search.h"
#include "events/event_list.h"
#include "events/sample_caching_search.h"
#include "events/search_options.h"

namespace kvx {

// Events a conjunction list holds at most.
inline constexpr int kConjunctionRowLimit = 16382;
// Days the search resumes after a find at most (k), and what each invalid
// event adds to it.
inline constexpr double kResumeDays = 20.0;
inline constexpr double kInvalidEventResumeDays = 10.0;
// The brightness pre-scan of an asteroid or comet: from the period start
// less kPrescanLeadDays in steps of kPrescanStepDays; the display every
// kPrescanDisplayEvery steps.
inline constexpr double kPrescanLeadDays = 4.0;
inline constexpr double kPrescanStepDays = 2.0;
inline constexpr int kPrescanDisplayEvery = 5;
// Pairs between two updates of the total progress.
inline constexpr int kPairDisplayEvery = 9;

// The key of a conjunction: the local date of `observer` as "YYYY.MM.DD",
// a space, the object's name, "/" and the body's name.
std::string UserConjunctionKey(const TObserverRecord& observer, const std::string& objectName,
                               const std::string& bodyName);
// The step (days) and window (steps) of a search with the chosen body: the
// Moon 0.3 days and at least 50 steps, any other body the typed step and the
// options' repetitions.
void BodySearchStep(int body, double typedStep, std::int32_t repetitions, double& step, std::int32_t& window);
// The chosen body for a search starting at `mjd`: Pluto (8) becomes Neptune
// (7) when the planet theory of `selection` has no Pluto at that date
// (`fastSearch`: the internal series decide); every other body stays.
int BodyForDate(int body, TTheorySelection selection, bool fastSearch, double mjd);

// What a run reports to its window while it goes on.
struct TUserConjunctionProgress {
  std::string ObjectText;  // "i/n" of the user objects
  int ObjectPosition = 0;  // the user-object bar
  std::string MinorText;   // the asteroid or comet: name and "k/n"
  int MinorPosition = 0;   // the asteroid/comet bar
  std::string TotalText;   // "done/total" pairs
  int TotalPercent = 0;    // the total bar, 0..100
};

// The state and the pair search both lists share.
class TUserConjunctionSearch {
 public:
  TUserConjunctionSearch(const TSearchContext& context, TEventList& events);
  virtual ~TUserConjunctionSearch() = default;

  TConjunctionOptions Options;
  double SeparationLimit = kMaxSeparationLimit;  // degrees
  TObserverRecord Start;                         // the period's start
  TObserverRecord End;                           // the period's end
  TVisibilityFilter Filter;
  TFileRange UserRange;  // the user-catalogue range (pair 1)
  int RowLimit = kConjunctionRowLimit;

  // Called after each find: the key (or the invalid-event text, `invalid`
  // set) and the events in the list.
  std::function<void(const std::string& text, bool invalid, int found)> OnStatus;
  std::function<void(const TUserConjunctionProgress&)> OnProgress;

  // After a run: the result list's lines, each tied to its event.
  TEventListLines ListLines;
  bool Cancelled = false;
  bool RowLimitReached = false;
  int InvalidEvents = 0;  // shown red and dropped
  std::int64_t PairsSearched = 0;

  TSearchContext& Context() { return context_; }
  const tuserlist* UserObjects() const { return context_.UserObjects; }
  // The user-catalogue range as it is searched.
  TClampedRange UserObjectRange() const;

  // "Löschen" and "Entfernen".
  void ClearList();
  bool RemoveLine(int index);

 protected:
  // Checks the typed step (its message on failure).
  static bool ReadStep(const std::string& text, double& step);
  // Begins a run: the flags and the key of the previous find cleared.
  void BeginRun();
  // One pair over the period; false when the run must end (cancel, row
  // limit).
  bool SearchPair(TSampleCachingSearch& engine, const TConjunctionPair& pair, double step, std::int32_t window);
  // Ends a run: the row-limit message when the list is full.
  void EndRun();
  bool Full() const { return events_.Count() >= RowLimit; }
  void Report(const TUserConjunctionProgress& progress) const {
    if (OnProgress) OnProgress(progress);
  }

  TSearchContext context_;
  TEventList& events_;
  std::string previousKey_;
};

// "Planeten und Sterne": Options.ChosenBody (0 Sun .. 8 Pluto, 9 Moon)
// against the user objects of UserRange at or brighter than
// Options.UserObjectMagnitudeLimit (fainter ones are skipped unsearched).
class TBodyUserObjectConjunctionRun : public TUserConjunctionSearch {
 public:
  using TUserConjunctionSearch::TUserConjunctionSearch;

  // "&Suchen": the typed step (0.25..25 days, its message and no search
  // otherwise). Returns the events added, -1 on a bad step.
  int Run(const std::string& stepText);
};

// One asteroid or comet of a list (or a file of the asteroid database).
struct TMinorBodyEntry {
  std::string Name;
  TAsteroidElements Asteroid{};
  TCometElements Comet{};
  std::string DatabaseFile;  // database mode: the object's file
};

// "Konjunktionen für Objektlisten": the user objects of UserRange against
// each asteroid or comet of MinorRange (or of the database selection) that
// gets at least as bright as Options.MinorBodyMagnitudeLimit in the period.
class TUserObjectMinorBodyConjunctionRun : public TUserConjunctionSearch {
 public:
  enum class Source { Asteroids = 0, Comets = 1, Database = 2 };
  using TUserConjunctionSearch::TUserConjunctionSearch;

  Source From = Source::Asteroids;
  TFileRange MinorRange;        // pair 2 or 3 (not used in database mode)
  std::int32_t MinorCount = 0;  // entries of the element list, or of the selection
  std::function<bool(std::int32_t index, TMinorBodyEntry& entry)> MinorAt;

  // Counts of the last run.
  int PrescanPassed = 0;
  int SkippedInvalid = 0;     // elements the engine refuses
  int SkippedUnreadable = 0;  // database files that cannot be read

  // Results of Run besides the number of events.
  static constexpr int kBadStep = -1;
  static constexpr int kNoSelection = -2;  // database mode without a selection

  int Run(const std::string& stepText);

  // The brightness pre-scan of one object (body 10 or 11, its elements in
  // the engine): true at the first sample at or below the limit. The
  // engine computes the magnitude alone, with the observer records the
  // run's searches share.
  bool Prescan(tsuchobjekt& engine, int body);

 private:
  // The observer records completed by the searches of the run's objects.
  TCompletionStore completions_;
};

}  // namespace kvx
