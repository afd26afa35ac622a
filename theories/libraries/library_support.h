// Helpers shared by the entry points of the theory libraries.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

#include "core/angle_constants.h"
#include "theories/libraries/elp82b_series.h"
#include "theories/libraries/theory_library_abi.h"
#include "theories/libraries/vsop87_series.h"

namespace kvx::theory_data {

using kvx::kRadToDeg;
inline constexpr double kKmPerAu = 149597870.7;
// Earth-Moon mass ratio of the barycentre of version A.
inline constexpr double kEarthMoonMassRatio = 81.30056;

inline double DegreesIn360(double radians) {
  double d = radians * kRadToDeg;
  d = std::fmod(d, 360.0);
  if (d < 0.0) d += 360.0;
  if (d >= 360.0) d -= 360.0;
  return d;
}

// Julian millennia from Julian centuries.
inline double Millennia(double T) { return T / 10.0; }

inline void Store(double* target, double value) {
  if (target != nullptr) *target = value;
}

inline void StoreState(const VsopRectangular& s, double* X, double* Y, double* Z, double* VX, double* VY, double* VZ) {
  Store(X, s.x);
  Store(Y, s.y);
  Store(Z, s.z);
  Store(VX, s.vx);
  Store(VY, s.vy);
  Store(VZ, s.vz);
}

// The rectangular state of `planet` from `series` (version B or D), AU and
// AU per day; zeros when the series cannot be evaluated.
inline VsopRectangular RectangularState(const Vsop87Series& series, VsopPlanet planet, double T, double level) {
  try {
    return ToRectangular(series.Evaluate(planet, Millennia(T), TruncationThreshold(level)));
  } catch (...) {
    return VsopRectangular{};
  }
}

// A probe's answer: `code` when `present()` finds the library's series, 0
// when it does not or when reading them fails.
template <class Present>
std::int32_t ProbeAnswer(std::int32_t code, Present present) {
  try {
    return present() ? code : 0;
  } catch (...) {
    return 0;
  }
}

// Heliocentric state of the Earth-Moon barycentre, AU and AU per day,
// ecliptic and equinox of J2000: the Earth of version B plus the geocentric
// Moon of ELP-2000/82B scaled by 1/(1 + Earth-Moon mass ratio). The Moon's
// velocity is the five-point central difference over steps of 0.05 day
// (error below 1e-4 km per day).
inline VsopRectangular EarthMoonBarycentre(double T, double level) {
  const double threshold = TruncationThreshold(level);
  VsopRectangular s = ToRectangular(Vsop87B().Evaluate(kEarth, Millennia(T), threshold));
  const double jd = kJulianDateJ2000 + 36525.0 * T;
  constexpr double kStep = 0.05;  // days
  const Elp82BSeries& moon = Elp82B();
  const ElpPosition m = moon.Evaluate(jd, threshold);
  const ElpPosition m1 = moon.Evaluate(jd - kStep, threshold), p1 = moon.Evaluate(jd + kStep, threshold);
  const ElpPosition m2 = moon.Evaluate(jd - 2 * kStep, threshold), p2 = moon.Evaluate(jd + 2 * kStep, threshold);
  auto rate = [](double minus2, double minus1, double plus1, double plus2) {
    return (8.0 * (plus1 - minus1) - (plus2 - minus2)) / (12.0 * kStep);
  };
  const double f = 1.0 / ((1.0 + kEarthMoonMassRatio) * kKmPerAu);
  s.x += m.x * f;
  s.y += m.y * f;
  s.z += m.z * f;
  s.vx += rate(m2.x, m1.x, p1.x, p2.x) * f;
  s.vy += rate(m2.y, m1.y, p1.y, p2.y) * f;
  s.vz += rate(m2.z, m1.z, p1.z, p2.z) * f;
  return s;
}

}  // namespace kvx::theory_data

// Defines the rectangular entry point `name` of `planet` from `series`
// (Vsop87B or Vsop87D) by RectangularState: X, Y, Z in AU; VX, VY, VZ in AU
// per day.
#define KVX_VSOP87_RECTANGULAR_ENTRY(name, series, planet)                                                           \
  KVX_THEORY_EXPORT void name(double T, double* X, double* Y, double* Z, double* VX, double* VY, double* VZ,         \
                              double level) {                                                                        \
    kvx::theory_data::StoreState(                                                                                    \
        kvx::theory_data::RectangularState(kvx::theory_data::series(), kvx::theory_data::planet, T, level), X, Y, Z, \
        VX, VY, VZ);                                                                                                 \
  }

// The entry points of Mercury .. Neptune from `series`, in that order.
#define KVX_VSOP87_PLANET_ENTRIES(series, mercury, venus, mars, jupiter, saturn, uranus, neptune) \
  KVX_VSOP87_RECTANGULAR_ENTRY(mercury, series, kMercury)                                         \
  KVX_VSOP87_RECTANGULAR_ENTRY(venus, series, kVenus)                                             \
  KVX_VSOP87_RECTANGULAR_ENTRY(mars, series, kMars)                                               \
  KVX_VSOP87_RECTANGULAR_ENTRY(jupiter, series, kJupiter)                                         \
  KVX_VSOP87_RECTANGULAR_ENTRY(saturn, series, kSaturn)                                           \
  KVX_VSOP87_RECTANGULAR_ENTRY(uranus, series, kUranus)                                           \
  KVX_VSOP87_RECTANGULAR_ENTRY(neptune, series, kNeptune)
