// The Adams run of the n-body set-up: the start values are integrated with
// the variable-order multistep solver (engine/ode_solver.h, 6 N <= 84
// equations) first from their epoch to the start of the table period (also
// backwards), then from one table step to the next up to the end of the
// period, one integration carried across all legs; every row is written,
// reduced to body 1, through the integrator's output writer (truKu).
//
// Units and frame: those of the set-up (AU, AU/day, solar masses,
// rectangular equatorial of the set-up's equinox). The solver's independent
// variable is the MJD (JD - 2400000.5) of the set-up's time scale; the step
// is in days. Arithmetic is long double throughout (unit roundoff 2^-64,
// taken as 2e-19).
//
// Reference: Shampine and Gordon (see engine/ode_solver.h); the force law of
// engine/nbody_integrator.h.
#pragma once

#include <cstdint>

#include "engine/nbody_integrator.h"
#include "engine/ode_solver.h"

namespace kvx {

class ProgressReporter;

// The n-body instance of the solver: up to 14 bodies x 6 equations, the
// machine constants of the 80-bit format, T and TOUT in long double.
struct NBodyOdeTraits {
  static constexpr int kEquations = 6 * kMaxIntegrationBodies;
  static constexpr long double kTwoU = 4e-19L;
  static constexpr long double kFourU = 8e-19L;
  using Time = long double;
};

// The run's module state, set by IntegrateStateToDate: N, NEQN = 6 N, the
// relative tolerance, the masses, the target JD and the first-leg flag (0
// while integrating from the epoch to the period start). NonFinite is set by
// NBodyDerivatives when a derivative came out not finite.
struct TAdamsGlobals {
  std::int32_t N = 0;
  std::int32_t NEQN = 0;
  long double RelativeTolerance = 0;
  std::array<long double, kMaxIntegrationBodies> Masses{};
  long double TargetJD = 0;
  std::uint8_t FirstLegDone = 0;
  bool NonFinite = false;
};
extern TAdamsGlobals AdamsGlobals;

// The table period of the run: start and end (MJD, as the period's observer
// records hold them) and the table step (days).
struct TAdamsPeriod {
  long double StartMjd = 0;
  long double EndMjd = 0;
  long double StepDays = 0;
};

// The solver's pump for the n-body legs. Before every step: while X lies
// before the period start all pending window events are processed; when the
// integer part of the JD of X is a multiple of 10 the label becomes
// "Integrationszeitpunkt JD: " / "Integration for JD " with the integer JD of
// the call's T; a cancel returns with IFLAG unchanged. After every step: one
// round of events during the first leg; a cancel gives IFLAG 7.
class NBodyAdamsPump {
 public:
  NBodyAdamsPump(ProgressReporter& progress, long double periodStartMjd)
      : progress_(progress), periodStart_(periodStartMjd) {}
  OdePumpAction BeforeStep(const OdePumpState& state);
  OdePumpAction AfterStep(const OdePumpState& state);
  void ProcessEvents();

 private:
  ProgressReporter& progress_;
  long double periodStart_;
};

// The derivative function: y = bodies 1..N x (x, y, z, x1, y1, z1), yp =
// their velocities and accelerations (AU/day^2); t is not used.
void NBodyDerivatives(long double t, const long double* y, long double* yp);

// Bodies 2..N minus body 1, then body 1 := 0.
void ReduceStateToFirstBody(TNBodyState& state, int n);

// Integrates the state from t to tout (MJD), repeating the solver on codes
// 3, 4 and 5; ABSERR 1e-30 and a fresh RELERR from AdamsGlobals. Returns at
// once when t == tout or AbortRequested is set. Code 6 (refused) shows
// " Ungueltige Eingabe in Subroutine " / " Invalid input in subroutine ".
void SolveNBodyLeg(TNBodyState& state, long double& t, long double& tout, std::int32_t& IFLAG,
                   TODEWorkspace<NBodyOdeTraits::kEquations>& workspace, NBodyAdamsPump& pump);

// One row through the integrator: row 1 the heading; a data row sets the
// integrator's JD := t + 2400000.5 and its working state (bodies 1..N) := y.
void WriteAdamsOutputRow(truKu& integrator, const TTableConfigRecord& config, const TNBodyState& y, long double t,
                         std::int32_t row);

// The run. Given N, the state at JD (the epoch), the masses, the relative
// tolerance, the table configuration, the sheet and the period. Refuses
// with a message, writing nothing: N outside 1..14, a tolerance not above 0
// or not finite, a step not above 0 or not a number, an end before the
// start, a non-finite state, JD or mass, a negative mass. Writes the
// heading row and a row per table step from the period start (at least
// two data rows), the state-vector block when the set-up asks for it, and
// the sheet finishing once at the end. A cancel writes no row for the leg it
// interrupted and no block; a numeric fault or a solver refusal stops with a
// message, keeps the rows written and writes no block. The rows are in the
// integrator's Language. On return `state`
// holds the last row's state (reduced to body 1) and JD its JD. Returns
// true when the run reached the period end.
bool IntegrateStateToDate(truKu& integrator, std::int32_t N, TNBodyState& state,
                          const std::array<long double, kMaxIntegrationBodies>& masses, long double& JD,
                          long double tolerance, const TTableConfigRecord& config, TSheet& sheet,
                          const TAdamsPeriod& period);

// The Adams run as the menu command calls it: the rows go to `sheet` when
// `workbookView` is non-zero, else to `grid`; the start values of the
// integrator's set-up are integrated, and afterwards its working state and
// JD are the start values and the start JD again. The rows are written in
// `language` (kept in the integrator's Language).
bool RunAdamsIntegration(truKu& integrator, TSheet& sheet, tmystringgrid& grid, std::uint8_t workbookView,
                         const TTableConfigRecord& config, const TAdamsPeriod& period, long double tolerance,
                         std::uint8_t language);

}  // namespace kvx
