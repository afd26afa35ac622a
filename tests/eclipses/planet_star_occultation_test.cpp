// Occultations of stars by planets and asteroids: the candidate index
// against the plain scan, the shadow of a synthetic star, the driver's
// rules and the table.
#include "eclipses/planet_star_occultation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "core/apparent_place_fit.h"
#include "core/name_tables.h"
#include "core/star_reduction.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "eclipses/planet_star_output.h"
#include "engine/kepler.h"
#include "engine/table_sink.h"
#include "platform/globals.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "support/recording_progress.h"
#include "theories/theory_libraries.h"
#include "theories/theory_types.h"
#include "../theories/theory_library_test_support.h"

namespace kvx {
namespace {

TObserverRecord Record(double lonEast, double lat, double jd) {
  TObserverRecord r;
  r.Longitude = -lonEast;
  r.Latitude = lat;
  r.DeltaTSeconds = 69.0;
  r.AutoDeltaT = 0;
  r.RefractionOn = 0;
  r.Pressure = 1010;
  r.Temperature = 10;
  r.Mjd = jd - 2400000.5;
  UTToLocalTime(r);
  return r;
}

TSearchContext Context() {
  TSearchContext c;
  c.Selection.bytes[0] = kPlanetTheoryInternal;
  c.Sidereal = 1;
  return c;
}

std::shared_ptr<const TStarCatalogue> LargeCatalogueSample(int every) {
  std::int32_t selected = -1;
  const TStarCatalogueLoad load = LoadStarCatalogue(KVX_DATA_DIR, 2, selected);
  if (!load.Catalogue) return nullptr;
  std::vector<tsterndatensatz> sample;
  for (std::int32_t i = 1; i <= load.Catalogue->Count(); i += every) sample.push_back(load.Catalogue->Star(i));
  return std::make_shared<const TStarCatalogue>(2, "OCCINP95.DAT", sample);
}

class PlanetStarOccultations : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    previous_ = SetProgressReporter(&progress_);
    sink_ = std::make_unique<ScopedMessageSink>(messages_);
  }
  void TearDown() override { SetProgressReporter(previous_); }
  RecordingProgress progress_;
  ProgressReporter* previous_ = nullptr;
  RecordingMessageSink messages_;
  std::unique_ptr<ScopedMessageSink> sink_;
};

std::set<std::string> Keys(const TOccultationResultList& list) {
  std::set<std::string> keys;
  for (const tergebnisdatensatz* e : list.Rows())
    keys.insert(TOccultationResultList::KeyText(e->Contact1Time) + " " + e->ObjectName + " " + e->Label);
  return keys;
}

TEST_F(PlanetStarOccultations, IndexKeepsTheListOfAYearForAllBodies) {
  const auto catalogue = LargeCatalogueSample(48);
  ASSERT_TRUE(catalogue);
  const TObserverRecord start = Record(13.4, 52.52, 2461041.5), end = Record(13.4, 52.52, 2461406.5);
  TPlanetStarOptions options;
  options.Bodies = {1, 1, 1, 1, 1, 1, 1, 1, 1};
  options.LimitingMagnitude = 10.0f;
  options.AsteroidDiameter = 500;
  // A steeply inclined asteroid: the index's declination test at its widest.
  TAsteroidElements pallas;
  pallas.Name = "Pallas";
  pallas.SemiMajorAxis = 2.77;
  pallas.Eccentricity = 0.23;
  pallas.Inclination = 34.8;
  pallas.Node = 172.9;
  pallas.Perihelion = 310.9;
  pallas.MeanAnomaly = 30.0;
  pallas.Epoch = 2461041.5;
  pallas.Equinox = 2000;
  std::set<std::string> lists[2];
  for (int indexed = 0; indexed < 2; ++indexed) {
    options.UseIndex = indexed != 0;
    tsternbedeckungpl search(Context(), TTableConfigRecord{}, start, catalogue);
    ASSERT_EQ(RunPlanetStarOccultations(search, options, pallas, false, end, start), TOccultationRunStatus::Done);
    lists[indexed] = Keys(search.ergebnisse);
  }
  EXPECT_EQ(lists[0], lists[1]);
  EXPECT_GT(lists[0].size(), 10u);
}

std::shared_ptr<const TStarCatalogue> FixtureCatalogue() {
  std::ifstream in(std::string(KVX_FIXTURE_DIR) + "/occultation_stars.dat", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  test::TempFolder folder;
  folder.Write("OCCINP8.DAT", bytes.str());
  std::int32_t selected = -1;
  return LoadStarCatalogue(folder.Path().string(), 1, selected).Catalogue;
}

// Conjunctions in right ascension of Mars, Jupiter and Saturn with the
// fixture stars over five years against the Swiss Ephemeris crossings.
// Time: the time the body needs for 0.001 degree (the refinement's
// tolerance) plus 2" (the catalogue's conversion to FK4 and float storage)
// plus 30 s; Mars 3-7 min here. Declination offset: 1" + 2".
TEST_F(PlanetStarOccultations, ConjunctionsMatchTheReferenceCrossings) {
  const auto catalogue = FixtureCatalogue();
  ASSERT_TRUE(catalogue);
  const test::FixtureTable t =
      test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/planet_star_conjunctions_swe.tsv");
  const TObserverRecord start = Record(13.4, 52.52, 2461041.5), end = Record(13.4, 52.52, 2462867.5);
  TPlanetStarOptions options;
  options.Bodies = {0, 0, 1, 1, 1, 0, 0, 0, 0};
  options.ConjunctionsOnly = 1;
  options.OldPrecession = 0;
  tsternbedeckungpl search(Context(), TTableConfigRecord{}, start, catalogue);
  ASSERT_EQ(RunPlanetStarOccultations(search, options, TAsteroidElements{}, false, end, start),
            TOccultationRunStatus::Done);
  const auto rows = search.ergebnisse.Rows();
  std::size_t expected = 0;
  for (std::size_t i = 0; i < t.Rows(); ++i) {
    const double ddec = t.Number(i, "ddec"), mjd = t.Number(i, "mjd");
    const double bound = (0.001 + 2.0 / 3600.0) / std::fabs(t.Number(i, "rate")) + 30.0 / 86400.0;
    const auto match = std::find_if(rows.begin(), rows.end(), [&](const tergebnisdatensatz* e) {
      return e->Label == t.text[i][0] && std::fabs(e->Contact1Time - mjd) < bound;
    });
    if (std::fabs(ddec) < 400.0 - 3.0) {
      ++expected;
      ASSERT_NE(match, rows.end()) << t.text[i][0] << " " << t.text[i][1] << " " << mjd;
      EXPECT_EQ((*match)->EventFlag, 0);
      EXPECT_NEAR((*match)->ExtraValue, ddec, 3.0);
      EXPECT_EQ((*match)->Contact1Time, (*match)->Contact2Time);
      EXPECT_FALSE(std::isfinite((*match)->CoefficientA1));
    } else if (std::fabs(ddec) > 400.0 + 3.0) {
      EXPECT_EQ(match, rows.end()) << "beyond the declination limit: " << t.text[i][1];
    }
  }
  EXPECT_EQ(rows.size(), expected) << "nothing the reference does not list";
  EXPECT_GE(expected, 1u);
}

// Venus, Mars, Jupiter and Saturn against the stars of the shipped
// catalogue that any of them approaches within 500" in 2026, seen from
// Berlin, against the Swiss Ephemeris' topocentric approaches of the same
// stars (planet_star_contacts_swe.tsv), with the internal series and with
// VSOP87 D:
// - every approach whose least separation lies more than the margin inside
//   the body's angular radius is listed as an occultation of that star by
//   that body, each contact within 30 s plus the time the separation needs
//   to change by the margin at its rate there, each position angle within
//   the angle the margin subtends at the limb plus 1 degree;
// - every occultation listed is such an approach (margin outside), and
//   every conjunction listed is an approach whose least separation lies
//   beyond the radius less the margin.
// The margin covers the catalogue (FK4 places in single precision, read
// back with ERFA's inverse conversion: 0.1") and the planet theory: VSOP87 D
// 1"; the internal series 1.5", and 5" for Venus near the Earth. Seen with
// VSOP87 D: contacts within 35 s (Venus) and 140 s (Jupiter's near-graze at
// 9"/h), position angles within 6.5 degrees on Venus' 5" disc.
TEST_F(PlanetStarOccultations, TopocentricContactsMatchTheReference) {
  std::int32_t selected = -1;
  const TStarCatalogueLoad load = LoadStarCatalogue(KVX_DATA_DIR, 2, selected);
  ASSERT_TRUE(load.Catalogue);
  const test::FixtureTable t = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/planet_star_contacts_swe.tsv");
  ASSERT_GT(t.Rows(), 100u);
  // The approached stars, in catalogue order; the reference's index maps
  // to the position here.
  std::map<std::int32_t, std::int32_t> position;
  for (std::size_t i = 0; i < t.Rows(); ++i) position[static_cast<std::int32_t>(t.Number(i, "index"))] = 0;
  std::vector<tsterndatensatz> stars;
  for (auto& [index, at] : position) {
    stars.push_back(load.Catalogue->Star(index));
    at = static_cast<std::int32_t>(stars.size());
  }
  const auto catalogue = std::make_shared<const TStarCatalogue>(2, "OCCINP95.DAT", stars);
  const auto starOf = [&](std::size_t i) -> const std::string& {
    return catalogue->Star(position.at(static_cast<std::int32_t>(t.Number(i, "index")))).Name;
  };
  const TObserverRecord start = Record(13.4, 52.52, 2461041.5), end = Record(13.4, 52.52, 2461406.5);
  TPlanetStarOptions options;
  options.Bodies = {0, 1, 1, 1, 1, 0, 0, 0, 0};
  options.LimitingMagnitude = 10.0f;
  options.OldPrecession = 0;
  const bool vsop = test::OpenBuiltLibraries().Vsop87D != 0;
  for (const std::uint8_t theory : {kPlanetTheoryInternal, kPlanetTheoryVsop87D}) {
    if (theory == kPlanetTheoryVsop87D && !vsop) {
      ADD_FAILURE() << "VSOP87 D library not built";
      continue;
    }
    SCOPED_TRACE(theory == kPlanetTheoryInternal ? "internal series" : "VSOP87 D");
    TSearchContext context = Context();
    context.Selection.bytes[0] = theory;
    tsternbedeckungpl search(context, TTableConfigRecord{}, start, catalogue);
    ASSERT_EQ(RunPlanetStarOccultations(search, options, TAsteroidElements{}, false, end, start),
              TOccultationRunStatus::Done);
    const auto rows = search.ergebnisse.Rows();
    const auto marginOf = [&](const std::string& body) {
      return theory == kPlanetTheoryVsop87D ? 1.0 : body == "Venus" ? 5.0 : 1.5;
    };
    int occultations = 0;
    for (std::size_t i = 0; i < t.Rows(); ++i) {
      const double sep = t.Number(i, "sep"), radius = t.Number(i, "radius");
      const double margin = marginOf(t.text[i][0]);
      if (!(sep < radius - margin)) continue;
      ++occultations;
      const std::string& star = starOf(i);
      SCOPED_TRACE(t.text[i][0] + " " + star + " " + t.text[i][2]);
      const auto match = std::find_if(rows.begin(), rows.end(), [&](const tergebnisdatensatz* e) {
        return e->EventFlag == 1 && e->Label == t.text[i][0] && e->ObjectName == star &&
               std::fabs(e->Contact1Time - t.Number(i, "mjd")) < 0.5;
      });
      ASSERT_NE(match, rows.end());
      const tergebnisdatensatz& e = **match;
      const double times[2] = {e.Contact1Time, e.Contact2Time};
      const double angles[2] = {e.PositionAngle1, e.PositionAngle2};
      for (int k = 0; k < 2; ++k) {
        const std::string n = std::to_string(k + 1);
        const double bound = (30.0 + 3600.0 * margin / std::fabs(t.Number(i, "rate" + n))) / 86400.0;
        EXPECT_NEAR(times[k], t.Number(i, "mjd" + n), bound) << "contact " << n;
        const double angle = std::fabs(AngleToPlusMinus180(angles[k] - t.Number(i, "pa" + n)));
        EXPECT_LT(angle, 1.0 + std::asin(std::min(1.0, margin / radius)) * 180.0 / M_PI) << "contact " << n;
      }
    }
    EXPECT_GE(occultations, theory == kPlanetTheoryVsop87D ? 8 : 3) << "the year's occultations by Venus and Jupiter";
    int conjunctions = 0;
    for (const tergebnisdatensatz* e : rows) {
      SCOPED_TRACE(e->Label + " " + e->ObjectName + " " + std::to_string(e->Contact1Time));
      std::size_t i = t.Rows();
      double nearest = 2.0;  // days
      for (std::size_t j = 0; j < t.Rows(); ++j) {
        const double dt = std::fabs(t.Number(j, "mjd") - e->Contact1Time);
        if (dt < nearest && t.text[j][0] == e->Label && starOf(j) == e->ObjectName) {
          i = j;
          nearest = dt;
        }
      }
      ASSERT_LT(i, t.Rows()) << "an approach the reference does not know";
      const double margin = marginOf(e->Label);
      if (e->EventFlag == 1) {
        EXPECT_LT(t.Number(i, "sep"), t.Number(i, "radius") + margin);
      } else {
        ++conjunctions;
        EXPECT_GT(t.Number(i, "sep"), t.Number(i, "radius") - margin);
      }
    }
    EXPECT_GT(conjunctions, 50);
  }
  CloseTheoryLibraries();
}

// The slow bodies, whose refinement brackets once paired the ends of the
// one-day window with the places of the step's ends and could stop at a
// window edge: Neptune and Pluto over 2026-2027 against the stars of the
// shipped catalogue they pass within 500" (crossings in right ascension from
// the Swiss Ephemeris, planet_star_slow_crossings_swe.tsv).
// - Every conjunction listed ends its refinement with the body's right
//   ascension at the listed time (the body's own place, recomputed) within
//   the tolerance of 0.001 degree of the star's.
// - Every crossing within the declination limit less 3" is listed, at the
//   time the body needs for 0.001 degree plus 2" (catalogue) plus the
//   theory's error (VSOP87 D 1"; the internal series 20" for Neptune, 10"
//   for Pluto) plus 30 s; nothing beyond the limit plus 3" is. Run with the
//   internal series and with VSOP87 D (Neptune only: it has no Pluto).
TEST_F(PlanetStarOccultations, SlowBodiesEndTheirRefinementInsideTheTolerance) {
  std::int32_t selected = -1;
  const TStarCatalogueLoad load = LoadStarCatalogue(KVX_DATA_DIR, 2, selected);
  ASSERT_TRUE(load.Catalogue);
  const test::FixtureTable t =
      test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/planet_star_slow_crossings_swe.tsv");
  ASSERT_GT(t.Rows(), 20u);
  std::map<std::int32_t, std::int32_t> position;
  for (std::size_t i = 0; i < t.Rows(); ++i) position[static_cast<std::int32_t>(t.Number(i, "index"))] = 0;
  std::vector<tsterndatensatz> stars;
  for (auto& [index, at] : position) {
    stars.push_back(load.Catalogue->Star(index));
    at = static_cast<std::int32_t>(stars.size());
  }
  const auto catalogue = std::make_shared<const TStarCatalogue>(2, "OCCINP95.DAT", stars);
  const TObserverRecord start = Record(13.4, 52.52, 2461041.5), end = Record(13.4, 52.52, 2461771.5);
  TPlanetStarOptions options;
  options.Bodies = {0, 0, 0, 0, 0, 0, 1, 1, 0};
  options.LimitingMagnitude = 10.0f;
  options.ConjunctionsOnly = 1;
  options.OldPrecession = 0;
  const bool vsop = test::OpenBuiltLibraries().Vsop87D != 0;
  for (const std::uint8_t theory : {kPlanetTheoryInternal, kPlanetTheoryVsop87D}) {
    if (theory == kPlanetTheoryVsop87D && !vsop) {
      ADD_FAILURE() << "VSOP87 D library not built";
      continue;
    }
    SCOPED_TRACE(theory == kPlanetTheoryInternal ? "internal series" : "VSOP87 D");
    TSearchContext context = Context();
    context.Selection.bytes[0] = theory;
    const bool withPluto = theory == kPlanetTheoryInternal;  // VSOP87 has no Pluto
    options.Bodies[7] = withPluto ? 1 : 0;
    tsternbedeckungpl search(context, TTableConfigRecord{}, start, catalogue);
    ASSERT_EQ(RunPlanetStarOccultations(search, options, TAsteroidElements{}, false, end, start),
              TOccultationRunStatus::Done);
    const auto rows = search.ergebnisse.Rows();
    ASSERT_FALSE(rows.empty());
    for (const std::int32_t body : {8, 9}) {
      if (body == 9 && !withPluto) continue;
      tsternbedeckungpl probe(context, TTableConfigRecord{}, start,
                              std::make_shared<const TStarCatalogue>(1, "X", std::vector<tsterndatensatz>(1)));
      TPlanetStarOptions one = options;
      one.SelectedStar = 1;
      ASSERT_EQ(probe.rechnen(body, nullptr, start, start, one), TOccultationRunStatus::Done);
      for (const tergebnisdatensatz* e : rows) {
        if (e->Label != PlanetNames[static_cast<std::size_t>(body - 1)]) continue;
        const double T = (e->Contact1Time - 51544.5 + 69.0 / 86400.0) / 36525.0;
        double ra = 0, dec = 0, dist = 0;
        probe.BodyPlaceAt(T, ra, dec, dist);
        EXPECT_LT(std::fabs(AngleToPlusMinus180(ra - e->RightAscension)), 0.001 + 1e-9)
            << e->Label << " " << e->ObjectName << " " << e->Contact1Time;
      }
    }
    std::size_t expected = 0, either = 0;
    for (std::size_t i = 0; i < t.Rows(); ++i) {
      const double ddec = t.Number(i, "ddec"), mjd = t.Number(i, "mjd");
      if (std::fabs(std::fabs(ddec) - 400.0) <= 3.0) ++either;
      const std::string& star = catalogue->Star(position.at(static_cast<std::int32_t>(t.Number(i, "index")))).Name;
      if (t.text[i][0] == "Pluto" && !withPluto) continue;
      const std::string& body = PlanetNames[t.text[i][0] == "Neptune" ? 7 : 8];
      const double theoryError = theory == kPlanetTheoryVsop87D ? 1.0 : body == PlanetNames[7] ? 20.0 : 10.0;
      const double bound =
          (0.001 + (2.0 + theoryError) / 3600.0) / std::fabs(t.Number(i, "rate")) + 30.0 / 86400.0;
      const auto match = std::find_if(rows.begin(), rows.end(), [&](const tergebnisdatensatz* e) {
        return e->Label == body && e->ObjectName == star && std::fabs(e->Contact1Time - mjd) < bound;
      });
      if (std::fabs(ddec) < 400.0 - 3.0) {
        ++expected;
        EXPECT_NE(match, rows.end()) << body << " " << star << " " << mjd;
        if (match != rows.end()) {
          EXPECT_NEAR((*match)->ExtraValue, ddec, 3.0);
        }
      } else if (std::fabs(ddec) > 400.0 + 3.0) {
        EXPECT_EQ(match, rows.end()) << "beyond the declination limit: " << star;
      }
    }
    EXPECT_GE(rows.size(), expected);
    EXPECT_LE(rows.size(), expected + either) << "nothing the reference does not list";
  }
  CloseTheoryLibraries();
}

// The refinement of a slow body whose one-day window misses the crossing
// (a first estimate more than a day off, which 0.1 degree allows for
// Neptune and Pluto) falls back to the step's ends, each end carrying the
// body's place at its own time, and ends within 0.001 degree: at most the
// time the body needs for that, never at a window edge. The crossing lies
// half a day before the step's end; the window ends 0.6 day before it.
class RefineProbe : public tsternbedeckungpl {
 public:
  using tsternbedeckungpl::tsternbedeckungpl;
  TConjunction Refine(double ta, double tb, double tLo, double tHi, double ra, double dec) {
    ta_ = ta;
    tb_ = tb;
    BodyPlaceAt(ta, raA_, decA_, distA_);
    BodyPlaceAt(tb, raB_, decB_, distB_);
    return FindConjunctionInRA(true, tLo, tHi, ra, dec, 0.001);
  }
};

TEST_F(PlanetStarOccultations, SlowBodyRefinementOutsideItsWindow) {
  const double day = 1.0 / 36525.0;
  const TObserverRecord start = Record(13.4, 52.52, 2461200.5);
  TPlanetStarOptions options;
  options.SelectedStar = 1;
  for (const std::int32_t body : {8, 9}) {
    SCOPED_TRACE(body);
    RefineProbe probe(Context(), TTableConfigRecord{}, start,
                      std::make_shared<const TStarCatalogue>(1, "X", std::vector<tsterndatensatz>(1)));
    ASSERT_EQ(probe.rechnen(body, nullptr, start, start, options), TOccultationRunStatus::Done);
    const double ta = JulianCenturiesJ2000(2461200.5), tb = ta + 3.0 * day, crossing = tb - 0.5 * day;
    double ra = 0, dec = 0, dist = 0, ra1 = 0, dec1 = 0;
    probe.BodyPlaceAt(crossing, ra, dec, dist);
    probe.BodyPlaceAt(crossing + day, ra1, dec1, dist);
    const double rate = std::fabs(AngleToPlusMinus180(ra1 - ra));  // degrees a day
    const TConjunction c = probe.Refine(ta, tb, crossing - 2.6 * day, crossing - 0.6 * day, ra, dec);
    ASSERT_TRUE(c.Found);
    EXPECT_NEAR(c.T, crossing, (0.001 / rate + 30.0 / 86400.0) * day);
  }
}

// A star placed on a body's track at a chosen instant, seen from the north
// pole with the star moved by the body's parallax there: the occultation
// lasts 2 r / v (v the body's speed across the star, Earth radii per hour),
// for Jupiter with its radius and for an asteroid with half its diameter.
// The catalogue's float places shift the chord by under 0.1"; 1 %.
TEST_F(PlanetStarOccultations, SyntheticStarDurationFollowsTheRadius) {
  const double jd = 2461200.5;
  const TObserverRecord start = Record(0.0, 90.0, jd - 2), end = Record(0.0, 90.0, jd + 2);
  TAsteroidElements ceres;
  ceres.Name = "Testasteroid";
  ceres.SemiMajorAxis = 2.767;
  ceres.Eccentricity = 0.0786;
  ceres.Inclination = 10.59;
  ceres.Node = 80.25;
  ceres.Perihelion = 73.3;
  ceres.MeanAnomaly = 200.0;
  ceres.Epoch = jd;
  ceres.Equinox = 2000;
  for (const std::int32_t body : {5, kOccultingAsteroid}) {
    SCOPED_TRACE(body);
    TPlanetStarOptions options;
    options.Bodies[body == 5 ? 3 : 8] = 1;
    options.AsteroidDiameter = 2000;
    options.OldPrecession = 0;
    options.SelectedStar = 1;
    // The body's place and motion at the instant (dynamical time).
    tsternbedeckungpl probe(Context(), TTableConfigRecord{}, start,
                            std::make_shared<const TStarCatalogue>(1, "X", std::vector<tsterndatensatz>(1)));
    TKepler* kepler = nullptr;
    std::unique_ptr<TKepler> owned;
    if (body == kOccultingAsteroid) {
      owned = std::make_unique<TKepler>(TBodySettings{}, 0, TTableConfigRecord{}, ceres, start, TAccuracySettings{1e-10L, -1, 10});
      kepler = owned.get();
    }
    ASSERT_EQ(probe.rechnen(body, kepler, start, start, options), TOccultationRunStatus::Done);
    const double T0 = JulianCenturiesJ2000(jd) + 69.0 / 86400.0 / 36525.0;
    double ra = 0, dec = 0, dist = 0, ra1 = 0, dec1 = 0, dist1 = 0;
    probe.BodyPlaceAt(T0, ra, dec, dist);
    probe.BodyPlaceAt(T0 + 1.0 / 24.0 / 36525.0, ra1, dec1, dist1);
    const double kDeg = M_PI / 180.0;
    const double speed = dist * std::hypot((ra1 - ra) * std::cos(dec * kDeg), dec1 - dec) * kDeg;  // Earth radii/h
    // Seen from the pole the body stands lower by its parallax in declination.
    double rhoCos = 0, rhoSin = 0;
    ObserverGeocentricRho(rhoCos, rhoSin, 90.0);
    const double topoDec = dec - std::asin(rhoSin * std::cos(dec * kDeg) / dist) / kDeg;
    // The catalogue place (B1950, no proper motion) whose place of date is
    // (ra, topoDec).
    const TStarReduction reduction = StarReductionAt(T0, false, TStarAberration::Equatorial2);
    double ra0 = ra, dec0 = topoDec;
    for (int k = 0; k < 6; ++k) {
      double a = 0, d = 0;
      StarToDate(reduction, ra0, dec0, a, d);
      ra0 -= AngleToPlusMinus180(a - ra);
      dec0 -= d - topoDec;
    }
    tsterndatensatz star;
    star.Name = "Synth";
    star.RightAscension = static_cast<float>(Mod360(ra0));
    star.Declination = static_cast<float>(dec0);
    star.Magnitude100 = 900.f;  // fainter than the limit: the chosen star is searched anyway
    tsternbedeckungpl search(Context(), TTableConfigRecord{}, start,
                             std::make_shared<const TStarCatalogue>(1, "X", std::vector<tsterndatensatz>{star}));
    options.LimitingMagnitude = 9.0f;
    ASSERT_EQ(RunPlanetStarOccultations(search, options, ceres, false, end, start), TOccultationRunStatus::Done);
    ASSERT_EQ(search.ergebnisse.Count(), 1u);
    const tergebnisdatensatz& e = *search.ergebnisse.Rows()[0];
    ASSERT_EQ(e.EventFlag, 1);
    const double radius = OccultingBodyRadius(body, 2000);
    const double hours = (e.Contact2Time - e.Contact1Time) * 24.0;
    EXPECT_NEAR(hours, 2.0 * radius / speed, 0.01 * hours);
    EXPECT_NEAR(0.5 * (e.Contact1Time + e.Contact2Time), jd - 2400000.5, 2.0 / 1440.0);
  }
  EXPECT_DOUBLE_EQ(OccultingBodyRadius(kOccultingAsteroid, 2000), 1000.0 / 6378.14);
}

// The driver's refusals and questions, the empty catalogue and the cancel.
TEST_F(PlanetStarOccultations, DriverRulesAndCancel) {
  const auto catalogue = FixtureCatalogue();
  ASSERT_TRUE(catalogue);
  const TObserverRecord start = Record(13.4, 52.52, 2461041.5), end = Record(13.4, 52.52, 2461406.5);
  TPlanetStarOptions options;
  options.Bodies = {0, 0, 0, 1, 0, 0, 0, 0, 1};
  TAsteroidElements old;
  old.Name = "Alt";
  old.SemiMajorAxis = 2.7;
  old.Eccentricity = 0.1;
  old.Epoch = 2461041.5 - 100;
  {
    tsternbedeckungpl search(Context(), TTableConfigRecord{}, start, catalogue);
    messages_.QueueReply(MessageResult::No);
    EXPECT_EQ(RunPlanetStarOccultations(search, options, old, true, end, start), TOccultationRunStatus::Cancelled);
    EXPECT_EQ(search.Cancelled, 1);
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].text,
              "Die oskulierenden Bahnelemente von Alt sind 100 Tage alt. Dennoch mit diesen veralteten Elementen "
              "weiterrechnen?");
  }
  {
    // Refused elements: the message, the planets still run.
    TAsteroidElements bad = old;
    bad.Eccentricity = 1.5;
    tsternbedeckungpl search(Context(), TTableConfigRecord{}, start, catalogue);
    EXPECT_EQ(RunPlanetStarOccultations(search, options, bad, false, end, start), TOccultationRunStatus::Done);
    EXPECT_EQ(search.SearchedBodies, std::vector<std::string>{PlanetNames[4]});
  }
  {
    // Pluto outside the theory's range: its message, Jupiter still runs.
    TPlanetStarOptions pluto = options;
    pluto.Bodies = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const TObserverRecord s0 = Record(13.4, 52.52, 2305447.5), s1 = Record(13.4, 52.52, 2305547.5);
    tsternbedeckungpl search(Context(), TTableConfigRecord{}, s0, catalogue);
    messages_.messages.clear();
    EXPECT_EQ(RunPlanetStarOccultations(search, pluto, TAsteroidElements{}, false, s1, s0),
              TOccultationRunStatus::Done);
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].text, "Ungültiges Datum für Pluto");
  }
  {
    // No star matched (index 0) or beyond the catalogue: refused.
    TPlanetStarOptions one = options;
    one.SelectedStar = 0;
    tsternbedeckungpl search(Context(), TTableConfigRecord{}, start, catalogue);
    messages_.messages.clear();
    EXPECT_EQ(RunPlanetStarOccultations(search, one, TAsteroidElements{}, false, end, start),
              TOccultationRunStatus::Refused);
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].text, "Kein Stern mit diesem Namen gefunden.");
  }
  {
    tsternbedeckungpl search(Context(), TTableConfigRecord{}, start,
                             std::make_shared<const TStarCatalogue>(1, "X", std::vector<tsterndatensatz>{}));
    EXPECT_EQ(RunPlanetStarOccultations(search, options, TAsteroidElements{}, false, end, start),
              TOccultationRunStatus::Done);
    EXPECT_EQ(search.ergebnisse.Count(), 0u);
  }
  {
    progress_.abort_at_step = 10;
    tsternbedeckungpl search(Context(), TTableConfigRecord{}, start, catalogue);
    EXPECT_EQ(RunPlanetStarOccultations(search, options, TAsteroidElements{}, false, end, start),
              TOccultationRunStatus::Cancelled);
    EXPECT_EQ(search.Cancelled, 1);
    EXPECT_EQ(AbortRequested, 0);
  }
}

// The table: the JD column's shift, a conjunction line, an occultation's
// two lines, the grid's columns and the empty texts with the bodies.
TEST(PlanetStarTable, LinesColumnsAndEmptyTexts) {
  TOccultationResultList list;
  auto conjunction = std::make_unique<tergebnisdatensatz>();
  conjunction->EventFlag = 0;
  conjunction->Contact1Time = conjunction->Contact2Time = 61100.5;
  conjunction->PositionAngle1 = conjunction->CoefficientA1 = conjunction->CoefficientB1 = NAN;
  conjunction->Magnitude = 650;
  conjunction->ExtraValue = 123.4;
  conjunction->ObjectName = "Porrima";
  conjunction->Label = "Mars";
  conjunction->RightAscension = 190.0;
  conjunction->Declination = -1.5;
  list.Add(std::move(conjunction));
  auto occultation = std::make_unique<tergebnisdatensatz>();
  occultation->EventFlag = 1;
  occultation->Contact1Time = 61200.5;
  occultation->Contact2Time = 61200.52;
  occultation->PositionAngle1 = 10;
  occultation->CoefficientA1 = 1.5;
  occultation->CoefficientB1 = NAN;  // a zero division elsewhere: an empty cell
  occultation->Magnitude = 650;
  occultation->ExtraValue = -5;
  occultation->ObjectName = "SAO 1";
  occultation->Label = "Jupiter";
  list.Add(std::move(occultation));
  TTableConfigRecord config;
  for (std::size_t i = 0; i < config.ColumnTitles.size(); ++i) config.ColumnTitles[i] = std::to_string(i).insert(0, 1, 'T');
  TObserverRecord start;
  LanguageEnglish = 1;
  DataFormatKind[62] = DataFormatKind[167] = 0;
  DataFormatDecimals[62] = DataFormatDecimals[167] = 1;
  RecordingProgress progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  for (int jd = 0; jd < 2; ++jd) {
    config.Flags[column_flag::kJulianDate] = static_cast<std::uint8_t>(jd);
    TSheet sheet;
    TSheetSink sink(sheet);
    WritePlanetStarTable(sink, config, start, list, TPlanetStarTableKind{});
    EXPECT_EQ(sheet.Text(1, 3 + jd), "T152");
    EXPECT_EQ(sheet.Text(1, 10 + jd), "T62/T167");
    EXPECT_EQ(sheet.Text(1, 12 + jd), "T17");
    EXPECT_EQ(sheet.Text(2, 3 + jd), "Conjunction");
    EXPECT_EQ(sheet.Text(2, 4 + jd), "") << "no position angle, a or b on a conjunction line";
    EXPECT_EQ(sheet.Text(2, 7 + jd), "");
    EXPECT_EQ(sheet.Text(2, 9 + jd), "Porrima/Mars");
    EXPECT_EQ(sheet.Text(2, 10 + jd), "6.5/123.4");
    EXPECT_NE(sheet.Text(2, 11 + jd), "");
    EXPECT_EQ(sheet.Text(3, 3 + jd), "T156");
    EXPECT_EQ(sheet.Text(3, 9 + jd), "SAO 1");
    EXPECT_EQ(sheet.Text(3, 10 + jd).find('/'), std::string::npos) << "an occultation line: the magnitude alone";
    EXPECT_EQ(sheet.Text(3, 8 + jd), "") << "a non-finite b";
    EXPECT_EQ(sheet.Text(4, 3 + jd), "T157");
    EXPECT_EQ(sheet.Text(4, 9 + jd), "Jupiter");
    EXPECT_EQ(sheet.Text(4, 11 + jd), "") << "no place in the second line";
    EXPECT_EQ(sheet.Text(5, 1), "");
    // Finishing: the header row and the third column centred, A1 current.
    EXPECT_EQ(sheet.Selection(), "A1");
    const int centred[3][3] = {{1, 9, 3}, {4, 3, 3}, {4, 9, 1}};
    for (const auto& [r, c, horizontal] : centred) {
      sheet.SetSelection(r, c, r, c);
      EXPECT_EQ(sheet.Alignment().Horizontal, horizontal) << r << "," << c;
    }
  }
  tmystringgrid grid;
  TTableOutputSettings settings;
  TGridSink gridSink(grid, settings);
  config.Flags[column_flag::kJulianDate] = 1;
  WritePlanetStarTable(gridSink, config, start, list, TPlanetStarTableKind{});
  EXPECT_EQ(grid.ColCount(), 14);
  EXPECT_EQ(grid.RowCount(), 5) << "the fixed row, the header and three lines";
  EXPECT_EQ(grid.Cells(10, 4), "Jupiter") << "the last line is kept";
  TPlanetStarTableKind one;
  one.AllStars = false;
  one.StarName = "Regulus";
  one.Bodies = {"Mars", "Jupiter"};
  EXPECT_EQ(EmptyPlanetStarText(one, false), "No occultations of  Regulus by Mars, Jupiter found.");
  EXPECT_EQ(EmptyPlanetStarText(one, true), "No occultations of  Regulus found.");
  LanguageEnglish = 0;
  EXPECT_EQ(EmptyPlanetStarText(one, false), "Keine Bedeckungen von  Regulus durch Mars, Jupiter gefunden.");
  TSheet sheet;
  TSheetSink sink(sheet);
  WritePlanetStarTable(sink, config, start, TOccultationResultList{}, TPlanetStarTableKind{});
  EXPECT_EQ(sheet.Text(1, 1), "Keine Bedeckungen von Sternen heller als 8 mag gefunden.");
  SetProgressReporter(previous);
}

}  // namespace
}  // namespace kvx
