// ttagesephemeride: the daily overview of the planetary system. For the
// instant and place of the period start it computes ten bodies, one table
// row each, in the order Sun, Mercury, Venus, Mars, Jupiter, Saturn,
// Uranus, Neptune, Pluto, Moon (body indexes 0, 1, 2, 4 .. 9, 10), and
// writes them as one table into the sheet or the result grid.
//
// Each body goes through its own object's chain (TSonnetab, Tplatab, the
// Moon through Tmond) gated by the summary bytes of the configuration:
// byte 1 topocentric, horizon and rise/set, byte 2 the physical ephemeris.
// The Moon's own rise and set (level 1 of the rise/set block) are copied
// into level 2, where the writers read every body's events.
//
// Pluto outside its theory's range: its row holds zeros (and its name) and
// the writers leave it out; the Moon stays the last row. Frames and units
// as the result record (engine/ephemeris_result.h): the Moon's distances
// in Earth radii, the others in AU.
#pragma once

#include <cstdint>

#include "engine/planet.h"

namespace kvx {

inline constexpr int kTableKindDailyOverview = 75;
// Rows of a full run.
inline constexpr int kDailyOverviewBodies = 10;

// Body index of row position 0 .. 9.
TBodyIndex DailyOverviewBody(int position);

class ttagesephemeride : public Tplatab {
 public:
  // Tplatab's set-up (planet index 2), then initialisieren; the progress
  // text "Berechne Tagesepehemeride" / "Calculating Ephemerides".
  ttagesephemeride(const TTableRequest& request, TSheet* outputSheet);

  // Copies the configuration, the step and the records (start into the
  // working record and the period start, end into the period end), the
  // theory selection and the levels; the object name "Objektname nicht
  // belegt" / "No Objectname".
  void initialisieren(const TTableRequest& request) override;
  using Tplatab::initialisieren;

  // The ten bodies at the period start. With `show` the progress panel runs
  // and the rows go into RowStore (positions 0 .. 9). Cancelling sets
  // Stopped 1; Rows keeps the bodies computed before the cancel.
  void schleife(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show) override;

  // The chain of the current body index into Result; `moonOption` goes to
  // the Moon's theory and rise/set search.
  virtual void rechnen(std::uint8_t moonOption, TComputeSettingsBlock settings, std::int32_t vsopLevel);
  using Tplatab::rechnen;

  // The table from A1 of the sheet / from (1, 1) of the grid: a heading
  // row and one row per body (Pluto left out when out of range).
  void paintdms(std::uint8_t rowCountFlag = 1) override;
  void paintdms_grid(std::uint8_t rowCountFlag = 1) override;

  // The sheet writer says "Formatiere Tabelle" / "Formatting Table", the
  // grid writer "Tabelle wird formatiert" / "Formatting table"; each row
  // "Formatiere Ausgabe für " / "Formatting Output for " + `name`.
  void ShowTableProgress(std::uint8_t wholeTable, const std::string& name) override;

 private:
  // The records of one body's row: the working instant as start and end,
  // the object's settings and the given level of the ephemerides.
  TTableRequest BodyRequest(std::int32_t vsopLevel) const;
  void WriteTable(TCellSink& sink, std::uint8_t rowCountFlag);
  void WriteOverviewRow(TCellSink& sink, int k, bool heading, bool inRange);
  // Pluto's theory served the instant of the last run.
  bool plutoInRange_ = true;
  // The writer at work is the sheet's.
  bool writingSheet_ = false;
};

}  // namespace kvx
