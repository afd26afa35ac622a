// The integration set-up files and the file viewer: a 14-body start-values
// file written and read (target under 1 ms), 32,000 asteroid records turned
// into viewer lines (under 100 ms), and markup removal on a 5 MB page
// (under 100 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/element_records.h"
#include "orbitdet/file_view.h"
#include "orbitdet/observation_files.h"
#include "orbitdet/start_values_file.h"

namespace kvx {
namespace {

std::string ScratchPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string("kvx-bench-") + std::to_string(getpid()) + name))
      .string();
}

void BM_StartValuesWriteAndRead14(benchmark::State& state) {
  TIntegrationSetup setup = DefaultIntegrationSetup();
  setup.N = 14;
  for (int i = 10; i < 14; ++i) {
    setup.Names[static_cast<std::size_t>(i)] = "Körper " + std::to_string(i + 1);
    setup.StartValues[static_cast<std::size_t>(i)][0] = 2.0L + i;
  }
  const std::string path = ScratchPath("-start.csv");
  for (auto _ : state) {
    WriteStartValuesFile(path, setup);
    TIntegrationSetup read = setup;
    benchmark::DoNotOptimize(ReadStartValuesFile(path, read));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_StartValuesWriteAndRead14)->Unit(benchmark::kMicrosecond);

void BM_ViewerLinesOf32000Asteroids(benchmark::State& state) {
  TAsteroidElements e;
  e.Name = "(1) Ceres";
  e.SemiMajorAxis = 2.7691652;
  e.Eccentricity = 0.0760091;
  e.Epoch = 2460000.5;
  const TAsteroidElementRecordBytes one = EncodeAsteroidElementRecord(e);
  std::string bytes;
  for (int i = 0; i < 32000; ++i) bytes.append(reinterpret_cast<const char*>(one.data()), one.size());
  for (auto _ : state) {
    bool tooLarge = false;
    benchmark::DoNotOptimize(ElementRecordLines(bytes, false, tooLarge));
  }
}
BENCHMARK(BM_ViewerLinesOf32000Asteroids)->Unit(benchmark::kMillisecond);

void BM_RemoveMarkup5MB(benchmark::State& state) {
  std::string page;
  while (page.size() < 5u << 20) page += "<tr><td class=\"x\">2025 11 05.99920</td><td>01 54 38.87</td></tr>\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(RemoveMarkup(page));
}
BENCHMARK(BM_RemoveMarkup5MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
