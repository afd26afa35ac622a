#include "platform/safe_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

TFileSystemCalls& SystemCalls() {
  static TFileSystemCalls calls;
  return calls;
}

TFileSystemCalls* installedCalls = nullptr;

TFileSystemCalls& Calls() { return installedCalls != nullptr ? *installedCalls : SystemCalls(); }

// Syncs the file or folder `path` to the disk; 0, or the error number.
int SyncPath(const std::string& path, int flags) {
  TDescriptor fd(::open(path.c_str(), flags | O_CLOEXEC));
  if (fd.Get() < 0) return errno;
  return Calls().Sync(fd.Get(), path);
}

int SyncFolderOf(const std::string& path) { return SyncPath(FolderOf(path), O_RDONLY | O_DIRECTORY); }

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

// Whether the mode of `status` lets this user write as far as the mode
// can tell. The superuser, whom the system lets write anything, is held to
// the mode: a file without any write bit is read-only to him too. For
// every other user the system decides (access()), which reads the access
// control list beside the mode: a user the list names may write a file
// whose group bits say no.
bool ModeLetsWrite(const struct stat& status) { return ::geteuid() != 0 || (status.st_mode & 0222) != 0; }

// The mode a file created in `folder` gets: where the folder has a default
// access control list, the system takes the new file's bits from the
// list (owner, mask or else the owning group, others) and not from the
// umask, as for a file any other program creates there; else the umask's.
mode_t NewFileMode(const std::string& folder) {
  std::string list(1024, '\0');
  const ssize_t got = ::getxattr(folder.c_str(), "system.posix_acl_default", list.data(), list.size());
  if (got < 4 || (got - 4) % 8 != 0) return 0666 & ~CurrentUmask();
  const auto field = [&](std::size_t at, int size) {
    unsigned value = 0;
    for (int k = size - 1; k >= 0; --k) value = value * 256 + static_cast<unsigned char>(list[at + k]);
    return value;
  };
  unsigned owner = 0, group = 0, mask = 8, other = 0;  // mask 8: none given
  for (std::size_t at = 4; at + 8 <= static_cast<std::size_t>(got); at += 8) {
    const unsigned bits = field(at + 2, 2) & 7;
    switch (field(at, 2)) {
      case 0x01:
        owner = bits;
        break;
      case 0x04:
        group = bits;
        break;
      case 0x10:
        mask = bits;
        break;
      case 0x20:
        other = bits;
        break;
      default:
        break;
    }
  }
  return 0666 & static_cast<mode_t>(owner << 6 | (mask != 8 ? mask : group) << 3 | other);
}

constexpr const char* kTemporarySuffix = ".kvxtmp";
constexpr const char* kOldCopySuffix = ".kvxold";  // the old contents while a file is rewritten in place

// The name of the temporary file beside `base` at try `attempt` (0 to 99):
// "name.kvxtmp", then "name.kvxtmp1", "name.kvxtmp2" ... "name.kvxtmp99".
std::string TemporaryName(const std::string& base, int attempt, const char* suffix = kTemporarySuffix) {
  std::string name = base + suffix;
  if (attempt >= 10) name += static_cast<char>('0' + attempt / 10);
  if (attempt > 0) name += static_cast<char>('0' + attempt % 10);
  return name;
}

// Creates a new temporary file beside `base` exclusively, mode 0600, and
// gives its name with the descriptor open for reading and writing in `fd`.
std::string OpenTemporary(const std::string& base, TDescriptor& fd, TWriteError& error,
                          const char* suffix = kTemporarySuffix) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = TemporaryName(base, attempt, suffix);
    const int opened = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
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

// Copies all the bytes of `from` over the start of `to` and cuts `to` to
// their length; 0, or the error number.
int CopyContents(int from, int to) {
  char buffer[1 << 16];
  off_t offset = 0;
  for (;;) {
    const ssize_t got = ::pread(from, buffer, sizeof buffer, offset);
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) break;
    if (const int failed = WriteAllAt(to, std::string_view(buffer, static_cast<std::size_t>(got)), offset)) {
      return failed;
    }
    offset += got;
  }
  return ::ftruncate(to, offset) == 0 ? 0 : errno;
}

// The extended attributes of the file `path` (its access control list
// among them), by name; false when they cannot be read. A file system
// without them gives none.
bool ReadAttributes(const std::string& path, std::vector<std::pair<std::string, std::string>>& attributes) {
  attributes.clear();
  std::string names;
  for (;;) {
    const ssize_t size = ::listxattr(path.c_str(), nullptr, 0);
    if (size < 0) return errno == ENOTSUP;
    names.resize(static_cast<std::size_t>(size));
    const ssize_t got = ::listxattr(path.c_str(), names.data(), names.size());
    if (got >= 0) {
      names.resize(static_cast<std::size_t>(got));
      break;
    }
    if (errno != ERANGE) return false;  // grown meanwhile: ask again
  }
  for (std::size_t at = 0; at < names.size();) {
    const std::string name = names.c_str() + at;
    at += name.size() + 1;
    std::string value;
    bool removed = false;
    for (;;) {
      const ssize_t size = ::getxattr(path.c_str(), name.c_str(), nullptr, 0);
      if (size < 0 && errno == ENODATA) {
        removed = true;  // removed meanwhile: the others are still taken
        break;
      }
      if (size < 0) return false;
      value.resize(static_cast<std::size_t>(size));
      const ssize_t got = ::getxattr(path.c_str(), name.c_str(), value.data(), value.size());
      if (got >= 0) {
        value.resize(static_cast<std::size_t>(got));
        break;
      }
      if (errno != ERANGE) return false;
    }
    if (!removed) attributes.emplace_back(name, std::move(value));
  }
  return true;
}

// Gives the new file `temporary` what the file `target` it replaces is
// (`old`): its owner and group, its mode, its extended attributes and
// access control list. False when one of them cannot be given: the new
// file would then not be what the file was.
bool TakeOverFile(const std::string& temporary, const std::string& target, const struct stat& old) {
  if (Calls().Chown(temporary, old.st_uid, old.st_gid) != 0) return false;
  // After the owner, which clears the set-user and set-group bits.
  if (::chmod(temporary.c_str(), old.st_mode & 07777) != 0) return false;
  std::vector<std::pair<std::string, std::string>> attributes;
  if (!ReadAttributes(target, attributes)) return false;
  for (const auto& [name, value] : attributes) {
    if (::setxattr(temporary.c_str(), name.c_str(), value.data(), value.size(), 0) != 0) return false;
  }
  return true;
}

// Writes the contents of `temporary` into the file `target` itself: its
// inode, links, mode, owner and attributes stay. The old contents go first
// to a copy beside the file, synced with its folder, so that they stay on
// the disk until the rewritten file is synced; the copy is removed then.
// The room the longer contents need is taken first, so that a full disk
// stops the write before a byte changes; a write that fails halfway puts
// the old contents back from the copy (the copy stays, and the error names
// it, where that fails too).
bool RewriteInPlace(const std::string& temporary, const std::string& target, TWriteError& error) {
  TDescriptor fresh(::open(temporary.c_str(), O_RDONLY | O_CLOEXEC));
  if (fresh.Get() < 0) return error.FailWithErrno(errno, "cannot read " + temporary);
  struct stat freshStatus {};
  if (::fstat(fresh.Get(), &freshStatus) != 0) return error.FailWithErrno(errno, "cannot read " + temporary);
  TDescriptor file(::open(target.c_str(), O_RDWR | O_CLOEXEC));
  if (file.Get() < 0) return error.FailWithErrno(errno, "cannot open " + target);
  TDescriptor old(-1);
  const std::string copy = OpenTemporary(target, old, error, kOldCopySuffix);
  if (copy.empty()) return false;
  const auto dropCopy = [&] {
    old.Close();
    std::error_code ignored;
    fs::remove(copy, ignored);
  };
  int failed = CopyContents(file.Get(), old.Get());
  if (failed == 0) failed = Calls().Sync(old.Get(), copy);
  if (failed == 0) failed = SyncFolderOf(copy);
  if (failed != 0) {
    dropCopy();
    return error.FailWithErrno(failed, "cannot keep the old contents of " + target + " in " + copy);
  }
  struct stat oldStatus {};
  if (::fstat(old.Get(), &oldStatus) == 0 && freshStatus.st_size > oldStatus.st_size &&
      ::fallocate(file.Get(), FALLOC_FL_KEEP_SIZE, 0, freshStatus.st_size) != 0 && errno != EOPNOTSUPP &&
      errno != ENOSYS) {
    failed = errno;
    dropCopy();
    return error.FailWithErrno(failed, "no room to rewrite " + target);
  }
  failed = CopyContents(fresh.Get(), file.Get());
  if (failed == 0) failed = Calls().Sync(file.Get(), target);
  if (failed != 0) {
    // The old contents back, as far as the system lets.
    if (CopyContents(old.Get(), file.Get()) != 0 || Calls().Sync(file.Get(), target) != 0) {
      error.FailWithErrno(failed, "cannot rewrite " + target + "; its old contents are in " + copy);
      error.OldContents = copy;
      return false;
    }
    dropCopy();
    return error.FailWithErrno(failed, "cannot rewrite " + target);
  }
  dropCopy();
  return true;
}

// A 64-bit digest of the bytes of `fd` from its start; false when they
// cannot be read.
bool DigestOf(int fd, std::uint64_t& digest) {
  digest = 0xcbf29ce484222325ULL;
  char buffer[1 << 16];
  off_t offset = 0;
  for (bool end = false; !end;) {
    // A whole buffer at a time, so that the digest does not depend on how
    // the reads fall.
    std::size_t filled = 0;
    while (filled < sizeof buffer) {
      const ssize_t got = ::pread(fd, buffer + filled, sizeof buffer - filled, offset);
      if (got < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      if (got == 0) {
        end = true;
        break;
      }
      filled += static_cast<std::size_t>(got);
      offset += got;
    }
    const std::size_t part = std::hash<std::string_view>{}(std::string_view(buffer, filled));
    digest = (digest ^ part) * 0x100000001b3ULL + filled;
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

namespace {

TFileStamp StampOf(const struct stat& status) {
  TFileStamp stamp;
  stamp.Exists = true;
  stamp.Device = static_cast<std::uint64_t>(status.st_dev);
  stamp.Inode = static_cast<std::uint64_t>(status.st_ino);
  stamp.Size = static_cast<std::uint64_t>(status.st_size);
  stamp.ModifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
  return stamp;
}

}  // namespace

TFileStamp FileStampOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return {};
  return StampOf(status);
}

TFileSeen SeeFile(const std::string& path) {
  TFileSeen seen;
  TDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (fd.Get() < 0 || ::fstat(fd.Get(), &status) != 0 || !DigestOf(fd.Get(), seen.Digest)) return {};
  seen.Stamp = StampOf(status);
  return seen;
}

bool ChangedSince(const TFileSeen& seen, const std::string& path) {
  if (!seen.Stamp.Exists) return false;
  const TFileStamp now = FileStampOf(path);
  if (now == seen.Stamp) return false;
  if (!now.Exists || now.Size != seen.Stamp.Size) return true;
  const TFileSeen read = SeeFile(path);
  return !read.Stamp.Exists || read.Digest != seen.Digest;
}

int TFileSystemCalls::Sync(int fd, const std::string&) { return ::fsync(fd) == 0 ? 0 : errno; }

int TFileSystemCalls::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int TFileSystemCalls::Chown(const std::string& path, uid_t owner, gid_t group) {
  return ::chown(path.c_str(), owner, group) == 0 ? 0 : errno;
}

TFileSystemCalls* SetFileSystemCalls(TFileSystemCalls* calls) { return std::exchange(installedCalls, calls); }

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
  // A document's file with other names, and a file the new one cannot
  // stand for whole, get the new contents in place.
  const bool otherNames = links == THardLinks::Keep && old.st_nlink > 1;
  if (exists && S_ISREG(old.st_mode) && (otherNames || !TakeOverFile(temporary, target, old))) {
    const bool rewritten = RewriteInPlace(temporary, target, error);
    discard();
    return rewritten;
  }
  if (!exists && ::chmod(temporary.c_str(), NewFileMode(FolderOf(target))) != 0) {
    error.FailWithErrno(errno, "cannot set the mode of " + temporary);
    return discard();
  }
  if (const int failed = SyncPath(temporary, O_RDONLY); failed != 0) {
    error.FailWithErrno(failed, "cannot write " + temporary);
    return discard();
  }
  if (const int failed = Calls().Rename(temporary, target); failed != 0) {
    error.FailWithErrno(failed, "cannot replace " + path);
    return discard();
  }
  // The rename on the disk too; the file is in place whatever this gives.
  SyncFolderOf(target);
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
