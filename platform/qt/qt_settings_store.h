// The settings kept in an INI file through QSettings. Sections are the INI
// groups; value names are kept as written (QSettings escapes blanks and other
// characters in the file). Every change is written to the file at once.
#pragma once

#include <QSettings>
#include <string>

#include "platform/settings_store.h"

namespace kvx {

class QtSettingsStore : public SettingsStore {
 public:
  // The file named by SettingsFilePath() at the moment of construction.
  QtSettingsStore();
  explicit QtSettingsStore(const std::string& path);

  std::optional<std::string> ReadString(const std::string& section, const std::string& name) override;
  std::optional<std::int64_t> ReadInteger(const std::string& section, const std::string& name) override;
  std::optional<bool> ReadBool(const std::string& section, const std::string& name) override;
  void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
  void WriteInteger(const std::string& section, const std::string& name, std::int64_t value) override;
  void WriteBool(const std::string& section, const std::string& name, bool value) override;
  void EraseValue(const std::string& section, const std::string& name) override;
  void EraseSection(const std::string& section) override;

  std::string FilePath() const;

 private:
  QSettings settings_;
};

}  // namespace kvx
