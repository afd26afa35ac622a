#include "tables/variable_star_table.h"

#include <algorithm>
#include <cmath>

#include "core/frames.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/cell_format.h"
#include "engine/ephemeris_table.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace {

// Day.month.year of an MJD in the record's local time, no leading zeros.
std::string LocalDateText(TObserverRecord r, double mjd) {
  r.Mjd = mjd;
  UTToLocalTime(r);
  return std::to_string(r.Day) + "." + std::to_string(r.Month) + "." + std::to_string(r.Year);
}

// Only eclipsing binaries and Cepheids have times of the day.
bool IsMira(const std::string& type) { return type != "b" && type != "c"; }

}  // namespace

std::string typus(const std::string& type, std::uint8_t language) {
  if (type == "b") return language != 0 ? "Eclipsing binary star" : "Bedeckungsveränderlicher";
  if (type == "c") return "Cepheid";
  return language != 0 ? "Mira star" : "Mirastern";
}

Tvareph::Tvareph(const TObserverRecord& start, const TObserverRecord& end, const TVariableStarElements& star,
                 const TTableConfigRecord& config, TTheorySelection selection, std::uint8_t language)
    : start_(start),
      end_(end),
      work_(start),
      star_(star),
      config_(config),
      selection_(selection),
      language_(language) {}

bool Tvareph::CheckElements() const {
  if (std::isfinite(star_.Period) && star_.Period > 0 && std::isfinite(star_.Epoch)) return true;
  ShowMessage("Die Periode des Sterns muss positiv sein.", "The star's period must be positive.", MessageIcon::Error);
  return false;
}

void Tvareph::schleife(std::uint8_t apparent) {
  results_.clear();
  Computed = 0;
  Stopped = 0;
  RowLimitReached = 0;
  AbortRequested = 0;
  if (!CheckElements()) return;
  const double startMjd = start_.Mjd;
  const double endMjd = end_.Mjd;
  const double epoch = JdToMjd(star_.Epoch);
  const double period = star_.Period;
  double n = (endMjd - startMjd) / period + 1.0;
  if (n > 1001.0) n = 1000.0;
  if (!(n >= 1.0)) n = 1.0;
  ProgressSession progress(CurrentProgress(), star_.Name, 100);
  const double stepPercent = 100.0 / n;
  double percent = 0;
  double cycle = std::trunc((startMjd - epoch) / period) - 1.0;
  const double ra0 = DmsPackedToDeg(star_.RA) * 15.0;
  const double dec0 = DmsPackedToDeg(star_.Dec);
  const double t0 = (star_.Equinox - 2000.0) * 0.01;
  double t = 0;
  do {
    progress.Reporter().ProcessEvents();
    tvarergebnis e;
    // The heliocentric instant.
    work_.Mjd = epoch + cycle * period;
    UTToLocalTime(work_);
    CompleteObserverRecord(apparent, selection_, config_, kFullTheory, work_);
    e.yearHel = work_.Year;
    e.monthHel = work_.Month;
    e.dayHel = work_.Day;
    e.hoursHel = work_.LocalHours;
    // The star of date.
    TMatrix33 m{};
    PrecessionMatrixEquatorial(m, t0, work_.Centuries);
    double x = 0, y = 0, z = 0, r = 0, ra = 0, dec = 0;
    PolarToCartesian(x, y, z, 1.0, dec0, ra0);
    MatrixTimesVector(m, x, y, z);
    CartesianToPolar(r, dec, ra, x, y, z);
    // The Sun's geocentric equatorial vector.
    double sx = work_.SunX, sy = work_.SunY, sz = work_.SunZ;
    EclipticToEquatorial(sx, sy, sz, work_.Centuries);
    PolarToCartesian(x, y, z, 1.0, dec, ra);
    t = work_.Mjd + kAuLightDays * (sx * x + sy * y + sz * z);
    // Seen from the Earth.
    work_.Mjd = t;
    UTToLocalTime(work_);
    CompleteObserverRecord(apparent, selection_, config_, kFullTheory, work_);
    e.t = t;
    e.yearGeo = work_.Year;
    e.monthGeo = work_.Month;
    e.dayGeo = work_.Day;
    e.hoursGeo = work_.LocalHours;
    const double lst = LocalSiderealTime(apparent, t, work_.Longitude);
    const bool refract = work_.RefractionOn != 0;
    double hourAngle = 0, az = 0;
    EquatorialToHorizontal(refract, hourAngle, e.altStar, lst, work_.Latitude, ra, dec, work_.Pressure,
                           work_.Temperature, az);
    double ux = 0, uy = 0, uz = 0, sunRa = 0, sunDec = 0;
    PolarToCartesian(ux, uy, uz, work_.SunDistance, work_.SunLatitude, work_.SunLongitude);
    EclipticToEquatorial(ux, uy, uz, work_.Centuries);
    CartesianToPolar(r, sunDec, sunRa, ux, uy, uz);
    EquatorialToHorizontal(refract, hourAngle, e.altSun, lst, work_.Latitude, sunRa, sunDec, work_.Pressure,
                           work_.Temperature, az);
    if (t >= startMjd && t <= endMjd) {
      results_.push_back(e);
      if (static_cast<int>(results_.size()) >= kMaxTableRows) {
        RowLimitReached = 1;
        ShowMessage("Die Tabelle wurde nach 16382 Zeilen beendet.", "The table was stopped after 16382 rows.",
                    MessageIcon::Information);
        break;
      }
    }
    cycle += 1.0;
    percent += stepPercent;
    progress.Reporter().Step(static_cast<int>(percent));
  } while (t <= endMjd && AbortRequested == 0);
  if (AbortRequested != 0) Stopped = 1;
  Computed = 1;
}

int Tvareph::WriteCells(TCellSink& sink) {
  const bool english = language_ != 0;
  sink.Text(1, 1, star_.Name);
  if (results_.empty()) {
    const std::string a = LocalDateText(start_, start_.Mjd);
    const std::string b = LocalDateText(end_, end_.Mjd);
    sink.Text(1, 2,
              english ? "Between " + a + " and " + b + " no minimum/maximum found!"
                      : "Kein Minimum bzw. Maximum zwischen " + a + " und " + b + " gefunden!");
    return 2;
  }
  std::string bright, faint;
  FormatMagnitudeForSlot(62, bright, star_.MaxMag);
  FormatMagnitudeForSlot(62, faint, star_.MinMag);
  sink.Text(1, 2, bright + " - " + faint);
  const bool jd = config_.Flags[column_flag::kJulianDate] != 0;
  int col = 3;
  if (jd) sink.Text(1, col++, config_.ColumnTitles[3]);
  sink.Text(1, col++, config_.ColumnTitles[47]);
  sink.Text(1, col++, config_.ColumnTitles[158]);
  sink.Text(1, col++, typus(star_.Type, language_));
  sink.Text(1, col++, config_.ColumnTitles[159]);
  const int lastCol = col - 1;
  const bool mira = IsMira(star_.Type);
  ProgressReporter& progress = CurrentProgress();
  int row = 2;
  for (const tvarergebnis& e : results_) {
    progress.ProcessEvents();
    if (AbortRequested != 0) break;
    sink.Date(row, 1, 0, e.yearHel, e.monthHel, e.dayHel);
    if (mira) {
      for (int c = 2; c <= lastCol; ++c) sink.Text(row, c, std::string());
    } else {
      int c = 2;
      sink.Value(TCellFamily::TimeOfDay, row, c++, 1, e.hoursHel);
      if (jd) sink.Value(TCellFamily::Number, row, c++, 3, e.t + 2400000.5);
      sink.Value(TCellFamily::Angle, row, c++, 47, e.altStar);
      sink.Value(TCellFamily::Angle, row, c++, 158, e.altSun);
      if (e.altSun <= kDarkSunAltitude && e.altStar > kVisibleStarAltitude) {
        sink.Date(row, c, 0, e.yearGeo, e.monthGeo, e.dayGeo);
        sink.Value(TCellFamily::TimeOfDay, row, c + 1, 1, e.hoursGeo);
      } else {
        sink.Text(row, c, std::string());
        sink.Text(row, c + 1, std::string());
      }
    }
    ++row;
  }
  return lastCol;
}

void Tvareph::paint(TSheet* sheet, tmystringgrid* grid, std::uint8_t toSheet, const TTableOutputSettings& settings) {
  if (Computed == 0) return;
  if (toSheet == 0) {
    if (grid != nullptr) paint_grid(*grid, settings);
    return;
  }
  if (sheet == nullptr) return;
  TSheetSink sink(*sheet);
  FitSheetToContents(*sheet, WriteCells(sink));
}

void Tvareph::paint_grid(tmystringgrid& grid, const TTableOutputSettings& settings) {
  if (Computed == 0) return;
  const int rows = static_cast<int>(results_.size()) + 2;
  grid.SetRowCount(rows);
  grid.SetColCount(8);
  TGridSink sink(grid, settings);
  WriteCells(sink);
}

}  // namespace kvx
