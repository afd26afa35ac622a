// The accuracy a computation runs with: the relative tolerance of the
// numerical integration and the truncation levels of the planet series. The
// three always travel together from the main window through the table
// requests and batch runs to the body objects.
#pragma once

#include <cstdint>

namespace kvx {

struct TAccuracySettings {
  long double IntegrationTolerance = 1e-10L;  // relative, of the numerical integration
  std::int32_t VsopLevelA = -1;               // truncation level of the ephemerides (-1 the full series)
  std::int32_t VsopLevelB = 10;               // truncation level of the integration's perturbers
};

}  // namespace kvx
