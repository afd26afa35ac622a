#include "core/event_kinds.h"

#include <limits>

namespace kvx {

namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();

// The bodies' bits: the Sun, Mercury and Venus, Mars .. Pluto, the Moon,
// asteroid and comet.
constexpr std::uint16_t kSunBit = EventBodyBit(search_kind::kSun);
constexpr std::uint16_t kInner = EventBodyBit(1) | EventBodyBit(2);
constexpr std::uint16_t kOuter = EventBodyBit(3) | EventBodyBit(4) | EventBodyBit(5) | EventBodyBit(6) |
                                 EventBodyBit(7) | EventBodyBit(search_kind::kPluto);
constexpr std::uint16_t kMoonBit = EventBodyBit(search_kind::kMoon);
constexpr std::uint16_t kMinor = EventBodyBit(search_kind::kAsteroid) | EventBodyBit(search_kind::kComet);

// Rate bounds per body (degrees a day; the Sun, Mercury .. Pluto, the
// Moon). The latitude: i n (1 + e)^2 / (1 - e^2)^1.5 of each orbit, with a
// fifth to spare (the Moon geocentric). The central meridian: the Sun's
// rotation, the Moon's libration in longitude.
constexpr double kOrbitLatitudeRates[10] = {kNone, 0.95, 0.12, 0.04, 0.003, 0.002, 0.0005, 0.0003, 0.003, 1.6};
constexpr double kCentralMeridianRates[10] = {14.5, kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone, 2.5};

using T = TEventValueTransform;
// Distances: AU (the Moon's in Earth radii); magnitudes; angles in degrees.
// The dialog's captions and the names of the lists are worded apart, as
// the program has always shown them.
// A row leaves out the fields that say "nothing special": no signed angle,
// no rate bound, not refined, the user's step for the Sun, the user's Moon
// window.
constexpr TEventKindInfo kKinds[kEventKindCount] = {
    {.Code = search_code::kPerihelion,
     .Quantity = TEventQuantity::HelioDistance,
     .Extremum = TEventExtremum::Minimum,
     .Loop = TEventLoop::Quantity,
     .Physical = false,
     .MoonStep = 2,
     .Transform = T::Plain,
     .Decimals = 4,
     .UnitGerman = " AE",
     .UnitEnglish = " AU",
     .TableFormat = "0,00000",
     .Name = {"Perihel", "Perihelion"},
     .Caption = {"P&erihel", "P&erihelion"},
     .AlmanacCaption = {"Perihel", "Perihelion"},
     .Bodies = kInner | kOuter | kMinor,
     .AlmanacBodies = kInner | kOuter},
    {.Code = search_code::kAphelion,
     .Quantity = TEventQuantity::HelioDistance,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::Quantity,
     .Physical = false,
     .MoonStep = 2,
     .Transform = T::Plain,
     .Decimals = 4,
     .UnitGerman = " AE",
     .UnitEnglish = " AU",
     .TableFormat = "0,00000",
     .Name = {"Aphel", "Aphelion"},
     .Caption = {"Aphel", "Aphelion"},
     .AlmanacCaption = {"Aphel", "Aphelion"},
     .Bodies = kInner | kOuter | kMinor,
     .AlmanacBodies = kInner | kOuter},
    {.Code = search_code::kPerigee,
     .Quantity = TEventQuantity::GeoDistance,
     .Extremum = TEventExtremum::Minimum,
     .Loop = TEventLoop::Quantity,
     .Physical = false,
     .MoonStep = 1,
     .Transform = T::Plain,
     .Decimals = 4,
     .UnitGerman = " AE",
     .UnitEnglish = " AU",
     .TableFormat = "0,00000",
     .Name = {"Perigäum", "Perigee"},
     .Caption = {"Erdnähe", "Perigaeum"},
     .AlmanacCaption = {"Erdnähe", "Perigaeum"},
     .Bodies = kSunBit | kInner | kOuter | kMoonBit | kMinor,
     .AlmanacBodies = kSunBit | kInner | kOuter | kMoonBit},
    {.Code = search_code::kApogee,
     .Quantity = TEventQuantity::GeoDistance,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::Quantity,
     .Physical = false,
     .MoonStep = 1,
     .Transform = T::Plain,
     .Decimals = 4,
     .UnitGerman = " AE",
     .UnitEnglish = " AU",
     .TableFormat = "0,00000",
     .Name = {"Apogäum", "Apogee"},
     .Caption = {"Erd&ferne", "Apogaeum"},
     .AlmanacCaption = {"Erdferne", "Apogaeum"},
     .Bodies = kSunBit | kInner | kOuter | kMoonBit | kMinor,
     .AlmanacBodies = kSunBit | kInner | kOuter | kMoonBit},
    {.Code = search_code::kBrightest,
     .Quantity = TEventQuantity::Magnitude,
     .Extremum = TEventExtremum::Minimum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .MoonStep = 2,
     .Transform = T::Plain,
     .Decimals = 1,
     .UnitGerman = " mag",
     .UnitEnglish = " mag",
     .TableFormat = "0,0",
     .Name = {"Größte Helligkeit", "Brightness maximum"},
     .Caption = {"Ma&ximalhelligkeit", "Maximum of magnitude"},
     .AlmanacCaption = {"Maximalhelligkeit", "Maximum of magnitude"},
     .Bodies = kInner | kOuter | kMinor,
     .AlmanacBodies = kInner | kOuter},
    {.Code = search_code::kFaintest,
     .Quantity = TEventQuantity::Magnitude,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .MoonStep = 2,
     .Transform = T::Plain,
     .Decimals = 1,
     .UnitGerman = " mag",
     .UnitEnglish = " mag",
     .TableFormat = "0,0",
     .Name = {"Kleinste Helligkeit", "Brightness minimum"},
     .Caption = {"M&inimalhelligkeit", "Minimum of magnitude"},
     .AlmanacCaption = {"Minimalhelligkeit", "Minimum of magnitude"},
     .Bodies = kInner | kOuter | kMinor,
     .AlmanacBodies = kInner | kOuter},
    {.Code = search_code::kOpposition,
     .Quantity = TEventQuantity::SunElongationCosine,
     .Extremum = TEventExtremum::Minimum,
     .Loop = TEventLoop::DifferenceToSun,
     .Physical = false,
     .Rate = TEventRate::BodyAndSun,
     .RefineLeadDays = 5,
     .MoonStep = 2,
     .Transform = T::None,
     .Decimals = 0,
     .UnitGerman = "",
     .UnitEnglish = "",
     .TableFormat = "",
     .Name = {"Opposition", "Opposition"},
     .Caption = {"Opposition", "Opposition"},
     .AlmanacCaption = {"Opposition", "Opposition"},
     .Bodies = kOuter | kMinor,
     .AlmanacBodies = kOuter},
    {.Code = search_code::kConjunction,
     .Quantity = TEventQuantity::SunElongationCosine,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::DifferenceToSun,
     .Physical = false,
     .Rate = TEventRate::BodyAndSun,
     .RefineLeadDays = 5,
     .MoonStep = 2,
     .Transform = T::None,
     .Decimals = 0,
     .UnitGerman = "",
     .UnitEnglish = "",
     .TableFormat = "",
     .Name = {"Konjunktion", "Conjunction"},
     .Caption = {"Konjunktion", "Conjunction"},
     .AlmanacCaption = {"Konjunktion", "Conjunction"},
     .Bodies = kOuter | kMinor,
     .AlmanacBodies = kOuter},
    {.Code = search_code::kElongationEast,
     .Quantity = TEventQuantity::ElongationSine,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .MoonStep = 2,
     .Transform = T::ArcSinAbsDegrees,
     .Decimals = 1,
     .UnitGerman = " °",
     .UnitEnglish = " °",
     .TableFormat = "0,0",
     .Name = {"Größte östliche Elongation", "Greatest elongation east"},
     .Caption = {"Gr. &östl. Elongation", "Gr. &east. elongation"},
     .AlmanacCaption = {"Gr. östl. Elongation", "Gr. east. elongation"},
     .Bodies = kInner,
     .AlmanacBodies = kInner},
    {.Code = search_code::kElongationWest,
     .Quantity = TEventQuantity::ElongationSine,
     .Extremum = TEventExtremum::Minimum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .MoonStep = 2,
     .Transform = T::ArcSinAbsDegrees,
     .Decimals = 1,
     .UnitGerman = " °",
     .UnitEnglish = " °",
     .TableFormat = "0,0",
     .Name = {"Größte westliche Elongation", "Greatest elongation west"},
     .Caption = {"Gr. w&estl. Elongation", "Gr. w&est. elongation"},
     .AlmanacCaption = {"Gr. westl. Elongation", "Gr. west. elongation"},
     .Bodies = kInner,
     .AlmanacBodies = kInner},
    {.Code = search_code::kStationRetrograde,
     .Quantity = TEventQuantity::RightAscension,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::Quantity,
     .Physical = false,
     .MoonStep = 2,
     .Transform = T::None,
     .Decimals = 0,
     .UnitGerman = "",
     .UnitEnglish = "",
     .TableFormat = "",
     .Name = {"Stationär, dann rückläufig", "Retrograde motion"},
     .Caption = {"Stationär, r&ückläufig", "Retrograde motion"},
     .AlmanacCaption = {"Stationär, rückläufig", "Retrograde motion"},
     .Bodies = kInner | kOuter | kMinor,
     .AlmanacBodies = kInner | kOuter},
    {.Code = search_code::kStationPrograde,
     .Quantity = TEventQuantity::RightAscension,
     .Extremum = TEventExtremum::Minimum,
     .Loop = TEventLoop::Quantity,
     .Physical = false,
     .MoonStep = 2,
     .Transform = T::None,
     .Decimals = 0,
     .UnitGerman = "",
     .UnitEnglish = "",
     .TableFormat = "",
     .Name = {"Stationär, dann rechtläufig", "Prograde motion"},
     .Caption = {"Station&är, rechtläufig", "Prograde motion"},
     .AlmanacCaption = {"Stationär, rechtläufig", "Prograde motion"},
     .Bodies = kInner | kOuter | kMinor,
     .AlmanacBodies = kInner | kOuter},
    {.Code = search_code::kInferiorConjunction,
     .Quantity = TEventQuantity::SunElongationCosine,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::DifferenceToSun,
     .Physical = false,
     .SunSide = TSunSide::Nearer,
     .Rate = TEventRate::BodyAndSun,
     .RefineLeadDays = 5,
     .MoonStep = 2,
     .Transform = T::None,
     .Decimals = 0,
     .UnitGerman = "",
     .UnitEnglish = "",
     .TableFormat = "",
     .Name = {"Untere Konjunktion", "Inferior conjunction"},
     .Caption = {"Untere Konjunktion", "Inferior conjunction"},
     .AlmanacCaption = {"Untere Konjunktion", "Inferior conjunction"},
     .Bodies = kInner,
     .AlmanacBodies = kInner},
    {.Code = search_code::kSuperiorConjunction,
     .Quantity = TEventQuantity::SunElongationCosine,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::DifferenceToSun,
     .Physical = false,
     .SunSide = TSunSide::Farther,
     .Rate = TEventRate::BodyAndSun,
     .RefineLeadDays = 5,
     .MoonStep = 2,
     .Transform = T::None,
     .Decimals = 0,
     .UnitGerman = "",
     .UnitEnglish = "",
     .TableFormat = "",
     .Name = {"Obere Konjunktion", "Superior conjunction"},
     .Caption = {"Obere Konjunktion", "Superior conjunction"},
     .AlmanacCaption = {"Obere Konjunktion", "Superior conjunction"},
     .Bodies = kInner,
     .AlmanacBodies = kInner},
    {.Code = search_code::kLatitudeExtremum,
     .Quantity = TEventQuantity::OrbitLatitudeCosine,
     .Extremum = TEventExtremum::Minimum,
     .Loop = TEventLoop::Quantity,
     .Physical = false,
     .MoonStep = 1,
     .MoonWindow = 100,
     .Transform = T::ArcCosDegrees,
     .Decimals = 1,
     .UnitGerman = " °",
     .UnitEnglish = " °",
     .TableFormat = "0,00",
     .Name = {"Größte Breite", "Extremum of latitude"},
     .Caption = {"Größte/kleinste Breite", "Extremum of hel. latitude"},
     .AlmanacCaption = {"Größte/kleinste Breite", "Extremum of hel. latitude"},
     .Bodies = kInner | kOuter | kMoonBit | kMinor,
     .AlmanacBodies = kInner | kOuter | kMoonBit},
    {.Code = search_code::kNode,
     .Quantity = TEventQuantity::OrbitLatitudeCosine,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::Quantity,
     .Physical = false,
     .Rate = TEventRate::PerBody,
     .RatePerBody = kOrbitLatitudeRates,
     .RefineLeadDays = 5,
     .MoonStep = 1,
     .MoonWindow = 100,
     .Transform = T::None,
     .Decimals = 0,
     .UnitGerman = "",
     .UnitEnglish = "",
     .TableFormat = "",
     .Name = {"Knotendurchgang", "Passage through node"},
     .Caption = {"Knotendurchgang", "Passage through Node"},
     .AlmanacCaption = {"Knotendurchgang", "Passage through node"},
     .Bodies = kInner | kOuter | kMoonBit | kMinor,
     .AlmanacBodies = kInner | kOuter | kMoonBit,
     .ListCaption = {"Knotendurchgang", "Passage through node"}},
    {.Code = search_code::kPhaseMax,
     .Quantity = TEventQuantity::PhaseAngle,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .MoonStep = 4,
     .Transform = T::Plain,
     .Decimals = 1,
     .UnitGerman = " °",
     .UnitEnglish = " °",
     .TableFormat = "0,0",
     .Name = {"Phasenwinkel maximal", "Maximum of phase angle"},
     .Caption = {"Phasenwinkel maximal", "Phase angle maximal"},
     .AlmanacCaption = {"Phasenwinkel maximal", "Phaseangle maximal"},
     .Bodies = kInner | kOuter | kMinor,
     .AlmanacBodies = kInner | kOuter},
    {.Code = search_code::kPhaseMin,
     .Quantity = TEventQuantity::PhaseAngle,
     .Extremum = TEventExtremum::Minimum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .MoonStep = 1,
     .Transform = T::Plain,
     .Decimals = 1,
     .UnitGerman = " °",
     .UnitEnglish = " °",
     .TableFormat = "0,0",
     .Name = {"Phasenwinkel minimal", "Minimum of phase angle"},
     .Caption = {"Phasenwinkel minimal", "Phase angle minimal"},
     .AlmanacCaption = {"Phasenwinkel minimal", "Phaseangle minimal"},
     .Bodies = kInner | kOuter | kMinor,
     .AlmanacBodies = kInner | kOuter},
    {.Code = search_code::kEarthLatitudeExtremum,
     .Quantity = TEventQuantity::EarthLatitudeCosine,
     .Extremum = TEventExtremum::Minimum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .SignedAngleValue = true,
     .MoonStep = 2,
     .Transform = T::Plain,
     .Decimals = 1,
     .UnitGerman = " °",
     .UnitEnglish = " °",
     .TableFormat = "0,00",
     .Name = {"Extremum Breite Erde", "Extremum lat. Earth"},
     .Caption = {"Extremum Breite Erde", "Extremum lat. earth"},
     .AlmanacCaption = {"Extremum B", "Extremum lat. Earth"},
     .Bodies = kSunBit | kInner | kOuter | kMoonBit,
     .AlmanacBodies = kInner | kOuter | kMoonBit},
    {.Code = search_code::kEarthLatitudeZero,
     .Quantity = TEventQuantity::EarthLatitude,
     .Extremum = TEventExtremum::Zero,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .MoonStep = 1,
     .Transform = T::None,
     .Decimals = 0,
     .UnitGerman = "",
     .UnitEnglish = "",
     .TableFormat = "",
     .Name = {"Nulldurchgang Breite Erde", "Lat. Earth zero"},
     .Caption = {"Nulldurchgang Breite Erde", "Lat. earth zero"},
     .AlmanacCaption = {"Nulldurchgang B", "Lat. Earth zero"},
     .Bodies = kSunBit | kInner | kOuter | kMoonBit,
     .AlmanacBodies = kInner | kOuter | kMoonBit},
    {.Code = search_code::kSunLatitudeExtremum,
     .Quantity = TEventQuantity::SunLatitudeCosine,
     .Extremum = TEventExtremum::Minimum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .SignedAngleValue = true,
     .MoonStep = 2,
     .Transform = T::Plain,
     .Decimals = 1,
     .UnitGerman = " °",
     .UnitEnglish = " °",
     .TableFormat = "0,00",
     .Name = {"Extremum Breite Sonne", "Extremum lat. Sun"},
     .Caption = {"Extremum Breite Sonne", "Extremum latitude Sun"},
     .AlmanacCaption = {"Extremum B Sonne", "Extremum latitude Sun"},
     .Bodies = kInner | kOuter | kMoonBit,
     .AlmanacBodies = kInner | kOuter | kMoonBit},
    {.Code = search_code::kSunLatitudeZero,
     .Quantity = TEventQuantity::SunLatitudeCosine,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .MoonStep = 2,
     .Transform = T::None,
     .Decimals = 0,
     .UnitGerman = "",
     .UnitEnglish = "",
     .TableFormat = "",
     .Name = {"Nulldurchgang Breite Sonne", "Latitude Sun zero"},
     .Caption = {"Nulldurchgang Breite Sonne", "Latitude Sun zero"},
     .AlmanacCaption = {"Nulldurchgang B Sonne", "Latitude Sun uero"},
     .Bodies = kInner | kOuter | kMoonBit,
     .AlmanacBodies = kInner | kOuter | kMoonBit},
    {.Code = search_code::kCentralMeridianZero,
     .Quantity = TEventQuantity::CentralMeridianCosine,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .Rate = TEventRate::PerBody,
     .RatePerBody = kCentralMeridianRates,
     .RefineLeadDays = 0.25,
     .SunStep = 2,
     .MoonStep = 1,
     .Transform = T::None,
     .Decimals = 0,
     .UnitGerman = "",
     .UnitEnglish = "",
     .TableFormat = "",
     .Name = {"Zentralmeridian 0", "Centralmeridian 0"},
     .Caption = {"Zentralmeridian 0", "Central meridian 0"},
     .AlmanacCaption = {"Zentralmeridian 0", "Central meridian 0"},
     .Bodies = kSunBit | kMoonBit,
     .AlmanacBodies = kSunBit | kMoonBit},
    {.Code = search_code::kLibrationMax,
     .Quantity = TEventQuantity::CentralMeridianSine,
     .Extremum = TEventExtremum::Maximum,
     .Loop = TEventLoop::Quantity,
     .Physical = true,
     .SignedAngleValue = true,
     .MoonStep = 1,
     .Transform = T::Plain,
     .Decimals = 1,
     .UnitGerman = " °",
     .UnitEnglish = " °",
     .TableFormat = "0,0",
     .Name = {"Libration maximal", "Maximal libration"},
     .Caption = {"Libration maximal", "Maximal libration"},
     .AlmanacCaption = {"Libration maximal", "Maximal libration"},
     .Bodies = kMoonBit,
     .AlmanacBodies = kMoonBit},
};

constexpr bool RowsInOrder() {
  for (int k = 0; k < kEventKindCount; ++k)
    if (kKinds[k].Code != k) return false;
  return true;
}
static_assert(RowsInOrder(), "each row sits at its code");

// What a row asks of its quantity, the quantity must give: a signed angle
// (the engine's ExtremeValue), the sine the refinement follows (the
// refinement's EventQuantitySine); a side of the Sun belongs to the
// difference loop.
constexpr bool RowsAskWhatTheirQuantitiesGive() {
  for (const TEventKindInfo& row : kKinds) {
    if (row.SignedAngleValue && !QuantityHasSignedAngle(row.Quantity)) return false;
    if (row.RefineLeadDays > 0 && !QuantityHasTrackedSine(row.Quantity)) return false;
    if (row.SunSide != TSunSide::Either && row.Loop != TEventLoop::DifferenceToSun) return false;
  }
  return true;
}
static_assert(RowsAskWhatTheirQuantitiesGive(), "a row asks its quantity for an angle it has no rule for");

constexpr TEventText kAlmanacEntryNames[almanac_entry::kCount] = {
    {"Sonnenfinsternis", "Solar eclipse"}, {"Mondfinsternis", "Lunar eclipse"}, {"Jahreszeiten", "Seasons"},
    {"Mondphasen", "Lunar phases"},        {"Konjunktion", "Conjunction"},
};

}  // namespace

bool EventKindKnown(int eventKind) { return eventKind >= 0 && eventKind < kEventKindCount; }

const TEventKindInfo* EventKindInfo(int eventKind) { return EventKindKnown(eventKind) ? &kKinds[eventKind] : nullptr; }

std::span<const TEventKindInfo> EventKindRows() { return kKinds; }

bool DifferenceToSunKind(int eventKind) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  return info != nullptr && info->DifferenceToSun();
}

bool ConjunctionSideAccepted(int eventKind, double bodyDistance, double sunDistance) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (info == nullptr) return true;
  const bool sunFarther = sunDistance > bodyDistance;
  switch (info->SunSide) {
    case TSunSide::Either:
      return true;
    case TSunSide::Nearer:
      return sunFarther;
    case TSunSide::Farther:
      return !sunFarther;
  }
  return true;
}

bool ConjunctionSideAcceptedByDistance(int eventKind, double bodyDistance) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (info == nullptr) return true;
  switch (info->SunSide) {
    case TSunSide::Either:
      return true;
    case TSunSide::Nearer:
      return bodyDistance <= 1.0;
    case TSunSide::Farther:
      return bodyDistance >= 1.0;
  }
  return true;
}

bool MoonDistanceInEarthRadii(int eventKind, int body) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  return body == search_kind::kMoon && info != nullptr && info->Distance();
}

bool TEventKindInfo::OfferedForLists() const { return (Bodies & kMinor) == kMinor; }

const TEventText& AlmanacEntryName(int entry) {
  const int index = entry - almanac_entry::kSolarEclipse;
  return kAlmanacEntryNames[index >= 0 && index < almanac_entry::kCount ? index : 0];
}

}  // namespace kvx
