// Speed of the conversion tools and the variable-star table: Gauss-Krüger
// forward and back, the eight-frame coordinate conversion, and ten years of
// Algol minima computed and written into a sheet.
#include <benchmark/benchmark.h>

#include "core/time_scales.h"
#include "platform/workbook/workbook.h"
#include "setup/column_sets.h"
#include "tables/coordinate_conversion.h"
#include "tables/gauss_krueger.h"
#include "tables/variable_star_table.h"

namespace kvx {
namespace {

TObserverRecord Kassel(double mjd) {
  TObserverRecord r;
  r.Latitude = 51.191;
  r.Longitude = -9.301;
  r.Mjd = mjd;
  UTToLocalTime(r);
  return r;
}

void BM_GaussKruegerBothWays(benchmark::State& state) {
  double lon = 9.3, lat = 51.2;
  for (auto _ : state) {
    double r = 0, h = 0;
    GeographicToGaussKrueger(lon, lat, 0, 0, r, h);
    GaussKruegerToGeographic(r, h, 0, 0, lon, lat);
    benchmark::DoNotOptimize(lon);
  }
}
BENCHMARK(BM_GaussKruegerBothWays);

void BM_ConvertPositionFrames(benchmark::State& state) {
  const TObserverRecord r = Kassel(60400.3);
  TCoordinateBlock b;
  b.inputSystem = 1;
  b.raJ2000 = 123.4;
  b.decJ2000 = 12.3;
  for (auto _ : state) {
    ConvertPositionFrames(r, b);
    benchmark::DoNotOptimize(b.galLon);
  }
}
BENCHMARK(BM_ConvertPositionFrames);

void BM_AlgolTenYears(benchmark::State& state) {
  TVariableStarElements algol;
  algol.Name = "Algol";
  algol.RA = 3.0810;
  algol.Dec = 40.5720;
  algol.MaxMag = 2.09;
  algol.MinMag = 3.30;
  algol.Epoch = 2445641.5135;
  algol.Period = 2.8673043;
  algol.Equinox = 2000;
  algol.Type.assign(1, 'b');
  const TTableConfigRecord config = NewTableConfigRecord();
  for (auto _ : state) {
    Tvareph table(Kassel(60310.0), Kassel(60310.0 + 3652.5), algol, config, TTheorySelection{}, 0);
    table.schleife(0);
    workbook::TWorkbook sheet;
    table.paint(&sheet, nullptr, 1, TTableOutputSettings{});
    benchmark::DoNotOptimize(sheet.LastRow());
  }
}
BENCHMARK(BM_AlgolTenYears)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
