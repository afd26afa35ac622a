#include "platform/qt/qt_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace kvx {

std::optional<std::string> QtFileDialog::ChooseOpen(const FileDialogRequest& request) { return Run(request, false); }

std::optional<std::string> QtFileDialog::ChooseSave(const FileDialogRequest& request) { return Run(request, true); }

std::optional<std::string> QtFileDialog::Run(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(parent_, QString::fromStdString(request.title));
  QStringList filters;
  for (const std::string& filter : request.filters) filters << QString::fromStdString(filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!request.start.empty()) {
    const QFileInfo start(QString::fromStdString(request.start));
    if (start.isDir()) {
      dialog.setDirectory(start.absoluteFilePath());
    } else {
      if (start.absoluteDir().exists()) dialog.setDirectory(start.absolutePath());
      dialog.selectFile(start.fileName());
    }
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.first().toStdString();
}

}  // namespace kvx
