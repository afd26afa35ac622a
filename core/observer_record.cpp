#include "core/observer_record.h"

#include <cmath>

#include "core/packed_sexagesimal.h"
#include "core/time_scales.h"

namespace kvx {

double ZoneOffsetHours(const TObserverRecord& r) { return r.Zone + r.ZoneMinutes / 60.0 + r.DaylightHours; }

void FoldZoneHours(std::int32_t& zone, std::int32_t& extraMinutes) {
  const bool east = zone > kMostZoneHours && zone <= kMostStoredZoneHours;
  const bool west = zone < -kMostZoneHours && zone >= -kMostStoredZoneHours;
  if (!east && !west) return;
  const std::int32_t folded = east ? kMostZoneHours : -kMostZoneHours;
  const long long minutes = static_cast<long long>(extraMinutes) + 60LL * (zone - folded);
  if (minutes < -kMostZoneMinutes || minutes > kMostZoneMinutes) return;
  zone = folded;
  extraMinutes = static_cast<std::int32_t>(minutes);
}

std::int32_t WeekdayOfJulianDay(double jd, double offsetHours) {
  // JD 2451544.5 + 1.5 = 2451546 is a Saturday (6): Sunday starts at
  // JD n.5 with n + 1.5 divisible by 7.
  const double days = std::floor(jd + offsetHours / 24.0 + 1.5);
  if (!std::isfinite(days)) return -1;
  double w = std::fmod(days, 7.0);
  if (w < 0) w += 7.0;
  return static_cast<std::int32_t>(w);
}

void LocalTimeToUT(TObserverRecord& r) {
  r.UTHours = r.LocalHours - ZoneOffsetHours(r);
  r.Mjd = CalendarDateToMjd(r.Day, r.Month, r.Year, r.UTHours);
  if (r.AutoDeltaT != 0) r.DeltaTSeconds = DeltaT(MjdToJd(r.Mjd));
}

void UTToLocalTime(TObserverRecord& r) {
  const double offset = ZoneOffsetHours(r);
  double hours = 0;
  MjdToCalendarDate(r.Day, r.Month, r.Year, hours, r.Mjd + offset / 24.0);
  r.LocalHours = std::trunc(hours * 100000000.0 + 0.5) / 100000000.0;
  r.Weekday = WeekdayOfJulianDay(MjdToJd(r.Mjd), offset);
  if (r.AutoDeltaT != 0) r.DeltaTSeconds = DeltaT(MjdToJd(r.Mjd));
}

void SetUniversalTime(TObserverRecord& r, std::int32_t day, std::int32_t month, std::int32_t year, double utHours) {
  r.UTHours = utHours;
  r.Mjd = CalendarDateToMjd(day, month, year, utHours);
  UTToLocalTime(r);
}

TUniversalDay UniversalDayOf(double mjd) {
  int day = 1, month = 1, year = 2000;
  double hours = 0;
  MjdToCalendarDate(day, month, year, hours, mjd);
  return {year, month, day + hours / 24.0};
}

void ApplyUniversalDay(TObserverRecord& r, const TUniversalDay& day) {
  const double whole = std::floor(day.Day);
  SetUniversalTime(r, static_cast<std::int32_t>(whole), day.Month, day.Year, (day.Day - whole) * 24.0);
}

void ObserverRecordMjdFromDate(TObserverRecord& r) {
  r.UTHours = r.LocalHours + 0.00005 - ZoneOffsetHours(r);
  r.Mjd = CalendarDateToMjd(r.Day, r.Month, r.Year, r.UTHours);
}

void ObserverRecordDateFromMjd(TObserverRecord& r) {
  const double offset = ZoneOffsetHours(r);
  MjdToCalendarDate(r.Day, r.Month, r.Year, r.LocalHours, r.Mjd + offset / 24.0);
  r.Weekday = WeekdayOfJulianDay(MjdToJd(r.Mjd), offset);
}

void CurrentDateToRecord(TObserverRecord& r) {
  CurrentDateAndHoursAt(ZoneOffsetHours(r), r.Day, r.Month, r.Year, r.LocalHours);
}

double JulianDayFromLocalDate(std::int32_t day, std::int32_t month, std::int32_t year, double hours,
                              TObserverRecord r) {
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = hours;
  LocalTimeToUT(r);
  return MjdToJd(r.Mjd);
}

double AutomaticPeriodHours(const TObserverRecord& end) { return DmsPackedToDeg(end.PeriodHours); }

double AutomaticPeriodDays(const TObserverRecord& end) { return end.PeriodDays + AutomaticPeriodHours(end) / 24.0; }

double AutomaticEndMjd(const TObserverRecord& start, const TObserverRecord& end) {
  return start.Mjd + AutomaticPeriodDays(end);
}

bool MjdWithinPeriod(const TObserverRecord& start, const TObserverRecord& end, double mjd) {
  return start.Mjd <= mjd && mjd <= end.Mjd;
}

}  // namespace kvx
