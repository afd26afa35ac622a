// ttransit: the next transit of Mercury or Venus across the Sun after a
// date, where on the Earth it is central, and its local circumstances for
// the observer; ttransittabelle: every transit of one planet in a period.
//
// The planet is treated as the occulting body of a solar eclipse: the
// shadow-axis test of tSonnenfinsternis with the planet's radius decides
// whether (and where) the transit is seen on the Earth, and the Besselian
// machinery of eclipses/besselian.h gives the contacts.
//
// Times: Julian centuries from J2000 (T). The coarse search runs in TT;
// every instant stored or reported (results, contacts, the transit time of
// the table) is UT, T(UT) = T(TT) - DeltaT/(86400 x 36525). The Sun and the
// planet are always evaluated at the same TT: the planet's place comes from
// PlanetPlaceAt, which takes TT explicitly (the planet object's record is
// set up with DeltaT 0, so that its own UT-to-TT step adds nothing).
// Distances: Earth equatorial radii. Angles: degrees. Frame: apparent
// places, true equator and equinox of date (the ecliptic of date for the
// coarse search).
#pragma once

#include <cstdint>
#include <vector>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "eclipses/solar_eclipse.h"
#include "engine/search_object.h"
#include "engine/table_sink.h"

namespace kvx {

// The planet word of the main window: 2 Venus, anything else Mercury.
inline constexpr std::int32_t kTransitMercury = 1;
inline constexpr std::int32_t kTransitVenus = 2;
std::int32_t TransitPlanetIndex(std::int32_t planetWord);

// The per-planet constants of the search.
struct TTransitPlanet {
  double NearLimitAu = 0;   // below this geocentric distance the planet counts as near
  double NearStepDays = 0;  // coarse step while near
  double FarStepDays = 0;   // coarse step while far
  long double Radius = 0;   // Earth equatorial radii
  // A bound of the planet's speed in longitude relative to the Sun while
  // near, degrees per day (Mercury reaches some 3, Venus some 1.7).
  double MaxRelativeSpeed = 0;
};
const TTransitPlanet& TransitPlanetConstants(std::int32_t planet);

// The planet's geocentric apparent place at one instant.
struct TTransitPlanetPlace {
  double Distance = 0;               // Earth radii
  double Latitude = 0;               // ecliptic of date, degrees
  double Longitude = 0;              // ecliptic of date, degrees [0, 360)
  double Ra = 0;                     // true equator of date, degrees [0, 360)
  double Dec = 0;                    // degrees
  double SunGeometricLongitude = 0;  // the Sun's, ecliptic of date, degrees
  double SunDistance = 0;            // the Sun's, AU
  double Ttt = 0;                    // the instant, centuries of TT
};

// The Sun's apparent ecliptic longitude of date (degrees) at the place's
// instant: its geometric one with nutation and aberration.
double ApparentSunLongitude(const TTransitPlanetPlace& place);

// The planet's place at T (centuries of TT) on the context's theories (the
// fast-search switch selects the internal series; position files outside
// their span the VSOP87 C library). False when the theory gives no finite
// place.
bool PlanetPlaceAt(const TSearchContext& context, std::int32_t planet, double Ttt, TTransitPlanetPlace& out);

// The fits of degree 8 of the Sun (distance in AU) and of the planet
// (distance in Earth radii) over [Ta, Tb] (centuries of TT) for the
// Besselian machinery. False when a place is missing.
bool TransitFits(const TSearchContext& context, std::int32_t planet, double Ta, double Tb, TBesselFits& fits);

// Local circumstances of a transit for the place at rhoCos, rhoSin (Earth
// radii) and longitude (degrees, east negative) around T0 (centuries of
// UT), with DeltaT in seconds. The contact kinds are geometric (1 partial:
// a grazing transit, 2 the whole disc on the Sun); a place on the night
// side keeps its contacts, its Sun altitudes are negative. Altitudes with
// refraction when `refraction` is set (pressure in mbar, temperature in
// degrees Celsius). False, with kind 0 and every contact at T0, when the
// places cannot be fitted.
struct TTransitPlace {
  double RhoCos = 0, RhoSin = 0;  // Earth radii
  double Longitude = 0;           // degrees, east negative
  double Latitude = 0;            // geographic, degrees (for the altitudes)
  bool Refraction = false;
  double Pressure = 1010, Temperature = 10;
};
bool TransitLocalCircumstances(const TSearchContext& context, std::int32_t planet, const TTransitPlace& place,
                               double deltaTSeconds, double T0, TLocalEclipseCircumstances& out);

// How far a search looks ahead before it reports that there is no transit.
inline constexpr double kTransitSearchYears = 250.0;

class ttransit : public tSonnenfinsternis {
 public:
  // Any planet index other than 2 searches Mercury.
  explicit ttransit(std::int32_t planet);

  std::int32_t Planet() const { return planet_; }
  const TTransitPlanet& Constants() const { return TransitPlanetConstants(planet_); }

  // The next transit after the record's date. `windowDays`: the half width
  // of the scanned window around the conjunction (0: one instant, the
  // conjunction itself); `stepMinutes`: the scan step. Result: the
  // conjunction in T (UT); Status says how the search ended (Found: the
  // results and Local are filled; NoEclipse: none within
  // kTransitSearchYears, the message shown; Refused: a date beyond the
  // search range or a theory without a place, the message shown;
  // Cancelled: AbortRequested). `lokalListe` is not used.
  double rechnen(const TSearchContext& context, std::uint8_t lokalListe, std::uint8_t& maxArt, std::int32_t windowDays,
                 std::int32_t stepMinutes, const TObserverRecord& observer, TEventStep eventStep) override;

  // The block of the local circumstances into the sheet or the grid.
  void paint(TSheet& sheet, const TTableConfigRecord& config) override;
  void paint_grid(tmystringgrid& grid, const TTableOutputSettings& output, const TTableConfigRecord& config) override;
  void WriteTransitBlock(TCellSink& sink, const TTableConfigRecord& config);

  // The kind on the Earth at T (UT) and, while central, the point on the
  // central line (longitude west positive, geodetic latitude, degrees) and
  // the duration of the central passage there (minutes). `sunFit` holds the
  // Sun's fit over TT.
  void central(const TSearchContext& context, const TBesselFits& sunFit, double T, double deltaT, std::uint8_t& art,
               double& laenge, double& breite, double& dauer) const;
  // The axis geometry for the Sun and the planet (right ascension,
  // declination in degrees; distances in Earth radii).
  TShadowAxis intsect(double sunRa, double sunDec, double sunR, double planetRa, double planetDec,
                      double planetR) const;
  // Distance (Earth radii), ecliptic latitude and longitude (degrees) at T
  // (centuries of TT); the two forms name the two planet objects of the
  // search, here one routine. False when the theory gives no place.
  bool planetenposition(const TSearchContext& context, double Ttt, TTransitPlanetPlace& place) const;
  bool planetenposition_lg(const TSearchContext& context, double Ttt, TTransitPlanetPlace& place) const;

  // The next conjunction in ecliptic longitude of the planet with the Sun
  // while the planet is near, searched from Ttt (centuries of TT) up to
  // `limitTt`. Found: Tc (TT). Cancelled/Refused/NoEclipse as rechnen.
  TEclipseSearchStatus FindNextConjunction(const TSearchContext& context, double Ttt, double limitTt, double& Tc) const;

  // The search's end (centuries of TT); 0: kTransitSearchYears after the
  // start, with the no-event message when nothing is found. A table sets
  // its period's end, and an end without a transit is silent.
  double SearchLimitTt = 0;
  // Off: every near step is evaluated, also far from a conjunction (the
  // plain search the faster one is checked against).
  bool SkipFarFromConjunction = true;
  // The progress counts from here (centuries of UT); 0: the search's start.
  double ProgressStartTt = 0;

 protected:
  // The instant (centuries of UT) near T at which the axis passes closest
  // to the Earth's centre, within 3 hours of T.
  double LeastAxisDistanceTime(const TSearchContext& context, const TBesselFits& sunFit, double T, double deltaT) const;

  std::int32_t planet_ = kTransitMercury;
};

// One line of the transit table: the record at the transit's instant.
struct ttransitlistergebnis {
  TObserverRecord Observer;
};

class ttransittabelle : public ttransit {
 public:
  ttransittabelle(const TObserverRecord& start, const TObserverRecord& end, std::int32_t planet);

  // Every transit from the start record's date to the end record's (the
  // arguments as ttransit::rechnen; the records of the constructor are
  // used). Result: the number of transits listed; Status Cancelled when the
  // search was cancelled or stopped (the list keeps the transits found
  // until then), Refused when the end lies before the start.
  double rechnen(const TSearchContext& context, std::uint8_t lokalListe, std::uint8_t& maxArt, std::int32_t windowDays,
                 std::int32_t stepMinutes, const TObserverRecord& observer, TEventStep eventStep) override;
  void paint(TSheet& sheet, const TTableConfigRecord& config) override;
  void paint_grid(tmystringgrid& grid, const TTableOutputSettings& output, const TTableConfigRecord& config) override;
  void WriteTransitList(TCellSink& sink, const TTableConfigRecord& config);

  std::vector<ttransitlistergebnis> Lines;
  TObserverRecord Start, End;
};

// The planet names of the captions and titles.
const char* TransitPlanetGermanName(std::int32_t planet);   // "Merkur", "Venus"
const char* TransitPlanetEnglishName(std::int32_t planet);  // "Mercury", "Venus"

}  // namespace kvx
