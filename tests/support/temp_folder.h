// A scratch folder for a test, removed with everything in it afterwards.
//
// Its name is the same on every run, because windows show paths in it and
// the pictures the tests save must not change from run to run. A lock on
// the folder keeps two processes that run the same test at once apart (two
// builds on one machine): the one that finds it taken waits for it, and
// only after a long wait takes a random name of the same length.
#pragma once

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace kvx::test {

class TempFolder {
 public:
  TempFolder() {
    const std::filesystem::path root = std::filesystem::temp_directory_path();
    const std::string name = FixedName();
    path_ = root / name;
    // The other process gives the folder up when its test ends; a test
    // rarely runs for more than a minute.
    for (int wait = 0; wait < 1200 && !Claim(); ++wait) usleep(50000);
    if (lock_ < 0) {
      // The fixed name's number replaced by a random one of as many
      // digits: a window that shows the path keeps its size.
      std::random_device seed;
      std::string random = name;
      for (std::size_t k = random.rfind('_') + 1; k < random.size(); ++k) {
        random[k] = static_cast<char>('0' + seed() % 10);
      }
      path_ = root / random;
      std::filesystem::create_directories(path_);
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    if (lock_ >= 0) close(lock_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  // Writes the bytes as they stand.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::filesystem::path p = path_ / name;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << bytes;
    return p.string();
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  // kvx_<test>_<n>, n a number made from the test program, the suite, the
  // test and how many folders the test has made before.
  static std::string FixedName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string test = info != nullptr ? info->name() : "test";
    const std::string suite = info != nullptr ? info->test_suite_name() : "";
    static std::string last_test;
    static int made_in_test = 0;
    if (suite + "." + test != last_test) {
      last_test = suite + "." + test;
      made_in_test = 0;
    }
    ++made_in_test;
    const std::string key =
        std::string(program_invocation_short_name) + "/" + last_test + "/" + std::to_string(made_in_test);
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const char c : key) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    std::string name = "kvx_" + test + "_" + std::to_string(hash);
    for (char& c : name) {
      if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
    }
    return name;
  }

  // Makes path_ this process's own: created (or left over from a run that
  // stopped), locked, and emptied. False when another process holds it.
  bool Claim() {
    std::error_code error;
    std::filesystem::create_directories(path_, error);
    lock_ = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lock_ < 0) return false;
    struct stat opened {};
    struct stat named {};
    // The lock must be on the folder the name still points to, not on one
    // its last owner has just removed.
    if (flock(lock_, LOCK_EX | LOCK_NB) != 0 || fstat(lock_, &opened) != 0 || stat(path_.c_str(), &named) != 0 ||
        opened.st_ino != named.st_ino || opened.st_dev != named.st_dev) {
      close(lock_);
      lock_ = -1;
      return false;
    }
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(path_, error)) left.push_back(entry.path());
    for (const auto& entry : left) std::filesystem::remove_all(entry, error);
    return true;
  }

  std::filesystem::path path_;
  int lock_ = -1;
};

}  // namespace kvx::test
