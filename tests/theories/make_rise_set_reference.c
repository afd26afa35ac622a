/* Writes reference rise, set and transit times of the Sun and the Moon from
 * the Swiss Ephemeris in its built-in analytic mode (Moshier) as the
 * fixture fixtures/rise_set_swe.tsv: every day of 2024 at six places from
 * latitude 0 to 65 degrees, plus a few days of polar day and night. Build
 * and run with make_rise_set_reference.sh; the program never links this
 * library.
 *
 * Definitions, chosen to match what the tests ask of the program:
 *   sun:      geometric altitude of the Sun's centre -50' (no refraction),
 *   twilight: the Sun's centre at -6, -12 and -18 degrees,
 *   moon:     topocentric geometric altitude of the Moon's upper limb -34'.
 * Times are local clock hours after local midnight of the day (zone hours
 * east of Greenwich); -1 when the event does not happen within the day.
 * sun_up0 / civil_up0: 1 when the Sun is above the level at local 0 h.
 * Every event found is checked by recomputing the altitude at its time. */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <swephexp.h>

static const int kEph = SEFLG_MOSEPH;
static double max_check = 0;

/* Geometric altitude of the Sun's centre or the Moon's upper limb. */
static double altitude(double jd_ut, int body, double geo[3], int upper_limb) {
  char err[256];
  double xx[6], hor[3];
  int flags = kEph | SEFLG_EQUATORIAL;
  if (body == SE_MOON) flags |= SEFLG_TOPOCTR;
  if (swe_calc_ut(jd_ut, body, flags, xx, err) < 0) fprintf(stderr, "swe_calc_ut: %s\n", err);
  swe_azalt(jd_ut, SE_EQU2HOR, geo, 0, 0, xx, hor);
  double h = hor[1];
  if (upper_limb) {
    /* semi-diameter of the Moon, 1737.4 km, at the topocentric distance */
    h += asin(1737.4 / (xx[2] * 149597870.7)) * 180 / M_PI;
  }
  return h;
}

/* Next event after jd0 within one day, in hours, or -1; checks the
 * altitude of a rise or set against h0. */
static double event(double jd0, int body, int rsmi, double geo[3], double h0, int *count) {
  char err[256];
  double t = 0;
  int flags = rsmi;
  if (rsmi == SE_CALC_RISE || rsmi == SE_CALC_SET) {
    flags |= SE_BIT_NO_REFRACTION;
    if (body == SE_SUN) flags |= SE_BIT_DISC_CENTER;
  }
  int rc = swe_rise_trans_true_hor(jd0, body, NULL, kEph, flags, geo, 0, 0, h0, &t, err);
  if (rc == -1) fprintf(stderr, "swe_rise_trans: %s\n", err); /* -2: circumpolar */
  if (rc != 0 || t >= jd0 + 1) return -1;
  if (rsmi == SE_CALC_RISE || rsmi == SE_CALC_SET) {
    double d = fabs(altitude(t, body, geo, body == SE_MOON) - h0);
    if (d > max_check) max_check = d;
    /* a second event of the same kind in the day */
    double t2 = 0;
    if (swe_rise_trans_true_hor(t + 0.01, body, NULL, kEph, flags, geo, 0, 0, h0, &t2, err) == 0 &&
        t2 < jd0 + 1)
      ++*count;
  }
  return (t - jd0) * 24;
}

static void place(double lat, double lon, int zone, int first_day, int days, int step) {
  double geo[3] = {lon, lat, 0};
  swe_set_topo(lon, lat, 0);
  for (int d = first_day; d < first_day + days; d += step) {
    /* local midnight of 2024 Jan 1 + d, as UT */
    const double jd0 = swe_julday(2024, 1, 1, 0, SE_GREG_CAL) + d - zone / 24.0;
    int doubles = 0;
    double sr = event(jd0, SE_SUN, SE_CALC_RISE, geo, -50.0 / 60, &doubles);
    double ss = event(jd0, SE_SUN, SE_CALC_SET, geo, -50.0 / 60, &doubles);
    double st = event(jd0, SE_SUN, SE_CALC_MTRANSIT, geo, 0, &doubles);
    double cr = event(jd0, SE_SUN, SE_CALC_RISE, geo, -6, &doubles);
    double cs = event(jd0, SE_SUN, SE_CALC_SET, geo, -6, &doubles);
    double nr = event(jd0, SE_SUN, SE_CALC_RISE, geo, -12, &doubles);
    double ns = event(jd0, SE_SUN, SE_CALC_SET, geo, -12, &doubles);
    double ar = event(jd0, SE_SUN, SE_CALC_RISE, geo, -18, &doubles);
    double as = event(jd0, SE_SUN, SE_CALC_SET, geo, -18, &doubles);
    double mr = event(jd0, SE_MOON, SE_CALC_RISE, geo, -34.0 / 60, &doubles);
    double ms = event(jd0, SE_MOON, SE_CALC_SET, geo, -34.0 / 60, &doubles);
    double mt = event(jd0, SE_MOON, SE_CALC_MTRANSIT, geo, 0, &doubles);
    int sun_up0 = altitude(jd0, SE_SUN, geo, 0) > -50.0 / 60;
    int civil_up0 = altitude(jd0, SE_SUN, geo, 0) > -6;
    double dt = swe_deltat(jd0) * 86400;
    printf("%.6f\t%.4f\t%.4f\t%d\t%.3f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f"
           "\t%d\t%d\t%d\n",
           jd0, lat, lon, zone, dt, sr, ss, st, cr, cs, nr, ns, ar, as, mr, ms, mt, sun_up0, civil_up0, doubles);
  }
}

int main(void) {
  char version[256];
  printf("# Swiss Ephemeris %s, Moshier mode; rise and set without refraction.\n", swe_version(version));
  printf("# jd0: local 0 h as JD (UT); lon east positive; zone: local clock - UT (h); delta_t: s.\n");
  printf("# Times in local hours of the day, -1 when the event does not happen that day.\n");
  printf("# sun_*: centre at -50'; civil/nautical/astro: centre at -6/-12/-18 deg; moon_*: topocentric\n");
  printf("# upper limb at -34'; *_transit: upper meridian transit. doubles: events that happen twice.\n");
  printf("jd0\tlat\tlon\tzone\tdelta_t\tsun_rise\tsun_set\tsun_transit\tcivil_rise\tcivil_set\tnautical_rise"
         "\tnautical_set\tastro_rise\tastro_set\tmoon_rise\tmoon_set\tmoon_transit\tsun_up0\tcivil_up0"
         "\tdoubles\n");
  place(0.0, -78.5, -5, 0, 366, 1);
  place(15.0, 120.98, 8, 0, 366, 1);
  place(30.05, 31.23, 2, 0, 366, 1);
  place(45.0, -122.68, -8, 0, 366, 1);
  place(55.75, 37.62, 3, 0, 366, 1);
  place(65.0, -18.1, 0, 0, 366, 1);
  /* polar day and night, a Moon that stays up for days, the southern hemisphere */
  place(75.0, 20.0, 1, 0, 366, 1);
  place(78.22, 15.65, 1, 150, 30, 3);
  place(78.22, 15.65, 1, 330, 30, 3);
  place(-33.87, 151.21, 10, 0, 366, 7);
  fprintf(stderr, "largest altitude misfit at the reference events: %.2e deg\n", max_check);
  swe_close();
  return 0;
}
