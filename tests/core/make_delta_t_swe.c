/* Writes Delta T from the Swiss Ephemeris (swe_deltat_ex, its own table of
 * observed values) every month from 2000.0 to the start of the given last
 * year as the fixture fixtures/delta_t_swe.tsv. Build and run with
 * make_delta_t_swe.sh; the program never links this library. */
#include <stdio.h>
#include <stdlib.h>
#include <swephexp.h>

int main(int argc, char** argv) {
  const int last = argc > 1 ? atoi(argv[1]) : 2022;
  char version[256], err[256];
  printf("# Swiss Ephemeris %s, swe_deltat_ex (Moshier flag); jd_ut: Julian day (UT);\n", swe_version(version));
  printf("# year: 2000 + (jd_ut - 2451545) / 365.25; delta_t: TT - UT, seconds.\n");
  printf("jd_ut\tyear\tdelta_t\n");
  for (int month = 0; month <= (last - 2000) * 12; ++month) {
    const double year = 2000.0 + month / 12.0;
    const double jd = 2451545.0 + (year - 2000.0) * 365.25;
    printf("%.4f\t%.4f\t%.4f\n", jd, year, swe_deltat_ex(jd, SEFLG_MOSEPH, err) * 86400.0);
  }
  swe_close();
  return 0;
}
