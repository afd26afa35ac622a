// Completed observer records shared by the searches of one run.
//
// A run that searches many objects (a list of asteroids or comets) over the
// same period completes the observer records of the same instants for every
// object. The store keeps the fields a completion writes, by every field and
// setting the completion reads, so a record completed once is handed to the
// next search as that search would have completed it.
//
// Only records completed with the internal series are kept: the other
// theories may leave the Sun's fields as the record held them, which the key
// does not hold. Two levels are kept apart: the whole completion
// (CompleteObserverRecord) and the instant's part (CompleteObserverInstant);
// a request for the part is served by a whole record too, whose fields of
// the part are the same numbers.
//
// The store keeps the rotations of each instant an orbit body made
// (TKepler::InstantFrames) for the next body too.
//
// Times: the records' own (local date and hours, MJD of UT). The store has
// a fixed number of slots: a record (or rotation) takes the slot of its
// key's hash and replaces the one held there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/observer_record.h"
#include "core/vector_math.h"
#include "engine/kepler.h"
#include "theories/theory_types.h"

namespace kvx {

// How far a search completes an observer record.
enum class TCompletion : std::uint8_t {
  Whole,    // CompleteObserverRecord
  Instant,  // CompleteObserverInstant
};

class TCompletionStore {
 public:
  static constexpr std::size_t kSlots = 8192;
  static constexpr std::size_t kFrameSlots = 2048;

  // The settings of the completion besides the record: the sidereal-time
  // flag, the theory selection and the truncation level of the Sun.
  struct TSettings {
    std::uint8_t Sidereal = 1;
    TTheorySelection Selection{};
    std::int32_t SunLevel = -1;
  };

  struct Key {
    std::uint64_t LocalHours = 0, DeltaT = 0, Longitude = 0, Latitude = 0;
    std::int32_t Day = 0, Month = 0, Year = 0, Zone = 0, ZoneMinutes = 0, DaylightHours = 0, Height = 0;
    std::int32_t SunLevel = 0;
    std::array<std::uint8_t, 12> Theory{};
    std::uint8_t Sidereal = 0, AutoDeltaT = 0;
    TCompletion Level = TCompletion::Whole;
    bool operator==(const Key&) const = default;
  };

  // The fields a completion writes, taken from a completed record and put
  // into another record of the same key.
  struct Fields {
    std::int32_t Day = 0, Month = 0, Year = 0, Weekday = 0, DerivedYear = 0;
    double LocalHours = 0, UTHours = 0, Mjd = 0, Centuries = 0, DeltaTSeconds = 0, SiderealHours = 0;
    double GeocentricLatitude = 0, GeocentricRadius = 0;
    double SunLongitude = 0, SunLatitude = 0, SunDistance = 0;
    double SunX = 0, SunY = 0, SunZ = 0, SunVX = 0, SunVY = 0, SunVZ = 0, SunX1h = 0, SunY1h = 0, SunZ1h = 0;
    double SunApparentRA = 0, SunApparentDec = 0, EarthVX = 0, EarthVY = 0, EarthVZ = 0;
    double Obliquity = 0, SinObliquity = 0, CosObliquity = 0, SinLatitude = 0, CosLatitude = 0;
    double DerivedLatitude = 0;
    TMatrix33 Precession{};

    static Fields Of(const TObserverRecord& completed);
    void Into(TObserverRecord& r) const;
  };

  // True when records completed under `settings` can be kept.
  static bool Keeps(const TSettings& settings);
  // The key of a record before its completion.
  static Key KeyOf(const TSettings& settings, TCompletion level, const TObserverRecord& input);
  // Completes the record of `key` from a kept one (true), or leaves it as
  // it was (false).
  bool Find(Key key, TObserverRecord& observer);
  // Keeps the fields of `completed`, the completion of the record of `key`.
  void Add(const Key& key, const TObserverRecord& completed);

  // The rotations of the instant of `body`'s working record: those kept
  // for it, or the body's own, kept for the next body.
  void ShareFrames(TKepler& body);

  // Records held.
  std::size_t Size() const { return used_; }
  std::size_t Hits = 0, Misses = 0;

 private:
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  struct Slot {
    bool Used = false;
    Key Of;
    Fields Values;
  };
  struct FrameSlot {
    bool Used = false;
    std::uint64_t Of = 0;  // the bits of T
    TKepler::TInstantFrames Frames;
  };
  Slot* SlotOf(const Key& key);

  std::vector<Slot> slots_;  // kSlots once used
  std::size_t used_ = 0;
  std::vector<FrameSlot> frameSlots_;  // kFrameSlots once used
};

}  // namespace kvx
