#include "platform/color_chooser.h"

#include <utility>

namespace kvx {

namespace {
ColorChooser* current_chooser = nullptr;
}

ColorChooser* SetColorChooser(ColorChooser* chooser) { return std::exchange(current_chooser, chooser); }

ColorChooser* CurrentColorChooser() { return current_chooser; }

}  // namespace kvx
