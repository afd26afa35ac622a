// Two-body motion: the Kepler solvers (elliptic, hyperbolic, near-parabolic)
// and the conversions between state vectors and elements, on doubles taken
// from the input (any bit pattern). Promises: for finite arguments in a
// solver's domain the result is a number; a finite state vector gives
// elements without NaN in the eccentricity and the orbit kind is one of the
// three.
#include <cmath>

#include "core/two_body.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

namespace {

bool Moderate(double x, double limit) { return std::isfinite(x) && std::fabs(x) <= limit; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Bytes in(data, size);
  const double M = in.Double(), e = in.Double(), a = in.Double(), t = in.Double();

  const double E = KeplerSolve(M, e);
  KeplerSolveExt(M, e);
  if (std::isfinite(M) && e >= 0.0 && e < 1.0) fuzz::Require(std::isfinite(E), "elliptic Kepler solution");
  double x, y, vx, vy;
  EllipticOrbitPosition(x, y, vx, vy, M, a, e);
  if (Moderate(M, 1e9) && e >= 0.0 && e < 1.0 && Moderate(a, 1e6) && a > 1e-6) {
    fuzz::Require(std::isfinite(x) && std::isfinite(y) && std::isfinite(vx) && std::isfinite(vy), "ellipse");
  }

  const double H = HyperbolicKeplerSolve(M, e);
  if (Moderate(M, 1e6) && e > 1.0 + 1e-6 && e < 1e3) fuzz::Require(std::isfinite(H), "hyperbolic solution");
  HyperbolicOrbitPosition(x, y, vx, vy, t, 0.0, a, e);
  ParabolicOrbitPosition(x, y, vx, vy, t, 0.0, std::fabs(a), e);
  double c1, c2, c3;
  StumpffFunctions(c1, c2, c3, M);
  CubeRoot(std::fabs(a));
  MeanDailyMotion(a);
  PerihelionDistance(e, a);
  double i = in.Double(), node = in.Double(), w = in.Double();
  PrecessOrbitalElements(i, node, w, t, M);
  TMatrix33 gauss;
  GaussVectors(gauss, in.Double(), in.Double(), in.Double());

  TStateVectorExt state;
  bool finiteState = true;
  for (long double& component : state) {
    component = in.Double();
    finiteState = finiteState && Moderate(static_cast<double>(component), 1e6);
  }
  long double ra, q, re, ri, rnode, rw, lon, p, rM, n, perihelionTime;
  std::uint8_t kind = 0;
  ElementsFromStateVector(state, ra, q, 2451545.0, 0.0L, re, ri, rnode, rw, lon, p, rM, n, perihelionTime, kind);
  fuzz::Require(kind <= kOrbitHyperbola, "orbit kind");
  if (finiteState) fuzz::Require(!std::isnan(re), "eccentricity of a finite state");

  TElementsEquinoctialResult result;
  ElementsFromEquinoctial(result, 0.0L, a, M, e, t, in.Double(), in.Double());
  return 0;
}
