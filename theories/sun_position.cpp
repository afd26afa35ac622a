#include "theories/sun_position.h"

#include <array>
#include <cmath>
#include <span>

#include "core/frames.h"
#include "core/tabulated_constants.h"
#include "core/vector_math.h"
#include "theories/position_files.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

constexpr double kTwoPi = kTwoPiAsTabulated;

// One perturbation term of the solar series: the argument i1*M3 + i*Mk
// (M3 the Earth's mean anomaly, Mk the perturbing planet's); `it` = 0 starts
// a new argument, it = 1, 2 reuse the previous one multiplied by T. DL and
// DB in arc seconds, DR in 1e-6 AU.
struct SolarTerm {
  int i1, i, it;
  double dlc, dls, drc, drs, dbc, dbs;
};

constexpr SolarTerm kVenusTerms[] = {
    {1, 0, 0, -0.22, 6892.76, -16707.37, -0.54, 0, 0},
    {1, 0, 1, -0.06, -17.35, 42.04, -0.15, 0, 0},
    {1, 0, 2, -0.01, -0.05, 0.13, -0.02, 0, 0},
    {2, 0, 0, 0, 71.98, -139.57, 0, 0, 0},
    {2, 0, 1, 0, -0.36, 0.70, 0, 0, 0},
    {3, 0, 0, 0, 1.04, -1.75, 0, 0, 0},
    {0, -1, 0, 0.03, -0.07, -0.16, -0.07, 0.02, -0.02},
    {1, -1, 0, 2.35, -4.23, -4.75, -2.64, 0, 0},
    {1, -2, 0, -0.10, 0.06, 0.12, 0.20, 0.02, 0},
    {2, -1, 0, -0.06, -0.03, 0.20, -0.01, 0.01, -0.09},
    {2, -2, 0, -4.70, 2.90, 8.28, 13.42, 0.01, -0.01},
    {3, -2, 0, 1.80, -1.74, -1.44, -1.57, 0.04, -0.06},
    {3, -3, 0, -0.67, 0.03, 0.11, 2.43, 0.01, 0},
    {4, -2, 0, 0.03, -0.03, 0.10, 0.09, 0.01, -0.01},
    {4, -3, 0, 1.51, -0.40, -0.88, -3.36, 0.18, -0.10},
    {4, -4, 0, -0.19, -0.09, -0.38, 0.77, 0, 0},
    {5, -3, 0, 0.76, -0.68, 0.30, 0.37, 0.01, 0},
    {5, -4, 0, -0.14, -0.04, -0.11, 0.43, -0.03, 0},
    {5, -5, 0, -0.05, -0.07, -0.31, 0.21, 0, 0},
    {6, -4, 0, 0.15, -0.04, -0.06, -0.21, 0.01, 0},
    {6, -5, 0, -0.03, -0.03, -0.09, 0.09, -0.01, 0},
    {6, -6, 0, 0, -0.04, -0.18, 0.02, 0, 0},
    {7, -5, 0, -0.12, -0.03, -0.08, 0.31, -0.02, -0.01},
};

constexpr SolarTerm kMarsTerms[] = {
    {1, -1, 0, -0.22, 0.17, -0.21, -0.27, 0, 0},    {1, -2, 0, -1.66, 0.62, 0.16, 0.28, 0, 0},
    {2, -2, 0, 1.96, 0.57, -1.32, 4.55, 0, 0.01},   {2, -3, 0, 0.40, 0.15, -0.17, 0.46, 0, 0},
    {2, -4, 0, 0.53, 0.26, 0.09, -0.22, 0, 0},      {3, -3, 0, 0.05, 0.12, -0.35, 0.15, 0, 0},
    {3, -4, 0, -0.13, -0.48, 1.06, -0.29, 0.01, 0}, {3, -5, 0, -0.04, -0.20, 0.20, -0.04, 0, 0},
    {4, -4, 0, 0, -0.03, 0.10, 0.04, 0, 0},         {4, -5, 0, 0.05, -0.07, 0.20, 0.14, 0, 0},
    {4, -6, 0, -0.10, 0.11, -0.23, -0.22, 0, 0},    {5, -7, 0, -0.05, 0, 0.01, -0.14, 0, 0},
    {5, -8, 0, 0.05, 0.01, -0.02, 0.10, 0, 0},
};

constexpr SolarTerm kJupiterTerms[] = {
    {1, -1, 0, 0.01, 0.07, 0.18, -0.02, 0, -0.02},    {0, -1, 0, -0.31, 2.58, 0.52, 0.34, 0.02, 0},
    {1, -1, 0, -7.21, -0.06, 0.13, -16.27, 0, -0.02}, {1, -2, 0, -0.54, -1.52, 3.09, -1.12, 0.01, -0.17},
    {1, -3, 0, -0.03, -0.21, 0.38, -0.06, 0, -0.02},  {2, -1, 0, -0.16, 0.05, -0.18, -0.31, 0.01, 0},
    {2, -2, 0, 0.14, -2.73, 9.23, 0.48, 0, 0},        {2, -3, 0, 0.07, -0.55, 1.83, 0.25, 0.01, 0},
    {2, -4, 0, 0.02, -0.08, 0.25, 0.06, 0, 0},        {3, -2, 0, 0.01, -0.07, 0.16, 0.04, 0, 0},
    {3, -3, 0, -0.16, -0.03, 0.08, -0.64, 0, 0},      {3, -4, 0, -0.04, -0.01, 0.03, -0.17, 0, 0},
};

constexpr SolarTerm kSaturnTerms[] = {
    {0, -1, 0, 0, 0.32, 0.01, 0, 0, 0},
    {1, -1, 0, -0.08, -0.41, 0.97, -0.18, 0, -0.01},
    {1, -2, 0, 0.04, 0.10, -0.23, 0.10, 0, 0},
    {2, -2, 0, 0.04, 0.10, -0.35, 0.13, 0, 0},
};

// cos and sin of the multiples -1..7 of the Earth's mean anomaly.
struct EarthMultiples {
  std::array<double, 9> c{}, s{};  // index k + 1 for multiple k
  double C(int k) const { return c[static_cast<std::size_t>(k + 1)]; }
  double S(int k) const { return s[static_cast<std::size_t>(k + 1)]; }
};

struct SeriesSums {
  double dl = 0, dr = 0, db = 0;
};

// Adds the terms of one perturbing planet of mean anomaly `m`, whose
// multiples run from 0 down to -maxMultiple.
void AddPlanet(std::span<const SolarTerm> terms, double m, int maxMultiple, const EarthMultiples& e, double T,
               SeriesSums& sums) {
  std::array<double, 9> c{}, s{};  // index -j for multiple j = 0..-8
  c[0] = 1;
  s[0] = 0;
  c[1] = std::cos(m);
  s[1] = -std::sin(m);
  for (int j = 2; j <= maxMultiple; ++j) {
    const auto k = static_cast<std::size_t>(j);
    c[k] = c[k - 1] * c[1] - s[k - 1] * s[1];
    s[k] = s[k - 1] * c[1] + c[k - 1] * s[1];
  }
  double u = 0, v = 0;
  for (const SolarTerm& t : terms) {
    if (t.it == 0) {
      const auto k = static_cast<std::size_t>(-t.i);
      u = e.C(t.i1) * c[k] - e.S(t.i1) * s[k];
      v = e.S(t.i1) * c[k] + e.C(t.i1) * s[k];
    } else {
      u *= T;
      v *= T;
    }
    sums.dl += t.dlc * u + t.dls * v;
    sums.dr += t.drc * u + t.drs * v;
    sums.db += t.dbc * u + t.dbs * v;
  }
}

// The Earth's heliocentric state turned into the Sun's geocentric one.
void TurnRound(double& X, double& Y, double& Z, double& VX, double& VY, double& VZ) {
  X = -X;
  Y = -Y;
  Z = -Z;
  VX = -VX;
  VY = -VY;
  VZ = -VZ;
}

}  // namespace

// The internal analytic series of the Sun: geometric, mean ecliptic and
// equinox of date. T in Julian centuries (TT) from J2000.
void SunPositionSeries(double T, double& L, double& B, double& R) {
  const double m2 = kTwoPi * FracPositive(0.1387306 + 162.5485917 * T);
  const double m3 = kTwoPi * FracPositive(0.9931266 + 99.9973604 * T);
  const double m4 = kTwoPi * FracPositive(0.0543250 + 53.1666028 * T);
  const double m5 = kTwoPi * FracPositive(0.0551750 + 8.4293972 * T);
  const double m6 = kTwoPi * FracPositive(0.8816500 + 3.3938722 * T);
  const double d = kTwoPi * FracPositive(0.8274 + 1236.8531 * T);
  const double a = kTwoPi * FracPositive(0.3749 + 1325.5524 * T);
  const double u = kTwoPi * FracPositive(0.2591 + 1342.2278 * T);

  EarthMultiples e;
  e.c[1] = 1;  // multiple 0
  e.s[1] = 0;
  e.c[2] = std::cos(m3);
  e.s[2] = std::sin(m3);
  e.c[0] = e.c[2];
  e.s[0] = -e.s[2];
  for (std::size_t k = 3; k < 9; ++k) {
    e.c[k] = e.c[k - 1] * e.c[2] - e.s[k - 1] * e.s[2];
    e.s[k] = e.s[k - 1] * e.c[2] + e.c[k - 1] * e.s[2];
  }

  SeriesSums sums;
  AddPlanet(kVenusTerms, m2, 6, e, T, sums);
  AddPlanet(kMarsTerms, m4, 8, e, T, sums);
  AddPlanet(kJupiterTerms, m5, 4, e, T, sums);
  AddPlanet(kSaturnTerms, m6, 2, e, T, sums);

  // The Moon's pull on the Earth.
  sums.dl += 6.45 * std::sin(d) - 0.42 * std::sin(d - a) + 0.18 * std::sin(d + a) + 0.17 * std::sin(d - m3) -
             0.06 * std::sin(d + m3);
  sums.dr += 30.76 * std::cos(d) - 3.06 * std::cos(d - a) + 0.85 * std::cos(d + a) - 0.58 * std::cos(d + m3) +
             0.57 * std::cos(d - m3);
  sums.db += 0.576 * std::sin(u);

  // Long-period terms.
  sums.dl += 6.40 * std::sin(kTwoPi * (0.6983 + 0.0561 * T)) + 1.87 * std::sin(kTwoPi * (0.5764 + 0.4174 * T)) +
             0.27 * std::sin(kTwoPi * (0.4189 + 0.3306 * T)) + 0.20 * std::sin(kTwoPi * (0.3581 + 2.4814 * T));

  L = 360.0 * FracPositive(0.7859453 + m3 / kTwoPi + ((6191.2 + 1.1 * T) * T + sums.dl) / 1296000.0);
  R = 1.0001398 - 0.0000007 * T + sums.dr * 1e-6;
  B = sums.db / 3600.0;
}

void SunPosition(const PositionFileHandles& handles, TTheorySelection selection, double& L, double T, double& B,
                 double& R, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ,
                 TTruncationLevel level) {
  switch (selection.PlanetTheory()) {
    case kPlanetTheoryPositionFiles:
      // The Earth's heliocentric place, turned round. A file that cannot
      // serve the date has stopped the computation and left every output 0.
      if (!ReadPositionFile(handles[0], L, B, T, R, X, Y, Z, VX, VY, VZ)) return;
      TurnRound(X, Y, Z, VX, VY, VZ);
      L = Mod360(L + 180.0);
      B = -B;
      return;
    case kPlanetTheoryVsop87D:
      vsopsun_l(T, L, B, R, level);
      PolarToCartesian(X, Y, Z, R, B, L);
      VX = VY = VZ = 0;
      return;
    case kPlanetTheoryVsop87C:
      X = Y = Z = VX = VY = VZ = 0;
      vsopcsun(T, X, Y, Z, VX, VY, VZ, level);
      TurnRound(X, Y, Z, VX, VY, VZ);
      CartesianToPolar(R, B, L, X, Y, Z);
      FK5Correction(L, B, T);
      PolarToCartesian(X, Y, Z, R, B, L);
      return;
    default:
      SunPositionSeries(T, L, B, R);
      PolarToCartesian(X, Y, Z, R, B, L);
      VX = VY = VZ = 0;
      return;
  }
}

}  // namespace kvx
