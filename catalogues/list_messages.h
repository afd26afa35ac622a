// The messages and the file writing the element lists share.
#pragma once

#include <string>

#include "platform/save_failure.h"

namespace kvx {

// "Es wurden nur die ersten <limit> Datensätze eingelesen!" titled
// "Datei zu groß!" (information icon).
void ShowFileLimitMessage(int limit);
// "Lediglich die ersten <limit> Datensätze aus der Astorb-Datenbank wurden
// eingelesen!" titled "Datenbank zu groß" (information icon).
void ShowDatabaseLimitMessage(int limit);
// "Die Datei <name> hat vermutlich ein ungültiges Format." with the given
// icon; the warning carries the caption "Hinweis", the error none.
void ShowInvalidFormatWarning(const std::string& fileName);
void ShowInvalidFormatError(const std::string& fileName);
// "Die Datei <name> enthält keine Bahnelemente." / "The file <name> holds no
// orbital elements."
std::string NoElementsText(const std::string& fileName);
// The refusal of a save under an extension the list does not write. Comets
// under ".cat" (SkyMap's other extension) are told why: "Kometen werden im
// SkyMap-Format als *.sky gespeichert, nicht als *.cat. Die Datei <name>
// wurde nicht geschrieben." / "Comets are saved in the SkyMap format as
// *.sky, not as *.cat. The file <name> was not written.", caption "Datei
// nicht gespeichert" / "File not saved" as the writers' refusals; any
// other extension "Datei nicht gespeichert" / "File not saved" under
// "Hinweis". Both with the warning icon.
void ShowExtensionNotSaved(bool comets, const std::string& fileName);
// Replaces `fileName` with `bytes` through a temporary file. On failure shows
// "Die Datei <name> konnte nicht geschrieben werden ..." and returns false;
// the old file is then unchanged. The file `opened` names (where given),
// changed by another program since, is written over only when the user
// says so.
bool WriteElementFile(const std::string& fileName, const std::string& bytes, TOpenedFile* opened = nullptr);
// The upper-case extension of a path with its dot (".CSV"), empty when none.
std::string UpperExtension(const std::string& path);
// The upper-case extension of a name chosen in the save dialog, with its
// dot (empty when the last dot is in a folder name or there is none; a
// name that is only an extension, "/x/.csv", has one).
std::string SaveExtensionOf(const std::string& fileName);
// The upper-case file name without its folder.
std::string UpperFileName(const std::string& path);

}  // namespace kvx
