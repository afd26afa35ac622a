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

  std::size_t TermCount() const { return main_.size() + periodic_.size(); }

 private:
  struct MainTerm {
    double amplitude;      // corrected amplitude A'
    double tabulated;      // |A| as published, for truncation
    std::int8_t d, lp, l, f;
  };
  // A term whose argument is linear in t: phase0 + rate * t (rad, t in
  // Julian centuries).
  struct PeriodicTerm {
    double amplitude;
    double phase0;
    double rate;
  };
  struct Series {
    std::uint32_t first = 0, count = 0;
  };
  double SumSeries(int n, double t, const std::array<double, 4>& delaunay, double threshold) const;

  std::vector<MainTerm> main_;
  std::vector<PeriodicTerm> periodic_;
  std::array<Series, 36> series_{};
};

const Elp82BSeries& Elp82B();

}  // namespace kvx::theory_data
