// TKeplereph: an ephemeris table over a period. It is the asteroid table and
// the base of every table class: it steps the body chain of TKepler through
// the period (or through the main window's date list), keeps one copy of the
// result record per row in RowStore, and writes the table through its writer
// operations.
//
// Time: the period's start and end records are local civil time; the loop
// works in UT (the observer record's Mjd) and hands TT to the chain. The
// step is in days. At most kMaxTableRows rows per run.
#pragma once

#include <cstdint>
#include <string>

#include "core/table_step.h"
#include "engine/asteroid_database_image.h"
#include "engine/cell_format.h"
#include "engine/kepler.h"
#include "engine/mystringgrid.h"

namespace kvx {

class ProgressReporter;

// Most rows one run of the time loop produces.
inline constexpr int kMaxTableRows = 16382;
// The progress estimate never counts more rows than this.
inline constexpr int kMaxProgressRows = 16383;
// Steps of at most one second get half a second added (days). A step of one
// second entered as 1/86400 day counts as one second whatever its last bit.
inline constexpr double kOneSecondDays = 1.0 / 86400.0;
inline constexpr double kHalfSecondDays = 0.5 / 86400.0;

class TKeplereph : public TKepler {
 public:
  // Copies every record; sets the output sheet, the tolerance, both VSOP
  // levels, stopped 0, the language and the progress caption of the asteroid
  // table; runs initialisieren with an empty name and database flag 0; then
  // stores the theory selection.
  TKeplereph(std::uint8_t language, TTheorySelection selection, TSheet* outputSheet, const TTableConfigRecord& config,
             const TAsteroidElements& elements, const TObserverRecord& start, const TObserverRecord& end,
             const TTableStep& step, long double integrationTolerance, std::int32_t vsopLevelA,
             std::int32_t vsopLevelB);

  // Sets up a run. With databaseFlag set, `name` is the path of the binary
  // asteroid database; it is read and checked here, once, and the elements
  // for the start come from it (a refused file leaves the object unable to
  // compute: the next run gives no row). Otherwise the elements come from
  // the element record (n from a when 0).
  virtual void initialisieren(std::uint8_t language, TTheorySelection selection, const TTableConfigRecord& config,
                              const TAsteroidElements& elements, const TObserverRecord& start,
                              const TObserverRecord& end, const TTableStep& step, long double integrationTolerance,
                              std::int32_t vsopLevelA, std::int32_t vsopLevelB, std::uint8_t databaseFlag,
                              const std::string& name);

  // The chain for one table row: the database record of the instant (when
  // the database flag is set), the position steps, then the topocentric,
  // horizon and rise/set group by column flag 1 and the physical group by
  // column flag 2.
  void rechnen(TComputeSettingsBlock settings) override;

  // --- writers (their bodies belong to the table writers) -------------------
  virtual void exportzeile() {}
  virtual void paintzusatz(int /*row*/, std::uint8_t /*heading*/) {}
  virtual void paintzusatz_grid(tmystringgrid& /*grid*/, int /*row*/, double /*widthScale*/,
                                std::uint8_t /*heading*/) {}
  // Non-zero: paintdms into the sheet; zero: paintdms_grid into the result grid.
  virtual void paint(std::uint8_t toSheet);
  virtual void paintdms() {}
  virtual void paintdms_grid() {}
  virtual void paintelemente() {}
  virtual void paintelemente_grid() {}

  // The time loop: computes every row of the period (or of the date list in
  // date-list mode). `siderealFlag` asks for apparent sidereal time. With
  // `show` the progress panel runs and each row is copied into RowStore;
  // without it the object's name is written into each row instead. A run
  // always starts from the period start; cancelling leaves Rows 0 and
  // Stopped 1. Refused before any row (with a message): unusable elements,
  // a refused database file, a step that is not above 0.
  virtual void schleife(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show);
  // The numerically integrated table (the orbit integration drives the
  // object).
  virtual void integriere(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show,
                          std::uint8_t nameFlag);
  // Caption of the formatting phase: the whole table, or the output of one
  // object named `name`.
  virtual void ShowTableProgress(std::uint8_t wholeTable, const std::string& name);

  // Takes the elements of the database record for the working observer
  // record's instant (the file is read by initialisieren; this serves from
  // memory) and the database's name. False when no database is loaded.
  bool ReadAsteroidDatabaseRecord(const std::string& fileName);

  // --- fields added, in their order -------------------------------------------
  std::int32_t Rows = 0;
  TObserverRecord PeriodStart;
  TObserverRecord PeriodEnd;
  TTableStep Step;
  std::int32_t OutputRow = 0;
  std::int32_t OutputColumn = 0;
  TSheet* OutputSheet = nullptr;

  // Date-list lines of the last run that were not a Julian day.
  int SkippedDateLines = 0;

 protected:
  // The row's date, times and sidereal times (the latter only with `withGst`),
  // then its copy into RowStore (show) or the object's name (no show).
  void FinishRow(int row, std::uint8_t siderealFlag, std::uint8_t show, bool withGst);
  int StepRowWorker(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show, double step,
                    ProgressReporter* progress);
  int DateListRowWorker(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show,
                        ProgressReporter* progress);
  // Computes the current working instant as one row.
  void ComputeRow(TComputeSettingsBlock settings, std::uint8_t siderealFlag);

  TAsteroidDatabaseImage database_;
  bool databaseRefused_ = false;
};

// Parses one line of the date list as a Julian day ("," or "." as decimal
// mark, blanks around it ignored). False for anything else.
bool ParseDateListLine(const std::string& line, double& jd);

}  // namespace kvx
