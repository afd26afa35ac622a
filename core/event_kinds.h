// The event kinds of the searches: one row per kind, read by the search
// engine (quantity, extremum or zero, rate bound, record fill), the event
// search and the almanac (steps, windows, refinement, offered bodies), the
// dialogs (captions) and the writers and name tables (names, units, value
// formats).
//
// Adding a kind: a row below with the next code, a name in `search_code`
// (and kLast), and its quantity. A new `TEventQuantity` needs its case in
// every switch over the quantities, which the compiler names
// (-Wswitch): EventQuantityTraits below, the engine's SearchQuantity and
// ExtremeValue (engine/search_extremum.cpp) and the refinement's
// EventQuantitySine (events/event_refinement.cpp); and its name in
// kEventQuantityNames (a static_assert asks for it). A row
// that asks for a signed angle or a refinement its quantity cannot give
// fails to compile (static_assert in event_kinds.cpp). The dialogs, the
// almanac, the name tables and the writers take the row as it stands.
//
// The stored almanac flags (39 bytes at a fixed place of the configuration
// file, and the overview's 39 digits): bytes 0..23 are the kinds 0..23,
// 24..27 the almanac's own sections, 28 is spare, 29..38 the bodies. A 25th
// kind (code 24) cannot take byte 24: it takes the spare byte 28
// (AlmanacKindFlag, events/almanac_options.h). A 26th kind finds no byte
// left in the stored record (a static_assert there says so): it needs a new
// place in the configuration file. The almanac's own entries of the event
// list (almanac_entry) are numbered after the kinds and are kept in memory
// only: they move up with kEventKindCount, and the name table
// EventKindNames grows with them.
//
// Body codes: `search_kind` below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

namespace kvx {

// Body codes of the searches: 0 Sun, 1..8 Mercury..Pluto (the Earth
// skipped), 9 Moon, 10 asteroid, 11 comet, 12 star of the occultation
// catalogue, 13 user-catalogue object.
namespace search_kind {
inline constexpr int kSun = 0;
inline constexpr int kMercury = 1;
inline constexpr int kMars = 3;
inline constexpr int kPluto = 8;
inline constexpr int kMoon = 9;
inline constexpr int kAsteroid = 10;
inline constexpr int kComet = 11;
inline constexpr int kStar = 12;
inline constexpr int kUserObject = 13;
inline constexpr int kLast = 13;
}  // namespace search_kind

// Event kinds, the row numbers of the table (0..kLast).
namespace search_code {
inline constexpr int kPerihelion = 0, kAphelion = 1, kPerigee = 2, kApogee = 3;
inline constexpr int kBrightest = 4, kFaintest = 5, kOpposition = 6, kConjunction = 7;
inline constexpr int kElongationEast = 8, kElongationWest = 9, kStationRetrograde = 10, kStationPrograde = 11;
inline constexpr int kInferiorConjunction = 12, kSuperiorConjunction = 13;
inline constexpr int kLatitudeExtremum = 14, kNode = 15, kPhaseMax = 16, kPhaseMin = 17;
inline constexpr int kEarthLatitudeExtremum = 18, kEarthLatitudeZero = 19;
inline constexpr int kSunLatitudeExtremum = 20, kSunLatitudeZero = 21;
inline constexpr int kCentralMeridianZero = 22, kLibrationMax = 23;
inline constexpr int kLast = 23;
}  // namespace search_code

inline constexpr int kEventKindCount = search_code::kLast + 1;

// The almanac's own entries of the event list (the kind byte of its events
// and their slots of EventKindNames), after the event kinds. The Moon's
// phases are listed with the seasons' byte.
namespace almanac_entry {
inline constexpr int kSolarEclipse = kEventKindCount, kLunarEclipse = kEventKindCount + 1,
                     kSeasons = kEventKindCount + 2, kMoonPhases = kEventKindCount + 3,
                     kConjunction = kEventKindCount + 4;
inline constexpr int kCount = 5;
}  // namespace almanac_entry

// The quantity a kind follows, of the body record at one instant (the
// engine's SearchQuantity computes it): degrees for angles, AU for
// distances (the Moon's in Earth radii).
enum class TEventQuantity : std::uint8_t {
  HelioDistance,          // heliocentric distance
  GeoDistance,            // geocentric distance
  Magnitude,              // visual magnitude
  SunElongationCosine,    // cosine of the apparent longitude less the Sun's
  ElongationSine,         // sine of the elongation, signed by the side of the Sun
  RightAscension,         // right ascension 0..360
  OrbitLatitudeCosine,    // cosine of the heliocentric latitude (the Moon: geocentric)
  PhaseAngle,             // phase angle
  EarthLatitudeCosine,    // cosine of the planetocentric latitude of the Earth
  EarthLatitude,          // that latitude itself
  SunLatitudeCosine,      // cosine of the latitude of the Sun (the Moon: selenographic)
  CentralMeridianCosine,  // cosine of the central meridian (system I)
  CentralMeridianSine,    // sine of the central meridian's absolute value
};
// What the engine and the refinement can make of a quantity: whether a
// find's value can be the quantity's angle signed as at the find
// (TEventKindInfo::SignedAngleValue; ExtremeValue in the engine gives it),
// and whether the refinement can follow the sine of the quantity's angle
// (TEventKindInfo::RefineLeadDays; EventQuantitySine in the refinement).
// `Known` is false for a number that names no quantity.
struct TEventQuantityTraits {
  bool Known = true;
  bool SignedAngle = false;
  bool TrackedSine = false;
};
// The switch names every quantity (-Wswitch): a new one cannot be left out,
// and kEventQuantityCount below counts it.
constexpr TEventQuantityTraits EventQuantityTraits(TEventQuantity quantity) {
  switch (quantity) {
    case TEventQuantity::EarthLatitudeCosine:
    case TEventQuantity::SunLatitudeCosine:
    case TEventQuantity::CentralMeridianSine:
      return {.SignedAngle = true};
    case TEventQuantity::SunElongationCosine:
    case TEventQuantity::OrbitLatitudeCosine:
    case TEventQuantity::CentralMeridianCosine:
      return {.TrackedSine = true};
    case TEventQuantity::HelioDistance:
    case TEventQuantity::GeoDistance:
    case TEventQuantity::Magnitude:
    case TEventQuantity::ElongationSine:
    case TEventQuantity::RightAscension:
    case TEventQuantity::PhaseAngle:
    case TEventQuantity::EarthLatitude:
      return {};
  }
  return {.Known = false};
}
constexpr bool QuantityHasSignedAngle(TEventQuantity quantity) { return EventQuantityTraits(quantity).SignedAngle; }
constexpr bool QuantityHasTrackedSine(TEventQuantity quantity) { return EventQuantityTraits(quantity).TrackedSine; }

// The number of quantities, for loops over all of them: the quantities are
// numbered 0, 1, 2, ... and the count is the first number the switch above
// does not name, so that a quantity added after the last one is counted.
constexpr int CountEventQuantities() {
  int count = 0;
  while (count <= 255 && EventQuantityTraits(static_cast<TEventQuantity>(count)).Known) ++count;
  return count;
}
inline constexpr int kEventQuantityCount = CountEventQuantities();
constexpr bool EventQuantitiesWithoutGaps() {
  for (int k = kEventQuantityCount; k <= 255; ++k) {
    if (EventQuantityTraits(static_cast<TEventQuantity>(k)).Known) return false;
  }
  return true;
}
static_assert(EventQuantitiesWithoutGaps(), "the quantities are numbered 0, 1, 2, ... without a gap");

// The quantities' names in the order of their numbers (for messages).
inline constexpr const char* kEventQuantityNames[] = {
    "HelioDistance",     "GeoDistance",           "Magnitude",          "SunElongationCosine", "ElongationSine",
    "RightAscension",    "OrbitLatitudeCosine",   "PhaseAngle",         "EarthLatitudeCosine", "EarthLatitude",
    "SunLatitudeCosine", "CentralMeridianCosine", "CentralMeridianSine"};
static_assert(std::size(kEventQuantityNames) == kEventQuantityCount, "every quantity has its name");
// The name of a quantity, "?" for a number that names none.
constexpr const char* EventQuantityName(TEventQuantity quantity) {
  const auto k = static_cast<std::size_t>(quantity);
  return k < std::size(kEventQuantityNames) ? kEventQuantityNames[k] : "?";
}

// What the search looks for in the quantity's course.
enum class TEventExtremum : std::uint8_t { Minimum, Maximum, Zero };

// Which loop of the engine finds the kind: the extremum of one body's
// quantity, or the root of its longitude difference to the Sun.
enum class TEventLoop : std::uint8_t { Quantity, DifferenceToSun };

// The bound of the rate (degrees a day) of the angle whose sine the
// refinement of a kind tracks: none, the sum of the body's and the Sun's
// angular speeds, or a number per body (RatePerBody, bodies 0..9).
enum class TEventRate : std::uint8_t { None, BodyAndSun, PerBody };

// Which side of the Sun a conjunction of the difference loop must lie on:
// either, the body nearer to the Earth than the Sun (inferior), or not
// nearer (superior). See ConjunctionSideAccepted.
enum class TSunSide : std::uint8_t { Either, Nearer, Farther };

// How the value of a find is shown.
enum class TEventValueTransform : std::uint8_t {
  None,              // no value shown
  Plain,             // the value itself
  ArcSinAbsDegrees,  // |arcsin(value)| in degrees (elongations)
  ArcCosDegrees,     // arccos(value) in degrees (latitude extremes)
};

struct TEventText {
  const char* German;
  const char* English;
};

// Bit of body `body` (0..11) in the masks of the offered kinds.
constexpr std::uint16_t EventBodyBit(int body) { return static_cast<std::uint16_t>(1u << body); }

struct TEventKindInfo {
  int Code;  // the row's number, search_code::k...
  TEventQuantity Quantity;
  TEventExtremum Extremum;
  TEventLoop Loop;
  // The quantity needs the record's physical block (false: the places do).
  bool Physical;
  // The value of a find is the angle of the extreme cosine (or sine), signed
  // as that angle at the find (false: the extreme quantity itself).
  bool SignedAngleValue = false;
  // The side of the Sun a find must lie on (the difference loop takes
  // every root with Either, and ends its scan at the period's bound only
  // then).
  TSunSide SunSide = TSunSide::Either;
  TEventRate Rate = TEventRate::None;
  const double* RatePerBody = nullptr;  // 10 entries for TEventRate::PerBody, else null
  // The time of a find is refined by the sign-change search, starting this
  // many days before it (0: not refined).
  double RefineLeadDays = 0;
  // Steps (days) that replace the user's step: for the Sun and the Moon
  // (0: the user's step); steps per window for the Moon (0: the user's).
  double SunStep = 0;
  double MoonStep;
  int MoonWindow = 0;
  TEventValueTransform Transform;
  int Decimals;  // decimals of the value in the event-found message
  const char* UnitGerman;
  const char* UnitEnglish;
  const char* TableFormat;      // number format of the result table, "" without a value
  TEventText Name;              // the event's name in the lists and tables (EventKindNames)
  TEventText Caption;           // the radio button of the event search dialog
  TEventText AlmanacCaption;    // the check box of the almanac dialog
  std::uint16_t Bodies;         // EventBodyBit of the bodies 0..11 the searches offer it for
  std::uint16_t AlmanacBodies;  // the same for the almanac's bodies 0..9
  // The radio button of the several-objects search, which offers the kinds
  // whose Bodies hold the asteroids and comets; null: Caption.
  TEventText ListCaption = {nullptr, nullptr};

  bool Maximum() const { return Extremum != TEventExtremum::Minimum; }  // a zero counts as a maximum
  bool Refined() const { return RefineLeadDays > 0; }
  // Offered by the several-objects search (asteroid and comet lists).
  bool OfferedForLists() const;
  const TEventText& SeveralObjectsCaption() const { return ListCaption.German ? ListCaption : Caption; }
  // A distance (the Moon's shown in Earth radii).
  bool Distance() const { return Quantity == TEventQuantity::HelioDistance || Quantity == TEventQuantity::GeoDistance; }
  // Found as the root of the body's longitude difference to the Sun.
  bool DifferenceToSun() const { return Loop == TEventLoop::DifferenceToSun; }
};

// The row of event kind `eventKind`; null for a code outside
// 0..kEventKindCount-1. The codes read from stored files are checked where
// they are read (DecodeEventSearchOptions, the almanac's flags); a code
// from anywhere else is tested here by its caller.
const TEventKindInfo* EventKindInfo(int eventKind);
bool EventKindKnown(int eventKind);
// Every row, in code order.
std::span<const TEventKindInfo> EventKindRows();

// Event kind `eventKind` is found as the root of the longitude difference
// of its body to the Sun (schleife_2 with the Sun as the second body);
// false for an unknown kind.
bool DifferenceToSunKind(int eventKind);

// Whether a conjunction of event kind `eventKind` lies on the kind's side
// of the Sun (TEventKindInfo::SunSide): `bodyDistance` and `sunDistance`
// are the geocentric distances (AU, the Moon's too) of the body and the
// Sun near the find. Nearer: the Sun lies farther than the body; Farther:
// it does not. True for every kind without a side, and for an unknown one.
bool ConjunctionSideAccepted(int eventKind, double bodyDistance, double sunDistance);

// The same side judged by the distance alone, as the engine's loop of one
// body's quantity does: `bodyDistance` (AU, geocentric) at most 1 AU for
// Nearer, at least 1 AU for Farther. True for every kind without a side.
bool ConjunctionSideAcceptedByDistance(int eventKind, double bodyDistance);

// The value of event kind `eventKind` for body `body` (search_kind) is the
// Moon's distance, kept in Earth radii and shown with two decimals and the
// unit "RD" in place of AU.
bool MoonDistanceInEarthRadii(int eventKind, int body);
inline constexpr const char* kMoonDistanceUnit = "RD";
inline constexpr int kMoonDistanceDecimals = 2;

// The almanac's own entries: names (slots almanac_entry::k... of
// EventKindNames).
const TEventText& AlmanacEntryName(int entry);

}  // namespace kvx
