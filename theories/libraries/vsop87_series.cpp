#include "theories/libraries/vsop87_series.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "core/angle_constants.h"
#include "theories/libraries/series_kernels.h"
#include "theories/libraries/series_reader.h"

namespace kvx::theory_data {

double TruncationThreshold(double level) {
  if (!(level >= 0.0)) return 0.0;  // negative or NaN: the whole series
  return std::pow(10.0, level - 14.0);
}

Vsop87Series::Vsop87Series(std::span<const std::uint8_t> file) {
  ByteReader in(file);
  in.Expect("KVXVSOP1");
  version_ = static_cast<char>(in.Unsigned(1));
  in.Skip(3);
  const std::uint32_t total = in.U32();
  std::uint32_t first = 0;
  for (Series& s : series_) {
    s.first = first;
    s.count = in.U32();
    first += s.count;
  }
  if (first != total) throw std::runtime_error("VSOP87 term counts do not add up");
  a_.resize(total);
  b_.resize(total);
  c_.resize(total);
  for (std::uint32_t i = 0; i < total; ++i) {
    a_[i] = in.F64();
    b_[i] = in.F64();
    c_[i] = in.F64();
  }
  for (std::size_t k = 0; k < standard_thresholds_.size(); ++k)
    standard_thresholds_[k] = TruncationThreshold(kStandardLevels[k]);
  for (Series& s : series_) {
    for (std::uint32_t i = s.first + 1; i < s.first + s.count; ++i)
      if (std::fabs(a_[i]) > std::fabs(a_[i - 1])) s.sorted = false;
    for (std::size_t k = 0; k < standard_thresholds_.size(); ++k)
      s.keptAtStandardLevel[k] = Search(s, standard_thresholds_[k]);
  }
}

std::uint32_t Vsop87Series::Kept(const Series& s, double threshold) const {
  if (threshold <= 0.0) return s.count;
  for (std::size_t k = 0; k < standard_thresholds_.size(); ++k)
    if (threshold == standard_thresholds_[k]) return s.keptAtStandardLevel[k];
  return Search(s, threshold);
}

std::uint32_t Vsop87Series::Search(const Series& s, double threshold) const {
  const double* a = a_.data() + s.first;
  auto kept = [threshold](double amplitude) { return !(std::fabs(amplitude) < threshold); };
  if (s.sorted) return static_cast<std::uint32_t>(std::partition_point(a, a + s.count, kept) - a);
  std::uint32_t n = 0;
  while (n < s.count && kept(a[n])) ++n;
  return n;
}

std::size_t Vsop87Series::TermCount(VsopPlanet planet, double threshold) const {
  std::size_t n = 0;
  for (int i = 0; i < 3 * 6; ++i) n += Kept(series_[planet * 3 * 6 + i], threshold);
  return n;
}

void Vsop87Series::Variable(VsopPlanet planet, int variable, double t, double threshold, bool withRate, double& value,
                            double& rate) const {
  double v = 0.0, r = 0.0;
  // Horner over the powers of t, from the highest: V = sum t^p S_p,
  // dV/dt = sum (p t^(p-1) S_p + t^p S'_p).
  for (int power = 5; power >= 0; --power) {
    const Series& s = series_[(planet * 3 + variable) * 6 + power];
    const TermArrays terms{a_.data() + s.first, b_.data() + s.first, c_.data() + s.first, Kept(s, threshold)};
    double derivative = 0.0;
    const double sum = terms.count == 0 ? 0.0 : CosineSum(terms, t, withRate ? &derivative : nullptr);
    r = r * t + v + derivative;  // d/dt (v * t + sum) = r*t + v + sum'
    v = v * t + sum;
  }
  value = v;
  rate = r;
}

VsopSpherical Vsop87Series::Compute(VsopPlanet planet, double t, double threshold, bool withRates) const {
  VsopSpherical s;
  Variable(planet, 0, t, threshold, withRates, s.L, s.dL);
  Variable(planet, 1, t, threshold, withRates, s.B, s.dB);
  Variable(planet, 2, t, threshold, withRates, s.R, s.dR);
  if (!withRates) s.dL = s.dB = s.dR = 0.0;
  s.L = std::fmod(s.L, kTwoPi);
  if (s.L < 0.0) s.L += kTwoPi;
  s.dL /= kDaysPerMillennium;
  s.dB /= kDaysPerMillennium;
  s.dR /= kDaysPerMillennium;
  return s;
}

VsopSpherical Vsop87Series::Evaluate(VsopPlanet planet, double t, double threshold, bool withRates) const {
  if (planet != kEarth) return Compute(planet, t, threshold, withRates);
  // The Earth at the last few instants of this thread. A NaN t never
  // matches, so it is computed (and gives NaN) every time.
  struct Entry {
    const Vsop87Series* series = nullptr;
    double t = 0.0, threshold = 0.0;
    bool withRates = false;
    VsopSpherical result;
  };
  constexpr int kEntries = 4;
  thread_local Entry entries[kEntries];
  thread_local int next = 0;
  for (const Entry& e : entries)
    if (e.series == this && e.t == t && e.threshold == threshold && e.withRates == withRates) return e.result;
  Entry& e = entries[next];
  next = (next + 1) % kEntries;
  e.result = Compute(planet, t, threshold, withRates);
  e.series = this;
  e.t = t;
  e.threshold = threshold;
  e.withRates = withRates;
  return e.result;
}

VsopRectangular ToRectangular(const VsopSpherical& s) {
  const double cl = std::cos(s.L), sl = std::sin(s.L);
  const double cb = std::cos(s.B), sb = std::sin(s.B);
  VsopRectangular r;
  r.x = s.R * cb * cl;
  r.y = s.R * cb * sl;
  r.z = s.R * sb;
  r.vx = s.dR * cb * cl - s.R * sb * cl * s.dB - s.R * cb * sl * s.dL;
  r.vy = s.dR * cb * sl - s.R * sb * sl * s.dB + s.R * cb * cl * s.dL;
  r.vz = s.dR * sb + s.R * cb * s.dB;
  return r;
}

}  // namespace kvx::theory_data
