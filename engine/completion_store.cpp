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

TCompletionStore::Fields TCompletionStore::Fields::Of(const TObserverRecord& r) {
  Fields f;
  f.Day = r.Day;
  f.Month = r.Month;
  f.Year = r.Year;
  f.Weekday = r.Weekday;
  f.LocalHours = r.LocalHours;
  f.UTHours = r.UTHours;
  f.Mjd = r.Mjd;
  f.Centuries = r.Centuries;
  f.DeltaTSeconds = r.DeltaTSeconds;
  f.SiderealHours = r.SiderealHours;
  f.GeocentricLatitude = r.GeocentricLatitude;
  f.GeocentricRadius = r.GeocentricRadius;
  f.SunLongitude = r.SunLongitude;
  f.SunLatitude = r.SunLatitude;
  f.SunDistance = r.SunDistance;
  f.SunX = r.SunX;
  f.SunY = r.SunY;
  f.SunZ = r.SunZ;
  f.SunVX = r.SunVX;
  f.SunVY = r.SunVY;
  f.SunVZ = r.SunVZ;
  f.SunX1h = r.SunX1h;
  f.SunY1h = r.SunY1h;
  f.SunZ1h = r.SunZ1h;
  f.SunApparentRA = r.SunApparentRA;
  f.SunApparentDec = r.SunApparentDec;
  f.EarthVX = r.EarthVX;
  f.EarthVY = r.EarthVY;
  f.EarthVZ = r.EarthVZ;
  f.Obliquity = r.Obliquity;
  f.SinObliquity = r.SinObliquity;
  f.CosObliquity = r.CosObliquity;
  f.SinLatitude = r.SinLatitude;
  f.CosLatitude = r.CosLatitude;
  f.Precession = r.Precession;
  f.DerivedYear = r.DerivedYear;
  f.DerivedLatitude = r.DerivedLatitude;
  return f;
}

void TCompletionStore::Fields::Into(TObserverRecord& r) const {
  r.Day = Day;
  r.Month = Month;
  r.Year = Year;
  r.Weekday = Weekday;
  r.LocalHours = LocalHours;
  r.UTHours = UTHours;
  r.Mjd = Mjd;
  r.Centuries = Centuries;
  r.DeltaTSeconds = DeltaTSeconds;
  r.SiderealHours = SiderealHours;
  r.GeocentricLatitude = GeocentricLatitude;
  r.GeocentricRadius = GeocentricRadius;
  r.SunLongitude = SunLongitude;
  r.SunLatitude = SunLatitude;
  r.SunDistance = SunDistance;
  r.SunX = SunX;
  r.SunY = SunY;
  r.SunZ = SunZ;
  r.SunVX = SunVX;
  r.SunVY = SunVY;
  r.SunVZ = SunVZ;
  r.SunX1h = SunX1h;
  r.SunY1h = SunY1h;
  r.SunZ1h = SunZ1h;
  r.SunApparentRA = SunApparentRA;
  r.SunApparentDec = SunApparentDec;
  r.EarthVX = EarthVX;
  r.EarthVY = EarthVY;
  r.EarthVZ = EarthVZ;
  r.Obliquity = Obliquity;
  r.SinObliquity = SinObliquity;
  r.CosObliquity = CosObliquity;
  r.SinLatitude = SinLatitude;
  r.CosLatitude = CosLatitude;
  r.Precession = Precession;
  r.DerivedYear = DerivedYear;
  r.DerivedLatitude = DerivedLatitude;
}

void TCompletionStore::Add(const Key& key, const TObserverRecord& r) {
  Slot& slot = *SlotOf(key);
  if (!slot.Used) ++used_;
  slot.Used = true;
  slot.Of = key;
  slot.Values = Fields::Of(r);
}

}  // namespace kvx
