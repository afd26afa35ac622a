#include "platform/progress.h"

#include <utility>

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

ProgressReporter* SetProgressReporter(ProgressReporter* reporter) { return std::exchange(current_progress, reporter); }

ProgressReporter& CurrentProgress() { return current_progress != nullptr ? *current_progress : silent_progress; }

namespace {
constexpr int kRunSteps = 100;
constexpr auto kEventsInterval = std::chrono::milliseconds(20);
}  // namespace

TRunProgress::TRunProgress(const std::string& caption, std::vector<double> shares)
    : previous_(current_progress), outer_(CurrentProgress()), shares_(std::move(shares)) {
  if (shares_.empty()) shares_.push_back(1);
  double sum = 0;
  for (double& share : shares_) {
    if (!(share > 0)) share = 0;
    starts_.push_back(sum);
    sum += share;
  }
  total_ = sum > 0 ? sum : 1;
  outer_.Begin(caption, kRunSteps);
  outer_.Step(0);
  lastEvents_ = std::chrono::steady_clock::now();
  current_progress = this;
}

TRunProgress::~TRunProgress() {
  current_progress = previous_;
  outer_.End();
}

void TRunProgress::Pass(std::size_t index, const std::string& label) {
  pass_ = index < shares_.size() ? index : shares_.size() - 1;
  outer_.SetLabel(label);
  MoveTo(starts_[pass_]);
}

void TRunProgress::Label(const std::string& label) { outer_.SetLabel(label); }

void TRunProgress::Done(double fraction) {
  if (fraction != fraction) return;  // NaN
  fraction = fraction < 0 ? 0 : (fraction > 1 ? 1 : fraction);
  MoveTo(starts_[pass_] + shares_[pass_] * fraction);
}

void TRunProgress::Finish() { MoveTo(total_); }

void TRunProgress::MoveTo(double workDone) {
  const int percent = static_cast<int>(kRunSteps * workDone / total_);
  if (percent > percent_) {
    percent_ = percent > kRunSteps ? kRunSteps : percent;
    outer_.Step(percent_);
    lastEvents_ = std::chrono::steady_clock::now();
    return;
  }
  ProcessEvents();
}

void TRunProgress::ProcessEvents() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastEvents_ < kEventsInterval) return;
  lastEvents_ = now;
  outer_.ProcessEvents();
}

}  // namespace kvx
