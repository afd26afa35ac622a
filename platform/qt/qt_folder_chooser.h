// The folder-selection dialog shown with QFileDialog.
#pragma once

#include <QWidget>

#include "platform/folder_chooser.h"

namespace kvx {

class QtFolderChooser : public FolderChooser {
 public:
  explicit QtFolderChooser(QWidget* parent) : parent_(parent) {}
  // The help context and the options of the classic dialog have no
  // counterpart here and are ignored.
  bool Choose(std::string& folder, int helpContext, unsigned options) override;

 private:
  QWidget* parent_;
};

}  // namespace kvx
