// The small-body integrations' pump for the multistep solver
// (engine/ode_solver.h): every tenth step it keeps the window responsive,
// shows the leg being integrated and polls the cancel flag.
#pragma once

#include <cstdint>
#include <string>

#include "engine/ode_solver.h"

namespace kvx {

class ProgressReporter;

// Position of the progress bar for a leg ending at TOUT (MJD) of a period
// ending at periodEnd (MJD) and spanning spanDays (days): the share of the
// span already behind TOUT, in percent, cut to 0..100 (0 for a span of 0 or a
// value that is not finite).
int IntegrationProgressPosition(double periodEnd, long double tout, long double spanDays);

// The "Current JD: " label of a leg starting at T (MJD): the integer part of
// its Julian day.
std::string IntegrationProgressLabel(long double t);

// Every tenth step of a call: ProcessEvents; with the show flag the bar
// position and the label of the leg (see above); AbortRequested stops the
// solver with code 7.
class TenthStepProgressPump {
 public:
  TenthStepProgressPump(ProgressReporter& reporter, bool show, long double spanDays, double periodEnd)
      : reporter_(reporter), show_(show), spanDays_(spanDays), periodEnd_(periodEnd) {}

  OdePumpAction BeforeStep(const OdePumpState&) { return OdePumpAction::Continue; }
  OdePumpAction AfterStep(const OdePumpState& state);

 private:
  ProgressReporter& reporter_;
  bool show_;
  long double spanDays_;
  double periodEnd_;
};

}  // namespace kvx
