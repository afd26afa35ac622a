// Test double of the clock seam (platform/clock.h): a clock that stands at
// one instant until the test moves it.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "platform/clock.h"

namespace kvx {

class FixedClock : public SystemClock {
 public:
  explicit FixedClock(double utcSeconds = 0) : seconds(utcSeconds) {}
  double UtcSeconds() override { return seconds; }
  // Seconds since 1970-01-01 00:00:00 UTC of a UTC date and clock time
  // (Gregorian calendar).
  static double At(int year, int month, int day, int hour, int minute, int second) {
    const int a = (14 - month) / 12;
    const long long y = year + 4800 - a;
    const long long m = month + 12 * a - 3;
    const long long jdn = day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
    return static_cast<double>((jdn - 2440588) * 86400 + hour * 3600 + minute * 60 + second);
  }

  double seconds;
};

// The computer's time zone for the lifetime of the guard (TZ, then tzset),
// so that a test can show that a result does not follow it.
class ScopedSystemZone {
 public:
  explicit ScopedSystemZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) previous_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedSystemZone() {
    if (previous_) {
      setenv("TZ", previous_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ScopedSystemZone(const ScopedSystemZone&) = delete;
  ScopedSystemZone& operator=(const ScopedSystemZone&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace kvx
