/* Reference for the two-body chain from the Swiss Ephemeris (libswe-dev with
 * its asteroid file seas_18.se1): the osculating elements of Ceres and Vesta
 * at one epoch (swe_get_orbital_elements, heliocentric, mean ecliptic and
 * equinox of J2000) and their astrometric geocentric J2000 places (light
 * time, no aberration, no deflection) over +-20 days around it, with the
 * Sun's geometric geocentric place of the mean ecliptic of date beside each
 * row. Test-side only: make_ceres_vesta_swe.sh compiles and runs it and
 * writes fixtures/ceres_vesta_swe.tsv. */
#include <stdio.h>
#include <swephexp.h>

int main(void) {
  const int bodies[2] = {SE_CERES, SE_VESTA};
  const char* names[2] = {"Ceres", "Vesta"};
  const double magnitudes[2][2] = {{3.34, 0.12}, {3.20, 0.32}}; /* H, G (not from the ephemeris) */
  const double epoch = 2460400.5; /* TT */
  const int offsets[] = {-20, -10, -5, -2, 0, 2, 5, 10, 20};
  char error[AS_MAXCH];
  double elements[50], x[6], sun[6];
  printf("# Swiss Ephemeris %s; jd is TT\n", swe_version(error));
  printf("name\ta\te\ti\tnode\tperi\tM\tepoch\tH\tG\tjd\tra_deg\tdec_deg\tdelta_au\tsun_x\tsun_y\tsun_z\n");
  for (int b = 0; b < 2; ++b) {
    if (swe_get_orbital_elements(epoch, bodies[b], SEFLG_SWIEPH | SEFLG_J2000, elements, error) < 0) {
      fprintf(stderr, "%s\n", error);
      return 1;
    }
    for (unsigned k = 0; k < sizeof offsets / sizeof offsets[0]; ++k) {
      const double jd = epoch + offsets[k];
      const int place = SEFLG_SWIEPH | SEFLG_J2000 | SEFLG_NOABERR | SEFLG_NOGDEFL | SEFLG_EQUATORIAL;
      const int sunFlags = SEFLG_SWIEPH | SEFLG_TRUEPOS | SEFLG_NOABERR | SEFLG_NOGDEFL | SEFLG_NONUT | SEFLG_XYZ;
      if (swe_calc(jd, bodies[b], place, x, error) < 0 || swe_calc(jd, SE_SUN, sunFlags, sun, error) < 0) {
        fprintf(stderr, "%s\n", error);
        return 1;
      }
      printf("%s\t%.12f\t%.12f\t%.10f\t%.10f\t%.10f\t%.10f\t%.1f\t%.2f\t%.2f\t%.5f\t%.10f\t%.10f\t%.12f\t%.12f\t%.12f\t%.12f\n",
             names[b], elements[0], elements[1], elements[2], elements[3], elements[4], elements[6], epoch,
             magnitudes[b][0], magnitudes[b][1], jd, x[0],
             x[1], x[2], sun[0], sun[1], sun[2]);
    }
  }
  swe_close();
  return 0;
}
