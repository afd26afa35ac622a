#include "events/almanac.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "core/moon_phases.h"
#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "eclipses/lunar_eclipse.h"
#include "eclipses/solar_eclipse.h"
#include "engine/cell_format.h"
#include "events/conjunction_event.h"
#include "events/conjunction_search.h"
#include "events/event_refinement.h"
#include "events/event_search.h"
#include "events/sample_caching_search.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "theories/planet_positions.h"
#include "theories/seasons.h"

namespace kvx {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// A solar eclipse search starts again this long after an eclipse (days).
constexpr double kSolarEclipseGap = 14.0;
// A lunar eclipse search starts again this long after an eclipse (days); the
// search looks back 10 days, so the eclipse found is not found again.
constexpr double kLunarEclipseGap = 20.0;
constexpr int kEclipseMagnitudeSlot = 181;
// Body samples the conjunction scans keep at most (about 3 kB each).
constexpr std::size_t kAlmanacCachedSamples = 20000;

bool Cancelled() { return AbortRequested.load() != 0; }

TTheorySelection RunSelection(const TSearchContext& context) {
  TTheorySelection selection = context.Selection;
  if (context.FastSearch != 0) selection.bytes[0] = kPlanetTheoryInternal;
  return selection;
}

// Pluto is searched only where its theory holds.
bool BodyUsable(const TAlmanacRequest& request, int body) {
  if (body != search_kind::kPluto) return true;
  const TTheorySelection selection = RunSelection(request.Context);
  return DateInTheoryRange(selection, request.Start.Centuries) && DateInTheoryRange(selection, request.End.Centuries);
}

// The Moon's node passages come from the series, not the engine.
bool NodesFromSeries(int body, int eventKind) { return body == search_kind::kMoon && eventKind == search_code::kNode; }

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string BodyName(int body) { return SearchBodyNames[static_cast<std::size_t>(body)]; }

// The part of the period before `mjd`, 0..1.
double PeriodDone(const TAlmanacRequest& request, double mjd) {
  return (mjd - request.Start.Mjd) / (request.End.Mjd - request.Start.Mjd);
}

void Report(const TSectionDone& done, double part) {
  if (done) done(part);
}

// The shares of the bar: a body's search of one kind, a pair's conjunction
// scan, a year of eclipse searches; seasons and phases cost next to nothing.
constexpr double kBodySearchShare = 1.0;
constexpr double kPairShare = 2.0;
constexpr double kSolarEclipseYearShare = 4.0;
constexpr double kLunarEclipseYearShare = 1.0;
constexpr double kCalendarShare = 0.1;

// The Moon's node passages of the period from the series.
void SearchNodePassages(const TAlmanacRequest& request, TEventList& events) {
  double k = FirstNodeCycle(request.Start.Mjd);
  TObserverRecord record = request.Start;
  for (int guard = 0; guard < 1000000 && !Cancelled(); ++guard) {
    k += 0.5;
    const double mjd = NodePassageTime(k, request.Context) - request.Start.DeltaTSeconds / kSecondsPerDay;
    if (!std::isfinite(mjd) || mjd > request.End.Mjd) break;
    if (mjd < request.Start.Mjd) continue;
    record.Mjd = mjd;
    AddAlmanacEvent(events, record, search_code::kNode, BodyName(search_kind::kMoon),
                    EventKindNames[search_code::kNode], EventMissingValueMarker(2), "");
  }
}

}  // namespace

bool AlmanacKindApplies(int body, int eventKind) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  return info != nullptr && body >= 0 && body < kAlmanacBodies && (info->AlmanacBodies & EventBodyBit(body)) != 0;
}

void SetAlmanacSearchStep(int body, int eventKind, const TEventSearchOptions& search, double& step,
                          std::int32_t& iterations) {
  step = EffectiveSearchStep(body, eventKind, search.Step);
  // The almanac steps the Moon's perigee, apogee and central meridian by two
  // days, where the single search takes one: the same events, in half the
  // evaluations.
  if (body == search_kind::kMoon && (eventKind == search_code::kPerigee || eventKind == search_code::kApogee ||
                                     eventKind == search_code::kCentralMeridianZero)) {
    step = 2;
  }
  iterations = SearchWindowLength(body, eventKind, search.Repetitions);
}

std::string PhaseNameText(int phase) {
  static const char* const german[4] = {" Neumond", " Erstes Viertel", " Vollmond", " Letztes Viertel"};
  static const char* const english[4] = {" Newmoon", " First quartier", " Full Moon", " Last quartier"};
  if (phase < 0 || phase > 3) return std::string();
  return ByLanguage(german[phase], english[phase]);
}

std::string PairNames(int body) {
  if (body == 10) return BodyName(search_kind::kMoon);
  if (body < 0 || body >= kAlmanacBodies) return std::string();
  return BodyName(body);
}

std::string EclipseLocalValuesText(double magnitude, double obscuration) {
  // The eclipse magnitude's number format (slot 181) for both.
  auto text = [](double v) {
    if (!std::isfinite(v)) return std::string("-");
    std::string formatted;
    FormatNumberForSlot(kEclipseMagnitudeSlot, formatted, v);
    return Trimmed(formatted);
  };
  return text(magnitude) + " (" + text(obscuration) + ")";
}

std::string EclipseLocalWords(std::uint8_t localKind, double magnitude, double obscuration,
                              const std::string& placeName) {
  static const char* const german[4] = {"unsichtbar in", "partiell", "ringförmig", "total"};
  static const char* const english[4] = {"invisible", "partial", "annular", "total"};
  const std::size_t k = localKind < 4 ? localKind : 0;
  const std::string word = ByLanguage(german[k], english[k]);
  return word + " " + (k == 0 ? placeName : EclipseLocalValuesText(magnitude, obscuration));
}

std::string AlmanacEventKey(double mjd) { return FixedPointText(MjdToJd(mjd), 5); }

void AddAlmanacEvent(TEventList& events, TObserverRecord observer, int entry, const std::string& objectText,
                     const std::string& eventText, double value, const std::string& unit) {
  if (!std::isfinite(observer.Mjd)) return;
  UTToLocalTime(observer);
  auto event = std::make_unique<talmanachevent>(
      AlmanacEventKey(observer.Mjd), objectText, eventText, static_cast<std::uint8_t>(entry), observer, observer.Mjd,
      value, EventMissingValueMarker(3), EventMissingValueMarker(4), EventMissingValueMarker(5),
      EventMissingValueMarker(6), EventMissingValueMarker(7), EventMissingValueMarker(8), EventMissingValueMarker(9),
      unit, "", "", 0);
  // One key for all: the list then keeps the events in order of instant,
  // equal instants in the order found.
  events.Add(std::string(), std::move(event));
}

void SearchAlmanacBodyEvents(const TAlmanacRequest& request, int body, int eventKind, tsuchobjekt& engine,
                             TEventList& events, const TSectionDone& done) {
  const bool today = request.Mode == TAlmanacMode::Today;
  if (NodesFromSeries(body, eventKind) && !today) {
    SearchNodePassages(request, events);
    return;
  }
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (info == nullptr) return;
  const bool difference = info->DifferenceToSun();
  double step = 0;
  std::int32_t iterations = 0;
  SetAlmanacSearchStep(body, eventKind, request.Search, step, iterations);
  TObserverRecord working = request.Start;
  const double endMjd = request.End.Mjd;
  TSearchLoopRequest search{.EventKind = eventKind,
                            .Body = body,
                            .SecondBody = search_kind::kSun,
                            .EndCheck = true,
                            .Bounded = true,
                            .BoundMjd = endMjd,
                            .Step = step,
                            .MaxSteps = iterations,
                            .EndMjd = endMjd};
  while (working.Mjd < endMjd && !Cancelled()) {
    Report(done, PeriodDone(request, working.Mjd));
    double time = 0, value = 0;
    bool found = false;
    try {
      search.Start = working;
      found = difference ? engine.schleife_2(search, time, value) : engine.schleife_1(search, time, value);
    } catch (const std::exception&) {
      // The almanac gives up this body and kind (its caller catches); the
      // overview loses only this window and goes on with the next.
      if (!today) throw;
      found = false;
    }
    if (!found || !std::isfinite(time)) {
      // A window without an event: the next one, up to the period end.
      const double next = working.Mjd + iterations * step;
      if (Cancelled() || !(next > working.Mjd)) break;
      working.Mjd = next;
      UTToLocalTime(working);
      continue;
    }
    if (!today && info->Refined()) {
      double refined = 0;
      if (RefineEventTime(eventKind, working, request.Context.Selection, refined, engine, body, time)) time = refined;
    }
    if (time > endMjd) break;
    const double shown = difference ? EventMissingValueMarker(2) : EventShownValue(eventKind, value);
    TObserverRecord at = working;
    at.Mjd = time;
    AddAlmanacEvent(events, at, eventKind, BodyName(body), EventKindNames[static_cast<std::size_t>(eventKind)],
                    std::isfinite(shown) ? shown : EventMissingValueMarker(2),
                    info->TableFormat[0] != '\0' ? EventUnitText(eventKind, body) : std::string());
    const double next = NextSearchStart(time, step);
    if (!(next > working.Mjd)) break;  // no progress: stop rather than loop
    working.Mjd = next;
    UTToLocalTime(working);
  }
}

void SearchAlmanacConjunctions(const TAlmanacRequest& request, tsuchobjekt& engine, TEventList& events,
                               TRunProgress* progress) {
  const bool today = request.Mode == TAlmanacMode::Today;
  const double endMjd = request.End.Mjd;
  auto* cache = dynamic_cast<TSampleCachingSearch*>(&engine);
  if (cache != nullptr) cache->KeptStep = kConjunctionFineStep;
  auto searched = [&](int i) { return (today || request.Options.Body(i)) && BodyUsable(request, i); };
  int pairs = 0, pairsDone = 0;
  for (int i = 0; i < kAlmanacBodies; ++i)
    for (int j = i + 1; j < kAlmanacBodies; ++j) pairs += searched(i) && searched(j) ? 1 : 0;
  for (int i = 0; i < kAlmanacBodies; ++i) {
    if (!searched(i)) continue;
    for (int j = i + 1; j < kAlmanacBodies; ++j) {
      if (!searched(j)) continue;
      if (progress != nullptr) {
        progress->Done(static_cast<double>(pairsDone) / pairs);
        progress->Label(ByLanguage("Konjunktionen: ", "Conjunctions: ") + PairNames(i).substr(0, 10) + "/" +
                        PairNames(j).substr(0, 10));
      }
      ++pairsDone;
      if (!today && Cancelled()) return;
      TConjunctionPair pair;
      pair.First = i;
      pair.Second = j;
      pair.FirstName = PairNames(i);
      pair.SecondName = PairNames(j);
      const bool moon = i == search_kind::kMoon || j == search_kind::kMoon;
      const std::int32_t window =
          moon ? LargerInt(request.Conjunction.Repetitions, kMoonWindowSteps) : request.Conjunction.Repetitions;
      TObserverRecord working = request.Start;
      // Right ascensions (or longitudes) of the pair, B = j less A = i.
      TSearchLoopRequest search{.Body = i,
                                .SecondBody = j,
                                .EndCheck = true,
                                .Ecliptic = request.Conjunction.InLongitude != 0,
                                .Bounded = true,
                                .BoundMjd = endMjd,
                                .Step = kConjunctionFineStep,
                                .MaxSteps = window,
                                .EndMjd = endMjd};
      // Until its first find a pair steps over the same instants as every
      // other pair: only those samples are worth keeping.
      if (cache != nullptr) cache->KeepNew = true;
      try {
        while (working.Mjd < endMjd && !Cancelled()) {
          if (progress != nullptr) progress->Done((pairsDone - 1 + PeriodDone(request, working.Mjd)) / pairs);
          double time = 0, separation = 0;
          search.Start = working;
          const bool found = engine.schleife_2(search, time, separation);
          if (!found || !std::isfinite(time) || !std::isfinite(separation)) {
            // A window without a conjunction does not end the pair: two
            // planets may meet only once in several windows.
            const double next = working.Mjd + window * kConjunctionFineStep;
            if (Cancelled() || !(next > working.Mjd)) break;
            working.Mjd = next;
            UTToLocalTime(working);
            continue;
          }
          if (time > endMjd) break;
          TObserverRecord at = working;
          at.Mjd = time;
          UTToLocalTime(at);
          std::unique_ptr<tEvent> made = MakeConjunctionEvent(engine, request.Context, at, pair, separation,
                                                              ConjunctionKindOf(request.Conjunction), nullptr);
          if (made) {
            auto event = std::make_unique<talmanachevent>(
                AlmanacEventKey(time), pair.FirstName, pair.SecondName,
                static_cast<std::uint8_t>(almanac_entry::kConjunction), at, time, separation, made->Value3,
                made->Value4, made->Value5, made->Value6, made->Value7, i > 11 ? -100.0 : made->Value8,
                j > 11 ? -100.0 : made->Value9, made->Text3, made->Text4, made->Text5, made->Flag2);
            events.Add(std::string(), std::move(event));
          }
          // Resume shortly after the find: the Moon meets a planet every
          // month.
          if (cache != nullptr) cache->KeepNew = false;
          working.Mjd = time + kAfterConjunctionDays;
          UTToLocalTime(working);
        }
      } catch (const std::exception&) {
        // This pair ends here; the run goes on with the next one.
      }
    }
  }
}

void SearchAlmanacSolarEclipses(const TAlmanacRequest& request, TEventList& events, const TSectionDone& done) {
  tSonnenfinsternis search;
  TObserverRecord from = request.Start;
  const std::string prefix = ByLanguage("Sonnenfinsternis, ", "Solar eclipse, ");
  for (int guard = 0; guard < 100000; ++guard) {
    if (request.Mode == TAlmanacMode::Almanac && Cancelled()) break;
    Report(done, PeriodDone(request, from.Mjd));
    std::uint8_t maxArt = 0;
    const double T = search.rechnen(request.Context, 1, maxArt, 8, 1, from, TEventStep{});
    if (search.Status != TEclipseSearchStatus::Found || search.ergebnisse.empty() || !std::isfinite(T)) break;
    const tfinsternisergebnis& last = search.ergebnisse.back();
    if (last.mjd > request.End.Mjd) break;
    if (last.mjd >= request.Start.Mjd) {
      TObserverRecord at = request.Start;
      at.Mjd = last.mjd;
      AddAlmanacEvent(events, at, almanac_entry::kSolarEclipse,
                      prefix + EclipseLocalWords(search.Local.Kind, search.Local.Magnitude, search.Local.Obscuration,
                                                 request.Start.PlaceName),
                      Trimmed(tSonnenfinsternis::get_phase_buffer(maxArt)), EventMissingValueMarker(2), "");
    }
    const double next = last.mjd + kSolarEclipseGap;
    if (!(next > from.Mjd)) break;
    from.Mjd = next;
    UTToLocalTime(from);
  }
}

void SearchAlmanacLunarEclipses(const TAlmanacRequest& request, TEventList& events, const TSectionDone& done) {
  TObserverRecord record = request.Start;
  for (int guard = 0; guard < 1000000; ++guard) {
    if (request.Mode == TAlmanacMode::Almanac && Cancelled()) break;
    Report(done, PeriodDone(request, record.Mjd));
    TLunarEclipseList list;
    double umbra = 0, penumbra = 0;
    const double from = record.Mjd;
    FindLunarEclipse(request.Context, list, record, false, umbra, penumbra);
    // The record now holds the eclipse's instant in UT: it is taken as it is.
    if (!std::isfinite(record.Mjd) || record.Mjd > request.End.Mjd) break;
    if (record.Mjd >= request.Start.Mjd) {
      AddAlmanacEvent(events, record, almanac_entry::kLunarEclipse, BodyName(search_kind::kMoon),
                      EventKindNames[almanac_entry::kLunarEclipse], EventMissingValueMarker(2), "");
    }
    const double next = record.Mjd + kLunarEclipseGap;
    if (!(next > from)) break;
    record.Mjd = next;
    UTToLocalTime(record);
  }
}

namespace {

// The beginnings of the four seasons as the almanac names them (March
// equinox to December solstice).
const char* AlmanacSeasonText(std::size_t season) {
  static constexpr const char* kGerman[4] = {"Frühlingsanfang", "Sommeranfang", "Herbstanfang", "Winteranfang"};
  static constexpr const char* kEnglish[4] = {"Spring equinox", "Summer solstice", "Fall equinox", "Winter solstice"};
  return LanguageEnglish != 0 ? kEnglish[season] : kGerman[season];
}

}  // namespace

void SearchAlmanacSeasons(const TAlmanacRequest& request, TEventList& events) {
  const TTheorySelection selection = RunSelection(request.Context);
  const TTruncationLevel level =
      request.Context.VsopLevelA < 0 ? kFullTheory : static_cast<TTruncationLevel>(request.Context.VsopLevelA);
  const double deltaT = request.Start.DeltaTSeconds / kSecondsPerDay;
  for (std::int32_t year = request.Start.Year; year <= request.End.Year; ++year) {
    if (request.Mode == TAlmanacMode::Almanac && Cancelled()) break;
    std::array<double, 4> starts{};
    SeasonStartsOfYear(request.Context.Settings, selection, year, 2, starts, level);
    for (std::size_t s = 0; s < 4; ++s) {
      TObserverRecord at = request.Start;
      at.Mjd = JdToMjd(starts[s]) - deltaT;
      AddAlmanacEvent(events, at, almanac_entry::kSeasons, "", AlmanacSeasonText(s), EventMissingValueMarker(2), "");
    }
  }
}

void SearchAlmanacMoonPhases(const TAlmanacRequest& request, TEventList& events) {
  using PhaseTime = void (*)(double&, double&, std::int32_t);
  static const PhaseTime phaseTimes[4] = {NewMoonTime, FirstQuarterTime, FullMoonTime, LastQuarterTime};
  const double offsetDays =
      (request.Start.Zone + request.Start.ZoneMinutes / 60.0 + request.Start.DaylightHours) / 24.0;
  const double deltaT = request.Start.DeltaTSeconds / kSecondsPerDay;
  const std::string moon = BodyName(search_kind::kMoon);
  // From the lunation before the start's to the one after the end's.
  const double startYear = 2000.0 + (MjdToJd(request.Start.Mjd) - 2451545.0) / 365.25;
  const double endYear = 2000.0 + (MjdToJd(request.End.Mjd) - 2451545.0) / 365.25;
  const double firstK = std::floor((startYear - 2000.0) * 12.3685) - 2;
  const double lastK = std::floor((endYear - 2000.0) * 12.3685) + 2;
  double year = startYear;
  for (double k = firstK; k <= lastK; k += 1.0) {
    if (request.Mode == TAlmanacMode::Almanac && Cancelled()) break;
    for (int p = 0; p < 4; ++p) {
      // LunationNumber(year) + offset = k.
      const double base = LunationNumber(year, 0.25 * p) - 0.25 * p;
      double jde = 0;
      phaseTimes[p](year, jde, static_cast<std::int32_t>(k - base));
      // Local time of the zone of the start record, then UT.
      const double local = jde + offsetDays - deltaT;
      TObserverRecord at = request.Start;
      at.Mjd = JdToMjd(local - offsetDays);
      AddAlmanacEvent(events, at, almanac_entry::kSeasons, moon, Trimmed(PhaseNameText(p)), EventMissingValueMarker(2),
                      "");
    }
  }
}

TAlmanacResult GenerateAlmanac(const TAlmanacRequest& request, TEventList& events) {
  if (!std::isfinite(request.Start.Mjd) || !std::isfinite(request.End.Mjd) || !(request.End.Mjd > request.Start.Mjd)) {
    return TAlmanacResult::BadPeriod;
  }
  const bool today = request.Mode == TAlmanacMode::Today;
  TSearchContext context = request.Context;
  context.Topocentric = request.Conjunction.Topocentric;
  TAlmanacRequest run = request;
  run.Context = context;
  // The body searches and the pairs that run, for the shares of the bar.
  std::vector<std::pair<int, int>> searches;
  int bodies = 0;
  for (int body = 0; body < kAlmanacBodies; ++body) {
    if (!request.Options.Body(body) || !BodyUsable(run, body)) continue;
    ++bodies;
    for (int eventKind = 0; eventKind < kEventKindCount; ++eventKind)
      if (request.Options.Kind(eventKind) && AlmanacKindApplies(body, eventKind))
        searches.emplace_back(body, eventKind);
  }
  const int pairBodies = today ? kAlmanacBodies : bodies;
  const double years = std::max((request.End.Mjd - request.Start.Mjd) / 365.25, 0.01);
  const TAlmanacOptions& o = request.Options;
  TRunProgress progress(
      ByLanguage("Almanach", "Almanac"),
      {kBodySearchShare * static_cast<double>(searches.size()), kPairShare * pairBodies * (pairBodies - 1) / 2,
       o.Section(almanac_section::kSolarEclipses) ? kSolarEclipseYearShare * years : 0.0,
       o.Section(almanac_section::kLunarEclipses) ? kLunarEclipseYearShare * years : 0.0,
       o.Section(almanac_section::kSeasons) ? kCalendarShare : 0.0,
       o.Section(almanac_section::kMoonPhases) ? kCalendarShare : 0.0});
  // The pairs' conjunction scans share their samples: room for every body
  // at every step of the period; a longer period keeps its first part.
  const double conjunctionSteps = (request.End.Mjd - request.Start.Mjd) / kConjunctionFineStep + 8;
  const std::size_t cacheSize =
      static_cast<std::size_t>(std::min(conjunctionSteps * kAlmanacBodies, static_cast<double>(kAlmanacCachedSamples)));
  TSampleCachingSearch engine(context, cacheSize, TSampleCachingSearch::WhenFull::Stop);
  engine.KeepNew = false;  // the body events: each body and kind has its own step
  bool cancelled = false;
  const auto sectionDone = [&progress](double part) { progress.Done(part); };
  // The label first: a cancel pressed while it is shown must be seen before
  // the engine clears the flag.
  const auto enter = [&](std::size_t pass, const std::string& label) {
    progress.Pass(pass, label);
    if (!today && Cancelled()) cancelled = true;
    return !cancelled;
  };
  auto section = [&](std::size_t pass, const char* german, const char* english, auto&& body) {
    if (cancelled || !enter(pass, ByLanguage(german, english))) return;
    try {
      body();
    } catch (const std::exception&) {
      // A section that fails ends; the others still run.
    }
    if (!today && Cancelled()) cancelled = true;
  };
  const std::string eventsWord = ByLanguage("Ereignisse: ", "Events: ");
  for (std::size_t k = 0; k < searches.size() && !cancelled; ++k) {
    const auto [body, eventKind] = searches[k];
    if (!enter(0, eventsWord + BodyName(body))) break;
    progress.Done(static_cast<double>(k) / searches.size());
    const TSectionDone done = [&](double part) { progress.Done((k + std::clamp(part, 0.0, 1.0)) / searches.size()); };
    try {
      SearchAlmanacBodyEvents(run, body, eventKind, engine, events, done);
    } catch (const std::exception&) {
      // This body and kind end here; the run goes on.
    }
  }
  section(1, "Konjunktionen", "Conjunctions", [&] {
    SearchAlmanacConjunctions(run, engine, events, &progress);
    engine.ClearCache();
  });
  if (o.Section(almanac_section::kSolarEclipses)) {
    section(2, "Sonnenfinsternisse", "Solar Eclipses", [&] { SearchAlmanacSolarEclipses(run, events, sectionDone); });
  }
  if (o.Section(almanac_section::kLunarEclipses)) {
    section(3, "Mondfinsternisse", "Lunar eclipses", [&] { SearchAlmanacLunarEclipses(run, events, sectionDone); });
  }
  if (o.Section(almanac_section::kSeasons)) {
    section(4, "Jahreszeiten", "Seasons", [&] { SearchAlmanacSeasons(run, events); });
  }
  if (o.Section(almanac_section::kMoonPhases)) {
    section(5, "Mondphasen", "Moon phases", [&] { SearchAlmanacMoonPhases(run, events); });
  }
  if (!cancelled) progress.Finish();
  AbortRequested = 0;
  return cancelled ? TAlmanacResult::Cancelled : TAlmanacResult::Done;
}

namespace {
void SetCenturies(TObserverRecord& r) {
  r.Centuries = (MjdToJd(r.Mjd) + r.DeltaTSeconds / kSecondsPerDay - 2451545.0) / 36525.0;
}
}  // namespace

void TodayPeriod(const TObserverRecord& mainStart, TObserverRecord& start, TObserverRecord& end) {
  start = mainStart;
  CurrentDateToRecord(start);
  start.LocalHours = 0;
  LocalTimeToUT(start);
  SetCenturies(start);
  end = start;
  end.Mjd = start.Mjd + 2.0;
  UTToLocalTime(end);
  SetCenturies(end);
}

TAlmanacResult GenerateTodayOverview(TAlmanacRequest request, TEventList& events) {
  request.Mode = TAlmanacMode::Today;
  return GenerateAlmanac(request, events);
}

}  // namespace kvx
