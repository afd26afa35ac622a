// What the command modules reach of the main window: the records the
// window holds, the menu commands, the table, document and sheet
// commands, the window's panels, and the hooks one module fills and another
// runs. The modules take this (or one of its parts: TTheoryControl,
// TWindowFeedback, TSheetAccess) instead of the window, so that the window
// can install them without their seeing it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/sheet_access.h"
#include "app/theory_control.h"
#include "app/window_feedback.h"
#include "setup/clock_list.h"

class QLabel;
class QMainWindow;
class QStackedWidget;
class QString;

namespace kvx {

struct TComputingSettings;
struct TConfigSettings;
struct TCurrentObjects;
struct TDocumentState;
struct TEclipseSettings;
struct TEphemerisPeriodState;
struct TMoonCacheState;
struct TOrbitDeterminationState;
struct TSatelliteFileState;
struct TSearchSettings;
struct TStarCatalogueState;
struct TStoredSettings;
struct TTableState;
class TDocumentCommands;
class TEventList;
class TMenuCommands;
class TMyHistoryList;
class TMyStringGridView;
class TSheetCommands;
class TStarCatalogue;
class TTableCommands;
class TWorkbookView;
class tconfig;
class truKu;
class tuserlist;

class TCommandHost : public TTheoryControl, public TWindowFeedback, public TSheetAccess {
 public:
  // --- the window's records ---------------------------------------------------
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
  // The folder of the files shipped with the program.
  virtual const std::string& ShippedFolder() const = 0;
  // True after the start-up found no star catalogue and ended the program.
  virtual bool Halted() const = 0;

  // --- the command objects ------------------------------------------------------
  virtual TMenuCommands& Commands() = 0;
  // The table commands and the dispatcher.
  virtual TTableCommands& Tables() = 0;
  virtual TDocumentCommands& Documents() = 0;
  // The sheet-editing commands, find and replace, the formatting tool bar.
  virtual TSheetCommands& Sheets() = 0;

  // --- the window -----------------------------------------------------------------
  // The window itself: the parent of dialogs, its title, tool bars and
  // status bar.
  virtual QMainWindow& Window() = 0;
  virtual QLabel* Panel(const char* objectName) const = 0;
  virtual void ShowHint(const QString& hint) = 0;
  virtual QStackedWidget* CentralStack() const = 0;
  virtual TWorkbookView* WorkbookView() const = 0;
  virtual TMyStringGridView* GridView() const = 0;
  // Shows or hides the clock panel; its timer runs only while it shows.
  virtual void ShowClockBar(bool visible) = 0;

  // --- settings with their rules --------------------------------------------------
  virtual void SetMoonCacheSpan(std::int32_t span) = 0;
  virtual void SetMoonCacheOrder(std::int32_t order) = 0;
  virtual void SetTableEquinox(double t) = 0;
  virtual void SetTipsFlag(std::uint8_t flag) = 0;
  virtual void SetSatellitesEnabled(std::uint8_t flag) = 0;
  virtual void SetHalfTurnOffsetFlag(std::uint8_t flag) = 0;
  virtual void SetOccultationCatalogueSetting(std::uint8_t value) = 0;
  // Closes the position files (while a new one replaces an old one), and
  // opens them again from the data folder, installing the theory selection
  // anew so that a new file serves at once.
  virtual void ReleasePositionFiles() = 0;
  virtual void ReopenPositionFiles() = 0;

  // --- configuration file ---------------------------------------------------------
  virtual tconfig& Configuration() = 0;
  // The configuration's fields no window of the program owns: the searches
  // read and keep their settings here (also the file names of the
  // observations and state vectors, the orbit options).
  virtual TConfigSettings& HeldConfiguration() = 0;
  // The running state as a configuration record's fields.
  virtual TConfigSettings GatherConfiguration() = 0;
  // Clamps the fields, then takes them over in their order, each through its
  // setter, and completes the period; the sheet keeps the table it holds.
  virtual void ApplyConfiguration(TConfigSettings settings) = 0;
  // tconfig.Load, then Apply; false when the file is missing or refused.
  virtual bool LoadConfiguration(const std::string& fileName) = 0;
  // Gather, then tconfig.Save.
  virtual bool SaveConfiguration(const std::string& fileName) = 0;

  // --- occultation star catalogue ---------------------------------------------------
  virtual std::shared_ptr<const TStarCatalogue> StarCatalogue() const = 0;
  // Loads the chosen catalogue on first need ("Loading database" in the
  // eclipse panel and the progress bar). False, with a message, when it
  // cannot be loaded; the catalogue setting is then lowered. `progress`
  // (percent), when given, takes the place of the window's progress bar
  // (a dialog's own bar).
  virtual bool EnsureStarCatalogue(const std::function<void(int)>& progress = {}) = 0;
  // Installs a whole catalogue loaded elsewhere (the background loader's
  // hand-over, on the GUI thread).
  virtual void PublishStarCatalogue(std::shared_ptr<const TStarCatalogue> catalogue) = 0;

  // --- integration and orbit determination ----------------------------------------
  // The n-body integrator on the workbook, holding the integration set-up.
  virtual truKu& Integrator() = 0;
  // The integrator's state vectors (with their header row) from "A1" of the
  // sheet, the block's columns fitted to the titles and values, "A1"
  // selected; into the result grid when the workbook view is off.
  virtual void StateVectorOutput() = 0;
  // The observation set and torbdet, made on first use with the data folder,
  // the theory selection and the two truncation levels.
  virtual TOrbitDeterminationState& OrbitDetermination() = 0;

  // --- hooks that one module fills and the window or another module runs ---------
  std::function<void()> UpdateExternalProgramMenu;             // the external-program items re-captioned
  std::function<void()> StartupTipHook;                        // the tip of the day at start
  std::function<void()> ThreadTimerHook;                       // the background thread's timer
  std::function<void()> RefreshMenusHook;                      // menu states after a completed period
  std::function<void()> ClockTimerHook;                        // one tick of the clock bar
  std::function<void(const std::string&)> OpenDocumentByName;  // a recent file chosen
  std::function<void()> TableWrittenHook;                      // a computed table is in the sheet

 protected:
  ~TCommandHost() = default;
};

}  // namespace kvx
