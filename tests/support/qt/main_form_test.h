// The common start of the main-window command tests: a temporary folder as
// the data and configuration home, the core tables with the program's
// separators, settings in memory with the first-run question answered (or
// showing the window would wait for it), and a recording message sink;
// with two helpers those tests share.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "app/ui/main_window.h"
#include "core/name_tables.h"
#include "core/observer_record.h"
#include "platform/globals.h"
#include "platform/settings_store.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx::test {

// Runs `act` on the modal dialog the event loop shows next (queued before
// the call that opens it) when it is a `Dialog`.
template <typename Dialog = QDialog>
void WhenModalShown(const std::function<void(std::type_identity_t<Dialog>&)>& act) {
  QTimer::singleShot(0, [act] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      dialog->setProperty("kvxAnswered", true);
      act(*dialog);
    }
  });
}

// Runs `act` once a modal `Dialog` shows, asking every 10 ms: for a dialog
// that works the event loop before it is shown, which a single queued call
// could miss. Gives up after `tries` asks, so a dialog that never comes
// leaves nothing behind for a later test.
template <typename Dialog = QDialog>
void WhenModalAppears(const std::function<void(std::type_identity_t<Dialog>&)>& act, int tries = 2000) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  auto left = std::make_shared<int>(tries);
  QObject::connect(timer, &QTimer::timeout, [timer, act, left] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr && --*left > 0) return;
    timer->stop();
    timer->deleteLater();
    if (dialog == nullptr) return;
    dialog->setProperty("kvxAnswered", true);
    act(*dialog);
  });
  timer->start();
}

// While it lives, a modal window that no WhenModalShown or WhenModalAppears
// answers and that stays up for `seconds` fails the test with its title and
// `context()` (the step being run), and is closed, as is every such window
// after it a fifth of that time later: a command that asks where the test
// expects none fails instead of waiting for ever.
class UnansweredModalGuard {
 public:
  explicit UnansweredModalGuard(std::function<std::string()> context, int seconds = 5)
      : context_(std::move(context)), limitMs_(seconds * 1000) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
    timer_.start(50);
  }
  UnansweredModalGuard(const UnansweredModalGuard&) = delete;
  UnansweredModalGuard& operator=(const UnansweredModalGuard&) = delete;

 private:
  void Look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->property("kvxAnswered").toBool()) {
      seen_ = nullptr;
      return;
    }
    if (modal != seen_) {
      seen_ = modal;
      since_.start();
    }
    // After the first failure a window is closed sooner, but never before
    // a helper that waits for it has had its turn.
    if (since_.elapsed() < (failed_ ? limitMs_ / 5 : limitMs_)) return;
    if (!failed_) {
      ADD_FAILURE() << "a window nobody answers: \"" << modal->windowTitle().toStdString() << "\" during "
                    << context_();
    }
    failed_ = true;
    seen_ = nullptr;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->done(QDialog::Rejected);
    } else {
      modal->close();
    }
  }

  std::function<std::string()> context_;
  int limitMs_;
  QTimer timer_;
  QPointer<QWidget> seen_;
  QElapsedTimer since_;
  bool failed_ = false;
};

// `r` at local midnight of the date, its UT fields following.
inline void SetDate(TObserverRecord& r, int day, int month, int year) {
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = 0;
  LocalTimeToUT(r);
}

// As SetDate, the place Berlin: 52.52 N, 13.4 E, zone 1 without daylight
// saving or extra minutes.
inline void SetBerlinDate(TObserverRecord& r, int day, int month, int year) {
  r.Latitude = 52.52;
  r.Longitude = -13.4;
  r.Zone = 1;
  r.DaylightHours = 0;
  r.ZoneMinutes = 0;
  SetDate(r, day, month, year);
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (home_.Path() / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.Path() / "config").c_str(), 1);
    InitCoreTablesAtStartup(IntlSeparators);
    store_.WriteBool("Settings", "FirstRun", false);
  }

  // The window at 1400 x 800, shown, its pending events processed.
  static void ShowForm(TMainForm& form) {
    form.resize(1400, 800);
    form.show();
    QApplication::processEvents();
  }

  TempFolder home_;
  MemorySettingsStore store_;
  RecordingMessageSink messages_;
};

}  // namespace kvx::test
