// Test double of the folder-chooser seam (platform/folder_chooser.h):
// records the requests and answers from a queue (a folder, or nullopt for
// Cancel); an empty queue answers Cancel.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/folder_chooser.h"

namespace kvx {

// One request as it was made.
struct RecordedFolderRequest {
  std::string startFolder;
  int helpContext;
  unsigned options;
};

class RecordingFolderChooser : public FolderChooser {
 public:
  bool Choose(std::string& folder, int helpContext, unsigned options) override {
    requests.push_back({folder, helpContext, options});
    if (answers_.empty()) return false;
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    if (!answer) return false;
    folder = *answer;
    return true;
  }
  void QueueAnswer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }

  std::vector<RecordedFolderRequest> requests;

 private:
  std::deque<std::optional<std::string>> answers_;
};

}  // namespace kvx
