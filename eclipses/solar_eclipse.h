// tSonnenfinsternis: the next solar eclipse after a date, its course over
// the Earth and its local circumstances for the observer; the table of one
// eclipse and the eclipse calendar of a period.
//
// The search steps through new moons with a short lunar series, keeps the
// first one after the start date near a node (|latitude| < 1.6 degrees),
// fits the apparent Moon (degree 8) and Sun (degree 3) over a window of
// `spanHours` either side of it and scans the window at `stepMinutes`: every
// instant at which the Moon's penumbra touches the Earth gives one result
// (the kind on Earth and, while central, the point of the central line and
// the duration of the central phase there). The local circumstances
// (eclipses/besselian.h) are taken at the first such instant.
//
// Times: Julian centuries of UT from J2000 (T) and MJD of UT; the fits are
// evaluated at TT = T + DeltaT/(86400 x 36525). Distances in Earth
// equatorial radii. Central-line longitude west positive in [-180, 180),
// geodetic latitude, degrees; durations in minutes.
//
// ttransit (the transits of Mercury and Venus) derives from this class and
// replaces rechnen, paint and paint_grid.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "eclipses/besselian.h"
#include "eclipses/shadow_axis.h"
#include "engine/search_object.h"
#include "engine/table_sink.h"

namespace kvx {

// Eclipse kinds on Earth at one instant.
namespace eclipse_kind {
inline constexpr std::uint8_t kNone = 0;
inline constexpr std::uint8_t kPartial = 1;
inline constexpr std::uint8_t kAnnularNotCentral = 2;
inline constexpr std::uint8_t kTotalNotCentral = 3;
inline constexpr std::uint8_t kAnnular = 4;
inline constexpr std::uint8_t kTotal = 5;
}  // namespace eclipse_kind

// One scanned instant with an eclipse in progress somewhere on Earth.
struct tfinsternisergebnis {
  TObserverRecord Observer;  // the record the search started from
  double mjd = 0;            // MJD (UT) of the instant
  double laenge = 0;         // central-line longitude, degrees west positive, [-180, 180); 0 unless central
  double breite = 0;         // central-line geodetic latitude, degrees; 0 unless central
  double dauer = 0;          // duration of the central phase there, minutes; 0 unless central
  std::uint8_t art = 0;      // eclipse kind (eclipse_kind)
};

// How the last search ended.
enum class TEclipseSearchStatus : std::uint8_t {
  Found,      // an eclipse
  NoEclipse,  // 60 candidates near a node without an eclipsed instant
  Cancelled,  // AbortRequested
  Refused,    // settings or date out of range (a message was shown)
};

// The search settings of the period dialog: scan step 1..30 minutes, span
// 1..12 hours around the new moon.
inline constexpr std::int32_t kEclipseStepMinutesMax = 30;
inline constexpr std::int32_t kEclipseSpanHoursMax = 12;
// Shows the period dialog's message and returns false when a setting is
// out of range.
bool CheckEclipseSearchSettings(std::int32_t stepMinutes, std::int32_t spanHours);

// The calendar writes at most this many rows (the title row included).
inline constexpr int kEclipseCalendarRowLimit = 16382;
// Candidates near a node without an eclipsed instant before a search gives up.
inline constexpr int kEclipseCandidateLimit = 60;

// One row of the calendar.
struct TSolarCalendarRow {
  double NewMoonT = 0;
  std::uint8_t MaxArt = 0;
  TLocalEclipseCircumstances Local;
};

class tSonnenfinsternis {
 public:
  tSonnenfinsternis() = default;
  virtual ~tSonnenfinsternis() = default;

  // The kind text (leading blank) in the current language; empty above 5.
  static std::string get_phase_buffer(std::uint8_t kind);

  // 1. One eclipse after the record's date. Result: the new moon's T (UT
  // centuries); Status tells how the search ended (ergebnisse empty unless
  // Found). maxArt is raised to the largest kind found.
  virtual double rechnen(const TSearchContext& context, std::uint8_t lokalListe, std::uint8_t& maxArt,
                         std::int32_t spanHours, std::int32_t stepMinutes, const TObserverRecord& observer,
                         TEventStep eventStep);
  // 2./3. The calendar of the period [start, end] into the sheet or the
  // grid: the eclipses whose local kind reaches `criterion`. False when the
  // search was refused; nothing is written then. A cancelled search writes
  // the eclipses found until the cancel and leaves Status Cancelled.
  virtual bool kalenderrechnen(const TSearchContext& context, TEventStep eventStep, TSheet& sheet,
                               const TTableConfigRecord& config, const TObserverRecord& start,
                               const TObserverRecord& end, std::int32_t stepMinutes, std::int32_t spanHours,
                               std::uint8_t criterion);
  virtual bool kalenderrechnen_grid(const TSearchContext& context, TEventStep eventStep, tmystringgrid& grid,
                                    const TTableOutputSettings& output, const TTableConfigRecord& config,
                                    const TObserverRecord& start, const TObserverRecord& end, std::int32_t stepMinutes,
                                    std::int32_t spanHours, std::uint8_t criterion);
  // 4./5. The table of the eclipse found by rechnen.
  virtual void paint(TSheet& sheet, const TTableConfigRecord& config);
  virtual void paint_grid(tmystringgrid& grid, const TTableOutputSettings& output, const TTableConfigRecord& config);
  // 6./7. One row of the global table.
  virtual void paintzeile(std::uint8_t kind, int row, TSheet& sheet, const TObserverRecord& observer, double dauer,
                          double breite, double laenge, double mjd);
  virtual void paintzeile_grid(std::uint8_t kind, int row, tmystringgrid& grid, const TTableOutputSettings& output,
                               const TObserverRecord& observer, double dauer, double breite, double laenge, double mjd);
  // 8. Geometry of the shadow axis: Moon (degrees, Earth radii) and Sun
  // (degrees, AU).
  virtual TShadowAxis schattenachse(double moonRa, double moonDec, double moonR, double sunRa, double sunDec,
                                    double sunR) const;
  // 9. Kind on Earth and the central line at T (UT) with Delta T (s).
  virtual void finsternisphase(std::uint8_t sternzeitFlag, const TBesselFits& fits, double T, double deltaT,
                               std::uint8_t& art, double& laenge, double& breite, double& dauer) const;

  // The calendar's rows without writing them (false: refused). A cancel
  // ends the search with the rows found until then and Status Cancelled.
  bool CalendarRows(const TSearchContext& context, TEventStep eventStep, const TObserverRecord& start,
                    const TObserverRecord& end, std::int32_t stepMinutes, std::int32_t spanHours,
                    std::uint8_t criterion, std::vector<TSolarCalendarRow>& rows);
  // The writers behind both targets.
  void WriteTable(TCellSink& sink, const TTableConfigRecord& config);
  void WriteCalendar(TCellSink& sink, const TTableConfigRecord& config, const std::vector<TSolarCalendarRow>& rows);

  std::vector<tfinsternisergebnis> ergebnisse;
  TObserverRecord Observer;           // copy of the record of the last search
  TLocalEclipseCircumstances Local;   // the observer's circumstances
  std::vector<tlocalEventList> list;  // the local course
  std::uint8_t jdspalte = 0;
  TEclipseSearchStatus Status = TEclipseSearchStatus::NoEclipse;

 protected:
  void WriteGlobalRow(TCellSink& sink, std::uint8_t kind, int row, const TObserverRecord& observer, double dauer,
                      double breite, double laenge, double mjd);
  void WriteLocalBlock(TCellSink& sink, const TTableConfigRecord& config, int col0);
};

// One step of the short lunar series towards the new moon: T (centuries)
// corrected, beta the Moon's latitude (degrees) before the correction.
void ImproveNewMoon(double& T, double& beta);

// The fitter of the Moon and the Sun at degree 8 for the local circumstances.
TBesselFitter MoonBesselFitter(const TSearchContext& context);

}  // namespace kvx
