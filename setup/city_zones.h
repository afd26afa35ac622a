// Time zones of the world cities from the system time zone database
// (/usr/share/zoneinfo, read through the date library's tz support): the
// standard offset of an IANA zone at an instant split into whole hours and
// extra minutes of the same sign, and the daylight-saving hours in force.
// The whole hours keep to -12..12, the range of the zone names and of every
// zone field: a standard offset beyond 12 h keeps the rest in the extra
// minutes (Kiritimati, +14 h: zone 12 and 120 minutes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvx {

struct TZoneOffsets {
  std::int32_t Zone = 0;           // whole hours east of Greenwich positive, -12..12
  std::int32_t ZoneMinutes = 0;    // rest of the standard offset, minutes, sign of the offset
  std::int32_t DaylightHours = 0;  // daylight-saving hours in force (whole hours)
};

// The offsets of zone `zoneName` (e.g. "Asia/Kolkata") at `mjd` (modified
// Julian day, UT). False when the name is empty or unknown, or the database
// cannot be read; `offsets` is then unchanged.
bool ZoneOffsetsAt(const std::string& zoneName, double mjd, TZoneOffsets& offsets);

// The lines of "cities.zones" (one zone name per record). A missing file
// gives an empty list.
std::vector<std::string> LoadCityZones(const std::string& path);

}  // namespace kvx
