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
  // Replaces the caption while a run goes on (for example the name of the
  // object being formatted).
  virtual void SetLabel(const std::string& label) = 0;
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
  void SetLabel(const std::string& label) override { labels.push_back(label); }
  void End() override;
  bool Visible() const override { return visible; }

  // When >= 0, Step(abort_at_step) sets AbortRequested.
  int abort_at_step = -1;
  bool visible = false;
  std::vector<std::string> captions;
  std::vector<std::string> labels;
  std::vector<int> steps_total;
  std::vector<int> positions;
  int events_processed = 0;
  int ends = 0;
};

// Installed reporter (a silent one when none is installed).
ProgressReporter* SetProgressReporter(ProgressReporter* reporter);
ProgressReporter& CurrentProgress();

// One shown progress run: Begin when made, End on every way out of the scope
// (returns and exceptions alike), so the panel never stays up and the main
// window is always given back.
class ProgressSession {
 public:
  ProgressSession(ProgressReporter& reporter, const std::string& caption, int steps) : reporter_(reporter) {
    reporter_.Begin(caption, steps);
  }
  ~ProgressSession() { reporter_.End(); }
  ProgressSession(const ProgressSession&) = delete;
  ProgressSession& operator=(const ProgressSession&) = delete;

  ProgressReporter& Reporter() { return reporter_; }

 private:
  ProgressReporter& reporter_;
};

}  // namespace kvx
