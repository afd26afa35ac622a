// Test double of the colour seam: records the colours it was shown and
// answers from a queue (a colour, or nullopt for Cancel); an empty queue
// answers Cancel.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "platform/color_chooser.h"

namespace kvx::test {

class RecordingColorChooser : public ColorChooser {
 public:
  bool Choose(std::int32_t& color) override {
    shown.push_back(color);
    if (answers_.empty()) return false;
    std::optional<std::int32_t> answer = answers_.front();
    answers_.pop_front();
    if (!answer) return false;
    color = *answer;
    return true;
  }
  void QueueAnswer(std::optional<std::int32_t> answer) { answers_.push_back(answer); }

  std::vector<std::int32_t> shown;

 private:
  std::deque<std::optional<std::int32_t>> answers_;
};

}  // namespace kvx::test
