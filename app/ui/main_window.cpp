#include "app/ui/main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <filesystem>

#include "app/data_folder.h"
#include "app/help_place_names.h"
#include "app/settings_io.h"
#include "app/status_line.h"
#include "app/table_dispatcher.h"
#include "app/ui/about_box.h"
#include "app/ui/asteroid_database_commands.h"
#include "app/ui/command_registry.h"
#include "app/ui/history_menu.h"
#include "app/ui/menu_commands.h"
#include "app/ui/menu_state_refresh.h"
#include "app/ui/orbit_setup_commands.h"
#include "app/ui/user_catalogue_commands.h"
#include "catalogues/asteroid_selection.h"
#include "core/text_conversion.h"
#include "eclipses/star_catalogue.h"
#include "engine/moon.h"
#include "engine/nbody_integrator.h"
#include "engine/orbit_integration.h"
#include "engine/ui/mystringgrid_view.h"
#include "platform/desktop_opener.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/elided_label.h"
#include "platform/qt/qt_busy_cursor.h"
#include "platform/qt/qt_desktop_opener.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_message_sink.h"
#include "platform/qt/qt_progress.h"
#include "platform/qt/workbook_view.h"
#include "platform/settings_store.h"
#include "setup/ui/date_place_dialog.h"
#include "setup/ui/location_dialog.h"
#include "theories/theory_libraries.h"

namespace kvx {

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// The status panels in their order on the status bar.
constexpr const char* kPanelNames[] = {"StatusLine", "Datumpanel", "Ortpanel", "Panel5",
                                       "PanelVSOP",  "PanelElp",   "Panel4",   "Finsternispanel"};

}  // namespace

void AddFontName(const QString& faceName, QStringList& names) { names.append(faceName.left(32)); }

// --- FormCreate ----------------------------------------------------------------

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), grid_(5, 5) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QString::fromUtf8(kMainWindowCaption));
  SettingsStore& store = CurrentSettingsStore();
  state_.TipsFlag = store.BoolOr("Settings", "Tips of the day", true) ? 1 : 0;

  commands_ = new TMenuCommands(this);
  commands_->SetChecked("showtipsoftheday1", state_.TipsFlag != 0);
  commands_->MenuOpening = [this] { RefreshMenuStates(); };
  // A command's hint replaces the one of the command before; the status
  // line shows the state the command left.
  commands_->CommandStarting = [this] { ShowHint(QString()); };
  commands_->CommandDone = [this] {
    RefreshMenuStates();
    UpdateStatusLine();
    FocusSheet();
  };
  // The tool bar's two rows: the second begins with the Moon; "Break
  // toolbar" puts it under the first (FormResize).
  commands_->SplitToolBar("SpeedBar", "SpeedButton20", "SpeedBarRow2");
  if (QToolBar* table = commands_->ToolBar("TabellenToolbar")) {
    insertToolBarBreak(table);
    table->hide();
  }

  stack_ = new QStackedWidget(this);
  stack_->setObjectName(QStringLiteral("CentralStack"));
  workbook_view_ = new TWorkbookView(workbook_, stack_);
  grid_view_ = new TMyStringGridView(grid_, stack_);
  grid_view_->setObjectName(QStringLiteral("mystringgrid1"));
  stack_->addWidget(workbook_view_);
  stack_->addWidget(grid_view_);
  // The clock bar stands under the sheet when shown.
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(stack_, 1);
  clock_bar_ = new QWidget(central);
  clock_bar_->setObjectName(QStringLiteral("Panel3"));
  clock_bar_->setMinimumHeight(28);
  clock_bar_->hide();
  column->addWidget(clock_bar_);
  setCentralWidget(central);

  CreateStatusPanels();
  AttachContextMenus();
  FillFontBox();
  RegisterOwnCommands();
  InstallCommandModules(*this, {tables_, documents_, sheets_});

  recent_menu_ = new TMyHistoryMenu(recent_, this);
  recent_menu_->OnFileSelected = [this](const std::string& name) {
    if (OpenDocumentByName) OpenDocumentByName(name);
  };

  messages_ = std::make_unique<QtMessageSink>(this);
  desktop_ = std::make_unique<QtDesktopOpener>();
  help_ = std::make_unique<QtHelpViewer>(HelpFilePath(), this);
  SetMessageSink(messages_.get());
  SetProgressReporter(progress_.get());
  SetDesktopOpener(desktop_.get());
  SetHelpViewer(help_.get());
  static QtBusyCursor busy_cursor;  // the hourglass of list loads and searches
  SetBusyCursor(&busy_cursor);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    resize(screen->availableGeometry().size() * 0.92);
  } else {
    resize(1100, 720);
  }
  ShowHourglass();
}

void TMainForm::CreateStatusPanels() {
  QStatusBar* status = statusBar();
  for (const char* name : kPanelNames) {
    // The hint panel cuts a long hint with "…" and shows it whole as its tooltip.
    QLabel* panel = std::string(name) == "StatusLine" ? new TElidedLabel(status) : new QLabel(status);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setContextMenuPolicy(Qt::CustomContextMenu);
    if (std::string(name) == "StatusLine") {
      status->addWidget(panel, 1);
    } else {
      status->addPermanentWidget(panel);
    }
  }
  Panel("Finsternispanel")->hide();

  auto* progress_caption = new QLabel(status);
  progress_bar_ = new QProgressBar(status);
  progress_bar_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_bar_->setMaximumWidth(160);
  auto* cancel = new QPushButton(status);
  cancel->setObjectName(QStringLiteral("ProgressCancel"));
  ApplyDialogButtonLanguage(cancel, nullptr);
  status->addPermanentWidget(progress_caption);
  status->addPermanentWidget(progress_bar_);
  status->addPermanentWidget(cancel);
  progress_caption->hide();
  progress_bar_->hide();
  cancel->hide();
  progress_ = std::make_unique<QtProgress>(progress_bar_, progress_caption, cancel);

  // The clock bar's timer: runs while the bar is shown.
  clock_timer_ = new QTimer(this);
  clock_timer_->setObjectName(QStringLiteral("Uhrentimer"));
  clock_timer_->setInterval(1000);
  connect(clock_timer_, &QTimer::timeout, this, [this] {
    if (ClockTimerHook) ClockTimerHook();
  });
}

QLabel* TMainForm::Panel(const char* objectName) const {
  return statusBar()->findChild<QLabel*>(QString::fromLatin1(objectName));
}

void TMainForm::AttachContextMenus() {
  auto attach = [this](QWidget* widget, const char* menuName) {
    QMenu* menu = commands_->Menu(menuName);
    if (widget == nullptr || menu == nullptr) return;
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, menu,
            [widget, menu](const QPoint& at) { menu->popup(widget->mapToGlobal(at)); });
  };
  attach(Panel("StatusLine"), "PopupMenu2");
  attach(Panel("Datumpanel"), "DatumpanelKontextmenu");
  attach(Panel("Ortpanel"), "OrtpanelKontextmenu");
  attach(Panel("Panel5"), "PopupRechengenauigkeit");
  attach(workbook_view_, "PopupMenu3");
  attach(grid_view_, "PopupMenu4");
  attach(clock_bar_, "PopupMenu5");
  attach(commands_->ToolBar("SpeedBar"), "PopupMenu1");
  attach(commands_->ToolBar("SpeedBarRow2"), "PopupMenu1");
}

void TMainForm::FillFontBox() {
  QStringList names;
  for (const QString& family : QFontDatabase::families()) AddFontName(family, names);
  names.sort();
  if (auto* box = qobject_cast<QComboBox*>(commands_->ToolWidget("Arial"))) {
    box->addItems(names);
    box->setCurrentText(QStringLiteral("Arial"));
  }
}

void TMainForm::RegisterOwnCommands() {
  commands_->RegisterHandler("FileExitItem", [this] { close(); });
  commands_->RegisterHandler("HelpAboutItem", [this] { HelpAbout(); });
  commands_->RegisterHandler("HelpContentsItem", [this] { HelpContents(); });
  commands_->RegisterHandler("HelpSearchItem", [this] {
    help_->SetHelpFile(HelpFilePath());
    ShowHelpSearch();
  });
  commands_->RegisterHandler("HelpHowToUseItem", [this] {
    help_->SetHelpFile(HelpFilePath());
    ShowHelpHowToUse();
  });
  commands_->RegisterHandler("EnglischeVersion1", [this] { EnglischeVersion1Click(); });
  RegisterTheoryCommands();
  RegisterIntegrationCommands();
}

bool TMainForm::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void TMainForm::ShowHint(const QString& hint) {
  if (auto* line = qobject_cast<TElidedLabel*>(Panel("StatusLine"))) line->SetWholeText(hint);
}

void TMainForm::ShowHourglass() {
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  ++hourglass_depth_;
}

void TMainForm::RestoreCursor() {
  for (; hourglass_depth_ > 0; --hourglass_depth_) QApplication::restoreOverrideCursor();
}

// --- FormShow ------------------------------------------------------------------------

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_once_) {
    shown_once_ = true;
    FormShow();
  }
}

void TMainForm::LoadStartupSettings() {
  SettingsStore& store = CurrentSettingsStore();
  SetStartupDefaults(state_);
  state_.DataFolder = ResolveDataFolder(store.ReadString("Data", "Path"));
  if (shipped_folder_.empty()) shipped_folder_ = ShippedDataFolder();
  help_->SetHelpFile(HelpFilePath());
  shipped_copy_ = CopyMissingShippedFiles(shipped_folder_, state_.DataFolder);
  // The help's search knows the world database's cities and the places of
  // the location file in use.
  help_->SetPlaceNames(HelpPlaceNames(state_.DataFolder, [] {
    const std::string& file = LocationDialog().LocationFileName;
    return file.empty() ? TOrtwahldialog::DefaultFileName() : file;
  }));

  LoadStoredSettings();

  // The theories, the position files, the Moon cache and the satellites.
  theory_.Libraries = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  OpenPositionFiles(theory_, state_.DataFolder);
  TTheorySelection selection;
  selection.bytes[0] = PlanetTheoryOffered(kPlanetTheoryVsop87D, theory_.Libraries, false) ? kPlanetTheoryVsop87D
                                                                                           : kPlanetTheoryInternal;
  SetTheorySelection(selection);
  moon_cache_.SpanDays = state_.Computing.NumericOptions.MoonCacheSpan;
  moon_cache_.Degree = state_.Computing.NumericOptions.MoonCacheOrder;
  moon_cache_.Create();
  // The Moon tables and searches read positions through this one cache.
  MoonPositionCache = moon_cache_.Cache.get();
  // The integrations' force model reads the perturbing planets from
  // "pos.vsp" while the integration-database switch is set.
  IntegrationPositionFile = {&theory_, &state_.Computing.UseIntegrationDatabase};
  LoadSatelliteFileAtStartup(satellite_file_, state_.DataFolder, true);
  TakePositionFileBounds();
  LoadUserCatalogueAtStartup(*this);
  FindAsteroidDatabaseFiles(*this);
  // Database files added or removed while the program was closed, or another
  // folder: the choice of database files starts anew from the files found.
  state_.Objects.DatabaseListChanged =
      DatabaseListChangedSinceLastRun(stored_, state_.Objects.DatabaseFiles.size(),
                                      state_.DataFolder + "/" + kAsteroidChosenListFile)
          ? 1
          : 0;
  // The default configuration of the data folder, when there is one.
  if (LoadConfiguration(state_.DataFolder + "/" + kDefaultConfigFileName)) {
    setWindowTitle(QString::fromUtf8(kMainWindowCaption));
  }
  // Every start begins at the current instant in the start record's zone,
  // whatever date the configuration was saved with.
  StartAtCurrentInstant(state_);
  // The integration's start values from their file.
  LoadStartValuesAtStartup(*this);
}

void TMainForm::FormShow() {
  state_.Document.UntitledCounter = 0;
  state_.Document.UndoFlag = 0;
  commands_->SetChecked("showtipsoftheday1", state_.TipsFlag != 0);
  try {
    LoadStartupSettings();
  } catch (const std::exception& error) {
    // The start goes on with what was set; the recent list is made below.
    ShowMessage(std::string("Fehler beim Laden der Einstellungen: ") + error.what(),
                std::string("Error while loading the settings: ") + error.what(), MessageIcon::Error);
  }
  state_.Document.DocumentSaved = 1;
  setWindowTitle(QString::fromUtf8(kMainWindowCaption));
  UpdateStatusLine();
  recent_.SetMaxCount(state_.Document.RecentFilesCount);
  recent_.LoadFromStore(CurrentSettingsStore(), "Files");
  recent_menu_->SetMenu(commands_->Menu("FileMenu"));
  RestoreCursor();

  workbook_.Reset(state_.Document.DefaultSheetNumber);

  CheckOccultationCatalogue(state_.StarCatalogue, state_.DataFolder);
  if (state_.StarCatalogue.Level == 0) {
    HaltWithoutCatalogue();
    return;
  }

  state_.Document.DocumentSaved = 1;
  if (StartupTipHook) StartupTipHook();
  startup_flag_ = 0;
  if (splash_ != nullptr) splash_->EndSplash();

  if (QLabel* eclipse = Panel("Finsternispanel")) {
    eclipse->setText(
        ByLanguage("Bitte Geduld, Sonnenfinsternis wird berechnet", "Please wait, calculating solar eclipse"));
  }
  ApplyView();
  SaveStartupConfiguration();
  if (ThreadTimerHook) ThreadTimerHook();
  ShowClockBar(commands_->IsChecked("Weltzeituhr1"));
  if (state_.Table.TableChanged != 0) MarkTableChanged();
  RefreshMenuStates();
  FocusSheet();
}

void TMainForm::HaltWithoutCatalogue() {
  const bool english = LanguageEnglish != 0;
  const std::string shipped = shipped_folder_.empty() ? ShippedDataFolderPath() : shipped_folder_;
  std::error_code error;
  if (!std::filesystem::is_directory(shipped, error)) {
    ShowMessage(InstallationIncompleteText(shipped, state_.DataFolder, false),
                InstallationIncompleteText(shipped, state_.DataFolder, true), MessageIcon::Error, MessageButtons::Ok,
                CatalogueMissingCaption(english));
  } else if (const TWriteError* failure = shipped_copy_.WriteFailureOf(kSmallStarCatalogueFile)) {
    const std::string& folder = state_.DataFolder;
    ShowMessage(DataFolderNotWritableText(folder, DataFolderWriteCause(folder, *failure, false), false),
                DataFolderNotWritableText(folder, DataFolderWriteCause(folder, *failure, true), true),
                MessageIcon::Error, MessageButtons::Ok, CatalogueMissingCaption(english));
  } else {
    ShowMessage(CatalogueMissingText(state_.DataFolder, false), CatalogueMissingText(state_.DataFolder, true),
                MessageIcon::Error, MessageButtons::Ok, CatalogueMissingCaption(english));
  }
  // Only the stored folder is forgotten: the next start takes the default one.
  CurrentSettingsStore().EraseValue("Data", "Path");
  state_.DataFolder.clear();
  halted_ = true;
  if (splash_ != nullptr) splash_->EndSplash();
  QTimer::singleShot(0, this, &QWidget::close);
}

void TMainForm::ShowClockBar(bool visible) {
  const bool was = !clock_bar_->isHidden() && clock_timer_->isActive();
  clock_bar_->setVisible(visible);
  if (visible) {
    if (!was) {
      clock_timer_->start();
      if (ClockTimerHook) ClockTimerHook();
    }
  } else {
    clock_timer_->stop();
  }
}

void TMainForm::AddMenuStateRefresher(std::function<void()> refresher) {
  if (refresher) menu_state_refreshers_.push_back(std::move(refresher));
}

void TMainForm::RefreshMenuStates() {
  if (refreshing_menus_) return;  // a refresher that runs the refresh again
  refreshing_menus_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{refreshing_menus_};
  for (const std::function<void()>& refresher : menu_state_refreshers_) refresher();
  if (commands_ != nullptr) ApplyMenuStates(*this);
}

void TMainForm::FocusSheet() {
  if (stack_ == nullptr || halted_) return;
  // A modal dialog keeps its focus; the sheet gets it when the dialog is gone.
  if (QApplication::activeModalWidget() != nullptr) return;
  if (QWidget* view = stack_->currentWidget()) view->setFocus(Qt::OtherFocusReason);
}

void TMainForm::ApplyView() {
  stack_->setCurrentWidget(state_.Document.WorkbookView != 0 ? static_cast<QWidget*>(workbook_view_) : grid_view_);
  commands_->SetChecked("Tabellenkalkulation1", state_.Document.WorkbookView != 0);
}

// --- FormDestroy -----------------------------------------------------------------

TMainForm::~TMainForm() {
  try {
    if (shown_once_ && !halted_) {
      SaveStoredSettings();
      recent_.SaveToStore(CurrentSettingsStore(), "Files");
    }
  } catch (...) {
    // The position files are closed below whatever the saving did.
  }
  ClosePositionFiles(theory_);
  if (MoonPositionCache == moon_cache_.Cache.get()) MoonPositionCache = nullptr;
  if (IntegrationPositionFile.Theory == &theory_) IntegrationPositionFile = {};
  RestoreCursor();
  delete recent_menu_;
  recent_menu_ = nullptr;
  // The views listen to members: they go first.
  delete workbook_view_;
  workbook_view_ = nullptr;
  delete grid_view_;
  grid_view_ = nullptr;
  if (&CurrentMessageSink() == messages_.get()) SetMessageSink(nullptr);
  if (&CurrentProgress() == progress_.get()) SetProgressReporter(nullptr);
  SetDesktopOpener(nullptr);
  if (HelpViewer* previous = SetHelpViewer(nullptr); previous != help_.get()) SetHelpViewer(previous);
  SetBusyCursor(nullptr);
}

// --- status line ---------------------------------------------------------------------

void TMainForm::UpdateStatusLine() {
  if (QLabel* eclipse = Panel("Finsternispanel")) eclipse->hide();
  const TStatusTexts texts = BuildStatusTexts(state_, LanguageEnglish != 0);
  Panel("Datumpanel")->setText(Text(texts.Date));
  Panel("Ortpanel")->setText(Text(texts.Place));
  Panel("Panel5")->setText(Text(texts.Accuracy));
  Panel("PanelVSOP")->setText(Text(texts.Vsop));
  Panel("PanelElp")->setText(Text(texts.Moon));
  Panel("Panel4")->setText(Text(texts.Integration));
  commands_->SetDaylightSaving(state_.Period.Start.DaylightHours != 0);
  // The theory marks say what the theory panels say.
  ShowTheoryMarks();
}

void TMainForm::ApplyMenuLanguage(bool english) { commands_->ApplyMenuLanguage(english); }

// --- setters --------------------------------------------------------------------------

void TMainForm::SetTheorySelection(TTheorySelection requested) {
  state_.Period.Selection = ApplyTheorySelection(theory_, requested);
  ShowTheoryMarks();
}

void TMainForm::TakePositionFileBounds() {
  state_.Computing.IntegrationDatabase = theory_.VspFilePresent;
  state_.Period.IntegrationDatabase = theory_.VspFilePresent;
  state_.Period.IntegrationDatabaseFirstJd = theory_.VspFirstJulianDate;
  state_.Period.IntegrationDatabaseLastJd = theory_.VspLastJulianDate;
  state_.Period.PositionFilesLastJd = theory_.VscLastJulianDate;
  state_.Period.PositionFiles = theory_.Handles();
}

void TMainForm::ReleasePositionFiles() {
  ClosePositionFiles(theory_);
  TakePositionFileBounds();
}

void TMainForm::ReopenPositionFiles() {
  OpenPositionFiles(theory_, state_.DataFolder);
  TakePositionFileBounds();
  if (state_.Computing.IntegrationDatabase == 0) state_.Computing.UseIntegrationDatabase = 0;
  SetTheorySelection(Selection());
  UpdateStatusLine();
}

void TMainForm::SetMoonCacheSpan(std::int32_t span) {
  kvx::SetMoonCacheSpan(state_.Computing, span);
  moon_cache_.SetSpanDays(state_.Computing.NumericOptions.MoonCacheSpan);
}

void TMainForm::SetMoonCacheOrder(std::int32_t order) {
  kvx::SetMoonCacheOrder(state_.Computing, order);
  moon_cache_.SetDegree(state_.Computing.NumericOptions.MoonCacheOrder);
}

void TMainForm::SetTableEquinox(double t) { kvx::SetTableEquinox(state_.Computing, t); }
void TMainForm::SetVsopLevelA(std::int32_t level) { state_.Computing.Accuracy.VsopLevelA = level; }
void TMainForm::SetVsopLevelB(std::int32_t level) { state_.Computing.Accuracy.VsopLevelB = level; }

void TMainForm::SetTipsFlag(std::uint8_t flag) {
  state_.TipsFlag = flag;
  commands_->SetChecked("showtipsoftheday1", flag != 0);
}

void TMainForm::SetSatellitesEnabled(std::uint8_t flag) {
  state_.Computing.SatellitesEnabled = flag;
  state_.Period.SatellitesEnabled = flag;
}

void TMainForm::SetOccultationCatalogueSetting(std::uint8_t value) {
  if (value != state_.StarCatalogue.Setting) star_catalogue_.reset();
  kvx::SetOccultationCatalogueSetting(state_.StarCatalogue, value);
}

// --- completing the period ---------------------------------------------------------

void TMainForm::MarkTableChanged() {
  state_.Table.TableChanged = 1;
  if (completion_pending_) return;
  completion_pending_ = true;
  QTimer::singleShot(0, this, [this] {
    completion_pending_ = false;
    if (state_.Table.TableChanged != 0) CompletePeriod();
  });
}

void TMainForm::CompletePeriod() {
  ShowHourglass();
  TEphemerisPeriodState& period = state_.Period;
  period.ApplyTheorySelection = [this](TTheorySelection selection) { SetTheorySelection(selection); };
  period.UpdateStatusLine = [this] { UpdateStatusLine(); };
  CheckEphemerisPeriod(period);
  TTableDispatcher::CompletePeriodEnd(period);
  state_.Table.TableChanged = 0;
  RestoreCursor();
  if (RefreshMenusHook) RefreshMenusHook();
}

// --- star catalogue ------------------------------------------------------------------

bool TMainForm::EnsureStarCatalogue(const std::function<void(int)>& progress) {
  if (star_catalogue_) return true;
  if (state_.StarCatalogue.Setting == 0) return false;
  QLabel* panel = Panel("Finsternispanel");
  const QString previous = panel->text();
  panel->setText(QString::fromUtf8(ByLanguage("Datenbank wird geladen", "Loading database")));
  panel->show();
  panel->repaint();
  state_.StarCatalogue.Loading = 1;
  const bool barWasVisible = progress_bar_->isVisible();
  if (!progress) {
    progress_bar_->setRange(0, 100);
    progress_bar_->setValue(0);
    progress_bar_->show();
  }
  const std::uint8_t choice = state_.StarCatalogue.Setting;
  TStarCatalogueLoad load =
      LoadStarCatalogue(state_.DataFolder, choice, state_.StarCatalogue.SelectedStar, [this, &progress](int percent) {
        if (progress) {
          progress(percent);
        } else {
          progress_bar_->setValue(percent);
        }
      });
  state_.StarCatalogue.Loading = 0;
  panel->setText(previous);
  panel->hide();
  progress_bar_->setVisible(barWasVisible);
  RestoreCursor();
  if (!load.Catalogue) {
    ShowMessage(load.ErrorGerman, load.ErrorEnglish, MessageIcon::Error);
    LowerCatalogueAfterFailedLoad(state_.StarCatalogue, state_.DataFolder, choice);
    return false;
  }
  star_catalogue_ = std::move(load.Catalogue);
  return true;
}

// --- Help menu -------------------------------------------------------------------------

std::string TMainForm::HelpFilePath() const {
  const std::string folder = shipped_folder_.empty() ? ShippedDataFolder() : shipped_folder_;
  // The user's guide of the program's language, in the shipped data.
  return (std::filesystem::path(folder) / HelpFileName(LanguageEnglish != 0)).string();
}

void TMainForm::HelpContents() {
  help_->SetHelpFile(HelpFilePath());
  ShowHelpContents();
}

void TMainForm::HelpAbout() {
  TAboutBox box(this);
  box.ShowModalInfo();
}

}  // namespace kvx
