// Pictures of windows for looking at after a test run: saved as
// <test build>/test-output/<name>.png (the test target defines
// KVX_BINARY_DIR).
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <string>

namespace kvx::test {

inline void SavePng(QWidget& widget, const std::string& name) {
  const std::filesystem::path folder = std::filesystem::path(KVX_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(folder);
  widget.grab().save(QString::fromStdString((folder / (name + ".png")).string()));
}

}  // namespace kvx::test
