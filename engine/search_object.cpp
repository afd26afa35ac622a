// The search engine's bodies: the samples of each body at an instant, the
// orbit steps of asteroids and comets, the fixed objects, the date and
// input checks and the progress pump its loops share.
#include "engine/search_object.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "core/angle_constants.h"
#include "core/frames.h"
#include "core/physical_ephemeris.h"
#include "core/rise_set_search.h"
#include "core/root_search.h"
#include "core/star_reduction.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/comet.h"
#include "engine/moon.h"
#include "engine/planet.h"
#include "engine/search_passes.h"
#include "engine/sun.h"
#include "engine/user_object.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "theories/observer_completion.h"
#include "theories/planet_positions.h"

namespace kvx {

namespace {

// Position files are replaced by the VSOP87 C library before this JD.
constexpr double kPositionFilesFirstJd = 2415020.0;
// Planet number of the bodies 1..8 (the Earth skipped).
TBodyIndex PlanetOfBody(int body) { return body >= 3 ? body + 1 : body; }

bool ElementsValid(const TAsteroidElements& e) {
  return std::isfinite(e.SemiMajorAxis) && e.SemiMajorAxis > 0 && std::isfinite(e.Eccentricity) &&
         e.Eccentricity >= 0 && e.Eccentricity < 1 && std::isfinite(e.Inclination) && std::isfinite(e.Node) &&
         std::isfinite(e.Perihelion) && std::isfinite(e.MeanAnomaly) && std::isfinite(e.MeanMotion) &&
         std::isfinite(e.Equinox) && std::isfinite(e.Epoch);
}

bool CometValid(const TCometElements& e) {
  return std::isfinite(e.PerihelionDistance) && e.PerihelionDistance > 0 && std::isfinite(e.Eccentricity) &&
         e.Eccentricity >= 0 && std::isfinite(e.Inclination) && std::isfinite(e.Node) && std::isfinite(e.Perihelion) &&
         std::isfinite(e.Equinox) && std::isfinite(e.PerihelionTime) && std::isfinite(e.H) && std::isfinite(e.G);
}

// The same elements, bit for bit.
bool SameElements(const TAsteroidElements& a, const TAsteroidElements& b) {
  auto same = [](double x, double y) { return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y); };
  return same(a.SemiMajorAxis, b.SemiMajorAxis) && same(a.Eccentricity, b.Eccentricity) &&
         same(a.Inclination, b.Inclination) && same(a.Node, b.Node) && same(a.Perihelion, b.Perihelion) &&
         same(a.MeanAnomaly, b.MeanAnomaly) && same(a.MeanMotion, b.MeanMotion) && same(a.Equinox, b.Equinox) &&
         same(a.Epoch, b.Epoch) && same(a.H, b.H) && same(a.G, b.G) && a.Name == b.Name;
}

bool BodyServed(int body) { return body >= 0 && body <= search_kind::kLast; }

// Swaps the geocentric and the topocentric equatorial pair of a record.
void SwapTopocentricPair(TEphemerisResultRecord& r) {
  std::swap(r.Position.RightAscension, r.TopoRightAscension);
  std::swap(r.Position.Declination, r.TopoDeclination);
}

// A places-only fixed-object record from a kept place: the fields
// tsuchobjekt::FixedObject fills without the physical block.
// An empty record to start from (assigned, not made and dropped each time).
const TEphemerisResultRecord kEmptyRecord{};

void FixedPlaceRecord(const TFixedPlace& place, TEphemerisResultRecord& result) {
  result = kEmptyRecord;
  TKeplerPosition& p = result.Position;
  p.RightAscension = place.RightAscension;
  p.Declination = place.Declination;
  p.GeoLongitude = p.HelioLongitude = place.GeoLongitude;
  p.GeoLatitude = p.HelioLatitude = place.GeoLatitude;
  p.GeoDistance = p.HelioDistance = kFixedObjectDistance;
  result.TopoRightAscension = p.RightAscension;
  result.TopoDeclination = p.Declination;
  result.Physical.magnitude = place.Magnitude;
}

}  // namespace

TTheorySelection MoonSelectionOf(const TSearchContext& context) {
  TTheorySelection selection = context.Selection;
  if (context.FastMoon != 0) selection.bytes[1] = 0;
  return selection;
}

namespace search_pass {

double DistanceAu(int body, const TEphemerisResultRecord& r) {
  constexpr double kEarthRadiusAu = kMoonDistanceUnitKm / 149597870.7;
  return body == search_kind::kMoon ? r.Position.GeoDistance * kEarthRadiusAu : r.Position.GeoDistance;
}

}  // namespace search_pass

tsuchobjekt::tsuchobjekt(const TSearchContext& context) : context_(context), selection_(context.Selection) {
  if (context_.FastSearch != 0) {
    selection_.bytes[0] = 0;
    selection_.bytes[1] = 0;
  }
  if (context_.FastMoon != 0) selection_.bytes[1] = 0;
}

bool tsuchobjekt::planet(TTheorySelection& selection, int body, TObserverRecord& observer,
                         TEphemerisResultRecord& result, double step, std::int32_t starIndex, std::int32_t userIndex) {
  if (!BodyServed(body)) return false;
  // The Moon theory byte is read by the Moon alone.
  if (context_.FastMoon != 0) selection.bytes[1] = 0;
  if (context_.FastSearch != 0) {
    selection.bytes[0] = 0;
  } else if (selection.bytes[0] == 3) {
    const double jd = MjdToJd(observer.Mjd);
    if (jd < kPositionFilesFirstJd || jd > context_.PositionFilesLastJd - 3 - step) selection.bytes[0] = 2;
  }
  const bool orbit = body == search_kind::kAsteroid || body == search_kind::kComet;
  // The topocentric pair (and the physical block of the other bodies) needs
  // the whole completion.
  const bool topocentric = fill_ == TRecordFill::Full || (fill_ == TRecordFill::Places && context_.Topocentric != 0);
  CompleteRecord(selection, observer, orbit && !topocentric ? TCompletion::Instant : TCompletion::Whole);
  // The Sun, planets and Moon have no single values: everything but in the
  // loops.
  const bool fullRecord = fill_ != TRecordFill::Places;
  if (body == search_kind::kPluto && !DateInTheoryRange(selection, observer.Centuries)) return false;

  const TTableConfigRecord config;
  // The record is taken only with a finite place; a theory that gives
  // nothing (a library that is not loaded) leaves the distance at 0: no
  // place.
  auto take = [&result](const TEphemerisResultRecord& computed) {
    if (!std::isfinite(computed.Position.RightAscension) || !std::isfinite(computed.Position.GeoDistance) ||
        !(computed.Position.GeoDistance > 0))
      return false;
    result = computed;
    return true;
  };
  // The Sun and the planets: the places of date, topocentric and physical
  // when asked for.
  auto sunOrPlanet = [&](TSonne& made) {
    made.Accuracy.VsopLevelA = context_.VsopLevelA;
    const TFramesKeeper frames(*this, made);
    made.bahnlageelemente();
    made.heliozentrisch(0, 0, 0, 0);
    made.geozentrischekliptikalgeometrisch();
    made.Ekliptik_aequator();
    if (fullRecord || context_.Topocentric != 0) made.topozentr();
    if (fullRecord) made.physischeEphemeride();
    return take(made.Result);
  };
  if (body == search_kind::kSun) {
    TSonne made(context_.Body, selection, 0, config, observer, 1e-10L);
    made.initialisieren(context_.Body, selection, config, observer, 1e-10L);
    return sunOrPlanet(made);
  } else if (body <= search_kind::kPluto) {
    Tpla made(context_.Body, selection, 0, PlanetOfBody(body), config, observer, 1e-10L);
    made.initialisieren(context_.Body, selection, PlanetOfBody(body), config, observer, 1e-10L);
    return sunOrPlanet(made);
  } else if (body == search_kind::kMoon) {
    Tmond made(context_.MoonCache, context_.MoonOption, context_.Body, selection, 0, config, observer,
               {1e-10L, context_.VsopLevelA, 10});
    const TFramesKeeper frames(*this, made);
    made.heliozentrisch(0, 0, 0, 0);
    made.Geozentrischekliptikalastrometrisch();
    made.Ekliptik_aequator();
    if (fullRecord || context_.Topocentric != 0) made.topozentr();
    if (fullRecord) {
      // The physical block of the place the observer sees.
      if (context_.Topocentric != 0) SwapTopocentricPair(made.Result);
      made.physischeEphemeride();
      if (context_.Topocentric != 0) SwapTopocentricPair(made.Result);
    }
    return take(made.Result);
  } else if (body == search_kind::kAsteroid || body == search_kind::kComet) {
    const bool ready =
        body == search_kind::kAsteroid ? bahn_planetoid(selection, observer) : bahn_komet(selection, observer);
    if (!ready) return false;
    if (completions_ != nullptr) completions_->ShareFrames(*orbitBody_);
    heliozentrisch_suche(observer);
    geozentrisch_suche();
    lichtzeit_suche();
    // The record's geometric polar values are read in the whole record only.
    orbitBody_->GeometricPlaces = fill_ == TRecordFill::Full;
    orbitBody_->Ekliptik_aequator();
    if (topocentric) orbitBody_->topozentr();
    TKepler& orbit = *orbitBody_;
    switch (fill_) {
      case TRecordFill::Full:
        orbit.physischeEphemeride();
        break;
      case TRecordFill::Places:
        break;
      case TRecordFill::Magnitude:
        orbit.Result.Physical.magnitude =
            body == search_kind::kAsteroid
                ? AsteroidMagnitudeOnly(orbit.Observer, orbit.Result.Position, orbit.H, orbit.G)
                : CometMagnitude(orbit.H, orbit.G, orbit.Result.Position.GeoDistance,
                                 orbit.Result.Position.HelioDistance);
        break;
      case TRecordFill::SideAngle:
        orbit.Result.Physical.sideAngle = SunSideAngle(orbit.Observer, orbit.Result.Position);
        break;
    }
    return take(orbit.Result);
  }
  // A star or user object.
  TEphemerisResultRecord computed;
  return FixedObject(body, observer, starIndex, userIndex, computed) && take(computed);
}

void tsuchobjekt::CompleteRecord(const TTheorySelection& selection, TObserverRecord& observer, TCompletion level) {
  const TCompletionStore::TSettings settings{context_.Sidereal, selection, context_.VsopLevelA};
  const bool shared = completions_ != nullptr && TCompletionStore::Keeps(settings);
  const TCompletionStore::Key key = TCompletionStore::KeyOf(settings, level, observer);
  if (shared && completions_->Find(key, observer)) return;
  // The instant the previous body was computed at (the second body of a
  // pair, the Sun beside a body): its completion, the same numbers. Not
  // with the position files, which may leave fields as the record held
  // them.
  const bool kept = selection.PlanetTheory() != kPlanetTheoryPositionFiles;
  if (kept && lastCompletion_.Valid &&
      (lastCompletion_.Of == key ||
       (level == TCompletion::Instant && lastCompletion_.Of.Level == TCompletion::Whole && [&] {
         TCompletionStore::Key whole = key;
         whole.Level = TCompletion::Whole;
         return lastCompletion_.Of == whole;
       }()))) {
    lastCompletion_.Values.Into(observer);
    return;
  }
  if (level == TCompletion::Whole) {
    CompleteObserverRecord(context_.Sidereal, selection, TTableConfigRecord{}, context_.VsopLevelA, observer,
                           context_.Settings);
  } else {
    CompleteObserverInstant(selection, TTableConfigRecord{}, context_.VsopLevelA, observer, context_.Settings);
  }
  if (shared) completions_->Add(key, observer);
  if (kept) lastCompletion_ = {true, key, TCompletionStore::Fields::Of(observer)};
}

bool tsuchobjekt::bahn_planetoid(const TTheorySelection& selection, const TObserverRecord& observer) {
  TAsteroidElements elements = AsteroidElements;
  if (context_.AsteroidDatabase != 0 && !Load_elements(observer, elements, context_.AsteroidDatabaseFile)) return false;
  if (!ElementsValid(elements)) return false;
  if (orbitBody_ != nullptr && orbitElementsKept_ && SameElements(elements, orbitElements_)) {
    // The body of the earlier samples: as a new one but for the caches it
    // keeps by their inputs (precession, orbit orientation, frames).
    orbitBody_->Observer = observer;
    orbitBody_->Result = TEphemerisResultRecord{};
  } else {
    orbitBody_ = std::make_unique<TKepler>(context_.Body, 0, TTableConfigRecord{}, elements, observer,
                                           TAccuracySettings{1e-10L, context_.VsopLevelA, 10});
    orbitElements_ = elements;
    orbitElementsKept_ = true;
  }
  orbitBody_->TheorySelection = selection;
  orbitBody_->FullComputation = 1;
  orbitBody_->bahnlageelemente();
  return true;
}

bool tsuchobjekt::bahn_komet(const TTheorySelection& selection, const TObserverRecord& observer) {
  if (!CometValid(CometElements)) return false;
  orbitElementsKept_ = false;
  orbitBody_ = std::make_unique<TKomet>(context_.Body, selection, 0, TTableConfigRecord{}, CometElements, observer,
                                        TAccuracySettings{1e-10L, context_.VsopLevelA, 10});
  orbitBody_->TheorySelection = selection;
  orbitBody_->FullComputation = 1;
  orbitBody_->bahnlageelemente();
  return true;
}

void tsuchobjekt::heliozentrisch_suche(const TObserverRecord& observer) {
  orbitBody_->Bahn2heliozentrisch(context_.Settings, observer.Mjd + observer.DeltaTSeconds / 86400.0);
}

void tsuchobjekt::geozentrisch_suche() { orbitBody_->geozentrischekliptikalgeometrisch(); }

void tsuchobjekt::lichtzeit_suche() { orbitBody_->geozentrischastrometrisch_linear(); }

bool tsuchobjekt::FixedObject(int body, const TObserverRecord& observer, std::int32_t starIndex, std::int32_t userIndex,
                              TEphemerisResultRecord& result) const {
  const double T = observer.Centuries;
  double ra = 0, dec = 0, magnitude = 0;
  const TFixedObjectFrame* frame = nullptr;
  const tuserobject* userObject = nullptr;
  if (body == search_kind::kStar) {
    TSearchStar star;
    if (!context_.StarAt || starIndex < 1 || starIndex > context_.StarCount || !context_.StarAt(starIndex, star))
      return false;
    // Proper motion from 1950.0, precession from the equinox of 1950.0,
    // nutation: the reduction the occultation searches share.
    double raEpoch = 0, decEpoch = 0;
    StarPlaceAtEpoch(star.RightAscension1950, star.Declination1950, star.ProperMotionRA, star.ProperMotionDec, T,
                     raEpoch, decEpoch);
    StarToDate(StarReductionWith(T, observer.Precession, observer.Obliquity), raEpoch, decEpoch, ra, dec);
    magnitude = star.Magnitude;
  } else {
    const tuserobject* object =
        context_.UserObjects != nullptr && userIndex >= 1 ? context_.UserObjects->Item(userIndex - 1) : nullptr;
    if (object == nullptr || !UserObjectUsable(*object, nullptr, nullptr)) return false;
    if (fill_ == TRecordFill::Places && fixedStore_ && fixedStore_->KeepsPlaces()) {
      if (const TFixedPlace* kept = fixedStore_->FindPlace(userIndex, *object, observer, fixedEcliptic_)) {
        FixedPlaceRecord(*kept, result);
        return true;
      }
    }
    frame = &FixedFrame(object->Value5, observer);
    userObject = object;
    FixedObjectApparentPlace(*frame, object->Angle1, object->Angle2, object->Value3, object->Value4,
                             observer.SinObliquity, observer.CosObliquity, ra, dec);
    magnitude = object->Value6;
  }
  if (!std::isfinite(ra) || !std::isfinite(dec)) return false;
  TEphemerisResultRecord& r = result;
  r = kEmptyRecord;
  TKeplerPosition& p = r.Position;
  p.RightAscension = Mod360(ra);
  p.Declination = dec;
  if (fill_ != TRecordFill::Places || fixedEcliptic_) {
    double x = 0, y = 0, z = 0, radius = 0;
    PolarToCartesian(x, y, z, 1.0, dec, p.RightAscension);
    if (frame != nullptr) {
      EquatorialToEclipticBy(y, z, frame->SinMeanObliquity, frame->CosMeanObliquity);
    } else {
      EquatorialToEcliptic(x, y, z, T);
    }
    CartesianToPolar(radius, p.GeoLatitude, p.GeoLongitude, x, y, z);
    p.GeoLongitude = Mod360(p.GeoLongitude);
  }
  p.HelioLongitude = p.GeoLongitude;
  p.HelioLatitude = p.GeoLatitude;
  p.GeoDistance = p.HelioDistance = kFixedObjectDistance;
  r.TopoRightAscension = p.RightAscension;
  r.TopoDeclination = p.Declination;
  TPhysicalBlock& b = r.Physical;
  if (fill_ != TRecordFill::Places) {
    b.elongation = SunElongationSide(b.sideText, p.RightAscension, p.Declination, observer);
    b.sideAngle = Mod360(p.GeoLongitude - observer.SunLongitude);
  }
  b.magnitude = magnitude;
  if (fill_ == TRecordFill::Places && userObject != nullptr && fixedStore_->KeepsPlaces())
    fixedStore_->KeepPlace(userIndex, *userObject, observer, fixedEcliptic_,
                           TFixedPlace{p.RightAscension, p.Declination, p.GeoLongitude, p.GeoLatitude, magnitude});
  return true;
}

const TFixedObjectFrame& tsuchobjekt::FixedFrame(double epochYear, const TObserverRecord& observer) const {
  if (!fixedStore_) fixedStore_ = std::make_shared<TFixedObjectStore>();
  return fixedStore_->Frame(epochYear, observer);
}

bool tsuchobjekt::Load_elements(const TObserverRecord& observer, TAsteroidElements& elements, const std::string& file) {
  if (databaseState_ == DatabaseState::Unread) {
    databaseState_ = DatabaseState::Failed;
    if (!ReadEelFile(file, databaseHeader_, databaseRecords_)) return false;  // the reader's message
    const std::int32_t size = kEelHeaderSize + static_cast<std::int32_t>(databaseRecords_.size()) * kEelRecordSize;
    if (EelRecordIndex(size, databaseHeader_.First, databaseHeader_.Step, databaseHeader_.First) < 0) {
      ShowMessage("Die Kleinplaneten-Datenbank " + file + " ist beschädigt.",
                  "The asteroid database " + file + " is damaged.", MessageIcon::Error);
      return false;
    }
    databaseState_ = DatabaseState::Loaded;
  }
  if (databaseState_ != DatabaseState::Loaded) return false;
  const std::int32_t size = kEelHeaderSize + static_cast<std::int32_t>(databaseRecords_.size()) * kEelRecordSize;
  const std::int32_t index = EelRecordIndex(size, MjdToJd(observer.Mjd), databaseHeader_.Step, databaseHeader_.First);
  if (index < 0 || static_cast<std::size_t>(index) >= databaseRecords_.size()) return false;
  elements = EelElements(databaseHeader_, databaseRecords_[static_cast<std::size_t>(index)]);
  if (elements.MeanMotion == 0 && elements.SemiMajorAxis > 0)
    elements.MeanMotion = MeanDailyMotion(elements.SemiMajorAxis);
  return ElementsValid(elements);
}

bool tsuchobjekt::datum_pruefen(bool check, TTheorySelection selection, int bodyA, int bodyB, double mjd) {
  if (!check) return true;
  bool ok = std::isfinite(mjd) && mjd <= kSearchMjdLimit;
  if (ok && (bodyA == search_kind::kPluto || bodyB == search_kind::kPluto)) {
    ok = DateInTheoryRange(selection, JulianCenturiesJ2000(MjdToJd(mjd)));
  }
  if (ok) return true;
  AbortRequested = 1;
  ShowMessage("Ungültiges Datum für die Suche.", "Invalid date for search.", MessageIcon::Error);
  return false;
}

void tsuchobjekt::TakeElements(const TSearchLoopRequest& request) {
  AsteroidElements = request.Asteroid != nullptr ? *request.Asteroid : TAsteroidElements{};
  CometElements = request.Comet != nullptr ? *request.Comet : TCometElements{};
}

bool tsuchobjekt::InputAccepted(const TSearchLoopRequest& request) {
  TakeElements(request);
  TSearchLoopRequest first = request;
  first.StarIndex = 1;
  first.UserIndex = 1;
  return CheckInput(first);
}

bool tsuchobjekt::CheckInput(const TSearchLoopRequest& request) {
  auto refuse = [](const char* german, const char* english) {
    ShowMessage(german, english, MessageIcon::Error);
    return false;
  };
  const double step = request.Step;
  const double startMjd = request.Start.Mjd;
  if (!std::isfinite(step) || step <= 0)
    return refuse("Die Schrittweite der Suche muss größer als 0 sein.", "The search step must be greater than 0.");
  if (request.MaxSteps < 1)
    return refuse("Die Suche braucht mindestens einen Schritt.", "The search needs at least one step.");
  for (int body : {request.Body, request.SecondBody}) {
    if (body < 0 || body > search_kind::kLast)
      return refuse("Unbekannter Körper für die Suche.", "Unknown body for the search.");
    if (!BodyServed(body)) return refuse("Dieser Körper kann nicht gesucht werden.", "This body cannot be searched.");
    if (body == search_kind::kAsteroid && context_.AsteroidDatabase != 0) {
      // Read once per search: a bad file gives its one message here.
      databaseState_ = DatabaseState::Unread;
      TObserverRecord at;
      at.Mjd = startMjd;
      TAsteroidElements loaded;
      if (!Load_elements(at, loaded, context_.AsteroidDatabaseFile)) {
        if (databaseState_ == DatabaseState::Failed) return false;
        return refuse("Die Bahnelemente des Kleinplaneten sind ungültig.",
                      "The asteroid's orbital elements are invalid.");
      }
    } else if (body == search_kind::kAsteroid && !ElementsValid(AsteroidElements)) {
      return refuse("Die Bahnelemente des Kleinplaneten sind ungültig.",
                    "The asteroid's orbital elements are invalid.");
    }
    if (body == search_kind::kComet && !CometValid(CometElements))
      return refuse("Die Bahnelemente des Kometen sind ungültig.", "The comet's orbital elements are invalid.");
    if (body == search_kind::kStar &&
        (request.StarIndex < 1 || request.StarIndex > context_.StarCount || !context_.StarAt))
      return refuse("Dieser Stern ist nicht im Sternkatalog.", "This star is not in the star catalogue.");
    if (body == search_kind::kUserObject &&
        (context_.UserObjects == nullptr || request.UserIndex < 1 || request.UserIndex > context_.UserObjects->Count()))
      return refuse("Dieses Objekt ist nicht in der Objektliste.", "This object is not in the object list.");
  }
  if (!std::isfinite(startMjd) || startMjd > kSearchMjdLimit)
    return refuse("Ungültiges Datum für die Suche.", "Invalid date for search.");
  return true;
}

bool tsuchobjekt::Sample(int body, const TObserverRecord& base, double mjd, double step, std::int32_t starIndex,
                         std::int32_t userIndex, TSearchSample& sample) {
  sample.Observer = base;
  sample.Shared = nullptr;
  sample.Observer.Mjd = mjd;
  ObserverRecordDateFromMjd(sample.Observer);
  TTheorySelection selection = selection_;
  sample.Valid = planet(selection, body, sample.Observer, sample.Result, step, starIndex, userIndex);
  sample.Observer.Mjd = mjd;  // the completion's date round trip must not move the instant
  return sample.Valid;
}

bool tsuchobjekt::Pump(const TObserverRecord& observer, bool label, int passed) {
  ProgressReporter& progress = CurrentProgress();
  if (label && progress.Visible()) {  // the text only for a panel that shows it
    std::string text;
    ObserverDateTimeText(observer, text);
    progress.SetLabel(text);
  }
  progress.ProcessEvents();
  samples_ += passed;
  progress.Step(samples_);
  return AbortRequested == 0;
}

}  // namespace kvx
