// Saving a sheet of 10,000 rows and 30 columns of numbers as .xlsx, side by
// side with openpyxl's write-only mode on the same values
// (bench/openpyxl_write_only.py, python3-openpyxl). The counters give the
// shortest save of each in processor time (ours over five, openpyxl's over
// five, its interpreter start not counted) and their ratio, "ratio"
// (target: at most 0.45); "ratio_wall" is the same in wall-clock time,
// which other programs running beside distort more.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/workbook/workbook_files.h"

namespace {

constexpr int kRows = 10000;
constexpr int kCols = 30;

std::string SaveFile(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

struct TTimes {
  double Cpu = -1.0;  // ms
  double Wall = -1.0;
};

double ProcessCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec * 1e-6;
}

// The shortest of `runs` saves by openpyxl in milliseconds; negative times
// when the script cannot run.
TTimes OpenpyxlMilliseconds(int runs) {
  const std::string command = std::string("/usr/bin/python3 '") + KVX_SOURCE_DIR + "/bench/openpyxl_write_only.py' '" +
                              SaveFile("kvx_openpyxl_bench.xlsx") + "' " + std::to_string(kRows) + " " +
                              std::to_string(kCols) + " " + std::to_string(runs) + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  TTimes times;
  if (pipe == nullptr) return times;
  if (std::fscanf(pipe, "%lf %lf", &times.Cpu, &times.Wall) != 2) times = TTimes{};
  if (pclose(pipe) != 0) times = TTimes{};
  std::filesystem::remove(SaveFile("kvx_openpyxl_bench.xlsx"));
  return times;
}

void BM_SaveNumericSheetBesideOpenpyxl(benchmark::State& state) {
  kvx::workbook::TWorkbook book(1);
  for (int r = 1; r <= kRows; ++r) {
    for (int c = 1; c <= kCols; ++c) book.SetNumber(r, c, ((r - 1) * kCols + c) * 0.1 + 1.0 / (c + 1));
  }
  const std::string path = SaveFile("kvx_xlsx_save_bench.xlsx");
  TTimes best{1e300, 1e300};
  std::string error;
  for (auto _ : state) {
    const double startCpu = ProcessCpuMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    if (!kvx::workbook::WriteXlsx(book, path, error)) state.SkipWithError(error.c_str());
    best.Cpu = std::min(best.Cpu, ProcessCpuMilliseconds() - startCpu);
    best.Wall = std::min(best.Wall,
                         std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kRows * kCols);
  state.counters["ours_cpu_ms"] = best.Cpu;
  state.counters["ours_wall_ms"] = best.Wall;
  const TTimes theirs = OpenpyxlMilliseconds(5);
  if (theirs.Cpu <= 0 || theirs.Wall <= 0) {
    state.SetLabel("openpyxl not available (python3-openpyxl)");
    return;
  }
  state.counters["openpyxl_cpu_ms"] = theirs.Cpu;
  state.counters["openpyxl_wall_ms"] = theirs.Wall;
  state.counters["ratio"] = best.Cpu / theirs.Cpu;
  state.counters["ratio_wall"] = best.Wall / theirs.Wall;
}
BENCHMARK(BM_SaveNumericSheetBesideOpenpyxl)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
