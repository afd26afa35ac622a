#include "theories/observer_completion.h"

#include <cmath>
#include <limits>

#include "core/frames.h"
#include "core/sun_longitude.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "platform/messages.h"
#include "theories/planet_positions.h"
#include "theories/sun_position.h"

namespace kvx {
namespace {

constexpr double kOneHourInCenturies = 0.0000011407711613050422;
constexpr double kFirstPositionFileJd = 2415020.0;
constexpr double kLatestEndJd = 5373484.4583;
constexpr double kFirstSatelliteJd = 2435840.0;

// Julian day (UT) of a record's local date and time, the record untouched.
double RecordJulianDay(TObserverRecord r) {
  LocalTimeToUT(r);
  return MjdToJd(r.Mjd);
}

void Apply(TEphemerisPeriodState& state, TTheorySelection selection) {
  if (state.ApplyTheorySelection) {
    state.ApplyTheorySelection(selection);
  } else {
    state.Selection = selection;
  }
}

// The position files cover 1900 Jan 0.5 to three days before their last
// date; outside that the planets come from the internal series.
void CheckPositionFiles(TEphemerisPeriodState& state, const TObserverRecord& r) {
  const double jd = RecordJulianDay(r);
  if (kFirstPositionFileJd <= jd && jd <= state.PositionFilesLastJd - 3) return;
  TTheorySelection internal = state.Selection;
  internal.bytes[0] = kPlanetTheoryInternal;
  Apply(state, internal);
  if (state.ShowMessages != 0) {
    ShowMessage(
        "Zeitraum für Ephemeride überschreitet die Datenbank mit Ephemeriden. Kandrevoltinex 4.6 schaltet auf die "
        "Newcomb-Theorien um.",
        "No positions for this date in the position-files. Kandrevoltinex 4.6 uses newcomb-theories.",
        MessageIcon::Error);
  }
}

// The integration database needs 2003 days of lead and three days at its end.
void CheckIntegrationDatabase(TEphemerisPeriodState& state, const TObserverRecord& r) {
  if (state.IntegrationDatabase == 0) return;
  const double jd = RecordJulianDay(r);
  if (state.IntegrationDatabaseFirstJd + 2003 < jd && jd <= state.IntegrationDatabaseLastJd - 3) return;
  state.IntegrationDatabase = 0;
  if (state.ShowMessages != 0) {
    ShowMessage(
        "Zeitraum für Ephemeride überschreitet die Datenbank mit Ephemeriden für numerische Integrationen. "
        "Kandrevoltinex 4.6 berechnet die Positionen der störenden Körper daher wieder konventionell.",
        "No positions for this date in the position-files for numerical integrations. Kandrevoltinex 4.6 ignores "
        "databses.",
        MessageIcon::Error);
  }
}

}  // namespace

namespace {

// The instant, the Sun and the frames of date: every field the places of a
// body read. The same steps as the whole completion, which adds the rest.
void CompleteInstant(TTheorySelection selection, const TTableConfigRecord& config, std::int32_t sunMode,
                     TObserverRecord& r, const PositionFileHandles& handles) {
  LocalTimeToUT(r);
  UTToLocalTime(r);
  if (r.AutoDeltaT != 0) r.DeltaTSeconds = DeltaT(MjdToJd(r.Mjd));
  r.DerivedLatitude = r.Latitude;
  r.DerivedYear = r.Year;
  const double T = JulianCenturiesJ2000(MjdToJd(r.Mjd) + r.DeltaTSeconds / 86400.0);
  r.Centuries = T;
  PrecessionMatrixEquatorial(r.Precession, -0.5, T);

  SunPosition(handles, selection, r.SunLongitude, T, r.SunLatitude, r.SunDistance, r.SunX, r.SunY, r.SunZ, r.SunVX,
              r.SunVY, r.SunVZ, sunMode);

  r.Obliquity = 23.43929111 - (46.815 * T + 0.00059 * T * T - 0.001813 * T * T * T) / 3600.0;
  r.SinObliquity = SinDeg(r.Obliquity);
  r.CosObliquity = CosDeg(r.Obliquity);

  if (AnyOfFourColumns(config) != 0) {
    double L, B, dist, vx, vy, vz;
    SunPosition(handles, selection, L, T + kOneHourInCenturies, B, dist, r.SunX1h, r.SunY1h, r.SunZ1h, vx, vy, vz,
                sunMode);
  } else {
    r.SunX1h = r.SunX;
    r.SunY1h = r.SunY;
    r.SunZ1h = r.SunZ;
  }
}

// A clamped end: the end record's automatic length (whole days and packed
// hours) becomes the period as it now stands, so that the length the
// records hold, and a configuration saves, gives the clamped end again.
void StoreClampedLength(const TObserverRecord& start, TObserverRecord& end) {
  const double days = end.Mjd - start.Mjd;
  if (!(days >= 0) || !(days < 2147483647.0)) return;
  const double whole = std::floor(days);
  end.PeriodDays = static_cast<std::int32_t>(whole);
  end.PeriodHours = DegToDmsPacked((days - whole) * 24.0);
}

}  // namespace

void CompleteObserverRecord(std::uint8_t apparent, TTheorySelection selection, const TTableConfigRecord& config,
                            std::int32_t sunMode, TObserverRecord& r, const PositionFileHandles& handles) {
  CompleteInstant(selection, config, sunMode, r, handles);
  r.SiderealHours = LocalSiderealTime(apparent, r.Mjd, r.Longitude);
  const double T = r.Centuries;

  const double phi = r.Latitude;
  GeocentricLatitudeAndRadius(r.GeocentricLatitude, r.GeocentricRadius, phi, r.Height);
  r.SinLatitude = SinDeg(phi);
  r.CosLatitude = CosDeg(phi);

  // The annual-aberration velocity: the Sun's apparent motion, the same
  // rates the light-time displacement takes.
  SunApparentVelocity(r.EarthVX, r.EarthVY, r.EarthVZ, T, r.SunLongitude, r.SunLatitude, r.SunDistance);

  ApparentSunEquatorial(r.SunApparentRA, r.SunApparentDec, r.SunLongitude, r.SunLatitude, r.SunDistance, T);
}

void CompleteObserverInstant(TTheorySelection selection, const TTableConfigRecord& config, std::int32_t sunMode,
                             TObserverRecord& r, const PositionFileHandles& handles) {
  CompleteInstant(selection, config, sunMode, r, handles);
  constexpr double kNotComputed = std::numeric_limits<double>::quiet_NaN();
  r.SiderealHours = kNotComputed;
  r.GeocentricLatitude = r.GeocentricRadius = r.SinLatitude = r.CosLatitude = kNotComputed;
  r.EarthVX = r.EarthVY = r.EarthVZ = kNotComputed;
  r.SunApparentRA = r.SunApparentDec = kNotComputed;
}

void CheckEphemerisPeriod(TEphemerisPeriodState& state) {
  TObserverRecord& start = state.Start;
  TObserverRecord& end = state.End;
  state.YearChanged = start.Year != state.RememberedYear ? 1 : 0;

  if (state.Selection.PlanetTheory() == kPlanetTheoryPositionFiles) CheckPositionFiles(state, start);

  if (state.AutoEnd != 0) {
    end.Mjd = AutomaticEndMjd(start, end);
    UTToLocalTime(end);
  } else {
    LocalTimeToUT(end);
  }

  if (MjdToJd(end.Mjd) > kLatestEndJd) {
    end.Mjd = JdToMjd(kLastTableJulianDay);
    UTToLocalTime(end);
    StoreClampedLength(start, end);
    if (state.ShowMessages != 0) {
      ShowMessage("Das Enddatum der Ephemeride wurde auf JD 5373484 herabgesetzt.",
                  "The end date of the ephemeris was set down to JD 5373484.", MessageIcon::Error);
    }
  }

  // A step that is not positive cannot count rows; the row limit then has
  // nothing to bound.
  const double stepDays = state.Step.StepDays;
  if (stepDays > 0 && (end.Mjd - start.Mjd) / stepDays > kMaxTableSteps) {
    end.Mjd = start.Mjd + (kMaxTableSteps - 1) * stepDays;
    UTToLocalTime(end);
    // The shortened end stands as a date of its own: the automatic end goes
    // off, and the length the records hold is the shortened one, should the
    // user switch it on again.
    StoreClampedLength(start, end);
    state.AutoEnd = 0;
    SetAutoEndSwitch(end, 0);
    state.SecondPeriodFlag = 0;
    ShowMessage("Zu viele Tabellenwerte. Das Enddatum für Ephemeride wurde herabgesetzt.",
                "To much table entries. The Enddate for the ephemeris was set down.", MessageIcon::Error);
  }

  if (state.Selection.PlanetTheory() == kPlanetTheoryPositionFiles) CheckPositionFiles(state, end);

  if (state.IntegrationDatabase != 0) {
    CheckIntegrationDatabase(state, start);
    CheckIntegrationDatabase(state, end);
  }

  CompleteObserverRecord(state.ApparentSiderealTime, state.Selection, state.TableConfig, state.SunMode, start,
                         state.PositionFiles);
  state.TheoryInRange = DateInTheoryRange(state.Selection, start.Centuries) ? 1 : 0;
  if (state.UpdateStatusLine) state.UpdateStatusLine();
  CompleteObserverRecord(state.ApparentSiderealTime, state.Selection, state.TableConfig, state.SunMode, end,
                         state.PositionFiles);

  state.SatellitesEnabled =
      JdToMjd(kFirstSatelliteJd) <= start.Mjd && start.Mjd <= state.SatelliteReferenceMjd + 36525.0 ? 1 : 0;
}

}  // namespace kvx
