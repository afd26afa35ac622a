// The event of one conjunction (or one row of a separation table) of two
// objects: both objects' apparent places, altitudes, elongations and
// magnitudes and the Sun's altitude at one instant, the visibility filter,
// and the tEvent the conjunction table is written from.
//
// Shared by the conjunction search, the separation table, and every later
// search that lists conjunctions of two objects.
//
// Times: MJD of UT (the observer record's Mjd). Angles and altitudes in
// degrees; places are apparent, equator of date (topocentric when the
// context's topocentric flag is set).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/observer_record.h"
#include "core/records.h"
#include "engine/search_object.h"

namespace kvx {

// The main window's visibility filter: the Sun at or below MaxSunAltitude
// and each object at or above its minimum altitude (whole degrees).
// 90 / -90 / -90 lets everything pass.
struct TVisibilityFilter {
  std::int32_t MaxSunAltitude = 90;
  std::int32_t MinAltitude1 = -90;
  std::int32_t MinAltitude2 = -90;

  // False for 90 / -90 / -90 (the label "gefiltert" is then hidden).
  bool Active() const { return MaxSunAltitude < 90 || MinAltitude1 > -90 || MinAltitude2 > -90; }
  bool Passes(double sunAltitude, double altitude1, double altitude2) const {
    return sunAltitude <= MaxSunAltitude && altitude1 >= MinAltitude1 && altitude2 >= MinAltitude2;
  }
};

// The two objects of a conjunction. Body kinds as in engine/search_object.h:
// 0 Sun, 1..8 Mercury..Pluto, 9 Moon, 10 asteroid, 11 comet, 12 star,
// 13 user-catalogue object. Star and user-object numbers count from 1.
struct TConjunctionPair {
  int First = 2;
  int Second = 4;
  std::int32_t StarNumber = 1;
  std::int32_t UserObjectNumber = 1;
  TAsteroidElements Asteroid{};
  TCometElements Comet{};
  std::string FirstName;
  std::string SecondName;
};

// What one object looks like at the instant.
struct TConjunctionObjectView {
  bool Valid = false;                          // false: no place (the values hold the missing markers)
  double Altitude = -90;                       // degrees, refracted with the record's refraction setting
  double Elongation = -360;                    // angle from the Sun, degrees [0, 180]
  std::string Side;                            // "Ost"/"East" or "West"; empty for the Sun
  double Magnitude = -100;                     // visual magnitude; -100 for stars and user objects
  double RightAscension = 0, Declination = 0;  // the place the separation is taken of (degrees)
};

// Both objects and the Sun at the instant of `observer`.
// Given:    engine    the search engine (its context: theories, topocentric
//                     flag, star and user catalogues)
//           observer  the working record, Mjd of UT set; a completed copy is
//                     used, the record itself is not changed
// Returned: the views of the first and second object and the Sun's altitude
//           (refracted like the objects when the record's refraction is on).
// Notes:    the altitudes are those of the topocentric places (what the
//           observer sees); refraction uses the record's pressure (mbar) and
//           temperature (degrees Celsius). The Sun's altitude is that of its
//           place of date from the observer completion (arc seconds from the
//           full theory: nothing an altitude limit in whole degrees sees).
//           The places kept for the separation are topocentric with the
//           context's topocentric flag, else geocentric.
struct TConjunctionScene {
  TConjunctionObjectView First;
  TConjunctionObjectView Second;
  double SunAltitude = -90;
};
TConjunctionScene ObserveConjunctionPair(tsuchobjekt& engine, const TSearchContext& context,
                                         const TObserverRecord& observer, const TConjunctionPair& pair);
// The signed separation of the scene's two places (degrees, positive when
// the first lies north of the second); NaN when either has no place.
double SceneSeparation(const TConjunctionScene& scene);

// The event of a conjunction at the instant of `observer` with the signed
// separation `separation` (degrees, positive when the first object lies
// north of the second) and the conjunction kind 1..3.
// Given:    filter  nullptr: no filter (separation tables); otherwise an
//                   event the filter refuses, or one whose objects have no
//                   place while the filter is active, gives nullptr.
// Returned: the tEvent: first and second name, empty unit, both side texts,
//           values in order Mjd, separation, altitude 1, altitude 2,
//           elongation 1, elongation 2, Sun altitude, magnitude 1,
//           magnitude 2; kind byte 0 and the conjunction kind in the last.
std::unique_ptr<tEvent> MakeConjunctionEvent(tsuchobjekt& engine, const TSearchContext& context,
                                             const TObserverRecord& observer, const TConjunctionPair& pair,
                                             double separation, int conjunctionKind, const TVisibilityFilter* filter);

// The same from a scene already observed.
std::unique_ptr<tEvent> MakeConjunctionEvent(const TConjunctionScene& scene, const TObserverRecord& observer,
                                             const TConjunctionPair& pair, double separation, int conjunctionKind,
                                             const TVisibilityFilter* filter);

// The line of the result list: first + "/" + second + " " + local date.
std::string ConjunctionListLine(const tEvent& event);

// |separation| as degrees and whole arc minutes ("0°06'"), the minute
// rounded with its carry into the degree.
std::string SeparationText(double separation);

}  // namespace kvx
