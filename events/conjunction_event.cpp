#include "events/conjunction_event.h"

#include <cmath>

#include "core/frames.h"
#include "core/text_conversion.h"
#include "theories/observer_completion.h"
#include "theories/sun_position.h"

namespace kvx {

namespace {

double Refracted(const TObserverRecord& r, double altitude) {
  return r.RefractionOn != 0 ? Refraction(altitude, r.Pressure, r.Temperature) : altitude;
}

TConjunctionObjectView View(tsuchobjekt& engine, const TSearchContext& context, TObserverRecord observer, int kind,
                            const TConjunctionPair& pair) {
  TConjunctionObjectView view;
  engine.AsteroidElements = pair.Asteroid;
  engine.CometElements = pair.Comet;
  TTheorySelection selection = context.Selection;
  TEphemerisResultRecord result;
  const double mjd = observer.Mjd;
  if (!engine.planet(selection, kind, observer, result, 0, pair.StarNumber, pair.UserObjectNumber)) return view;
  const double altitude = AltitudeOfObject(context.Sidereal, result.TopoRightAscension, result.TopoDeclination, mjd,
                                           observer.Latitude, observer.Longitude);
  if (!std::isfinite(altitude)) return view;
  view.Valid = true;
  view.Altitude = Refracted(observer, altitude);
  view.Elongation = result.Physical.elongation;
  view.Side = result.Physical.sideText;
  const bool fixed = kind == search_kind::kStar || kind == search_kind::kUserObject;
  view.Magnitude = fixed || !std::isfinite(result.Physical.magnitude) ? -100.0 : result.Physical.magnitude;
  return view;
}

}  // namespace

TConjunctionScene ObserveConjunctionPair(tsuchobjekt& engine, const TSearchContext& context,
                                         const TObserverRecord& observer, const TConjunctionPair& pair) {
  TConjunctionScene scene;
  scene.First = View(engine, context, observer, pair.First, pair);
  scene.Second = View(engine, context, observer, pair.Second, pair);
  // The Sun's altitude from the record completed by the first view's theory.
  TObserverRecord completed = observer;
  TTheorySelection selection = context.Selection;
  if (context.FastSearch != 0) selection.bytes[0] = selection.bytes[1] = 0;
  CompleteObserverRecord(context.Sidereal, selection, TTableConfigRecord{}, context.VsopLevelA, completed,
                         context.Settings);
  completed.Mjd = observer.Mjd;
  const double sun = SunAltitude(1, context.Settings, completed.Centuries, completed.Latitude, completed.Longitude,
                                 selection, context.VsopLevelA, context.Sidereal);
  if (std::isfinite(sun)) scene.SunAltitude = Refracted(observer, sun);
  return scene;
}

std::unique_ptr<tEvent> MakeConjunctionEvent(tsuchobjekt& engine, const TSearchContext& context,
                                             const TObserverRecord& observer, const TConjunctionPair& pair,
                                             double separation, int conjunctionKind,
                                             const TVisibilityFilter* filter) {
  const TConjunctionScene scene = ObserveConjunctionPair(engine, context, observer, pair);
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

std::string ConjunctionListLine(const tEvent& event) {
  std::string date;
  ObserverDateText(event.Observer, date);
  return event.ObjectName() + "/" + event.SecondName() + " " + date;
}

std::string SeparationText(double separation) {
  return DegMinText(FormatFixed(DegToDmPacked(std::fabs(separation)), 0, 2));
}

}  // namespace kvx
