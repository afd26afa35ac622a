/* Reference values for the conjunction lists of user objects from the Swiss
 * Ephemeris (built-in analytic mode, Moshier), test side only: compiled and
 * run by make_user_conjunctions_swe.sh, which writes
 * fixtures/user_conjunctions_swe.tsv.
 *
 * Rows (kind, name, values):
 *   star      name  ra_hours dec_deg pm_ra_s pm_dec_as mag   J2000 mean place
 *             (barycentric, equator and epoch J2000) and proper motion per
 *             Julian year from a +-10-year difference
 *   sun_ra    name  jd_tt        Sun and star in right ascension (2025)
 *   sun_lon   name  jd_tt        Sun and star in ecliptic longitude (2025)
 *   moon_ra   name  jd_tt        Moon and star in right ascension (2025)
 *   station   mars  jd_tt lon_deg lat_deg   Mars's stations of 2024/25
 *   opposition mars jd_tt lon_deg lat_deg
 * Apparent places of date, no light deflection; Delta T fixed at 69.2 s. */
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <swephexp.h>

static const int kEph = SEFLG_MOSEPH | SEFLG_NOGDEFL;
static const double kDeltaT = 69.2 / 86400.0;
static const char* g_star;
static int g_body, g_ecliptic;

static void star(double tt, int flags, double out[6]) {
  char name[SE_MAX_STNAME * 2 + 1], err[AS_MAXCH];
  snprintf(name, sizeof name, "%s", g_star);
  if (swe_fixstar2(name, tt, flags, out, err) < 0) fprintf(stderr, "swe_fixstar2: %s\n", err);
}
static double wrap(double d) { d = fmod(d, 360.0); if (d > 180) d -= 360; if (d <= -180) d += 360; return d; }
static double difference(double tt) {
  double a[6], b[6];
  char err[AS_MAXCH];
  const int f = kEph | (g_ecliptic ? 0 : SEFLG_EQUATORIAL);
  star(tt, f, a);
  swe_calc(tt, g_body, f, b, err);
  return wrap(b[0] - a[0]);
}
static double bisect(double (*f)(double), double a, double b) {
  double fa = f(a);
  for (int i = 0; i < 100 && b - a > 1e-8; ++i) {
    double m = 0.5 * (a + b), fm = f(m);
    if ((fa < 0) == (fm < 0)) { a = m; fa = fm; } else b = m;
  }
  return 0.5 * (a + b);
}
static void scan(const char* kind, double tt0, double tt1, double step) {
  double prev = difference(tt0);
  for (double t = tt0; t < tt1; t += step) {
    double next = difference(t + step);
    if ((prev < 0) != (next < 0) && fabs(prev) < 90 && fabs(next) < 90)
      printf("%s\t%s\t%.7f\n", kind, g_star, bisect(difference, t, t + step));
    prev = next;
  }
}
static double marsSpeed(double tt) {
  double x[6];
  char err[AS_MAXCH];
  swe_calc(tt, SE_MARS, kEph | SEFLG_SPEED, x, err);
  return x[3];
}
static double marsElongation(double tt) {
  double m[6], s[6];
  char err[AS_MAXCH];
  swe_calc(tt, SE_MARS, kEph, m, err);
  swe_calc(tt, SE_SUN, kEph, s, err);
  return wrap(m[0] - s[0] - 180);
}
static void marsRow(const char* kind, double tt) {
  double x[6];
  char err[AS_MAXCH];
  swe_calc(tt, SE_MARS, kEph, x, err);
  printf("%s\tmars\t%.7f\t%.7f\t%.7f\n", kind, tt, x[0], x[1]);
}

int main(void) {
  static const char* stars[] = {"Aldebaran", "Alcyone", "Elnath", "Castor", "Pollux", "Regulus",
                                "Spica", "Zubenelgenubi", "Antares", "Nunki", "Deneb Algedi", "Hamal"};
  swe_set_ephe_path("/usr/share/libswe/ephe");
  swe_set_delta_t_userdef(kDeltaT);
  if (!freopen("user_conjunctions_swe.tsv", "w", stdout)) return 1;
  printf("kind\tname\tv1\tv2\tv3\tv4\tv5\n");
  const double j2000 = 2451545.0, decade = 3652.5;
  const int mean = SEFLG_MOSEPH | SEFLG_J2000 | SEFLG_EQUATORIAL | SEFLG_NONUT | SEFLG_NOABERR | SEFLG_NOGDEFL |
                   SEFLG_BARYCTR;
  for (int i = 0; i < 12; ++i) {
    g_star = stars[i];
    double p0[6], pm[6], pp[6], mag = 0;
    char name[SE_MAX_STNAME * 2 + 1], err[AS_MAXCH];
    star(j2000, mean, p0);
    star(j2000 - decade, mean, pm);
    star(j2000 + decade, mean, pp);
    snprintf(name, sizeof name, "%s", g_star);
    swe_fixstar2_mag(name, &mag, err);
    const double pmRa = wrap(pp[0] - pm[0]) / 20.0 * 240.0; /* seconds of time per year */
    const double pmDec = (pp[1] - pm[1]) / 20.0 * 3600.0;    /* arc seconds per year */
    printf("star\t%s\t%.9f\t%.8f\t%.6f\t%.5f\t%.2f\n", g_star, p0[0] / 15.0, p0[1], pmRa, pmDec, mag);
  }
  const double y0 = 2460676.5, y1 = 2461041.5; /* 2025, TT */
  for (int i = 0; i < 12; ++i) {
    g_star = stars[i];
    g_body = SE_SUN;
    g_ecliptic = 0; scan("sun_ra", y0, y1, 1.0);
    g_ecliptic = 1; scan("sun_lon", y0, y1, 1.0);
  }
  g_star = "Regulus"; g_body = SE_MOON; g_ecliptic = 0;
  scan("moon_ra", y0, y1, 0.25);
  /* Mars's retrograde loop of 2024/25. */
  double prev = marsSpeed(2460560.5);
  for (double t = 2460560.5; t < 2460850.5; t += 1.0) {
    double next = marsSpeed(t + 1.0);
    if ((prev < 0) != (next < 0)) marsRow("station", bisect(marsSpeed, t, t + 1.0));
    prev = next;
  }
  marsRow("opposition", bisect(marsElongation, 2460680.5, 2460700.5));
  return 0;
}
