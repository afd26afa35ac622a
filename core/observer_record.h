// The observer record: when and where the observer is, the conversions
// between local time and Universal Time, and the block of values derived
// from them once per date.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/vector_math.h"

namespace kvx {

// The observer's date, time and place with its derived block. Every table,
// search and dialog carries a copy. Stored images (files, clipboard, the
// clock list) are 736 bytes, little-endian, doubles aligned to 4 bytes:
// see EncodeObserverRecord for the byte offsets.
struct TObserverRecord {
  // --- the observer's input and its time conversions -----------------------
  std::int32_t Day = 1;                          // local calendar day
  std::int32_t Month = 1;                        // local month 1..12
  std::int32_t Year = 2000;                      // local year, astronomical numbering (0 = 1 BC)
  std::int32_t Weekday = 0;                      // 0 = Sunday .. 6 = Saturday, of the local date
  std::int32_t PeriodDays = 0;                   // end record of a period: whole days of an automatic length
  double LocalHours = 0;                         // local time of day, decimal hours
  double UTHours = 0;                            // Universal Time of day, decimal hours (may leave 0..24)
  double Mjd = 0;                                // modified Julian day of UT (JD - 2400000.5)
  double Centuries = 0;                          // Julian centuries of dynamical time from J2000
  double DeltaTSeconds = 0;                      // dynamical time minus UT, seconds
  double Longitude = 0;                          // geographic longitude, degrees, EAST NEGATIVE
  double Latitude = 0;                           // geographic latitude, degrees, north positive
  double SiderealHours = 0;                      // local sidereal time, hours
  double PeriodHours = 0;                        // end record: hours of an automatic length, packed H.MMSS
  std::int32_t DaylightHours = 0;                // daylight-saving hours added to the zone
  std::string PlaceName;                         // UTF-8 in memory; at most 255 bytes once stored (Windows-1252)
  std::uint8_t AutoDeltaT = 0;                   // non-zero: Delta T follows from the date
  std::uint8_t RefractionOn = 0;                 // non-zero: altitudes include refraction
  std::array<std::uint8_t, 2> AlignmentBytes{};  // stored as they were read
  std::int32_t Zone = 0;                         // time zone, whole hours east of Greenwich positive, -12..12
  std::int32_t Height = 0;                       // metres above sea level
  std::int32_t ZoneMinutes = 0;                  // extra minutes of the zone offset, -720..720
  double Pressure = 0;                           // air pressure, mbar
  double Temperature = 0;                        // air temperature, degrees Celsius

  // --- derived block, valid after CompleteObserverRecord ---------------------
  double GeocentricLatitude = 0;                    // observer's geocentric latitude, degrees
  double GeocentricRadius = 0;                      // observer's distance from the Earth's centre, Earth radii
  std::array<std::uint8_t, 4> UnusedAfterRadius{};  // not used by the library; kept as read
  double SunLongitude = 0;                          // Sun's geocentric ecliptic longitude of date, degrees
  double SunLatitude = 0;                           // degrees
  double SunDistance = 0;                           // AU
  double SunX = 0, SunY = 0, SunZ = 0;              // Sun, geocentric ecliptic rectangular of date, AU
  double SunVX = 0, SunVY = 0, SunVZ = 0;           // its velocity, AU/day, as the Sun routine gives it
  double SunX1h = 0, SunY1h = 0, SunZ1h = 0;        // the Sun one hour later (or copies of SunX..)
  double SunApparentRA = 0, SunApparentDec = 0;     // apparent Sun, degrees
  double EarthVX = 0, EarthVY = 0, EarthVZ = 0;     // annual-aberration velocity: the Sun's apparent one, AU/day
  double Obliquity = 0;                             // mean obliquity of the ecliptic, degrees
  double SinObliquity = 0, CosObliquity = 0;
  double SinLatitude = 0, CosLatitude = 0;  // of the geographic latitude
  TMatrix33 Precession{};                   // equatorial precession from 1950.0 (T = -0.5) to Centuries
  std::int32_t DerivedYear = 0;             // Year at the last completion
  double DerivedLatitude = 0;               // Latitude at the last completion
  // Not used by the core library; the period dialogs keep two bytes in it.
  std::array<std::uint8_t, 72> TrailingBytes{};
};

// The period dialog's two bytes in the trailing block (the stored image
// keeps every trailing byte as it is): byte 0 the automatic-end switch,
// byte 1 the accepted byte (1 after a confirmed period, 0 after Cancel).
inline constexpr std::size_t kAutoEndSwitchByte = 0;
inline constexpr std::size_t kPeriodAcceptedByte = 1;
inline std::uint8_t AutoEndSwitch(const TObserverRecord& r) { return r.TrailingBytes[kAutoEndSwitchByte]; }
inline void SetAutoEndSwitch(TObserverRecord& r, std::uint8_t on) { r.TrailingBytes[kAutoEndSwitchByte] = on; }
inline std::uint8_t PeriodAccepted(const TObserverRecord& r) { return r.TrailingBytes[kPeriodAcceptedByte]; }
inline void SetPeriodAccepted(TObserverRecord& r, std::uint8_t accepted) {
  r.TrailingBytes[kPeriodAcceptedByte] = accepted;
}

// The length of an automatic period as the end record holds it: PeriodDays
// whole days plus PeriodHours (packed H.MMSS), in days; its hours part
// unpacked to decimal hours.
double AutomaticPeriodDays(const TObserverRecord& end);
double AutomaticPeriodHours(const TObserverRecord& end);
// The MJD (UT) where an automatic period ends: start.Mjd plus that length.
double AutomaticEndMjd(const TObserverRecord& start, const TObserverRecord& end);

// Size of the stored image of TObserverRecord.
inline constexpr std::size_t kObserverRecordSize = 736;
using TObserverRecordBytes = std::array<std::uint8_t, kObserverRecordSize>;

// Writes the 736-byte image of `r`, field by field (little-endian). The place
// name is converted to Windows-1252 (characters outside it become '?') and
// cut to 255 bytes; the bytes after it are zero.
void EncodeObserverRecord(const TObserverRecord& r, std::span<std::uint8_t, kObserverRecordSize> out);
TObserverRecordBytes EncodeObserverRecord(const TObserverRecord& r);

// Reads a 736-byte image. The place name is converted from Windows-1252 to
// UTF-8; a length byte is taken as it stands (a short string never exceeds
// its 255 bytes of room). A zone of 13 or 14 whole hours is folded into
// zone 12 and extra minutes (FoldZoneHours).
TObserverRecord DecodeObserverRecord(std::span<const std::uint8_t, kObserverRecordSize> in);

// Reads a record stored in a file: `bytes` are what the file holds from the
// record's first byte on (bytes after the 736 of the record are ignored).
// Refuses the record, returning false with `problem` (current language) and
// `r` unchanged, when fewer than 736 bytes are there or when a field fails
// ObserverRecordProblem.
bool ReadObserverRecord(std::span<const std::uint8_t> bytes, TObserverRecord& r, std::string& problem);

// --- zones ------------------------------------------------------------------
// A zone is whole hours within -12..12 and extra minutes within -720..720:
// a zone more than 12 h east or west of UT keeps the rest in the minutes
// (Tonga +13 h is zone 12 and 60 minutes, Kiritimati +14 h zone 12 and 120,
// Chatham +12:45 zone 12 and 45).
inline constexpr std::int32_t kMostZoneHours = 12;
inline constexpr std::int32_t kMostZoneMinutes = 720;
// The most whole hours a zone stored before that rule holds (Kiritimati's
// 14): such a zone is folded (FoldZoneHours).
inline constexpr std::int32_t kMostStoredZoneHours = 14;

// A zone stored with whole hours beyond 12 (13 or 14, as configurations,
// clock lists and location files written before that rule held Tonga and
// Kiritimati) folded into the rule: 14 with 0 minutes becomes 12 with 120,
// -13 with -30 becomes -12 with -90. Any other zone is left as it is,
// also one that folding would not bring within the limits.
void FoldZoneHours(std::int32_t& zone, std::int32_t& extraMinutes);

// Checks the date, time, zone and place fields of a record read from outside
// before anything computes with them. Empty when they can be used, else a
// message (current language) naming the first bad field. Accepted:
//   Day, Month, Year  a calendar date (IsCalendarDate) with |Year| < 32000
//   Weekday           0..6
//   LocalHours, UTHours, SiderealHours   finite, -48..48
//   Mjd               finite, in the date range (MjdInDateRange)
//   Centuries         finite, -400..400
//   DeltaTSeconds     finite, magnitude at most 1e8 s
//   PeriodHours       finite, magnitude at most 1e6
//   Zone -12..12, ZoneMinutes -720..720, DaylightHours -2..2
//   Longitude -360..360, Latitude -90..90, both finite
std::string ObserverRecordProblem(const TObserverRecord& r);

// --- time conversions --------------------------------------------------------
// The zone offset of a record in hours: Zone + ZoneMinutes/60 + DaylightHours.
double ZoneOffsetHours(const TObserverRecord& r);

// Local date and time to Universal Time: UTHours = LocalHours - offset
// (may leave 0..24), Mjd from the local date and UTHours; with AutoDeltaT
// set, DeltaTSeconds follows from the date.
void LocalTimeToUT(TObserverRecord& r);

// Universal Time (Mjd) to the local date, LocalHours (rounded to 1e-8 h)
// and Weekday; with AutoDeltaT set, DeltaTSeconds follows from the date.
// UTHours is not changed.
void UTToLocalTime(TObserverRecord& r);

// The instant of a Universal Time date and clock time: Mjd from day, month,
// year (the UT calendar date) and utHours (0 <= h < 24), UTHours = utHours,
// then the local date, time and weekday in the record's zone (as
// UTToLocalTime). The entries that take a UT use it, so that a typed UT is
// the instant whatever the zone and whichever local date it falls on.
void SetUniversalTime(TObserverRecord& r, std::int32_t day, std::int32_t month, std::int32_t year, double utHours);

// A Universal Time calendar day with the time of day as its fraction (the
// day-fraction entry): Year (astronomical numbering) and Month of the UT
// date, Day = day of the month + UT hours / 24.
struct TUniversalDay {
  std::int32_t Year = 2000;
  std::int32_t Month = 1;
  double Day = 1;
  bool operator==(const TUniversalDay&) const = default;
};
// The UT day of the instant `mjd` (MJD of UT).
TUniversalDay UniversalDayOf(double mjd);
// The instant of a UT day with fraction: Mjd and UTHours of `r`, then its
// local date and time in its zone (SetUniversalTime).
void ApplyUniversalDay(TObserverRecord& r, const TUniversalDay& day);

// As LocalTimeToUT, with 0.00005 h (0.18 s) added to LocalHours before the
// offset is taken off; DeltaTSeconds is never touched.
void ObserverRecordMjdFromDate(TObserverRecord& r);

// As UTToLocalTime without rounding LocalHours and without touching
// DeltaTSeconds.
void ObserverRecordDateFromMjd(TObserverRecord& r);

// Day, Month, Year and LocalHours of the current instant (the clock seam's
// UTC, platform/clock.h) in the record's own zone: Zone, ZoneMinutes and
// DaylightHours, whatever zone the computer runs in. Nothing else changes
// (LocalTimeToUT then gives the current UT).
void CurrentDateToRecord(TObserverRecord& r);

// Julian day (UT) of a local date and time in the zone of `r` (a copy; the
// caller's record is not changed).
double JulianDayFromLocalDate(std::int32_t day, std::int32_t month, std::int32_t year, double hours, TObserverRecord r);

// True when start.Mjd <= mjd <= end.Mjd.
bool MjdWithinPeriod(const TObserverRecord& start, const TObserverRecord& end, double mjd);

// Weekday (0 = Sunday .. 6 = Saturday) of the local date at Julian day `jd`
// (UT) shifted by `offsetHours`; floored, so dates before JD 0 count too.
// -1 (no weekday) when the day is not a finite number.
std::int32_t WeekdayOfJulianDay(double jd, double offsetHours);

// Byte offsets of some fields in the stored image, for readers of files
// that embed the record.
namespace observer_record_offsets {
inline constexpr std::size_t kDay = 0;
inline constexpr std::size_t kLocalHours = 20;
inline constexpr std::size_t kMjd = 36;
inline constexpr std::size_t kDaylightHours = 92;
inline constexpr std::size_t kPlaceName = 96;
inline constexpr std::size_t kAutoDeltaT = 352;
inline constexpr std::size_t kZone = 356;
inline constexpr std::size_t kGeocentricLatitude = 384;
inline constexpr std::size_t kSunLongitude = 404;
inline constexpr std::size_t kPrecession = 580;
inline constexpr std::size_t kDerivedYear = 652;
inline constexpr std::size_t kDerivedLatitude = 656;
inline constexpr std::size_t kTrailingBytes = 664;
}  // namespace observer_record_offsets

}  // namespace kvx
