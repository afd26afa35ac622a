#include "platform/safe_file_write.h"

#include <filesystem>
#include <fstream>

namespace kvx {

namespace fs = std::filesystem;

std::string FreeTemporaryPath(const std::string& path) {
  // Bounded search for a name beside the target.
  std::error_code error;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = path + ".kvxtmp" + (attempt == 0 ? "" : std::to_string(attempt));
    if (!fs::exists(fs::symlink_status(candidate, error))) return candidate;
  }
  return std::string();
}

bool ReplaceWithTemporary(const std::string& temporary, const std::string& path, std::string& error) {
  std::error_code code;
  fs::rename(temporary, path, code);
  if (code) {
    error = "cannot replace " + path + ": " + code.message();
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

std::string WriteTemporaryBeside(const std::string& path, std::string_view bytes, std::string& error) {
  const std::string temporary = FreeTemporaryPath(path);
  if (temporary.empty()) {
    error = "cannot create a temporary file beside " + path;
    return {};
  }
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) {
    error = "cannot create " + temporary;
    return {};
  }
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) {
    out.close();
    error = "cannot write " + temporary;
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return {};
  }
  return temporary;
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string& error) {
  const std::string temporary = WriteTemporaryBeside(path, bytes, error);
  return !temporary.empty() && ReplaceWithTemporary(temporary, path, error);
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  std::string ignored;
  return WriteFileReplacing(path, bytes, ignored);
}

}  // namespace kvx
