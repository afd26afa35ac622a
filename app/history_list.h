// The list of recently used document files: most recent first, at most
// MaxCount entries, kept in the settings as "History0", "History1", ... of
// a section.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kvx {

class SettingsStore;

class TMyHistoryList {
 public:
  static constexpr int kDefaultMaxCount = 10;
  static constexpr int kLargestMaxCount = 100;

  // Moves an equal entry (or inserts the name) to the top and drops the
  // last entry beyond MaxCount.
  void AddFile(const std::string& name);
  // Ignored (false) unless 0 <= n <= 100; otherwise the list is cut to n.
  bool SetMaxCount(int n);
  int MaxCount() const { return max_count_; }
  const std::vector<std::string>& Files() const { return files_; }

  // Writes every entry as "History" + index and removes the values beyond
  // the list, so that a shorter list does not bring back old entries.
  void SaveToStore(SettingsStore& store, const std::string& section) const;
  // Clears the list and reads "History0" .. "History" + (MaxCount - 1),
  // adding each non-empty value at the end.
  void LoadFromStore(SettingsStore& store, const std::string& section);

  // Called after every change of the entries (the menu rebuilds its items).
  std::function<void()> OnChanged;

  // The caption of entry `index` (from 0): "&<index+1> <name>".
  static std::string EntryCaption(int index, const std::string& name);
  // The number between the leading "&" and the first blank of a caption;
  // 0 when there is none.
  static int EntryNumberFromCaption(const std::string& caption);

 private:
  void Changed() const {
    if (OnChanged) OnChanged();
  }
  std::vector<std::string> files_;
  int max_count_ = kDefaultMaxCount;
};

}  // namespace kvx
