// Calendar events of the Sun and the Moon from closed formulas: the instants
// of the four principal lunar phases, the Moon's age, the mean instants of
// the equinoxes and solstices, the date of Easter and the German public
// holidays. The instants of the seasons from the Sun's apparent longitude
// need the Sun theory and are in theories/seasons.h.
//
// Instants are Julian Ephemeris Days (JDE, dynamical time) unless said;
// callers subtract Delta T where they show civil time. No routine keeps
// state or reports an error.
#pragma once

#include <cstdint>
#include <string>

#include "core/observer_record.h"

namespace kvx {

// Lunation number of a phase near a year.
// Given:    year            real year (may carry a fraction)
//           phaseFraction   0 new moon, 0.25 first quarter, 0.5 full moon,
//                           0.75 last quarter
// Returns:  Int((year - 2000) * 12.3685) + phaseFraction; Int truncates
//           toward zero, so before 2000 the lunation can lie after `year`.
//           k = 0 is the new moon of 6 January 2000.
double LunationNumber(double year, double phaseFraction);

// Mean phase of lunation k and its arguments.
// Given:    k       lunation number (integral: new moon; + 0.25, 0.5, 0.75
//                   the other phases)
// Returned: jdeMean mean instant, JDE
//           E       eccentricity factor of the Earth's orbit
//           M, Mp   mean anomalies of the Sun and the Moon, degrees
//                   (not reduced)
//           F       Moon's argument of latitude, degrees
//           Omega   longitude of the Moon's ascending node, degrees
//           planetaryCorrection  the fourteen planetary terms, days
// Reference: Meeus, Astronomical Algorithms, chapter 49.
void LunarPhaseArguments(double k, double& jdeMean, double& E, double& M, double& Mp, double& F, double& Omega,
                         double& planetaryCorrection);

// Instants of the principal phases (JDE, true phases with all periodic and
// planetary terms; a few seconds from the rigorous instant over 1900-2100).
// The lunation is LunationNumber(year, fraction) + lunationOffset; `year`
// is only read.
void NewMoonTime(double& year, double& jde, std::int32_t lunationOffset);
void FirstQuarterTime(double& year, double& jde, std::int32_t lunationOffset);
void FullMoonTime(double& year, double& jde, std::int32_t lunationOffset);
void LastQuarterTime(double& year, double& jde, std::int32_t lunationOffset);

// Moon's age at the instant of an observer record.
// Given:    observer  Centuries (the year), Mjd (UT), DeltaTSeconds and the
//                     zone fields (Zone, ZoneMinutes, DaylightHours)
// Returned: day, month, year, hours  local calendar date and hours of the
//                     new moon the age counts from
// Returns:  age in days of dynamical time. The new moon of the year's
//           lunation is stepped back at most twice while it lies after the
//           instant; the age stays negative if even that is too late.
double MoonAgeForDate(const TObserverRecord& observer, std::int32_t& day, std::int32_t& month, std::int32_t& year,
                      double& hours);

// Mean instant (JDE) of an equinox or solstice. season 0 March equinox,
// 1 June solstice, 2 September equinox, 3 December solstice. Years -1000 to
// 1000 use the polynomials in year/1000, all other years those in
// (year - 2000)/1000. A season outside 0..3 leaves jde unchanged.
// Reference: Meeus, Astronomical Algorithms, chapter 27.
void MeanSeasonJde(std::int32_t year, std::int32_t season, double& jde);

// Weekday of a Julian day: 1 Sunday .. 7 Saturday for the day containing
// jd - 4 days' whole part, i.e. 1 for Sunday at a date's 0 h (x.5). Counted
// with floor division, so Julian days below 4 give the right weekday too.
// 0 (no weekday) when jd is not a finite number.
std::int32_t WeekdayOfJd(double jd);

// Day and month of Easter Sunday of `year` (Gregorian computus, integer
// arithmetic with truncating quotients); year is only read. Meant for the
// Gregorian calendar, years after 1582.
void EasterSunday(std::int32_t& day, std::int32_t& month, std::int32_t& year);

// German name of the public holiday or remembrance day on a date, or the
// empty string. Fixed dates, Rosenmontag, Aschermittwoch, the feasts around
// Easter, the first Sunday in Advent and Buß- und Bettag; where two fall
// on one day the later test wins (1 May 2008 is "Himmelfahrt").
void HolidayNameForDate(std::int32_t day, std::int32_t month, std::int32_t year, std::string& name);

}  // namespace kvx
