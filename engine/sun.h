// TSonne and TSonnetab: the Sun as one position and the Sun ephemeris
// table. The Sun has no elements: its geocentric place comes from the
// planet-position dispatch with the planet theory of the object's theory
// selection (light time and aberration applied there), and the chain goes
// on from the equatorial step of TKepler. Tpla and Tplatab (engine/planet.h)
// derive from these two classes.
//
// Frames and units as TKepler: ecliptic and equator of date, AU, degrees;
// times of day in local hours. The observer record must be completed
// (CompleteObserverRecord) for the instant: the Sun's geocentric vector of
// date, its velocity and the sidereal time are taken from it.
#pragma once

#include <array>
#include <cstdint>

#include "engine/ephemeris_table.h"
#include "engine/kepler.h"

namespace kvx {

// Body index of the Sun.
inline constexpr TBodyIndex kBodyIndexSun = 0;
// The dispatch mode of the Sun and planet classes: above 0 the dispatch
// computes the velocity terms, the astrometric and the apparent vectors.
inline constexpr std::int32_t kSunPlanetDispatchMode = 2;

// The progress caption of a body's table by body index 0..12 and language
// (0 German, else English); empty for the Earth (3) and any other index.
const char* BodyProgressCaption(TBodyIndex body, std::uint8_t language);

// Equation of time, hours: mean minus apparent solar time (positive when
// the Sun transits before 12 h local mean time; Meeus's E with the opposite
// sign).
// Given:    localSiderealHours  local sidereal time, hours (apparent for a
//                               consistent result)
//           utHours             UT of day, hours
//           rightAscension      the Sun's apparent right ascension, degrees
//           longitude           degrees, EAST NEGATIVE
// Returns:  12 - Mod24(((LST - UT) x 15 - RA + longitude) / 15), in
//           (-12, 12].
double EquationOfTimeHours(double localSiderealHours, double utHours, double rightAscension, double longitude);

// The steps the Sun and planet classes share (TSonne and TSonnetab have
// different bases, so they are free functions on the body).
namespace sun_chain {
// Heliocentric vector, velocity and polar place set to 0.
void ZeroHeliocentric(TKepler& body);
// Geocentric place through the planet-position dispatch: geometric vector,
// distance, the apparent vector (light time and aberration) as the chain's
// astrometric vector and its polar form; with theories 0 and 1 also the
// heliocentric velocity of the dispatch. `savedVelocity` receives the
// heliocentric velocity before the dispatch for theories 2 and 3 (the
// routine's velocity at the instant), after it otherwise.
void DispatchGeocentric(TKepler& body, TComputeSettingsBlock settings, std::int32_t dispatchMode,
                        std::array<double, 3>& savedVelocity);
// The Sun's geocentric vector of the observer record turned to the equator
// and precessed to J2000, AU.
void SunEquatorialJ2000(const TObserverRecord& observer, double& x, double& y, double& z);
// Rise, transit and set of the Sun at levels first..last (clamped to 1..5)
// into the rise/set block, with the body's rise/set altitudes and switches.
void SunRiseSet(TKepler& body, TComputeSettingsBlock settings, int firstLevel, int lastLevel);
// bahnlageelemente, heliozentrisch, the geometric geocentric place,
// Ekliptik_aequator and aequinoktium_reduktion.
void PlacesOfDate(TKepler& body);
// Magnitude and disk of the body into the physical block; for the Sun also
// the equation of time and the Carrington rotation number (returned).
double PhysicalBlock(TKepler& body);
// Replaces values that are not finite in the result by their "not set"
// marks: event times 0, azimuths -360, darkness -1; other fields keep NaN,
// which the writers show as an empty cell.
void ClearNonFiniteEvents(TEphemerisResultRecord& result);
}  // namespace sun_chain

// The steps the Sun's position class and its table class share, on either
// base (TKepler for one position, TKeplereph for the table): no elements, no
// heliocentric place, the geocentric place through the planet-position
// dispatch and the Sun's rise, transit and set. Defined in sun.cpp for
// these two bases.
template <class Base>
class TSunSteps : public Base {
 public:
  using Base::Base;

  void bahnlageelemente() override {}
  void Bahn2heliozentrisch(TComputeSettingsBlock /*settings*/, double /*mjdTT*/) override {}
  // Heliocentric vector, velocity and polar place set to 0.
  void heliozentrisch(double x, double y, double vx, double vy) override;
  // The geocentric place through the planet-position dispatch.
  void geozentrischekliptikalgeometrisch() override;
  // Rise, transit and set at level `mode` alone.
  void Aufgang_untergang(int mode) override;
  // Rise, transit and set at the levels firstLevel..lastLevel (1..5).
  virtual void Aufgang_untergang(TComputeSettingsBlock settings, int firstLevel, int lastLevel);
  // The Sun has no elements to check.
  bool ElementsUsable(std::string* german = nullptr, std::string* english = nullptr) const override;

  std::int32_t DispatchMode = kSunPlanetDispatchMode;

 protected:
  std::array<double, 3> savedVelocity_{};  // heliocentric velocity kept around the dispatch, AU/day
};

extern template class TSunSteps<TKepler>;
extern template class TSunSteps<TKeplereph>;

// The Sun as one position.
class TSonne : public TSunSteps<TKepler> {
 public:
  // Copies the records and body settings; creator word, H = 1.0, stopped 0,
  // an empty progress caption, dispatch mode 2, body index 0 and the name
  // ("Sonne" or "Sun" by the language). VSOP levels and full computation stay 0.
  TSonne(const TBodySettings& body, TTheorySelection selection, std::int32_t creatorWord,
         const TTableConfigRecord& config, const TObserverRecord& observer, long double integrationTolerance);

  // New records for the same object; stopped 0, full computation 1; name
  // and body index stay.
  virtual void initialisieren(const TBodySettings& body, TTheorySelection selection, const TTableConfigRecord& config,
                              const TObserverRecord& observer, long double integrationTolerance);

  // Magnitude and disk, equation of time and the Carrington rotation.
  void physischeEphemeride() override;
  // bahnlageelemente, heliozentrisch, geocentric place, Ekliptik_aequator,
  // aequinoktium_reduktion, topozentr, horizont, rise/set levels 2..5 and
  // the physical ephemeris; no full-computation test.
  void rechnen(TComputeSettingsBlock settings) override;

  double CarringtonRotation = 0;  // the Sun's synodic rotation number of the instant
};

// The Sun ephemeris table.
class TSonnetab : public TSunSteps<TKeplereph> {
 public:
  // Output sheet, language, both VSOP levels, dispatch mode 2, body index 0,
  // H = 1.0, the progress caption, stopped 0, the name ("Sonne"/"Sun"), the
  // table configuration, rows 0; the start record is the working record and
  // the period start; end record, step, tolerance and theory selection.
  TSonnetab(const TTableRequest& request, TSheet* outputSheet);

  // The constructor's stores except the output sheet and the caption; full
  // computation 1.
  virtual void initialisieren(const TTableRequest& request);
  // The table set-up of the asteroid table, reached through the base: the
  // element record, database flag and name are ignored.
  void initialisieren(const TTableRequest& request, const TAsteroidElements& elements, std::uint8_t databaseFlag = 0,
                      const std::string& name = {}) override;

  // The geocentric place, and the Sun's equatorial J2000 vector.
  void geozentrischekliptikalgeometrisch() override;
  using TSunSteps<TKeplereph>::Aufgang_untergang;
  // Rise, transit, set and twilight at levels firstLevel..lastLevel; with a
  // darkness column also the darkness intervals.
  void Aufgang_untergang(TComputeSettingsBlock settings, int firstLevel, int lastLevel) override;
  // Magnitude and disk, and for the Sun the equation of time.
  void physischeEphemeride() override;
  // The table chain: positions; topozentr when column flag 1 or 2 is 1;
  // with flag 1 horizont and, when a rise/set, twilight or darkness column
  // is chosen, the rise/set levels those columns need; with flag 2 the
  // physical ephemeris.
  void rechnen(TComputeSettingsBlock settings) override;

  // Sine of the altitude of the Moon's upper limb seen from the observer.
  // Given:    sinLatitude, cosLatitude  of the geographic latitude
  //           longitude    degrees, EAST NEGATIVE
  //           jd0          Julian day (UT) of the local day's 0 h
  //           hour         local hours since jd0
  //           deltaT       TT - UT, seconds
  //           precise      non-zero: the apparent Moon of the selected theory
  //                        (the object's theory selection, VSOP level A and
  //                        the settings block of the running computation);
  //                        zero: the low-precision Moon
  //           internalMoon non-zero: the Moon theory byte taken as 0
  //                        (internal series)
  // Returned: rightAscension (hours), declination (degrees), hourAngle
  //           (hours, LMST - RA, not reduced)
  // Returns:  sin(h - h0), h the geocentric altitude of the Moon's centre
  //           and h0 = asin(1/distance) - 15.61247778/distance degrees
  //           (horizontal parallax minus semi-diameter, distance in Earth
  //           radii); NaN when the distance is not above 1 Earth radius.
  // Notes:    local mean sidereal time from the IAU 1982 expression at
  //           0 h UT and the UT of day.
  double Sin_Alt_moon(double sinLatitude, double cosLatitude, double longitude, double jd0, double hour, double deltaT,
                      std::uint8_t precise, std::uint8_t internalMoon, double& rightAscension, double& declination,
                      double& hourAngle);

  // Altitude (degrees) of the Moon's upper limb at local hour `hour` of the
  // working record's day; NaN when it cannot be computed.
  double MoonLimbAltitude(double hour);

 protected:
  // The darkness intervals of the working record's day (the Sun's level 5
  // must be in the rise/set block).
  void ComputeDarkness(TComputeSettingsBlock settings);
  // The rise/set levels the chosen columns need: 0 none, 2 level 2 alone,
  // 5 levels 2..5.
  int RiseSetLastLevel() const;
};

}  // namespace kvx
