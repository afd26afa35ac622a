#include "engine/orbit_integration.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>
#include <string>

#include "core/binary_fields.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "engine/comet.h"
#include "engine/ephemeris_table.h"
#include "engine/ode_progress_pump.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "theories/observer_completion.h"
#include "theories/planet_by_index.h"
#include "theories/position_files.h"
#include "theories/theory_state.h"

namespace kvx {

TIntegrationPositionFile IntegrationPositionFile;

namespace {

constexpr long double kMjdJ2000 = 51544.5L;
constexpr long double kDaysPerCentury = 36525.0L;
constexpr int kPlutoIndex = 8;

long double CenturiesFromMjd(long double mjd) { return (mjd - kMjdJ2000) / kDaysPerCentury; }
long double MjdFromCenturies(long double T) { return T * kDaysPerCentury + kMjdJ2000; }

bool PerturberOn(const TTheorySelection& selection, int body) {
  return selection.bytes[static_cast<std::size_t>(kFirstPerturberSwitchByte + body)] != 0;
}

// The nine positions from "pos.vsp" (J2000 ecliptic, Pluto included), when
// the file is installed, its switch is set and it serves the date. `mode` is
// the local copy of the planet-theory byte that the date guard may reset.
bool PositionsFromFile(long double T, std::uint8_t& mode, std::array<std::array<long double, 3>, 9>& positions) {
  TTheoryState* theory = IntegrationPositionFile.Theory;
  std::uint8_t* databaseSwitch = IntegrationPositionFile.DatabaseSwitch;
  if (theory == nullptr || databaseSwitch == nullptr || theory->VspFilePresent == 0 || theory->VspStream == nullptr)
    return false;
  const double jd = JdFromJulianCenturies(static_cast<double>(T));
  if (!CheckTheoryDateSpan(*databaseSwitch, mode, jd, theory->VscLastJulianDate, theory->VspFirstJulianDate,
                           theory->VspLastJulianDate) ||
      *databaseSwitch == 0)
    return false;
  std::uint8_t record[kVspRecordSize] = {};
  if (!InterpolatePositionFile(theory->VspBlockStart, theory->VspBlockEnd, theory->VspBlock.data(), record,
                               theory->VspStream, static_cast<double>(T)))
    return false;
  for (int body = 0; body < 9; ++body)
    for (int axis = 0; axis < 3; ++axis)
      positions[static_cast<std::size_t>(body)][static_cast<std::size_t>(axis)] =
          Real48ToDouble(record + 6 * (1 + 3 * body + axis));
  return true;
}

}  // namespace

void PerturberPositions(const TOrbitForceContext& context, long double T,
                        std::array<std::array<long double, 3>, 9>& positions) {
  std::uint8_t mode = context.Selection.bytes[0];
  // The file holds every body in the J2000 ecliptic, Pluto too: no rotation.
  if (PositionsFromFile(T, mode, positions)) return;
  TTheorySelection selection = context.Selection;
  selection.bytes[0] = mode;
  TMatrix33Ext toJ2000;
  EclipticPrecessionMatrix(toJ2000, static_cast<double>(T), 0.0);
  for (int body = 0; body < 9; ++body) {
    if (!PerturberOn(context.Selection, body)) continue;
    auto& p = positions[static_cast<std::size_t>(body)];
    PlanetPositionByIndex(context.Settings, selection, body, static_cast<double>(T), p[0], p[1], p[2], toJ2000,
                          context.PrecisionLevel);
  }
}

bool OrbitEquationsOfMotion(const TOrbitForceContext& context, long double T, long double x, long double y,
                            long double z, long double& ax, long double& ay, long double& az) {
  const long double r2 = x * x + y * y + z * z;
  const long double sun = -kOrbitK2 / (r2 * std::sqrt(r2));
  ax = sun * x;
  ay = sun * y;
  az = sun * z;

  bool anyOn = false;
  for (int body = 0; body < 9; ++body) anyOn = anyOn || PerturberOn(context.Selection, body);
  if (anyOn) {
    std::array<std::array<long double, 3>, 9> positions{};
    PerturberPositions(context, T, positions);
    for (int body = 0; body < 9; ++body) {
      if (!PerturberOn(context.Selection, body)) continue;
      const long double gm = kOrbitK2 / kPerturberReciprocalMasses[static_cast<std::size_t>(body)];
      const auto& R = positions[static_cast<std::size_t>(body)];
      const long double dx = x - R[0], dy = y - R[1], dz = z - R[2];
      const long double d2 = dx * dx + dy * dy + dz * dz;
      const long double direct = gm / (d2 * std::sqrt(d2));
      const long double R2 = R[0] * R[0] + R[1] * R[1] + R[2] * R[2];
      const long double indirect = gm / (R2 * std::sqrt(R2));
      ax -= direct * dx + indirect * R[0];
      ay -= direct * dy + indirect * R[1];
      az -= direct * dz + indirect * R[2];
    }
  }
  return std::isfinite(ax) && std::isfinite(ay) && std::isfinite(az);
}

bool OrbitDerivatives(const TOrbitForceContext& context, long double t, const long double* y, long double* yp) {
  yp[0] = y[3];
  yp[1] = y[4];
  yp[2] = y[5];
  return OrbitEquationsOfMotion(context, (t - kMjdJ2000) * (1.0L / kDaysPerCentury), y[0], y[1], y[2], yp[3], yp[4],
                                yp[5]);
}

void OrbitSetupFromElements(const TKepler& object, long double& epochT, long double& a, long double& equinoxT,
                            TMatrix33Ext& orientation, long double& M, long double& e) {
  epochT = CenturiesFromMjd(JdToMjd(object.Epoch));
  equinoxT = (static_cast<long double>(object.Equinox) - 2000.0L) * 0.01L;
  RotationMatrixFromAngles(orientation, object.Node, object.Inclination, object.Perihelion);
  a = object.SemiMajorAxis;
  e = object.Eccentricity;
  M = object.MeanAnomaly;
}

TStateVectorExt OrbitStartState(long double a, long double e, long double M, const TMatrix33Ext& orientation,
                                long double equinoxT) {
  long double xx = 0, yy = 0, vxx = 0, vyy = 0;
  OrbitPlanePosition(xx, yy, vxx, vyy, M, a, e);
  TStateVectorExt s{};
  OrbitPlaneToEcliptic(orientation, s[0], s[1], s[2], xx, yy);
  OrbitPlaneToEcliptic(orientation, s[3], s[4], s[5], vxx, vyy);
  TMatrix33Ext toJ2000;
  EclipticPrecessionMatrix(toJ2000, static_cast<double>(equinoxT), 0.0);
  MatrixTimesVectorExt(toJ2000, s[0], s[1], s[2]);
  MatrixTimesVectorExt(toJ2000, s[3], s[4], s[5]);
  return s;
}

void StoreHelioStateOfDate(TEphemerisResultRecord& result, const long double* state, double T) {
  TMatrix33Ext toDate;
  EclipticPrecessionMatrix(toDate, 0.0, T);
  long double x = state[0], y = state[1], z = state[2], vx = state[3], vy = state[4], vz = state[5];
  MatrixTimesVectorExt(toDate, x, y, z);
  MatrixTimesVectorExt(toDate, vx, vy, vz);
  TKeplerPosition& p = result.Position;
  p.HelioX = static_cast<double>(x);
  p.HelioY = static_cast<double>(y);
  p.HelioZ = static_cast<double>(z);
  result.HelioVX = static_cast<double>(vx);
  result.HelioVY = static_cast<double>(vy);
  result.HelioVZ = static_cast<double>(vz);
  CartesianToPolar(p.HelioDistance, p.HelioLatitude, p.HelioLongitude, p.HelioX, p.HelioY, p.HelioZ);
}

namespace {

enum class LegOutcome { Reached, Aborted, Failed };

// One run of the asteroid driver: the solver's workspace and return code, the
// state, and what has been reported, for the whole run.
class OrbitIntegrationRun {
 public:
  OrbitIntegrationRun(const TOrbitForceContext& force, long double tolerance, bool show, long double spanDays,
                      double lastRowMjd)
      : force_(force), tolerance_(tolerance), pump_(CurrentProgress(), show, spanDays, lastRowMjd) {}

  long double state[6] = {};
  std::int32_t iflag = 1;

  // Integrates the state from T to TOUT (MJD, TT), continuing the solver's
  // integration with the current IFLAG. Repeats the solver call on codes 3
  // (at most kMaxToleranceRaises in a row), 4 and 5 (while the solver's
  // point advances), keeping the window responsive and polling the cancel
  // between calls. Failures are reported here, once.
  LegOutcome CheckStartValuesAndSolve(double& T, double& TOUT);

 private:
  LegOutcome Fail(const char* german, const char* english);
  void GuardZeroPlaneComponents();

  TOrbitForceContext force_;
  long double tolerance_;
  TenthStepProgressPump pump_;
  TODEWorkspace<SmallBodyOdeTraits::kEquations> workspace_;
  bool nonFinite_ = false;
  bool startValuesShown_ = false;
};

LegOutcome OrbitIntegrationRun::Fail(const char* german, const char* english) {
  ShowMessage(german, english, MessageIcon::Error, MessageButtons::Ok,
              ByLanguage("Integration abgebrochen", "Integration canceled"));
  return LegOutcome::Failed;
}

void OrbitIntegrationRun::GuardZeroPlaneComponents() {
  // With no absolute tolerance a component that is exactly 0 has no error
  // weight; an orbit in the ecliptic has two.
  bool zero = false;
  if (state[2] == 0) {
    state[2] = 1e-25L;
    zero = true;
  }
  if (state[5] == 0) {
    state[5] = 1e-25L;
    zero = true;
  }
  if (zero && !startValuesShown_) {
    startValuesShown_ = true;
    ShowMessage("Die Startwerte scheinen nicht in Ordnung zu sein.", "The start values seem to be corrupt.",
                MessageIcon::Information, MessageButtons::Ok,
                ByLanguage("Unrealistische Bahnelemente?", "Unrealistic orbital elements?"));
  }
}

LegOutcome OrbitIntegrationRun::CheckStartValuesAndSolve(double& T, double& TOUT) {
  if (TOUT == T) return LegOutcome::Reached;
  auto derivatives = [this](long double t, const long double* y, long double* yp) {
    if (!OrbitDerivatives(force_, t, y, yp)) nonFinite_ = true;
  };
  int raisesInARow = 0;
  for (;;) {
    GuardZeroPlaneComponents();
    const double before = T;
    long double relerr = tolerance_, abserr = 0;
    SolveODE<SmallBodyOdeTraits>(derivatives, 6, state, T, TOUT, relerr, abserr, iflag, workspace_, pump_);
    if (AbortRequested != 0 || iflag == 7) return LegOutcome::Aborted;
    bool finite = !nonFinite_;
    for (long double v : state) finite = finite && std::isfinite(v);
    if (!finite)
      return Fail("Während der Integration sind numerische Fehler aufgetreten. Bitte überprüfen Sie die Startwerte!",
                  "An numeric error occured during integration. Please check starting values!");
    if (iflag == 2 || iflag == -2) return LegOutcome::Reached;
    if (iflag == 6) return Fail("Die numerische Integration ist fehlgeschlagen.", "The numerical integration failed.");
    if (iflag == 3 || iflag == -3) {
      // The solver raised the tolerance to what the precision allows; the
      // run goes on with it. Five raises in a row: it cannot be met.
      if (++raisesInARow > kMaxToleranceRaises)
        return Fail("Die verlangte Genauigkeit der Integration ist nicht erreichbar.",
                    "The requested accuracy of the integration cannot be reached.");
      tolerance_ = std::fmax(tolerance_, relerr);
    } else {
      raisesInARow = 0;
      if (T == before)  // codes 4 and 5 continue only while the point advances
        return Fail("Die numerische Integration ist fehlgeschlagen.", "The numerical integration failed.");
    }
    CurrentProgress().ProcessEvents();
    if (AbortRequested != 0) return LegOutcome::Aborted;
  }
}

// Checks of the run's input; shows the refusal and returns false.
bool IntegrationInputUsable(TKeplereph& object, long double tolerance, double startMjd, double endMjd) {
  const double step = object.Step.StepDays;
  if (!(step > 0) || !std::isfinite(step)) {
    ShowMessage("Die Schrittweite der Tabelle muss größer als 0 sein.", "The step of the table must be greater than 0.",
                MessageIcon::Error);
    return false;
  }
  if (!std::isfinite(startMjd) || !std::isfinite(endMjd) || endMjd < startMjd) {
    ShowMessage("Das Ende des Zeitraums liegt vor seinem Anfang.", "The end of the period lies before its start.",
                MessageIcon::Error);
    return false;
  }
  if (!(tolerance > 0) || !std::isfinite(tolerance)) {
    ShowMessage("Die Genauigkeit der Integration muss größer als 0 sein.",
                "The accuracy of the integration must be greater than 0.", MessageIcon::Error);
    return false;
  }
  return object.CheckElements();
}

// The row's result record from the integrated J2000 state at T (centuries),
// with the observer record of the row's instant and the position operations
// from the geocentric step on.
void ConvertRow(TKeplereph& object, const long double* state, long double T, double mjdUT,
                TComputeSettingsBlock settings, std::uint8_t siderealFlag, TTheorySelection selection,
                std::int32_t vsopLevelA, std::uint8_t nameFlag) {
  TEphemerisResultRecord& result = object.Result;
  result.MeanAnomaly = -1000.0;
  StoreHelioStateOfDate(result, state, static_cast<double>(T));

  TObserverRecord observer = object.Observer;
  observer.Mjd = mjdUT;
  UTToLocalTime(observer);
  CompleteObserverRecord(siderealFlag, selection, object.TableConfig, vsopLevelA, observer, settings);
  object.Observer = observer;
  object.TakeRowInstant();
  result.Name = nameFlag != 0 ? object.Name : std::string();
  result.MagnitudeH = static_cast<float>(object.H);  // the element tables write them
  result.MagnitudeG = static_cast<float>(object.G);

  object.geozentrischekliptikalgeometrisch();
  object.geozentrischastrometrisch_linear();
  object.Ekliptik_aequator();
  object.aequinoktium_reduktion();
  object.topozentr();
  object.horizont();
  object.Aufgang_untergang(TRiseSetBlock::kBodyLevel);
  object.physischeEphemeride();
  result.Integrated = 1;
}

}  // namespace

namespace {

// The element epoch (centuries of TT) and the J2000 state there.
struct TIntegrationStart {
  long double EpochT = 0;
  TStateVectorExt State{};
};

void RunIntegration(TComputeSettingsBlock settings, std::uint8_t siderealFlag, TTheorySelection selection,
                    TKeplereph& object, const TAccuracySettings& accuracy, std::uint8_t show, long double spanDays,
                    std::uint8_t nameFlag, const std::function<TIntegrationStart()>& makeStart) {
  // The period's first and last instants in UT (the records hold local time).
  TObserverRecord first = object.PeriodStart;
  LocalTimeToUT(first);
  TObserverRecord last = object.PeriodEnd;
  LocalTimeToUT(last);
  if (!IntegrationInputUsable(object, accuracy.IntegrationTolerance, first.Mjd, last.Mjd)) {
    object.Rows = 0;
    return;
  }

  const TIntegrationStart begin = makeStart();
  long double epochT = begin.EpochT;
  const long double deltaTDays = object.Observer.DeltaTSeconds / 86400.0L;
  const long double startT = CenturiesFromMjd(first.Mjd + deltaTDays);
  const long double endT = CenturiesFromMjd(last.Mjd + deltaTDays);
  if (std::fabs(startT - epochT) < kEpochNearCenturies) epochT -= kEpochShiftCenturies;
  const long double rowStepT = object.Step.StepDays / kDaysPerCentury;

  const TOrbitForceContext force{settings, selection, accuracy.VsopLevelB};
  OrbitIntegrationRun run(force, accuracy.IntegrationTolerance, show != 0, spanDays, last.Mjd);
  std::copy(begin.State.begin(), begin.State.end(), run.state);

  // First leg: from the epoch to the period start.
  double T = static_cast<double>(MjdFromCenturies(epochT));
  double TOUT = static_cast<double>(MjdFromCenturies(startT));
  run.iflag = 1;
  LegOutcome outcome = run.CheckStartValuesAndSolve(T, TOUT);
  if (outcome == LegOutcome::Failed) object.Rows = 0;
  if (outcome != LegOutcome::Reached) return;

  // One leg per row; a row index computed afresh keeps the last row exact.
  // Rows end within a microsecond of the end, at the latest at the row limit.
  constexpr long double kEndSlackT = 1e-11L / kDaysPerCentury;
  int row = 0;
  for (long double currentT = startT; currentT <= endT + kEndSlackT && row < kMaxTableRows;
       currentT = startT + (row)*rowStepT) {
    CurrentProgress().ProcessEvents();
    TOUT = static_cast<double>(MjdFromCenturies(currentT));
    outcome = run.CheckStartValuesAndSolve(T, TOUT);
    if (outcome == LegOutcome::Failed) {
      object.Rows = 0;
      return;
    }
    if (outcome == LegOutcome::Aborted || AbortRequested != 0) return;
    const double mjdUT = static_cast<double>(TOUT - deltaTDays);
    ConvertRow(object, run.state, currentT, mjdUT, settings, siderealFlag, selection, accuracy.VsopLevelA, nameFlag);
    if (show != 0) {
      RowStore.Store(row, object.Result);
      object.Rows = row + 1;
    }
    ++row;
  }
}

}  // namespace

void IntegrateOrbitNumerically(TComputeSettingsBlock settings, std::uint8_t siderealFlag, TTheorySelection selection,
                               TKeplereph& object, const TAccuracySettings& accuracy, std::uint8_t show,
                               long double spanDays, std::uint8_t nameFlag) {
  RunIntegration(settings, siderealFlag, selection, object, accuracy, show, spanDays, nameFlag, [&object] {
    long double epochT = 0, a = 0, equinoxT = 0, M = 0, e = 0;
    TMatrix33Ext orientation;
    OrbitSetupFromElements(object, epochT, a, equinoxT, orientation, M, e);
    return TIntegrationStart{epochT, OrbitStartState(a, e, M, orientation, equinoxT)};
  });
}

TStateVectorExt CometStartState(const TKepler& object, double epochJd) {
  const TCometOrbitPlace p = CometOrbitPlace(object.PerihelionDistance, object.Eccentricity, object.Epoch, epochJd);
  TMatrix33Ext orientation;
  RotationMatrixFromAngles(orientation, object.Node, object.Inclination, object.Perihelion);
  TStateVectorExt s{};
  OrbitPlaneToEcliptic(orientation, s[0], s[1], s[2], p.X, p.Y);
  OrbitPlaneToEcliptic(orientation, s[3], s[4], s[5], p.VX, p.VY);
  TMatrix33Ext toJ2000;
  EclipticPrecessionMatrix(toJ2000, (object.Equinox - 2000.0) * 0.01, 0.0);
  MatrixTimesVectorExt(toJ2000, s[0], s[1], s[2]);
  MatrixTimesVectorExt(toJ2000, s[3], s[4], s[5]);
  return s;
}

void IntegrateCometOrbitNumerically(TComputeSettingsBlock settings, std::uint8_t siderealFlag,
                                    TTheorySelection selection, TKeplereph& object, const TAccuracySettings& accuracy,
                                    std::uint8_t show, long double spanDays, std::uint8_t nameFlag) {
  RunIntegration(settings, siderealFlag, selection, object, accuracy, show, spanDays, nameFlag, [&object] {
    // The record's epoch; a record without one starts at perihelion.
    const double epochJd = object.SecondEpoch > 0 ? object.SecondEpoch : object.Epoch;
    return TIntegrationStart{CenturiesFromMjd(JdToMjd(epochJd)), CometStartState(object, epochJd)};
  });
}

bool IntegrateCometStates(TComputeSettingsBlock settings, TTheorySelection selection, const TKepler& object,
                          long double tolerance, std::int32_t vsopLevelB, std::span<const double> mjdTT,
                          std::vector<TStateVectorExt>& states) {
  TStateVectorExt unreached{};
  unreached.fill(std::numeric_limits<long double>::quiet_NaN());
  states.assign(mjdTT.size(), unreached);
  if (!(tolerance > 0) || !std::isfinite(tolerance)) return false;
  const double epochJd = object.SecondEpoch > 0 ? object.SecondEpoch : object.Epoch;
  const TStateVectorExt start = CometStartState(object, epochJd);
  for (long double v : start) {
    if (!std::isfinite(v)) return false;
  }
  for (double t : mjdTT) {
    if (!std::isfinite(t)) return false;
  }
  const double epochMjd = JdToMjd(epochJd);
  std::vector<std::size_t> order(mjdTT.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return mjdTT[a] < mjdTT[b]; });
  const TOrbitForceContext force{settings, selection, vsopLevelB};
  // A fresh solver start for each direction: the multistep history only
  // runs one way.
  auto sweep = [&](auto first, auto last) {
    OrbitIntegrationRun run(force, tolerance, false, 1.0L, epochMjd);
    std::copy(start.begin(), start.end(), run.state);
    run.iflag = 1;
    double T = epochMjd;
    for (auto it = first; it != last; ++it) {
      double TOUT = mjdTT[*it];
      if (run.CheckStartValuesAndSolve(T, TOUT) != LegOutcome::Reached) return false;
      std::copy(run.state, run.state + 6, states[*it].begin());
    }
    return true;
  };
  const auto later =
      std::partition_point(order.begin(), order.end(), [&](std::size_t k) { return mjdTT[k] < epochMjd; });
  if (!sweep(later, order.end())) return false;
  return sweep(std::make_reverse_iterator(later), order.rend());
}

}  // namespace kvx
