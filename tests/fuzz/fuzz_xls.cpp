// Fuzz target: a legacy .xls file opened as the program opens it: the .xls
// library reads it in a child process, the workbook takes what comes back
// and shows every cell. The library itself is not ours to mend; the target
// holds the child-process reader, the snapshot and the cells to account.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/workbook/isolated_read.h"
#include "platform/workbook/workbook_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kvx::workbook;
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("kvx_fuzz_xls_" + std::to_string(getpid()) + ".xls")).string();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  TWorkbook book;
  std::string error;
  if (!ReadInChildProcess(book, [](TWorkbook& b, std::string& e) { return ReadLegacyXls(b, path, e); }, error)) {
    return 0;
  }
  for (int s = 1; s <= book.NumSheets(); ++s) {
    const TSheetData& sheet = book.SheetData(s);
    const int lastRow = std::min(sheet.LastRow(), 64);
    for (int r = 1; r <= lastRow; ++r) {
      const int lastCol = std::min(sheet.LastColForRow(r), 16);
      for (int c = 1; c <= lastCol; ++c) (void)book.TextOn(s, r, c);
    }
  }
  return 0;
}
