// One table row per object of a whole collection, for one instant (the
// period start): the asteroids or comets of a loaded element list, the
// objects of the user catalogue. One table object is re-initialised for every object,
// run for the single instant, and its result record becomes row i of
// RowStore; the rows are then written as one table.
//
// Mode 1 runs the object's time loop (two-body ephemeris), mode 0 its
// numerical integration, any other value neither. Output 0 writes the
// ephemeris table, any other value the element table. At most
// kMaxTableRows rows: a longer collection gives the first kMaxTableRows
// rows and an information message. A cancel stops the run without message
// and keeps the rows stored so far; the result says it was cancelled. The table object ends re-initialised
// to the caller's own elements, with the row count of the table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "core/records.h"
#include "engine/accuracy_settings.h"
#include "engine/comet.h"
#include "engine/ephemeris_table.h"
#include "engine/user_object.h"

namespace kvx {

// What every batch routine is given beside its collection.
struct TBatchRun {
  std::uint8_t Language = 0;
  TComputeSettingsBlock Settings{};
  std::uint8_t SiderealFlag = 0;
  std::uint8_t Mode = 1;     // 1 time loop, 0 integration, else neither
  std::uint8_t Output = 0;   // 0 ephemeris, else element table
  std::uint8_t ToSheet = 1;  // the main window's spreadsheet switch
  TAccuracySettings Accuracy;
  TTableStep Step;
  TObserverRecord Start;
  TTableConfigRecord Config;
  TTheorySelection Selection;
  double SecondEquinoxT = 0;  // Julian centuries from J2000
  TRiseSetSettings RiseSet;
};

// What a batch run did: wrote a table (of the rows stored until a cancel,
// when it was cancelled) or, with no row, only the sheet's finishing.
struct TBatchResult {
  bool Written = false;
  bool Cancelled = false;
  explicit operator bool() const { return Written; }
};

// Each returns whether it wrote a table and whether it was cancelled. An element list not marked loaded is
// loaded from `fileName` (format `kind`) first; a list that fails to load
// has already said why and gives no row.
TBatchResult AsteroidFileEphemerides(const TBatchRun& run, TKeplereph& table, Planetoidentabelle& list,
                                     const std::string& fileName, std::uint8_t kind, const TAsteroidElements& own);
TBatchResult CometFileEphemerides(const TBatchRun& run, TKometeph& table, Kometentabelle& list,
                                  const std::string& fileName, std::uint8_t kind, const TCometElements& own);
// The asteroids of the binary database, one ".eel" file each (full paths):
// each row from the file's element set nearest to the instant, with the
// database's name of the asteroid. A file that cannot be read has said why
// and gives an empty row with its file name.
TBatchResult AsteroidDatabaseEphemerides(const TBatchRun& run, TKeplereph& table, const std::vector<std::string>& files,
                                         const TAsteroidElements& own);
// The user catalogue: always the time loop and the ephemeris table.
TBatchResult UserCatalogEphemerides(const TBatchRun& run, Tusertab& table, const tuserlist& list);

}  // namespace kvx
