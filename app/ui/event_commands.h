// The single-object event search of the main window: Konjunktionen und
// Ereignisse -> "&Ereignis suchen..." (Ctrl+F3) and the table of its finds
// (table kind 84).
#pragma once

namespace kvx {

class TCommandHost;

// Registers kind 84 on the dispatcher and the command "Ereignissuchen1".
void InstallEventSearchCommands(TCommandHost& form);

// The command: theory question, the dialog, then the date hand-over and
// the table.
void Ereignissuchen1Click(TCommandHost& form);

// The question before a search with the slow library theories; false when
// the user cancels it (the answer may switch to the faster series).
bool AskSlowEventSearchTheory(TCommandHost& form);

// Saves the theory selection for a search and restores the live one when it
// goes out of scope, on every way out of a command.
class TSearchTheoryScope {
 public:
  explicit TSearchTheoryScope(TCommandHost& form);
  ~TSearchTheoryScope();
  TSearchTheoryScope(const TSearchTheoryScope&) = delete;
  TSearchTheoryScope& operator=(const TSearchTheoryScope&) = delete;

 private:
  TCommandHost& form_;
};

}  // namespace kvx
