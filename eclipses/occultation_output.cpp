#include "eclipses/occultation_output.h"

#include <cmath>
#include <cstdio>

#include "core/column_flags.h"
#include "core/data_format_slots.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/progress.h"

namespace kvx {

using namespace occultation_columns;

void WriteOccultationContactRow(TCellSink& sink, int row, int jd, const TObserverRecord& start, double mjd,
                                const std::string& event, double angle, double altitude, double sunAltitude, double a,
                                double b) {
  TObserverRecord local = start;
  local.AutoDeltaT = 0;
  local.Mjd = mjd;
  UTToLocalTime(local);
  sink.Date(row, 1, kSlotDate, local.Year, local.Month, local.Day);
  sink.Value(TCellFamily::TimeOfDay, row, 2, kSlotTime, local.LocalHours);
  if (jd != 0) sink.Value(TCellFamily::Number, row, 3, kSlotJulianDay, mjd + 2400000.5);
  sink.Text(row, 3 + jd, event);
  sink.Value(TCellFamily::Angle, row, 4 + jd, kPositionAngleSlot, angle);
  sink.Value(TCellFamily::Angle, row, 5 + jd, kAltitudeSlot, altitude);
  sink.Value(TCellFamily::Angle, row, 6 + jd, kAltitudeSlot, sunAltitude);
  sink.Value(TCellFamily::Number, row, 7 + jd, kASlot, a);
  sink.Value(TCellFamily::Number, row, 8 + jd, kBSlot, b);
}

std::string LimitText(float limit) {
  std::string out = SignificantDigitsText(static_cast<double>(limit), 7);
  for (char& c : out) {
    if (c == '.') c = IntlSeparators.Decimal;
  }
  return out;
}

std::string EmptyOccultationText(const TOccultationTableKind& kind, bool grid) {
  if (kind.Planets) return ByLanguage("Keine Bedeckungen von Planeten gefunden.", "No occultations of Planets found.");
  if (LanguageEnglish == 0) {
    if (kind.AllStars)
      return "Keine Sternbedeckungen von Sternen heller als " + LimitText(kind.LimitingMagnitude) + " mag gefunden.";
    return "Keine Bedeckung von  " + kind.StarName + " gefunden.";
  }
  if (kind.AllStars)
    return "No occultations of stars brighter than " + LimitText(kind.LimitingMagnitude) + " mag found.";
  return (grid ? "No occulations of  " : "No occultation of  ") + kind.StarName + " found.";
}

void WriteOccultationTable(TCellSink& sink, const TTableConfigRecord& config, const TObserverRecord& start,
                           const TOccultationResultList& list, const TOccultationTableKind& kind) {
  const int jd = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  if (list.Count() == 0) {
    SizeGrid(sink, 1, 1);
    SizeGrid(sink, 2, 2);
    sink.Text(1, 1, EmptyOccultationText(kind, sink.IsGrid()));
    return;
  }
  const std::vector<const tergebnisdatensatz*> rows = list.Rows();
  const int events = static_cast<int>(rows.size());
  SizeGrid(sink, (events + 1) * 2, (kind.Planets ? 10 : 12) + jd);

  // Titles: (column, title index); the width from the title's slot.
  std::vector<std::pair<int, int>> titles = {{1, kSlotDate}, {2, kSlotTime}};
  if (jd != 0) titles.emplace_back(3, kSlotJulianDay);
  const int base[] = {kEventTitle, kPositionAngleSlot, kAltitudeSlot, kSlotSunAltitude, kASlot, kBSlot};
  for (int i = 0; i < 6; ++i) titles.emplace_back(3 + jd + i, base[i]);
  if (kind.Planets) {
    titles.emplace_back(9 + jd, kPlanetTitle);
  } else {
    titles.emplace_back(9 + jd, kStarTitle);
    titles.emplace_back(10 + jd, kRaSlot);
    titles.emplace_back(11 + jd, kDecSlot);
  }
  for (const auto& [col, title] : titles) {
    sink.Text(1, col, config.ColumnTitles[static_cast<std::size_t>(title)]);
    sink.Width(col, title);
  }

  ProgressSession session(CurrentProgress(), ByLanguage("Tabelle", "Table"), 100);
  const double step = 100.0 / events;
  int shown = 0;
  const std::string& in = config.ColumnTitles[kInTitle];
  const std::string& out = config.ColumnTitles[kOutTitle];
  for (int k = 0; k < events; ++k) {
    const tergebnisdatensatz& e = *rows[static_cast<std::size_t>(k)];
    const int r1 = 2 * k + 2, r2 = 2 * k + 3;
    WriteOccultationContactRow(sink, r1, jd, start, e.Contact1Time, in, e.PositionAngle1, e.Altitude1, e.SunAltitude1,
                               e.CoefficientA1, e.CoefficientB1);
    WriteOccultationContactRow(sink, r2, jd, start, e.Contact2Time, out, e.PositionAngle2, e.Altitude2, e.SunAltitude2,
                               e.CoefficientA2, e.CoefficientB2);
    sink.Text(r1, 9 + jd, e.ObjectName);
    if (kind.Planets) {
      sink.Text(r2, 9 + jd, e.ObjectName);
    } else {
      sink.Value(TCellFamily::Magnitude, r2, 9 + jd, kMagnitudeSlot, e.Magnitude * 0.01);
      sink.Value(TCellFamily::Angle, r1, 10 + jd, kRaSlot, e.RightAscension);
      sink.Value(TCellFamily::Angle, r1, 11 + jd, kDecSlot, e.Declination);
    }
    const int position = static_cast<int>((k + 1) * step);
    if (position != shown) {
      shown = position;
      session.Reporter().Step(position);
    }
  }
}

}  // namespace kvx
