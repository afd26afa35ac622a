// The zip container of an .xlsx file as the checks (xlsx_checks.cpp) walk
// it: its central directory read and checked against the local headers and
// the size limits, its entries unpacked with their sizes and checksums
// checked, and the stored zip handed to the reading library written;
// xlsx_zip.cpp holds them. Not for use outside the workbook.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kvx::workbook::internal {

// An entry of the central directory: its name, method (0 stored, 8
// deflated), sizes, checksum and where its local header and its data start.
struct Entry {
  std::string Name;
  int Method = 0;
  std::uint64_t Compressed = 0;
  std::uint64_t Uncompressed = 0;
  std::uint64_t LocalOffset = 0;
  std::uint64_t DataOffset = 0;
  std::uint32_t Crc = 0;
};

// The entries of the zip's central directory, each checked against its
// local header, its method (stored or deflated) and the limits of
// xlsx_limits.h; false with the reason in `error` (read_failure.h).
bool ReadDirectory(const std::string& bytes, std::vector<Entry>& entries, std::string& error);

// Unpacks the part in pieces, counting the bytes it gives, and keeps them
// in `text` when that is given. False with the reason when the part gives
// more than the limit of one part or, with the `total` of the parts
// unpacked before it, of the file; or when its data is damaged: cannot be
// inflated, or gives another size or checksum than the directory says.
bool InflateChecked(const std::string& bytes, const Entry& entry, std::string* text, std::uint64_t& total,
                    std::string& error);

// The zip handed to the library: every part stored under `names[k]`, its
// text moved in (and freed); `parts` gets where each text stands.
std::string StoredZip(const std::vector<Entry>& entries, const std::vector<std::string>& names,
                      std::vector<std::string>& texts, const std::vector<bool>& changed,
                      std::vector<std::pair<std::string, std::pair<std::size_t, std::size_t>>>& parts);

}  // namespace kvx::workbook::internal
