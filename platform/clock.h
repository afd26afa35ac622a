// The computer's clock as a seam: everything that needs "now" (the current
// date of the observer, the status line, the clock bar, today's overview)
// asks the current SystemClock for the instant in UTC. The default reads
// the system clock; tests install a FixedClock (tests/support/fixed_clock.h)
// so that "now" is a known instant.
//
// The computer's time zone plays no part here: the instant is UTC, and the
// date a record shows is formed in that record's own zone.
#pragma once

#include "platform/seam.h"

namespace kvx {

class SystemClock {
 public:
  virtual ~SystemClock() = default;
  // The current instant: seconds since 1970-01-01 00:00:00 UTC (POSIX time,
  // leap seconds not counted), with its fraction.
  virtual double UtcSeconds() = 0;
};

// Installs the clock that CurrentUtcSeconds reads; returns the previous one.
// With none installed the system clock is read.
SystemClock* SetSystemClock(SystemClock* clock);
SystemClock& CurrentSystemClock();

// The current clock's instant, seconds since 1970-01-01 00:00:00 UTC.
double CurrentUtcSeconds();

// Installs a clock for the lifetime of the guard.
using ScopedSystemClock = TScopedSeam<SystemClock, SetSystemClock>;

}  // namespace kvx
