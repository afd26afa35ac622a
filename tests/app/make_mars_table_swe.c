/* Reference places of the Mars table of the main-window test from the Swiss
 * Ephemeris in its analytic mode (Moshier), test side only: compiled and
 * run by make_mars_table_swe.sh, which writes fixtures/mars_january_2024_swe.tsv.
 *
 * One row per day of January 2024 at 0 h local time in zone 1 (23 h UT of
 * the day before): apparent geocentric right ascension and declination of
 * Mars (true equator and equinox of date, light time, aberration, nutation,
 * no light deflection), degrees. */
#include <stdio.h>
#include <swephexp.h>

int main(void) {
  char err[AS_MAXCH];
  double out[6];
  printf("# Swiss Ephemeris %s, analytic mode (SEFLG_MOSEPH); made by make_mars_table_swe.sh.\n",
         swe_version(err));
  printf("day\tjd_ut\tra\tdec\n");
  for (int day = 1; day <= 31; ++day) {
    const double jd = swe_julday(2024, 1, day, 0.0, SE_GREG_CAL) - 1.0 / 24.0;
    if (swe_calc_ut(jd, SE_MARS, SEFLG_MOSEPH | SEFLG_EQUATORIAL | SEFLG_NOGDEFL, out, err) < 0)
      fprintf(stderr, "swe_calc_ut: %s\n", err);
    printf("%d\t%.6f\t%.9f\t%.9f\n", day, jd, out[0], out[1]);
  }
  swe_close();
  return 0;
}
