// Checks of an .xlsx file before the spreadsheet-reading library sees it.
//
// The library trusts the zip directory: an entry that declares 4 GiB makes
// it allocate 4 GiB. It also stops the program (an assertion) on a <col>
// element without its column range. So before reading:
//   - the zip container is walked: every entry of the central directory
//     needs a local header inside the file with the same sizes, a method of
//     stored (sizes equal) or deflated, and a declared uncompressed size
//     that deflate can reach from its compressed size (at most 1032 times
//     as large, plus a little); all entries together at most kMaxXlsxBytes;
//   - the <col> elements of every worksheet part (inflated here up to the
//     sheet's cell data, where they end) need min and max with
//     1 <= min <= max <= 16384.
// A file failing a check is refused with the reason in `error` (English).
#pragma once

#include <cstdint>
#include <string>

namespace kvx::workbook {

// The most uncompressed bytes all parts of an .xlsx file may declare.
inline constexpr std::uint64_t kMaxXlsxBytes = 1536ull * 1024 * 1024;

bool CheckXlsxFile(const std::string& path, std::string& error);

// The same on the file's bytes (the fuzz target and the tests).
bool CheckXlsxBytes(const std::string& bytes, std::string& error);

}  // namespace kvx::workbook
