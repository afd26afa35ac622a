/* Moon-Jupiter conjunctions in geocentric apparent right ascension during
   2020 (Swiss Ephemeris, analytic mode), for the almanac test. Writes
   "jd_tt" lines to stdout. */
#include <math.h>
#include <stdio.h>
#include <swephexp.h>

static double RaDifference(double jd) {
  double xm[6], xj[6];
  char err[256];
  const int flags = SEFLG_MOSEPH | SEFLG_EQUATORIAL;
  swe_calc(jd, SE_MOON, flags, xm, err);
  swe_calc(jd, SE_JUPITER, flags, xj, err);
  double d = fmod(xm[0] - xj[0] + 540.0, 360.0) - 180.0;
  return d;
}

int main(void) {
  printf("# Swiss Ephemeris %s, Moshier mode; Moon-Jupiter conjunctions in right ascension.\n", "2.10");
  printf("jd_tt\n");
  const double start = 2458849.5, end = 2459215.5; /* 2020 */
  double t0 = start, d0 = RaDifference(t0);
  for (double t1 = start + 0.125; t1 <= end; t1 += 0.125) {
    const double d1 = RaDifference(t1);
    if (d0 < 0 && d1 >= 0 && d1 - d0 < 90) {
      double a = t0, b = t1;
      for (int i = 0; i < 60; ++i) {
        const double m = 0.5 * (a + b);
        if (RaDifference(m) < 0) a = m; else b = m;
      }
      printf("%.7f\n", 0.5 * (a + b));
    }
    t0 = t1;
    d0 = d1;
  }
  swe_close();
  return 0;
}
