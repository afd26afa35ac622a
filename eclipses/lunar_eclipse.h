// Lunar eclipses: the eclipse of the next full moon near a node after a
// date, from the mean-phase series in the lunation number (Meeus,
// Astronomical Algorithms, 2nd ed., ch. 49 and 54), with the enlarged
// shadow radii this program has always used; on request the list of its
// contacts with the local date and time and the altitudes of the Moon and
// the Sun for the observer; the writer of that list into the sheet or the
// grid, and the calendar of the eclipses of a period.
//
// Times: JDE is the Julian day of dynamical time (TT); the observer
// records carry the MJD of UT (Mjd) and Delta T in seconds; UT = TT -
// DeltaT/86400. Angles in degrees; shadow radii in Moon radii;
// half-durations in minutes. Altitudes are of the Moon's topocentric
// centre and of the Sun's geocentric centre, refracted when the observer
// record asks for it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "engine/search_object.h"

namespace kvx {

class TCellSink;
class Tmond;

// Kinds of a lunar eclipse.
inline constexpr std::uint8_t kLunarEclipsePenumbral = 0;
inline constexpr std::uint8_t kLunarEclipseUmbral = 1;  // partial or total
inline constexpr std::uint8_t kLunarEclipseNone = 2;

// Shadow constants of the magnitudes and half-durations: the penumbra and
// umbra at the Moon's distance and the umbra less the Moon's diameter, in
// units of the Earth's equatorial radius, and the width of the Moon in the
// same unit (the magnitudes are fractions of the Moon's diameter).
inline constexpr double kPenumbraLimit = 1.5710;
inline constexpr double kUmbraLimit = 1.0157;
inline constexpr double kTotalityLimit = 0.4707;
inline constexpr double kMoonDiameterInEarthRadii = 0.545;
// Earth radii per Moon radius, as the radii have always been scaled.
inline constexpr double kEarthRadiiPerMoonRadius = 3.6696224252094254;

// The 16,382 rows a table may hold at most (the calendar stops there).
inline constexpr int kLunarCalendarMaxRows = 16382;

// One eclipse from the series.
struct TLunarEclipseElements {
  double K = 0;    // lunation number (half-integer: full moon)
  double Jde = 0;  // greatest eclipse, JD of dynamical time
  std::uint8_t Kind = kLunarEclipseNone;
  double Gamma = 0;               // least distance of the Moon's centre from the shadow axis, Earth radii
  double U = 0;                   // radius of the umbral cone in the fundamental plane, Earth radii
  double PenumbralMagnitude = 0;  // fraction of the Moon's diameter
  double UmbralMagnitude = 0;
  double PenumbraRadius = 0;        // Moon radii
  double UmbraRadius = 0;           // Moon radii; 0 for a penumbral eclipse
  double PenumbralHalfMinutes = 0;  // half-durations of the phases, 0 when a phase does not occur
  double PartialHalfMinutes = 0;
  double TotalHalfMinutes = 0;
};

// The lunation to start from for an instant: one before the first full
// moon the search may return, from the instant's year and fraction of a
// year (Julian years of 365.25 days from 2000.0), rounded down.
// Given:    mjd   MJD of UT
// Returned: a lunation number ending in .5
double LunarEclipseStartLunation(double mjd);

// The first eclipse whose full moon falls after `targetJde`, stepping from
// lunation `k` + 1 (k half-integer).
// Given:    k          lunation to step from (LunarEclipseStartLunation)
//           targetJde  JD of dynamical time
// Notes:    full moons with |sin F| > 0.36 are far from a node and skipped;
//           always ends at an eclipse (one occurs every few lunations).
TLunarEclipseElements NextLunarEclipse(double k, double targetJde);

// The eclipse quantities of lunation k, kind kLunarEclipseNone when there
// is none (or when the full moon lies too far from a node).
TLunarEclipseElements LunarEclipseOfLunation(double k);

// The calendar's filter (the main window keeps one).
struct TLunarEclipseCriteria {
  std::uint8_t Kind = 0;               // 0 all, 1 no penumbral eclipses, 2 only total eclipses
  std::uint8_t AltitudeCondition = 0;  // non-zero: the Moon must stand above MinimumAltitude
  std::int32_t MinimumAltitude = 0;    // whole degrees
};
// A minimum altitude read from a stored configuration, clamped to -90..90.
std::int32_t ClampLunarMinimumAltitude(std::int32_t degrees);

// One line of the event list.
struct tmondfinsternisergebnis {
  TObserverRecord Observer;  // the event's instant: Mjd (UT), local date and hours
  std::string Label;
  double MoonAltitude = 0;   // degrees, topocentric
  double SunAltitude = 0;    // degrees
  bool IsMagnitude = false;  // the magnitude line: Magnitude, no time and altitudes 0
  double Magnitude = 0;
};

// The event list of one eclipse.
struct TLunarEclipseList {
  TLunarEclipseElements Eclipse;
  std::vector<tmondfinsternisergebnis> Lines;  // 4, 6 or 8: penumbral, partial, total
  // True when on one of the event lines (not the magnitude line) the Moon
  // stands above the criteria's minimum altitude, or the altitude condition
  // is off.
  bool Visible = false;
  // Number of event lines (without the magnitude line).
  int EventCount() const;
};

// The labels of the eight lines, by language (0 German, else English).
const char* LunarEclipseLabel(int line, std::uint8_t english);

// The Moon's topocentric altitude and the Sun's altitude for one observer
// at one instant (one Moon object kept for many instants).
class TEclipseSky {
 public:
  TEclipseSky(const TSearchContext& context, const TTableConfigRecord& config, const TObserverRecord& observer);
  ~TEclipseSky();
  TEclipseSky(const TEclipseSky&) = delete;
  TEclipseSky& operator=(const TEclipseSky&) = delete;
  // Given r.Mjd (UT), the place, Delta T and the refraction flag of `r`:
  // completes `r` (local date and time, sidereal time, the Sun) and returns
  // the Moon's altitude (topocentric apparent place) and the Sun's
  // (apparent place), degrees, refracted when r.RefractionOn is set.
  void At(TObserverRecord& r, double& moonAltitude, double& sunAltitude);

 private:
  TSearchContext context_;
  const TTableConfigRecord& config_;
  std::unique_ptr<Tmond> moon_;
};

// Builds the event list of one eclipse for one observer.
class TMondfinsternisformular {
 public:
  // `observer`: the search's record (place, Delta T); `config` and the
  // context give the theories and settings handed to the Moon and the Sun.
  TMondfinsternisformular(const TSearchContext& context, const TTableConfigRecord& config,
                          const TObserverRecord& observer, const TLunarEclipseElements& eclipse,
                          const TLunarEclipseCriteria& criteria);
  // Clears `list` and fills it: per line the local date and time, the
  // Moon's topocentric altitude and the Sun's altitude; the magnitude line
  // last (umbral magnitude, penumbral for a penumbral eclipse).
  void FormActivate(TLunarEclipseList& list);

 private:
  TSearchContext context_;
  TTableConfigRecord config_;
  TObserverRecord observer_;
  TLunarEclipseElements eclipse_;
  TLunarEclipseCriteria criteria_;
};

// The lunar eclipse after the instant of `record` (with a look-back of 10
// days).
// Given:    context     theory selection and settings (MoonCache and
//                       MoonOption go to the Moon)
//           record      Mjd (UT), Delta T and place of the search
//           listEvents  build the event list
//           config      handed to the Moon and the Sun
//           criteria    decide the list's visibility
// Returned: record      Mjd := greatest eclipse in UT (Delta T of the
//                       eclipse's date when AutoDeltaT is set), local date
//                       and time with it
//           list        Eclipse always; Lines and Visible with listEvents
//           umbraRadius, penumbraRadius   Moon radii
// Result:   1 when the events were listed, 2 otherwise.
int FindLunarEclipse(const TSearchContext& context, TLunarEclipseList& list, TObserverRecord& record, bool listEvents,
                     double& umbraRadius, double& penumbraRadius,
                     const TTableConfigRecord& config = TTableConfigRecord{},
                     const TLunarEclipseCriteria& criteria = TLunarEclipseCriteria{});

// Writes one event list from row `row` on (the title row first when `row`
// is 1). In the calendar (`calendar` set) a list that is not visible or
// that the criteria's kind refuses is skipped, taking back the blank row
// before it (`row` lowered by one when above 1). Returns true when
// written; `row` is then the row after the last line.
bool WriteLunarEclipseSheet(const TLunarEclipseList& list, TCellSink& sink, const TTableConfigRecord& config, int& row,
                            bool calendar, const TLunarEclipseCriteria& criteria);

// The eclipses of the period start..end (maxima within it), computed first
// (progress by date, AbortRequested polled) and written after: "Keine
// Finsternisse gefunden" / "No eclipses found" in the first cell until an
// eclipse is written (the grid sized to two rows and columns first); a
// blank row between eclipses; at most kLunarCalendarMaxRows rows
// (ShowRowLimitReached). A cancel ends the search: the eclipses found
// before it are written, and `cancelled` (when given) is set. Returns the
// number of eclipses written.
int LunarEclipseCalendar(const TSearchContext& context, const TTableConfigRecord& config, const TObserverRecord& start,
                         const TObserverRecord& end, const TLunarEclipseCriteria& criteria, TCellSink& sink,
                         bool* cancelled = nullptr);

}  // namespace kvx
