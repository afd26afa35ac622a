// ttransitsuche: the instants at which a surface feature of Mars, Jupiter
// or Saturn crosses the central meridian of the planet's disc as seen from
// the Earth, over the table period (table kind 82).
//
// The period is walked in steps of 0.05 days (1.2 h). At each step's start
// the central-meridian longitude CM (degrees, west) of the chosen rotation
// system comes from the planet's physical ephemeris for the place the
// observer sees: light time and aberration, mean equator of date (no
// nutation; the rotation model takes it to J2000), topocentric;
// a feature at longitude L crosses the central meridian
// (L - CM mod 360) / rate days later, and only crossings less than 1.2 h
// after the step's start belong to that step, so every transit is listed
// once. Rates (degrees per day): Mars 350.891983, Jupiter System I 877.9,
// System II 870.27, Saturn System I 844.3, System III 810.7939024.
//
// Times: MJD of UT, local date and hours of the observer's zone.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "engine/body_settings.h"
#include "engine/table_sink.h"
#include "theories/theory_types.h"

namespace kvx {

// The feature chosen in the dialog: the rotation system (0 Mars, 1 Jupiter
// System I, 2 Jupiter System II, 3 Saturn System I, 4 Saturn System III),
// the feature's longitude in each system (degrees) and its name in each
// (at most 50 characters).
struct TFeatureTransitSettings {
  std::int32_t system = 2;
  std::array<double, 5> longitude{};
  std::array<std::string, 5> name;
};

// The rotation rate of a system, degrees per day (Mars for an index out of
// range).
double MeridianRotationRate(int system);

// One transit: the record of its instant (Mjd UT, local date and hours).
struct TMeridianTransitRow {
  TObserverRecord Observer;
};

class ttransitsuche {
 public:
  ttransitsuche(const TObserverRecord& start, const TObserverRecord& end, const TFeatureTransitSettings& feature,
                const TTableConfigRecord& config, TTheorySelection selection, std::int32_t vsopLevel,
                std::uint8_t apparentSiderealTime, const TBodySettings& body);

  // The central-meridian longitude of the chosen system at the record's
  // instant (the record completed here) as seen from the record's place,
  // degrees [0, 360); false when the planet has no place.
  bool rechnen(TObserverRecord& observer, double& cm) const;
  // The transit times (hours after the instant, -1 none) of a feature at L
  // for CM and the rate: at most four, only those under 1.2 h.
  static void reduzieren(double L, double cm, double rate, double hours[4]);
  // The time loop with progress and cancel; at most 16382 rows. False
  // after a cancel (Stopped set; the transits found before it are kept).
  bool schleife(bool showProgress);
  // The table into the sheet (one row per day) or the grid.
  void paint(TSheet* sheet, tmystringgrid* grid, std::uint8_t toSheet, const TTableOutputSettings& settings);
  void paintdms(TCellSink& sink);

  const std::vector<TMeridianTransitRow>& Rows() const { return rows_; }
  const std::string& FeatureName() const { return name_; }
  double FeatureLongitude() const { return longitude_; }
  std::uint8_t Stopped = 0;

 private:
  TObserverRecord start_, end_;
  TFeatureTransitSettings feature_;
  TTableConfigRecord config_;
  TTheorySelection selection_;
  std::int32_t vsopLevel_ = -1;
  std::uint8_t apparent_ = 1;
  TBodySettings body_;  // the planets' language and settings; the heading's language
  int system_ = 0;
  double longitude_ = 0;
  std::string name_;
  std::vector<TMeridianTransitRow> rows_;
};

}  // namespace kvx
