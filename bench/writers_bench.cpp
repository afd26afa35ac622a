// The table writers over a filled row store of 10,000 Mars rows with every
// column on: into the workbook (paintdms), into the result grid
// (paintdms_grid), and the row export (exportzeile).
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>

#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "engine/ephemeris_table.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "tests/support/table_request.h"

namespace {

using namespace kvx;

constexpr int kRows = 10000;

// A Mars table whose row store holds kRows rows with every field set.
std::unique_ptr<TKeplereph> MarsTable(TSheet* sheet, tmystringgrid* grid) {
  InitAstroNameTables();
  ApplyLocaleSeparators(TIntlSeparators{',', ';', '.', ':', '.'});  // a German desktop
  TTableConfigRecord config;
  config.Flags.fill(1);
  for (std::size_t s = 0; s < kColumnTitleCount; ++s) config.ColumnTitles[s] = QuantityHeadingTable[s];
  config.Flags[column_flag::kDateOnly] = 0;  // the time column too
  TObserverRecord start;
  auto table = std::make_unique<TKeplereph>(
      test::TableRequest(0, TTheorySelection{}, config, start, start, TTableStep{1, 0, 1}), sheet, TAsteroidElements{});
  table->BodyIndex = 4;
  table->Name = "Mars";
  table->OutputGrid = grid;
  for (int k = 0; k < kRows; ++k) {
    TEphemerisResultRecord r;
    r.Year = 2026 + k / 365;
    r.Month = 1 + (k / 28) % 12;
    r.Day = 1 + k % 28;
    r.LocalHours = 0.5 + (k % 23);
    r.JD = 2461041.5 + k;
    r.LocalSiderealHours = (k % 24) + 0.3;
    r.GreenwichSiderealHours = (k % 24) + 0.1;
    r.GreenwichSiderealDegrees = (k % 360) + 0.5;
    r.Position.HelioLongitude = (k * 0.524) - 360.0 * static_cast<int>(k * 0.524 / 360.0);
    r.Position.HelioLatitude = 1.2;
    r.Position.HelioDistance = 1.52;
    r.Position.HelioX = 1.1;
    r.Position.HelioY = -0.9;
    r.Position.HelioZ = 0.03;
    r.HelioVX = 0.008;
    r.HelioVY = 0.011;
    r.Position.GeoLongitude = 200.0 + (k % 100) * 0.3;
    r.Position.GeoLatitude = -1.1;
    r.Position.GeoDistance = 1.8;
    r.Position.RightAscension = 198.5 + (k % 100) * 0.3;
    r.Position.Declination = -9.25;
    r.HourlyRightAscension = 25.0;
    r.HourlyDeclination = -8.0;
    r.HourlyTotal = 26.0;
    r.HourlyDirection = 110.0;
    r.LightTime = 0.01;
    r.TopoRightAscension = 198.6;
    r.TopoDeclination = -9.3;
    r.TopoDistance = 1.8;
    r.Azimuth = 40.0;
    r.Altitude = 12.0;
    r.HourAngle = 3.0;
    r.RiseSet.Levels[TRiseSetBlock::kBodyLevel] = {6.25, 18.5, 12.25, "", "", ""};
    r.RiseSet.TransitTime = 12.4;
    r.RiseSet.TransitAltitude = 30.0;
    r.RiseSet.RiseAzimuth = 100.0;
    r.RiseSet.SetAzimuth = 260.0;
    r.Darkness = {20.0, 23.5, 1.5, 4.0, 6.0};
    r.Physical.elongation = 120.0;
    r.Physical.sideText = "West";
    r.Physical.magnitude = 0.8;
    r.Physical.diameter = 9.5;
    r.Physical.polarDiameter = 9.4;
    RowStore.Store(k, r);
  }
  table->Rows = kRows;
  return table;
}

void BM_PaintdmsIntoWorkbook(benchmark::State& state) {
  workbook::TWorkbook book;
  auto table = MarsTable(&book, nullptr);
  for (auto _ : state) {
    book.Reset(1);
    table->Rows = kRows;
    table->paintdms();
    benchmark::DoNotOptimize(book.LastRow());
  }
  state.counters["cols"] = book.LastCol();
}
BENCHMARK(BM_PaintdmsIntoWorkbook)->Unit(benchmark::kMillisecond);

void BM_PaintdmsIntoGrid(benchmark::State& state) {
  tmystringgrid grid;
  auto table = MarsTable(nullptr, &grid);
  for (auto _ : state) {
    table->Rows = kRows;
    table->paintdms_grid();
    benchmark::DoNotOptimize(grid.RowCount());
  }
  state.counters["cols"] = grid.ColCount();
}
BENCHMARK(BM_PaintdmsIntoGrid)->Unit(benchmark::kMillisecond);

void BM_Exportzeile(benchmark::State& state) {
  auto table = MarsTable(nullptr, nullptr);
  for (auto _ : state) {
    std::ostringstream out;
    table->exportzeile(out);
    benchmark::DoNotOptimize(out.str().size());
  }
}
BENCHMARK(BM_Exportzeile)->Unit(benchmark::kMillisecond);

}  // namespace
