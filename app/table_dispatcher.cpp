#include "app/table_dispatcher.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "engine/ephemeris_table.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

namespace {

constexpr TTableKindRow kTableKinds[] = {
    {0, kKindUnchanged, "nothing"},
    {1, kKindUnchanged, "nothing"},
    {6, kKindUnchanged, "comma-separated document read into the sheet"},
    {20, kKindUnchanged, "no table"},
    {21, 21, "asteroid table"},
    {22, 22, "asteroid table by numerical integration"},
    {33, 21, "asteroid from the binary database"},
    {34, 20, "state vectors of the integrator"},
    {41, 41, "comet table"},
    {42, 42, "comet table by numerical integration"},
    {51, 51, "Sun table"},
    {61, 61, "Moon table"},
    {71, 71, "planet table"},
    {72, 72, "user object table"},
    {75, 75, "daily ephemeris of the planets"},
    {80, kKindUnchanged, "Moon phases"},
    {81, kKindUnchanged, "conjunctions of planets and stars"},
    {82, 82, "central-meridian transits"},
    {84, kKindUnchanged, "events found"},
    {85, kKindUnchanged, "almanac"},
    {86, kKindUnchanged, "conjunctions found"},
    {87, kKindUnchanged, "today"},
    {88, kKindUnchanged, "lunar eclipse"},
    {89, kKindUnchanged, "lunar eclipse calendar"},
    {90, kKindUnchanged, "seasons"},
    {92, kKindUnchanged, "orbit determination"},
    {93, kKindUnchanged, "orbit improvement"},
    {94, kKindUnchanged, "observation entry"},
    {96, kKindUnchanged, "observation file"},
    {100, 100, "Jupiter's moons"},
    {102, kKindUnchanged, "Jupiter moon conjunctions"},
    {104, kKindUnchanged, "Jupiter moon elongations"},
    {105, kKindUnchanged, "Jupiter moon events"},
    {110, 110, "Saturn's moons"},
    {111, 111, "Saturn's moons (second theory)"},
    {112, kKindUnchanged, "Saturn moon events"},
    {113, kKindUnchanged, "Saturn moon conjunctions"},
    {114, kKindUnchanged, "Saturn moon events"},
    {115, kKindUnchanged, "Saturn moon events"},
    {116, kKindUnchanged, "Saturn moon events (second theory)"},
    {117, kKindUnchanged, "Saturn moon elongations"},
    {140, kKindUnchanged, "solar eclipse"},
    {142, 142, "star occultations by the Moon"},
    {143, 143, "planet occultations"},
    {145, kKindUnchanged, "star occultations by planets"},
    {146, kKindUnchanged, "solar eclipse calendar"},
    {148, kKindUnchanged, "transit of Mercury or Venus"},
    {149, kKindUnchanged, "transit table"},
    {150, 150, "variable-star extrema"},
    {871, kKindUnchanged, "planets in four frames"},
    {872, kKindUnchanged, "planet coordinates (VSOP87 A)"},
    {874, kKindUnchanged, "planet coordinates (VSOP82)"},
    {880, 880, "one Earth satellite"},
    {881, 881, "all Earth satellites"},
    {890, kKindUnchanged, "coordinate conversion"},
    {895, kKindUnchanged, "movable feasts"},
    {4014, 22, "asteroid elements for an element file"},
    {4016, 42, "comet elements for an element file"},
    {4018, kDatabaseBatchKind, "one record of the asteroid database"},
};

// Restores the cursor and the kind however the call ends.
class DispatchFinally {
 public:
  DispatchFinally(TTableState& table, const std::function<void()>& restoreCursor)
      : table_(table), restore_(restoreCursor) {}
  ~DispatchFinally() {
    if (restore_) restore_();
    if (table_.TableKind != kDatabaseBatchKind) table_.TableKind = kNoTableKind;
  }
  DispatchFinally(const DispatchFinally&) = delete;
  DispatchFinally& operator=(const DispatchFinally&) = delete;

 private:
  TTableState& table_;
  const std::function<void()>& restore_;
};

}  // namespace

std::span<const TTableKindRow> TableKindTable() { return kTableKinds; }

const TTableKindRow* FindTableKind(std::int32_t code) {
  const auto* end = std::end(kTableKinds);
  const auto* it = std::lower_bound(std::begin(kTableKinds), end, code,
                                    [](const TTableKindRow& row, std::int32_t c) { return row.Code < c; });
  return it != end && it->Code == code ? it : nullptr;
}

TTableDispatcher::TTableDispatcher(TEphemerisPeriodState& period, TTableState& table, TDocumentState& document,
                                   TDispatchHooks hooks)
    : period_(period), table_(table), document_(document), hooks_(std::move(hooks)) {}

void TTableDispatcher::Register(std::int32_t code, Handler handler) {
  if (handler) {
    handlers_[code] = std::move(handler);
  } else {
    handlers_.erase(code);
  }
}

bool TTableDispatcher::HasHandler(std::int32_t code) const { return handlers_.count(code) != 0; }

void TTableDispatcher::CompletePeriodEnd(TEphemerisPeriodState& period) {
  period.End.DaylightHours = period.Start.DaylightHours;
  if (period.AutoEnd != 0) {
    period.End.Mjd = AutomaticEndMjd(period.Start, period.End);
  } else {
    LocalTimeToUT(period.End);
  }
}

bool TTableDispatcher::CheckPeriodOrder() {
  if (period_.End.Mjd > period_.Start.Mjd || period_.AutoEnd != 0) return true;
  table_.TableKind = kPeriodRefusedKind;
  return false;
}

void TTableDispatcher::ComputeTable() {
  DispatchFinally finally(table_, hooks_.RestoreCursor);
  // A note of an earlier run (a cancel) does not outlive the next table.
  if (hooks_.ShowStatus) hooks_.ShowStatus(std::string());
  Call(hooks_.ShowHourglass);
  Call(hooks_.ShowHourglass);
  table_.PreviousTableKind = table_.TableKind;
  if (hooks_.CheckPeriod) {
    hooks_.CheckPeriod();
  } else {
    CheckEphemerisPeriod(period_);
  }
  CheckPeriodOrder();
  Call(hooks_.Invalidate);
  CompletePeriodEnd(period_);
  if (table_.TableKind == kNoTableKind) {
    Call(hooks_.RefreshMenus);
    Call(hooks_.Invalidate);
    return;
  }
  try {
    if (document_.UndoFlag == 1) {
      document_.UndoFlag = 0;
      Call(hooks_.CommitTransaction);
    }
    Call(hooks_.BeginTransaction);
    document_.UndoFlag = 1;
  } catch (...) {
    // The undo record is a convenience: a failure leaves the table to compute.
  }
  const std::int32_t kind = table_.TableKind;
  if (kind != 0 && kind != 1 && kind != kNoTableKind) {
    if (document_.WorkbookView != 0) Call(hooks_.ClearSheet);
    const auto handler = handlers_.find(kind);
    if (handler != handlers_.end()) {
      // A copy: the handler may re-register or call ComputeTable again.
      const Handler run = handler->second;
      struct Resume {
        const std::function<void()>& resume;
        ~Resume() {
          if (resume) resume();
        }
      } resume{hooks_.ResumeViews};
      Call(hooks_.SuspendViews);
      run();
    }
  }
  CommonEnd();
}

void TTableDispatcher::CommonEnd() {
  Call(hooks_.RefreshMenus);
  Call(hooks_.HideAbortDialog);
  Call(hooks_.Invalidate);
}

void TTableDispatcher::ComputeTableGuarded() {
  try {
    ComputeTable();
  } catch (const std::exception& error) {
    ShowMessage(std::string("Die Tabelle konnte nicht berechnet werden: ") + error.what(),
                std::string("The table could not be computed: ") + error.what(), MessageIcon::Error);
  } catch (...) {
    ShowMessage("Die Tabelle konnte nicht berechnet werden.", "The table could not be computed.", MessageIcon::Error);
  }
}

void TTableDispatcher::FinishStandardRun(TKeplereph& object, std::int32_t code, bool elementTable) {
  const TTableKindRow* row = FindTableKind(code);
  if (row != nullptr && row->MenuKind != kKindUnchanged) table_.TableKind = row->MenuKind;
  if (object.Stopped != 0) {
    table_.TableKind = kNoTableKind;
    table_.PreviousTableKind = kNoTableKind;
    Call(hooks_.Invalidate);
  }
  Call(hooks_.ShowHourglass);
  document_.DocumentSaved = 0;
  if (elementTable) {
    object.paintelemente(1, document_.WorkbookView);
  } else {
    object.paint(document_.WorkbookView);
  }
  // Cancelled while computing or while writing: what was written stays.
  if (object.Stopped != 0) ReportCancelled(true);
}

void TTableDispatcher::ReportCancelled(bool written) {
  table_.TableKind = kNoTableKind;
  table_.PreviousTableKind = kNoTableKind;
  const bool english = LanguageEnglish != 0;
  if (hooks_.ShowStatus) hooks_.ShowStatus(CancelledRunText(written, english));
  if (!written) {
    ShowMessage(
        "Die Berechnung wurde abgebrochen. Diese Suche kann keine Teilergebnisse schreiben; das "
        "Tabellenblatt zeigt wieder seinen vorherigen Inhalt.",
        "The calculation was cancelled. This search cannot write partial results; the sheet shows its "
        "previous contents again.",
        MessageIcon::Information);
  }
}

void TTableDispatcher::ReportCancelledBeforeAnyResult() {
  table_.TableKind = kNoTableKind;
  table_.PreviousTableKind = kNoTableKind;
  if (hooks_.ShowStatus) hooks_.ShowStatus(CancelledRunText(false, LanguageEnglish != 0));
}

std::string CancelledRunText(bool written, bool english) {
  if (!written)
    return english ? "Calculation cancelled - nothing written." : "Berechnung abgebrochen - nichts geschrieben.";
  return english ? "Calculation cancelled - the rows computed until then are in the table."
                 : "Berechnung abgebrochen - die bis dahin berechneten Zeilen stehen in der Tabelle.";
}

}  // namespace kvx
