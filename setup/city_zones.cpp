#include "setup/city_zones.h"

#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>

#include "platform/text_encoding.h"

namespace kvx {

bool ZoneOffsetsAt(const std::string& zoneName, double mjd, TZoneOffsets& offsets) {
  if (zoneName.empty() || !std::isfinite(mjd) || std::fabs(mjd) > 4.0e6) return false;
  try {
    const date::time_zone* zone = date::locate_zone(zoneName);
    // MJD 40587 is 1970-01-01 0h UT.
    const auto seconds = static_cast<std::int64_t>(std::floor((mjd - 40587.0) * 86400.0));
    const date::sys_seconds instant{std::chrono::seconds(seconds)};
    const date::sys_info info = zone->get_info(instant);
    // Read from the compiled zone files, `save` only tells whether daylight
    // saving is in force (its amount is not stored there): the standard
    // offset is the one of the nearest period before (or else after) without
    // daylight saving.
    date::sys_info standardInfo = info;
    for (int step = 0; step < 8 && standardInfo.save != std::chrono::minutes(0); ++step) {
      standardInfo = zone->get_info(standardInfo.begin - std::chrono::seconds(1));
    }
    for (int step = 0; step < 8 && standardInfo.save != std::chrono::minutes(0); ++step) {
      standardInfo = zone->get_info(standardInfo.end);
    }
    if (standardInfo.save != std::chrono::minutes(0)) return false;
    const auto standard = std::chrono::duration_cast<std::chrono::minutes>(standardInfo.offset).count();
    const auto save = std::chrono::duration_cast<std::chrono::minutes>(info.offset).count() - standard;
    constexpr long long kMostZoneHours = 12;
    const long long hours = std::clamp<long long>(standard / 60, -kMostZoneHours, kMostZoneHours);  // truncates
    offsets.Zone = static_cast<std::int32_t>(hours);
    offsets.ZoneMinutes = static_cast<std::int32_t>(standard - 60 * hours);  // the rest keeps the sign
    offsets.DaylightHours = static_cast<std::int32_t>(std::lround(save / 60.0));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::vector<std::string> LoadCityZones(const std::string& path) {
  std::string bytes;
  std::string error;
  if (!ReadFileBytes(path, bytes, error)) return {};
  std::vector<std::string> zones = SplitTextLines(bytes);
  return zones;
}

}  // namespace kvx
