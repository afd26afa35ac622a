// Differential correction of a heliocentric state vector: the places
// computed from the vector are fitted to the chosen observations in the
// least-squares sense, one cycle at a time, each cycle shown to the user
// through a ResidualsView.
//
// State vectors: heliocentric equatorial J2000, AU and AU per Gaussian time
// unit; epochs JD (TT). Observations: RA in hours, Dec in degrees, J2000.
// Residuals: observed minus computed, RA reduced to (-12, 12] h. RMS in
// degrees, sqrt(sum((15 dRA)^2 + dDec^2) / n), no cos(dec) factor.
// Partials: forward differences with step |0.01 s x_j| (s the change rate in
// percent), at least 0.01 s 1e-3 |r| for positions and 0.01 s 1e-3 |v| for
// velocities, so that a zero component still gets a usable step.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "orbitdet/observations.h"

namespace kvx {

// What a residuals display receives for one pass.
struct TResidualsFill {
  std::string FileName;
  TStateVector State{};
  double Epoch = 0;
  std::vector<double> JD, RA, Dec;  // UT days, hours, degrees
  std::vector<double> DRA, DDec;    // hours, degrees (empty without residuals)
  double Rms = 0;                   // degrees
  bool ShowLines = true;
  bool HasResiduals = false;
  double ChangeRate = 0.1;  // percent
  std::uint8_t Method = 2;
  std::uint8_t Topocentric = 1;
};

// The residuals form as seen by the computation. ShowModal returns 6
// (continue), 1 (reload for improvement), 5 (previous result), 7 (close) or
// 2 (cancel); the getters give what the form holds after it closed.
class ResidualsView {
 public:
  virtual ~ResidualsView() = default;
  // Fills the display; false when the elements could not be computed
  // (`elements` is then zero).
  virtual bool Fill(const TResidualsFill& fill, TOrbitElementRecord& elements) = 0;
  virtual int ShowModal() = 0;
  virtual TStateVector State() const = 0;
  virtual double Epoch() const = 0;
  virtual std::uint8_t Method() const = 0;
  virtual std::uint8_t Topocentric() const = 0;
  virtual double ChangeRate() const = 0;
  virtual bool ReloadRequested() const = 0;
};

// What a trial place is asked for: observation Index (0-based) of the
// chosen records, the trial vector and its epoch (JD TT), the method (0 or
// 1) and the topocentric byte in force.
struct TTrialPlaceRequest {
  TStateVector State{};
  double Epoch = 0;
  std::span<const TChosenObservation> Chosen;
  std::size_t Index = 0;
  std::uint8_t Method = 1;
  std::uint8_t Topocentric = 1;
};

// The place of the request's observation: RA in hours, Dec in degrees,
// J2000. Used for the methods with the comet classes; a status other than
// Ok (or AbortRequested set on return) stops the pass.
using TTrialPlaceFunction = std::function<TOrbitStatus(const TTrialPlaceRequest& request, double& ra, double& dec)>;

struct TCorrectionInput {
  std::span<const TChosenObservation> Chosen;
  std::span<const TObserverPlace> Observers;  // Sun seen from the observer, one per chosen record
  TStateVector* State = nullptr;              // in/out
  double* Epoch = nullptr;                    // in/out
  double MassFactor = 1.0;
  std::uint8_t Method = 2;  // 0 perturbed, 1 exact, 2 simplified
  std::uint8_t Topocentric = 1;
  double ChangeRate = 0.1;  // percent
  std::string FileName;
  TTrialPlaceFunction Places;  // methods 0 and 1 (method 2 when empty)
  ResidualsView* View = nullptr;
};

enum class TCorrectionResult : std::uint8_t { Finished, Cancelled, TooMany, Failed };

struct TCorrectionOutcome {
  TCorrectionResult Result = TCorrectionResult::Finished;
  bool Success = true;  // false when the vector's eccentricity exceeded 40000
  int Cycles = 0;       // corrections applied
  double LastStep = 0;  // largest |dx| of the last correction
  double Rms = 0;       // degrees, of the last nominal pass
  std::uint8_t Method = 2;
  std::uint8_t Topocentric = 1;
  double ChangeRate = 0.1;
};

// The right ascension difference a - b (hours) reduced to (-12, 12].
double ReduceHours(double difference);

// The step of component j (0..5) of a state vector for a change rate in
// percent.
double PartialStep(const TStateVector& state, int j, double changeRate);

// Least squares in six unknowns: rows of six partials and the residual.
// Normal matrix with the residual as seventh column, columns scaled to unit
// diagonal, largest pivot of each column; Singular when a pivot is below
// 1e-13. `remaining` receives residual - sum(a dx) of each row.
TOrbitStatus SolveNormalEquations(std::span<const std::array<double, 7>> rows, std::array<double, 6>& dx,
                                  std::vector<double>* remaining = nullptr);

// The cycle loop: nominal pass, the view, partials, normal equations. Shows
// "Datenstruktur zu groß" above 1000 observations, the singular and the
// no-place messages through the message seam; reports progress through
// CurrentProgress() and stops when AbortRequested is set.
TCorrectionOutcome DifferentialCorrection(const TCorrectionInput& in);

}  // namespace kvx
