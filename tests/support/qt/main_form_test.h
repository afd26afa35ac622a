// The common start of the main-window command tests: a temporary folder as
// the data and configuration home, the core tables with the program's
// separators, settings in memory with the first-run question answered (or
// showing the window would wait for it), and a recording message sink;
// with the helpers those tests share (answering modal windows:
// support/qt/answer_modal.h).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/ui/main_window.h"
#include "core/name_tables.h"
#include "core/observer_record.h"
#include "platform/globals.h"
#include "platform/settings_store.h"
#include "support/qt/answer_modal.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx::test {

// `r` at local midnight of the date, its UT fields following.
inline void SetDate(TObserverRecord& r, int day, int month, int year) {
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = 0;
  LocalTimeToUT(r);
}

// As SetDate, the place Berlin: 52.52 N, 13.4 E, zone 1 without daylight
// saving or extra minutes.
inline void SetBerlinDate(TObserverRecord& r, int day, int month, int year) {
  r.Latitude = 52.52;
  r.Longitude = -13.4;
  r.Zone = 1;
  r.DaylightHours = 0;
  r.ZoneMinutes = 0;
  SetDate(r, day, month, year);
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (home_.Path() / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.Path() / "config").c_str(), 1);
    InitCoreTablesAtStartup(IntlSeparators);
    store_.WriteBool("Settings", "FirstRun", false);
  }

  // For a test whose expected texts are written with the program's default
  // separators (a decimal point, dates joined by '-'): the desktop's
  // separators, which the German and French runs take
  // (support/desktop_locale.h), are set aside until the test ends.
  static void UseDefaultSeparators() { ApplyLocaleSeparators(TIntlSeparators{}); }

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
