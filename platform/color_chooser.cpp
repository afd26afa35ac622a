#include "platform/color_chooser.h"

namespace kvx {

namespace {
ColorChooser* current_chooser = nullptr;
}

ColorChooser* SetColorChooser(ColorChooser* chooser) {
  ColorChooser* previous = current_chooser;
  current_chooser = chooser;
  return previous;
}

ColorChooser* CurrentColorChooser() { return current_chooser; }

}  // namespace kvx
