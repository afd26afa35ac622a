// Message boxes as a seam: the computing libraries report through a
// MessageSink; the main window installs one that shows real dialogs, tests
// install a RecordingMessageSink (tests/support/recording_message_sink.h)
// and assert the texts.
#pragma once

#include <string>

#include "platform/seam.h"

namespace kvx {

enum class MessageIcon { None, Information, Warning, Error, Question };

// YesNoDefaultNo: Yes and No with No as the default button (Enter answers
// No), for a question whose careless answer should change nothing.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, YesNoDefaultNo };

// The button the user pressed (the numbering of the classic message-box
// results, so stored answers keep their meaning).
enum class MessageResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Shows `text` under `caption` (UTF-8) and returns the pressed button.
  virtual MessageResult Show(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) = 0;
  // A plain system beep; silent unless the sink makes a sound.
  virtual void Beep() {}
};

// The answer when nobody is asked: the default button, so Yes for yes/no
// boxes (No where No is the default), Cancel for retry/cancel boxes, Ok
// otherwise.
MessageResult DefaultMessageReply(MessageButtons buttons);

// Installs the sink that ShowMessage uses; returns the previous one. With
// none installed, messages go to standard error and are answered Ok/Yes.
MessageSink* SetMessageSink(MessageSink* sink);
MessageSink& CurrentMessageSink();

// Shows the German or the English text by LanguageEnglish (UTF-8 texts).
MessageResult ShowMessage(const std::string& german, const std::string& english, MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok, const std::string& caption = {});

// The current sink's beep.
void Beep();

// A save refused before anything was written: "<what> passt nicht in das
// Format <format>. Die Datei <file> wurde nicht geschrieben." / "<what>
// does not fit the format <format>. The file <file> was not written."
// (error icon, caption "Datei nicht gespeichert" / "File not saved").
// `what` names the object and the field ("Ceres: a = 4e-09").
void ShowDoesNotFitFormat(const std::string& what, const std::string& format, const std::string& fileName);

// The lines of a file a reader skipped: how many, the first one's number
// (from 1) and the field to blame in it (empty: none).
struct TSkippedLines {
  int Count = 0;
  int FirstLine = 0;
  std::string Field;
  void Add(int line, const char* field) {
    if (Count++ != 0) return;
    FirstLine = line;
    Field = field != nullptr ? field : "";
  }
};

// A reader's note on the lines of a file it skipped, with singular and
// plural right in each language: the prefix, the count, the phrase of one
// or of several lines, the first skipped line's number, the field to blame
// when there is one (", Feld f" / ", field f") and ")": "<file>: 3 Zeilen
// übersprungen (erste: Zeile 5, Feld Epoche)", "1 line skipped (line 5)";
// warning icon.
struct TSkippedLinesNote {
  std::string Prefix;  // before the count ("<file>: "), or empty
  const char* GermanOne = " Zeile übersprungen (Zeile ";
  const char* GermanMany = " Zeilen übersprungen (erste: Zeile ";
  const char* EnglishOne = " line skipped (line ";
  const char* EnglishMany = " lines skipped (first: line ";
  int Count = 0;
  int FirstLine = 0;  // from 1
  std::string GermanField, EnglishField;
  std::string Caption;
};
void ShowSkippedLinesNote(const TSkippedLinesNote& note);
// The note's text in one language.
std::string SkippedLinesText(const TSkippedLinesNote& note, bool english);
// The note with the common phrases on the lines `skipped` counts, after
// `prefix`; the field to blame is `germanField` in German and
// `skipped.Field` in English (none when that is empty).
TSkippedLinesNote SkippedLinesNote(const TSkippedLines& skipped, const std::string& prefix,
                                   const std::string& germanField);

// Installs a sink for the lifetime of the guard (tests and nested dialogs).
using ScopedMessageSink = TScopedSeam<MessageSink, SetMessageSink>;

}  // namespace kvx
