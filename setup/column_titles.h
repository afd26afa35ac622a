// Column headings and widths of new tables: the width table of the result
// grid (pixels, one per format slot 0 .. 220), its defaults, and the helpers
// of the column-titles dialog.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/table_config.h"

namespace kvx {

using TColumnWidths = std::array<std::int32_t, kColumnTitleCount>;

inline constexpr std::int32_t kMaxColumnWidth = 2000;  // pixels

// Default widths: date 84; the two times 54; the Julian dates (3-5) 100; the
// hourly motions (18-20) 44; 107-115 and 175 92; object (161) 140; event (162)
// 200; Moon phenomena (176) 165; the unused slots 201-220 0; 80 for the rest.
TColumnWidths DefaultColumnWidths();

// The heading cut to 101 characters (UTF-8 in, UTF-8 out).
std::string CutColumnTitle(const std::string& text);

// The quantity name of slot `slot` in the current language.
std::string QuantityName(std::size_t slot);

// The list entry (0-based; entry i is slot i + 1, 220 entries) of the first
// name that contains `text`, or begins with it when `beginningOnly`; case
// ignored. 0 when none matches or the text is empty.
int FindColumnEntry(const std::vector<std::string>& names, const std::string& text, bool beginningOnly);

}  // namespace kvx
