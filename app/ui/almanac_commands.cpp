#include "app/ui/almanac_commands.h"

#include <QApplication>
#include <QCursor>
#include <QMainWindow>

#include "app/config_file.h"
#include "app/main_form_state.h"
#include "app/table_dispatcher.h"
#include "app/ui/command_host.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/event_commands.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "engine/table_sink.h"
#include "events/almanac.h"
#include "events/almanac_writer.h"
#include "events/ui/almanac_dialog.h"
#include "platform/globals.h"
#include "platform/settings_store.h"
#include "setup/setup_routines.h"

namespace kvx {

namespace {

constexpr std::int32_t kAlmanacKind = 85;
constexpr std::int32_t kTodayKind = 87;

// The last almanac or overview and its period: the table is written from
// it, also when the view changes later.
struct TAlmanacTable {
  TEventList Events;
  TObserverRecord Start, End;
};

TAlmanacTable& Table() {
  static TAlmanacTable table;
  return table;
}

bool SlowTheory(const TTheorySelection& selection) {
  const std::uint8_t planets = selection.PlanetTheory();
  return !(planets == kPlanetTheoryInternal || planets == kPlanetTheoryPositionFiles) || selection.MoonTheory() != 0;
}

void WriteTable(TCommandHost& host) {
  TDocumentState& document = host.DocumentState();
  TEphemerisPeriodState& period = host.Period();
  const TAlmanacTable& t = Table();
  if (document.WorkbookView != 0) {
    WriteAlmanacToSheet(period.TableConfig, host.Workbook(), t.Events, t.End, t.Start);
  } else {
    const TTableOutputSettings output = host.Tables().Output();
    WriteAlmanacToGrid(period.TableConfig, host.Grid(), output, t.Events, t.Start, t.End);
  }
  document.DocumentSaved = 0;
}

TAlmanacRequest RequestOf(TCommandHost& host) {
  TAlmanacRequest request;
  request.Context = EclipseSearchContext(host.Computing(), host.Period());
  request.Search = host.SearchSettings().EventSearchOptions;
  request.Conjunction = host.HeldConfiguration().ConjunctionOptions;
  return request;
}

void Generate(TCommandHost& host, const TAlmanacRequest& request, std::int32_t kind) {
  TAlmanacTable& t = Table();
  t.Events.Clear();
  t.Start = request.Start;
  t.End = request.End;
  const bool cancelled = GenerateAlmanac(request, t.Events) == TAlmanacResult::Cancelled;
  if (!t.Events.Empty()) {
    host.Tables().ComputeKind(kind);
    // Cancelled: the events found until then are written.
    if (cancelled) host.Tables().Dispatcher().ReportCancelled(true);
  } else if (cancelled) {
    host.Tables().Dispatcher().ReportCancelledBeforeAnyResult();
  }
  host.UpdateStatusLine();
}

}  // namespace

void Almanach1Click(TCommandHost& host) {
  // No saved selection to put back: "No" to the question switches to the
  // quick theories for good, and the run itself takes the internal planet
  // series under the fast-search option.
  if (SlowTheory(SearchSelectionOf(host.Selection(), host.Computing().NumericOptions)) &&
      !host.SlowTheoryQuestion(kSlowEventSearchGerman, kSlowEventSearchEnglish, 2))
    return;
  TEphemerisPeriodState period = host.Period();
  TTableDispatcher::CompletePeriodEnd(period);
  if (!(period.End.Mjd > period.Start.Mjd)) {
    AskFixEndBeforeStart();
    return;
  }
  TConfigSettings& held = host.HeldConfiguration();
  TAlmanacOptions options = DecodeAlmanacOptions(held.AlmanacRaw);
  TConjunctionOptions conjunction = held.ConjunctionOptions;
  const int result = ConfigureAlmanac(conjunction, options, &host.Window());
  if (result == kAlmanacDialogCancel) return;
  held.AlmanacRaw = EncodeAlmanacOptions(options);
  held.ConjunctionOptions = conjunction;
  if (result != kAlmanacDialogOk) return;
  TAlmanacRequest request = RequestOf(host);
  request.Options = options;
  request.Start = period.Start;
  request.End = period.End;
  Generate(host, request, kAlmanacKind);
}

void Heute1Click(TCommandHost& host) {
  host.SaveTheoryForSearch();
  struct Restore {
    TCommandHost& host;
    ~Restore() {
      QApplication::restoreOverrideCursor();
      host.RestoreTheoryAfterSearch();
    }
  } restore{host};
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  if (SlowTheory(SearchSelectionOf(host.Selection(), host.Computing().NumericOptions)) &&
      !host.SlowTheoryQuestion(kSlowSearchGermanSingular, kSlowEventSearchEnglish, 2))
    return;
  TAlmanacRequest request = RequestOf(host);
  request.Mode = TAlmanacMode::Today;
  const std::optional<std::string> stored = CurrentSettingsStore().ReadString("Settings", "TodayOptions");
  request.Options = TodayOptionsFromText(stored.value_or(std::string()));
  TodayPeriod(host.Period().Start, request.Start, request.End);
  Generate(host, request, kTodayKind);
}

void InstallAlmanacCommands(TCommandHost& host) {
  host.Tables().Dispatcher().Register(kAlmanacKind, [&host] { WriteTable(host); });
  host.Tables().Dispatcher().Register(kTodayKind, [&host] { WriteTable(host); });
  host.Commands().RegisterEnabled({
      {"Almanach1", [&host] { Almanach1Click(host); }},
      {"Heute1", [&host] { Heute1Click(host); }},
  });
}

}  // namespace kvx
