// The semicolon-separated element list from which the asteroid database is
// built: every line through the line parser, then the header reader over
// all lines (both for the whole file and for a period). The first byte
// chooses the mode, the next sixteen give the period; the rest is the text.
#include "core/asteroid_database.h"
#include "fuzz/fuzz_support.h"
#include "platform/text_encoding.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  fuzz::Bytes in(data, size);
  std::uint8_t wholeFile = in.Byte() & 1;
  double jd1 = in.Double(), jd2 = in.Double();
  std::vector<std::string> lines = SplitTextLines(DecodeTextBytes(in.Rest()));

  for (const std::string& line : lines) {
    TEelRecord record;
    TEelHeader header;
    std::string error;
    ParseAsteroidDbLine(line, record, header, &error);
  }
  TEelHeader header;
  if (ReadAsteroidDbHeader(wholeFile, lines, header, jd1, jd2)) {
    fuzz::Require(header.Step >= 1, "step of at least a day");
  }
  return 0;
}
