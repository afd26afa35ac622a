#include "setup/table_config_model.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "core/data_format_slots.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/column_sets.h"
#include "setup/entry_checks.h"

namespace kvx {

namespace {

namespace cf = column_flag;

// --- Which entries of the preview list show a flag's columns ---------------
// Bit k stands for preview entry k (see the header).
using EntryMask = std::uint16_t;
constexpr EntryMask Bit(int k) { return static_cast<EntryMask>(1u << k); }
constexpr EntryMask kAll = 0x7FFF;
constexpr EntryMask kAllBodies = Bit(0);
constexpr EntryMask kSun = Bit(1);
constexpr EntryMask kPlanets = 0x3FC;  // entries 2-9
constexpr EntryMask kJupiter = Bit(5);
constexpr EntryMask kSaturn = Bit(6);
constexpr EntryMask kMoon = Bit(10);
constexpr EntryMask kAsteroid = Bit(11);
constexpr EntryMask kComet = Bit(12);
constexpr EntryMask kIntegrated = Bit(13) | Bit(14);

struct VisibilityRule {
  std::uint8_t first, last;  // flag bytes, inclusive
  EntryMask entries;
};

constexpr VisibilityRule kVisibility[] = {
    {5, 8, kAll},
    {14, 19, kAll},
    {26, 39, kAll},
    {43, 49, kAll},
    {112, 113, kAll},
    {9, 9, kAllBodies | kAsteroid | kComet},
    {10, 13, kAll & ~(kSun | kMoon)},
    {24, 25, kAll & ~(kSun | kMoon)},
    {90, 93, kAll & ~(kSun | kMoon)},
    {20, 23, kAll & ~kMoon},
    {40, 42, kAllBodies | kMoon},
    {53, 53, kAllBodies | kMoon},
    {57, 57, kAllBodies | kMoon},
    {61, 61, kAllBodies | kMoon},
    {67, 69, kAllBodies | kMoon},
    {72, 72, kAllBodies | kMoon},
    {83, 89, kAllBodies | kMoon},
    {109, 110, kAllBodies | kMoon},
    {50, 51, kAllBodies | kSun},
    {74, 75, kAllBodies | kSun},
    {111, 111, kAllBodies | kSun},
    {52, 52, kAll & ~kSun},
    {54, 54, kAll & ~kSun},
    {56, 56, kAll & ~kSun},
    {58, 60, kAll & ~kSun},
    {62, 62, kAll & ~(kSun | kMoon)},
    {63, 63, kAllBodies | kSun | kPlanets},
    {65, 65, kAllBodies | kSun | kPlanets},
    {64, 64, kAllBodies | kSun | kPlanets | kMoon},
    {66, 66, kAllBodies | kSun | kPlanets | kMoon},
    {71, 71, kAllBodies | kSun | kPlanets | kMoon},
    {70, 70, kAllBodies | kJupiter | kSaturn},
    {73, 73, kAllBodies | kJupiter | kSaturn},
    {76, 77, kAllBodies | kPlanets | kMoon},
    {79, 80, kAllBodies | kPlanets | kMoon},
    {78, 78, kAllBodies | kPlanets},
    {81, 82, kAllBodies | kSaturn},
    {94, 95, kAsteroid | kComet | kIntegrated},
    {96, 108, kAllBodies | kIntegrated},  // and the planets while the element switch is on
                                          // byte 55: never
};

constexpr std::array<EntryMask, kUsedColumnFlagCount> MakeVisibility() {
  std::array<EntryMask, kUsedColumnFlagCount> masks{};
  for (const VisibilityRule& rule : kVisibility) {
    for (int b = rule.first; b <= rule.last; ++b) masks[b] = rule.entries;
  }
  return masks;
}
constexpr std::array<EntryMask, kUsedColumnFlagCount> kEntriesOfFlag = MakeVisibility();

// --- The columns in table order -------------------------------------------
// One step of the preview: the columns of flag `byte` (all its slots, or
// only slot `part` of its list), `repeat` times; `also` is a second byte that
// switches the step on as well. Special bytes: the date column always, the
// time column while byte 4 is off.
constexpr std::uint8_t kAlways = 250;
constexpr std::uint8_t kTimeOfDay = 251;
constexpr std::uint8_t kNone = 255;
constexpr std::int8_t kAllParts = -1;
constexpr std::int8_t kJulianDateSlot = -2;  // slot 3 after a vector pair

struct PreviewStep {
  std::uint8_t byte;
  std::uint8_t also = kNone;
  std::int8_t part = kAllParts;
  std::uint8_t repeat = 1;
};

constexpr PreviewStep F(int byte) { return {static_cast<std::uint8_t>(byte)}; }

constexpr PreviewStep kPreviewOrder[] = {
    {kAlways},
    {kTimeOfDay},
    F(5),
    F(6),
    F(7),
    F(8),
    F(87),
    F(89),
    F(109),
    F(88),
    F(111),
    F(9),
    F(10),
    F(11),
    F(12),
    F(13),
    F(90),
    F(91),
    {90, 91, kJulianDateSlot},
    F(92),
    F(93),
    {92, 93, kJulianDateSlot},
    F(94),
    F(95),
    {94, 95, kJulianDateSlot},
    F(24),
    F(25),
    F(16),
    F(17),
    F(14),
    F(15),
    F(26),
    F(27),
    F(18),
    F(19),
    F(20),
    F(21),
    F(22),
    F(23),
    F(28),
    F(29),
    F(34),
    F(35),
    F(30),
    F(31),
    F(32),
    F(33),
    F(36),
    F(38),
    F(37),
    F(39),
    F(41),
    F(40),
    F(42),
    F(43),
    F(44),
    F(45),
    F(46),
    F(47),
    F(48),
    F(49),
    // twilight and night lengths interleaved: civil begin, end, first night, ...
    {50, kNone, 0},
    {50, kNone, 1},
    {51, kNone, 0},
    {50, kNone, 2},
    {50, kNone, 3},
    {51, kNone, 1},
    {50, kNone, 4},
    {50, kNone, 5},
    {51, kNone, 2},
    {112, kNone, kAllParts, 4},  // four darkness columns under one heading
    F(113),
    F(52),
    F(53),
    F(56),
    F(57),
    F(58),
    F(59),
    F(54),
    F(60),
    F(61),
    F(62),
    F(63),
    F(64),
    F(65),
    F(66),
    F(67),
    F(68),
    F(69),
    F(70),
    F(71),
    F(73),
    F(80),
    F(76),
    F(77),
    F(78),
    F(79),
    F(81),
    F(82),
    F(83),
    F(84),
    F(72),
    F(85),
    F(86),
    F(110),
    F(74),
    F(75),
    F(96),
    F(97),
    F(98),
    F(99),
    F(100),
    F(101),
    F(102),
    F(103),
    F(104),
    F(105),
    F(106),
    F(107),
    F(108),
};

// Group members set by the "on"/"off" buttons.
struct ByteRange {
  std::uint8_t first, last;
};
constexpr ByteRange kCoordinatesMembers[] = {{9, 30}, {87, 95}, {111, 111}};
constexpr ByteRange kTopocentricMembers[] = {{31, 33}, {37, 39}, {43, 46}, {50, 51}, {74, 74}, {112, 113}};
constexpr ByteRange kPhysicalMembers[] = {{40, 42}, {52, 73}, {75, 86}, {110, 110}};
constexpr ByteRange kElementsMembers[] = {{96, 108}};

template <std::size_t N>
void SetBytes(TColumnFlags& flags, const ByteRange (&ranges)[N], std::uint8_t value) {
  for (const ByteRange& r : ranges) {
    for (int b = r.first; b <= r.last; ++b) flags[b] = value;
  }
}

std::string Title(const TTableConfigRecord& record, int slot) {
  return slot >= 0 && slot < static_cast<int>(kColumnTitleCount) ? record.ColumnTitles[slot] : std::string();
}

}  // namespace

std::vector<std::string> PreviewHeadings(const TTableConfigRecord& record, int kind, double secondEquinoxYear,
                                         bool elementsForPlanets) {
  std::vector<std::string> headings;
  if (kind < 0 || kind >= kPreviewKindCount) kind = 0;
  const TColumnFlags& flags = record.Flags;
  char yearText[32];
  std::snprintf(yearText, sizeof yearText, "%.0f", std::round(secondEquinoxYear));
  for (const PreviewStep& step : kPreviewOrder) {
    if (step.byte == kAlways) {
      headings.push_back(Title(record, kSlotDate));
      continue;
    }
    if (step.byte == kTimeOfDay) {
      if (flags[cf::kDateOnly] == 0) headings.push_back(Title(record, kSlotTime));
      continue;
    }
    const bool on = flags[step.byte] != 0 || (step.also != kNone && flags[step.also] != 0);
    if (!on) continue;
    EntryMask shown = kEntriesOfFlag[step.byte];
    if (elementsForPlanets && step.byte >= cf::kElementSemiMajorAxis && step.byte <= cf::kGaussVectors) {
      shown |= kPlanets;
    }
    if ((shown & Bit(kind)) == 0) continue;
    if (step.part == kJulianDateSlot) {
      headings.push_back(Title(record, kSlotJulianDay));
      continue;
    }
    const TColumnFlagInfo& info = ColumnFlagTable[step.byte];
    const std::string suffix = info.secondEquinox ? yearText : "";
    for (int n = 0; n < step.repeat; ++n) {
      if (step.part >= 0) {
        headings.push_back(Title(record, info.formatSlots[step.part]) + suffix);
      } else {
        for (int s = 0; s < info.slotCount; ++s) headings.push_back(Title(record, info.formatSlots[s]) + suffix);
      }
    }
  }
  return headings;
}

std::vector<int> SlotsOfFlag(std::size_t byte) {
  if (byte >= kUsedColumnFlagCount) return {};
  const TColumnFlagInfo& info = ColumnFlagTable[byte];
  return std::vector<int>(info.formatSlots.begin(), info.formatSlots.begin() + info.slotCount);
}

bool ParseEquinoxYear(const std::string& text, double& year) {
  double value = 0;
  if (!ParseLocaleNumber(text, value) || value < kEarliestEquinoxYear || value > kLatestEquinoxYear) return false;
  year = value;
  return true;
}

TTableConfigModel::TTableConfigModel(const TTableConfigRecord& record, double equinoxCenturies,
                                     std::uint8_t julianDateSwitch, std::uint8_t siderealSwitch, int previewKind)
    : JulianDateSwitch(julianDateSwitch),
      SiderealSwitch(siderealSwitch),
      EquinoxYear(EquinoxCenturiesToYear(equinoxCenturies)),
      PreviewKind(previewKind >= 0 && previewKind < kPreviewKindCount ? previewKind : 0),
      result_(record),
      working_(record),
      undo_(record) {}

void TTableConfigModel::SaveUndo() {
  undo_ = working_;
  undoAvailable_ = true;
}

void TTableConfigModel::Undo() {
  working_ = undo_;
  undoAvailable_ = false;
}

void TTableConfigModel::SetGroup(ColumnGroup group, bool on) {
  SaveUndo();
  const std::uint8_t value = on ? 1 : 0;
  TColumnFlags& flags = working_.Flags;
  flags[static_cast<std::size_t>(group)] = value;
  switch (group) {
    case ColumnGroup::Coordinates:
      SetBytes(flags, kCoordinatesMembers, value);
      flags[cf::kTopoDistanceMillionKm] = flags[cf::kSummaryTopocentric];
      break;
    case ColumnGroup::Topocentric:
      SetBytes(flags, kTopocentricMembers, value);
      break;
    case ColumnGroup::Physical:
      SetBytes(flags, kPhysicalMembers, value);
      break;
    case ColumnGroup::Elements:
      SetBytes(flags, kElementsMembers, value);
      break;
  }
}

void TTableConfigModel::SetDefault() {
  SaveUndo();
  SetDefaultColumns(working_.Flags);
  JulianDateSwitch = SiderealSwitch = 0;
}

void TTableConfigModel::SelectAll() {
  SaveUndo();
  SelectAllColumns(working_.Flags);
  JulianDateSwitch = SiderealSwitch = 1;
}

void TTableConfigModel::ClearAll() {
  SaveUndo();
  ClearColumns(working_.Flags);
  JulianDateSwitch = SiderealSwitch = 0;
}

void TTableConfigModel::ApplyPreset(ColumnPreset preset) {
  SaveUndo();
  using Preset = void (*)(TColumnFlags&);
  static constexpr Preset kPresets[] = {ColumnPresetA, ColumnPresetB, ColumnPresetC, ColumnPresetD,
                                        ColumnPresetE, ColumnPresetF, ColumnPresetG, ColumnPresetH};
  kPresets[static_cast<int>(preset)](working_.Flags);
}

std::string TTableConfigModel::EquinoxText() const {
  char text[48];
  std::snprintf(text, sizeof text, "%.2f", EquinoxYear);
  std::string result = text;
  if (const std::size_t dot = result.find('.'); dot != std::string::npos) result[dot] = IntlSeparators.Decimal;
  return result;
}

bool TTableConfigModel::CheckEquinoxText(std::string& text) {
  bool blank = true;
  for (char c : text) blank = blank && (c == ' ' || c == '\t');
  if (blank) return true;
  double year = 0;
  if (ParseEquinoxYear(text, year)) {
    EquinoxYear = year;
    return true;
  }
  Error = true;
  ShowMessage("Benutzerdefiniertes Äquinoktium muß zwischen -4000 und 10000 liegen.",
              "Benutzerdefiniertes Äquinoktium muß zwischen -4000 und 10000 liegen.", MessageIcon::Error,
              MessageButtons::Ok, "Fehler");
  text = EquinoxText();
  return false;
}

void TTableConfigModel::Commit() { RecomputeColumnSummaries(working_.Flags); }

bool TTableConfigModel::Accept(std::string& equinoxText) {
  Error = false;
  if (!CheckEquinoxText(equinoxText)) return false;
  Commit();
  result_ = working_;
  return true;
}

std::vector<std::string> TTableConfigModel::Preview() const {
  return PreviewHeadings(working_, PreviewKind, EquinoxYear, ElementsForPlanets);
}

TTableConfigFile TTableConfigModel::ToFile() const {
  TTableConfigFile file;
  file.EquinoxYear = EquinoxYear;
  file.Record = working_;
  file.ApparentSiderealTime = SiderealSwitch;
  file.RiseSetAsJulianDate = JulianDateSwitch;
  return file;
}

void TTableConfigModel::TakeFile(const TTableConfigFile& file) {
  SaveUndo();
  EquinoxYear = file.EquinoxYear;
  working_ = file.Record;
  SiderealSwitch = file.ApparentSiderealTime;
  JulianDateSwitch = file.RiseSetAsJulianDate;
}

void TTableConfigModel::CopyBack(int& previewKind, double& equinoxCenturies, TTableConfigRecord& record,
                                 std::uint8_t& julianDateSwitch, std::uint8_t& siderealSwitch) const {
  previewKind = PreviewKind;
  equinoxCenturies = EquinoxYearToCenturies(EquinoxYear);
  record = result_;
  julianDateSwitch = JulianDateSwitch;
  siderealSwitch = SiderealSwitch;
}

}  // namespace kvx
