#include "platform/safe_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

namespace kvx {

namespace fs = std::filesystem;

namespace {

constexpr int kMostLinks = 40;  // the system's own limit of links followed in a path

std::string SystemReason(int errorNumber) { return std::error_code(errorNumber, std::generic_category()).message(); }

// A descriptor closed when it goes out of scope.
class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return fd_; }
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }
  // Closes it now: the error number of a failed close (a file system that
  // reports a full disk only then), else 0.
  int Close() {
    const int fd = std::exchange(fd_, -1);
    return fd >= 0 && ::close(fd) != 0 ? errno : 0;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

// Writes all of `bytes` at `offset`; 0, or the error number.
int WriteAllAt(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
    offset += written;
  }
  return 0;
}

// Reads the whole file behind `fd` into `bytes`; 0, or the error number.
int ReadAll(int fd, std::string& bytes) {
  bytes.clear();
  char buffer[1 << 16];
  for (off_t offset = 0;;) {
    const ssize_t got = ::pread(fd, buffer, sizeof buffer, offset);
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) return 0;
    bytes.append(buffer, static_cast<std::size_t>(got));
    offset += got;
  }
}

// Syncs the file or folder `path` to the disk; 0, or the error number.
int SyncPath(const std::string& path, int flags) {
  TDescriptor fd(::open(path.c_str(), flags | O_CLOEXEC));
  if (fd.Get() < 0) return errno;
  return ::fsync(fd.Get()) == 0 ? 0 : errno;
}

// The process's umask, read without changing it where the system tells it.
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (!line.starts_with("Umask:")) continue;
    mode_t mask = 0;
    bool digits = false;
    for (const char ch : line.substr(6)) {
      if (ch < '0' || ch > '7') continue;
      mask = static_cast<mode_t>(mask * 8 + static_cast<mode_t>(ch - '0'));
      digits = true;
    }
    if (digits) return mask & 0777;
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

bool InGroup(gid_t group) {
  if (group == ::getegid()) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = ::getgroups(count, groups.data());
  return got > 0 && std::find(groups.begin(), groups.begin() + got, group) != groups.begin() + got;
}

// Whether the mode of `status` lets this user write: the bits of the
// owner, the group or the others, whichever the user is; for the
// superuser, whom the system lets write anything, any write bit.
bool ModeLetsWrite(const struct stat& status) {
  const uid_t user = ::geteuid();
  if (user == 0) return (status.st_mode & 0222) != 0;
  if (status.st_uid == user) return (status.st_mode & S_IWUSR) != 0;
  if (InGroup(status.st_gid)) return (status.st_mode & S_IWGRP) != 0;
  return (status.st_mode & S_IWOTH) != 0;
}

// The name of the temporary file beside `base` at try `attempt` (0 to 99):
// "name.kvxtmp", then "name.kvxtmp1", "name.kvxtmp2" ... "name.kvxtmp99".
std::string TemporaryName(const std::string& base, int attempt) {
  std::string name = base + ".kvxtmp";
  if (attempt >= 10) name += static_cast<char>('0' + attempt / 10);
  if (attempt > 0) name += static_cast<char>('0' + attempt % 10);
  return name;
}

// Creates a new temporary file beside `base` exclusively, mode 0600, and
// gives its name with the descriptor open for writing in `fd`.
std::string OpenTemporary(const std::string& base, TDescriptor& fd, TWriteError& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = TemporaryName(base, attempt);
    const int opened = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (opened >= 0) {
      fd.Reset(opened);
      return candidate;
    }
    if (errno != EEXIST) {
      error.FailWithErrno(errno, "cannot create " + candidate);
      return {};
    }
  }
  error.Fail(TWriteFailure::Other, "cannot create a temporary file beside " + base);
  return {};
}

// Gives the file `temporary` the owner and group of `old` where the system
// lets the user (the group alone where the owner cannot be kept).
void KeepOwner(const std::string& temporary, const struct stat& old) {
  if (::chown(temporary.c_str(), old.st_uid, old.st_gid) == 0) return;
  if (::chown(temporary.c_str(), static_cast<uid_t>(-1), old.st_gid) != 0) {
    // Neither: the file keeps the user's own, as a file the user makes.
  }
}

// Writes the contents of `temporary` into the file `target` itself, for a
// file with more than one name: its inode, links, mode and owner stay. The
// room the longer contents need is taken first, so that a full disk stops
// the write before a byte changes; a write that fails halfway puts the old
// contents back.
bool RewriteInPlace(const std::string& temporary, const std::string& target, TWriteError& error) {
  std::string fresh;
  {
    TDescriptor in(::open(temporary.c_str(), O_RDONLY | O_CLOEXEC));
    const int failed = in.Get() < 0 ? errno : ReadAll(in.Get(), fresh);
    if (failed != 0) return error.FailWithErrno(failed, "cannot read " + temporary);
  }
  TDescriptor file(::open(target.c_str(), O_RDWR | O_CLOEXEC));
  if (file.Get() < 0) return error.FailWithErrno(errno, "cannot open " + target);
  std::string before;
  if (const int failed = ReadAll(file.Get(), before); failed != 0) {
    return error.FailWithErrno(failed, "cannot read " + target);
  }
  if (fresh.size() > before.size() &&
      ::fallocate(file.Get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(fresh.size())) != 0 && errno != EOPNOTSUPP &&
      errno != ENOSYS) {
    return error.FailWithErrno(errno, "no room to rewrite " + target);
  }
  int failed = WriteAllAt(file.Get(), fresh, 0);
  if (failed == 0 && ::ftruncate(file.Get(), static_cast<off_t>(fresh.size())) != 0) failed = errno;
  if (failed == 0 && ::fsync(file.Get()) != 0) failed = errno;
  if (failed != 0) {
    // The old contents back, as far as the system lets.
    if (WriteAllAt(file.Get(), before, 0) == 0 && ::ftruncate(file.Get(), static_cast<off_t>(before.size())) == 0) {
      ::fsync(file.Get());
    }
    return error.FailWithErrno(failed, "cannot rewrite " + target);
  }
  return true;
}

}  // namespace

bool TWriteError::Fail(TWriteFailure cause, std::string text) {
  Cause = cause;
  Text = std::move(text);
  return false;
}

bool TWriteError::FailWithErrno(int errorNumber, const std::string& what) {
  return Fail(WriteFailureOf(errorNumber), what + ": " + SystemReason(errorNumber));
}

TWriteFailure WriteFailureOf(int errorNumber) {
  switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return TWriteFailure::DiskFull;
    case EACCES:
    case EPERM:
      return TWriteFailure::NoPermission;
    case EROFS:
      return TWriteFailure::FolderReadOnly;
    case ENOENT:
    case ENOTDIR:
      return TWriteFailure::FileGone;
    case ETXTBSY:
    case EBUSY:
      return TWriteFailure::InUse;
    default:
      return TWriteFailure::Other;
  }
}

TWriteFailure WriteFailureAfter(int errorNumber, const std::string& path) {
  const TWriteFailure cause = WriteFailureOf(errorNumber);
  if (cause != TWriteFailure::Other) return cause;
  const std::string folder = FolderOf(ResolvedTarget(path));
  struct stat status {};
  if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return TWriteFailure::FileGone;
  struct statvfs room {};
  if (::statvfs(folder.c_str(), &room) == 0 && (::geteuid() == 0 ? room.f_bfree : room.f_bavail) == 0) {
    return TWriteFailure::DiskFull;
  }
  return TWriteFailure::Other;
}

TFileStamp FileStampOf(const std::string& path) {
  TFileStamp stamp;
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return stamp;
  stamp.Exists = true;
  stamp.Device = static_cast<std::uint64_t>(status.st_dev);
  stamp.Inode = static_cast<std::uint64_t>(status.st_ino);
  stamp.Size = static_cast<std::uint64_t>(status.st_size);
  stamp.ModifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
  return stamp;
}

std::string ResolvedTarget(const std::string& path) {
  fs::path current = path;
  for (int hop = 0; hop < kMostLinks; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(current, ec))) return current.string();
    const fs::path link = fs::read_symlink(current, ec);
    if (ec) return current.string();
    current = link.is_absolute() ? link : current.parent_path() / link;
  }
  return path;
}

TWriteFailure WhyNotWritable(const std::string& path) {
  const std::string target = ResolvedTarget(path);
  const std::string folder = FolderOf(target);
  struct stat folderStatus {};
  if (::stat(folder.c_str(), &folderStatus) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? TWriteFailure::FileGone : WriteFailureOf(errno);
  }
  if (!S_ISDIR(folderStatus.st_mode)) return TWriteFailure::FileGone;
  struct stat fileStatus {};
  if (::stat(target.c_str(), &fileStatus) == 0) {
    if (!ModeLetsWrite(fileStatus)) return TWriteFailure::FileReadOnly;
    if (::access(target.c_str(), W_OK) != 0) {
      if (errno == EROFS) return TWriteFailure::FolderReadOnly;
      return errno == ETXTBSY ? TWriteFailure::InUse : TWriteFailure::FileReadOnly;
    }
  } else if (errno != ENOENT) {
    return WriteFailureOf(errno);
  }
  if (!ModeLetsWrite(folderStatus) || ::access(folder.c_str(), W_OK | X_OK) != 0) return TWriteFailure::FolderReadOnly;
  return TWriteFailure::None;
}

std::string CreateTemporaryBeside(const std::string& path, TWriteError& error) {
  TDescriptor fd(-1);
  return OpenTemporary(ResolvedTarget(path), fd, error);
}

std::string WriteTemporaryBeside(const std::string& path, std::string_view bytes, TWriteError& error) {
  TDescriptor fd(-1);
  const std::string temporary = OpenTemporary(ResolvedTarget(path), fd, error);
  if (temporary.empty()) return {};
  int failed = WriteAllAt(fd.Get(), bytes, 0);
  if (const int closed = fd.Close(); failed == 0) failed = closed;
  if (failed != 0) {
    error.FailWithErrno(failed, "cannot write " + temporary);
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return {};
  }
  return temporary;
}

bool ReplaceWithTemporary(const std::string& temporary, const std::string& path, TWriteError& error, THardLinks links) {
  const std::string target = ResolvedTarget(path);
  const auto discard = [&] {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  };
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (links == THardLinks::Keep && exists && S_ISREG(old.st_mode) && old.st_nlink > 1) {
    const bool rewritten = RewriteInPlace(temporary, target, error);
    discard();
    return rewritten;
  }
  mode_t mode = 0666 & ~CurrentUmask();
  if (exists) {
    KeepOwner(temporary, old);
    mode = old.st_mode & 07777;
  }
  if (::chmod(temporary.c_str(), mode) != 0) {
    error.FailWithErrno(errno, "cannot set the mode of " + temporary);
    return discard();
  }
  if (const int failed = SyncPath(temporary, O_RDONLY); failed != 0) {
    error.FailWithErrno(failed, "cannot write " + temporary);
    return discard();
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    error.FailWithErrno(errno, "cannot replace " + path);
    return discard();
  }
  // The rename on the disk too; the file is in place whatever this gives.
  SyncPath(FolderOf(target), O_RDONLY | O_DIRECTORY);
  return true;
}

bool ReplaceWithTemporary(const std::string& temporary, const std::string& path, std::string& error) {
  return WithErrorText(error, [&](TWriteError& failure) { return ReplaceWithTemporary(temporary, path, failure); });
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes, TWriteError& error, THardLinks links) {
  const std::string temporary = WriteTemporaryBeside(path, bytes, error);
  return !temporary.empty() && ReplaceWithTemporary(temporary, path, error, links);
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string& error) {
  return WithErrorText(error, [&](TWriteError& failure) { return WriteFileReplacing(path, bytes, failure); });
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  TWriteError ignored;
  return WriteFileReplacing(path, bytes, ignored);
}

}  // namespace kvx
