// The folder-selection dialog as a seam: every folder choice asks through a
// FolderChooser (SelectFolder); the main window installs one that shows the
// real dialog, tests install a RecordingFolderChooser
// (tests/support/recording_folder_chooser.h).
#pragma once

#include <string>

namespace kvx {

class FolderChooser {
 public:
  virtual ~FolderChooser() = default;
  // Lets the user pick a folder, starting at `folder` (UTF-8 path). True when
  // the user confirmed; the chosen folder is then in `folder`.
  virtual bool Choose(std::string& folder, int helpContext, unsigned options) = 0;
};

// Installs the chooser that SelectFolder uses; returns the previous one.
// With none installed every request is answered Cancel.
FolderChooser* SetFolderChooser(FolderChooser* chooser);
FolderChooser* CurrentFolderChooser();

// Asks the installed folder chooser. True when the user confirmed; `folder`
// then holds the chosen folder, otherwise it is left as it was.
bool SelectFolder(std::string& folder, int helpContext, unsigned options);

}  // namespace kvx
