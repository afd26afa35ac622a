// The table dispatcher and its surroundings: a call without a table, the
// Mars table of one year of daily rows from the dispatch into the sheet, a
// location file of 32000 places, and the list search over 32000 items.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench/quiet_sink.h"
#include "app/table_dispatcher.h"
#include "app/ui/main_window.h"
#include "app/ui/table_commands.h"
#include "core/name_tables.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "setup/location_list.h"
#include "setup/ui/edit_controls.h"

namespace {

namespace fs = std::filesystem;

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_dispatch";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *application;
}

// Answers every message with Ok, silently.
fs::path Scratch() {
  static const fs::path folder = [] {
    fs::path p = fs::temp_directory_path() / ("kvx_bench_dispatch_" + std::to_string(::getpid()));
    fs::create_directories(p);
    return p;
  }();
  return folder;
}

void BM_ComputeTableWithoutTable(benchmark::State& state) {
  kvx::InitAstroNameTables();
  kvx::TMainFormState form;
  kvx::SetStartupDefaults(form);
  form.Period.ShowMessages = 0;
  kvx::TTableDispatcher dispatcher(form.Period, form.Table, form.Document, {});
  for (auto _ : state) {
    form.Table.TableKind = kvx::kNoTableKind;
    dispatcher.ComputeTable();
  }
}
BENCHMARK(BM_ComputeTableWithoutTable)->Unit(benchmark::kMicrosecond);

void BM_MarsYearIntoTheSheet(benchmark::State& state) {
  Application();
  setenv("XDG_DATA_HOME", (Scratch() / "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (Scratch() / "config").c_str(), 1);
  kvx::InitCoreTablesAtStartup(kvx::IntlSeparators);
  // The language is set and every message answered before the window
  // shows: nothing may wait for a person.
  kvx::MemorySettingsStore store;
  store.WriteBool("Settings", "FirstRun", false);
  store.WriteInteger("Settings", "Language", 0);
  kvx::ScopedSettingsStore settings(store);
  kvx::bench::QuietSink sink;
  kvx::ScopedMessageSink messages(sink);
  kvx::TMainForm window;
  window.show();
  QApplication::processEvents();
  kvx::TMainFormState& s = window.State();
  s.Table.PlaceConfirmed = 1;
  s.Period.AutoEnd = 1;
  s.Period.End.PeriodDays = 365;
  s.Period.End.PeriodHours = 0;
  for (auto _ : state) {
    s.Table.TableKind = 71;
    s.Table.ObjectNumber = 4;
    window.Tables().Dispatcher().ComputeTable();
  }
  if (window.Workbook().LastRow() < 366) state.SkipWithError("the table is short");
}
BENCHMARK(BM_MarsYearIntoTheSheet)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadLocationFile32000(benchmark::State& state) {
  const fs::path file = Scratch() / "orte32000.csv";
  {
    std::ofstream out(file);
    out << ":ORTDATEI VAMUR!\n:Ort;Geographische Länge;Geographische Breite;Zeitzone;Postleitzahl\n";
    for (int i = 0; i < 32000; ++i) out << "Ort Nummer " << i << ";-13.2400;52.3100;1;0;" << 10000 + i << "\n";
  }
  kvx::InitAstroNameTables();
  kvx::Orttabelle list;
  for (auto _ : state) {
    if (!list.Neuedateiladen(file.string(), 0, false)) state.SkipWithError("not loaded");
  }
  if (list.Count() != 32000) state.SkipWithError("wrong count");
}
BENCHMARK(BM_LoadLocationFile32000)->Unit(benchmark::kMillisecond);

void BM_FindInListControl32000(benchmark::State& state) {
  Application();
  QComboBox box;
  QStringList items;
  for (int i = 0; i < 32000; ++i) items << QString("Ortschaft %1 am Berg").arg(i);
  box.addItems(items);
  for (auto _ : state) {
    int index = -1;
    QString found;
    kvx::FindInListControl("31999 am", box, index, found, nullptr);
    benchmark::DoNotOptimize(index);
  }
}
BENCHMARK(BM_FindInListControl32000)->Unit(benchmark::kMillisecond);

}  // namespace
