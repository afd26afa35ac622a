// The seasons table (kind 90): Tables | Seasons fills the event list with
// the seasons of every year from the period's start year to its end year,
// and the kind writes them into the sheet or the result grid.
#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/name_tables.h"
#include "tables/season_table.h"

namespace kvx {

namespace {
constexpr std::int32_t kSeasonsKind = 90;
}  // namespace

void TTableCommands::RegisterSeasonKind() {
  dispatcher_->Register(kSeasonsKind, [this] {
    TDocumentState& document = host_.DocumentState();
    TEphemerisPeriodState& period = host_.Period();
    if (seasons_.empty()) {
      LeaveWithoutTable(host_);
      return;
    }
    const TTableOutputSettings settings = Output();
    TSeasonCaptions captions;
    for (std::size_t k = 0; k < captions.size(); ++k) captions[k] = SeasonNames[k].substr(0, 50);
    document.DocumentSaved = 0;
    PaintSeasonTable(period.TableConfig, &host_.Workbook(), &host_.Grid(), document.WorkbookView, settings, seasons_,
                     captions);
    // The list serves this one table: written, it is emptied.
    seasons_.clear();
  });
  host_.Commands().RegisterHandler("Jahreszeiten1", [this] { Jahreszeiten1Click(); });
}

void TTableCommands::Jahreszeiten1Click() {
  TComputingSettings& computing = host_.Computing();
  TTableState& table = host_.TableState();
  const TEphemerisPeriodState& p = host_.Period();
  seasons_ = ComputeSeasons(p.Start, p.End, p.PositionFiles, p.Selection, computing.Accuracy.VsopLevelA);
  if (seasons_.empty()) return;
  table.TableKind = kSeasonsKind;
  ComputeTable();
}

}  // namespace kvx
