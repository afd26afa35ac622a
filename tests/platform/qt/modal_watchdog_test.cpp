// The watchdog of the GUI tests (tests/support/qt/modal_watchdog.h): a
// modal window nobody answers fails the running test with its title, the
// test's name and row, and is closed as cancelled; a window the test
// answers, or one that stays open while the program computes, passes.
#include "support/qt/modal_watchdog.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <string>

namespace kvx {
namespace {

using ::testing::ScopedFakeTestPartResultReporter;
using ::testing::TestPartResultArray;

TEST(ModalWatchdog, AnUnansweredWindowFailsTheTestWithItsTitleAndRow) {
  test::ScopedModalWatchdogLimit quick(500);
  TestPartResultArray failures;
  QElapsedTimer clock;
  clock.start();
  int answer = 0;
  {
    ScopedFakeTestPartResultReporter reporter(ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD,
                                              &failures);
    SCOPED_TRACE("30923 results into a table");
    QMessageBox box(QMessageBox::Question, QStringLiteral("Ereignis gefunden"), QStringLiteral("Weitersuchen?"),
                    QMessageBox::Yes | QMessageBox::No);
    answer = box.exec();
  }
  EXPECT_LT(clock.elapsed(), 5000) << "closed within seconds";
  EXPECT_NE(answer, QMessageBox::Yes);
  ASSERT_EQ(failures.size(), 1);
  const std::string message = failures.GetTestPartResult(0).message();
  for (const char* part :
       {"\"Ereignis gefunden\" (QMessageBox: Weitersuchen?)",
        "ModalWatchdog.AnUnansweredWindowFailsTheTestWithItsTitleAndRow", "30923 results into a table"}) {
    EXPECT_NE(message.find(part), std::string::npos) << part << " in: " << message;
  }

  // Open three times the limit while the program computes, then answered
  // by the test: nothing to report.
  TestPartResultArray none;
  {
    ScopedFakeTestPartResultReporter reporter(ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &none);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Suche"));
    QTimer::singleShot(0, &dialog, [&dialog] {
      QElapsedTimer busy;
      busy.start();
      while (busy.elapsed() < 1500) {
        QApplication::processEvents();  // a search showing its progress
        QThread::msleep(2);
      }
      dialog.accept();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  }
  EXPECT_EQ(none.size(), 0);
}

}  // namespace
}  // namespace kvx
