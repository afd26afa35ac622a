// The Sun and planet objects as tables: what each chain step computes or
// leaves alone by the chosen columns, names and captions, bodies without a
// planet routine, and the Sun and Mars tables written into a workbook sheet
// and the result grid.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chain_test_support.h"
#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "core/rise_set_search.h"
#include "engine/moon.h"
#include "engine/planet.h"
#include "engine/sun.h"
#include "engine/table_globals.h"
#include "engine/user_object.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "setup/column_sets.h"
#include "sun_planet_support.h"
#include "support/fixtures.h"
#include "support/recording_progress.h"
#include "support/table_request.h"
#include "support/temp_folder.h"
#include "support/theory_selection.h"
#include "theories/planet_series.h"
#include "theories/position_file_writer.h"
#include "theories/position_files.h"
#include "theories/sun_position.h"
#include "theories/theory_library_test_support.h"

namespace kvx {
namespace {

namespace cf = column_flag;
using test::Place;

const TTheorySelection kInternal = test::PlanetAndMoonTheory(0, 0);

TObserverRecord LocalDay(int day, int month, int year, double hours, const Place& place = {50.0, 10.0, 1}) {
  TObserverRecord r;
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = hours;
  r.Zone = place.zone;
  r.Latitude = place.latitude;
  r.Longitude = -place.longitude;
  r.AutoDeltaT = 1;
  return r;
}

// A table that counts its rise/set calls and the levels asked for.
template <class Base>
class Counting : public Base {
 public:
  using Base::Base;
  void Aufgang_untergang(TComputeSettingsBlock settings, int first, int last) override {
    ++calls;
    lastLevel = last;
    Base::Aufgang_untergang(settings, first, last);
  }
  int calls = 0, lastLevel = 0;
};

class SunPlanetTables : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    previous_ = SetProgressReporter(&progress_);
  }
  void TearDown() override { SetProgressReporter(previous_); }

  // One completed row of a table at local noon of 2024 Mar 20.
  template <class Table>
  void Row(Table& table) {
    table.Observer = LocalDay(20, 3, 2024, 12);
    LocalTimeToUT(table.Observer);
    CompleteObserverRecord(1, table.TheorySelection, table.TableConfig, -1, table.Observer);
    table.rechnen(PositionFileHandles{});
  }

  RecordingProgress progress_;
  ProgressReporter* previous_ = nullptr;
};

// The Sun table calls the rise/set search only for a rise/set, twilight or
// darkness column, with level 2 alone for rise/transit/set; its heliocentric
// values are exactly 0; the J2000 vector has the Sun's distance.
TEST_F(SunPlanetTables, SunTableAsksForTheLevelsItsColumnsNeed) {
  const TObserverRecord o = LocalDay(20, 3, 2024, 0);
  struct Case {
    std::vector<std::size_t> flags;
    int calls, lastLevel;
  };
  const std::vector<Case> cases = {{{cf::kRightAscension, cf::kAltitude}, 0, 0},
                                   {{cf::kRise, cf::kSet}, 1, 2},
                                   {{cf::kTransitAltitude}, 1, 2},
                                   {{cf::kRiseAzimuth}, 1, 2},
                                   {{cf::kTwilight}, 1, 5},
                                   {{cf::kDarknessSum}, 1, 5}};
  for (const Case& c : cases) {
    TTableConfigRecord config = test::ConfigWith({});
    for (std::size_t f : c.flags) {
      const TTableConfigRecord one = test::ConfigWith({f});
      for (std::size_t i = 0; i < config.Flags.size(); ++i) config.Flags[i] |= one.Flags[i];
    }
    Counting<TSonnetab> table(test::TableRequest(0, kInternal, config, o, o, TTableStep{}), nullptr);
    table.initialisieren(test::TableRequest(0, kInternal, config, o, o, TTableStep{}));
    Row(table);
    EXPECT_EQ(table.calls, c.calls) << c.flags.front();
    EXPECT_EQ(table.lastLevel, c.lastLevel) << c.flags.front();
    const TKeplerPosition& p = table.Result.Position;
    for (double v : {p.HelioX, p.HelioY, p.HelioZ, p.HelioDistance, p.HelioLatitude, p.HelioLongitude,
                     table.Result.HelioVX, table.Result.HelioVY, table.Result.HelioVZ}) {
      EXPECT_EQ(v, 0.0);
    }
    const double j2000 = std::hypot(table.Result.SunJ2000X, table.Result.SunJ2000Y, table.Result.SunJ2000Z);
    EXPECT_NEAR(j2000, table.Observer.SunDistance, 1e-12);
  }
}

// The second equinox and the rise/set altitudes travel with the request:
// Mars tables made from requests that differ in one of them alone differ in
// the second-equinox place or in the rise and set, and nothing else; a table
// computes the same row again after the others were made.
TEST_F(SunPlanetTables, EquinoxAndRiseSetAltitudesTravelWithTheRequest) {
  const TObserverRecord o = LocalDay(20, 3, 2024, 0);
  const TTableConfigRecord config = test::ConfigWith({cf::kRightAscensionSecondEquinox, cf::kRise, cf::kSet});
  const TTableRequest base = test::TableRequest(0, kInternal, config, o, o, TTableStep{});
  TTableRequest equinox1950 = base;
  equinox1950.SecondEquinoxT = -0.5;
  TTableRequest lowHorizon = base;
  lowHorizon.RiseSet.Altitudes[0] = -120.0;  // arc minutes
  Tplatab plain(base, nullptr, 4), older(equinox1950, nullptr, 4), lower(lowHorizon, nullptr, 4);
  Row(plain);
  const TEphemerisResultRecord first = plain.Result;
  Row(older);
  Row(lower);
  const TRiseSetLevel& day = first.RiseSet.Levels[TRiseSetBlock::kBodyLevel];
  const TRiseSetLevel& lowDay = lower.Result.RiseSet.Levels[TRiseSetBlock::kBodyLevel];

  EXPECT_EQ(older.Result.Position.RightAscension, first.Position.RightAscension);
  EXPECT_GT(std::fabs(older.Result.SecondRightAscension - first.SecondRightAscension), 0.3);
  EXPECT_EQ(older.Result.RiseSet.Levels[TRiseSetBlock::kBodyLevel].Rise, day.Rise);

  EXPECT_EQ(lower.Result.SecondRightAscension, first.SecondRightAscension);
  EXPECT_LT(lowDay.Rise, day.Rise - 0.05);
  EXPECT_GT(lowDay.Set, day.Set + 0.05);

  Row(plain);
  EXPECT_EQ(plain.Result.SecondRightAscension, first.SecondRightAscension);
  EXPECT_EQ(plain.Result.RiseSet.Levels[TRiseSetBlock::kBodyLevel].Rise, day.Rise);
  EXPECT_EQ(plain.Result.RiseSet.Levels[TRiseSetBlock::kBodyLevel].Set, day.Set);
}

// A planet table without topocentric or physical columns skips those steps
// and keeps the previous row's fields; body 3 and an index without a planet
// gives zeros and an empty caption; Pluto outside its series' interval
// keeps the record; at a pole the rise/set status words, no times.
TEST_F(SunPlanetTables, PlanetTableStepsBodiesAndPoles) {
  const TObserverRecord o = LocalDay(20, 3, 2024, 0);
  const TTableConfigRecord plain = test::ConfigWith({cf::kRightAscension});
  const TTableRequest request = test::TableRequest(0, kInternal, plain, o, o, TTableStep{});
  Tplatab mars(request, nullptr, 4);
  mars.initialisieren(request, 4);
  mars.Result.TopoRightAscension = 123.0;
  mars.Result.Altitude = -7.0;
  mars.Result.RiseSet.Levels[2].Rise = 5.5;
  mars.Result.Physical.magnitude = 9.0;
  Row(mars);
  EXPECT_GT(mars.Result.Position.HelioDistance, 1.3);
  EXPECT_EQ(mars.Result.TopoRightAscension, 123.0);
  EXPECT_EQ(mars.Result.Altitude, -7.0);
  EXPECT_EQ(mars.Result.RiseSet.Levels[2].Rise, 5.5);
  EXPECT_EQ(mars.Result.Physical.magnitude, 9.0);

  for (TBodyIndex body : {3, 0, 10, -1, 42}) {
    const TTableRequest request = test::TableRequest(1, kInternal, plain, o, o, TTableStep{});
    Tplatab none(request, nullptr, body);
    none.initialisieren(request, body);
    Row(none);
    EXPECT_EQ(none.Result.Position.HelioDistance, 0.0) << body;
    if (body != 0) {
      EXPECT_EQ(none.ProgressCaption, body == 10 ? "Calculating ephemeris of the Moon" : "") << body;
    }
  }

  TTableConfigRecord all;
  SelectAllColumns(all.Flags);
  RecomputeColumnSummaries(all.Flags);
  const TTableRequest plutoRequest = test::TableRequest(0, kInternal, all, o, o, TTableStep{});
  Tplatab pluto(plutoRequest, nullptr, 9);
  pluto.initialisieren(plutoRequest, 9);
  pluto.Result.Position.HelioLongitude = 77.0;
  pluto.Observer = LocalDay(1, 1, 2150, 0);
  LocalTimeToUT(pluto.Observer);
  CompleteObserverRecord(1, kInternal, all, -1, pluto.Observer);
  pluto.rechnen(PositionFileHandles{});
  EXPECT_EQ(pluto.Result.Position.HelioLongitude, 77.0);

  for (double latitude : {90.0, -90.0}) {
    const TObserverRecord pole = LocalDay(20, 6, 2024, 0, Place{latitude, 0, 0});
    const TTableRequest request = test::TableRequest(1, kInternal, all, pole, pole, TTableStep{});
    Tplatab jupiter(request, nullptr, 5);
    jupiter.initialisieren(request, 5);
    jupiter.Observer = pole;
    LocalTimeToUT(jupiter.Observer);
    CompleteObserverRecord(1, kInternal, all, -1, jupiter.Observer);
    jupiter.rechnen(PositionFileHandles{});
    const TRiseSetLevel& level = jupiter.Result.RiseSet.Levels[2];
    // Jupiter at +22 deg in June 2024: up all day at the north pole.
    EXPECT_EQ(level.Status, latitude > 0 ? RiseSetVisibleWord(1) : RiseSetInvisibleWord(1)) << latitude;
    EXPECT_EQ(level.Rise, 0.0);
    TSonnetab sun(request, nullptr);
    sun.initialisieren(request);
    sun.Observer = jupiter.Observer;
    sun.rechnen(PositionFileHandles{});
    for (int l = 2; l <= 5; ++l) {
      EXPECT_EQ(sun.Result.RiseSet.Levels[static_cast<std::size_t>(l)].Rise, 0.0);
      EXPECT_FALSE(sun.Result.RiseSet.Levels[static_cast<std::size_t>(l)].Status.empty());
    }
    EXPECT_TRUE(std::isfinite(sun.Result.Physical.EquationOfTime));
  }
}

// Names and captions by language; the one-position objects are always named
// in German; the reduced objects.
TEST_F(SunPlanetTables, NamesCaptionsAndReducedObjects) {
  const TObserverRecord o = LocalDay(20, 3, 2024, 0);
  const TTableConfigRecord config;
  for (const auto& [body, name] : {std::pair{1, "Mercury"}, std::pair{8, "Neptune"}, std::pair{4, "Mars"}}) {
    const TTableRequest request = test::TableRequest(1, kInternal, config, o, o, TTableStep{});
    Tplatab table(request, nullptr, body);
    table.initialisieren(request, body);
    EXPECT_EQ(table.Name, name);
    EXPECT_EQ(Tpla(test::Body(1), kInternal, 0, body, config, o, 1e-10L).Name,
              SunAndPlanetNames[static_cast<std::size_t>(body)]);
  }
  EXPECT_STREQ(BodyProgressCaption(4, 1), "Calculating ephemeris of  Mars");
  EXPECT_EQ(TSonnetab(test::TableRequest(1, kInternal, config, o, o, TTableStep{}), nullptr).ProgressCaption,
            "Calculating ephemeris of the Sun");
  EXPECT_EQ(TSonne(TBodySettings{}, kInternal, 0, config, o, 1e-10L).ProgressCaption, "");

  TObserverRecord now = o;
  LocalTimeToUT(now);
  CompleteObserverRecord(1, kInternal, config, -1, now);
  Tpla full(TBodySettings{}, kInternal, 0, 4, config, now, 1e-10L);
  full.initialisieren(TBodySettings{}, kInternal, 4, config, now, 1e-10L);
  full.rechnen(PositionFileHandles{});
  tplaShort reduced(TBodySettings{}, kInternal, 0, 4, config, now, {1e-10L, 7, 8});
  reduced.rechnen(PositionFileHandles{});
  EXPECT_EQ(reduced.Result.Position.RightAscension, full.Result.Position.RightAscension);
  EXPECT_EQ(reduced.Result.TopoRightAscension, reduced.Result.Position.RightAscension);
  reduced.Topocentric = 1;
  reduced.rechnen(PositionFileHandles{});
  EXPECT_EQ(reduced.Result.TopoRightAscension, full.Result.TopoRightAscension);
  tplaShort_lg places(TBodySettings{}, kInternal, 0, 4, config, now, {1e-10L, 0, 0});
  places.rechnen(PositionFileHandles{});
  EXPECT_EQ(places.Result.Position.RightAscension, full.Result.Position.RightAscension);
  EXPECT_EQ(places.Result.SecondRightAscension, 0.0);
}

// With VSOP87 D the planet routine gives no velocity: the heliocentric
// velocity comes from the dispatch's rates and is the planet's motion
// (compared with the positions half a day before and after; the rates are
// approximate, 3e-4 AU/day of 0.015).
TEST_F(SunPlanetTables, VsopDVelocityComesFromTheDispatch) {
  ASSERT_TRUE(test::OpenBuiltLibraries().Vsop87D);
  const TTheorySelection vsopD = test::PlanetAndMoonTheory(1, 0);
  TTableConfigRecord config;
  auto place = [&](double hours, double& x, double& y, double& z) {
    TObserverRecord o = LocalDay(20, 3, 2024, hours);
    LocalTimeToUT(o);
    CompleteObserverRecord(1, vsopD, config, -1, o);
    Tpla mars(TBodySettings{}, vsopD, 0, 4, config, o, 1e-10L);
    mars.initialisieren(TBodySettings{}, vsopD, 4, config, o, 1e-10L);
    mars.Accuracy.VsopLevelA = kFullTheory;
    mars.rechnen(PositionFileHandles{});
    x = mars.Result.Position.HelioX;
    y = mars.Result.Position.HelioY;
    z = mars.Result.Position.HelioZ;
    return std::array<double, 3>{mars.Result.HelioVX, mars.Result.HelioVY, mars.Result.HelioVZ};
  };
  double x0, y0, z0, x1, y1, z1;
  place(0, x0, y0, z0);
  const auto v = place(12, x1, y1, z1);
  place(24, x1, y1, z1);
  EXPECT_NEAR(v[0], x1 - x0, 3e-4);
  EXPECT_NEAR(v[1], y1 - y0, 3e-4);
  EXPECT_NEAR(v[2], z1 - z0, 3e-4);
  EXPECT_GT(std::hypot(v[0], v[1]), 0.005);
  CloseTheoryLibraries();
}

// The Sun and Mars tables computed over five days and written into the
// sheet and the grid, with the default columns and with all: the headings
// of the column catalogue, one row per day, the grid cell for cell as the
// sheet, and no text that is not a number where a number belongs.
TEST_F(SunPlanetTables, SunAndMarsTablesWrittenIntoTheSheetAndTheGrid) {
  const TIntlSeparators saved = IntlSeparators;
  ApplyLocaleSeparators(TIntlSeparators{',', ';', '.', ':', '.'});
  SetQuantityHeadingLanguage(false);
  for (bool allColumns : {false, true}) {
    TTableConfigRecord config = NewTableConfigRecord();
    if (allColumns) {
      SelectAllColumns(config.Flags);
      RecomputeColumnSummaries(config.Flags);
    }
    for (TBodyIndex body : {kBodyIndexSun, TBodyIndex{4}}) {
      const TObserverRecord start = LocalDay(13, 10, 1992, 0), end = LocalDay(17, 10, 1992, 0);
      workbook::TWorkbook sheet;
      tmystringgrid grid;
      std::unique_ptr<TSonnetab> table;
      if (body == kBodyIndexSun) {
        table = std::make_unique<TSonnetab>(test::TableRequest(0, kInternal, config, start, end, TTableStep{1, 0, 1}),
                                            &sheet);
        table->initialisieren(test::TableRequest(0, kInternal, config, start, end, TTableStep{1, 0, 1}));
      } else {
        auto mars = std::make_unique<Tplatab>(test::TableRequest(0, kInternal, config, start, end, TTableStep{1, 0, 1}),
                                              &sheet, body);
        mars->initialisieren(test::TableRequest(0, kInternal, config, start, end, TTableStep{1, 0, 1}), body);
        table = std::move(mars);
      }
      table->OutputGrid = &grid;
      table->schleife(PositionFileHandles{}, 1, 1);
      ASSERT_EQ(table->Rows, 5);
      table->paint(1);
      table->paint(0);
      std::vector<std::string> headings;
      for (int c = 1; c <= sheet.LastCol(); ++c) headings.push_back(sheet.Text(1, c));
      auto has = [&](const std::string& h) { return std::find(headings.begin(), headings.end(), h) != headings.end(); };
      const std::string what = std::string(allColumns ? "all " : "default ") + std::to_string(body);
      EXPECT_EQ(sheet.LastRow(), 6) << what;
      EXPECT_EQ(headings[0], body == 0 ? "Sonne" : "Mars") << what;
      for (const char* h : {"RA", "DK", "Aufgang", "Kulm.", "Unterg.", "mag"}) EXPECT_TRUE(has(h)) << what << " " << h;
      EXPECT_EQ(has("l"), body != 0) << what;
      EXPECT_EQ(has("Zeitgl."), body == 0 && allColumns) << what;
      EXPECT_EQ(has("Dunkelheit"), allColumns) << what;
      for (int r = 2; r <= 6; ++r) {
        for (int c = 2; c <= sheet.LastCol(); ++c) {
          const std::string text = sheet.Text(r, c);
          EXPECT_EQ(text.find("nan"), std::string::npos) << what << " " << headings[static_cast<std::size_t>(c - 1)];
          EXPECT_EQ(grid.Cells(c, r), text) << what << " row " << r << " " << headings[static_cast<std::size_t>(c - 1)];
        }
      }
      if (body == 0 && allColumns) {
        // 1992 Oct 13, 0 h local (23 h UT the day before): -13m41s.
        const int eot = static_cast<int>(std::find(headings.begin(), headings.end(), "Zeitgl.") - headings.begin()) + 1;
        EXPECT_EQ(sheet.Text(2, eot).rfind("-13", 0), 0u) << sheet.Text(2, eot);
      }
    }
  }
  ApplyLocaleSeparators(saved);
}

// Every table that shows a culmination counts it by one rule and shows the
// altitude that rule sees. The tables of the Sun (with the twilight
// columns, which leave its transit unrefined, and without them, refined),
// the Moon (its upper limb
// seen from the place), Mercury and Venus, and a user-object table of two
// stars on the meridian at -0.15 and -0.90 degrees, at Tromsoe (69.65 N) on
// every day from 1 Nov 2026 to 28 Feb 2027, against PyEphem
// (tests/theories/fixtures/culmination_ephem.tsv, which says which days
// have a culmination: inside the day with the body above its rise/set
// altitude then, as the rise and the set measure it): "Kulm." and
// "Kulm.-h" are both written on exactly those days and both empty on the
// others (polar night, the days the Moon or a planet stays below, the days
// the Moon has no meridian transit); days within 0.02 degrees of the level
// are not judged. The transit within 1 minute (the Sun's: 3 seconds; the
// stars' unrefined estimate: 2 minutes); "Kulm.-h" within 0.02 degrees (the Moon: 0.05) of the
// centre's altitude seen from the centre of the Earth, for the Moon seen
// from the place; the texts written hold the same values, to their last
// digit.
TEST_F(SunPlanetTables, EveryTableCountsAndShowsTheCulminationByItsRule) {
  SetQuantityHeadingLanguage(false);
  const test::FixtureTable reference =
      test::ReadFixture(KVX_FIXTURE_DIR "/../../theories/fixtures/culmination_ephem.tsv");
  TTableConfigRecord config = NewTableConfigRecord();
  for (const std::size_t f : {cf::kRise, cf::kTransit, cf::kSet, cf::kTransitAltitude, cf::kTwilight}) {
    config.Flags[f] = 1;
  }
  RecomputeColumnSummaries(config.Flags);
  TTableConfigRecord withoutTwilight = config;
  withoutTwilight.Flags[cf::kTwilight] = 0;
  RecomputeColumnSummaries(withoutTwilight.Flags);
  // A written time ("h:mm", "h:mm:ss") or angle (decimal, or degrees and
  // minutes) as a number, and the unit of its last digit.
  auto value = [](const std::string& text, double& unit) {
    std::vector<double> parts;
    std::string digits;
    int decimals = -1;
    for (char ch : text + ' ') {
      if (ch >= '0' && ch <= '9') {
        digits += ch;
        if (decimals >= 0) ++decimals;
      } else if ((ch == '.' || ch == ',') && decimals < 0 && !digits.empty()) {
        digits += '.';
        decimals = 0;
      } else if (!digits.empty()) {
        double part = 0.0;
        std::from_chars(digits.data(), digits.data() + digits.size(), part);
        parts.push_back(part);
        digits.clear();
      }
    }
    double v = 0, scale = 1;
    for (double part : parts) {
      v += part / scale;
      scale *= 60;
    }
    unit = std::pow(10.0, -std::max(decimals, 0)) / (scale / 60);
    return text.find('-') != std::string::npos ? -v : v;
  };
  const test::Place tromsoe{69.65, 18.96, 1};
  constexpr int kDays = 120;
  const double firstNoon = 2461345.958333;  // 2026 Nov 1, 12 h local
  struct Body {
    const char* name;
    int code;  // the fixture's
    double minutes, degrees;
  };
  const Body bodies[] = {{"Sun", 0, 0.05, 0.02},  {"Sun refined", 0, 0.05, 0.02}, {"Moon", 10, 1, 0.05},
                         {"Mercury", 1, 1, 0.02}, {"Venus", 2, 1, 0.02},        {"Star -20.5", 101, 2, 0.02},
                         {"Star -21.25", 102, 2, 0.02}};
  std::size_t row = 0;
  for (const Body& body : bodies) {
    const bool refined = std::string(body.name) == "Sun refined";
    if (refined) row -= kDays;  // the Sun's days once more
    const TTableConfigRecord& bodyConfig = refined ? withoutTwilight : config;
    const TObserverRecord start = test::ObserverAtPlace(firstNoon, 69, tromsoe, kInternal, bodyConfig);
    const TObserverRecord end = test::ObserverAtPlace(firstNoon + kDays - 1, 69, tromsoe, kInternal, bodyConfig);
    const TTableRequest request = test::TableRequest(0, kInternal, bodyConfig, start, end, TTableStep{1, 0, 1});
    workbook::TWorkbook sheet;
    std::unique_ptr<TKeplereph> table;
    tuserobject star("Star", 0, 0, 0, 0, 0, 0);
    if (body.code == 10) {
      table = std::make_unique<Tmondtab>(0, 0, request, &sheet);
    } else if (body.code == 0) {
      auto sun = std::make_unique<TSonnetab>(request, &sheet);
      sun->initialisieren(request);
      table = std::move(sun);
    } else if (body.code < 100) {
      auto planet = std::make_unique<Tplatab>(request, &sheet, body.code);
      planet->initialisieren(request, body.code);
      table = std::move(planet);
    } else {
      star.Angle1 = static_cast<float>(reference.Number(row, "ra_h"));
      star.Angle2 = static_cast<float>(reference.Number(row, "dec"));
      star.Value5 = 2000.0f;
      table = std::make_unique<Tusertab>(&star, request, &sheet, 11);
    }
    table->schleife(PositionFileHandles{}, 1, 1);
    ASSERT_EQ(table->Rows, kDays) << body.name;
    table->paint(1);
    std::map<std::string, int> columns;
    for (int col = 1; col <= sheet.LastCol(); ++col) columns[sheet.Text(1, col)] = col;
    for (const char* h : {"Kulm.", "Kulm.-h"}) ASSERT_EQ(columns.count(h), 1u) << body.name << " " << h;
    int transits = 0, without = 0;
    for (int day = 0; day < kDays; ++day, ++row) {
      ASSERT_EQ(reference.Number(row, "body"), body.code);
      ASSERT_NEAR(reference.Number(row, "jd0") + 0.5, firstNoon + day, 1e-5);
      const std::string what = std::string(body.name) + " " + reference.text[row][1];
      const double transit = reference.Number(row, "transit");
      if (std::fabs(reference.Number(row, "margin")) < 0.02 && reference.Number(row, "margin") != 0) continue;
      const bool shown = !sheet.Text(day + 2, columns["Kulm."]).empty();
      EXPECT_EQ(shown, transit >= 0) << what;
      EXPECT_EQ(!sheet.Text(day + 2, columns["Kulm.-h"]).empty(), shown) << what;
      if (transit < 0 || !shown) {
        ++without;
        continue;
      }
      ++transits;
      const TRiseSetBlock& r = RowStore.Row(day).RiseSet;
      EXPECT_NEAR(r.TransitTime, transit, body.minutes / 60) << what;
      const double altitude = reference.Number(row, body.code == 10 ? "topo_alt" : "geo_alt");
      EXPECT_NEAR(r.TransitAltitude, altitude, body.degrees) << what;
      double unit = 0;
      const double written = value(sheet.Text(day + 2, columns["Kulm."]), unit);
      EXPECT_NEAR(written, transit, body.minutes / 60 + unit) << what << " " << sheet.Text(day + 2, columns["Kulm."]);
      const double writtenAltitude = value(sheet.Text(day + 2, columns["Kulm.-h"]), unit);
      EXPECT_NEAR(writtenAltitude, altitude, body.degrees + unit)
          << what << " " << sheet.Text(day + 2, columns["Kulm.-h"]);
    }
    // Days of both kinds for every body but the stars, which culminate the
    // same way every day.
    if (body.code < 100) {
      EXPECT_GT(transits, 10) << body.name;
      EXPECT_GT(without, 10) << body.name;
    } else {
      EXPECT_EQ(body.code == 101 ? transits : without, kDays) << body.name;
    }
  }
}

// The position-file road: files of the Earth and Mars written from the
// VSOP87 C road give the Sun and Mars tables of that road (the files are
// interpolated between whole days: 0.01").
TEST_F(SunPlanetTables, PositionFileRoadGivesTheLibraryRoadsTables) {
  ASSERT_TRUE(test::OpenBuiltLibraries().Vsop87C);
  const TTheorySelection vsopC = test::PlanetAndMoonTheory(2, 0), files = test::PlanetAndMoonTheory(3, 0);
  test::TempFolder folder;
  auto centuries = [](long day) { return (day + kPositionFileEpoch - 2451545.0) / 36525.0; };
  // The files start at day 0 (the records are found by their day number);
  // only the days around the period carry positions.
  const long first = static_cast<long>(2460360.5 - kPositionFileEpoch), last = first + 60;
  test::WritePositionFile(folder.Path() / "ear.vsc", 0, last, 6, [&](int f, long day) {
    if (day < first) return 0.0;
    double L, B, R, v[6];
    SunPosition(PositionFileHandles{}, vsopC, L, centuries(day), B, R, v[0], v[1], v[2], v[3], v[4], v[5],
                kFullTheory);
    return -v[f - 1];  // the Earth seen from the Sun
  });
  test::WritePositionFile(folder.Path() / "mar.vsc", 0, last, 6, [&](int f, long day) {
    if (day < first) return 0.0;
    double L, B, R, v[6];
    MarsHeliocentric(PositionFileHandle{}, vsopC, centuries(day), L, B, R, v[0], v[1], v[2], v[3], v[4], v[5],
                     kFullTheory);
    return v[f - 1];
  });
  std::vector<std::uint8_t> blocks[2] = {std::vector<std::uint8_t>(kVscBlockBytes),
                                         std::vector<std::uint8_t>(kVscBlockBytes)};
  std::uint8_t bounds[2][12] = {};
  std::FILE* streams[2] = {std::fopen((folder.Path() / "ear.vsc").c_str(), "rb"),
                           std::fopen((folder.Path() / "mar.vsc").c_str(), "rb")};
  ASSERT_TRUE(streams[0] && streams[1]);
  PositionFileHandles handles{};
  handles[0] = {streams[0], blocks[0].data(), bounds[0], bounds[0] + 6};
  handles[3] = {streams[1], blocks[1].data(), bounds[1], bounds[1] + 6};

  const TObserverRecord start = LocalDay(20, 3, 2024, 0), end = LocalDay(30, 3, 2024, 0);
  const TTableConfigRecord config = test::ConfigWith({cf::kRightAscension, cf::kDeclination, cf::kRise});
  for (TBodyIndex body : {kBodyIndexSun, TBodyIndex{4}}) {
    std::vector<TEphemerisResultRecord> rows[2];
    for (int k = 0; k < 2; ++k) {
      const TTheorySelection road = k == 0 ? vsopC : files;
      const TTableRequest request = test::TableRequest(0, road, config, start, end, TTableStep{1, 0, 1});
      Tplatab table(request, nullptr, body);
      table.initialisieren(request, body);
      table.schleife(k == 0 ? PositionFileHandles{} : handles, 1, 1);
      ASSERT_EQ(table.Rows, 11);
      for (int i = 0; i < table.Rows; ++i) rows[k].push_back(RowStore.Row(i));
    }
    for (std::size_t i = 0; i < rows[0].size(); ++i) {
      const TEphemerisResultRecord &a = rows[0][i], &b = rows[1][i];
      EXPECT_LT(test::SeparationArcsec(a.Position.RightAscension, a.Position.Declination, b.Position.RightAscension,
                                       b.Position.Declination),
                0.01)
          << body << " row " << i;
      EXPECT_NEAR(a.RiseSet.Levels[2].Rise, b.RiseSet.Levels[2].Rise, 1e-4) << body << " row " << i;
    }
  }
  std::fclose(streams[0]);
  std::fclose(streams[1]);
  CloseTheoryLibraries();
}

}  // namespace
}  // namespace kvx
