#include "setup/column_titles.h"

#include "core/data_format_slots.h"
#include "platform/globals.h"
#include "platform/text_encoding.h"

namespace kvx {

TColumnWidths DefaultColumnWidths() {
  TColumnWidths widths;
  widths.fill(80);
  widths[0] = 84;
  widths[1] = widths[2] = 54;
  for (int s = 3; s <= 5; ++s) widths[s] = 100;
  for (int s = 18; s <= 20; ++s) widths[s] = 44;
  for (int s = 107; s <= 115; ++s) widths[s] = 92;
  widths[175] = 92;
  widths[161] = 140;
  widths[162] = 200;
  widths[176] = 165;
  for (std::size_t s = 0; s < kColumnTitleCount; ++s) {
    if (FreeFormatSlot(s)) widths[s] = 0;
  }
  return widths;
}

std::string CutColumnTitle(const std::string& text) { return Utf8Prefix(text, kColumnTitleLength); }

std::string QuantityName(std::size_t slot) {
  if (slot >= DataFormatSlots.size()) return {};
  const TDataFormatSlot& entry = DataFormatSlots[slot];
  return ByLanguage(entry.german, entry.english);
}

int FindColumnEntry(const std::vector<std::string>& names, const std::string& text, bool beginningOnly) {
  if (text.empty()) return 0;
  const std::u32string wanted = UpperCaseCodePoints(text);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::u32string name = UpperCaseCodePoints(names[i]);
    const std::size_t at = name.find(wanted);
    if (at != std::u32string::npos && (!beginningOnly || at == 0)) return static_cast<int>(i);
  }
  return 0;
}

}  // namespace kvx
