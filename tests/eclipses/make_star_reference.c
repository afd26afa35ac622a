/* Reference places of catalogue stars from the Swiss Ephemeris (libswe-dev,
 * star data sefstars.txt of swe-basic-data): mean equator and equinox of
 * date, astrometric (no nutation, aberration or light deflection), at
 * 2026 January 1, 0h UT (JD 2461041.5), for the occultation catalogue test.
 * Build and run with make_star_reference.sh; writes star_reference.txt. */
#include <stdio.h>
#include <swephexp.h>

int main(void) {
  const char* stars[] = {"Aldebaran", "Regulus", "Spica", "Antares", "Ogma"};
  const double jd_ut = 2461041.5;
  char name[SE_MAX_STNAME * 2 + 1];
  char error[AS_MAXCH];
  double place[6];
  double magnitude;
  swe_set_ephe_path("/usr/share/libswe/ephe");
  printf("# star  jd_ut  ra_deg  dec_deg  V  (Swiss Ephemeris %s, mean of date, astrometric)\n", swe_version(error));
  for (int i = 0; i < 5; ++i) {
    snprintf(name, sizeof name, "%s", stars[i]);
    const int flags = SEFLG_MOSEPH | SEFLG_EQUATORIAL | SEFLG_NONUT | SEFLG_NOABERR | SEFLG_NOGDEFL;
    if (swe_fixstar2_ut(name, jd_ut, flags, place, error) < 0) {
      fprintf(stderr, "%s: %s\n", stars[i], error);
      return 1;
    }
    snprintf(name, sizeof name, "%s", stars[i]);
    swe_fixstar2_mag(name, &magnitude, error);
    printf("%s %.1f %.9f %.9f %.2f\n", stars[i], jd_ut, place[0], place[1], magnitude);
  }
  swe_close();
  return 0;
}
