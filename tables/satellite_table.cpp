#include "tables/satellite_table.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/asteroid_elements.h"
#include "core/column_flags.h"
#include "core/data_format_slots.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/cell_format.h"
#include "engine/column_catalogue.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "theories/sgp4.h"
#include "theories/sun_position.h"

namespace kvx {

namespace {

namespace cf = column_flag;

// Rows of the column catalogue that the elevation, azimuth and hour-angle
// columns are, and the format slots of the value columns it does not hold.
constexpr int kElevationRow = 45;
constexpr int kAzimuthRow = 44;
constexpr int kHourAngleRow = 46;
constexpr int kRangeSlot = 184;
constexpr int kLatitudeSlot = 185;
constexpr int kLongitudeSlot = 186;
constexpr int kHeightSlot = 187;

std::string NotComputableText(std::uint8_t language) { return language != 0 ? "Not computable" : "Nicht berechenbar"; }

// The set last loaded here, as text and as the propagator took it: a set
// that is still loaded is not loaded again (loading makes the propagator
// initialise itself afresh, the larger part of one step's work).
struct TLoadedSet {
  TTleEntry entry;
  TSgpElements elements;
  bool valid = false;
};
TLoadedSet& LoadedSet() {
  static TLoadedSet loaded;
  return loaded;
}

bool SameElements(const TSgpElements& a, const TSgpElements& b) {
  return a.meanAnomaly == b.meanAnomaly && a.node == b.node && a.argPerigee == b.argPerigee &&
         a.inclination == b.inclination && a.eccentricity == b.eccentricity && a.meanMotion == b.meanMotion &&
         a.bstar == b.bstar && a.epoch == b.epoch && a.epochJulianDate == b.epochJulianDate &&
         a.deepSpace == b.deepSpace;
}

bool LoadSet(int slot) {
  const TTleEntry& entry = SatelliteTable[static_cast<std::size_t>(slot)];
  TLoadedSet& loaded = LoadedSet();
  if (loaded.valid && loaded.entry.line1 == entry.line1 && loaded.entry.line2 == entry.line2 &&
      SameElements(loaded.elements, SgpElements)) {
    return true;
  }
  loaded.valid = false;
  if (LoadTwoLineElements(slot) != kSatOk) return false;
  loaded.entry = entry;
  loaded.elements = SgpElements;
  loaded.valid = true;
  return true;
}

// The base table's records: the tolerance of every table, no planet theory
// level.
TTableRequest SatelliteTableRequest(const TTableRequest& table) {
  TTableRequest request = table;
  request.Accuracy = TAccuracySettings{1e-10L, -1, -1};
  return request;
}

}  // namespace

double TwilightLimit(std::uint8_t choice) {
  switch (choice) {
    case 1:
      return -6.0;
    case 2:
      return -12.0;
    case 3:
      return -18.0;
    default:
      return 90.0;
  }
}

double SatelliteHourAngle(const TSatelliteResult& r) { return Mod360(r.LocalSiderealHours * 15.0 - r.RightAscension); }

double ShownSubPointLongitude(double eastRadians) {
  double longitude = -eastRadians * kRadToDeg;
  while (longitude > 180.0) longitude -= 360.0;
  while (longitude < -180.0) longitude += 360.0;
  return longitude;
}

bool ComputeSatellite(int slot, double julianDate, const TSatObserver& observer, double epochWindowDays,
                      bool refraction, TSatelliteResult& result) {
  result.Computable = 0;
  if (slot < 1 || slot > kSatelliteSlots || SatelliteTable[static_cast<std::size_t>(slot)].line1.empty()) {
    return false;
  }
  if (!LoadSet(slot)) return false;
  const double epoch = SgpElements.epochJulianDate;
  if (!(std::fabs(julianDate - epoch) <= epochWindowDays)) return false;

  TVectorXYZR position, velocity;
  if (SatellitePropagate(position, velocity, julianDate) != kSatOk) return false;
  SatStateToKilometres(position, velocity);
  const double shadow = SatelliteInShadow(position, julianDate);
  TSatGeodetic sub;
  SatelliteSubPoint(position, sub, julianDate);
  TSatObservation look;
  SatelliteTopocentric(position, velocity, observer, julianDate, look, refraction);
  double ra = 0, dec = 0;
  SatelliteRaDecFromLook(look, observer, julianDate, ra, dec);

  TSatelliteResult r;
  r.ShadowDistance = shadow;
  r.Lit = SatelliteEclipsed != 0 ? 0 : 1;
  r.Latitude = sub.latitude * kRadToDeg;
  r.Longitude = ShownSubPointLongitude(sub.longitude);
  r.Height = sub.height;
  r.Azimuth = Mod360(look.azimuth * kRadToDeg + 180.0);
  r.Elevation = look.elevation * kRadToDeg;
  r.Range = look.range;
  r.RangeRate = look.rangeRate;
  r.RightAscension = Mod360(ra * kRadToDeg);
  r.Declination = dec * kRadToDeg;
  r.LocalSiderealHours = Mod360((GreenwichSiderealAngle(julianDate) + observer.longitude) * kRadToDeg) / 15.0;
  const double values[] = {r.ShadowDistance, r.Latitude, r.Longitude, r.Height,         r.Azimuth,
                           r.Elevation,      r.Range,    r.RangeRate, r.RightAscension, r.Declination};
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  r.Computable = 1;
  result = r;
  return true;
}

// ------------------------------------------------------------------ table

Tsatellitenephfenster::Tsatellitenephfenster(const TTableRequest& request, TSheet* sheet)
    : TKeplereph(SatelliteTableRequest(request), sheet) {
  initialisieren(request);
  Stopped = 0;
}

void Tsatellitenephfenster::initialisieren(const TTableRequest& request) {
  TakePeriod(request);
  Rows = 0;
  Stopped = 0;
  SetBodySettings(BodySettingsOf(request));
  DateListMode = request.DateListMode;
  JulianDateList = request.JulianDateList;
  ProgressCaption =
      request.Language != 0 ? "Computing positions of the satellite" : "Berechne Positionen des Satelliten";
  SatObserverFromPlace(SatObserver, request.Start.Latitude, request.Start.Longitude, request.Start.Height);
}

bool Tsatellitenephfenster::CheckSatellites(bool current) const {
  bool ok = SatelliteCount > 0;
  if (ok && current) {
    ok = CurrentSatellite >= 1 && CurrentSatellite <= SatelliteCount && CurrentSatellite <= kSlots &&
         !SatelliteTable[static_cast<std::size_t>(CurrentSatellite)].line1.empty();
  }
  if (!ok) {
    ShowMessage("Keine Satellitenbahnelemente geladen.", "No satellite elements loaded.", MessageIcon::Error);
  }
  return ok;
}

bool Tsatellitenephfenster::ElementsUsable(std::string*, std::string*) const { return true; }

double Tsatellitenephfenster::SunAltitudeAt(const TObserverRecord& record, TComputeSettingsBlock settings) const {
  // The sidereal time of the altitude routine follows its T: UT here.
  const double t = (MjdToJd(record.Mjd) - 2451545.0) / 36525.0;
  double altitude =
      SunAltitude(1, settings, t, record.Latitude, record.Longitude, TheorySelection, Accuracy.VsopLevelA, 0);
  if (record.RefractionOn != 0) altitude = Refraction(altitude, record.Pressure, record.Temperature);
  return altitude;
}

void Tsatellitenephfenster::rechnen(TComputeSettingsBlock settings) {
  const double jd = MjdToJd(Observer.Mjd);
  TSatelliteRowBlock& row = Result.Satellite;
  row = TSatelliteRowBlock{};
  row.SunAltitude = SunAltitudeAt(Observer, settings);
  if (CurrentSatellite < 1 || CurrentSatellite > kSlots) return;
  TSatelliteResult& r = Results[static_cast<std::size_t>(CurrentSatellite)];
  if (!ComputeSatellite(CurrentSatellite, jd, SatObserver, EpochWindowDays, Observer.RefractionOn != 0, r)) {
    r.Computable = 0;
    return;
  }
  row.Sign = 1;
  row.Range = r.Range;
  row.Height = r.Height;
  row.Latitude = r.Latitude;
  row.Longitude = r.Longitude;
  row.RightAscension = r.RightAscension;
  row.HourAngle = r.LocalSiderealHours - r.RightAscension / 15.0;
  row.Elevation = r.Elevation;
  row.Azimuth = r.Azimuth;
  row.Lit = r.Lit;
}

bool Tsatellitenephfenster::allsatellites(TObserverRecord observer, TComputeSettingsBlock settings) {
  Stopped = 0;
  AbortRequested = 0;
  AllComputed = 0;
  if (SatelliteCount < 1) return true;
  LocalTimeToUT(observer);
  UTToLocalTime(observer);
  AllInstant = observer;
  SatObserverFromPlace(SatObserver, observer.Latitude, observer.Longitude, observer.Height);
  AllSunAltitude = SunAltitudeAt(observer, settings);
  const double jd = MjdToJd(observer.Mjd);
  const int count = std::min(SatelliteCount, kSlots);
  const double increment = 100.0 / (count + 1);
  {
    ProgressSession session(CurrentProgress(), ProgressCaption, 100);
    ProgressReporter& progress = session.Reporter();
    for (int s = 1; s <= count; ++s) {
      progress.Step(static_cast<int>(s * increment));
      progress.ProcessEvents();
      TSatelliteResult& r = Results[static_cast<std::size_t>(s)];
      if (!ComputeSatellite(s, jd, SatObserver, EpochWindowDays, observer.RefractionOn != 0, r)) r.Computable = 0;
      AllComputed = s;
      if (AbortRequested != 0) break;
    }
  }
  if (AbortRequested != 0) {
    AbortRequested = 0;
    Stopped = 1;
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- writers

void Tsatellitenephfenster::WriteValueColumns(TCellSink& sink, int row, int& col, bool heading, double elevation,
                                              double azimuth, double hourAngleDeg, double range, double latitude,
                                              double longitude, double height, const std::string& lighting,
                                              double sunAltitude) {
  auto cell = [&](TCellFamily family, int slot, double value) {
    const int c = col++;
    if (heading) {
      WriteHeadingCell(sink, row, c, slot, TableConfig.ColumnTitles[static_cast<std::size_t>(slot)], true);
    } else {
      sink.Value(family, row, c, slot, value);
    }
  };
  auto catalogueCell = [&](int catalogueRow, double value) {
    const TColumnDescriptor& d = CatalogueColumn(catalogueRow);
    cell(d.Family, d.Slot, value);
  };
  catalogueCell(kElevationRow, elevation);
  catalogueCell(kAzimuthRow, Mod360(OutputSettings.AzimuthOrigin + azimuth));
  catalogueCell(kHourAngleRow, hourAngleDeg);
  cell(TCellFamily::Number, kRangeSlot, range);
  cell(TCellFamily::Angle, kLatitudeSlot, latitude);
  cell(TCellFamily::Angle, kLongitudeSlot, longitude);
  cell(TCellFamily::Number, kHeightSlot, height);
  const int c = col++;
  if (heading) {
    WriteHeadingCell(sink, row, c, 0, Language != 0 ? "Visibility" : "Sichtbarkeit", true);
  } else {
    sink.Text(row, c, lighting);
  }
  cell(TCellFamily::Angle, kSlotSunAltitude, sunAltitude);
}

void Tsatellitenephfenster::WriteStepRow(TCellSink& sink, int k, bool heading) {
  const TEphemerisResultRecord& r = RowStore.Row(k - 1);
  const TSatelliteRowBlock& s = r.Satellite;
  const int row = OutputRow;
  int col = OutputColumn++;
  if (heading) {
    const std::size_t slot = static_cast<std::size_t>(std::clamp(CurrentSatellite, 0, kSlots));
    WriteHeadingCell(sink, row, col, 0, SatelliteNames[slot], true);
  } else {
    sink.Date(row, col, 0, r.Year, r.Month, r.Day);
  }
  WriteTimeColumns(sink, row, r, heading);
  if (!heading && s.Sign < 0) {
    sink.Text(row, OutputColumn++, NotComputableText(Language));
    return;
  }
  const bool english = Language != 0;
  const std::string lighting =
      s.Lit != 0 ? (english ? "not eclipsed" : "Beleuchtet") : (english ? "eclipsed" : "Unbeleuchtet");
  col = OutputColumn;
  WriteValueColumns(sink, row, col, heading, s.Elevation, s.Azimuth, HourAngleDegrees(s.HourAngle), s.Range, s.Latitude,
                    s.Longitude, s.Height, lighting, s.SunAltitude);
  OutputColumn = col;
}

void Tsatellitenephfenster::paint(std::uint8_t toSheet) {
  WriteRowsToOutput(toSheet != 0, 0, [this](TCellSink& s, int k, bool heading) { WriteStepRow(s, k, heading); });
}

void Tsatellitenephfenster::paint_grid() { paint(0); }

void Tsatellitenephfenster::WriteAll(TCellSink& sink) {
  const int count = std::min({SatelliteCount, kSlots, AllComputed});
  if (count < 1) return;
  const bool english = Language != 0;
  std::string date, time;
  FormatDateForSlot(0, date, AllInstant.Year, AllInstant.Month, AllInstant.Day);
  FormatTimeOfDayForSlot(1, time, AllInstant.LocalHours);
  sink.Text(1, 1, date + " " + time);
  sink.Width(1, 0);
  int col = 2;
  WriteValueColumns(sink, 1, col, true, 0, 0, 0, 0, 0, 0, 0, std::string(), 0);
  int lastCol = col - 1;
  ProgressSession session(CurrentProgress(), english ? "Formatting table" : "Tabelle wird formatiert", 100);
  const double increment = 100.0 / (count + 1);
  for (int s = 1; s <= count; ++s) {
    session.Reporter().Step(static_cast<int>(s * increment));
    session.Reporter().ProcessEvents();
    const int row = s + 1;
    const TSatelliteResult& r = Results[static_cast<std::size_t>(s)];
    sink.Text(row, 1, SatelliteNames[static_cast<std::size_t>(s)]);
    if (r.Computable == 0) {
      sink.Text(row, 2, NotComputableText(Language));
    } else {
      const std::string lighting =
          r.Lit != 0 ? (english ? "Not eclipsed" : "Beleuchtet") : (english ? "Eclipsed" : "Unbeleuchtet");
      col = 2;
      WriteValueColumns(sink, row, col, false, r.Elevation, r.Azimuth, SatelliteHourAngle(r), r.Range, r.Latitude,
                        r.Longitude, r.Height, lighting, AllSunAltitude);
    }
    OutputRow = row;
    if (AbortRequested != 0) break;
  }
  AbortRequested = 0;
  OutputColumn = lastCol;
}

void Tsatellitenephfenster::paintall(std::uint8_t toSheet) {
  if (toSheet == 0) {
    paintall_grid();
    return;
  }
  if (OutputSheet == nullptr || SatelliteCount < 1) return;
  OutputSheet->SetColWidth(-1, -1, 800.0 / 256.0, true);
  TSheetSink sink(*OutputSheet);
  WriteAll(sink);
  CentreFirstRowAndFit(*OutputSheet);
}

void Tsatellitenephfenster::paintall_grid() {
  if (OutputGrid == nullptr || SatelliteCount < 1) return;
  const int count = std::min({SatelliteCount, kSlots, AllComputed});
  OutputGrid->SetRowCount(count + 2);
  OutputGrid->SetColCount(11);
  TGridSink sink(*OutputGrid, OutputSettings);
  WriteAll(sink);
  OutputGrid->SetRowCount(std::max(2, OutputRow + 1));
  OutputGrid->SetColCount(std::max(2, OutputColumn + 1));
}

}  // namespace kvx
