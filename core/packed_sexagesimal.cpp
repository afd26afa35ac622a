#include "core/packed_sexagesimal.h"

#include <algorithm>
#include <cmath>

namespace kvx {

namespace {

double PackedSign(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

// Assembles a signed packed value; a zero magnitude gives +0.
double Packed(double sign, double magnitude) { return sign * magnitude + 0.0; }

}  // namespace

double DmsPackedToDeg(double packed) {
  double a = std::fabs(packed);
  // From 1e15 on a double has no digits left for minutes and seconds (and
  // a hundred times the value may overflow): whole degrees.
  if (!(a < kPackedWholeDegrees)) return std::isnan(packed) ? packed : Packed(PackedSign(packed), a);
  double w = (a + 0.0000000001) * 100.0;
  double minutesPart = std::trunc(w) / 100.0;
  minutesPart -= std::trunc(minutesPart);
  // The guard only steadies the digits of the whole minutes; the seconds are
  // taken from the value itself, so that whole minutes (-90.0000) give
  // exactly zero seconds and no trace of the guard.
  double secondsPart = std::max(0.0, a * 100.0 - std::trunc(w));
  return Packed(PackedSign(packed), std::trunc(a) + minutesPart * 100.0 / 60.0 + secondsPart / 36.0);
}

namespace {

// The whole degrees of a (>= 0), its minutes with their fraction and its
// whole minutes.
struct TDegreesAndMinutes {
  double d, mp, m;
};

TDegreesAndMinutes SplitDegrees(double a) {
  const double d = std::trunc(a);
  const double mp = (a - d) * 60.0;
  return {d, mp, std::trunc(mp)};
}

// Packs degrees, minutes and seconds as d.mmss with the sign of `degrees`,
// carrying 60 seconds and 60 minutes over. Seconds so near 60 that the
// packed sum cannot tell them from 60 (59.99999999995 after 89 59, whose sum
// rounds to 89.596) are carried too: DmsPackedToDeg would read 60 seconds.
double PackDms(double degrees, double d, double m, double s) {
  const double minutes = d + m / 100.0;
  if (s >= 60.0) {
    s -= 60.0, m += 1.0;
  } else if (s >= 59.0 && minutes + s / 10000.0 >= minutes + 0.006) {
    s = 0.0, m += 1.0;
  }
  if (m >= 60.0) m -= 60.0, d += 1.0;
  return Packed(PackedSign(degrees), d + m / 100.0 + s / 10000.0);
}

// Degrees packed as d.mmss with the seconds cut to 1/steps (steps 10 or
// 100), after rounding up by half a step.
double DegToDmsPackedSteps(double degrees, double steps) {
  const auto [d, mp, m] = SplitDegrees(std::fabs(degrees) + 1.0 / (7200.0 * steps));
  return PackDms(degrees, d, m, std::trunc((mp - m) * (60.0 * steps) + 0.0005) / steps);
}

}  // namespace

double DegToDmsPacked(double degrees) {
  const auto [d, mp, m] = SplitDegrees(std::fabs(degrees));
  return PackDms(degrees, d, m, (mp - m) * 60.0);
}

double DegToDmsPackedSec(double degrees) {
  const auto [d, mp, m] = SplitDegrees(std::fabs(degrees));
  return PackDms(degrees, d, m, std::trunc((mp - m) * 60.0 + 0.005));
}

double DegToDmsPackedTenth(double degrees) { return DegToDmsPackedSteps(degrees, 10.0); }

double DegToDmsPackedHundredth(double degrees) { return DegToDmsPackedSteps(degrees, 100.0); }

double RoundPackedToWholeSeconds(double packed) {
  const double degrees = std::fabs(DmsPackedToDeg(packed));
  if (!(degrees < 1e12)) return packed;
  const double total = std::round(degrees * 3600.0);
  const double d = std::floor(total / 3600.0);
  const double rest = total - d * 3600.0;
  const double m = std::floor(rest / 60.0);
  return Packed(PackedSign(packed), d + m / 100.0 + (rest - m * 60.0) / 10000.0);
}

bool PackedSexagesimalValid(double packed) {
  const double a = std::fabs(packed);
  if (!std::isfinite(a)) return false;
  if (!(a < 1e12)) return true;  // no digits left for minutes and seconds
  const double seconds = std::floor((a - std::floor(a)) * 10000.0 + 1e-6);
  return std::floor(seconds / 100.0) < 60.0 && std::fmod(seconds, 100.0) < 60.0;
}

double DegToDmPacked(double degrees) {
  double a = std::fabs(degrees) + 1.0 / 120.0;
  double d = std::trunc(a);
  double m = std::trunc((a - d) * 60.0);
  if (m >= 60.0) m -= 60.0, d += 1.0;
  return Packed(PackedSign(degrees), d + m / 100.0);
}

void DegFromDms(std::int32_t degrees, std::int32_t minutes, double seconds, double& result) {
  double r = std::fabs(static_cast<double>(degrees)) + std::fabs(static_cast<double>(minutes)) / 60.0 +
             std::fabs(seconds) / 3600.0;
  result = (degrees < 0 || minutes < 0 || seconds < 0) ? -r : r;
}

}  // namespace kvx
