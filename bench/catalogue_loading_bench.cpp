// The catalogue readers' line loop (Release build): a 100,000-line MPCORB
// file loads whole into an asteroid list (the item limit raised) in under
// 0.25 s, and a 100,000-record ASTORB file converts into each of the three
// output formats in under 0.3 s. Each line's fixed columns are found in one
// pass over it, so the time grows with the file, not with the fields times
// the line length. The program uses only the readers' public calls, so the
// same file built against an older tree measures that tree side by side.
// The files are synthesised once into the temporary folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/catalogue_lines.h"
#include "bench/quiet_sink.h"
#include "catalogues/asteroid_list.h"
#include "catalogues/astorb_conversion.h"
#include "platform/messages.h"

namespace kvx {
namespace {

using bench::AstorbLine;
using bench::MpcorbLine;
using bench::QuietSink;

constexpr int kRecords = 100000;

QuietSink quiet;
ScopedMessageSink scopedQuiet(quiet);

// The file `name` of kRecords lines in a folder of its own (the conversion
// writes its output beside the input).
std::string CatalogueFile(const char* name, std::string (*make)(int)) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "kvx_catalogue_loading_bench" / std::filesystem::path(name).stem();
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / name;
  if (!std::filesystem::exists(path)) {
    std::ofstream out(path, std::ios::binary);
    for (int k = 1; k <= kRecords; ++k) out << make(k) << '\n';
  }
  return path.string();
}

void BM_Mpcorb100kLoad(benchmark::State& state) {
  const std::string path = CatalogueFile("mpcorb.dat", MpcorbLine);
  for (auto _ : state) {
    Planetoidentabelle list(kRecords + 1);
    std::uint8_t kind = 0;
    if (!list.Neuedateiladen(kind, path, false, 0) || list.Count() != kRecords) state.SkipWithError("not read");
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Mpcorb100kLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Arg: the output format (0 plain CSV, 1 own format, 2 HomePlanet).
void BM_Astorb100kConversion(benchmark::State& state) {
  const std::string path = CatalogueFile("astorb.dat", AstorbLine);
  for (auto _ : state) {
    const TConversionResult r = ConvertAstorbFile(path, static_cast<int>(state.range(0)), false, {});
    if (!r.Done || r.Written != kRecords) state.SkipWithError("not converted");
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Astorb100kConversion)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace kvx
