// Fuzz target: the records of a legacy .xls file that the program reads
// itself (formula results, booleans, errors, number formats), in this
// process: the compound-file container and the record stream, and the copy
// without the substreams embedded in sheets. Promises: no read or write
// outside the bytes, no endless loop, texts that are valid UTF-8, a copy of
// the same size.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/text_encoding.h"
#include "platform/workbook/xls_records.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The bytes as a whole file, and as a workbook stream on their own.
  for (const std::string& stream : {workbook::XlsWorkbookStream(bytes), std::string(bytes)}) {
    const workbook::TXlsRecords records = workbook::ReadXlsRecords(stream);
    for (const workbook::TXlsSheetRecords& sheet : records.Sheets) {
      fuzz::Require(IsValidUtf8(sheet.Name), "sheet name is UTF-8");
      for (const workbook::TXlsValueCell& cell : sheet.Cells) {
        fuzz::Require(cell.Row >= 1 && cell.Col >= 1, "cells count from 1");
        fuzz::Require(IsValidUtf8(cell.Text) && IsValidUtf8(cell.Format), "texts are UTF-8");
      }
    }
    fuzz::Require(workbook::XlsWithoutEmbeddedSubstreams(bytes, records.EmbeddedMarks).size() == bytes.size(),
                  "the copy has the file's size");
  }
  return 0;
}
