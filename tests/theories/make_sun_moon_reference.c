/* Writes reference positions of the Sun and the Moon from the Swiss
 * Ephemeris in its built-in analytic mode (Moshier) for 1900-2100, as the
 * fixture fixtures/sun_moon_swe.tsv. Build and run with
 * make_sun_moon_reference.sh; the program itself never links this library. */
#include <stdio.h>
#include <swephexp.h>

static void calc(double jd, int body, int flags, double out[6]) {
  char err[256];
  if (swe_calc(jd, body, flags | SEFLG_MOSEPH, out, err) < 0) {
    fprintf(stderr, "swe_calc: %s\n", err);
  }
}

int main(void) {
  const int geometric = SEFLG_TRUEPOS | SEFLG_NOABERR | SEFLG_NOGDEFL | SEFLG_NONUT;
  const int j2000 = SEFLG_TRUEPOS | SEFLG_NOABERR | SEFLG_NOGDEFL | SEFLG_J2000 | SEFLG_XYZ;
  const int apparent = SEFLG_EQUATORIAL;
  const double km_per_au = 149597870.7;
  printf("# Swiss Ephemeris %s, Moshier mode. jd_tt: Julian day, TT.\n", swe_version((char[256]){0}));
  printf("# sun_*, moon_*: geometric geocentric, mean ecliptic and equinox of date (deg, AU, km).\n");
  printf("# moon_x2000..: geometric, ecliptic and equinox J2000, km.\n");
  printf("# *_ra, *_dec: apparent (light time, aberration, nutation), true equator of date, deg.\n");
  printf("jd_tt\tsun_lon\tsun_lat\tsun_dist\tmoon_lon\tmoon_lat\tmoon_dist_km\tmoon_x2000\tmoon_y2000"
         "\tmoon_z2000\tsun_ra\tsun_dec\tmoon_ra\tmoon_dec\n");
  /* 1900 Jan 0.5 to 2100, steps of 36.6 days plus a quarter-day drift. */
  for (int i = 0; i <= 2000; ++i) {
    const double jd = 2415020.0 + i * 36.52425 + 0.25 * (i % 4);
    double s[6], m[6], mx[6], sa[6], ma[6];
    calc(jd, SE_SUN, geometric, s);
    calc(jd, SE_MOON, geometric, m);
    calc(jd, SE_MOON, j2000, mx);
    calc(jd, SE_SUN, apparent, sa);
    calc(jd, SE_MOON, apparent, ma);
    printf("%.5f\t%.9f\t%.9f\t%.10f\t%.9f\t%.9f\t%.4f\t%.4f\t%.4f\t%.4f\t%.9f\t%.9f\t%.9f\t%.9f\n", jd, s[0], s[1],
           s[2], m[0], m[1], m[2] * km_per_au, mx[0] * km_per_au, mx[1] * km_per_au, mx[2] * km_per_au, sa[0],
           sa[1], ma[0], ma[1]);
  }
  swe_close();
  return 0;
}
