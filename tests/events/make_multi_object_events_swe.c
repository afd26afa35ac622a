/* Osculating heliocentric elements (ecliptic and equinox J2000) of Ceres,
   Pallas, Juno and Vesta at JD 2460400.5 TT from Swiss Ephemeris, one line
   each: name a e i node peri M n epochJD. */
#include <stdio.h>
#include <swephexp.h>

int main(void) {
  const int bodies[4] = {SE_CERES, SE_PALLAS, SE_JUNO, SE_VESTA};
  const char* names[4] = {"Ceres", "Pallas", "Juno", "Vesta"};
  const double epoch = 2460400.5;
  char error[256];
  double d[50];
  swe_set_ephe_path("/usr/share/libswe/ephe");
  for (int k = 0; k < 4; ++k) {
    if (swe_get_orbital_elements(epoch, bodies[k], SEFLG_SWIEPH, d, error) < 0) {
      fprintf(stderr, "%s: %s\n", names[k], error);
      return 1;
    }
    printf("%s\t%.10f\t%.10f\t%.8f\t%.8f\t%.8f\t%.8f\t%.10f\t%.1f\n", names[k], d[0], d[1], d[2], d[3], d[4], d[6],
           d[11], epoch);
  }
  swe_close();
  return 0;
}
