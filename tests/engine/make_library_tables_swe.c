/* Reference values of the planet library tables from the Swiss Ephemeris
 * in its built-in analytic mode (Moshier), test side only: compiled and run
 * by make_library_tables_swe.sh, which writes fixtures/library_tables_swe.tsv.
 *
 * kind "xyz": heliocentric geometric position (AU) and velocity (AU/day) of
 *   a planet at a JD of TT in one of four frames (0 equator of date, 1
 *   equator of J2000, 2 ecliptic of date, 3 ecliptic of J2000; no
 *   nutation).
 * kind "el": osculating heliocentric elements of swe_get_orbital_elements
 *   (ecliptic and equinox of J2000): a, e, i, node, argument of perihelion,
 *   mean anomaly.
 * body: the program's planet number (1 Mercury .. 9 Pluto, 3 the Earth). */
#include <stdio.h>
#include <swephexp.h>

int main(void) {
  static const int bodies[9] = {SE_MERCURY, SE_VENUS, SE_EARTH, SE_MARS, SE_JUPITER,
                                SE_SATURN,  SE_URANUS, SE_NEPTUNE, SE_PLUTO};
  static const int frames[4] = {SEFLG_EQUATORIAL, SEFLG_EQUATORIAL | SEFLG_J2000, 0, SEFLG_J2000};
  static const double jds[2] = {2451545.0, 2460310.5};
  char err[AS_MAXCH];
  printf("kind\tjd\tbody\tframe\tv1\tv2\tv3\tv4\tv5\tv6\n");
  for (int j = 0; j < 2; ++j) {
    for (int b = 0; b < 9; ++b) {
      for (int f = 0; f < 4; ++f) {
        double x[6];
        int flags = SEFLG_MOSEPH | SEFLG_HELCTR | SEFLG_XYZ | SEFLG_SPEED | SEFLG_NONUT | SEFLG_TRUEPOS | frames[f];
        if (swe_calc(jds[j], bodies[b], flags, x, err) < 0) fprintf(stderr, "%s\n", err);
        printf("xyz\t%.1f\t%d\t%d\t%.10f\t%.10f\t%.10f\t%.12f\t%.12f\t%.12f\n", jds[j], b + 1, f, x[0], x[1], x[2],
               x[3], x[4], x[5]);
      }
      double el[50];
      int body = bodies[b] == SE_EARTH ? SE_EARTH : bodies[b];
      if (swe_get_orbital_elements(jds[j], body, SEFLG_MOSEPH | SEFLG_J2000, el, err) < 0) fprintf(stderr, "%s\n", err);
      printf("el\t%.1f\t%d\t3\t%.10f\t%.10f\t%.8f\t%.8f\t%.8f\t%.8f\n", jds[j], b + 1, el[0], el[1], el[2], el[3],
             el[4], el[6]);
    }
  }
  return 0;
}
