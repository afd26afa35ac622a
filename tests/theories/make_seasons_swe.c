/* Writes the instants of the equinoxes and solstices 2000-2050 from the
 * Swiss Ephemeris in its built-in analytic mode (Moshier) as the fixture
 * fixtures/seasons_swe.tsv: the moments when the Sun's apparent geocentric
 * longitude is 0, 90, 180 and 270 degrees, found by Newton steps in
 * dynamical time. Build and run with make_seasons_swe.sh; the program
 * never links this library. */
#include <math.h>
#include <stdio.h>
#include <swephexp.h>

int main(void) {
  char version[256];
  printf("# Swiss Ephemeris %s, Moshier mode; jde: Julian Ephemeris Day (TT).\n", swe_version(version));
  printf("# season: 0 March equinox, 1 June solstice, 2 September equinox, 3 December solstice.\n");
  printf("year\tseason\tjde\n");
  for (int year = 2000; year <= 2050; ++year) {
    for (int season = 0; season < 4; ++season) {
      double jd = swe_julday(year, 3 + 3 * season, 21, 0, SE_GREG_CAL);
      for (int i = 0; i < 50; ++i) {
        double x[6];
        char err[256];
        swe_calc(jd, SE_SUN, SEFLG_MOSEPH | SEFLG_SPEED, x, err);
        double d = x[0] - 90.0 * season;
        if (d > 180) d -= 360;
        if (d < -180) d += 360;
        jd -= d / x[3];
        if (fabs(d) < 1e-10) break;
      }
      printf("%d\t%d\t%.7f\n", year, season, jd);
    }
  }
  swe_close();
  return 0;
}
