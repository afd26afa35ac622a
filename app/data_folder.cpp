#include "app/data_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "eclipses/star_catalogue.h"
#include "platform/paths.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace fs = std::filesystem;

std::string DefaultDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && *xdg == '/') return (fs::path(xdg) / "kandrevoltinex").string();
  const char* home = std::getenv("HOME");
  const std::string base = home != nullptr && *home == '/' ? home : "/tmp";
  return (fs::path(base) / ".local" / "share" / "kandrevoltinex").string();
}

std::string ResolveDataFolder(const std::optional<std::string>& stored) {
  if (stored && !stored->empty() && stored->front() == '/') {
    std::string folder = *stored;
    return StripTrailingBackslash(folder);
  }
  return DefaultDataFolder();
}

std::vector<std::string> ReadShippedManifest(const std::string& shippedFolder) {
  std::vector<std::string> lines;
  std::vector<std::string> names;
  if (shippedFolder.empty()) return names;  // never the working directory
  if (!ReadTextFileLines((fs::path(shippedFolder) / kShippedManifestName).string(), lines)) return names;
  for (std::string& line : lines) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    names.push_back(line);
  }
  return names;
}

TShippedCopyResult CopyMissingShippedFiles(const std::string& shippedFolder, const std::string& dataFolder) {
  TShippedCopyResult result;
  std::error_code error;
  fs::create_directories(dataFolder, error);
  for (const std::string& name : ReadShippedManifest(shippedFolder)) {
    if (!FindFileIgnoringCase(dataFolder, name).empty()) continue;
    const fs::path source = fs::path(shippedFolder) / name;
    const std::string target = (fs::path(dataFolder) / name).string();
    const std::string temporary = FreeTemporaryPath(target);
    std::string reason;
    if (temporary.empty()) {
      result.Failed.push_back(name + ": no free temporary name");
      continue;
    }
    fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, error);
    if (error) {
      fs::remove(temporary, error);
      result.Failed.push_back(name + ": cannot copy " + source.string());
      continue;
    }
    if (!ReplaceWithTemporary(temporary, target, reason)) {
      result.Failed.push_back(name + ": " + reason);
      continue;
    }
    result.Copied.push_back(name);
  }
  return result;
}

}  // namespace kvx
