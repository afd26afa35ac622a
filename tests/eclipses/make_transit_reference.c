/* Reference values of the transits of Mercury and Venus from the Swiss
 * Ephemeris (libswe-dev with the swe-basic-data files).
 * Regenerate with make_transit_reference.sh; writes
 * fixtures/transit_reference.txt.
 *
 * The contacts are found by bisection on the separation of the apparent
 * centres of the Sun and the planet (geocentric, or topocentric with
 * swe_set_topo and SEFLG_TOPOCTR) against the sum or the difference of
 * their apparent radii, taken from the program's radii in Earth radii
 * (Sun 109.1227, Mercury 0.382399885, Venus 0.948709185; 6378.137 km).
 * Times are JD of TT, so that the comparison does not depend on the
 * library's Delta T.
 *
 * Lines:
 *   T planet conjunctionTT     every transit 1900..2130 with the instant
 *                              of the conjunction in apparent geocentric
 *                              ecliptic longitude
 *   S planet conjunctionTT     inferior conjunctions 1900..2130 without
 *                              a transit (the first ten of each planet)
 *   G planet c1 c2 max c3 c4   geocentric contacts and least separation
 *   P name planet lonEast lat c1 c2 c3 c4 P1 P2 P3 P4 V1 V2 V3 V4
 *     alt1 alt2 alt3 alt4 deltaT
 *                              topocentric contacts, position angles of the
 *                              planet's centre from the Sun's, the same
 *                              from the zenith, the Sun's true altitude
 *                              (no refraction) at UT = TT - deltaT
 */
#include <math.h>
#include <stdio.h>
#include <swephexp.h>

static const int32 kFlags = SEFLG_SWIEPH;
static const double kEarthRadiusAu = 6378.137 / 149597870.7;
static const double kSunRadius = 109.1227;
static const double kRadius[3] = {0, 0.382399885, 0.948709185};
static const int kBody[3] = {0, SE_MERCURY, SE_VENUS};
static const double d2r = M_PI / 180;

/* Separation of the centres minus the radii sum (sign = +1) or difference
 * (sign = -1), degrees, at jd (TT). topo: use the topocentric places. */
static double Contact(int planet, double jd, int topo, double sign) {
  double s[6], p[6];
  char err[256];
  int32 f = kFlags | SEFLG_EQUATORIAL | (topo ? SEFLG_TOPOCTR : 0);
  swe_calc(jd, SE_SUN, f, s, err);
  swe_calc(jd, kBody[planet], f, p, err);
  double c = sin(s[1] * d2r) * sin(p[1] * d2r) + cos(s[1] * d2r) * cos(p[1] * d2r) * cos((s[0] - p[0]) * d2r);
  double sep = acos(c > 1 ? 1 : c) / d2r;
  double rs = asin(kSunRadius * kEarthRadiusAu / s[2]) / d2r;
  double rp = asin(kRadius[planet] * kEarthRadiusAu / p[2]) / d2r;
  return sep - (rs + sign * rp);
}

static double Bisect(int planet, double a, double b, int topo, double sign) {
  double fa = Contact(planet, a, topo, sign);
  for (int i = 0; i < 60; ++i) {
    double m = 0.5 * (a + b), fm = Contact(planet, m, topo, sign);
    if ((fm < 0) == (fa < 0)) {
      a = m;
      fa = fm;
    } else {
      b = m;
    }
  }
  return 0.5 * (a + b);
}

/* Least separation near jd (golden section over +-0.5 d). */
static double Greatest(int planet, double jd, int topo) {
  double a = jd - 0.5, b = jd + 0.5;
  const double g = 0.6180339887498949;
  for (int i = 0; i < 90; ++i) {
    double x1 = b - g * (b - a), x2 = a + g * (b - a);
    if (Contact(planet, x1, topo, 1) < Contact(planet, x2, topo, 1)) b = x2; else a = x1;
  }
  return 0.5 * (a + b);
}

/* The four contacts around the least separation tm (0 when missing). */
static void Contacts(int planet, double tm, int topo, double c[4]) {
  const double span = 0.6;
  c[0] = c[1] = c[2] = c[3] = 0;
  if (Contact(planet, tm, topo, 1) >= 0) return;
  c[0] = Bisect(planet, tm - span, tm, topo, 1);
  c[3] = Bisect(planet, tm, tm + span, topo, 1);
  if (Contact(planet, tm, topo, -1) < 0) {
    c[1] = Bisect(planet, tm - span, tm, topo, -1);
    c[2] = Bisect(planet, tm, tm + span, topo, -1);
  }
}

/* Apparent geocentric ecliptic longitude difference planet - Sun, degrees
 * in (-180, 180]. */
static double LongitudeDifference(int planet, double jd) {
  double s[6], p[6];
  char err[256];
  swe_calc(jd, SE_SUN, kFlags, s, err);
  swe_calc(jd, kBody[planet], kFlags, p, err);
  double d = fmod(p[0] - s[0] + 540.0, 360.0) - 180.0;
  return d;
}

static void Angles(double jdTt, double deltaT, double lon, double lat, double *P, double *V, double *alt) {
  double s[6], m[6], az[3], g[3] = {lon, lat, 0};
  char err[256];
  const int planet = (int)*P;
  swe_calc(jdTt, SE_SUN, kFlags | SEFLG_EQUATORIAL | SEFLG_TOPOCTR, s, err);
  swe_calc(jdTt, kBody[planet], kFlags | SEFLG_EQUATORIAL | SEFLG_TOPOCTR, m, err);
  double da = (m[0] - s[0]) * d2r;
  double p = atan2(cos(m[1] * d2r) * sin(da),
                   cos(s[1] * d2r) * sin(m[1] * d2r) - sin(s[1] * d2r) * cos(m[1] * d2r) * cos(da));
  double jdUt = jdTt - deltaT / 86400;
  double lst = swe_sidtime(jdUt) * 15 + lon;
  double H = (lst - s[0]) * d2r;
  double q = atan2(sin(H), tan(lat * d2r) * cos(s[1] * d2r) - sin(s[1] * d2r) * cos(H));
  *P = fmod(p / d2r + 720, 360);
  *V = fmod((p - q) / d2r + 720, 360);
  double geo[6];
  swe_calc(jdTt, SE_SUN, kFlags | SEFLG_EQUATORIAL, geo, err);
  swe_azalt(jdUt, SE_EQU2HOR, g, 0, 10, geo, az);
  *alt = az[1];
}

struct Place { const char *name; int planet; double lon, lat; double near; };

int main(void) {
  char err[256];
  swe_set_ephe_path("/usr/share/libswe/ephe");
  printf("# Swiss Ephemeris %s\n", swe_version(err));
  /* Inferior conjunctions 1900..2130: sign changes of the longitude
   * difference while the planet is nearer than the Sun. */
  for (int planet = 1; planet <= 2; ++planet) {
    double jd = swe_julday(1900, 1, 1, 0, SE_GREG_CAL);
    const double end = swe_julday(2130, 1, 1, 0, SE_GREG_CAL);
    double prev = LongitudeDifference(planet, jd);
    int skipped = 0;
    for (; jd < end; jd += 0.5) {
      double next = LongitudeDifference(planet, jd + 0.5);
      if (prev > 0 && next <= 0 && fabs(prev - next) < 10) {
        double a = jd, b = jd + 0.5;
        for (int i = 0; i < 60; ++i) {
          double m = 0.5 * (a + b);
          if (LongitudeDifference(planet, m) > 0) a = m; else b = m;
        }
        double tc = 0.5 * (a + b);
        double x[6];
        swe_calc(tc, kBody[planet], kFlags, x, err);
        if (x[2] < 1.0) {
          double tm = Greatest(planet, tc, 0);
          if (Contact(planet, tm, 0, 1) < 0) {
            printf("T %d %.8f\n", planet, tc);
          } else if (skipped < 10) {
            printf("S %d %.8f\n", planet, tc);
            ++skipped;
          }
        }
      }
      prev = next;
    }
  }
  /* Geocentric contacts of four transits. */
  const double transits[4][2] = {{2, 2453164.8}, {2, 2456084.56}, {1, 2457518.12}, {1, 2458799.14}};
  for (int i = 0; i < 4; ++i) {
    const int planet = (int)transits[i][0];
    double tm = Greatest(planet, transits[i][1], 0), c[4];
    Contacts(planet, tm, 0, c);
    printf("G %d %.8f %.8f %.8f %.8f %.8f\n", planet, c[0], c[1], tm, c[2], c[3]);
  }
  /* Topocentric contacts at a day-side, a twilight and a night-side place. */
  const struct Place places[] = {
      {"Berlin2004", 2, 13.40, 52.52, 2453164.8},      {"NewYork2004", 2, -74.01, 40.71, 2453164.8},
      {"Honolulu2004", 2, -157.86, 21.31, 2453164.8},  {"Honolulu2012", 2, -157.86, 21.31, 2456084.56},
      {"Berlin2012", 2, 13.40, 52.52, 2456084.56},     {"Rio2012", 2, -43.20, -22.91, 2456084.56},
      {"NewYork2016", 1, -74.01, 40.71, 2457518.12},   {"Moscow2016", 1, 37.62, 55.76, 2457518.12},
      {"Tokyo2016", 1, 139.69, 35.69, 2457518.12},     {"Rio2019", 1, -43.20, -22.91, 2458799.14},
      {"Berlin2019", 1, 13.40, 52.52, 2458799.14},     {"Tokyo2019", 1, 139.69, 35.69, 2458799.14},
  };
  for (size_t i = 0; i < sizeof places / sizeof places[0]; ++i) {
    const struct Place *p = &places[i];
    swe_set_topo(p->lon, p->lat, 0);
    double tm = Greatest(p->planet, p->near, 1), c[4], P[4] = {0}, V[4] = {0}, alt[4] = {0};
    Contacts(p->planet, tm, 1, c);
    const double deltaT = swe_deltat(tm) * 86400;
    for (int n = 0; n < 4; ++n) {
      if (c[n] == 0) continue;
      P[n] = p->planet;
      Angles(c[n], deltaT, p->lon, p->lat, &P[n], &V[n], &alt[n]);
    }
    printf("P %s %d %.5f %.5f %.8f %.8f %.8f %.8f %.4f %.4f %.4f %.4f %.4f %.4f %.4f %.4f %.4f %.4f %.4f %.4f %.3f\n",
           p->name, p->planet, p->lon, p->lat, c[0], c[1], c[2], c[3], P[0], P[1], P[2], P[3], V[0], V[1], V[2], V[3],
           alt[0], alt[1], alt[2], alt[3], deltaT);
  }
  return 0;
}
