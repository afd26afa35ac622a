// What a command shows of its run in the main window: the status line, the
// hourglass, a repaint while it computes, the menu items' states, and the
// period completed once its settings changed. The main window implements it.
#pragma once

#include <functional>

namespace kvx {

class TWindowFeedback {
 public:
  // The date, place, accuracy and theory panels from the state.
  virtual void UpdateStatusLine() = 0;
  // The hourglass for a long run; RestoreCursor ends every nesting.
  virtual void ShowHourglass() = 0;
  virtual void RestoreCursor() = 0;
  // Paints the window now (a message or a panel shown before a long run).
  virtual void Repaint() = 0;
  // Adds a routine that sets items' enabled, checked, visible states or
  // captions from the current state (objects, files, settings, the view).
  virtual void AddMenuStateRefresher(std::function<void()> refresher) = 0;
  // Runs every refresher, in the order they were added. Every menu opening,
  // the end of every command, a completed period and every change made
  // outside a command (a modeless element window's OK, a loaded catalogue)
  // run it, so no item waits for another menu to be opened.
  virtual void RefreshMenuStates() = 0;
  // Sets the table-changed flag; the period is completed once, from a
  // zero-interval timer, and the menus refreshed.
  virtual void MarkTableChanged() = 0;

 protected:
  ~TWindowFeedback() = default;
};

}  // namespace kvx
