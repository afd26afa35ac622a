#include "events/conjunction_search.h"

#include <algorithm>
#include <cmath>

#include "core/conjunction_kinds.h"
#include "core/input_checks.h"
#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "core/vector_math.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"

namespace kvx {

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr int kSeparationRowsClamp = 16383;

bool ShowNoPlace() {
  ShowMessage("Für die gewählten Objekte kann zu diesem Zeitpunkt keine Position berechnet werden.",
              "No position can be computed for the chosen objects at this time.", MessageIcon::Error);
  return false;
}

}  // namespace

double ValidSeparationLimit(double limit) {
  return std::isfinite(limit) && limit > kMinSeparationLimit && limit <= kMaxSeparationLimit ? limit
                                                                                             : kMaxSeparationLimit;
}

std::int32_t ValidStarNumber(std::int32_t number, std::int32_t count) {
  if (count <= 0) return 0;
  return number < 1 || number > count ? count : number;
}

std::string ConjunctionObjectName(int kind, const std::string& asteroid, const std::string& comet,
                                  const std::string& star, const std::string& userObject) {
  switch (kind) {
    case search_kind::kAsteroid:
      return asteroid;
    case search_kind::kComet:
      return comet;
    case search_kind::kStar:
      return star;
    case search_kind::kUserObject:
      return userObject;
    default:
      return kind >= 0 && kind <= search_kind::kMoon ? SearchBodyNames[static_cast<std::size_t>(kind)] : std::string();
  }
}

int SeparationTableRows(double startMjd, double endMjd, double step) {
  if (!std::isfinite(step) || step <= 0 || !std::isfinite(startMjd) || !std::isfinite(endMjd)) return 0;
  const double rows = (endMjd - startMjd) / step + 1;
  if (!(rows >= 1)) return 1;
  return rows >= kSeparationRowsClamp ? kSeparationRowsClamp : static_cast<int>(rows);
}

double SeparationTableStep(double step) { return step <= kSecond ? step + 0.5 * kSecond : step; }

TConjunctionSearchRun::TConjunctionSearchRun(const TSearchContext& context, TEventList& events)
    : context_(context), events_(events) {}

TConjunctionPair TConjunctionSearchRun::Pair() const {
  TConjunctionPair pair;
  pair.First = Options.FirstObject;
  pair.Second = Options.SecondObject;
  pair.StarNumber = StarNumber;
  pair.UserObjectNumber = UserObjectNumber;
  pair.Asteroid = Asteroid;
  pair.Comet = Comet;
  pair.FirstName = ConjunctionObjectName(pair.First, AsteroidName, CometName, StarName, UserObjectName);
  pair.SecondName = ConjunctionObjectName(pair.Second, AsteroidName, CometName, StarName, UserObjectName);
  return pair;
}

void TConjunctionSearchRun::ClearList() {
  events_.Clear();
  ListLines.clear();
}

bool TConjunctionSearchRun::RemoveLine(int index) { return RemoveListedEvent(events_, ListLines, index); }

int TConjunctionSearchRun::Run(const std::string& stepText, const std::string& repetitionsText) {
  Working = UsePeriod ? Period : Start;
  Windows.clear();
  const bool distinct = Options.FirstObject != Options.SecondObject;
  if (!SearchRunInputsUsable(distinct, true, repetitionsText, stepText, Options.Step, Options.Repetitions, UsePeriod,
                             Period.Mjd, End.Mjd)) {
    return -1;
  }
  AbortRequested = 0;
  const int answer = RunEngine();
  AbortRequested = 0;
  DateTaken = answer == kEventAnswerUseDate;
  if (DateTaken) Start = LastEvent;
  return answer;
}

void TConjunctionSearchRun::Collect(double separation, const TVisibilityFilter* filter, tsuchobjekt& engine) {
  std::unique_ptr<tEvent> event =
      MakeConjunctionEvent(engine, context_, Working, Pair(), separation, ConjunctionKindOf(Options), filter);
  if (!event) return;
  const tEvent* added = event.get();
  const std::string line = ConjunctionListLine(*event);
  const std::string key = event->SecondName();
  events_.Add(key, std::move(event));
  ListLines.emplace_back(line, added);
}

int TConjunctionSearchRun::Report(bool found, bool aborted, double separation) {
  if (!found && !aborted) return kEventAnswerSearchOn;
  const TConjunctionPair pair = Pair();
  TConjunctionFoundTexts texts;
  texts.Title = ByLanguage("Konjunktion zwischen ", "Conjunction between ") + pair.FirstName;
  texts.Second = ByLanguage("und ", "and ") + pair.SecondName;
  texts.When = ByLanguage("Keine Konjunktion gefunden", "No conjunction found");
  if (found) {
    texts.When = EventDateHourText(Working);
    texts.Separation = SeparationText(separation);
    texts.NorthSouth = pair.FirstName + NorthSouthText(separation);
  }
  const int answer = Answerer ? Answerer(texts) : kEventAnswerStop;
  AbortRequested = 0;
  return answer;
}

bool TConjunctionSearchRun::PlacesAtWorking(tsuchobjekt& engine, const TSearchLoopRequest& request) {
  double separation = 0;
  return engine.schleife_3(request, Working, separation) || ShowNoPlace();
}

int TConjunctionSearchRun::RunEngine() {
  const TConjunctionPair pair = Pair();
  const int first = pair.First, second = pair.Second;
  tsuchobjekt engine(context_);
  // Both objects must have a place at the start: otherwise every window
  // would be refused again.
  // B = second less A = first, in right ascension (or longitude), or their
  // separation.
  TSearchLoopRequest request{.Body = first,
                             .SecondBody = second,
                             .StarIndex = StarNumber,
                             .UserIndex = UserObjectNumber,
                             .DateCheck = true,
                             .EndCheck = UsePeriod,
                             .Ecliptic = Options.InLongitude != 0,
                             .Bounded = UsePeriod,
                             .BoundMjd = End.Mjd,
                             .Limit = SeparationLimit,
                             .EndMjd = End.Mjd,
                             .Asteroid = &Asteroid,
                             .Comet = &Comet};
  if (!PlacesAtWorking(engine, request)) return -1;
  const bool moon = first == search_kind::kMoon || second == search_kind::kMoon;
  const bool silent = ResultsIntoTable && UsePeriod;
  const bool smallest = Options.SmallestSeparation != 0;
  bool fineWindow = true;  // the first window after the start or a conjunction
  for (;;) {
    if (UsePeriod && Working.Mjd >= End.Mjd) break;
    if (!std::isfinite(Working.Mjd) || Working.Mjd > kSearchMjdLimit) break;
    const double step = moon || fineWindow ? kConjunctionFineStep : Options.Step;
    const std::int32_t window = moon ? LargerInt(Options.Repetitions, kMoonWindowSteps) : Options.Repetitions;
    Windows.emplace_back(step, window);
    double time = 0, separation = 0;
    bool found = false;
    request.Start = Working;
    request.Step = step;
    request.MaxSteps = window;
    found = smallest ? engine.schleife_4(request, time, separation) : engine.schleife_2(request, time, separation);
    const bool aborted = AbortRequested != 0;
    if (found && (!std::isfinite(time) || !std::isfinite(separation))) found = false;
    if (found && UsePeriod && time > End.Mjd) found = false;
    // A conjunction wider than the limit is passed over like a kept one.
    const bool close = found && std::fabs(separation) < SeparationLimit;
    if (found) {
      Working.Mjd = time;
      UTToLocalTime(Working);
    }
    if (close) {
      HasLastEvent = true;
      LastEvent = Working;
      if (ResultsIntoTable) Collect(separation, &Filter, engine);
    }
    if (silent) {
      if (aborted) break;
    } else if (close || aborted) {
      const int answer = Report(close, aborted, separation);
      if (answer == kEventAnswerStop || answer == kEventAnswerUseDate) return answer;
    }
    if (found) {
      fineWindow = true;
      Working.Mjd = time + kAfterConjunctionDays;
    } else {
      // A window without a conjunction: the next one (the period's end
      // stops the loop at its top).
      fineWindow = false;
      Working.Mjd += window * step;
    }
    UTToLocalTime(Working);
  }
  if (UsePeriod && ResultsIntoTable && events_.Empty()) ShowNoEventFound();
  return 0;
}

int TConjunctionSearchRun::RunTable() {
  if (!std::isfinite(TableStep) || TableStep <= 0) {
    ShowMessage("Die Schrittweite der Tabelle muss größer als 0 sein.", "The table step must be greater than 0.",
                MessageIcon::Error);
    return -1;
  }
  if (!std::isfinite(Period.Mjd) || !std::isfinite(End.Mjd)) {
    ShowMessage("Ungültiger Zeitraum.", "Invalid period.", MessageIcon::Error);
    return -1;
  }
  const double step = SeparationTableStep(TableStep);
  const int rows = SeparationTableRows(Period.Mjd, End.Mjd, step);
  const TConjunctionPair pair = Pair();
  tsuchobjekt engine(context_);
  Working = Period;
  UTToLocalTime(Working);
  const TSearchLoopRequest request{.Body = pair.First,
                                   .SecondBody = pair.Second,
                                   .StarIndex = StarNumber,
                                   .UserIndex = UserObjectNumber,
                                   .Asteroid = &Asteroid,
                                   .Comet = &Comet};
  if (!PlacesAtWorking(engine, request)) return -1;
  StopRequested = false;
  AbortRequested = 0;
  const int kind = ConjunctionKindOf(Options);
  ProgressSession session(CurrentProgress(), ByLanguage("Winkelabstände", "Angular separation"), rows);
  int written = 0;
  for (int row = 0; row < kSeparationTableRows; ++row) {
    Working = Period;
    Working.Mjd = Period.Mjd + row * step;
    // A millisecond of slack keeps the last row that rounding puts just past the end.
    if (row > 0 && Working.Mjd > End.Mjd + 1e-8) break;
    UTToLocalTime(Working);
    // One observation gives the separation (as schleife_3 takes it) and the
    // event's values.
    const TConjunctionScene scene = ObserveConjunctionPair(engine, context_, Working, pair);
    const double separation = SceneSeparation(scene);
    if (std::isfinite(separation)) {
      std::unique_ptr<tEvent> event = MakeConjunctionEvent(scene, Working, pair, separation, kind, nullptr);
      const tEvent* added = event.get();
      std::string line = ConjunctionListLine(*event);
      events_.Add(pair.SecondName, std::move(event));
      ListLines.emplace_back(std::move(line), added);
      ++written;
    }
    session.Reporter().Step(row + 1);
    session.Reporter().ProcessEvents();
    if (StopRequested || AbortRequested != 0) break;
  }
  AbortRequested = 0;
  return written;
}

}  // namespace kvx
