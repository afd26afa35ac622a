// The date text of the data format "dd.mm.yyyy" (implemented beside the
// other date texts, core/date_text.cpp).
#pragma once

#include <cstdint>
#include <string>

namespace kvx {

// Day and month zero-padded to two digits and the year to four ("-" in
// front of a negative year), day first and joined by points whatever the
// desktop: 07.12.2026, 05.03.0844, 15.03.-0043; "--" for a month outside
// 1..12 or a day outside 1..31.
std::string PointedDayMonthYear(std::int32_t day, std::int32_t month, std::int32_t year);

}  // namespace kvx
