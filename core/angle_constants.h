// Pi and the angle factors of the program's own routines, at full precision.
// This is their one home: no file defines a private pi, a degree factor or
// pi as digits (tests/tools/code_layout_test.py checks it). The truncated
// values that published routines print, and that the program keeps so as to
// reproduce their tabulated results, are in core/tabulated_constants.h.
#pragma once

#include <numbers>

namespace kvx {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Radians per degree and degrees per radian.
inline constexpr double kDegToRad = std::numbers::pi / 180.0;
inline constexpr double kRadToDeg = 180.0 / std::numbers::pi;
// Radians per second of arc.
inline constexpr double kArcsecToRad = std::numbers::pi / 648000.0;

// The same in extended precision (long double), for the routines that
// compute in it.
inline constexpr long double kPiExtended = std::numbers::pi_v<long double>;
inline constexpr long double kTwoPiExtended = 2.0L * std::numbers::pi_v<long double>;
inline constexpr long double kDegToRadExtended = std::numbers::pi_v<long double> / 180.0L;
inline constexpr long double kRadToDegExtended = 180.0L / std::numbers::pi_v<long double>;
inline constexpr long double kArcsecToRadExtended = std::numbers::pi_v<long double> / 648000.0L;

}  // namespace kvx
