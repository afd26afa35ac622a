// The vectorised series loops of the theory libraries, built into this test
// from the libraries' own objects: both builds of the loops against a plain
// long double sum, the full theories by both builds, the Earth kept per
// instant, and the truncation of a series whose amplitudes are not sorted.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "theories/libraries/elp82b_series.h"
#include "theories/libraries/series_kernels.h"
#include "theories/libraries/vsop87_series.h"

namespace kvx::theory_data {
namespace {

// Runs `check` with each build of the loops the processor can run, then
// restores the one in use.
template <typename Check>
void ForEachBuild(Check check) {
  const SeriesLoops active = ActiveSeriesLoops();
  for (SeriesLoops loops : {SeriesLoops::kPortable, SeriesLoops::kAvx2}) {
    if (!SelectSeriesLoops(loops)) continue;
    SCOPED_TRACE(loops == SeriesLoops::kPortable ? "portable" : "avx2");
    check();
  }
  SelectSeriesLoops(active);
}

// Terms shaped like the planetary ones: amplitudes from 1 down to 1e-12,
// phases in [0, 2 pi), frequencies up to 1e5 rad per unit of t.
struct Terms {
  std::vector<double> a, b, c, m[4];
  explicit Terms(std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      a.push_back(std::pow(10.0, -12.0 * static_cast<double>(i) / static_cast<double>(n)) * (i % 3 ? 1 : -1));
      b.push_back(std::fmod(1.7 * static_cast<double>(i), 6.283185307179586));
      c.push_back(std::fmod(7919.0 * static_cast<double>(i * i), 1e5));
      for (int k = 0; k < 4; ++k) m[k].push_back(static_cast<double>(static_cast<int>((i * (k + 3)) % 9) - 4));
    }
  }
};

TEST(SeriesLoops, EveryBuildAddsEveryTermLikeAPlainSum) {
  const double x[4] = {5.19846, 6.24006, 2.35555, 1.62791};  // D, l', l, F at J2000 (rad)
  ForEachBuild([&] {
    // Term counts around the vector widths exercise the padded last step.
    for (std::size_t n : {0u, 1u, 2u, 3u, 4u, 5u, 7u, 8u, 9u, 1001u}) {
      const Terms terms(n);
      const TermArrays arrays{terms.a.data(), terms.b.data(), terms.c.data(), n};
      MultipleTermArrays multiple;
      multiple.amplitude = terms.a.data();
      for (int k = 0; k < 4; ++k) multiple.m[k] = terms.m[k].data();
      multiple.count = n;
      for (double t : {-0.3, 0.0, 0.0137, 1.0}) {
        long double cosine = 0, sine = 0, rate = 0, multipleSine = 0, multipleCosine = 0, scale = 0, rateScale = 0;
        for (std::size_t i = 0; i < n; ++i) {
          // The arguments as the loops form them, in double.
          const double argument = terms.b[i] + terms.c[i] * t;
          cosine += terms.a[i] * std::cos(static_cast<long double>(argument));
          sine += terms.a[i] * std::sin(static_cast<long double>(argument));
          rate -= terms.a[i] * terms.c[i] * std::sin(static_cast<long double>(argument));
          const double m = terms.m[0][i] * x[0] + terms.m[1][i] * x[1] + terms.m[2][i] * x[2] + terms.m[3][i] * x[3];
          multipleSine += terms.a[i] * std::sin(static_cast<long double>(m));
          multipleCosine += terms.a[i] * std::cos(static_cast<long double>(m));
          scale += std::fabs(terms.a[i]);
          rateScale += std::fabs(terms.a[i] * terms.c[i]);
        }
        // A few units of 1e-16 of the terms' size.
        const double tolerance = 1e-15 * static_cast<double>(scale);
        double computedRate = 0.0;
        EXPECT_NEAR(CosineSum(arrays, t, &computedRate), static_cast<double>(cosine), tolerance) << n << " " << t;
        EXPECT_NEAR(computedRate, static_cast<double>(rate), 1e-15 * static_cast<double>(rateScale)) << n;
        EXPECT_EQ(CosineSum(arrays, t, nullptr), CosineSum(arrays, t, &computedRate)) << n << " " << t;
        EXPECT_NEAR(SineSum(arrays, t), static_cast<double>(sine), tolerance) << n << " " << t;
        EXPECT_NEAR(MultipleArgumentSum(multiple, x, false), static_cast<double>(multipleSine),
                    1e-15 * static_cast<double>(scale)) << n;
        EXPECT_NEAR(MultipleArgumentSum(multiple, x, true), static_cast<double>(multipleCosine),
                    1e-15 * static_cast<double>(scale)) << n;
      }
      if (n > 0) {
        EXPECT_TRUE(std::isnan(CosineSum(arrays, std::numeric_limits<double>::quiet_NaN(), nullptr)));
        EXPECT_TRUE(std::isnan(SineSum(arrays, std::numeric_limits<double>::infinity())));
      }
    }
  });
}

// The full theories give the same positions with either build, to a few
// units of 1e-16 of the largest sums: the longitude's secular sum (up to
// 26000 rad per millennium for Mercury) times t, 1e-14 of the other values
// (rad, AU, rad or AU per day times 1000, km / 1e5).
TEST(SeriesLoops, BothBuildsGiveTheSameFullTheories) {
  struct Values {
    std::vector<double> v, tolerance;
    void Add(double value, double tolerance_) {
      v.push_back(value);
      tolerance.push_back(tolerance_ + 1e-14 * std::fabs(value));
    }
  };
  auto evaluate = [] {
    Values out;
    for (double t : {-0.3, -0.07, 0.0, 0.0513, 0.1}) {
      for (int p = kMercury; p <= kNeptune; ++p) {
        const VsopSpherical s = Vsop87D().Evaluate(static_cast<VsopPlanet>(p), t + 1e-9 * p, 0.0);
        out.Add(s.L, 4e-15 * (1.0 + 26088.0 * std::fabs(t)));
        for (double value : {s.B, s.R, s.dL * 1e3, s.dB * 1e3, s.dR * 1e3}) out.Add(value, 1e-14);
      }
      const ElpPosition m = Elp82B().Evaluate(2451545.0 + 365250.0 * t, 0.0);
      for (double value : {m.x * 1e-5, m.y * 1e-5, m.z * 1e-5}) out.Add(value, 1e-14);
    }
    return out;
  };
  std::vector<Values> results;
  ForEachBuild([&] { results.push_back(evaluate()); });
  ASSERT_GE(results.size(), 1u);
  for (std::size_t r = 1; r < results.size(); ++r)
    for (std::size_t i = 0; i < results[0].v.size(); ++i)
      EXPECT_NEAR(results[r].v[i], results[0].v[i], results[0].tolerance[i]) << i;
}

// The Earth is kept per series, threshold, rates and instant: none of them
// may hand out another's result.
TEST(SeriesLoops, TheEarthKeptPerInstantAnswersOnlyItsOwnQuestion) {
  const double t = 0.0421;
  const VsopSpherical full = Vsop87D().Evaluate(kEarth, t, 0.0);
  const VsopSpherical truncated = Vsop87D().Evaluate(kEarth, t, 1e-6);
  const VsopSpherical noRates = Vsop87D().Evaluate(kEarth, t, 0.0, false);
  const VsopSpherical versionB = Vsop87B().Evaluate(kEarth, t, 0.0);
  const VsopSpherical later = Vsop87D().Evaluate(kEarth, std::nextafter(t, 1.0), 0.0);
  EXPECT_NE(full.L, truncated.L);
  EXPECT_EQ(noRates.L, full.L);
  EXPECT_EQ(noRates.dL, 0.0);
  EXPECT_NE(full.dL, 0.0);
  EXPECT_NE(versionB.L, full.L);  // J2000 against the equinox of date
  EXPECT_NE(later.L, full.L);
  const VsopSpherical again = Vsop87D().Evaluate(kEarth, t, 0.0);
  EXPECT_EQ(again.L, full.L);
  EXPECT_EQ(again.dR, full.dR);
  EXPECT_TRUE(std::isnan(Vsop87D().Evaluate(kEarth, std::numeric_limits<double>::quiet_NaN(), 0.0).L));
}

// A coefficient file with one series of three terms (Mercury's longitude,
// power 0) whose amplitudes are not sorted: the truncation stops at the
// first term below the threshold, as for the sorted files.
TEST(SeriesLoops, AnUnsortedSeriesIsTruncatedAtItsFirstSmallTerm) {
  std::vector<std::uint8_t> file;
  auto put = [&](std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  for (char ch : std::string("KVXVSOP1D\0\0\0", 12)) file.push_back(static_cast<std::uint8_t>(ch));
  put(3, 4);
  for (int s = 0; s < 8 * 3 * 6; ++s) put(s == 0 ? 3 : 0, 4);
  for (double v : {1.0, 0.0, 0.0, 1e-9, 0.0, 0.0, 0.5, 0.0, 0.0}) put(std::bit_cast<std::uint64_t>(v), 8);
  const Vsop87Series series(file);
  EXPECT_NEAR(series.Evaluate(kMercury, 0.0, 0.0).L, 1.5 + 1e-9, 1e-15);
  EXPECT_NEAR(series.Evaluate(kMercury, 0.0, 1e-8).L, 1.0, 1e-15);
  EXPECT_EQ(series.TermCount(kMercury, 1e-8), 1u);
  EXPECT_EQ(series.TermCount(kMercury, 2.0), 0u);
  EXPECT_EQ(series.Evaluate(kMercury, 0.0, 2.0).L, 0.0);
}

}  // namespace
}  // namespace kvx::theory_data
