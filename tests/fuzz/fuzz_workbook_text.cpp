// Fuzz target: a tab-separated text file opened in the workbook, its
// formulas computed, every cell shown and its edit text typed back.
// Promise: a text a save in place may write over (CheckTextSave finds
// nothing it would not give back) is given back byte for byte when saved
// unchanged.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/text_encoding.h"
#include "platform/workbook/formula_engine.h"
#include "platform/workbook/workbook_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kvx::workbook;
  if (size > 4096) return 0;
  // Workbook files go to their own targets.
  if (size >= 2 && ((data[0] == 'P' && data[1] == 'K') || (data[0] == 0xD0 && data[1] == 0xCF))) return 0;
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("kvx_fuzz_workbook_text_" + std::to_string(getpid()) + ".txt")).string();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  TWorkbook book;
  int type = 0;
  std::string error;
  if (!ReadWorkbookFile(book, path, type, error)) return 0;
  const TTextDialect tab = TabTextDialect(kFileTypeText);
  if (type == kFileTypeText && !CheckTextSave(book, tab).Any()) {
    std::string bytes;
    kvx::TextFileBytesInForm(TTextSheetWriter(book, book.Sheet(), tab).Text(), book.TextForm(), bytes);
    kvx::fuzz::Require(bytes == std::string(reinterpret_cast<const char*>(data), size),
                       "a text saved unchanged gives the file back");
  }
  const int lastRow = std::min(book.LastRow(), 64);
  for (int r = 1; r <= lastRow; ++r) {
    const int lastCol = std::min(book.LastColForRow(r), 16);
    for (int c = 1; c <= lastCol; ++c) {
      (void)book.Text(r, c);
      if (book.CellKind(r, c) == TCellKind::Formula) (void)FormulaAccepted(book.Cell(r, c)->Formula);
      const std::string entry = book.Entry(r, c);
      book.SetEntry(r, c, entry);
      (void)book.Text(r, c);
    }
  }
  return 0;
}
