// Tables of the moons of Jupiter and Saturn: for every step of the table
// period the rectangular coordinates of the moons (and of the moons seen
// from the Sun, headed "S") relative to the planet's disk.
//
// Units and frames are those of the theory routines (theories/
// jupiter_moons.h, theories/saturn_moons.h): equatorial radii of the planet,
// X positive towards the west, Y north along the projected axis, Z along
// the line of sight. The Saturn short theory's U is stored in radians in
// [0, 2 pi) and written in degrees.
//
// Each class runs the time loop of TKeplereph (one row per step in
// RowStore) and writes the sheet or the result grid through the common
// table frame (progress, cancel, finishing).
#pragma once

#include <cstdint>

#include "engine/ephemeris_table.h"

namespace kvx {

// The request of a moon table over start..end: `level` is the level of the
// ephemerides (both theories).
TTableRequest MoonTableRequest(std::uint8_t language, TTheorySelection selection, const TTableConfigRecord& config,
                               const TObserverRecord& start, const TObserverRecord& end, const TTableStep& step,
                               std::int32_t level);

class TJupiterephfenster : public TKeplereph {
 public:
  // Copies the records (the request's level of the ephemerides serves both
  // theories; the tolerance is the default), stores the option words,
  // clears the row count and the stop flag and sets the progress text by
  // the language.
  TJupiterephfenster(const TTableRequest& request, TSheet* sheet, std::int32_t optionA, std::int32_t optionB);

  // The same copies again, the row count 0 and the language.
  void initialisieren(const TTableRequest& request, std::int32_t optionA, std::int32_t optionB);

  // One step: the four moons and their shadows into Result.MoonTable.
  void rechnen(TComputeSettingsBlock settings) override;
  bool ElementsUsable(std::string* german = nullptr, std::string* english = nullptr) const override;

  // Non-zero: the sheet; zero: the result grid (paint_grid is paint(0)).
  void paint(std::uint8_t toSheet) override;
  virtual void paint_grid();

  std::int32_t OptionA = 0;
  std::int32_t OptionB = 0;
  // Handed to the moon routines by the Saturn classes; unused here.
  long double TenByteReal = 0;

 protected:
  // Title of the date column and the coordinate columns of one row.
  virtual std::string TableTitle() const;
  virtual int DateSlot() const { return 0; }
  virtual void WriteCoordinateColumns(TCellSink& sink, const TEphemerisResultRecord& record, bool heading);
  void WriteMoonRow(TCellSink& sink, int k, bool heading);
  // The whole table into the sheet or the grid (paint and paint_grid
  // choose the sink): the rows of the moons' places here.
  virtual void WriteTo(TCellSink& sink);
  // One coordinate cell (slot 183) or its heading.
  void CoordinateCell(TCellSink& sink, bool heading, const std::string& title, double value);
};

// Five moons by the short theory: per moon x, y, U, S x, S y, S U.
class Tsaturnmonde : public TJupiterephfenster {
 public:
  Tsaturnmonde(const TTableRequest& request, TSheet* sheet, long double tenByteReal, std::int32_t optionA,
               std::int32_t optionB);
  void rechnen(TComputeSettingsBlock settings) override;

  static constexpr int kMoons = 5;

 protected:
  std::string TableTitle() const override { return "Saturn"; }
  int DateSlot() const override { return 1; }
  void WriteCoordinateColumns(TCellSink& sink, const TEphemerisResultRecord& record, bool heading) override;
};

// Eight moons by the full theory: per moon x, y, z, S x, S y, S z.
class TSaturnmondeMeeus : public Tsaturnmonde {
 public:
  using Tsaturnmonde::Tsaturnmonde;
  void rechnen(TComputeSettingsBlock settings) override;

  static constexpr int kMoons = 8;

 protected:
  void WriteCoordinateColumns(TCellSink& sink, const TEphemerisResultRecord& record, bool heading) override;
};

}  // namespace kvx
