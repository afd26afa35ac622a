// Mean obliquity and nutation.
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "core/angle_constants.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"

namespace kvx {

namespace {

// One row of the nutation series: multipliers of l, l', F, D, Omega, then
// the coefficients in 0.0001" and their rates in 0.00001" per century.
struct NutationRow {
  std::int32_t l, lp, f, d, om;
  std::int32_t psiSine, psiRate, epsCosine, epsRate;
};

constexpr NutationRow kNutationRows[] = {
#include "core/nutation_table.inc"
};
static_assert(sizeof(kNutationRows) / sizeof(kNutationRows[0]) == 62, "the nutation table has 62 rows");

// Fundamental arguments of the nutation, degrees, cubics in T.
constexpr TCubicCoefficients kMoonMeanAnomaly{134.9629814, 477198.8673981, 0.0086972, 1.778e-05};
constexpr TCubicCoefficients kSunMeanAnomaly{357.5277233, 35999.05034, -0.0001603, -3.33e-06};
constexpr TCubicCoefficients kMoonLatitudeArgument{93.2719103, 483202.0175381, -0.0036825, 3.056e-06};
constexpr TCubicCoefficients kMoonElongation{297.8503631, 445267.11148, -0.0019142, 5.278e-06};
constexpr TCubicCoefficients kMoonNode{125.0445222, -1934.1362608, 0.00207833, 2.22e-06};

// Sine and cosine of multiplier times an angle from its multiple tables.
struct Multiples {
  double s[5];
  double c[5];
};

}  // namespace

// The value of a pure function of one instant kept for the next call: the
// observer record, the sidereal time and the body's frames ask for the same
// instant one after the other. Compared by bits, so NaN and -0 are their own
// keys.
namespace {
struct TLastOfInstant {
  std::uint64_t Key = 0;
  bool Set = false;
  bool Holds(double t) const { return Set && Key == std::bit_cast<std::uint64_t>(t); }
  void Take(double t) {
    Key = std::bit_cast<std::uint64_t>(t);
    Set = true;
  }
};
}  // namespace

double MeanObliquity(double t) {
  thread_local TLastOfInstant last;
  thread_local double kept = 0;
  if (last.Holds(t)) return kept;
  // Coefficients of powers 0..10 of U in arcseconds, as stored.
  static const long double kCoefficients[11] = {
      RoundToSixByteReal(84381.448L), RoundToSixByteReal(-4680.93L), RoundToSixByteReal(-1.55L),
      RoundToSixByteReal(1999.25L),   RoundToSixByteReal(-51.38L),   RoundToSixByteReal(-249.67L),
      RoundToSixByteReal(-39.05L),    RoundToSixByteReal(7.12L),     RoundToSixByteReal(27.87L),
      RoundToSixByteReal(5.79L),      RoundToSixByteReal(2.45L)};
  const long double u = RoundToSixByteReal(t * 0.01L);
  long double sum = kCoefficients[10];
  for (int power = 9; power >= 0; --power) sum = RoundToSixByteReal(sum * u + kCoefficients[power]);
  kept = static_cast<double>(sum * (1.0L / 3600.0L));
  last.Take(t);
  return kept;
}

void SinCosMultiples(int n, double s[], double c[], double a) {
  s[0] = 0.0;
  c[0] = 1.0;
  if (n < 1) return;
  const double sa = std::sin(a), ca = std::cos(a);
  s[1] = sa;
  c[1] = ca;
  for (int k = 1; k < n; ++k) {
    s[k + 1] = s[k] * ca + c[k] * sa;
    c[k + 1] = c[k] * ca - s[k] * sa;
  }
}

void NutationAngles(double& dpsi, double& deps, double t) {
  thread_local TLastOfInstant last;
  thread_local double keptPsi = 0, keptEps = 0;
  if (last.Holds(t)) {
    dpsi = keptPsi;
    deps = keptEps;
    return;
  }
  const double toRad = static_cast<double>(kDegToRadExtended);
  Multiples tables[5];
  const double arguments[5] = {CubicPolynomial(kMoonMeanAnomaly, t), CubicPolynomial(kSunMeanAnomaly, t),
                               CubicPolynomial(kMoonLatitudeArgument, t), CubicPolynomial(kMoonElongation, t),
                               CubicPolynomial(kMoonNode, t)};
  const int highest[5] = {3, 2, 4, 4, 2};
  for (int j = 0; j < 5; ++j) SinCosMultiples(highest[j], tables[j].s, tables[j].c, arguments[j] * toRad);

  double psi = (-17.1996 - 0.01742 * t) * tables[4].s[1];
  double eps = (9.2025 + 0.00089 * t) * tables[4].c[1];

  for (const NutationRow& row : kNutationRows) {
    const std::int32_t multipliers[5] = {row.l, row.lp, row.f, row.d, row.om};
    double sine = 0, cosine = 1;
    bool first = true;
    for (int j = 0; j < 5; ++j) {
      const std::int32_t m = multipliers[j];
      if (m == 0) continue;
      const int k = m < 0 ? -m : m;
      const double sm = m < 0 ? -tables[j].s[k] : tables[j].s[k];
      const double cm = tables[j].c[k];
      if (first) {
        sine = sm;
        cosine = cm;
        first = false;
      } else {
        const double oldSine = sine;
        sine = sine * cm + cosine * sm;
        cosine = cosine * cm - oldSine * sm;
      }
    }
    double a = row.psiSine * 0.0001;
    if (row.psiRate != 0) a += row.psiRate * 0.00001 * t;
    double b = 0;
    if (row.epsCosine != 0) b = row.epsCosine * 0.0001 + row.epsRate * 0.00001 * t;
    psi += a * sine;
    eps += b * cosine;
  }
  dpsi = keptPsi = psi * kArcsecToRad;
  deps = keptEps = eps * kArcsecToRad;
  last.Take(t);
}

double NutationDegrees(double& deps, double t) {
  double dpsi = 0, depsRad = 0;
  NutationAngles(dpsi, depsRad, t);
  return NutationAnglesToDegrees(deps, dpsi, depsRad);
}

double NutationAnglesToDegrees(double& depsDegrees, double dpsi, double deps) {
  const long double toDeg = 180.0L * (1.0L / kPiExtended);
  depsDegrees = static_cast<double>(deps * toDeg);
  return static_cast<double>(dpsi * toDeg);
}

}  // namespace kvx
