// The numerically integrated table: the orbit integration computes the
// object's state by numerical integration over the table period and runs the
// object's position operations for each output instant.
#pragma once

#include <cstdint>

#include "engine/kepler.h"

namespace kvx {

class TKeplereph;

// Given the settings block, the apparent-sidereal-time flag, the theory
// selection, the table object (its elements, period and step), the relative
// tolerance, the show flag, the span of the period (days), the VSOP levels
// for the ephemerides and for the integration, and the name flag. Fills the
// object's rows (RowStore when showing) and its row count. Polls
// AbortRequested.
void IntegrateOrbitNumerically(TComputeSettingsBlock settings, std::uint8_t siderealFlag, TTheorySelection selection,
                               TKeplereph& object, long double tolerance, std::uint8_t show, long double spanDays,
                               std::int32_t vsopLevelA, std::int32_t vsopLevelB, std::uint8_t nameFlag);

}  // namespace kvx
