// Answering the modal windows a test opens: `act` is queued before the call
// that opens the window and runs on it once it shows. Windows only: nothing
// here knows the main window, so that every widget test program can use it.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <type_traits>

namespace kvx::test {

// Runs `act` on the modal dialog the event loop shows next (queued before
// the call that opens it) when it is a `Dialog`.
template <typename Dialog = QDialog>
void WhenModalShown(const std::function<void(std::type_identity_t<Dialog>&)>& act) {
  QTimer::singleShot(0, [act] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) act(*dialog);
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
    if (dialog != nullptr) act(*dialog);
  });
  timer->start();
}

}  // namespace kvx::test
