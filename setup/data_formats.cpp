#include "setup/data_formats.h"

#include <algorithm>
#include <span>

#include "core/binary_fields.h"
#include "core/name_tables.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

constexpr std::string_view kHeader = ":Quillox4.5000ConfigFiledatenformate";
constexpr std::size_t kHeaderCapacity = 40;
constexpr std::size_t kDecimalsOffset = 41;
constexpr std::size_t kKindsOffset = kDecimalsOffset + kFormatSlotCount;
static_assert(kKindsOffset + kFormatSlotCount == kDataFormatsFileSize);

const TCaption kDateChoices[] = {{"Windows Kurzdatum", "Windows short date"}, {"tt.mm.jjjj", "dd.mm.yyyy"}};
const TCaption kTimeChoices[] = {{"Formatierte Uhrzeit", "Formatted time"}, {"Uhrzeit als String", "Time as string"}};
const TCaption kDecimalChoices[] = {{"Dezimalformat", "Decimals"}, {"Layout", "Layout"}};
const TCaption kAngleChoices[] = {{"Dezimalformat 0-360°", "Decimals 0-360°"},
                                  {"Layout 0-360°", "Layout 0-360°"},
                                  {"Dezimalformat 0-24h", "Decimals 0-24h"},
                                  {"Layout 0-24h", "Layout 0-24h"}};
const TCaption kMinuteChoices[] = {{"Min. und Dezimale", "Min. and decimals"}, {"Min. und Sek.", "Min. and sec."}};
const TCaption kNumberChoices[] = {{"Dezimalzahl", "Number"}, {"Layout", "Layout"}};

template <std::size_t N>
std::vector<TCaption> Choices(const TCaption (&items)[N], std::size_t count = N) {
  return std::vector<TCaption>(items, items + std::min(count, N));
}

bool ValidSlot(int slot) { return slot >= 0 && slot < kFormatSlotCount; }

// The decimals `wanted` brought into the slot's own range and step.
int FitDecimals(int slot, int wanted) {
  const TDataFormatSlot& s = DataFormatSlots[static_cast<std::size_t>(slot)];
  int decimals = std::clamp(wanted, SmallestDecimals(s.valueType), static_cast<int>(s.maxDecimals));
  if (DecimalsStep(s.valueType) == 2) decimals -= decimals % 2;
  return std::max(decimals, 0);
}

void ShowFileProblem(const std::string& german, const std::string& english) {
  ShowMessage(german, english, MessageIcon::Error, MessageButtons::Ok, LanguageEnglish != 0 ? "Error" : "Fehler");
}

}  // namespace

const std::array<TCaption, kFormatGroupCount> FormatGroupNames = {{
    {"Rektaszension", "Right Ascension"},
    {"Deklination", "Declination"},
    {"Längen", "Longitudes"},
    {"Breiten", "Latitudes"},
    {"Distanzen (AE)", "Distances (AU)"},
    {"Winkel (phys. Ephem.)", "Angles (phys. ephem.)"},
    {"Durch-/Halbmesser", "Diameters"},
    {"Dezimalzahlen", "Decimal numbers"},
    {"Jul. Datum", "Jul. Dates"},
    {"Uhrzeiten", "Times"},
    {"Kartes. Koordinaten (AE)", "Cartes. coordinates (AU)"},
    {"Mondkoordinaten in km", "Lunar coordinates in km"},
    {"Numerische Integration", "Numerical integrations"},
}};

const std::array<TCaption, kFilterCategoryCount> FilterCategoryNames = {{
    {"Polarkoordinaten", "Polar Coordinates"},
    {"Auf/Untergang", "Rise/Set"},
    {"Physische Ephemeriden", "Physical Ephemerides"},
    {"Sonne/Mond", "Sun/Moon"},
    {"Kartesische Koordinaten", "Cartesian Coordinates"},
    {"Bahnelemente", "Orbital Elements"},
    {"Datum und Zeit", "Date and Time"},
    {"Bedeckungen, Finsternisse", "Occultation, Eclipses"},
    {"Satelliten", "Satellites"},
    {"Mond Sichtbarkeit", "Crescent Visibility"},
    {"Sonstige", "Others"},
    {"Kein Filter", "No Filter"},
}};

std::vector<TCaption> FormatChoices(int valueType) {
  switch (valueType) {
    case 0:
      return Choices(kDateChoices);
    case 1:
      return Choices(kTimeChoices);
    case 2:
    case 8:
      return Choices(kDecimalChoices);
    case 3:
      return Choices(kAngleChoices);
    case 5:
    case 6:
      return Choices(kMinuteChoices);
    case 7:
      return Choices(kNumberChoices);
    default:
      return {};
  }
}

std::vector<TCaption> GroupFormatChoices(int group) {
  switch (group) {
    case 0:
      return Choices(kAngleChoices);
    case 1:
    case 2:
    case 3:
    case 5:
      return Choices(kAngleChoices, 2);
    case 6:
      return Choices(kMinuteChoices);
    case 9:
      return Choices(kTimeChoices);
    default:
      return {};
  }
}

bool HasDecimals(int valueType) { return valueType != 0 && valueType != 9; }
int SmallestDecimals(int valueType) { return valueType == 1 ? 2 : 0; }
int DecimalsStep(int valueType) { return valueType == 1 ? 2 : 1; }

bool IsValidKind(int slot, int kind) {
  if (!ValidSlot(slot) || kind < 0) return false;
  const TDataFormatSlot& s = DataFormatSlots[static_cast<std::size_t>(slot)];
  return kind < static_cast<int>(FormatChoices(s.valueType).size()) || kind == s.defaultFormat;
}

TDataFormats DefaultDataFormats() {
  TDataFormats formats;
  for (std::size_t slot = 0; slot < DataFormatSlots.size(); ++slot) {
    formats.Decimals[slot] = DataFormatSlots[slot].defaultDecimals;
    formats.Kinds[slot] = DataFormatSlots[slot].defaultFormat;
  }
  return formats;
}

TDataFormats CurrentDataFormats() {
  TDataFormats formats;
  formats.Decimals = DataFormatDecimals;
  formats.Kinds = DataFormatKind;
  return formats;
}

void ApplyDataFormats(const TDataFormats& formats) {
  DataFormatDecimals = formats.Decimals;
  DataFormatKind = formats.Kinds;
}

void ResetSlotToDefault(int slot) {
  if (!ValidSlot(slot)) return;
  const auto k = static_cast<std::size_t>(slot);
  DataFormatDecimals[k] = DataFormatSlots[k].defaultDecimals;
  DataFormatKind[k] = DataFormatSlots[k].defaultFormat;
}

int ApplyGroupDecimals(int group, int decimals) {
  int changed = 0;
  for (int slot = 0; slot < kFormatSlotCount; ++slot) {
    const TDataFormatSlot& s = DataFormatSlots[static_cast<std::size_t>(slot)];
    if (s.group != group || !HasDecimals(s.valueType)) continue;
    DataFormatDecimals[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(FitDecimals(slot, decimals));
    ++changed;
  }
  return changed;
}

int ApplyGroupFormat(int group, int kind) {
  int changed = 0;
  if (kind < 0 || kind >= static_cast<int>(GroupFormatChoices(group).size())) return 0;
  for (int slot = 0; slot < kFormatSlotCount; ++slot) {
    if (DataFormatSlots[static_cast<std::size_t>(slot)].group != group || !IsValidKind(slot, kind)) continue;
    DataFormatKind[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(kind);
    ++changed;
  }
  return changed;
}

std::string EncodeDataFormatsFile(const TDataFormats& formats) {
  std::string bytes(kDataFormatsFileSize, '\0');
  FieldWriter w(std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
  w.ShortString(kHeaderCapacity, kHeader);
  w.Bytes(formats.Decimals);
  w.Bytes(formats.Kinds);
  return bytes;
}

DataFormatsFileProblem DecodeDataFormatsFile(std::string_view bytes, TDataFormats& formats, int& badSlot) {
  badSlot = -1;
  const bool headerFits = bytes.size() >= 1 + kHeader.size();
  if (headerFits &&
      (static_cast<std::uint8_t>(bytes[0]) != kHeader.size() || bytes.substr(1, kHeader.size()) != kHeader)) {
    return DataFormatsFileProblem::WrongHeader;
  }
  if (bytes.size() != kDataFormatsFileSize) return DataFormatsFileProblem::WrongSize;
  TDataFormats loaded;
  FieldReader r(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  r.Seek(kDecimalsOffset);
  r.Bytes(loaded.Decimals);
  r.Bytes(loaded.Kinds);
  for (int slot = 0; slot < kFormatSlotCount; ++slot) {
    const auto k = static_cast<std::size_t>(slot);
    const int largest = std::min<int>(DataFormatSlots[k].maxDecimals, kLargestDecimals);
    if (loaded.Decimals[k] > largest || !IsValidKind(slot, loaded.Kinds[k])) {
      badSlot = slot;
      return DataFormatsFileProblem::BadValue;
    }
  }
  formats = loaded;
  return DataFormatsFileProblem::None;
}

bool LoadDataFormatsFile(const std::string& path) {
  std::string bytes;
  std::string error;
  if (!ReadFileBytes(path, bytes, error)) {
    ShowFileProblem("Die Datei " + path + " kann nicht gelesen werden.", "The file " + path + " cannot be read.");
    return false;
  }
  TDataFormats formats;
  int badSlot = -1;
  switch (DecodeDataFormatsFile(bytes, formats, badSlot)) {
    case DataFormatsFileProblem::None:
      ApplyDataFormats(formats);
      return true;
    case DataFormatsFileProblem::WrongHeader:
      ShowMessage("Dies ist keine Kandrevoltinex 4.6 Datei mit Datenformaten.",
                  "Dies ist keine Kandrevoltinex 4.6 Datei mit Datenformaten.", MessageIcon::Error);
      return false;
    case DataFormatsFileProblem::WrongSize:
      ShowFileProblem("Die Datei " + path + " ist keine vollständige Datei mit Datenformaten (" +
                          std::to_string(bytes.size()) + " statt 483 Bytes).",
                      "The file " + path + " is not a complete data formats file (" + std::to_string(bytes.size()) +
                          " instead of 483 bytes).");
      return false;
    case DataFormatsFileProblem::BadValue: {
      const TDataFormatSlot& s = DataFormatSlots[static_cast<std::size_t>(badSlot)];
      ShowFileProblem("Die Datei " + path + " enthält ein ungültiges Format für \"" + s.german + "\" (Größe " +
                          std::to_string(badSlot) + ").",
                      "The file " + path + " holds an invalid format for \"" + s.english + "\" (quantity " +
                          std::to_string(badSlot) + ").");
      return false;
    }
  }
  return false;
}

bool SaveDataFormatsFile(const std::string& path) {
  std::string error;
  if (WriteFileReplacing(path, EncodeDataFormatsFile(CurrentDataFormats()), error)) return true;
  ShowFileProblem("Die Datei " + path + " konnte nicht geschrieben werden.",
                  "The file " + path + " could not be written (" + error + ").");
  return false;
}

}  // namespace kvx
