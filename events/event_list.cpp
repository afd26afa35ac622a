#include "events/event_list.h"

#include <algorithm>
#include <limits>

namespace kvx {

namespace {
// An instant that is not a number orders last, so the order stays strict.
double OrderInstant(const tEvent& e) {
  const double mjd = e.Mjd();
  return mjd == mjd ? mjd : std::numeric_limits<double>::infinity();
}
}  // namespace

int TEventList::Add(std::string key, std::unique_ptr<tEvent> event) {
  if (!event) return -1;
  const double mjd = OrderInstant(*event);
  // After every entry that orders before or equal to the new one.
  auto at = std::upper_bound(entries_.begin(), entries_.end(), 0, [&](int, const Entry& e) {
    if (key != e.Key) return key < e.Key;
    return mjd < OrderInstant(*e.Event);
  });
  at = entries_.insert(at, Entry{std::move(key), std::move(event)});
  return static_cast<int>(at - entries_.begin());
}

int TEventList::IndexOf(const tEvent* event) const {
  for (std::size_t k = 0; k < entries_.size(); ++k) {
    if (entries_[k].Event.get() == event) return static_cast<int>(k);
  }
  return -1;
}

bool TEventList::Remove(const tEvent* event) { return event != nullptr && RemoveAt(IndexOf(event)); }

bool TEventList::RemoveAt(int index) {
  if (index < 0 || index >= Count()) return false;
  entries_.erase(entries_.begin() + index);
  return true;
}

std::vector<const tEvent*> TEventList::ByInstant() const {
  std::vector<const tEvent*> events;
  events.reserve(entries_.size());
  for (const Entry& e : entries_) events.push_back(e.Event.get());
  std::stable_sort(events.begin(), events.end(),
                   [](const tEvent* a, const tEvent* b) { return OrderInstant(*a) < OrderInstant(*b); });
  return events;
}

bool RemoveListedEvent(TEventList& events, TEventListLines& lines, int index) {
  if (index < 0 || index >= static_cast<int>(lines.size())) return false;
  events.Remove(lines[static_cast<std::size_t>(index)].second);
  lines.erase(lines.begin() + index);
  return true;
}

}  // namespace kvx
