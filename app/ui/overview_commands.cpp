// The daily overview of the planets (kind 75, F5), the user catalogue at
// one instant, the state vectors of the planets in four frames (kind 871)
// and the single-date page of the Tools menu (the Sun, the planets, the
// Moon, the current asteroid and comet).
#include <QMainWindow>
#include <memory>

#include "app/main_form_state.h"
#include "app/ui/batch_commands.h"
#include "app/ui/command_host.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/column_flags.h"
#include "core/observer_record.h"
#include "core/records.h"
#include "engine/comet.h"
#include "engine/moon.h"
#include "engine/planet.h"
#include "engine/sun.h"
#include "platform/globals.h"
#include "platform/workbook/workbook.h"
#include "setup/setup_routines.h"
#include "setup/ui/dialog_owner.h"
#include "tables/batch_tables.h"
#include "tables/daily_overview.h"
#include "tables/planet_state_vectors.h"
#include "tables/ui/single_date_page_view.h"
#include "theories/observer_completion.h"
#include "theories/planet_positions.h"

namespace kvx {

namespace {

constexpr const char* kNoAsteroid = "Kein Planetoid";
constexpr const char* kNoComet = "Kein Komet";

// The single-date items and the body index each shows.
struct TSingleDateItem {
  const char* Command;
  std::int32_t Kind;
};
constexpr TSingleDateItem kSingleDateItems[] = {
    {"Sonne3", 0},  {"Merkur3", 1}, {"Venus3", 2}, {"Mars3", 4},  {"Jupiter3", 5},    {"Saturn3", 6},
    {"Uranus3", 7}, {"Neptun2", 8}, {"Pluto3", 9}, {"Mond3", 10}, {"Planetoid3", 11}, {"Komet3", 12},
};

}  // namespace

bool TTableCommands::StateVectorTableEnabled() const { return form_.TheoryState().Libraries.Vsop87C != 0; }

Teinzelephform& TTableCommands::SingleDatePage() {
  if (single_date_page_.isNull()) {
    single_date_page_ = new Teinzelephform(&form_.Window());
    Teinzelephform::HelpHook() = [this] { form_.Commands().Trigger("HelpContentsItem"); };
  }
  return *single_date_page_;
}

void TTableCommands::RegisterOverviewKinds() {
  // The daily overview at the period start.
  dispatcher_->Register(kTableKindDailyOverview, [this] {
    const TEphemerisPeriodState& p = form_.State().Period;
    ttagesephemeride table(Request(), &form_.Workbook());
    table.schleife(p.PositionFiles, p.ApparentSiderealTime, 1);
    PrepareOutput(table);
    dispatcher_->FinishStandardRun(table, kTableKindDailyOverview);
  });
  // The planets' state vectors at the period start.
  dispatcher_->Register(kTableKindStateVectorVsop87c, [this] {
    TMainFormState& s = form_.State();
    const TEphemerisPeriodState& p = s.Period;
    TObserverRecord instant = p.Start;
    LocalTimeToUT(instant);
    CompleteObserverRecord(p.ApparentSiderealTime, p.Selection, p.TableConfig, s.VsopLevelA, instant, p.PositionFiles);
    TLibraryTableTarget target;
    target.Language = LanguageEnglish;
    target.WorkbookView = s.WorkbookView;
    target.Sheet = &form_.Workbook();
    target.Grid = &form_.Grid();
    if (PlanetsFourFramesTable(p.PositionFiles, target, instant, s.VsopLevelA, p.TableConfig,
                               form_.TheoryState().Libraries)) {
      s.DocumentSaved = 0;
    } else {
      // The library is absent: its message, and the sheet as it was.
      LeaveWithoutTable(form_);
    }
  });

  TMenuCommands& commands = form_.Commands();
  commands.RegisterHandler("AllePlaneten1", [this] { PlainCommand(kTableKindDailyOverview); });
  commands.RegisterHandler("StatusvektorVSOP87C1", [this] { PlainCommand(kTableKindStateVectorVsop87c); });
  // The user catalogue at the period start, one row per object.
  commands.RegisterHandler("Benutzerkatalog2", [this] {
    TMainFormState& s = form_.State();
    workbook::TWorkbook& book = form_.Workbook();
    book.SetSelection(1, 1, 1, 1);
    form_.PrepareSheetForBatch();
    const TBatchRun run = BatchRunOf(form_, 1, 0);  // the catalogue run sets its own mode and output
    Tusertab table(form_.UserObjects().Item(s.UserObjectIndex), InstantRequest(), &book, kBodyIndexAsteroid);
    PrepareOutput(table);
    form_.ShowHourglass();
    const TBatchResult result = UserCatalogEphemerides(run, table, form_.UserObjects());
    form_.RestoreCursor();
    FinishBatchTable(form_, result);
  });
  for (const TSingleDateItem& item : kSingleDateItems) {
    const std::int32_t kind = item.Kind;
    commands.RegisterHandler(item.Command, [this, kind] { ShowSingleDate(kind); });
  }
}

void TTableCommands::ShowSingleDate(std::int32_t kind) {
  TMainFormState& s = form_.State();
  const TEphemerisPeriodState& p = s.Period;
  TObserverRecord o = p.Start;
  LocalTimeToUT(o);
  CompleteObserverRecord(p.ApparentSiderealTime, p.Selection, p.TableConfig, s.VsopLevelA, o, p.PositionFiles);
  if (kind == 9 && !DateInTheoryRange(p.Selection, o.Centuries)) {
    ShowPlutoDateInvalid();
    return;
  }
  if (kind == kBodyIndexAsteroid && s.CurrentAsteroid.Name == kNoAsteroid) return;
  if (kind == kBodyIndexComet && s.CurrentComet.Name == kNoComet) return;
  // The page shows every group, whatever the table columns say.
  TTableConfigRecord config = p.TableConfig;
  config.Flags[column_flag::kSummaryCoordinates] = 1;
  config.Flags[column_flag::kSummaryTopocentric] = 1;
  config.Flags[column_flag::kSummaryPhysical] = 1;
  const std::uint8_t en = LanguageEnglish;
  const TBodySettings bodySettings = BodySettingsOf(s, en);
  std::unique_ptr<TKepler> body;
  std::string name = SingleDateBodyName(kind, en);
  if (kind == kBodyIndexSun) {
    auto sun = std::make_unique<TSonne>(bodySettings, p.Selection, 0, config, o, s.IntegrationTolerance);
    sun->initialisieren(bodySettings, p.Selection, config, o, s.IntegrationTolerance);
    body = std::move(sun);
  } else if (kind == kBodyIndexMoon) {
    auto moon = std::make_unique<Tmond>(0, s.MoonOption, bodySettings, p.Selection, 0, config, o,
                                        s.IntegrationTolerance, s.VsopLevelA, s.VsopLevelB);
    moon->initialisieren(0, s.MoonOption, bodySettings, p.Selection, config, o, s.IntegrationTolerance, s.VsopLevelA,
                         s.VsopLevelB);
    body = std::move(moon);
  } else if (kind == kBodyIndexAsteroid) {
    body = std::make_unique<TKepler>(bodySettings, 0, config, s.CurrentAsteroid, o, s.IntegrationTolerance,
                                     s.VsopLevelA, s.VsopLevelB);
    body->initialisieren_objekt(bodySettings, config, s.CurrentAsteroid, o, s.IntegrationTolerance, s.VsopLevelA,
                                s.VsopLevelB, 0, s.CurrentAsteroid.Name);
    name = s.CurrentAsteroid.Name;
  } else if (kind == kBodyIndexComet) {
    auto comet = std::make_unique<TKomet>(bodySettings, p.Selection, 0, config, s.CurrentComet, o,
                                          s.IntegrationTolerance, s.VsopLevelA, s.VsopLevelB);
    comet->initialisieren(bodySettings, p.Selection, config, s.CurrentComet, o, s.IntegrationTolerance, s.VsopLevelA,
                          s.VsopLevelB);
    body = std::move(comet);
    name = s.CurrentComet.Name;
  } else {
    auto planet = std::make_unique<Tpla>(bodySettings, p.Selection, 0, kind, config, o, s.IntegrationTolerance);
    planet->initialisieren(bodySettings, p.Selection, kind, config, o, s.IntegrationTolerance);
    body = std::move(planet);
  }
  body->VsopLevelA = s.VsopLevelA;
  body->VsopLevelB = s.VsopLevelB;
  form_.ShowHourglass();
  body->rechnen(p.PositionFiles);
  form_.RestoreCursor();
  Teinzelephform& page = SingleDatePage();
  page.Context.AzimuthOrigin = s.HalfTurnOffsetAngle;
  page.Context.SecondEquinoxYear = 2000.0 + 100.0 * s.SecondEquinox;
  page.ShowSingleDateEphemeris(body->Result, kind, name, o, body.get());
}

}  // namespace kvx
