// Darkness of one night: the parts of a local day when the Sun is below the
// astronomical-twilight level and the Moon's upper limb is below the
// horizon, as the Sun table's darkness columns show them.
//
// Times are local clock hours of the table day, 0 .. 23.9999; 0 as an event
// time means "no such event that day" (the rise/set search's convention).
#pragma once

#include <functional>

#include "engine/ephemeris_result.h"

namespace kvx {

// Last hour of the table day used as the end of an interval that runs to
// midnight.
inline constexpr double kDarknessDayEnd = 23.9999;

// The events of one local day.
struct TDarknessDay {
  double Moonrise = 0;  // local hours; 0 = no moonrise that day
  double Moonset = 0;   // local hours; 0 = no moonset that day
  double Dawn = 0;      // the Sun's rise through the astronomical-twilight level; 0 = none
  double Dusk = 0;      // its set through that level; 0 = none
  // Neither dawn nor dusk because the Sun stays above the level all day
  // (white night); without it, a day with neither is dark throughout.
  bool NeverDark = false;
};

// The darkness intervals of a day.
// Given:    day          the day's events
//           moonBelowAt  true when the Moon's upper limb is below the
//                        horizon at a local hour; asked only when the day
//                        has neither moonrise nor moonset (a value that is
//                        not known counts as not below)
// Returns:  up to two intervals (start, end) and their total length in
//           hours; -1 marks a value not set.
// Notes:    the dark windows are [0, dawn] and [dusk, 23.9999], or the one
//           window [dusk, dawn] when dusk comes first, or the whole day.
//           Each is cut by the hours the Moon is up (built from moonrise,
//           moonset and, without either, the Moon's state); a window keeps
//           its longest Moon-free part, and a day with a single window its
//           two longest parts in time order. An evening interval without a
//           morning one becomes interval 1. A value that is not finite is
//           never stored (it stays -1).
TDarknessBlock DarknessIntervals(const TDarknessDay& day, const std::function<bool(double)>& moonBelowAt);

}  // namespace kvx
