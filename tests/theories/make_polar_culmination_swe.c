/* Writes fixtures/polar_culmination_swe.tsv: the upper culmination of the
 * Sun and the Moon at Tromsoe (69.65 N, 18.96 E) in 2027 on days without a
 * rise or a set, from the Swiss Ephemeris in its built-in analytic mode
 * (Moshier). For each body one day it stays below the rise/set altitude all
 * day (polar night) and one day it stays above (midnight sun), the first of
 * each kind in 2027 in the months named in main(). Build and run with
 * make_polar_culmination_swe.sh; the program never links this library.
 *
 * Columns: body (0 Sun, 10 Moon); jd0, local 0 h as JD (UT); zone, local
 * clock - UT (h); delta_t (s); up: 1 above all day, 0 below; transit: the
 * upper meridian transit in local hours; transit_alt: 90 - latitude +
 * geocentric apparent declination at the transit (degrees, the culmination
 * height without refraction or parallax); max_alt / min_alt: the highest
 * and lowest geocentric altitude of the body's centre over the day without
 * refraction, sampled every 5 minutes, degrees. */
#include <math.h>
#include <stdio.h>
#include <swephexp.h>

static const int kEph = SEFLG_MOSEPH;
static const double kLat = 69.65, kLon = 18.96;

/* Geocentric altitude of the centre, no refraction. */
static double altitude(double jd_ut, int body, double geo[3]) {
  char err[256];
  double xx[6], hor[3];
  int flags = kEph | SEFLG_EQUATORIAL;
  if (swe_calc_ut(jd_ut, body, flags, xx, err) < 0) fprintf(stderr, "swe_calc_ut: %s\n", err);
  swe_azalt(jd_ut, SE_EQU2HOR, geo, 0, 0, xx, hor);
  return hor[1];
}

/* The first day from (month, day) on, for up to 40 days, on which the body
 * stays above (want_up) or below h0 (degrees) all day; prints its row. */
static void day_row(int body, int month, int first_day, int zone, double h0, int want_up) {
  char err[256];
  double geo[3] = {kLon, kLat, 0};
  swe_set_topo(kLon, kLat, 0);
  for (int d = 0; d < 40; ++d) {
    const double jd0 = swe_julday(2027, month, first_day, 0, SE_GREG_CAL) + d - zone / 24.0;
    double hi = -100, lo = 100;
    for (int k = 0; k <= 288; ++k) {
      const double h = altitude(jd0 + k / 288.0, body, geo);
      if (h > hi) hi = h;
      if (h < lo) lo = h;
    }
    if (want_up ? !(lo > h0 + 0.2) : !(hi < h0 - 0.2)) continue;
    double t = 0;
    if (swe_rise_trans(jd0, body, NULL, kEph, SE_CALC_MTRANSIT, geo, 0, 0, &t, err) != 0 || t >= jd0 + 1) continue;
    double xx[6];
    swe_calc_ut(t, body, kEph | SEFLG_EQUATORIAL, xx, err);
    printf("%d\t%.6f\t%d\t%.3f\t%d\t%.6f\t%.4f\t%.4f\t%.4f\n", body == SE_MOON ? 10 : 0, jd0, zone,
           swe_deltat(jd0) * 86400, want_up, (t - jd0) * 24, 90 - kLat + xx[1], hi, lo);
    return;
  }
  fprintf(stderr, "no such day for body %d from %d.%d\n", body, first_day, month);
}

int main(void) {
  char version[256];
  printf("# Swiss Ephemeris %s, Moshier mode. Tromsoe %.2f N %.2f E, 2027.\n", swe_version(version), kLat, kLon);
  printf("# Sun against its centre at -50'; Moon against its centre at +8' (geocentric rise/set altitude of the\n");
  printf("# program's default), both without refraction; each day clear of that altitude by 0.2 deg.\n");
  printf("body\tjd0\tzone\tdelta_t\tup\ttransit\ttransit_alt\tmax_alt\tmin_alt\n");
  day_row(SE_SUN, 12, 21, 1, -50.0 / 60, 0);
  day_row(SE_SUN, 6, 21, 2, -50.0 / 60, 1);
  day_row(SE_MOON, 1, 1, 1, 8.0 / 60, 0);
  day_row(SE_MOON, 1, 1, 1, 8.0 / 60, 1);
  swe_close();
  return 0;
}
