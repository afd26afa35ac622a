// The speed figures of the guides' accuracy section: a table of 8,320 rows
// with the columns of a fresh start (rise, transit and set among them),
// computed and written into the workbook as the program does, on the
// accurate theory and on the internal series, timed by the processor time of
// the thread: Mars on VSOP87 D (full) and on
// the Newcomb series, the Moon on ELP-2000/82B (full) and on the internal
// series (Brown), each at a step of 1 day (from 1 January 2000) and of 9 days
// (1895 to 2100). The Moon goes through the Moon cache with the cache's
// fresh-start fit, as in the program ("Use interpolations for the moon if
// helpfull" is on after a fresh start). The guides give, per body and step,
// the counter "ratio": the time on the accurate theory over the time on the
// internal series.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/main_form_state.h"
#include "core/name_tables.h"
#include "engine/cell_format.h"
#include "engine/moon.h"
#include "engine/planet.h"
#include "engine/table_globals.h"
#include "platform/number_text.h"
#include "theories/moon_cache.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

constexpr int kRows = 8320;

TObserverRecord Midnight(int day, int month, int year) {
  TObserverRecord r;
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.Latitude = 51.191;
  r.Longitude = -9.301;
  r.Zone = 1;
  r.RefractionOn = 1;
  r.Pressure = 1010;
  r.Temperature = 10;
  r.AutoDeltaT = 1;
  return r;
}

// The request of a fresh start over kRows rows at `stepDays`, with the
// planets (Mars) or the Moon on the accurate theory or the internal series.
TTableRequest Request(bool moon, bool accurate, int stepDays) {
  static const TLibraryAvailability libraries = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  (void)libraries;
  TMainFormState state;
  SetStartupDefaults(state);
  TEphemerisPeriodState& period = state.Period;
  period.Start = stepDays == 1 ? Midnight(1, 1, 2000) : Midnight(1, 1, 1895);
  period.End = period.Start;
  period.End.LocalHours = (kRows - 1) * stepDays * 24.0 + 1.0;
  period.Step = TTableStep{stepDays, 0.0, static_cast<double>(stepDays)};
  period.Selection.bytes[0] = !moon && accurate ? kPlanetTheoryVsop87D : kPlanetTheoryInternal;
  period.Selection.bytes[1] = moon && accurate ? 1 : 0;
  return TableRequestOf(period, state.Table, state.Computing, 1);
}

// Computes the table of the request and writes it into a new sheet, as the
// program does; returns its rows.
int Run(const TTableRequest& request, bool moon) {
  TSheet sheet;
  int rows = 0;
  if (moon) {
    tmooncheb cache(kMoonCacheDefaultSpanDays, kMoonCacheDefaultDegree);
    MoonPositionCache = &cache;
    Tmondtab table(1, 0, request, &sheet);
    table.initialisieren(1, 0, request);
    table.schleife(TComputeSettingsBlock{}, 0, 1);
    table.paint(1);
    rows = table.Rows;
    MoonPositionCache = nullptr;
  } else {
    Tplatab table(request, &sheet, 4);
    table.initialisieren(request, 4);
    table.schleife(TComputeSettingsBlock{}, 0, 1);
    table.paint(1);
    rows = table.Rows;
  }
  benchmark::DoNotOptimize(sheet.LastRow());
  return rows;
}

// The processor time of this thread, seconds: what the other programs on
// the machine take does not count.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Arguments: body (0 Mars, 1 the Moon), step in days. Each iteration computes
// the table on both theories, one after the other, the order alternating;
// the counters give each theory's processor time per table and their ratio
// (accurate over internal), the guides' figure.
void BM_AccurateOverInternal(benchmark::State& state) {
  InitAstroNameTables();
  const bool moon = state.range(0) != 0;
  const int stepDays = static_cast<int>(state.range(1));
  const TTableRequest requests[2] = {Request(moon, false, stepDays), Request(moon, true, stepDays)};
  // Once before the clock runs: the first table of a run pays for what the
  // program sets up on first use.
  static const bool warm = [] {
    for (const bool m : {false, true}) {
      TTableRequest shortRequest = Request(m, true, 1);
      shortRequest.End = shortRequest.Start;
      shortRequest.End.LocalHours = 24 * 20;
      Run(shortRequest, m);
    }
    return true;
  }();
  benchmark::DoNotOptimize(warm);
  double seconds[2] = {0, 0};
  bool rowsRight = true;
  std::int64_t n = 0;
  for (auto _ : state) {
    for (int k = 0; k < 2; ++k) {
      const int theory = (n % 2 == 0) == (k == 0) ? 0 : 1;
      const double before = ThreadSeconds();
      rowsRight = rowsRight && Run(requests[theory], moon) == kRows;
      seconds[theory] += ThreadSeconds() - before;
    }
    ++n;
  }
  if (!rowsRight) state.SkipWithError("a table has not the rows it should");
  const double count = static_cast<double>(std::max<std::int64_t>(n, 1));
  state.counters["internal_ms"] = 1000 * seconds[0] / count;
  state.counters["accurate_ms"] = 1000 * seconds[1] / count;
  state.counters["ratio"] = seconds[0] > 0 ? seconds[1] / seconds[0] : 0;
  state.SetLabel(std::string(moon ? "Moon, ELP-2000/82B over Brown" : "Mars, VSOP87 D over Newcomb") + ", step " +
                 WholeNumberText(stepDays) + (stepDays == 1 ? " day" : " days"));
}
BENCHMARK(BM_AccurateOverInternal)
    ->ArgsProduct({{0, 1}, {1, 9}})
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
