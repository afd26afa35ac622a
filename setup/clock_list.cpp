#include "setup/clock_list.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <span>

#include "core/name_tables.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"

namespace kvx {

bool IsUsableClockRecord(const TObserverRecord& r) {
  const double numbers[] = {r.LocalHours, r.UTHours,       r.Mjd,         r.Centuries, r.DeltaTSeconds, r.Longitude,
                            r.Latitude,   r.SiderealHours, r.PeriodHours, r.Pressure,  r.Temperature};
  for (double x : numbers) {
    if (!std::isfinite(x)) return false;
  }
  const int zoneIndex = r.Zone + static_cast<int>(ZoneNames.size()) / 2;
  return std::fabs(r.Latitude) <= 90.0 && std::fabs(r.Longitude) <= 180.0 && zoneIndex >= 0 &&
         zoneIndex < static_cast<int>(ZoneNames.size()) && std::abs(r.ZoneMinutes) <= kMostZoneMinutes &&
         std::abs(r.DaylightHours) <= 2;
}

bool LoadClocksFile(const std::string& path, TClockList& clocks) {
  clocks.clear();
  std::string bytes;
  std::string error;
  if (!ReadFileBytes(path, bytes, error)) return false;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::size_t count = bytes.size() / kObserverRecordSize;
  for (std::size_t i = 0; i < count; ++i) {
    std::span<const std::uint8_t, kObserverRecordSize> image(data + i * kObserverRecordSize, kObserverRecordSize);
    TObserverRecord record = DecodeObserverRecord(image);
    if (IsUsableClockRecord(record)) clocks.emplace_back(record);
  }
  return true;
}

void LoadClocksAtStartup(const std::string& path, TClockList& clocks) {
  clocks.clear();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size == 0) return;
  if (!LoadClocksFile(path, clocks)) return;
  if (size >= kObserverRecordSize && !clocks.empty()) return;
  clocks.clear();
  ShowMessage("Die Datei " + path + " ist keine Uhrenliste dieses Programms und wird nicht verwendet.",
              "The file " + path + " is no clock list of this program and is not used.", MessageIcon::Warning,
              MessageButtons::Ok, LanguageEnglish != 0 ? "Clocks" : "Uhren");
}

bool SaveClocksFile(const std::string& path, const TClockList& clocks) {
  std::string bytes(clocks.size() * kObserverRecordSize, '\0');
  auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
  for (std::size_t i = 0; i < clocks.size(); ++i) {
    EncodeObserverRecord(clocks[i].Record, std::span<std::uint8_t, kObserverRecordSize>(data + i * kObserverRecordSize,
                                                                                        kObserverRecordSize));
  }
  std::string error;
  if (WriteFileReplacing(path, bytes, error)) return true;
  ShowMessage("Die Uhren konnten nicht in " + path + " gespeichert werden (" + error +
                  "). Die bisherige Datei bleibt erhalten.",
              "The clocks could not be saved to " + path + " (" + error + "). The previous file is kept.",
              MessageIcon::Error, MessageButtons::Ok, LanguageEnglish != 0 ? "Error" : "Fehler");
  return false;
}

}  // namespace kvx
