/* Reference instants of the conjunctions and oppositions of the planets
 * with the Sun, 2000-2030, from the Swiss Ephemeris in its built-in analytic
 * mode (Moshier), test side only: compiled and run by
 * make_planet_conjunctions_swe.sh, which writes
 * fixtures/planet_conjunctions_swe.tsv.
 *
 * An event is a root of the difference of the apparent geocentric ecliptic
 * longitudes (of date) planet minus Sun: 0 for a conjunction, 180 degrees
 * for an opposition. The roots are bracketed by a daily scan and located by
 * bisection to 1e-8 day. For Mercury and Venus a conjunction is inferior
 * when the planet is nearer than the Sun, else superior.
 * Columns: body (1 Mercury .. 7 Neptune), event kind (6 opposition,
 * 7 conjunction, 12 inferior, 13 superior conjunction), JD of TT. */
#include <math.h>
#include <stdio.h>
#include <swephexp.h>

static const int kEph = SEFLG_MOSEPH;
static const int kBodies[8] = {0, SE_MERCURY, SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN, SE_URANUS, SE_NEPTUNE};
static int body;
static double target;

static void calc(double tt, int b, double out[6]) {
  char err[AS_MAXCH];
  if (swe_calc(tt, b, kEph, out, err) < 0) fprintf(stderr, "swe_calc: %s\n", err);
}
static double wrap(double d) {
  d = fmod(d, 360.0);
  if (d > 180) d -= 360;
  if (d <= -180) d += 360;
  return d;
}
static double difference(double t) {
  double s[6], p[6];
  calc(t, SE_SUN, s);
  calc(t, kBodies[body], p);
  return wrap(p[0] - s[0] - target);
}
static double bisect(double a, double b) {
  double fa = difference(a);
  for (int i = 0; i < 100 && b - a > 1e-8; ++i) {
    double m = 0.5 * (a + b), fm = difference(m);
    if ((fa < 0) == (fm < 0)) {
      a = m;
      fa = fm;
    } else {
      b = m;
    }
  }
  return 0.5 * (a + b);
}

int main(void) {
  const double start = swe_julday(2000, 1, 1, 0, SE_GREG_CAL), end = swe_julday(2031, 1, 1, 0, SE_GREG_CAL);
  printf("body\tkind\tjd_tt\n");
  for (body = 1; body <= 7; ++body) {
    for (int opposition = 0; opposition <= (body >= 3); ++opposition) {
      target = opposition ? 180 : 0;
      double previous = difference(start);
      for (double t = start + 1; t <= end; t += 1) {
        const double now = difference(t);
        /* A true crossing, not the jump at +-180 degrees. */
        if ((previous < 0) != (now < 0) && fabs(previous - now) < 90) {
          const double jd = bisect(t - 1, t);
          int kind = opposition ? 6 : 7;
          if (body <= 2) {
            double s[6], p[6];
            calc(jd, SE_SUN, s);
            calc(jd, kBodies[body], p);
            kind = p[2] < s[2] ? 12 : 13;
          }
          printf("%d\t%d\t%.7f\n", body, kind, jd);
        }
        previous = now;
      }
    }
  }
  return 0;
}
