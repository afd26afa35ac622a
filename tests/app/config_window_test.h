// The main window with a configuration folder of its own: what the
// configuration file tests through the window share.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/ui/main_window.h"
#include "core/name_tables.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/settings_store.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx::test {

// Keeps the language and the global tables a configuration sets for the
// other tests.
struct LanguageGuard {
  std::uint8_t saved = LanguageEnglish;
  std::array<std::uint8_t, kQuantityCount> decimals = DataFormatDecimals;
  std::array<std::uint8_t, kQuantityCount> kinds = DataFormatKind;
  ~LanguageGuard() {
    LanguageEnglish = saved;
    DataFormatDecimals = decimals;
    DataFormatKind = kinds;
  }
};

class ConfigWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (home_.Path() / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.Path() / "config").c_str(), 1);
    InitAstroNameTables();
    LanguageEnglish = 1;
    store_.WriteBool("Settings", "FirstRun", false);
  }
  std::string DataFolder() const { return (home_.Path() / "data" / "kandrevoltinex").string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  test::TempFolder home_;
  MemorySettingsStore store_;
  // Shows the window as at a start: the settings loaded, the start done.
  static void Start(TMainForm& form) {
    form.show();
    QApplication::processEvents();
    ASSERT_FALSE(form.Halted());
  }

  RecordingMessageSink messages_;
  LanguageGuard language_;
};

}  // namespace kvx::test
