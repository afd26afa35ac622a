// The search for the next visible pass of an Earth satellite: from the
// instant of an observer record, 10-second steps (1/8640 day) for at most
// ten days, until the satellite stands above the horizon, lit by the Sun,
// in a sky dark enough for the chosen twilight limit.
//
// Time: the record's Mjd (UT) is stepped; its local date and time are
// brought up to date when a search or a step ends. The Sun's altitude of
// the test is the low-precision Sun with the mean sidereal time of the
// record (no refraction); the satellite is computed as the satellite
// tables compute it (tables/satellite_table.h).
//
// No Qt: the dialog calls Search, StepBack, StepForward and
// SelectSatellite, shows the result, and hands Progress a callback that
// pumps its events (and may set Cancelled).
#pragma once

#include <cstdint>
#include <functional>

#include "core/observer_record.h"
#include "tables/satellite_table.h"

namespace kvx {

class TSatelliteVisibilitySearch {
 public:
  static constexpr double kStepDays = 1.0 / 8640.0;
  static constexpr int kMaxSteps = 86400;
  static constexpr int kCallbackEvery = 40;

  enum class TOutcome { Found, NotFound, Cancelled };

  // Saves the record, takes the satellite and tests once (as SelectSatellite).
  void Activate(const TObserverRecord& record, int satellite);
  // Another satellite: the pass flag cleared, the record back to the saved
  // one, one test.
  void SelectSatellite(int satellite);
  // The record 10 s back or forward, one test.
  void StepBack();
  void StepForward();
  // Tests the record's instant; true when the satellite is visible.
  bool TestStep();
  // The search from the record's instant (see the file comment). Found:
  // the pass flag set, the record one step after the visible instant.
  // Not found or cancelled: the record restored to where the search began.
  TOutcome Search();

  // The Sun's altitude of the test at the record's instant, degrees.
  static double SunAltitudeLowPrecision(const TObserverRecord& record);

  TObserverRecord Record;
  TObserverRecord Saved;
  int Satellite = 1;
  double TwilightLimitDeg = 90.0;
  double EpochWindowDays = kDefaultEpochWindowDays;

  bool Cancelled = false;
  bool Dark = false;
  bool PassInProgress = false;

  // The last test's satellite and Sun.
  TSatelliteResult Last;
  double LastSunAltitude = 0;
  // Called with the Julian date at every kCallbackEvery-th step of a search
  // and at each single test.
  std::function<void(double)> Progress;

 private:
  bool Test(bool single);
};

}  // namespace kvx
