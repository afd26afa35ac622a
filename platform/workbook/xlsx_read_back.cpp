// An .xlsx file saved over its file only when it reads back as the
// workbook holds it.
#include <algorithm>
#include <functional>
#include <utility>

#include "platform/workbook/isolated_read.h"
#include "platform/workbook/read_back.h"
#include "platform/workbook/workbook_files.h"

namespace kvx::workbook {

namespace {

std::function<void(const std::string&)>& ProofSeam() {
  static std::function<void(const std::string&)> seam;
  return seam;
}

}  // namespace

void SetXlsxProofSeam(std::function<void(const std::string& written)> seam) { ProofSeam() = std::move(seam); }

bool WriteXlsxProven(const TWorkbook& book, const std::string& path, TWriteError& error, TReadBack& found) {
  found = TReadBack{};
  book.EnsureCalculated();
  return WriteXlsx(book, path, error, [&](const std::string& written) {
    if (ProofSeam()) ProofSeam()(written);
    TWorkbook back(1);
    std::string readError;
    if (!ReadInChildProcess(
            back, [&](TWorkbook& b, std::string& e) { return ReadXlsx(b, written, e); }, readError)) {
      return error.Fail(TWriteFailure::Other, "the file written does not read back: " + readError);
    }
    const bool named = book.NumSheets() > 1 || back.NumSheets() > 1;
    for (int s = 1; s <= std::max(book.NumSheets(), back.NumSheets()); ++s) {
      if (s > book.NumSheets() || s > back.NumSheets() || book.SheetName(s) != back.SheetName(s)) {
        // A sheet gone or named otherwise.
        found.Cell = (s <= book.NumSheets() ? book.SheetName(s) : back.SheetName(s)) + "!A1";
        if (s <= book.NumSheets()) found.From = book.EntryOn(s, 1, 1, book.Locale());
        if (s <= back.NumSheets()) found.As = back.EntryOn(s, 1, 1, back.Locale());
        return false;
      }
      if (SheetReadsOtherwise(book, s, back, s, true, named ? book.SheetName(s) + "!" : std::string(), found)) {
        return false;
      }
    }
    return true;
  });
}

}  // namespace kvx::workbook
