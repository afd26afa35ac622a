#include "eclipses/planet_star_output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/column_flags.h"
#include "core/data_format_slots.h"
#include "core/time_scales.h"
#include "eclipses/occultation_output.h"
#include "engine/cell_format.h"
#include "engine/mystringgrid.h"
#include "platform/globals.h"
#include "platform/progress.h"

namespace kvx {

namespace {

using namespace occultation_columns;
constexpr int kOffsetSlot = 167;

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) {
    if (!out.empty()) out += ", ";
    out += n;
  }
  return out;
}

// The texts of the joined magnitude / offset cell of a conjunction row.
std::string Trimmed(std::string text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
std::string MagnitudeText(double magnitude) {
  std::string text;
  FormatMagnitudeForSlot(kMagnitudeSlot, text, magnitude);
  return Trimmed(text);
}
std::string OffsetText(double arcseconds) {
  std::string text;
  FormatNumberForSlot(kOffsetSlot, text, arcseconds);
  return Trimmed(text);
}

// The sheet's finishing: header row and the event column centred, rows and
// columns fitted to what was written, "A1:A1" current at the end.
void FinishSheet(TCellSink& sink) {
  if (sink.IsGrid()) return;
  TSheet& sheet = static_cast<TSheetSink&>(sink).Sheet();
  const workbook::TAlignment centred{3, false, 3, 0};
  sheet.SetSelectionText("A1:A1");
  sheet.SetSelection(1, -1, 1, -1);
  sheet.SetAlignment(centred);
  sheet.SetSelectionText("A1:A1");
  sheet.SetSelection(-1, 3, -1, 3);
  sheet.SetAlignment(centred);
  FitSheetToContents(sheet);
}

}  // namespace

std::string EmptyPlanetStarText(const TPlanetStarTableKind& kind, bool grid) {
  const std::string limit = LimitText(kind.LimitingMagnitude);
  if (kind.AllStars) {
    if (LanguageEnglish == 0) return "Keine Bedeckungen von Sternen heller als " + limit + " mag gefunden.";
    return (grid ? "No Occultations of stars brighter than " : "No occultations of stars brighter than ") + limit +
           " mag found.";
  }
  const std::string bodies = Joined(kind.Bodies);
  if (grid) {
    if (LanguageEnglish == 0) return "Keine Bedeckungen von  " + kind.StarName + " durch " + bodies + " gefunden.";
    return "No occultations of  " + kind.StarName + " found.";
  }
  if (LanguageEnglish == 0) return "Keine Bedeckungen von  " + kind.StarName + " durch " + bodies + " gefunden.";
  return "No occultations of  " + kind.StarName + " by " + bodies + " found.";
}

void WritePlanetStarTable(TCellSink& sink, const TTableConfigRecord& config, const TObserverRecord& start,
                          const TOccultationResultList& list, const TPlanetStarTableKind& kind) {
  const int jd = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  if (list.Count() == 0) {
    SizeGrid(sink, 2, 2);
    sink.Text(1, 1, EmptyPlanetStarText(kind, sink.IsGrid()));
    FinishSheet(sink);
    return;
  }
  const std::vector<const tergebnisdatensatz*> rows = list.Rows();
  int lines = 0;
  for (const tergebnisdatensatz* e : rows) lines += e->EventFlag != 0 ? 2 : 1;
  // The grid's row 0 is its fixed row: the header and every line below it.
  SizeGrid(sink, lines + 2, 14);

  const auto title = [&config](int index) { return config.ColumnTitles[static_cast<std::size_t>(index)]; };
  std::vector<std::pair<int, int>> titles = {{1, kSlotDate}, {2, kSlotTime}};
  if (jd != 0) titles.emplace_back(3, kSlotJulianDay);
  const int base[] = {kEventTitle, kPositionAngleSlot, kAltitudeSlot, kSlotSunAltitude, kASlot, kBSlot, kStarTitle};
  for (int i = 0; i < 7; ++i) titles.emplace_back(3 + jd + i, base[i]);
  for (const auto& [col, index] : titles) {
    sink.Text(1, col, title(index));
    sink.Width(col, index);
  }
  sink.Text(1, 10 + jd, title(kMagnitudeSlot) + "/" + title(kOffsetSlot));
  sink.Width(10 + jd, kMagnitudeSlot);
  sink.Text(1, 11 + jd, title(kRaSlot));
  sink.Width(11 + jd, kRaSlot);
  sink.Text(1, 12 + jd, title(kDecSlot));
  sink.Width(12 + jd, kDecSlot);

  ProgressSession session(CurrentProgress(), ByLanguage("Tabelle", "Table"), 100);
  const std::size_t count = rows.size();
  int shown = 0;
  int row = 2;
  for (std::size_t k = 0; k < count; ++k) {
    const tergebnisdatensatz& e = *rows[k];
    const bool occultation = e.EventFlag != 0;
    const std::string event = occultation ? title(kInTitle) : std::string(ByLanguage("Konjunktion", "Conjunction"));
    WriteOccultationContactRow(sink, row, jd, start, e.Contact1Time, event, occultation ? e.PositionAngle1 : NAN,
                               e.Altitude1, e.SunAltitude1, occultation ? e.CoefficientA1 : NAN,
                               occultation ? e.CoefficientB1 : NAN);
    if (occultation) {
      sink.Text(row, 9 + jd, e.ObjectName);
      sink.Value(TCellFamily::Magnitude, row, 10 + jd, kMagnitudeSlot, e.Magnitude * 0.01);
    } else {
      sink.Text(row, 9 + jd, e.ObjectName + "/" + e.Label);
      sink.Text(row, 10 + jd, MagnitudeText(e.Magnitude * 0.01) + "/" + OffsetText(e.ExtraValue));
    }
    sink.Value(TCellFamily::Angle, row, 11 + jd, kRaSlot, e.RightAscension);
    sink.Value(TCellFamily::Angle, row, 12 + jd, kDecSlot, e.Declination);
    ++row;
    if (occultation) {
      WriteOccultationContactRow(sink, row, jd, start, e.Contact2Time, title(kOutTitle), e.PositionAngle2, e.Altitude2,
                                 e.SunAltitude2, e.CoefficientA2, e.CoefficientB2);
      sink.Text(row, 9 + jd, e.Label);
      sink.Value(TCellFamily::Number, row, 10 + jd, kOffsetSlot, e.ExtraValue);
      ++row;
    }
    const int position = static_cast<int>(static_cast<double>(k + 1) * 100.0 / static_cast<double>(count));
    if (position != shown) {
      shown = position;
      session.Reporter().Step(position);
    }
  }
  SizeGrid(sink, row, 13 + jd);
  FinishSheet(sink);
}

}  // namespace kvx
