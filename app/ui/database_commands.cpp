// Integration | Data for element file | Create asteroid database: every
// asteroid of the current element file integrated over the period, its
// element rows written as one text file per asteroid into a chosen folder.
#include <QMainWindow>
#include <cmath>
#include <filesystem>

#include "app/config_file.h"
#include "app/main_form_state.h"
#include "app/program_caption.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/settings_commands.h"
#include "app/ui/table_commands.h"
#include "app/window_commands.h"
#include "app/workbook_document.h"
#include "catalogues/asteroid_list.h"
#include "core/input_checks.h"
#include "core/time_scales.h"
#include "engine/cell_format.h"
#include "engine/ephemeris_table.h"
#include "platform/folder_chooser.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/save_failure.h"

namespace kvx {

namespace {

constexpr std::int32_t kDatabaseKind = 4018;
constexpr double kIntegrationEpochMinDays = 0.99;

// Kind 4018: the current asteroid integrated over the period, its element
// rows alone in the sheet.
void RunDatabaseRecord(TCommandHost& host) {
  TCurrentObjects& objects = host.Objects();
  TTableState& tableState = host.TableState();
  const TEphemerisPeriodState& p = host.Period();
  const TTableRequest request = host.Tables().Request();
  TKeplereph table(request, &host.Workbook(), objects.CurrentAsteroid);
  table.initialisieren(request, objects.CurrentAsteroid);
  if (std::fabs(MjdToJd(p.Start.Mjd) - table.Epoch) < kIntegrationEpochMinDays) {
    ShowIntegrationStartTooNear(LanguageEnglish);
    tableState.TableKind = kNoTableKind;
    return;
  }
  table.integriere(p.PositionFiles, p.ApparentSiderealTime, 1, 1);
  table.ObjectName = objects.CurrentAsteroid.Name;
  host.Tables().PrepareOutput(table);
  host.Tables().Dispatcher().FinishStandardRun(table, kDatabaseKind, true);
}

// The target folder: an existing one, or one made with its parents.
bool ChooseTargetFolder(TWindowRecords& records, std::string& folder) {
  folder = records.DataFolder();
  if (!SelectFolder(folder, 0, 0) || folder.empty()) return false;
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return true;
  if (std::filesystem::create_directories(folder, error) && !error) return true;
  ShowMessage("Verzeichnis konnte nicht erstellt werden", "Folder could not be created", MessageIcon::Error,
              MessageButtons::Ok, LanguageEnglish != 0 ? "Invalid Path" : "Ungültiger Verzeichnispfad");
  return false;
}

std::string DateTimeText(const TObserverRecord& r) {
  std::string date, time;
  FormatDateForSlot(0, date, r.Year, r.Month, r.Day);
  FormatTimeOfDayForSlot(1, time, r.LocalHours);
  return date + " " + time;
}

void WriteSummary(TCommandHost& host, const std::string& folder, int files) {
  const bool english = LanguageEnglish != 0;
  const TEphemerisPeriodState& p = host.Period();
  workbook::TWorkbook& sheet = host.Workbook();
  host.PrepareSheetForBatch();
  sheet.SetText(1, 1, (english ? "Created Files in " : "Erzeugte Daten in ") + folder);
  sheet.SetText(2, 1, "JD ");
  sheet.SetNumber(2, 2, MjdToJd(p.Start.Mjd));
  sheet.SetNumber(2, 3, MjdToJd(p.End.Mjd));
  sheet.SetText(3, 1, english ? "From" : "Von");
  sheet.SetText(3, 2, DateTimeText(p.Start));
  sheet.SetText(4, 1, english ? "To" : "Bis");
  sheet.SetText(4, 2, DateTimeText(p.End));
  sheet.SetText(5, 1, english ? "Interval (days)" : "Intervall (Tage)");
  sheet.SetNumber(5, 2, p.Step.StepDays);
  sheet.SetText(6, 1, english ? "Number of files:" : "Erzeugte Dateien:");
  sheet.SetNumber(6, 2, files);
  sheet.SetColWidthAuto(1, 1, 6, 3);
  sheet.SetSelectionText("A1:A1");
}

void Planetoidendatenbankerstellen1Click(TCommandHost& host) {
  TComputingSettings& computing = host.Computing();
  TDocumentState& document = host.DocumentState();
  TCurrentObjects& objects = host.Objects();
  TTableState& table = host.TableState();
  const TConfigSettings config = host.GatherConfiguration();
  std::string file = config.Paths[kPathAsteroidElements];
  if (file.empty()) file = host.DataFolder() + "/planeten.csv";
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    ShowMessage(
        "Die Datei " + file +
            " mit Asteroiden-Bahnelemente wurde nicht gefunden. Bitte mit Objekte|Planetoiden eine andere Datei "
            "auswählen.",
        "The File " + file +
            " cannot be found. Please select with Objects|Asteroids another file with orbital "
            "elements.",
        MessageIcon::Error, MessageButtons::Ok, "File not found");
    return;
  }
  Planetoidentabelle list;
  std::uint8_t kind = 0;
  if (!list.Neuedateiladen(kind, file, true, 0)) return;
  std::string folder;
  if (!ChooseTargetFolder(host, folder)) return;

  // The slow-theory question once for the run: its answer holds for every
  // asteroid.
  const TTheorySelection selection = host.Selection();
  if (selection.bytes[0] != kPlanetTheoryInternal && computing.UseIntegrationDatabase == 0 && selection.bytes[2] == 0 &&
      !host.SlowTheoryQuestion("", "", 0)) {
    return;
  }

  // The rows go into the sheet whatever the view shows; each asteroid is
  // the current one while it is integrated, the user's own one afterwards.
  struct Restore {
    TCommandHost& host;
    std::uint8_t view;
    TAsteroidElements asteroid;
    QString title;
    ~Restore() {
      host.DocumentState().WorkbookView = view;
      host.Objects().CurrentAsteroid = asteroid;
      host.Window().setWindowTitle(title);
    }
  } restore{host, document.WorkbookView, objects.CurrentAsteroid, host.Window().windowTitle()};
  document.WorkbookView = 1;
  const char separator = CsvSeparatorChar(document.CsvSeparatorIndex);
  std::vector<std::string> used;
  int written = 0;
  TRunProgress progress(ByLanguage("Planetoidendatenbank", "Asteroid database"), {});
  for (int i = 0; i < list.Count(); ++i) {
    objects.CurrentAsteroid = list.Data(i);
    progress.Done(static_cast<double>(i) / list.Count());
    progress.Label(objects.CurrentAsteroid.Name);
    if (!host.Tables().PeriodCheck()) break;
    table.TableKind = kDatabaseKind;
    table.TableChanged = 1;
    host.Tables().ComputeTable();
    if (table.TableKind != kDatabaseKind) break;  // cancelled or refused
    const std::string name = DatabaseFileName(objects.CurrentAsteroid.Name, used);
    const std::string path = (std::filesystem::path(folder) / (name + ".csv")).string();
    static constexpr TSaveFailureLead kLead = {"Die Datei {} konnte nicht geschrieben werden.",
                                               "The file {} could not be written."};
    if (!SaveUserFile(path, SheetAsSeparatedText(host.Workbook(), separator), kLead)) break;
    ++written;
    host.Window().setWindowTitle(QString::fromStdString(std::string(kMainWindowCaption) + " [" + name + "] "));
  }
  progress.Finish();
  document.WorkbookView = restore.view;
  Beep();
  WriteSummary(host, folder, written);
  table.TableKind = kNoTableKind;
}

}  // namespace

void InstallDatabaseCommands(TCommandHost& host) {
  host.Tables().Dispatcher().Register(kDatabaseKind, [&host] { RunDatabaseRecord(host); });
  host.Commands().RegisterHandler("Planetoidendatenbankerstellen1",
                                  [&host] { Planetoidendatenbankerstellen1Click(host); });
}

}  // namespace kvx
