/* Reference for the Moon objects from the Swiss Ephemeris (libswe-dev with
 * its Moon file semo_18.se1): for a year of daily instants (2024, 7.2 h UT)
 * at 50N 8E and 34S 151E, the apparent geocentric and the topocentric RA,
 * Dec and distance of date (swe_calc_ut; swe_set_topo + SEFLG_TOPOCTR), the
 * horizon place of the apparent geocentric place without refraction
 * (swe_azalt), the Sun's apparent place and its horizon place, and the
 * moonrise and moonset of the UT day (swe_rise_trans: upper limb, standard
 * refraction at 1013.25 mbar 10 C; 0 when none that day). Distances in AU,
 * geometric (SEFLG_TRUEPOS): the apparent distance of the library holds the
 * Earth's own motion during the light time, up to 40 km for the Moon.
 * Test-side only: make_moon_swe.sh compiles and runs it. */
#include <stdio.h>
#include <swephexp.h>

static double event(double jd0, int which, double *geo, char *err) {
  double t = 0;
  const int rc = swe_rise_trans(jd0, SE_MOON, NULL, SEFLG_SWIEPH, which, geo, 1013.25, 10.0, &t, err);
  if (rc != 0 || t >= jd0 + 1.0) return 0.0;
  return (t - jd0) * 24.0;
}

int main(void) {
  const double places[2][2] = {{50.0, 8.0}, {-34.0, 151.0}};
  char err[AS_MAXCH];
  double x[6], topo[6], sun[6], hor[3], sunHor[3], dist[6], topoDist[6];
  swe_set_ephe_path("/usr/share/libswe/ephe");
  printf("# Swiss Ephemeris %s\n", swe_version(err));
  printf("lat\tlon\tjd_ut\tdeltaT\tra\tdec\tdist_au\ttopo_ra\ttopo_dec\ttopo_dist_au\taz\talt\t"
         "sun_az\tsun_alt\tsun_ra\tsun_dec\trise_h\tset_h\n");
  for (int p = 0; p < 2; ++p) {
    double geo[3] = {places[p][1], places[p][0], 0.0};
    swe_set_topo(geo[0], geo[1], geo[2]);
    for (int d = 0; d < 366; ++d) {
      const double jd0 = 2460310.5 + d;
      const double jd = jd0 + 0.3;
      const int flags = SEFLG_SWIEPH | SEFLG_EQUATORIAL;
      if (swe_calc_ut(jd, SE_MOON, flags, x, err) < 0 || swe_calc_ut(jd, SE_MOON, flags | SEFLG_TOPOCTR, topo, err) < 0 ||
          swe_calc_ut(jd, SE_SUN, flags | SEFLG_TOPOCTR, sun, err) < 0 ||
          swe_calc_ut(jd, SE_MOON, flags | SEFLG_TRUEPOS, dist, err) < 0 ||
          swe_calc_ut(jd, SE_MOON, flags | SEFLG_TRUEPOS | SEFLG_TOPOCTR, topoDist, err) < 0) {
        fprintf(stderr, "%s\n", err);
        return 1;
      }
      swe_azalt(jd, SE_EQU2HOR, geo, 0, 10, x, hor);
      swe_azalt(jd, SE_EQU2HOR, geo, 0, 10, sun, sunHor);
      printf("%.1f\t%.1f\t%.6f\t%.4f\t%.9f\t%.9f\t%.12f\t%.9f\t%.9f\t%.12f\t%.8f\t%.8f\t%.8f\t%.8f\t%.9f\t%.9f\t%.6f\t%.6f\n",
             places[p][0], places[p][1], jd, swe_deltat(jd) * 86400.0, x[0], x[1], dist[2], topo[0], topo[1], topoDist[2],
             hor[0], hor[1], sunHor[0], sunHor[1], sun[0], sun[1], event(jd0, SE_CALC_RISE, geo, err),
             event(jd0, SE_CALC_SET, geo, err));
    }
  }
  swe_close();
  return 0;
}
