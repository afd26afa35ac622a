#include "app/history_list.h"

#include <algorithm>
#include <cctype>

#include "platform/settings_store.h"

namespace kvx {

namespace {
std::string ValueName(int index) { return "History" + std::to_string(index); }
}  // namespace

void TMyHistoryList::AddFile(const std::string& name) {
  files_.erase(std::remove(files_.begin(), files_.end(), name), files_.end());
  files_.insert(files_.begin(), name);
  if (static_cast<int>(files_.size()) > max_count_) files_.resize(static_cast<std::size_t>(max_count_));
  Changed();
}

bool TMyHistoryList::SetMaxCount(int n) {
  if (n < 0 || n > kLargestMaxCount) return false;
  max_count_ = n;
  if (static_cast<int>(files_.size()) > n) files_.resize(static_cast<std::size_t>(n));
  Changed();
  return true;
}

void TMyHistoryList::SaveToStore(SettingsStore& store, const std::string& section) const {
  const int count = static_cast<int>(files_.size());
  for (int i = 0; i < count; ++i) store.WriteString(section, ValueName(i), files_[static_cast<std::size_t>(i)]);
  for (int i = count; i < kLargestMaxCount; ++i) store.EraseValue(section, ValueName(i));
}

void TMyHistoryList::LoadFromStore(SettingsStore& store, const std::string& section) {
  files_.clear();
  for (int i = 0; i < max_count_; ++i) {
    std::string value = store.StringOr(section, ValueName(i), "");
    if (!value.empty()) files_.push_back(std::move(value));
  }
  Changed();
}

std::string TMyHistoryList::EntryCaption(int index, const std::string& name) {
  std::string caption(1, '&');
  caption += std::to_string(index + 1);
  caption += ' ';
  caption += name;
  return caption;
}

int TMyHistoryList::EntryNumberFromCaption(const std::string& caption) {
  if (caption.empty() || caption.front() != '&') return 0;
  const std::size_t blank = caption.find(' ');
  const std::string digits = caption.substr(1, blank == std::string::npos ? std::string::npos : blank - 1);
  if (digits.empty() || digits.size() > 4 ||
      !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
    return 0;
  }
  return std::stoi(digits);
}

}  // namespace kvx
