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

bool TTableCommands::SatelliteTablesEnabled() const {
  const TEphemerisPeriodState& s = form_.Period();
  return form_.SatelliteFile().count > 0 && s.SatellitesEnabled != 0;
}

void TTableCommands::RegisterMoonAndSatelliteKinds() {
  {
    TEphemerisPeriodState& p = form_.Period();
    // The satellite tables serve period starts from the first satellites
    // (JD 2435840) to a century after the day the program started; the
    // period check keeps the items' switch from then on.
    if (p.SatelliteReferenceMjd == 0) {
      p.SatelliteReferenceMjd = CurrentMjdUtc();
    }
    if (p.SatellitesEnabled == 0 && p.Start.Mjd >= JdToMjd(2435840.0) &&
        p.Start.Mjd <= p.SatelliteReferenceMjd + 36525.0) {
      form_.SetSatellitesEnabled(1);
    }
    satellite_table_ = std::make_unique<Tsatellitenephfenster>(Request(), &form_.Workbook());
  }
  // The Galilean moons.
  dispatcher_->Register(100, [this] {
    TJupiterephfenster table(Request(), &form_.Workbook(), 0, 0);
    RunStandardTable(table, 100);
  });
  // Saturn's moons: the five-moon table (110) and the eight-moon one (111);
  // each records its own kind, so a repeat gives the same table.
  auto saturn = [this](std::int32_t kind) {
    const TEphemerisPeriodState& p = form_.Period();
    std::unique_ptr<Tsaturnmonde> table;
    if (kind == 111) {
      table = std::make_unique<TSaturnmondeMeeus>(Request(), &form_.Workbook(), 0.0L, 0, 0);
    } else {
      table = std::make_unique<Tsaturnmonde>(Request(), &form_.Workbook(), 0.0L, 0, 0);
    }
    table->schleife(p.PositionFiles, p.ApparentSiderealTime, 1);
    PrepareOutput(*table);
    dispatcher_->FinishStandardRun(*table, kind);
  };
  dispatcher_->Register(110, [saturn] { saturn(110); });
  dispatcher_->Register(111, [saturn] { saturn(111); });
  // The moon phases of the period start's year.
  dispatcher_->Register(80, [this] {
    TComputingSettings& computing = form_.Computing();
    TDocumentState& document = form_.DocumentState();
    const TEphemerisPeriodState& p = form_.Period();
    if (!(p.End.Mjd > p.Start.Mjd)) {
      LeaveWithoutTable(form_);
      AskFixEndBeforeStart();
      return;
    }
    TMondphasentabelle table(p.Start, LanguageEnglish);
    table.initialisieren(p.Start, p.TableConfig);
    table.rechnen();
    TTableOutputSettings settings;
    settings.AzimuthOrigin = computing.HalfTurnOffsetAngle;
    document.DocumentSaved = 0;
    table.paint(&form_.Workbook(), &form_.Grid(), document.WorkbookView, settings);
  });
  // The current satellite over the period.
  dispatcher_->Register(880, [this] {
    if (!PrepareSatelliteTable(true)) return;
    RunStandardTable(*satellite_table_, 880);
  });
  // Every loaded satellite at the period start.
  dispatcher_->Register(881, [this] {
    if (!PrepareSatelliteTable(false)) return;
    TDocumentState& documentState = form_.DocumentState();
    TTableState& tableState = form_.TableState();
    const TEphemerisPeriodState& p = form_.Period();
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
  TComputingSettings& computing = form_.Computing();
  const TEphemerisPeriodState& p = form_.Period();
  Tsatellitenephfenster& table = *satellite_table_;
  table.initialisieren(Request());
  table.TheorySelection = p.Selection;
  table.Accuracy.VsopLevelA = computing.Accuracy.VsopLevelA;
  table.SatelliteCount = form_.SatelliteFile().count;
  table.CurrentSatellite = CurrentSatelliteNumber;
  table.EpochWindowDays = satellite_settings_.EpochWindowDays;
  if (table.CheckSatellites(currentOnly)) return true;
  LeaveWithoutTable(form_);
  return false;
}

void TTableCommands::Satelliten1Click() {
  TSatelliteFileState& file = form_.SatelliteFile();
  std::int32_t count = file.count;
  std::int32_t window = satellite_settings_.EpochWindowDays;
  std::uint8_t twilight = satellite_settings_.TwilightChoice;
  std::string name = file.fileName;
  if (!ShowSatelliteSelectionDialog(count, window, name, twilight)) return;
  file.count = count;
  file.fileName = name;
  satellite_settings_.EpochWindowDays = window;
  satellite_settings_.TwilightChoice = twilight;
  form_.RefreshMenuStates();
}

void TTableCommands::Erdsatelliten1Click() {
  TComputingSettings& computing = form_.Computing();
  TEphemerisPeriodState& period = form_.Period();
  TTableState& table = form_.TableState();
  TSatelliteSettings settings = satellite_settings_;
  settings.AzimuthOrigin = computing.HalfTurnOffsetAngle;
  if (ShowSatelliteVisibilityDialog(form_.SatelliteFile().count, period.Start, settings) != QDialog::Accepted) {
    return;
  }
  table.TableChanged = 1;
  form_.UpdateStatusLine();
  ComputeWithoutKind();
}

}  // namespace kvx
