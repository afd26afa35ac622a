// The common start of the main-window command tests: a temporary folder as
// the data and configuration home, the core tables with the program's
// separators, settings in memory with the first-run question answered (or
// showing the window would wait for it), and a recording message sink.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/ui/main_window.h"
#include "core/name_tables.h"
#include "platform/globals.h"
#include "platform/settings_store.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx::test {

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (home_.Path() / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.Path() / "config").c_str(), 1);
    InitCoreTablesAtStartup(IntlSeparators);
    store_.WriteBool("Settings", "FirstRun", false);
  }

  // The window at 1400 x 800, shown, its pending events processed.
  static void ShowForm(TMainForm& form) {
    form.resize(1400, 800);
    form.show();
    QApplication::processEvents();
  }

  TempFolder home_;
  MemorySettingsStore store_;
  RecordingMessageSink messages_;
};

}  // namespace kvx::test
