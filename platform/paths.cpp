#include "platform/paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/text_encoding.h"

namespace kvx {

namespace fs = std::filesystem;

void LongPathName(const std::string& path, std::string& result) {
  std::error_code error;
  fs::path absolute = fs::absolute(fs::path(path), error);
  if (error) {
    result = path;
    return;
  }
  absolute = absolute.lexically_normal();
  fs::path built = absolute.root_path();
  fs::path relative = absolute.relative_path();
  bool found = true;
  for (const fs::path& component : relative) {
    if (component.empty()) continue;
    if (!found) {
      built /= component;
      continue;
    }
    fs::path candidate = built / component;
    if (fs::exists(fs::symlink_status(candidate, error))) {
      built = candidate;
      continue;
    }
    // Look for the entry under another spelling (case ignored).
    std::string wanted = UpperCaseText(component.string());
    fs::path match;
    int matches = 0;
    fs::directory_iterator it(built, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
      if (UpperCaseText(it->path().filename().string()) == wanted) {
        match = it->path().filename();
        ++matches;
      }
    }
    if (matches == 1) {
      built /= match;
    } else {
      found = false;
      built /= component;
    }
    error.clear();
  }
  std::string text = built.string();
  // Keep a trailing separator the caller wrote.
  if (!path.empty() && path.back() == '/' && (text.empty() || text.back() != '/')) text += '/';
  result = text;
}

std::string StripTrailingBackslash(std::string& path) {
  const char separator = path.find('/') == std::string::npos ? '\\' : '/';
  // "/" and "C:\" (or "C:/") are roots and keep their separator.
  const std::size_t root = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/') ? 3 : 1;
  while (path.size() > root && path.back() == separator) path.pop_back();
  return path;
}

bool WildcardMatch(const std::string& mask, const std::string& name) {
  const std::u32string m = UpperCaseCodePoints(mask);
  const std::u32string n = UpperCaseCodePoints(name);
  // Iterative matching with one backtrack point: linear in practice, bounded
  // by |m| x |n| steps.
  std::size_t mi = 0, ni = 0, star = std::u32string::npos, resume = 0;
  while (ni < n.size()) {
    if (mi < m.size() && (m[mi] == U'?' || m[mi] == n[ni])) {
      ++mi, ++ni;
    } else if (mi < m.size() && m[mi] == U'*') {
      star = mi++;
      resume = ni;
    } else if (star != std::u32string::npos) {
      mi = star + 1;
      ni = ++resume;
    } else {
      return false;
    }
  }
  while (mi < m.size() && m[mi] == U'*') ++mi;
  return mi == m.size();
}

void SearchFilesRecursive(const std::string& folder, const std::string& mask,
                          const std::function<void(const std::string&)>& found) {
  std::vector<std::string> paths;
  std::error_code error;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code statusError;
    if (it->is_regular_file(statusError) && WildcardMatch(mask, it->path().filename().string())) {
      paths.push_back(it->path().string());
    }
  }
  std::sort(paths.begin(), paths.end());
  for (const std::string& p : paths) found(p);
}

std::string ExecutableFolder() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (error) return fs::current_path(error).string();
  return exe.parent_path().string();
}

std::string ShippedDataFolderPath() {
  return (fs::path(ExecutableFolder()).parent_path() / "share" / "kandrevoltinex" / "data").string();
}

std::string ShippedDataFolder() {
  const std::string folder = ShippedDataFolderPath();
  std::error_code error;
  if (!fs::is_directory(folder, error)) return {};
  return folder;
}

}  // namespace kvx
