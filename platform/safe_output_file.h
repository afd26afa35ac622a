// A file written piece by piece (a converted catalogue, a position database
// of many megabytes) through the same safe write as WriteFileReplacing: the
// pieces go to a temporary file created exclusively beside the target (mode
// 0600), which replaces the target at Commit, keeping its mode, owner and
// links and, with THardLinks::Keep, every name of a file with more than one
// hard link (platform/safe_file_write.h). A file not committed leaves the
// target as it was and no temporary file behind.
#pragma once

#include <string>
#include <string_view>

#include "platform/safe_file_write.h"

namespace kvx {

class TSafeOutputFile {
 public:
  explicit TSafeOutputFile(std::string path, THardLinks links = THardLinks::Keep);
  // Removes the temporary file of an output not committed.
  ~TSafeOutputFile();
  TSafeOutputFile(const TSafeOutputFile&) = delete;
  TSafeOutputFile& operator=(const TSafeOutputFile&) = delete;

  // Creates the temporary file; false with `error` when the target may not
  // be written (WhyNotWritable, before any work) or no temporary file can
  // be created beside it.
  bool Open(TWriteError& error);
  // Appends `bytes` (buffered). False once a write has failed; the failure
  // is told by Commit.
  bool Write(std::string_view bytes);
  // Puts the finished file in the target's place; false with `error` when
  // a write failed or the replacing did (the target then as it was).
  bool Commit(TWriteError& error);
  // Drops what was written: the target stays as it was.
  void Discard();

  const std::string& Path() const { return path_; }

 private:
  bool Flush();

  std::string path_;
  THardLinks links_;
  std::string temporary_;
  int fd_ = -1;
  std::string buffer_;
  int failed_ = 0;  // the error number of the first failed write
};

}  // namespace kvx
