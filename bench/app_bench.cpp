// Main window: loading the occultation star catalogues, building the menus
// and tool bars from the table, one status-line update.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <cstdlib>

#include "app/main_form_state.h"
#include "app/status_line.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "eclipses/star_catalogue.h"
#include "platform/paths.h"

namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_app";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *application;
}

void LoadCatalogue(benchmark::State& state, std::uint8_t choice) {
  for (auto _ : state) {
    std::int32_t selected = -1;
    auto load = kvx::LoadStarCatalogue(kvx::ShippedDataFolder(), choice, selected);
    if (!load.Catalogue) state.SkipWithError("catalogue missing");
    benchmark::DoNotOptimize(load.Catalogue);
  }
}

void BM_LoadSmallStarCatalogue(benchmark::State& state) { LoadCatalogue(state, 1); }
void BM_LoadLargeStarCatalogue(benchmark::State& state) { LoadCatalogue(state, 2); }
BENCHMARK(BM_LoadSmallStarCatalogue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLargeStarCatalogue)->Unit(benchmark::kMillisecond);

void BM_BuildMenusAndToolBars(benchmark::State& state) {
  Application();
  for (auto _ : state) {
    QMainWindow window;
    kvx::TMenuCommands commands(&window);
    benchmark::DoNotOptimize(&commands);
  }
}
BENCHMARK(BM_BuildMenusAndToolBars)->Unit(benchmark::kMillisecond);

void BM_StatusLineTexts(benchmark::State& state) {
  kvx::InitAstroNameTables();
  kvx::TMainFormState form;
  kvx::SetStartupDefaults(form);
  for (auto _ : state) benchmark::DoNotOptimize(kvx::BuildStatusTexts(form, true));
}
BENCHMARK(BM_StatusLineTexts)->Unit(benchmark::kMicrosecond);

}  // namespace
