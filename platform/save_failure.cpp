#include "platform/save_failure.h"

#include <filesystem>
#include <utility>

#include "platform/busy_cursor.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

const TSaveFailureLead kWorkbookSaveLead = {"Beim Speichern von {} ist ein Fehler aufgetreten.",
                                            "An Error occured while saving {}."};
const TSaveFailureLead kTextSaveLead = {"Fehler beim Speichern von {}.", "An error occured while saving {}.",
                                        "Datei nicht gespeichert", "Error"};

namespace {

std::string WithName(const char* text, const std::string& name) {
  std::string out = text;
  if (const std::size_t at = out.find("{}"); at != std::string::npos) out.replace(at, 2, name);
  return out;
}

// The sentence that names the cause, German and English.
std::pair<std::string, std::string> CauseSentences(const std::string& name, const TWriteError& error) {
  switch (error.Cause) {
    case TWriteFailure::FileReadOnly:
      return {"Die Datei ist schreibgeschützt und wird nicht überschrieben.",
              "The file is read-only and is not written over."};
    case TWriteFailure::FolderReadOnly: {
      const std::string folder = std::filesystem::path(ResolvedTarget(name)).parent_path().string();
      return {"Der Ordner " + folder + " ist schreibgeschützt: in ihm kann keine Datei gespeichert werden.",
              "The folder " + folder + " is write-protected: no file can be saved in it."};
    }
    case TWriteFailure::NoPermission:
      return {"Sie haben keine Berechtigung, diese Datei zu schreiben.", "You have no permission to write this file."};
    case TWriteFailure::DiskFull:
      return {"Auf dem Datenträger ist nicht genug Platz: er ist voll, oder Ihr Kontingent ist erschöpft.",
              "There is not enough room on the disk: it is full, or your quota is used up."};
    case TWriteFailure::FileGone:
      return {"Die Datei oder ihr Ordner ist nicht mehr da (gelöscht oder verschoben).",
              "The file or its folder is no longer there (deleted or moved)."};
    case TWriteFailure::InUse:
      return {"Möglicherweise ist eine Datei gleichen Namens bereits von einem anderen Programm geöffnet.",
              "Another program holds a file of the same name."};
    case TWriteFailure::None:
    case TWriteFailure::Refused:
    case TWriteFailure::Other:
      break;
  }
  if (error.Text.empty()) return {};
  return {"(" + error.Text + ")", "(" + error.Text + ")"};
}

}  // namespace

void ShowSaveFailure(const TSaveFailureLead& lead, const std::string& name, const TWriteError& error,
                     bool anotherName) {
  std::string german = WithName(lead.German, name);
  std::string english = WithName(lead.English, name);
  if (error.Cause == TWriteFailure::Refused) {
    // The writer's reason, in the interface language already.
    german += "\n" + error.Text;
    english += "\n" + error.Text;
  } else {
    const auto add = [&](const std::pair<std::string, std::string>& sentences) {
      if (sentences.first.empty()) return;
      german += " " + sentences.first;
      english += " " + sentences.second;
    };
    add(CauseSentences(name, error));
    if (!error.OldContents.empty()) {
      add({"Ihr alter Inhalt steht in " + error.OldContents + ".",
           "Its old contents are in " + error.OldContents + "."});
    } else if (FileStampOf(name).Exists) {
      add({"Die Datei bleibt, wie sie war.", "The file stays as it was."});
    }
    if (anotherName) add({"Bitte wählen Sie einen anderen Namen oder Ort.", "Please choose another name or place."});
  }
  ShowMessage(german, english, MessageIcon::Error, MessageButtons::Ok,
              LanguageEnglish != 0 ? lead.CaptionEnglish : lead.CaptionGerman);
}

std::optional<std::string> SaveUnderChosenName(std::string start, const TAskName& ask, const TWriteNamed& write,
                                               const TSaveFailureLead& lead, const TNextStart& next) {
  for (;;) {
    std::optional<std::string> chosen = ask(start);
    if (!chosen) return std::nullopt;
    TWriteError error;
    error.Cause = WhyNotWritable(*chosen);
    bool written = false;
    if (error.Cause == TWriteFailure::None) {
      BusyCursorScope busy;
      written = write(*chosen, error);
    }
    if (written) return chosen;
    if (error.Cause == TWriteFailure::Refused) return std::nullopt;
    ShowSaveFailure(lead, *chosen, error, true);
    start = next(*chosen, error.Cause);
  }
}

bool AskWriteOverChangedFile(const std::string& name, bool saveAsFollows) {
  return ShowMessage(
             "Die Datei " + name +
                 " wurde seit dem Öffnen oder dem letzten Speichern von einem anderen Programm geändert. Soll "
                 "sie trotzdem überschrieben werden?\n\nBei „Nein“ bleibt die Datei, wie sie ist, und " +
                 (saveAsFollows ? "„Speichern unter“ schlägt einen neuen Namen vor." : "nichts wird gespeichert."),
             "The file " + name +
                 " was changed by another program since it was opened or last saved. Write over it all the "
                 "same?\n\nWith \"No\" the file stays as it is and " +
                 (saveAsFollows ? "\"Save as\" proposes a new name." : "nothing is saved."),
             MessageIcon::Question, MessageButtons::YesNoDefaultNo,
             LanguageEnglish != 0 ? "File changed" : "Datei geändert") == MessageResult::Yes;
}

bool TOpenedFile::ChangedOnDisk(const std::string& name) const { return name == Name && ChangedSince(File, name); }

bool SaveUserFile(const std::string& name, const TSaveFailureLead& lead, TOpenedFile* opened, const TWriteFile& write) {
  TWriteError error;
  error.Cause = WhyNotWritable(name);
  if (error.Cause == TWriteFailure::None) {
    if (opened != nullptr && opened->ChangedOnDisk(name) && !AskWriteOverChangedFile(name, false)) return false;
    BusyCursorScope busy;
    if (write(error)) {
      if (opened != nullptr) *opened = TOpenedFile::Seen(name);
      return true;
    }
  }
  if (error.Cause != TWriteFailure::Refused) ShowSaveFailure(lead, name, error, false);
  return false;
}

bool SaveUserFile(const std::string& name, std::string_view bytes, const TSaveFailureLead& lead, TOpenedFile* opened) {
  return SaveUserFile(name, lead, opened,
                      [&](TWriteError& error) { return WriteFileReplacing(name, bytes, error, THardLinks::Keep); });
}

}  // namespace kvx
