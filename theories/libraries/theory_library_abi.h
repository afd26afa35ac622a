// The binary interface of the five theory libraries (libvsop87d.so,
// libvsop87c.so, libvsop87a.so, libvsop82.so, libelp2000.so): C linkage,
// doubles, results through pointers. The loader (theories/theory_libraries.h)
// resolves these names with dlsym; the libraries define them.
//
// Common arguments:
//   T      Julian centuries from J2000 (JD 2451545.0), dynamical time;
//   JD     Julian date, dynamical time;
//   level  truncation level as a double: negative for the full series,
//          otherwise terms below 10^(level - 14) of the series' unit are
//          left out (see README, "Theory libraries").
#pragma once

#include <cstdint>

#define KVX_THEORY_EXPORT extern "C" __attribute__((visibility("default")))

namespace kvx::theory_abi {

// Probe: returns the library's code (17, 112, 113, 114 or 115).
using ProbeFunction = std::int32_t (*)();
// VSOP87 D: heliocentric ecliptic longitude L, latitude B (degrees, L in
// [0, 360)) and radius R (AU), mean ecliptic and equinox of date.
using SphericalFunction = void (*)(double T, double* L, double* B, double* R, double level);
// VSOP87 C and A: heliocentric rectangular ecliptic position (AU) and
// velocity (AU per day); ecliptic and equinox of date (C) or of J2000 (A).
using RectangularFunction = void (*)(double T, double* X, double* Y, double* Z, double* VX, double* VY, double* VZ,
                                     double level);
// VSOP82 interface: heliocentric osculating equinoctial elements, ecliptic
// and equinox of J2000: a (AU), mean longitude lambda (radians, [0, 2 pi)),
// k = e cos(perihelion longitude), h = e sin(perihelion longitude),
// q = sin(i/2) cos(node), p = sin(i/2) sin(node).
using ElementsFunction = void (*)(double T, double* a, double* lambda, double* k, double* h, double* q, double* p,
                                  double precision);
// ELP-2000/82B: geocentric rectangular ecliptic coordinates of the Moon, km,
// mean ecliptic and equinox of J2000.
using MoonFunction = void (*)(double JD, double* X, double* Y, double* Z, double level);

inline constexpr std::int32_t kProbeElp2000 = 17;
inline constexpr std::int32_t kProbeVsop87D = 112;
inline constexpr std::int32_t kProbeVsop87C = 113;
inline constexpr std::int32_t kProbeVsop87A = 114;
inline constexpr std::int32_t kProbeVsop82 = 115;

}  // namespace kvx::theory_abi
