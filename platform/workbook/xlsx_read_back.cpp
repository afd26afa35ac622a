// An .xlsx file saved over its file only when it reads back as the
// workbook holds it.
#include <functional>
#include <string_view>
#include <utility>

#include "platform/workbook/isolated_read.h"
#include "platform/workbook/read_back.h"
#include "platform/workbook/read_failure.h"
#include "platform/workbook/workbook_files.h"

namespace kvx::workbook {

namespace {

std::function<void(const std::string&)>& ProofSeam() {
  static std::function<void(const std::string&)> seam;
  return seam;
}

// A difference as the child sends it: each text led by its length in four
// bytes, least significant first.
std::string PackDifference(const TReadBack& found) {
  std::string out;
  for (const std::string* text : {&found.Cell, &found.From, &found.As}) {
    for (int k = 0; k < 4; ++k) out += static_cast<char>((text->size() >> (8 * k)) & 0xFF);
    out += *text;
  }
  return out;
}

bool UnpackDifference(std::string_view bytes, TReadBack& found) {
  for (std::string* text : {&found.Cell, &found.From, &found.As}) {
    if (bytes.size() < 4) return false;
    std::size_t length = 0;
    for (int k = 3; k >= 0; --k)
      length = (length << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(k)]);
    if (length > bytes.size() - 4) return false;
    *text = std::string(bytes.substr(4, length));
    bytes.remove_prefix(4 + length);
  }
  return bytes.empty() && found.Any();
}

}  // namespace

void SetXlsxProofSeam(std::function<void(const std::string& written)> seam) { ProofSeam() = std::move(seam); }

bool WriteXlsxProven(const TWorkbook& book, const std::string& path, TWriteError& error, TReadBack& found) {
  found = TReadBack{};
  book.EnsureCalculated();
  return WriteXlsx(book, path, error, [&](const std::string& written) {
    if (ProofSeam()) ProofSeam()(written);
    // The child reads the file and compares it, row by row as it reads,
    // with its copy of the workbook; only the first difference, if any,
    // comes back.
    std::string difference;
    std::string readError;
    if (!RunInChildProcess(
            [&](std::string& out, std::string& e) {
              TReadBack first;
              if (!ReadXlsxComparing(book, written, first, e)) return false;
              if (first.Any()) out = PackDifference(first);
              return true;
            },
            difference, readError)) {
      return error.Fail(TWriteFailure::Other, "the file written does not read back: " + readError);
    }
    if (difference.empty()) return true;
    if (!UnpackDifference(difference, found)) {
      found = TReadBack{};
      return error.Fail(TWriteFailure::Other,
                        "the file written does not read back: " + ReadFailure(TReadFailure::ReaderStopped));
    }
    return false;
  });
}

}  // namespace kvx::workbook
