#include "engine/completion_store.h"

#include <bit>
#include <cstring>

#include "core/bit_mix.h"

namespace kvx {

namespace {

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

}  // namespace

std::size_t TCompletionStore::KeyHash::operator()(const Key& k) const {
  // The instants of a run differ in the high bits of the hours and in the
  // date: every word is mixed down to the low bits the buckets use.
  constexpr auto mix = MixBits;
  std::uint64_t theory = 0;
  std::memcpy(&theory, k.Theory.data(), sizeof theory);
  const std::uint64_t date = static_cast<std::uint64_t>(static_cast<std::uint32_t>(k.Year)) << 9 ^
                             static_cast<std::uint64_t>(static_cast<std::uint32_t>(k.Month)) << 5 ^
                             static_cast<std::uint64_t>(static_cast<std::uint32_t>(k.Day));
  std::uint64_t h = mix(k.LocalHours ^ date << 1);
  h = mix(h ^ k.Longitude ^ k.Latitude << 1 ^ k.DeltaT << 2);
  return static_cast<std::size_t>(mix(h ^ theory ^ static_cast<std::uint64_t>(k.Level) << 62));
}

void TCompletionStore::ShareFrames(TKepler& body) {
  if (frameSlots_.empty()) frameSlots_.resize(kFrameSlots);
  const std::uint64_t h = MixBits(Bits(body.Observer.Centuries));
  FrameSlot& slot = frameSlots_[static_cast<std::size_t>(h % kFrameSlots)];
  if (slot.Used && slot.Of == Bits(body.Observer.Centuries)) {
    body.AdoptFrames(slot.Frames);
    return;
  }
  slot.Used = true;
  slot.Of = Bits(body.Observer.Centuries);
  slot.Frames = body.InstantFrames();
}

TCompletionStore::Slot* TCompletionStore::SlotOf(const Key& key) {
  if (slots_.empty()) slots_.resize(kSlots);
  return &slots_[KeyHash()(key) % kSlots];
}

bool TCompletionStore::Keeps(const TSettings& settings) {
  return settings.Selection.PlanetTheory() == kPlanetTheoryInternal;
}

TCompletionStore::Key TCompletionStore::KeyOf(const TSettings& settings, TCompletion level,
                                              const TObserverRecord& input) {
  Key k;
  k.LocalHours = Bits(input.LocalHours);
  // With the automatic Delta T the completion computes it from the date.
  k.DeltaT = input.AutoDeltaT != 0 ? 0 : Bits(input.DeltaTSeconds);
  k.Longitude = Bits(input.Longitude);
  k.Latitude = Bits(input.Latitude);
  k.Day = input.Day;
  k.Month = input.Month;
  k.Year = input.Year;
  k.Zone = input.Zone;
  k.ZoneMinutes = input.ZoneMinutes;
  k.DaylightHours = input.DaylightHours;
  k.Height = input.Height;
  k.SunLevel = settings.SunLevel;
  k.Theory = settings.Selection.bytes;
  k.Sidereal = settings.Sidereal;
  k.AutoDeltaT = input.AutoDeltaT;
  k.Level = level;
  return k;
}

bool TCompletionStore::Find(Key key, TObserverRecord& r) {
  const Slot* slot = SlotOf(key);
  if (!(slot->Used && slot->Of == key) && key.Level == TCompletion::Instant) {
    key.Level = TCompletion::Whole;
    slot = SlotOf(key);
  }
  if (!(slot->Used && slot->Of == key)) {
    ++Misses;
    return false;
  }
  ++Hits;
  slot->Values.Into(r);
  return true;
}

namespace {

// Hands each kept field of `f` with its member of the observer record `r`
// to `pair`: the one list that Of and Into walk, each its own way.
template <typename KeptFields, typename Record, typename Pair>
void EachKeptField(KeptFields& f, Record& r, Pair pair) {
  pair(f.Day, r.Day);
  pair(f.Month, r.Month);
  pair(f.Year, r.Year);
  pair(f.Weekday, r.Weekday);
  pair(f.LocalHours, r.LocalHours);
  pair(f.UTHours, r.UTHours);
  pair(f.Mjd, r.Mjd);
  pair(f.Centuries, r.Centuries);
  pair(f.DeltaTSeconds, r.DeltaTSeconds);
  pair(f.SiderealHours, r.SiderealHours);
  pair(f.GeocentricLatitude, r.GeocentricLatitude);
  pair(f.GeocentricRadius, r.GeocentricRadius);
  pair(f.SunLongitude, r.SunLongitude);
  pair(f.SunLatitude, r.SunLatitude);
  pair(f.SunDistance, r.SunDistance);
  pair(f.SunX, r.SunX);
  pair(f.SunY, r.SunY);
  pair(f.SunZ, r.SunZ);
  pair(f.SunVX, r.SunVX);
  pair(f.SunVY, r.SunVY);
  pair(f.SunVZ, r.SunVZ);
  pair(f.SunX1h, r.SunX1h);
  pair(f.SunY1h, r.SunY1h);
  pair(f.SunZ1h, r.SunZ1h);
  pair(f.SunApparentRA, r.SunApparentRA);
  pair(f.SunApparentDec, r.SunApparentDec);
  pair(f.EarthVX, r.EarthVX);
  pair(f.EarthVY, r.EarthVY);
  pair(f.EarthVZ, r.EarthVZ);
  pair(f.Obliquity, r.Obliquity);
  pair(f.SinObliquity, r.SinObliquity);
  pair(f.CosObliquity, r.CosObliquity);
  pair(f.SinLatitude, r.SinLatitude);
  pair(f.CosLatitude, r.CosLatitude);
  pair(f.Precession, r.Precession);
  pair(f.DerivedYear, r.DerivedYear);
  pair(f.DerivedLatitude, r.DerivedLatitude);
}

}  // namespace

TCompletionStore::Fields TCompletionStore::Fields::Of(const TObserverRecord& r) {
  Fields f;
  EachKeptField(f, r, [](auto& kept, const auto& value) { kept = value; });
  return f;
}

void TCompletionStore::Fields::Into(TObserverRecord& r) const {
  EachKeptField(*this, r, [](const auto& kept, auto& value) { value = kept; });
}

void TCompletionStore::Add(const Key& key, const TObserverRecord& r) {
  Slot& slot = *SlotOf(key);
  if (!slot.Used) ++used_;
  slot.Used = true;
  slot.Of = key;
  slot.Values = Fields::Of(r);
}

}  // namespace kvx
