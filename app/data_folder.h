// Where the program's data files live and how the files shipped with the
// program reach that folder.
//
// The data folder is the stored "Data"/"Path" when it is set to an absolute
// path, else $XDG_DATA_HOME/kandrevoltinex ($HOME/.local/share/kandrevoltinex
// when XDG_DATA_HOME is unset, empty or relative); never the working
// directory. The shipped files lie in share/kandrevoltinex beside the
// program's bin/ folder, listed in its manifest "shipped-files.txt".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/safe_file_write.h"

namespace kvx {

inline constexpr const char* kShippedManifestName = "shipped-files.txt";

// $XDG_DATA_HOME/kandrevoltinex or $HOME/.local/share/kandrevoltinex.
std::string DefaultDataFolder();
// The stored folder when it is an absolute path (trailing '/' removed),
// else DefaultDataFolder().
std::string ResolveDataFolder(const std::optional<std::string>& stored);
// The file names the manifest of `shippedFolder` lists (one per line; blank
// lines and lines starting with '#' skipped). Empty when it cannot be read.
std::vector<std::string> ReadShippedManifest(const std::string& shippedFolder);

struct TShippedCopyFailure {
  std::string Name;        // as the manifest lists it
  TWriteError Error;       // why it is not in the data folder
  bool SourceRead = true;  // false: the shipped file could not be read
};
struct TShippedCopyResult {
  std::vector<std::string> Copied;          // names copied into the data folder
  std::vector<TShippedCopyFailure> Failed;  // the files that could not be copied
  // Why the copy of `name` (compared without regard to case) could not be
  // written into the data folder; none when it was, or when the shipped
  // file could not be read.
  const TWriteError* WriteFailureOf(const std::string& name) const;
};
// Creates the data folder when needed and copies every file of the manifest
// that the data folder lacks (names compared without regard to case). An
// existing file is never overwritten; a copy goes through the safe write,
// so a failed copy leaves no partial file and names its cause (a data
// folder that may not be written, or cannot be made, before any work).
TShippedCopyResult CopyMissingShippedFiles(const std::string& shippedFolder, const std::string& dataFolder);

// Why no file can be copied into `dataFolder` (`error`, the failed copy's),
// in a few words in the interface language `english` or German: no
// permission to write in it, a read-only file system, no room, a path
// that cannot be a folder; the system's own text for anything else.
std::string DataFolderWriteCause(const std::string& dataFolder, const TWriteError& error, bool english);

}  // namespace kvx
