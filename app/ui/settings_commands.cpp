#include "app/ui/settings_commands.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/asteroid_list_check.h"
#include "app/config_file.h"
#include "app/file_dialog_request.h"
#include "app/file_dialog_texts.h"
#include "app/history_list.h"
#include "app/main_form_state.h"
#include "app/menu_table.h"
#include "app/settings_io.h"
#include "app/table_document.h"
#include "app/ui/command_host.h"
#include "app/ui/document_commands.h"
#include "app/ui/element_commands.h"
#include "app/ui/menu_commands.h"
#include "app/ui/sheet_commands.h"
#include "app/ui/table_commands.h"
#include "app/ui/worksheet_options_dialog.h"
#include "app/window_commands.h"
#include "app/workbook_document.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "eclipses/star_catalogue.h"
#include "engine/table_globals.h"
#include "engine/ui/mystringgrid_view.h"
#include "platform/ascii_case.h"
#include "platform/desktop_opener.h"
#include "platform/file_dialog.h"
#include "platform/folder_chooser.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/qt/workbook_view.h"
#include "platform/settings_store.h"
#include "setup/clock_list.h"
#include "setup/ui/clocks_dialog.h"
#include "setup/ui/data_formats_dialog.h"
#include "setup/ui/date_place_dialog.h"
#include "setup/ui/location_dialog.h"
#include "setup/ui/numeric_options_dialog.h"
#include "setup/ui/world_cities_dialog.h"
#include "theories/moon_cache.h"

namespace kvx {

namespace {

constexpr const char* kCitiesFile = "cities.ved";

TObserverRecord& Start(TWindowRecords& records) { return records.Period().Start; }

std::string WithoutAccessKey(const char* caption) {
  std::string text = caption;
  std::erase(text, '&');
  return text;
}

std::string ExternalProgram(TWindowRecords& records) { return records.StoredSettings().ExternalApplication; }

// --- configuration files ------------------------------------------------------------

FileDialogRequest ConfigRequest(TWindowRecords& records, const char* dialog, const std::string& start) {
  FileDialogRequest request = FileDialogRequestOf(dialog);
  request.start = start.empty() ? records.DataFolder() : start;
  request.defaultExtension = "ocf";
  return request;
}

std::string DefaultConfigPath(TWindowRecords& records) { return records.DataFolder() + "/" + kDefaultConfigFileName; }

void AfterConfigurationChange(TCommandHost& host) {
  host.UpdateStatusLine();
  if (host.RefreshMenusHook) host.RefreshMenusHook();
}

void Dateiffnen1Click(TCommandHost& host) {
  const std::optional<std::string> path = AskOpenFileName(ConfigRequest(host, "OpenDialog", {}));
  if (path && host.LoadConfiguration(*path)) AfterConfigurationChange(host);
}

void SaveConfigurationAs(TCommandHost& host) {
  const std::string current = host.Configuration().FileName();
  const std::optional<std::string> path =
      AskSaveFileName(ConfigRequest(host, "SaveDialog", current.empty() ? DefaultConfigPath(host) : current));
  if (path) host.SaveConfiguration(*path);
}

void Dateispeichern1Click(TCommandHost& host) {
  const std::string name = host.Configuration().FileName();
  if (name.empty()) {
    SaveConfigurationAs(host);
  } else {
    host.SaveConfiguration(name);
  }
}

// The period of the loaded configuration: its start and end records, the
// automatic-end switch as it was saved, and its step.
void DatumausKonfiguration2Click(TCommandHost& host) {
  if (host.Configuration().FileName().empty()) return;
  TConfigSettings stored = ReadConfigRecord(host.Configuration().Record());
  ClampConfigSettings(stored);
  TEphemerisPeriodState& period = host.Period();
  TTableState& table = host.TableState();
  RestoreSavedPeriod(period, stored.Start, stored.End);
  TakeSavedPeriodLength(period, stored.PeriodDays, stored.PeriodHours);
  period.Step = stored.Step;
  table.DateListMode = 0;
  table.TableChanged = 1;
  host.Tables().ComputeWithoutKind();
  host.UpdateStatusLine();
}

// --- view ---------------------------------------------------------------------------

// Tool tips only while hints are shown.
class THintFilter : public QObject {
 public:
  explicit THintFilter(TCommandHost& host) : QObject(&host.Window()), host_(host) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ToolTip && !host_.StoredSettings().Window.Hints) return true;
    return QObject::eventFilter(watched, event);
  }

 private:
  TCommandHost& host_;
};

void ApplyView(TCommandHost& host) {
  TDocumentState& s = host.DocumentState();
  const bool sheet = s.WorkbookView != 0;
  host.CentralStack()->setCurrentWidget(sheet ? static_cast<QWidget*>(host.WorkbookView())
                                              : static_cast<QWidget*>(host.GridView()));
  host.Commands().SetChecked("Tabellenkalkulation1", sheet);
  if (!sheet) ApplyGridLayout(host.Grid(), host.Documents().Look());
  host.Documents().ShowLook();
  host.RefreshMenuStates();
  if (host.UpdateExternalProgramMenu) host.UpdateExternalProgramMenu();
}

// Workbook or result grid: the document is left (after the question), a
// new one begun, and the other view shown.
void Tabellenkalkulation1Click(TCommandHost& host) {
  TDocumentState& s = host.DocumentState();
  if (!host.Documents().MayLeave()) {
    host.Commands().SetChecked("Tabellenkalkulation1", s.WorkbookView != 0);
    return;
  }
  host.Documents().BeginNewDocument(s.DefaultSheetNumber);
  s.WorkbookView = s.WorkbookView != 0 ? 0 : 1;
  ApplyView(host);
}

// --- options --------------------------------------------------------------------------

void Optionen2Click(TCommandHost& host) {
  TComputingSettings& computing = host.Computing();
  TStarCatalogueState& catalogue = host.StarCatalogueState();
  TNumericOptions options = computing.NumericOptions;
  // "Umfassende Berechnung" is the large star catalogue's setting.
  std::uint8_t fullCalculation = catalogue.Setting == 2 ? 1 : 0;
  if (ShowNumericOptionsDialog(options, fullCalculation, true, &host.Window()) != 1) return;
  computing.NumericOptions = options;
  host.SetMoonCacheSpan(options.MoonCacheSpan);
  host.SetMoonCacheOrder(options.MoonCacheOrder);
  if (TElementDialogCommands* dialogs = ElementDialogCommandsOf(host))
    dialogs->SetLeadingZeros(options.LeadingZeros, true);
  // A new catalogue is loaded in the background while the old one stays in
  // use.
  const std::uint8_t before = catalogue.Setting;
  const std::shared_ptr<const TStarCatalogue> previous = host.StarCatalogue();
  host.SetOccultationCatalogueSetting(fullCalculation != 0 ? 2 : 1);
  if (catalogue.Setting != before) {
    if (previous) host.PublishStarCatalogue(previous);
    if (host.ThreadTimerHook) host.ThreadTimerHook();
  }
}

void Optionen1Click(TCommandHost& host) {
  TDocumentState& s = host.DocumentState();
  TWorksheetOptions options;
  options.DefaultSheetNumber = s.DefaultSheetNumber;
  options.RecentFilesCount = s.RecentFilesCount;
  options.SeparatorIndex = s.CsvSeparatorIndex;
  if (!ShowWorksheetOptionsDialog(&host.Window(), options)) return;
  s.CsvSeparatorIndex = static_cast<std::uint8_t>(std::clamp(options.SeparatorIndex, 0, 3));
  s.DefaultSheetNumber = options.DefaultSheetNumber;
  s.RecentFilesCount = options.RecentFilesCount;
  host.RecentFiles().SetMaxCount(options.RecentFilesCount);
}

void Datenformate1Click(TCommandHost& host) {
  static std::string formats_file;
  if (ShowDataFormatsDialog(formats_file, &host.Window()) == 1) {
    host.TableState().TableChanged = 1;
    host.Tables().ComputeWithoutKind();
  }
}

void Standardverzeichnisfestlegen1Click(TWindowRecords& records) {
  std::string folder = records.StoredSettings().DefaultFolder;
  if (!SelectFolder(folder, 0, 0)) return;
  records.StoredSettings().DefaultFolder = StripTrailingBackslash(folder) + "/";
}

// --- clock bar ---------------------------------------------------------------------------

class TClockBar : public QObject {
 public:
  explicit TClockBar(TCommandHost& host) : QObject(&host.Window()), host_(host), grid_(6, 1) {
    QWidget* bar = host.Window().findChild<QWidget*>(QStringLiteral("Panel3"));
    if (bar == nullptr) return;
    auto* layout = new QVBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new TMyStringGridView(grid_, bar);
    view_->setObjectName(QStringLiteral("Stringgrid2"));
    const int widths[] = {0, 150, 80, 80, 80, 120};  // name, local time, UT, sidereal time, JD
    for (int col = 1; col <= 5; ++col) grid_.SetColWidths(col, widths[col]);
    view_->horizontalHeader()->hide();
    view_->verticalHeader()->hide();
    layout->addWidget(view_);
    view_->installEventFilter(this);
  }
  ~TClockBar() override { delete view_.data(); }

  void Tick() {
    const double mjd = CurrentMjdUtc();
    FillClockGrid(grid_, host_.Clocks(), mjd);
    if (view_ != nullptr) {
      const int rows = std::max(1, grid_.RowCount() - 1);
      view_->parentWidget()->setFixedHeight(std::min(rows, 6) * view_->verticalHeader()->defaultSectionSize() +
                                            2 * view_->frameWidth());
    }
  }

  tmystringgrid& Grid() { return grid_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick) {
      host_.Commands().Trigger("Uhrenleistekonfigurieren1");
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TCommandHost& host_;
  tmystringgrid grid_;
  QPointer<TMyStringGridView> view_;  // owned by the bar, which Qt may free first
};

bool EditClockPlace(TObserverRecord& record) {
  // The clock keeps its own weather and refraction, and the keep-UT choice
  // stays as it was.
  bool keepUT = TDatumortForm::KeepUT();
  const std::optional<TObserverRecord> chosen = ChooseLocation(record, keepUT);
  if (!chosen) return false;
  record.Latitude = chosen->Latitude;
  record.Longitude = chosen->Longitude;
  record.Zone = chosen->Zone;
  record.ZoneMinutes = chosen->ZoneMinutes;
  record.DaylightHours = chosen->DaylightHours;
  record.Height = chosen->Height;
  record.PlaceName = chosen->PlaceName;
  return true;
}

void Uhrenleistekonfigurieren1Click(TCommandHost& host, TClockBar& bar) {
  TClocksDialogHost clocksHost;
  clocksHost.StartRecord = Start(host);
  clocksHost.ClockBarShown = host.Commands().IsChecked("Weltzeituhr1");
  clocksHost.ShowClockBar = [&host](bool on) { host.Commands().SetChecked("Weltzeituhr1", on); };
  clocksHost.EditPlace = EditClockPlace;
  ShowClocksDialog(host.Clocks(), host.DataFolder(), clocksHost, &host.Window());
  bar.Tick();
  host.Sheets().FormResize();
}

// --- movable feasts, manual ----------------------------------------------------------------

void RegisterMovableFeasts(TCommandHost& host) {
  host.Tables().Dispatcher().Register(895, [&host] {
    TDocumentState& document = host.DocumentState();
    TEphemerisPeriodState& period = host.Period();
    host.PrepareSheetForBatch();
    WriteMovableFeasts(host.Workbook(), period.Start.Year);
    document.DocumentSaved = 0;
    if (host.TableWrittenHook) host.TableWrittenHook();
  });
  host.Commands().RegisterHandler("BeweglicheFeiertage1", [&host] { host.Tables().PlainCommand(895); });
}

// The manual, else the user's guide of the program's language in the
// shipped data folder.
void Handbuch1Click(TWindowRecords& records) {
  const std::string folder = records.ShippedFolder().empty() ? ShippedDataFolder() : records.ShippedFolder();
  std::string manual = FindManual(folder);
  std::error_code error;
  const std::filesystem::path guide = std::filesystem::path(folder) / HelpFileName(LanguageEnglish != 0);
  if (manual.empty() && std::filesystem::is_regular_file(guide, error)) manual = guide.string();
  if (manual.empty() || !OpenWithDesktop(manual)) {
    // The same text in both languages.
    ShowMessage("Handbuch nicht gefunden", "Handbuch nicht gefunden", MessageIcon::Error, MessageButtons::Ok,
                "Kandrevoltinex 4.6");
  }
}

// --- external program ------------------------------------------------------------------------

void ShowProgramStartFailed(const std::string& program) {
  const TMenuRow* menu = FindMenuRow("Objekte1");
  const TMenuRow* item = FindMenuRow("ExternesProgrammfestlegen1");
  const std::string german = WithoutAccessKey(menu->German) + "|" + WithoutAccessKey(item->German);
  const std::string english = WithoutAccessKey(menu->English) + "|" + WithoutAccessKey(item->English);
  ShowMessage("Das Programm " + program +
                  " ließ sich nicht starten. Vielleicht läuft es bereits. Sonst prüfen Sie mit " + german +
                  ", ob der Pfad stimmt.",
              program + " Could not be started. Perhaps it runs already. Otherwise check with " + english +
                  ", whether the path is correct.",
              MessageIcon::Error);
}

bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  QStringList list;
  for (const std::string& a : arguments) list.append(QString::fromStdString(a));
  if (program.empty() || !QProcess::startDetached(QString::fromStdString(program), list)) {
    ShowProgramStartFailed(program);
    return false;
  }
  return true;
}

void UpdateExternalProgramMenu(TCommandHost& host) {
  TMenuCommands& c = host.Commands();
  const std::string program = ExternalProgram(host);
  const bool english = LanguageEnglish != 0;
  if (QAction* start = c.Action("ExternesProgramm1")) {
    start->setVisible(!program.empty());
    if (!program.empty()) start->setText(QString::fromStdString(ExternalProgramStartCaption(program, english)));
  }
  if (QAction* show = c.Action("ExternesProgrammstarten1_")) {
    show->setVisible(!program.empty() && host.DocumentState().WorkbookView != 0);
    if (!program.empty()) show->setText(QString::fromStdString(ExternalProgramShowCaption(program, english)));
  }
}

void ExternesProgrammfestlegen1Click(TCommandHost& host) {
  FileDialogRequest request = FileDialogRequestOf("OpenDialog1");
  request.start = ExternalProgram(host).empty() ? std::string("/usr/bin") : ExternalProgram(host);
  const std::optional<std::string> path = AskOpenFileName(request);
  if (!path) return;
  host.StoredSettings().ExternalApplication = *path;
  UpdateExternalProgramMenu(host);
}

// Saves the workbook, starts a new one and opens the saved file in the
// program. Nothing happens when the save did not complete.
void ExternesProgrammstarten1Click(TCommandHost& host) {
  TWorkbookDocument doc = host.Documents().WorkbookDocument();
  if (!SaveDocument(doc)) return;
  const std::string saved = doc.FileName;
  host.Documents().BeginNewDocument(host.DocumentState().DefaultSheetNumber);
  if (const std::optional<std::vector<std::string>> arguments = ExternalProgramArguments(saved)) {
    StartProgram(ExternalProgram(host), *arguments);
  }
}

// --- world city database ---------------------------------------------------------------------

bool CitiesFileIn(const std::string& folder) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(folder) / kCitiesFile, error);
}

void OrdnermitWeltdatenbank1Click(TWindowRecords& records) {
  std::string folder = records.StoredSettings().CitiesDatabase;
  if (!SelectFolder(folder, 0, 0)) return;
  StripTrailingBackslash(folder);
  if (!CitiesFileIn(folder)) {
    ShowMessage("Der Pfad für die weltweite Ortsdatenbank ist falsch.",
                "The path to the world wide datase with locations ist wrong.", MessageIcon::Error, MessageButtons::Ok,
                LanguageEnglish != 0 ? "File not found" : "Datei nicht gefunden");
    return;
  }
  records.StoredSettings().CitiesDatabase = folder;
}

void WeltweiteDatenbank1Click(TCommandHost& host) {
  std::error_code error;
  // The database shipped into the data folder serves until another is chosen.
  if (!CitiesFileIn(host.StoredSettings().CitiesDatabase) && CitiesFileIn(host.DataFolder())) {
    host.StoredSettings().CitiesDatabase = host.DataFolder();
  }
  const std::string& folder = host.StoredSettings().CitiesDatabase;
  if (!CitiesFileIn(folder) || !std::filesystem::is_regular_file(std::filesystem::path(folder) / "index.ved", error)) {
    ShowMessage("Datei mit weltweiter Datenbank nicht gefunden. Bitte geben sie den Pfad an.",
                "File with world wide database with location not found. Please select the folder.", MessageIcon::Error);
    OrdnermitWeltdatenbank1Click(host);
    if (!CitiesFileIn(host.StoredSettings().CitiesDatabase)) return;
  }
  TObserverRecord record = Start(host);
  bool keepUT = TDatumortForm::KeepUT();
  if (!ShowWorldCitiesDialog(host.StoredSettings().CitiesDatabase, kCitiesFile, record, keepUT, &host.Window())) return;
  TDatumortForm::KeepUT() = keepUT;
  // As the place dialog: with UT kept the local clock follows the new zone.
  if (keepUT) {
    UTToLocalTime(record);
  } else {
    LocalTimeToUT(record);
  }
  Start(host) = record;
  host.TableState().TableChanged = 1;
  host.Tables().ComputeWithoutKind();
  host.UpdateStatusLine();
}

// --- activation, idle check, Moon cache --------------------------------------------------

// The first activation of the window: the asteroid-database lists are
// checked in idle time, one entry of each per event-loop turn, and a
// configuration named on the command line is loaded. Afterwards the Moon
// cache is kept over the period start: once after each change, from a
// single-shot zero timer.
class TIdleWork : public QObject {
 public:
  explicit TIdleWork(TCommandHost& host) : QObject(&host.Window()), host_(host) {
    check_timer_ = new QTimer(this);
    check_timer_->setInterval(0);
    connect(check_timer_, &QTimer::timeout, this, [this] { CheckStep(); });
    keeper_ = new QTimer(this);
    keeper_->setSingleShot(true);
    keeper_->setInterval(0);
    connect(keeper_, &QTimer::timeout, this, [this] { KeepMoonCache(); });
    host.Window().installEventFilter(this);
  }

  void ArmMoonCacheKeeper() {
    if (check_done_) keeper_->start();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == parent() && event->type() == QEvent::WindowActivate && !activated_) {
      activated_ = true;
      FormActivate();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void FormActivate() {
    const std::string& data = host_.DataFolder();
    if (host_.Halted() || data.empty()) return;
    check_ = TAsteroidListCheck::FromFolder(data);
    entries_ = check_.Sources().size() + check_.Destinations().size();
    check_timer_->start();
    // A configuration file as the first argument.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
      const std::filesystem::path path = arguments[1].toStdString();
      std::error_code error;
      if (path.extension().string().size() == 4 && AsciiUpper(path.extension().string()) == ".OCF" &&
          std::filesystem::is_regular_file(path, error) && host_.LoadConfiguration(path.string())) {
        AfterConfigurationChange(host_);
      }
    }
  }

  void CheckStep() {
    const bool done = check_.Step();
    QLabel* panel = host_.Panel("Finsternispanel");
    if (entries_ > 0 && panel != nullptr && check_.Steps() % 20 == 0 && !done) {
      panel->setText(QString::fromUtf8(ByLanguage("Überprüfe Asteroidendatenbank", "Checking asteroid database")) +
                     QStringLiteral(" %1%").arg(check_.Percent()));
      panel->show();
    }
    if (!done) return;
    check_timer_->stop();
    if (check_.Sources().size() + check_.Destinations().size() != entries_) check_.Save(host_.DataFolder());
    for (const char* item : {"KonjunktionenundEreignisse1", "Planetoidendatenbank1", "PlanetoidenausDatenbank2",
                             "Asteroidendatenbanken1"}) {
      host_.Commands().SetEnabled(item, true);
    }
    if (entries_ > 0 && panel != nullptr && host_.StarCatalogueState().Loading == 0) panel->hide();
    check_done_ = true;
    ArmMoonCacheKeeper();
  }

  void KeepMoonCache() {
    const TComputingSettings& computing = host_.Computing();
    const TEphemerisPeriodState& period = host_.Period();
    if (computing.NumericOptions.InterpolateMoon == 0 || !host_.MoonCache().Cache) return;
    const TObserverRecord& r = period.Start;
    const double T = (r.Mjd + r.DeltaTSeconds / 86400.0 - 51544.5) / 36525.0;
    if (!std::isfinite(T)) return;
    host_.MoonCache().Cache->MoonChebEnsure(MoonOptionByte(computing.NumericOptions), host_.Selection(),
                                            computing.Accuracy.VsopLevelA, T);
  }

  TCommandHost& host_;
  QTimer* check_timer_;
  QTimer* keeper_;
  TAsteroidListCheck check_;
  std::size_t entries_ = 0;
  bool activated_ = false;
  bool check_done_ = false;
};

}  // namespace

void NewConfiguration(TCommandHost& host) {
  TMainFormState defaults;
  SetStartupDefaults(defaults);
  const TConfigSettings current = host.GatherConfiguration();
  TConfigSettings s;
  s.Paths = current.Paths;
  TakeStateRecords(defaults, s);
  const TTheoryState& theory = host.TheoryState();
  s.Selection.bytes[0] =
      PlanetTheoryOffered(kPlanetTheoryVsop87D, theory.Libraries, false) ? kPlanetTheoryVsop87D : kPlanetTheoryInternal;
  s.OccultationCatalogue = host.StarCatalogueState().Level >= 1 ? 1 : 0;
  host.Configuration().SetName({});
  host.ApplyConfiguration(s);
  // The end follows the start by the default duration.
  host.Period().AutoEnd = defaults.Period.AutoEnd;
  AfterConfigurationChange(host);
}

void SearchForExternalProgram(TCommandHost& host) {
  SettingsStore& store = CurrentSettingsStore();
  if (!ExternalProgram(host).empty() || !store.BoolOr("Settings", "FindExcel", true)) return;
  for (const char* name : {"localc", "libreoffice", "soffice", "gnumeric"}) {
    const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!found.isEmpty()) {
      host.StoredSettings().ExternalApplication = found.toStdString();
      break;
    }
  }
  store.WriteBool("Settings", "FindExcel", false);
  if (ExternalProgram(host).empty()) {
    const MessageResult answer = ShowMessage(
        "Der Pfad zu Tabellenkalkulation wurde nicht gefunden. Dies ist KEIN kritischer Fehler. Sie können lediglich "
        "Tabellenkalkulation nicht direkt aus Kandrevoltinex 4.6 starten. Wollen Sie nach Tabellenkalkulation suchen?",
        "The path to spreadsheet program was not found. This is no critical error, but for the moment you cannot start "
        "spreadsheet program directly from Kandrevoltinex 4.6. Do you want so search for spreadsheet program?",
        MessageIcon::Error, MessageButtons::YesNo,
        LanguageEnglish != 0 ? "Path to excternal application not found" : "Pfad zu externem Programm nicht gefunden");
    if (answer == MessageResult::Yes) ExternesProgrammfestlegen1Click(host);
  }
  UpdateExternalProgramMenu(host);
}

void InstallExternalProgramSearch(TCommandHost& host) {
  std::function<void()> previous = host.ThreadTimerHook;
  host.ThreadTimerHook = [&host, previous] {
    if (previous) previous();
    QTimer::singleShot(0, &host.Window(), [&host] { SearchForExternalProgram(host); });
  };
}

void InstallSettingsCommands(TCommandHost& host) {
  TMenuCommands& c = host.Commands();
  TCommandHost* f = &host;
  c.RegisterHandler("Dateineu1", [f] { NewConfiguration(*f); });
  c.RegisterHandler("Dateiffnen1", [f] { Dateiffnen1Click(*f); });
  c.RegisterHandler("Dateispeichern1", [f] { Dateispeichern1Click(*f); });
  c.RegisterHandler("Dateispeichernunter1", [f] { SaveConfigurationAs(*f); });
  c.RegisterHandler("DatumausKonfiguration2", [f] { DatumausKonfiguration2Click(*f); });

  c.RegisterHandler("Optionen2", [f] { Optionen2Click(*f); });
  c.RegisterHandler("Optionen1", [f] { Optionen1Click(*f); });
  c.RegisterHandler("Datenformate1", [f] { Datenformate1Click(*f); });
  c.RegisterHandler("Standardverzeichnisfestlegen1", [f] { Standardverzeichnisfestlegen1Click(*f); });

  auto* hints = new THintFilter(host);
  qApp->installEventFilter(hints);
  c.RegisterHandler("Schnellhilfeanzeigen1", [f] {
    bool& on = f->StoredSettings().Window.Hints;
    on = !on;
    f->Commands().SetChecked("Schnellhilfeanzeigen1", on);
  });
  c.RegisterHandler("BreakToolbar1", [f] { f->Sheets().FormResize(); });
  c.RegisterHandler("ausblenden2", [f] {
    f->Commands().SetChecked("s1", false);
    f->Sheets().FormResize();
  });
  c.RegisterHandler("Tabellenkalkulation1", [f] { Tabellenkalkulation1Click(*f); });

  auto* clocks = new TClockBar(host);
  host.ClockTimerHook = [clocks] { clocks->Tick(); };
  c.RegisterHandler("Weltzeituhr1", [f] { f->ShowClockBar(f->Commands().IsChecked("Weltzeituhr1")); });
  c.RegisterHandler("Uhrenleistekonfigurieren1", [f, clocks] { Uhrenleistekonfigurieren1Click(*f, *clocks); });

  auto* idle = new TIdleWork(host);
  // The Moon cache follows the period start after every completed period
  // and every table.
  std::function<void()> refresh = host.RefreshMenusHook;
  host.RefreshMenusHook = [refresh, idle] {
    if (refresh) refresh();
    idle->ArmMoonCacheKeeper();
  };
  std::function<void()>& tableRefresh = host.Tables().Dispatcher().Hooks().RefreshMenus;
  tableRefresh = [previous = tableRefresh, idle] {
    if (previous) previous();
    idle->ArmMoonCacheKeeper();
  };

  RegisterMovableFeasts(host);
  InstallDatabaseCommands(host);
  c.RegisterHandler("Handbuch1", [f] { Handbuch1Click(*f); });
  c.RegisterHandler("ExternesProgrammfestlegen1", [f] { ExternesProgrammfestlegen1Click(*f); });
  c.RegisterHandler("ExternesProgramm1", [f] { StartProgram(ExternalProgram(*f), {}); });
  c.RegisterHandler("ExternesProgrammstarten1_", [f] { ExternesProgrammstarten1Click(*f); });
  host.UpdateExternalProgramMenu = [f] { UpdateExternalProgramMenu(*f); };
  UpdateExternalProgramMenu(host);
  c.RegisterHandler("WeltweiteDatenbank1", [f] { WeltweiteDatenbank1Click(*f); });
  c.RegisterHandler("OrdnermitWeltdatenbank1", [f] { OrdnermitWeltdatenbank1Click(*f); });
}

}  // namespace kvx
