#include "platform/file_dialog.h"

#include <utility>

namespace kvx {

namespace {
FileDialog* current_dialog = nullptr;
}

FileDialog* SetFileDialog(FileDialog* dialog) { return std::exchange(current_dialog, dialog); }

FileDialog* CurrentFileDialog() { return current_dialog; }

std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) {
  if (current_dialog == nullptr) return std::nullopt;
  return current_dialog->ChooseOpen(request);
}

std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) {
  if (current_dialog == nullptr) return std::nullopt;
  return current_dialog->ChooseSave(request);
}

}  // namespace kvx
