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
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/table_step.h"
#include "core/two_body.h"
#include "engine/asteroid_database_image.h"
#include "engine/cell_format.h"
#include "engine/kepler.h"
#include "engine/mystringgrid.h"
#include "engine/planet_elements.h"
#include "engine/table_request.h"
#include "engine/table_sink.h"

namespace kvx {

class ProgressReporter;
struct TColumnDescriptor;
struct TRowValues;

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
  // Copies the request's records, output settings and date list; sets the output
  // sheet, the tolerance, both VSOP levels, stopped 0, the language and the
  // progress caption of the asteroid table; sets the table up as
  // initialisieren does with an empty name and database flag 0.
  TKeplereph(const TTableRequest& request, TSheet* outputSheet, const TAsteroidElements& elements = {});

  // Sets up a run from the request (the output settings and the date list
  // stay). With databaseFlag set, `name` is the
  // path of the binary asteroid database; it is read and checked here, once,
  // and the elements for the start come from it (a refused file leaves the
  // object unable to compute: the next run gives no row). Otherwise the
  // elements come from the element record (n from a when 0).
  virtual void initialisieren(const TTableRequest& request, const TAsteroidElements& elements,
                              std::uint8_t databaseFlag = 0, const std::string& name = {});

  // Takes the request's table configuration, period (the working observer
  // record starts at its start) and step.
  void TakePeriod(const TTableRequest& request);

  // The chain for one table row: the database record of the instant (when
  // the database flag is set), the position steps, then the topocentric,
  // horizon and rise/set group by column flag 1 and the physical group by
  // column flag 2.
  void rechnen(TComputeSettingsBlock settings) override;

  // --- writers (engine/table_writers.cpp) -------------------------------------
  // One line per row of RowStore (rows 1 .. Rows), no heading:
  // RA;Dec;name;day;JD with RA and Dec in degrees as 4.5 fixed numbers and
  // the JD as 10.5, the locale's decimal separator; the row's own name when
  // it carries one, else the object's, cut to 40 characters; the day of the
  // month in a field of 5. A value that is not finite leaves its field empty.
  virtual void exportzeile(std::ostream& out);
  // The export into a file, replacing it only when the whole text was
  // written. False with `error` saying why.
  bool ExportRowsToFile(const std::string& path, std::string& error);
  // The Moon's extra block of row k (1-based in RowStore) into the sheet at
  // OutputRow, OutputColumn (advanced per cell); heading mode writes the
  // headings. The grid twin sets each column's width with `widthScale`.
  virtual void paintzusatz(int k, std::uint8_t heading);
  virtual void paintzusatz_grid(tmystringgrid& grid, int k, double widthScale, std::uint8_t heading);
  // Non-zero: paintdms into the sheet; zero: paintdms_grid into the result grid.
  virtual void paint(std::uint8_t toSheet);
  // The ephemeris table into OutputSheet / OutputGrid: a heading row built
  // from the first row, then one row per row of RowStore; the columns of the
  // catalogue (engine/column_catalogue.h) the configuration switches on. The
  // row-count flag scales the progress by Rows (set) or by the period's
  // row estimate (clear). Nothing is written when Rows < 1.
  virtual void paintdms(std::uint8_t rowCountFlag = 1);
  virtual void paintdms_grid(std::uint8_t rowCountFlag = 1);
  // The element table (asteroids and comets: the layout of the element
  // files); sheetFlag 0 writes into the grid instead.
  virtual void paintelemente(std::uint8_t rowCountFlag = 1, std::uint8_t sheetFlag = 1);
  virtual void paintelemente_grid(std::uint8_t rowCountFlag = 1);

  // The osculating-element columns (flags 96 .. 108) of one row at (row,
  // column), the column advanced per cell. With stateFlag the elements come
  // from `state` (heliocentric position AU and velocity AU/day, equatorial
  // of the equinox JD unless eclipticFlag says ecliptic) at the row's JD
  // with `mass` (solar masses); otherwise `elements` are written and the
  // perihelion-time column is left out. A state that gives no orbit leaves
  // the cells empty. Heading mode writes the headings (the grid: and
  // widths).
  void WriteOsculatingElementColumns(std::uint8_t stateFlag, std::uint8_t eclipticFlag,
                                     const TEphemerisResultRecord& record, const TStateVectorExt& state,
                                     const TOsculatingElements& elements, long double mass, double equinoxJd, int row,
                                     int& column, std::uint8_t heading, TSheet& sheet);
  void WriteOsculatingElementColumnsToGrid(std::uint8_t stateFlag, std::uint8_t eclipticFlag,
                                           const TEphemerisResultRecord& record, const TStateVectorExt& state,
                                           const TOsculatingElements& elements, long double mass, double equinoxJd,
                                           int row, int& column, std::uint8_t heading, tmystringgrid& grid);
  // One row of the element table: the eleven columns of the asteroid (body
  // index 11) or comet element file, from the state (stateFlag) or from
  // `elements`.
  void WriteElementRowToSheet(TSheet& sheet, int row, int& column, std::uint8_t heading, std::uint8_t stateFlag,
                              std::uint8_t eclipticFlag, const TEphemerisResultRecord& record,
                              const TStateVectorExt& state, double equinoxJd, const TOsculatingElements& elements);
  void WriteElementRowToGrid(tmystringgrid& grid, int row, int& column, std::uint8_t heading, std::uint8_t stateFlag,
                             std::uint8_t eclipticFlag, const TEphemerisResultRecord& record,
                             const TStateVectorExt& state, double equinoxJd, const TOsculatingElements& elements);

  // The time loop: computes every row of the period (or of the date list in
  // date-list mode). `siderealFlag` asks for apparent sidereal time. With
  // `show` the progress panel runs and each row is copied into RowStore;
  // without it the object's name is written into each row instead. A run
  // always starts from the period start; cancelling sets Stopped 1 and
  // keeps Rows at the rows finished before the cancel (a row whose
  // computation the cancel cut short is not counted), so that the writers
  // still write them. Refused before any row (with a message): unusable
  // elements, a refused database file, a step that is not above 0.
  virtual void schleife(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show);
  // The numerically integrated table (the orbit integration drives the
  // object). A cancel keeps the rows integrated before it, as schleife.
  virtual void integriere(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show,
                          std::uint8_t nameFlag);
  // Caption of the formatting phase: the whole table, or the output of one
  // object named `name`.
  virtual void ShowTableProgress(std::uint8_t wholeTable, const std::string& name);
  // The time-of-day column is written unless the date-only flag is on and
  // the rows all fall on one time of day: with a step of a day or longer,
  // or, in date-list mode, with every listed instant of the last run at
  // local midnight (within half a second). Rows less than a day apart would
  // otherwise show the same date and nothing else.
  bool TimeOfDayColumnOn() const;
  // The row's instant in Result, from Observer: the Julian day of its UT,
  // its local civil date and time (hours) and its local sidereal time
  // (hours).
  void TakeRowInstant();

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
  // The result grid the grid writers write into, and the main window's
  // output settings; the main window hands both in before a table is
  // written.
  tmystringgrid* OutputGrid = nullptr;
  TTableOutputSettings OutputSettings;

  // Date-list mode and its lines (see TTableRequest).
  std::uint8_t DateListMode = 0;
  std::vector<std::string> JulianDateList;
  // Date-list lines of the last run that were not a Julian day.
  int SkippedDateLines = 0;
  // True when an instant of the last date-list run was not at local
  // midnight.
  bool ListedTimeOfDay = false;

 protected:
  // Every set-up's stores from the request: body settings, tolerance, both
  // VSOP levels, theory selection and TakePeriod's; rows 0.
  void TakeRequest(const TTableRequest& request);
  // The integration driver of the body kind (asteroids; the comet table
  // replaces it), run by integriere inside its progress and cancel frame.
  virtual void RunOrbitIntegration(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show,
                                   long double span, std::uint8_t nameFlag);
  // The row's date, times and sidereal times (the latter only with `withGst`),
  // then its copy into RowStore (show) or the object's name (no show).
  void FinishRow(int row, std::uint8_t siderealFlag, std::uint8_t show, bool withGst);
  int StepRowWorker(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show, double step,
                    ProgressReporter* progress);
  int DateListRowWorker(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show,
                        ProgressReporter* progress);
  // Computes the current working instant as one row.
  void ComputeRow(TComputeSettingsBlock settings, std::uint8_t siderealFlag);

  // --- the writers' shared parts (engine/table_writers.cpp) ----------------
  // The frame of every table writer: set-up, progress, one row callback per
  // output row (k: 1-based row of RowStore; heading on the first output
  // row, built from row 1), cancel, and the finishing on every way out.
  void WriteTableFrame(TCellSink& sink, std::uint8_t rowCountFlag,
                       const std::function<void(TCellSink&, int k, bool heading)>& writeRow);
  // `write` with a sink on the sheet (toSheet) or on the result grid (with
  // OutputSettings), when that target is set; nothing otherwise. Every
  // table's paint and paint_grid choose their target here.
  void WriteToOutput(bool toSheet, const std::function<void(TCellSink&)>& write);
  // WriteTableFrame with `writeRow` into the target WriteToOutput chooses.
  void WriteRowsToOutput(bool toSheet, std::uint8_t rowCountFlag,
                         const std::function<void(TCellSink&, int k, bool heading)>& writeRow);
  // One row of the ephemeris table that paintdms and paintdms_grid write
  // (a table with other columns gives its own).
  virtual void WriteEphemerisRow(TCellSink& sink, int k, bool heading);
  void ChooseLayout(const TEphemerisResultRecord& first);
  void WriteCatalogueCell(TCellSink& sink, const TColumnDescriptor& d, const TRowValues& v, bool heading);
  void WriteElementTableRow(TCellSink& sink, int k, bool heading);
  void WriteMoonExtraColumns(TCellSink& sink, const TEphemerisResultRecord& record, bool heading);
  void WriteOsculatingElements(TCellSink& sink, std::uint8_t stateFlag, std::uint8_t eclipticFlag,
                               const TEphemerisResultRecord& record, const TStateVectorExt& state,
                               const TOsculatingElements& elements, long double mass, double equinoxJd, int row,
                               int& column, bool heading);
  void WriteElementRow(TCellSink& sink, int row, int& column, bool heading, std::uint8_t stateFlag,
                       std::uint8_t eclipticFlag, const TEphemerisResultRecord& record, const TStateVectorExt& state,
                       double equinoxJd, const TOsculatingElements& elements);
  // Heading text (with the grid's width) of a column headed by `slot`.
  void WriteHeadingCell(TCellSink& sink, int row, int column, int slot, const std::string& text, bool width);
  // The local time column (unless the date alone is asked for) and the
  // Julian date column (when chosen) of one row of the moon and satellite
  // tables, from the next output column on: the headings of slots 1 and 3,
  // or the row's LocalHours and JD.
  void WriteTimeColumns(TCellSink& sink, int row, const TEphemerisResultRecord& r, bool heading);
  // Columns of the current table, chosen from its first row.
  std::vector<const TColumnDescriptor*> layout_;
  bool nameColumn_ = false;

  TAsteroidDatabaseImage database_;
  bool databaseRefused_ = false;
};

// Parses one line of the date list as a Julian day ("," or "." as decimal
// mark, blanks around it ignored). False for anything else.
bool ParseDateListLine(const std::string& line, double& jd);

}  // namespace kvx
