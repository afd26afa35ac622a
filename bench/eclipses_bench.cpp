// Solar eclipses: the calendar of 1,000 years (1600-2600, criterion 0,
// interval 5 minutes, span 8 hours, internal Sun and Moon series), one
// search with its course at 1-minute steps, and writing the 1,000-year
// calendar into the sheet.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "core/time_scales.h"
#include "eclipses/solar_eclipse.h"
#include "platform/workbook/workbook.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

TObserverRecord At(double jd) {
  TObserverRecord r;
  r.Longitude = -9.301;
  r.Latitude = 51.191;
  r.AutoDeltaT = 1;
  r.Mjd = jd - 2400000.5;
  UTToLocalTime(r);
  r.Centuries = (jd - 2451545.0) / 36525.0 + r.DeltaTSeconds / 86400.0 / 36525.0;
  return r;
}

TSearchContext Internal() {
  TSearchContext c;
  c.Selection.bytes[0] = 0;
  c.Selection.bytes[1] = 0;
  return c;
}

void BM_SolarCalendar1000Years(benchmark::State& state) {
  const TObserverRecord start = At(CalendarDateToJd(1, 1, 1600, 0));
  const TObserverRecord end = At(CalendarDateToJd(1, 1, 2600, 0));
  for (auto _ : state) {
    tSonnenfinsternis e;
    std::vector<TSolarCalendarRow> rows;
    e.CalendarRows(Internal(), TEventStep{}, start, end, 5, 8, 0, rows);
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_SolarCalendar1000Years)->Unit(benchmark::kMillisecond);

// The same calendar with VSOP87 D and ELP-2000/82, for comparison.
void BM_SolarCalendar1000YearsElp(benchmark::State& state) {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  if (available.Elp2000 == 0 || available.Vsop87D == 0) {
    state.SkipWithError("theory libraries not found");
    return;
  }
  TSearchContext context;
  context.Selection.bytes[0] = kPlanetTheoryVsop87D;
  context.Selection.bytes[1] = 1;
  const TObserverRecord start = At(CalendarDateToJd(1, 1, 1600, 0));
  const TObserverRecord end = At(CalendarDateToJd(1, 1, 2600, 0));
  for (auto _ : state) {
    tSonnenfinsternis e;
    std::vector<TSolarCalendarRow> rows;
    e.CalendarRows(context, TEventStep{}, start, end, 5, 8, 0, rows);
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_SolarCalendar1000YearsElp)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SolarEclipseWithCourse(benchmark::State& state) {
  const TObserverRecord start = At(CalendarDateToJd(14, 8, 2017, 0));
  for (auto _ : state) {
    tSonnenfinsternis e;
    std::uint8_t maxArt = 0;
    benchmark::DoNotOptimize(e.rechnen(Internal(), 1, maxArt, 8, 5, start, TEventStep{1, 0}));
  }
}
BENCHMARK(BM_SolarEclipseWithCourse)->Unit(benchmark::kMillisecond);

void BM_SolarCalendarIntoSheet(benchmark::State& state) {
  tSonnenfinsternis e;
  std::vector<TSolarCalendarRow> rows;
  e.CalendarRows(Internal(), TEventStep{}, At(CalendarDateToJd(1, 1, 1600, 0)), At(CalendarDateToJd(1, 1, 2600, 0)),
                 5, 8, 0, rows);
  TTableConfigRecord config;
  for (auto _ : state) {
    workbook::TWorkbook book;
    TSheetSink sink(book);
    e.WriteCalendar(sink, config, rows);
    benchmark::DoNotOptimize(book.LastRow());
  }
}
BENCHMARK(BM_SolarCalendarIntoSheet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
