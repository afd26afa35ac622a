// The variable-star table (kind 150) and the conversion tools of the Info
// menu.
#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "tables/coordinate_conversion.h"
#include "tables/ui/coordinate_dialog.h"
#include "tables/ui/gauss_krueger_dialog.h"
#include "tables/variable_star_table.h"

namespace kvx {

void TTableCommands::RegisterToolCommands() {
  dispatcher_->Register(150, [this] {
    TDocumentState& document = host_.DocumentState();
    TCurrentObjects& objects = host_.Objects();
    TTableState& tableState = host_.TableState();
    const TEphemerisPeriodState& p = host_.Period();
    Tvareph table(p.Start, p.End, objects.CurrentVariableStar, p.TableConfig, p.Selection, LanguageEnglish);
    if (!table.CheckElements()) {
      LeaveWithoutTable(host_);
      return;
    }
    table.schleife(p.ApparentSiderealTime);
    const TTableOutputSettings settings = Output();
    document.DocumentSaved = 0;
    table.paint(&host_.Workbook(), &host_.Grid(), document.WorkbookView, settings);
    if (table.Stopped != 0) {
      // The extrema found until the cancel are written.
      dispatcher_->ReportCancelled(true);
      tableState.PreviousTableKind = kPeriodRefusedKind;
    }
  });
  // The position of the coordinate dialog in every frame.
  dispatcher_->Register(890, [this] {
    TDocumentState& document = host_.DocumentState();
    TEphemerisPeriodState& period = host_.Period();
    const TTableOutputSettings settings = Output();
    document.DocumentSaved = 0;
    CoordinateConversionTable(&host_.Workbook(), &host_.Grid(), document.WorkbookView, period.TableConfig,
                              coordinate_block_, settings, LanguageEnglish);
  });
  TMenuCommands& commands = host_.Commands();
  commands.RegisterHandler("Coordinateconversion1", [this] { Coordinateconversion1Click(); });
  commands.RegisterHandler("VernderlicherStern1", [this] { PlainCommand(150); });
  commands.RegisterHandler("GaussKrgergeogr1", [this] { GaussKrgergeogr1Click(); });
}

void TTableCommands::Coordinateconversion1Click() {
  TEphemerisPeriodState& period = host_.Period();
  if (ShowCoordinateConversionDialog(coordinate_to_table_, period.Start, coordinate_block_) != 1) return;
  if (coordinate_to_table_ == 0) return;
  ComputeKind(890);
}

void TTableCommands::GaussKrgergeogr1Click() {
  TEphemerisPeriodState& period = host_.Period();
  TTableState& table = host_.TableState();
  TObserverRecord& r = period.Start;
  double latitude = r.Latitude;
  double longitude = r.Longitude;
  if (!ShowGaussKruegerDialog(latitude, longitude)) return;
  r.Latitude = latitude;
  r.Longitude = longitude;
  host_.UpdateStatusLine();
  if (!PeriodCheck()) return;
  table.TableChanged = 1;
  ComputeWithoutKind();
}

}  // namespace kvx
