// The table of the occultations of stars by planets and asteroids, into the
// workbook sheet or the result grid through one writer.
//
// Row 1: the configuration's titles. An occultation takes two rows
// (disappearance, reappearance), a conjunction one. Columns (J = 1 with
// the configuration's Julian-day column):
//   1 local date (0), 2 local time (1), [3 JD (3)], 3+J event (152: titles
//   156/157 or "Konjunktion"), 4+J position angle (151), 5+J star altitude
//   (47), 6+J Sun altitude (158, slot 47), 7+J a (153), 8+J b (154),
//   9+J star (155; "star/body" on a conjunction row, the body in row 2),
//   10+J magnitude (62) / declination offset in arc seconds (167),
//   11+J and 12+J the star's right ascension (16) and declination (17) in
//   the first row only.
// Position angle, a and b stay empty on conjunction rows and wherever they
// are not finite. Local date and time from the start record's zone.
#pragma once

#include <string>
#include <vector>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "eclipses/occultation_results.h"
#include "engine/table_sink.h"

namespace kvx {

struct TPlanetStarTableKind {
  bool AllStars = true;
  float LimitingMagnitude = 8;
  std::string StarName;
  std::vector<std::string> Bodies;  // the bodies searched
};

// The empty-result text of the current language for the sheet or the grid.
std::string EmptyPlanetStarText(const TPlanetStarTableKind& kind, bool grid);

// Writes the table, or the message for an empty list into cell 1,1. The
// grid: 14 columns while writing, 13 + J at the end; 2 x 2 for the message.
void WritePlanetStarTable(TCellSink& sink, const TTableConfigRecord& config, const TObserverRecord& start,
                          const TOccultationResultList& list, const TPlanetStarTableKind& kind);

}  // namespace kvx
