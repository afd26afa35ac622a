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

struct TShippedCopyResult {
  std::vector<std::string> Copied;  // names copied into the data folder
  std::vector<std::string> Failed;  // "name: reason" of files that could not be copied
};
// Creates the data folder when needed and copies every file of the manifest
// that the data folder lacks (names compared without regard to case). An
// existing file is never overwritten; a copy goes through a temporary file,
// so a failed copy leaves no partial file.
TShippedCopyResult CopyMissingShippedFiles(const std::string& shippedFolder, const std::string& dataFolder);

}  // namespace kvx
