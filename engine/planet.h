// The major planets Mercury to Pluto on the Sun's classes: Tpla (one
// position), its reduced variants tplaShort and tplaShort_lg for the
// transit and occultation computations, and the planet ephemeris table
// Tplatab. The heliocentric place comes from the planet routine of the
// selected theory (internal series, VSOP87 D or C library, position files);
// the geocentric step is the Sun's (planet-position dispatch, dispatch mode
// 2). Body index 1 Mercury, 2 Venus, 4 Mars .. 9 Pluto; 3 (the Earth) and
// any other index give no planet place.
//
// Frames and units as TKepler: ecliptic and equator of date, AU, degrees.
#pragma once

#include <array>
#include <cstdint>

#include "engine/sun.h"

namespace kvx {

// True for the body indexes that have a planet routine (1, 2, 4..9).
bool HasPlanetRoutine(TBodyIndex body);

// The planet steps the four classes share.
namespace planet_chain {
// Heliocentric ecliptic vector, velocity (0 where the theory gives none)
// and r, b, l of date of the body at the observer record's T, with VSOP
// level A. Indexes without a routine, and Pluto outside its theory's
// interval, leave the result unchanged.
void Heliocentric(TKepler& body, TComputeSettingsBlock settings);
// Rise, transit and set of the planet on the observer's local day into
// level 2 of the rise/set block; at a pole the visible/invisible status
// word from the declination.
void PlanetRiseSet(TKepler& body, TComputeSettingsBlock settings);
// The places of date: bahnlageelemente, heliozentrisch, the geometric
// geocentric place and Ekliptik_aequator, then the heliocentric velocity
// that heliozentrisch kept around the dispatch (`savedVelocity`, AU/day) put
// back into the result.
void PlacesOfDate(TKepler& body, const std::array<double, 3>& savedVelocity);
}  // namespace planet_chain

// The planet steps of the position class and of the table class, on the
// Sun's class of each (TSonne or TSonnetab): the heliocentric place of the
// planet routine, the planet's rise, transit and set, and the physical
// ephemeris for the indexes that have one. Defined in planet.cpp for these
// two bases.
template <class SunClass>
class TPlanetSteps : public SunClass {
 public:
  using SunClass::SunClass;

  void heliozentrisch(double x, double y, double vx, double vy) override;
  using SunClass::Aufgang_untergang;
  // Rise, transit and set of level 2 whatever the levels asked.
  void Aufgang_untergang(TComputeSettingsBlock settings, int firstLevel, int lastLevel) override;
  void physischeEphemeride() override;
};

extern template class TPlanetSteps<TSonne>;
extern template class TPlanetSteps<TSonnetab>;

// One planet position.
class Tpla : public TPlanetSteps<TSonne> {
 public:
  // As TSonne, with the body index, the progress caption of the index and
  // the German planet name whatever the language.
  Tpla(const TBodySettings& bodySettings, TTheorySelection selection, std::int32_t creatorWord, TBodyIndex body,
       const TTableConfigRecord& config, const TObserverRecord& observer, long double integrationTolerance);

  using TSonne::initialisieren;
  // Body index, H = 1.0, full computation 1, body settings, stopped 0,
  // caption, name and the records.
  virtual void initialisieren(const TBodySettings& bodySettings, TTheorySelection selection, TBodyIndex body,
                              const TTableConfigRecord& config, const TObserverRecord& observer,
                              long double integrationTolerance);

  // The planet chain: positions, the heliocentric velocity kept around the
  // dispatch restored after Ekliptik_aequator, second equinox, topocentric,
  // horizon, rise/set and the physical ephemeris.
  void rechnen(TComputeSettingsBlock settings) override;

 protected:
  void SetBodyTexts(TBodyIndex body);
};

// Reduced planet position: the places of date, topocentric only on request.
class tplaShort : public Tpla {
 public:
  // Tpla's constructor with the first six arguments and the tolerance of
  // `accuracy` (its levels are not used); topocentric flag 0, full
  // computation 1.
  tplaShort(const TBodySettings& bodySettings, TTheorySelection selection, std::int32_t creatorWord, TBodyIndex body,
            const TTableConfigRecord& config, const TObserverRecord& observer, const TAccuracySettings& accuracy);
  // Positions of date; topozentr with the topocentric flag, else the
  // topocentric place equal to the geocentric one. No second equinox,
  // horizon, rise/set or physical ephemeris.
  void rechnen(TComputeSettingsBlock settings) override;

  std::uint8_t Topocentric = 0;
};

// The heliocentric, geocentric and equatorial places of date only; made
// as tplaShort, whose topocentric flag it does not read.
class tplaShort_lg : public tplaShort {
 public:
  using tplaShort::tplaShort;
  void rechnen(TComputeSettingsBlock settings) override;
};

// The planet ephemeris table.
class Tplatab : public TPlanetSteps<TSonnetab> {
 public:
  // As TSonnetab with the body index, its progress caption and the German
  // planet name.
  Tplatab(const TTableRequest& request, TSheet* outputSheet, TBodyIndex body);

  // As the constructor, full computation 1; the name "Merkur" .. "Pluto" by
  // index ("Mercury" and "Neptune" in English; the Sun and the Earth keep
  // the previous name).
  virtual void initialisieren(const TTableRequest& request, TBodyIndex body);
  // The Sun table's set-up keeps the body index.
  void initialisieren(const TTableRequest& request) override;
  using TSonnetab::initialisieren;

  // The table chain: positions; topozentr when column flag 1 or 2 is 1;
  // horizont and rise/set with flag 1; the physical ephemeris with flag 2.
  void rechnen(TComputeSettingsBlock settings) override;
};

}  // namespace kvx
