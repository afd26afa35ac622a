// The folder-selection dialog as a seam: every folder choice asks through a
// FolderChooser (SelectFolder); the main window installs one that shows the
// real dialog, tests install a RecordingFolderChooser.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace kvx {

class FolderChooser {
 public:
  virtual ~FolderChooser() = default;
  // Lets the user pick a folder, starting at `folder` (UTF-8 path). True when
  // the user confirmed; the chosen folder is then in `folder`.
  virtual bool Choose(std::string& folder, int helpContext, unsigned options) = 0;
};

// One request as it was made.
struct RecordedFolderRequest {
  std::string startFolder;
  int helpContext;
  unsigned options;
};

// Test double: records the requests and answers from a queue (a folder, or
// nullopt for Cancel); an empty queue answers Cancel.
class RecordingFolderChooser : public FolderChooser {
 public:
  bool Choose(std::string& folder, int helpContext, unsigned options) override;
  void QueueAnswer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }

  std::vector<RecordedFolderRequest> requests;

 private:
  std::deque<std::optional<std::string>> answers_;
};

// Installs the chooser that SelectFolder uses; returns the previous one.
// With none installed every request is answered Cancel.
FolderChooser* SetFolderChooser(FolderChooser* chooser);
FolderChooser* CurrentFolderChooser();

// Asks the installed folder chooser. True when the user confirmed; `folder`
// then holds the chosen folder, otherwise it is left as it was.
bool SelectFolder(std::string& folder, int helpContext, unsigned options);

}  // namespace kvx
