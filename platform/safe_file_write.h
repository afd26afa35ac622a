// Writing a file so that nothing is lost: the new contents go to a fresh
// temporary file beside the target, which then replaces the target in one
// rename. On any failure the target is left as it was.
#pragma once

#include <string>
#include <string_view>

namespace kvx {

// Replaces (or creates) `path` with `bytes`. False when the temporary file
// cannot be written or the rename fails; the target is then unchanged, no
// temporary file is left, and `error` says what failed (English, with the
// file name).
bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string& error);

// The same without the reason.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

// Writes `bytes` to a fresh temporary file beside `path` (FreeTemporaryPath)
// and gives its name, for a writer that checks the file before it replaces
// the target (ReplaceWithTemporary); empty with `error` when it cannot be
// written, no temporary file then being left.
std::string WriteTemporaryBeside(const std::string& path, std::string_view bytes, std::string& error);

// For writers that create the temporary file themselves: a name beside
// `path` that nothing uses yet ("<path>.kvxtmp", then "<path>.kvxtmp1" ..
// "<path>.kvxtmp99"); empty when every candidate is taken.
std::string FreeTemporaryPath(const std::string& path);

// Renames the finished `temporary` onto `path`. On failure the temporary
// file is removed and `error` says why; the target is unchanged.
bool ReplaceWithTemporary(const std::string& temporary, const std::string& path, std::string& error);

}  // namespace kvx
