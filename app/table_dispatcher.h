// The table dispatcher: ComputeTable completes the period, opens the undo
// transaction, clears the sheet and runs the handler registered for the
// main window's table kind; every path ends in the same clean-up (menus
// refreshed, cursor restored, kind 20 unless 4018).
//
// The whole vocabulary of table kinds is the data of TableKindTable: each
// code with the kind the menu refresh sees after it ran. Codes without a
// registered handler (and codes not in the table) take the common end.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>

#include "app/document_state.h"
#include "app/table_state.h"
#include "theories/observer_completion.h"

namespace kvx {

class TKeplereph;

// The kind seen by the menu refresh: the code itself or another one, or the
// code left as it was.
inline constexpr std::int32_t kKindUnchanged = -1;
// The asteroid-database batch keeps its kind across calls.
inline constexpr std::int32_t kDatabaseBatchKind = 4018;
// The kind a failed period check leaves.
inline constexpr std::int32_t kPeriodRefusedKind = 1;

struct TTableKindRow {
  std::int32_t Code;
  std::int32_t MenuKind;  // kKindUnchanged: the dispatcher leaves the code as it was
  const char* What;       // what computes the table
};

// Every code of the program's tables, in ascending order.
std::span<const TTableKindRow> TableKindTable();
// The row of a code, or nullptr.
const TTableKindRow* FindTableKind(std::int32_t code);

// The main window's parts the dispatcher works with. Unset hooks are skipped.
struct TDispatchHooks {
  std::function<void()> ShowHourglass;
  std::function<void()> RestoreCursor;
  std::function<void()> Invalidate;
  std::function<void()> RefreshMenus;  // menu states from the kind
  std::function<void()> HideAbortDialog;
  std::function<void()> CheckPeriod;        // the period check (clamps the end, limits the rows)
  std::function<void()> CommitTransaction;  // the sheet's open undo transaction
  std::function<void()> BeginTransaction;
  std::function<void()> ClearSheet;  // selection "A1:A1" and the whole sheet cleared
  // The sheet and grid views stop repainting while a kind writes its table
  // (the progress panel keeps running); resumed however the kind ends.
  std::function<void()> SuspendViews;
  std::function<void()> ResumeViews;
  // A text for the status line (the cancel report); an empty text clears it
  // (every table starts so).
  std::function<void(const std::string&)> ShowStatus;
};

// The status-line text after a cancelled run: the rows computed until the
// cancel are in the table, or (`written` false) the run could not write
// partial results.
std::string CancelledRunText(bool written, bool english);

class TTableDispatcher {
 public:
  using Handler = std::function<void()>;

  TTableDispatcher(TEphemerisPeriodState& period, TTableState& table, TDocumentState& document, TDispatchHooks hooks);

  // Registers (or with an empty handler removes) the handler of a code.
  void Register(std::int32_t code, Handler handler);
  bool HasHandler(std::int32_t code) const;
  TDispatchHooks& Hooks() { return hooks_; }

  // Runs the table of the current kind. An exception of a handler passes on
  // after the clean-up.
  void ComputeTable();
  // ComputeTable at a command's boundary: an exception is shown as a message.
  void ComputeTableGuarded();

  // The end of a standard run after the time loop: the kind from the code
  // table, kinds 20 when the run was cancelled, the document unsaved, and
  // the table painted into the sheet or the grid (with `elementTable` the
  // element table of the rows instead of the ephemeris).
  // A cancelled object still writes the rows it computed; the status line
  // then says the run was cancelled.
  void FinishStandardRun(TKeplereph& object, std::int32_t code, bool elementTable = false);

  // A run the user cancelled: kinds 20 and the status line's report.
  // `written`: the rows computed until the cancel are in the table. False:
  // the search cannot write partial results, and one message says so
  // (the caller has put the sheet back as it was before the run).
  void ReportCancelled(bool written);
  // A search the user cancelled before it found anything, whose results
  // would have been written only after it: kinds 20 and the status line's
  // "nothing written"; the sheet was never touched, so no message.
  void ReportCancelledBeforeAnyResult();

  // Completes the end record: its daylight hours from the start, its MJD
  // from the duration (duration flag) or from its local time.
  static void CompletePeriodEnd(TEphemerisPeriodState& period);
  // True when the end lies after the start or the duration flag is set;
  // otherwise the kind becomes 1.
  bool CheckPeriodOrder();

 private:
  void CommonEnd();
  template <typename F>
  void Call(const F& hook) {
    if (hook) hook();
  }

  TEphemerisPeriodState& period_;
  TTableState& table_;
  TDocumentState& document_;
  TDispatchHooks hooks_;
  std::map<std::int32_t, Handler> handlers_;
};

}  // namespace kvx
