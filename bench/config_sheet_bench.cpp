// The configuration record's encode and decode (each well under 1 ms), find
// over a full 16,383 x 30 sheet without a hit (under 50 ms) and 4 decimals on
// the same sheet (under 300 ms), Release build.
#include <benchmark/benchmark.h>

#include "app/config_file.h"
#include "app/sheet_editing.h"
#include "core/name_tables.h"
#include "platform/messages.h"

namespace kvx {
namespace {

class SilentSink : public MessageSink {
 public:
  MessageResult Show(const std::string&, const std::string&, MessageIcon, MessageButtons buttons) override {
    return DefaultMessageReply(buttons);
  }
};

void BM_ConfigEncode(benchmark::State& state) {
  TConfigSettings settings;
  TConfigRecordImage image{};
  for (auto _ : state) {
    GatherConfigRecord(settings, image);
    benchmark::DoNotOptimize(image.data());
  }
}
BENCHMARK(BM_ConfigEncode)->Unit(benchmark::kMicrosecond);

void BM_ConfigDecode(benchmark::State& state) {
  TConfigRecordImage image{};
  GatherConfigRecord(TConfigSettings{}, image);
  for (auto _ : state) {
    TConfigSettings settings = ReadConfigRecord(image);
    benchmark::DoNotOptimize(settings.Satellite);
  }
}
BENCHMARK(BM_ConfigDecode)->Unit(benchmark::kMicrosecond);

void FillSheet(workbook::TWorkbook& book) {
  for (int row = 1; row <= 16383; ++row) {
    for (int col = 1; col <= 30; ++col) book.SetNumber(row, col, row * 0.001 + col);
  }
}

void BM_FindWithoutHit(benchmark::State& state) {
  SilentSink silent;
  ScopedMessageSink sink(silent);
  workbook::TWorkbook book;
  FillSheet(book);
  TSheetSearchState search;
  for (auto _ : state) {
    book.SetActiveCell(1, 1);
    benchmark::DoNotOptimize(FindInSheet(book, {"Mars", false, false}, search));
  }
}
BENCHMARK(BM_FindWithoutHit)->Unit(benchmark::kMillisecond);

void BM_DecimalsOnFullSheet(benchmark::State& state) {
  InitFormatStrings();
  workbook::TWorkbook book;
  FillSheet(book);
  book.SetSelection(1, 1, 16383, 30);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ApplyDecimalsToSelection(book, DecimalPatternTable[4]));
  }
}
BENCHMARK(BM_DecimalsOnFullSheet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
