// tsternbedeckungpl: the occultations of catalogue stars by the planets
// (Mercury to Pluto) and the current asteroid for one observer over a
// period, or their close conjunctions in right ascension; and the driver
// RunPlanetStarOccultations that runs one search per ticked body into one
// list.
//
// Times: the scan runs in Julian centuries T from J2000 of dynamical time;
// a body's place at T is computed from an observer record whose MJD (UT)
// is T less the event's Delta T, with that Delta T held fixed in the record,
// so the body object's own Delta T brings it back to exactly T. Contact and
// conjunction times are MJD of UT (the same Delta T). Angles in degrees;
// distances in Earth equatorial radii (6378.14 km); the declination offset
// of a conjunction (star minus body) in arc seconds.
//
// Bodies: 1 Mercury, 2 Venus, 4 Mars, 5 Jupiter, 6 Saturn, 7 Uranus,
// 8 Neptune, 9 Pluto, 10 the asteroid.
//
// Rows: EventFlag 1 = occultation (two contacts), 0 = conjunction (both
// times at the conjunction; position angle, a and b not finite);
// ExtraValue = the declination offset; ObjectName = the star; Label = the
// body.
//
// Candidate index: the stars that pass the magnitude test, at their mean
// place of the period's middle epoch, sorted by right ascension. A star's
// apparent right ascension during a step differs from that place by at
// most (half the period in years) x (|precession rate| + |proper motion|)
// + nutation (28") + aberration (20.5" / cos dec) + the equinox term
// (under 1"); for |dec| <= 60 degrees the precession rate is below
// 3.075" + 1.336" tan 60 = 5.4" a year, so the margin MarginDegrees()
// covers every star there. A step takes the stars of its right-ascension
// bracket whose declination lies within the body's declinations at the
// step's ends widened by the conjunction limit, the coarse window (0.3
// degree), the body's motion over the step, precession in declination
// (20.1" a year) and proper motion over half the period, nutation and
// aberration (40"), 2 degrees for the body's motion in the refinement's
// extra day (planets move less than 2 degrees a day) and 0.5 degree for
// the bulge of its track within a step; a star outside can never meet the
// limit. Stars beyond 60 degrees are kept sorted by declination and taken
// by that test alone. The index is built once for all bodies of a search.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/asteroid_elements.h"
#include "core/observer_record.h"
#include "core/table_config.h"
#include "eclipses/lunar_occultation.h"
#include "eclipses/occultation_results.h"
#include "eclipses/star_catalogue.h"
#include "engine/search_object.h"

namespace kvx {

class tplaShort;
class TKepler;

inline constexpr std::int32_t kOccultingAsteroid = 10;

// Radius of body 1..10 in Earth radii; the asteroid's from its diameter
// (km): half of it.
double OccultingBodyRadius(std::int32_t body, std::int32_t asteroidDiameterKm);

struct TPlanetStarOptions {
  // Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto, asteroid.
  std::array<std::uint8_t, 9> Bodies{};
  float LimitingMagnitude = 8.0f;
  std::int32_t SelectedStar = -1;  // -1 all stars, else 1..count
  std::uint8_t ConjunctionsOnly = 0;
  std::int32_t AsteroidDiameter = 0;  // km
  std::uint8_t OldPrecession = 1;     // Newcomb with the equinox term
  std::uint8_t PreciseSun = 0;        // the Sun's altitude from the selected theory
  std::uint8_t WholePeriod = 1;       // 3-day steps over the period (else 10/9 day, one step)
  bool UseIndex = true;               // the candidate index (off: every star every step)
};

class tsternbedeckungpl {
 public:
  tsternbedeckungpl(const TSearchContext& context, const TTableConfigRecord& config, const TObserverRecord& start,
                    std::shared_ptr<const TStarCatalogue> catalogue);
  virtual ~tsternbedeckungpl();
  tsternbedeckungpl(const tsternbedeckungpl&) = delete;
  tsternbedeckungpl& operator=(const tsternbedeckungpl&) = delete;

  // One body over [start, end], adding to ergebnisse. `asteroid` is used
  // for body 10 (its elements already checked). Refused (with the message)
  // for a selected star other than -1 and 1..count, and for Pluto outside
  // the planet theory's range.
  virtual TOccultationRunStatus rechnen(std::int32_t body, TKepler* asteroid, const TObserverRecord& end,
                                        const TObserverRecord& start, const TPlanetStarOptions& options);

  // The body's geocentric apparent place of date at T (dynamical time):
  // right ascension [0, 360), declination, distance in Earth radii.
  void BodyPlaceAt(double T, double& ra, double& dec, double& distance);
  // Half the margin of the candidate index, degrees, for a period of
  // `days` and the largest proper motion `properMotion` (degrees a year).
  static double MarginDegrees(double days, double properMotion);
  // The main window's values the search was made with.
  const TSearchContext& Context() const { return context_; }

  TOccultationResultList ergebnisse;
  std::uint8_t Cancelled = 0;
  TObserverRecord Start;
  TPlanetStarOptions Options;
  std::string StarName;                     // the selected star's name
  std::vector<std::string> SearchedBodies;  // names, in search order

 protected:
  struct TCandidate {
    double Ra;
    double Dec;
    std::int32_t Index;
  };
  struct TIndexKey {
    double MiddleT;
    double Days;
    float LimitingMagnitude;
    std::uint8_t OldPrecession;
    bool operator==(const TIndexKey&) const = default;
  };
  void BuildIndex(double middleT, double days);
  void EvaluateStar(std::int32_t index, double raEpoch, double decEpoch, double ra, double dec);
  TConjunction FindConjunctionInRA(bool refine, double tLo, double tHi, double starRa, double starDec,
                                   double tolerance);

  TSearchContext context_;
  TTableConfigRecord config_;
  std::shared_ptr<const TStarCatalogue> catalogue_;
  std::unique_ptr<tplaShort> planet_;
  TKepler* asteroid_ = nullptr;
  std::int32_t body_ = 1;
  std::string name_;
  double radius_ = 0;
  double limitArcsec_ = 400;
  double deltaT_ = 0;
  double startT_ = 0, endT_ = 0, ta_ = 0, tb_ = 0;
  double raA_ = 0, decA_ = 0, distA_ = 0, raB_ = 0, decB_ = 0, distB_ = 0;
  double rhoCos_ = 0, rhoSin_ = 0;
  double dDecArcsec_ = 0;
  std::vector<TCandidate> index_;
  std::vector<TCandidate> polar_;  // stars beyond 60 degrees, by declination
  double indexMargin_ = 0;
  double declinationMargin_ = 0;
  std::optional<TIndexKey> indexKey_;
};

// The driver: the asteroid (elements of the current asteroid, "Kein
// Planetoid" when none) with the old-elements question when `warnings` is
// set; the list cleared; rechnen for every ticked body in the order 1, 2,
// 4..9, 10. Cancelled when the question is answered No or the progress is
// cancelled (search.Cancelled set).
TOccultationRunStatus RunPlanetStarOccultations(tsternbedeckungpl& search, const TPlanetStarOptions& options,
                                                const TAsteroidElements& asteroid, bool warnings,
                                                const TObserverRecord& end, const TObserverRecord& start);

}  // namespace kvx
