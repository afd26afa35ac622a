#include "platform/folder_chooser.h"

#include <utility>

namespace kvx {

namespace {
FolderChooser* current_chooser = nullptr;
}

FolderChooser* SetFolderChooser(FolderChooser* chooser) { return std::exchange(current_chooser, chooser); }

FolderChooser* CurrentFolderChooser() { return current_chooser; }

bool SelectFolder(std::string& folder, int helpContext, unsigned options) {
  FolderChooser* chooser = CurrentFolderChooser();
  if (chooser == nullptr) return false;
  std::string chosen = folder;
  if (!chooser->Choose(chosen, helpContext, options)) return false;
  folder = chosen;
  return true;
}

}  // namespace kvx
