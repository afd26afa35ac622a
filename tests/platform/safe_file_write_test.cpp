#include "platform/safe_file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/file_size_limit.h"
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

}  // namespace
}  // namespace kvx
