// Fuzz target: an .xlsx file read by the workbook's reader in this process
// (its checks of the zip container and the column records first), every
// cell shown.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "platform/workbook/workbook_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kvx::workbook;
  static const std::string path = "/tmp/kvx_fuzz_xlsx_" + std::to_string(getpid()) + ".xlsx";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  TWorkbook book;
  std::string error;
  if (!ReadXlsx(book, path, error)) return 0;
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
