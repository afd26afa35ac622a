#include "orbitdet/differential_correction.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "core/angle_constants.h"
#include "orbitdet/state_elements.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"

namespace kvx {

namespace {

constexpr double kHourRad = 0.261799387799149436;  // pi / 12

double VectorLength(double a, double b, double c) { return std::sqrt(a * a + b * b + c * c); }

struct Places {
  std::vector<double> Ra, Dec;
};

// One pass over all observations for a trial vector. False with the
// 1-based number of the failing observation in `failed`, or with
// `cancelled` set.
bool TrialPass(const TCorrectionInput& in, const TStateVector& state, double epoch, std::uint8_t method,
               std::uint8_t topocentric, int component, Places& out, std::size_t& failed, bool& cancelled) {
  const std::size_t n = in.Chosen.size();
  out.Ra.assign(n, 0);
  out.Dec.assign(n, 0);
  ProgressReporter& progress = CurrentProgress();
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t number = i + 1;
    if (number % 2 == 0) {
      std::string label = ByLanguage("Beobachtung #", "Observation #") + std::to_string(number);
      if (component > 0) {
        label += '/';
        label += std::to_string(component);
      }
      progress.SetLabel(label);
      progress.Step(static_cast<int>(number));
    }
    if (AbortRequested.load() != 0) {
      cancelled = true;
      return false;
    }
    double ra = 0, dec = 0;
    TOrbitStatus status = TOrbitStatus::Ok;
    if (method == 2 || !in.Places) {
      const TObserverPlace& o = in.Observers[i];
      status = PropagateTwoBodyUniversal(state, epoch, in.Chosen[i].JdTT, {o.X, o.Y, o.Z}, ra, dec);
    } else {
      TTrialPlaceRequest request;
      request.State = state;
      request.Epoch = epoch;
      request.Chosen = in.Chosen;
      request.Index = i;
      request.Method = method;
      request.Topocentric = topocentric;
      status = in.Places(request, ra, dec);
      if (AbortRequested.load() != 0) {
        cancelled = true;
        return false;
      }
    }
    if (status != TOrbitStatus::Ok || !std::isfinite(ra) || !std::isfinite(dec)) {
      failed = number;
      return false;
    }
    out.Ra[i] = ra;
    out.Dec[i] = dec;
  }
  return true;
}

void NoPlaceMessage(std::size_t number) {
  const std::string n = std::to_string(number);
  ShowMessage("Für Beobachtung " + n + " ließ sich kein Ort berechnen; die Bahn bleibt unverändert.",
              "No place could be computed for observation " + n + "; the orbit is left unchanged.", MessageIcon::Error);
}

}  // namespace

double ReduceHours(double difference) {
  double d = std::fmod(difference, 24.0);
  if (d > 12.0) d -= 24.0;
  if (d <= -12.0) d += 24.0;
  return d;
}

double PartialStep(const TStateVector& state, int j, double changeRate) {
  const double factor = 0.01 * changeRate;
  const double floor = j < 3 ? factor * 1e-3 * VectorLength(state[0], state[1], state[2])
                             : factor * 1e-3 * VectorLength(state[3], state[4], state[5]);
  return std::max(std::fabs(factor * state[static_cast<std::size_t>(j)]), floor);
}

TOrbitStatus SolveNormalEquations(std::span<const std::array<double, 7>> rows, std::array<double, 6>& dx,
                                  std::vector<double>* remaining) {
  std::array<std::array<double, 7>, 6> m{};
  for (const auto& row : rows) {
    for (std::size_t p = 0; p < 6; ++p) {
      for (std::size_t q = 0; q < 7; ++q) m[p][q] += row[p] * row[q];
    }
  }
  // Column scaling to unit diagonal makes the pivot test independent of units.
  std::array<double, 6> scale{};
  for (std::size_t p = 0; p < 6; ++p) {
    if (!(m[p][p] > 0) || !std::isfinite(m[p][p])) return TOrbitStatus::Singular;
    scale[p] = 1.0 / std::sqrt(m[p][p]);
  }
  for (std::size_t p = 0; p < 6; ++p) {
    for (std::size_t q = 0; q < 6; ++q) m[p][q] *= scale[p] * scale[q];
    m[p][6] *= scale[p];
  }
  for (std::size_t c = 0; c < 6; ++c) {
    std::size_t best = c;
    for (std::size_t r = c + 1; r < 6; ++r) {
      if (std::fabs(m[r][c]) > std::fabs(m[best][c])) best = r;
    }
    if (!(std::fabs(m[best][c]) >= 1e-13)) return TOrbitStatus::Singular;
    std::swap(m[c], m[best]);
    for (std::size_t r = c + 1; r < 6; ++r) {
      const double f = m[r][c] / m[c][c];
      for (std::size_t q = c; q < 7; ++q) m[r][q] -= f * m[c][q];
    }
  }
  std::array<double, 6> y{};
  for (std::size_t k = 6; k-- > 0;) {
    double s = m[k][6];
    for (std::size_t q = k + 1; q < 6; ++q) s -= m[k][q] * y[q];
    y[k] = s / m[k][k];
  }
  for (std::size_t p = 0; p < 6; ++p) {
    dx[p] = y[p] * scale[p];
    if (!std::isfinite(dx[p])) return TOrbitStatus::NonFinite;
  }
  if (remaining != nullptr) {
    remaining->clear();
    for (const auto& row : rows) {
      double s = row[6];
      for (std::size_t p = 0; p < 6; ++p) s -= row[p] * dx[p];
      remaining->push_back(s);
    }
  }
  return TOrbitStatus::Ok;
}

TCorrectionOutcome DifferentialCorrection(const TCorrectionInput& in) {
  TCorrectionOutcome out;
  out.Method = in.Method;
  out.Topocentric = in.Topocentric;
  out.ChangeRate = in.ChangeRate;
  const std::size_t n = in.Chosen.size();
  if (n > static_cast<std::size_t>(kMaxChosenObservations)) {
    ShowMessage("Datenstruktur zu groß", "Out of memory", MessageIcon::Error);
    out.Result = TCorrectionResult::TooMany;
    return out;
  }
  if (n == 0 || in.Observers.size() < n || in.State == nullptr || in.Epoch == nullptr || in.View == nullptr) {
    out.Result = TCorrectionResult::Failed;
    return out;
  }
  TStateVector current = *in.State;
  TStateVector previous = current;
  double epoch = *in.Epoch;
  Places nominal, varied;
  std::size_t failed = 0;
  bool cancelled = false;
  // A trial pass that did not finish: cancelled, or stopped at an
  // observation without a place (its message shown) with the state of
  // before the last correction kept (after the form's step the state and
  // `previous` are the same).
  auto passFailed = [&]() {
    if (cancelled) {
      out.Result = TCorrectionResult::Cancelled;
      return out;
    }
    NoPlaceMessage(failed);
    *in.State = previous;
    out.Result = TCorrectionResult::Failed;
    return out;
  };
  // The progress panel stands while the trial passes compute and goes while
  // the residuals form waits for the user.
  std::optional<ProgressSession> session;
  auto computing = [&] {
    if (!session)
      session.emplace(CurrentProgress(), ByLanguage("Bahnverbesserung", "Orbit improvement"), static_cast<int>(n));
  };
  for (;;) {
    computing();
    if (!TrialPass(in, current, epoch, out.Method, out.Topocentric, 0, nominal, failed, cancelled)) {
      return passFailed();
    }
    session.reset();
    TResidualsFill fill;
    fill.FileName = in.FileName;
    fill.State = current;
    fill.Epoch = epoch;
    fill.HasResiduals = true;
    fill.ChangeRate = out.ChangeRate;
    fill.Method = out.Method;
    fill.Topocentric = out.Topocentric;
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const TChosenObservation& c = in.Chosen[i];
      fill.JD.push_back(c.JD);
      fill.RA.push_back(c.RA);
      fill.Dec.push_back(c.Dec);
      const double dra = ReduceHours(c.RA - nominal.Ra[i]);
      const double ddec = c.Dec - nominal.Dec[i];
      fill.DRA.push_back(dra);
      fill.DDec.push_back(ddec);
      sum += (15 * dra) * (15 * dra) + ddec * ddec;
    }
    fill.Rms = std::sqrt(sum / static_cast<double>(n));
    out.Rms = fill.Rms;
    TOrbitElementRecord elements;
    in.View->Fill(fill, elements);
    if (elements.E > 40000) {
      out.Success = false;
      return out;
    }
    const int decision = in.View->ShowModal();
    if (decision == 5) {
      *in.State = previous;
      *in.Epoch = epoch;
      return out;
    }
    if (decision != 6) {
      *in.State = current;
      *in.Epoch = epoch;
      return out;
    }
    // Continue: the form's values (edited or not) are taken over.
    const TStateVector shown = in.View->State();
    const double shownEpoch = in.View->Epoch();
    const std::uint8_t shownMethod = in.View->Method();
    const std::uint8_t shownTopo = in.View->Topocentric();
    const double rate = in.View->ChangeRate();
    const bool changed =
        shown != current || shownEpoch != epoch || shownMethod != out.Method || shownTopo != out.Topocentric;
    current = shown;
    epoch = shownEpoch;
    out.Method = shownMethod;
    out.Topocentric = shownTopo;
    if (rate > 0 && rate <= 100 && std::isfinite(rate)) out.ChangeRate = rate;
    *in.State = current;
    *in.Epoch = epoch;
    previous = current;
    computing();
    if (changed && !TrialPass(in, current, epoch, out.Method, out.Topocentric, 0, nominal, failed, cancelled)) {
      return passFailed();
    }
    // Partials and equations: row i for RA, row n + i for Dec (radians).
    std::vector<std::array<double, 7>> rows(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
      rows[i][6] = kHourRad * ReduceHours(in.Chosen[i].RA - nominal.Ra[i]);
      rows[n + i][6] = kDegToRad * (in.Chosen[i].Dec - nominal.Dec[i]);
    }
    for (int j = 0; j < 6; ++j) {
      const double step = PartialStep(current, j, out.ChangeRate);
      TStateVector trial = current;
      trial[static_cast<std::size_t>(j)] += step;
      if (!TrialPass(in, trial, epoch, out.Method, out.Topocentric, j + 1, varied, failed, cancelled)) {
        return passFailed();
      }
      for (std::size_t i = 0; i < n; ++i) {
        rows[i][static_cast<std::size_t>(j)] = kHourRad * ReduceHours(varied.Ra[i] - nominal.Ra[i]) / step;
        rows[n + i][static_cast<std::size_t>(j)] = kDegToRad * (varied.Dec[i] - nominal.Dec[i]) / step;
      }
    }
    std::array<double, 6> dx{};
    if (SolveNormalEquations(rows, dx) != TOrbitStatus::Ok) {
      ShowMessage("Die Normalgleichungen sind singulär; die Bahn bleibt unverändert.",
                  "The normal equations are singular; the orbit is left unchanged.", MessageIcon::Error);
      out.Result = TCorrectionResult::Failed;
      return out;
    }
    out.LastStep = 0;
    for (std::size_t p = 0; p < 6; ++p) {
      current[p] += dx[p];
      out.LastStep = std::max(out.LastStep, std::fabs(dx[p]));
    }
    ++out.Cycles;
    *in.State = current;
  }
}

}  // namespace kvx
