#include "platform/settings_store.h"

#include <charconv>
#include <cstdlib>
#include <utility>

#include "platform/paths.h"

namespace kvx {

namespace {

MemorySettingsStore fallback_store;
SettingsStore* current_store = nullptr;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string SettingsStore::StringOr(const std::string& section, const std::string& name, const std::string& fallback) {
  return ReadString(section, name).value_or(fallback);
}

std::int64_t SettingsStore::IntegerOr(const std::string& section, const std::string& name, std::int64_t fallback) {
  return ReadInteger(section, name).value_or(fallback);
}

bool SettingsStore::BoolOr(const std::string& section, const std::string& name, bool fallback) {
  return ReadBool(section, name).value_or(fallback);
}

std::optional<std::int64_t> SettingsStore::ReadInteger(const std::string& section, const std::string& name) {
  std::optional<std::string> text = ReadString(section, name);
  if (!text) return std::nullopt;
  const std::string trimmed = Trimmed(*text);
  std::int64_t value = 0;
  const char* end = trimmed.data() + trimmed.size();
  auto [at, error] = std::from_chars(trimmed.data(), end, value);
  if (error != std::errc() || at != end || trimmed.empty()) return std::nullopt;
  return value;
}

std::optional<bool> SettingsStore::ReadBool(const std::string& section, const std::string& name) {
  std::optional<std::string> text = ReadString(section, name);
  if (!text) return std::nullopt;
  const std::string trimmed = Trimmed(*text);
  if (trimmed == "true" || trimmed == "1") return true;
  if (trimmed == "false" || trimmed == "0") return false;
  return std::nullopt;
}

void SettingsStore::WriteInteger(const std::string& section, const std::string& name, std::int64_t value) {
  WriteString(section, name, std::to_string(value));
}

void SettingsStore::WriteBool(const std::string& section, const std::string& name, bool value) {
  WriteString(section, name, value ? "true" : "false");
}

std::optional<std::string> MemorySettingsStore::ReadString(const std::string& section, const std::string& name) {
  auto it = values.find({section, name});
  if (it == values.end()) return std::nullopt;
  return it->second;
}

void MemorySettingsStore::WriteString(const std::string& section, const std::string& name, const std::string& value) {
  values[{section, name}] = value;
}

void MemorySettingsStore::EraseValue(const std::string& section, const std::string& name) {
  values.erase({section, name});
}

void MemorySettingsStore::EraseSection(const std::string& section) {
  for (auto it = values.begin(); it != values.end();) {
    it = it->first.first == section ? values.erase(it) : std::next(it);
  }
}

std::string SettingsFilePath() {
  std::string base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  return StripTrailingBackslash(base) + "/kandrevoltinex/kandrevoltinex.ini";
}

SettingsStore* SetSettingsStore(SettingsStore* store) { return std::exchange(current_store, store); }

SettingsStore& CurrentSettingsStore() { return current_store != nullptr ? *current_store : fallback_store; }

}  // namespace kvx
