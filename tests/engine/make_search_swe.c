/* Reference event times for the search object from the Swiss Ephemeris in
 * its built-in analytic mode (Moshier), test side only: compiled and run by
 * make_search_swe.sh, which writes fixtures/search_swe.tsv.
 *
 * Each event is located by bisection on a sign change (of a difference or
 * of a rate from SEFLG_SPEED) or by golden section on a distance, to 1e-7
 * day. Columns: name, JD of TT of the event, the event's value (degrees or
 * AU as the name says). Apparent geocentric places of date, no light
 * deflection. */
#include <math.h>
#include <stdio.h>
#include <swephexp.h>

static const int kEph = SEFLG_MOSEPH | SEFLG_NOGDEFL;

static void calc(double tt, int body, int flags, double out[6]) {
  char err[AS_MAXCH];
  if (swe_calc(tt, body, kEph | flags, out, err) < 0) fprintf(stderr, "swe_calc: %s\n", err);
}
static double wrap(double d) { d = fmod(d, 360.0); if (d > 180) d -= 360; if (d <= -180) d += 360; return d; }

typedef double (*Fn)(double);
static double bisect(Fn f, double a, double b) {
  double fa = f(a);
  for (int i = 0; i < 100 && b - a > 1e-8; ++i) {
    double m = 0.5 * (a + b), fm = f(m);
    if ((fa < 0) == (fm < 0)) { a = m; fa = fm; } else b = m;
  }
  return 0.5 * (a + b);
}
static double golden(Fn f, double a, double b, int maximum) {
  const double g = (sqrt(5.0) - 1) / 2;
  double c = b - g * (b - a), d = a + g * (b - a);
  while (b - a > 1e-8) {
    double fc = f(c), fd = f(d);
    if (maximum ? fc > fd : fc < fd) { b = d; } else { a = c; }
    c = b - g * (b - a); d = a + g * (b - a);
  }
  return 0.5 * (a + b);
}

static double marsOpposition(double t) { double s[6], m[6]; calc(t, SE_SUN, 0, s); calc(t, SE_MARS, 0, m); return wrap(m[0] - s[0] - 180); }
static double marsRaSpeed(double t) { double m[6]; calc(t, SE_MARS, SEFLG_EQUATORIAL | SEFLG_SPEED, m); return m[3]; }
static double mercuryRaSpeed(double t) { double m[6]; calc(t, SE_MERCURY, SEFLG_EQUATORIAL | SEFLG_SPEED, m); return m[3]; }
static double marsGeoDistance(double t) { double m[6]; calc(t, SE_MARS, 0, m); return m[2]; }
static double marsHelioLatitude(double t) { double m[6]; calc(t, SE_MARS, SEFLG_HELCTR, m); return m[1]; }
/* swe_pheno: attr[0] phase angle (degrees). */
static double pheno(double t, int body, int index) {
  double attr[20]; char err[AS_MAXCH];
  if (swe_pheno(t, body, kEph, attr, err) < 0) fprintf(stderr, "swe_pheno: %s\n", err);
  return attr[index];
}
static double marsPhaseAngle(double t) { return pheno(t, SE_MARS, 0); }
static double marsHelioDistance(double t) { double m[6]; calc(t, SE_MARS, SEFLG_HELCTR, m); return m[2]; }
static double sep(double t, int b1, int b2) {
  double p[6], q[6]; calc(t, b1, SEFLG_EQUATORIAL, p); calc(t, b2, SEFLG_EQUATORIAL, q);
  const double r = M_PI / 180;
  double c = sin(p[1] * r) * sin(q[1] * r) + cos(p[1] * r) * cos(q[1] * r) * cos((p[0] - q[0]) * r);
  return acos(c > 1 ? 1 : c) / r;
}
static double venusElongation(double t) { return sep(t, SE_SUN, SE_VENUS); }
static double jupiterSaturnRa(double t) { double j[6], s[6]; calc(t, SE_JUPITER, SEFLG_EQUATORIAL, j); calc(t, SE_SATURN, SEFLG_EQUATORIAL, s); return wrap(s[0] - j[0]); }
static double venusJupiterSep(double t) { return sep(t, SE_VENUS, SE_JUPITER); }
/* Topocentric right ascensions at 50 N, 10 E, sea level (swe_set_topo). */
static double moonJupiterTopoRa(double t) {
  double m[6], j[6];
  calc(t, SE_MOON, SEFLG_EQUATORIAL | SEFLG_TOPOCTR, m);
  calc(t, SE_JUPITER, SEFLG_EQUATORIAL | SEFLG_TOPOCTR, j);
  return wrap(j[0] - m[0]);
}
static double moonJupiterTopoSep(double t) {
  double p[6], q[6];
  calc(t, SE_MOON, SEFLG_EQUATORIAL | SEFLG_TOPOCTR, p);
  calc(t, SE_JUPITER, SEFLG_EQUATORIAL | SEFLG_TOPOCTR, q);
  const double r = M_PI / 180;
  double c = sin(p[1] * r) * sin(q[1] * r) + cos(p[1] * r) * cos(q[1] * r) * cos((p[0] - q[0]) * r);
  return acos(c > 1 ? 1 : c) / r;
}

int main(void) {
  printf("name\tjd_tt\tvalue\n");
  double t;
  t = bisect(marsOpposition, 2459130.5, 2459140.5);
  printf("mars_opposition_2020\t%.7f\t0\n", t);
  t = bisect(marsRaSpeed, 2459095.5, 2459110.5);
  { double m[6]; calc(t, SE_MARS, SEFLG_EQUATORIAL, m); printf("mars_station_retrograde_2020_ra_deg\t%.7f\t%.7f\n", t, m[0]); }
  t = bisect(marsRaSpeed, 2459160.5, 2459175.5);
  { double m[6]; calc(t, SE_MARS, SEFLG_EQUATORIAL, m); printf("mars_station_prograde_2020_ra_deg\t%.7f\t%.7f\n", t, m[0]); }
  t = golden(marsHelioDistance, 2459050.5, 2459080.5, 0);
  printf("mars_perihelion_2020_au\t%.7f\t%.9f\n", t, marsHelioDistance(t));
  t = golden(venusElongation, 2458920.5, 2458950.5, 1);
  printf("venus_greatest_east_2020_deg\t%.7f\t%.7f\n", t, venusElongation(t));
  t = bisect(jupiterSaturnRa, 2459200.0, 2459210.0);
  printf("jupiter_saturn_ra_conjunction_2020_deg\t%.7f\t%.7f\n", t, sep(t, SE_JUPITER, SE_SATURN));
  t = golden(venusJupiterSep, 2460003.5, 2460008.5, 0);
  printf("venus_jupiter_closest_2023_deg\t%.7f\t%.7f\n", t, venusJupiterSep(t));
  /* Mercury turns retrograde 0.007 deg east of 0h RA: the window straddles 0h. */
  t = bisect(mercuryRaSpeed, 2446490.5, 2446500.5);
  { double m[6]; calc(t, SE_MERCURY, SEFLG_EQUATORIAL, m); printf("mercury_station_retrograde_1986_ra_deg\t%.7f\t%.7f\n", t, m[0]); }
  t = golden(marsGeoDistance, 2460680.5, 2460700.5, 0);
  printf("mars_perigee_2025_au\t%.7f\t%.9f\n", t, marsGeoDistance(t));
  for (t = 2460310.5; marsHelioLatitude(t) * marsHelioLatitude(t + 5) > 0; t += 5) {}
  t = bisect(marsHelioLatitude, t, t + 5);
  printf("mars_node_2024_deg\t%.7f\t0\n", t);
  t = golden(marsPhaseAngle, 2460560.5, 2460640.5, 1);
  printf("mars_phase_angle_max_2024_deg\t%.7f\t%.7f\n", t, marsPhaseAngle(t));
  /* The Moon passes Jupiter in topocentric right ascension, 2024 Jan 18. */
  swe_set_topo(10.0, 50.0, 0.0);
  for (t = 2460325.5; moonJupiterTopoRa(t) * moonJupiterTopoRa(t + 0.25) > 0 || fabs(moonJupiterTopoRa(t)) > 90; t += 0.25) {}
  t = bisect(moonJupiterTopoRa, t, t + 0.25);
  printf("moon_jupiter_topocentric_ra_conjunction_2024_deg\t%.7f\t%.7f\n", t, moonJupiterTopoSep(t));
  return 0;
}
