#include "tables/meridian_transit.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "core/data_format_slots.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/cell_format.h"
#include "engine/ephemeris_table.h"
#include "engine/planet.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "tables/places_of_date.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace {

constexpr double kSearchStepDays = 0.05;
constexpr double kStepHours = 1.2;

int PlanetOfSystem(int system) { return system == 0 ? 4 : system <= 2 ? 5 : 6; }

}  // namespace

double MeridianRotationRate(int system) {
  static constexpr double kRates[5] = {350.891983, 877.9, 870.27, 844.3, 810.7939024};
  return system >= 0 && system < 5 ? kRates[system] : kRates[0];
}

ttransitsuche::ttransitsuche(const TObserverRecord& start, const TObserverRecord& end,
                             const TFeatureTransitSettings& feature, const TTableConfigRecord& config,
                             TTheorySelection selection, std::int32_t vsopLevel, std::uint8_t apparentSiderealTime)
    : start_(start),
      end_(end),
      feature_(feature),
      config_(config),
      selection_(selection),
      vsopLevel_(vsopLevel),
      apparent_(apparentSiderealTime) {
  system_ = std::clamp<int>(feature.system, 0, 4);
  longitude_ = feature.longitude[static_cast<std::size_t>(system_)];
  name_ = feature.name[static_cast<std::size_t>(system_)];
}

bool ttransitsuche::rechnen(TObserverRecord& observer, double& cm) const {
  CompleteObserverRecord(apparent_, selection_, config_, vsopLevel_, observer);
  const int planet = PlanetOfSystem(system_);
  Tpla body(LanguageEnglish, selection_, 0, planet, config_, observer, 1e-10L);
  body.initialisieren(LanguageEnglish, selection_, planet, config_, observer, 1e-10L);
  GeometricPlacesOfDate(body, vsopLevel_);
  body.aequinoktium_reduktion();
  body.topozentr();
  // The disc as the observer sees it: the place of the planet (light time
  // and aberration) on the mean equator of date, without the nutation that
  // the rotation model's precession to J2000 would keep, moved by the
  // observer's parallax (the topocentric place less the geocentric one).
  TEphemerisResultRecord& result = body.Result;
  double x = result.AstrometricX, y = result.AstrometricY, z = result.AstrometricZ;
  EclipticToEquatorial(x, y, z, observer.Centuries);
  double tx = 0, ty = 0, tz = 0;
  PolarToCartesian(tx, ty, tz, result.TopoDistance, result.TopoDeclination, result.TopoRightAscension);
  TKeplerPosition& place = result.Position;
  place.EquatorialX = x + (tx - place.EquatorialX);
  place.EquatorialY = y + (ty - place.EquatorialY);
  place.EquatorialZ = z + (tz - place.EquatorialZ);
  body.physischeEphemeride();
  const TPhysicalBlock& p = body.Result.Physical;
  // Systems I (Mars, Jupiter I, Saturn I) take the first value, Jupiter II
  // and Saturn III the second.
  cm = (system_ == 2 || system_ == 4) ? p.centralMeridian2 : p.centralMeridian1;
  if (!std::isfinite(cm)) return false;
  cm = std::fmod(cm, 360.0);
  if (cm < 0) cm += 360.0;
  return true;
}

void ttransitsuche::reduzieren(double L, double cm, double rate, double hours[4]) {
  for (int i = 0; i < 4; ++i) hours[i] = -1;
  double D = std::fmod(L - cm, 360.0);
  if (D < 0) D += 360.0;
  for (int i = 0; i < 4 && D < rate && D / rate * 24.0 < kStepHours; ++i) {
    hours[i] = D / rate * 24.0;
    D += 360.0;
  }
}

bool ttransitsuche::schleife(bool showProgress) {
  rows_.clear();
  Stopped = 0;
  AbortRequested = 0;
  const double rate = MeridianRotationRate(system_);
  double expected = (end_.Mjd - start_.Mjd + 1.0) * rate / 360.0;
  expected = std::clamp(expected, 1.0, 16383.0);
  ProgressReporter& reporter = CurrentProgress();
  std::unique_ptr<ProgressSession> session;
  if (showProgress) session = std::make_unique<ProgressSession>(reporter, name_, 100);
  TObserverRecord work = start_;
  int lastPercent = -1;
  while (work.Mjd <= end_.Mjd && static_cast<int>(rows_.size()) < kMaxTableRows) {
    reporter.ProcessEvents();
    if (AbortRequested.load() != 0) {
      Stopped = 1;
      AbortRequested = 0;
      return false;
    }
    const int percent = static_cast<int>(std::min(100.0, rows_.size() * 100.0 / expected));
    if (percent != lastPercent) {
      reporter.Step(percent);
      lastPercent = percent;
    }
    UTToLocalTime(work);
    double cm = 0;
    if (rechnen(work, cm)) {
      double hours[4];
      reduzieren(longitude_, cm, rate, hours);
      for (int i = 0; i < 2; ++i) {
        if (hours[i] <= -0.5) continue;
        TMeridianTransitRow row;
        row.Observer = work;
        row.Observer.AutoDeltaT = 0;
        row.Observer.Mjd = work.Mjd + hours[i] / 24.0;
        UTToLocalTime(row.Observer);
        if (row.Observer.Mjd <= end_.Mjd) rows_.push_back(row);
      }
    }
    work.Mjd += kSearchStepDays;
  }
  AbortRequested = 0;
  return true;
}

void ttransitsuche::paintdms(TCellSink& sink) {
  if (rows_.empty()) return;
  const bool jd = config_.Flags[column_flag::kJulianDate] != 0;
  const int group = jd ? 2 : 1;
  int row = 1, col = 2, widest = 1;
  std::int32_t day = -1, month = -1, year = 0;
  for (const TMeridianTransitRow& r : rows_) {
    const TObserverRecord& o = r.Observer;
    if (o.Day != day || o.Month != month || o.Year != year) {
      ++row;
      col = 2;
      day = o.Day;
      month = o.Month;
      year = o.Year;
      sink.Date(row, 1, kSlotDate, o.Year, o.Month, o.Day);
    }
    if (jd) sink.Value(TCellFamily::Number, row, col, kSlotJulianDay, o.Mjd + 2400000.5);
    sink.Value(TCellFamily::TimeOfDay, row, col + group - 1, kSlotTime, o.LocalHours);
    col += group;
    widest = std::max(widest, col - 1);
  }
  sink.Text(1, 1, LanguageEnglish != 0 ? "Date" : "Datum");
  for (int c = 2; c <= widest; c += group) {
    if (jd) sink.Text(1, c, config_.ColumnTitles[kSlotJulianDay]);
    sink.Text(1, c + group - 1, name_);
  }
}

void ttransitsuche::paint(TSheet* sheet, tmystringgrid* grid, std::uint8_t toSheet,
                          const TTableOutputSettings& settings) {
  if (toSheet != 0 && sheet != nullptr) {
    TSheetSink sink(*sheet);
    paintdms(sink);
    const int lastRow = std::max(1, sheet->LastRow());
    const int lastCol = std::max(1, sheet->LastCol());
    sheet->SetColWidthAuto(1, 1, lastRow, lastCol);
    sheet->SetSelection(1, 1, 1, 1);
  } else if (grid != nullptr) {
    std::map<std::int64_t, int> perDay;
    int widest = 1;
    for (const TMeridianTransitRow& r : rows_)
      widest = std::max(widest, ++perDay[static_cast<std::int64_t>(std::floor(r.Observer.Mjd + 0.5))]);
    const int group = config_.Flags[column_flag::kJulianDate] != 0 ? 2 : 1;
    const int rows = static_cast<int>(perDay.size()) + 2;
    const int cols = 1 + (widest + 1) * group;
    grid->SetRowCount(rows + 1);
    grid->SetColCount(cols + 1);
    ClearGridCells(*grid, rows, cols);
    for (int c = 1; c <= cols; ++c)
      grid->SetColWidths(c, GridColumnWidth(settings, kSlotDate, settings.FontScale) + 20);
    TGridSink sink(*grid, settings);
    paintdms(sink);
  }
}

}  // namespace kvx
