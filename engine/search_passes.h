// What the files of the search engine (search_object.cpp and its passes
// in search_extremum.cpp, search_difference.cpp and search_approach.cpp)
// share; not for other callers.
#pragma once

#include <limits>
#include <optional>

#include "engine/ephemeris_result.h"
#include "platform/progress.h"

namespace kvx::search_pass {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Days to which the instant of a root or an extremum is found.
inline constexpr double kRootTolerance = 1e-6;
// The instants a located root or extremum counts for in the progress
// position: the two passes with a tenth and a hundredth of the step, of
// about 20 steps each, that a scan's find stands for.
inline constexpr int kRefinedInstants = 40;

// Geocentric distance in AU of body `body` (the Moon's record holds Earth
// radii), for the distance conditions of the conjunction kinds.
double DistanceAu(int body, const TEphemerisResultRecord& r);

// Shows the progress panel for the run when asked and ends it on every way
// out.
class ShownProgress {
 public:
  explicit ShownProgress(bool show) {
    if (show) session_.emplace(CurrentProgress(), " ", 0);
  }

 private:
  std::optional<ProgressSession> session_;
};

}  // namespace kvx::search_pass
