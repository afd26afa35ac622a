#include "platform/workbook/xlsx_checks.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/text_encoding.h"

namespace kvx::workbook {

namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kZip64Locator = 0x07064b50;
constexpr std::uint32_t kZip64EndOfDirectory = 0x06064b50;
// Deflate cannot expand more than about 1032 to 1.
constexpr std::uint64_t kMaxDeflateRatio = 1032;
// The most bytes of a worksheet part inflated to look for its <col> elements.
constexpr std::size_t kMaxColumnSection = 16u * 1024 * 1024;

// Little-endian fields at an offset; zero past the end (callers check the
// lengths first).
std::uint64_t Field(const std::string& bytes, std::uint64_t at, int size) {
  std::uint64_t value = 0;
  for (int k = size - 1; k >= 0; --k) {
    const std::uint64_t i = at + static_cast<std::uint64_t>(k);
    value = (value << 8) | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u);
  }
  return value;
}

bool Fits(const std::string& bytes, std::uint64_t at, std::uint64_t length) {
  return at <= bytes.size() && length <= bytes.size() - at;
}

struct Entry {
  std::string Name;
  int Method = 0;
  std::uint64_t Compressed = 0;
  std::uint64_t Uncompressed = 0;
  std::uint64_t LocalOffset = 0;
  std::uint64_t DataOffset = 0;
};

// Replaces sizes and offset marked 0xFFFFFFFF by those of the zip64 extra
// field (id 1); false when the field is missing or short.
bool ApplyZip64(const std::string& bytes, std::uint64_t extra, std::uint64_t extraLength, bool wantOffset,
                Entry& entry) {
  const bool wantUncompressed = entry.Uncompressed == 0xFFFFFFFFu;
  const bool wantCompressed = entry.Compressed == 0xFFFFFFFFu;
  wantOffset = wantOffset && entry.LocalOffset == 0xFFFFFFFFu;
  if (!wantUncompressed && !wantCompressed && !wantOffset) return true;
  std::uint64_t at = extra;
  const std::uint64_t end = extra + extraLength;
  while (at + 4 <= end) {
    const std::uint64_t id = Field(bytes, at, 2);
    const std::uint64_t size = Field(bytes, at + 2, 2);
    if (at + 4 + size > end) return false;
    if (id == 1) {
      std::uint64_t field = at + 4;
      const std::uint64_t stop = field + size;
      auto take = [&](bool want, std::uint64_t& value) {
        if (!want) return true;
        if (field + 8 > stop) return false;
        value = Field(bytes, field, 8);
        field += 8;
        return true;
      };
      return take(wantUncompressed, entry.Uncompressed) && take(wantCompressed, entry.Compressed) &&
             take(wantOffset, entry.LocalOffset);
    }
    at += 4 + size;
  }
  return false;
}

bool ReadDirectory(const std::string& bytes, std::vector<Entry>& entries, std::string& error) {
  if (bytes.size() < 22) {
    error = "not a zip file";
    return false;
  }
  // The end record, searched backwards over a possible comment.
  std::uint64_t end = bytes.size() - 22;
  const std::uint64_t lowest = bytes.size() > 22 + 65535 ? bytes.size() - 22 - 65535 : 0;
  while (Field(bytes, end, 4) != kEndOfDirectory) {
    if (end == lowest) {
      error = "no zip directory";
      return false;
    }
    --end;
  }
  std::uint64_t count = Field(bytes, end + 10, 2);
  std::uint64_t directory = Field(bytes, end + 16, 4);
  std::uint64_t directorySize = Field(bytes, end + 12, 4);
  if ((count == 0xFFFF || directory == 0xFFFFFFFFu || directorySize == 0xFFFFFFFFu) && end >= 20 &&
      Field(bytes, end - 20, 4) == kZip64Locator) {
    const std::uint64_t record = Field(bytes, end - 20 + 8, 8);
    if (!Fits(bytes, record, 56) || Field(bytes, record, 4) != kZip64EndOfDirectory) {
      error = "damaged zip64 directory";
      return false;
    }
    count = Field(bytes, record + 32, 8);
    directorySize = Field(bytes, record + 40, 8);
    directory = Field(bytes, record + 48, 8);
  }
  if (!Fits(bytes, directory, directorySize) || count > directorySize / 46) {
    error = "damaged zip directory";
    return false;
  }
  std::uint64_t at = directory;
  std::uint64_t total = 0;
  for (std::uint64_t k = 0; k < count; ++k) {
    if (!Fits(bytes, at, 46) || Field(bytes, at, 4) != kCentralHeader) {
      error = "damaged zip directory";
      return false;
    }
    Entry entry;
    entry.Method = static_cast<int>(Field(bytes, at + 10, 2));
    entry.Compressed = Field(bytes, at + 20, 4);
    entry.Uncompressed = Field(bytes, at + 24, 4);
    const std::uint64_t nameLength = Field(bytes, at + 28, 2);
    const std::uint64_t extraLength = Field(bytes, at + 30, 2);
    const std::uint64_t commentLength = Field(bytes, at + 32, 2);
    entry.LocalOffset = Field(bytes, at + 42, 4);
    if (!Fits(bytes, at + 46, nameLength + extraLength + commentLength)) {
      error = "damaged zip directory";
      return false;
    }
    entry.Name = bytes.substr(at + 46, nameLength);
    if (!ApplyZip64(bytes, at + 46 + nameLength, extraLength, true, entry)) {
      error = "damaged zip64 sizes of " + entry.Name;
      return false;
    }
    at += 46 + nameLength + extraLength + commentLength;

    // The local header must agree with the directory.
    const std::uint64_t local = entry.LocalOffset;
    if (!Fits(bytes, local, 30) || Field(bytes, local, 4) != kLocalHeader ||
        static_cast<int>(Field(bytes, local + 8, 2)) != entry.Method) {
      error = "damaged zip entry " + entry.Name;
      return false;
    }
    const std::uint64_t flags = Field(bytes, local + 6, 2);
    const std::uint64_t localName = Field(bytes, local + 26, 2);
    const std::uint64_t localExtra = Field(bytes, local + 28, 2);
    if (!Fits(bytes, local + 30, localName + localExtra) || bytes.compare(local + 30, localName, entry.Name) != 0) {
      error = "damaged zip entry " + entry.Name;
      return false;
    }
    if ((flags & 8u) == 0) {
      Entry declared;
      declared.Compressed = Field(bytes, local + 18, 4);
      declared.Uncompressed = Field(bytes, local + 22, 4);
      if (!ApplyZip64(bytes, local + 30 + localName, localExtra, false, declared) ||
          declared.Compressed != entry.Compressed || declared.Uncompressed != entry.Uncompressed) {
        error = "the sizes of zip entry " + entry.Name + " disagree";
        return false;
      }
    }
    entry.DataOffset = local + 30 + localName + localExtra;
    if (!Fits(bytes, entry.DataOffset, entry.Compressed)) {
      error = "zip entry " + entry.Name + " runs past the end of the file";
      return false;
    }
    const bool plausible = entry.Method == 0   ? entry.Uncompressed == entry.Compressed
                           : entry.Method == 8 ? entry.Uncompressed <= entry.Compressed * kMaxDeflateRatio + 1024
                                               : false;
    if (!plausible) {
      error = "zip entry " + entry.Name + " declares an impossible size or method";
      return false;
    }
    total += entry.Uncompressed;
    if (total > kMaxXlsxBytes) {
      error = "the parts of the file declare more than " + std::to_string(kMaxXlsxBytes >> 20) + " MiB";
      return false;
    }
    entries.push_back(std::move(entry));
  }
  return true;
}

// The start of a worksheet part up to its cell data (where the <col>
// elements end), inflated. False when the data cannot be inflated.
bool ColumnSection(const std::string& bytes, const Entry& entry, std::string& text) {
  text.clear();
  if (entry.Method == 0) {
    text = bytes.substr(entry.DataOffset, std::min<std::uint64_t>(entry.Compressed, kMaxColumnSection));
    return true;
  }
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + entry.DataOffset));
  stream.avail_in = static_cast<uInt>(std::min<std::uint64_t>(entry.Compressed, 0x7FFFFFFFu));
  char chunk[65536];
  bool ok = true;
  while (text.size() < kMaxColumnSection) {
    stream.next_out = reinterpret_cast<Bytef*>(chunk);
    stream.avail_out = sizeof chunk;
    const int result = inflate(&stream, Z_NO_FLUSH);
    const std::size_t produced = sizeof chunk - stream.avail_out;
    const std::size_t searchFrom = text.size() > 16 ? text.size() - 16 : 0;
    text.append(chunk, produced);
    if (text.find("sheetData", searchFrom) != std::string::npos) break;
    if (result == Z_STREAM_END) break;
    if (result != Z_OK || produced == 0) {
      ok = result == Z_BUF_ERROR && stream.avail_in == 0;
      break;
    }
  }
  inflateEnd(&stream);
  return ok;
}

bool AllDigits(std::string_view s) {
  return !s.empty() && s.size() <= 9 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view LocalName(std::string_view name) {
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Every <col> element of the text has 1 <= min <= max <= 16384.
bool ColumnsHaveRanges(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    std::size_t i = at + 1;
    std::size_t nameEnd = i;
    while (nameEnd < text.size() && !space(text[nameEnd]) && text[nameEnd] != '/' && text[nameEnd] != '>') ++nameEnd;
    if (LocalName(text.substr(i, nameEnd - i)) != "col") continue;
    std::string_view min;
    std::string_view max;
    i = nameEnd;
    while (true) {
      while (i < text.size() && space(text[i])) ++i;
      if (i >= text.size()) return false;
      if (text[i] == '/' || text[i] == '>') break;
      const std::size_t attrStart = i;
      while (i < text.size() && text[i] != '=' && !space(text[i]) && text[i] != '>') ++i;
      const std::string_view attr = LocalName(text.substr(attrStart, i - attrStart));
      while (i < text.size() && space(text[i])) ++i;
      if (i >= text.size() || text[i] != '=') return false;
      ++i;
      while (i < text.size() && space(text[i])) ++i;
      if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) return false;
      const std::size_t close = text.find(text[i], i + 1);
      if (close == std::string_view::npos) return false;
      const std::string_view value = text.substr(i + 1, close - i - 1);
      if (attr == "min") min = value;
      if (attr == "max") max = value;
      i = close + 1;
    }
    if (!AllDigits(min) || !AllDigits(max)) return false;
    const long first = std::stol(std::string(min));
    const long last = std::stol(std::string(max));
    if (first < 1 || first > last || last > 16384) return false;
  }
  return true;
}

bool IsWorksheetPart(const std::string& name) {
  constexpr std::string_view folder = "xl/worksheets/";
  return name.size() > folder.size() + 4 && name.compare(0, folder.size(), folder) == 0 &&
         name.compare(name.size() - 4, 4, ".xml") == 0;
}

}  // namespace

bool CheckXlsxBytes(const std::string& bytes, std::string& error) {
  std::vector<Entry> entries;
  if (!ReadDirectory(bytes, entries, error)) return false;
  std::string section;
  for (const Entry& entry : entries) {
    if (!IsWorksheetPart(entry.Name)) continue;
    if (!ColumnSection(bytes, entry, section)) {
      error = "zip entry " + entry.Name + " cannot be inflated";
      return false;
    }
    if (section.size() >= kMaxColumnSection && section.find("sheetData") == std::string::npos) {
      error = "the column records of " + entry.Name + " are too long";
      return false;
    }
    if (!ColumnsHaveRanges(section)) {
      error = "a column record of " + entry.Name + " has no valid column range";
      return false;
    }
  }
  return true;
}

bool CheckXlsxFile(const std::string& path, std::string& error) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  return CheckXlsxBytes(bytes, error);
}

}  // namespace kvx::workbook
