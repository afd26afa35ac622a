// Chebyshev fits of the apparent Sun and Moon over short intervals, their
// evaluation, and the observer's geocentric place factors. The apparent
// places themselves and the fits of the Sun and the Moon, which need the
// body theories, are in theories/apparent_sun_moon.h.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace kvx {

// One fitted coordinate: degree N, interval [Ta, Tb] in the time unit of
// the fitted routine (Julian centuries), coefficients C[0..N] (C[0] enters
// with weight 1/2). Three sizes differ only in the room for coefficients.
template <int Room>
struct TChebyshevPolySized {
  static constexpr int kMaxDegree = Room - 1;
  std::int32_t N = 0;
  double Ta = 0;
  double Tb = 0;
  std::array<double, Room> C{};
};
using TChebyshevPoly = TChebyshevPolySized<9>;    // small: degree <= 8
using TChebyshevPolyB = TChebyshevPolySized<14>;  // medium: degree <= 13
using TChebyshevPolyA = TChebyshevPolySized<20>;  // large: degree <= 19

// A place routine for a fit: T (Julian centuries) to right ascension and
// declination (degrees) and distance.
using TPlaceAtTime = std::function<void(double T, double& ra, double& dec, double& r)>;

// Fits right ascension, declination and distance of `place` over [Ta, Tb]
// with Chebyshev series of degree N at the N + 1 Chebyshev nodes.
// Returned: raPoly, decPoly, rPoly (right ascension made continuous over
//           the interval: toward earlier times it runs below 0 where it
//           wrapped through 0 h).
// Result:   false, and nothing written, when N does not fit the record
//           (N < 0 or N > Room - 1).
// Notes:    N + 1 calls of `place`; no allocation.
bool ChebyshevFitPlace(const TPlaceAtTime& place, double Ta, double Tb, int N, TChebyshevPoly& raPoly,
                       TChebyshevPoly& decPoly, TChebyshevPoly& rPoly);
bool ChebyshevFitPlace(const TPlaceAtTime& place, double Ta, double Tb, int N, TChebyshevPolyB& raPoly,
                       TChebyshevPolyB& decPoly, TChebyshevPolyB& rPoly);
bool ChebyshevFitPlace(const TPlaceAtTime& place, double Ta, double Tb, int N, TChebyshevPolyA& raPoly,
                       TChebyshevPolyA& decPoly, TChebyshevPolyA& rPoly);

// Value of the series at t (Clenshaw recurrence). t is not checked against
// [Ta, Tb]. A degree outside the record's room is read as the nearest one
// that fits; an interval of zero length evaluates at its middle.
double ChebyshevEvaluate(const TChebyshevPoly& poly, double t);
double ChebyshevEvaluateB(const TChebyshevPolyB& poly, double t);
double ChebyshevEvaluateA(const TChebyshevPolyA& poly, double t);

// Geocentric place factors of an observer on the reference ellipsoid
// (flattening from e^2 = 0.006694), without height.
// Given:    latitude   geographic latitude, degrees
// Returned: rhoCosPhi, rhoSinPhi   Earth radii
void ObserverGeocentricRho(double& rhoCosPhi, double& rhoSinPhi, double latitude);

}  // namespace kvx
