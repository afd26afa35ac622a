/* Reference values of solar eclipses from the Swiss Ephemeris (libswe-dev,
 * the swe-basic-data files; Moshier's series outside their years).
 * Regenerate with make_solar_eclipse_reference.sh; writes
 * fixtures/solar_eclipse_reference.txt.
 *
 * Lines (times: JD of UT; Delta T in seconds as the library takes it):
 *   G jd type            every eclipse 2001..2100; type as the program's
 *                        largest kind: 5 total or hybrid, 4 annular,
 *                        3 total not central, 2 annular not central, 1 partial
 *   C jd lonEast lat sunAlt duration_min deltaT
 *                        a central-line point and the duration of the
 *                        central phase there
 *   L name lonEast lat eclipseJd kind tmax c1 c2 c3 c4 mag ratio obsc
 *     alt1 alt2 alt3 alt4 P1 P2 P3 P4 V1 V2 V3 V4 deltaT
 *                        local circumstances (kind 0 none, 1 partial,
 *                        2 annular, 3 total; a missing contact is 0);
 *                        altitudes true (no refraction); P and V of the
 *                        Moon's centre from the Sun's, topocentric apparent
 *   H name lonEast lat jd mag obsc
 *                        magnitude and obscuration at a whole minute
 *   T seconds            time of the global and local search 1600..2600
 */
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <swephexp.h>
#include <time.h>

static const int32 kFlags = SEFLG_SWIEPH;

static int KindOf(int32 type) {
  if (type & SE_ECL_ANNULAR_TOTAL) return 5;
  if (type & SE_ECL_TOTAL) return (type & SE_ECL_CENTRAL) ? 5 : 3;
  if (type & SE_ECL_ANNULAR) return (type & SE_ECL_CENTRAL) ? 4 : 2;
  return 1;
}

static double SunAltitude(double jd, double *geo) {
  double x[6], az[3];
  char err[256];
  swe_calc_ut(jd, SE_SUN, kFlags | SEFLG_EQUATORIAL, x, err);
  swe_azalt(jd, SE_EQU2HOR, geo, 0, 10, x, az);
  return az[1];
}

/* Position angle of the Moon's centre from the Sun's (topocentric apparent)
 * and the parallactic angle of the Sun. */
static void Angles(double jd, double *geo, double *P, double *V) {
  double s[6], m[6];
  char err[256];
  swe_set_topo(geo[0], geo[1], 0);
  swe_calc_ut(jd, SE_SUN, kFlags | SEFLG_EQUATORIAL | SEFLG_TOPOCTR, s, err);
  swe_calc_ut(jd, SE_MOON, kFlags | SEFLG_EQUATORIAL | SEFLG_TOPOCTR, m, err);
  const double d = M_PI / 180;
  double da = (m[0] - s[0]) * d;
  double p = atan2(cos(m[1] * d) * sin(da), cos(s[1] * d) * sin(m[1] * d) - sin(s[1] * d) * cos(m[1] * d) * cos(da));
  /* Parallactic angle from the apparent sidereal time. */
  double lst = swe_sidtime(jd) * 15 + geo[0];
  double H = (lst - s[0]) * d;
  double q = atan2(sin(H), tan(geo[1] * d) * cos(s[1] * d) - sin(s[1] * d) * cos(H));
  *P = fmod(p / d + 720, 360);
  *V = fmod((p - q) / d + 720, 360);
}

struct Place { const char *name; double lon, lat; double eclipse; };

int main(void) {
  char err[256];
  double tret[10], attr[20], geo[3] = {0, 0, 0};
  swe_set_ephe_path("/usr/share/libswe/ephe");
  printf("# Swiss Ephemeris %s\n", swe_version(err));
  /* Every eclipse of 2001..2100. */
  double t = swe_julday(2001, 1, 1, 0, SE_GREG_CAL);
  const double end = swe_julday(2101, 1, 1, 0, SE_GREG_CAL);
  for (;;) {
    int32 type = swe_sol_eclipse_when_glob(t, kFlags, 0, tret, 0, err);
    if (type <= 0 || tret[0] > end) break;
    printf("G %.6f %d\n", tret[0], KindOf(type));
    t = tret[0] + 20;
  }
  /* Central-line points of 2017 Aug 21 and 2024 Apr 8. */
  const double centrals[2] = {swe_julday(2017, 8, 21, 18.43, SE_GREG_CAL), swe_julday(2024, 4, 8, 18.3, SE_GREG_CAL)};
  for (int e = 0; e < 2; ++e) {
    for (int k = -8; k <= 8; ++k) {
      double jd = centrals[e] + k * 10.0 / 1440.0;
      int32 type = swe_sol_eclipse_where(jd, kFlags, geo, attr, err);
      if (!(type & SE_ECL_CENTRAL)) continue;
      double g[3] = {geo[0], geo[1], 0};
      double alt = SunAltitude(jd, g);
      int32 lt = swe_sol_eclipse_when_loc(jd - 0.2, kFlags, g, tret, attr, 0, err);
      double duration = (lt > 0 && tret[2] > 0 && tret[3] > 0) ? (tret[3] - tret[2]) * 1440 : 0;
      printf("C %.8f %.5f %.5f %.3f %.4f %.3f\n", jd, geo[0], geo[1], alt, duration, swe_deltat(jd) * 86400);
    }
  }
  /* Local circumstances. */
  const double e2017 = swe_julday(2017, 8, 21, 18, SE_GREG_CAL);
  const double e2024 = swe_julday(2024, 4, 8, 18, SE_GREG_CAL);
  const double e2019 = swe_julday(2019, 12, 26, 5, SE_GREG_CAL);
  const double e2021 = swe_julday(2021, 6, 10, 10, SE_GREG_CAL);
  const double e2023 = swe_julday(2023, 4, 20, 4, SE_GREG_CAL);
  const struct Place places[] = {
      {"Madras_OR", -121.13, 44.63, e2017},   {"Nashville", -86.78, 36.16, e2017},
      {"LosAngeles", -118.24, 34.05, e2017},  {"Dublin", -6.26, 53.35, e2017},
      {"Sydney", 151.21, -33.87, e2017},      {"Dallas", -96.80, 32.78, e2024},
      {"NewYork", -74.01, 40.71, e2024},      {"Honolulu", -157.86, 21.31, e2024},
      {"Coimbatore", 76.96, 10.98, e2019},    {"Chennai", 80.27, 13.08, e2019},
      {"NorthPole", 0.0, 90.0, e2021},        {"Exmouth", 114.13, -21.93, e2023},
      {"Suva", 178.44, -18.14, e2023},        {"Apia", -171.76, -13.83, e2023},
  };
  for (size_t i = 0; i < sizeof places / sizeof places[0]; ++i) {
    const struct Place *p = &places[i];
    double g[3] = {p->lon, p->lat, 0};
    int32 type = swe_sol_eclipse_when_loc(p->eclipse - 1.0, kFlags, g, tret, attr, 0, err);
    int kind = 0;
    double c[4] = {0, 0, 0, 0}, alt[4] = {0, 0, 0, 0}, P[4] = {0, 0, 0, 0}, V[4] = {0, 0, 0, 0};
    double tmax = 0, mag = 0, ratio = 0, obsc = 0;
    if (type > 0 && fabs(tret[0] - p->eclipse) < 0.5) {
      kind = (type & SE_ECL_TOTAL) ? 3 : (type & SE_ECL_ANNULAR) ? 2 : 1;
      tmax = tret[0];
      for (int n = 0; n < 4; ++n) c[n] = tret[n + 1];
      mag = attr[0];
      ratio = attr[1];
      obsc = attr[2];
      for (int n = 0; n < 4; ++n) {
        if (c[n] == 0) continue;
        alt[n] = SunAltitude(c[n], g);
        Angles(c[n], g, &P[n], &V[n]);
      }
      /* The course at whole minutes from c1 to c4. */
      double first = ceil(c[0] * 1440 - 0.5) / 1440 + 0.5 / 1440;
      for (double jd = floor((c[0] - 0.5) * 1440 + 1) / 1440 + 0.5; jd < c[3]; jd += 7.0 / 1440) {
        double how[20];
        swe_set_topo(g[0], g[1], 0);
        swe_sol_eclipse_how(jd, kFlags, g, how, err);
        printf("H %s %.5f %.5f %.8f %.5f %.5f\n", p->name, p->lon, p->lat, jd, how[0], how[2]);
      }
      (void)first;
    }
    printf("L %s %.5f %.5f %.5f %d %.8f %.8f %.8f %.8f %.8f %.5f %.5f %.5f", p->name, p->lon, p->lat, p->eclipse, kind,
           tmax, c[0], c[1], c[2], c[3], mag, ratio, obsc);
    for (int n = 0; n < 4; ++n) printf(" %.4f", alt[n]);
    for (int n = 0; n < 4; ++n) printf(" %.3f", P[n]);
    for (int n = 0; n < 4; ++n) printf(" %.3f", V[n]);
    printf(" %.3f\n", swe_deltat(p->eclipse) * 86400);
  }
  /* Time of the global plus local search over 1600..2600. */
  clock_t start = clock();
  double g[3] = {9.301, 51.191, 0};
  t = swe_julday(1600, 1, 1, 0, SE_GREG_CAL);
  const double last = swe_julday(2600, 1, 1, 0, SE_GREG_CAL);
  int count = 0;
  while (t < last) {
    int32 type = swe_sol_eclipse_when_glob(t, kFlags, 0, tret, 0, err);
    if (type <= 0) break;
    swe_sol_eclipse_when_loc(tret[0] - 1, kFlags, g, attr + 10, attr, 0, err);
    t = tret[0] + 20;
    ++count;
  }
  printf("T %.3f %d\n", (double)(clock() - start) / CLOCKS_PER_SEC, count);
  swe_close();
  return 0;
}
