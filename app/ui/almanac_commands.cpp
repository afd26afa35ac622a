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

void WriteTable(TCommandHost& form) {
  TComputingSettings& computing = form.Computing();
  TDocumentState& document = form.DocumentState();
  TEphemerisPeriodState& period = form.Period();
  const TAlmanacTable& t = Table();
  if (document.WorkbookView != 0) {
    WriteAlmanacToSheet(period.TableConfig, form.Workbook(), t.Events, t.End, t.Start);
  } else {
    TTableOutputSettings output;
    output.AzimuthOrigin = computing.HalfTurnOffsetAngle;
    WriteAlmanacToGrid(period.TableConfig, form.Grid(), output, t.Events, t.Start, t.End);
  }
  document.DocumentSaved = 0;
}

TAlmanacRequest RequestOf(TCommandHost& form) {
  TAlmanacRequest request;
  request.Context = EclipseSearchContext(form.Computing(), form.Period());
  request.Search = form.SearchSettings().EventSearchOptions;
  request.Conjunction = form.HeldConfiguration().ConjunctionOptions;
  return request;
}

void Generate(TCommandHost& form, const TAlmanacRequest& request, std::int32_t kind) {
  TAlmanacTable& t = Table();
  t.Events.Clear();
  t.Start = request.Start;
  t.End = request.End;
  const bool cancelled = GenerateAlmanac(request, t.Events) == TAlmanacResult::Cancelled;
  if (!t.Events.Empty()) {
    form.Tables().ComputeKind(kind);
    // Cancelled: the events found until then are written.
    if (cancelled) form.Tables().Dispatcher().ReportCancelled(true);
  } else if (cancelled) {
    form.Tables().Dispatcher().ReportCancelledBeforeAnyResult();
  }
  form.UpdateStatusLine();
}

}  // namespace

void Almanach1Click(TCommandHost& form) {
  // No saved selection to put back: "No" to the question switches to the
  // quick theories for good, and the run itself takes the internal planet
  // series under the fast-search option.
  if (SlowTheory(form.Selection()) && !form.SlowTheoryQuestion(kSlowEventSearchGerman, kSlowEventSearchEnglish, 2))
    return;
  TEphemerisPeriodState period = form.Period();
  TTableDispatcher::CompletePeriodEnd(period);
  if (!(period.End.Mjd > period.Start.Mjd)) {
    AskFixEndBeforeStart();
    return;
  }
  TConfigSettings& held = form.HeldConfiguration();
  TAlmanacOptions options = DecodeAlmanacOptions(held.AlmanacRaw);
  TConjunctionOptions conjunction = held.ConjunctionOptions;
  const int result = ConfigureAlmanac(conjunction, options, &form.Window());
  if (result == kAlmanacDialogCancel) return;
  held.AlmanacRaw = EncodeAlmanacOptions(options);
  held.ConjunctionOptions = conjunction;
  if (result != kAlmanacDialogOk) return;
  TAlmanacRequest request = RequestOf(form);
  request.Options = options;
  request.Start = period.Start;
  request.End = period.End;
  Generate(form, request, kAlmanacKind);
}

void Heute1Click(TCommandHost& form) {
  form.SaveTheoryForSearch();
  struct Restore {
    TCommandHost& form;
    ~Restore() {
      QApplication::restoreOverrideCursor();
      form.RestoreTheoryAfterSearch();
    }
  } restore{form};
  TTheorySelection internalMoon = form.Selection();
  internalMoon.bytes[1] = 0;
  form.SetTheorySelection(internalMoon);
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  if (SlowTheory(form.Selection()) && !form.SlowTheoryQuestion(kSlowSearchGermanSingular, kSlowEventSearchEnglish, 2))
    return;
  TAlmanacRequest request = RequestOf(form);
  request.Mode = TAlmanacMode::Today;
  const std::optional<std::string> stored = CurrentSettingsStore().ReadString("Settings", "TodayOptions");
  request.Options = TodayOptionsFromText(stored.value_or(std::string()));
  TodayPeriod(form.Period().Start, request.Start, request.End);
  Generate(form, request, kTodayKind);
}

void InstallAlmanacCommands(TCommandHost& form) {
  form.Tables().Dispatcher().Register(kAlmanacKind, [&form] { WriteTable(form); });
  form.Tables().Dispatcher().Register(kTodayKind, [&form] { WriteTable(form); });
  form.Commands().RegisterEnabled({
      {"Almanach1", [&form] { Almanach1Click(form); }},
      {"Heute1", [&form] { Heute1Click(form); }},
  });
}

}  // namespace kvx
