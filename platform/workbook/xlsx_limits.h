// How much an .xlsx file may unpack to: the checks (xlsx_checks.h) refuse
// a file beyond these limits, and the reasons (read_failure.h) name them.
#pragma once

#include <cstdint>

namespace kvx::workbook {

// The most bytes all parts of an .xlsx file together, and one part alone,
// may unpack to (also the largest file read).
inline constexpr std::uint64_t kMaxXlsxBytes = 96ull * 1024 * 1024;
inline constexpr std::uint64_t kMaxXlsxPartBytes = 64ull * 1024 * 1024;

}  // namespace kvx::workbook
