// The full theories side by side with the Swiss Ephemeris in its analytic
// (Moshier) mode, in one run. Each benchmark alternates blocks of calls of
// the two and times each block with the thread's CPU clock, so that both see
// the same machine and time spent waiting for the processor counts for
// neither; the counters give nanoseconds per position of each and their
// ratio (kvx_ns / swe_ns; below 1 the project is faster). Run a Release
// build (-DCMAKE_BUILD_TYPE=Release) with repetitions and read the medians:
//   taskset -c 3 bench_swisseph_side_by_side --benchmark_repetitions=9
//     --benchmark_report_aggregates_only=true
// The Swiss Ephemeris is a benchmark-only dependency (libswe-dev): it is
// linked into this benchmark alone.
//
// Figures:
//   HeliocentricMars   VSOP87 D library, full series, against heliocentric
//                      Mars (SEFLG_HELCTR);
//   ApparentMars       the VSOP87 D road of the program: Mars and the Sun from
//                      the library, light time and aberration, nutation,
//                      apparent right ascension and declination; against the
//                      default apparent geocentric place;
//   ApparentMoon       the ELP-2000/82B road (light time from a first
//                      library call), nutation, apparent place; against the
//                      apparent geocentric Moon.
// The Swiss Ephemeris keeps the last instant's results: every call moves the
// date, for both.
//
// Whole searches (one run of each side per iteration; kvx_ms, swe_ms and
// their ratio, and the events each found): the program's search with its own
// settings against a search written here on swe_calc the way such a search
// is written with that library (a scan at the program's step and regula
// falsi on the same criterion to a second), or against the library's own
// search routine:
//   Conjunctions       Mars and Jupiter in ecliptic longitude, 2000-2100,
//                      step 15 days;
//   Oppositions        Mars, 2000-2100, step 5 days; the counter worst_min is
//                      the largest gap between the two sides' instants;
//   RiseSet            a year of daily Moon or Sun rise and set at 50 N
//                      against swe_rise_trans (rise and set);
//   OneStarOccultations  2026 at Berlin, each star of the small test
//                      catalogue that the Moon hides there searched alone, on
//                      the one search object the program keeps or on a new
//                      one per star, against swe_lun_occult_when_loc star by
//                      star (whose last call looks past the year's end for
//                      the next occultation seen from the place).
#include <benchmark/benchmark.h>
#include <swephexp.h>
#include <time.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/quiet_sink.h"
#include "core/frames.h"
#include "core/name_tables.h"
#include "core/star_reduction.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "eclipses/lunar_occultation.h"
#include "eclipses/star_catalogue.h"
#include "events/conjunction_search.h"
#include "events/event_search.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "tests/engine/sun_planet_support.h"
#include "tests/support/theory_selection.h"
#include "theories/apparent_sun_moon.h"
#include "theories/planet_positions.h"
#include "theories/planet_series.h"
#include "theories/rise_set.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

// CPU time of the calling thread, ns.
double ThreadNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

bool LibrariesOpen() {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  return available.Vsop87D && available.Elp2000;
}

constexpr double kJ2000 = 2451545.0;
constexpr double kDaysPerCentury = 36525.0;
constexpr int kBlock = 32;  // calls per timed block

// Runs `ours(T)` and `theirs(jd)` in alternating timed blocks over a date
// that steps by `stepDays`, and reports the two costs and their ratio.
template <typename Ours, typename Theirs>
void SideBySide(benchmark::State& state, double stepDays, Ours ours, Theirs theirs) {
  if (!LibrariesOpen()) {
    state.SkipWithError("theory libraries not found");
    return;
  }
  double ourNs = 0.0, theirNs = 0.0;
  double jd = 2448000.5;
  std::int64_t calls = 0;
  for (auto _ : state) {
    const double start = jd;
    const double t0 = ThreadNanoseconds();
    for (int i = 0; i < kBlock; ++i) ours((start + i * stepDays - kJ2000) / kDaysPerCentury);
    const double t1 = ThreadNanoseconds();
    for (int i = 0; i < kBlock; ++i) theirs(start + i * stepDays);
    const double t2 = ThreadNanoseconds();
    ourNs += t1 - t0;
    theirNs += t2 - t1;
    calls += kBlock;
    jd += kBlock * stepDays;
    if (jd > 2488000.5) jd = 2415020.5;
  }
  state.counters["kvx_ns"] = ourNs / static_cast<double>(calls);
  state.counters["swe_ns"] = theirNs / static_cast<double>(calls);
  state.counters["ratio"] = ourNs / theirNs;
}

void SweCalc(double jd, int body, int flags) {
  double x[6];
  char error[256];
  swe_calc(jd, body, flags | SEFLG_MOSEPH, x, error);
  benchmark::DoNotOptimize(x[0]);
}

void HeliocentricMars(benchmark::State& state) {
  SideBySide(
      state, 0.37,
      [](double T) {
        double L, B, R;
        vsopmars_hel(T, L, B, R, -1.0);
        benchmark::DoNotOptimize(L + B + R);
      },
      [](double jd) { SweCalc(jd, SE_MARS, SEFLG_HELCTR); });
}
BENCHMARK(HeliocentricMars);

// Mars and the Sun from the VSOP87 D library, light time and aberration of
// the program's first road, nutation and the true obliquity.
void ApparentMarsVsop87D(double T) {
  const PositionFileHandles handles{};
  const TTheorySelection selection = test::PlanetTheory(kPlanetTheoryVsop87D);
  double l, b, r, x, y, z, vx, vy, vz;
  MarsHeliocentric(handles[3], selection, T, l, b, r, x, y, z, vx, vy, vz, kFullTheory);
  double sl, sb, sr;
  vsopsun_l(T, sl, sb, sr, -1.0);
  double sx, sy, sz;
  PolarToCartesian(sx, sy, sz, sr, sb, sl);
  TDispatchPlanet d{l, b, r, x, y, z};
  PlanetPositionDispatch(handles, kFullTheory, selection, T, 4, 1, TDispatchSun{sl, sb, sr, sx, sy, sz, 0.0, 0.0, 0.0},
                         d);
  double ax = d.ApparentX, ay = d.ApparentY, az = d.ApparentZ;
  double deps = 0.0;
  const double dpsi = NutationDegrees(deps, T);
  const double eps = (MeanObliquity(T) + deps) * 0.0174532925199433;
  double lat, lon;
  CartesianToPolar(r, lat, lon, ax, ay, az);
  PolarToCartesian(x, y, z, 1.0, lat, lon + dpsi);
  const double ye = y * std::cos(eps) - z * std::sin(eps);
  const double ze = y * std::sin(eps) + z * std::cos(eps);
  double ra, dec;
  CartesianToPolar(r, dec, ra, x, ye, ze);
  benchmark::DoNotOptimize(ra + dec);
}

void ApparentMars(benchmark::State& state) {
  SideBySide(state, 0.37, ApparentMarsVsop87D, [](double jd) { SweCalc(jd, SE_MARS, 0); });
}
BENCHMARK(ApparentMars);

void ApparentMoon(benchmark::State& state) {
  SideBySide(
      state, 0.037,
      [](double T) {
        double ra, dec, r;
        MoonApparentCoordinates(0, PositionFileHandles{}, test::PlanetAndMoonTheory(0, 1), T, ra, dec, r, kFullTheory);
        benchmark::DoNotOptimize(ra + dec + r);
      },
      [](double jd) { SweCalc(jd, SE_MOON, 0); });
}
BENCHMARK(ApparentMoon);

void ApparentMoonLightTimeShortcut(benchmark::State& state) {
  SideBySide(
      state, 0.037,
      [](double T) {
        double ra, dec, r;
        MoonApparentCoordinates(1, PositionFileHandles{}, test::PlanetAndMoonTheory(0, 1), T, ra, dec, r, kFullTheory);
        benchmark::DoNotOptimize(ra + dec + r);
      },
      [](double jd) { SweCalc(jd, SE_MOON, 0); });
}
BENCHMARK(ApparentMoonLightTimeShortcut);

// --- whole searches -----------------------------------------------------------------------------

constexpr double kDeltaT = 69.2;                            // seconds, both sides
constexpr double kStart2000 = 51544.0, kEnd2100 = 88069.0;  // MJD

// Answers every message with Ok, silently.
// Times `ours` and `theirs` once per iteration with the thread's CPU clock;
// each returns the events it found.
template <typename Ours, typename Theirs>
void WholeSearch(benchmark::State& state, Ours ours, Theirs theirs) {
  if (!LibrariesOpen()) {
    state.SkipWithError("theory libraries not found");
    return;
  }
  bench::QuietSink sink;
  ScopedMessageSink messages(sink);
  InitAstroNameTables();
  double ourNs = 0, theirNs = 0;
  int ourEvents = 0, theirEvents = 0, runs = 0;
  for (auto _ : state) {
    const double t0 = ThreadNanoseconds();
    ourEvents = ours();
    const double t1 = ThreadNanoseconds();
    theirEvents = theirs();
    const double t2 = ThreadNanoseconds();
    ourNs += t1 - t0;
    theirNs += t2 - t1;
    ++runs;
  }
  state.counters["kvx_ms"] = ourNs / runs / 1e6;
  state.counters["swe_ms"] = theirNs / runs / 1e6;
  state.counters["ratio"] = ourNs / theirNs;
  state.counters["kvx_events"] = ourEvents;
  state.counters["swe_events"] = theirEvents;
}

TObserverRecord ObserverAt(double mjdUT, std::uint8_t planetTheory) {
  return test::ObserverAtPlace(MjdToJd(mjdUT), kDeltaT, test::Place{50, 10, 0},
                               test::PlanetAndMoonTheory(planetTheory, 0));
}

TSearchContext SearchContext(std::uint8_t planetTheory) {
  TSearchContext context;
  context.Selection = test::PlanetAndMoonTheory(planetTheory, 0);
  context.FastSearch = planetTheory == kPlanetTheoryInternal ? 1 : 0;
  return context;
}

// Apparent geocentric ecliptic longitude of date, degrees (TT).
double SweLongitude(double jdTT, int body) {
  double x[6];
  char error[256];
  swe_calc(jdTT, body, SEFLG_MOSEPH, x, error);
  return x[0];
}

// The roots of f over [a, b]: a scan with `step` (a sign change between
// values within 90 degrees), each bracket closed by regula falsi (Illinois)
// to 1e-5 day. Returns the roots.
template <typename F>
std::vector<double> ScanRoots(F f, double a, double b, double step) {
  std::vector<double> roots;
  double t0 = a, f0 = f(t0);
  for (double t1 = a + step; t1 <= b; t1 += step) {
    const double f1 = f(t1);
    if ((f0 < 0) != (f1 < 0) && std::fabs(f0 - f1) < 90) {
      double lo = t0, flo = f0, hi = t1, fhi = f1;
      int side = 0;
      for (int i = 0; i < 60 && hi - lo > 1e-5; ++i) {
        const double c = (lo * fhi - hi * flo) / (fhi - flo);
        const double fc = f(c);
        if ((fc < 0) == (flo < 0)) {
          lo = c;
          flo = fc;
          if (side == -1) fhi /= 2;
          side = -1;
        } else {
          hi = c;
          fhi = fc;
          if (side == 1) flo /= 2;
          side = 1;
        }
        if (fc == 0) lo = hi = c;
      }
      roots.push_back((lo * fhi - hi * flo) / (fhi - flo));
    }
    t0 = t1;
    f0 = f1;
  }
  return roots;
}

double Wrapped(double d) { return std::remainder(d, 360.0); }

void Conjunctions(benchmark::State& state) {
  const auto theory = static_cast<std::uint8_t>(state.range(0));
  WholeSearch(
      state,
      [theory] {
        TEventList list;
        TConjunctionSearchRun run(SearchContext(theory), list);
        run.Options.FirstObject = 3;
        run.Options.SecondObject = 4;
        run.Options.InLongitude = 1;
        run.UsePeriod = true;
        run.ResultsIntoTable = true;
        run.Period = ObserverAt(kStart2000, theory);
        run.End = ObserverAt(kEnd2100, theory);
        run.Run("15", "300");
        return list.Count();
      },
      [] {
        const double shift = 2400000.5 + kDeltaT / 86400;
        const auto roots =
            ScanRoots([](double jd) { return Wrapped(SweLongitude(jd, SE_JUPITER) - SweLongitude(jd, SE_MARS)); },
                      kStart2000 + shift, kEnd2100 + shift, 15);
        return static_cast<int>(roots.size());
      });
}
BENCHMARK(Conjunctions)->ArgName("vsop87d")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void Oppositions(benchmark::State& state) {
  const auto theory = static_cast<std::uint8_t>(state.range(0));
  std::vector<double> ours, theirs;
  WholeSearch(
      state,
      [theory, &ours] {
        TEventList list;
        TEventSearchRun run(SearchContext(theory), list);
        run.Options.ObjectCode = 3;
        run.Options.EventKind = 6;
        run.UsePeriod = true;
        run.ResultsIntoTable = true;
        run.Period = ObserverAt(kStart2000, theory);
        run.End = ObserverAt(kEnd2100, theory);
        run.Run("5", "300");
        ours.clear();
        for (const tEvent* e : list.ByInstant()) ours.push_back(MjdToJd(e->Mjd()) + kDeltaT / 86400);
        return list.Count();
      },
      [&theirs] {
        const double shift = 2400000.5 + kDeltaT / 86400;
        theirs =
            ScanRoots([](double jd) { return Wrapped(SweLongitude(jd, SE_MARS) - SweLongitude(jd, SE_SUN) - 180); },
                      kStart2000 + shift, kEnd2100 + shift, 5);
        return static_cast<int>(theirs.size());
      });
  double worst = 0;
  for (double t : ours) {
    double nearest = 1e9;
    for (double u : theirs) nearest = std::min(nearest, std::fabs(t - u));
    worst = std::max(worst, nearest);
  }
  state.counters["worst_min"] = worst * 1440;
}
BENCHMARK(Oppositions)->ArgName("vsop87d")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// A year (2024) of daily rise and set at 50 N, 10 E: the Moon (event 1,
// upper limb) or the Sun (event 2), from the ELP library or VSOP87 D
// (`accurate` theories) or the internal series.
void RiseSet(benchmark::State& state) {
  const bool moon = state.range(0) == 1;
  const bool library = state.range(1) == 1;
  const TTheorySelection selection = test::PlanetAndMoonTheory(library && !moon ? 1 : 0, library && moon ? 1 : 0);
  const TRiseSetAltitudes altitudes = {-34.0, 8.0, -50.0, -6.0, -12.0, -18.0};
  constexpr double kJd = 2460310.5;
  WholeSearch(
      state,
      [&] {
        const PositionFileHandles handles{};
        TRiseSetMoonSunDay result;
        int events = 0;
        const int event = moon ? kRiseSetMoonEvent : kRiseSetSunEvent;
        for (int day = 0; day < 365; ++day) {
          RiseSetMoonSun({0, 1, 1, kDeltaT, 0, altitudes, 0, selection, kFullTheory, event, event,
                          moon ? kRiseSetMoonBodyCode : 0, kJd + day + 0.5, 50.0, 10.0, 0.0},
                         handles, result);
          events += (result.RiseTimes[event - 1] != 0) + (result.SetTimes[event - 1] != 0);
        }
        return events;
      },
      [&] {
        double geopos[3] = {10.0, 50.0, 0.0};
        int events = 0;
        char error[256];
        for (int day = 0; day < 365; ++day) {
          for (int which : {SE_CALC_RISE, SE_CALC_SET}) {
            double t = 0;
            if (swe_rise_trans(kJd + day, moon ? SE_MOON : SE_SUN, nullptr, SEFLG_MOSEPH, which, geopos, 1013.25, 10,
                               &t, error) == 0 &&
                t < kJd + day + 1) {
              ++events;
            }
          }
        }
        return events;
      });
}
BENCHMARK(RiseSet)
    ->ArgNames({"moon", "library"})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The small test catalogue, and the Swiss Ephemeris star file made from it
// (places of the equator and equinox J2000 at 2026.0, no proper motion).
std::shared_ptr<const TStarCatalogue> TestCatalogue(std::string& sweFolder) {
  static std::string folder;
  static std::shared_ptr<const TStarCatalogue> catalogue = [] {
    namespace fs = std::filesystem;
    const fs::path scratch = fs::temp_directory_path() / ("kvx_side_by_side_" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    std::ifstream in(std::string(KVX_SOURCE_DIR) + "/tests/eclipses/fixtures/occultation_stars.dat", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::ofstream(scratch / "OCCINP8.DAT", std::ios::binary) << bytes.str();
    std::int32_t selected = -1;
    std::shared_ptr<const TStarCatalogue> loaded = LoadStarCatalogue(scratch.string(), 1, selected).Catalogue;
    if (!loaded) return loaded;
    std::ofstream stars(scratch / "sefstars.txt");
    TMatrix33 toJ2000;
    PrecessionMatrixEquatorial(toJ2000, -0.5, 0.0);
    for (std::int32_t i = 1; i <= loaded->Count(); ++i) {
      const tsterndatensatz& star = loaded->Star(i);
      double ra = 0, dec = 0, x = 0, y = 0, z = 0, r = 0;
      StarPlaceAtEpoch(star.RightAscension, star.Declination, star.ProperMotionRA, star.ProperMotionDec, 0.26, ra, dec);
      PolarToCartesian(x, y, z, 1.0, dec, ra);
      MatrixTimesVector(toJ2000, x, y, z);
      CartesianToPolar(r, dec, ra, x, y, z);
      const double hours = ra / 15, degrees = std::fabs(dec);
      char line[256];
      std::snprintf(line, sizeof line, "Star%d,s%d,2000,%02d,%02d,%09.6f,%c%02d,%02d,%08.5f,0,0,0,0,%.2f,0,0\n", i, i,
                    static_cast<int>(hours), static_cast<int>(std::fmod(hours * 60, 60)), std::fmod(hours * 3600, 60),
                    dec < 0 ? '-' : '+', static_cast<int>(degrees), static_cast<int>(std::fmod(degrees * 60, 60)),
                    std::fmod(degrees * 3600, 60), star.Magnitude100 / 100.0);
      stars << line;
    }
    folder = scratch.string();
    return loaded;
  }();
  sweFolder = folder;
  return catalogue;
}

// The stars of the test catalogue that the Moon hides as seen from Berlin in
// 2026-2027 (the reference of the occultation tests): the library's search
// then finds the next one within weeks of the year's end rather than
// scanning years ahead.
std::vector<std::int32_t> BerlinStars(const TStarCatalogue& catalogue) {
  std::ifstream in(std::string(KVX_SOURCE_DIR) + "/tests/eclipses/fixtures/lunar_occultations_swe.tsv");
  std::vector<std::string> names;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("Berlin\t", 0) != 0) continue;
    const std::size_t tab = line.find('\t', 7);
    names.push_back(line.substr(7, std::min<std::size_t>(tab - 7, 11)));
  }
  std::vector<std::int32_t> stars;
  for (std::int32_t i = 1; i <= catalogue.Count(); ++i) {
    for (const std::string& name : names) {
      if (catalogue.Star(i).Name == name) {
        stars.push_back(i);
        break;
      }
    }
  }
  return stars;
}

// Each star searched alone over 2026 at Berlin: on one search object (the
// program keeps one, and the Moon's fits of the year serve every star) or
// on a new object per star.
void OneStarOccultations(benchmark::State& state) {
  const bool elp = state.range(0) == 1;
  const bool oneObject = state.range(1) == 1;
  std::string sweFolder;
  const std::shared_ptr<const TStarCatalogue> catalogue = TestCatalogue(sweFolder);
  if (!catalogue) {
    state.SkipWithError("test star catalogue not found");
    return;
  }
  const std::vector<std::int32_t> stars = BerlinStars(*catalogue);
  swe_set_ephe_path(sweFolder.c_str());
  swe_set_delta_t_userdef(kDeltaT / 86400);
  TSearchContext context;
  context.Selection = test::PlanetAndMoonTheory(0, elp ? 1 : 0);
  constexpr double kJd0 = 2461041.5, kJd1 = 2461406.5;  // 2026
  auto record = [](double jd) {
    TObserverRecord r;
    r.Longitude = -13.4;
    r.Latitude = 52.5;
    r.DeltaTSeconds = kDeltaT;
    r.Mjd = jd - 2400000.5;
    UTToLocalTime(r);
    return r;
  };
  state.counters["stars"] = static_cast<double>(stars.size());
  WholeSearch(
      state,
      [&] {
        auto kept = std::make_unique<tsternbedeckung>(catalogue);
        int events = 0;
        for (const std::int32_t star : stars) {
          if (!oneObject) kept = std::make_unique<tsternbedeckung>(catalogue);
          TLunarOccultationOptions options;
          options.SelectedStar = star;
          kept->rechnen(context, record(kJd1), record(kJd0), options);
          events += static_cast<int>(kept->ergebnisse.Count());
        }
        return events;
      },
      [&] {
        double geopos[3] = {13.4, 52.5, 0.0};
        int events = 0;
        for (const std::int32_t star : stars) {
          char name[32];
          std::snprintf(name, sizeof name, ",s%d", star);
          double jd = kJd0;
          while (jd < kJd1) {
            double tret[10] = {}, attr[20] = {};
            char error[256];
            const int flag =
                swe_lun_occult_when_loc(jd, 0, name, SEFLG_MOSEPH | SE_ECL_ONE_TRY, geopos, tret, attr, 0, error);
            if (flag < 0 || tret[0] > kJd1) break;
            if (flag > 0 && tret[1] > jd && tret[1] < kJd1) ++events;
            jd = std::max({jd + 20.0, tret[0] + 2.0, tret[4] + 2.0});
          }
        }
        return events;
      });
}
BENCHMARK(OneStarOccultations)
    ->ArgNames({"elp", "one_object"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace kvx
