// Helpers of the set-up dialog tests: driving a modal dialog and saving its
// picture into the test build's test-output folder.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

namespace kvx::test {

// Runs `act` on the modal dialog once it is shown (act closes it).
inline void WhenModalShown(const std::function<void(QDialog&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    act(*dialog);
  });
}

// Saves a picture of `widget` as test-output/<name>.png; false when it fails.
inline bool SavePicture(QWidget& widget, const std::string& name) {
  const QString folder = QString(KVX_BINARY_DIR) + "/test-output";
  QDir().mkpath(folder);
  widget.adjustSize();
  return widget.grab().save(folder + "/" + QString::fromStdString(name) + ".png");
}

template <typename T>
T* Child(QWidget& parent, const char* name) {
  return parent.findChild<T*>(QString::fromLatin1(name));
}

}  // namespace kvx::test
