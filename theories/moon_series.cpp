// The internal lunar series: the published truncated form of Brown's theory
// (Improved Lunar Ephemeris), with 104 solar, 10 latitude and 11 planetary
// terms.
#include <array>
#include <cmath>

#include "core/tabulated_constants.h"
#include "core/vector_math.h"
#include "theories/moon_position.h"
#include "theories/moon_solar_terms.h"

namespace kvx {
namespace {

constexpr double kTwoPi = kTwoPiLunarSeriesAsTabulated;
constexpr double kArcsecPerRadian = 206264.81;

double Sine(double x) { return std::sin(kTwoPi * FracPositive(x)); }

// cos and sin of the multiples -max..max of one argument, each scaled by
// factor^|multiple|.
template <int Max>
struct Multiples {
  std::array<double, 2 * Max + 1> c{}, s{};

  Multiples(double argument, double factor) {
    c[Max] = 1;
    s[Max] = 0;
    const double c1 = factor * std::cos(argument);
    const double s1 = factor * std::sin(argument);
    for (int j = 1; j <= Max; ++j) {
      const double cp = c[Max + j - 1], sp = s[Max + j - 1];
      c[Max + j] = cp * c1 - sp * s1;
      s[Max + j] = sp * c1 + cp * s1;
      c[Max - j] = c[Max + j];
      s[Max - j] = -s[Max + j];
    }
  }
  // Multiplies (x, y) as a complex number by the entry of multiple k.
  void Rotate(int k, double& x, double& y) const {
    const auto i = static_cast<std::size_t>(Max + k);
    const double xn = x * c[i] - y * s[i];
    y = y * c[i] + x * s[i];
    x = xn;
  }
};

// The planetary terms c * SINE(a + b*T), with the signs of b as the
// published series has them: six of the arguments grow with T.
struct PlanetaryTerm {
  double c, a, b;
};
constexpr PlanetaryTerm kPlanetaryTerms[] = {
    {0.82, 0.7736, -62.5512}, {0.31, 0.0466, -125.1025}, {0.35, 0.5785, -25.1042},  {0.66, 0.4591, 1335.8075},
    {0.64, 0.313, -91.568},   {1.14, 0.148, 1331.2898},  {0.21, 0.5918, 1056.5859}, {0.44, 0.5784, 1322.8595},
    {0.24, 0.2275, -5.7374},  {0.28, 0.2965, 2.6929},    {0.33, 0.3132, 6.3368},
};

// The latitude terms: coefficient (arc seconds) and multiples of l, l', F, D.
struct LatitudeTerm {
  double coefn;
  int p, q, r, s;
};
constexpr LatitudeTerm kLatitudeTerms[] = {
    {-526.069, 0, 0, 1, -2}, {-3.352, 0, 0, 1, -4},   {44.297, 1, 0, 1, -2},  {-6.0, 1, 0, 1, -4},
    {20.599, -1, 0, 1, 0},   {-30.598, -1, 0, 1, -2}, {-24.649, -2, 0, 1, 0}, {-2.0, -2, 0, 1, -2},
    {-22.571, 0, 1, 1, -2},  {10.985, 0, -1, 1, -2},
};

}  // namespace

void MoonPositionSeries(double T, double& lambda, double& beta, double& distance) {
  const double T2 = T * T;

  // Long-period perturbations, arc seconds.
  const double s1 = Sine(0.19833 + 0.05611 * T);
  const double s2 = Sine(0.27869 + 0.04508 * T);
  const double s3 = Sine(0.16827 - 0.36903 * T);
  const double s4 = Sine(0.34734 - 5.37261 * T);
  const double s5 = Sine(0.10498 - 5.37899 * T);
  const double s6 = Sine(0.42681 - 0.41855 * T);
  const double s7 = Sine(0.14943 - 5.37511 * T);
  const double dl0 = 0.84 * s1 + 0.31 * s2 + 14.27 * s3 + 7.26 * s4 + 0.28 * s5 + 0.24 * s6;
  const double dl = 2.94 * s1 + 0.31 * s2 + 14.27 * s3 + 9.34 * s4 + 1.12 * s5 + 0.83 * s6;
  const double dls = -6.40 * s1 - 1.89 * s6;
  const double df = 0.21 * s1 + 0.31 * s2 + 14.27 * s3 - 88.70 * s4 - 15.30 * s5 + 0.24 * s6 - 1.86 * s7;
  const double dd = dl0 - dls;
  const double dgam = -3.332e-06 * Sine(0.59734 - 5.37261 * T) - 5.39e-07 * Sine(0.35498 - 5.37899 * T) -
                      6.4e-08 * Sine(0.39943 - 5.37511 * T);

  // Mean arguments, radians.
  const double l0 = kTwoPi * FracPositive(0.60643382 + 1336.85522467 * T - 0.00000313 * T2) + dl0 / kArcsecPerRadian;
  const double l = kTwoPi * FracPositive(0.37489701 + 1325.55240982 * T + 0.00002565 * T2) + dl / kArcsecPerRadian;
  const double ls = kTwoPi * FracPositive(0.99312619 + 99.99735956 * T - 0.00000044 * T2) + dls / kArcsecPerRadian;
  const double f = kTwoPi * FracPositive(0.25909118 + 1342.2278298 * T - 0.00000892 * T2) + df / kArcsecPerRadian;
  const double d = kTwoPi * FracPositive(0.82736186 + 1236.85308708 * T - 0.00000397 * T2) + dd / kArcsecPerRadian;

  const double fac = 1.000002708 + 139.978 * dgam;
  const Multiples<4> ml(l, 1.000002208);
  const Multiples<3> mls(ls, 0.997504612 - 0.002495388 * T);
  const Multiples<4> mf(f, fac);
  const Multiples<6> md(d, 1.0);

  // cos (x) and sin (y) of p*l + q*l' + r*F + s*D from the scaled tables.
  auto term = [&](int p, int q, int r, int s, double& x, double& y) {
    x = 1;
    y = 0;
    ml.Rotate(p, x, y);
    mls.Rotate(q, x, y);
    mf.Rotate(r, x, y);
    md.Rotate(s, x, y);
  };

  double dlam = 0, ds = 0, gam1c = 0, sinpi = 3422.7, n = 0;
  for (const MoonSolarTerm& t : kMoonSolarTerms) {
    double x, y;
    term(t.p, t.q, t.r, t.s, x, y);
    dlam += t.coefl * y;
    ds += t.coefs * y;
    gam1c += t.coefg * x;
    sinpi += t.coefp * x;
  }
  for (const LatitudeTerm& t : kLatitudeTerms) {
    double x, y;
    term(t.p, t.q, t.r, t.s, x, y);
    n += t.coefn * y;
  }
  for (const PlanetaryTerm& t : kPlanetaryTerms) dlam += t.c * Sine(t.a + t.b * T);

  lambda = 360.0 * FracPositive((l0 + dlam / kArcsecPerRadian) / kTwoPi);
  if (lambda >= 360.0) lambda -= 360.0;
  const double s = f + ds / kArcsecPerRadian;
  beta = (fac * (18519.7 + gam1c) * std::sin(s) - 6.24 * std::sin(3 * s) + n) / 3600.0;
  sinpi *= 0.999953253;
  distance = kArcsecPerRadian / sinpi;
}

}  // namespace kvx
