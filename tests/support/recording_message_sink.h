// Test double of the message seam (platform/messages.h): records every
// message and answers from a queue of replies.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace kvx {

// One message as it was shown.
struct RecordedMessage {
  std::string text;
  std::string caption;
  MessageIcon icon;
  MessageButtons buttons;
};

// Answers from the queue; an empty queue answers DefaultMessageReply (Ok, or
// Yes for yes/no boxes).
class RecordingMessageSink : public MessageSink {
 public:
  MessageResult Show(const std::string& text, const std::string& caption, MessageIcon icon,
                     MessageButtons buttons) override {
    messages.push_back({text, caption, icon, buttons});
    if (replies_.empty()) return DefaultMessageReply(buttons);
    MessageResult reply = replies_.front();
    replies_.pop_front();
    return reply;
  }
  void QueueReply(MessageResult reply) { replies_.push_back(reply); }
  void Beep() override { ++beeps; }

  int beeps = 0;

  std::vector<RecordedMessage> messages;

 private:
  std::deque<MessageResult> replies_;
};

}  // namespace kvx
