// Helpers of the set-up dialog tests: driving a modal dialog (the shared
// answer of support/qt/answer_modal.h) and saving its picture into the test
// build's test-output folder.
#pragma once

#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <string>

#include "support/qt/answer_modal.h"

namespace kvx::test {

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
