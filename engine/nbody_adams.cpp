#include "engine/nbody_adams.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"

namespace kvx {

TAdamsGlobals AdamsGlobals;

namespace {

constexpr long double kMjdOffset = 2400000.5L;
constexpr long double kAbsoluteTolerance = 1e-30L;

std::string LegLabel(long double mjd) {
  return std::string(ByLanguage("Integrationszeitpunkt JD: ", "Integration for JD ")) +
         std::to_string(static_cast<long long>(std::trunc(mjd + kMjdOffset)));
}

bool StateFinite(const TNBodyState& s, int n) {
  for (int i = 0; i < n; ++i)
    for (long double v : s[static_cast<std::size_t>(i)])
      if (!std::isfinite(v)) return false;
  return true;
}

std::string AdamsInputProblem(int n, const TNBodyState& state,
                              const std::array<long double, kMaxIntegrationBodies>& masses, long double jd,
                              long double tolerance, const TAdamsPeriod& period) {
  const bool en = LanguageEnglish != 0;
  if (n < 1 || n > kMaxIntegrationBodies)
    return en ? "The number of bodies must lie between 1 and 14."
              : "Die Anzahl der Körper muss zwischen 1 und 14 liegen.";
  if (!std::isfinite(tolerance) || !(tolerance > 0))
    return en ? "The integration tolerance must be a positive number."
              : "Die Integrationsgenauigkeit muss eine positive Zahl sein.";
  if (!std::isfinite(period.StepDays) || !(period.StepDays > 0))
    return en ? "The table step must be greater than 0." : "Die Schrittweite der Tabelle muss größer als 0 sein.";
  if (!std::isfinite(period.StartMjd) || !std::isfinite(period.EndMjd) || period.EndMjd < period.StartMjd)
    return en ? "The end of the period lies before its start." : "Das Ende des Zeitraums liegt vor seinem Anfang.";
  if (!std::isfinite(jd))
    return en ? "The epoch of the start values is not a valid number."
              : "Die Epoche der Startwerte ist keine gültige Zahl.";
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(masses[static_cast<std::size_t>(i)]) || masses[static_cast<std::size_t>(i)] < 0)
      return (en ? "Invalid mass of body " : "Ungültige Masse von Körper ") + std::to_string(i + 1) + ".";
  }
  if (!StateFinite(state, n))
    return en ? "The start values contain an invalid number." : "Die Startwerte enthalten eine ungültige Zahl.";
  return {};
}

void ShowNumericFault() {
  ShowMessage("Während der Integration sind numerische Fehler aufgetreten. Bitte überprüfen Sie die Startwerte!",
              "An numeric error occured during integration. Please check starting values!", MessageIcon::Error,
              MessageButtons::Ok, ByLanguage("Integration abgebrochen", "Integration canceled"));
}

}  // namespace

OdePumpAction NBodyAdamsPump::BeforeStep(const OdePumpState& state) {
  const bool beforeStart = state.TOUT >= state.T ? state.X < periodStart_ : state.X > periodStart_;
  if (AdamsGlobals.FirstLegDone == 0 && beforeStart) progress_.ProcessEvents();
  const long double jd = std::trunc(state.X + kMjdOffset);
  if (std::fmod(jd, 10.0L) == 0) progress_.SetLabel(LegLabel(state.T));
  return AbortRequested != 0 ? OdePumpAction::ReturnUnchanged : OdePumpAction::Continue;
}

OdePumpAction NBodyAdamsPump::AfterStep(const OdePumpState&) {
  if (AdamsGlobals.FirstLegDone == 0) progress_.ProcessEvents();
  return AbortRequested != 0 ? OdePumpAction::Abort : OdePumpAction::Continue;
}

void NBodyAdamsPump::ProcessEvents() { progress_.ProcessEvents(); }

void NBodyDerivatives(long double, const long double* y, long double* yp) {
  const int n = AdamsGlobals.N;
  for (int i = 0; i < n; ++i) {
    const long double* ri = y + 6 * i;
    long double ax = 0, ay = 0, az = 0;
    for (int j = 0; j < n; ++j) {
      const long double m = AdamsGlobals.Masses[static_cast<std::size_t>(j)];
      if (j == i || m == 0) continue;
      const long double* rj = y + 6 * j;
      const long double dx = rj[0] - ri[0], dy = rj[1] - ri[1], dz = rj[2] - ri[2];
      const long double d = 1.0L / std::sqrt(dx * dx + dy * dy + dz * dz);
      const long double f = kNBodyK2 * m * d * d * d;
      ax += f * dx;
      ay += f * dy;
      az += f * dz;
    }
    yp[6 * i] = ri[3];
    yp[6 * i + 1] = ri[4];
    yp[6 * i + 2] = ri[5];
    yp[6 * i + 3] = ax;
    yp[6 * i + 4] = ay;
    yp[6 * i + 5] = az;
    if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(az)) AdamsGlobals.NonFinite = true;
  }
}

void ReduceStateToFirstBody(TNBodyState& state, int n) {
  const TBodyState first = state[0];
  for (int i = 1; i < n; ++i)
    for (int k = 0; k < 6; ++k) state[static_cast<std::size_t>(i)][k] -= first[k];
  state[0].fill(0);
}

void SolveNBodyLeg(TNBodyState& state, long double& t, long double& tout, std::int32_t& IFLAG,
                   TODEWorkspace<NBodyOdeTraits::kEquations>& workspace, NBodyAdamsPump& pump) {
  long double absolute = kAbsoluteTolerance;
  long double relative = AdamsGlobals.RelativeTolerance;
  if (t == tout) return;
  // The state array is 14 x 6 contiguous extended values, body 1 first.
  long double* y = state[0].data();
  static_assert(sizeof(TNBodyState) == sizeof(long double) * 6 * kMaxIntegrationBodies);
  auto f = [](long double tt, const long double* yy, long double* yp) { NBodyDerivatives(tt, yy, yp); };
  do {
    pump.ProcessEvents();
    if (AbortRequested != 0) return;
    SolveODE<NBodyOdeTraits>(f, AdamsGlobals.NEQN, y, t, tout, relative, absolute, IFLAG, workspace, pump);
    if (AdamsGlobals.NonFinite) return;
  } while (std::abs(IFLAG) != 2 && IFLAG != 6 && IFLAG != 7);
  if (IFLAG == 6)
    ShowMessage(" Ungueltige Eingabe in Subroutine ", " Invalid input in subroutine ", MessageIcon::Error);
}

void WriteAdamsOutputRow(truKu& integrator, const TTableConfigRecord& config, const TNBodyState& y, long double t,
                         std::int32_t row) {
  integrator.HeadingRow = row == 1 ? 1 : 0;
  integrator.OutputRow = row;
  if (row != 1) {
    integrator.Setup.JD = t + kMjdOffset;
    for (int i = 0; i < std::clamp(integrator.Setup.N, 0, kMaxIntegrationBodies); ++i)
      integrator.Setup.WorkingState[static_cast<std::size_t>(i)] = y[static_cast<std::size_t>(i)];
  }
  integrator.WriteOutputRow(config);
}

bool IntegrateStateToDate(truKu& integrator, std::int32_t N, TNBodyState& state,
                          const std::array<long double, kMaxIntegrationBodies>& masses, long double& JD,
                          long double tolerance, const TTableConfigRecord& config, TSheet& sheet,
                          const TAdamsPeriod& period) {
  AbortRequested = 0;
  if (!ValidateIntegrationSetup(integrator.Setup)) return false;
  {
    const std::string problem = AdamsInputProblem(N, state, masses, JD, tolerance, period);
    if (!problem.empty()) {
      ShowMessage(problem, problem, MessageIcon::Error);
      return false;
    }
  }
  AdamsGlobals = TAdamsGlobals{};
  AdamsGlobals.TargetJD = JD;
  AdamsGlobals.RelativeTolerance = tolerance;
  AdamsGlobals.N = N;
  AdamsGlobals.NEQN = 6 * N;
  AdamsGlobals.Masses = masses;

  TODEWorkspace<NBodyOdeTraits::kEquations> workspace{};
  bool completed = false;
  bool fault = false;
  TNBodyState y = state;
  TNBodyState reduced = state;
  ReduceStateToFirstBody(reduced, N);
  long double lastTout = JD - kMjdOffset;
  {
    ProgressSession session(CurrentProgress(), LegLabel(JD - kMjdOffset), 100);
    ProgressReporter& progress = session.Reporter();
    NBodyAdamsPump pump(progress, period.StartMjd);
    progress.Step(1);
    long double t = JD - kMjdOffset;
    long double tStart = period.StartMjd;
    std::int32_t iflag = 1;
    SolveNBodyLeg(y, t, tStart, iflag, workspace, pump);
    progress.ProcessEvents();
    const auto legFailed = [&]() { return AdamsGlobals.NonFinite || iflag == 6 || !StateFinite(y, N); };
    if (AbortRequested == 0 && iflag != 7) {
      if (legFailed()) {
        fault = true;
      } else {
        reduced = y;
        ReduceStateToFirstBody(reduced, N);
        lastTout = tStart;
        AdamsGlobals.FirstLegDone = 1;
        WriteAdamsOutputRow(integrator, config, reduced, period.StartMjd, 1);
        WriteAdamsOutputRow(integrator, config, reduced, period.StartMjd, 2);
        std::int32_t row = 2;
        long double tNext = period.StartMjd + period.StepDays;
        const long double span = std::fabs(period.EndMjd - period.StartMjd);
        do {
          const long double share = span == 0 ? 1.0L : std::fabs(1.0L - std::fabs(period.EndMjd - tNext) / span);
          progress.Step(std::clamp(static_cast<int>(std::trunc(share * 100.0L)), 0, 100));
          long double tout = tNext;
          SolveNBodyLeg(y, t, tout, iflag, workspace, pump);
          tNext += period.StepDays;
          if (AbortRequested != 0) break;
          if (legFailed()) {
            fault = iflag != 6;  // a refusal has shown its own message
            break;
          }
          reduced = y;
          ReduceStateToFirstBody(reduced, N);
          lastTout = tout;
          WriteAdamsOutputRow(integrator, config, reduced, tout, ++row);
          progress.ProcessEvents();
        } while (AbortRequested == 0 && !(tNext > period.EndMjd));
        completed = AbortRequested == 0 && !legFailed();
      }
    }
  }
  if (fault) ShowNumericFault();
  if (completed && integrator.Setup.WriteStateVectors != 0)
    integrator.WriteStateVectors(config, integrator.OutputRow, 0, integrator.Language);
  FinishIntegrationSheet(sheet);
  state = reduced;
  JD = lastTout + kMjdOffset;
  return completed;
}

bool RunAdamsIntegration(truKu& integrator, TSheet& sheet, tmystringgrid& grid, std::uint8_t workbookView,
                         const TTableConfigRecord& config, const TAdamsPeriod& period, long double tolerance,
                         std::uint8_t language) {
  integrator.Language = language;
  integrator.sg = &sheet;
  integrator.Grid = &grid;
  integrator.WorkbookView = workbookView;
  TNBodyState state = integrator.Setup.StartValues;
  long double jd = integrator.Setup.StartJD;
  const bool done = IntegrateStateToDate(integrator, integrator.Setup.N, state, integrator.Setup.Masses, jd, tolerance,
                                         config, sheet, period);
  integrator.Setup.WorkingState = integrator.Setup.StartValues;
  integrator.Setup.JD = integrator.Setup.StartJD;
  return done;
}

}  // namespace kvx
