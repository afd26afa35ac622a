#include "theories/libraries/elp82b_series.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "core/angle_constants.h"
#include "theories/libraries/series_kernels.h"
#include "theories/libraries/series_reader.h"
#include "theories/libraries/vsop87_series.h"

namespace kvx::theory_data {
namespace {

constexpr double Dms(double d, double m, double s) { return (d * 3600.0 + m * 60.0 + s); }

// Mean arguments of the theory as polynomials in t (Julian centuries from
// J2000), arcseconds.
constexpr double kW1[5] = {Dms(218, 18, 59.95571), 1732559343.73604, -5.8883, 0.006604, -0.00003169};
constexpr double kW2[5] = {Dms(83, 21, 11.67475), 14643420.2632, -38.2776, -0.045047, 0.00021301};
constexpr double kW3[5] = {Dms(125, 2, 40.39816), -6967919.3622, 6.3622, 0.007625, -0.00003586};
constexpr double kT[5] = {Dms(100, 27, 59.22059), 129597742.2758, -0.0202, 0.000009, 0.00000015};
constexpr double kPerihelion[5] = {Dms(102, 56, 14.42753), 1161.2283, 0.5327, -0.000138, 0.0};
constexpr double kPrecession = 5029.0966;  // arcsec per century

// Planetary mean longitudes (constant, rate per century), arcseconds:
// Mercury, Venus, Earth-Moon barycentre, Mars, Jupiter, Saturn, Uranus, Neptune.
constexpr double kPlanets[8][2] = {{Dms(252, 15, 3.25986), 538101628.68898}, {Dms(181, 58, 47.28305), 210664136.43355},
                                   {Dms(100, 27, 59.22059), 129597742.2758}, {Dms(355, 25, 59.78866), 68905077.59284},
                                   {Dms(34, 21, 5.34212), 10925660.42861},   {Dms(50, 4, 38.89694), 4399609.65932},
                                   {Dms(314, 3, 18.01841), 1542481.19393},   {Dms(304, 20, 55.19575), 786550.32074}};

// Fit to DE200/LE200.
constexpr double kM = 0.074801329518;
constexpr double kAlpha = 0.002571881335;
constexpr double kDeltaNu = 0.55604 / 1732559343.73604;
constexpr double kDeltaNPrime = -0.06424 / 1732559343.73604;
constexpr double kDeltaE = 0.01789 * kArcsecToRad;
constexpr double kDeltaGamma = -0.08066 * kArcsecToRad;
constexpr double kDeltaEPrime = -0.12879 * kArcsecToRad;

constexpr double kA0 = 384747.9806448954;     // km
constexpr double kA0Elp = 384747.9806743165;  // km

constexpr double kAngleUnit = 206264.806;    // arcsec per radian, for truncation
constexpr double kDistanceUnit = 384747.98;  // km, for truncation

double Polynomial(const double (&c)[5], double t) { return c[0] + t * (c[1] + t * (c[2] + t * (c[3] + t * c[4]))); }

// Power of t that multiplies series n (1..36).
int FactorPower(int n) {
  if ((n >= 7 && n <= 9) || (n >= 13 && n <= 15) || (n >= 19 && n <= 21) || (n >= 25 && n <= 27)) return 1;
  if (n >= 34) return 2;
  return 0;
}

}  // namespace

Elp82BSeries::Elp82BSeries(std::span<const std::uint8_t> file) {
  ByteReader in(file);
  in.Expect("KVXELP82");
  if (in.U32() != 1) throw std::runtime_error("unknown ELP file version");
  const std::uint32_t total = in.U32();
  std::array<std::uint32_t, 36> counts{};
  std::uint32_t sum = 0;
  for (auto& c : counts) sum += (c = in.U32());
  if (sum != total) throw std::runtime_error("ELP term counts do not add up");

  // Constant and linear parts of the arguments that multiply the periodic
  // terms: zeta, the eight planets, D, l', l, F (radians, radians per century).
  double c0[13], c1[13];
  c0[0] = kW1[0] * kArcsecToRad;
  c1[0] = (kW1[1] + kPrecession) * kArcsecToRad;
  for (int k = 0; k < 8; ++k) {
    c0[1 + k] = kPlanets[k][0] * kArcsecToRad;
    c1[1 + k] = kPlanets[k][1] * kArcsecToRad;
  }
  c0[9] = (kW1[0] - kT[0] + 648000.0) * kArcsecToRad;
  c1[9] = (kW1[1] - kT[1]) * kArcsecToRad;
  c0[10] = (kT[0] - kPerihelion[0]) * kArcsecToRad;
  c1[10] = (kT[1] - kPerihelion[1]) * kArcsecToRad;
  c0[11] = (kW1[0] - kW2[0]) * kArcsecToRad;
  c1[11] = (kW1[1] - kW2[1]) * kArcsecToRad;
  c0[12] = (kW1[0] - kW3[0]) * kArcsecToRad;
  c1[12] = (kW1[1] - kW3[1]) * kArcsecToRad;

  // Room for the terms, when the file can hold them (a term takes at least
  // 29 bytes); a shorter file fails below while it is read.
  const std::uint32_t mainTerms = counts[0] + counts[1] + counts[2];
  if (static_cast<std::uint64_t>(total) * 29 > file.size()) throw std::runtime_error("ELP file too short");
  main_amplitude_.reserve(mainTerms);
  main_tabulated_.reserve(mainTerms);
  for (std::vector<double>& m : main_multiplier_) m.reserve(mainTerms);
  periodic_amplitude_.reserve(total - mainTerms);
  periodic_phase_.reserve(total - mainTerms);
  periodic_rate_.reserve(total - mainTerms);
  for (int n = 1; n <= 36; ++n) {
    Series& s = series_[n - 1];
    s.count = counts[n - 1];
    if (n <= 3) {
      s.first = static_cast<std::uint32_t>(main_amplitude_.size());
      for (std::uint32_t i = 0; i < s.count; ++i) {
        for (std::vector<double>& m : main_multiplier_) m.push_back(in.I8());
        const double a = in.F64();
        double b[5];
        for (double& x : b) x = in.F64();
        const double a0 = n == 3 ? a * (1.0 - 2.0 * kDeltaNu / 3.0) : a;
        main_amplitude_.push_back(a0 + (b[0] + 2.0 * kAlpha / (3.0 * kM) * b[4]) * (kDeltaNPrime - kM * kDeltaNu) +
                                  b[1] * kDeltaGamma + b[2] * kDeltaE + b[3] * kDeltaEPrime);
        main_tabulated_.push_back(std::fabs(a));
      }
    } else {
      s.first = static_cast<std::uint32_t>(periodic_amplitude_.size());
      for (std::uint32_t i = 0; i < s.count; ++i) {
        int multiplier[13];
        for (int& m : multiplier) m = in.I8();
        const double phase = in.F64();
        const double amplitude = in.F64();
        double phase0 = phase * kDegToRad, rate = 0.0;
        for (int k = 0; k < 13; ++k) {
          phase0 += multiplier[k] * c0[k];
          rate += multiplier[k] * c1[k];
        }
        periodic_amplitude_.push_back(amplitude);
        periodic_phase_.push_back(phase0);
        periodic_rate_.push_back(rate);
      }
    }
    const double* amplitude = n <= 3 ? main_tabulated_.data() : periodic_amplitude_.data();
    for (std::uint32_t i = s.first + 1; i < s.first + s.count; ++i)
      if (std::fabs(amplitude[i]) > std::fabs(amplitude[i - 1])) s.sorted = false;
  }
  for (std::size_t k = 0; k < standard_thresholds_.size(); ++k) {
    standard_thresholds_[k] = TruncationThreshold(kStandardLevels[k]);
    for (int n = 1; n <= 36; ++n) series_[n - 1].keptAtStandardLevel[k] = Search(n, standard_thresholds_[k]);
  }
}

std::uint32_t Elp82BSeries::Kept(int n, double threshold) const {
  const Series& s = series_[n - 1];
  if (threshold <= 0.0) return s.count;
  for (std::size_t k = 0; k < standard_thresholds_.size(); ++k)
    if (threshold == standard_thresholds_[k]) return s.keptAtStandardLevel[k];
  return Search(n, threshold);
}

std::uint32_t Elp82BSeries::Search(int n, double threshold) const {
  const Series& s = series_[n - 1];
  const double limit = threshold * ((n - 1) % 3 == 2 ? kDistanceUnit : kAngleUnit);
  const double* amplitude = (n <= 3 ? main_tabulated_.data() : periodic_amplitude_.data()) + s.first;
  auto kept = [limit](double a) { return !(std::fabs(a) < limit); };
  if (s.sorted)
    return static_cast<std::uint32_t>(std::partition_point(amplitude, amplitude + s.count, kept) - amplitude);
  std::uint32_t count = 0;
  while (count < s.count && kept(amplitude[count])) ++count;
  return count;
}

std::size_t Elp82BSeries::TermCount(double threshold) const {
  std::size_t count = 0;
  for (int n = 1; n <= 36; ++n) count += Kept(n, threshold);
  return count;
}

double Elp82BSeries::SumSeries(int n, double t, const double (&delaunay)[4], double threshold) const {
  const Series& s = series_[n - 1];
  const std::uint32_t count = Kept(n, threshold);
  double sum = 0.0;
  if (count == 0) {
    // nothing kept
  } else if (n <= 3) {
    MultipleTermArrays terms;
    terms.amplitude = main_amplitude_.data() + s.first;
    for (int k = 0; k < 4; ++k) terms.m[k] = main_multiplier_[k].data() + s.first;
    terms.count = count;
    sum = MultipleArgumentSum(terms, delaunay, n == 3);
  } else {
    sum = SineSum(TermArrays{periodic_amplitude_.data() + s.first, periodic_phase_.data() + s.first,
                             periodic_rate_.data() + s.first, count},
                  t);
  }
  const int power = FactorPower(n);
  return power == 0 ? sum : power == 1 ? sum * t : sum * t * t;
}

namespace {
struct Delaunay {
  double x[4];
};
Delaunay DelaunayArguments(double t) {
  const double w1 = Polynomial(kW1, t), w2 = Polynomial(kW2, t), w3 = Polynomial(kW3, t);
  const double tt = Polynomial(kT, t), perihelion = Polynomial(kPerihelion, t);
  return {{(w1 - tt + 648000.0) * kArcsecToRad, (tt - perihelion) * kArcsecToRad, (w1 - w2) * kArcsecToRad,
           (w1 - w3) * kArcsecToRad}};
}
}  // namespace

double Elp82BSeries::SeriesValue(int n, double jd) const {
  if (n < 1 || n > 36) return 0.0;
  const double t = (jd - 2451545.0) / 36525.0;
  return SumSeries(n, t, DelaunayArguments(t).x, 0.0);
}

ElpPosition Elp82BSeries::Evaluate(double jd, double threshold) const {
  const double t = (jd - 2451545.0) / 36525.0;
  const Delaunay delaunay = DelaunayArguments(t);
  double v = 0.0, u = 0.0, r = 0.0;
  for (int n = 1; n <= 36; n += 3) {
    v += SumSeries(n, t, delaunay.x, threshold);
    u += SumSeries(n + 1, t, delaunay.x, threshold);
    r += SumSeries(n + 2, t, delaunay.x, threshold);
  }
  const double lambda = (Polynomial(kW1, t) + v) * kArcsecToRad;
  const double beta = u * kArcsecToRad;
  const double rho = r * kA0 / kA0Elp;
  const double x = rho * std::cos(beta) * std::cos(lambda);
  const double y = rho * std::cos(beta) * std::sin(lambda);
  const double z = rho * std::sin(beta);

  // From the mean ecliptic of date (departure point of J2000) to the inertial
  // ecliptic and equinox of J2000 (Laskar's precession quantities).
  const double p =
      t * (0.10180391e-4 + t * (0.47020439e-6 + t * (-0.5417367e-9 + t * (-0.2507948e-11 + t * 0.463486e-14))));
  const double q =
      t * (-0.113469002e-3 + t * (0.12372674e-6 + t * (0.1265417e-8 + t * (-0.1371808e-11 + t * -0.320334e-14))));
  const double s = 2.0 * std::sqrt(1.0 - p * p - q * q);
  ElpPosition out;
  out.x = (1.0 - 2.0 * p * p) * x + 2.0 * p * q * y + p * s * z;
  out.y = 2.0 * p * q * x + (1.0 - 2.0 * q * q) * y - q * s * z;
  out.z = -p * s * x + q * s * y + (1.0 - 2.0 * p * p - 2.0 * q * q) * z;
  return out;
}

}  // namespace kvx::theory_data
