#include "platform/clock.h"

#include <chrono>
#include <utility>

namespace kvx {

namespace {

class RealSystemClock : public SystemClock {
 public:
  double UtcSeconds() override {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
  }
};

RealSystemClock real_clock;
SystemClock* current_clock = nullptr;

}  // namespace

SystemClock* SetSystemClock(SystemClock* clock) { return std::exchange(current_clock, clock); }

SystemClock& CurrentSystemClock() { return current_clock != nullptr ? *current_clock : real_clock; }

double CurrentUtcSeconds() { return CurrentSystemClock().UtcSeconds(); }

}  // namespace kvx
