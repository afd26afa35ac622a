// The zip container of an .xlsx file: reading and checking its central
// directory, unpacking its entries with their sizes and checksums checked,
// and writing the stored zip handed to the reading library.
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/workbook/read_failure.h"
#include "platform/workbook/xlsx_limits.h"
#include "platform/workbook/xlsx_zip_internal.h"

namespace kvx::workbook::internal {

namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kZip64Locator = 0x07064b50;
constexpr std::uint32_t kZip64EndOfDirectory = 0x06064b50;
// Deflate cannot expand more than about 1032 to 1.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

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

void Put(std::string& out, std::uint64_t value, int size) {
  for (int k = 0; k < size; ++k) out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

}  // namespace

bool ReadDirectory(const std::string& bytes, std::vector<Entry>& entries, std::string& error) {
  // A file that starts as a zip but lacks its end was cut short.
  const bool zipStart = bytes.size() >= 4 && Field(bytes, 0, 4) == kLocalHeader;
  if (bytes.empty()) {
    error = ReadFailure(TReadFailure::Empty);
    return false;
  }
  if (bytes.size() < 22) {
    error = ReadFailure(zipStart ? TReadFailure::Truncated : TReadFailure::NotAZip);
    return false;
  }
  // The end record, searched backwards over a possible comment.
  std::uint64_t end = bytes.size() - 22;
  const std::uint64_t lowest = bytes.size() > 22 + 65535 ? bytes.size() - 22 - 65535 : 0;
  while (Field(bytes, end, 4) != kEndOfDirectory) {
    if (end == lowest) {
      error = ReadFailure(zipStart ? TReadFailure::Truncated : TReadFailure::NotAZip);
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
      error = ReadFailure(TReadFailure::DamagedZip);
      return false;
    }
    count = Field(bytes, record + 32, 8);
    directorySize = Field(bytes, record + 40, 8);
    directory = Field(bytes, record + 48, 8);
  }
  if (!Fits(bytes, directory, directorySize) || count > directorySize / 46) {
    error = ReadFailure(TReadFailure::DamagedZip);
    return false;
  }
  std::uint64_t at = directory;
  std::uint64_t total = 0;
  for (std::uint64_t k = 0; k < count; ++k) {
    if (!Fits(bytes, at, 46) || Field(bytes, at, 4) != kCentralHeader) {
      error = ReadFailure(TReadFailure::DamagedZip);
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
    entry.Crc = static_cast<std::uint32_t>(Field(bytes, at + 16, 4));
    if (!Fits(bytes, at + 46, nameLength + extraLength + commentLength)) {
      error = ReadFailure(TReadFailure::DamagedZip);
      return false;
    }
    entry.Name = bytes.substr(at + 46, nameLength);
    if (!ApplyZip64(bytes, at + 46 + nameLength, extraLength, true, entry)) {
      error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    at += 46 + nameLength + extraLength + commentLength;

    // The local header must agree with the directory.
    const std::uint64_t local = entry.LocalOffset;
    if (!Fits(bytes, local, 30) || Field(bytes, local, 4) != kLocalHeader ||
        static_cast<int>(Field(bytes, local + 8, 2)) != entry.Method) {
      error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    const std::uint64_t flags = Field(bytes, local + 6, 2);
    const std::uint64_t localName = Field(bytes, local + 26, 2);
    const std::uint64_t localExtra = Field(bytes, local + 28, 2);
    if (!Fits(bytes, local + 30, localName + localExtra) || bytes.compare(local + 30, localName, entry.Name) != 0) {
      error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    if ((flags & 8u) == 0) {
      Entry declared;
      declared.Compressed = Field(bytes, local + 18, 4);
      declared.Uncompressed = Field(bytes, local + 22, 4);
      if (!ApplyZip64(bytes, local + 30 + localName, localExtra, false, declared) ||
          declared.Compressed != entry.Compressed || declared.Uncompressed != entry.Uncompressed) {
        error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
        return false;
      }
    }
    entry.DataOffset = local + 30 + localName + localExtra;
    if (!Fits(bytes, entry.DataOffset, entry.Compressed)) {
      error = ReadFailure(zipStart ? TReadFailure::Truncated : TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    // The declared sizes against the limits (the inflated bytes are
    // counted again when the parts are unpacked).
    if (entry.Uncompressed > kMaxXlsxPartBytes) {
      error = ReadFailure(TReadFailure::PartTooLarge, entry.Name);
      return false;
    }
    total += entry.Uncompressed;
    if (total > kMaxXlsxBytes) {
      error = ReadFailure(TReadFailure::TooLarge);
      return false;
    }
    const bool plausible = entry.Method == 0   ? entry.Uncompressed == entry.Compressed
                           : entry.Method == 8 ? entry.Uncompressed <= entry.Compressed * kMaxDeflateRatio + 1024
                                               : false;
    if (!plausible) {
      error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    entries.push_back(std::move(entry));
  }
  return true;
}

bool InflateChecked(const std::string& bytes, const Entry& entry, std::string* text, std::uint64_t& total,
                    std::string& error) {
  if (text != nullptr) text->clear();
  auto damaged = [&] {
    error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
    return false;
  };
  std::uint64_t produced = 0;
  uLong crc = crc32(0L, Z_NULL, 0);
  auto take = [&](const char* data, std::size_t size) {
    produced += size;
    if (produced > kMaxXlsxPartBytes) {
      error = ReadFailure(TReadFailure::PartTooLarge, entry.Name);
      return false;
    }
    if (total + produced > kMaxXlsxBytes) {
      error = ReadFailure(TReadFailure::TooLarge);
      return false;
    }
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size));
    if (text != nullptr) text->append(data, size);
    return true;
  };
  if (entry.Method == 0) {
    for (std::uint64_t at = 0; at < entry.Compressed;) {
      const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(entry.Compressed - at, 1u << 20));
      if (!take(bytes.data() + entry.DataOffset + at, piece)) return false;
      at += piece;
    }
  } else {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return damaged();
    struct End {
      z_stream* Stream;
      ~End() { inflateEnd(Stream); }
    } end{&stream};
    std::vector<char> out(1u << 16);
    std::uint64_t fed = 0;
    int result = Z_OK;
    while (result != Z_STREAM_END) {
      if (stream.avail_in == 0 && fed < entry.Compressed) {
        const std::uint64_t piece = std::min<std::uint64_t>(entry.Compressed - fed, 1u << 20);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + entry.DataOffset + fed));
        stream.avail_in = static_cast<uInt>(piece);
        fed += piece;
      }
      stream.next_out = reinterpret_cast<Bytef*>(out.data());
      stream.avail_out = static_cast<uInt>(out.size());
      result = inflate(&stream, Z_NO_FLUSH);
      const std::size_t got = out.size() - stream.avail_out;
      if (got > 0 && !take(out.data(), got)) return false;
      if (result == Z_STREAM_END) break;
      // No progress with all input given: the data ends before the stream.
      if (result != Z_OK && !(result == Z_BUF_ERROR && got == 0 && stream.avail_in == 0 && fed < entry.Compressed)) {
        return damaged();
      }
    }
  }
  if (produced != entry.Uncompressed || static_cast<std::uint32_t>(crc) != entry.Crc) return damaged();
  total += produced;
  return true;
}

std::string StoredZip(const std::vector<Entry>& entries, const std::vector<std::string>& names,
                      std::vector<std::string>& texts, const std::vector<bool>& changed,
                      std::vector<std::pair<std::string, std::pair<std::size_t, std::size_t>>>& parts) {
  std::size_t size = 22;
  for (std::size_t k = 0; k < entries.size(); ++k) size += 30 + 46 + 2 * names[k].size() + texts[k].size();
  std::string out;
  out.reserve(size);
  std::string directory;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    std::string& data = texts[k];
    const std::string& name = names[k];
    const std::uint32_t crc = changed[k]
                                  ? static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(data.data()),
                                                                     static_cast<uInt>(data.size())))
                                  : entries[k].Crc;
    const std::uint64_t offset = out.size();
    Put(out, kLocalHeader, 4);
    Put(out, 20, 2);
    Put(out, 0, 2);  // flags: sizes in the header
    Put(out, 0, 2);  // stored
    Put(out, 0, 4);  // time and date
    Put(out, crc, 4);
    Put(out, data.size(), 4);
    Put(out, data.size(), 4);
    Put(out, name.size(), 2);
    Put(out, 0, 2);
    out += name;
    parts.emplace_back(name, std::make_pair(out.size(), data.size()));
    out += data;

    Put(directory, kCentralHeader, 4);
    Put(directory, 20, 2);
    Put(directory, 20, 2);
    Put(directory, 0, 2);
    Put(directory, 0, 2);
    Put(directory, 0, 4);
    Put(directory, crc, 4);
    Put(directory, data.size(), 4);
    Put(directory, data.size(), 4);
    Put(directory, name.size(), 2);
    Put(directory, 0, 2);
    Put(directory, 0, 2);
    Put(directory, 0, 2);
    Put(directory, 0, 2);
    Put(directory, 0, 4);
    Put(directory, offset, 4);
    directory += name;
    std::string().swap(data);
  }
  const std::uint64_t directoryOffset = out.size();
  out += directory;
  Put(out, kEndOfDirectory, 4);
  Put(out, 0, 4);
  Put(out, entries.size(), 2);
  Put(out, entries.size(), 2);
  Put(out, directory.size(), 4);
  Put(out, directoryOffset, 4);
  Put(out, 0, 2);
  return out;
}

}  // namespace kvx::workbook::internal
