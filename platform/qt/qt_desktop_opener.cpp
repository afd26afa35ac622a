#include "platform/qt/qt_desktop_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace kvx {

bool QtDesktopOpener::Open(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace kvx
