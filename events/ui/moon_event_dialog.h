// The moon-and-event dialog ("Mond und Ereignis wählen" / "Select moon and
// event"): one moon of Jupiter's four, of Saturn's five-moon list or of its
// eight-moon list, and one of the four events (superior and inferior
// conjunction, greatest eastern and western elongation) before a run of one
// moon's events.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

#include "platform/qt/widget_forward.h"

namespace kvx {

class TMond_Ereignis : public QDialog {
  Q_OBJECT

 public:
  // planetCode: 0 Jupiter, 1 the five-moon Saturn list, 2 the eight-moon
  // list; moonIndex and eventIndex 0-based (put into their lists).
  TMond_Ereignis(std::uint8_t planetCode, std::int32_t moonIndex, std::int32_t eventIndex, QWidget* owner = nullptr);

  int MoonIndex() const;
  int EventIndex() const;
  QButtonGroup* Moons() { return moons_; }
  QButtonGroup* Events() { return events_; }
  QPushButton* OkButton() { return ok_; }
  QPushButton* CancelButton() { return cancel_; }

 private:
  QButtonGroup* moons_;
  QButtonGroup* events_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

// Shows the dialog for `planetCode` on the caller's moon (1-based) and
// event. OK: moon = chosen index + 1, event = chosen index, true. Cancel
// leaves both unchanged and gives false.
bool SelectMoonAndEvent(std::uint8_t planetCode, std::int32_t& moon, std::uint8_t& event, QWidget* owner = nullptr);

// A hook the tests set to drive the dialog instead of exec (returns the
// dialog's result); unset, the dialog runs modally.
using TMoonEventDialogDriver = std::function<int(TMond_Ereignis& dialog)>;
void SetMoonEventDialogDriver(TMoonEventDialogDriver driver);

}  // namespace kvx
