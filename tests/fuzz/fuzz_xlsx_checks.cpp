// Fuzz target: the checks of an .xlsx file before the reading library sees
// it (zip directory and local headers, declared sizes, inflation, <col>
// ranges) and the fallback of bad formulas to their stored values, which
// rebuilds the zip; the rebuilt file must pass the checks again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/workbook/xlsx_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kvx::workbook;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<TXlsxTextCell> texts;
  std::string error;
  if (!PrepareXlsxBytes(bytes, texts, error)) return 0;
  std::vector<TXlsxTextCell> again;
  if (!PrepareXlsxBytes(bytes, again, error) || !again.empty()) std::abort();
  return 0;
}
