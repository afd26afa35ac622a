// The single-object event search of the main window: Konjunktionen und
// Ereignisse -> "&Ereignis suchen..." (Ctrl+F3) and the table of its finds
// (table kind 84).
#pragma once

#include <cstdint>

#include "app/ui/command_host.h"
#include "core/observer_record.h"
#include "setup/numeric_options.h"

namespace kvx {

// The table kind that writes the events of the list as the event table
// (the single-object and the multi-object searches).
inline constexpr std::int32_t kEventTableKind = 84;

// The question before a slow search of events (the almanac asks it too).
inline constexpr const char* kSlowEventSearchGerman =
    "Zur Zeit werden langsame, aber genaue Rechenmethoden verwendet (ELP2000 or VSOP). Wenn Sie \"Nein\" wählen, "
    "werden schnellere Rechenmethoden verwendet.";
// The same in the wording of the conjunction searches and the overview of
// today (the English text is the same).
inline constexpr const char* kSlowSearchGermanSingular =
    "Zur Zeit wird eine genaue, aber langsame Rechenmethode verwendet (ELP2000 or VSOP). Wenn Sie \"Nein\" wählen, "
    "werden schnellere Methoden verwendet.";
inline constexpr const char* kSlowEventSearchEnglish =
    "You  are using a accurate, but slow calculation method (ELP2000 or VSOP). Pressing no, quicker methods will be "
    "used.";

// Registers kind 84 on the dispatcher and the command "Ereignissuchen1".
void InstallEventSearchCommands(TCommandHost& host);

// The command: theory question, the dialog, then the date hand-over and
// the table.
void Ereignissuchen1Click(TCommandHost& host);

// The question before a search with the slow library theories (those the
// search computes with under the options, SearchSelectionOf); false when the
// user cancels it (the answer may switch to the faster series).
bool AskSlowEventSearchTheory(TTheoryControl& theories, const TNumericOptions& options);

// The period an event search dialog shows: the window's period start, its
// end as a table would complete it, and the period dialog.
TObserverRecord PeriodStartOf(TWindowRecords& records);
TObserverRecord CompletedPeriodEndOf(TWindowRecords& records);
void ChangePeriodOf(THostCommands& commands);

// Sets a search dialog's hooks PeriodStart, PeriodEnd and ChangePeriod to
// the three above.
template <class Hooks>
void SetPeriodHooks(TCommandHost& host, Hooks& hooks) {
  hooks.PeriodStart = [&host] { return PeriodStartOf(host); };
  hooks.PeriodEnd = [&host] { return CompletedPeriodEndOf(host); };
  hooks.ChangePeriod = [&host] { ChangePeriodOf(host); };
}

// Saves the theory selection for a search and restores the live one when it
// goes out of scope, on every way out of a command.
class TSearchTheoryScope {
 public:
  explicit TSearchTheoryScope(TTheoryControl& theories);
  ~TSearchTheoryScope();
  TSearchTheoryScope(const TSearchTheoryScope&) = delete;
  TSearchTheoryScope& operator=(const TSearchTheoryScope&) = delete;

 private:
  TTheoryControl& theories_;
};

}  // namespace kvx
