// The main window: menus, tool bars and context menus from the menu table,
// the workbook or the result grid, the status line, the recent files and
// the program's start-up and shut-down.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "app/history_list.h"
#include "app/main_form_state.h"
#include "app/settings_io.h"
#include "core/records.h"
#include "engine/mystringgrid.h"
#include "events/event_list.h"
#include "orbitdet/observations.h"
#include "platform/workbook/workbook.h"
#include "setup/clock_list.h"
#include "theories/moon_cache.h"
#include "theories/theory_state.h"
#include "theories/theory_types.h"
#include "theories/tle.h"

class QLabel;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QTimer;

namespace kvx {

inline constexpr const char* kApplicationTitle = "Kandrevoltinex 4";
inline constexpr const char* kMainWindowCaption = "Kandrevoltinex 4.6";

class QtMessageSink;
class QtProgress;
class QtDesktopOpener;
class QtHelpViewer;
class TAboutBox;
class TDocumentCommands;
class TMenuCommands;
class TSheetCommands;
class TTableCommands;
class TMyHistoryMenu;
class TMyStringGridView;
class TStarCatalogue;
class TWorkbookView;
class truKu;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // FormCreate: the tips flag, the menus and tool bars from the table, the
  // status panels, the hint handler and the font box.
  explicit TMainForm(QWidget* parent = nullptr);
  // FormDestroy: the saver hook, the recent list saved, the position files
  // closed (also when saving fails).
  ~TMainForm() override;

  TMainFormState& State() { return state_; }
  TMenuCommands& Commands() { return *commands_; }
  // The table commands and the dispatcher.
  TTableCommands& Tables() { return *tables_; }
  // The sheet-editing commands, find and replace, the formatting tool bar.
  TSheetCommands& Sheets() { return *sheets_; }
  TMyHistoryList& RecentFiles() { return recent_; }
  // True after the start-up found no star catalogue and ended the program.
  bool Halted() const { return halted_; }
  // The about box standing as splash: hidden at the end of the start-up.
  void SetSplash(TAboutBox* splash) { splash_ = splash; }
  // The folder of the files shipped with the program (ShippedDataFolder()
  // unless set before the first show).
  void SetShippedFolder(const std::string& folder) { shipped_folder_ = folder; }
  const std::string& ShippedFolder() const { return shipped_folder_; }

  const TTheoryState& TheoryState() const { return theory_; }
  TTheorySelection Selection() const { return state_.Period.Selection; }
  // Installs a theory selection by what is present (see ApplyTheorySelection).
  void SetTheorySelection(TTheorySelection requested);
  // Sets the check marks of the theory items from the live selection.
  void ShowTheoryMarks();
  // Closes the position files (while a new one replaces an old one), and
  // opens them again from the data folder, installing the theory selection
  // anew so that a new file serves at once.
  void ReleasePositionFiles();
  void ReopenPositionFiles();
  const TSatelliteFileState& SatelliteFile() const { return satellite_file_; }
  TSatelliteFileState& SatelliteFile() { return satellite_file_; }
  TMoonCacheState& MoonCache() { return moon_cache_; }
  // The objects of the user catalogue (the user-object index points in here).
  tuserlist& UserObjects() { return user_objects_; }
  // The world clocks, read from "clocks.dat" at start-up.
  TClockList& Clocks() { return clocks_; }
  workbook::TWorkbook& Workbook() { return workbook_; }
  TWorkbookView* WorkbookView() const { return workbook_view_; }
  TDocumentCommands& Documents() { return *documents_; }
  TMyStringGridView* GridView() const { return grid_view_; }
  tmystringgrid& Grid() { return grid_; }
  QStackedWidget* CentralStack() const { return stack_; }

  // --- status line and cursor ----------------------------------------------
  void UpdateStatusLine();
  QLabel* Panel(const char* objectName) const;
  void ShowHint(const QString& hint);
  // The hourglass for a long run; RestoreCursor ends every nesting.
  void ShowHourglass();
  void RestoreCursor();
  int HourglassDepth() const { return hourglass_depth_; }

  // --- settings with their rules --------------------------------------------
  void SetMoonCacheSpan(std::int32_t span);
  void SetMoonCacheOrder(std::int32_t order);
  void SetTableEquinox(double t);
  void SetVsopLevelA(std::int32_t level);
  void SetVsopLevelB(std::int32_t level);
  void SetTipsFlag(std::uint8_t flag);
  void SetSatellitesEnabled(std::uint8_t flag);
  void SetHalfTurnOffsetFlag(std::uint8_t flag);
  void SetOccultationCatalogueSetting(std::uint8_t value);
  // Re-captions menus, items and hints (the language switch calls it).
  void ApplyMenuLanguage(bool english);

  // --- language and stored settings (settings_loader.cpp) -----------------------
  // The language setter: the window's byte and LanguageEnglish, the menu
  // captions and hints, the file-dialog texts, the name tables and the
  // external-program items; the status line unless the start-up runs.
  void SetLanguage(std::uint8_t language);
  std::uint8_t Language() const { return language_; }
  // "Englische Version" / "English version" (Alt+F6).
  void EnglischeVersion1Click();
  // 1 from the settings loader until the start-up ends.
  std::uint8_t StartupFlag() const { return startup_flag_; }
  void EndStartup() { startup_flag_ = 0; }
  // The values read from and written to the settings store.
  TStoredSettings& StoredSettings() { return stored_; }
  // The Julian dates of "jdlist.txt".
  std::vector<double>& IntegrationDates() { return integration_dates_; }
  // Reads the stored values into the window (first-run question, language,
  // bounds, bars, view) after the data folder is known.
  void LoadStoredSettings();
  // Writes the stored values and "jdlist.txt" back.
  void SaveStoredSettings();
  // --- theory selection and integration (theory_commands.cpp) -------------------
  // Before a slow computation: mode 0 planets, 1 Moon, 2 both. Asks only with
  // the warnings option on and the fast-search option off; No switches the
  // mode's theories to the internal series; false only for Cancel. An empty
  // text asks the default VSOP87 question.
  bool SlowTheoryQuestion(const std::string& german, const std::string& english, int mode);
  void SaveTheoryForSearch();
  void RestoreTheoryAfterSearch();
  // The theory panel's and the eclipse panel's double click.
  void PanelVSOPDblClick();
  // The dispatcher's entry without a new kind: ComputeTableHook, else the
  // period completion.
  void ComputeTableWithoutKind();
  // The undo transaction of a batch table (the open one committed, a new
  // one begun) and the whole sheet cleared.
  void PrepareSheetForBatch();
  // The n-body integrator on the workbook, holding the integration set-up.
  truKu& Integrator();
  // F11: Runge-Kutta or Adams by the integrator choice.
  void NumerischeIntegration1Click();
  // The integrator's state vectors (with their header row) from "A1" of the
  // sheet, the block's columns fitted to the titles and values, "A1" selected; into the result grid
  // when the workbook view is off.
  void StateVectorOutput();
  // Any handler that wants the external-program items re-captioned.
  std::function<void()> UpdateExternalProgramMenu;
  // The dispatcher's entry without a new kind; without one the table-changed
  // completion stands in.
  std::function<void()> ComputeTableHook;

  // Sets the table-changed flag; the period is completed once, from a
  // zero-interval timer, and the menus refreshed.
  void MarkTableChanged();
  // Period check, the end record's daylight hours from the start, the end
  // from the duration or by its local time; clears the table-changed flag.
  void CompletePeriod();

  // --- configuration file (config_commands.cpp) ----------------------------------
  tconfig& Configuration() { return config_; }
  // The configuration's fields no window of the program owns: the searches
  // read and keep their settings here (also the file names of the
  // observations and state vectors, the orbit options).
  TConfigSettings& HeldConfiguration() { return config_held_; }
  // The events found by the searches; table kinds 81, 84 and 86 write them.
  TEventList& Events() { return events_; }
  // The running state as a configuration record's fields.
  TConfigSettings GatherConfiguration();
  // Clamps the fields, then takes them over in their order, each through its
  // setter, and completes the period; the sheet keeps the table it holds.
  void ApplyConfiguration(TConfigSettings settings);
  // tconfig.Load, then Apply; false when the file is missing or refused.
  bool LoadConfiguration(const std::string& fileName);
  // Gather, then tconfig.Save.
  bool SaveConfiguration(const std::string& fileName);
  // The start-up's save: when no configuration was loaded, it is named
  // "Varbo4.ocf" in the data folder and the current settings go into it.
  void SaveStartupConfiguration();
  // Set by Apply when the period's start lies after its end.
  std::uint8_t ReversedPeriod() const { return reversed_period_; }

  // --- occultation star catalogue ---------------------------------------------
  std::shared_ptr<const TStarCatalogue> StarCatalogue() const { return star_catalogue_; }
  // Loads the chosen catalogue on first need ("Loading database" in the
  // eclipse panel and the progress bar). False, with a message, when it
  // cannot be loaded; the catalogue setting is then lowered. `progress`
  // (percent), when given, takes the place of the window's progress bar
  // (a dialog's own bar).
  bool EnsureStarCatalogue(const std::function<void(int)>& progress = {});
  // Installs a whole catalogue loaded elsewhere (the background loader's
  // hand-over, on the GUI thread).
  void PublishStarCatalogue(std::shared_ptr<const TStarCatalogue> catalogue) { star_catalogue_ = std::move(catalogue); }

  // --- hooks that later parts of the program fill -----------------------------
  std::function<void()> SettingsLoaderHook;                    // the full settings loader
  std::function<void()> SettingsSaverHook;                     // the full settings saver
  std::function<void()> StartupTipHook;                        // the tip of the day at start
  std::function<void()> ConfigurationSaveHook;                 // "Varbo4.ocf" when none was loaded
  std::function<void()> ThreadTimerHook;                       // the background thread's timer
  std::function<void()> RefreshMenusHook;                      // menu states after a completed period
  std::function<void()> ClockTimerHook;                        // one tick of the clock bar
  std::function<void(const std::string&)> OpenDocumentByName;  // a recent file chosen
  std::function<void()> TableWrittenHook;                      // a computed table is in the sheet

  // --- orbit determination (orbit_commands.cpp) ----------------------------------
  // The observation set and torbdet, made on first use with the data folder,
  // the theory selection and the two truncation levels.
  TOrbitDeterminationState& OrbitDetermination();

  // Shows or hides the clock panel; its timer runs only while it shows.
  void ShowClockBar(bool visible);

  // --- item states and focus ---------------------------------------------------
  // Adds a routine that sets items' enabled, checked, visible states or
  // captions from the current state (objects, files, settings, the view).
  void AddMenuStateRefresher(std::function<void()> refresher);
  // Runs every refresher, in the order they were added. Every menu opening,
  // the end of every command, a completed period and every change made
  // outside a command (a modeless element window's OK, a loaded catalogue)
  // run it, so no item waits for another menu to be opened.
  void RefreshMenuStates();
  // The keyboard focus to the sheet or the result grid, whichever shows;
  // after every command, a table and at the end of the start-up.
  void FocusSheet();

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void FormShow();
  void LoadStartupSettings();
  void CreateStatusPanels();
  void AttachContextMenus();
  void FillFontBox();
  void RegisterOwnCommands();
  void RegisterTheoryCommands();
  // The position files' presence, bounds and handles into the state.
  void TakePositionFileBounds();
  void RegisterIntegrationCommands();
  void TheoryMenuClick(const char* command, std::uint8_t planetTheory);
  void ApplyView();
  void HaltWithoutCatalogue();
  // The help text: the README beside the shipped data folder.
  std::string HelpFilePath() const;
  void HelpContents();
  void HelpAbout();

  std::uint8_t language_ = 1;
  tconfig config_;
  // The configuration's fields that no window of the program owns yet: kept
  // as loaded and written back as they are.
  TConfigSettings config_held_;
  TEventList events_;
  std::uint8_t reversed_period_ = 0;
  std::uint8_t startup_flag_ = 0;
  TStoredSettings stored_;
  std::vector<double> integration_dates_;
  std::unique_ptr<truKu> integrator_;
  std::unique_ptr<TOrbitDeterminationState> orbit_;
  bool shown_once_ = false;
  bool halted_ = false;
  bool completion_pending_ = false;
  int hourglass_depth_ = 0;
  TMainFormState state_;
  workbook::TWorkbook workbook_;
  tmystringgrid grid_;
  TWorkbookView* workbook_view_ = nullptr;
  TMyStringGridView* grid_view_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QWidget* clock_bar_ = nullptr;
  QTimer* clock_timer_ = nullptr;
  QProgressBar* progress_bar_ = nullptr;
  TMenuCommands* commands_ = nullptr;
  TDocumentCommands* documents_ = nullptr;
  TTableCommands* tables_ = nullptr;
  TSheetCommands* sheets_ = nullptr;
  TMyHistoryList recent_;
  TMyHistoryMenu* recent_menu_ = nullptr;
  TAboutBox* splash_ = nullptr;
  std::string shipped_folder_;
  TTheoryState theory_;
  TSatelliteFileState satellite_file_;
  TMoonCacheState moon_cache_;
  tuserlist user_objects_;
  TClockList clocks_;
  std::shared_ptr<const TStarCatalogue> star_catalogue_;
  std::vector<std::function<void()>> menu_state_refreshers_;
  bool refreshing_menus_ = false;
  std::unique_ptr<QtMessageSink> messages_;
  std::unique_ptr<QtProgress> progress_;
  std::unique_ptr<QtDesktopOpener> desktop_;
  std::unique_ptr<QtHelpViewer> help_;
};

// Adds a font's face name (at most 32 characters) to the list.
void AddFontName(const QString& faceName, QStringList& names);

}  // namespace kvx
