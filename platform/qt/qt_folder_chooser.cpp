#include "platform/qt/qt_folder_chooser.h"

#include <QFileDialog>
#include <QString>

namespace kvx {

bool QtFolderChooser::Choose(std::string& folder, int, unsigned) {
  QString chosen = QFileDialog::getExistingDirectory(parent_, QString(), QString::fromStdString(folder));
  if (chosen.isEmpty()) return false;
  folder = chosen.toStdString();
  return true;
}

}  // namespace kvx
