// Occultations by the Moon: a year of stars for one place against the large
// catalogue (all stars, limit 10.00) with the internal Moon series and with
// ELP-2000/82, a year of planets, the dialog's name search over the large
// catalogue (one keystroke) and writing 1,000 events into the sheet.
// Occultations of stars by the planets and an asteroid: one year with all
// bodies (occultations and conjunctions only) and one body for ten years,
// against the large catalogue, limit 10.00; the internal series and VSOP87 D.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "eclipses/lunar_occultation.h"
#include "eclipses/occultation_output.h"
#include "eclipses/planet_occultation.h"
#include "eclipses/planet_star_occultation.h"
#include "engine/table_sink.h"
#include "platform/paths.h"
#include "platform/workbook/workbook.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

TObserverRecord At(double jd) {
  TObserverRecord r;
  r.Longitude = -13.4;
  r.Latitude = 52.5;
  r.DeltaTSeconds = 69;
  r.Mjd = jd - 2400000.5;
  UTToLocalTime(r);
  return r;
}

TSearchContext Context(bool elp) {
  TSearchContext c;
  c.Selection.bytes[0] = elp ? 1 : 0;
  c.Selection.bytes[1] = elp ? 1 : 0;
  return c;
}

std::shared_ptr<const TStarCatalogue> Large() {
  static std::shared_ptr<const TStarCatalogue> catalogue = [] {
    std::int32_t selected = -1;
    return LoadStarCatalogue(ShippedDataFolder(), 2, selected).Catalogue;
  }();
  return catalogue;
}

void StarYear(benchmark::State& state, bool elp) {
  if (!Large()) {
    state.SkipWithError("OCCINP95.DAT not found");
    return;
  }
  if (elp) {
    static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
    if (available.Elp2000 == 0) {
      state.SkipWithError("theory libraries not found");
      return;
    }
  }
  TLunarOccultationOptions options;
  options.LimitingMagnitude = 10.f;
  std::size_t events = 0;
  for (auto _ : state) {
    tsternbedeckung search(Large());
    search.rechnen(Context(elp), At(2461406.5), At(2461041.5), options);
    events = search.ergebnisse.Count();
  }
  state.counters["events"] = static_cast<double>(events);
}
void BM_LunarOccultationsOfStarsOneYear(benchmark::State& state) { StarYear(state, false); }
BENCHMARK(BM_LunarOccultationsOfStarsOneYear)->Unit(benchmark::kMillisecond);
void BM_LunarOccultationsOfStarsOneYearElp(benchmark::State& state) { StarYear(state, true); }
BENCHMARK(BM_LunarOccultationsOfStarsOneYearElp)->Unit(benchmark::kMillisecond)->Iterations(1);

TAsteroidElements Vesta() {
  TAsteroidElements e;
  e.Name = "Vesta";
  e.SemiMajorAxis = 2.3615;
  e.Eccentricity = 0.0894;
  e.Inclination = 7.142;
  e.Node = 103.81;
  e.Perihelion = 151.2;
  e.MeanAnomaly = 20.0;
  e.Epoch = 2461041.5;
  e.Equinox = 2000;
  return e;
}

void PlanetStars(benchmark::State& state, bool vsop, bool conjunctions, bool tenYears) {
  if (!Large()) {
    state.SkipWithError("OCCINP95.DAT not found");
    return;
  }
  TSearchContext context = Context(false);
  if (vsop) {
    static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
    if (available.Vsop87D == 0) {
      state.SkipWithError("theory libraries not found");
      return;
    }
    context.Selection.bytes[0] = kPlanetTheoryVsop87D;
  }
  TPlanetStarOptions options;
  options.LimitingMagnitude = 10.f;
  options.ConjunctionsOnly = conjunctions ? 1 : 0;
  options.Bodies = {1, 1, 1, 1, 1, 1, 1, 1, 1};
  if (tenYears) options.Bodies = {0, 0, 0, 1, 0, 0, 0, 0, 0};
  options.AsteroidDiameter = 500;
  const TObserverRecord start = At(2461041.5), end = At(tenYears ? 2464693.5 : 2461406.5);
  std::size_t events = 0;
  for (auto _ : state) {
    tsternbedeckungpl search(context, TTableConfigRecord{}, start, Large());
    RunPlanetStarOccultations(search, options, Vesta(), false, end, start);
    events = search.ergebnisse.Count();
  }
  state.counters["events"] = static_cast<double>(events);
}
void BM_PlanetStarOccultationsAllBodiesOneYear(benchmark::State& state) { PlanetStars(state, false, false, false); }
BENCHMARK(BM_PlanetStarOccultationsAllBodiesOneYear)->Unit(benchmark::kMillisecond)->Iterations(1);
void BM_PlanetStarConjunctionsAllBodiesOneYear(benchmark::State& state) { PlanetStars(state, false, true, false); }
BENCHMARK(BM_PlanetStarConjunctionsAllBodiesOneYear)->Unit(benchmark::kMillisecond)->Iterations(1);
void BM_PlanetStarOccultationsJupiterTenYears(benchmark::State& state) { PlanetStars(state, false, false, true); }
BENCHMARK(BM_PlanetStarOccultationsJupiterTenYears)->Unit(benchmark::kMillisecond)->Iterations(1);
void BM_PlanetStarOccultationsAllBodiesOneYearVsop(benchmark::State& state) { PlanetStars(state, true, false, false); }
BENCHMARK(BM_PlanetStarOccultationsAllBodiesOneYearVsop)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LunarOccultationsOfPlanetsOneYear(benchmark::State& state) {
  for (auto _ : state) {
    tplanetbedeckung search(Context(false), TTableConfigRecord{}, At(2461041.5));
    search.rechnen(At(2461406.5), At(2461041.5));
    benchmark::DoNotOptimize(search.ergebnisse.Count());
  }
}
BENCHMARK(BM_LunarOccultationsOfPlanetsOneYear)->Unit(benchmark::kMillisecond);

void BM_StarNameSearchLargeCatalogue(benchmark::State& state) {
  if (!Large()) {
    state.SkipWithError("OCCINP95.DAT not found");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(FindStarByName(*Large(), "zz9", 10.f));
}
BENCHMARK(BM_StarNameSearchLargeCatalogue)->Unit(benchmark::kMillisecond);

void BM_Write1000OccultationsToSheet(benchmark::State& state) {
  TOccultationResultList list;
  for (int k = 0; k < 1000; ++k) {
    auto row = std::make_unique<tergebnisdatensatz>();
    row->Contact1Time = 61000.0 + k * 0.37;
    row->Contact2Time = row->Contact1Time + 0.04;
    row->Magnitude = 550;
    row->ObjectName = "SAO 12345";
    list.Add(std::move(row));
  }
  TTableConfigRecord config;
  for (auto _ : state) {
    TSheet sheet;
    TSheetSink sink(sheet);
    WriteOccultationTable(sink, config, At(2461041.5), list, TOccultationTableKind{});
    benchmark::DoNotOptimize(sheet.Cell(2, 1));
  }
}
BENCHMARK(BM_Write1000OccultationsToSheet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
