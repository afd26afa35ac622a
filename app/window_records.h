// The records the main window holds, as the command modules reach them: the
// period request, the table state, the settings, the current objects, the
// document, the lists read at start-up and the folders. The main window
// implements it.
#pragma once

#include <cstdint>
#include <string>

#include "setup/clock_list.h"

namespace kvx {

struct TComputingSettings;
struct TCurrentObjects;
struct TDocumentState;
struct TEclipseSettings;
struct TEphemerisPeriodState;
struct TMoonCacheState;
struct TSatelliteFileState;
struct TSearchSettings;
struct TStarCatalogueState;
struct TStoredSettings;
struct TTableState;
class TEventList;
struct TResultGridLook;
class TMyHistoryList;
class tuserlist;

class TWindowRecords {
 public:
  // The period request: start and end records, step, theory selection and
  // table configuration.
  virtual TEphemerisPeriodState& Period() = 0;
  // The table shown and the next one: kinds, pending completion, date list.
  virtual TTableState& TableState() = 0;
  virtual TComputingSettings& Computing() = 0;
  virtual TCurrentObjects& Objects() = 0;
  virtual TDocumentState& DocumentState() = 0;
  virtual TEclipseSettings& EclipseSettings() = 0;
  virtual TSearchSettings& SearchSettings() = 0;
  // The occultation star catalogue's level, setting, chosen star and load.
  virtual TStarCatalogueState& StarCatalogueState() = 0;
  // The folder of the data files, no trailing '/'.
  virtual const std::string& DataFolder() const = 0;
  // Non-zero: the tip of the day shows at start.
  virtual std::uint8_t TipsFlag() const = 0;
  // The values read from and written to the settings store.
  virtual TStoredSettings& StoredSettings() = 0;
  virtual TMyHistoryList& RecentFiles() = 0;
  // The objects of the user catalogue (the user-object index points in here).
  virtual tuserlist& UserObjects() = 0;
  // The world clocks, read from "clocks.dat" at start-up.
  virtual TClockList& Clocks() = 0;
  virtual TSatelliteFileState& SatelliteFile() = 0;
  virtual TMoonCacheState& MoonCache() = 0;
  // The events found by the searches; table kinds 81, 84 and 86 write them.
  virtual TEventList& Events() = 0;
  // The result grid's font, colours and sizes (the table writers take the
  // font's scale from it).
  virtual TResultGridLook& GridLook() = 0;
  // The folder of the files shipped with the program.
  virtual const std::string& ShippedFolder() const = 0;
  // True after the start-up found no star catalogue and ended the program.
  virtual bool Halted() const = 0;

 protected:
  ~TWindowRecords() = default;
};

}  // namespace kvx
