// The colour dialog as a seam: PickColor asks through a ColorChooser; the
// main window installs a QtColorChooser, tests a RecordingColorChooser
// (tests/support/recording_color_chooser.h).
//
// Colours are int32 values 0x00BBGGRR (red in the lowest byte), the way the
// settings and the stored documents keep them.
#pragma once

#include <cstdint>

#include "platform/seam.h"

namespace kvx {

class ColorChooser {
 public:
  virtual ~ColorChooser() = default;
  // Shows the dialog on `color`. True when the user confirmed; the chosen
  // colour is then in `color`, otherwise `color` is unchanged.
  virtual bool Choose(std::int32_t& color) = 0;
};

// Installs the chooser the program uses; returns the previous one. With none
// installed every request is answered Cancel.
ColorChooser* SetColorChooser(ColorChooser* chooser);
ColorChooser* CurrentColorChooser();

// Installs a chooser for the lifetime of the guard.
using ScopedColorChooser = TScopedSeam<ColorChooser, SetColorChooser>;

}  // namespace kvx
