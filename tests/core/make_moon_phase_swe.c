/* Writes the instants of the principal lunar phases 2000-2030 from the
 * Swiss Ephemeris in its built-in analytic mode (Moshier) as the fixture
 * fixtures/moon_phases_swe.tsv: the moments when the Moon's apparent
 * geocentric ecliptic longitude exceeds the Sun's by 0, 90, 180 and 270
 * degrees, found by Newton steps in dynamical time. Build and run with
 * make_moon_phase_swe.sh; the program never links this library. */
#include <math.h>
#include <stdio.h>
#include <swephexp.h>

static double elongation(double jd_tt) {
  double s[6], m[6];
  char err[256];
  swe_calc(jd_tt, SE_SUN, SEFLG_MOSEPH | SEFLG_SPEED, s, err);
  swe_calc(jd_tt, SE_MOON, SEFLG_MOSEPH | SEFLG_SPEED, m, err);
  return fmod(m[0] - s[0] + 720.0, 360.0);
}

int main(void) {
  char version[256];
  printf("# Swiss Ephemeris %s, Moshier mode; jde: Julian Ephemeris Day (TT).\n", swe_version(version));
  printf("# phase: 0 new moon, 1 first quarter, 2 full moon, 3 last quarter.\n");
  printf("phase\tjde\n");
  for (int k = 0; k < 384 * 4; ++k) {
    const int phase = k % 4;
    double jd = 2451550.09765 + 29.530588853 * (k / 4.0);
    for (int i = 0; i < 50; ++i) {
      double d = elongation(jd) - 90.0 * phase;
      if (d > 180) d -= 360;
      if (d < -180) d += 360;
      jd -= d / 12.190749;
      if (fabs(d) < 1e-9) break;
    }
    if (jd < 2462867.5) printf("%d\t%.7f\n", phase, jd);
  }
  swe_close();
  return 0;
}
