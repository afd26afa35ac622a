#include "app/data_folder.h"

#include <sys/statvfs.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "eclipses/star_catalogue.h"
#include "platform/ascii_case.h"
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

const TWriteError* TShippedCopyResult::WriteFailureOf(const std::string& name) const {
  for (const TShippedCopyFailure& failure : Failed) {
    if (failure.SourceRead && AsciiUpper(failure.Name) == AsciiUpper(name)) return &failure.Error;
  }
  return nullptr;
}

TShippedCopyResult CopyMissingShippedFiles(const std::string& shippedFolder, const std::string& dataFolder) {
  TShippedCopyResult result;
  std::error_code made;
  fs::create_directories(dataFolder, made);
  for (const std::string& name : ReadShippedManifest(shippedFolder)) {
    if (!FindFileIgnoringCase(dataFolder, name).empty()) continue;
    const std::string source = (fs::path(shippedFolder) / name).string();
    const std::string target = (fs::path(dataFolder) / name).string();
    TShippedCopyFailure failure;
    failure.Name = name;
    TWriteError& error = failure.Error;
    std::string bytes, reason;
    if (made) {
      error.FailWithErrno(made.value(), "cannot create the folder " + dataFolder);
    } else if (!ReadFileBytes(source, bytes, reason)) {
      error.Fail(TWriteFailure::Other, "cannot read " + source + ": " + reason);
      failure.SourceRead = false;
    } else if (error.Cause = WhyNotWritable(target); error.Cause != TWriteFailure::None) {
      error.Text = "cannot write " + target;
    } else if (WriteFileReplacing(target, bytes, error, THardLinks::Keep)) {
      result.Copied.push_back(name);
      continue;
    }
    result.Failed.push_back(std::move(failure));
  }
  return result;
}

std::string DataFolderWriteCause(const std::string& dataFolder, const TWriteError& error, bool english) {
  // The folder, or the nearest one above it that is there.
  fs::path folder = dataFolder;
  std::error_code ec;
  while (!folder.empty() && folder != folder.parent_path() && !fs::exists(folder, ec)) folder = folder.parent_path();
  struct statvfs system {};
  const bool readOnlySystem = ::statvfs(folder.c_str(), &system) == 0 && (system.f_flag & ST_RDONLY) != 0;
  switch (error.Cause) {
    case TWriteFailure::FolderReadOnly:
    case TWriteFailure::FileReadOnly:
    case TWriteFailure::NoPermission:
      if (readOnlySystem) {
        return english ? "it lies on a read-only file system" : "er liegt auf einem schreibgeschützten Dateisystem";
      }
      return english ? "permission denied: you may not write in it"
                     : "Zugriff verweigert: Sie dürfen in ihm nicht schreiben";
    case TWriteFailure::DiskFull:
      return english ? "there is no room on the disk: it is full, or your quota is used up"
                     : "auf dem Datenträger ist kein Platz: er ist voll, oder Ihr Kontingent ist erschöpft";
    case TWriteFailure::FileGone:
      return english ? "it cannot be made: a part of its path is missing or is a file"
                     : "er kann nicht angelegt werden: ein Teil seines Pfades fehlt oder ist eine Datei";
    default:
      return error.Text;
  }
}

}  // namespace kvx
