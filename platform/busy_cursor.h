// The hourglass as a seam: a long operation without a progress bar (loading
// an element file, searching a list) shows the busy cursor through a
// BusyCursorScope. The main window installs a QtBusyCursor
// (platform/qt/qt_busy_cursor.h); without one nothing is shown. Scopes nest:
// the cursor comes back when the outermost scope ends.
#pragma once

namespace kvx {

class BusyCursor {
 public:
  virtual ~BusyCursor() = default;
  virtual void Show() = 0;     // switch to the busy cursor
  virtual void Restore() = 0;  // back to the normal cursor
};

// Installs the cursor the program uses; returns the previous one.
BusyCursor* SetBusyCursor(BusyCursor* cursor);
BusyCursor* CurrentBusyCursor();

// Shows the busy cursor for its lifetime (every way out of the scope).
class BusyCursorScope {
 public:
  BusyCursorScope();
  ~BusyCursorScope();
  BusyCursorScope(const BusyCursorScope&) = delete;
  BusyCursorScope& operator=(const BusyCursorScope&) = delete;

 private:
  BusyCursor* cursor_;
};

}  // namespace kvx
