#include "core/moon_phases.h"

#include <array>
#include <cmath>

#include "core/time_scales.h"
#include "core/vector_math.h"

namespace kvx {

namespace {

// One periodic term of a phase: coefficient (days) times E^ePower times the
// sine (or cosine) of nMp Mp + nM M + nF F + nOmega Omega.
struct PhaseTerm {
  double coefficient;
  int ePower;
  int nMp, nM, nF, nOmega;
};

// New moon; the full moon has the same arguments, E powers and signs with
// the magnitudes of kFullMoonMagnitudes.
constexpr std::array<PhaseTerm, 25> kNewMoonTerms = {{
    {-0.4072, 0, 1, 0, 0, 0},  {0.17241, 1, 0, 1, 0, 0},   {0.01608, 0, 2, 0, 0, 0},    {0.01039, 0, 0, 0, 2, 0},
    {0.00739, 1, 1, -1, 0, 0}, {-0.00514, 1, 1, 1, 0, 0},  {0.00208, 2, 0, 2, 0, 0},    {-0.00111, 0, 1, 0, -2, 0},
    {-0.00057, 0, 1, 0, 2, 0}, {0.00056, 1, 2, 1, 0, 0},   {-0.00042, 0, 3, 0, 0, 0},   {0.00042, 1, 0, 1, 2, 0},
    {0.00038, 1, 0, 1, -2, 0}, {-0.00024, 1, 2, -1, 0, 0}, {-0.00017, 0, 0, 0, 0, 1},   {-0.00007, 0, 1, 2, 0, 0},
    {0.00004, 0, 2, 0, -2, 0}, {0.00004, 0, 0, 3, 0, 0},   {0.00003, 0, 1, 1, -2, 0},   {0.00003, 0, 2, 0, 2, 0},
    {-0.00003, 0, 1, 1, 2, 0}, {0.00003, 0, 1, -1, 2, 0},  {-0.00002, 0, 1, -1, -2, 0}, {-0.00002, 0, 3, 1, 0, 0},
    {0.00002, 0, 4, 0, 0, 0},
}};

constexpr std::array<double, 25> kFullMoonMagnitudes = {
    0.40614, 0.17302, 0.01614, 0.01043, 0.00734, 0.00515, 0.00209, 0.00111, 0.00057, 0.00056, 0.00042, 0.00042, 0.00038,
    0.00024, 0.00017, 0.00007, 0.00004, 0.00004, 0.00003, 0.00003, 0.00003, 0.00003, 0.00002, 0.00002, 0.00002};

// First and last quarter (before the W correction).
constexpr std::array<PhaseTerm, 25> kQuarterTerms = {{
    {-0.62801, 0, 1, 0, 0, 0},   {0.17172, 1, 0, 1, 0, 0},  {-0.01183, 1, 1, 1, 0, 0},  {0.00862, 0, 2, 0, 0, 0},
    {0.00804, 0, 0, 0, 2, 0},    {0.00454, 1, 1, -1, 0, 0}, {0.00204, 2, 0, 2, 0, 0},   {-0.0018, 0, 1, 0, -2, 0},
    {-0.0007, 0, 1, 0, 2, 0},    {-0.0004, 0, 3, 0, 0, 0},  {-0.00034, 1, 2, -1, 0, 0}, {0.00032, 1, 0, 1, 2, 0},
    {0.00032, 1, 0, 1, -2, 0},   {-0.00028, 2, 1, 2, 0, 0}, {0.00027, 1, 2, 1, 0, 0},   {-0.00017, 0, 0, 0, 0, 1},
    {-0.00005, 0, 1, -1, -2, 0}, {0.00004, 0, 2, 0, 2, 0},  {-0.00004, 0, 1, 1, 2, 0},  {0.00004, 0, 1, -2, 0, 0},
    {0.00003, 0, 1, 1, -2, 0},   {0.00003, 0, 0, 3, 0, 0},  {0.00002, 0, 2, 0, -2, 0},  {0.00002, 0, 1, -1, 2, 0},
    {-0.00002, 0, 3, 1, 0, 0},
}};

// The quarter correction W = sum of these cosine terms.
constexpr std::array<PhaseTerm, 6> kQuarterW = {{
    {0.00306, 0, 0, 0, 0, 0},
    {-0.00038, 1, 0, 1, 0, 0},
    {0.00026, 0, 1, 0, 0, 0},
    {-0.00002, 0, 1, -1, 0, 0},
    {0.00002, 0, 1, 1, 0, 0},
    {0.00002, 0, 0, 0, 2, 0},
}};

// Planetary arguments A_i = a + b k (A1 also - 0.009173 T^2), amplitude c.
struct PlanetaryTerm {
  double a, b, c;
};
constexpr std::array<PlanetaryTerm, 14> kPlanetaryTerms = {{
    {299.77, 0.107408, 0.000325},
    {251.88, 0.016321, 0.000165},
    {251.83, 26.651886, 0.000164},
    {349.42, 36.412478, 0.000126},
    {84.66, 18.206239, 0.000110},
    {141.74, 53.303771, 0.000062},
    {201.14, 2.453732, 0.000060},
    {154.84, 7.30686, 0.000056},
    {34.52, 27.261239, 0.000047},
    {207.19, 0.121824, 0.000042},
    {291.34, 1.844379, 0.000040},
    {161.72, 24.198154, 0.000037},
    {239.56, 25.513099, 0.000035},
    {331.55, 3.592518, 0.000023},
}};

struct PhaseArguments {
  double jdeMean, E, M, Mp, F, Omega, planetary;
};

PhaseArguments ArgumentsOf(double k) {
  PhaseArguments a{};
  LunarPhaseArguments(k, a.jdeMean, a.E, a.M, a.Mp, a.F, a.Omega, a.planetary);
  return a;
}

double TermArgument(const PhaseTerm& t, const PhaseArguments& a) {
  return t.nMp * a.Mp + t.nM * a.M + t.nF * a.F + t.nOmega * a.Omega;
}

double EFactor(int power, double E) { return power == 0 ? 1.0 : (power == 1 ? E : E * E); }

// Sum of the sine terms; `magnitudes`, when given, replace the absolute
// values of the coefficients (signs kept).
template <std::size_t N>
double SineSum(const std::array<PhaseTerm, N>& terms, const PhaseArguments& a,
               const std::array<double, N>* magnitudes = nullptr) {
  double sum = 0;
  for (std::size_t i = 0; i < N; ++i) {
    double c = terms[i].coefficient;
    if (magnitudes != nullptr) c = std::copysign((*magnitudes)[i], c);
    sum += c * EFactor(terms[i].ePower, a.E) * SinDeg(TermArgument(terms[i], a));
  }
  return sum;
}

double QuarterCorrection(const PhaseArguments& a) {
  double w = 0;
  for (const PhaseTerm& t : kQuarterW) w += t.coefficient * EFactor(t.ePower, a.E) * CosDeg(TermArgument(t, a));
  return w;
}

enum class Phase { New, FirstQuarter, Full, LastQuarter };

double PhaseInstant(double k, Phase phase) {
  const PhaseArguments a = ArgumentsOf(k);
  double periodic = 0;
  switch (phase) {
    case Phase::New:
      periodic = SineSum(kNewMoonTerms, a);
      break;
    case Phase::Full:
      periodic = SineSum(kNewMoonTerms, a, &kFullMoonMagnitudes);
      break;
    case Phase::FirstQuarter:
      periodic = SineSum(kQuarterTerms, a) + QuarterCorrection(a);
      break;
    case Phase::LastQuarter:
      periodic = SineSum(kQuarterTerms, a) - QuarterCorrection(a);
      break;
  }
  return a.jdeMean + periodic + a.planetary;
}

// Mean-season polynomials: rows 0..3 for years -1000..1000 in year/1000,
// rows 4..7 for the others in (year - 2000)/1000.
constexpr double kSeasonPolynomials[8][5] = {
    {1721139.29189, 365242.1374, 0.06134, 0.00111, -0.00071},
    {1721233.25401, 365241.72562, -0.05323, 0.00907, 0.00025},
    {1721325.70455, 365242.49558, -0.11677, 0.00074, -0.00074},
    {1721414.39987, 365242.88257, 0.00769, -0.00006, -0.00074},
    {2451623.80984, 365242.37404, 0.05169, -0.00411, -0.00057},
    {2451716.56767, 365241.62603, 0.00325, 0.00888, -0.0003},
    {2451810.32826, 365242.01767, -0.11575, 0.00337, 0.00078},
    {2451900.05952, 365242.74049, -0.06223, -0.00823, 0.00032},
};

}  // namespace

double LunationNumber(double year, double phaseFraction) {
  return std::trunc((year - 2000.0) * 12.3685) + phaseFraction;
}

void LunarPhaseArguments(double k, double& jdeMean, double& E, double& M, double& Mp, double& F, double& Omega,
                         double& planetaryCorrection) {
  const double T = k * 0.0008084989408663875;  // k / 1236.85
  const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
  jdeMean = 2451550.09765 + 29.530588853 * k + 0.0001337 * T2 - 1.5e-07 * T3 + 7.3e-10 * T4;
  E = 1.0 - 0.002516 * T - 7.4e-06 * T2;
  M = 2.5534 + 29.10535669 * k - 2.18e-05 * T2 - 1.1e-07 * T3;
  Mp = 201.5643 + 385.81693528 * k + 0.0107438 * T2 + 1.239e-05 * T3 - 5.8e-08 * T4;
  F = 160.7108 + 390.67050274 * k - 0.0016341 * T2 - 2.27e-06 * T3 + 1.1e-08 * T4;
  Omega = 124.7746 - 1.5637558 * k + 0.0020691 * T2 + 2.15e-06 * T3;
  planetaryCorrection = 0;
  for (std::size_t i = 0; i < kPlanetaryTerms.size(); ++i) {
    double argument = kPlanetaryTerms[i].a + kPlanetaryTerms[i].b * k;
    if (i == 0) argument -= 0.009173 * T2;
    planetaryCorrection += kPlanetaryTerms[i].c * SinDeg(argument);
  }
}

void NewMoonTime(double& year, double& jde, std::int32_t lunationOffset) {
  jde = PhaseInstant(LunationNumber(year, 0.0) + lunationOffset, Phase::New);
}

void FirstQuarterTime(double& year, double& jde, std::int32_t lunationOffset) {
  jde = PhaseInstant(LunationNumber(year, 0.25) + lunationOffset, Phase::FirstQuarter);
}

void FullMoonTime(double& year, double& jde, std::int32_t lunationOffset) {
  jde = PhaseInstant(LunationNumber(year, 0.5) + lunationOffset, Phase::Full);
}

void LastQuarterTime(double& year, double& jde, std::int32_t lunationOffset) {
  jde = PhaseInstant(LunationNumber(year, 0.75) + lunationOffset, Phase::LastQuarter);
}

double MoonAgeForDate(const TObserverRecord& observer, std::int32_t& day, std::int32_t& month, std::int32_t& year,
                      double& hours) {
  double realYear = 100.0 * observer.Centuries + 2000.0;
  double jde = 0;
  NewMoonTime(realYear, jde, 0);
  const double jd = MjdToJd(observer.Mjd);
  double age = jd - jde;
  for (std::int32_t offset = -1; age < 0 && offset >= -2; --offset) {
    NewMoonTime(realYear, jde, offset);
    age = jd - jde;
  }
  const double zone = observer.Zone + observer.ZoneMinutes / 60.0 + observer.DaylightHours;
  const double localJd = jde - observer.DeltaTSeconds / 86400.0 + zone / 24.0;
  int d = 0, m = 0, y = 0;
  JdToCalendarDate(d, m, y, hours, localJd);
  day = d;
  month = m;
  year = y;
  return age + observer.DeltaTSeconds / 86400.0;
}

void MeanSeasonJde(std::int32_t year, std::int32_t season, double& jde) {
  if (season < 0 || season > 3) return;
  const bool early = year >= -1000 && year <= 1000;
  const double Y = early ? year / 1000.0 : (year - 2000) / 1000.0;
  const double* c = kSeasonPolynomials[early ? season : season + 4];
  jde = c[0] + Y * (c[1] + Y * (c[2] + Y * (c[3] + Y * c[4])));
}

std::int32_t WeekdayOfJd(double jd) {
  const double days = std::floor(jd - 4.0);
  if (!std::isfinite(days)) return 0;
  // fmod is exact for every size of day count.
  double remainder = std::fmod(days, 7.0);
  if (remainder < 0) remainder += 7.0;
  const auto weekday = static_cast<std::int32_t>(remainder);
  return weekday == 0 ? 7 : weekday;
}

void EasterSunday(std::int32_t& day, std::int32_t& month, std::int32_t& year) {
  const std::int32_t Y = year;
  const std::int32_t a = Y % 19;
  const std::int32_t b = Y / 100;
  const std::int32_t c = Y % 100;
  const std::int32_t d = b / 4;
  const std::int32_t e = b % 4;
  const std::int32_t f = (b + 8) / 25;
  const std::int32_t g = (b - f + 1) / 3;
  const std::int32_t h = (19 * a + b - d - g + 15) % 30;
  const std::int32_t i = c / 4;
  const std::int32_t k = c % 4;
  const std::int32_t l = (32 + 2 * e + 2 * i - h - k) % 7;
  const std::int32_t m = (a + 11 * h + 22 * l) / 451;
  const std::int32_t n = h + l - 7 * m + 114;
  month = n / 31;
  day = n % 31 + 1;
}

void HolidayNameForDate(std::int32_t day, std::int32_t month, std::int32_t year, std::string& name) {
  name.clear();
  const double jd = CalendarDateToJd(day, month, year, 0);
  std::int32_t easterDay = 0, easterMonth = 0, easterYear = year;
  EasterSunday(easterDay, easterMonth, easterYear);
  const double easter = CalendarDateToJd(easterDay, easterMonth, year, 0);
  const double christmasEve = CalendarDateToJd(24, 12, year, 0);
  const double advent = christmasEve - WeekdayOfJd(christmasEve) - 21;

  // Fixed dates; Rosenmontag only when none of them matched.
  if (day == 1 && month == 1) {
    name = "Neujahr";
  } else if (day == 1 && month == 5) {
    name = "Tag der Arbeit";
  } else if (day == 15 && month == 8) {
    name = "Mariä Himmelfahrt";
  } else if (day == 17 && month == 6 && year >= 1954 && year <= 1989) {
    name = "Tag der deutschen Einheit";
  } else if (day == 3 && month == 10 && year >= 1990) {
    name = "Tag der deutschen Einheit";
  } else if (day == 1 && month == 11) {
    name = "Allerheiligen";
  } else if (day == 25 && month == 12) {
    name = "1. Weihnachtstag";
  } else if (day == 26 && month == 12) {
    name = "2. Weihnachtstag";
  } else if (day == 31 && month == 12) {
    name = "Silvester";
  } else if (jd == easter - 48) {
    name = "Rosenmontag";
  }

  if (jd == easter - 46) name = "Aschermittwoch";

  if (jd == easter) {
    name = "Ostern";
  } else if (jd == easter + 1) {
    name = "Ostermontag";
  } else if (jd == easter - 2) {
    name = "Karfreitag";
  } else if (jd == easter + 39) {
    name = "Himmelfahrt";
  } else if (jd == easter + 49) {
    name = "Pfingstsonntag";
  } else if (jd == easter + 50) {
    name = "Pfingstmontag";
  } else if (jd == easter + 60) {
    name = "Fronleichnam";
  }

  if (jd == advent + 1) {
    name = "1. Advent";
  } else if (jd == advent - 10) {
    name = "Bußtag";
  }
}

}  // namespace kvx
