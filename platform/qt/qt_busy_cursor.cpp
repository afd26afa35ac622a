#include "platform/qt/qt_busy_cursor.h"

#include <QApplication>
#include <QCursor>

namespace kvx {

void QtBusyCursor::Show() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

void QtBusyCursor::Restore() { QApplication::restoreOverrideCursor(); }

}  // namespace kvx
