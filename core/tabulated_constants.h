// Truncated values of pi that published routines print and that the program
// keeps, so that it reproduces their tabulated results digit for digit. Do
// not replace them with full-precision values; every other use of pi takes
// the full-precision values of core/angle_constants.h. Together the two
// headers are the one home of pi and the degree factors.
#pragma once

namespace kvx {

// 2 pi of the planetary, solar and Pluto series and of the low-precision Sun
// and Moon (the published series print 6.283185307).
inline constexpr double kTwoPiAsTabulated = 6.283185307;

// 2 pi of the published lunar series (printed there as 6.283185308).
inline constexpr double kTwoPiLunarSeriesAsTabulated = 6.283185308;

// pi of the Chebyshev nodes of the Sun and Moon place fits, of the obliquity
// in the first-order nutation of equatorial vectors (also in the Kepler
// objects' frames) and of the degree conversion of the Saturn-moon theory
// (printed as 3.1415926535898).
inline constexpr double kPiAsTabulated = 3.1415926535898;

// pi of the Chebyshev nodes of the Moon cache (printed as 3.14159265359).
inline constexpr double kPiShortAsTabulated = 3.14159265359;

// pi to ten digits, the start value of the Kepler solver for eccentricities
// of 0.8 and more (printed as 3.141592654).
inline constexpr double kPiKeplerStartAsTabulated = 3.141592654;

// The degree factors of the angle routines (core/vector_math.h), extended
// precision, as printed (0.0174532925199433 rad/deg, 57.29577951308231
// deg/rad).
inline constexpr long double kDegToRadFactor = 0.0174532925199433L;
inline constexpr long double kRadToDegFactor = 57.29577951308231L;

// The degree factors of the Pluto series as they print them (1/57.2957795,
// here 0.0174532925239284, and 57.2957795).
inline constexpr double kPlutoRadiansPerDegreeAsTabulated = 0.0174532925239284;
inline constexpr double kPlutoDegreesPerRadianAsTabulated = 57.2957795;

}  // namespace kvx
