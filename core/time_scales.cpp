#include "core/time_scales.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

#include "core/astronomical_constants.h"
#include "core/frames.h"
#include "core/vector_math.h"
#include "platform/clock.h"

namespace kvx {

namespace {

constexpr double kMjdOffset = 2400000.5;
constexpr double kDaysPerCentury = 36525.0;

// Delta T in tenths of a second for 1620, 1622, ... 2000 (the years before
// the observed values below take over).
constexpr int kDeltaTTable[191] = {
    1240, 1150, 1060, 980, 910, 850, 790, 740, 700, 650,  // 1620
    620,  580,  550,  530, 500, 480, 460, 440, 420, 400,  // 1640
    370,  350,  330,  310, 280, 260, 240, 220, 200, 180,  // 1660
    160,  140,  130,  120, 110, 100, 90,  90,  90,  90,   // 1680
    90,   90,   90,   90,  100, 100, 100, 100, 100, 110,  // 1700
    110,  110,  110,  110, 110, 110, 110, 120, 120, 120,  // 1720
    120,  120,  130,  130, 130, 130, 140, 140, 140, 150,  // 1740
    150,  150,  150,  160, 160, 160, 160, 160, 170, 170,  // 1760
    170,  170,  170,  170, 170, 170, 160, 160, 150, 140,  // 1780
    137,  131,  127,  125, 125, 125, 125, 125, 125, 123,  // 1800
    120,  114,  106,  96,  86,  75,  66,  60,  57,  56,   // 1820
    57,   59,   62,   65,  68,  71,  73,  75,  77,  78,   // 1840
    79,   75,   64,   54,  29,  16,  -10, -27, -36, -47,  // 1860
    -54,  -52,  -55,  -56, -58, -59, -62, -64, -61, -47,  // 1880
    -27,  0,    26,   54,  77,  105, 134, 160, 182, 202,  // 1900
    212,  224,  235,  239, 243, 240, 239, 239, 237, 240,  // 1920
    243,  253,  262,  273, 282, 291, 300, 307, 314, 322,  // 1940
    331,  340,  350,  365, 383, 402, 422, 445, 465, 485,  // 1960
    505,  522,  538,  549, 558, 569, 583, 603, 619, 626,  // 1980
    640,                                                  // 2000
};

// Observed Delta T (seconds) at the start of each year from 2000 on.
#include "core/delta_t_observed.inc"

constexpr int kObservedDeltaTCount = static_cast<int>(sizeof kObservedDeltaT / sizeof kObservedDeltaT[0]);
static_assert(kObservedDeltaTFirstYear == 2000 && kObservedDeltaTCount >= 2);

// The long-term parabola after the observed values, t in Julian centuries
// from J2000: value (s) and rate (s per year).
constexpr double LongTermDeltaT(double t) { return 59.5 + 123.5 * t + 32.5 * t * t; }
constexpr double LongTermDeltaTRate(double t) { return (123.5 + 65.0 * t) / 100.0; }

// After the last observed value a cubic in s = (y - join) / span, 0 <= s
// <= 1, takes Delta T from that value and the rate of the last table step to
// the parabola's value and rate a century later (cubic Hermite form). A
// parabola matching value and rate at the join cannot touch the long-term
// one: the long-term curve lies above the observed values and rises faster
// there, so a parabola can only cross it.
struct TDeltaTBridge {
  double join = 0, span = 0, c0 = 0, c1 = 0, c2 = 0, c3 = 0;
};

constexpr TDeltaTBridge MakeDeltaTBridge() {
  TDeltaTBridge b;
  b.join = kObservedDeltaTFirstYear + kObservedDeltaTCount - 1;
  b.span = 100.0;
  const double value = kObservedDeltaT[kObservedDeltaTCount - 1];
  const double rate = value - kObservedDeltaT[kObservedDeltaTCount - 2];
  const double tMeet = (b.join + b.span - 2000.0) / 100.0;
  const double rise = LongTermDeltaT(tMeet) - value;
  const double m0 = rate * b.span;
  const double m1 = LongTermDeltaTRate(tMeet) * b.span;
  b.c0 = value;
  b.c1 = m0;
  b.c2 = 3.0 * rise - 2.0 * m0 - m1;
  b.c3 = m0 + m1 - 2.0 * rise;
  return b;
}

constexpr TDeltaTBridge kDeltaTBridge = MakeDeltaTBridge();

// Years beyond this distance from year 0 take the value at the limit.
constexpr double kDeltaTYearLimit = 100000.0;

// Greenwich mean sidereal time in hours before any reduction, and T of the
// preceding 0h UT (the argument of the equation of the equinoxes).
long double UnreducedSiderealHours(double mjd, double& t0) {
  const long double d0 = std::trunc(static_cast<long double>(mjd));
  const long double ut = (mjd - d0) * 24.0L;
  const long double t = (d0 - 51544.5L) / 36525.0L;
  t0 = static_cast<double>(t);
  return 6.697374558L + 1.0027379093L * ut + (8640184.812866L + (0.093104L - 0.0000062L * t) * t) * t / 3600.0L;
}

// Equation of the equinoxes in hours for T: nutation in longitude times
// the cosine of the true obliquity.
double EquationOfTheEquinoxesHours(double t0) {
  double deps = 0;
  const double dpsi = NutationDegrees(deps, t0);
  const double eps = MeanObliquity(t0) + deps;
  return CosDeg(eps) * dpsi / 15.0;
}

double Frac24(long double hours) { return 24.0 * FracPositive(static_cast<double>(hours / 24.0L)); }

}  // namespace

double MjdToJd(double x) { return x + kMjdOffset; }
double JdToMjd(double x) { return x - kMjdOffset; }

bool MjdInDateRange(double mjd) {
  return mjd >= CalendarDateToMjd(1, 1, -(kDateYearLimit - 1), 0.0) &&
         mjd < CalendarDateToMjd(1, 1, kDateYearLimit, 0.0);
}

void MjdToCalendarDate(int& day, int& month, int& year, double& hours, double mjd) {
  if (!(std::fabs(mjd) <= kCalendarMjdLimit)) {
    day = month = year = 0;
    hours = std::numeric_limits<double>::quiet_NaN();
    return;
  }
  // Floor equals truncation for all dates after 4713 BC; below it floor
  // keeps the day count consistent.
  const double jd = mjd + kMjdOffset;
  const double z = std::floor(jd + 0.5);
  double c = 0;
  if (z < 2299161.0) {
    c = z + 1524.0;
  } else {
    const double alpha = std::floor((z - 1867216.25) / 36524.25);
    c = z + 1525.0 + alpha - std::floor(alpha / 4.0);
  }
  const double d = std::floor((c - 122.1) / 365.25);
  const double e = std::floor(d / 4.0) + 365.0 * d;
  const double f = std::floor((c - e) / 30.6001);
  day = static_cast<int>(std::floor(c - e + 0.5) - std::floor(30.6001 * f));
  month = static_cast<int>(f - 1.0 - 12.0 * std::floor(f / 14.0));
  year = static_cast<int>(d - 4715.0 - std::floor((month + 7) / 10.0));
  hours = (jd + 0.5 - z) * 24.0;
}

void JdToCalendarDate(int& day, int& month, int& year, double& hours, double jd) {
  MjdToCalendarDate(day, month, year, hours, jd - kMjdOffset);
}

double CalendarDateToMjd(int day, int month, int year, double hours) {
  const double key = 10000.0 * year + 100.0 * month + day;
  double y = year;
  double m = month;
  if (month <= 2) {
    m += 12.0;
    y -= 1.0;
  }
  double b = 0;
  if (key <= 15821004.1)
    b = std::floor((y + 4716.0) / 4.0) - 1181.0;  // Julian calendar
  else
    b = std::trunc(y / 400.0) - std::trunc(y / 100.0) + std::trunc(y / 4.0);
  return 365.0 * y - 679004.0 + b + std::trunc(30.6001 * (m + 1.0)) + day + hours / 24.0;
}

double CalendarDateToJd(int day, int month, int year, double hours) {
  return CalendarDateToMjd(day, month, year, hours) + kMjdOffset;
}

double DeltaT(double jd) {
  if (std::isnan(jd)) return std::numeric_limits<double>::quiet_NaN();
  const double y = std::clamp((jd - kJulianDateJ2000) / 365.25 + 2000.0, -kDeltaTYearLimit, kDeltaTYearLimit);
  const double t = (y - 2000.0) / 100.0;
  if (y >= 2000.0) {
    if (y < kDeltaTBridge.join) {
      const double x = y - kObservedDeltaTFirstYear;
      const int i = static_cast<int>(x);
      return kObservedDeltaT[i] + (kObservedDeltaT[i + 1] - kObservedDeltaT[i]) * (x - i);
    }
    const double s = (y - kDeltaTBridge.join) / kDeltaTBridge.span;
    if (s <= 1.0) return ((kDeltaTBridge.c3 * s + kDeltaTBridge.c2) * s + kDeltaTBridge.c1) * s + kDeltaTBridge.c0;
    return LongTermDeltaT(t);
  }
  if (y < 948.0) return 2715.6 + 573.36 * t + 46.5 * t * t;
  if (y < 1620.0) return 50.6 + 67.5 * t + 22.5 * t * t;
  const int i = static_cast<int>((y - 1620.0) / 2.0);
  const double f = y / 2.0 - std::trunc(y / 2.0);
  return (kDeltaTTable[i] + (kDeltaTTable[i + 1] - kDeltaTTable[i]) * f) / 10.0;
}

double JulianCenturiesJ2000(double jd) { return (jd - kJulianDateJ2000) / kDaysPerCentury; }
double JdFromJulianCenturies(double t) { return t * kDaysPerCentury + kJulianDateJ2000; }
double YearFromJulianCenturies(double t) { return t * 100.0 + 2000.0; }
double YearFromJulianCenturies2(double t) { return t * 100.0 + 2000.0; }

double GreenwichSiderealTime(std::uint8_t apparent, double mjd) {
  double t0 = 0;
  double result = Frac24(UnreducedSiderealHours(mjd, t0));
  if (apparent != 0) result += EquationOfTheEquinoxesHours(t0);
  return result;
}

double GreenwichSiderealTimeDeg(std::uint8_t apparent, double mjd) {
  return GreenwichSiderealTime(apparent, mjd) * 15.0;
}

double LocalSiderealTime(std::uint8_t apparent, double mjd, double longitude) {
  double t0 = 0;
  double result = Frac24(UnreducedSiderealHours(mjd, t0) - longitude / 15.0L);
  if (apparent != 0) result += EquationOfTheEquinoxesHours(t0);
  return result;
}

double Mod24(double hours) {
  double r = hours - 24.0 * std::trunc(hours / 24.0);
  if (r < 0) {
    r += 24.0;
    if (r >= 24.0) r = 0.0;  // a tiny negative remainder rounded up
  }
  return r;
}

double CarringtonRotationNumber(double l0, double jd) {
  double n = (jd - 2398140.227) * 0.036663300046918756;
  const double f = FracPositive(n);
  const double l = Mod360(l0);
  if (f <= 0.98) {
    if (f <= 0.02 && l < 30.0) n -= 1.0;
  } else if (l >= 300.0) {
    n += 1.0;
  }
  return std::trunc(n);
}

double ClockHours(int hour, int minute, int second) { return hour + minute / 60.0 + second / 3600.0; }

namespace {

constexpr double kMjdOfUnixEpoch = 40587.0;  // 1970-01-01 0h UTC

// The date and whole seconds of the day `offsetSeconds` east of Greenwich
// at the clock's instant.
void ClockDate(long long offsetSeconds, int& day, int& month, int& year, int& secondOfDay) {
  const double utc = CurrentUtcSeconds();
  // Beyond a few million years the clock is broken; the epoch stands in.
  const long long whole = std::isfinite(utc) && std::fabs(utc) < 1e14 ? static_cast<long long>(std::floor(utc)) : 0;
  const long long local = whole + offsetSeconds;
  long long days = local / 86400;
  long long seconds = local % 86400;
  if (seconds < 0) {
    seconds += 86400;
    --days;
  }
  double hours = 0;
  MjdToCalendarDate(day, month, year, hours, kMjdOfUnixEpoch + static_cast<double>(days));
  secondOfDay = static_cast<int>(seconds);
}

// The computer's zone offset east of Greenwich at the clock's instant.
long long SystemZoneOffsetSeconds() {
  const double utc = CurrentUtcSeconds();
  const std::time_t now = std::isfinite(utc) && std::fabs(utc) < 1e14 ? static_cast<std::time_t>(std::floor(utc)) : 0;
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return 0;
  return local.tm_gmtoff;
}

}  // namespace

double CurrentMjdUtc() { return kMjdOfUnixEpoch + CurrentUtcSeconds() / 86400.0; }

void CurrentDateAndHoursAt(double offsetHours, int& day, int& month, int& year, double& hours) {
  // Zone offsets are whole minutes; rounding keeps 5.5 h exact.
  const long long offset =
      std::isfinite(offsetHours) && std::fabs(offsetHours) < 1e6 ? std::llround(offsetHours * 60.0) * 60 : 0;
  int second = 0;
  ClockDate(offset, day, month, year, second);
  hours = ClockHours(second / 3600, second / 60 % 60, second % 60);
}

void CurrentDateAndHours(int& day, int& month, int& year, double& hours) {
  int second = 0;
  ClockDate(SystemZoneOffsetSeconds(), day, month, year, second);
  hours = ClockHours(second / 3600, second / 60 % 60, second % 60);
}

void DecodeNow(std::uint16_t& day, std::uint16_t& month, std::uint16_t& year, std::uint16_t& hour,
               std::uint16_t& minute, std::uint16_t& second) {
  int d = 1, m = 1, y = 2000, s = 0;
  ClockDate(SystemZoneOffsetSeconds(), d, m, y, s);
  day = static_cast<std::uint16_t>(d);
  month = static_cast<std::uint16_t>(m);
  year = static_cast<std::uint16_t>(y);
  hour = static_cast<std::uint16_t>(s / 3600);
  minute = static_cast<std::uint16_t>(s / 60 % 60);
  second = static_cast<std::uint16_t>(s % 60);
}

double RealDifference(double a, double b) { return a - b; }

double CubicPolynomial(TCubicCoefficients c, double x) { return ((c.c3 * x + c.c2) * x + c.c1) * x + c.c0; }

double AddEmpiricalArcsecTerm(double x, double t) { return x + (0.085 * t + 0.0775) / 3600.0; }

int PlanetTableIndex(int body) { return body >= 1 && body <= 8 ? body - 1 : 8; }

}  // namespace kvx
