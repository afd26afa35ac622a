/* Reference for the n-body integration from the Swiss Ephemeris (libswe-dev,
 * swe-basic-data): heliocentric rectangular equatorial coordinates of the
 * mean equinox J2000 (AU, AU/day) of Mercury to Pluto at the default epoch
 * JD 2450600.5 and 200 days later (TT). Test-side only:
 * make_nbody_swe.sh compiles and runs it and writes
 * fixtures/nbody_swe.tsv. */
#include <stdio.h>
#include <swephexp.h>

int main(void) {
  const int bodies[9] = {SE_MERCURY, SE_VENUS, SE_EARTH, SE_MARS, SE_JUPITER,
                         SE_SATURN, SE_URANUS, SE_NEPTUNE, SE_PLUTO};
  const double epochs[2] = {2450600.5, 2450800.5};
  const int flags = SEFLG_SWIEPH | SEFLG_HELCTR | SEFLG_XYZ | SEFLG_SPEED | SEFLG_EQUATORIAL | SEFLG_J2000;
  char error[AS_MAXCH];
  double x[6];
  printf("# Swiss Ephemeris %s; jd is TT; body is the index of the default set-up (2 Mercury .. 10 Pluto)\n",
         swe_version(error));
  printf("jd\tbody\tx\ty\tz\tvx\tvy\tvz\n");
  for (int e = 0; e < 2; ++e) {
    for (int b = 0; b < 9; ++b) {
      if (swe_calc(epochs[e], bodies[b], flags, x, error) < 0) {
        fprintf(stderr, "%s\n", error);
        return 1;
      }
      printf("%.1f\t%d\t%.12f\t%.12f\t%.12f\t%.14f\t%.14f\t%.14f\n", epochs[e], b + 2, x[0], x[1], x[2], x[3], x[4],
             x[5]);
    }
  }
  swe_close();
  return 0;
}
