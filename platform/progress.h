// Progress and cancel as a seam. A long computation announces its steps
// through a ProgressReporter, lets it process pending window events between
// steps, and polls AbortRequested (platform/globals.h), which the cancel
// button of the Qt implementation sets.
#pragma once

#include <string>
#include <vector>

namespace kvx {

class ProgressReporter {
 public:
  virtual ~ProgressReporter() = default;
  // Shows the progress panel with a caption and the number of steps.
  virtual void Begin(const std::string& caption, int steps) = 0;
  // Moves to step `position` (0..steps) and keeps the window responsive.
  virtual void Step(int position) = 0;
  // Processes pending window events without moving the bar.
  virtual void ProcessEvents() = 0;
  // Hides the panel.
  virtual void End() = 0;
  // Whether the progress bar is shown right now.
  virtual bool Visible() const = 0;
};

// Test double: records what was shown; can set AbortRequested at a chosen
// step to simulate the user pressing cancel.
class RecordingProgress : public ProgressReporter {
 public:
  void Begin(const std::string& caption, int steps) override;
  void Step(int position) override;
  void ProcessEvents() override { ++events_processed; }
  void End() override;
  bool Visible() const override { return visible; }

  // When >= 0, Step(abort_at_step) sets AbortRequested.
  int abort_at_step = -1;
  bool visible = false;
  std::vector<std::string> captions;
  std::vector<int> steps_total;
  std::vector<int> positions;
  int events_processed = 0;
  int ends = 0;
};

// Installed reporter (a silent one when none is installed).
ProgressReporter* SetProgressReporter(ProgressReporter* reporter);
ProgressReporter& CurrentProgress();

}  // namespace kvx
