#include "core/safe_file_write.h"

#include <filesystem>
#include <fstream>

namespace kvx {

namespace fs = std::filesystem;

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  const fs::path target(path);
  // A name beside the target that nothing uses yet (bounded search).
  fs::path temporary;
  std::error_code error;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = target.string() + ".kvxtmp" + (attempt == 0 ? "" : std::to_string(attempt));
    if (!fs::exists(fs::symlink_status(candidate, error))) {
      temporary = candidate;
      break;
    }
  }
  if (temporary.empty()) return false;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temporary, error);
      return false;
    }
  }
  fs::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

}  // namespace kvx
