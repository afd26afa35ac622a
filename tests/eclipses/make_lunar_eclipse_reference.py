#!/usr/bin/python3
"""Reference lunar eclipses from the Swiss Ephemeris (libswe-dev with the
ephemeris files of swe-basic-data), for tests/eclipses/lunar_eclipse_test.cpp.

Writes two fixtures:
  fixtures/lunar_eclipses_swe.tsv   every eclipse 1900-2100 found by iterating
      swe_lun_eclipse_when: greatest eclipse (JD of UT) with the library's
      Delta T there (seconds), the kind (0 penumbral, 1 partial, 2 total),
      umbral and penumbral magnitude of swe_lun_eclipse_how (attr[0], attr[1])
      and the contacts P1, U1, U2, U3, U4, P4 (JD of UT, 0 when absent).
  fixtures/lunar_eclipse_altitudes_swe.tsv   at the reference contacts of
      three eclipses, for a day-side, a twilight and a night-side place: the
      Moon's topocentric and the Sun's altitude, true and refracted
      (swe_azalt, 1010 mbar, 10 degrees C). Longitudes east positive.

Run: /usr/bin/python3 tests/eclipses/make_lunar_eclipse_reference.py
The C helper is compiled into a temporary folder and not kept.
"""
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

PROGRAM = r"""
#include <stdio.h>
#include <swephexp.h>

static void eclipses(void) {
  char serr[AS_MAXCH];
  double tret[10], attr[20], geopos[3] = {0, 0, 0};
  double t = swe_julday(1900, 1, 1, 0.0, SE_GREG_CAL);
  const double last = swe_julday(2101, 1, 1, 0.0, SE_GREG_CAL);
  printf("# Swiss Ephemeris %s, lunar eclipses 1900-2100 (swe_lun_eclipse_when/how)\n", swe_version(serr));
  printf("jd_max_ut\tdelta_t\tkind\tumbral_mag\tpenumbral_mag\tp1\tu1\tu2\tu3\tu4\tp4\n");
  for (;;) {
    int type = swe_lun_eclipse_when(t, SEFLG_SWIEPH, 0, tret, 0, serr);
    if (type < 0) { fprintf(stderr, "%s\n", serr); return; }
    if (tret[0] >= last) break;
    swe_lun_eclipse_how(tret[0], SEFLG_SWIEPH, geopos, attr, serr);
    int kind = (type & SE_ECL_TOTAL) ? 2 : (type & SE_ECL_PARTIAL) ? 1 : 0;
    printf("%.8f\t%.3f\t%d\t%.5f\t%.5f\t%.8f\t%.8f\t%.8f\t%.8f\t%.8f\t%.8f\n", tret[0],
           swe_deltat(tret[0]) * 86400.0, kind, attr[0], attr[1], tret[6], tret[2], tret[4], tret[5], tret[3],
           tret[7]);
    t = tret[0] + 20;
  }
}

static void altitude(double jd, double lat, double lon) {
  char serr[AS_MAXCH];
  double moon[6], sun[6], az[3], geopos[3] = {lon, lat, 0};
  swe_set_topo(lon, lat, 0);
  swe_calc_ut(jd, SE_MOON, SEFLG_SWIEPH | SEFLG_EQUATORIAL | SEFLG_TOPOCTR, moon, serr);
  swe_calc_ut(jd, SE_SUN, SEFLG_SWIEPH | SEFLG_EQUATORIAL, sun, serr);
  double moonTrue, moonRefr, sunTrue, sunRefr;
  swe_azalt(jd, SE_EQU2HOR, geopos, 1010, 10, moon, az);
  moonTrue = az[1]; moonRefr = az[2];
  swe_azalt(jd, SE_EQU2HOR, geopos, 1010, 10, sun, az);
  sunTrue = az[1]; sunRefr = az[2];
  printf("%.8f\t%.4f\t%.4f\t%.5f\t%.5f\t%.5f\t%.5f\n", jd, lat, lon, moonTrue, moonRefr, sunTrue, sunRefr);
}

static void altitudes(void) {
  char serr[AS_MAXCH];
  double tret[10];
  const double places[3][2] = {{52.52, 13.40}, {-33.87, 151.21}, {34.05, -118.25}};
  const int dates[3][3] = {{2018, 7, 20}, {2022, 11, 1}, {2025, 9, 1}};
  printf("# Swiss Ephemeris %s, swe_azalt at 1010 mbar, 10 C; longitude east positive\n", swe_version(serr));
  printf("jd_ut\tlat\tlon_east\tmoon_alt\tmoon_alt_refr\tsun_alt\tsun_alt_refr\n");
  for (int e = 0; e < 3; ++e) {
    double t = swe_julday(dates[e][0], dates[e][1], dates[e][2], 0.0, SE_GREG_CAL);
    swe_lun_eclipse_when(t, SEFLG_SWIEPH, 0, tret, 0, serr);
    const int contacts[7] = {6, 2, 4, 0, 5, 3, 7};
    for (int p = 0; p < 3; ++p)
      for (int c = 0; c < 7; ++c)
        if (tret[contacts[c]] > 0) altitude(tret[contacts[c]], places[p][0], places[p][1]);
  }
}

int main(int argc, char** argv) {
  swe_set_ephe_path("/usr/share/libswe/ephe");
  if (argc > 1) altitudes(); else eclipses();
  swe_close();
  return 0;
}
"""


def main():
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "lunar_reference.c")
        binary = os.path.join(folder, "lunar_reference")
        with open(source, "w") as f:
            f.write(PROGRAM)
        subprocess.run(["cc", "-O2", "-o", binary, source, "-lswe", "-lm"], check=True)
        fixtures = os.path.join(HERE, "fixtures")
        with open(os.path.join(fixtures, "lunar_eclipses_swe.tsv"), "w") as f:
            subprocess.run([binary], stdout=f, check=True)
        with open(os.path.join(fixtures, "lunar_eclipse_altitudes_swe.tsv"), "w") as f:
            subprocess.run([binary, "altitudes"], stdout=f, check=True)


if __name__ == "__main__":
    main()
