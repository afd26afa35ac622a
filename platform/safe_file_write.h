// Writing a file so that nothing is lost and the file stays what it was:
// the new contents go to a temporary file created beside the target (mode
// 0600, created exclusively), which is synced and then replaces the target
// in one rename, the folder synced after it. The file replaced keeps its
// mode, owner and group, its extended attributes and its access control
// list; a symbolic link stays a link (its final target is replaced,
// through a chain of links). A file that a new file cannot replace whole
// (its owner or group the user cannot give, an attribute that cannot be
// set) and, for the user's documents (THardLinks::Keep), a file with more
// than one hard link are rewritten in place, so that the file keeps all it
// is and every name sees the new contents: its old contents stay on the
// disk in a synced copy beside it ("<name>.kvxold") until the rewritten
// file is synced. On any failure the target is left byte for byte as it
// was and no temporary file is left; the failure names its cause
// (TWriteFailure) beside a text for a log.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/seam.h"

namespace kvx {

// Why a file was not written, by the class of the system's error, for the
// message the caller chooses.
enum class TWriteFailure : std::uint8_t {
  None,
  Refused,         // the writer refused what it was given; the text says why, in the interface language
  FileReadOnly,    // the file is there, and its mode (or the system) lets the user not write it
  FolderReadOnly,  // the folder takes no file: no write permission, or a read-only file system
  NoPermission,    // the system refused the access otherwise (EACCES, EPERM)
  DiskFull,        // no room: the disk full, the quota used up, a file size limit (ENOSPC, EDQUOT, EFBIG)
  FileGone,        // the file or its folder is not there (any more): ENOENT, ENOTDIR
  InUse,           // another program holds the file (ETXTBSY, EBUSY)
  Other,
};

// A failed write: its cause and a text for a log (English, naming the file
// and the system's reason; for Refused the writer's reason in the
// interface language).
struct TWriteError {
  TWriteFailure Cause = TWriteFailure::None;
  std::string Text;
  // The copy that holds the file's old contents where a rewrite in place
  // failed and could not put them back; empty otherwise.
  std::string OldContents;
  // Sets both; false, for `return error.Fail(...)`.
  bool Fail(TWriteFailure cause, std::string text);
  // Sets the cause from the system's error number and the text with the
  // system's reason after `what`; false.
  bool FailWithErrno(int errorNumber, const std::string& what);
};

// Runs `write` (a writer given a TWriteError) and gives its failure's text
// alone in `error`, for the callers that only log it.
template <class Write>
bool WithErrorText(std::string& error, Write&& write) {
  TWriteError failure;
  if (write(failure)) return true;
  error = std::move(failure.Text);
  return false;
}

// The cause of the system's error number `errorNumber` (errno); Other for
// one no cause above names (0 too).
TWriteFailure WriteFailureOf(int errorNumber);

// The cause of a failure of a writer that does not report its error number
// in full (a library writing the file itself): the class of
// `errorNumber` where it names one, else what the folder of `path` shows
// now (gone: FileGone; no room left: DiskFull), else Other.
TWriteFailure WriteFailureAfter(int errorNumber, const std::string& path);

// What becomes of the other names of a file with more than one hard link:
// they keep the old contents, the name written getting a new file in one
// rename (the program's own files); or the file is rewritten in place and
// every name sees the new contents (the user's documents).
enum class THardLinks : std::uint8_t { Detach, Keep };

// What a file was when it was last seen: its device and inode, its size in
// bytes and its modification time (nanoseconds since 1970). Two stamps of
// the same unchanged file are equal; a file written, replaced or deleted
// since gives another stamp.
struct TFileStamp {
  bool Exists = false;
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  std::uint64_t Size = 0;
  std::int64_t ModifiedNs = 0;
  bool operator==(const TFileStamp&) const = default;
};

// The stamp of the file `path` names, through symbolic links; Exists false
// when there is none.
TFileStamp FileStampOf(const std::string& path);

// What a file held when the program last read or wrote it: its stamp and a
// digest of its bytes.
struct TFileSeen {
  TFileStamp Stamp;
  std::uint64_t Digest = 0;
};

// The file `path` names as it is now, its bytes read for the digest
// (Stamp.Exists false when there is none or it cannot be read).
TFileSeen SeeFile(const std::string& path);

// Whether the file `path` names holds other bytes now than when `seen` was
// taken: not when its stamp is the same, nor when only the stamp changed
// (the file touched, or replaced by one of the same bytes); yes when it is
// gone or its bytes differ. A file never seen (`seen.Stamp.Exists` false)
// has not changed.
bool ChangedSince(const TFileSeen& seen, const std::string& path);

// The file a write to `path` replaces: `path` itself, or where its chain
// of symbolic links ends (relative links resolved from the folder of the
// link; at most 40 links, then `path` itself).
std::string ResolvedTarget(const std::string& path);

// Why `path` may not be written over (or created) now, before any work is
// done: FileGone when its folder is not there, FileReadOnly when the file
// is there and its mode gives no write permission to the user (for the
// superuser: no write bit at all) or the system refuses it,
// FolderReadOnly when the folder takes no new file; None when it may.
TWriteFailure WhyNotWritable(const std::string& path);

// Replaces (or creates) `path` with `bytes`, keeping what the file replaced
// was (see above); a new file gets the mode the folder's default access
// control list gives, else the user's umask. False
// when it could not: the target is then unchanged, no temporary file is
// left, and `error` says why.
bool WriteFileReplacing(const std::string& path, std::string_view bytes, TWriteError& error,
                        THardLinks links = THardLinks::Detach);
// The same with the log text alone, and without the reason.
bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string& error);
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

// Creates an empty temporary file beside the file `path` names (beside the
// end of its links), exclusively and with mode 0600, and gives its name
// ("<name>.kvxtmp", then "<name>.kvxtmp1" .. "<name>.kvxtmp99", the first
// that nothing uses), for a writer that fills it itself and then replaces
// the target with it (ReplaceWithTemporary); empty with `error` when none
// can be created.
std::string CreateTemporaryBeside(const std::string& path, TWriteError& error);

// Writes `bytes` to a new temporary file (CreateTemporaryBeside) and gives
// its name, for a writer that checks the file before it replaces the
// target; empty with `error` when it cannot be written, no temporary file
// then being left.
std::string WriteTemporaryBeside(const std::string& path, std::string_view bytes, TWriteError& error);

// Puts the finished `temporary` (made beside `path`) in the place of the
// file `path` names, keeping what that file was (see above), and syncs it.
// On failure the temporary file is removed and `error` says why; the
// target is unchanged.
bool ReplaceWithTemporary(const std::string& temporary, const std::string& path, TWriteError& error,
                          THardLinks links = THardLinks::Detach);
bool ReplaceWithTemporary(const std::string& temporary, const std::string& path, std::string& error);

// The system calls that put a write on the disk and give a file its owner,
// as a seam: a test watches their order or makes one fail. Each gives 0 or
// the error number. The default makes the system's calls.
class TFileSystemCalls {
 public:
  virtual ~TFileSystemCalls() = default;
  // Syncs the open file or folder `fd`, which `path` names.
  virtual int Sync(int fd, const std::string& path);
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int Chown(const std::string& path, uid_t owner, gid_t group);
};

// Installs the calls the safe write makes; returns the previous ones.
TFileSystemCalls* SetFileSystemCalls(TFileSystemCalls* calls);
using ScopedFileSystemCalls = TScopedSeam<TFileSystemCalls, SetFileSystemCalls>;

}  // namespace kvx
