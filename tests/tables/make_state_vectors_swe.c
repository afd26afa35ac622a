/* Heliocentric state vectors of the planets from the Swiss Ephemeris in its
 * analytic mode (Moshier), test side only: compiled and run by
 * make_state_vectors_swe.sh, which writes fixtures/state_vectors_swe.tsv.
 *
 * Per date (TT) and body (Mercury, Venus, Earth, Mars .. Pluto) the
 * geometric heliocentric position (AU) and velocity (AU/day), no nutation,
 * in four frames: 0 mean equator of date, 1 equator of J2000, 2 mean
 * ecliptic of date, 3 ecliptic of J2000. */
#include <stdio.h>
#include <swephexp.h>

int main(void) {
  static const double dates[] = {2415020.5, 2433282.5, 2448976.5, 2451545.0, 2469807.5, 2488069.5};
  static const int bodies[] = {SE_MERCURY, SE_VENUS, SE_EARTH, SE_MARS,   SE_JUPITER,
                               SE_SATURN,  SE_URANUS, SE_NEPTUNE, SE_PLUTO};
  static const int frames[] = {SEFLG_EQUATORIAL, SEFLG_EQUATORIAL | SEFLG_J2000, 0, SEFLG_J2000};
  const int base = SEFLG_MOSEPH | SEFLG_HELCTR | SEFLG_XYZ | SEFLG_SPEED | SEFLG_TRUEPOS | SEFLG_NONUT;
  char err[AS_MAXCH];
  printf("# Swiss Ephemeris %s, analytic mode; made by make_state_vectors_swe.sh. AU and AU/day.\n",
         swe_version(err));
  printf("jd_tt\tbody\tframe\tx\ty\tz\tvx\tvy\tvz\n");
  for (unsigned d = 0; d < sizeof dates / sizeof *dates; ++d) {
    for (unsigned b = 0; b < sizeof bodies / sizeof *bodies; ++b) {
      for (int f = 0; f < 4; ++f) {
        double x[6];
        if (swe_calc(dates[d], bodies[b], base | frames[f], x, err) < 0) fprintf(stderr, "swe_calc: %s\n", err);
        printf("%.1f\t%u\t%d\t%.12f\t%.12f\t%.12f\t%.14f\t%.14f\t%.14f\n", dates[d], b, f, x[0], x[1], x[2], x[3],
               x[4], x[5]);
      }
    }
  }
  swe_close();
  return 0;
}
