// The single-date page model for the Sun, the Moon and Saturn computed by
// their objects, and for the Sun in the polar night (no rise).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/cell_format.h"
#include "engine/moon.h"
#include "engine/planet.h"
#include "engine/sun.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "support/theory_selection.h"
#include "tables/single_date_page.h"
#include "theories/observer_completion.h"

namespace kvx {
namespace {

using Box = TSingleDateBoxId;

TObserverRecord At(double jdUT, double latitude) {
  TObserverRecord r;
  r.Latitude = latitude;
  r.Longitude = -10;
  r.Zone = 1;
  r.AutoDeltaT = 0;
  r.DeltaTSeconds = 69;
  r.Mjd = JdToMjd(jdUT);
  UTToLocalTime(r);
  CompleteObserverRecord(1, test::PlanetTheory(0), TTableConfigRecord{}, -1, r);
  return r;
}

class SingleDatePage : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    LanguageEnglish = 0;
  }
};

TEST_F(SingleDatePage, SunMoonSaturnAndPolarNight) {
  const TTheorySelection road = test::PlanetTheory(0);
  TSingleDateContext context;
  context.AzimuthOrigin = 180;

  // The Sun: no heliocentric box, the twilight box, the equation of time in
  // minutes, the rotation number with four digits.
  const TObserverRecord o = At(2460389.0, 50);
  TSonne sun(TBodySettings{}, road, 0, TTableConfigRecord{}, o, 1e-10L);
  sun.initialisieren(TBodySettings{}, road, TTableConfigRecord{}, o, 1e-10L);
  sun.rechnen({});
  TSingleDatePageModel page = BuildSingleDatePage(sun.Result, 0, "die Sonne", o, &sun, context);
  EXPECT_EQ(page.Caption, "Ephemeride für die Sonne");
  EXPECT_FALSE(page.Box(Box::Heliocentric).Visible);
  EXPECT_TRUE(page.Box(Box::Twilight).Visible);
  std::string eot;
  FormatHoursAsMinutesForSlot(89, eot, sun.Result.Physical.EquationOfTime);
  EXPECT_EQ(page.ValueOf(Box::Physical, "Zeitgleichung:"), eot);
  EXPECT_FALSE(eot.empty());
  EXPECT_EQ(page.ValueOf(Box::Physical, "Rotationsnummer:"), "2282");
  EXPECT_EQ(page.Box(Box::SecondEquinox).Title, "Aequin. 2000");
  std::string az;
  FormatAngleForSlot(46, az, Mod360(sun.Result.Azimuth + 180));
  EXPECT_EQ(page.ValueOf(Box::Visibility, "az:"), az);
  EXPECT_NE(page.ValueOf(Box::Visibility, "Aufgang:").find(':'), std::string::npos);
  EXPECT_EQ(page.Box(Box::Twilight).Lines.size(), 4u);

  // The Moon: Earth radii with "RD:", no light time, the phase line.
  Tmond moon(0, 0, TBodySettings{}, road, 0, TTableConfigRecord{}, o, {1e-10L, -1, 10});
  moon.initialisieren(0, 0, TBodySettings{}, road, TTableConfigRecord{}, o, {1e-10L, -1, 10});
  moon.rechnen({});
  page = BuildSingleDatePage(moon.Result, kBodyIndexMoon, "den Mond", o, &moon, context);
  EXPECT_FALSE(page.Box(Box::Heliocentric).Visible);
  EXPECT_FALSE(page.Box(Box::Twilight).Visible);
  std::string rd;
  FormatNumberForSlot(15, rd, moon.Result.Position.GeoDistance);
  EXPECT_EQ(page.ValueOf(Box::Ecliptic, "RD:"), rd);
  EXPECT_EQ(page.Box(Box::SecondEquinox).Lines.back().Caption, "");
  EXPECT_EQ(page.Box(Box::SecondEquinox).Lines.back().Value, "");
  const bool waning = Mod360(moon.Result.Position.GeoLongitude - o.SunLongitude) > 180;
  EXPECT_FALSE(waning) << "2024 March 19: first quarter";
  EXPECT_EQ(page.Box(Box::Physical).Lines[0].Caption, " Zunehmender Mond, Phasenwinkel ca.");
  const std::string newMoon = page.ValueOf(Box::Physical, "Neumond:");
  EXPECT_NE(newMoon.find("10"), std::string::npos) << newMoon << ": 2024 March 10, 9:00 UT";

  // Saturn: System II, the ring's two diameters.
  Tpla saturn(TBodySettings{}, road, 0, 6, TTableConfigRecord{}, o, 1e-10L);
  saturn.initialisieren(TBodySettings{}, road, 6, TTableConfigRecord{}, o, 1e-10L);
  saturn.rechnen({});
  LanguageEnglish = 1;
  context.English = 1;
  page = BuildSingleDatePage(saturn.Result, 6, "Saturn", o, &saturn, context);
  EXPECT_EQ(page.Caption, "Ephemeris for Saturn");
  EXPECT_TRUE(page.Box(Box::Heliocentric).Visible);
  EXPECT_NE(page.ValueOf(Box::Grid, "System II:"), "");
  const std::string ring = page.ValueOf(Box::Physical, "Ring:");
  EXPECT_NE(ring.find(" x "), std::string::npos) << ring;
  std::string lt;
  FormatMinutesForSlot(22, lt, 0.0057755183 * saturn.Result.Position.GeoDistance * 1440);
  EXPECT_EQ(page.ValueOf(Box::SecondEquinox, "Lighttime:"), lt);
  LanguageEnglish = 0;

  // 78 N in December: the Sun does not rise; the page shows the status text.
  const TObserverRecord polar = At(2460665.0, 78);
  TSonne night(TBodySettings{}, road, 0, TTableConfigRecord{}, polar, 1e-10L);
  night.initialisieren(TBodySettings{}, road, TTableConfigRecord{}, polar, 1e-10L);
  night.rechnen({});
  context.English = 0;
  page = BuildSingleDatePage(night.Result, 0, "die Sonne", polar, &night, context);
  const TRiseSetLevel& level = night.Result.RiseSet.Levels[2];
  EXPECT_EQ(level.Rise, 0.0);
  const std::string rise = page.ValueOf(Box::Visibility, "Aufgang:");
  EXPECT_FALSE(rise.empty());
  EXPECT_EQ(rise, level.Status.size() > 5 ? level.Status : level.RiseMarker);
}

}  // namespace
}  // namespace kvx
