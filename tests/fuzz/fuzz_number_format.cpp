// Fuzz target: the number formatter. Input: a selector byte (locale), a
// little-endian double, then a format code; the value is rendered, its edit
// text made and typed back, the code applied to a text and the serial
// turned into a date.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/workbook/number_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kvx::workbook;
  if (size < 9 || size > 512) return 0;
  TFormatLocale locale;
  if (data[0] & 1) locale = TFormatLocale{'.', ',', '/', ':', true};
  double value = 0.0;
  std::memcpy(&value, data + 1, sizeof value);
  const std::string code(reinterpret_cast<const char*>(data + 9), size - 9);
  (void)FormatNumber(value, code, locale, 1 + data[0] % 17);
  (void)FormatText(code, code);
  (void)ClassifyFormat(code);
  (void)LocalFormat(CanonicalFormat(code, locale), locale);
  const std::string entry = EntryTextForNumber(value, code, locale);
  (void)ParseTypedEntry(entry, locale);
  (void)ParseTypedEntry(code, locale);
  int year = 0, month = 0, day = 0;
  SerialToDate(value, year, month, day);
  return 0;
}
