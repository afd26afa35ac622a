// The element tools of the main window: the element-file editors and the
// element calculators (mean motion, perihelion distance, precession of the
// orientation elements).
// Their input values are kept here between uses.
#pragma once

#include "catalogues/element_calculators.h"

namespace kvx {

class TMainForm;

// The values the calculators keep between uses.
struct TElementToolValues {
  double SemimajorAxis = 1.0;
  double AqAxis = 1.0;
  double AqEccentricity = 0.0;
  TOrientationRecord Orientation;
};

// Registers the tools' menu handlers on the form's commands.
void InstallElementToolCommands(TMainForm& form);
// The kept values of the form's calculators (tests read them).
TElementToolValues& ElementToolValues(TMainForm& form);

}  // namespace kvx
