// libvsop82.so: heliocentric osculating equinoctial elements of the planets
// in the interface of VSOP82 (Bretagnon 1982). The published VSOP82
// coefficients are not used: the elements are the osculating ones of the
// state of version A (VSOP87 B series; for the Earth the Earth-Moon
// barycentre, as in VSOP82) at the requested instant, for the two-body
// problem Sun plus planet, mu = k^2 (1 + m). Frame: dynamical ecliptic and
// equinox of J2000.
#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "theories/libraries/library_support.h"
#include "theories/libraries/theory_library_abi.h"

namespace {
using namespace kvx::theory_data;

constexpr double kGauss = 0.01720209895;  // AU^(3/2) per day, solar masses^(-1/2)

// Sun-to-planet mass ratios of VSOP87 (inverse masses; Earth: Earth-Moon).
constexpr double kInverseMass[8] = {6023600.0, 408523.5, 328900.5, 3098710.0, 1047.355, 3498.5, 22869.0, 19314.0};

struct Equinoctial {
  double a = 0, lambda = 0, k = 0, h = 0, q = 0, p = 0;
};

double Dot(const double* u, const double* v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; }
void Cross(const double* u, const double* v, double* w) {
  w[0] = u[1] * v[2] - u[2] * v[1];
  w[1] = u[2] * v[0] - u[0] * v[2];
  w[2] = u[0] * v[1] - u[1] * v[0];
}

// Osculating elements of a heliocentric state (AU, AU per day) with the
// gravitational parameter mu (AU^3 per day^2). Elliptic orbits only (every
// planet); for a degenerate state all elements are 0.
Equinoctial ElementsFromState(const VsopRectangular& s, double mu) {
  Equinoctial out;
  const double r[3] = {s.x, s.y, s.z};
  const double v[3] = {s.vx, s.vy, s.vz};
  const double radius = std::sqrt(Dot(r, r));
  const double energy = Dot(v, v) / 2.0 - mu / radius;
  double h[3];
  Cross(r, v, h);
  const double hLength = std::sqrt(Dot(h, h));
  if (!(radius > 0.0) || !(energy < 0.0) || !(hLength > 0.0)) return out;
  out.a = -mu / (2.0 * energy);

  // Node pair from the unit angular momentum w = (sin i sin node,
  // -sin i cos node, cos i): sin(i/2) = sin i / (2 cos(i/2)).
  const double w[3] = {h[0] / hLength, h[1] / hLength, h[2] / hLength};
  const double cosHalfI = std::sqrt((1.0 + w[2]) / 2.0);
  out.q = -w[1] / (2.0 * cosHalfI);
  out.p = w[0] / (2.0 * cosHalfI);

  // Eccentricity vector (towards the perihelion), length e.
  double vxh[3];
  Cross(v, h, vxh);
  double e[3];
  for (int i = 0; i < 3; ++i) e[i] = vxh[i] / mu - r[i] / radius;
  const double ecc = std::sqrt(Dot(e, e));

  // Longitude of perihelion = node + argument of perihelion, measured in the
  // ecliptic to the node and then in the orbit. The node direction is taken
  // as the x axis when the orbit lies in the ecliptic.
  const double node = (w[0] == 0.0 && w[1] == 0.0) ? 0.0 : std::atan2(w[0], -w[1]);
  const double n[3] = {std::cos(node), std::sin(node), 0.0};
  double nxe[3];
  Cross(n, e, nxe);
  const double argument = ecc > 0.0 ? std::atan2(Dot(nxe, w), Dot(n, e)) : 0.0;
  const double perihelion = node + argument;
  out.k = ecc * std::cos(perihelion);
  out.h = ecc * std::sin(perihelion);

  // Mean anomaly from the eccentric anomaly.
  const double eCosE = 1.0 - radius / out.a;
  const double eSinE = Dot(r, v) / std::sqrt(mu * out.a);
  const double eccentricAnomaly = std::atan2(eSinE, eCosE);
  const double meanAnomaly = eccentricAnomaly - eSinE;
  double lambda = std::fmod(perihelion + meanAnomaly, kvx::kTwoPi);
  if (lambda < 0.0) lambda += kvx::kTwoPi;
  out.lambda = lambda;
  return out;
}

void Elements(VsopPlanet planet, double T, double* a, double* lambda, double* k, double* h, double* q, double* p,
              double precision) {
  Equinoctial el;
  try {
    const VsopRectangular s =
        planet == kEarth ? EarthMoonBarycentre(T, precision)
                         : ToRectangular(Vsop87B().Evaluate(planet, Millennia(T), TruncationThreshold(precision)));
    el = ElementsFromState(s, kGauss * kGauss * (1.0 + 1.0 / kInverseMass[planet]));
  } catch (...) {
    el = Equinoctial{};
  }
  Store(a, el.a);
  Store(lambda, el.lambda);
  Store(k, el.k);
  Store(h, el.h);
  Store(q, el.q);
  Store(p, el.p);
}
}  // namespace

KVX_THEORY_EXPORT std::int32_t ping_82() {
  return ProbeAnswer(kvx::theory_abi::kProbeVsop82,
                     [] { return Vsop87B().TermCount() > 0 && Elp82B().TermCount() > 0; });
}

#define KVX_VSOP82_ENTRY(name, planet)                                                                         \
  KVX_THEORY_EXPORT void name(double T, double* a, double* lambda, double* k, double* h, double* q, double* p, \
                              double precision) {                                                              \
    Elements(planet, T, a, lambda, k, h, q, p, precision);                                                     \
  }

KVX_VSOP82_ENTRY(vsop_mer, kMercury)
KVX_VSOP82_ENTRY(vsop_ven, kVenus)
KVX_VSOP82_ENTRY(vsop_ear, kEarth)
KVX_VSOP82_ENTRY(vsop_mar, kMars)
KVX_VSOP82_ENTRY(vsop_jup, kJupiter)
KVX_VSOP82_ENTRY(vsop_sat, kSaturn)
KVX_VSOP82_ENTRY(vsop_ura, kUranus)
KVX_VSOP82_ENTRY(vsop_nep, kNeptune)
