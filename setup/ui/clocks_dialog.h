// The world clocks dialog ("Uhren hinzufügen/entfernen" / "Add/remove
// clocks"): adds clocks through the observer location dialog, removes one
// (button or double-click) or all, and switches the main window's clock bar.
// It works on the main window's clock list directly; the list is saved to
// "clocks.dat" in the data folder after every use, whichever button closed
// the dialog.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "platform/qt/widget_forward.h"
#include "setup/clock_list.h"

namespace kvx {

// What the dialog needs of the main window.
struct TClocksDialogHost {
  // The main window's start record: a new clock starts as a copy of it.
  TObserverRecord StartRecord;
  bool ClockBarShown = false;
  // Switches the clock bar on or off.
  std::function<void(bool)> ShowClockBar;
  // The observer location dialog on a new clock's record (with the keep-UT
  // box set like the main window's); true after OK with the place taken over
  // into the record. Empty: "Add" is disabled.
  std::function<bool(TObserverRecord&)> EditPlace;
};

class Tweltzt : public QDialog {
  Q_OBJECT

 public:
  Tweltzt(TClockList& clocks, TClocksDialogHost& host, QWidget* owner);

 private:
  void Refill();
  void Add();
  void RemoveSelected();

  TClockList& clocks_;
  TClocksDialogHost& host_;
  QListWidget* list_;
  QCheckBox* showClocks_;
};

// Runs the dialog on `clocks`, then writes them to `dataFolder`/clocks.dat.
// Returns the modal result (1 OK, 2 Cancel).
int ShowClocksDialog(TClockList& clocks, const std::string& dataFolder, TClocksDialogHost& host,
                     QWidget* owner = nullptr);

}  // namespace kvx
