// Fuzz target: an .xlsx file opened as the program opens it. The checks of
// the zip container and the column records and the formula fallback run
// here (coverage-guided); the reading library then reads the prepared file
// in a child process, as for a file the user opens, and every cell of the
// workbook that comes back is shown. The library's own faults end the
// child only (fuzz_xlsx_checks runs the checks alone, much faster).
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/workbook/isolated_read.h"
#include "platform/workbook/workbook_files.h"
#include "platform/workbook/xlsx_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kvx::workbook;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<TXlsxTextCell> texts;
  std::string error;
  if (!PrepareXlsxBytes(bytes, texts, error)) return 0;
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("kvx_fuzz_xlsx_" + std::to_string(getpid()) + ".xlsx")).string();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  TWorkbook book;
  if (!ReadInChildProcess(book, [](TWorkbook& b, std::string& e) { return ReadXlsx(b, path, e); }, error)) return 0;
  for (int s = 1; s <= book.NumSheets(); ++s) {
    const TSheetData& sheet = book.SheetData(s);
    const int lastRow = std::min(sheet.LastRow(), 64);
    for (int r = 1; r <= lastRow; ++r) {
      const int lastCol = std::min(sheet.LastColForRow(r), 16);
      for (int c = 1; c <= lastCol; ++c) {
        (void)book.TextOn(s, r, c);
        (void)book.EntryOn(s, r, c);
      }
    }
  }
  return 0;
}
