// Reading untrusted workbook files in a child process.
//
// The libraries that read .xlsx (liborcus) and legacy .xls (freexl) files
// can crash, abort or allocate without bound on damaged files. A file the
// user opens is therefore read in a child process (fork) with limits
// (setrlimit): address space kIsolatedMemoryBytes above what the program
// already maps (not under AddressSanitizer, which reserves terabytes of
// address space), kIsolatedCpuSeconds of processor time, no core file;
// and a wall-clock limit of kIsolatedWallSeconds, after which the parent
// kills it. The child sends what it made back through a pipe (the
// workbook it read as a snapshot, EncodeWorkbookSnapshot, or only a small
// result); a crash, an abort, a runaway allocation or a time-out in the
// child becomes an error text, and the workbook in the parent stays as it
// was.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/workbook/workbook.h"

namespace kvx::workbook {

inline constexpr std::uint64_t kIsolatedMemoryBytes = 3ull * 1024 * 1024 * 1024;
inline constexpr int kIsolatedCpuSeconds = 120;
inline constexpr int kIsolatedWallSeconds = 240;

// Runs `work` in a child process under the limits above. `work` leaves
// the bytes to send back in its first argument and returns true, or leaves
// an English text in its second and returns false. True with those bytes
// in `reply`; false with an English text in `error` when `work` failed or
// the child crashed, ran out of memory or time, or sent nothing whole.
// What `work` reads of the program's memory is the program's as it stood
// at the call (the child is a copy); what it changes stays in the child.
bool RunInChildProcess(const std::function<bool(std::string& reply, std::string& error)>& work, std::string& reply,
                       std::string& error);

// Runs `read` on a fresh workbook (with the view flags of `book`) in a
// child process and, when it
// succeeds there, hands the result to `book`: contents, names, styles,
// current sheet and the view flags the readers set (scale, grid lines,
// protection). False with an English text in `error` otherwise. A text
// that `read` leaves in its error argument when it succeeds is a note for
// the user (what the file held that the reader could not bring in): it
// comes back in `note` (empty when there is none).
bool ReadInChildProcess(TWorkbook& book, const std::function<bool(TWorkbook&, std::string&)>& read, std::string& error,
                        std::string* note = nullptr);

// The workbook's contents as bytes, and back into a workbook (whose
// contents are replaced). Decoding checks every count against the bytes
// left and fails on anything malformed, leaving the workbook as it was.
std::string EncodeWorkbookSnapshot(const TWorkbook& book);
bool DecodeWorkbookSnapshot(std::string_view bytes, TWorkbook& book);

}  // namespace kvx::workbook
