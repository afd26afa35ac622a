#include "platform/safe_file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/save_failure.h"
#include "support/access_list.h"
#include "support/file_size_limit.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SafeFileWrite, ReplacesTheTargetAndLeavesNoTemporaryFile) {
  const test::TempFolder scratch;
  const fs::path& folder = scratch.Path();
  const std::string target = (folder / "table.txt").string();
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(target, "old\r\n", error)) << error;
  ASSERT_TRUE(WriteFileReplacing(target, std::string_view("new\0\xE4", 5), error)) << error;
  EXPECT_EQ(Contents(target), std::string("new\0\xE4", 5));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

  // A writer that makes the temporary file itself, then a failed rename:
  // the temporary file goes and the target stays as it was.
  TWriteError made;
  const std::string temporary = CreateTemporaryBeside(target, made);
  EXPECT_EQ(temporary, target + ".kvxtmp");
  { std::ofstream(temporary, std::ios::binary) << "partial"; }
  const std::string next = CreateTemporaryBeside(target, made);
  EXPECT_EQ(next, target + ".kvxtmp1");
  fs::remove(next);
  fs::create_directories(folder / "sub" / "inner");
  EXPECT_FALSE(ReplaceWithTemporary(temporary, (folder / "sub").string(), error));
  EXPECT_NE(error.find("cannot replace " + (folder / "sub").string()), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(temporary));
  EXPECT_EQ(Contents(target), std::string("new\0\xE4", 5));
}

fs::perms Mode(const fs::path& path) { return fs::status(path).permissions() & fs::perms::mask; }

// What the file replaced was stays: its mode, its links (a chain of
// symbolic links, a second hard link), its inode where it has more than one
// name; a new file gets the mode of the umask; the temporary file is made
// afresh and never through a name something else put there.
TEST(SafeFileWrite, AFileReplacedKeepsItsModeAndItsLinks) {
  const test::TempFolder scratch;
  const fs::path& folder = scratch.Path();
  TWriteError error;
  for (const fs::perms mode : {fs::perms(0600), fs::perms(0640), fs::perms(0755)}) {
    const std::string file = scratch.Write("mode.txt", "old");
    fs::permissions(file, mode);
    ASSERT_TRUE(WriteFileReplacing(file, "new", error)) << error.Text;
    EXPECT_EQ(Mode(file), mode);
    EXPECT_EQ(test::TempFolder::Read(file), "new");
  }
  const mode_t umaskBefore = ::umask(027);
  ASSERT_TRUE(WriteFileReplacing((folder / "fresh.txt").string(), "x", error)) << error.Text;
  ::umask(umaskBefore);
  EXPECT_EQ(Mode(folder / "fresh.txt"), fs::perms(0640));

  // A link to a link to the file, relative, across folders: both links
  // stay links, the file gets the contents, no temporary file anywhere.
  fs::create_directories(folder / "real");
  const std::string real = scratch.Write("real/data.txt", "old");
  fs::permissions(real, fs::perms(0600));
  fs::create_symlink("real/data.txt", folder / "inner");
  fs::create_symlink("inner", folder / "outer");
  ASSERT_EQ(ResolvedTarget((folder / "outer").string()), (folder / "real/data.txt").string());
  const TFileStamp before = FileStampOf((folder / "outer").string());
  ASSERT_TRUE(WriteFileReplacing((folder / "outer").string(), "through the links", error)) << error.Text;
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "outer")));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "inner")));
  EXPECT_EQ(test::TempFolder::Read(real), "through the links");
  EXPECT_EQ(Mode(real), fs::perms(0600));
  EXPECT_NE(FileStampOf((folder / "outer").string()), before);
  EXPECT_EQ(FileStampOf((folder / "outer").string()), FileStampOf(real));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "real"), fs::directory_iterator()), 1);

  // Two names of one file, a document: both see the new contents, longer
  // and shorter. The program's own file gets a file of its own.
  const std::string first = scratch.Write("first.txt", "old contents");
  fs::permissions(first, fs::perms(0640));
  fs::create_hard_link(first, folder / "second.txt");
  const std::uint64_t inode = FileStampOf(first).Inode;
  for (const std::string contents : {"new and longer contents", "short"}) {
    ASSERT_TRUE(WriteFileReplacing(first, contents, error, THardLinks::Keep)) << error.Text;
    EXPECT_EQ(test::TempFolder::Read((folder / "second.txt").string()), contents);
    EXPECT_EQ(FileStampOf(first).Inode, inode);
    EXPECT_EQ(fs::hard_link_count(first), 2u);
    EXPECT_EQ(Mode(first), fs::perms(0640));
  }
  ASSERT_TRUE(WriteFileReplacing(first, "own", error)) << error.Text;
  EXPECT_EQ(test::TempFolder::Read((folder / "second.txt").string()), "short");
  EXPECT_EQ(Mode(first), fs::perms(0640));

  // A name taken beside the target, even by a link to another file, is
  // passed over: the file it leads to stays as it was.
  const std::string victim = scratch.Write("victim.txt", "untouched");
  const std::string target = scratch.Write("target.txt", "old");
  fs::create_symlink(victim, target + ".kvxtmp");
  ASSERT_TRUE(WriteFileReplacing(target, "new", error)) << error.Text;
  EXPECT_EQ(test::TempFolder::Read(victim), "untouched");
  EXPECT_EQ(test::TempFolder::Read(target), "new");
  EXPECT_FALSE(fs::exists(target + ".kvxtmp1"));
}

// A file that may not or cannot be written is named by its cause, before
// any work (WhyNotWritable) and when the write fails, and stays byte for
// byte with no temporary file left.
TEST(SafeFileWrite, AFailureNamesItsCauseAndLeavesTheFileAsItWas) {
  const test::TempFolder scratch;
  const fs::path& folder = scratch.Path();
  const std::string plain = scratch.Write("plain.txt", "old");
  EXPECT_EQ(WhyNotWritable(plain), TWriteFailure::None);
  EXPECT_EQ(WhyNotWritable((folder / "new.txt").string()), TWriteFailure::None);
  const std::string readOnly = scratch.Write("read-only.txt", "old");
  fs::permissions(readOnly, fs::perms(0444));
  EXPECT_EQ(WhyNotWritable(readOnly), TWriteFailure::FileReadOnly);
  fs::create_directories(folder / "locked");
  const std::string inLocked = scratch.Write("locked/file.txt", "old");
  fs::permissions(folder / "locked", fs::perms(0555));
  EXPECT_EQ(WhyNotWritable(inLocked), TWriteFailure::FolderReadOnly);
  fs::permissions(folder / "locked", fs::perms(0755));
  EXPECT_EQ(WhyNotWritable((folder / "gone" / "file.txt").string()), TWriteFailure::FileGone);
  // Into a folder that is not there: the cause, the temporary's name.
  TWriteError error;
  EXPECT_FALSE(WriteFileReplacing((folder / "gone" / "file.txt").string(), "data", error));
  EXPECT_EQ(error.Cause, TWriteFailure::FileGone);
  EXPECT_TRUE(error.Text.starts_with("cannot create " + (folder / "gone" / "file.txt.kvxtmp").string() + ": "))
      << error.Text;
  std::string text;
  EXPECT_FALSE(WriteFileReplacing((folder / "gone" / "file.txt").string(), "data", text));
  EXPECT_EQ(text, error.Text);

  // No room: the write fails as on a full disk.
  const std::string big(64 * 1024, 'x');
  {
    const test::ScopedFileSizeLimit limit(4096);
    error = {};
    EXPECT_FALSE(WriteFileReplacing(plain, big, error));
  }
  EXPECT_EQ(error.Cause, TWriteFailure::DiskFull) << error.Text;
  EXPECT_EQ(test::TempFolder::Read(plain), "old");
  const std::vector<fs::path> left(fs::directory_iterator(folder), fs::directory_iterator{});
  for (const fs::path& path : left) EXPECT_EQ(path.string().find(".kvxtmp"), std::string::npos) << path;
}

// The calls that put a write on the disk, recorded in their order ("sync
// <name>", "rename <from> <to>"; names within the folder, the folder
// itself "."), made as the system makes them unless `failSync` gives an
// error number for the path synced.
class RecordingFileSystemCalls : public TFileSystemCalls {
 public:
  explicit RecordingFileSystemCalls(fs::path folder) : folder_(std::move(folder)) {}
  int Sync(int fd, const std::string& path) override {
    steps.push_back("sync " + Name(path));
    if (failSync) {
      if (const int failed = failSync(path)) return failed;
    }
    return TFileSystemCalls::Sync(fd, path);
  }
  int Rename(const std::string& from, const std::string& to) override {
    steps.push_back("rename " + Name(from) + " " + Name(to));
    return TFileSystemCalls::Rename(from, to);
  }
  int Chown(const std::string& path, uid_t owner, gid_t group) override {
    return chownFails != 0 ? chownFails : TFileSystemCalls::Chown(path, owner, group);
  }

  std::vector<std::string> steps;
  std::function<int(const std::string& path)> failSync;
  int chownFails = 0;

 private:
  std::string Name(const std::string& path) const {
    return fs::path(path) == folder_ ? "." : fs::path(path).lexically_relative(folder_).string();
  }
  fs::path folder_;
};

// A file replaced keeps its access control list and extended attributes;
// one whose owner cannot be given to a new file (another user's file the
// user may write) is rewritten in place and stays that user's.
TEST(SafeFileWrite, AFileKeepsItsAccessListAttributesAndOwner) {
  const test::TempFolder scratch;
  const fs::path& folder = scratch.Path();
  TWriteError error;
  // "user::rw-, user:daemon:rw-, group::r--, mask::rw-, other::---": the
  // mode shows the mask as the group's bits.
  const std::string list = test::AccessList(6, 1, 6, 4, 6, 0);
  const std::string shared = scratch.Write("shared.txt", "old");
  fs::permissions(shared, fs::perms(0640));
  ASSERT_TRUE(test::SetAttribute(shared, test::kAccessListAttribute, list));
  ASSERT_TRUE(test::SetAttribute(shared, "user.origin", "observatory"));
  ASSERT_EQ(Mode(shared), fs::perms(0660));
  const std::uint64_t inode = FileStampOf(shared).Inode;
  ASSERT_TRUE(WriteFileReplacing(shared, "new", error)) << error.Text;
  EXPECT_EQ(test::TempFolder::Read(shared), "new");
  EXPECT_NE(FileStampOf(shared).Inode, inode);  // a new file, given the old one's attributes
  EXPECT_EQ(test::Attribute(shared, test::kAccessListAttribute), list);
  EXPECT_EQ(test::Attribute(shared, "user.origin"), "observatory");
  EXPECT_EQ(Mode(shared), fs::perms(0660));
  fs::create_hard_link(shared, folder / "shared-too.txt");
  ASSERT_TRUE(WriteFileReplacing(shared, "newer", error, THardLinks::Keep)) << error.Text;
  EXPECT_EQ(test::TempFolder::Read((folder / "shared-too.txt").string()), "newer");
  EXPECT_EQ(test::Attribute(shared, test::kAccessListAttribute), list);
  // A new file in a folder with a default list gets the list with its
  // mask, as a file any program creates there, and not the umask's 0644.
  fs::create_directories(folder / "team");
  ASSERT_TRUE(test::SetAttribute((folder / "team").string(), "system.posix_acl_default", list));
  const mode_t umask = ::umask(022);
  const bool created = WriteFileReplacing((folder / "team" / "new.txt").string(), "new", error);
  ::umask(umask);
  ASSERT_TRUE(created) << error.Text;
  EXPECT_EQ(Mode(folder / "team" / "new.txt"), fs::perms(0660));
  EXPECT_EQ(test::Attribute((folder / "team" / "new.txt").string(), test::kAccessListAttribute), list);

  // The owner cannot be given: the file itself gets the new contents.
  const std::string theirs = scratch.Write("theirs.txt", "old");
  {
    RecordingFileSystemCalls calls(folder);
    calls.chownFails = EPERM;
    const ScopedFileSystemCalls installed(calls);
    const std::uint64_t before = FileStampOf(theirs).Inode;
    ASSERT_TRUE(WriteFileReplacing(theirs, "new", error)) << error.Text;
    EXPECT_EQ(FileStampOf(theirs).Inode, before);
    EXPECT_EQ(test::TempFolder::Read(theirs), "new");
  }
  // The same for real where the test may act as another user: a
  // group-writable file of "daemon" (1) saved by "nobody" stays daemon's.
  if (::geteuid() != 0) return;
  fs::permissions(folder, fs::perms(01777));
  ASSERT_EQ(::chown(theirs.c_str(), 1, 1), 0);
  fs::permissions(theirs, fs::perms(0666));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TWriteError failure;
    const bool saved = ::setgid(65534) == 0 && ::setuid(65534) == 0 && WriteFileReplacing(theirs, "by nobody", failure);
    ::_exit(saved ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  struct stat after {};
  ASSERT_EQ(::stat(theirs.c_str(), &after), 0);
  EXPECT_EQ(after.st_uid, 1u);
  EXPECT_EQ(after.st_gid, 1u);
  EXPECT_EQ(test::TempFolder::Read(theirs), "by nobody");
  // A file whose mode lets only root write, whose list names "nobody"
  // (65534) with write: nobody may save it.
  const std::string granted = scratch.Write("granted.txt", "old");
  fs::permissions(granted, fs::perms(0644));
  ASSERT_TRUE(test::SetAttribute(granted, test::kAccessListAttribute, test::AccessList(6, 65534, 6, 4, 6, 4)));
  const pid_t asNobody = ::fork();
  ASSERT_GE(asNobody, 0);
  if (asNobody == 0) {
    const bool may = ::setgid(65534) == 0 && ::setuid(65534) == 0 && WhyNotWritable(granted) == TWriteFailure::None;
    ::_exit(may ? 0 : 1);
  }
  ASSERT_EQ(::waitpid(asNobody, &status, 0), asNobody);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// The order in which a write reaches the disk: a new file synced before
// the rename, its folder after; a file rewritten in place keeps its old
// contents in a copy beside it, synced with its folder before the first
// byte changes, until the rewritten file is synced. A rewrite that fails
// puts the old contents back; where even that fails, the copy stays.
TEST(SafeFileWrite, TheOldContentsStayOnTheDiskUntilTheNewAreSynced) {
  const test::TempFolder scratch;
  const fs::path& folder = scratch.Path();
  TWriteError error;
  const std::string plain = scratch.Write("plain.txt", "old");
  {
    RecordingFileSystemCalls calls(folder);
    const ScopedFileSystemCalls installed(calls);
    ASSERT_TRUE(WriteFileReplacing(plain, "new", error)) << error.Text;
    EXPECT_EQ(calls.steps,
              (std::vector<std::string>{"sync plain.txt.kvxtmp", "rename plain.txt.kvxtmp plain.txt", "sync ."}));
  }
  const std::string linked = scratch.Write("linked.txt", "old contents");
  fs::create_hard_link(linked, folder / "other-name.txt");
  const std::string copy = linked + ".kvxold";
  {
    RecordingFileSystemCalls calls(folder);
    std::string copyWhenSynced, fileWhenSynced;
    calls.failSync = [&](const std::string& path) {
      if (path == linked) {
        copyWhenSynced = test::TempFolder::Read(copy);
        fileWhenSynced = test::TempFolder::Read(linked);
      }
      return 0;
    };
    const ScopedFileSystemCalls installed(calls);
    ASSERT_TRUE(WriteFileReplacing(linked, "new", error, THardLinks::Keep)) << error.Text;
    EXPECT_EQ(calls.steps, (std::vector<std::string>{"sync linked.txt.kvxold", "sync .", "sync linked.txt"}));
    EXPECT_EQ(copyWhenSynced, "old contents");
    EXPECT_EQ(fileWhenSynced, "new");
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(test::TempFolder::Read((folder / "other-name.txt").string()), "new");
  }
  // The disk refuses the rewritten file once: the old contents are back.
  // Refused every time: the copy stays and the error names it.
  for (const bool always : {false, true}) {
    SCOPED_TRACE(always);
    RecordingFileSystemCalls calls(folder);
    int refusals = 0;
    calls.failSync = [&](const std::string& path) { return path == linked && (always || refusals++ == 0) ? EIO : 0; };
    const ScopedFileSystemCalls installed(calls);
    error = {};
    EXPECT_FALSE(WriteFileReplacing(linked, "newer and longer", error, THardLinks::Keep));
    EXPECT_EQ(test::TempFolder::Read(linked), "new");
    EXPECT_EQ(fs::exists(copy), always);
    EXPECT_EQ(error.Text.find(copy) != std::string::npos, always) << error.Text;
    EXPECT_FALSE(fs::exists(linked + ".kvxtmp"));
    EXPECT_EQ(error.OldContents, always ? copy : "");
    // The message then sends the user to the copy instead of saying the
    // file stayed as it was.
    RecordingMessageSink sink;
    const ScopedMessageSink shown(sink);
    ShowSaveFailure({"Fehler bei {}.", "Error at {}."}, linked, error, false);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text.find("Ihr alter Inhalt steht in " + copy + ".") != std::string::npos, always)
        << sink.messages[0].text;
    EXPECT_EQ(sink.messages[0].text.find("Die Datei bleibt, wie sie war.") == std::string::npos, always);
    if (always) {
      EXPECT_EQ(test::TempFolder::Read(copy), "new");
    }
  }
}

// A file counts as changed when its bytes changed: touched, or replaced
// by a file of the same bytes, it has not.
TEST(SafeFileWrite, AFileHasChangedOnlyWhenItsBytesHave) {
  const test::TempFolder scratch;
  const std::string path = scratch.Write("seen.txt", "the bytes read");
  const TFileSeen seen = SeeFile(path);
  ASSERT_TRUE(seen.Stamp.Exists);
  EXPECT_FALSE(ChangedSince(seen, path));
  fs::last_write_time(path, fs::last_write_time(path) + std::chrono::hours(1));
  ASSERT_NE(FileStampOf(path), seen.Stamp);
  EXPECT_FALSE(ChangedSince(seen, path));
  scratch.Write("elsewhere.txt", "the bytes read");
  fs::rename(scratch.File("elsewhere.txt"), path);
  EXPECT_FALSE(ChangedSince(seen, path));
  scratch.Write("seen.txt", "the bytes READ");
  EXPECT_TRUE(ChangedSince(seen, path));
  scratch.Write("seen.txt", "other length");
  EXPECT_TRUE(ChangedSince(seen, path));
  fs::remove(path);
  EXPECT_TRUE(ChangedSince(seen, path));
  EXPECT_FALSE(ChangedSince(TFileSeen{}, path));
}

}  // namespace
}  // namespace kvx
