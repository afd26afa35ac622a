#include "platform/clock.h"

#include <chrono>

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

SystemClock* SetSystemClock(SystemClock* clock) {
  SystemClock* previous = current_clock;
  current_clock = clock;
  return previous;
}

SystemClock& CurrentSystemClock() { return current_clock != nullptr ? *current_clock : real_clock; }

double CurrentUtcSeconds() { return CurrentSystemClock().UtcSeconds(); }

}  // namespace kvx
