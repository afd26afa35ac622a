// Evaluation of the VSOP87 series of versions B and D (Bretagnon and Francou
// 1988): heliocentric spherical coordinates of Mercury to Neptune with their
// analytic time derivatives, optionally truncated.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/astronomical_constants.h"

namespace kvx::theory_data {

enum VsopPlanet { kMercury, kVenus, kEarth, kMars, kJupiter, kSaturn, kUranus, kNeptune };

// One evaluated coordinate set.
//   L, B: ecliptic longitude and latitude, radians (L in [0, 2 pi));
//   R: radius vector, AU;
//   dL, dB: rad per day; dR: AU per day.
// The frame is the one of the series: dynamical ecliptic and equinox of J2000
// for version B, mean dynamical ecliptic and equinox of date for version D.
struct VsopSpherical {
  double L = 0, B = 0, R = 0;
  double dL = 0, dB = 0, dR = 0;
};

// Rectangular state in the same frame: AU and AU per day.
struct VsopRectangular {
  double x = 0, y = 0, z = 0;
  double vx = 0, vy = 0, vz = 0;
};

// Amplitude threshold of a truncation level, in the unit of a series (radian
// for angles, AU for the radius vector of VSOP87, the mean Earth-Moon
// distance for the lunar radius).
//   level < 0: 0 (the whole series);
//   level >= 0: 10^(level - 14), so 4 keeps every term above 1e-10, 6 above
//   1e-8, 8 above 1e-6 and 10 above 1e-4.
double TruncationThreshold(double level);

// The levels of the program's accuracy dialog: the series keep their term
// counts for these, so that a call at one of them costs no search.
inline constexpr double kStandardLevels[4] = {4.0, 6.0, 8.0, 10.0};

class Vsop87Series {
 public:
  // Reads a coefficient file (tools/convert_theory_series.py); throws
  // std::runtime_error when the file is malformed.
  explicit Vsop87Series(std::span<const std::uint8_t> file);

  char Version() const { return version_; }

  // Coordinates of `planet` at t Julian millennia from J2000 (TDB; TT serves),
  // with the terms whose |amplitude| is below `threshold` left out. Without
  // `withRates` the rates are left 0 (and cost nothing). The Earth's last
  // result is kept per thread, series, threshold and t: asking again for the
  // Earth at the same instant costs no series evaluation.
  VsopSpherical Evaluate(VsopPlanet planet, double t, double threshold, bool withRates = true) const;

  std::size_t TermCount() const { return a_.size(); }
  // Terms of `planet` (all coordinates and powers of t) that `threshold`
  // keeps: the cost of one evaluation.
  std::size_t TermCount(VsopPlanet planet, double threshold) const;

 private:
  // Terms first .. first + count - 1 of the arrays; `sorted` when their
  // |A| do not increase (then the kept terms are found by bisection);
  // the kept terms at the standard levels.
  struct Series {
    std::uint32_t first = 0, count = 0;
    bool sorted = true;
    std::array<std::uint32_t, 4> keptAtStandardLevel{};
  };
  std::uint32_t Search(const Series& s, double threshold) const;
  // Number of leading terms of `s` with |A| >= threshold: the evaluation
  // stops at the first smaller term.
  std::uint32_t Kept(const Series& s, double threshold) const;
  // value and d/dt (per millennium) of one variable
  void Variable(VsopPlanet planet, int variable, double t, double threshold, bool withRate, double& value,
                double& rate) const;
  VsopSpherical Compute(VsopPlanet planet, double t, double threshold, bool withRates) const;

  char version_ = 0;
  // The terms A cos(B + C t) of every series as three arrays, series after
  // series in the order of the file.
  std::vector<double> a_, b_, c_;
  std::array<Series, 8 * 3 * 6> series_{};
  std::array<double, 4> standard_thresholds_{};
};

// Spherical to rectangular with the velocity from the rates.
VsopRectangular ToRectangular(const VsopSpherical& s);

// The shared instances, read from the embedded files on first use.
const Vsop87Series& Vsop87B();
const Vsop87Series& Vsop87D();

inline constexpr double kDaysPerMillennium = 365250.0;

}  // namespace kvx::theory_data
