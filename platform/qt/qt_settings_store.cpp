#include "platform/qt/qt_settings_store.h"

#include <QString>
#include <QVariant>

namespace kvx {

namespace {

QString Key(const std::string& section, const std::string& name) {
  return QString::fromStdString(section) + '/' + QString::fromStdString(name);
}

}  // namespace

QtSettingsStore::QtSettingsStore() : QtSettingsStore(SettingsFilePath()) {}

QtSettingsStore::QtSettingsStore(const std::string& path)
    : settings_(QString::fromStdString(path), QSettings::IniFormat) {}

std::string QtSettingsStore::FilePath() const { return settings_.fileName().toStdString(); }

std::optional<std::string> QtSettingsStore::ReadString(const std::string& section, const std::string& name) {
  const QVariant value = settings_.value(Key(section, name));
  if (!value.isValid()) return std::nullopt;
  // A value holding commas comes back as a list: join it as it was written.
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(", ").toStdString();
  return value.toString().toStdString();
}

std::optional<std::int64_t> QtSettingsStore::ReadInteger(const std::string& section, const std::string& name) {
  std::optional<std::string> text = ReadString(section, name);
  if (!text) return std::nullopt;
  bool ok = false;
  const qlonglong value = QString::fromStdString(*text).trimmed().toLongLong(&ok);
  if (!ok) return std::nullopt;
  return static_cast<std::int64_t>(value);
}

std::optional<bool> QtSettingsStore::ReadBool(const std::string& section, const std::string& name) {
  std::optional<std::string> text = ReadString(section, name);
  if (!text) return std::nullopt;
  const QString trimmed = QString::fromStdString(*text).trimmed();
  if (trimmed == "true" || trimmed == "1") return true;
  if (trimmed == "false" || trimmed == "0") return false;
  return std::nullopt;
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& name, const std::string& value) {
  settings_.setValue(Key(section, name), QString::fromStdString(value));
  settings_.sync();
}

void QtSettingsStore::WriteInteger(const std::string& section, const std::string& name, std::int64_t value) {
  settings_.setValue(Key(section, name), static_cast<qlonglong>(value));
  settings_.sync();
}

void QtSettingsStore::WriteBool(const std::string& section, const std::string& name, bool value) {
  settings_.setValue(Key(section, name), value);
  settings_.sync();
}

void QtSettingsStore::EraseValue(const std::string& section, const std::string& name) {
  settings_.remove(Key(section, name));
  settings_.sync();
}

void QtSettingsStore::EraseSection(const std::string& section) {
  settings_.remove(QString::fromStdString(section));
  settings_.sync();
}

}  // namespace kvx
