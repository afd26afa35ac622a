// TMultiObjectEventRun: the events of every asteroid or comet of a chosen
// range over the ephemeris period, collected silently into the event list
// (the run behind "Ereignisse für mehrere Objekte", without any window).
//
// Each object goes through the silent period run of the single-object
// search (TEventSearchRun): the working record starts at the period start,
// the options' step and repetitions, only events inside the period, the
// next window two steps past a find; an object is done when nothing more is
// found or the end is reached.
//
// Objects: the entries of the loaded asteroid (comet) element list within
// the chosen range, clamped to the list; or, for asteroids from the binary
// database, every chosen database file (the engine reads the element set
// nearest to each instant itself).
//
// Progress: the label shows the object's index, the bar
// trunc((i - first) / max(last - first, 1) * 100) per cent; the engine's own
// sample steps do not move it. A cancel ends the whole run, keeping what
// was found.
//
// Times: MJD of UT (records' Mjd).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/element_file_ranges.h"
#include "core/observer_record.h"
#include "engine/search_object.h"
#include "events/event_list.h"
#include "events/search_options.h"

namespace kvx {

// The most events one run lists (the rows a table holds).
inline constexpr int kMultiObjectEventLimit = 16382;

// How a run ended.
enum class TMultiObjectRunEnd {
  BadInput,      // no object kind, a bad step or repetitions, end before start
  Finished,      // every object searched
  Cancelled,     // the user cancelled; the events found stay
  LimitReached,  // the list is full (ShowRowLimitReached shown)
};

// The objects a run may search.
struct TMultiObjectSource {
  // Entries of the loaded element lists and their records.
  std::int32_t AsteroidCount = 0;
  std::int32_t CometCount = 0;
  std::function<TAsteroidElements(std::int32_t index)> AsteroidAt;
  std::function<TCometElements(std::int32_t index)> CometAt;
  // The chosen files of the asteroid database (full paths).
  std::vector<std::string> DatabaseFiles;
};

class TMultiObjectEventRun {
 public:
  TMultiObjectEventRun(const TSearchContext& context, TEventList& events);

  TEventSearchOptions Options;  // object code 10 or 11, event kind, step, repetitions
  TObserverRecord Period;       // start of the ephemeris period
  TObserverRecord End;          // end of the ephemeris period
  bool AsteroidDatabase = false;
  TElementFileRanges Ranges;
  TMultiObjectSource Source;
  int EventLimit = kMultiObjectEventLimit;

  // After a run: the list-box lines ("object/event date", each tied to its
  // event), the objects searched, the objects whose elements the engine
  // refused, and the database files that could not be read.
  TEventListLines ListLines;
  int ObjectsSearched = 0;
  int RefusedObjects = 0;
  int UnreadableObjects = 0;

  // The entries a run covers (clamped; empty when there is nothing).
  TClampedRange ObjectRange() const;

  // One "Suchen": `objectChosen` false gives "Bitte ein Objekt auswählen";
  // then the step and repetitions texts and the event choice are checked
  // (their messages, nothing run). Adds to the list and to ListLines.
  TMultiObjectRunEnd Run(bool objectChosen, const std::string& stepText, const std::string& repetitionsText,
                         bool eventChosen = true);

  void SetContext(const TSearchContext& context) { context_ = context; }

  // "Löschen" and "Entfernen".
  void ClearList();
  bool RemoveLine(int index);

 private:
  // Whether object `index` can be searched; counts and reports otherwise.
  bool ObjectUsable(std::int32_t index, double step, std::int32_t window, TAsteroidElements& asteroid,
                    TCometElements& comet, std::string& name, TSearchContext& context);

  TSearchContext context_;
  TEventList& events_;
  bool unreadableReported_ = false;
};

}  // namespace kvx
