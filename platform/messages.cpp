#include "platform/messages.h"

#include <cstdio>
#include <utility>

#include "platform/globals.h"

namespace kvx {

MessageResult DefaultMessageReply(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return MessageResult::Yes;
    case MessageButtons::YesNoDefaultNo:
      return MessageResult::No;
    case MessageButtons::RetryCancel:
      return MessageResult::Cancel;
    default:
      return MessageResult::Ok;
  }
}

namespace {

class StderrMessageSink : public MessageSink {
 public:
  MessageResult Show(const std::string& text, const std::string& caption, MessageIcon,
                     MessageButtons buttons) override {
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    return DefaultMessageReply(buttons);
  }
};

StderrMessageSink stderr_sink;
MessageSink* current_sink = nullptr;

}  // namespace

MessageSink* SetMessageSink(MessageSink* sink) { return std::exchange(current_sink, sink); }

MessageSink& CurrentMessageSink() { return current_sink != nullptr ? *current_sink : stderr_sink; }

void Beep() { CurrentMessageSink().Beep(); }

MessageResult ShowMessage(const std::string& german, const std::string& english, MessageIcon icon,
                          MessageButtons buttons, const std::string& caption) {
  return CurrentMessageSink().Show(LanguageEnglish != 0 ? english : german, caption, icon, buttons);
}

void ShowDoesNotFitFormat(const std::string& what, const std::string& format, const std::string& fileName) {
  ShowMessage(what + " passt nicht in das Format " + format + ". Die Datei " + fileName + " wurde nicht geschrieben.",
              what + " does not fit the format " + format + ". The file " + fileName + " was not written.",
              MessageIcon::Error, MessageButtons::Ok, ByLanguage("Datei nicht gespeichert", "File not saved"));
}

std::string SkippedLinesText(const TSkippedLinesNote& note, bool english) {
  const bool one = note.Count == 1;
  const char* phrase = english ? (one ? note.EnglishOne : note.EnglishMany) : (one ? note.GermanOne : note.GermanMany);
  std::string text = note.Prefix + std::to_string(note.Count) + phrase + std::to_string(note.FirstLine);
  const std::string& field = english ? note.EnglishField : note.GermanField;
  if (!field.empty()) text += (english ? ", field " : ", Feld ") + field;
  return text + ")";
}

TSkippedLinesNote SkippedLinesNote(const TSkippedLines& skipped, const std::string& prefix,
                                   const std::string& germanField) {
  TSkippedLinesNote note;
  note.Prefix = prefix;
  note.Count = skipped.Count;
  note.FirstLine = skipped.FirstLine;
  if (!skipped.Field.empty()) {
    note.GermanField = germanField;
    note.EnglishField = skipped.Field;
  }
  return note;
}

void ShowSkippedLinesNote(const TSkippedLinesNote& note) {
  ShowMessage(SkippedLinesText(note, false), SkippedLinesText(note, true), MessageIcon::Warning, MessageButtons::Ok,
              note.Caption);
}

}  // namespace kvx
