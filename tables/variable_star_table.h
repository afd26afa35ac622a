// The extrema of one variable star over the table period: every minimum
// (eclipsing binary) or maximum (Cepheid, Mira star) from the light
// elements, seen from the Earth, with the altitudes of star and Sun.
//
//   T  = MJD(epoch) + E × period          heliocentric instant (UT, MJD)
//   t  = T + (8.317 min) (X cos δ cos α + Y cos δ sin α + Z sin δ)
//        X, Y, Z the Sun's geocentric equatorial vector (AU) at T, α, δ the
//        star precessed from its catalogue equinox to T: the extremum is seen
//        up to 8.3 min after T when the star stands near the Sun
//   the first cycle E = trunc((start - MJD(epoch)) / period) - 1; an
//   extremum is listed when start <= t <= end (MJD, UT)
//
// Rows: 1 heading (name, magnitude range, the column titles and the type
// name); one row per extremum: local date, local time of T, the Julian date
// of t (with the Julian-date column), the star's and the Sun's altitude at t
// (degrees), and the local date and time of t only when the Sun is at or
// below -12° and the star above 5°. Mira stars (every type letter but "b"
// and "c") show the date only. Without an extremum row 1 says so with both
// dates of the period.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "core/variable_star_elements.h"
#include "engine/table_sink.h"
#include "theories/theory_types.h"

namespace kvx {

struct tvarergebnis {
  double t = 0;         // MJD (UT) of the extremum seen from the Earth
  double hoursHel = 0;  // local hours of the heliocentric instant
  double hoursGeo = 0;  // local hours of t
  double altStar = 0;   // degrees
  double altSun = 0;    // degrees
  std::int32_t yearHel = 0, monthHel = 0, dayHel = 0;
  std::int32_t yearGeo = 0, monthGeo = 0, dayGeo = 0;
};

// "Bedeckungsveränderlicher" / "Eclipsing binary star" for "b", "Cepheid"
// for "c", "Mirastern" / "Mira star" for every other letter.
std::string typus(const std::string& type, std::uint8_t language);

// The Sun at or below this altitude and the star above kVisibleStarAltitude
// make an extremum observable (degrees).
inline constexpr double kDarkSunAltitude = -12.0;
inline constexpr double kVisibleStarAltitude = 5.0;
// The light time of one astronomical unit, days.
inline constexpr double kAuLightDays = 8.317 / 1440.0;

class Tvareph {
 public:
  // `language`: of the table's texts (0 German, else English).
  Tvareph(const TObserverRecord& start, const TObserverRecord& end, const TVariableStarElements& star,
          const TTableConfigRecord& config, TTheorySelection selection, std::uint8_t language);

  // False (with "Die Periode des Sterns muss positiv sein." / "The star's
  // period must be positive.") when the period is not a positive number or
  // the epoch is not finite.
  bool CheckElements() const;
  // Computes the extrema with progress and cancel. Stops after kMaxTableRows
  // results with an information message. Stopped = 1 after a cancel; the
  // extrema found before it stay and are written by paint.
  void schleife(std::uint8_t apparentSiderealTime);
  // Non-zero toSheet: the sheet; otherwise the grid.
  void paint(TSheet* sheet, tmystringgrid* grid, std::uint8_t toSheet, const TTableOutputSettings& settings);
  void paint_grid(tmystringgrid& grid, const TTableOutputSettings& settings);

  const std::vector<tvarergebnis>& Results() const { return results_; }
  std::uint8_t Computed = 0;
  std::uint8_t Stopped = 0;
  std::uint8_t RowLimitReached = 0;

 private:
  int WriteCells(TCellSink& sink);
  TObserverRecord start_, end_, work_;
  TVariableStarElements star_;
  TTableConfigRecord config_;
  TTheorySelection selection_;
  std::uint8_t language_ = 0;
  std::vector<tvarergebnis> results_;
};

}  // namespace kvx
