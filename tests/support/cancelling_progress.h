// Test double of the progress seam (platform/progress.h) that presses
// cancel: the `at`-th call of Step sets AbortRequested. It always reports
// itself visible and shows nothing.
#pragma once

#include <string>

#include "platform/globals.h"
#include "platform/progress.h"

namespace kvx::test {

class CancellingProgress : public ProgressReporter {
 public:
  explicit CancellingProgress(int at = 1) : at_(at) {}
  void Begin(const std::string&, int) override {}
  void Step(int) override {
    if (++steps_ == at_) AbortRequested = 1;
  }
  void ProcessEvents() override {}
  void SetLabel(const std::string&) override {}
  void End() override {}
  bool Visible() const override { return true; }

 private:
  int at_;
  int steps_ = 0;
};

}  // namespace kvx::test
