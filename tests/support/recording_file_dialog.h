// Test double of the file-dialog seam: records every request and answers
// from a queue (a path, or nullopt for Cancel); an empty queue answers Cancel.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_dialog.h"

namespace kvx::test {

struct RecordedFileRequest {
  FileDialogRequest request;
  bool save;
};

class RecordingFileDialog : public FileDialog {
 public:
  std::optional<std::string> ChooseOpen(const FileDialogRequest& request) override { return Answer(request, false); }
  std::optional<std::string> ChooseSave(const FileDialogRequest& request) override { return Answer(request, true); }
  void QueueAnswer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }

  std::vector<RecordedFileRequest> requests;

 private:
  std::optional<std::string> Answer(const FileDialogRequest& request, bool save) {
    requests.push_back({request, save});
    if (answers_.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
  }
  std::deque<std::optional<std::string>> answers_;
};

}  // namespace kvx::test
