#include "setup/numeric_options.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "core/text_conversion.h"

namespace kvx {

void DefaultNumericValues(TNumericOptions& options) {
  const TNumericOptions defaults;
  options.MoonCacheOrder = defaults.MoonCacheOrder;
  options.MoonCacheSpan = defaults.MoonCacheSpan;
  options.ConjunctionMaxSunAltitude = defaults.ConjunctionMaxSunAltitude;
  options.ConjunctionMinAltitude1 = defaults.ConjunctionMinAltitude1;
  options.ConjunctionMinAltitude2 = defaults.ConjunctionMinAltitude2;
  options.MagnitudeLimit = defaults.MagnitudeLimit;
  options.OccultationMaxSunAltitude = defaults.OccultationMaxSunAltitude;
  options.PhenomenaMaxSunAltitude = defaults.PhenomenaMaxSunAltitude;
  options.PhenomenaMinObjectAltitude = defaults.PhenomenaMinObjectAltitude;
}

void PolarCachePreset(TNumericOptions& options) {
  options.MoonCacheSpan = 15;
  options.MoonCacheOrder = 11;
}

void CartesianCachePreset(TNumericOptions& options) {
  options.MoonCacheSpan = 12;
  options.MoonCacheOrder = 13;
}

int ReferenceAltitudeLimit(int field) { return field < 3 ? 5400 : 90; }

bool ParseReferenceAltitude(int field, const std::string& text, double& value) {
  std::string number = TrimBlanks(text);
  if (const std::size_t comma = number.find(','); comma != std::string::npos) number[comma] = '.';
  if (number.empty()) return false;
  // Plain decimal notation only: no hexadecimal floats, no "inf" or "nan".
  for (char c : number) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) {
      return false;
    }
  }
  double parsed = 0;
  if (!StrToFloatDot(number, parsed)) return false;
  if (std::fabs(parsed) >= ReferenceAltitudeLimit(field)) return false;
  value = parsed;
  return true;
}

std::string ReferenceAltitudeMessage(int field, bool english) {
  const std::string limit = std::to_string(ReferenceAltitudeLimit(field));
  return english ? "Please enter a value <" + limit + " and >-" + limit + "!"
                 : "Bitte einen Wert <" + limit + " und >-" + limit + " eingeben!";
}

double AzimuthOrigin(const TNumericOptions& options) { return options.AzimuthFromNorth != 0 ? 180.0 : 0.0; }

std::uint8_t MoonOptionByte(const TNumericOptions& options) { return options.GeometricMoonDistance != 0 ? 0 : 1; }

void CopyNumericOptionsBack(const TNumericOptions& edited, bool copyBack, TNumericOptions& target) {
  const TNumericOptions kept = target;
  target = edited;
  if (!copyBack) {
    target.OccultationMaxSunAltitude = kept.OccultationMaxSunAltitude;
    target.PhenomenaMaxSunAltitude = kept.PhenomenaMaxSunAltitude;
    target.PhenomenaMinObjectAltitude = kept.PhenomenaMinObjectAltitude;
    target.MagnitudeLimit = kept.MagnitudeLimit;
  }
}

}  // namespace kvx
