// What the save commands tell when a file is not written: the command's
// own first sentence, then the cause in a sentence of its own (the file
// read-only, the folder read-only, no permission, the disk full, the file
// or its folder gone, the file held by another program), whether the file
// stays as it was, and that another name may be chosen; and the question
// before a file that another program changed is written over. German and
// English, through the message seam. Every file the user picks is saved
// on this one road (SaveUserFile, or a command's own steps over the same
// routines).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/safe_file_write.h"

namespace kvx {

// The first sentence of a command's save-error message, in both
// languages, with `{}` where the file name goes, and its caption (empty:
// none of its own).
struct TSaveFailureLead {
  const char* German;
  const char* English;
  const char* CaptionGerman = "";
  const char* CaptionEnglish = "";
};

// Save and Save as of the workbook, and the table file: "Beim Speichern von
// <name> ist ein Fehler aufgetreten." / "An Error occured while saving
// <name>.".
extern const TSaveFailureLead kWorkbookSaveLead;
// The text and csv saves: "Fehler beim Speichern von <name>." / "An error
// occured while saving <name>.", captioned "Datei nicht gespeichert" /
// "Error".
extern const TSaveFailureLead kTextSaveLead;

// Shows that `name` was not written (error icon): the lead, the sentence
// of `error`'s cause (a writer's refusal as its own text, on a line of its
// own; a cause none names with the log text), "Die Datei bleibt, wie sie
// war." / "The file stays as it was." where a file of that name is there,
// and, with `anotherName`, that another name or place may be chosen (the
// save dialog follows).
void ShowSaveFailure(const TSaveFailureLead& lead, const std::string& name, const TWriteError& error, bool anotherName);

// A save under a name the user chooses: `ask` gives the name, the dialog
// starting at `start` (none: cancelled, or a name the dialog's own rules
// refused, which it told); `write` writes under it, the busy cursor shown
// meanwhile, unless the name may not be written (WhyNotWritable). A name
// that may not be written, or whose write fails, is told with its cause
// (`lead`) and the dialog comes again, starting where `next` says for the
// name and cause; a writer's refusal (TWriteFailure::Refused), which the
// writer tells itself, ends it. The name written, or none.
using TAskName = std::function<std::optional<std::string>(const std::string& start)>;
using TWriteNamed = std::function<bool(const std::string& name, TWriteError& error)>;
using TNextStart = std::function<std::string(const std::string& name, TWriteFailure cause)>;
std::optional<std::string> SaveUnderChosenName(std::string start, const TAskName& ask, const TWriteNamed& write,
                                               const TSaveFailureLead& lead, const TNextStart& next);

// Asks whether `name`, which another program changed since it was opened
// or last saved, is to be written over (No the default); true for Yes.
// With `saveAsFollows` the question says that "Save as" follows a No.
bool AskWriteOverChangedFile(const std::string& name, bool saveAsFollows = true);

// A file the user opened in the program (a catalogue, a configuration, a
// set of observations or start values), as the program last read or wrote
// it; empty when none is open.
struct TOpenedFile {
  std::string Name;
  TFileSeen File;  // its stamp and the digest of its bytes
  // Before `name` is read: the file as it is now, kept once the read
  // succeeded.
  static TOpenedFile Seen(const std::string& name) { return {name, SeeFile(name)}; }
  // Whether `name` is this file and another program changed its bytes
  // since (a file only touched is not changed: ChangedSince).
  bool ChangedOnDisk(const std::string& name) const;
};

// Saves a file the user picked, `name`: `write` writes it through the safe
// write (every name of a hard-linked file keeping the new contents, the
// mode, owner and links kept). Before any work, a name that may not be
// written (WhyNotWritable) is told with its cause (`lead`) and nothing is
// written; the file `opened` names, changed by another program since, is
// written over only when the user says so (AskWriteOverChangedFile). A
// failed write is told with its cause (a writer's own refusal,
// TWriteFailure::Refused, is told by the writer); the file then stays as
// it was. True when written, `opened` (where given) then naming the file
// as written.
using TWriteFile = std::function<bool(TWriteError& error)>;
bool SaveUserFile(const std::string& name, const TSaveFailureLead& lead, TOpenedFile* opened, const TWriteFile& write);
// The same for the whole of the file's bytes.
bool SaveUserFile(const std::string& name, std::string_view bytes, const TSaveFailureLead& lead,
                  TOpenedFile* opened = nullptr);

}  // namespace kvx
