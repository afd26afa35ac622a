// The table kinds of the moons of Jupiter (100) and Saturn (110, 111), the
// moon phases (80) and the Earth satellites (880, 881), and the two
// satellite dialogs of the Objects and Info menus.
#include <QDialog>

#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/table_commands.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "setup/setup_routines.h"
#include "tables/moon_phase_table.h"
#include "tables/moon_tables.h"
#include "tables/satellite_table.h"
#include "tables/ui/satellite_dialogs.h"
#include "theories/tle.h"

namespace kvx {

void TTableCommands::RegisterMoonAndSatelliteKinds() {
  {
    TEphemerisPeriodState& p = host_.Period();
    // The satellite tables serve period starts from the first satellites
    // (JD 2435840) to a century after the day the program started; the
    // period check keeps the items' switch from then on.
    if (p.SatelliteReferenceMjd == 0) {
      p.SatelliteReferenceMjd = CurrentMjdUtc();
    }
    if (p.SatellitesEnabled == 0 && p.Start.Mjd >= JdToMjd(2435840.0) &&
        p.Start.Mjd <= p.SatelliteReferenceMjd + 36525.0) {
      host_.SetSatellitesEnabled(1);
    }
    satellite_table_ = std::make_unique<Tsatellitenephfenster>(Request(), &host_.Workbook());
  }
  // The Galilean moons.
  dispatcher_->Register(100, [this] {
    TJupiterephfenster table(Request(), &host_.Workbook(), 0, 0);
    RunStandardTable(table, 100);
  });
  // Saturn's moons: the five-moon table (110) and the eight-moon one (111);
  // each records its own kind, so a repeat gives the same table.
  auto saturn = [this](std::int32_t kind) {
    const TEphemerisPeriodState& p = host_.Period();
    std::unique_ptr<Tsaturnmonde> table;
    if (kind == 111) {
      table = std::make_unique<TSaturnmondeMeeus>(Request(), &host_.Workbook(), 0.0L, 0, 0);
    } else {
      table = std::make_unique<Tsaturnmonde>(Request(), &host_.Workbook(), 0.0L, 0, 0);
    }
    table->schleife(p.PositionFiles, p.ApparentSiderealTime, 1);
    PrepareOutput(*table);
    dispatcher_->FinishStandardRun(*table, kind);
  };
  dispatcher_->Register(110, [saturn] { saturn(110); });
  dispatcher_->Register(111, [saturn] { saturn(111); });
  // The moon phases of the period start's year.
  dispatcher_->Register(80, [this] {
    TDocumentState& document = host_.DocumentState();
    const TEphemerisPeriodState& p = host_.Period();
    if (!(p.End.Mjd > p.Start.Mjd)) {
      LeaveWithoutTable(host_);
      AskFixEndBeforeStart();
      return;
    }
    TMondphasentabelle table(p.Start, LanguageEnglish);
    table.initialisieren(p.Start, p.TableConfig);
    table.rechnen();
    const TTableOutputSettings settings = Output();
    document.DocumentSaved = 0;
    table.paint(&host_.Workbook(), &host_.Grid(), document.WorkbookView, settings);
  });
  // The current satellite over the period.
  dispatcher_->Register(880, [this] {
    if (!PrepareSatelliteTable(true)) return;
    RunStandardTable(*satellite_table_, 880);
  });
  // Every loaded satellite at the period start.
  dispatcher_->Register(881, [this] {
    if (!PrepareSatelliteTable(false)) return;
    TDocumentState& documentState = host_.DocumentState();
    TTableState& tableState = host_.TableState();
    const TEphemerisPeriodState& p = host_.Period();
    Tsatellitenephfenster& table = *satellite_table_;
    const bool finished = table.allsatellites(p.Start, p.PositionFiles);
    tableState.TableKind = 881;
    documentState.DocumentSaved = 0;
    PrepareOutput(table);
    table.paintall(documentState.WorkbookView);
    // Cancelled: the satellites done until then are written.
    if (!finished) dispatcher_->ReportCancelled(true);
  });
}

bool TTableCommands::PrepareSatelliteTable(bool currentOnly) {
  TComputingSettings& computing = host_.Computing();
  const TEphemerisPeriodState& p = host_.Period();
  Tsatellitenephfenster& table = *satellite_table_;
  table.initialisieren(Request());
  table.TheorySelection = p.Selection;
  table.Accuracy.VsopLevelA = computing.Accuracy.VsopLevelA;
  table.SatelliteCount = host_.SatelliteFile().count;
  table.CurrentSatellite = CurrentSatelliteNumber;
  table.EpochWindowDays = satellite_settings_.EpochWindowDays;
  if (table.CheckSatellites(currentOnly)) return true;
  LeaveWithoutTable(host_);
  return false;
}

void TTableCommands::Satelliten1Click() {
  TSatelliteFileState& file = host_.SatelliteFile();
  std::int32_t count = file.count;
  std::int32_t window = satellite_settings_.EpochWindowDays;
  std::uint8_t twilight = satellite_settings_.TwilightChoice;
  std::string name = file.fileName;
  if (!ShowSatelliteSelectionDialog(count, window, name, twilight)) return;
  file.count = count;
  file.fileName = name;
  satellite_settings_.EpochWindowDays = window;
  satellite_settings_.TwilightChoice = twilight;
  host_.RefreshMenuStates();
}

void TTableCommands::Erdsatelliten1Click() {
  TComputingSettings& computing = host_.Computing();
  TEphemerisPeriodState& period = host_.Period();
  TTableState& table = host_.TableState();
  TSatelliteSettings settings = satellite_settings_;
  settings.AzimuthOrigin = AzimuthOrigin(computing.NumericOptions);
  if (ShowSatelliteVisibilityDialog(host_.SatelliteFile().count, period.Start, settings) != QDialog::Accepted) {
    return;
  }
  table.TableChanged = 1;
  host_.UpdateStatusLine();
  ComputeWithoutKind();
}

}  // namespace kvx
