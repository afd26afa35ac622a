#include "events/multi_object_event_run.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <memory>
#include <unordered_map>

#include "core/asteroid_database.h"
#include "core/bit_mix.h"
#include "core/input_checks.h"
#include "core/observer_record.h"
#include "events/event_search.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"

namespace kvx {

namespace {

// Keeps the messages of one check instead of showing them.
class TKeptMessages : public MessageSink {
 public:
  struct Message {
    std::string Text, Caption;
    MessageIcon Icon;
    MessageButtons Buttons;
  };
  MessageResult Show(const std::string& text, const std::string& caption, MessageIcon icon,
                     MessageButtons buttons) override {
    kept.push_back({text, caption, icon, buttons});
    return DefaultMessageReply(buttons);
  }
  std::vector<Message> kept;
};

// The progress of one object's run: the window stays responsive, while the
// bar and the label keep showing the objects.
class TObjectProgress : public ProgressReporter {
 public:
  explicit TObjectProgress(ProgressReporter& outer) : outer_(outer) {}
  void Begin(const std::string&, int) override {}
  void Step(int) override { outer_.ProcessEvents(); }
  void ProcessEvents() override { outer_.ProcessEvents(); }
  void SetLabel(const std::string&) override {}
  void End() override {}
  bool Visible() const override { return outer_.Visible(); }

 private:
  ProgressReporter& outer_;
};

class TScopedProgress {
 public:
  explicit TScopedProgress(ProgressReporter& reporter) : previous_(SetProgressReporter(&reporter)) {}
  ~TScopedProgress() { SetProgressReporter(previous_); }
  TScopedProgress(const TScopedProgress&) = delete;
  TScopedProgress& operator=(const TScopedProgress&) = delete;

 private:
  ProgressReporter* previous_;
};

// The first eight bytes of a theory selection as one word, for the hashes
// below.
std::uint64_t TheoryWord(const std::array<std::uint8_t, 12>& theory) {
  std::uint64_t word = 0;
  std::memcpy(&word, theory.data(), sizeof word);
  return word;
}

// The Sun's samples of one run, kept per instant: every object's search
// starts at the period start with the same step, so the Sun is asked for at
// the same instants object after object. Within a run the observer records
// differ by their instant alone. Results are the same with and without it.
struct TSunKey {
  std::uint64_t Mjd, Step;
  std::array<std::uint8_t, 12> Theory;
  tsuchobjekt::TRecordFill Fill;
  bool operator==(const TSunKey&) const = default;
};
struct TSunKeyHash {
  std::size_t operator()(const TSunKey& k) const {
    const std::uint64_t theory = TheoryWord(k.Theory);
    // The instants differ in their high bits: mixed down to the low ones.
    return static_cast<std::size_t>(
        MixBits(k.Mjd ^ (k.Step * 0x9E3779B97F4A7C15ULL) ^ (theory << 2) ^ static_cast<std::uint64_t>(k.Fill)));
  }
};
struct TSunSample {
  bool Ok = false;
  TTheorySelection Selection{};
  TObserverRecord Observer;
  TEphemerisResultRecord Result;
};
using TSunSamples = std::unordered_map<TSunKey, TSunSample, TSunKeyHash>;
constexpr std::size_t kMaxSunSamples = 8000;

// The completed observer records of one run under a theory other than the
// internal series (those are kept in the run's TCompletionStore), by the
// record they were completed from (its stored image and the place name,
// which the image may shorten), the theory selection and the completion's
// level: the objects' searches complete the records of the same instants
// again and again. The completion reads nothing else that changes within a
// run (the sidereal switch and the series level are in the key too), so a
// record given back is the one a completion would make. These theories may
// leave the Sun's fields as they were: the whole record is the key.
struct TCompletionKey {
  TCompletion Level;
  std::uint64_t Mjd;
  std::array<std::uint8_t, 12> Theory;
  std::uint8_t Sidereal;
  std::int32_t VsopLevel;
  TObserverRecordBytes Image;
  std::string PlaceName;
  bool operator==(const TCompletionKey&) const = default;
};
struct TCompletionKeyHash {
  std::size_t operator()(const TCompletionKey& k) const {
    const std::uint64_t theory = TheoryWord(k.Theory);
    return std::hash<std::uint64_t>()(k.Mjd ^ (theory * 0x9E3779B97F4A7C15ULL));
  }
};
using TCompletions = std::unordered_map<TCompletionKey, TObserverRecord, TCompletionKeyHash>;

struct TRunSamples {
  TSunSamples Sun;
  TCompletions Completions;  // theories other than the internal series
  TCompletionStore Store;    // the internal series
};

class TSunSharingSearch : public tsuchobjekt {
 public:
  TSunSharingSearch(const TSearchContext& context, TRunSamples& shared)
      : tsuchobjekt(context), samples_(shared.Sun), imageCompletions_(shared.Completions) {
    ShareCompletions(&shared.Store);
  }

  void CompleteRecord(const TTheorySelection& selection, TObserverRecord& observer, TCompletion level) override {
    if (TCompletionStore::Keeps({context_.Sidereal, selection, context_.VsopLevelA})) {
      tsuchobjekt::CompleteRecord(selection, observer, level);  // the run's store
      return;
    }
    TCompletionKey key{level,
                       std::bit_cast<std::uint64_t>(observer.Mjd),
                       selection.bytes,
                       context_.Sidereal,
                       context_.VsopLevelA,
                       EncodeObserverRecord(observer),
                       observer.PlaceName};
    auto it = imageCompletions_.find(key);
    if (it == imageCompletions_.end()) {
      if (imageCompletions_.size() >= kMaxSunSamples) imageCompletions_.clear();
      tsuchobjekt::CompleteRecord(selection, observer, level);
      imageCompletions_.emplace(std::move(key), observer);
      return;
    }
    observer = it->second;
  }

  bool planet(TTheorySelection& selection, int body, TObserverRecord& observer, TEphemerisResultRecord& result,
              double step, std::int32_t starIndex, std::int32_t userIndex) override {
    if (body != search_kind::kSun)
      return tsuchobjekt::planet(selection, body, observer, result, step, starIndex, userIndex);
    const TSunKey key{std::bit_cast<std::uint64_t>(observer.Mjd), std::bit_cast<std::uint64_t>(step), selection.bytes,
                      fill_};
    auto it = samples_.find(key);
    if (it == samples_.end()) {
      if (samples_.size() >= kMaxSunSamples) samples_.clear();
      TSunSample sample;
      sample.Selection = selection;
      sample.Observer = observer;
      sample.Ok =
          tsuchobjekt::planet(sample.Selection, body, sample.Observer, sample.Result, step, starIndex, userIndex);
      it = samples_.emplace(key, std::move(sample)).first;
    }
    selection = it->second.Selection;
    observer = it->second.Observer;
    if (!it->second.Ok) return false;
    result = it->second.Result;
    return true;
  }

 private:
  TSunSamples& samples_;
  TCompletions& imageCompletions_;
};

// A database entry's name in the list: the file's name without ".eel".
std::string DatabaseEntryName(const std::string& path) { return std::filesystem::path(path).stem().string(); }

void ShowRefusedObjects(int count) {
  const std::string n = std::to_string(count);
  ShowMessage(n + " Objekt(e) mit ungültigen Bahnelementen übersprungen.",
              n + " object(s) with invalid orbital elements skipped.", MessageIcon::Warning);
}

}  // namespace

TMultiObjectEventRun::TMultiObjectEventRun(const TSearchContext& context, TEventList& events)
    : context_(context), events_(events) {}

TClampedRange TMultiObjectEventRun::ObjectRange() const {
  if (Options.ObjectCode == search_kind::kAsteroid) {
    if (AsteroidDatabase) return ClampFileRange(TFileRange{}, static_cast<std::int32_t>(Source.DatabaseFiles.size()));
    return ClampFileRange(Ranges.AsteroidFile, Source.AsteroidCount);
  }
  if (Options.ObjectCode == search_kind::kComet) return ClampFileRange(Ranges.CometFile, Source.CometCount);
  return TClampedRange{};
}

void TMultiObjectEventRun::ClearList() {
  events_.Clear();
  ListLines.clear();
}

bool TMultiObjectEventRun::RemoveLine(int index) { return RemoveListedEvent(events_, ListLines, index); }

bool TMultiObjectEventRun::ObjectUsable(std::int32_t index, double step, std::int32_t window,
                                        TAsteroidElements& asteroid, TCometElements& comet, std::string& name,
                                        TSearchContext& context) {
  const int body = Options.ObjectCode;
  context = context_;
  context.AsteroidDatabase = 0;
  if (body == search_kind::kAsteroid && AsteroidDatabase) {
    const std::string& file = Source.DatabaseFiles[static_cast<std::size_t>(index)];
    name = DatabaseEntryName(file);
    context.AsteroidDatabase = 1;
    context.AsteroidDatabaseFile = file;
    TKeptMessages kept;
    bool read = false;
    {
      ScopedMessageSink quiet(kept);
      TEelHeader header;
      std::vector<TEelRecord> records;
      read = ReadEelFile(file, header, records);
      const std::int32_t size = kEelHeaderSize + static_cast<std::int32_t>(records.size()) * kEelRecordSize;
      if (read && EelRecordIndex(size, header.First, header.Step, header.First) < 0) {
        read = false;
        ShowMessage("Die Kleinplaneten-Datenbank " + file + " ist beschädigt.",
                    "The asteroid database " + file + " is damaged.", MessageIcon::Error);
      }
    }
    if (!read) {
      // One message per run, whatever the number of bad files.
      ++UnreadableObjects;
      if (!unreadableReported_ && !kept.kept.empty()) {
        const TKeptMessages::Message& m = kept.kept.front();
        CurrentMessageSink().Show(m.Text, m.Caption, m.Icon, m.Buttons);
      }
      unreadableReported_ = true;
      return false;
    }
  } else if (body == search_kind::kAsteroid) {
    asteroid = Source.AsteroidAt ? Source.AsteroidAt(index) : TAsteroidElements{};
    name = asteroid.Name;
  } else {
    comet = Source.CometAt ? Source.CometAt(index) : TCometElements{};
    name = comet.Name;
  }
  // The engine's own check, without its message: refused objects are
  // counted and reported once at the end.
  TKeptMessages kept;
  ScopedMessageSink quiet(kept);
  tsuchobjekt engine(context);
  TSearchLoopRequest request{.Body = body,
                             .SecondBody = DifferenceToSunKind(Options.EventKind) ? search_kind::kSun : body,
                             .Start = Period,
                             .Step = step,
                             .MaxSteps = window,
                             .Asteroid = &asteroid,
                             .Comet = &comet};
  if (!engine.InputAccepted(request)) {
    ++RefusedObjects;
    return false;
  }
  return true;
}

TMultiObjectRunEnd TMultiObjectEventRun::Run(bool objectChosen, const std::string& stepText,
                                             const std::string& repetitionsText, bool eventChosen) {
  ObjectsSearched = RefusedObjects = UnreadableObjects = 0;
  unreadableReported_ = false;
  const int body = Options.ObjectCode, eventKind = Options.EventKind;
  if (!objectChosen || (body != search_kind::kAsteroid && body != search_kind::kComet)) {
    ShowMessage("Bitte ein Objekt auswählen", "Please select an object", MessageIcon::Error);
    return TMultiObjectRunEnd::BadInput;
  }
  if (!SearchRunInputsUsable(eventChosen, false, repetitionsText, stepText, Options.Step, Options.Repetitions, true,
                             Period.Mjd, End.Mjd)) {
    return TMultiObjectRunEnd::BadInput;
  }
  const double step = EffectiveSearchStep(body, eventKind, Options.Step);
  const std::int32_t window = SearchWindowLength(body, eventKind, Options.Repetitions);
  const TClampedRange range = ObjectRange();
  const int before = events_.Count();
  ProgressReporter& progress = CurrentProgress();
  TObjectProgress objectProgress(progress);
  TMultiObjectRunEnd end = TMultiObjectRunEnd::Finished;
  const std::int32_t span = std::max(range.Last - range.First, 1);
  TRunSamples runSamples;
  for (std::int32_t i = range.First; !range.Empty && i <= range.Last; ++i) {
    progress.SetLabel(std::to_string(i));
    progress.Step(static_cast<int>(static_cast<std::int64_t>(i - range.First) * 100 / span));
    // The engine clears the cancel flag when it starts a pass: a cancel
    // is taken here, before the next object, and ends the whole run.
    if (AbortRequested != 0) {
      end = TMultiObjectRunEnd::Cancelled;
      break;
    }
    TAsteroidElements asteroid{};
    TCometElements comet{};
    std::string name;
    TSearchContext context;
    if (!ObjectUsable(i, step, window, asteroid, comet, name, context)) continue;
    TEventSearchRun single(context, events_);
    single.Options = Options;
    single.Period = Period;
    single.End = End;
    single.UsePeriod = true;
    single.ResultsIntoTable = true;
    single.Asteroid = asteroid;
    single.Comet = comet;
    single.AsteroidName = name;
    single.CometName = name;
    single.DateCheck = false;
    single.ReportNoEvent = false;
    single.EventLimit = EventLimit;
    single.MakeEngine = [&runSamples](const TSearchContext& c) -> std::unique_ptr<tsuchobjekt> {
      return std::make_unique<TSunSharingSearch>(c, runSamples);
    };
    {
      TScopedProgress inner(objectProgress);
      single.Run(stepText, repetitionsText, eventChosen);
    }
    ++ObjectsSearched;
    ListLines.insert(ListLines.end(), single.ListLines.begin(), single.ListLines.end());
    if (single.Aborted) {
      end = TMultiObjectRunEnd::Cancelled;
      break;
    }
    if (single.LimitReached || (EventLimit > 0 && events_.Count() >= EventLimit)) {
      ShowRowLimitReached();
      end = TMultiObjectRunEnd::LimitReached;
      break;
    }
  }
  AbortRequested = 0;
  if (RefusedObjects > 0) ShowRefusedObjects(RefusedObjects);
  if (events_.Count() == before && end == TMultiObjectRunEnd::Finished) ShowNoEventFound();
  return end;
}

}  // namespace kvx
