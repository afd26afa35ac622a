// The idle-time check of the asteroid-database lists: "astsrc.txt" (the
// element files used as sources) and "astdst.txt" (the database files made
// from them) in the data folder, one path per line. One step per idle turn
// tests the next entry of each list; a missing file is dropped. When both
// lists are through they are written back. Plain C++; the main window runs
// the steps from a zero-interval timer.
#pragma once

#include <string>
#include <vector>

namespace kvx {

inline constexpr const char* kAsteroidSourceList = "astsrc.txt";
inline constexpr const char* kAsteroidDestinationList = "astdst.txt";

// The lines of a list file (any line ends), empty lines dropped; a missing
// file is an empty list.
std::vector<std::string> ReadAsteroidList(const std::string& path);
// One path per line (CR LF) through a temporary file and a rename.
bool WriteAsteroidList(const std::string& path, const std::vector<std::string>& entries);

class TAsteroidListCheck {
 public:
  TAsteroidListCheck() = default;
  TAsteroidListCheck(std::vector<std::string> sources, std::vector<std::string> destinations)
      : sources_(std::move(sources)), destinations_(std::move(destinations)) {}

  // Reads both lists from `dataFolder`.
  static TAsteroidListCheck FromFolder(const std::string& dataFolder);

  // Tests the next entry of each list (every entry, the last included);
  // true when both lists are through.
  bool Step();
  bool Done() const { return source_index_ >= sources_.size() && destination_index_ >= destinations_.size(); }
  // Entries tested so far against the entries left to test, 0 .. 100;
  // 100 for two empty lists.
  int Percent() const;
  // Steps taken: the status text is refreshed every 20.
  std::size_t Steps() const { return source_index_ + destination_index_; }

  const std::vector<std::string>& Sources() const { return sources_; }
  const std::vector<std::string>& Destinations() const { return destinations_; }
  // Writes both lists back into `dataFolder`.
  bool Save(const std::string& dataFolder) const;

 private:
  std::vector<std::string> sources_;
  std::vector<std::string> destinations_;
  std::size_t source_index_ = 0;
  std::size_t destination_index_ = 0;
};

}  // namespace kvx
