// Pluto: internal series of the ecliptic of 1950 precessed to the date, the
// table-driven series of the equator J2000, and the choice between them and
// the position file.
#include "theories/pluto.h"

#include <array>
#include <cmath>

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "theories/planet_series_tables.h"
#include "theories/position_files.h"
#include "theories/series_arithmetic.h"

namespace kvx {
namespace {

using series::Add;
using series::CosSin;
using series::CosSinOf;
using series::MeanAnomaly;
using series::Negate;

// One term of the internal series: argument p*M_Pluto + q*M_perturber;
// lc, ls, bc, bs in arcseconds, rc, rs in 1e-5 AU.
struct PlutoTerm {
  int p, q;
  double lc, ls, rc, rs, bc, bs;
};

// clang-format off
constexpr std::array<PlutoTerm, 18> kJupiterTerms = {{
    {1, 0, 0.06, 100924.08, -960396.0, 15965.1, 51987.68, -24288.76},
    {2, 0, 3274.74, 17835.12, -118252.2, 3632.4, 12687.49, -6049.72},
    {3, 0, 1543.52, 4631.99, -21446.6, 1167.0, 3504.0, -1853.1},
    {4, 0, 688.99, 1227.08, -4823.4, 213.5, 1048.19, -648.26},
    {5, 0, 242.27, 415.93, -1075.4, 140.6, 302.33, -209.76},
    {6, 0, 138.41, 110.91, -308.8, -55.3, 109.52, -93.82},
    {3, -1, -0.99, 5.06, -25.6, 19.8, 1.26, -1.96},
    {2, -1, 7.15, 5.61, -96.7, 57.2, 1.64, -2.16},
    {1, -1, 10.79, 23.13, -390.4, 236.4, -0.33, 0.86},
    {0, 1, -0.23, 4.43, 102.8, 63.2, 3.15, 0.34},
    {1, 1, -1.1, -0.92, 11.8, -2.3, 0.43, 0.14},
    {2, 1, 0.62, 0.84, 2.3, 0.7, 0.05, -0.04},
    {3, 1, -0.38, -0.45, 1.2, -0.8, 0.04, 0.05},
    {4, 1, 0.17, 0.25, 0.0, 0.2, -0.01, -0.01},
    {3, -2, 0.06, 0.07, -0.6, 0.3, 0.03, -0.03},
    {2, -2, 0.13, 0.2, -2.2, 1.5, 0.03, -0.07},
    {1, -2, 0.32, 0.49, -9.4, 5.7, -0.01, 0.03},
    {0, -2, -0.04, -0.07, 2.6, -1.5, 0.07, -0.02},
}};
constexpr std::array<PlutoTerm, 8> kSaturnTerms = {{
    {1, -1, -29.47, 75.97, -106.4, -204.9, -40.71, -17.55},
    {0, 1, -13.88, 18.2, 42.6, -46.1, 1.13, 0.43},
    {1, 1, 5.81, -23.48, 15.0, -6.8, -7.48, 3.07},
    {2, 1, -10.27, 14.16, -7.9, 0.4, 2.43, -0.09},
    {3, 1, 6.86, -10.66, 7.3, -0.3, -2.25, 0.69},
    {2, -2, 4.32, 2.0, 0.0, -2.2, -0.24, 0.12},
    {1, -2, -5.04, -0.83, -9.2, -3.1, 0.79, -0.24},
    {0, -2, 4.25, 2.48, -5.9, -3.3, 0.58, 0.02},
}};
// clang-format on

struct Sums {
  double dl = 0.0, dr = 0.0, db = 0.0;
};

// One perturber group: table of q = -2..1 from the perturber's anomaly.
template <std::size_t N>
void RunGroup(const std::array<PlutoTerm, N>& terms, double perturberAnomaly, const std::array<CosSin, 7>& own,
              Sums& sums) {
  std::array<CosSin, 4> table{};  // entries q = -2, -1, 0, +1
  const CosSin once = CosSinOf(perturberAnomaly);
  const CosSin back = Negate(once);
  table[2] = CosSin{1.0, 0.0};
  table[3] = once;
  table[1] = Add(table[2], back);
  table[0] = Add(table[1], back);
  for (const PlutoTerm& t : terms) {
    const CosSin uv = Add(own[static_cast<std::size_t>(t.p)], table[static_cast<std::size_t>(t.q + 2)]);
    sums.dl += t.lc * uv.c + t.ls * uv.s;
    sums.dr += t.rc * uv.c + t.rs * uv.s;
    sums.db += t.bc * uv.c + t.bs * uv.s;
  }
}

// Internal series: L, B (degrees) and R (AU), mean ecliptic and equinox of
// date.
void InternalSeries(double T, double& L, double& B, double& R) {
  Sums sums;
  const double mJupiter = MeanAnomaly(0.0565314, 8.4302963, T);
  const double mSaturn = MeanAnomaly(0.8829867, 3.3947688, T);
  const double mPluto = MeanAnomaly(0.0385795, 0.4026667, T);

  std::array<CosSin, 7> own{};
  own[0] = CosSin{1.0, 0.0};
  own[1] = CosSinOf(mPluto);
  for (std::size_t p = 1; p + 1 < own.size(); ++p) own[p + 1] = Add(own[p], own[1]);

  RunGroup(kJupiterTerms, mJupiter, own, sums);
  RunGroup(kSaturnTerms, mSaturn, own, sums);

  // The Jupiter-Saturn term.
  const CosSin phi = CosSinOf(mJupiter - mSaturn);
  sums.dl += -9.11 * phi.c + 0.12 * phi.s;
  sums.dr += -3.4 * phi.c - 3.3 * phi.s;
  sums.db += 0.81 * phi.c + 0.78 * phi.s;
  const CosSin phi1 = Add(phi, own[1]);
  sums.dl += 5.92 * phi1.c + 0.25 * phi1.s;
  sums.dr += 2.3 * phi1.c - 3.8 * phi1.s;
  sums.db += -0.67 * phi1.c - 0.51 * phi1.s;

  // Ecliptic and equinox of 1950.
  const double l1950 = 360.0 * FracPositiveTrunc(0.6232469 + mPluto / kTwoPiAsTabulated + sums.dl / 1296000.0);
  R = 40.7247248 + sums.dr * 1e-5;
  const double b1950 = -3.909434 + sums.db / 3600.0;

  // Rigorous precession from the ecliptic and equinox of 1950 to the date.
  // The degree factors as the published series print them and
  // 1/kTwoPiAsTabulated.
  constexpr double kRadiansPerDegree = kPlutoRadiansPerDegreeAsTabulated;
  constexpr double kDegreesPerRadian = kPlutoDegreesPerRadianAsTabulated;
  constexpr double kInverseTwoPi = 0.15915494309644432;
  const double t = T + 0.5;
  const double lambda = l1950 * kRadiansPerDegree;
  const double beta = b1950 * kRadiansPerDegree;
  const double inclination = 0.000228 * t;
  const double general = (0.0243764 + 0.00000539 * t) * t;
  constexpr double kNode = 3.044;
  const double a = std::cos(beta) * std::cos(kNode - lambda);
  const double b =
      std::cos(inclination) * std::cos(beta) * std::sin(kNode - lambda) - std::sin(inclination) * std::sin(beta);
  const double c =
      std::sin(inclination) * std::cos(beta) * std::sin(kNode - lambda) + std::cos(inclination) * std::sin(beta);
  B = std::atan(c / std::sqrt((1.0 - c) * (1.0 + c))) * kDegreesPerRadian;
  const double turns = (general + kNode - std::atan(b / a)) * kInverseTwoPi;
  L = 360.0 * FracPositiveTrunc(a > 0.0 ? turns : turns + 0.5);
}

// Equator J2000 to the ecliptic of date, position and velocity; then R, B, L.
void EquatorJ2000ToEclipticOfDate(double T, double& L, double& B, double& R, double& X, double& Y, double& Z,
                                  double& VX, double& VY, double& VZ) {
  EquatorialToEcliptic(X, Y, Z, 0.0);
  EquatorialToEcliptic(VX, VY, VZ, 0.0);
  TMatrix33 precession{};
  PrecessionMatrixEcliptic(precession, 0.0, T);
  MatrixTimesVector(precession, VX, VY, VZ);
  MatrixTimesVector(precession, X, Y, Z);
  CartesianToPolar(R, B, L, X, Y, Z);
}

}  // namespace

void PlutoHeliocentric(PositionFileHandle handle, TTheorySelection selection, double T, double& L, double& B, double& R,
                       double& X, double& Y, double& Z, double& VX, double& VY, double& VZ) {
  switch (selection.PlanetTheory()) {
    case kPlanetTheoryPositionFiles:
      ReadPositionFile(handle, L, B, T, R, X, Y, Z, VX, VY, VZ);
      EquatorJ2000ToEclipticOfDate(T, L, B, R, X, Y, Z, VX, VY, VZ);
      return;
    case kPlanetTheoryVsop87D:
    case kPlanetTheoryVsop87C: {
      std::int32_t status = 0;
      TableDrivenSeries(X, Y, Z, JdFromJulianCenturies(T), VX, VY, VZ, status);
      EquatorJ2000ToEclipticOfDate(T, L, B, R, X, Y, Z, VX, VY, VZ);
      return;
    }
    default:
      InternalSeries(T, L, B, R);
      PolarToCartesian(X, Y, Z, R, B, L);
      VX = 0.0;
      VY = 0.0;
      VZ = 0.0;
      return;
  }
}

void TableDrivenSeries(double& X, double& Y, double& Z, double jd, double& VX, double& VY, double& VZ,
                       std::int32_t& status) {
  using planet_tables::kPlutoTable;
  using planet_tables::kPlutoTableGroupCounts;
  using planet_tables::kPlutoTableSecular;
  constexpr double kHalfSpan = 146120.0 / 2.0;  // days
  constexpr double kDxPerDay = 2.0 / 146120.0;
  const double x = 2.0 * (jd - 2341972.5) / 146120.0 - 1.0;
  const double t = x * kHalfSpan;  // days from the middle of the interval

  std::array<double, 3> position{};
  std::array<double, 3> velocity{};
  for (std::size_t axis = 0; axis < 3; ++axis) {
    const std::array<double, 4>& p = kPlutoTableSecular[axis];
    position[axis] = p[0] + x * (p[1] + x * (p[2] + x * p[3]));
    velocity[axis] = (p[1] + x * (2.0 * p[2] + x * 3.0 * p[3])) * kDxPerDay;
  }

  const std::array<const std::array<double, planet_tables::kPlutoTableTermCount>*, 3> cosines = {
      &kPlutoTable.xCos, &kPlutoTable.yCos, &kPlutoTable.zCos};
  const std::array<const std::array<double, planet_tables::kPlutoTableTermCount>*, 3> sines = {
      &kPlutoTable.xSin, &kPlutoTable.ySin, &kPlutoTable.zSin};
  std::size_t term = 0;
  double xPowerBelow = 0.0;  // x^(m-1), 0 for m = 0
  double xPower = 1.0;       // x^m
  for (int m = 0; m < 3; ++m) {
    std::array<double, 3> sum{};
    std::array<double, 3> rate{};
    for (int n = 0; n < kPlutoTableGroupCounts[static_cast<std::size_t>(m)]; ++n, ++term) {
      const double f = kPlutoTable.frequency[term];
      const double cosine = std::cos(f * t);
      const double sine = std::sin(f * t);
      for (std::size_t axis = 0; axis < 3; ++axis) {
        const double c = (*cosines[axis])[term];
        const double s = (*sines[axis])[term];
        sum[axis] += c * cosine + s * sine;
        rate[axis] += f * (s * cosine - c * sine);
      }
    }
    for (std::size_t axis = 0; axis < 3; ++axis) {
      position[axis] += sum[axis] * xPower;
      velocity[axis] += rate[axis] * xPower + m * kDxPerDay * xPowerBelow * sum[axis];
    }
    xPowerBelow = xPower;
    xPower *= x;
  }

  X = position[0] * 1e-10;
  Y = position[1] * 1e-10;
  Z = position[2] * 1e-10;
  VX = velocity[0] * 1e-10;
  VY = velocity[1] * 1e-10;
  VZ = velocity[2] * 1e-10;
  status = 0;
}

}  // namespace kvx
