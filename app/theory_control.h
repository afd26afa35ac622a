// The theory selection as the commands use it: which theories compute, the
// question before a slow computation, and the quick theories for the length
// of a search. The main window implements it.
#pragma once

#include <string>

#include "theories/theory_state.h"
#include "theories/theory_types.h"

namespace kvx {

class TTheoryControl {
 public:
  // The libraries and position files found at start-up.
  virtual const TTheoryState& TheoryState() const = 0;
  // The selection in use (the period's).
  virtual TTheorySelection Selection() const = 0;
  // Installs a selection by what is present (see ApplyTheorySelection) and
  // sets the theory items' check marks.
  virtual void SetTheorySelection(TTheorySelection requested) = 0;
  // Sets the check marks of the theory items from the live selection.
  virtual void ShowTheoryMarks() = 0;
  // Before a slow computation: mode 0 planets, 1 Moon, 2 both. Asks only with
  // the warnings option on and the fast-search option off; No switches the
  // mode's theories to the internal series; false only for Cancel. An empty
  // text asks the default VSOP87 question.
  virtual bool SlowTheoryQuestion(const std::string& german, const std::string& english, int mode) = 0;
  // Keeps the selection for a search (with the fast-search option on, the
  // search runs on the internal series); the restore installs the kept
  // selection again and updates the status line.
  virtual void SaveTheoryForSearch() = 0;
  virtual void RestoreTheoryAfterSearch() = 0;

 protected:
  ~TTheoryControl() = default;
};

}  // namespace kvx
