// tplanetbedeckung: the occultations of the major planets' centres by the
// Moon for one observer over a period. The Moon is fitted (order 13) over
// 10-day intervals; each planet is tried at reference times of the
// interval by its group (Mercury and Venus at m - 2d, m - d, m, m + d,
// m + 2d; Mars, Jupiter, Saturn at m - d and m + d; Uranus, Neptune, Pluto
// at m; d = 2.5 days) until one yields an event. The contact scan is the
// star search's, with the planet's place recomputed for every evaluation.
//
// Times as eclipses/lunar_occultation.h: the Moon fit's centuries are of
// dynamical time; the planet is evaluated at the same dynamical time (its
// record gets UT = TT - Delta T with Delta T held fixed). Contact times
// MJD of UT. No darkness or altitude condition; Pluto only when both ends
// of the period lie in the planet theory's range.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "eclipses/lunar_occultation.h"
#include "eclipses/occultation_results.h"
#include "engine/search_object.h"

namespace kvx {

class tplaShort;

class tplanetbedeckung {
 public:
  tplanetbedeckung(const TSearchContext& context, const TTableConfigRecord& config, const TObserverRecord& start);
  virtual ~tplanetbedeckung();
  tplanetbedeckung(const tplanetbedeckung&) = delete;
  tplanetbedeckung& operator=(const tplanetbedeckung&) = delete;

  // Runs the search over [start, end]; `panel` shows and hides the status
  // text (may be empty). Cancelled with AbortRequested.
  TOccultationRunStatus rechnen(const TObserverRecord& end, const TObserverRecord& start,
                                const std::function<void(const char* german, const char* english)>& panel = {});

  // The planet's apparent geocentric right ascension and declination
  // (degrees, true equator and equinox of date) at T, centuries of
  // dynamical time: the record's MJD is set to T less the record's Delta T
  // (held fixed), so the planet object's own Delta T brings it back to T.
  void PlanetPlaceAt(double T, double& ra, double& dec);
  // Sets the planet (1, 2, 4..9).
  void SetPlanet(std::int32_t planet);
  // The planets searched for a period: 8, or 9 with Pluto in range.
  static int PlanetCount(const TTheorySelection& selection, double startT, double endT);

  TOccultationResultList ergebnisse;
  std::uint8_t Aborted = 0;
  TObserverRecord Start;
  std::uint8_t PreciseSun = 0;  // the Sun's altitude from the selected theory

 protected:
  bool EvaluatePlanet(double referenceT);

  TSearchContext context_;
  TTableConfigRecord config_;
  std::unique_ptr<tplaShort> planet_;
  std::int32_t planetNumber_ = 1;
  std::string planetName_;
  TOcculterPlace moon_;
  double t0_ = 0, t1_ = 0;
  double startT_ = 0, endT_ = 0;
  double rhoCos_ = 0, rhoSin_ = 0;
  double deltaT_ = 0;
};

}  // namespace kvx
