// The open and save file dialogs shown with QFileDialog.
#pragma once

#include <QWidget>

#include "platform/file_dialog.h"

namespace kvx {

class QtFileDialog : public FileDialog {
 public:
  explicit QtFileDialog(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> ChooseOpen(const FileDialogRequest& request) override;
  // Asks before replacing an existing file.
  std::optional<std::string> ChooseSave(const FileDialogRequest& request) override;

 private:
  std::optional<std::string> Run(const FileDialogRequest& request, bool save);
  QWidget* parent_;
};

}  // namespace kvx
