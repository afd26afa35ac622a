#include "platform/messages.h"

#include <cstdio>

#include "platform/globals.h"

namespace kvx {

namespace {

MessageResult DefaultReply(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return MessageResult::Yes;
    case MessageButtons::RetryCancel:
      return MessageResult::Cancel;
    default:
      return MessageResult::Ok;
  }
}

class StderrMessageSink : public MessageSink {
 public:
  MessageResult Show(const std::string& text, const std::string& caption, MessageIcon,
                     MessageButtons buttons) override {
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    return DefaultReply(buttons);
  }
};

StderrMessageSink stderr_sink;
MessageSink* current_sink = nullptr;

}  // namespace

MessageResult RecordingMessageSink::Show(const std::string& text, const std::string& caption, MessageIcon icon,
                                         MessageButtons buttons) {
  messages.push_back({text, caption, icon, buttons});
  if (replies_.empty()) return DefaultReply(buttons);
  MessageResult reply = replies_.front();
  replies_.pop_front();
  return reply;
}

MessageSink* SetMessageSink(MessageSink* sink) {
  MessageSink* previous = current_sink;
  current_sink = sink;
  return previous;
}

MessageSink& CurrentMessageSink() { return current_sink != nullptr ? *current_sink : stderr_sink; }

MessageResult ShowMessage(const std::string& german, const std::string& english, MessageIcon icon,
                          MessageButtons buttons, const std::string& caption) {
  return CurrentMessageSink().Show(LanguageEnglish != 0 ? english : german, caption, icon, buttons);
}

}  // namespace kvx
