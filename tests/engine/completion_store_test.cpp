// The reduced records of the search engine and the completed observer
// records shared between searches: every value a reduced record fills, and
// every field of the instant a shared record gives, must be bit for bit the
// one the whole computation gives without sharing.
#include "engine/completion_store.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "engine/search_object.h"
#include "sun_planet_support.h"
#include "support/theory_selection.h"

namespace kvx {
namespace {

using Fill = tsuchobjekt::TRecordFill;

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

TAsteroidElements Asteroid(double meanAnomaly) {
  TAsteroidElements e;
  e.Name = "A";
  e.SemiMajorAxis = 2.77;
  e.Eccentricity = 0.078;
  e.Inclination = 10.6;
  e.Node = 80.3;
  e.Perihelion = 73.6;
  e.MeanAnomaly = meanAnomaly;
  e.MeanMotion = 0.2141;
  e.Equinox = 2000;
  e.Epoch = 2460800.5;
  e.H = 3.3;
  e.G = 0.12;
  return e;
}

TCometElements Comet() {
  TCometElements c;
  c.Name = "C";
  c.PerihelionDistance = 0.59;
  c.Eccentricity = 0.967;
  c.Inclination = 162.2;
  c.Node = 58.4;
  c.Perihelion = 111.3;
  c.PerihelionTime = 2446470.5;
  c.Equinox = 2000;
  c.H = 5.5;
  c.G = 4;
  return c;
}

struct Sample {
  TObserverRecord Observer;
  TEphemerisResultRecord Result;
  bool Ok = false;
};

class ReducedRecords : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitAstroNameTables(); }
  ReducedRecords() {
    context_.Selection = test::PlanetAndMoonTheory(0, 0);
    context_.FastSearch = 1;
  }

  // The body at `mjd` with the engine's fill set to `fill`.
  Sample At(tsuchobjekt& engine, int kind, double mjd, Fill fill) const {
    Sample s;
    s.Observer =
        test::ObserverAtPlace(MjdToJd(mjd), 69, test::Place{50, 10, 0}, test::PlanetAndMoonTheory(0, 0));
    TTheorySelection selection = context_.Selection;
    const tsuchobjekt::TFillScope scope(engine, fill);
    s.Ok = engine.planet(selection, kind, s.Observer, s.Result, 1.0);
    return s;
  }

  // The values a search reads from a record of `fill`, against those of
  // the whole record.
  static void ExpectSame(const Sample& whole, const Sample& reduced, Fill fill, bool topocentric) {
    ASSERT_TRUE(whole.Ok);
    ASSERT_TRUE(reduced.Ok);
    const TKeplerPosition& w = whole.Result.Position;
    const TKeplerPosition& r = reduced.Result.Position;
    EXPECT_EQ(Bits(w.RightAscension), Bits(r.RightAscension));
    EXPECT_EQ(Bits(w.Declination), Bits(r.Declination));
    EXPECT_EQ(Bits(w.GeoLongitude), Bits(r.GeoLongitude));
    EXPECT_EQ(Bits(w.GeoLatitude), Bits(r.GeoLatitude));
    EXPECT_EQ(Bits(w.GeoDistance), Bits(r.GeoDistance));
    EXPECT_EQ(Bits(w.HelioDistance), Bits(r.HelioDistance));
    EXPECT_EQ(Bits(w.HelioLatitude), Bits(r.HelioLatitude));
    if (topocentric) {
      EXPECT_EQ(Bits(whole.Result.TopoRightAscension), Bits(reduced.Result.TopoRightAscension));
      EXPECT_EQ(Bits(whole.Result.TopoDeclination), Bits(reduced.Result.TopoDeclination));
    }
    if (fill == Fill::Magnitude) {
      EXPECT_EQ(Bits(whole.Result.Physical.magnitude), Bits(reduced.Result.Physical.magnitude));
    }
    if (fill == Fill::SideAngle) {
      EXPECT_EQ(Bits(whole.Result.Physical.sideAngle), Bits(reduced.Result.Physical.sideAngle));
    }
    // The instant's fields of the observer record (the fixed objects read
    // the obliquity and the precession from it).
    const TObserverRecord& a = whole.Observer;
    const TObserverRecord& b = reduced.Observer;
    EXPECT_EQ(Bits(a.Mjd), Bits(b.Mjd));
    EXPECT_EQ(Bits(a.Centuries), Bits(b.Centuries));
    EXPECT_EQ(Bits(a.DeltaTSeconds), Bits(b.DeltaTSeconds));
    EXPECT_EQ(Bits(a.SunLongitude), Bits(b.SunLongitude));
    EXPECT_EQ(Bits(a.SunX), Bits(b.SunX));
    EXPECT_EQ(Bits(a.SunZ), Bits(b.SunZ));
    EXPECT_EQ(Bits(a.Obliquity), Bits(b.Obliquity));
    EXPECT_EQ(Bits(a.CosObliquity), Bits(b.CosObliquity));
    EXPECT_EQ(Bits(a.Precession.m[1][2]), Bits(b.Precession.m[1][2]));
    EXPECT_EQ(a.Day, b.Day);
    EXPECT_EQ(Bits(a.LocalHours), Bits(b.LocalHours));
  }

  TSearchContext context_;
};

// Two asteroids and a comet share one store: the first asteroid's whole
// records serve the reduced ones of the second at the same instants,
// reduced records serve each other, and a reduced record never serves a
// whole one. Every value matches that of an engine without the store.
TEST_F(ReducedRecords, SharedCompletionsAndReducedFillsGiveTheWholeValues) {
  std::vector<double> instants;
  for (int i = 0; i < 12; ++i) instants.push_back(60676.0 + 17.25 * i);
  TCompletionStore store;

  tsuchobjekt alone(context_);
  tsuchobjekt first(context_), second(context_), comet(context_);
  for (tsuchobjekt* engine : {&first, &second, &comet}) engine->ShareCompletions(&store);
  alone.AsteroidElements = first.AsteroidElements = Asteroid(150);
  second.AsteroidElements = Asteroid(290);
  alone.CometElements = comet.CometElements = Comet();

  for (std::size_t i = 0; i < instants.size(); ++i) {
    const double mjd = instants[i];
    const Fill reduced = i % 3 == 0 ? Fill::Magnitude : i % 3 == 1 ? Fill::SideAngle : Fill::Places;
    // Whole records first on every other instant, reduced ones first on
    // the rest.
    if (i % 2 == 0) ExpectSame(At(alone, 10, mjd, Fill::Full), At(first, 10, mjd, Fill::Full), Fill::Full, true);
    ExpectSame(At(alone, 10, mjd, Fill::Full), At(first, 10, mjd, reduced), reduced, false);
    if (i % 2 == 1) ExpectSame(At(alone, 10, mjd, Fill::Full), At(first, 10, mjd, Fill::Full), Fill::Full, true);
    alone.AsteroidElements = Asteroid(290);
    ExpectSame(At(alone, 10, mjd, Fill::Full), At(second, 10, mjd, reduced), reduced, false);
    ExpectSame(At(alone, 11, mjd, Fill::Full), At(comet, 11, mjd, reduced), reduced, false);
    alone.AsteroidElements = Asteroid(150);
  }
  EXPECT_GT(store.Hits, instants.size() * 2);
  EXPECT_GT(store.Size(), instants.size());
}

// With the topocentric switch the loops' places include the topocentric
// pair, which needs the whole completion.
TEST_F(ReducedRecords, TopocentricPlacesStayWhole) {
  context_.Topocentric = 1;
  TCompletionStore store;
  tsuchobjekt alone(context_), shared(context_);
  shared.ShareCompletions(&store);
  alone.AsteroidElements = shared.AsteroidElements = Asteroid(150);
  for (double mjd : {60700.0, 60700.0, 60731.5}) {
    ExpectSame(At(alone, 10, mjd, Fill::Full), At(shared, 10, mjd, Fill::Magnitude), Fill::Magnitude, false);
    ExpectSame(At(alone, 10, mjd, Fill::Full), At(shared, 10, mjd, Fill::Places), Fill::Places, true);
  }
}

}  // namespace
}  // namespace kvx
