#include "events/sample_caching_search.h"

#include <bit>
#include <cmath>
#include <limits>

#include "core/bit_mix.h"

namespace kvx {

std::size_t TSampleCachingSearch::KeyHash::operator()(const Key& k) const {
  // The instants differ in the high bits of their MJD: every word is mixed
  // down to the low bits the buckets use.
  constexpr auto mix = MixBits;
  std::uint64_t h = mix(k.Mjd);
  h = mix(h ^ k.Step ^ static_cast<std::uint64_t>(k.Body) << 40 ^ static_cast<std::uint64_t>(k.Theory) << 48 ^
          static_cast<std::uint64_t>(k.Fill) << 56);
  return static_cast<std::size_t>(h);
}

const TSampleCachingSearch::Entry* TSampleCachingSearch::Kept(const Key& key) const {
  if (slots_.empty()) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = KeyHash{}(key)&mask; slots_[i].Entry != kNoEntry; i = (i + 1) & mask)
    if (slots_[i].SlotKey == key) return &entries_[slots_[i].Entry];
  return nullptr;
}

const TSampleCachingSearch::Entry& TSampleCachingSearch::Keep(const Key& key, const Entry& entry) {
  if (slots_.empty()) {
    // At most half the slots in use.
    std::size_t n = 1024;
    while (n < 2 * maxEntries_) n *= 2;
    slots_.resize(n);
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = KeyHash{}(key)&mask;
  while (slots_[i].Entry != kNoEntry) i = (i + 1) & mask;
  slots_[i].SlotKey = key;
  slots_[i].Entry = static_cast<std::uint32_t>(entries_.size());
  entries_.push_back(entry);
  return entries_.back();
}

void TSampleCachingSearch::ClearKept() {
  entries_.clear();
  for (Slot& slot : slots_) slot.Entry = kNoEntry;
}

void TSampleCachingSearch::ClearCache() {
  ClearKept();
  completionKeys_.fill(CompletionKey{});
  recentUsed_.fill(false);
  last_ = nullptr;
}

TSampleCachingSearch::Key TSampleCachingSearch::KeyOf(const TTheorySelection& selection, int body, double mjd,
                                                      double step) const {
  // The bytes the searches change are the two theories; the rest of the
  // selection is the search's own copy and the same for the whole run.
  return Key{body, std::bit_cast<std::uint64_t>(mjd), std::bit_cast<std::uint64_t>(step),
             static_cast<std::uint8_t>(selection.bytes[0] | selection.bytes[1] << 4), fill_};
}

const TSampleCachingSearch::Entry* TSampleCachingSearch::Find(const Key& key) {
  if (last_ != nullptr && lastKey_ == key) return last_;
  const Entry* found = nullptr;
  if (const Entry* kept = Kept(key)) {
    found = kept;
  } else {
    for (std::size_t i = 0; i < kRecent && found == nullptr; ++i)
      if (recentUsed_[i] && recentKeys_[i] == key) found = &recent_[i];
  }
  if (found != nullptr) {
    lastKey_ = key;
    last_ = found;
  }
  return found;
}

const TSampleCachingSearch::Entry& TSampleCachingSearch::Cached(TTheorySelection selection, int body,
                                                                const TObserverRecord& observer, double step) {
  const Key key = KeyOf(selection, body, observer.Mjd, step);
  if (const Entry* kept = Find(key)) {
    ++Hits;
    return *kept;
  }
  lastKey_ = key;
  ++Misses;
  Entry& computed = recent_[nextRecent_];
  recentKeys_[nextRecent_] = key;
  recentUsed_[nextRecent_] = true;
  nextRecent_ = (nextRecent_ + 1) % kRecent;
  computed.Observer = observer;
  computed.Selection = selection;
  computed.Frame.EpochYear = std::numeric_limits<double>::quiet_NaN();  // the frame of the slot's last instant
  computed.Ok = tsuchobjekt::planet(computed.Selection, body, computed.Observer, computed.Result, step, 1, 1);
  const bool keep = KeepNew && (KeptStep == 0 || step == KeptStep ||
                                (KeptFinerSteps && (step == KeptStep * 0.1 || step == KeptStep * 0.1 * 0.1)));
  last_ = &computed;
  if (!keep) return computed;
  if (entries_.size() >= maxEntries_) {
    if (whenFull_ == WhenFull::Stop) return computed;
    ClearKept();
  }
  last_ = &Keep(key, computed);
  return *last_;
}

void TSampleCachingSearch::CompleteRecord(const TTheorySelection& selection, TObserverRecord& observer,
                                          TCompletion level) {
  CompletionKey key{std::bit_cast<std::uint64_t>(observer.Mjd),
                    std::bit_cast<std::uint64_t>(observer.LocalHours),
                    std::bit_cast<std::uint64_t>(observer.DeltaTSeconds),
                    std::bit_cast<std::uint64_t>(observer.Longitude),
                    std::bit_cast<std::uint64_t>(observer.Latitude),
                    observer.Day,
                    observer.Month,
                    observer.Year,
                    static_cast<std::uint8_t>(selection.bytes[0] | selection.bytes[1] << 4),
                    observer.AutoDeltaT,
                    level};
  for (std::size_t i = 0; i < kCompletions; ++i) {
    CompletionKey kept = completionKeys_[i];
    if (level == TCompletion::Instant) kept.Level = TCompletion::Instant;
    if (kept == key) {
      observer = completed_[i];
      return;
    }
  }
  tsuchobjekt::CompleteRecord(selection, observer, level);
  completionKeys_[nextCompletion_] = key;
  completed_[nextCompletion_] = observer;
  nextCompletion_ = (nextCompletion_ + 1) % kCompletions;
}

const TFixedObjectFrame& TSampleCachingSearch::FixedFrame(double epochYear, const TObserverRecord& observer) const {
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  if (last_ == nullptr || bits(last_->Observer.Centuries) != bits(observer.Centuries) ||
      bits(last_->Observer.Obliquity) != bits(observer.Obliquity))
    return tsuchobjekt::FixedFrame(epochYear, observer);
  TFixedObjectFrame& frame = last_->Frame;
  if (bits(frame.EpochYear) != bits(epochYear)) frame = tsuchobjekt::FixedFrame(epochYear, observer);
  return frame;
}

bool TSampleCachingSearch::Sample(int body, const TObserverRecord& base, double mjd, double step,
                                  std::int32_t starIndex, std::int32_t userIndex, TSearchSample& sample) {
  const bool fixed = body == search_kind::kStar || body == search_kind::kUserObject;
  const int sampledBody = fixed ? CompanionBody : body;
  const Entry* kept = sampledBody >= 0 && sampledBody <= search_kind::kComet
                          ? Find(KeyOf(selection_, sampledBody, mjd, step))
                          : nullptr;
  if (kept == nullptr) return tsuchobjekt::Sample(body, base, mjd, step, starIndex, userIndex, sample);
  // As tsuchobjekt::Sample and planet with the kept sample: the record is the
  // completed one of the instant.
  ++Hits;
  sample.Observer = kept->Observer;
  sample.Shared = nullptr;
  if (fixed) {
    sample.Valid = FixedObject(body, sample.Observer, starIndex, userIndex, sample.Result);
  } else {
    sample.Valid = kept->Ok;
    // A kept record stays where it is for the whole search when the store is
    // never emptied while full: the sample reads it there. The last few
    // records computed and not kept are overwritten soon: copied.
    const bool stays = whenFull_ == WhenFull::Stop && !IsRecent(kept);
    if (kept->Ok && stays) sample.Shared = &kept->Result;
    if (kept->Ok && !stays) sample.Result = kept->Result;
  }
  sample.Observer.Mjd = mjd;
  return sample.Valid;
}

bool TSampleCachingSearch::planet(TTheorySelection& selection, int body, TObserverRecord& observer,
                                  TEphemerisResultRecord& result, double step, std::int32_t starIndex,
                                  std::int32_t userIndex) {
  const bool fixed = body == search_kind::kStar || body == search_kind::kUserObject;
  if (fixed) {
    if (CompanionBody < 0 || CompanionBody > search_kind::kComet)
      return tsuchobjekt::planet(selection, body, observer, result, step, starIndex, userIndex);
    // The completion of the record is the same whatever body is computed.
    const Entry& kept = Cached(selection, CompanionBody, observer, step);
    observer = kept.Observer;
    selection = kept.Selection;
    // Written only when the place is there (a finite right ascension).
    return FixedObject(body, observer, starIndex, userIndex, result);
  }
  if (body < 0 || body > search_kind::kComet)
    return tsuchobjekt::planet(selection, body, observer, result, step, starIndex, userIndex);
  const Entry& kept = Cached(selection, body, observer, step);
  observer = kept.Observer;
  selection = kept.Selection;
  if (!kept.Ok) return false;
  result = kept.Result;
  return true;
}

}  // namespace kvx
