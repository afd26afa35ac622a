#include "orbitdet/trial_places.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/angle_constants.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/comet.h"
#include "engine/orbit_integration.h"
#include "orbitdet/laplace.h"
#include "orbitdet/state_elements.h"
#include "platform/globals.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace {

constexpr double kEarthRadiusAu = 4.263523e-05;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The integration moves an epoch closer than this to its first instant by a
// second (engine/orbit_integration.h); such an observation takes the
// comet's own place, which the perturbations cannot change within it.
constexpr double kNearEpochDays = 2.0 / 86400.0;

bool SameChosen(const TChosenObservation& a, const TChosenObservation& b) {
  return a.JD == b.JD && a.JdTT == b.JdTT && a.Latitude == b.Latitude && a.LongitudeWest == b.LongitudeWest;
}

double DynamicalMjd(const TObserverRecord& r) { return r.Mjd + r.DeltaTSeconds / 86400.0; }

}  // namespace

bool HasObserverPlace(const TChosenObservation& c) {
  return std::fabs(c.LongitudeWest) >= 0.001 || std::fabs(c.Latitude) >= 0.001;
}

std::array<double, 3> ObserverOffsetJ2000(const TChosenObservation& c) {
  const double theta = LocalSiderealAngle(c.JD, c.LongitudeWest) * kDegToRad;
  const double phi = c.Latitude * kDegToRad;
  double x = kEarthRadiusAu * std::cos(phi) * std::cos(theta);
  double y = kEarthRadiusAu * std::cos(phi) * std::sin(theta);
  double z = kEarthRadiusAu * std::sin(phi);
  TMatrix33 toJ2000;
  PrecessionMatrixEquatorial(toJ2000, JulianCenturiesJ2000(c.JD), 0.0);
  MatrixTimesVector(toJ2000, x, y, z);
  return {x, y, z};
}

TObserverRecord TrialObserverRecord(const TTrialPlaceSettings& settings, const TChosenObservation& c) {
  TObserverRecord r = settings.Observer;
  r.Zone = 0;
  r.ZoneMinutes = 0;
  r.DaylightHours = 0;
  r.Longitude = c.LongitudeWest;
  r.Latitude = c.Latitude;
  r.Height = 0;
  r.AutoDeltaT = 1;
  r.Mjd = JdToMjd(c.JD);
  UTToLocalTime(r);
  r.UTHours = r.LocalHours;
  CompleteObserverRecord(0, settings.Selection, TTableConfigRecord{}, settings.Accuracy.VsopLevelA, r,
                         settings.PositionFiles);
  return r;
}

TTrialPlaces::TTrialPlaces(TKomet& comet, TKometeph& ephemeris, TTrialPlaceSettings settings)
    : comet_(comet), ephemeris_(ephemeris), settings_(std::move(settings)) {
  for (TKepler* body : {static_cast<TKepler*>(&comet_), static_cast<TKepler*>(&ephemeris_)}) {
    body->TableConfig = config_;
    body->TheorySelection = settings_.Selection;
    body->Accuracy = settings_.Accuracy;
    body->FullComputation = 0;
  }
  ephemeris_.Step = TTableStep{};
}

TTrialPlaceFunction TTrialPlaces::Function() {
  return [this](const TTrialPlaceRequest& request, double& ra, double& dec) { return Place(request, ra, dec); };
}

void TTrialPlaces::CompleteObservers(std::span<const TChosenObservation> chosen) {
  bool same = chosen.size() == observedFor_.size();
  for (std::size_t k = 0; same && k < chosen.size(); ++k) same = SameChosen(chosen[k], observedFor_[k]);
  if (same) return;
  observedFor_.assign(chosen.begin(), chosen.end());
  observers_.clear();
  observers_.reserve(chosen.size());
  for (const TChosenObservation& c : chosen) observers_.push_back(TrialObserverRecord(settings_, c));
  batchValid_ = false;
}

bool TTrialPlaces::SetTrialElements(const TStateVector& state, double epoch) {
  if (elementsValid_ && state == elementsState_ && epoch == elementsEpoch_) return elementsUsable_;
  elementsValid_ = true;
  elementsState_ = state;
  elementsEpoch_ = epoch;
  elementsUsable_ = false;
  TOrbitElementRecord elements;
  if (!OrbitElementsFromState(state, epoch, 1.0, elements)) return false;
  const TCometElements trial = ElementsForTrialOrbit(elements, epoch);
  SetCometElements(comet_, trial);
  SetCometElements(ephemeris_, trial);
  elementsUsable_ = comet_.ElementsUsable() && ephemeris_.ElementsUsable();
  return elementsUsable_;
}

TOrbitStatus TTrialPlaces::PlaceFromAstrometric(double x, double y, double z, double centuries,
                                                const TChosenObservation& c, std::uint8_t topocentric, double& raHours,
                                                double& decDegrees) const {
  TMatrix33 toJ2000;
  PrecessionMatrixEcliptic(toJ2000, centuries, 0.0);
  MatrixTimesVector(toJ2000, x, y, z);
  EclipticToEquatorial(x, y, z, 0.0);
  if (topocentric != 0 && HasObserverPlace(c)) {
    const std::array<double, 3> offset = ObserverOffsetJ2000(c);
    x -= offset[0];
    y -= offset[1];
    z -= offset[2];
  }
  double r = 0, ra = 0;
  CartesianToPolar(r, decDegrees, ra, x, y, z);
  raHours = Mod360(ra) / 15.0;
  if (!std::isfinite(raHours) || !std::isfinite(decDegrees) || !(r > 0)) return TOrbitStatus::NonFinite;
  return TOrbitStatus::Ok;
}

TOrbitStatus TTrialPlaces::Place(const TTrialPlaceRequest& r, double& raHours, double& decDegrees) {
  raHours = decDegrees = kNaN;
  if (r.Index >= r.Chosen.size()) return TOrbitStatus::NonFinite;
  CompleteObservers(r.Chosen);
  if (r.Method != 0) return ExactPlace(r, raHours, decDegrees);
  return settings_.Batched ? BatchedPlace(r, raHours, decDegrees) : IntegratedPlace(r, raHours, decDegrees);
}

TOrbitStatus TTrialPlaces::ExactPlace(const TTrialPlaceRequest& r, double& raHours, double& decDegrees) {
  if (!SetTrialElements(r.State, r.Epoch)) return TOrbitStatus::NonFinite;
  const TObserverRecord& observer = observers_[r.Index];
  comet_.Observer = observer;
  comet_.FullComputation = 0;
  comet_.Result.AstrometricX = comet_.Result.AstrometricY = comet_.Result.AstrometricZ = kNaN;
  comet_.rechnen(settings_.PositionFiles);
  const TEphemerisResultRecord& res = comet_.Result;
  return PlaceFromAstrometric(res.AstrometricX, res.AstrometricY, res.AstrometricZ, observer.Centuries,
                              r.Chosen[r.Index], r.Topocentric, raHours, decDegrees);
}

TOrbitStatus TTrialPlaces::IntegratedPlace(const TTrialPlaceRequest& r, double& raHours, double& decDegrees) {
  if (!SetTrialElements(r.State, r.Epoch)) return TOrbitStatus::NonFinite;
  const TObserverRecord& observer = observers_[r.Index];
  if (std::fabs(DynamicalMjd(observer) - JdToMjd(r.Epoch)) < kNearEpochDays) {
    return ExactPlace(r, raHours, decDegrees);
  }
  ephemeris_.PeriodStart = observer;
  ephemeris_.PeriodEnd = observer;
  ephemeris_.FullComputation = 0;
  ephemeris_.Result.Integrated = 0;
  const bool wasCancelled = AbortRequested.load() != 0;
  ephemeris_.integriere(settings_.PositionFiles, 0, 0, 0);
  if (ephemeris_.Stopped != 0 || wasCancelled) {
    // The table clears the flag on its way out; the correction must see it.
    AbortRequested = 1;
    return TOrbitStatus::IterationFailed;
  }
  if (ephemeris_.Result.Integrated == 0) return TOrbitStatus::IterationFailed;
  const TEphemerisResultRecord& res = ephemeris_.Result;
  return PlaceFromAstrometric(res.AstrometricX, res.AstrometricY, res.AstrometricZ, ephemeris_.Observer.Centuries,
                              r.Chosen[r.Index], r.Topocentric, raHours, decDegrees);
}

TOrbitStatus TTrialPlaces::BatchedPlace(const TTrialPlaceRequest& r, double& raHours, double& decDegrees) {
  const bool current = batchValid_ && r.State == batchState_ && r.Epoch == batchEpoch_ &&
                       r.Topocentric == batchTopocentric_ && batchStatus_.size() == r.Chosen.size();
  if (!current) {
    const std::size_t n = r.Chosen.size();
    batchValid_ = true;
    batchState_ = r.State;
    batchEpoch_ = r.Epoch;
    batchTopocentric_ = r.Topocentric;
    batchPlaces_.assign(n, {kNaN, kNaN});
    batchStatus_.assign(n, TOrbitStatus::NonFinite);
    if (SetTrialElements(r.State, r.Epoch)) {
      std::vector<double> mjdTT(n);
      for (std::size_t k = 0; k < n; ++k) mjdTT[k] = DynamicalMjd(observers_[k]);
      std::vector<TStateVectorExt> states;
      ephemeris_.FullComputation = 0;
      const bool done =
          IntegrateCometStates(settings_.PositionFiles, settings_.Selection, ephemeris_,
                               settings_.Accuracy.IntegrationTolerance, settings_.Accuracy.VsopLevelB, mjdTT, states);
      if (!done && AbortRequested.load() != 0) {
        batchValid_ = false;
        return TOrbitStatus::IterationFailed;
      }
      TEphemerisResultRecord& res = ephemeris_.Result;
      for (std::size_t k = 0; k < n; ++k) {
        const TObserverRecord& observer = observers_[k];
        const TStateVectorExt& state = states[k];
        if (!std::all_of(state.begin(), state.end(), [](long double v) { return std::isfinite(v); })) {
          batchStatus_[k] = TOrbitStatus::IterationFailed;
          continue;
        }
        // The integration's J2000 ecliptic state into the chain of date.
        StoreHelioStateOfDate(res, state.data(), observer.Centuries);
        ephemeris_.Observer = observer;
        ephemeris_.geozentrischekliptikalgeometrisch();
        ephemeris_.geozentrischastrometrisch_linear();
        double ra = kNaN, dec = kNaN;
        batchStatus_[k] = PlaceFromAstrometric(res.AstrometricX, res.AstrometricY, res.AstrometricZ, observer.Centuries,
                                               r.Chosen[k], r.Topocentric, ra, dec);
        batchPlaces_[k] = {ra, dec};
      }
    }
  }
  raHours = batchPlaces_[r.Index][0];
  decDegrees = batchPlaces_[r.Index][1];
  return batchStatus_[r.Index];
}

}  // namespace kvx
