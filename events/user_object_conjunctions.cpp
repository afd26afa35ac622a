#include "events/user_object_conjunctions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

#include "core/frames.h"
#include "core/input_checks.h"
#include "core/name_tables.h"
#include "core/records.h"
#include "core/sun_longitude.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/user_object.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "theories/planet_positions.h"

namespace kvx {

namespace {

// Answers every box without showing it.
class QuietSink : public MessageSink {
 public:
  MessageResult Show(const std::string&, const std::string&, MessageIcon, MessageButtons buttons) override {
    return DefaultMessageReply(buttons);
  }
};

// Every pair starts at the period start and steps by the same amount: the
// body's samples on that grid serve all pairs and are kept first; the finer
// passes around a find are each pair's own and are not kept.
class TCoarseStepEngine : public TSampleCachingSearch {
 public:
  TCoarseStepEngine(const TSearchContext& context, double step)
      : TSampleCachingSearch(context, kDefaultMaxEntries, WhenFull::Stop) {
    KeptStep = step;
    KeptFinerSteps = true;
  }
};

}  // namespace

// --- shared helpers --------------------------------------------------------------

std::string UserConjunctionKey(const TObserverRecord& observer, const std::string& objectName,
                               const std::string& bodyName) {
  char date[48];
  std::snprintf(date, sizeof date, "%04d.%02d.%02d ", observer.Year, observer.Month, observer.Day);
  return date + objectName + "/" + bodyName;
}

void BodySearchStep(int body, double typedStep, std::int32_t repetitions, double& step, std::int32_t& window) {
  if (body == search_kind::kMoon) {
    step = kConjunctionFineStep;
    window = LargerInt(repetitions, kMoonWindowSteps);
  } else {
    step = typedStep;
    window = repetitions;
  }
}

int BodyForDate(int body, TTheorySelection selection, bool fastSearch, double mjd) {
  if (body != search_kind::kPluto) return body;
  if (fastSearch) selection.bytes[0] = 0;
  return DateInTheoryRange(selection, JulianCenturiesJ2000(MjdToJd(mjd))) ? body : search_kind::kPluto - 1;
}

// --- the pair search -------------------------------------------------------------

TUserConjunctionSearch::TUserConjunctionSearch(const TSearchContext& context, TEventList& events)
    : context_(context), events_(events) {}

TClampedRange TUserConjunctionSearch::UserObjectRange() const {
  return ClampFileRange(UserRange, context_.UserObjects != nullptr ? context_.UserObjects->Count() : 0);
}

void TUserConjunctionSearch::ClearList() {
  events_.Clear();
  ListLines.clear();
}

bool TUserConjunctionSearch::RemoveLine(int index) { return RemoveListedEvent(events_, ListLines, index); }

bool TUserConjunctionSearch::ReadStep(const std::string& text, double& step) {
  std::string typed = text;
  std::replace(typed.begin(), typed.end(), ',', '.');
  double value = 0;
  if (!StrToFloatNoBlanks(typed, value) || !(value >= kMinSearchStep && value <= kMaxSearchStep)) {
    ShowMessage("Der Abstand zwischen zwei Iterationen muß zwischen 0,25 und 25 Tagen liegen!",
                "The distance between two iterations must be >=0,25 and <=25 days!", MessageIcon::Error);
    return false;
  }
  step = value;
  return true;
}

void TUserConjunctionSearch::BeginRun() {
  Cancelled = false;
  RowLimitReached = Full();
  InvalidEvents = 0;
  PairsSearched = 0;
  previousKey_.clear();
  AbortRequested = 0;
}

void TUserConjunctionSearch::EndRun() {
  AbortRequested = 0;
  if (Full()) {
    RowLimitReached = true;
    ShowRowLimitReached();
  }
}

bool TUserConjunctionSearch::SearchPair(TSampleCachingSearch& engine, const TConjunctionPair& pair, double step,
                                        std::int32_t window) {
  ++PairsSearched;
  const bool smallest = Options.SmallestSeparation != 0;
  const int kind = ConjunctionKindOf(Options);
  const std::string abbrev = ConjunctionKindAbbrev(Options);
  TObserverRecord working = Start;
  double k = kResumeDays;
  // The instant of the pair's last listed event: a refinement that slides
  // back onto it (near a stationary point) finds it again.
  double lastListed = -std::numeric_limits<double>::infinity();
  // B = the pair's second body less A = its first (the user object).
  TSearchLoopRequest request{.Body = pair.First,
                             .SecondBody = pair.Second,
                             .UserIndex = pair.UserObjectNumber,
                             .DateCheck = true,
                             .EndCheck = true,
                             .Ecliptic = Options.InLongitude != 0,
                             .Bounded = true,
                             .BoundMjd = End.Mjd,
                             .Limit = SeparationLimit,
                             .Step = step,
                             .MaxSteps = window,
                             .EndMjd = End.Mjd,
                             .Asteroid = &pair.Asteroid,
                             .Comet = &pair.Comet};
  while (working.Mjd < End.Mjd && std::isfinite(working.Mjd) && working.Mjd <= kSearchMjdLimit) {
    const double windowStart = working.Mjd;
    double time = 0, separation = 0;
    request.Start = working;
    bool found = smallest ? engine.schleife_4(request, time, separation) : engine.schleife_2(request, time, separation);
    if (AbortRequested != 0) {
      // A cancel (or a date the engine refuses) ends the whole run.
      Cancelled = true;
      return false;
    }
    if (found && (!std::isfinite(time) || !std::isfinite(separation))) found = false;
    if (!found) {
      working.Mjd += window * step;
      UTToLocalTime(working);
      continue;
    }
    working.Mjd = time;
    UTToLocalTime(working);
    if (std::fabs(separation) < SeparationLimit) {
      const std::string key = UserConjunctionKey(working, pair.FirstName, pair.SecondName);
      std::unique_ptr<tEvent> event = MakeConjunctionEvent(engine, context_, working, pair, separation, kind, &Filter);
      const tEvent* added = event.get();
      if (event) {
        events_.Add(key + abbrev, std::move(event));
        ListLines.emplace_back(key, added);
      }
      const bool invalid = key == previousKey_ || time <= lastListed || time > End.Mjd || time < Start.Mjd;
      std::string status = key;
      if (invalid) {
        status = ByLanguage("Ungültiger Wert", "Invalid event");
        k += kInvalidEventResumeDays;
        ++InvalidEvents;
        if (added != nullptr) {
          ListLines.pop_back();
          events_.Remove(added);
        }
      } else {
        k = kResumeDays;
        lastListed = time;
        previousKey_ = key;
      }
      if (OnStatus) OnStatus(status, invalid, events_.Count());
      if (Full()) return false;
    }
    // A conjunction too wide for the limit is passed over like a kept one:
    // a closer pass later in the period is still examined. The next window
    // never starts before this one did.
    working.Mjd = std::max(time, windowStart) + SmallerDouble(4 * step, k);
    UTToLocalTime(working);
  }
  return true;
}

// --- one body against the user objects ------------------------------------------

int TBodyUserObjectConjunctionRun::Run(const std::string& stepText) {
  double typed = Options.Step;
  if (!ReadStep(stepText, typed)) return -1;
  Options.Step = typed;
  BeginRun();
  const int countBefore = events_.Count();
  const int body = BodyForDate(Options.ChosenBody, context_.Selection, context_.FastSearch != 0, Start.Mjd);
  Options.ChosenBody = body;
  double step = typed;
  std::int32_t window = Options.Repetitions;
  BodySearchStep(body, typed, Options.Repetitions, step, window);
  const TClampedRange range = UserObjectRange();
  TCoarseStepEngine engine(context_, step);
  engine.CompanionBody = body;
  const std::string bodyName = SearchBodyNames[static_cast<std::size_t>(body)];
  ProgressSession session(CurrentProgress(), bodyName, 0);
  for (std::int32_t i = range.First; !range.Empty && i <= range.Last; ++i) {
    if (Cancelled || Full()) break;
    const tuserobject* object = context_.UserObjects->Item(i);
    TUserConjunctionProgress progress;
    progress.ObjectText = std::to_string(i + 1 - range.First) + "/" + std::to_string(range.Count());
    progress.ObjectPosition = i - range.First;
    Report(progress);
    if (object == nullptr || object->Value6 > Options.UserObjectMagnitudeLimit) continue;
    TConjunctionPair pair;
    pair.First = search_kind::kUserObject;
    pair.UserObjectNumber = i + 1;
    pair.FirstName = object->Name;
    pair.Second = body;
    pair.SecondName = bodyName;
    if (!SearchPair(engine, pair, step, window)) break;
  }
  EndRun();
  return events_.Count() - countBefore;
}

// --- the user objects against asteroids or comets --------------------------------

bool TUserObjectMinorBodyConjunctionRun::Prescan(tsuchobjekt& engine, int body) {
  // The engine's own store back on every way out.
  struct TSharing {
    tsuchobjekt& Engine;
    TCompletionStore* Before;
    ~TSharing() { Engine.ShareCompletions(Before); }
  } sharing{engine, engine.SharedCompletions()};
  engine.ShareCompletions(&completions_);
  const tsuchobjekt::TFillScope magnitudeOnly(engine, tsuchobjekt::TRecordFill::Magnitude);
  ProgressReporter& progress = CurrentProgress();
  TTheorySelection selection = context_.Selection;
  int n = 0;
  for (double mjd = Start.Mjd - kPrescanLeadDays; mjd <= End.Mjd; mjd += kPrescanStepDays, ++n) {
    TObserverRecord observer = Start;
    observer.Mjd = mjd;
    ObserverRecordDateFromMjd(observer);
    if (n % kPrescanDisplayEvery == 0) {
      std::string text;
      ObserverDateTimeText(observer, text);
      progress.SetLabel(text);
      progress.ProcessEvents();
      if (AbortRequested != 0) {
        Cancelled = true;
        return false;
      }
    }
    TEphemerisResultRecord result;
    TTheorySelection used = selection;
    if (engine.tsuchobjekt::planet(used, body, observer, result, kPrescanStepDays) &&
        result.Physical.magnitude <= Options.MinorBodyMagnitudeLimit)
      return true;
  }
  return false;
}

int TUserObjectMinorBodyConjunctionRun::Run(const std::string& stepText) {
  const bool database = From == Source::Database;
  if (database && MinorCount <= 0) {
    ShowMessage("Bitte zunächst Asteroiden aus der Datenbank auswählen.",
                "You must select asteroids from the database bevore you can continue.", MessageIcon::Error);
    return kNoSelection;
  }
  double step = Options.Step;
  if (!ReadStep(stepText, step)) return kBadStep;
  Options.Step = step;
  const std::int32_t window = Options.Repetitions;
  BeginRun();
  PrescanPassed = SkippedInvalid = SkippedUnreadable = 0;
  const int countBefore = events_.Count();
  const int body = From == Source::Comets ? search_kind::kComet : search_kind::kAsteroid;
  const TClampedRange users = UserObjectRange();
  const TClampedRange minors =
      database ? ClampFileRange(TFileRange{0, -1}, MinorCount) : ClampFileRange(MinorRange, MinorCount);
  // The user objects bright enough, counted once for the totals.
  std::vector<std::int32_t> bright;
  for (std::int32_t i = users.First; !users.Empty && i <= users.Last; ++i) {
    const tuserobject* object = context_.UserObjects->Item(i);
    if (object != nullptr && object->Value6 <= Options.UserObjectMagnitudeLimit) bright.push_back(i);
  }
  const std::int64_t total = std::max<std::int64_t>(1, static_cast<std::int64_t>(minors.Count()) * users.Count());
  std::int64_t done = 0;
  // The user objects' places at the instants the searches share, kept for
  // all minor bodies.
  const auto fixedObjects = std::make_shared<TFixedObjectStore>(true);
  ProgressSession session(CurrentProgress(), ByLanguage("Konjunktionen", "Conjunctions"), 0);
  for (std::int32_t m = minors.First; !minors.Empty && m <= minors.Last; ++m) {
    if (Cancelled || Full()) break;
    TMinorBodyEntry entry;
    if (!MinorAt || !MinorAt(m, entry)) {
      ++SkippedInvalid;
      done += users.Count();
      continue;
    }
    TUserConjunctionProgress progress;
    progress.MinorText =
        entry.Name + "  " + std::to_string(m + 1 - minors.First) + "/" + std::to_string(minors.Count());
    progress.MinorPosition = m - minors.First;
    progress.TotalText = std::to_string(done) + "/" + std::to_string(total);
    progress.TotalPercent = static_cast<int>(done * 100 / total);
    Report(progress);
    TSearchContext context = context_;
    context.AsteroidDatabase = database ? 1 : 0;
    if (database) context.AsteroidDatabaseFile = entry.DatabaseFile;
    TCoarseStepEngine engine(context, step);
    engine.CompanionBody = body;
    engine.ShareCompletions(&completions_);
    engine.ShareFixedObjects(fixedObjects);
    // The engine's own check of the elements (or of the database file),
    // without its message: one report for the whole run instead.
    const bool usable = [&] {
      QuietSink quiet;
      ScopedMessageSink scope(quiet);
      return engine.InputAccepted({.Body = body,
                                   .SecondBody = body,
                                   .Start = Start,
                                   .Step = step,
                                   .MaxSteps = window,
                                   .Asteroid = &entry.Asteroid,
                                   .Comet = &entry.Comet});
    }();
    if (!usable) {
      if (!database) {
        ++SkippedInvalid;
      } else if (SkippedUnreadable++ == 0) {
        ShowMessage("Die Datei " + entry.DatabaseFile +
                        " der Kleinplaneten-Datenbank kann nicht gelesen werden; solche Dateien werden übersprungen.",
                    "The asteroid database file " + entry.DatabaseFile + " cannot be read; such files are skipped.",
                    MessageIcon::Error);
      }
      done += users.Count();
      continue;
    }
    if (!Prescan(engine, body)) {
      done += users.Count();
      continue;
    }
    ++PrescanPassed;
    TConjunctionPair pair;
    pair.First = search_kind::kUserObject;
    pair.Second = body;
    pair.Asteroid = entry.Asteroid;
    pair.Comet = entry.Comet;
    pair.SecondName = entry.Name;
    int n = 0;
    for (std::int32_t i : bright) {
      if (Cancelled || Full()) break;
      if (++n % kPairDisplayEvery == 0) {
        progress.TotalText = std::to_string(done + n) + "/" + std::to_string(total);
        progress.TotalPercent = static_cast<int>((done + n) * 100 / total);
        progress.ObjectText = std::to_string(i + 1 - users.First) + "/" + std::to_string(users.Count());
        progress.ObjectPosition = i - users.First;
        Report(progress);
      }
      pair.UserObjectNumber = i + 1;
      pair.FirstName = ObjectNameByIndex(context_.UserObjects, i);
      if (!SearchPair(engine, pair, step, window)) break;
    }
    done += users.Count();
  }
  if (!Cancelled && !Full() && !minors.Empty && !users.Empty) {
    // Every pair searched: the bars end full, not at the last ninth pair.
    TUserConjunctionProgress progress;
    progress.TotalText = std::to_string(done) + "/" + std::to_string(total);
    progress.TotalPercent = static_cast<int>(done * 100 / total);
    progress.ObjectText = std::to_string(users.Count()) + "/" + std::to_string(users.Count());
    progress.ObjectPosition = users.Count() - 1;
    Report(progress);
  }
  if (SkippedInvalid > 0)
    ShowMessage(std::to_string(SkippedInvalid) + " Objekte mit ungültigen Bahnelementen wurden übersprungen.",
                std::to_string(SkippedInvalid) + " objects with invalid orbital elements were skipped.",
                MessageIcon::Warning);
  EndRun();
  return events_.Count() - countBefore;
}

}  // namespace kvx
