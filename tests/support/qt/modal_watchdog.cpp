#include "support/qt/modal_watchdog.h"

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kvx::test {

namespace {

constexpr int kTickMs = 200;
constexpr int kDefaultSeconds = 10;
// Once a test has met one unexpected window, the next ones it opens (the
// program going on after the first was cancelled) are closed sooner.
constexpr qint64 kLaterWindowMs = 1000;

// A limit set by ScopedModalWatchdogLimit (0: none).
int limit_override_ms = 0;

qint64 LimitMs() {
  const char* text = std::getenv("KVX_MODAL_WATCHDOG_SECONDS");
  int seconds = kDefaultSeconds;
  if (text != nullptr) {
    const std::string_view view(text);
    int value = 0;
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
    if (error == std::errc() && end == view.data() + view.size() && value > 0) seconds = value;
  }
  return static_cast<qint64>(seconds) * 1000;
}

std::string RunningTest() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (info == nullptr) return "(no test)";
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  if (info->value_param() != nullptr) name += " with parameter " + std::string(info->value_param());
  return name;
}

class TModalWatchdog : public ::testing::EmptyTestEventListener {
 public:
  TModalWatchdog() : limit_ms_(LimitMs()) {
    timer_ = new QTimer(qApp);
    timer_->setInterval(kTickMs);
    QObject::connect(timer_, &QTimer::timeout, [this] { Tick(); });
    // The event loop is about to wait for input: whatever is open waits too.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     [this] { waited_ = true; });
  }

  void OnTestStart(const ::testing::TestInfo&) override {
    Forget();
    met_one_ = false;
    since_tick_.start();
    timer_->start();
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    timer_->stop();
    Forget();
  }

 private:
  void Forget() {
    watched_ = nullptr;
    idle_ms_ = 0;
    waited_ = false;
  }

  void Tick() {
    const qint64 elapsed = since_tick_.restart();
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
      Forget();
      return;
    }
    if (modal != watched_) {
      watched_ = modal;
      idle_ms_ = 0;
    } else if (waited_) {
      idle_ms_ += elapsed;
    }
    waited_ = false;
    const qint64 limit = limit_override_ms > 0 ? limit_override_ms : limit_ms_;
    if (idle_ms_ < (met_one_ ? std::min(limit, kLaterWindowMs) : limit)) return;
    Report(*modal);
    met_one_ = true;
    Forget();
    Close(*modal);
  }

  void Report(QWidget& modal) const {
    std::string what = "\"" + modal.windowTitle().toStdString() + "\" (" + modal.metaObject()->className();
    if (const auto* box = qobject_cast<QMessageBox*>(&modal)) what += ": " + box->text().toStdString();
    what += ")";
    const std::string waited = std::to_string(idle_ms_ / 1000) + "." + std::to_string(idle_ms_ / 100 % 10);
    ADD_FAILURE() << "The modal window " << what << " waited " << waited
                  << " s for an answer the test does not give, in " << RunningTest() << "; it is closed as cancelled.";
  }

  static void Close(QWidget& modal) {
    if (auto* progress = qobject_cast<QProgressDialog*>(&modal)) {
      progress->cancel();
    } else if (auto* dialog = qobject_cast<QDialog*>(&modal)) {
      dialog->done(QDialog::Rejected);
    } else {
      modal.close();
    }
  }

  const qint64 limit_ms_;
  QTimer* timer_ = nullptr;
  QElapsedTimer since_tick_;
  QPointer<QWidget> watched_;
  qint64 idle_ms_ = 0;
  bool waited_ = false;
  bool met_one_ = false;
};

}  // namespace

void InstallModalWatchdog() { ::testing::UnitTest::GetInstance()->listeners().Append(new TModalWatchdog); }

ScopedModalWatchdogLimit::ScopedModalWatchdogLimit(int milliseconds) : saved_(limit_override_ms) {
  limit_override_ms = milliseconds;
}

ScopedModalWatchdogLimit::~ScopedModalWatchdogLimit() { limit_override_ms = saved_; }

}  // namespace kvx::test
