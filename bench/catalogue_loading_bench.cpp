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

#include "catalogues/asteroid_list.h"
#include "catalogues/astorb_conversion.h"
#include "platform/messages.h"

namespace kvx {
namespace {

constexpr int kRecords = 100000;

class QuietSink : public MessageSink {
 public:
  MessageResult Show(const std::string&, const std::string&, MessageIcon, MessageButtons) override {
    return MessageResult::Ok;
  }
};

QuietSink quiet;
ScopedMessageSink scopedQuiet(quiet);

// One MPCORB line of the published layout for record k (from 1: the file
// starts with the record of minor planet 1, as the reader looks for).
std::string MpcorbLine(int k) {
  char line[256];
  std::snprintf(line, sizeof line,
                "%05d   %5.2f  0.15 K2434 %9.5f  %9.5f  %9.5f  %9.5f  %9.7f %11.8f %11.7f  0 MPO000000  1234  12 "
                "1990-2024 0.55 M-v 3Ek MPCLINUX   0000 (%d) Bench%-20d20240101",
                k % 100000, 10 + (k % 900) / 100.0, (k * 7) % 360 + 0.5, (k * 11) % 360 + 0.25, (k * 13) % 360 + 0.125,
                (k % 30) + 0.5, 0.05 + (k % 80) / 100.0, 0.2, 2.0 + (k % 1000) / 1000.0, k + 1, k);
  return line;
}

// One ASTORB record (current layout) for record k.
std::string AstorbLine(int k) {
  char text[400];
  std::snprintf(text, sizeof text,
                "%6d %-18s %-15s %5.2f %5.2f %4s %5s %4s %4d %4d %4d %4d %4d %4d %5d %8s %10.6f %10.6f %10.6f %9.6f "
                "%10.8f %12.8f",
                k % 999999 + 1, ("Bench" + std::to_string(k)).c_str(), "E. Bowell", 10 + (k % 900) / 100.0, 0.15, "",
                "", "", 0, 0, 0, 0, 0, 0, 1234, "20240101", (k * 7) % 360 + 0.5, (k * 11) % 360 + 0.25,
                (k * 13) % 360 + 0.125, (k % 30) + 0.5, 0.05 + (k % 80) / 100.0, 2.0 + (k % 1000) / 1000.0);
  std::string line(text);
  line.resize(266, ' ');
  return line;
}

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
