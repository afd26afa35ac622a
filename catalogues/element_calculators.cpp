#include "catalogues/element_calculators.h"

#include <cmath>
#include <cstdio>

#include "catalogues/element_lines.h"
#include "core/text_conversion.h"
#include "core/two_body.h"
#include "core/vector_math.h"

namespace kvx {

void ReduceOrientationElements(TOrientationRecord& r) {
  const bool longitude = r.LongitudeOfPerihelion != 0;
  double i = r.Inclination;
  double node = r.Node;
  double perihelion = longitude ? r.Perihelion - r.Node : r.Perihelion;
  PrecessOrbitalElementsBetweenYears(i, node, perihelion, r.OldEquinox, r.NewEquinox);
  if (longitude) perihelion += node;
  r.Inclination = Mod360(i);
  r.Node = Mod360(node);
  r.Perihelion = Mod360(perihelion);
}

double EquinoxOfJd(double jd) { return 2000 + (jd - 2451545.0) / 36525 * 100; }

bool ParseCalculatorNumber(const std::string& text, double& x) {
  double value = 0;
  if (!ReadNumberField(text, value)) return false;
  x = value;
  return true;
}

std::string CalculatorValueText(double x) { return FixedPointText(x, 8); }

}  // namespace kvx
