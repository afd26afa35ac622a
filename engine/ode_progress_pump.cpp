#include "engine/ode_progress_pump.h"

#include <cmath>

#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/progress.h"

namespace kvx {

int IntegrationProgressPosition(double periodEnd, long double tout, long double spanDays) {
  const long double share = 1.0L - std::fabs(periodEnd - tout) / std::fabs(spanDays);
  if (!std::isfinite(share)) return 0;
  const long double percent = std::trunc(share * 100.0L);
  if (percent < 0) return 0;
  if (percent > 100) return 100;
  return static_cast<int>(percent);
}

std::string IntegrationProgressLabel(long double t) {
  const double jd = MjdToJd(static_cast<double>(t));
  if (!std::isfinite(jd)) return "Current JD: ";
  return "Current JD: " + std::to_string(static_cast<long long>(std::trunc(jd)));
}

OdePumpAction TenthStepProgressPump::AfterStep(const OdePumpState& state) {
  if (state.stepsThisCall % 10 != 0) return OdePumpAction::Continue;
  reporter_.ProcessEvents();
  if (show_) {
    reporter_.Step(IntegrationProgressPosition(periodEnd_, state.TOUT, spanDays_));
    reporter_.SetLabel(IntegrationProgressLabel(state.T));
  }
  return AbortRequested != 0 ? OdePumpAction::Abort : OdePumpAction::Continue;
}

}  // namespace kvx
