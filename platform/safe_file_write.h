// Writing a file so that nothing is lost: the new contents go to a fresh
// temporary file beside the target, which then replaces the target in one
// rename. On any failure the target is left as it was.
#pragma once

#include <string>
#include <string_view>

namespace kvx {

// Replaces (or creates) `path` with `bytes`. False when the temporary file
// cannot be written or the rename fails; the target is then unchanged and
// no temporary file is left.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace kvx
