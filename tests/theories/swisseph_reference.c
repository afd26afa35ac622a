/* Reference positions from the Swiss Ephemeris in its built-in analytic mode
 * (Moshier), for the comparison of the theory libraries. Test-side only:
 * generate_swisseph_reference.sh compiles and runs it and writes
 * fixtures/swisseph_reference.tsv.
 *
 * Rows: every 173.3 days from 1900 Jan 0.5 to 2100 Jan 1 (TT), for
 *   - the eight planets, heliocentric, geometric, mean ecliptic and equinox
 *     of date (frame "date") and of J2000 (frame "j2000");
 *   - the Moon, geocentric, geometric, mean ecliptic and equinox of J2000.
 * Columns: jd (TT), body, frame, longitude and latitude (degrees), distance
 * (AU). */
#include <stdio.h>
#include <swephexp.h>

int main(void) {
  const int planets[8] = {SE_MERCURY, SE_VENUS, SE_EARTH, SE_MARS, SE_JUPITER, SE_SATURN, SE_URANUS, SE_NEPTUNE};
  const char* names[8] = {"mercury", "venus", "earth", "mars", "jupiter", "saturn", "uranus", "neptune"};
  const int geometric = SEFLG_MOSEPH | SEFLG_TRUEPOS | SEFLG_NOABERR | SEFLG_NOGDEFL | SEFLG_NONUT;
  char error[AS_MAXCH];
  double x[6];
  printf("jd\tbody\tframe\tlon\tlat\tdist\n");
  for (double jd = 2415020.0; jd <= 2488070.0; jd += 173.3) {
    for (int i = 0; i < 8; ++i) {
      for (int frame = 0; frame < 2; ++frame) {
        const int flags = geometric | SEFLG_HELCTR | (frame ? SEFLG_J2000 : 0);
        if (swe_calc(jd, planets[i], flags, x, error) < 0) {
          fprintf(stderr, "%s\n", error);
          return 1;
        }
        printf("%.5f\t%s\t%s\t%.10f\t%.10f\t%.12f\n", jd, names[i], frame ? "j2000" : "date", x[0], x[1], x[2]);
      }
    }
    if (swe_calc(jd, SE_MOON, geometric | SEFLG_J2000, x, error) < 0) {
      fprintf(stderr, "%s\n", error);
      return 1;
    }
    printf("%.5f\tmoon\tj2000\t%.10f\t%.10f\t%.12f\n", jd, x[0], x[1], x[2]);
  }
  swe_close();
  return 0;
}
