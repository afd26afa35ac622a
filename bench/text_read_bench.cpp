// Reading a large text file into a sheet, and saving the unchanged sheet
// in place: a ';'-separated text of 100,000 lines of 10 fields with decimal
// commas, and a tab-separated text of the same content. Each case runs in a
// child process of its own, so that its peak memory is its own: the
// processor time (user + system) and the peak resident memory of the read
// are the child's (wait4), the child doing nothing but the read; those of
// the save are measured inside a child that read the file first, from
// just before the save (getrusage, and the peak reset through
// /proc/self/clear_refs) to just after it. "kept_MB" is the resident memory
// that stays after the read. The time column is the processor time.
//
// The same file builds against older sources whose text writers had no save
// in place (no text_layout.h): it then times the plain text writers.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/workbook/workbook.h"
#include "platform/workbook/workbook_files.h"
#if __has_include("platform/workbook/text_layout.h")
#include "platform/workbook/text_layout.h"
#define KVX_TEXT_SAVE_IN_PLACE 1
#endif

namespace {

namespace fs = std::filesystem;
using kvx::workbook::TWorkbook;

constexpr int kLines = 100000;

void AppendInt(std::string& out, long value) {
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// A number with `decimals` decimals and a decimal comma: `scaled` / 10^decimals.
void AppendDecimalComma(std::string& out, long scaled, int decimals) {
  if (scaled < 0) {
    out += '-';
    scaled = -scaled;
  }
  long unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  AppendInt(out, scaled / unit);
  out += ',';
  std::string fraction;
  AppendInt(fraction, scaled % unit);
  out.append(static_cast<std::size_t>(decimals) - fraction.size(), '0');
  out += fraction;
}

// One line of a table export: whole numbers, decimal-comma numbers and
// short texts, the same for every run.
std::string TableLine(int line, char separator) {
  static constexpr std::string_view kPlaces[] = {"Nord", "Süd", "Ost", "West", "Mitte", "Höhe"};
  static constexpr std::string_view kMarks[] = {"ok", "neu", "alt", "prüfen"};
  const long mix = (static_cast<long>(line) * 7919 + 13) % 1000003;
  std::string out;
  AppendInt(out, line + 1);
  out += separator;
  out += 'K';
  AppendInt(out, 1000 + mix % 9000);
  out += separator;
  out += kPlaces[static_cast<std::size_t>(mix % 6)];
  out += separator;
  AppendDecimalComma(out, mix % 100000, 2);
  out += separator;
  AppendDecimalComma(out, mix % 7 == 0 ? -(mix % 5000) : mix % 5000, 3);
  out += separator;
  AppendInt(out, 1990 + mix % 37);
  out += separator;
  AppendDecimalComma(out, mix % 2000 - 1000, 1);
  out += separator;
  out += kMarks[static_cast<std::size_t>(mix % 4)];
  out += separator;
  AppendInt(out, mix % 500);
  out += separator;
  AppendDecimalComma(out, (mix * 31) % 100000, 4);
  out += "\r\n";
  return out;
}

// The two files, written once into a scratch folder removed at exit.
struct TFiles {
  fs::path Folder;
  std::string Semicolon, Tab;

  TFiles() {
    std::string name = "kvx-text-read-bench-";
    AppendInt(name, getpid());
    Folder = fs::temp_directory_path() / name;
    fs::create_directories(Folder);
    Semicolon = (Folder / "table.csv").string();
    Tab = (Folder / "table.txt").string();
    std::ofstream semicolon(Semicolon, std::ios::binary), tab(Tab, std::ios::binary);
    for (int line = 0; line < kLines; ++line) {
      semicolon << TableLine(line, ';');
      tab << TableLine(line, '\t');
    }
  }
  ~TFiles() {
    std::error_code ignored;
    fs::remove_all(Folder, ignored);
  }
};

const TFiles& Files() {
  static const TFiles files;
  return files;
}

bool ReadCase(TWorkbook& book, bool tab) {
  std::string error;
  if (tab) {
    int fileType = 0;
    return kvx::workbook::ReadWorkbookFile(book, Files().Tab, fileType, error);
  }
  return kvx::workbook::ReadSeparatedIntoSheet(book, Files().Semicolon, ';', error);
}

bool SaveCase(TWorkbook& book, bool tab, const std::string& path) {
  std::string error;
#ifdef KVX_TEXT_SAVE_IN_PLACE
  kvx::workbook::TTextDialect dialect = kvx::workbook::TabTextDialect(kvx::workbook::kFileTypeText);
  if (!tab) {
    dialect.Separator = ';';
    dialect.Quoting = true;
  }
  return kvx::workbook::SaveSheetText(book, path, dialect, error);
#else
  return tab ? kvx::workbook::WriteWorkbookFile(book, path, kvx::workbook::kFileTypeText, error)
             : kvx::workbook::WriteSheetSeparated(book, path, ';', error);
#endif
}

double Seconds(const timeval& user, const timeval& system) {
  return static_cast<double>(user.tv_sec + system.tv_sec) + 1e-6 * static_cast<double>(user.tv_usec + system.tv_usec);
}

// A line "Name:  1234 kB" of /proc/self/status, in MB.
double StatusMb(std::string_view name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (!line.starts_with(name)) continue;
    long kb = 0;
    const std::size_t digits = line.find_first_of("0123456789");
    if (digits != std::string::npos) std::from_chars(line.data() + digits, line.data() + line.size(), kb);
    return static_cast<double>(kb) / 1024.0;
  }
  return 0.0;
}

#ifdef KVX_TEXT_SAVE_IN_PLACE
std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
#endif

struct TFigures {
  double Cpu = 0.0;     // s
  double PeakMb = 0.0;  // resident
  double KeptMb = 0.0;  // resident after the read
  bool Ok = false;
};

// Runs the case in a child process. save: read, then save the unchanged
// sheet beside the file and measure the save alone.
TFigures InChild(bool tab, bool save) {
  const TFiles& files = Files();
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    TFigures figures;
    TWorkbook book;
    figures.Ok = ReadCase(book, tab);
    figures.KeptMb = StatusMb("VmRSS:");
    if (save && figures.Ok) {
      if (FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", clear);
        std::fclose(clear);
      }
      rusage before{}, after{};
      getrusage(RUSAGE_SELF, &before);
      const fs::path saved = files.Folder / (tab ? "saved.txt" : "saved.csv");
      figures.Ok = SaveCase(book, tab, saved.string());
      getrusage(RUSAGE_SELF, &after);
      figures.Cpu = Seconds(after.ru_utime, after.ru_stime) - Seconds(before.ru_utime, before.ru_stime);
      figures.PeakMb = StatusMb("VmHWM:");
      // The save in place gives the file back byte for byte.
#ifdef KVX_TEXT_SAVE_IN_PLACE
      figures.Ok = figures.Ok && FileBytes(saved) == FileBytes(tab ? files.Tab : files.Semicolon);
#endif
    }
    [[maybe_unused]] const auto written = write(pipeEnds[1], &figures, sizeof figures);
    _exit(0);
  }
  close(pipeEnds[1]);
  TFigures figures;
  const bool got = read(pipeEnds[0], &figures, sizeof figures) == static_cast<ssize_t>(sizeof figures);
  close(pipeEnds[0]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!got || !WIFEXITED(status)) return {};
  if (!save) {
    figures.Cpu = Seconds(usage.ru_utime, usage.ru_stime);
    figures.PeakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  }
  return figures;
}

void Run(benchmark::State& state, bool tab, bool save) {
  for (auto _ : state) {
    const TFigures figures = InChild(tab, save);
    if (!figures.Ok) {
      state.SkipWithError("the read or the save failed");
      return;
    }
    state.SetIterationTime(figures.Cpu);
    state.counters["cpu_s"] = figures.Cpu;
    state.counters["peak_MB"] = figures.PeakMb;
    state.counters["kept_MB"] = figures.KeptMb;
  }
}

void BM_ReadSemicolonDecimalComma(benchmark::State& state) { Run(state, false, false); }
void BM_ReadTab(benchmark::State& state) { Run(state, true, false); }
void BM_SaveInPlaceSemicolonDecimalComma(benchmark::State& state) { Run(state, false, true); }
void BM_SaveInPlaceTab(benchmark::State& state) { Run(state, true, true); }

BENCHMARK(BM_ReadSemicolonDecimalComma)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTab)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveInPlaceSemicolonDecimalComma)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveInPlaceTab)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
