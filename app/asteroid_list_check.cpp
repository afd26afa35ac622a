#include "app/asteroid_list_check.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/safe_file_write.h"

namespace kvx {

namespace {

void TestEntry(std::vector<std::string>& list, std::size_t& index) {
  if (index >= list.size()) return;
  std::error_code error;
  if (std::filesystem::exists(list[index], error)) {
    ++index;
  } else {
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
  }
}

}  // namespace

std::vector<std::string> ReadAsteroidList(const std::string& path) {
  std::vector<std::string> entries;
  std::ifstream in(path, std::ios::binary);
  if (!in) return entries;
  std::stringstream whole;
  whole << in.rdbuf();
  std::string line;
  for (char c : whole.str()) {
    if (c == '\r' || c == '\n') {
      if (!line.empty()) entries.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) entries.push_back(line);
  return entries;
}

bool WriteAsteroidList(const std::string& path, const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += entry + "\r\n";
  return WriteFileReplacing(path, text);
}

TAsteroidListCheck TAsteroidListCheck::FromFolder(const std::string& dataFolder) {
  return TAsteroidListCheck(ReadAsteroidList(dataFolder + "/" + kAsteroidSourceList),
                            ReadAsteroidList(dataFolder + "/" + kAsteroidDestinationList));
}

bool TAsteroidListCheck::Step() {
  TestEntry(sources_, source_index_);
  TestEntry(destinations_, destination_index_);
  return Done();
}

int TAsteroidListCheck::Percent() const {
  const std::size_t total = sources_.size() + destinations_.size();
  if (total == 0) return 100;
  return static_cast<int>(100 * (source_index_ + destination_index_) / total);
}

bool TAsteroidListCheck::Save(const std::string& dataFolder) const {
  const bool sources = WriteAsteroidList(dataFolder + "/" + kAsteroidSourceList, sources_);
  const bool destinations = WriteAsteroidList(dataFolder + "/" + kAsteroidDestinationList, destinations_);
  return sources && destinations;
}

}  // namespace kvx
