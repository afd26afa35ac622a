/* Writes reference places and physical data of the Sun, the planets and the
 * Moon from the Swiss Ephemeris in its built-in analytic mode (Moshier) as
 * the fixtures fixtures/planet_physical_swe.tsv and fixtures/moon_physical_swe.tsv.
 * Build and run with make_physical_ephemeris_reference.sh; the program itself
 * never links this library.
 *
 * Planet rows: the inputs a planet's physical ephemeris reads (the observer's
 * Sun, the body's heliocentric and geocentric place of date) and the phase
 * angle, illuminated fraction, elongation, apparent diameter and magnitude of
 * swe_pheno_ut for comparison. Moon rows: the Moon's apparent geocentric and
 * topocentric place and the Sun, with swe_pheno_ut's values. */
#include <stdio.h>
#include <swephexp.h>

static void calc(double jd_tt, int body, int flags, double out[6]) {
  char err[256];
  if (swe_calc(jd_tt, body, flags | SEFLG_MOSEPH, out, err) < 0) fprintf(stderr, "swe_calc: %s\n", err);
}

static void pheno(double jd_ut, int body, int flags, double attr[20]) {
  char err[256];
  if (swe_pheno_ut(jd_ut, body, flags | SEFLG_MOSEPH, attr, err) < 0) fprintf(stderr, "swe_pheno_ut: %s\n", err);
}

/* Geometric places referred to the mean ecliptic and equinox of date, as the
 * theories of the program deliver the Sun, the planets and the Moon. */
static const int kGeometric = SEFLG_TRUEPOS | SEFLG_NOABERR | SEFLG_NOGDEFL | SEFLG_NONUT;

/* Our body index 0..9 to the Swiss Ephemeris number. */
static const int kSweBody[10] = {SE_SUN, SE_MERCURY, SE_VENUS, -1, SE_MARS, SE_JUPITER,
                                 SE_SATURN, SE_URANUS, SE_NEPTUNE, SE_PLUTO};

static void planet_row(const char* label, int body, double jd_ut) {
  const double dt = swe_deltat_ex(jd_ut, SEFLG_MOSEPH, NULL);
  const double jd_tt = jd_ut + dt;
  const int ipl = kSweBody[body];
  double sun[6], sunxyz[6], sunequ[6], hel[6], helxyz[6], geo[6], equ[6], equxyz[6], attr[20];
  calc(jd_tt, SE_SUN, kGeometric, sun);
  calc(jd_tt, SE_SUN, kGeometric | SEFLG_XYZ, sunxyz);
  calc(jd_tt, SE_SUN, SEFLG_EQUATORIAL, sunequ);
  calc(jd_tt, ipl, 0, geo);
  if (body == 0) {
    for (int k = 0; k < 6; ++k) hel[k] = helxyz[k] = 0;
  } else {
    /* The planet where the light left it. */
    const double retarded = jd_tt - 0.0057755183 * geo[2];
    calc(retarded, ipl, kGeometric | SEFLG_HELCTR, hel);
    calc(retarded, ipl, kGeometric | SEFLG_HELCTR | SEFLG_XYZ, helxyz);
  }
  calc(jd_tt, ipl, SEFLG_EQUATORIAL, equ);
  calc(jd_tt, ipl, SEFLG_EQUATORIAL | SEFLG_XYZ, equxyz);
  pheno(jd_ut, ipl, 0, attr);
  printf("%s\t%d\t%.6f\t%.4f", label, body, jd_ut, dt * 86400.0);
  printf("\t%.9f\t%.9f\t%.10f\t%.10f\t%.10f\t%.10f\t%.9f\t%.9f", sun[0], sun[1], sun[2], sunxyz[0], sunxyz[1],
         sunxyz[2], sunequ[0], sunequ[1]);
  printf("\t%.9f\t%.9f\t%.10f\t%.10f\t%.10f\t%.10f", hel[0], hel[1], hel[2], helxyz[0], helxyz[1], helxyz[2]);
  printf("\t%.9f\t%.9f\t%.10f\t%.10f\t%.10f\t%.10f\t%.9f\t%.9f", geo[0], geo[1], geo[2], equxyz[0], equxyz[1],
         equxyz[2], equ[0], equ[1]);
  printf("\t%.6f\t%.8f\t%.6f\t%.8f\t%.4f\n", attr[0], attr[1], attr[2], attr[3], attr[4]);
}

static void moon_row(const char* label, double jd_ut, double lon_east, double lat, double height) {
  const double dt = swe_deltat_ex(jd_ut, SEFLG_MOSEPH, NULL);
  const double jd_tt = jd_ut + dt;
  const double earth_radius_au = 6378.14 / 149597870.0;
  double sun[6], sunequ[6], moon[6], moonequ[6], topo[6], topoecl[6], attr[20], topoattr[20];
  swe_set_topo(lon_east, lat, height);
  calc(jd_tt, SE_SUN, kGeometric, sun);
  calc(jd_tt, SE_SUN, SEFLG_EQUATORIAL, sunequ);
  calc(jd_tt, SE_MOON, kGeometric, moon);
  calc(jd_tt, SE_MOON, SEFLG_EQUATORIAL, moonequ);
  calc(jd_tt, SE_MOON, SEFLG_EQUATORIAL | SEFLG_TOPOCTR, topo);
  calc(jd_tt, SE_MOON, SEFLG_TOPOCTR, topoecl);
  pheno(jd_ut, SE_MOON, 0, attr);
  pheno(jd_ut, SE_MOON, SEFLG_TOPOCTR, topoattr);
  printf("%s\t%.6f\t%.4f\t%.4f\t%.4f\t%.1f", label, jd_ut, dt * 86400.0, lon_east, lat, height);
  printf("\t%.9f\t%.10f\t%.9f\t%.9f", sun[0], sun[2], sunequ[0], sunequ[1]);
  printf("\t%.9f\t%.9f\t%.8f\t%.9f\t%.9f\t%.9f\t%.9f\t%.8f\t%.9f", moon[0], moon[1], moon[2] / earth_radius_au,
         moonequ[0], moonequ[1], topo[0], topo[1], topo[2] / earth_radius_au, topoecl[0]);
  printf("\t%.6f\t%.8f\t%.6f\t%.4f\t%.6f\t%.8f\t%.6f\n", attr[0], attr[1], attr[2], attr[4], topoattr[0],
         topoattr[1], topoattr[2]);
}

int main(void) {
  char version[256];
  FILE* out = freopen("fixtures/planet_physical_swe.tsv", "w", stdout);
  if (!out) return 1;
  printf("# Swiss Ephemeris %s, Moshier mode.\n", swe_version(version));
  printf("# jd_ut: Julian day UT; delta_t: seconds. sun_lon..sun_z: geometric, mean ecliptic of date;\n");
  printf("# helio_*: geometric heliocentric at the time the light left, mean ecliptic of date;\n");
  printf("# geo_*, eq_*, ra, dec, sun_ra, sun_dec: apparent geocentric (light time, aberration, nutation).\n");
  printf("# swe_*: swe_pheno_ut (phase angle deg, illuminated fraction, elongation deg, diameter deg, magnitude).\n");
  printf("case\tbody\tjd_ut\tdelta_t\tsun_lon\tsun_lat\tsun_dist\tsun_x\tsun_y\tsun_z\tsun_ra\tsun_dec"
         "\thelio_l\thelio_b\thelio_r\thelio_x\thelio_y\thelio_z"
         "\tgeo_lon\tgeo_lat\tgeo_dist\teq_x\teq_y\teq_z\tra\tdec"
         "\tswe_phase\tswe_fraction\tswe_elongation\tswe_diameter\tswe_mag\n");
  /* The worked examples of Meeus, Astronomical Algorithms. */
  planet_row("meeus_mars", 4, 2448935.5);                       /* 1992 Nov 9, 0h UT */
  planet_row("meeus_jupiter", 5, 2448972.5);                    /* 1992 Dec 16, 0h UT */
  planet_row("meeus_saturn", 6, 2448972.5 - 59.0 / 86400.0);    /* 1992 Dec 16, 0h TD */
  planet_row("meeus_sun", 0, 2448908.5 - 59.0 / 86400.0);       /* 1992 Oct 13, 0h TD */
  /* A spread of dates for every body. */
  for (int body = 0; body <= 9; ++body) {
    if (body == 3) continue;
    for (int i = 0; i < 12; ++i) {
      const double jd_ut = 2444239.5 + i * 1217.3 + body * 37.1; /* 1980 to 2020 */
      planet_row("spread", body, jd_ut);
    }
  }
  fclose(stdout);

  out = freopen("fixtures/moon_physical_swe.tsv", "w", stdout);
  if (!out) return 1;
  printf("# Swiss Ephemeris %s, Moshier mode.\n", swe_version(version));
  printf("# jd_ut: Julian day UT; delta_t: seconds; observer east longitude, latitude (deg), height (m).\n");
  printf("# Sun: geometric ecliptic longitude and distance (AU), mean equinox of date; apparent RA and Dec.\n");
  printf("# Moon: geocentric ecliptic longitude, latitude (mean equinox of date), distance (Earth radii\n");
  printf("# of 6378.14 km), apparent RA, Dec;\n");
  printf("# topocentric RA, Dec, distance and ecliptic longitude. swe_*: swe_pheno_ut geocentric\n");
  printf("# (phase angle, fraction, elongation, magnitude) and topocentric (phase angle, fraction, elongation).\n");
  printf("case\tjd_ut\tdelta_t\tobs_lon\tobs_lat\tobs_height\tsun_lon\tsun_dist\tsun_ra\tsun_dec"
         "\tmoon_lon\tmoon_lat\tmoon_dist\tmoon_ra\tmoon_dec\ttopo_ra\ttopo_dec\ttopo_dist\ttopo_lon"
         "\tswe_phase\tswe_fraction\tswe_elongation\tswe_mag\tswe_topo_phase\tswe_topo_fraction\tswe_topo_elongation\n");
  moon_row("meeus_moon", 2448724.5 - 59.0 / 86400.0, 13.4, 52.5, 50.0); /* 1992 Apr 12, 0h TD */
  for (int i = 0; i < 40; ++i) {
    const double jd_ut = 2447892.5 + i * 97.37 + 0.13 * i; /* 1990 to 2000 */
    moon_row("spread", jd_ut, -70.0 + 7.0 * i, -45.0 + 2.5 * i, 100.0 * (i % 5));
  }
  fclose(stdout);
  swe_close();
  return 0;
}
