// The daily overview of the planets (kind 75, F5), the user catalogue at
// one instant, the state vectors of the planets in four frames (kind 871)
// and the single-date page of the Tools menu (the Sun, the planets, the
// Moon, the current asteroid and comet).
#include <QMainWindow>
#include <memory>

#include "app/main_form_state.h"
#include "app/ui/batch_commands.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/column_flags.h"
#include "core/observer_record.h"
#include "core/records.h"
#include "core/time_scales.h"
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

// The period's start as an instant (UT from its local time), completed
// with the period's theories, columns and sidereal time.
TObserverRecord CompletedStart(const TEphemerisPeriodState& p, const TComputingSettings& computing) {
  TObserverRecord instant = p.Start;
  LocalTimeToUT(instant);
  CompleteObserverRecord(p.ApparentSiderealTime, p.Selection, p.TableConfig, computing.Accuracy.VsopLevelA, instant,
                         p.PositionFiles);
  return instant;
}

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

Teinzelephform& TTableCommands::SingleDatePage() {
  if (single_date_page_.isNull()) single_date_page_ = new Teinzelephform(&host_.Window());
  return *single_date_page_;
}

void TTableCommands::RegisterOverviewKinds() {
  // The daily overview at the period start.
  dispatcher_->Register(kTableKindDailyOverview, [this] {
    const TEphemerisPeriodState& p = host_.Period();
    ttagesephemeride table(Request(), &host_.Workbook());
    table.schleife(p.PositionFiles, p.ApparentSiderealTime, 1);
    PrepareOutput(table);
    dispatcher_->FinishStandardRun(table, kTableKindDailyOverview);
  });
  // The planets' state vectors at the period start.
  dispatcher_->Register(kTableKindStateVectorVsop87c, [this] {
    TComputingSettings& computing = host_.Computing();
    TDocumentState& document = host_.DocumentState();
    const TEphemerisPeriodState& p = host_.Period();
    const TObserverRecord instant = CompletedStart(p, computing);
    TLibraryTableTarget target;
    target.Language = LanguageEnglish;
    target.WorkbookView = document.WorkbookView;
    target.Sheet = &host_.Workbook();
    target.Grid = &host_.Grid();
    if (PlanetsFourFramesTable(p.PositionFiles, target, instant, computing.Accuracy.VsopLevelA, p.TableConfig,
                               host_.TheoryState().Libraries)) {
      document.DocumentSaved = 0;
    } else {
      // The library is absent: its message, and the sheet as it was.
      LeaveWithoutTable(host_);
    }
  });

  TMenuCommands& commands = host_.Commands();
  commands.RegisterHandler("AllePlaneten1", [this] { PlainCommand(kTableKindDailyOverview); });
  commands.RegisterHandler("StatusvektorVSOP87C1", [this] { PlainCommand(kTableKindStateVectorVsop87c); });
  // The user catalogue at the period start, one row per object.
  commands.RegisterHandler("Benutzerkatalog2", [this] {
    // No catalogue, no table: the sheet and the undo of its last table stay.
    if (host_.UserObjects().Count() == 0) return;
    TCurrentObjects& s = host_.Objects();
    workbook::TWorkbook& book = host_.Workbook();
    book.SetSelection(1, 1, 1, 1);
    host_.PrepareSheetForBatch();
    const TBatchRun run = BatchRunOf(host_.Computing(), host_.DocumentState(), host_.Period(), 1,
                                     0);  // the catalogue run sets its own mode and output
    Tusertab table(host_.UserObjects().Item(s.UserObjectIndex), InstantRequest(), &book, kBodyIndexAsteroid);
    PrepareOutput(table);
    host_.ShowHourglass();
    const TBatchResult result = UserCatalogEphemerides(run, table, host_.UserObjects());
    host_.RestoreCursor();
    FinishBatchTable(host_, result);
  });
  for (const TSingleDateItem& item : kSingleDateItems) {
    const std::int32_t kind = item.Kind;
    commands.RegisterHandler(item.Command, [this, kind] { ShowSingleDate(kind); });
  }
}

void TTableCommands::ShowSingleDate(std::int32_t kind) {
  TComputingSettings& computing = host_.Computing();
  TCurrentObjects& objects = host_.Objects();
  const TEphemerisPeriodState& p = host_.Period();
  TObserverRecord o = CompletedStart(p, computing);
  if (kind == 9 && !DateInTheoryRange(p.Selection, o.Centuries)) {
    ShowPlutoDateInvalid();
    return;
  }
  if (kind == kBodyIndexAsteroid && objects.CurrentAsteroid.Name == kNoAsteroid) return;
  if (kind == kBodyIndexComet && objects.CurrentComet.Name == kNoComet) return;
  // The page shows every group, whatever the table columns say.
  TTableConfigRecord config = p.TableConfig;
  config.Flags[column_flag::kSummaryCoordinates] = 1;
  config.Flags[column_flag::kSummaryTopocentric] = 1;
  config.Flags[column_flag::kSummaryPhysical] = 1;
  const std::uint8_t en = LanguageEnglish;
  const TBodySettings bodySettings = BodySettingsOf(computing, en);
  std::unique_ptr<TKepler> body;
  std::string name = SingleDateBodyName(kind, en);
  if (kind == kBodyIndexSun) {
    auto sun =
        std::make_unique<TSonne>(bodySettings, p.Selection, 0, config, o, computing.Accuracy.IntegrationTolerance);
    sun->initialisieren(bodySettings, p.Selection, config, o, computing.Accuracy.IntegrationTolerance);
    body = std::move(sun);
  } else if (kind == kBodyIndexMoon) {
    auto moon = std::make_unique<Tmond>(0, MoonOptionByte(computing.NumericOptions), bodySettings, p.Selection, 0,
                                        config, o, computing.Accuracy);
    moon->initialisieren(0, MoonOptionByte(computing.NumericOptions), bodySettings, p.Selection, config, o,
                         computing.Accuracy);
    body = std::move(moon);
  } else if (kind == kBodyIndexAsteroid) {
    body = std::make_unique<TKepler>(bodySettings, 0, config, objects.CurrentAsteroid, o, computing.Accuracy);
    body->initialisieren_objekt(bodySettings, config, objects.CurrentAsteroid, o, computing.Accuracy, 0,
                                objects.CurrentAsteroid.Name);
    name = objects.CurrentAsteroid.Name;
  } else if (kind == kBodyIndexComet) {
    auto comet =
        std::make_unique<TKomet>(bodySettings, p.Selection, 0, config, objects.CurrentComet, o, computing.Accuracy);
    comet->initialisieren(bodySettings, p.Selection, config, objects.CurrentComet, o, computing.Accuracy);
    body = std::move(comet);
    name = objects.CurrentComet.Name;
  } else {
    auto planet =
        std::make_unique<Tpla>(bodySettings, p.Selection, 0, kind, config, o, computing.Accuracy.IntegrationTolerance);
    planet->initialisieren(bodySettings, p.Selection, kind, config, o, computing.Accuracy.IntegrationTolerance);
    body = std::move(planet);
  }
  body->Accuracy = computing.Accuracy;
  host_.ShowHourglass();
  body->rechnen(p.PositionFiles);
  host_.RestoreCursor();
  Teinzelephform& page = SingleDatePage();
  page.Context.AzimuthOrigin = AzimuthOrigin(computing.NumericOptions);
  page.Context.SecondEquinoxYear = YearFromJulianCenturies2(computing.SecondEquinox);
  page.ShowSingleDateEphemeris(body->Result, kind, name, o, body.get());
}

}  // namespace kvx
