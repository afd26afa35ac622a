#include "theories/libraries/vsop87_series.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

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
  terms_.resize(total);
  for (Term& term : terms_) {
    term.a = in.F64();
    term.b = in.F64();
    term.c = in.F64();
  }
}

template <bool kWithRate>
void Vsop87Series::Variable(VsopPlanet planet, int variable, double t, double threshold,
                            double& value, double& rate) const {
  value = 0.0;
  rate = 0.0;
  // Horner over the powers of t, from the highest: V = sum t^p S_p,
  // dV/dt = sum (p t^(p-1) S_p + t^p S'_p).
  for (int power = 5; power >= 0; --power) {
    const Series& s = series_[(planet * 3 + variable) * 6 + power];
    double sum = 0.0, derivative = 0.0;
    for (std::uint32_t i = s.first; i < s.first + s.count; ++i) {
      const Term& term = terms_[i];
      if (std::fabs(term.a) < threshold) break;  // sorted by decreasing |A|
      const double argument = term.b + term.c * t;
      sum += term.a * std::cos(argument);
      if constexpr (kWithRate) derivative -= term.a * term.c * std::sin(argument);
    }
    rate = rate * t + value + derivative;  // d/dt (value * t + sum) = rate*t + value + sum'
    value = value * t + sum;
  }
}

VsopSpherical Vsop87Series::Evaluate(VsopPlanet planet, double t, double threshold, bool withRates) const {
  VsopSpherical s;
  if (withRates) {
    Variable<true>(planet, 0, t, threshold, s.L, s.dL);
    Variable<true>(planet, 1, t, threshold, s.B, s.dB);
    Variable<true>(planet, 2, t, threshold, s.R, s.dR);
  } else {
    Variable<false>(planet, 0, t, threshold, s.L, s.dL);
    Variable<false>(planet, 1, t, threshold, s.B, s.dB);
    Variable<false>(planet, 2, t, threshold, s.R, s.dR);
    s.dL = s.dB = s.dR = 0.0;
  }
  constexpr double kTwoPi = 2.0 * std::numbers::pi;
  s.L = std::fmod(s.L, kTwoPi);
  if (s.L < 0.0) s.L += kTwoPi;
  s.dL /= kDaysPerMillennium;
  s.dB /= kDaysPerMillennium;
  s.dR /= kDaysPerMillennium;
  return s;
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
