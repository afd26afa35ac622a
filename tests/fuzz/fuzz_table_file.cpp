// Fuzz target: the own table file's reader. Whatever the bytes, the reader
// refuses or takes a grid whose every cell record lies inside it; what it
// takes is written again to the same size and reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "app/table_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kvx;
  TTableFileImage image;
  if (DecodeTableFile(std::span<const std::uint8_t>(data, size), image) != TableFileProblem::None) return 0;
  for (const TTableFileCell& cell : image.Cells) {
    if (cell.Row < 0 || cell.Col < 0 || cell.Row >= image.RowCount || cell.Col >= image.ColCount) std::abort();
  }
  const std::vector<std::uint8_t> again = EncodeTableFile(image);
  if (again.size() != size) std::abort();
  TTableFileImage back;
  if (DecodeTableFile(again, back) != TableFileProblem::None) std::abort();
  if (EncodeTableFile(back) != again) std::abort();
  return 0;
}
