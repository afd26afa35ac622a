// Tmond and Tmondtab: the Moon as one position and the Moon ephemeris table.
// The Moon has no elements and no heliocentric step: its geocentric
// ecliptic place of date comes from the Moon cache (tmooncheb, when the
// cache flag is set and a cache is registered) or directly from the Moon
// theory (MoonPosition, internal series or ELP-2000/82 by the theory
// selection), and the chain goes on from the equatorial step of TKepler.
//
// Units: every Moon distance, the topocentric ones too, is in Earth radii
// (6378.14 km); angles in degrees; times of day in local hours. T is the
// observer record's Centuries (dynamical time); the observer record must be
// completed for the instant. The hourly-motion values are always 0.
//
// Tmondtab adds the geocentric horizon (of the geocentric apparent place),
// the second-equinox topocentric set and, with the crescent-visibility
// column, the Sun at the same instant (a TSonne) for the relative azimuth,
// elongation, altitude difference and limb altitude difference.
#pragma once

#include <cstdint>

#include "engine/ephemeris_table.h"
#include "engine/kepler.h"

namespace kvx {

class tmooncheb;

// The Moon cache of the running program (the main window registers its
// one instance; nullptr means none, and the Moon objects then evaluate the
// theory directly whatever their cache flag says).
extern tmooncheb* MoonPositionCache;

// Semi-diameter of the Moon, degrees, for a distance in Earth radii.
inline constexpr double kMoonSemidiameterFactor = 15.61247778;
// Earth radius in km, the unit of the Moon's distances.
inline constexpr double kMoonDistanceUnitKm = 6378.14;

// The Moon's names and the table's progress caption by language.
const char* MoonName(std::uint8_t language);
const char* MoonTableCaption(std::uint8_t language);

// The steps the Moon's position class and its table class share, on either
// base (TKepler for one position, TKeplereph for the table): no elements and
// no heliocentric step, the Moon's place from the cache or the theory, its
// light time, moonrise and moonset and the physical ephemeris. Defined in
// moon.cpp for these two bases.
template <class Base>
class TMoonSteps : public Base {
 public:
  using Base::Base;

  void bahnlageelemente() override {}
  void Bahn2heliozentrisch(TComputeSettingsBlock /*settings*/, double /*mjdTT*/) override {}
  void geozentrischekliptikalgeometrisch() override {}
  // The Moon's place (cache or theory) as geometric and astrometric vector.
  void Geozentrischekliptikalastrometrisch() override;
  // Second-equinox places and the light time of the Moon's distance.
  void aequinoktium_reduktion() override;
  // Moonrise, transit and moonset of level 1.
  void Aufgang_untergang(int mode) override;
  // MoonPhysicalEphemeris and the Moon's age into the physical block.
  void physischeEphemeride() override;
  // The hourly-motion values set to 0.
  void stuendlich_aequatorial() override;
  bool ElementsUsable(std::string* german = nullptr, std::string* english = nullptr) const override;

  std::int32_t DispatchMode = 2;
  std::uint8_t MoonCacheFlag = 0;
  std::uint8_t MoonOption = 0;

 protected:
  // The level of the Moon theory handed to the Moon routines.
  virtual std::int32_t MoonTheoryLevel() const = 0;
};

extern template class TMoonSteps<TKepler>;
extern template class TMoonSteps<TKeplereph>;

class Tmond : public TMoonSteps<TKepler> {
 public:
  Tmond(std::uint8_t cacheFlag, std::uint8_t moonOption, const TBodySettings& body, TTheorySelection selection,
        std::int32_t creatorWord, const TTableConfigRecord& config, const TObserverRecord& observer,
        const TAccuracySettings& accuracy);
  // The same stores with full computation 1; name and body index stay.
  void initialisieren(std::uint8_t cacheFlag, std::uint8_t moonOption, const TBodySettings& body,
                      TTheorySelection selection, const TTableConfigRecord& config, const TObserverRecord& observer,
                      const TAccuracySettings& accuracy);

  // Heliocentric vector, velocity and polar place set to 0.
  void heliozentrisch(double x, double y, double vx, double vy) override;
  // The equatorial set only, Earth radii.
  void topozentr() override;
  // Place, equatorial step, second equinox, topocentric place, horizon,
  // rise/set and physical ephemeris.
  void rechnen(TComputeSettingsBlock settings) override;

  // Level of the Moon theory handed to the Moon routines (its own copy).
  std::int32_t MoonLevelA = -1;
  std::int32_t MoonLevelB = 10;

 protected:
  std::int32_t MoonTheoryLevel() const override { return MoonLevelA; }
  // The place of the working instant through the topocentric place and the
  // horizon (rechnen without rise/set and physical ephemeris).
  void PlaceAndHorizon(TComputeSettingsBlock settings);
};

class Tmondtab : public TMoonSteps<TKeplereph> {
 public:
  Tmondtab(std::uint8_t cacheFlag, std::uint8_t moonOption, const TTableRequest& request, TSheet* outputSheet);
  void initialisieren(std::uint8_t cacheFlag, std::uint8_t moonOption, const TTableRequest& request);
  using TKeplereph::initialisieren;

  // The Moon's place and the observer's geocentric Sun vector.
  void Geozentrischekliptikalastrometrisch() override;
  // The place of date and the second-equinox set, Earth radii.
  void topozentr() override;
  // The topocentric horizon, then that of the geocentric place.
  void horizont() override;
  // As Tmond's, plus the crescent-visibility quantities when their column
  // is on.
  void physischeEphemeride() override;
  // Place, equatorial step and second equinox; the topocentric place when
  // column flag 1 or 2 is on; horizon and rise/set with flag 1; the
  // physical group with flag 2.
  void rechnen(TComputeSettingsBlock settings) override;

 protected:
  std::int32_t MoonTheoryLevel() const override { return Accuracy.VsopLevelA; }
};

}  // namespace kvx
