// Child widgets made and named in one call, for the dialogs that build
// their widgets by hand: the same construction and object name, in the same
// order, as the two calls the call replaces.
#pragma once

#include <utility>

class QSpinBox;
class QWidget;

namespace kvx {

// A new W built from `args` (the parent among them, where W's constructor
// takes it), named `name`.
template <typename W, typename... Args>
W* NewNamed(const char* name, Args&&... args) {
  auto* widget = new W(std::forward<Args>(args)...);
  widget->setObjectName(name);
  return widget;
}

// A spin box, child of `parent`, named `name`, taking lowest..highest.
QSpinBox* NewSpinBox(QWidget* parent, const char* name, int lowest, int highest);

}  // namespace kvx
