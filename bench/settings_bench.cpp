// The language switch of the main window (menus, hints, file dialogs, name
// tables, status line) and the stored settings read from and written to the
// INI file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "app/settings_io.h"
#include "app/ui/main_window.h"
#include "core/name_tables.h"
#include "platform/messages.h"
#include "tests/support/recording_message_sink.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/settings_store.h"

namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_settings";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *application;
}

// Two switches per iteration: to English and back to German.
void BM_LanguageSwitchBothWays(benchmark::State& state) {
  Application();
  kvx::InitAstroNameTables();
  kvx::MemorySettingsStore store;
  kvx::ScopedSettingsStore settings(store);
  kvx::TMainForm form;
  kvx::RecordingMessageSink messages;
  kvx::ScopedMessageSink sink(messages);
  for (auto _ : state) {
    form.SetLanguage(1);
    form.SetLanguage(0);
  }
}
BENCHMARK(BM_LanguageSwitchBothWays)->Unit(benchmark::kMillisecond);

void BM_StoredSettingsFromAndToTheIniFile(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kvx_bench_settings";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "kandrevoltinex.ini").string();
  {
    kvx::QtSettingsStore file(path);
    kvx::WriteStoredSettings(file, kvx::DefaultStoredSettings("/data"), "/data", 12);
  }
  for (auto _ : state) {
    kvx::QtSettingsStore file(path);
    kvx::TStoredSettings s = kvx::ReadStoredSettings(file, "/data");
    benchmark::DoNotOptimize(s);
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StoredSettingsFromAndToTheIniFile)->Unit(benchmark::kMillisecond);

}  // namespace
