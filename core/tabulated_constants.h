// Truncated values of pi that published routines print and that the program
// keeps, so that it reproduces their tabulated results digit for digit. Do
// not replace them with full-precision values; every other use of pi takes
// std::numbers::pi. The degree factors of the angle routines are in
// core/vector_math.h (kDegToRadFactor, kRadToDegFactor), Pluto's own factors
// beside its series (theories/pluto.cpp).
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

}  // namespace kvx
