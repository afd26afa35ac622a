// TAlmanacOptions: the 39 one-byte flags that choose what the almanac and
// the overview of today list, with the codec of their configuration-file
// image and the settings text of the overview's own record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/event_kinds.h"

namespace kvx {

inline constexpr std::size_t kAlmanacFlagCount = 39;
inline constexpr int kAlmanacBodies = 10;  // 0 Sun, 1 Mercury .. 8 Pluto, 9 Moon

// Section option bytes.
namespace almanac_section {
inline constexpr int kSolarEclipses = 24, kLunarEclipses = 25, kSeasons = 26, kMoonPhases = 27, kSpare = 28;
inline constexpr int kCount = 4;  // the sections before the spare byte
}  // namespace almanac_section

// The flag byte of event kind `eventKind`: the kinds 0..23 their own bytes,
// a 25th kind (code 24) the spare byte; -1 for none. How the kinds fit the
// stored flags: the note at the head of core/event_kinds.h.
inline constexpr int kAlmanacKindFlags = 24;
constexpr int AlmanacKindFlag(int eventKind) {
  if (eventKind < 0 || eventKind >= kEventKindCount) return -1;
  if (eventKind < kAlmanacKindFlags) return eventKind;
  return eventKind == kAlmanacKindFlags ? almanac_section::kSpare : -1;
}
static_assert(kEventKindCount <= kAlmanacKindFlags + 1,
              "the stored almanac flags hold 25 event kinds at most: core/event_kinds.h");

// The 39 one-byte flags: 0..23 event kinds, 24..27 sections, 28 spare (a
// 25th event kind), 29..38 bodies 0..9.
struct TAlmanacOptions {
  std::array<std::uint8_t, kAlmanacFlagCount> Flags{};

  bool Kind(int eventKind) const {
    const int flag = AlmanacKindFlag(eventKind);
    return flag >= 0 && Flags[static_cast<std::size_t>(flag)] != 0;
  }
  bool Section(int byte) const {
    return InRange(byte, almanac_section::kSolarEclipses, almanac_section::kSpare) &&
           Flags[static_cast<std::size_t>(byte)] != 0;
  }
  bool Body(int body) const {
    return InRange(body, 0, kAlmanacBodies - 1) && Flags[static_cast<std::size_t>(29 + body)] != 0;
  }
  void SetKind(int eventKind, bool on) {
    const int flag = AlmanacKindFlag(eventKind);
    if (flag >= 0) Flags[static_cast<std::size_t>(flag)] = on ? 1 : 0;
  }
  void SetSection(int byte, bool on) { Set(byte, almanac_section::kSolarEclipses, almanac_section::kSpare, 0, on); }
  void SetBody(int body, bool on) { Set(body, 0, kAlmanacBodies - 1, 29, on); }
  int SelectedBodies() const;

 private:
  static bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }
  void Set(int v, int lo, int hi, int base, bool on) {
    if (InRange(v, lo, hi)) Flags[static_cast<std::size_t>(base + v)] = on ? 1 : 0;
  }
};

using TAlmanacOptionsImage = std::array<std::uint8_t, kAlmanacFlagCount>;
// Any byte other than 0 reads as set; the image holds 0 and 1 only. A short
// image leaves the missing flags clear.
TAlmanacOptions DecodeAlmanacOptions(std::span<const std::uint8_t> image);
TAlmanacOptionsImage EncodeAlmanacOptions(const TAlmanacOptions& options);
// Every flag set (the overview's default).
TAlmanacOptions AllAlmanacOptions();
// The overview's options as stored in the settings: 39 digits "0"/"1".
// Reading: anything but exactly 39 digits gives AllAlmanacOptions(); a
// digit other than 0 counts as set.
std::string TodayOptionsToText(const TAlmanacOptions& options);
TAlmanacOptions TodayOptionsFromText(const std::string& text);

}  // namespace kvx
