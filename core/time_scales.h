// Time scales and calendar: Julian day (JD), modified Julian day
// (MJD = JD - 2400000.5), calendar dates, Delta T, Julian centuries from
// J2000, sidereal time, Carrington rotations, the computer's clock and a few
// small numeric helpers shared by the nutation and occultation code.
//
// Dates are carried as MJD of Universal Time. Calendar dates are day, month
// and year as signed integers with astronomical year numbering (a year 0,
// years before it negative); the Julian calendar runs up to 4 October 1582,
// the Gregorian from 15 October 1582. Hours are decimal hours of the day.
// T counts Julian centuries of 36525 days from J2000 (JD 2451545.0).
#pragma once

#include <cstdint>

namespace kvx {

// MJD to JD (x + 2400000.5) and back.
double MjdToJd(double x);
double JdToMjd(double x);

// The program's dates: years of magnitude below 32000 (astronomical
// numbering), the range the date fields accept.
inline constexpr std::int32_t kDateYearLimit = 32000;
// True when the MJD is a finite number whose calendar year lies in that range.
bool MjdInDateRange(double mjd);

// The largest MJD magnitude the calendar conversion turns into a date (about
// 2.7 million years either side of the epoch).
inline constexpr double kCalendarMjdLimit = 1.0e9;

// Calendar date and hours (0 <= hours < 24) of an MJD; Julian calendar
// before JD 2299161 (15 October 1582), Gregorian from it. Never yields 5 to
// 14 October 1582. Dates before JD 0 (4713 BC) are handled by floor
// arithmetic. An MJD that is not a finite number or exceeds
// kCalendarMjdLimit in magnitude has no date: day, month and year become 0
// (no date has a day or month 0) and hours NaN.
void MjdToCalendarDate(int& day, int& month, int& year, double& hours, double mjd);
// The same for a JD.
void JdToCalendarDate(int& day, int& month, int& year, double& hours, double jd);

// MJD of a calendar date plus hours. Dates up to 4 October 1582 are Julian,
// later ones Gregorian (5 to 14 October 1582 are taken as Gregorian). The
// month may run outside 1..12 and the day outside the month; they carry over.
double CalendarDateToMjd(int day, int month, int year, double hours);
// The same as a JD.
double CalendarDateToJd(int day, int month, int year, double hours);

// Delta T = TT - UT1 in seconds for a JD of UT. With y the Julian year
// 2000 + (JD - 2451545) / 365.25:
//   y < 948          2715.6 + 573.36 t + 46.5 t^2 (t = (y - 2000) / 100)
//   948 <= y < 1620  50.6 + 67.5 t + 22.5 t^2
//   1620 <= y < 2000 the historical table, two-year steps, interpolated
//   from 2000.0      observed values at the start of each year
//                    (core/delta_t_observed.inc, made from the IERS
//                    Earth-orientation series by tools/make_delta_t_table.py,
//                    up to the latest complete year of that series),
//                    interpolated linearly
//   next century     a cubic from the last observed value and the rate of
//                    the last step to the value and rate of the long-term
//                    parabola 100 years later (continuous in value and rate
//                    at both ends)
//   after that       59.5 + 123.5 t + 32.5 t^2
// The branches before 2000 do not join continuously (at 948, 1620 and, by
// 0.17 s, at 2000). A NaN JD gives NaN; years beyond +-100000 take the
// value at that limit, so the result is finite for every finite JD.
double DeltaT(double jd);

// (JD - 2451545) / 36525 and back.
double JulianCenturiesJ2000(double jd);
double JdFromJulianCenturies(double t);
// Decimal year of T: T * 100 + 2000 (two identical copies for different
// callers).
double YearFromJulianCenturies(double t);
double YearFromJulianCenturies2(double t);

// Greenwich mean sidereal time in hours, [0, 24), for an MJD of UT
// (IAU 1982 expression, from the preceding 0h UT). With `apparent` non-zero
// the equation of the equinoxes (nutation in longitude times the cosine of
// the true obliquity, evaluated for that 0h) is added after the reduction,
// so the result may leave [0, 24) by up to about a second.
double GreenwichSiderealTime(std::uint8_t apparent, double mjd);
// The same times 15, degrees.
double GreenwichSiderealTimeDeg(std::uint8_t apparent, double mjd);
// Local sidereal time in hours for an MJD of UT and a longitude in degrees,
// east negative (west positive); apparent as GreenwichSiderealTime.
double LocalSiderealTime(std::uint8_t apparent, double mjd, double longitude);

// Hours reduced to [0, 24).
double Mod24(double hours);

// Synodic (Carrington) rotation number of the Sun for a JD, as a whole
// number; the Sun's central-meridian longitude L0 (degrees) puts dates near
// the start or end of a rotation into the right one.
double CarringtonRotationNumber(double l0, double jd);

// The current instant (the clock seam of platform/clock.h) as an MJD of
// UTC.
double CurrentMjdUtc();
// The current date and clock time in a zone `offsetHours` east of Greenwich
// (zone + extra minutes / 60 + daylight-saving hours): day, month, year of
// the program's calendar and hours = h + min/60 + s/3600, whole seconds.
// The instant comes from the clock seam in UTC; the computer's own zone
// plays no part.
void CurrentDateAndHoursAt(double offsetHours, int& day, int& month, int& year, double& hours);
// The same in the computer's own zone, for the texts and defaults that
// belong to no observer (the default parts of a typed date, a new time
// edit); an observer's date takes its record's zone (CurrentDateToRecord).
void CurrentDateAndHours(int& day, int& month, int& year, double& hours);
// Decimal hours of a clock time.
double ClockHours(int hour, int minute, int second);

// The computer's current local date and time (as CurrentDateAndHours): day
// (1..31), month (1..12), year, hour (0..23), minute and second; the
// fraction of the second is dropped.
void DecodeNow(std::uint16_t& day, std::uint16_t& month, std::uint16_t& year, std::uint16_t& hour,
               std::uint16_t& minute, std::uint16_t& second);

// a - b.
double RealDifference(double a, double b);

// Four coefficients of a cubic c0 + c1 x + c2 x^2 + c3 x^3.
struct TCubicCoefficients {
  double c0 = 0, c1 = 0, c2 = 0, c3 = 0;
};
// ((c3 x + c2) x + c1) x + c0.
double CubicPolynomial(TCubicCoefficients c, double x);

// x + (0.085 t + 0.0775) / 3600 (degrees; t in Julian centuries).
double AddEmpiricalArcsecTerm(double x, double t);

// Index into the per-planet tables: bodies 1..8 give 0..7, any other 8
// (also a number beyond a byte, which is never cut to one that is a planet).
int PlanetTableIndex(int body);

}  // namespace kvx
