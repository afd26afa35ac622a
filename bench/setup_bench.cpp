// Table configuration record and file: encoding and decoding the 22,676-byte
// record (every table object gets a copy) should stay under 50 us, loading
// an ".etd" file under 1 ms.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/name_tables.h"
#include "setup/column_sets.h"
#include "setup/table_config_file.h"

namespace kvx {
namespace {

TTableConfigRecord FilledRecord() {
  InitAstroNameTables();
  return NewTableConfigRecord();
}

void BM_TableConfigRecordEncode(benchmark::State& state) {
  const TTableConfigRecord record = FilledRecord();
  TTableConfigBytes bytes{};
  for (auto _ : state) {
    TTableConfigRecord copy = record;
    EncodeTableConfigRecord(copy, std::span<std::uint8_t, kTableConfigRecordSize>(bytes));
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_TableConfigRecordEncode)->Unit(benchmark::kMicrosecond);

void BM_TableConfigRecordDecode(benchmark::State& state) {
  const TTableConfigBytes bytes = EncodeTableConfigRecord(FilledRecord());
  for (auto _ : state) {
    TTableConfigRecord record = DecodeTableConfigRecord(bytes);
    benchmark::DoNotOptimize(record.ColumnTitles.data());
  }
}
BENCHMARK(BM_TableConfigRecordDecode)->Unit(benchmark::kMicrosecond);

void BM_TableConfigFileLoad(benchmark::State& state) {
  TTableConfigFile file;
  file.Record = FilledRecord();
  const std::string path = (std::filesystem::temp_directory_path() / "kvx_bench_table_config.etd").string();
  if (!SaveTableConfigFile(path, file)) {
    state.SkipWithError("cannot write the file");
    return;
  }
  for (auto _ : state) {
    TTableConfigFile loaded;
    benchmark::DoNotOptimize(LoadTableConfigFile(path, loaded));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_TableConfigFileLoad)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kvx
