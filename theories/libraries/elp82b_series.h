// Evaluation of the lunar theory ELP-2000/82B (Chapront-Touze and Chapront
// 1983, constants fitted to DE200/LE200), all 36 series, optionally
// truncated.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kvx::theory_data {

// Geocentric rectangular coordinates of the Moon, km, referred to the
// inertial mean ecliptic and equinox of J2000.
struct ElpPosition {
  double x = 0, y = 0, z = 0;
};

class Elp82BSeries {
 public:
  // Reads a coefficient file (tools/convert_theory_series.py); throws
  // std::runtime_error when the file is malformed.
  explicit Elp82BSeries(std::span<const std::uint8_t> file);

  // The Moon at Julian date `jd` (TDB; TT serves). Terms whose tabulated
  // amplitude is below threshold x 206264.806" (longitude and latitude) or
  // threshold x 384747.98 km (distance) are left out; threshold 0 is the
  // full theory (see TruncationThreshold).
  ElpPosition Evaluate(double jd, double threshold) const;

  // Value of series n (1..36) at `jd`, in arcseconds or km, with the
  // amplitude corrections of series 1-3 and the factor t or t^2, before the
  // distance scaling; the full series. For checking one series alone.
  double SeriesValue(int n, double jd) const;

  std::size_t TermCount() const { return main_amplitude_.size() + periodic_amplitude_.size(); }
  // Terms of all 36 series that `threshold` keeps: the cost of one position.
  std::size_t TermCount(double threshold) const;

 private:
  // Terms first .. first + count - 1 of the series' arrays (main problem
  // for series 1-3, the others for 4-36); `sorted` when the amplitudes
  // that decide the truncation do not increase.
  struct Series {
    std::uint32_t first = 0, count = 0;
    bool sorted = true;
    std::array<std::uint32_t, 4> keptAtStandardLevel{};  // see kStandardLevels
  };
  // Number of leading terms of series n kept by `threshold`: the
  // evaluation stops at the first term below it.
  std::uint32_t Kept(int n, double threshold) const;
  std::uint32_t Search(int n, double threshold) const;
  double SumSeries(int n, double t, const double (&delaunay)[4], double threshold) const;

  // Main problem: corrected amplitude A', |A| as published (for the
  // truncation) and the multipliers of D, l', l, F.
  std::vector<double> main_amplitude_, main_tabulated_;
  std::array<std::vector<double>, 4> main_multiplier_;
  // The other series: amplitude times the sine of phase0 + rate t (radians,
  // t in Julian centuries).
  std::vector<double> periodic_amplitude_, periodic_phase_, periodic_rate_;
  std::array<Series, 36> series_{};
  std::array<double, 4> standard_thresholds_{};
};

const Elp82BSeries& Elp82B();

}  // namespace kvx::theory_data
