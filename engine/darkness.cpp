#include "engine/darkness.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kvx {

namespace {

struct Interval {
  double start = 0, end = 0;
  double Length() const { return end - start; }
};

// Hours of the day with the Moon below the horizon.
std::vector<Interval> MoonDownIntervals(const TDarknessDay& day, const std::function<bool(double)>& moonBelowAt) {
  struct Event {
    double hour;
    bool rise;
  };
  std::vector<Event> events;
  if (day.Moonrise > 0) events.push_back({day.Moonrise, true});
  if (day.Moonset > 0) events.push_back({day.Moonset, false});
  std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.hour < b.hour; });

  // The state at the start of the day follows from the first event; a day
  // without events keeps one state throughout.
  bool down = events.empty() ? (moonBelowAt && moonBelowAt(0.0)) : events.front().rise;
  std::vector<Interval> out;
  double from = 0.0;
  for (const Event& e : events) {
    if (down && !e.rise) continue;  // a set while below: not possible with one event of each kind
    if (down) out.push_back({from, std::min(e.hour, kDarknessDayEnd)});
    down = !e.rise;
    from = e.hour;
  }
  if (down) out.push_back({from, kDarknessDayEnd});
  return out;
}

// The Moon-free parts of one dark window, longest first (ties: earlier first).
std::vector<Interval> MoonFreeParts(const Interval& window, const std::vector<Interval>& moonDown) {
  std::vector<Interval> parts;
  for (const Interval& d : moonDown) {
    const Interval cut{std::max(window.start, d.start), std::min(window.end, d.end)};
    if (cut.Length() > 0) parts.push_back(cut);
  }
  std::stable_sort(parts.begin(), parts.end(),
                   [](const Interval& a, const Interval& b) { return a.Length() > b.Length(); });
  return parts;
}

bool Finite(const TDarknessDay& day) {
  return std::isfinite(day.Moonrise) && std::isfinite(day.Moonset) && std::isfinite(day.Dawn) &&
         std::isfinite(day.Dusk);
}

}  // namespace

TDarknessBlock DarknessIntervals(const TDarknessDay& day, const std::function<bool(double)>& moonBelowAt) {
  TDarknessBlock out;
  if (!Finite(day)) return out;

  const bool hasDawn = day.Dawn > 0, hasDusk = day.Dusk > 0;
  std::vector<Interval> windows;
  if (!hasDawn && !hasDusk) {
    if (day.NeverDark) return out;
    windows.push_back({0.0, kDarknessDayEnd});
  } else if (!hasDusk) {
    windows.push_back({0.0, day.Dawn});
  } else if (!hasDawn) {
    windows.push_back({day.Dusk, kDarknessDayEnd});
  } else if (day.Dusk > day.Dawn) {
    windows.push_back({0.0, day.Dawn});
    windows.push_back({day.Dusk, kDarknessDayEnd});
  } else {
    windows.push_back({day.Dusk, day.Dawn});
  }

  const std::vector<Interval> moonDown = MoonDownIntervals(day, moonBelowAt);
  std::vector<Interval> kept;  // at most two, in time order; an empty window leaves a gap
  std::vector<bool> present;
  if (windows.size() == 2) {
    for (const Interval& w : windows) {
      const std::vector<Interval> parts = MoonFreeParts(w, moonDown);
      present.push_back(!parts.empty());
      kept.push_back(parts.empty() ? Interval{} : parts.front());
    }
  } else {
    std::vector<Interval> parts = MoonFreeParts(windows.front(), moonDown);
    if (parts.size() > 2) parts.resize(2);
    std::sort(parts.begin(), parts.end(), [](const Interval& a, const Interval& b) { return a.start < b.start; });
    for (const Interval& p : parts) {
      kept.push_back(p);
      present.push_back(true);
    }
  }

  if (!present.empty() && present[0]) {
    out.FirstStart = kept[0].start;
    out.FirstEnd = kept[0].end;
  }
  if (present.size() > 1 && present[1]) {
    out.SecondStart = kept[1].start;
    out.SecondEnd = kept[1].end;
  }
  // An evening interval alone becomes interval 1.
  if (out.FirstStart == -1 && out.FirstEnd == -1 && out.SecondStart > -1 && out.SecondEnd > -1) {
    out.FirstStart = out.SecondStart;
    out.FirstEnd = out.SecondEnd;
    out.SecondStart = out.SecondEnd = -1;
  }
  if (out.FirstEnd >= 0 || out.SecondEnd >= 0) {
    out.Total = std::fabs(out.FirstEnd - out.FirstStart);
    if (out.SecondEnd >= 0) out.Total += std::fabs(out.SecondEnd - out.SecondStart);
  }
  return out;
}

}  // namespace kvx
