#include "catalogues/list_messages.h"

#include <filesystem>

#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/save_failure.h"
#include "platform/text_encoding.h"

namespace kvx {

void ShowFileLimitMessage(int limit) {
  const std::string n = std::to_string(limit);
  ShowMessage("Es wurden nur die ersten " + n + " Datensätze eingelesen!",
              "Only the first " + n + " datasets were loaded!", MessageIcon::Information, MessageButtons::Ok,
              ByLanguage("Datei zu groß!", "File too large!"));
}

void ShowDatabaseLimitMessage(int limit) {
  const std::string n = std::to_string(limit);
  ShowMessage("Lediglich die ersten " + n + " Datensätze aus der Astorb-Datenbank wurden eingelesen!",
              "Only the first " + n + " datasets from the Astorb Database were loaded!", MessageIcon::Information,
              MessageButtons::Ok, ByLanguage("Datenbank zu groß", "Database too large"));
}

void ShowInvalidFormatWarning(const std::string& fileName) {
  ShowMessage("Die Datei " + fileName + " hat vermutlich ein ungültiges Format.",
              "The file " + fileName + " has probably an invalid format.", MessageIcon::Warning, MessageButtons::Ok,
              "Hinweis");
}

void ShowInvalidFormatError(const std::string& fileName) {
  ShowMessage("Die Datei " + fileName + " hat vermutlich ein ungültiges Format.",
              "The file " + fileName + " has probably an invalid format.", MessageIcon::Error);
}

std::string NoElementsText(const std::string& fileName) {
  if (LanguageEnglish != 0) return "The file " + fileName + " holds no orbital elements.";
  return "Die Datei " + fileName + " enthält keine Bahnelemente.";
}

void ShowExtensionNotSaved(bool comets, const std::string& fileName) {
  if (comets && SaveExtensionOf(fileName) == ".CAT") {
    ShowMessage(
        "Kometen werden im SkyMap-Format als *.sky gespeichert, nicht als *.cat. Die Datei " + fileName +
            " wurde nicht geschrieben.",
        "Comets are saved in the SkyMap format as *.sky, not as *.cat. The file " + fileName + " was not written.",
        MessageIcon::Warning, MessageButtons::Ok, ByLanguage("Datei nicht gespeichert", "File not saved"));
    return;
  }
  ShowMessage("Datei nicht gespeichert", "File not saved", MessageIcon::Warning, MessageButtons::Ok, "Hinweis");
}

std::string SaveExtensionOf(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return UpperCaseText(fileName.substr(dot));
}

bool WriteElementFile(const std::string& fileName, const std::string& bytes, TOpenedFile* opened) {
  static constexpr TSaveFailureLead kLead = {"Die Datei {} konnte nicht geschrieben werden.",
                                             "The file {} could not be written."};
  return SaveUserFile(fileName, bytes, kLead, opened);
}

std::string UpperExtension(const std::string& path) {
  return UpperCaseText(std::filesystem::path(path).extension().string());
}

std::string UpperFileName(const std::string& path) {
  return UpperCaseText(std::filesystem::path(path).filename().string());
}

}  // namespace kvx
