#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/qt/application_start.h"
#include "support/desktop_locale.h"
#include "support/fixed_clock.h"
#include "support/qt/modal_watchdog.h"

// The widget tests save pictures of their windows (test-output/*.png) that
// two runs of the same build must give byte for byte, so that a change of
// the code can be checked by comparing them. Everything a window shows that
// would follow the run is fixed here: "now" (status line, clock bar, the
// observer's first date) stands at one instant, which a test that needs
// another installs over it; the text caret does not blink, so a picture
// never catches it half way.
//
// What a test leaves of the application's own state must not reach the next
// test (the tests also run shuffled in one process): a busy cursor still set
// when a test ends is taken back.
class TOverrideCursorGuard : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { had_cursor_ = QApplication::overrideCursor() != nullptr; }
  void OnTestEnd(const ::testing::TestInfo&) override {
    if (had_cursor_) return;
    while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
  }
  bool had_cursor_ = false;
};

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  // The program's start: the desktop's locale with the C library's numbers
  // in "C"; and, when asked, the desktop's separators.
  const auto application = kvx::StartApplication(argc, argv);
  kvx::test::TakeDesktopSeparatorsWhenAsked();
  QApplication::setCursorFlashTime(0);
  kvx::FixedClock clock(kvx::FixedClock::At(2026, 12, 8, 12, 0, 0));
  kvx::ScopedSystemClock now(clock);
  ::testing::UnitTest::GetInstance()->listeners().Append(new TOverrideCursorGuard);
  kvx::test::InstallModalWatchdog();
  return RUN_ALL_TESTS();
}
