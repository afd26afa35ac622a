// Set-up dialogs: the heading preview of the table configuration with every
// flag on (rebuilt on every click) should stay under 0.2 ms; matching "*ber*"
// against every name of the world city database under 10 ms; opening the
// database (reading the records and checking the index) under 5 ms.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "core/name_tables.h"
#include "setup/column_sets.h"
#include "setup/table_config_model.h"
#include "setup/world_cities.h"

#ifndef KVX_SOURCE_DATA_DIR
#define KVX_SOURCE_DATA_DIR "data"
#endif

namespace kvx {
namespace {

void BM_PreviewEveryFlag(benchmark::State& state) {
  InitAstroNameTables();
  TTableConfigRecord record = NewTableConfigRecord();
  SelectAllColumns(record.Flags);
  for (auto _ : state) {
    std::vector<std::string> headings = PreviewHeadings(record, 0, 2000.0, true);
    benchmark::DoNotOptimize(headings.data());
  }
}
BENCHMARK(BM_PreviewEveryFlag)->Unit(benchmark::kMicrosecond);

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void BM_OpenCityDatabase(benchmark::State& state) {
  const std::string folder = KVX_SOURCE_DATA_DIR;
  for (auto _ : state) {
    TCityFile file;
    TCityIndex index{};
    const bool ok = file.Open(folder + "/cities.ved") &&
                    ParseCityIndex(ReadText(folder + "/index.ved"), file.Count(), index);
    if (!ok) state.SkipWithError("the city database is missing");
    benchmark::DoNotOptimize(index.data());
  }
}
BENCHMARK(BM_OpenCityDatabase)->Unit(benchmark::kMillisecond);

void BM_WildcardEveryName(benchmark::State& state) {
  TCityFile file;
  if (!file.Open(std::string(KVX_SOURCE_DATA_DIR) + "/cities.ved") || file.Count() == 0) {
    state.SkipWithError("the city database is missing");
    return;
  }
  std::string name;
  for (auto _ : state) {
    std::int64_t hits = 0;
    for (std::int64_t n = 1; n <= file.Count(); ++n) {
      name = FoldCase1252(file.Name(n));
      hits += MatchesWildcard(name, "*ber*") ? 1 : 0;
    }
    benchmark::DoNotOptimize(hits);
  }
  state.counters["names"] = static_cast<double>(file.Count());
}
BENCHMARK(BM_WildcardEveryName)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
