#include "theories/moon_cache.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/astronomical_constants.h"
#include "core/frames.h"
#include "core/tabulated_constants.h"
#include "core/vector_math.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "theories/moon_position.h"

namespace kvx {

namespace {

constexpr double kDaysToCenturies = 2.7378507871321012e-05;  // 1 / 36525
constexpr double kKmToEarthRadii = 0.00015678552054360675;   // 1 / 6378.14
constexpr double kLightSecondsPerKm = 3.3356409519815205e-06;

// Hides the progress panel when the refit leaves, also by an exception.
class PanelGuard {
 public:
  explicit PanelGuard(bool shown) : shown_(shown) {}
  ~PanelGuard() {
    if (shown_) CurrentProgress().End();
  }
  PanelGuard(const PanelGuard&) = delete;
  PanelGuard& operator=(const PanelGuard&) = delete;

 private:
  bool shown_;
};

}  // namespace

double MoonChebEvaluate(const TMoonChebPoly& poly, double t) { return ChebyshevEvaluateA(poly, t); }

tmooncheb::tmooncheb(std::int32_t span, std::int32_t degree) { MoonChebSetup(span, degree); }

void tmooncheb::MoonChebSetup(std::int32_t span, std::int32_t degree) {
  fits_ = {};
  ++setups_;
  if (span == 0) span = kMoonCacheDefaultSpanDays;
  span = std::clamp(span, kMoonCacheMinSpanDays, kMoonCacheMaxSpanDays);
  if (degree == 0) degree = kMoonCacheDefaultDegree;
  degree = std::clamp(degree, kMoonCacheMinDegree, kMoonCacheMaxDegree);
  span_ = span;
  degree_ = degree;
  span_centuries_ = span * kDaysToCenturies;
}

bool tmooncheb::MoonChebEnsure(std::uint8_t shortcut, TTheorySelection selection, TTruncationLevel level, double T) {
  // The option matters only by being zero or not (MoonPosition).
  const std::uint8_t shortcutKey = shortcut != 0 ? 1 : 0;
  const std::uint8_t moonTheory = selection.MoonTheory();
  const double index = std::floor(T / span_centuries_);
  if (fits_[0].Serves(index, shortcutKey, moonTheory, level)) return true;
  if (fits_[1].Serves(index, shortcutKey, moonTheory, level)) {
    std::swap(fits_[0], fits_[1]);
    return true;
  }
  // A request that the window's events bring in while a refit shows its
  // panel is not fitted: the kept fits stay as they are until the running
  // refit is complete.
  if (refitting_) return false;
  Fit fit;
  fit.Index = index;
  fit.Shortcut = shortcutKey;
  fit.MoonTheory = moonTheory;
  fit.Level = level;
  const double start = index * span_centuries_;
  const double end = start + span_centuries_;
  const std::uint64_t setup = setups_;
  {
    refitting_ = true;
    struct Leave {
      bool& flag;
      ~Leave() { flag = false; }
    } leave{refitting_};
    Refit(fit, selection, start, end);
  }
  // The settings changed while the refit showed its panel (the options
  // confirmed, a configuration loaded): the fit belongs to the old grid and
  // degree, and the emptied cache must not keep it.
  if (setups_ != setup) return false;
  fit.Start = start;
  fit.End = end;
  // The new fit takes the place of the older kept one.
  fits_[1] = fits_[0];
  fits_[0] = fit;
  return true;
}

void tmooncheb::Refit(Fit& fit, TTheorySelection selection, double start, double end) {
  const int n = degree_;
  const int nodes = n + 1;
  const double h = (end - start) / 2.0;
  const double m = (end + start) / 2.0;
  const double theta = kPiShortAsTabulated / (2.0 * n + 2.0);

  std::array<double, 20> longitude{}, latitude{}, distance{};
  ProgressReporter& progress = CurrentProgress();
  const bool showPanel = !progress.Visible();
  {
    PanelGuard guard(showPanel);
    const char* caption = ByLanguage("Berechne Mondpositionen ", "Calculate moon ephemeris ");
    for (int k = 1; k <= nodes; ++k) {
      if (showPanel) {
        progress.Begin(caption + std::to_string(k), nodes);
        progress.Step(k);
        progress.ProcessEvents();
      }
      const double t = m + h * std::cos((2 * k - 1) * theta);
      double lambda = 0, beta = 0, r = 0, x2000 = 0, y2000 = 0, z2000 = 0, x = 0, y = 0, z = 0, r2 = 0;
      MoonPosition(fit.Shortcut, selection, lambda, t, beta, r, x2000, y2000, z2000, x, y, z, r2, fit.Level);
      longitude[k - 1] = lambda;
      latitude[k - 1] = beta;
      distance[k - 1] = r2;
    }
  }
  ++refits_;

  // The nodes run backward in time, so the longitude decreases along them.
  for (int k = 0; k < n; ++k) {
    if (longitude[k] < longitude[k + 1]) longitude[k + 1] -= 360.0;
  }

  for (TMoonChebPoly* poly : {&fit.Longitude, &fit.Latitude, &fit.Distance}) {
    poly->N = n;
    poly->Ta = start;
    poly->Tb = end;
    poly->C.fill(0.0);
  }
  for (int k = 1; k <= nodes; ++k) {
    // cos(j a) for j = 0..n by the Chebyshev recurrence, a = (2k - 1) theta.
    const double cosA = std::cos((2 * k - 1) * theta);
    double previous = 1.0, current = cosA;
    for (int j = 0; j <= n; ++j) {
      double c = 1.0;
      if (j == 1) {
        c = cosA;
      } else if (j >= 2) {
        const double next = 2.0 * cosA * current - previous;
        previous = current;
        current = next;
        c = next;
      }
      fit.Longitude.C[j] += longitude[k - 1] * c;
      fit.Latitude.C[j] += latitude[k - 1] * c;
      fit.Distance.C[j] += distance[k - 1] * c;
    }
  }
  const double scale = 2.0 / nodes;
  for (int j = 0; j <= n; ++j) {
    fit.Longitude.C[j] *= scale;
    fit.Latitude.C[j] *= scale;
    fit.Distance.C[j] *= scale;
  }
}

void tmooncheb::MoonChebPosition(std::uint8_t shortcut, TTheorySelection selection, TTruncationLevel level, double T,
                                 double& lambda, double& beta, double& distance, double& X2000, double& Y2000,
                                 double& Z2000, double& X, double& Y, double& Z) {
  if (!MoonChebEnsure(shortcut, selection, level, T)) {
    double distanceKm = 0;
    MoonPosition(shortcut, selection, lambda, T, beta, distance, X2000, Y2000, Z2000, X, Y, Z, distanceKm, level);
    return;
  }
  const Fit& fit = fits_[0];
  lambda = MoonChebEvaluate(fit.Longitude, T);
  beta = MoonChebEvaluate(fit.Latitude, T);
  double r = MoonChebEvaluate(fit.Distance, T);
  if (selection.MoonTheory() == 0) r *= kEarthEquatorialRadiusKm;
  PolarToCartesian(X, Y, Z, r, beta, lambda);
  TMatrix33 toJ2000;
  PrecessionMatrixEcliptic(toJ2000, T, 0.0);
  X2000 = X;
  Y2000 = Y;
  Z2000 = Z;
  MatrixTimesVector(toJ2000, X2000, Y2000, Z2000);
  if (selection.MoonTheory() != 0 && fit.Shortcut == 0) {
    // The library's distance belongs to the retarded instant T - tau; the
    // distance at T is the one fitted at T + tau.
    const double tau = r * kLightSecondsPerKm / 86400.0 / 36525.0;
    r = MoonChebEvaluate(fit.Distance, T + tau);
  }
  distance = r * kKmToEarthRadii;
}

void TMoonCacheState::Create() { Cache = std::make_unique<tmooncheb>(SpanDays, Degree); }

void TMoonCacheState::SetSpanDays(std::int32_t span) {
  SpanDays = span;
  if (Cache) Cache->MoonChebSetup(SpanDays, Degree);
}

void TMoonCacheState::SetDegree(std::int32_t degree) {
  Degree = degree;
  if (Cache) Cache->MoonChebSetup(SpanDays, Degree);
}

}  // namespace kvx
