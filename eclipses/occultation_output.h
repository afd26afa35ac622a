// The table of occultations found by the Moon searches, into the workbook
// sheet or the result grid through one writer (engine/table_sink.h).
//
// Row 1 holds the configuration's column titles; event k (0-based, time
// order) takes row 2k + 2 (disappearance) and row 2k + 3 (reappearance).
// Columns (J = 1 with the configuration's Julian-day column):
//   1 local date, 2 local time, [3 JD of UT], 3+J "E/A" text (titles 156 and
//   157), 4+J position angle (151), 5+J altitude (47), 6+J Sun altitude
//   (title 158, slot 47), 7+J a (153), 8+J b (154) in minutes per degree;
//   stars: 9+J name / magnitude (62), 10+J and 11+J right ascension (16) and
//   declination (17) in the first row; planets: 9+J the planet's name (160)
//   in both rows.
// Local date and time from the contact's MJD (UT) with the start record's
// zone, extra minutes and daylight-saving hours.
#pragma once

#include <cstdint>
#include <string>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "eclipses/occultation_results.h"
#include "engine/table_sink.h"

namespace kvx {

// The format slots and column titles of the occultation tables (the table
// of the Moon's occultations and that of a planet's).
namespace occultation_columns {
inline constexpr int kEventTitle = 152, kInTitle = 156, kOutTitle = 157;
inline constexpr int kPositionAngleSlot = 151, kAltitudeSlot = 47;
inline constexpr int kASlot = 153, kBSlot = 154, kStarTitle = 155, kMagnitudeSlot = 62;
inline constexpr int kRaSlot = 16, kDecSlot = 17, kPlanetTitle = 160;
}  // namespace occultation_columns

// What the table is of and what an empty one says.
struct TOccultationTableKind {
  bool Planets = false;         // planet column in place of the star columns
  bool AllStars = true;         // stars: the search ran over all stars
  float LimitingMagnitude = 8;  // stars: the limit as entered
  std::string StarName;         // stars: the one star searched
};

// The empty-result text of the current language for the sheet or the grid.
// The shortest text of a limiting magnitude as entered (8 -> "8", 7.5 ->
// "7.5"), with the decimal separator of the settings.
std::string LimitText(float limit);

std::string EmptyOccultationText(const TOccultationTableKind& kind, bool grid);

// One contact row in columns 1 .. 8+J as above, with `event` in column
// 3+J; the local date and time of `mjd` (UT) in the start record's zone.
void WriteOccultationContactRow(TCellSink& sink, int row, int jd, const TObserverRecord& start, double mjd,
                                const std::string& event, double angle, double altitude, double sunAltitude, double a,
                                double b);

// Writes the table (or, for an empty list, the message into cell 1,1).
// The grid is sized first: (events + 1) x 2 rows and 12 + J columns for
// stars, 10 + J for planets; 2 x 2 for the message. Progress per event
// through the progress seam.
void WriteOccultationTable(TCellSink& sink, const TTableConfigRecord& config, const TObserverRecord& start,
                           const TOccultationResultList& list, const TOccultationTableKind& kind);

}  // namespace kvx
