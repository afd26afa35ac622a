// The open and save file dialogs as a seam: dialogs ask through a FileDialog;
// the main window installs a QtFileDialog, tests a RecordingFileDialog
// (tests/support/recording_file_dialog.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/seam.h"

namespace kvx {

// What the dialog shows. All texts UTF-8.
struct FileDialogRequest {
  std::string title;
  // Filters as "Text (*.ext)" or "Text (*.ext1 *.ext2)"; the first is chosen.
  std::vector<std::string> filters;
  // The start: a folder, or a file name (with or without a folder).
  std::string start;
  // Appended (with a dot) to a name chosen without an extension; no dot here.
  std::string defaultExtension;
};

class FileDialog {
 public:
  virtual ~FileDialog() = default;
  // The chosen file's path, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseOpen(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ChooseSave(const FileDialogRequest& request) = 0;
};

// Installs the dialog the program uses; returns the previous one. With none
// installed every request is answered Cancel.
FileDialog* SetFileDialog(FileDialog* dialog);
FileDialog* CurrentFileDialog();

// Asks the installed dialog (nothing when none is installed).
std::optional<std::string> AskOpenFileName(const FileDialogRequest& request);
std::optional<std::string> AskSaveFileName(const FileDialogRequest& request);

// Installs a dialog for the lifetime of the guard.
using ScopedFileDialog = TScopedSeam<FileDialog, SetFileDialog>;

}  // namespace kvx
