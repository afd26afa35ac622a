// Test double of the progress seam (platform/progress.h): records what was
// shown and can set AbortRequested at a chosen step, as if the user pressed
// cancel.
#pragma once

#include <string>
#include <vector>

#include "platform/globals.h"
#include "platform/progress.h"

namespace kvx {

class RecordingProgress : public ProgressReporter {
 public:
  void Begin(const std::string& caption, int steps) override {
    visible = true;
    captions.push_back(caption);
    steps_total.push_back(steps);
  }
  void Step(int position) override {
    // The cancel comes when the position reaches abort_at_step, also when it
    // passes over it in one step.
    const bool from_below = positions.empty() || positions.back() < abort_at_step;
    positions.push_back(position);
    if (abort_at_step >= 0 && (position == abort_at_step || (position > abort_at_step && from_below)))
      AbortRequested = 1;
  }
  void ProcessEvents() override { ++events_processed; }
  void SetLabel(const std::string& label) override { labels.push_back(label); }
  void End() override {
    visible = false;
    ++ends;
  }
  bool Visible() const override { return visible; }

  // When >= 0, the Step that reaches abort_at_step sets AbortRequested.
  int abort_at_step = -1;
  bool visible = false;
  std::vector<std::string> captions;
  std::vector<std::string> labels;
  std::vector<int> steps_total;
  std::vector<int> positions;
  int events_processed = 0;
  int ends = 0;
};

}  // namespace kvx
