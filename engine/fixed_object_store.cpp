#include "engine/fixed_object_store.h"

#include <bit>
#include <limits>

#include "core/bit_mix.h"

namespace kvx {

namespace {

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

std::uint64_t Mix(std::uint64_t h, std::uint64_t v) {
  h ^= v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
  return h * 0xC2B2AE3D27D4EB4FULL;
}

}  // namespace

const TFixedObjectFrame& TFixedObjectStore::Frame(double epochYear, const TObserverRecord& observer) {
  if (frames_.empty()) {
    frames_.resize(kFrameSlots);
    // No instant has the NaN bits of an empty slot's epoch.
    for (TFixedObjectFrame& f : frames_) f.EpochYear = std::numeric_limits<double>::quiet_NaN();
  }
  const std::uint64_t h = Mix(Mix(Mix(0, Bits(observer.Centuries)), Bits(epochYear)), Bits(observer.Obliquity));
  TFixedObjectFrame& frame = frames_[static_cast<std::size_t>(h >> 20) % kFrameSlots];
  if (Bits(frame.EpochYear) != Bits(epochYear) || Bits(frame.T) != Bits(observer.Centuries) ||
      Bits(frame.Obliquity) != Bits(observer.Obliquity))
    PrepareFixedObjectFrame(epochYear, observer.Centuries, observer.Obliquity, frame);
  return frame;
}

std::size_t TFixedObjectStore::SlotOf(const PlaceKey& k) {
  const std::uint64_t h =
      Mix(Mix(Mix(Mix(static_cast<std::uint64_t>(k.Index) << 1 | (k.Ecliptic ? 1 : 0), k.T), k.Obliquity), k.Object),
          k.Epoch);
  // Every key bit reaches the slot number.
  return static_cast<std::size_t>(MixBits(h) % kPlaceSlots);
}

TFixedObjectStore::PlaceKey TFixedObjectStore::KeyOf(std::int32_t index, const tuserobject& object,
                                                     const TObserverRecord& observer, bool ecliptic) {
  const auto bits = [](float v) { return static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(v)); };
  const std::uint64_t place = bits(object.Angle1) << 32 | bits(object.Angle2);
  const std::uint64_t motion = bits(object.Value3) << 32 | bits(object.Value4);
  const std::uint64_t rest = bits(object.Value5) << 32 | bits(object.Value6);
  return PlaceKey{index,
                  ecliptic,
                  place ^ (motion * 0x9E3779B97F4A7C15ULL),
                  rest,
                  Bits(observer.Centuries),
                  Bits(observer.Obliquity)};
}

const TFixedPlace* TFixedObjectStore::FindPlace(std::int32_t index, const tuserobject& object,
                                                const TObserverRecord& observer, bool ecliptic) const {
  if (places_.empty()) return nullptr;
  const PlaceKey key = KeyOf(index, object, observer, ecliptic);
  const PlaceSlot& slot = places_[SlotOf(key)];
  return slot.Key == key ? &slot.Place : nullptr;
}

void TFixedObjectStore::KeepPlace(std::int32_t index, const tuserobject& object, const TObserverRecord& observer,
                                  bool ecliptic, const TFixedPlace& place) {
  if (places_.empty()) places_.resize(kPlaceSlots);
  const PlaceKey key = KeyOf(index, object, observer, ecliptic);
  places_[SlotOf(key)] = PlaceSlot{key, place};
}

}  // namespace kvx
