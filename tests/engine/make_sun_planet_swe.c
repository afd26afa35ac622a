/* Reference values of the Sun and planet objects from the Swiss Ephemeris
 * in its built-in analytic mode (Moshier), test side only: compiled and run
 * by make_sun_planet_swe.sh, which writes fixtures/sun_planet_swe.tsv.
 *
 * Rows by kind (first column):
 *   pos   apparent geocentric and topocentric right ascension and
 *         declination (true equator and equinox of date, light time,
 *         aberration, nutation; no light deflection, which the program does
 *         not apply) of the Sun and the planets at 50 N, 10 E, height 0;
 *         phase angle, illuminated fraction, elongation and magnitude
 *         (swe_pheno_ut), 1900-2100.
 *   eot   equation of time of swe_time_equ (apparent minus mean solar
 *         time), in minutes, 1900-2100.
 *   sun   rise, set (centre at -50', no refraction), upper transit and the
 *         civil, nautical and astronomical twilights (twilight bits) of the
 *         Sun on local days of 2024 at four places.
 *   pla   rise and set (centre at -34', no refraction) and transit of Venus
 *         and Mars at 50 N on local days of 2024.
 * Times are local clock hours of the day (zone hours east of Greenwich), -1
 * when the event does not happen that day. delta_t: the library's, seconds. */
#include <math.h>
#include <stdio.h>
#include <swephexp.h>

static const int kEph = SEFLG_MOSEPH;

static void calc(double jd, int body, int flags, double out[6]) {
  char err[AS_MAXCH];
  if (swe_calc_ut(jd, body, kEph | flags, out, err) < 0) fprintf(stderr, "swe_calc_ut: %s\n", err);
}

/* Next event after jd0 within the local day, hours, or -1. */
static double event(double jd0, int body, int rsmi, double geo[3], double h0, int true_horizon) {
  char err[AS_MAXCH];
  double t = 0;
  int rc = true_horizon ? swe_rise_trans_true_hor(jd0, body, NULL, kEph, rsmi, geo, 0, 0, h0, &t, err)
                        : swe_rise_trans(jd0, body, NULL, kEph, rsmi, geo, 0, 0, &t, err);
  if (rc == -1) fprintf(stderr, "swe_rise_trans: %s\n", err);
  if (rc != 0 || t >= jd0 + 1) return -1;
  return (t - jd0) * 24;
}

int main(void) {
  char version[AS_MAXCH], err[AS_MAXCH];
  const int bodies[9] = {SE_SUN, SE_MERCURY, SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN, SE_URANUS, SE_NEPTUNE, SE_PLUTO};
  const int ours[9] = {0, 1, 2, 4, 5, 6, 7, 8, 9};
  printf("# Swiss Ephemeris %s, analytic mode (SEFLG_MOSEPH); made by make_sun_planet_swe.sh.\n",
         swe_version(version));
  printf("# jd: UT; angles in degrees; eot in minutes (apparent minus mean); times local hours, -1 none.\n");
  printf("kind\tbody\tjd\tlat\tlon\tzone\tdelta_t\ta1\ta2\ta3\ta4\ta5\ta6\ta7\ta8\n");

  /* Positions and phenomena. */
  double geo50[3] = {10.0, 50.0, 0};
  swe_set_topo(10.0, 50.0, 0);
  for (int k = 0; k < 70; ++k) {
    const double jd = 2415020.5 + k * 1043.37 + 0.137 * (k % 7);
    const double dt = swe_deltat_ex(jd, kEph, err) * 86400;
    for (int b = 0; b < 9; ++b) {
      double g[6], t[6], ph[20] = {0};
      calc(jd, bodies[b], SEFLG_EQUATORIAL | SEFLG_NOGDEFL, g);
      calc(jd, bodies[b], SEFLG_EQUATORIAL | SEFLG_NOGDEFL | SEFLG_TOPOCTR, t);
      if (swe_pheno_ut(jd, bodies[b], kEph, ph, err) < 0) fprintf(stderr, "swe_pheno_ut: %s\n", err);
      printf("pos\t%d\t%.6f\t50\t10\t1\t%.3f\t%.9f\t%.9f\t%.9f\t%.9f\t%.6f\t%.6f\t%.6f\t%.4f\n", ours[b], jd, dt, g[0],
             g[1], t[0], t[1], ph[0], ph[1], ph[2], ph[4]);
    }
    (void)geo50;
  }

  /* Equation of time. */
  for (int k = 0; k < 200; ++k) {
    const double jd = 2415020.5 + k * 365.2422 + 0.29 * (k % 5) + 17 * (k % 11);
    double e = 0;
    if (swe_time_equ(jd, &e, err) < 0) fprintf(stderr, "swe_time_equ: %s\n", err);
    printf("eot\t0\t%.6f\t0\t0\t0\t%.3f\t%.6f\t0\t0\t0\t0\t0\t0\t0\n", jd, swe_deltat_ex(jd, kEph, err) * 86400,
           e * 1440);
  }

  /* Sun: rise, set, transit and twilights. */
  const double places[4][3] = {{0.0, -78.5, -5}, {50.0, 10.0, 1}, {65.0, -18.1, 0}, {-34.0, 151.2, 10}};
  for (int p = 0; p < 4; ++p) {
    double geo[3] = {places[p][1], places[p][0], 0};
    const int zone = (int)places[p][2];
    for (int d = 0; d < 366; d += 3) {
      const double jd0 = swe_julday(2024, 1, 1, 0, SE_GREG_CAL) + d - zone / 24.0;
      const int disc = SE_BIT_NO_REFRACTION | SE_BIT_DISC_CENTER;
      printf("sun\t0\t%.6f\t%.2f\t%.2f\t%d\t%.3f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\n", jd0, places[p][0],
             places[p][1], zone, swe_deltat_ex(jd0, kEph, err) * 86400,
             event(jd0, SE_SUN, SE_CALC_RISE | disc, geo, -50.0 / 60, 1),
             event(jd0, SE_SUN, SE_CALC_SET | disc, geo, -50.0 / 60, 1),
             event(jd0, SE_SUN, SE_CALC_MTRANSIT, geo, 0, 0),
             event(jd0, SE_SUN, SE_CALC_RISE | SE_BIT_CIVIL_TWILIGHT, geo, 0, 0),
             event(jd0, SE_SUN, SE_CALC_SET | SE_BIT_CIVIL_TWILIGHT, geo, 0, 0),
             event(jd0, SE_SUN, SE_CALC_RISE | SE_BIT_NAUTIC_TWILIGHT, geo, 0, 0),
             event(jd0, SE_SUN, SE_CALC_SET | SE_BIT_NAUTIC_TWILIGHT, geo, 0, 0),
             event(jd0, SE_SUN, SE_CALC_RISE | SE_BIT_ASTRO_TWILIGHT, geo, 0, 0));
      /* the astronomical dusk goes into a second row, so that every row has eight values */
      printf("sun_dusk\t0\t%.6f\t%.2f\t%.2f\t%d\t0\t%.6f\t0\t0\t0\t0\t0\t0\t0\n", jd0, places[p][0], places[p][1], zone,
             event(jd0, SE_SUN, SE_CALC_SET | SE_BIT_ASTRO_TWILIGHT, geo, 0, 0));
    }
  }

  /* Venus and Mars at 50 N. */
  {
    double geo[3] = {10.0, 50.0, 0};
    const int planets[2] = {SE_VENUS, SE_MARS};
    const int index[2] = {2, 4};
    for (int q = 0; q < 2; ++q) {
      for (int d = 0; d < 366; d += 4) {
        const double jd0 = swe_julday(2024, 1, 1, 0, SE_GREG_CAL) + d - 1 / 24.0;
        const int disc = SE_BIT_NO_REFRACTION | SE_BIT_DISC_CENTER;
        printf("pla\t%d\t%.6f\t50\t10\t1\t%.3f\t%.6f\t%.6f\t%.6f\t0\t0\t0\t0\t0\n", index[q], jd0,
               swe_deltat_ex(jd0, kEph, err) * 86400,
               event(jd0, planets[q], SE_CALC_RISE | disc, geo, -34.0 / 60, 1),
               event(jd0, planets[q], SE_CALC_SET | disc, geo, -34.0 / 60, 1),
               event(jd0, planets[q], SE_CALC_MTRANSIT, geo, 0, 0));
      }
    }
  }
  swe_close();
  return 0;
}
