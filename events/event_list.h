// TEventList: the events found by the event searches and conjunction lists,
// each under a key text, owned by the list.
//
// Order: by key text (byte order), equal keys by the event's instant (MJD of
// UT), equal instants in the order added. Duplicates are kept: a search run
// adds all its events under one key, so they stay in time order. A second
// view orders the events by instant alone.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/records.h"

namespace kvx {

class TEventList {
 public:
  struct Entry {
    std::string Key;
    std::unique_ptr<tEvent> Event;
  };

  TEventList() = default;
  TEventList(const TEventList&) = delete;
  TEventList& operator=(const TEventList&) = delete;
  TEventList(TEventList&&) = default;
  TEventList& operator=(TEventList&&) = default;

  // Takes the event and files it under `key`; returns its position. A null
  // event is refused (-1).
  int Add(std::string key, std::unique_ptr<tEvent> event);
  // Frees the event and drops its entry; false when it is not in the list.
  bool Remove(const tEvent* event);
  // Frees entry `index`; false outside the list.
  bool RemoveAt(int index);
  void Clear() { entries_.clear(); }

  int Count() const { return static_cast<int>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }
  const std::string& Key(int index) const { return entries_.at(static_cast<std::size_t>(index)).Key; }
  const tEvent& At(int index) const { return *entries_.at(static_cast<std::size_t>(index)).Event; }
  // Position of an event, or -1.
  int IndexOf(const tEvent* event) const;

  // The events by instant (MJD of UT), equal instants in list order.
  std::vector<const tEvent*> ByInstant() const;

  std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<Entry>::const_iterator end() const { return entries_.end(); }

 private:
  std::vector<Entry> entries_;
};

// The lines of a list box of found events, each tied to its event in a
// TEventList.
using TEventListLines = std::vector<std::pair<std::string, const tEvent*>>;

// "Entfernen": drops line `index` and frees its event; false when there is
// no such line.
bool RemoveListedEvent(TEventList& events, TEventListLines& lines, int index);

}  // namespace kvx
