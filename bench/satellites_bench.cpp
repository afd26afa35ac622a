// Propagations per second of the near-earth (SGP4) and deep-space (SDP4)
// models, and of the whole chain to look angles and the shadow test.
#include <benchmark/benchmark.h>

#include "theories/satellite_look.h"
#include "theories/sgp4.h"
#include "theories/tle.h"

namespace {

using namespace kvx;

void LoadSet(int slot, const char* line1, const char* line2) {
  SatelliteTable[slot] = {line1, line2};
  LoadTwoLineElements(slot);
}

void LoadNearEarth() {
  LoadSet(1, "1 25544U 98067A   24079.50000000  .00016717  00000-0  29640-3 0  9993",
          "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.49815328444445");
}

// Molniya orbit: 12-hour resonance, the most expensive deep-space case.
void LoadDeepSpace() {
  LoadSet(2, "1 40296U 14071A   24079.25000000  .00000120  00000-0  10000-3 0  9990",
          "2 40296  63.4000 120.5000 7200000 270.0000  30.0000  2.00607000 68004");
}

void Propagate(benchmark::State& state) {
  TVectorXYZR r, v;
  double minutes = 0.0;
  for (auto _ : state) {
    minutes += 1.0;
    TSatelliteError error = SgpElements.deepSpace != 0
                                ? Sdp4Propagate(SgpElements.newElements, r, v, minutes)
                                : Sgp4Propagate(SgpElements.newElements, r, v, minutes);
    benchmark::DoNotOptimize(error);
    benchmark::DoNotOptimize(r);
    if (minutes > 2880.0) minutes = 0.0;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_Sgp4Propagation(benchmark::State& state) {
  LoadNearEarth();
  Propagate(state);
}
BENCHMARK(BM_Sgp4Propagation);

void BM_Sdp4Propagation(benchmark::State& state) {
  LoadDeepSpace();
  Propagate(state);
}
BENCHMARK(BM_Sdp4Propagation);

// Load, propagate, look angles, sub-point and shadow: one row of a satellite table.
void BM_SatelliteTableRow(benchmark::State& state) {
  TSatObserver observer;
  SatObserverFromPlace(observer, 48.1375, -11.575, 520.0);
  LoadNearEarth();
  double jd = SgpElements.epochJulianDate;
  for (auto _ : state) {
    jd += 1.0 / 1440.0;
    TVectorXYZR r, v;
    SatellitePropagate(r, v, jd);
    SatStateToKilometres(r, v);
    TSatObservation look;
    SatelliteLookAngles(r, v, observer, jd, look, true);
    TSatGeodetic sub;
    SatelliteSubPoint(r, sub, jd);
    benchmark::DoNotOptimize(SatelliteInShadow(r, jd));
    benchmark::DoNotOptimize(look);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SatelliteTableRow);

}  // namespace
