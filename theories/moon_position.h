// Geocentric position of the Moon from the ELP-2000/82 library or from the
// internal truncated series of Brown's lunar theory, as byte 1 of the theory
// selection chooses.
#pragma once

#include <cstdint>

#include "theories/theory_types.h"

namespace kvx {

// Geocentric position of the Moon.
// Given:    shortcut   ELP road only: zero finds the light time from a first
//                      library call at a coarse level (distance within
//                      0.2 km; the returned distance is the geometric one
//                      at T of the requested level); non-zero takes it from
//                      the internal series (distance at the retarded instant)
//           selection  byte 1: 0 internal series, non-zero ELP-2000/82
//           T          Julian centuries of dynamical time from J2000
//           level      truncation level of the ELP library
// Returned: lambda, beta  ecliptic longitude [0, 360) and latitude of date,
//                         degrees (ELP: at the retarded instant)
//           distance      Earth radii (6378.14 km)
//           X2000, Y2000, Z2000  ecliptic rectangular of J2000, km
//           X, Y, Z       ecliptic rectangular of date, km
//           distance2     internal series: Earth radii (= distance);
//                         ELP: km, at the retarded instant
// Notes:    the internal series is geometric (no light time); it agrees with
//           the ELP theory to about 1" rms in longitude over 1900-2100. The
//           ELP road needs the library loaded (the main window selects it
//           only then; without it every output is 0).
void MoonPosition(std::uint8_t shortcut, TTheorySelection selection, double& lambda, double T, double& beta,
                  double& distance, double& X2000, double& Y2000, double& Z2000, double& X, double& Y, double& Z,
                  double& distance2, TTruncationLevel level);

// The internal series alone: geometric position, mean ecliptic and equinox
// of date. T in Julian centuries (TT) from J2000; lambda [0, 360) and beta in
// degrees, distance in Earth radii.
void MoonPositionSeries(double T, double& lambda, double& beta, double& distance);

}  // namespace kvx
