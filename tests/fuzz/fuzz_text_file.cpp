// Windows-1252 and UTF-8: the decoding of a file's bytes, the line split, the
// conversions both ways, and the whole-file readers on the input as a file.
// Promises: Windows-1252 survives a round trip through UTF-8; the decoded
// text is valid UTF-8; a text written as the program writes text files reads
// back as that text, and a file's text written in its form (UTF-8,
// Windows-1252, whole UTF-16) gives back the file's bytes; the file readers
// give back exactly the bytes.
#include "core/text_conversion.h"
#include "fuzz/fuzz_support.h"
#include "platform/text_encoding.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  std::string utf8 = Cp1252ToUtf8(bytes);
  fuzz::Require(IsValidUtf8(utf8), "Windows-1252 decodes to UTF-8");
  fuzz::Require(Utf8ToCp1252(utf8) == bytes, "Windows-1252 round trip");

  std::string decoded = DecodeTextBytes(bytes);
  fuzz::Require(IsValidUtf8(decoded), "decoded text is UTF-8");
  fuzz::Require(DecodeTextBytes(TextFileBytes(decoded)) == decoded, "a written text reads back as itself");
  const TTextFileForm form = TextBytesForm(bytes);
  const std::string kept = TextFileBytesKeeping(decoded, form);
  fuzz::Require(DecodeTextBytes(kept) == decoded, "a text written in its file's form reads back as itself");
  if (form.Encoding == TTextEncoding::Utf8) fuzz::Require(kept == bytes, "UTF-8 is written back byte for byte");
  std::string whole, units;
  if (TextFileBytesInForm(decoded, form, whole) &&
      (form.Encoding != TTextEncoding::Utf16 || Utf16TextToUtf8(bytes, units))) {
    fuzz::Require(whole == bytes, "a text written in its file's form gives back the file's bytes");
  }
  std::vector<std::string> lines = SplitTextLines(decoded);
  for (const std::string& line : lines) {
    fuzz::Require(line.find('\n') == std::string::npos && line.find('\r') == std::string::npos, "line ends");
  }

  Utf8ToCp1252(bytes);
  std::u32string points = Utf8ToCodePoints(bytes);
  std::string again = CodePointsToUtf8(points);
  fuzz::Require(IsValidUtf8(again), "code points to UTF-8");
  fuzz::Require(Utf8Length(again) == points.size(), "length in code points");
  std::size_t prefix = size > 0 ? data[0] : 0;
  std::string cut = Utf8Prefix(decoded, prefix);
  fuzz::Require(IsValidUtf8(cut) && Utf8Length(cut) <= prefix, "prefix");

  const std::string& path = fuzz::WriteScratch(bytes, ".txt");
  std::string read, error;
  fuzz::Require(ReadFileBytes(path, read, error) && read == bytes, "whole file read");
  std::vector<std::string> fileLines;
  fuzz::Require(ReadTextFileLines(path, fileLines) && fileLines == lines, "text file lines");
  CheckTextFileFormat(path);
  return 0;
}
