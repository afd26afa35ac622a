// The program's settings as a seam: dialogs and the main window read and
// write named values by section ("Settings", "Window", "Files", "Data") and
// name (spelt as the user sees them, blanks included). The main window
// installs a QtSettingsStore (an INI file, platform/qt/qt_settings_store.h);
// tests install a MemorySettingsStore.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace kvx {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // A stored value, or nothing when the value is missing or (for integers and
  // booleans) does not read as one.
  virtual std::optional<std::string> ReadString(const std::string& section, const std::string& name) = 0;
  virtual void WriteString(const std::string& section, const std::string& name, const std::string& value) = 0;
  virtual void EraseValue(const std::string& section, const std::string& name) = 0;
  virtual void EraseSection(const std::string& section) = 0;

  // Integers and booleans kept as the text the settings file holds: a decimal
  // integer, "true" or "false" (read also as "1" or "0"), blanks and tabs
  // around it passed over. A store with typed values of its own overrides them.
  virtual std::optional<std::int64_t> ReadInteger(const std::string& section, const std::string& name);
  virtual std::optional<bool> ReadBool(const std::string& section, const std::string& name);
  virtual void WriteInteger(const std::string& section, const std::string& name, std::int64_t value);
  virtual void WriteBool(const std::string& section, const std::string& name, bool value);

  // The value or `fallback` when it is missing or unreadable.
  std::string StringOr(const std::string& section, const std::string& name, const std::string& fallback);
  std::int64_t IntegerOr(const std::string& section, const std::string& name, std::int64_t fallback);
  bool BoolOr(const std::string& section, const std::string& name, bool fallback);
};

// Settings held in memory: the store of the tests and the fallback while no
// other store is installed. Values keep the text they would have in the
// file, so reading a string as an integer behaves as with the file.
class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<std::string> ReadString(const std::string& section, const std::string& name) override;
  void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
  void EraseValue(const std::string& section, const std::string& name) override;
  void EraseSection(const std::string& section) override;

  // (section, name) -> stored text.
  std::map<std::pair<std::string, std::string>, std::string> values;
};

// The settings file: $XDG_CONFIG_HOME/kandrevoltinex/kandrevoltinex.ini, or
// $HOME/.config/kandrevoltinex/kandrevoltinex.ini when XDG_CONFIG_HOME is
// unset, empty or not an absolute path. Read from the environment at each
// call.
std::string SettingsFilePath();

// Installs the store the program uses; returns the previous one. With none
// installed a process-wide MemorySettingsStore answers.
SettingsStore* SetSettingsStore(SettingsStore* store);
SettingsStore& CurrentSettingsStore();

// Installs a store for the lifetime of the guard.
class ScopedSettingsStore {
 public:
  explicit ScopedSettingsStore(SettingsStore& store) : previous_(SetSettingsStore(&store)) {}
  ~ScopedSettingsStore() { SetSettingsStore(previous_); }
  ScopedSettingsStore(const ScopedSettingsStore&) = delete;
  ScopedSettingsStore& operator=(const ScopedSettingsStore&) = delete;

 private:
  SettingsStore* previous_;
};

}  // namespace kvx
