// Fuzz target: a tab-separated text file opened in the workbook, its
// formulas computed, every cell shown and its edit text typed back.
// Promises: a text a save in place may write over (CheckTextSave finds
// nothing it would not give back) is given back byte for byte when saved
// unchanged; the sheet edited (a cell typed into below and beside the text,
// one holding a tab) and saved in place reads back as the sheet holds it,
// or the save is refused with the file as it was.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    kvx::TextFileBytesInForm(TTextSheetWriter(book, book.Sheet(), tab).Write().Text, book.TextForm(), bytes);
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
  const std::string original(reinterpret_cast<const char*>(data), size);
  const int below = std::min(book.LastRow(), 64) + 2;
  book.SetEntry(2, 2, "4");
  book.SetEntry(below, 1, original.substr(0, std::min<std::size_t>(size, 12)));
  book.SetEntry(below, 3, "2,5");
  TTextSaveCheck proof;
  if (SaveSheetText(book, path, tab, error, &proof)) {
    TWorkbook again;
    kvx::fuzz::Require(ReadWorkbookFile(again, path, type, error), "a text saved in place opens again");
    for (int r = 1; r <= std::max(book.LastRow(), again.LastRow()); ++r) {
      for (int c = 1; c <= std::max(book.LastColForRow(r), again.LastColForRow(r)); ++c) {
        kvx::fuzz::Require(book.Entry(r, c) == again.Entry(r, c), "a text saved in place reads back as the sheet");
      }
    }
  } else {
    std::ifstream in(path, std::ios::binary);
    const std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    kvx::fuzz::Require(kept == original, "a text not saved in place stays byte for byte");
  }
  return 0;
}
