/* Reference conjunctions and separations for the conjunction search from the
 * Swiss Ephemeris in its built-in analytic mode (Moshier), test side only:
 * compiled and run by make_conjunction_swe.sh, which writes
 * fixtures/conjunctions_swe.tsv and fixtures/separations_swe.tsv.
 *
 * Apparent places of date, no light deflection; Delta T fixed at 69.2 s
 * (the tests use the same). Conjunctions in right ascension or longitude
 * are sign changes of the difference, bisected to 1e-8 day; the smallest
 * separation is found by golden section. Separations are angles between the
 * apparent places (the cosine formula, as eraSeps), signed positive when the
 * first object lies north of the second. The observer is at 50 N, 10 E, sea
 * level; altitudes are from swe_azalt (true, and refracted at 1010 mbar and
 * 10 degrees C), of the topocentric places. */
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <swephexp.h>

static const int kEph = SEFLG_MOSEPH | SEFLG_NOGDEFL;
static const double kDeltaT = 69.2 / 86400.0;
static double geopos[3] = {10.0, 50.0, 0.0};

/* Body: >= 0 a planet or the Moon of swe_calc; < 0 a fixed star of `star`. */
static int g_first, g_second, g_topo, g_ecliptic;
static char g_star[64];

static void place(double tt, int body, int flags, double out[6]) {
  char err[AS_MAXCH];
  if (body >= 0) {
    if (swe_calc(tt, body, kEph | flags, out, err) < 0) fprintf(stderr, "swe_calc: %s\n", err);
  } else {
    char name[SE_MAX_STNAME * 2 + 1];
    snprintf(name, sizeof name, "%s", g_star);
    if (swe_fixstar2(name, tt, kEph | flags, out, err) < 0) fprintf(stderr, "swe_fixstar2: %s\n", err);
  }
}
static double wrap(double d) { d = fmod(d, 360.0); if (d > 180) d -= 360; if (d <= -180) d += 360; return d; }
static int flagsOf(void) { return (g_ecliptic ? 0 : SEFLG_EQUATORIAL) | (g_topo ? SEFLG_TOPOCTR : 0); }
static double difference(double tt) {
  double a[6], b[6];
  place(tt, g_first, flagsOf(), a);
  place(tt, g_second, flagsOf(), b);
  return wrap(b[0] - a[0]);
}
static double separation(double tt) {
  double p[6], q[6];
  const int f = SEFLG_EQUATORIAL | (g_topo ? SEFLG_TOPOCTR : 0);
  place(tt, g_first, f, p);
  place(tt, g_second, f, q);
  const double r = M_PI / 180;
  double c = sin(p[1] * r) * sin(q[1] * r) + cos(p[1] * r) * cos(q[1] * r) * cos((p[0] - q[0]) * r);
  const double s = acos(c > 1 ? 1 : c) / r;
  return p[1] >= q[1] ? s : -s;
}
static double absSeparation(double tt) { return fabs(separation(tt)); }
static double bisect(double (*f)(double), double a, double b) {
  double fa = f(a);
  for (int i = 0; i < 100 && b - a > 1e-8; ++i) {
    double m = 0.5 * (a + b), fm = f(m);
    if ((fa < 0) == (fm < 0)) { a = m; fa = fm; } else b = m;
  }
  return 0.5 * (a + b);
}
static double golden(double (*f)(double), double a, double b) {
  const double g = (sqrt(5.0) - 1) / 2;
  double c = b - g * (b - a), d = a + g * (b - a);
  while (b - a > 1e-8) {
    if (f(c) < f(d)) b = d; else a = c;
    c = b - g * (b - a); d = a + g * (b - a);
  }
  return 0.5 * (a + b);
}
/* True and refracted altitude of a body at tt from its topocentric place. */
static void altitude(double tt, int body, double* trueAlt, double* apparentAlt) {
  double p[6], xaz[3];
  place(tt, body, SEFLG_EQUATORIAL | SEFLG_TOPOCTR, p);
  swe_azalt(tt - kDeltaT, SE_EQU2HOR, geopos, 1010.0, 10.0, p, xaz);
  *trueAlt = xaz[1];
  *apparentAlt = xaz[2];
}

static void row(const char* name, double tt) {
  double t1, a1, t2, a2, ts, as;
  altitude(tt, g_first, &t1, &a1);
  altitude(tt, g_second, &t2, &a2);
  altitude(tt, SE_SUN, &ts, &as);
  printf("%s\t%.7f\t%.7f\t%.4f\t%.4f\t%.4f\t%.4f\t%.4f\t%.4f\n", name, tt, separation(tt), ts, t1, t2, as, a1, a2);
}

/* Every conjunction of the pair between tt0 and tt1. */
static void scan(const char* name, double tt0, double tt1, double step) {
  double prev = difference(tt0);
  for (double t = tt0; t < tt1; t += step) {
    double next = difference(t + step);
    if ((prev < 0) != (next < 0) && fabs(prev) < 90 && fabs(next) < 90) row(name, bisect(difference, t, t + step));
    prev = next;
  }
}

int main(void) {
  swe_set_ephe_path("/usr/share/libswe/ephe");
  swe_set_delta_t_userdef(kDeltaT);
  swe_set_topo(geopos[0], geopos[1], geopos[2]);
  FILE* out = freopen("conjunctions_swe.tsv", "w", stdout);
  if (!out) return 1;
  printf("name\tjd_tt\tseparation\tsun_alt\talt1\talt2\tsun_alt_refr\talt1_refr\talt2_refr\n");
  /* The great conjunction of 2020: right ascension, longitude, smallest separation. */
  g_first = SE_JUPITER; g_second = SE_SATURN;
  g_ecliptic = 0; row("jupiter_saturn_ra", bisect(difference, 2459200.0, 2459210.0));
  g_ecliptic = 1; row("jupiter_saturn_longitude", bisect(difference, 2459200.0, 2459210.0));
  g_ecliptic = 0; row("jupiter_saturn_smallest", golden(absSeparation, 2459200.0, 2459210.0));
  /* The Moon with each planet through 2024, geocentric and topocentric. */
  const int planets[] = {SE_MERCURY, SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN, SE_URANUS, SE_NEPTUNE, SE_PLUTO};
  const char* names[] = {"mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune", "pluto"};
  const double y0 = 2460310.5, y1 = 2460676.5; /* 2024 Jan 1 .. 2025 Jan 1, TT */
  char name[64];
  for (g_topo = 0; g_topo <= 1; ++g_topo) {
    for (int i = 0; i < 8; ++i) {
      g_first = SE_MOON; g_second = planets[i];
      snprintf(name, sizeof name, "moon_%s_%s", names[i], g_topo ? "topo" : "geo");
      scan(name, y0, y1, 0.25);
    }
  }
  g_topo = 0;
  /* The Moon with four catalogue stars through 2024. */
  const char* stars[] = {"Regulus", "Spica", "Antares", "Aldebaran"};
  for (int i = 0; i < 4; ++i) {
    snprintf(g_star, sizeof g_star, "%s", stars[i]);
    g_first = SE_MOON; g_second = -1;
    snprintf(name, sizeof name, "moon_star_%s", stars[i]);
    scan(name, y0, y1, 0.25);
  }
  fflush(stdout);
  /* A separation table: the Moon and Venus hourly from 2024 Mar 1, 0h UT. */
  out = freopen("separations_swe.tsv", "w", stdout);
  if (!out) return 1;
  printf("jd_ut\tseparation\n");
  g_first = SE_MOON; g_second = SE_VENUS;
  for (int k = 0; k < 72; ++k) {
    const double ut = 2460370.5 + k / 24.0;
    printf("%.7f\t%.7f\n", ut, separation(ut + kDeltaT));
  }
  swe_close();
  return 0;
}
