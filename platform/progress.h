// Progress and cancel as a seam. A long computation announces its steps
// through a ProgressReporter, lets it process pending window events between
// steps, and polls AbortRequested (platform/globals.h), which the cancel
// button of the Qt implementation sets. Tests install a RecordingProgress
// (tests/support/recording_progress.h).
#pragma once

#include <chrono>
#include <cstddef>
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

// One bar over a whole run of several passes (the almanac's sections, a
// search over many objects, an element file integrated object by object).
// The run names its passes with their shares of the work; the bar goes once
// from 0 to 100 % and never back, and the label names the pass ("Mondphasen",
// "Konjunktionen: Mars/Jupiter"). While it lives it stands in for the
// reporter installed before it: what the code of a pass shows of its own (a
// session, steps, dates as labels) neither restarts the bar nor replaces the
// label; it only keeps the window responsive (at most every 20 ms, and at
// every move of the bar) so that the cancel button works.
class TRunProgress final : public ProgressReporter {
 public:
  // Shows `caption` and the bar at 0 %; `shares` are the passes' relative
  // amounts of work (one pass of share 1 when empty; negative counts as 0).
  TRunProgress(const std::string& caption, std::vector<double> shares);
  ~TRunProgress() override;
  TRunProgress(const TRunProgress&) = delete;
  TRunProgress& operator=(const TRunProgress&) = delete;

  // Enters pass `index` (earlier passes count as done) and shows `label`.
  void Pass(std::size_t index, const std::string& label);
  // Replaces the label within the pass.
  void Label(const std::string& label);
  // The part of the current pass done, 0..1 (clamped; NaN is ignored).
  void Done(double fraction);
  // The whole run done: the bar at 100 %.
  void Finish();
  int Percent() const { return percent_; }

  // What the passes' own code calls.
  void Begin(const std::string&, int) override {}
  void Step(int) override { ProcessEvents(); }
  void ProcessEvents() override;
  void SetLabel(const std::string&) override {}
  void End() override {}
  // False: code inside a pass has nothing of its own to show.
  bool Visible() const override { return false; }

 private:
  void MoveTo(double workDone);

  ProgressReporter* previous_;
  ProgressReporter& outer_;
  std::vector<double> starts_;  // work done before each pass
  std::vector<double> shares_;
  double total_ = 1;
  std::size_t pass_ = 0;
  int percent_ = 0;
  std::chrono::steady_clock::time_point lastEvents_;
};

}  // namespace kvx
