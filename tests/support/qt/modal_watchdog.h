// A GUI test fails, never hangs, on a modal window it does not answer.
//
// The tests answer the dialogs and message boxes they open with timers of
// their own, within milliseconds. A window nobody answers would wait for a
// click until CTest's timeout (a search that shows its finds one by one
// where the test expects them in a table). The watchdog looks at the active
// modal window every fraction of a second while a test runs; once the same
// window has stood open for `KVX_MODAL_WATCHDOG_SECONDS` (default 10) with
// the program idle, waiting for input, it records a failure of the running
// test naming the window's title, its class and the test (a row named by
// SCOPED_TRACE in a table test is added by GoogleTest), then closes the
// window as Cancel would. Time the program spends computing while a window
// is open (a search started from a dialog) does not count.
#pragma once

namespace kvx::test {

// Installs the watchdog for every test of the program; call once, after the
// QApplication is made and before the tests run.
void InstallModalWatchdog();

// Within its scope the watchdog closes a window after `milliseconds` of
// waiting (the watchdog's own test).
class ScopedModalWatchdogLimit {
 public:
  explicit ScopedModalWatchdogLimit(int milliseconds);
  ~ScopedModalWatchdogLimit();
  ScopedModalWatchdogLimit(const ScopedModalWatchdogLimit&) = delete;
  ScopedModalWatchdogLimit& operator=(const ScopedModalWatchdogLimit&) = delete;

 private:
  int saved_;
};

}  // namespace kvx::test
