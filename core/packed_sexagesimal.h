// Packed sexagesimal numbers: degrees (or hours), minutes and seconds held
// in one double as D.MMSS...: 12 deg 34 min 56.7 s is 12.34567. The sign of
// the whole value is the sign of the angle, so -0 deg 30 min is -0.3.
//
// All routines take and return degrees or hours; results keep the sign of
// the input, and a result of magnitude zero is +0 (never -0).
#pragma once

#include <cstdint>

namespace kvx {

// D.MMSSsss -> decimal degrees (or hours): degrees + minutes/60 + seconds/3600,
// the fraction of the seconds kept. A guard of 1e-10 protects the digits
// against binary representation (12.3456 reads as 12 deg 34 min 56 s). A
// magnitude of kPackedWholeDegrees or more (infinity too) is whole degrees
// and returned as it is: the result is a number for every number given.
inline constexpr double kPackedWholeDegrees = 1e15;
double DmsPackedToDeg(double packed);
// Decimal degrees -> D.MMSSsss with the seconds' fraction kept (no rounding),
// except that seconds the packed number cannot tell from 60 are carried
// into the minutes (-89.999999999999986 gives -90, never -89.596).
double DegToDmsPacked(double degrees);
// Decimal degrees -> D.MMSS with whole seconds (0.005 s tolerance upwards).
double DegToDmsPackedSec(double degrees);
// A packed D.MMSS (or H.MMSS) value rounded in sexagesimal to whole
// seconds, sign kept: 13.24596 (13 deg 24' 59.6") becomes 13.25, never
// 13.2460 (60 seconds). Values beyond 1e12 and non-finite ones stay.
double RoundPackedToWholeSeconds(double packed);
// True when the minutes and the whole seconds of a packed D.MMSS (H.MMSS)
// value are below 60: a text that reads as such a value is an angle or a
// time. False for a value that is not finite.
bool PackedSexagesimalValid(double packed);
// Decimal degrees -> D.MM rounded to the nearest whole minute.
double DegToDmPacked(double degrees);
// Decimal degrees -> D.MMSSs rounded to a tenth of a second.
double DegToDmsPackedTenth(double degrees);
// Decimal degrees -> D.MMSSss rounded to a hundredth of a second.
double DegToDmsPackedHundredth(double degrees);
// Degrees, minutes, seconds -> decimal degrees: +-(|d| + |m|/60 + |s|/3600),
// negative when any of the three is negative.
void DegFromDms(std::int32_t degrees, std::int32_t minutes, double seconds, double& result);

}  // namespace kvx
