// The almanac: the events of a period gathered by one generator with two
// modes, the almanac of a chosen period and the overview of today.
//
// Sections, in this order: the events of each selected body (the event
// kinds, core/event_kinds.h), the conjunctions of every pair of selected
// bodies, solar and lunar eclipses, the seasons and the Moon's phases; the
// kind byte of each event is its event kind or the almanac's own entry
// (almanac_entry::k..., the phases under kSeasons). Each event is a
// talmanachevent whose AlmanacText is its Julian Date as text
// with 5 decimals ("2451545.12500"); the list orders the events by instant
// and keeps events of equal instant.
//
// Times: MJD of UT in the events; the seasons and phases come as JDE and
// lose Delta T of the period start.
//
// The overview differs from the almanac: no node series and no refinement,
// all pairs of the ten bodies, no cancel test between sections.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "core/observer_record.h"
#include "engine/search_object.h"
#include "events/almanac_options.h"
#include "events/event_list.h"
#include "events/search_options.h"
#include "platform/progress.h"

namespace kvx {

// Whether event kind `eventKind` applies to body `body` (0..9): the
// event-kind table's AlmanacBodies; false for an unknown kind.
bool AlmanacKindApplies(int body, int eventKind);
// Step (days) and steps per window of the search of one body and kind.
void SetAlmanacSearchStep(int body, int eventKind, const TEventSearchOptions& search, double& step,
                          std::int32_t& iterations);

// Texts.
std::string PhaseNameText(int phase);  // with its leading blank; phase 0..3
std::string PairNames(int body);       // body 0..9: its name; 10 the Moon
// Local kind 0..3 of a solar eclipse: its word and the place name (kind 0)
// or "<magnitude> (<obscuration>)".
std::string EclipseLocalWords(std::uint8_t localKind, double magnitude, double obscuration,
                              const std::string& placeName);
std::string EclipseLocalValuesText(double magnitude, double obscuration);
// The Julian Date of an MJD (UT) as 5-decimal text.
std::string AlmanacEventKey(double mjd);

enum class TAlmanacMode { Almanac, Today };

struct TAlmanacRequest {
  TAlmanacMode Mode = TAlmanacMode::Almanac;
  TObserverRecord Start, End;
  TAlmanacOptions Options;
  TEventSearchOptions Search;
  TConjunctionOptions Conjunction;
  TSearchContext Context;
};

// How a run ended.
enum class TAlmanacResult { Done, Cancelled, BadPeriod };

// Fills `events` (the events found so far stay on cancel). A period whose
// end is not after its start runs nothing (BadPeriod; the caller asks).
// Progress and cancel through the installed ProgressReporter and
// AbortRequested; the flag is cleared at the end. The progress is one bar
// over the whole run (TRunProgress), 0 to 100 %, its label naming the
// section ("Ereignisse: Mars", "Konjunktionen: Mars/Jupiter",
// "Sonnenfinsternisse", "Mondfinsternisse", "Jahreszeiten", "Mondphasen").
TAlmanacResult GenerateAlmanac(const TAlmanacRequest& request, TEventList& events);
// The overview: the same generator in today mode.
TAlmanacResult GenerateTodayOverview(TAlmanacRequest request, TEventList& events);

// The single sections (used by the generator; open for checks). `done`,
// when given, hears the part of the section done (0..1) as it goes on;
// `progress`, when given, shows the pair being searched.
using TSectionDone = std::function<void(double)>;
void SearchAlmanacBodyEvents(const TAlmanacRequest& request, int body, int eventKind, tsuchobjekt& engine,
                             TEventList& events, const TSectionDone& done = {});
void SearchAlmanacConjunctions(const TAlmanacRequest& request, tsuchobjekt& engine, TEventList& events,
                               TRunProgress* progress = nullptr);
void SearchAlmanacSolarEclipses(const TAlmanacRequest& request, TEventList& events, const TSectionDone& done = {});
void SearchAlmanacLunarEclipses(const TAlmanacRequest& request, TEventList& events, const TSectionDone& done = {});
void SearchAlmanacSeasons(const TAlmanacRequest& request, TEventList& events);
void SearchAlmanacMoonPhases(const TAlmanacRequest& request, TEventList& events);

// The overview's period: the main window's start record at today's date in
// its own zone (the clock seam's instant, CurrentDateToRecord), local 0 h
// (MJD and centuries recomputed), and the end two days later.
void TodayPeriod(const TObserverRecord& mainStart, TObserverRecord& start, TObserverRecord& end);

// Adds one almanac event at `observer.Mjd` (UT) with its local date;
// `entry` is its kind byte: an event kind or one of the almanac's own
// entries (almanac_entry).
void AddAlmanacEvent(TEventList& events, TObserverRecord observer, int entry, const std::string& objectText,
                     const std::string& eventText, double value, const std::string& unit);

}  // namespace kvx
