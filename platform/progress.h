// Progress and cancel as a seam. A long computation announces its steps
// through a ProgressReporter, lets it process pending window events between
// steps, and polls AbortRequested (platform/globals.h), which the cancel
// button of the Qt implementation sets. Tests install a RecordingProgress
// (tests/support/recording_progress.h).
#pragma once

#include <string>

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
