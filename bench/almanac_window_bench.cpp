// The almanac as the window runs it: every body, kind and section from
// 2024 Jan 1 over a month, a year and ten years, with the main window's
// progress panel (bar, label, cancel button) shown on the offscreen
// platform, so that what the run shows of its progress is part of the time
// (target under 5 s a year).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdlib>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "events/almanac.h"
#include "platform/qt/qt_progress.h"
#include "tests/engine/sun_planet_support.h"
#include "tests/support/theory_selection.h"

namespace kvx {
namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_almanac_window";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *application;
}

TObserverRecord At(double mjdUT) {
  InitAstroNameTables();
  return test::ObserverAtPlace(MjdToJd(mjdUT), 69.2, test::Place{50, 10, 0}, test::PlanetAndMoonTheory(0, 0));
}

void AlmanacWithProgressPanel(benchmark::State& state) {
  Application();
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* bar = new QProgressBar;
  auto* caption = new QLabel;
  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"));
  layout->addWidget(caption);
  layout->addWidget(bar);
  layout->addWidget(cancel);
  window.resize(600, 120);
  window.show();
  QtProgress progress(bar, caption, cancel);
  ProgressReporter* previous = SetProgressReporter(&progress);

  const double start = 60310;  // 2024 Jan 1
  TAlmanacRequest request;
  request.Mode = TAlmanacMode::Almanac;
  request.Context.Selection = test::PlanetAndMoonTheory(0, 0);
  request.Context.FastSearch = 1;
  request.Start = At(start);
  request.End = At(start + static_cast<double>(state.range(0)));
  request.Options = AllAlmanacOptions();
  int events = 0;
  for (auto _ : state) {
    TEventList list;
    GenerateAlmanac(request, list);
    events = list.Count();
  }
  state.counters["events"] = events;
  SetProgressReporter(previous);
}
BENCHMARK(AlmanacWithProgressPanel)->Arg(31)->Arg(366)->Arg(3653)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
