// The window that owns the dialogs kept for the whole run (the period,
// date-and-place and location dialogs): they are made on first use as its
// children and go with it.
#pragma once

#include <QPointer>
#include <QWidget>

namespace kvx {

// Set by the main window when it is made; nullptr leaves new dialogs without
// an owner.
void SetDialogOwner(QWidget* owner);
QWidget* DialogOwner();

// The dialog of type T kept in `slot`, made when there is none.
template <typename T>
T& KeptDialog(QPointer<T>& slot) {
  if (slot.isNull()) slot = new T(DialogOwner());
  return *slot;
}

}  // namespace kvx
