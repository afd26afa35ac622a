#include "events/conjunction_event.h"

#include <cmath>
#include <limits>

#include "core/frames.h"
#include "core/text_conversion.h"
#include "core/vector_math.h"

namespace kvx {

namespace {

double Refracted(const TObserverRecord& r, double altitude) {
  return r.RefractionOn != 0 ? Refraction(altitude, r.Pressure, r.Temperature) : altitude;
}

// One object at the instant; `completed` receives the observer record as
// the engine completed it.
TConjunctionObjectView View(tsuchobjekt& engine, const TSearchContext& context, const TObserverRecord& observer,
                            int kind, const TConjunctionPair& pair, TObserverRecord& completed) {
  TConjunctionObjectView view;
  engine.AsteroidElements = pair.Asteroid;
  engine.CometElements = pair.Comet;
  TTheorySelection selection = context.Selection;
  TEphemerisResultRecord result;
  completed = observer;
  if (!engine.planet(selection, kind, completed, result, 0, pair.StarNumber, pair.UserObjectNumber)) return view;
  const double altitude = AltitudeOfObject(context.Sidereal, result.TopoRightAscension, result.TopoDeclination,
                                           observer.Mjd, observer.Latitude, observer.Longitude);
  if (!std::isfinite(altitude)) return view;
  const bool topocentric = context.Topocentric != 0;
  view.Valid = true;
  view.RightAscension = topocentric ? result.TopoRightAscension : result.Position.RightAscension;
  view.Declination = topocentric ? result.TopoDeclination : result.Position.Declination;
  view.Altitude = Refracted(observer, altitude);
  view.Elongation = result.Physical.elongation;
  view.Side = result.Physical.sideText;
  const bool fixed = kind == search_kind::kStar || kind == search_kind::kUserObject;
  view.Magnitude = fixed || !std::isfinite(result.Physical.magnitude) ? -100.0 : result.Physical.magnitude;
  return view;
}

// The Sun's altitude from the place of date the completion put into the
// record (ecliptic longitude and latitude, turned to the equator of date).
double SunAltitudeOf(const TSearchContext& context, const TObserverRecord& completed, double mjd) {
  double x = 0, y = 0, z = 0, r = 0, ra = 0, dec = 0;
  PolarToCartesian(x, y, z, 1.0, completed.SunLatitude, completed.SunLongitude);
  EclipticToEquatorial(x, y, z, completed.Centuries);
  CartesianToPolar(r, dec, ra, x, y, z);
  return AltitudeOfObject(context.Sidereal, ra, dec, mjd, completed.Latitude, completed.Longitude);
}

}  // namespace

TConjunctionScene ObserveConjunctionPair(tsuchobjekt& engine, const TSearchContext& context,
                                         const TObserverRecord& observer, const TConjunctionPair& pair) {
  TConjunctionScene scene;
  TObserverRecord completed, unused;
  scene.First = View(engine, context, observer, pair.First, pair, completed);
  scene.Second = View(engine, context, observer, pair.Second, pair, unused);
  if (!scene.First.Valid) completed = unused;
  const double sun = SunAltitudeOf(context, completed, observer.Mjd);
  if (std::isfinite(sun) && (scene.First.Valid || scene.Second.Valid)) scene.SunAltitude = Refracted(observer, sun);
  return scene;
}

double SceneSeparation(const TConjunctionScene& scene) {
  if (!scene.First.Valid || !scene.Second.Valid) return std::numeric_limits<double>::quiet_NaN();
  TAngularSeparationRecord rec;
  rec.ra1 = scene.First.RightAscension;
  rec.dec1 = scene.First.Declination;
  rec.ra2 = scene.Second.RightAscension;
  rec.dec2 = scene.Second.Declination;
  return AngularSeparation(rec);
}

std::unique_ptr<tEvent> MakeConjunctionEvent(const TConjunctionScene& scene, const TObserverRecord& observer,
                                             const TConjunctionPair& pair, double separation, int conjunctionKind,
                                             const TVisibilityFilter* filter) {
  if (filter != nullptr && filter->Active()) {
    if (!scene.First.Valid || !scene.Second.Valid) return nullptr;
    if (!filter->Passes(scene.SunAltitude, scene.First.Altitude, scene.Second.Altitude)) return nullptr;
  }
  return std::make_unique<tEvent>(pair.FirstName, pair.SecondName, std::uint8_t{0}, observer, observer.Mjd, separation,
                                  scene.First.Altitude, scene.Second.Altitude, scene.First.Elongation,
                                  scene.Second.Elongation, scene.SunAltitude, scene.First.Magnitude,
                                  scene.Second.Magnitude, std::string(), scene.First.Side, scene.Second.Side,
                                  static_cast<std::uint8_t>(conjunctionKind));
}

std::unique_ptr<tEvent> MakeConjunctionEvent(tsuchobjekt& engine, const TSearchContext& context,
                                             const TObserverRecord& observer, const TConjunctionPair& pair,
                                             double separation, int conjunctionKind, const TVisibilityFilter* filter) {
  return MakeConjunctionEvent(ObserveConjunctionPair(engine, context, observer, pair), observer, pair, separation,
                              conjunctionKind, filter);
}

std::string ConjunctionListLine(const tEvent& event) {
  std::string date;
  ObserverDateText(event.Observer, date);
  return event.ObjectName() + "/" + event.SecondName() + " " + date;
}

std::string SeparationText(double separation) {
  return DegMinText(FormatFixed(DegToDmPacked(std::fabs(separation)), 0, 2));
}

}  // namespace kvx
