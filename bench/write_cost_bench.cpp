// What a plain text write and the catalogue conversions cost, counted in
// instructions (callgrind; each case runs once, and only the case itself
// is counted): Save as text (SaveSheetText without a proof: the text
// written, its file, and its form kept for the next save; the write inside
// every Ctrl+S is the same) of a tab text of 100,000 lines of 10 numbers
// with decimal commas, read from that file; 100,000 ASTORB records
// converted to the own and to the HomePlanet format; 100,000 MPCORB lines
// converted to the own format.
//
//   bench/write_cost.sh build-release      the counts, one line per case
//
// The program uses only calls that older trees have, so the same file
// built against commit 3187d2b (before every text write was judged and the
// conversions copied the catalogue's own column texts) gives the reference.
// Millions of instructions, Release build, g++ 12:
//
//   case                     3187d2b     now   now / 3187d2b
//   Save as text               1,862   1,494   0.80
//   ASTORB -> own format         953     994   1.04
//   ASTORB -> HomePlanet         921     942   1.02
//   MPCORB -> own format       1,039   1,065   1.03
//
// The text write judges an unchanged number written as its shortest text
// from where its mark stands, and keeps it as its contents give it, never
// writing it twice; a conversion copies a column text that is the very
// text the ASTORB reader read its value from without reading it again, and
// writes whole numbers and halves (epochs, equinoxes) from their digits;
// the line reader fills its buffer without clearing it first (that alone
// was 27 M of an ASTORB conversion, 1,021 M before).
// The MPCORB line is wider than 3187d2b's (a to n in 11 characters with 6
// decimals, more where a value needs them).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

#include "bench/catalogue_lines.h"
#include "catalogues/astorb_conversion.h"
#include "platform/number_text.h"
#include "platform/workbook/workbook.h"
#include "platform/workbook/workbook_files.h"

namespace {

namespace fs = std::filesystem;
using kvx::WholeNumberText;
using kvx::workbook::TWorkbook;

constexpr int kLines = 100000;

fs::path Folder() {
  const fs::path folder = fs::temp_directory_path() / "kvx_write_cost_bench";
  fs::create_directories(folder);
  return folder;
}

// The file `name` in the folder, made by `make` when it is not there.
template <class TMake>
std::string FileOf(const char* name, TMake&& make) {
  const fs::path path = Folder() / name;
  if (!fs::exists(path)) {
    std::ofstream out(path, std::ios::binary);
    make(out);
  }
  return path.string();
}

// 100,000 lines of 10 numbers with decimal commas ("12345,6789").
std::string TabText() {
  return FileOf("big.txt", [](std::ofstream& out) {
    std::string line;
    for (int r = 1; r <= kLines; ++r) {
      line.clear();
      for (int c = 1; c <= 10; ++c) {
        if (c > 1) line += '\t';
        const long scaled = static_cast<long>(r) * 3700 + c * 10001;
        line += WholeNumberText(scaled / 10000) + ',' + WholeNumberText(10000 + scaled % 10000).substr(1);
      }
      out << line << "\r\n";
    }
  });
}

void BM_SaveAsText(benchmark::State& state) {
  TWorkbook book(1);
  std::string error;
  int type = 0;
  if (!kvx::workbook::ReadWorkbookFile(book, TabText(), type, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::string copy = (Folder() / "saved.txt").string();
  const kvx::workbook::TTextDialect dialect = kvx::workbook::TabTextDialect(kvx::workbook::kFileTypeText);
  for (auto _ : state) {
    CALLGRIND_TOGGLE_COLLECT;
    const bool saved = kvx::workbook::SaveSheetText(book, copy, dialect, error);
    CALLGRIND_TOGGLE_COLLECT;
    if (!saved) state.SkipWithError(error.c_str());
  }
}
BENCHMARK(BM_SaveAsText)->Unit(benchmark::kMillisecond)->Iterations(1);

// The catalogue in a folder of its own (the output is written beside it).
template <class TLine>
std::string Catalogue(const char* folder, const char* name, TLine&& make) {
  const fs::path path = Folder() / folder / name;
  fs::create_directories(path.parent_path());
  if (!fs::exists(path)) {
    std::ofstream out(path, std::ios::binary);
    for (int k = 1; k <= kLines; ++k) out << make(k) << '\n';
  }
  return path.string();
}

// Arg: the output format (1 own format, 2 HomePlanet).
void BM_AstorbConversion(benchmark::State& state) {
  const std::string input = Catalogue("astorb", "astorb.dat", kvx::bench::AstorbLine);
  for (auto _ : state) {
    CALLGRIND_TOGGLE_COLLECT;
    const kvx::TConversionResult r = kvx::ConvertAstorbFile(input, static_cast<int>(state.range(0)), false, {});
    CALLGRIND_TOGGLE_COLLECT;
    if (!r.Done || r.Written != kLines) state.SkipWithError("not converted");
  }
}
BENCHMARK(BM_AstorbConversion)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_MpcorbConversion(benchmark::State& state) {
  const std::string input = Catalogue("mpcorb", "MPCORB.DAT", kvx::bench::MpcorbLine);
  for (auto _ : state) {
    CALLGRIND_TOGGLE_COLLECT;
    const kvx::TConversionResult r = kvx::ConvertMpcorbFile(input, {});
    CALLGRIND_TOGGLE_COLLECT;
    if (!r.Done || r.Written != kLines) state.SkipWithError("not converted");
  }
}
BENCHMARK(BM_MpcorbConversion)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
