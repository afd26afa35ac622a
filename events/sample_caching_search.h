// The search engine with body samples kept per instant for one run.
//
// Searches that scan many pairs over the same period ask for the same body
// at the same instants again and again (every pair starts at the period
// start and steps by the same amount until its first find). This engine
// keeps each body's sample (the completed observer record and the body
// record) per instant, step and theory, and the last few completed observer
// records, so the second body of a pair at an instant does not complete the
// record again. Results are bit for bit those of tsuchobjekt: a kept sample
// is the one the engine computed for the same input.
//
// Instants are MJD of UT (records' Mjd); a sample is found again only for
// the same bits of the instant and of the step (days).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

#include "core/observer_record.h"
#include "engine/search_object.h"

namespace kvx {

// Bodies 12 and 13 (fixed objects) reuse the observer record completed for
// the companion body at the same instant; their own place is computed every
// time. Bodies 0..11 are kept.
class TSampleCachingSearch : public tsuchobjekt {
 public:
  static constexpr std::size_t kDefaultMaxEntries = 20000;
  // What happens when `maxEntries` samples are kept: the cache is emptied
  // (Clear), or the samples kept stay and no new ones are added (Stop: a
  // sweep over a long period keeps its first part for the next sweep).
  enum class WhenFull { Clear, Stop };

  explicit TSampleCachingSearch(const TSearchContext& context, std::size_t maxEntries = kDefaultMaxEntries,
                                WhenFull whenFull = WhenFull::Clear)
      : tsuchobjekt(context), maxEntries_(maxEntries), whenFull_(whenFull) {}

  bool planet(TTheorySelection& selection, int body, TObserverRecord& observer, TEphemerisResultRecord& result,
              double step, std::int32_t starIndex = 1, std::int32_t userIndex = 1) override;

  // The moving body whose samples complete the fixed objects' records (the
  // run's body: 0..11); -1: none, fixed objects compute everything.
  int CompanionBody = -1;
  // Off: samples already kept are used, new ones are computed and not kept
  // (a search that has left the instants other searches share).
  bool KeepNew = true;
  // Non-zero: only samples taken with this step (days) are kept, and with
  // `KeptFinerSteps` also those of the finer passes (a tenth and a
  // hundredth of it), which lie on the grid of their step; the others are
  // computed.
  double KeptStep = 0;
  bool KeptFinerSteps = false;
  // Empties the cache (a new asteroid or comet, new elements).
  void ClearCache();
  std::size_t KeptCount() const { return entries_.size(); }
  std::size_t Hits = 0, Misses = 0;

 protected:
  // The frame kept with the sample of the instant just taken, when the
  // record is that sample's.
  const TFixedObjectFrame& FixedFrame(double epochYear, const TObserverRecord& observer) const override;
  void CompleteRecord(const TTheorySelection& selection, TObserverRecord& observer, TCompletion level) override;
  // A kept sample is taken as it is, without first setting the record's date
  // for a completion it does not need.
  bool Sample(int body, const TObserverRecord& base, double mjd, double step, std::int32_t starIndex,
              std::int32_t userIndex, TSearchSample& sample) override;

 private:
  struct Key {
    int Body;
    std::uint64_t Mjd, Step;
    std::uint8_t Theory;
    TRecordFill Fill;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  struct Entry {
    bool Ok = false;
    TTheorySelection Selection{};
    TObserverRecord Observer;
    TEphemerisResultRecord Result;
    // The fixed objects' frame of this instant, made when the first fixed
    // object is sampled at it (an epoch of NaN: none yet).
    mutable TFixedObjectFrame Frame{std::numeric_limits<double>::quiet_NaN()};
  };
  // The fields of an observer record the completion reads, with the two
  // theory bytes; the place is that of the run. A request for the instant's
  // part takes a whole record too.
  struct CompletionKey {
    std::uint64_t Mjd = 0, LocalHours = 0, DeltaT = 0, Longitude = 0, Latitude = 0;
    std::int32_t Day = 0, Month = 0, Year = 0;
    std::uint8_t Theory = 0xFF, AutoDeltaT = 0;
    TCompletion Level = TCompletion::Whole;
    bool operator==(const CompletionKey&) const = default;
  };
  static constexpr std::size_t kCompletions = 4;

  // The sample: the kept one, or one of the last few computed and not kept
  // (the fixed object and the body of a pair ask for the same instant one
  // after the other; valid until kRecent further samples are computed).
  const Entry& Cached(TTheorySelection selection, int body, const TObserverRecord& observer, double step);
  // The kept (or recent) sample of the key, or null; nothing is computed.
  const Entry* Find(const Key& key);
  Key KeyOf(const TTheorySelection& selection, int body, double mjd, double step) const;

  std::size_t maxEntries_;
  WhenFull whenFull_;
  // The kept samples (addresses stay while they are kept) and an index of
  // their keys: open addressing, a power of two of slots, linear probing.
  static constexpr std::uint32_t kNoEntry = 0xFFFFFFFFu;
  struct Slot {
    Key SlotKey{};
    std::uint32_t Entry = kNoEntry;
  };
  const Entry* Kept(const Key& key) const;
  bool IsRecent(const Entry* entry) const { return entry >= recent_.data() && entry < recent_.data() + kRecent; }
  const Entry& Keep(const Key& key, const Entry& entry);
  void ClearKept();
  std::deque<Entry> entries_;
  std::vector<Slot> slots_;
  static constexpr std::size_t kRecent = 4;
  std::array<Key, kRecent> recentKeys_{};
  std::array<bool, kRecent> recentUsed_{};
  std::array<Entry, kRecent> recent_{};
  std::size_t nextRecent_ = 0;
  // The sample the last call gave: the fixed object and the body of a pair
  // ask for the same one one after the other.
  const Entry* last_ = nullptr;
  Key lastKey_{};
  std::array<CompletionKey, kCompletions> completionKeys_{};
  std::array<TObserverRecord, kCompletions> completed_{};
  std::size_t nextCompletion_ = 0;
};

}  // namespace kvx
