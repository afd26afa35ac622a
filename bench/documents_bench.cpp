// Saving and loading the result grid as a table file (16,383 rows by 31
// columns, about 24 MB) and reading a 100,000-line csv file into the sheet.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/main_form_state.h"
#include "app/table_document.h"
#include "platform/workbook/workbook_files.h"

namespace {

constexpr int kRows = 16383;
constexpr int kCols = 31;

struct GridDocument {
  kvx::tmystringgrid grid{kCols, kRows};
  kvx::TResultGridLook look;
  kvx::TMainFormState state;
  std::array<std::int32_t, kvx::kQuantityCount> widths{};
  std::string caption;
  kvx::TTableDocument doc{grid, look, state.Period, state.Eclipses, state.Document, widths, caption, nullptr, {}};
};

void Fill(kvx::tmystringgrid& grid) {
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kCols; ++c) grid.SetCells(c, r, "12h 34m 56.7s " + std::to_string(r + c));
  }
}

std::string TempPath(const std::string& name) { return (std::filesystem::temp_directory_path() / name).string(); }

void BM_SaveTableFile(benchmark::State& state) {
  GridDocument d;
  Fill(d.grid);
  const std::string path = TempPath("kvx_bench_save.kvx");
  for (auto _ : state) benchmark::DoNotOptimize(kvx::SaveTableFile(d.doc, path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveTableFile)->Unit(benchmark::kMillisecond);

void BM_LoadTableFile(benchmark::State& state) {
  const std::string path = TempPath("kvx_bench_load.kvx");
  {
    GridDocument d;
    Fill(d.grid);
    kvx::SaveTableFile(d.doc, path);
  }
  for (auto _ : state) {
    GridDocument d;
    benchmark::DoNotOptimize(kvx::LoadTableFile(d.doc, path));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadTableFile)->Unit(benchmark::kMillisecond);

void BM_ReadCsvIntoSheet(benchmark::State& state) {
  const std::string path = TempPath("kvx_bench.csv");
  {
    std::ofstream out(path, std::ios::binary);
    for (int r = 0; r < 100000; ++r) out << "2026-12-07;" << r << ";12,345;\"a;b\";text\r\n";
  }
  for (auto _ : state) {
    kvx::workbook::TWorkbook book(1);
    std::string error;
    benchmark::DoNotOptimize(kvx::workbook::ReadSeparatedIntoSheet(book, path, ';', error));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadCsvIntoSheet)->Unit(benchmark::kMillisecond);

}  // namespace
