#include "events/event_search.h"

#include <cmath>

#include "core/input_checks.h"
#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "core/vector_math.h"
#include "events/event_refinement.h"
#include "platform/globals.h"

namespace kvx {

double EffectiveSearchStep(int body, int eventKind, double step) {
  if (body == search_kind::kMercury) return 10;
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (body == search_kind::kSun && info != nullptr && info->SunStep > 0) return info->SunStep;
  if (body == search_kind::kMoon) return info != nullptr ? info->MoonStep : 2;
  return step;
}

std::int32_t SearchWindowLength(int body, int eventKind, std::int32_t repetitions) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  const bool moonWindow = body == search_kind::kMoon && info != nullptr && info->MoonWindow > 0;
  return moonWindow ? info->MoonWindow : repetitions;
}

std::string EventUnitText(int eventKind, int body) {
  if (MoonDistanceInEarthRadii(eventKind, body)) return kMoonDistanceUnit;
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (info == nullptr) return std::string();
  std::string unit = ByLanguage(info->UnitGerman, info->UnitEnglish);
  if (!unit.empty() && unit.front() == ' ') unit.erase(0, 1);
  return unit;
}

double NextSearchStart(double eventMjd, double step) { return eventMjd + 2 * step; }

std::string EventDateHourText(const TObserverRecord& record) {
  // Half an hour later, cut to the hour: the date carries with the hour.
  TObserverRecord shown = record;
  shown.Mjd += 1.0 / 48;
  UTToLocalTime(shown);
  std::string date;
  ObserverDateText(shown, date);
  const int hour = static_cast<int>(std::floor(shown.LocalHours));
  return date + " " + std::to_string(hour) + "h";
}

TEventSearchRun::TEventSearchRun(const TSearchContext& context, TEventList& events)
    : context_(context), events_(events) {}

std::string TEventSearchRun::ObjectName() const {
  const int body = Options.ObjectCode;
  if (body == search_kind::kAsteroid) return AsteroidName;
  if (body == search_kind::kComet) return CometName;
  return body >= 0 && body <= 9 ? SearchBodyNames[static_cast<std::size_t>(body)] : std::string();
}

void TEventSearchRun::ClearList() {
  events_.Clear();
  ListLines.clear();
}

bool TEventSearchRun::RemoveLine(int index) { return RemoveListedEvent(events_, ListLines, index); }

int TEventSearchRun::Run(const std::string& stepText, const std::string& repetitionsText, bool eventChosen) {
  Working = UsePeriod ? Period : Start;
  Aborted = false;
  LimitReached = false;
  if (!SearchRunInputsUsable(eventChosen, false, repetitionsText, stepText, Options.Step, Options.Repetitions,
                             UsePeriod, Period.Mjd, End.Mjd)) {
    return -1;
  }
  const int body = Options.ObjectCode, eventKind = Options.EventKind;
  step_ = EffectiveSearchStep(body, eventKind, Options.Step);
  window_ = SearchWindowLength(body, eventKind, Options.Repetitions);
  const int answer = body == search_kind::kMoon && eventKind == search_code::kNode ? RunNodePassages() : RunEngine();
  AbortRequested = 0;
  DateTaken = answer == kEventAnswerUseDate;
  if (DateTaken) Start = Working;
  return answer;
}

int TEventSearchRun::Report(bool found, bool aborted, double value, int eventKind) {
  const int body = Options.ObjectCode;
  const std::string eventName = EventKindNames[static_cast<std::size_t>(eventKind)];
  std::string dateTime = ByLanguage("Kein Ereignis gefunden.", "No event found.");
  std::string valueText;
  // The Moon's zero of the Sun's latitude counts only within 0.2 degrees
  // (a cosine beyond +-1 taken as +-1).
  bool shown = true;
  if (found && body == search_kind::kMoon && eventKind == search_code::kSunLatitudeZero) shown = ArcCosDeg(value) < 0.2;
  if (found) {
    HasLastEvent = true;
    LastEvent = Working;
    dateTime = EventDateHourText(Working);
    valueText = EventValueText(eventKind, body, value);
    const bool inPeriod = !UsePeriod || MjdWithinPeriod(Period, End, Working.Mjd);
    if (ResultsIntoTable && inPeriod && shown) {
      auto event = std::make_unique<tEvent>(ObjectName(), eventName, static_cast<std::uint8_t>(eventKind), Working,
                                            Working.Mjd, value, EventMissingValueMarker(3), EventMissingValueMarker(4),
                                            EventMissingValueMarker(5), EventMissingValueMarker(6),
                                            EventMissingValueMarker(7), EventMissingValueMarker(8),
                                            EventMissingValueMarker(9), EventUnitText(eventKind, body), "", "", 0);
      const tEvent* added = event.get();
      events_.Add(eventName, std::move(event));
      std::string date;
      ObserverDateText(Working, date);
      ListLines.emplace_back(ObjectName() + "/" + eventName + " " + date, added);
    }
  }
  if (ResultsIntoTable && UsePeriod) return kEventAnswerSearchOn;  // silent; the caller decides
  if (!found && !aborted) return kEventAnswerSearchOn;
  // Nobody to ask: stop rather than search on for ever.
  int answer = Answerer ? kEventAnswerSearchOn : kEventAnswerStop;
  if (shown && Answerer) answer = Answerer(eventName, ObjectName(), dateTime, valueText);
  AbortRequested = 0;
  return answer;
}

int TEventSearchRun::RunEngine() {
  const int body = Options.ObjectCode, eventKind = Options.EventKind;
  const TEventKindInfo* info = EventKindInfo(eventKind);
  const std::unique_ptr<tsuchobjekt> made = MakeEngine ? MakeEngine(context_) : std::make_unique<tsuchobjekt>(context_);
  tsuchobjekt& engine = *made;
  // Elements or settings the engine refuses: its message once, no run
  // (each window would refuse again).
  // One request for every window; the start moves on.
  TSearchLoopRequest request{.EventKind = eventKind,
                             .Body = body,
                             .SecondBody = DifferenceToSunKind(eventKind) ? search_kind::kSun : body,
                             .DateCheck = DateCheck,
                             .Bounded = UsePeriod,
                             .BoundMjd = End.Mjd,
                             .Start = Working,
                             .Step = step_,
                             .MaxSteps = window_,
                             .EndMjd = End.Mjd,
                             .Asteroid = &Asteroid,
                             .Comet = &Comet};
  if (!engine.InputAccepted(request)) return 0;
  const bool silent = ResultsIntoTable && UsePeriod;
  TTheorySelection selection = context_.Selection;
  if (context_.FastSearch != 0) selection.bytes[0] = kPlanetTheoryInternal;
  for (;;) {
    double time = 0, value = 0;
    bool found = false;
    // A window that starts past the engine's dates (or Pluto's theory):
    // its message, then as after a cancel. Without this check a body that
    // gives no place there would be searched window after window for ever.
    request.Start = Working;
    if (!engine.datum_pruefen(DateCheck, selection, body, body, Working.Mjd)) {
      found = false;
    } else if (DifferenceToSunKind(eventKind)) {
      found = engine.schleife_2(request, time, value);
    } else {
      found = engine.schleife_1(request, time, value);
    }
    const bool aborted = AbortRequested != 0;
    // A time or value that is not a number is no event.
    if (found && (!std::isfinite(time) || (!DifferenceToSunKind(eventKind) && !std::isfinite(value)))) found = false;
    if (found && info != nullptr && info->Refined()) {
      double refined = 0;
      if (RefineEventTime(eventKind, Working, context_.Selection, refined, engine, body, time)) time = refined;
    }
    // Finds after the end of the period do not belong to it.
    if (found && UsePeriod && time > End.Mjd) found = false;
    if (found) {
      Working.Mjd = time;
      UTToLocalTime(Working);
    }
    if (silent && !aborted) {
      Report(found, false, value, eventKind);
      if (!found) break;
      if (EventLimit > 0 && events_.Count() >= EventLimit) {
        LimitReached = true;
        break;
      }
      Working.Mjd = NextSearchStart(time, step_);
      UTToLocalTime(Working);
      if (Working.Mjd >= End.Mjd) break;
      continue;
    }
    if (found || aborted) {
      if (silent) {  // aborted
        Aborted = true;
        break;
      }
      const int answer = Report(found, aborted, value, eventKind);
      if (answer == kEventAnswerStop || answer == kEventAnswerUseDate) return answer;
    }
    if (found) {
      Working.Mjd = NextSearchStart(time, step_);
    } else if (UsePeriod) {
      Working = End;
      break;
    } else {
      Working.Mjd += window_ * step_;
    }
    UTToLocalTime(Working);
  }
  if (UsePeriod && events_.Empty() && ReportNoEvent) ShowNoEventFound();
  return 0;
}

int TEventSearchRun::RunNodePassages() {
  const double startMjd = Working.Mjd;
  double k = FirstNodeCycle(startMjd);
  const bool silent = ResultsIntoTable && UsePeriod;
  for (;;) {
    if (AbortRequested != 0) {
      if (silent) {
        Aborted = true;
        break;
      }
      const int answer = Report(false, true, 0, search_code::kNode);
      if (answer == kEventAnswerStop || answer == kEventAnswerUseDate) return answer;
    }
    k += 0.5;
    const double mjd = NodePassageTime(k, context_) - Working.DeltaTSeconds / 86400;
    if (!std::isfinite(mjd)) break;
    if (mjd < startMjd) continue;
    if (UsePeriod && mjd > End.Mjd) break;
    Working.Mjd = mjd;
    UTToLocalTime(Working);
    const int answer = Report(true, false, 0, search_code::kNode);
    if (answer == kEventAnswerStop || answer == kEventAnswerUseDate) return answer;
  }
  if (UsePeriod && events_.Empty() && ReportNoEvent) ShowNoEventFound();
  return 0;
}

}  // namespace kvx
