/* Writes the Sun's rise and set at one place on the first day of every
 * month of 2026 from the Swiss Ephemeris (swe_rise_trans with its own
 * Delta T, analytic Moshier mode) as the fixture
 * fixtures/rise_set_2026_swe.tsv. Same definitions as
 * make_rise_set_reference.c: the Sun's centre at a geometric altitude of
 * -50', no refraction; local clock hours after local midnight. Build and
 * run with make_present_rise_set_swe.sh; the program never links this
 * library. */
#include <stdio.h>
#include <swephexp.h>

static double event(double jd0, int rsmi, double geo[3]) {
  char err[256];
  double t = 0;
  const int flags = rsmi | SE_BIT_NO_REFRACTION | SE_BIT_DISC_CENTER;
  if (swe_rise_trans_true_hor(jd0, SE_SUN, NULL, SEFLG_MOSEPH, flags, geo, 0, 0, -50.0 / 60, &t, err) != 0 ||
      t >= jd0 + 1)
    return -1;
  return (t - jd0) * 24;
}

int main(void) {
  const double lat = 48.21, lon = 16.37;
  const int zone = 1;
  double geo[3] = {lon, lat, 0};
  char version[256], err[256];
  printf("# Swiss Ephemeris %s, Moshier mode, its own Delta T; Sun's centre at -50', no refraction.\n",
         swe_version(version));
  printf("# jd0: local 0 h as JD (UT); lon east positive; zone: local clock - UT (h); delta_t: s;\n");
  printf("# times in local hours of the day.\n");
  printf("jd0\tlat\tlon\tzone\tdelta_t\tsun_rise\tsun_set\n");
  for (int month = 1; month <= 12; ++month) {
    const double jd0 = swe_julday(2026, month, 1, 0, SE_GREG_CAL) - zone / 24.0;
    printf("%.6f\t%.2f\t%.2f\t%d\t%.3f\t%.6f\t%.6f\n", jd0, lat, lon, zone, swe_deltat_ex(jd0, SEFLG_MOSEPH, err) * 86400,
           event(jd0, SE_CALC_RISE, geo), event(jd0, SE_CALC_SET, geo));
  }
  swe_close();
  return 0;
}
