/* Reference for the planets' osculating elements of the VSOP82 routine: the
 * Swiss Ephemeris's heliocentric osculating elements of Mars and Jupiter
 * (swe_get_orbital_elements, mean ecliptic and equinox of J2000, its own
 * ephemeris) on a few dates. Test-side only: make_planet_elements_swe.sh
 * compiles and runs it and writes fixtures/planet_elements_swe.tsv. */
#include <stdio.h>
#include <swephexp.h>

int main(void) {
  const int planets[2] = {SE_MARS, SE_JUPITER};
  const int indices[2] = {4, 5}; /* the program's planet numbers */
  const double dates[] = {2415020.5, 2440000.5, 2451545.0, 2460000.5, 2470000.5};
  char error[AS_MAXCH];
  double e[50];
  printf("# Swiss Ephemeris %s; jd is TT\n", swe_version(error));
  printf("planet\tjd\ta\te\ti\tnode\tperi\n");
  for (int p = 0; p < 2; ++p) {
    for (unsigned d = 0; d < sizeof dates / sizeof dates[0]; ++d) {
      if (swe_get_orbital_elements(dates[d], planets[p], SEFLG_SWIEPH | SEFLG_J2000, e, error) < 0) {
        fprintf(stderr, "%s\n", error);
        return 1;
      }
      printf("%d\t%.6f\t%.12f\t%.12f\t%.10f\t%.10f\t%.10f\n", indices[p], dates[d], e[0], e[1], e[2], e[3], e[4]);
    }
  }
  return 0;
}
