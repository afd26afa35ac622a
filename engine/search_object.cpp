#include "engine/search_object.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
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
#include "engine/sun.h"
#include "engine/user_object.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "theories/observer_completion.h"
#include "theories/planet_positions.h"

namespace kvx {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Days to which the instant of a root or an extremum is found.
constexpr double kRootTolerance = 1e-6;
// The instants a located root or extremum counts for in the progress
// position: the two passes with a tenth and a hundredth of the step, of
// about 20 steps each, that a scan's find stands for.
constexpr int kRefinedInstants = 40;
// Position files are replaced by the VSOP87 C library before this JD.
constexpr double kPositionFilesFirstJd = 2415020.0;
// Steps of one closest-approach pass at most.
constexpr int kMaxApproachSteps = 1000;

// Planet number of the body kinds 1..8 (the Earth skipped).
TBodyIndex PlanetOfKind(int kind) { return kind >= 3 ? kind + 1 : kind; }

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

bool KindServed(int kind) { return kind >= 0 && kind <= search_kind::kLast; }

// Geocentric distance in AU (the Moon's record holds Earth radii), for the
// distance conditions of the conjunction codes.
double DistanceAu(int kind, const TEphemerisResultRecord& r) {
  constexpr double kEarthRadiusAu = kMoonDistanceUnitKm / 149597870.7;
  return kind == search_kind::kMoon ? r.Position.GeoDistance * kEarthRadiusAu : r.Position.GeoDistance;
}

// Swaps the geocentric and the topocentric equatorial pair of a record.
void SwapTopocentricPair(TEphemerisResultRecord& r) {
  std::swap(r.Position.RightAscension, r.TopoRightAscension);
  std::swap(r.Position.Declination, r.TopoDeclination);
}

// Shows the progress panel for the run when asked and ends it on every way
// out.
class ShownProgress {
 public:
  explicit ShownProgress(bool show) {
    if (show) session_.emplace(CurrentProgress(), " ", 0);
  }

 private:
  std::optional<ProgressSession> session_;
};

// Parabola through three values: vertex (or, for code 19, first root in
// [-1, 1]) in steps from the middle value, and the vertex value. False when
// there is none or a value is not finite.
bool FitWindow(int code, double y0, double y1, double y2, double& x, double& y) {
  if (!std::isfinite(y0) || !std::isfinite(y1) || !std::isfinite(y2)) return false;
  if (code == search_code::kEarthLatitudeZero) {
    double xe = 0, ye = 0, z1 = 0, z2 = 0;
    int nz = 0;
    QuadraticInterpolation(y0, y1, y2, xe, ye, z1, z2, nz);
    if (nz <= 0 || !std::isfinite(z1)) return false;
    x = z1;
    y = z1;
    return true;
  }
  double xe = 0, ye = 0;
  ParabolaExtremum(xe, ye, y0, y1, y2);
  if ((y0 + y2) / 2 - y1 == 0) return false;
  if (!std::isfinite(xe) || !std::isfinite(ye)) return false;
  x = xe;
  y = ye;
  return true;
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

bool SearchFindsMaximum(int code) {
  switch (code) {
    case 0:
    case 2:
    case 4:
    case 6:
    case 9:
    case 11:
    case 14:
    case 17:
    case 18:
    case 20:
      return false;
    default:
      return true;
  }
}

double SearchQuantity(int code, int kind, const TEphemerisResultRecord& r, double sunLongitude) {
  const TPhysicalBlock& p = r.Physical;
  switch (code) {
    case 0:
    case 1:
      return r.Position.HelioDistance;
    case 2:
    case 3:
      return r.Position.GeoDistance;
    case 4:
    case 5:
      return p.magnitude;
    case 6:
    case 7:
    case 12:
    case 13:
      return std::isnan(sunLongitude) ? CosDeg(p.sideAngle) : CosDeg(r.Position.GeoLongitude - sunLongitude);
    case 8:
    case 9:
      return SinDeg(Sign(SinDeg(p.sideAngle)) * p.elongation);
    case 10:
    case 11:
      return Mod360(r.Position.RightAscension);
    case 14:
    case 15:
      return CosDeg(kind == search_kind::kMoon ? r.Position.GeoLatitude : r.Position.HelioLatitude);
    case 16:
    case 17:
      return p.phaseAngle;
    case 18:
      return CosDeg(p.subEarthLatC);
    case 19:
      return p.subEarthLatC;
    case 20:
    case 21:
      return CosDeg(kind == search_kind::kMoon ? p.SunSelenographicLatitude : p.subSolarLatC);
    case 22:
      return CosDeg(p.centralMeridian1);
    case 23:
      return SinDeg(std::fabs(p.centralMeridian1));
    default:
      return kNaN;
  }
}

tsuchobjekt::tsuchobjekt(const TSearchContext& context) : context_(context), selection_(context.Selection) {
  if (context_.FastSearch != 0) {
    selection_.bytes[0] = 0;
    selection_.bytes[1] = 0;
  }
}

bool tsuchobjekt::planet(TTheorySelection& selection, int kind, TObserverRecord& observer,
                         TEphemerisResultRecord& result, double step, std::int32_t starIndex, std::int32_t userIndex) {
  if (!KindServed(kind)) return false;
  if (context_.FastSearch != 0) {
    selection.bytes[0] = 0;
  } else if (selection.bytes[0] == 3) {
    const double jd = MjdToJd(observer.Mjd);
    if (jd < kPositionFilesFirstJd || jd > context_.PositionFilesLastJd - 3 - step) selection.bytes[0] = 2;
  }
  const bool orbit = kind == search_kind::kAsteroid || kind == search_kind::kComet;
  // The topocentric pair (and the physical block of the other kinds) needs
  // the whole completion.
  const bool topocentric = fill_ == TRecordFill::Full || (fill_ == TRecordFill::Places && context_.Topocentric != 0);
  CompleteRecord(selection, observer, orbit && !topocentric ? TCompletion::Instant : TCompletion::Whole);
  // The Sun, planets and Moon have no single values: everything but in the
  // loops.
  const bool fullRecord = fill_ != TRecordFill::Places;
  if (kind == search_kind::kPluto && !DateInTheoryRange(selection, observer.Centuries)) return false;

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
  auto sunOrPlanet = [&](TSonne& body) {
    body.Accuracy.VsopLevelA = context_.VsopLevelA;
    const TFramesKeeper frames(*this, body);
    body.bahnlageelemente();
    body.heliozentrisch(0, 0, 0, 0);
    body.geozentrischekliptikalgeometrisch();
    body.Ekliptik_aequator();
    if (fullRecord || context_.Topocentric != 0) body.topozentr();
    if (fullRecord) body.physischeEphemeride();
    return take(body.Result);
  };
  if (kind == search_kind::kSun) {
    TSonne body(context_.Body, selection, 0, config, observer, 1e-10L);
    body.initialisieren(context_.Body, selection, config, observer, 1e-10L);
    return sunOrPlanet(body);
  } else if (kind <= search_kind::kPluto) {
    Tpla body(context_.Body, selection, 0, PlanetOfKind(kind), config, observer, 1e-10L);
    body.initialisieren(context_.Body, selection, PlanetOfKind(kind), config, observer, 1e-10L);
    return sunOrPlanet(body);
  } else if (kind == search_kind::kMoon) {
    Tmond body(context_.MoonCache, context_.MoonOption, context_.Body, selection, 0, config, observer,
               {1e-10L, context_.VsopLevelA, 10});
    const TFramesKeeper frames(*this, body);
    body.heliozentrisch(0, 0, 0, 0);
    body.Geozentrischekliptikalastrometrisch();
    body.Ekliptik_aequator();
    if (fullRecord || context_.Topocentric != 0) body.topozentr();
    if (fullRecord) {
      // The physical block of the place the observer sees.
      if (context_.Topocentric != 0) SwapTopocentricPair(body.Result);
      body.physischeEphemeride();
      if (context_.Topocentric != 0) SwapTopocentricPair(body.Result);
    }
    return take(body.Result);
  } else if (kind == search_kind::kAsteroid || kind == search_kind::kComet) {
    const bool ready =
        kind == search_kind::kAsteroid ? bahn_planetoid(selection, observer) : bahn_komet(selection, observer);
    if (!ready) return false;
    if (completions_ != nullptr) completions_->ShareFrames(*orbitBody_);
    heliozentrisch_suche(observer);
    geozentrisch_suche();
    lichtzeit_suche();
    // The record's geometric polar values are read in the whole record only.
    orbitBody_->GeometricPlaces = fill_ == TRecordFill::Full;
    orbitBody_->Ekliptik_aequator();
    if (topocentric) orbitBody_->topozentr();
    TKepler& body = *orbitBody_;
    switch (fill_) {
      case TRecordFill::Full:
        body.physischeEphemeride();
        break;
      case TRecordFill::Places:
        break;
      case TRecordFill::Magnitude:
        body.Result.Physical.magnitude =
            kind == search_kind::kAsteroid
                ? AsteroidMagnitudeOnly(body.Observer, body.Result.Position, body.H, body.G)
                : CometMagnitude(body.H, body.G, body.Result.Position.GeoDistance, body.Result.Position.HelioDistance);
        break;
      case TRecordFill::SideAngle:
        body.Result.Physical.sideAngle = SunSideAngle(body.Observer, body.Result.Position);
        break;
    }
    return take(body.Result);
  }
  // A star or user object.
  TEphemerisResultRecord computed;
  return FixedObject(kind, observer, starIndex, userIndex, computed) && take(computed);
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

bool tsuchobjekt::FixedObject(int kind, const TObserverRecord& observer, std::int32_t starIndex, std::int32_t userIndex,
                              TEphemerisResultRecord& result) const {
  const double T = observer.Centuries;
  double ra = 0, dec = 0, magnitude = 0;
  const TFixedObjectFrame* frame = nullptr;
  const tuserobject* userObject = nullptr;
  if (kind == search_kind::kStar) {
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

bool tsuchobjekt::datum_pruefen(bool check, TTheorySelection selection, int kindA, int kindB, double mjd) {
  if (!check) return true;
  bool ok = std::isfinite(mjd) && mjd <= kSearchMjdLimit;
  if (ok && (kindA == search_kind::kPluto || kindB == search_kind::kPluto)) {
    ok = DateInTheoryRange(selection, JulianCenturiesJ2000(MjdToJd(mjd)));
  }
  if (ok) return true;
  AbortRequested = 1;
  ShowMessage("Ungültiges Datum für die Suche.", "Invalid date for search.", MessageIcon::Error);
  return false;
}

bool tsuchobjekt::InputAccepted(int kindA, int kindB, const TAsteroidElements& asteroid, const TCometElements& comet,
                                double step, std::int32_t maxSteps, double startMjd) {
  AsteroidElements = asteroid;
  CometElements = comet;
  return CheckInput(kindA, kindB, step, maxSteps, startMjd, 1, 1);
}

bool tsuchobjekt::CheckInput(int kindA, int kindB, double step, std::int32_t maxSteps, double startMjd,
                             std::int32_t starIndex, std::int32_t userIndex) {
  auto refuse = [](const char* german, const char* english) {
    ShowMessage(german, english, MessageIcon::Error);
    return false;
  };
  if (!std::isfinite(step) || step <= 0)
    return refuse("Die Schrittweite der Suche muss größer als 0 sein.", "The search step must be greater than 0.");
  if (maxSteps < 1) return refuse("Die Suche braucht mindestens einen Schritt.", "The search needs at least one step.");
  for (int kind : {kindA, kindB}) {
    if (kind < 0 || kind > search_kind::kLast)
      return refuse("Unbekannter Körper für die Suche.", "Unknown body for the search.");
    if (!KindServed(kind)) return refuse("Dieser Körper kann nicht gesucht werden.", "This body cannot be searched.");
    if (kind == search_kind::kAsteroid && context_.AsteroidDatabase != 0) {
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
    } else if (kind == search_kind::kAsteroid && !ElementsValid(AsteroidElements)) {
      return refuse("Die Bahnelemente des Kleinplaneten sind ungültig.",
                    "The asteroid's orbital elements are invalid.");
    }
    if (kind == search_kind::kComet && !CometValid(CometElements))
      return refuse("Die Bahnelemente des Kometen sind ungültig.", "The comet's orbital elements are invalid.");
    if (kind == search_kind::kStar && (starIndex < 1 || starIndex > context_.StarCount || !context_.StarAt))
      return refuse("Dieser Stern ist nicht im Sternkatalog.", "This star is not in the star catalogue.");
    if (kind == search_kind::kUserObject &&
        (context_.UserObjects == nullptr || userIndex < 1 || userIndex > context_.UserObjects->Count()))
      return refuse("Dieses Objekt ist nicht in der Objektliste.", "This object is not in the object list.");
  }
  if (!std::isfinite(startMjd) || startMjd > kSearchMjdLimit)
    return refuse("Ungültiges Datum für die Suche.", "Invalid date for search.");
  return true;
}

bool tsuchobjekt::Sample(int kind, const TObserverRecord& base, double mjd, double step, std::int32_t starIndex,
                         std::int32_t userIndex, TSearchSample& sample) {
  sample.Observer = base;
  sample.Shared = nullptr;
  sample.Observer.Mjd = mjd;
  ObserverRecordDateFromMjd(sample.Observer);
  TTheorySelection selection = selection_;
  sample.Valid = planet(selection, kind, sample.Observer, sample.Result, step, starIndex, userIndex);
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

tsuchobjekt::PassEnd tsuchobjekt::Pass1(bool dateCheck, bool endCheck, int code, int kind, const TObserverRecord& start,
                                        double step, std::int32_t maxSteps, double endMjd, double& time, double& value,
                                        TObserverRecord& middle) {
  // The window moves on by turning the pointers, not by copying records.
  TSearchSample samples[3];
  TSearchSample* s[3] = {&samples[0], &samples[1], &samples[2]};
  const bool unwrap = code == search_code::kStationRetrograde || code == search_code::kStationPrograde;
  if (!Sample(kind, start, start.Mjd - step, step, 1, 1, *s[0]) || !Sample(kind, start, start.Mjd, step, 1, 1, *s[1]))
    return PassEnd::NotFound;
  for (int i = 0; i < 2; ++i) s[i]->Value = Quantity(code, kind, *s[i]);
  std::int32_t counter = 0;
  while (true) {
    const bool valid = Sample(kind, s[1]->Observer, s[1]->Observer.Mjd + step, step, 1, 1, *s[2]);
    if (!Pump(s[2]->Observer, true)) return PassEnd::Aborted;
    if (!datum_pruefen(dateCheck, selection_, kind, kind, s[1]->Observer.Mjd)) return PassEnd::Aborted;
    if (!valid) return PassEnd::NotFound;
    s[2]->Value = Quantity(code, kind, *s[2]);
    double y[3] = {s[0]->Value, s[1]->Value, s[2]->Value};
    if (unwrap && (std::fabs(y[0] - y[1]) > 120 || std::fabs(y[1] - y[2]) > 120)) {
      for (double& v : y)
        if (v > 180) v -= 360;
    }
    double x = 0, ye = 0;
    bool vertex = FitWindow(code, y[0], y[1], y[2], x, ye);
    bool accepted = vertex;
    if (vertex && code != search_code::kEarthLatitudeZero) {
      const bool isMaximum = (y[0] + y[2]) / 2 - y[1] < 0;
      accepted = isMaximum == (FindMaximum != 0);
      const double distance = DistanceAu(kind, s[1]->Record());
      if (code == search_code::kInferiorConjunction) accepted = accepted && distance <= 1.0;
      if (code == search_code::kSuperiorConjunction) accepted = accepted && distance >= 1.0;
    }
    ++counter;
    const bool pastEnd = endCheck && s[0]->Observer.Mjd > endMjd;
    if (pastEnd || (accepted && std::fabs(x) < 0.5) || counter > maxSteps) {
      if (accepted && std::fabs(x) < 0.6 && counter < maxSteps) {
        time = s[1]->Observer.Mjd + x * step;
        value = ExtremeValue(code, kind, ye, s[2]->Record());
        middle = s[1]->Observer;
        return PassEnd::Found;
      }
      return PassEnd::NotFound;
    }
    std::rotate(s, s + 1, s + 3);
  }
}

double tsuchobjekt::ExtremeValue(int code, int kind, double extreme, const TEphemerisResultRecord& r) {
  const TPhysicalBlock& p = r.Physical;
  switch (code) {
    case search_code::kEarthLatitudeExtremum:
      return ArcCosDeg(extreme) * Sign(p.subEarthLatC);
    case search_code::kSunLatitudeExtremum:
      return ArcCosDeg(extreme) * Sign(kind == search_kind::kMoon ? p.SunSelenographicLatitude : p.subSolarLatC);
    case search_code::kLibrationMax:
      return ArcSinDeg(extreme) * Sign(p.centralMeridian1);
    default:
      return extreme;
  }
}

double tsuchobjekt::Quantity(int code, int kind, TSearchSample& sample) {
  double sunLongitude = kNaN;
  if (code == search_code::kOpposition || code == search_code::kConjunction ||
      code == search_code::kInferiorConjunction || code == search_code::kSuperiorConjunction) {
    // The Sun's place of the same instant, reduced as the body's is.
    if (kind == search_kind::kSun) return kNaN;
    TSearchSample sun;
    const TFillScope places(*this, TRecordFill::Places);
    if (!Sample(search_kind::kSun, sample.Observer, sample.Observer.Mjd, 0, 1, 1, sun)) return kNaN;
    sunLongitude = sun.Record().Position.GeoLongitude;
  }
  return SearchQuantity(code, kind, sample.Record(), sunLongitude);
}

tsuchobjekt::PassEnd tsuchobjekt::RefineExtremum(int code, int kind, const TObserverRecord& base, double step,
                                                 double& time, double& value) {
  const double probeStep = step * 1e-3;
  bool aborted = false;
  TSearchSample sample;
  auto quantity = [&](double mjd) {
    if (aborted) return kNaN;
    const bool ok = Sample(kind, base, mjd, probeStep, 1, 1, sample);
    if (!Pump(sample.Observer, false, 0)) aborted = true;
    return ok && !aborted ? Quantity(code, kind, sample) : kNaN;
  };
  const bool rightAscension = code == search_code::kStationRetrograde || code == search_code::kStationPrograde;
  // The central difference over 2h: its zero is the extremum's instant to
  // far below a second for the quantities' smooth courses.
  const double h = std::min(0.01, step * 0.01);
  auto rate = [&](double mjd) {
    const double d = quantity(mjd + h) - quantity(mjd - h);
    return rightAscension ? std::remainder(d, 360.0) : d;
  };
  const bool root = code == search_code::kEarthLatitudeZero;
  const std::function<double(double)> f = root ? std::function<double(double)>(quantity) : rate;
  const double estimate = time;
  double a = estimate - 0.5 * step, b = estimate + 0.5 * step;
  double fa = f(a), fb = f(b);
  if (std::isfinite(fa) && std::isfinite(fb) && (fa < 0) == (fb < 0) && fa != 0 && fb != 0) {
    a = estimate - step;
    b = estimate + step;
    fa = f(a);
    fb = f(b);
  }
  if (aborted) return PassEnd::Aborted;
  if (!std::isfinite(fa) || !std::isfinite(fb) || ((fa < 0) == (fb < 0) && fa != 0 && fb != 0))
    return PassEnd::NotFound;
  const double t = BrentRoot(f, a, fa, b, fb, kRootTolerance);
  if (!Pump(base, false, kRefinedInstants)) aborted = true;
  if (aborted) return PassEnd::Aborted;
  if (!std::isfinite(t)) return PassEnd::NotFound;
  const double q = quantity(t);
  if (aborted) return PassEnd::Aborted;
  if (!std::isfinite(q)) return PassEnd::NotFound;
  time = t;
  // Code 19 keeps the abscissa of the window's root as its value.
  if (!root) value = ExtremeValue(code, kind, q, sample.Record());
  return PassEnd::Found;
}

bool tsuchobjekt::schleife_1(bool dateCheck, bool endCheck, bool show, int code, int kind, const TObserverRecord& start,
                             const TAsteroidElements& asteroid, const TCometElements& comet, double step,
                             std::int32_t maxSteps, double endMjd, double& time, double& value) {
  AbortRequested = 0;
  AsteroidElements = asteroid;
  CometElements = comet;
  if (code < 0 || code > search_code::kLast) {
    ShowMessage("Unbekannte Ereignisart.", "Unknown kind of event.", MessageIcon::Error);
    return false;
  }
  if (!CheckInput(kind, kind, step, maxSteps, start.Mjd, 1, 1)) return false;
  FindMaximum = SearchFindsMaximum(code) ? 1 : 0;
  // Distances, right ascension and the latitudes need no physical block.
  const bool positional = code <= 3 || code == 6 || code == 7 || code == 10 || code == 11 || (code >= 12 && code <= 15);
  TFillScope scope(*this, positional ? TRecordFill::Places : TRecordFill::Full);
  ShownProgress shown(show);
  double t = 0, v = 0;
  TObserverRecord middle;
  if (Pass1(dateCheck, endCheck, code, kind, start, step, maxSteps, endMjd, t, v, middle) != PassEnd::Found)
    return false;
  // The instant itself: the zero of the quantity's rate of change (of the
  // quantity for code 19) near the window's estimate. When it cannot be
  // bracketed the estimate stands.
  if (RefineExtremum(code, kind, middle, step, t, v) == PassEnd::Aborted) return false;
  time = t;
  value = v;
  return true;
}

double tsuchobjekt::Difference(int code, bool ecliptic, const TSearchSample& a, const TSearchSample& b) const {
  double angleA = 0, angleB = 0;
  if (code == search_code::kOpposition || code == search_code::kConjunction ||
      code == search_code::kInferiorConjunction || code == search_code::kSuperiorConjunction) {
    angleA = a.Record().Position.GeoLongitude;
    angleB = b.Record().Position.GeoLongitude;
  } else {
    auto first = [&](const TSearchSample& s) {
      const bool topo = context_.Topocentric != 0;
      const double ra = topo ? s.Record().TopoRightAscension : s.Record().Position.RightAscension;
      const double dec = topo ? s.Record().TopoDeclination : s.Record().Position.Declination;
      if (!ecliptic) return ra;
      double x = CosDeg(dec) * CosDeg(ra), y = CosDeg(dec) * SinDeg(ra), z = SinDeg(dec);
      EquatorialToEcliptic(x, y, z, s.Observer.Centuries);
      return Mod360(std::atan2(y, x) * 180.0 / kPi);
    };
    angleA = first(a);
    angleB = first(b);
  }
  double d = Mod360(angleB - angleA);
  if (code == search_code::kOpposition) d -= 180;
  d = std::remainder(d, 360.0);
  if (d <= -180) d += 360;
  return d;
}

double tsuchobjekt::AngularRateBound(int kind, std::int32_t starIndex, std::int32_t userIndex) const {
  // Largest geocentric angular speed of each body (degrees a day, with a
  // tenth or more to spare): the Sun, Mercury .. Pluto, the Moon.
  static constexpr double kBodyRates[] = {1.1, 2.4, 1.4, 0.9, 0.27, 0.15, 0.075, 0.045, 0.05, 16.5};
  if (kind >= 0 && kind <= search_kind::kMoon) {
    double rate = kBodyRates[kind];
    // The place seen from the observer turns with the Earth: the Moon's
    // parallax of up to a degree once a day, the nearest planets' half a
    // minute.
    if (context_.Topocentric != 0) rate += kind == search_kind::kMoon ? 7.0 : 0.06;
    return rate;
  }
  // A fixed object moves by its proper motion and the year's aberration,
  // nutation and precession (under an arc second a day), more in right
  // ascension the nearer it stands to a pole; within 10 degrees of one no
  // bound is given.
  double declination = 0, properMotion = 0;  // degrees, degrees a year
  if (kind == search_kind::kStar) {
    TSearchStar star;
    if (!context_.StarAt || starIndex < 1 || starIndex > context_.StarCount || !context_.StarAt(starIndex, star))
      return kInfinity;
    declination = star.Declination1950;
    properMotion = std::fabs(star.ProperMotionRA) + std::fabs(star.ProperMotionDec);
  } else if (kind == search_kind::kUserObject) {
    const tuserobject* object =
        context_.UserObjects != nullptr && userIndex >= 1 ? context_.UserObjects->Item(userIndex - 1) : nullptr;
    if (object == nullptr) return kInfinity;
    declination = object->Angle2;
    // Seconds of time and arc seconds a year.
    properMotion = (std::fabs(object->Value3) * 15.0 + std::fabs(object->Value4)) / 3600.0;
  } else {
    return kInfinity;  // an asteroid or comet may pass close to the Earth
  }
  if (!std::isfinite(declination) || !std::isfinite(properMotion) || std::fabs(declination) > 80) return kInfinity;
  return (3e-4 + properMotion / 365.25) / CosDeg(std::fabs(declination) + 10) * 1.5;
}

double tsuchobjekt::EventRateBound(int kind, int body) const {
  if (kind == 6 || kind == 7 || kind == 12 || kind == 13) {
    return (AngularRateBound(body, 1, 1) + AngularRateBound(search_kind::kSun, 1, 1)) * 1.06;
  }
  if (kind == 15 && body >= 1 && body <= search_kind::kMoon) {
    // i n (1 + e)^2 / (1 - e^2)^1.5 of each orbit, with a fifth to spare:
    // Mercury .. Pluto, the Moon (geocentric).
    static constexpr double kLatitudeRates[] = {0.95, 0.12, 0.04, 0.003, 0.002, 0.0005, 0.0003, 0.003, 1.6};
    return kLatitudeRates[body - 1];
  }
  if (kind == 22 && body == search_kind::kSun) return 14.5;  // the Sun's rotation
  if (kind == 22 && body == search_kind::kMoon) return 2.5;  // the libration in longitude
  return kInfinity;
}

double tsuchobjekt::DifferenceRateBound(int code, bool ecliptic, int kindA, int kindB, std::int32_t starIndex,
                                        std::int32_t userIndex) const {
  const double rate = AngularRateBound(kindA, starIndex, userIndex) + AngularRateBound(kindB, starIndex, userIndex);
  const bool longitudes = ecliptic || code == search_code::kOpposition || code == search_code::kConjunction ||
                          code == search_code::kInferiorConjunction || code == search_code::kSuperiorConjunction;
  // Right ascension runs faster than the motion by up to the secant of the
  // declination (below 42 degrees for the planets and the Moon); ecliptic
  // longitude by the secant of the latitude (below 18 degrees).
  return rate * (longitudes ? 1.06 : 1.35);
}

tsuchobjekt::PassEnd tsuchobjekt::Pass2(bool dateCheck, bool endCheck, int code, bool boundFlag, double boundMjd,
                                        std::int32_t starIndex, std::int32_t userIndex, bool ecliptic, int kindB,
                                        int kindA, const TObserverRecord& start, double step, std::int32_t maxSteps,
                                        double endMjd, double& time, TObserverRecord& middle) {
  // The scan runs on the grid start + k step, k = -1, 0, 1, ...; a window of
  // the three samples k - 1, k, k + 1 reports a root between k - 1 and
  // k + 1. Where the difference lies further from zero than it can move
  // before a later grid point (its rate is bounded by the bodies' motions),
  // the points in between are not computed: no root can lie there. Near a
  // root every grid point is taken, and the root itself is then found by
  // Brent's method on the difference.
  struct TPair {
    TSearchSample A, B;
    double D = kNaN;
    std::int64_t K = 0;
  };
  TPair pairs[3];
  TPair* w[3] = {&pairs[0], &pairs[1], &pairs[2]};
  auto instant = [&](std::int64_t k) { return start.Mjd + static_cast<double>(k) * step; };
  auto take = [&](TPair& p, const TObserverRecord& base, std::int64_t k) {
    p.K = k;
    const double mjd = instant(k);
    const bool ok = Sample(kindA, base, mjd, step, starIndex, userIndex, p.A) &&
                    Sample(kindB, base, mjd, step, starIndex, userIndex, p.B);
    p.D = ok ? Difference(code, ecliptic, p.A, p.B) : kNaN;
    return ok;
  };
  if (!take(*w[0], start, -1) || !take(*w[1], start, 0)) return PassEnd::NotFound;
  const bool conjunctionByDistance =
      code == search_code::kInferiorConjunction || code == search_code::kSuperiorConjunction;
  // The grid point at which the scan stops: the window count, the bound
  // (the newest sample reaching it) and the period end (the oldest one
  // past it). A root is reported up to the stop, within the window count.
  std::int64_t last = static_cast<std::int64_t>(maxSteps) + 1;
  if (boundFlag && !conjunctionByDistance && std::isfinite(boundMjd)) {
    const double k = std::ceil((boundMjd - start.Mjd) / step);
    if (k < static_cast<double>(last)) last = std::max<std::int64_t>(1, static_cast<std::int64_t>(k));
  }
  if (endCheck && std::isfinite(endMjd)) {
    const double k = std::floor((endMjd - start.Mjd) / step) + 3;
    if (k < static_cast<double>(last)) last = std::max<std::int64_t>(1, static_cast<std::int64_t>(k));
  }
  const std::int64_t lastFound = std::min<std::int64_t>(last, static_cast<std::int64_t>(maxSteps) - 1);
  const double rateBound = DifferenceRateBound(code, ecliptic, kindA, kindB, starIndex, userIndex);
  // The difference at an instant off the grid (Brent's method), with its
  // samples kept for the caller.
  TPair probe;
  const double probeStep = step * 1e-3;
  auto difference = [&](double mjd) {
    const bool ok = Sample(kindA, w[1]->A.Observer, mjd, probeStep, starIndex, userIndex, probe.A) &&
                    Sample(kindB, w[1]->A.Observer, mjd, probeStep, starIndex, userIndex, probe.B);
    return ok ? Difference(code, ecliptic, probe.A, probe.B) : kNaN;
  };
  // A root between two neighbouring samples, or, among three neighbours,
  // where the parabola through them dips through zero and back between two
  // of them (the difference is then probed at the parabola's vertex).
  // Returns the bracket's start sample, null for none.
  double lo = kNaN, dLo = kNaN, hi = kNaN, dHi = kNaN;
  auto bracket = [&](const TPair* older, const TPair& previous, const TPair& newest) -> const TPair* {
    if (newest.K != previous.K + 1 || !(std::fabs(previous.D) < 90) || !(std::fabs(newest.D) < 90)) return nullptr;
    if (newest.D == 0 || (previous.D < 0) != (newest.D < 0)) {
      lo = instant(previous.K);
      dLo = previous.D;
      hi = instant(newest.K);
      dHi = newest.D;
      return &previous;
    }
    if (older == nullptr || previous.K != older->K + 1 || !(std::fabs(older->D) < 90)) return nullptr;
    double xe = 0, ye = 0, z1 = 0, z2 = 0;
    int nz = 0;
    QuadraticInterpolation(older->D, previous.D, newest.D, xe, ye, z1, z2, nz);
    if (nz <= 0 || !(std::fabs(xe) < 1) || (ye < 0) == (previous.D < 0)) return nullptr;
    const double tv = instant(previous.K) + xe * step;
    const double dv = difference(tv);
    if (!(std::fabs(dv) < 90) || (dv < 0) == (previous.D < 0)) return nullptr;
    const TPair* side = xe < 0 ? older : &previous;
    lo = instant(side->K);
    dLo = side->D;
    hi = tv;
    dHi = dv;
    return side;
  };
  // Codes 12 and 13 take the root only on the right side of the Sun.
  auto accepted = [&](const TPair& at) {
    if (!conjunctionByDistance) return true;
    const bool farther = DistanceAu(kindB, at.B.Record()) > DistanceAu(kindA, at.A.Record());
    return code == search_code::kInferiorConjunction ? farther : !farther;
  };
  auto found = [&](const TPair& at) {
    const double t = BrentRoot(difference, lo, dLo, hi, dHi, kRootTolerance);
    if (!Pump(at.A.Observer, false, kRefinedInstants)) return PassEnd::Aborted;
    if (!std::isfinite(t)) return PassEnd::NotFound;
    time = t;
    middle = at.A.Observer;
    return PassEnd::Found;
  };
  if (const TPair* at = bracket(nullptr, *w[0], *w[1]); at != nullptr && accepted(*at) && lastFound >= 1)
    return found(*at);
  while (true) {
    // No root lies nearer than |D| / rate: the grid points before it are
    // passed over.
    const std::int64_t skip =
        SafeSkipSteps(std::fabs(w[1]->D), rateBound, step, std::max<std::int64_t>(1, last - w[1]->K));
    const bool valid = take(*w[2], w[1]->A.Observer, w[1]->K + skip);
    if (!Pump(w[2]->A.Observer, true, static_cast<int>(skip))) return PassEnd::Aborted;
    if (!datum_pruefen(dateCheck, selection_, kindA, kindB, w[1]->A.Observer.Mjd)) return PassEnd::Aborted;
    if (!valid) return PassEnd::NotFound;
    const TPair* at = bracket(w[0], *w[1], *w[2]);
    const bool root = at != nullptr && accepted(*at);
    if (root && w[2]->K <= lastFound) return found(*at);
    if (root || w[2]->K >= last) return PassEnd::NotFound;
    std::rotate(w, w + 1, w + 3);
  }
}

bool tsuchobjekt::schleife_2(bool dateCheck, bool endCheck, int code, bool boundFlag, double boundMjd, bool show,
                             std::int32_t starIndex, std::int32_t userIndex, bool ecliptic, int kindB, int kindA,
                             const TObserverRecord& start, const TAsteroidElements& asteroid,
                             const TCometElements& comet, double step, std::int32_t maxSteps, double endMjd,
                             double& time, double& separation) {
  AsteroidElements = asteroid;
  CometElements = comet;
  if (code < 0 || code > search_code::kLast) {
    ShowMessage("Unbekannte Ereignisart.", "Unknown kind of event.", MessageIcon::Error);
    return false;
  }
  if (!CheckInput(kindA, kindB, step, maxSteps, start.Mjd, starIndex, userIndex)) return false;
  TFillScope scope(*this, TRecordFill::Places);
  // The longitudes of codes 6, 7, 12 and 13 are ecliptic places; the others
  // read right ascension and declination.
  const bool longitudes = code == search_code::kOpposition || code == search_code::kConjunction ||
                          code == search_code::kInferiorConjunction || code == search_code::kSuperiorConjunction;
  TValueScope<bool> eclipticScope(fixedEcliptic_, longitudes);
  ShownProgress shown(show);
  double t = 0;
  TObserverRecord middle;
  if (Pass2(dateCheck, endCheck, code, boundFlag, boundMjd, starIndex, userIndex, ecliptic, kindB, kindA, start, step,
            maxSteps, endMjd, t, middle) != PassEnd::Found)
    return false;
  TObserverRecord at = middle;
  at.Mjd = t;
  ObserverRecordDateFromMjd(at);
  double s = 0;
  if (!schleife_3(starIndex, userIndex, kindA, kindB, at, asteroid, comet, s)) return false;
  time = t;
  separation = s;
  return true;
}

bool tsuchobjekt::schleife_3(std::int32_t starIndex, std::int32_t userIndex, int kindA, int kindB,
                             const TObserverRecord& observer, const TAsteroidElements& asteroid,
                             const TCometElements& comet, double& separation) {
  AsteroidElements = asteroid;
  CometElements = comet;
  TSearchSample a, b;
  if (!Sample(kindA, observer, observer.Mjd, 0, starIndex, userIndex, a) ||
      !Sample(kindB, observer, observer.Mjd, 0, starIndex, userIndex, b))
    return false;
  const bool topo = context_.Topocentric != 0;
  TAngularSeparationRecord rec;
  rec.ra1 = topo ? a.Record().TopoRightAscension : a.Record().Position.RightAscension;
  rec.dec1 = topo ? a.Record().TopoDeclination : a.Record().Position.Declination;
  rec.ra2 = topo ? b.Record().TopoRightAscension : b.Record().Position.RightAscension;
  rec.dec2 = topo ? b.Record().TopoDeclination : b.Record().Position.Declination;
  const double s = AngularSeparation(rec);
  if (!std::isfinite(s)) return false;
  separation = s;
  return true;
}

tsuchobjekt::PassEnd tsuchobjekt::Pass4(double limit, bool dateCheck, bool endCheck, std::int32_t starIndex,
                                        std::int32_t userIndex, int kindB, int kindA, const TObserverRecord& start,
                                        double step, std::int32_t maxSteps, double endMjd, double& time,
                                        TObserverRecord& middle, bool onGrid) {
  double sep[3] = {kNaN, kNaN, kNaN};
  double index = onGrid ? std::ceil(start.Mjd / step) : 0;
  const double first = onGrid ? index * step : start.Mjd;
  TObserverRecord obs[3];
  auto at = [&](int i, const TObserverRecord& base, double mjd) {
    obs[i] = base;
    obs[i].Mjd = mjd;
    ObserverRecordDateFromMjd(obs[i]);
    double s = 0;
    const bool ok = schleife_3(starIndex, userIndex, kindA, kindB, obs[i], AsteroidElements, CometElements, s);
    obs[i].Mjd = mjd;
    sep[i] = ok ? std::fabs(s) : kNaN;
    return ok;
  };
  if (!at(0, start, onGrid ? (index - 1) * step : start.Mjd - step) || !at(1, start, first)) return PassEnd::NotFound;
  std::int32_t counter = 0;
  while (true) {
    index += 1;
    const bool valid = at(2, obs[1], onGrid ? index * step : obs[1].Mjd + step);
    if (!Pump(obs[2], counter % 10 == 0)) return PassEnd::Aborted;
    if (!datum_pruefen(dateCheck, selection_, kindA, kindB, obs[1].Mjd)) return PassEnd::Aborted;
    if (!valid) return PassEnd::NotFound;
    ++counter;
    if (sep[1] < sep[0] && sep[1] < sep[2] && sep[1] < limit) {
      time = obs[1].Mjd;
      middle = obs[1];
      return PassEnd::Found;
    }
    if (counter > kMaxApproachSteps || counter > maxSteps || (endCheck && obs[0].Mjd > endMjd))
      return PassEnd::NotFound;
    obs[0] = obs[1];
    obs[1] = obs[2];
    sep[0] = sep[1];
    sep[1] = sep[2];
  }
}

bool tsuchobjekt::schleife_4(double limit, bool dateCheck, bool endCheck, bool show, std::int32_t starIndex,
                             std::int32_t userIndex, int kindB, int kindA, const TObserverRecord& start,
                             const TAsteroidElements& asteroid, const TCometElements& comet, double step,
                             std::int32_t maxSteps, double endMjd, double& time, double& separation) {
  AsteroidElements = asteroid;
  CometElements = comet;
  if (!CheckInput(kindA, kindB, step, maxSteps, start.Mjd, starIndex, userIndex)) return false;
  TFillScope scope(*this, TRecordFill::Places);
  TValueScope<bool> eclipticScope(fixedEcliptic_, false);  // separations of right ascension and declination
  ShownProgress shown(show);
  double t = 0;
  TObserverRecord middle;
  if (Pass4(limit, dateCheck, endCheck, starIndex, userIndex, kindB, kindA, start, step, maxSteps, endMjd, t, middle) !=
      PassEnd::Found)
    return false;
  constexpr double kFineStep = 1.0 / 48.0;
  TObserverRecord from = middle;
  from.Mjd = t - 2;
  double t2 = 0;
  TObserverRecord middle2;
  // On the grid of the fine step, as schleife_2's finer passes.
  const PassEnd end = Pass4(limit, dateCheck, false, starIndex, userIndex, kindB, kindA, from, kFineStep,
                            kMaxApproachSteps, endMjd, t2, middle2, true);
  if (end == PassEnd::Aborted) return false;
  if (end == PassEnd::Found) {
    t = t2;
    middle = middle2;
  }
  double s = 0;
  if (!schleife_3(starIndex, userIndex, kindA, kindB, middle, asteroid, comet, s)) return false;
  time = t;
  separation = s;
  return true;
}

}  // namespace kvx
