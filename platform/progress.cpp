#include "platform/progress.h"

#include "platform/globals.h"

namespace kvx {

namespace {

class SilentProgress : public ProgressReporter {
 public:
  void Begin(const std::string&, int) override {}
  void Step(int) override {}
  void ProcessEvents() override {}
  void SetLabel(const std::string&) override {}
  void End() override {}
  bool Visible() const override { return false; }
};

SilentProgress silent_progress;
ProgressReporter* current_progress = nullptr;

}  // namespace

void RecordingProgress::Begin(const std::string& caption, int steps) {
  visible = true;
  captions.push_back(caption);
  steps_total.push_back(steps);
}

void RecordingProgress::Step(int position) {
  positions.push_back(position);
  if (abort_at_step >= 0 && position == abort_at_step) AbortRequested = 1;
}

void RecordingProgress::End() {
  visible = false;
  ++ends;
}

ProgressReporter* SetProgressReporter(ProgressReporter* reporter) {
  ProgressReporter* previous = current_progress;
  current_progress = reporter;
  return previous;
}

ProgressReporter& CurrentProgress() { return current_progress != nullptr ? *current_progress : silent_progress; }

}  // namespace kvx
