// Trial places of the differential correction computed by the comet
// classes: method 1 by the comet's own two-body chain (TKomet::rechnen),
// method 0 by the numerical integration with the perturbing planets
// (TKometeph::integriere, or one integration per trial vector through all
// observations).
//
// For every observation the comet classes get a copy of the caller's
// observer record set to the observation's UT (zone 0, so local time is UT)
// and place (the chosen record's latitude and west-positive longitude,
// height 0), Delta T taken from the date (automatic Delta T on), completed
// by CompleteObserverRecord with mean sidereal time; full computation is
// off, so there is no aberration and no nutation. The record's own Delta T,
// zone and the user's second equinox never reach the places.
//
// The place is the astrometric one (light time, no aberration): the
// geocentric vector of the ecliptic of date precessed to the J2000 ecliptic
// and turned into the J2000 equator, as the Sun of the two-body road is.
// With the topocentric byte and an observer place (longitude or latitude at
// least 0.001 degrees in magnitude) the observer's offset is taken off: a
// sphere of one Earth radius (4.263523e-5 AU) at the chosen record's
// latitude, placed by the mean sidereal time of the UT day in the equator of
// date and precessed to J2000 (the offset the two-body road uses).
// RA in hours [0, 24), Dec in degrees.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "engine/accuracy_settings.h"
#include "orbitdet/differential_correction.h"
#include "orbitdet/observations.h"
#include "theories/theory_types.h"

namespace kvx {

class TKomet;
class TKometeph;

// True when the chosen record carries an observer place.
bool HasObserverPlace(const TChosenObservation& c);

// The observer's geocentric offset (AU, equatorial J2000) of a chosen
// record: formed in the equator of date, precessed to J2000.
std::array<double, 3> ObserverOffsetJ2000(const TChosenObservation& c);

struct TTrialPlaceSettings {
  TTheorySelection Selection;  // the Sun's theory; bytes 3-11 the perturbers of method 0
  PositionFileHandles PositionFiles{};
  TObserverRecord Observer;  // copied for every observation
  // The tolerance (method 0), level A for the Sun, level B for the
  // perturbers.
  TAccuracySettings Accuracy;
  // Method 0: one integration per trial vector, forward and backward from
  // the epoch through the observations in time order; false: one
  // TKometeph::integriere per observation.
  bool Batched = true;
};

// The observer record of one chosen observation (see above).
TObserverRecord TrialObserverRecord(const TTrialPlaceSettings& settings, const TChosenObservation& c);

// Computes the places for DifferentialCorrection. The comet objects belong
// to the caller and must outlive this object; their elements, working
// observer record and period are overwritten.
class TTrialPlaces {
 public:
  TTrialPlaces(TKomet& comet, TKometeph& ephemeris, TTrialPlaceSettings settings);

  // Method 0 or 1 (anything else counts as 1). NonFinite when the vector
  // gives no usable elements or the place is not finite, IterationFailed
  // when the integration failed (its message shown) or was cancelled
  // (AbortRequested then stays set).
  TOrbitStatus Place(const TTrialPlaceRequest& request, double& raHours, double& decDegrees);

  // Place as the correction's hook; valid while this object lives.
  TTrialPlaceFunction Function();

 private:
  bool SetTrialElements(const TStateVector& state, double epoch);
  void CompleteObservers(std::span<const TChosenObservation> chosen);
  TOrbitStatus PlaceFromAstrometric(double x, double y, double z, double centuries, const TChosenObservation& c,
                                    std::uint8_t topocentric, double& raHours, double& decDegrees) const;
  TOrbitStatus ExactPlace(const TTrialPlaceRequest& r, double& raHours, double& decDegrees);
  TOrbitStatus IntegratedPlace(const TTrialPlaceRequest& r, double& raHours, double& decDegrees);
  TOrbitStatus BatchedPlace(const TTrialPlaceRequest& r, double& raHours, double& decDegrees);

  TKomet& comet_;
  TKometeph& ephemeris_;
  TTrialPlaceSettings settings_;
  TTableConfigRecord config_{};  // no columns: no Sun one hour later, no hourly motion

  // Completed observer records of the chosen list they were made for.
  std::vector<TChosenObservation> observedFor_;
  std::vector<TObserverRecord> observers_;

  // Elements of the last trial vector.
  bool elementsValid_ = false;
  bool elementsUsable_ = false;
  TStateVector elementsState_{};
  double elementsEpoch_ = 0;

  // Places of the last batched integration.
  bool batchValid_ = false;
  TStateVector batchState_{};
  double batchEpoch_ = 0;
  std::uint8_t batchTopocentric_ = 0;
  std::vector<std::array<double, 2>> batchPlaces_;
  std::vector<TOrbitStatus> batchStatus_;
};

}  // namespace kvx
