// The file viewer's loaders on arbitrary bytes: the first byte picks the
// loader (asteroid records, comet records, text, markup text); the lines
// never exceed the line and length limits and never crash or hang.
#include "fuzz/fuzz_support.h"
#include "orbitdet/file_view.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  bool tooLarge = false;
  std::vector<std::string> lines;
  switch (data[0] % 4) {
    case 0: lines = ElementRecordLines(input, false, tooLarge); break;
    case 1: lines = ElementRecordLines(input, true, tooLarge); break;
    case 2: lines = TextViewLines(input, false, tooLarge); break;
    default: lines = TextViewLines(input, true, tooLarge); break;
  }
  fuzz::Require(lines.size() <= kFileViewMaxLines, "line limit");
  for (const std::string& line : lines) fuzz::Require(line.size() <= kFileViewMaxLineLength + 2, "line length");
  return 0;
}
