/* Writes fixtures/polar_culmination_swe.tsv: the upper culmination of the
 * Sun and the Moon at Tromsoe (69.65 N, 18.96 E) on every day from
 * 1 November 2026 to 28 February 2027 (polar night, and the Moon high and
 * low in the sky) and from 14 to 28 June 2027 (midnight sun), from the Swiss
 * Ephemeris in its built-in analytic mode (Moshier). Build and run with
 * make_polar_culmination_swe.sh; the program never links this library.
 *
 * A day has a transit when the body's upper meridian transit falls inside
 * the local day and the body stands above its rise/set altitude then,
 * measured as the rise and the set measure it: the Sun's centre, geocentric
 * and without refraction, against -50'; the Moon's upper limb seen from the
 * observer (topocentric centre plus the semi-diameter, no refraction)
 * against -34' (the tables' defaults).
 *
 * Columns: body (0 Sun, 10 Moon); date (YYYY-MM-DD, local); jd0, local 0 h
 * as JD (UT); zone, local clock - UT (h); delta_t (s); transit: the upper
 * meridian transit in local hours, -1 when the day has none by the rule
 * above; at_transit: the altitude at the meridian transit of the day as the
 * rule measures it, minus the rise/set altitude (degrees; a transit counts
 * when it is positive; 0 when no transit falls in the day); transit_alt:
 * 90 - latitude + geocentric apparent declination at the transit (degrees,
 * the culmination height without refraction or parallax); highest, lowest:
 * the day's highest and lowest altitude as the rule measures it, minus the
 * rise/set altitude (degrees, sampled every 5 minutes): the body comes up
 * on a day with a positive highest, stays up all day with a positive
 * lowest. */
#include <math.h>
#include <stdio.h>
#include <swephexp.h>

static const int kEph = SEFLG_MOSEPH;
static const double kLat = 69.65, kLon = 18.96;
static const double kMoonRadiusKm = 1737.4;

/* The body's altitude as the rise and set measure it, minus h0 (degrees). */
static double above_h0(double jd_ut, int body, double geo[3]) {
  char err[256];
  double xx[6], hor[3];
  if (body == SE_SUN) {
    if (swe_calc_ut(jd_ut, body, kEph | SEFLG_EQUATORIAL, xx, err) < 0) fprintf(stderr, "swe_calc_ut: %s\n", err);
    swe_azalt(jd_ut, SE_EQU2HOR, geo, 0, 0, xx, hor);
    return hor[1] + 50.0 / 60;
  }
  if (swe_calc_ut(jd_ut, body, kEph | SEFLG_EQUATORIAL | SEFLG_TOPOCTR, xx, err) < 0) {
    fprintf(stderr, "swe_calc_ut: %s\n", err);
  }
  swe_azalt(jd_ut, SE_EQU2HOR, geo, 0, 0, xx, hor);
  const double semi_diameter = asin(kMoonRadiusKm / (xx[2] * 149597870.7)) * 180 / M_PI;
  return hor[1] + semi_diameter + 34.0 / 60;
}

static void day_row(int body, int year, int month, int day, int zone) {
  char err[256];
  double geo[3] = {kLon, kLat, 0};
  const double jd0 = swe_julday(year, month, day, 0, SE_GREG_CAL) - zone / 24.0;
  double highest = -100, lowest = 100;
  for (int k = 0; k <= 288; ++k) {
    const double h = above_h0(jd0 + k / 288.0, body, geo);
    if (h > highest) highest = h;
    if (h < lowest) lowest = h;
  }
  double t = 0, transit = -1, at_transit = 0, transit_alt = 0;
  if (swe_rise_trans(jd0, body, NULL, kEph, SE_CALC_MTRANSIT, geo, 0, 0, &t, err) != 0) {
    fprintf(stderr, "swe_rise_trans: %s\n", err);
  } else if (t < jd0 + 1) {
    double xx[6];
    swe_calc_ut(t, body, kEph | SEFLG_EQUATORIAL, xx, err);
    at_transit = above_h0(t, body, geo);
    transit_alt = 90 - kLat + xx[1];
    if (at_transit > 0) transit = (t - jd0) * 24;
  }
  printf("%d\t%04d-%02d-%02d\t%.6f\t%d\t%.3f\t%.6f\t%.4f\t%.4f\t%.4f\t%.4f\n", body == SE_MOON ? 10 : 0, year, month,
         day, jd0, zone, swe_deltat(jd0) * 86400, transit, at_transit, transit_alt, highest, lowest);
}

/* Every day from (year, month, day) on for `days` days, both bodies. */
static void days_from(int year, int month, int day, int days, int zone) {
  const double first = swe_julday(year, month, day, 12, SE_GREG_CAL);
  for (int body = 0; body < 2; ++body) {
    for (int d = 0; d < days; ++d) {
      int y, m, dd;
      double hours;
      swe_revjul(first + d, SE_GREG_CAL, &y, &m, &dd, &hours);
      day_row(body == 0 ? SE_SUN : SE_MOON, y, m, dd, zone);
    }
  }
}

int main(void) {
  char version[256];
  swe_set_topo(kLon, kLat, 0);
  printf("# Swiss Ephemeris %s, Moshier mode. Tromsoe %.2f N %.2f E.\n", swe_version(version), kLat, kLon);
  printf("# Sun: centre, geocentric, against -50'; Moon: upper limb, topocentric, against -34'; no refraction.\n");
  printf("body\tdate\tjd0\tzone\tdelta_t\ttransit\tat_transit\ttransit_alt\thighest\tlowest\n");
  days_from(2026, 11, 1, 120, 1);
  days_from(2027, 6, 14, 15, 2);
  swe_close();
  return 0;
}
