// Fixed objects (user objects) kept across the searches of one run.
//
// A run over many pairs meets the same user object at the same instants
// again and again: the conjunction list of many asteroids against one user
// catalogue searches every object once per asteroid, and every search starts
// on the same grid. The store keeps
//   - the frame of an instant (precession from an epoch, nutation, the Sun's
//     aberration terms, the ecliptic's obliquity), shared by all objects;
//   - the place of an object at an instant as a places-only sample fills it
//     (apparent right ascension and declination, ecliptic longitude and
//     latitude of date, degrees; the magnitude).
// What it gives back is bit for bit what the reduction computes: the keys
// are the bits of the inputs (the object's index in its catalogue, the
// instant's Julian centuries T and the mean obliquity of the record).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/observer_record.h"
#include "core/records.h"
#include "engine/user_object.h"

namespace kvx {

struct TFixedPlace {
  double RightAscension = 0, Declination = 0;  // apparent, of date
  double GeoLongitude = 0, GeoLatitude = 0;    // ecliptic of date
  double Magnitude = 0;
};

class TFixedObjectStore {
 public:
  // Places are kept only in a store that searches of many pairs share (a
  // search that meets each object at an instant once would only fill it).
  explicit TFixedObjectStore(bool keepsPlaces = false) : keepsPlaces_(keepsPlaces) {}
  bool KeepsPlaces() const { return keepsPlaces_; }

  // The frame of the record's instant for a catalogue epoch (a year).
  const TFixedObjectFrame& Frame(double epochYear, const TObserverRecord& observer);
  // The kept place of user object `object` (number `index`, 1-based) at the
  // record's instant, or null. The object's fields are part of the key: an
  // edited catalogue finds nothing kept for the old values.
  // `ecliptic`: the place has its ecliptic longitude and latitude (a place
  // without them is kept apart).
  const TFixedPlace* FindPlace(std::int32_t index, const tuserobject& object, const TObserverRecord& observer,
                               bool ecliptic) const;
  // Keeps a place (in its slot of the table, in place of what another key
  // kept there).
  void KeepPlace(std::int32_t index, const tuserobject& object, const TObserverRecord& observer, bool ecliptic,
                 const TFixedPlace& place);

  static constexpr std::size_t kFrameSlots = 16384;
  static constexpr std::size_t kPlaceSlots = std::size_t{1} << 17;

 private:
  struct PlaceKey {
    std::int32_t Index = -1;  // none: no object has this number
    bool Ecliptic = false;
    std::uint64_t Object = 0, Epoch = 0, T = 0, Obliquity = 0;
    bool operator==(const PlaceKey&) const = default;
  };
  struct PlaceSlot {
    PlaceKey Key;
    TFixedPlace Place;
  };
  static PlaceKey KeyOf(std::int32_t index, const tuserobject& object, const TObserverRecord& observer, bool ecliptic);
  static std::size_t SlotOf(const PlaceKey& key);

  bool keepsPlaces_;
  std::vector<TFixedObjectFrame> frames_;  // by a hash of epoch, T and obliquity
  std::vector<PlaceSlot> places_;          // by a hash of the key
};

}  // namespace kvx
