// Data formats and decimals per output quantity: the choices the formats
// dialog offers per value type and per format group, the defaults, and the
// formats file (".epf", 483 bytes):
//
//   offset   size   content
//   0        41     header, ShortString[40]: length byte 36,
//                   ":Quillox4.5000ConfigFile" followed by "datenformate",
//                   four bytes without meaning (written as zero)
//   41       221    DataFormatDecimals, one byte per format slot
//   262      221    DataFormatKind, one byte per format slot
//
// The per-slot constants (value type, group, filter category, decimals,
// default format, descriptions) are DataFormatSlots (core/data_format_slots.h);
// the live tables DataFormatKind and DataFormatDecimals are in
// core/name_tables.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_format_slots.h"

namespace kvx {

inline constexpr std::size_t kDataFormatsFileSize = 483;
inline constexpr int kFormatGroupCount = 13;     // groups 0 .. 12 (13: no group)
inline constexpr int kFilterCategoryCount = 12;  // 0 .. 10, 11 "no filter"
inline constexpr int kNoFilter = 11;
inline constexpr int kLargestDecimals = 15;

// Both tables, indexed by format slot.
struct TDataFormats {
  std::array<std::uint8_t, kFormatSlotCount> Decimals{};
  std::array<std::uint8_t, kFormatSlotCount> Kinds{};
  bool operator==(const TDataFormats&) const = default;
};

// The default decimals and formats of every slot.
TDataFormats DefaultDataFormats();
// A copy of the live tables, and the live tables set from a copy.
TDataFormats CurrentDataFormats();
void ApplyDataFormats(const TDataFormats& formats);
// One slot, or every slot, back to its default in the live tables.
void ResetSlotToDefault(int slot);

struct TCaption {
  const char* german;
  const char* english;
  const char* Text(bool english) const { return english ? this->english : german; }
};

// The radio items of a value type, in DataFormatKind order (empty: no choice).
std::vector<TCaption> FormatChoices(int valueType);
// The radio items of a format group (empty: the group offers none). A group's
// index i means DataFormatKind i for every slot of the group.
std::vector<TCaption> GroupFormatChoices(int group);
extern const std::array<TCaption, kFormatGroupCount> FormatGroupNames;
extern const std::array<TCaption, kFilterCategoryCount> FilterCategoryNames;

// Decimals of a value type: none for dates (0) and texts (9); times of day
// (1) from 2 in steps of 2.
bool HasDecimals(int valueType);
int SmallestDecimals(int valueType);
int DecimalsStep(int valueType);
// True when `kind` is a choice of the slot's value type or its default format.
bool IsValidKind(int slot, int kind);

// The spin value of the group page applied to the slots of `group`: each slot
// gets the value clamped to its own range and step. Returns the slots changed.
int ApplyGroupDecimals(int group, int decimals);
// The group's format choice `kind` applied to its slots. Returns the slots changed.
int ApplyGroupFormat(int group, int kind);

// The file's bytes.
std::string EncodeDataFormatsFile(const TDataFormats& formats);

enum class DataFormatsFileProblem { None, WrongHeader, WrongSize, BadValue };
// Checks the header (its 41 bytes as a whole), the exact size and every value
// (a kind outside its slot's choices, decimals above the slot's largest),
// then fills `formats`; otherwise `formats` is left as it was and `badSlot`
// names the first refused slot.
DataFormatsFileProblem DecodeDataFormatsFile(std::string_view bytes, TDataFormats& formats, int& badSlot);

// Reads a formats file into the live tables. On any problem shows its message
// through the message seam, changes nothing and returns false.
bool LoadDataFormatsFile(const std::string& path);
// Writes the live tables through a temporary file and a rename; a failure is
// reported through the message seam and keeps the old file.
bool SaveDataFormatsFile(const std::string& path);

}  // namespace kvx
