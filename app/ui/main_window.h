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
#include "app/data_folder.h"
#include "app/history_list.h"
#include "app/main_form_state.h"
#include "app/program_caption.h"
#include "app/settings_io.h"
#include "app/ui/command_host.h"
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

class TMainForm : public QMainWindow, public TCommandHost {
  Q_OBJECT

 public:
  // FormCreate: the tips flag, the menus and tool bars from the table, the
  // status panels, the hint handler and the font box; the command modules.
  explicit TMainForm(QWidget* parent = nullptr);
  // FormDestroy: the recent list saved, the position files closed (also
  // when saving fails).
  ~TMainForm() override;

  // The whole state: the window's own code and the tests reach every record
  // through it; the command modules take the records they work on.
  TMainFormState& State() { return state_; }

  // --- TCommandHost: TWindowRecords, THostCommands, TWindowWidgets, TSheetAccess
  TEphemerisPeriodState& Period() override { return state_.Period; }
  TTableState& TableState() override { return state_.Table; }
  TComputingSettings& Computing() override { return state_.Computing; }
  TCurrentObjects& Objects() override { return state_.Objects; }
  TDocumentState& DocumentState() override { return state_.Document; }
  TEclipseSettings& EclipseSettings() override { return state_.Eclipses; }
  TSearchSettings& SearchSettings() override { return state_.Searches; }
  TStarCatalogueState& StarCatalogueState() override { return state_.StarCatalogue; }
  const std::string& DataFolder() const override { return state_.DataFolder; }
  std::uint8_t TipsFlag() const override { return state_.TipsFlag; }
  TStoredSettings& StoredSettings() override { return stored_; }
  TMyHistoryList& RecentFiles() override { return recent_; }
  tuserlist& UserObjects() override { return user_objects_; }
  TClockList& Clocks() override { return clocks_; }
  TSatelliteFileState& SatelliteFile() override { return satellite_file_; }
  const TSatelliteFileState& SatelliteFile() const { return satellite_file_; }
  TMoonCacheState& MoonCache() override { return moon_cache_; }
  TEventList& Events() override { return events_; }
  TResultGridLook& GridLook() override;
  const std::string& ShippedFolder() const override { return shipped_folder_; }
  bool Halted() const override { return halted_; }
  TMenuCommands& Commands() override { return *commands_; }
  TTableCommands& Tables() override { return *tables_; }
  TDocumentCommands& Documents() override { return *documents_; }
  TSheetCommands& Sheets() override { return *sheets_; }
  QMainWindow& Window() override { return *this; }
  QLabel* Panel(const char* objectName) const override;
  void ShowHint(const QString& hint) override;
  QStackedWidget* CentralStack() const override { return stack_; }
  TWorkbookView* WorkbookView() const override { return workbook_view_; }
  TMyStringGridView* GridView() const override { return grid_view_; }
  void ShowClockBar(bool visible) override;
  workbook::TWorkbook& Workbook() override { return workbook_; }
  tmystringgrid& Grid() override { return grid_; }
  void PrepareSheetForBatch() override;

  // --- TWindowFeedback --------------------------------------------------------
  void UpdateStatusLine() override;
  void ShowHourglass() override;
  void RestoreCursor() override;
  void Repaint() override { repaint(); }
  void AddMenuStateRefresher(std::function<void()> refresher) override;
  void RefreshMenuStates() override;
  void MarkTableChanged() override;
  int HourglassDepth() const { return hourglass_depth_; }
  // The keyboard focus to the sheet or the result grid, whichever shows;
  // after every command, a table and at the end of the start-up.
  void FocusSheet();

  // --- TTheoryControl (theory_commands.cpp) -------------------------------------
  const TTheoryState& TheoryState() const override { return theory_; }
  TTheorySelection Selection() const override { return state_.Period.Selection; }
  void SetTheorySelection(TTheorySelection requested) override;
  void ShowTheoryMarks() override;
  bool SlowTheoryQuestion(const std::string& german, const std::string& english, int mode) override;
  void SaveTheoryForSearch() override;
  void RestoreTheoryAfterSearch() override;
  // The theory panel's and the eclipse panel's double click.
  void PanelVSOPDblClick();

  // --- TSettingRules: settings with their rules -----------------------------
  void SetMoonCacheSpan(std::int32_t span) override;
  void SetMoonCacheOrder(std::int32_t order) override;
  void SetTableEquinox(double t) override;
  void SetVsopLevelA(std::int32_t level);
  void SetVsopLevelB(std::int32_t level);
  void SetTipsFlag(std::uint8_t flag) override;
  void SetSatellitesEnabled(std::uint8_t flag) override;
  void SetOccultationCatalogueSetting(std::uint8_t value) override;
  void ReleasePositionFiles() override;
  void ReopenPositionFiles() override;
  // Re-captions menus, items and hints (the language switch calls it).
  void ApplyMenuLanguage(bool english);
  // The about box standing as splash: hidden at the end of the start-up.
  void SetSplash(TAboutBox* splash) { splash_ = splash; }
  // The folder of the files shipped with the program (ShippedDataFolder()
  // unless set before the first show).
  void SetShippedFolder(const std::string& folder) { shipped_folder_ = folder; }

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
  // The Julian dates of "jdlist.txt".
  std::vector<double>& IntegrationDates() { return integration_dates_; }
  // Reads the stored values into the window (first-run question, language,
  // bounds, bars, view) after the data folder is known.
  void LoadStoredSettings();
  // Writes the stored values and "jdlist.txt" back.
  void SaveStoredSettings();

  // --- TOrbitWork: integration and orbit determination ----------------------------
  truKu& Integrator() override;
  // F11: Runge-Kutta or Adams by the integrator choice.
  void NumerischeIntegration1Click();
  void StateVectorOutput() override;
  TOrbitDeterminationState& OrbitDetermination() override;

  // Period check, the end record's daylight hours from the start, the end
  // from the duration or by its local time; clears the table-changed flag.
  void CompletePeriod();

  // --- TConfigurationAccess: configuration file (config_commands.cpp) -----------
  tconfig& Configuration() override { return config_; }
  TConfigSettings& HeldConfiguration() override { return config_held_; }
  TConfigSettings GatherConfiguration() override;
  void ApplyConfiguration(TConfigSettings settings) override;
  bool LoadConfiguration(const std::string& fileName) override;
  bool SaveConfiguration(const std::string& fileName) override;
  // The start-up's save: when no configuration was loaded, it is named
  // "Varbo4.ocf" in the data folder and the current settings go into it.
  void SaveStartupConfiguration();
  // Set by Apply when the period's start lies after its end.
  std::uint8_t ReversedPeriod() const { return reversed_period_; }

  // --- TStarCatalogueSource: occultation star catalogue -----------------------
  std::shared_ptr<const TStarCatalogue> StarCatalogue() const override { return star_catalogue_; }
  bool EnsureStarCatalogue(const std::function<void(int)>& progress = {}) override;
  void PublishStarCatalogue(std::shared_ptr<const TStarCatalogue> catalogue) override {
    star_catalogue_ = std::move(catalogue);
  }

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  // No menu of the window's own over the bars: the bars are shown and
  // hidden by the View menu, whose check marks stay with them.
  QMenu* createPopupMenu() override { return nullptr; }

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
  TShippedCopyResult shipped_copy_;  // what the start copied into the data folder
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
