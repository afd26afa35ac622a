#include "platform/safe_output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

namespace kvx {

namespace {

constexpr std::size_t kBufferBytes = 1 << 16;

}  // namespace

TSafeOutputFile::TSafeOutputFile(std::string path, THardLinks links) : path_(std::move(path)), links_(links) {}

TSafeOutputFile::~TSafeOutputFile() { Discard(); }

bool TSafeOutputFile::Open(TWriteError& error) {
  Discard();
  if (const TWriteFailure why = WhyNotWritable(path_); why != TWriteFailure::None) {
    return error.Fail(why, "cannot write " + path_);
  }
  temporary_ = CreateTemporaryBeside(path_, error);
  if (temporary_.empty()) return false;
  // The file just made, never one a link put in its place.
  fd_ = ::open(temporary_.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd_ < 0) {
    const int failed = errno;
    Discard();
    return error.FailWithErrno(failed, "cannot write the temporary file beside " + path_);
  }
  buffer_.reserve(kBufferBytes);
  failed_ = 0;
  return true;
}

bool TSafeOutputFile::Flush() {
  std::string_view rest = buffer_;
  while (failed_ == 0 && !rest.empty()) {
    const ssize_t written = ::write(fd_, rest.data(), rest.size());
    if (written < 0) {
      if (errno != EINTR) failed_ = errno;
      continue;
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  buffer_.clear();
  return failed_ == 0;
}

bool TSafeOutputFile::Write(std::string_view bytes) {
  if (fd_ < 0 || failed_ != 0) return false;
  if (buffer_.size() + bytes.size() > kBufferBytes && !Flush()) return false;
  if (bytes.size() >= kBufferBytes) {
    buffer_.assign(bytes);
    return Flush();
  }
  buffer_.append(bytes);
  return true;
}

bool TSafeOutputFile::Commit(TWriteError& error) {
  if (fd_ < 0) return error.Fail(TWriteFailure::Other, "cannot write " + path_);
  Flush();
  if (::close(std::exchange(fd_, -1)) != 0 && failed_ == 0) failed_ = errno;
  if (failed_ != 0) {
    const int failed = failed_;
    const std::string temporary = temporary_;
    Discard();
    return error.FailWithErrno(failed, "cannot write " + temporary);
  }
  // The temporary file is the replacing's now: it removes it on failure.
  return ReplaceWithTemporary(std::exchange(temporary_, {}), path_, error, links_);
}

void TSafeOutputFile::Discard() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  buffer_.clear();
  if (!temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(std::exchange(temporary_, {}), ignored);
  }
}

}  // namespace kvx
