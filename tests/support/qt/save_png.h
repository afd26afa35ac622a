// Pictures of windows for looking at after a test run: saved as
// <test build>/test-output/<name>.png (the test target defines
// KVX_BINARY_DIR). Two runs give the same bytes, so that the pictures of two
// builds can be compared (tools/compare_pictures.sh).
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QFileSystemModel>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

namespace kvx::test {

// `masked` are parts of the window that show what the test cannot fix (the
// machine's folders): painted over in one colour.
inline void SavePng(QWidget& widget, const std::string& name, const std::vector<const QWidget*>& masked = {}) {
  const std::filesystem::path folder = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(folder);
  // A window just shown becomes active (focus frame, caret, active colours)
  // only once its events are delivered: the picture waits for that, so that
  // it does not depend on how soon it is taken.
  for (int wait = 0; wait < 50 && widget.isVisible() && !widget.isActiveWindow(); ++wait) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  // A text or a list set just before leaves a layout request pending: the
  // window takes the size it settles to (a label grown longer widens it)
  // whether or not the wait above let events through.
  for (int pass = 0; pass < 10; ++pass) {
    const QSize before = widget.size();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (widget.size() == before) break;
  }
  QImage image = widget.grab().toImage();
  if (!masked.empty()) {
    QPainter painter(&image);
    for (const QWidget* part : masked) {
      painter.fillRect(QRect(part->mapTo(&widget, QPoint(0, 0)), part->size()), QColor(128, 128, 128));
    }
  }
  image.save(QString::fromStdString((folder / (name + ".png")).string()));
}

// The views in `window` that list the machine's folders and files: they
// fill in the background, in an order of their own, and show what else is
// on the machine.
inline std::vector<const QWidget*> FolderViews(QWidget& window) {
  std::vector<const QWidget*> views;
  for (const QAbstractItemView* view : window.findChildren<QAbstractItemView*>()) {
    if (view->isVisible() && qobject_cast<const QFileSystemModel*>(view->model()) != nullptr) views.push_back(view);
  }
  return views;
}

}  // namespace kvx::test
