/* Astrometric places of Ceres and Vesta from the Swiss Ephemeris (asteroid
 * file seas_18.se1 of swe-basic-data), test side only: compiled and run by
 * make_ceres_vesta_swe.sh, which writes fixtures/ceres_vesta_swe.csv.
 *
 * Rows as in orbit_reference.csv: "elements,<name>,a,e,i,node,peri" (the
 * osculating heliocentric elements at the epoch, ecliptic and equinox J2000)
 * and "obs,<name>,<set>,ut,tt,ra_hours,dec_degrees,0,0,0" (J2000 equator, light
 * time, no aberration, no light deflection; the TT day from the library's
 * Delta T). Ceres also gets "orbit,ceres,epoch,x,y,z,vx,vy,vz" (the heliocentric
 * geometric state at the epoch, AU and AU/day, J2000 equator) and the set
 * "arc60": 13 places 5 days apart over 60 days around the epoch. */
#include <stdio.h>
#include <swephexp.h>

static const double kEpoch = 2461000.5; /* TT */

static void body(int ipl, const char* name) {
  char err[AS_MAXCH];
  double el[50];
  if (swe_get_orbital_elements(kEpoch, ipl, SEFLG_SWIEPH | SEFLG_J2000 | SEFLG_HELCTR, el, err) < 0)
    fprintf(stderr, "swe_get_orbital_elements: %s\n", err);
  printf("elements,%s,%.12f,%.12f,%.12f,%.12f,%.12f\n", name, el[0], el[1], el[2], el[3], el[4]);
  if (ipl == SE_CERES) {
    double s[6];
    if (swe_calc(kEpoch, ipl,
                 SEFLG_SWIEPH | SEFLG_HELCTR | SEFLG_J2000 | SEFLG_EQUATORIAL | SEFLG_XYZ | SEFLG_SPEED | SEFLG_TRUEPOS |
                     SEFLG_NOABERR | SEFLG_NOGDEFL,
                 s, err) < 0)
      fprintf(stderr, "swe_calc: %s\n", err);
    printf("orbit,%s,%.10f,%.15f,%.15f,%.15f,%.15e,%.15e,%.15e\n", name, kEpoch, s[0], s[1], s[2], s[3], s[4], s[5]);
    for (int k = -6; k <= 6; ++k) {
      const double tt = kEpoch + 5.0 * k;
      const double ut = tt - swe_deltat(tt);
      double x[6];
      if (swe_calc_ut(ut, ipl, SEFLG_SWIEPH | SEFLG_J2000 | SEFLG_EQUATORIAL | SEFLG_NOABERR | SEFLG_NOGDEFL, x,
                      err) < 0)
        fprintf(stderr, "swe_calc_ut: %s\n", err);
      printf("obs,%s,arc60,%.10f,%.10f,%.12f,%.12f,0,0,0\n", name, ut, tt, x[0] / 15.0, x[1]);
    }
  }
  static const double offsets[][3] = {{-10, 0, 10}, {-20, 0, 20}};
  static const char* sets[] = {"arc3", "wide3"};
  for (int s = 0; s < 2; ++s) {
    for (int k = 0; k < 3; ++k) {
      const double tt = kEpoch + offsets[s][k];
      const double ut = tt - swe_deltat(tt);
      double x[6];
      if (swe_calc_ut(ut, ipl, SEFLG_SWIEPH | SEFLG_J2000 | SEFLG_EQUATORIAL | SEFLG_NOABERR | SEFLG_NOGDEFL, x,
                      err) < 0)
        fprintf(stderr, "swe_calc_ut: %s\n", err);
      printf("obs,%s,%s,%.10f,%.10f,%.12f,%.12f,0,0,0\n", name, sets[s], ut, tt, x[0] / 15.0, x[1]);
    }
  }
}

int main(void) {
  char version[AS_MAXCH];
  swe_set_ephe_path("/usr/share/libswe/ephe");
  printf("# Swiss Ephemeris %s; made by make_ceres_vesta_swe.sh.\n", swe_version(version));
  body(SE_CERES, "ceres");
  body(SE_VESTA, "vesta");
  swe_close();
  return 0;
}
