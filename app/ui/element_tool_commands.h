// The element tools of the main window: the element-file editors, the
// conversion and position-database tools and the element calculators (mean
// motion, perihelion distance, precession of the orientation elements).
// Their input values are kept here between uses.
#pragma once

#include "catalogues/element_calculators.h"
#include "core/observer_record.h"

class QWidget;

namespace kvx {

class TCommandHost;
class TWindowWidgets;

// The values the calculators keep between uses.
struct TElementToolValues {
  double SemimajorAxis = 1.0;
  double AqAxis = 1.0;
  double AqEccentricity = 0.0;
  TOrientationRecord Orientation;
};

// Registers the tools' menu handlers on the window's commands.
void InstallElementToolCommands(TCommandHost& host);
// A Julian day entered as a date with day fraction (the day-fraction
// dialog). The day is taken as UT; the dialog opens on `jd`, or on the
// present moment in the zone of `periodStart` (the window's period start)
// when it is 0. False when cancelled.
bool AskDayWithFraction(const TObserverRecord& periodStart, bool hints, double& jd, QWidget* parent);
// The kept values of the window's calculators (tests read them).
TElementToolValues& ElementToolValues(TWindowWidgets& window);

}  // namespace kvx
