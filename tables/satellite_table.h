// The tables of the Earth satellites loaded from two-line element sets
// (theories/tle.h): the ephemeris of the current satellite over the table
// period, and every loaded satellite at one instant.
//
// Time: every instant is UT (the time scale of the element epochs).
// Angles in degrees. Azimuths count from the south through the west like
// every horizontal azimuth of the program; the main window's azimuth
// origin is added when written. Sub-point longitude east negative in
// [-180, 180]; range and heights in km. Right ascension is topocentric in
// the propagator's frame (true equator, mean equinox of date); the hour
// angle is taken against the sidereal angle of the same frame, so it is
// the hour angle of date.
//
// A satellite is "not computable" at an instant when its slot holds no
// set, the instant lies more than the epoch window from the set's epoch,
// or the propagator reports an error (decay, divergence). Nothing of such a
// step is shown but the text "Nicht berechenbar" / "Not computable".
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/ephemeris_table.h"
#include "theories/satellite_look.h"
#include "theories/tle.h"

namespace kvx {

// Default of the epoch window, days before and after the element epoch.
inline constexpr std::int32_t kDefaultEpochWindowDays = 1000;
inline constexpr std::int32_t kMaxEpochWindowDays = 36500;

// The satellite settings the main window keeps (edited by the selection
// dialog).
struct TSatelliteSettings {
  std::int32_t EpochWindowDays = kDefaultEpochWindowDays;
  // 0 always, 1 civil, 2 nautical, 3 astronomical twilight.
  std::uint8_t TwilightChoice = 0;
  // Degrees added to shown azimuths (the main window's azimuth origin);
  // copied in before the search dialog opens.
  double AzimuthOrigin = 0;
};

// Sun's altitude below which the sky is dark, by twilight choice 0..3 (90,
// -6, -12, -18); a choice outside gives 90.
double TwilightLimit(std::uint8_t choice);

// One satellite at one instant.
struct TSatelliteResult {
  double RightAscension = 0;      // degrees, [0, 360)
  double Declination = 0;         // degrees
  double Elevation = 0;           // degrees
  double Azimuth = 0;             // degrees from the south, [0, 360)
  double Range = 0;               // km
  double RangeRate = 0;           // km/s
  double ShadowDistance = 0;      // km, negative inside the shadow cone
  double Latitude = 0;            // sub-point, degrees
  double Longitude = 0;           // sub-point, degrees, east negative
  double Height = 0;              // sub-point height, km
  double LocalSiderealHours = 0;  // of the instant at the observer
  std::uint8_t Lit = 0;
  std::uint8_t Computable = 0;
};

// The hour angle of a result, degrees in [0, 360).
double SatelliteHourAngle(const TSatelliteResult& result);

// The sub-point longitude as shown: east negative, in [-180, 180], from
// an east longitude in radians.
double ShownSubPointLongitude(double eastRadians);

// Computes satellite `slot` (1..500) at a Julian date (UT) for the observer:
// false (Computable 0, nothing else set) when the slot holds no set, the
// date lies more than `epochWindowDays` from the set's epoch or the
// propagation fails. Loads the set into the propagator.
bool ComputeSatellite(int slot, double julianDate, const TSatObserver& observer, double epochWindowDays,
                      bool refraction, TSatelliteResult& result);

class Tsatellitenephfenster : public TKeplereph {
 public:
  static constexpr int kSlots = kSatelliteSlots;

  // The request's records with the default tolerance and no planet theory
  // level; then initialisieren.
  Tsatellitenephfenster(const TTableRequest& request, TSheet* sheet);

  // The records, the language and the date list again, the row count 0 and
  // the satellite observer from the start record's place (the main window
  // keeps the object between runs).
  void initialisieren(const TTableRequest& request);

  // False with the message "Keine Satellitenbahnelemente geladen." when no
  // set is loaded or (with `current`) the current satellite names no
  // loaded set.
  bool CheckSatellites(bool current) const;

  // One step of the current satellite into Result.Satellite.
  void rechnen(TComputeSettingsBlock settings) override;
  bool ElementsUsable(std::string* german = nullptr, std::string* english = nullptr) const override;

  // Every loaded satellite at the instant of `observer` (local time; its UT
  // is taken) into Results, with progress and cancel. Nothing without
  // loaded sets. Returns false when cancelled (Stopped set); AllComputed
  // counts the satellites done, and paintall writes only those.
  bool allsatellites(TObserverRecord observer, TComputeSettingsBlock settings);

  // The ephemeris table (kind 880) and the all-satellites table (kind 881);
  // non-zero toSheet writes the sheet, otherwise the grid twin.
  void paint(std::uint8_t toSheet) override;
  virtual void paint_grid();
  void paintall(std::uint8_t toSheet);
  void paintall_grid();

  // The Sun's altitude at the observer for an instant, degrees, refracted
  // when the record asks for it.
  double SunAltitudeAt(const TObserverRecord& record, TComputeSettingsBlock settings) const;

  std::array<TSatelliteResult, kSlots + 1> Results{};
  std::int32_t AllComputed = 0;  // Results[1 .. AllComputed] are the last run's
  double AllSunAltitude = 0;
  TObserverRecord AllInstant;
  TSatObserver SatObserver;

  // Set by the main window before a table.
  std::int32_t SatelliteCount = 0;
  std::int32_t CurrentSatellite = 0;
  std::int32_t EpochWindowDays = kDefaultEpochWindowDays;

 private:
  void WriteStepRow(TCellSink& sink, int k, bool heading);
  void WriteAll(TCellSink& sink);
  // The nine value columns of one satellite, or their headings.
  void WriteValueColumns(TCellSink& sink, int row, int& col, bool heading, double elevation, double azimuth,
                         double hourAngleDeg, double range, double latitude, double longitude, double height,
                         const std::string& lighting, double sunAltitude);
};

}  // namespace kvx
