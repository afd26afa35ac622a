#include "platform/progress.h"

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

ProgressReporter* SetProgressReporter(ProgressReporter* reporter) {
  ProgressReporter* previous = current_progress;
  current_progress = reporter;
  return previous;
}

ProgressReporter& CurrentProgress() { return current_progress != nullptr ? *current_progress : silent_progress; }

}  // namespace kvx
