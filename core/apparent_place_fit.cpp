#include "core/apparent_place_fit.h"

#include <algorithm>
#include <cmath>

#include "core/tabulated_constants.h"
#include "core/vector_math.h"

namespace kvx {
namespace {

constexpr int kMaxNodes = 20;

// Fills t[k] = T_(2k+1)(c) for k = 0..count-1 from the recurrence of the
// Chebyshev polynomials T_0 = 1, T_1 = c, T_(j+1) = 2c T_j - T_(j-1).
void OddChebyshevValues(double c, int count, std::array<double, kMaxNodes>& t) {
  double previous = 1.0;  // T_0
  double current = c;     // T_1
  for (int k = 0; k < count; ++k) {
    t[static_cast<std::size_t>(k)] = current;  // T_(2k+1)
    const double next = 2 * c * current - previous;
    previous = next;                   // T_(2k+2)
    current = 2 * c * next - current;  // T_(2k+3)
  }
}

template <int Room>
bool Fit(const TPlaceAtTime& place, double Ta, double Tb, int N, TChebyshevPolySized<Room>& raPoly,
         TChebyshevPolySized<Room>& decPoly, TChebyshevPolySized<Room>& rPoly) {
  static_assert(Room <= kMaxNodes);
  if (N < 0 || N > Room - 1) return false;
  const int K = N + 1;
  for (auto* poly : {&raPoly, &decPoly, &rPoly}) {
    poly->N = N;
    poly->Ta = Ta;
    poly->Tb = Tb;
  }
  const double h = (Tb - Ta) / 2;
  const double m = (Tb + Ta) / 2;

  std::array<double, kMaxNodes> x{};
  OddChebyshevValues(std::cos(kPiAsTabulated / (2 * K)), K, x);
  std::array<double, kMaxNodes> ra{}, dec{}, r{};
  for (int k = 0; k < K; ++k) {
    const auto i = static_cast<std::size_t>(k);
    place(x[i] * h + m, ra[i], dec[i], r[i]);
  }
  // Node times decrease with k; the right ascension must decrease with them.
  // Where it rises it has wrapped through 0 h: take off whole turns (one
  // for any span under a full turn, more for longer spans).
  for (int k = 0; k + 1 < K; ++k) {
    const auto i = static_cast<std::size_t>(k);
    if (ra[i] < ra[i + 1]) ra[i + 1] -= 360.0 * std::ceil((ra[i + 1] - ra[i]) / 360.0);
  }
  std::array<double, kMaxNodes> t{};
  for (int j = 0; j <= N; ++j) {
    OddChebyshevValues(std::cos(j * kPiAsTabulated / (2 * K)), K, t);
    double sumRa = 0, sumDec = 0, sumR = 0;
    for (int k = 0; k < K; ++k) {
      const auto i = static_cast<std::size_t>(k);
      sumRa += ra[i] * t[i];
      sumDec += dec[i] * t[i];
      sumR += r[i] * t[i];
    }
    const auto jj = static_cast<std::size_t>(j);
    raPoly.C[jj] = 2.0 / K * sumRa;
    decPoly.C[jj] = 2.0 / K * sumDec;
    rPoly.C[jj] = 2.0 / K * sumR;
  }
  return true;
}

template <int Room>
double Evaluate(const TChebyshevPolySized<Room>& poly, double t) {
  const int N = std::clamp<int>(poly.N, 0, Room - 1);
  const double span = poly.Tb - poly.Ta;
  const double x = span != 0.0 ? (2 * t - poly.Ta - poly.Tb) / span : 0.0;
  double d = 0, dd = 0;
  for (int j = N; j >= 1; --j) {
    const double next = 2 * x * d - dd + poly.C[static_cast<std::size_t>(j)];
    dd = d;
    d = next;
  }
  return x * d - dd + poly.C[0] / 2;
}

}  // namespace

bool ChebyshevFitPlace(const TPlaceAtTime& place, double Ta, double Tb, int N, TChebyshevPoly& raPoly,
                       TChebyshevPoly& decPoly, TChebyshevPoly& rPoly) {
  return Fit(place, Ta, Tb, N, raPoly, decPoly, rPoly);
}
bool ChebyshevFitPlace(const TPlaceAtTime& place, double Ta, double Tb, int N, TChebyshevPolyB& raPoly,
                       TChebyshevPolyB& decPoly, TChebyshevPolyB& rPoly) {
  return Fit(place, Ta, Tb, N, raPoly, decPoly, rPoly);
}
bool ChebyshevFitPlace(const TPlaceAtTime& place, double Ta, double Tb, int N, TChebyshevPolyA& raPoly,
                       TChebyshevPolyA& decPoly, TChebyshevPolyA& rPoly) {
  return Fit(place, Ta, Tb, N, raPoly, decPoly, rPoly);
}

double ChebyshevEvaluate(const TChebyshevPoly& poly, double t) { return Evaluate(poly, t); }
double ChebyshevEvaluateB(const TChebyshevPolyB& poly, double t) { return Evaluate(poly, t); }
double ChebyshevEvaluateA(const TChebyshevPolyA& poly, double t) { return Evaluate(poly, t); }

void ObserverGeocentricRho(double& rhoCosPhi, double& rhoSinPhi, double latitude) {
  const double s = SinDeg(latitude);
  const double f = 1.0 / std::sqrt(1.0 - 0.006694 * s * s);
  rhoCosPhi = CosDeg(latitude) * f;
  rhoSinPhi = 0.993306 * s * f;
}

}  // namespace kvx
