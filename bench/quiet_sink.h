// A message sink for the benchmarks that answers every message with OK and
// shows nothing, so that a timed run never waits for a message box.
#pragma once

#include <string>

#include "platform/messages.h"

namespace kvx::bench {

class QuietSink : public MessageSink {
 public:
  MessageResult Show(const std::string&, const std::string&, MessageIcon, MessageButtons) override {
    return MessageResult::Ok;
  }
};

}  // namespace kvx::bench
