// The single-object event search of the main window: Konjunktionen und
// Ereignisse -> "&Ereignis suchen..." (Ctrl+F3) and the table of its finds
// (table kind 84).
#pragma once

namespace kvx {

class TMainForm;

// Registers kind 84 on the dispatcher and the command "Ereignissuchen1".
void InstallEventSearchCommands(TMainForm& form);

// The command: theory question, the dialog, then the date hand-over and
// the table.
void Ereignissuchen1Click(TMainForm& form);

// The question before a search with the slow library theories; false when
// the user cancels it (the answer may switch to the faster series).
bool AskSlowEventSearchTheory(TMainForm& form);

}  // namespace kvx
