// Speed of the conjunction lists of user objects, internal series, over
// 2025: one planet (Mars) against 10,000 user objects in right ascension
// (target under 1 s); 100 asteroids against 1,000 user objects with half of
// the asteroids passing the brightness pre-scan (target under 5 s); the
// pre-scan of 1,000 asteroids alone, half of them too faint (target under
// 0.5 s).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "events/user_object_conjunctions.h"
#include "platform/globals.h"
#include "tests/engine/sun_planet_support.h"
#include "tests/support/theory_selection.h"

namespace kvx {
namespace {

TObserverRecord At(double mjdUT) {
  InitAstroNameTables();
  return test::ObserverAtPlace(MjdToJd(mjdUT), 69, test::Place{50, 10, 0}, test::PlanetAndMoonTheory(0, 0));
}

// A repeatable spread of objects over the whole sky.
void FillObjects(tuserlist& list, int count) {
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / 16777216.0;
  };
  for (int i = 0; i < count; ++i) {
    // The letter inserted as a char: "U" + text trips GCC 12's -Wrestrict at -O3.
    std::string name = std::to_string(i);
    name.insert(name.begin(), 'U');
    auto object = std::make_unique<tuserobject>(name, 0.f, 0.f, 0.f, 0.f, 0.f, 0.f);
    object->Angle1 = static_cast<float>(24 * next());
    object->Angle2 = static_cast<float>(std::asin(2 * next() - 1) * 180 / M_PI);
    object->Value5 = 2000.f;
    object->Value6 = static_cast<float>(5 * next());
    list.Add(std::move(object));
  }
}

TAsteroidElements Asteroid(int i, bool bright) {
  TAsteroidElements e;
  e.Name = std::to_string(i);
  e.Name.insert(e.Name.begin(), 'A');
  e.SemiMajorAxis = 2.2 + 0.01 * (i % 100);
  e.Eccentricity = 0.05 + 0.001 * (i % 50);
  e.Inclination = 2 + (i % 17);
  e.Node = (i * 37) % 360;
  e.Perihelion = (i * 53) % 360;
  e.MeanAnomaly = (i * 71) % 360;
  e.Equinox = 2000;
  e.Epoch = 2460800.5;
  e.H = bright ? 4 : 24;
  e.G = 0.15;
  return e;
}

TSearchContext Context(const tuserlist& objects) {
  TSearchContext context;
  context.Selection = test::PlanetAndMoonTheory(0, 0);
  context.FastSearch = 1;
  context.UserObjects = &objects;
  return context;
}

void PlanetAgainst10000UserObjects(benchmark::State& state) {
  tuserlist objects;
  FillObjects(objects, 10000);
  int found = 0;
  for (auto _ : state) {
    TEventList list;
    TBodyUserObjectConjunctionRun run(Context(objects), list);
    run.Options.ChosenBody = search_kind::kMars;
    run.Start = At(60676);
    run.End = At(61041);
    run.Run("15");
    found = list.Count();
  }
  state.counters["conjunctions"] = found;
}

void AsteroidsAgainstUserObjects(benchmark::State& state) {
  tuserlist objects;
  FillObjects(objects, 1000);
  std::vector<TAsteroidElements> asteroids;
  for (int i = 0; i < 100; ++i) asteroids.push_back(Asteroid(i, i % 2 == 0));
  int found = 0, passed = 0;
  for (auto _ : state) {
    TEventList list;
    TUserObjectMinorBodyConjunctionRun run(Context(objects), list);
    run.Options.MinorBodyMagnitudeLimit = 12;
    run.Start = At(60676);
    run.End = At(61041);
    run.MinorCount = 100;
    run.MinorAt = [&](std::int32_t index, TMinorBodyEntry& entry) {
      entry.Asteroid = asteroids[static_cast<std::size_t>(index)];
      entry.Name = entry.Asteroid.Name;
      return true;
    };
    run.Run("15");
    found = list.Count();
    passed = run.PrescanPassed;
  }
  state.counters["conjunctions"] = found;
  state.counters["passed"] = passed;
}

void PrescanOf1000Asteroids(benchmark::State& state) {
  tuserlist objects;
  std::vector<TAsteroidElements> asteroids;
  for (int i = 0; i < 1000; ++i) asteroids.push_back(Asteroid(i, i % 2 == 0));
  int passed = 0;
  for (auto _ : state) {
    TEventList list;
    TUserObjectMinorBodyConjunctionRun run(Context(objects), list);
    run.Options.MinorBodyMagnitudeLimit = 12;
    run.Start = At(60676);
    run.End = At(61041);
    passed = 0;
    for (const TAsteroidElements& a : asteroids) {
      TSampleCachingSearch engine(Context(objects));
      engine.AsteroidElements = a;
      if (run.Prescan(engine, search_kind::kAsteroid)) ++passed;
    }
  }
  state.counters["passed"] = passed;
}

BENCHMARK(PlanetAgainst10000UserObjects)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(AsteroidsAgainstUserObjects)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PrescanOf1000Asteroids)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kvx
